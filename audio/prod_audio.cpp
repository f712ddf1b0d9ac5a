#include "audio/prod_audio.h"

#include "core/app_type_specific.h"
#include "core/file.h"
#include "core/res_manager.h"
#include "core/str.h"
#include "core/window_services.h"
#include "core/word.h"
#include "core/word_list.h"
#include "core/zabkolex_strings.h"
#include "platform/exception.h"
#include "platform/stream.h"

#include <QHash>

#include <algorithm>
#include <climits>

namespace zabko {

namespace {

// The file being written, remembering whether a write fell short, so that a sound missing from
// the databases (left out) is told apart from a disk that takes no more (the file ends).
class TOutputStream : public TStream {
 public:
  explicit TOutputStream(const QString& fileName) : file_(fileName, FileMode::Create) {}
  qint64 Read(void* buffer, qint64 count) override { return file_.Read(buffer, count); }
  qint64 Write(const void* buffer, qint64 count) override {
    const qint64 written = file_.Write(buffer, count);
    if (written < count) writeFailed_ = true;
    return written;
  }
  qint64 Seek(qint64 offset, SeekOrigin origin) override { return file_.Seek(offset, origin); }
  bool WriteFailed() const { return writeFailed_; }

 private:
  TFileStream file_;
  bool writeFailed_ = false;
};

// Appends one named sound; false when the databases lack it. A failed write ends the file.
bool CopySound(TResManager& resources, TOutputStream& out, const QString& name) {
  try {
    resources.CopyTo(out, name);
    return true;
  } catch (const Exception&) {
    if (out.WriteFailed()) throw;
    return false;
  }
}

QString Pad(int number, int width) { return PadLeftW(QString::number(number), u'0', width); }

QString SoundName(const TWordFile& file) { return QString::fromLatin1(file.Name); }

}  // namespace

QString SafeOutputName(const QString& name, const QString& suffix) {
  QString safe;
  safe.reserve(name.size());
  for (QChar c : TWStr::SafeFileName(name)) {
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F) safe += c;
  }
  const qsizetype room = kMaxFileNameBytes - suffix.toUtf8().size();
  while (!safe.isEmpty() && safe.toUtf8().size() > room) {
    // Drop whole characters: a surrogate pair goes as one.
    safe.chop(safe.size() >= 2 && safe.back().isLowSurrogate() && safe.at(safe.size() - 2).isHighSurrogate() ? 2 : 1);
  }
  return safe;
}

void TMp3File::AddWord(TWord* word) {
  Words.push_back(word);
  Duration += word->MainSound.Length + word->ExtraAudioTotal();
}

// ---- TProdAudio

TProdAudio::TProdAudio(TProdServices services) : services_(std::move(services)) {
  if (!services_.TrashFolder) services_.TrashFolder = [](const QString& folder) { return TFile::DeleteFolder(folder); };
  if (!services_.OpenFolder) services_.OpenFolder = [](const QString& folder) { TFile::ShellOpen(folder); };
}

TProdAudio::~TProdAudio() = default;

QString TProdAudio::Text(const QString& key) const { return services_.Texts->GetString(key); }

void TProdAudio::SetOutputFolder(const QString& folder) {
  outputFolder_ = folder;
  QString base = folder;
  while (base.size() > 1 && base.endsWith(u'/')) base.chop(1);
  datedFolder_ = base + u'/' + FormatDateDMY(services_.Clock()) + u'/';
}

bool TProdAudio::PrepareOutputFolder() {
  if (outputFolder_.isEmpty()) {
    services_.Messages->ShowMessageWithLinks(Text("OutputDirectoryCaption"), Text("OutputDirectoryLine"), {});
    return false;
  }
  if (TFile::DirectoryExists(datedFolder_)) {
    if (!services_.Messages->AskYesNo(Text("EraseDirCaption"), Text("EraseDirQuestion"), kButtonYes | kButtonNo)) {
      return false;
    }
    if (!services_.TrashFolder(datedFolder_) || TFile::DirectoryExists(datedFolder_)) {
      throw Exception(TWStr::Format(Text("Audio.CannotTrashFolder"), {datedFolder_}));
    }
  }
  if (!TFile::ForceDirectories(datedFolder_)) {
    throw Exception(TWStr::Format(Text("Audio.CannotCreateFolder"), {datedFolder_}));
  }
  return true;
}

TWordItemList TProdAudio::PrepareWords() const {
  TWordItemList sorted = wordList_;
  if (sortKind_ == kSubjectOrder) {
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TWordItem& a, const TWordItem& b) { return CompareWordItems(a.Word, b.Word) < 0; });
  } else {
    services_.Pack->SortTexts(sorted);
  }
  return sorted;
}

void TProdAudio::CreateGroupFolders() {
  for (const QString& folder : groupFolders_) {
    if (!TFile::ForceDirectories(datedFolder_ + folder)) {
      throw Exception(TWStr::Format(Text("Audio.CannotCreateFolder"), {datedFolder_ + folder}));
    }
  }
}

bool TProdAudio::WriteFiles() {
  qsizetype words = 0;
  for (const auto& file : files_) words += static_cast<qsizetype>(file->Words.size());
  TResManager& resources = *services_.ResManager;
  return services_.Progress->RunJob(static_cast<int>(std::min<qsizetype>(words + 5, INT_MAX)), Text("Audio.Mp3Caption"),
                                    [&](IProgress& progress) {
    for (const auto& file : files_) {
      qsizetype stepsLeft = static_cast<qsizetype>(file->Words.size());
      try {
        TOutputStream out(datedFolder_ + file->Name);
        bool complete = true;
        for (const TWord* word : file->Words) {
          complete = CopySound(resources, out, SoundName(word->MainSound)) && complete;
          complete = CopySound(resources, out, QStringLiteral("ShortSilence")) && complete;
          for (std::size_t i = 0; i < word->ExtraSounds.size(); ++i) {
            if (i > 0) complete = CopySound(resources, out, QStringLiteral("InterWordSilence")) && complete;
            complete = CopySound(resources, out, SoundName(word->ExtraSounds[i])) && complete;
          }
          complete = CopySound(resources, out, QStringLiteral("LongSilence")) && complete;
          --stepsLeft;
          progress.Step();
        }
        if (!complete) incomplete_.append(file->Name);
      } catch (const Exception&) {
        // The file cannot be created or takes no more: it stays as far as it got.
        incomplete_.append(file->Name);
      }
      resources.CloseCurrent();
      for (; stepsLeft > 0; --stepsLeft) progress.Step();
    }
  });
}

QString TProdAudio::FileListMarkup(const QStringList& names) {
  QStringList lines;
  lines.reserve(names.size());
  for (QString name : names) {
    // The markup has no escape: "~" would split the name, and a piece that starts with "[" or
    // "<", or is exactly "\n", would be read as markup. A look-alike tilde and a leading blank
    // keep every name plain text.
    name.replace(u'~', QChar(0x223C));
    lines.append(u' ' + name);
  }
  return lines.join(QStringLiteral("~\\n~"));
}

void TProdAudio::Finish(const QString& captionKey) {
  if (incomplete_.isEmpty()) {
    services_.Messages->ShowMessageWithLinks(Text(captionKey), Text("SucessfulOutput"), {});
  } else {
    constexpr int kListed = 10;
    QStringList listed = incomplete_.mid(0, kListed);
    if (incomplete_.size() > kListed) listed.append(QStringLiteral("..."));
    services_.Messages->ShowMessageWithLinks(Text(captionKey),
                                             TWStr::Format(Text("IncompleteOutput"), {FileListMarkup(listed)}), {});
  }
  services_.OpenFolder(datedFolder_);
}

// ---- TProdMp3s

TProdMp3s::TProdMp3s(TProdServices services, const TWordList& subjectWords)
    : TProdAudio(std::move(services)), subjectWords_(subjectWords) {}

void TProdMp3s::Produce() {
  if (!PrepareOutputFolder()) return;
  BuildFiles(PrepareWords());
  CreateGroupFolders();
  if (!WriteFiles()) return;
  WritePlayLists();
  Finish(QStringLiteral("OutputMp3Caption"));
}

void TProdMp3s::BuildFiles(const TWordItemList& sortedWords) {
  int position = 0;
  for (const TWordItem& item : sortedWords) {
    TWord& word = *item.Word;
    auto file = std::make_unique<TMp3File>();
    file->AddWord(&word);
    const QString base = Pad(++position, 4) + QStringLiteral(" - ") +
                         (noMeanings_ ? word.AltText : word.SearchText + QStringLiteral(" - ") + word.MeaningsLine());
    file->Name = GroupFolder(word) + SafeOutputName(base, QStringLiteral(".mp3")) + QStringLiteral(".mp3");
    files_.push_back(std::move(file));
  }
}

QString TProdMp3s::GroupFolder(const TWord& word) {
  if (!subFolders_) return {};
  QString group;
  if (sortKind_ == kLanguageOrder) {
    group = services_.AppType->GetSoundGroupName(noMeanings_, word, *services_.Pack);
  } else if (word.SortKeys.Count() == 0) {
    group = QStringLiteral("(none)");
  } else {
    const qint32 subject = word.SortKeys.Get(0);
    group = noMeanings_ ? subjectWords_.GetSubjectAltName(subject) : subjectWords_.GetSubjectName(subject);
  }
  // Room is kept for the number in front, however many groups there are.
  group = SafeOutputName(group, QStringLiteral("0000000 - "));
  if (group.isEmpty()) return {};
  const QString separator = QStringLiteral(" - ");
  for (const QString& folder : groupFolders_) {
    const qsizetype at = folder.indexOf(separator);
    if (at >= 0 && folder.mid(at + separator.size()) == group) return folder + u'/';
  }
  const QString folder = Pad(static_cast<int>(groupFolders_.size()) + 1, 2) + separator + group;
  groupFolders_.append(folder);
  return folder + u'/';
}

void TProdMp3s::WritePlayLists() {
  // Language order of the files' first words (their headwords).
  TWordItemList items;
  for (std::size_t i = 0; i < files_.size(); ++i) items.append({QString::number(i), files_[i]->Words.front()});
  services_.Pack->SortWords(items);
  std::vector<const TMp3File*> order;
  for (const TWordItem& item : items) order.push_back(files_[item.Text.toULongLong()].get());
  WritePlayList(order, noMeanings_ ? QStringLiteral("Audio.M3uListNameLexicoEng") : QStringLiteral("Audio.M3uListNameLexicoHeb"));

  order.clear();
  for (const auto& file : files_) order.push_back(file.get());
  std::stable_sort(order.begin(), order.end(), [](const TMp3File* a, const TMp3File* b) {
    return CompareWordItems(a->Words.front(), b->Words.front()) < 0;
  });
  WritePlayList(order, noMeanings_ ? QStringLiteral("Audio.M3uListNameSubjectEng") : QStringLiteral("Audio.M3uListNameSubjectHeb"));
}

void TProdMp3s::WritePlayList(const std::vector<const TMp3File*>& order, const QString& nameKey) {
  QByteArray lines;
  for (const TMp3File* file : order) lines += file->Name.toUtf8() + "\r\n";
  TFileStream out(datedFolder_ + SafeOutputName(Text(nameKey), QStringLiteral(".m3u")) + QStringLiteral(".m3u"),
                  FileMode::Create);
  out.WriteBuffer(lines);
}

// ---- TProdCD

void TProdCD::Produce() {
  if (!PrepareOutputFolder()) return;
  BuildTracks(PrepareWords());
  CreateGroupFolders();
  if (!WriteFiles()) return;
  Finish(QStringLiteral("OutputDiscCaption"));
}

int TProdCD::WordsPerTrack() const {
  switch (tracksBy_) {
    case 1: return 5;
    case 2: return 10;
    case 3: return 20;
    case 4: return 30;
    case 5: return 40;
    default: return INT_MAX;
  }
}

bool TProdCD::SameGroup(const TWord& previous, const TWord& next) const {
  if (sortKind_ == kLanguageOrder) {
    const QString& a = previous.SearchText;
    const QString& b = next.SearchText;
    if (a.isEmpty() || b.isEmpty()) return a.isEmpty() && b.isEmpty();
    return QString::compare(a.left(1), b.left(1), Qt::CaseInsensitive) == 0;
  }
  const bool hasA = previous.SortKeys.Count() > 0;
  const bool hasB = next.SortKeys.Count() > 0;
  if (!hasA || !hasB) return hasA == hasB;
  return previous.SortKeys.Get(0) == next.SortKeys.Get(0);
}

qint64 TProdCD::WordCost(const TWord& word) {
  return word.MainSound.Length + word.ExtraAudioTotal() + kWordSilenceCost;
}

qint64 TProdCD::TrackCost(const TMp3File& track) {
  return static_cast<qint64>(track.Words.size()) * kWordSilenceCost + track.Duration;
}

void TProdCD::BuildTracks(const TWordItemList& sortedWords) {
  qint64 total = 0;  // fill of the current disc
  int tracksOnDisc = 0;
  qsizetype next = 0;
  while (next < sortedWords.size()) {
    auto track = std::make_unique<TMp3File>();
    FillTrack(*track, sortedWords, next, total);
    files_.push_back(std::move(track));
    const bool fits = next >= sortedWords.size() || total + WordCost(*sortedWords[next].Word) <= kDiscFillCapacity;
    if (!fits || ++tracksOnDisc >= kMaxTracksPerDisc) {
      total = 0;
      tracksOnDisc = 0;
    }
  }
  AssignNames();
}

void TProdCD::FillTrack(TMp3File& track, const TWordItemList& remaining, qsizetype& next, qint64& total) {
  const TWord* previous = remaining[next].Word;
  int left = WordsPerTrack();
  while (next < remaining.size()) {
    TWord* word = remaining[next].Word;
    const qint64 cost = WordCost(*word);
    // A word bigger than a whole disc gets a track, and a disc, of its own.
    const bool oversize = track.Words.empty() && total == 0 && cost > kDiscFillCapacity;
    if (!oversize &&
        (total + cost > kDiscFillCapacity || left < 1 || (tracksBy_ == 0 && !SameGroup(*previous, *word)))) {
      break;
    }
    track.AddWord(word);
    total += cost;
    --left;
    previous = word;
    ++next;
    if (oversize) break;
  }
}

void TProdCD::AssignNames() {
  qint64 total = 0;
  for (const auto& track : files_) total += TrackCost(*track);
  if (total <= kDiscSplitCapacity && files_.size() <= static_cast<std::size_t>(kMaxTracksPerDisc)) {
    int number = 0;
    for (const auto& track : files_) track->Name = QStringLiteral("Track ") + Pad(++number, 2) + QStringLiteral(".mp3");
    return;
  }
  int disc = 0;
  qint64 discTotal = 0;
  int discTracks = 0;
  for (const auto& track : files_) {
    const qint64 cost = TrackCost(*track);
    if (disc == 0 || (discTracks > 0 && (discTotal + cost > kDiscSplitCapacity || discTracks >= kMaxTracksPerDisc))) {
      ++disc;
      discTotal = 0;
      discTracks = 0;
      groupFolders_.append(QStringLiteral("CD ") + QString::number(disc));
    }
    discTotal += cost;
    track->Name = groupFolders_.back() + QStringLiteral("/Track ") + Pad(++discTracks, 2) + QStringLiteral(".mp3");
  }
}

}  // namespace zabko
