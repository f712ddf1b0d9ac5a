#include "platform/registry_ini_file.h"

#include "platform/atomic_file.h"
#include "platform/code_page.h"
#include "platform/exception.h"

#include <QDir>
#include <QFile>
#include <QMutex>

#include <map>
#include <sys/stat.h>
#include <vector>

namespace zabko {

// ---- escaping: one value per line; sections are registry paths joined by "\".

namespace {

QString EscapeText(const QString& text, bool isKey) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    switch (c.unicode()) {
      case '\\': out += QStringLiteral("\\\\"); break;
      case '\n': out += QStringLiteral("\\n"); break;
      case '\r': out += QStringLiteral("\\r"); break;
      case '=': out += isKey ? QStringLiteral("\\e") : QStringLiteral("="); break;
      default: out += c;
    }
  }
  if (isKey && (out.startsWith('[') || out.startsWith(';'))) out.prepend(QStringLiteral("\\_"));
  return out;
}

QString UnescapeText(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != '\\' || i + 1 >= text.size()) {
      out += c;
      continue;
    }
    const QChar n = text[++i];
    if (n == 'n') out += '\n';
    else if (n == 'r') out += '\r';
    else if (n == 'e') out += '=';
    else if (n == '_') continue;
    else out += n;
  }
  return out;
}

// Section names may hold "\" (the key separator) but not line breaks or "]".
QString EscapeSection(const QString& s) {
  QString out = s;
  out.replace('%', QStringLiteral("%25")).replace('\n', QStringLiteral("%0A"))
      .replace('\r', QStringLiteral("%0D")).replace(']', QStringLiteral("%5D"));
  return out;
}

QString UnescapeSection(const QString& s) {
  QString out = s;
  out.replace(QStringLiteral("%0A"), QStringLiteral("\n")).replace(QStringLiteral("%0D"), QStringLiteral("\r"))
      .replace(QStringLiteral("%5D"), QStringLiteral("]")).replace(QStringLiteral("%25"), QStringLiteral("%"));
  return out;
}

QString Fold(const QString& name) { return name.toLower(); }

}  // namespace

// ---- the shared contents of one file

class IniStore {
 public:
  struct Section {
    QString name;
    std::vector<std::pair<QString, QString>> values;
  };

  explicit IniStore(QString fileName) : fileName_(std::move(fileName)) { Load(); }

  static std::shared_ptr<IniStore> Open(const QString& fileName) {
    static QMutex mutex;
    static std::map<QString, std::weak_ptr<IniStore>> open;
    QMutexLocker lock(&mutex);
    auto& slot = open[fileName];
    if (auto existing = slot.lock()) return existing;
    auto store = std::make_shared<IniStore>(fileName);
    slot = store;
    return store;
  }

  const QString& FileName() const { return fileName_; }

  // Reads the file again when another process changed it. A batch works on its own copy until
  // it ends, so nothing is read again while one is open.
  void Refresh() {
    if (snapshots_.empty() && Stamp() != stamp_) Load();
  }

  // Batches: the contents before each open batch, innermost last. Changes made while one is
  // open only mark the contents dirty; the outermost commit writes them once.
  void BeginBatch() {
    Refresh();
    snapshots_.push_back({sections_, dirty_});
  }

  void CommitBatch() {
    if (snapshots_.size() > 1) {
      snapshots_.pop_back();
      return;
    }
    if (dirty_) {
      try {
        Write();
      } catch (...) {
        // Nothing was written: memory goes back to what the file still holds.
        AbandonBatch();
        throw;
      }
    }
    snapshots_.pop_back();
    dirty_ = false;
  }

  // Drops the changes of the innermost batch.
  void AbandonBatch() {
    RestoreBatch();
    snapshots_.pop_back();
  }

  const Section* Find(const QString& section) const {
    const auto it = index_.find(Fold(section));
    return it == index_.end() ? nullptr : &sections_[it->second];
  }

  const QString* Value(const QString& section, const QString& ident) const {
    const Section* s = Find(section);
    if (!s) return nullptr;
    const QString key = Fold(ident);
    for (const auto& [name, value] : s->values)
      if (Fold(name) == key) return &value;
    return nullptr;
  }

  void Set(const QString& section, const QString& ident, const QString& value) {
    Change([&] {
      Section& s = Ensure(section);
      const QString key = Fold(ident);
      for (auto& [name, v] : s.values) {
        if (Fold(name) == key) {
          if (v != value) Changed();
          v = value;
          return;
        }
      }
      s.values.emplace_back(ident, value);
      Changed();
    });
  }

  void Delete(const QString& section, const QString& ident) {
    Change([&] {
      const auto it = index_.find(Fold(section));
      if (it == index_.end()) return;
      auto& values = sections_[it->second].values;
      const QString key = Fold(ident);
      if (std::erase_if(values, [&](const auto& v) { return Fold(v.first) == key; }) > 0) Changed();
    });
  }

  // Removes the section and every section below it.
  void Erase(const QString& section) {
    Change([&] {
      const QString key = Fold(section);
      const QString below = key + '\\';
      const auto removed = std::erase_if(sections_, [&](const Section& s) {
        const QString f = Fold(s.name);
        return f == key || f.startsWith(below);
      });
      Reindex();
      if (removed > 0) Changed();
    });
  }

  // The names of the keys directly below Parent ("" for the top), in first-seen order.
  QStringList Children(const QString& parent) const {
    const QString prefix = parent.isEmpty() ? QString() : Fold(parent) + '\\';
    QStringList names;
    QStringList folded;
    for (const Section& s : sections_) {
      const QString f = Fold(s.name);
      if (!f.startsWith(prefix) || f.size() == prefix.size()) continue;
      const qsizetype end = f.indexOf('\\', prefix.size());
      const QString child = s.name.mid(prefix.size(), end < 0 ? -1 : end - prefix.size());
      if (!folded.contains(Fold(child))) {
        folded << Fold(child);
        names << child;
      }
    }
    return names;
  }

  bool HasKey(const QString& section) const {
    if (Find(section)) return true;
    const QString below = Fold(section) + '\\';
    for (const Section& s : sections_)
      if (Fold(s.name).startsWith(below)) return true;
    return false;
  }

 private:
  QString Stamp() const {
    struct stat st;
    if (::stat(QFile::encodeName(fileName_).constData(), &st) != 0) return QString();
    return QStringLiteral("%1.%2.%3").arg(st.st_mtim.tv_sec).arg(st.st_mtim.tv_nsec).arg(st.st_size);
  }

  Section& Ensure(const QString& section) {
    const auto it = index_.find(Fold(section));
    if (it != index_.end()) return sections_[it->second];
    sections_.push_back({section, {}});
    index_[Fold(section)] = sections_.size() - 1;
    return sections_.back();
  }

  void Reindex() {
    index_.clear();
    for (size_t i = 0; i < sections_.size(); ++i) index_[Fold(sections_[i].name)] = i;
  }

  void Load() {
    sections_.clear();
    index_.clear();
    stamp_ = Stamp();
    QFile file(fileName_);
    // A file that is there but cannot be read must not be replaced by the next write.
    unreadable_ = file.exists() && !file.open(QIODevice::ReadOnly);
    if (unreadable_ || !file.isOpen()) return;
    const QString text = QString::fromUtf8(file.readAll());
    Section* current = nullptr;
    for (const QString& raw : text.split('\n')) {
      QString line = raw;
      if (line.endsWith('\r')) line.chop(1);
      if (line.isEmpty() || line.startsWith(';')) continue;
      if (line.startsWith('[') && line.endsWith(']')) {
        current = &Ensure(UnescapeSection(line.mid(1, line.size() - 2)));
        continue;
      }
      if (!current) continue;
      // The key ends at the first "=" that is not escaped.
      qsizetype eq = -1;
      for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') ++i;
        else if (line[i] == '=') {
          eq = i;
          break;
        }
      }
      if (eq < 0) continue;
      current->values.emplace_back(UnescapeText(line.left(eq)), UnescapeText(line.mid(eq + 1)));
    }
  }

  struct Snapshot {
    std::vector<Section> sections;
    bool dirty;
  };

  void FailIfUnreadable() const {
    if (unreadable_)
      throw Exception(QStringLiteral("Cannot read the settings file %1; it is left as it is").arg(fileName_));
  }

  void RestoreBatch() {
    sections_ = std::move(snapshots_.back().sections);
    dirty_ = snapshots_.back().dirty;
    Reindex();
  }

  // Makes one change as a batch of its own: written at once unless a batch is open, and undone
  // in memory when it fails.
  template <typename F>
  void Change(F&& change) {
    BeginBatch();
    try {
      change();
    } catch (...) {
      AbandonBatch();
      throw;
    }
    CommitBatch();
  }

  // Marks the contents as differing from the file. A change to an unreadable file fails where
  // it is made.
  void Changed() {
    FailIfUnreadable();
    dirty_ = true;
  }

  void Write() {
    FailIfUnreadable();
    QByteArray out;
    for (const Section& s : sections_) {
      out += '[' + EscapeSection(s.name).toUtf8() + "]\n";
      for (const auto& [name, value] : s.values)
        out += EscapeText(name, true).toUtf8() + '=' + EscapeText(value, false).toUtf8() + '\n';
      out += '\n';
    }
    // The file holds a password: only its owner may read it.
    WriteFileAtomically(fileName_, out, kPrivateFileMode);
    stamp_ = Stamp();
  }

  QString fileName_;
  QString stamp_;
  bool unreadable_ = false;
  bool dirty_ = false;
  std::vector<Snapshot> snapshots_;
  std::vector<Section> sections_;
  std::map<QString, size_t> index_;
};

// ---- locating a key

RegistryLocation LocateRegistryKey(const QString& key) {
  QStringList parts = key.split('\\', Qt::SkipEmptyParts);
  if (!parts.isEmpty() && parts.first().compare(QStringLiteral("Software"), Qt::CaseInsensitive) == 0)
    parts.removeFirst();
  if (parts.isEmpty()) parts << QStringLiteral("Settings");
  const int fileParts = static_cast<int>(std::min<qsizetype>(2, parts.size()));
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
  RegistryLocation location;
  location.fileName = config + '/' + parts.mid(0, fileParts).join('/') + QStringLiteral(".ini");
  const QStringList rest = parts.mid(fileParts);
  location.prefix = rest.isEmpty() ? QString() : rest.join('\\') + '\\';
  return location;
}

// ---- TRegistryIniFile

TRegistryIniFile::TRegistryIniFile(const QString& key) : key_(key) {
  const RegistryLocation location = LocateRegistryKey(key);
  store_ = IniStore::Open(location.fileName);
  prefix_ = location.prefix;
}

TRegistryIniFile::TRegistryIniFile(std::shared_ptr<IniStore> store, QString key, QString prefix)
    : store_(std::move(store)), key_(std::move(key)), prefix_(std::move(prefix)) {}

TRegistryIniFile::~TRegistryIniFile() = default;

std::unique_ptr<TRegistryIniFile> TRegistryIniFile::OpenSubKey(const QString& subKey) const {
  return std::unique_ptr<TRegistryIniFile>(
      new TRegistryIniFile(store_, key_ + '\\' + subKey, prefix_ + subKey + '\\'));
}

QString TRegistryIniFile::Path(const QString& section) const { return prefix_ + section; }

QString TRegistryIniFile::FileName() const { return store_->FileName(); }

QByteArray TRegistryIniFile::ReadString(const QString& section, const QString& ident,
                                        const QByteArray& def) const {
  store_->Refresh();
  const QString* v = store_->Value(Path(section), ident);
  return v ? WideToCp1255(*v) : def;
}

void TRegistryIniFile::WriteString(const QString& section, const QString& ident, const QByteArray& value) {
  store_->Refresh();
  store_->Set(Path(section), ident, Cp1255ToWide(value));
}

QString TRegistryIniFile::ReadWideString(const QString& section, const QString& ident,
                                         const QString& def) const {
  store_->Refresh();
  const QString* v = store_->Value(Path(section), ident);
  return v ? *v : def;
}

void TRegistryIniFile::WriteWideString(const QString& section, const QString& ident, const QString& value) {
  store_->Refresh();
  store_->Set(Path(section), ident, value);
}

qint32 TRegistryIniFile::ReadInteger(const QString& section, const QString& ident, qint32 def) const {
  store_->Refresh();
  const QString* v = store_->Value(Path(section), ident);
  if (!v) return def;
  bool ok = false;
  const qint32 n = v->trimmed().toInt(&ok);
  return ok ? n : def;
}

void TRegistryIniFile::WriteInteger(const QString& section, const QString& ident, qint32 value) {
  store_->Refresh();
  store_->Set(Path(section), ident, QString::number(value));
}

bool TRegistryIniFile::ReadBool(const QString& section, const QString& ident, bool def) const {
  store_->Refresh();
  const QString* v = store_->Value(Path(section), ident);
  if (!v) return def;
  const QString t = v->trimmed().toLower();
  if (t == QStringLiteral("true")) return true;
  if (t == QStringLiteral("false")) return false;
  bool ok = false;
  const int n = t.toInt(&ok);
  return ok ? n != 0 : def;
}

void TRegistryIniFile::WriteBool(const QString& section, const QString& ident, bool value) {
  WriteInteger(section, ident, value ? 1 : 0);
}

double TRegistryIniFile::ReadFloat(const QString& section, const QString& ident, double def) const {
  store_->Refresh();
  const QString* v = store_->Value(Path(section), ident);
  if (!v) return def;
  bool ok = false;
  const double d = v->trimmed().toDouble(&ok);
  return ok ? d : def;
}

void TRegistryIniFile::WriteFloat(const QString& section, const QString& ident, double value) {
  store_->Refresh();
  store_->Set(Path(section), ident, QString::number(value, 'g', 17));
}

double TRegistryIniFile::ReadDateTime(const QString& section, const QString& ident, double def) const {
  return ReadFloat(section, ident, def);
}

void TRegistryIniFile::WriteDateTime(const QString& section, const QString& ident, double value) {
  WriteFloat(section, ident, value);
}

bool TRegistryIniFile::ValueExists(const QString& section, const QString& ident) const {
  store_->Refresh();
  return store_->Value(Path(section), ident) != nullptr;
}

bool TRegistryIniFile::SectionExists(const QString& section) const {
  store_->Refresh();
  return store_->HasKey(Path(section));
}

QStringList TRegistryIniFile::ReadSection(const QString& section) const {
  store_->Refresh();
  QStringList names;
  if (const auto* s = store_->Find(Path(section)))
    for (const auto& v : s->values) names << v.first;
  return names;
}

QStringList TRegistryIniFile::ReadSections() const {
  store_->Refresh();
  QString parent = prefix_;
  parent.chop(1);
  return store_->Children(parent);
}

QStringList TRegistryIniFile::ReadSubSections(const QString& section) const {
  store_->Refresh();
  return store_->Children(Path(section));
}

void TRegistryIniFile::EraseSection(const QString& section) {
  store_->Refresh();
  store_->Erase(Path(section));
}

void TRegistryIniFile::DeleteKey(const QString& section, const QString& ident) {
  store_->Refresh();
  store_->Delete(Path(section), ident);
}

// ---- TRegistryBatch

TRegistryBatch::TRegistryBatch(TRegistryIniFile& settings) : store_(settings.store_) { store_->BeginBatch(); }

TRegistryBatch::~TRegistryBatch() {
  if (open_) store_->AbandonBatch();
}

void TRegistryBatch::Commit() {
  if (!open_) return;
  // Whether the write succeeds or not, the batch is over: a failed commit has already put
  // memory back.
  open_ = false;
  store_->CommitBatch();
}

}  // namespace zabko
