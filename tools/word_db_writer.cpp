#include "tools/word_db_writer.h"

#include "core/str.h"
#include "platform/code_page.h"
#include "platform/exception.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <map>
#include <set>

namespace zabko {

namespace {

// The 22 letters of the Hebrew alphabet in order; final forms count as their letter.
int HebrewLetterIndex(QChar ch) {
  static const char16_t kLetters[22] = {0x05D0, 0x05D1, 0x05D2, 0x05D3, 0x05D4, 0x05D5,
                                        0x05D6, 0x05D7, 0x05D8, 0x05D9, 0x05DB, 0x05DC,
                                        0x05DE, 0x05E0, 0x05E1, 0x05E2, 0x05E4, 0x05E6,
                                        0x05E7, 0x05E8, 0x05E9, 0x05EA};
  char16_t u = ch.unicode();
  switch (u) {
    case 0x05DA: case 0x05DD: case 0x05DF: case 0x05E3: case 0x05E5: ++u; break;
    default: break;
  }
  const auto* end = kLetters + 22;
  const auto* at = std::find(kLetters, end, u);
  return at == end ? -1 : static_cast<int>(at - kLetters);
}

// A subject name in the old word databases' Hebrew coding: letters as their code page 1255
// bytes, ASCII as it is.
QByteArray ToOldHebrewCoding(const QString& text) {
  QByteArray result;
  for (QChar c : text) {
    if (IsHebrewLetter(c))
      result += static_cast<char>(TWStr::HebrewToAnsiChar(c));
    else
      result += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?';
  }
  return result;
}

QString SortText(const TWordEntry& w, WordLanguage language) {
  return language == WordLanguage::Hebrew ? HebrewLettersOnly(w.Headword) : w.Headword.toLower();
}

// The data lines of a list file split at tabs: blank lines and "#" comments skipped.
QList<std::pair<int, QStringList>> ReadTable(const QString& fileName, int columns) {
  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly)) throw Exception(QStringLiteral("Cannot read ") + fileName);
  QList<std::pair<int, QStringList>> rows;
  int lineNumber = 0;
  while (!f.atEnd()) {
    ++lineNumber;
    const QString line = QString::fromUtf8(f.readLine()).remove(u'\r').remove(u'\n');
    if (TWStr::IsBlank(line) || line.startsWith(u'#')) continue;
    QStringList cells = line.split(u'\t');
    if (cells.size() != columns)
      throw Exception(QStringLiteral("%1:%2: expected %3 tab-separated columns")
                          .arg(fileName).arg(lineNumber).arg(columns));
    for (QString& c : cells) c = TWStr::Trim(c);
    rows.append({lineNumber, cells});
  }
  return rows;
}

qint32 ToNumber(const QString& text) {
  bool ok = false;
  const qint32 n = text.toInt(&ok);
  if (!ok) throw Exception(QStringLiteral("not a number: ") + text);
  return n;
}

}  // namespace

void TWordDBWriter::AddSubject(const TWordDBSubject& subject) {
  for (const TWordDBSubject& s : subjects_)
    if (s.Id == subject.Id) throw Exception(QStringLiteral("Duplicate subject %1").arg(subject.Id));
  subjects_.append(subject);
}

void TWordDBWriter::AddWord(const TWordEntry& word) {
  const bool known = std::any_of(subjects_.begin(), subjects_.end(), [&](const TWordDBSubject& s) {
    return s.Id == word.Subject && s.Parent != 0;
  });
  if (!known) throw Exception(QStringLiteral("Unknown subject %1").arg(word.Subject));
  for (const TWordEntry& w : words_)
    if (w.Id == word.Id) throw Exception(QStringLiteral("Duplicate word id %1").arg(word.Id));
  words_.append(word);
}

void TWordDBWriter::AddWord(const QString& text, const QString& meanings, qint32 subject) {
  TWordEntry w;
  w.Id = FirstId() + static_cast<qint32>(words_.size());
  w.LetterNumber = LetterNumberOf(text);
  if (w.LetterNumber == 0) throw Exception(QStringLiteral("No letter for ") + text);
  w.Subject = subject;
  w.Text = w.AltText = w.SearchText = w.Headword = text;
  w.Meanings = meanings;
  w.SoundName = QByteArray::number(w.Id);
  w.SoundLength = EstimateSpokenLength(text);
  const QStringList parts = meanings.split(u';');
  for (qsizetype k = 0; k < parts.size(); ++k) {
    w.ExtraSounds.append({w.SoundName + '_' + QByteArray::number(k + 1), EstimateSpokenLength(parts[k].trimmed())});
  }
  AddWord(w);
}

qint32 EstimateSpokenLength(const QString& text) { return 500 + 60 * static_cast<qint32>(text.size()); }

qint32 TWordDBWriter::LetterNumberOf(const QString& text) const {
  if (text.isEmpty()) return 0;
  if (language_ == WordLanguage::Hebrew) return HebrewLetterIndex(text[0]) + 1;
  QString upper = text.toUpper();
  if (upper.startsWith(QStringLiteral("TO "))) upper = upper.mid(3);
  if (upper.isEmpty() || upper[0] < u'A' || upper[0] > u'Z') return 0;
  return upper[0].unicode() - u'A' + 1;
}

QList<TWordEntry> TWordDBWriter::SortedWords() const {
  QList<TWordEntry> sorted = words_;
  std::stable_sort(sorted.begin(), sorted.end(), [&](const TWordEntry& a, const TWordEntry& b) {
    if (a.LetterNumber != b.LetterNumber) return a.LetterNumber < b.LetterNumber;
    return SortText(a, language_) < SortText(b, language_);
  });
  return sorted;
}

std::unique_ptr<TDataPacket> TWordDBWriter::BuildSubjectCounts() const {
  // level -> top subject -> sub-subject -> count, all in ascending id order.
  std::map<int, std::map<qint32, std::map<qint32, qint32>>> counts;
  std::map<qint32, qint32> parentOf;
  for (const TWordDBSubject& s : subjects_) parentOf[s.Id] = s.Parent;
  for (const TWordEntry& w : words_) ++counts[w.LetterNumber - 1][parentOf[w.Subject]][w.Subject];
  auto packet = std::make_unique<TDataPacket>();
  for (int level = 0; level < LetterCount(); ++level) {
    TDataPacket* byLevel = packet->AddNewPacket();
    for (const auto& [top, subs] : counts[level]) {
      byLevel->AddInteger(top);
      TDataPacket* entry = byLevel->AddNewPacket();
      TDataPacket* ids = entry->AddNewPacket();
      TDataPacket* numbers = entry->AddNewPacket();
      for (const auto& [sub, count] : subs) {
        ids->AddInteger(sub);
        numbers->AddInteger(count);
      }
    }
  }
  return packet;
}

std::unique_ptr<TDataPacket> TWordDBWriter::Build(int format) const {
  if (format != 1000 && format != 3010) throw Exception("Invalid DB format");
  auto db = std::make_unique<TDataPacket>();
  db->AddInteger(format);
  TDataPacket* first = db->AddNewPacket();
  TDataPacket* second = db->AddNewPacket();
  for (const TWordDBSubject& s : subjects_) {
    if (format == 3010) {
      TDataPacket* entry = second->AddNewPacket();
      entry->AddInteger(s.Id);
      entry->AddUTFString(s.Name);
      entry->AddUTFString(s.AltName);
    } else {
      first->AddInteger(s.Id);
      first->AddString(ToOldHebrewCoding(s.Name));
      second->AddInteger(s.Id);
      second->AddString(WideToCp1255(s.AltName));
    }
  }
  db->AddPacket(BuildSubjectCounts());
  TDataPacket* words = db->AddNewPacket();
  for (const TWordEntry& w : SortedWords()) {
    TDataPacket* p = words->AddNewPacket();
    if (format == 3010) {
      p->AddInteger(w.Id);
      p->AddInteger(w.LetterNumber);
      p->AddNewPacket()->AddInteger(w.Subject);
      TDataPacket* files = p->AddNewPacket();
      files->AddString(w.SoundName);
      files->AddInteger(w.SoundLength);
      for (const TWordFile& extra : w.ExtraSounds) {
        files->AddString(extra.Name);
        files->AddInteger(extra.Length);
      }
    } else {
      p->AddInteger(w.Id);
      p->AddInteger(w.SoundLength);
      p->AddInteger(0);
      p->AddNewPacket()->AddInteger(w.Subject);
    }
    for (const QString* text : {&w.Text, &w.Meanings, &w.AltText, &w.SearchText, &w.Headword})
      p->AddUTFString(*text);
  }
  return db;
}

void TWordDBWriter::SaveToFile(const QString& fileName, int format) const {
  const QByteArray bytes = Build(format)->SaveToBytes();
  QSaveFile f(fileName);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
    throw Exception(QStringLiteral("Cannot write ") + fileName);
}

void TWordDBWriter::ReadSubjects(const QString& fileName) {
  for (const auto& [line, cells] : ReadTable(fileName, 4)) {
    const QString where = QStringLiteral("%1:%2").arg(fileName).arg(line);
    try {
      AddSubject({ToNumber(cells[0]), ToNumber(cells[1]), cells[2], cells[3]});
    } catch (const Exception& e) {
      throw Exception(where + QStringLiteral(": ") + e.Message());
    }
  }
}

void TWordDBWriter::ReadWords(const QString& fileName) {
  std::set<QString> seen;
  for (const auto& [line, cells] : ReadTable(fileName, 3)) {
    const QString where = QStringLiteral("%1:%2").arg(fileName).arg(line);
    if (!seen.insert(cells[1].toLower()).second)
      throw Exception(where + QStringLiteral(": repeated word ") + cells[1]);
    if (cells[1].isEmpty() || TWStr::IsBlank(cells[2]))
      throw Exception(where + QStringLiteral(": a word needs its text and meanings"));
    try {
      AddWord(cells[1], cells[2], ToNumber(cells[0]));
    } catch (const Exception& e) {
      throw Exception(where + QStringLiteral(": ") + e.Message());
    }
  }
}

}  // namespace zabko
