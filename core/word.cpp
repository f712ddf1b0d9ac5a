#include "core/word.h"

#include "platform/code_page.h"
#include "platform/text_compare.h"

#include <QRandomGenerator>

namespace zabko {

namespace {

// Text split at Separator, each part trimmed of spaces; the rest after the last separator is the
// final part.
TArrOfStrings SplitTrimmed(const QString& text, QChar separator) {
  TArrOfStrings parts;
  QString rest = text;
  for (qsizetype at; (at = rest.indexOf(separator)) >= 0;) {
    parts.append(TWStr::Trim(rest.left(at)));
    rest = TWStr::Trim(rest.mid(at + 1));
  }
  parts.append(TWStr::Trim(rest));
  return parts;
}

// The five texts of a word packet, shared by both database formats.
void ReadTexts(TWord& word, const TDataPacket& wordPacket) {
  word.Text = wordPacket.GetUTFString(0);
  word.SetMeanings(wordPacket.GetUTFString(1));
  word.AltText = wordPacket.GetUTFString(2);
  word.SearchText = wordPacket.GetUTFString(3);
  word.Headword = wordPacket.GetUTFString(4);
}

}  // namespace

int DrawRandomIndex(const TRandomIndex& random, int count) {
  if (random) return Clamp(random(count), 0, count - 1);
  return static_cast<int>(QRandomGenerator::global()->bounded(count));
}

int TWord::Compare(const TWord& other) const {
  if (SortKeys.Count() == 0) return other.SortKeys.Count() == 0 ? 0 : -1;
  if (other.SortKeys.Count() == 0) return 1;
  const int byKey = CompareInt(SortKeys.Get(0), other.SortKeys.Get(0));
  if (byKey != 0) return byKey;
  return CompareHebrewTexts(WideToCp1255(Headword), WideToCp1255(other.Headword));
}

void TWord::SetMeanings(const QString& text) { Meanings = SplitTrimmed(text, SplitChar); }

QString TWord::JoinMeanings(const QString& separator) const {
  if (Meanings.isEmpty()) return QString();
  if (Meanings.size() == 1) return Meanings[0];
  QString result;
  for (int i = 0; i < Meanings.size(); ++i) {
    if (i > 0) result += separator;
    if (NumberMeanings) result += QString::number(i + 1) + QStringLiteral(". ");
    result += Meanings[i];
  }
  return result;
}

QString TWord::PickMeaning(const TRandomIndex& random) const {
  if (PickWholeLine) return MeaningsLine();
  if (Meanings.isEmpty()) return QString();
  const QString& meaning = Meanings[DrawRandomIndex(random, static_cast<int>(Meanings.size()))];
  const TArrOfStrings parts = SplitTrimmed(meaning, SubSplitChar);
  return parts[DrawRandomIndex(random, static_cast<int>(parts.size()))];
}

bool TWord::Matches(const QString& text) const {
  const QString wanted = text.toUpper();
  if (SearchText.toUpper().contains(wanted)) return true;
  for (const QString& m : Meanings)
    if (m.toUpper().contains(wanted)) return true;
  return false;
}

qint64 TWord::ExtraAudioTotal() const {
  qint64 total = 0;
  for (const TWordFile& f : ExtraSounds) total += f.Length;
  return total;
}

void TWord::LoadFromPacket(const TDataPacket& wordPacket) {
  ReadTexts(*this, wordPacket);
  Id = wordPacket.GetInteger(0);
  const QByteArray id = QByteArray::number(Id);
  MainSound = {id + ".mp3", wordPacket.GetInteger(1)};
  ExtraSounds = {TWordFile{id + "a.mp3", wordPacket.GetInteger(2)}};
  SortKeys.Assign(wordPacket.GetPacket(0));
}

void TWord::NewLoad(const TDataPacket& wordPacket, const TFillWord& fillWord) {
  Id = wordPacket.GetInteger(0);
  LetterNumber = wordPacket.GetInteger(1);
  const TDataPacket& files = *wordPacket.GetPacket(1);
  ReadWordFile(files, 0, MainSound);
  ExtraSounds.clear();
  for (int k = 1; k < files.IntegerCount(); ++k) {
    TWordFile f;
    ReadWordFile(files, k, f);
    ExtraSounds.push_back(f);
  }
  if (files.PacketCount() == 0) {
    ExampleSound1.Name.clear();
    ExampleSound2.Name.clear();
  } else {
    const TDataPacket& examples = *files.GetPacket(0);
    ReadWordFile(examples, 0, ExampleSound1);
    ReadWordFile(examples, 1, ExampleSound2);
  }
  SortKeys.Assign(wordPacket.GetPacket(0));
  if (fillWord) fillWord(*this, wordPacket);
}

void ReadWordFile(const TDataPacket& packet, int index, TWordFile& target) {
  target.Name = packet.GetString(index);
  target.Length = packet.GetInteger(index);
}

int CompareWordItems(const TWord* a, const TWord* b) { return a->Compare(*b); }

int CompareHebrewTexts(const QByteArray& a, const QByteArray& b) {
  const int c = CompareText8(FilterHebrewLetters(a, false), FilterHebrewLetters(b, false));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CompareItemTexts(const QString& a, const QString& b) { return LocaleCompare(a, b, true); }

void FillWordTexts(TWord& word, const TDataPacket& wordPacket) {
  ReadTexts(word, wordPacket);
  word.PickWholeLine = false;
  word.NumberMeanings = true;
}

void FillWordWithMp3Names(TWord& word, const TDataPacket& wordPacket) {
  FillWordTexts(word, wordPacket);
  word.MainSound.Name += ".mp3";
  for (TWordFile& f : word.ExtraSounds) f.Name += ".mp3";
}

}  // namespace zabko
