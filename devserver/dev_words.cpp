#include "devserver/dev_words.h"

#include "core/data_packet.h"
#include "platform/exception.h"

namespace zabko::dev {

int TDevWords::LetterCount(int languageCode) { return languageCode == kHebrewCode ? 22 : 26; }

const std::vector<int>& TDevWords::LanguageCodes() {
  static const std::vector<int> codes{kHebrewCode, kEnglishCode};
  return codes;
}

int EnglishLetterIndex(const QString& searchText) {
  QString text = searchText.toUpper();
  if (text.startsWith("TO ")) text = text.mid(3);
  if (text.isEmpty()) return -1;
  const int index = text.at(0).unicode() - 'A';
  return index >= 0 && index < 26 ? index : -1;
}

int HebrewLetterIndex(const QString& text) {
  // Letters U+05D0..U+05EA; the final forms (kaf, mem, nun, pe, tsadi) map to their letter.
  static const int kIndex[27] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 10, 11, 12,
                                 12, 13, 13, 14, 15, 16, 16, 17, 17, 18, 19, 20, 21};
  for (const QChar c : text) {
    const int u = c.unicode();
    if (u >= 0x05D0 && u <= 0x05EA) return kIndex[u - 0x05D0];
  }
  return -1;
}

void TDevWords::LoadDatabase(const QString& fileName, int languageCode) {
  TDataPacket db;
  db.LoadFromFile(fileName, true);
  const int format = db.IntegerCount() > 0 ? db.GetInteger(0) : 0;
  if ((format != 1000 && format != 3010) || db.PacketCount() < 4)
    throw Exception("Not a word database: " + fileName);
  const TDataPacket* words = db.GetPacket(3);
  for (int i = 0; i < words->PacketCount(); ++i) {
    const TDataPacket* w = words->GetPacket(i);
    if (w->IntegerCount() < 1 || w->UTFStringCount() < 4) continue;
    TDevWord word;
    word.id = w->GetInteger(0);
    if (languageCode == kEnglishCode) {
      word.letter = EnglishLetterIndex(w->GetUTFString(3));
    } else if (format == 3010 && w->IntegerCount() > 1) {
      word.letter = w->GetInteger(1) - 1;  // the Hebrew letter number counts from 1
    } else {
      word.letter = HebrewLetterIndex(w->GetUTFString(0));
    }
    if (w->PacketCount() > 0) {
      const TDataPacket* keys = w->GetPacket(0);
      if (keys->IntegerCount() > 0) word.subject = keys->GetInteger(0);
      if (keys->IntegerCount() > 1) word.subSubject = keys->GetInteger(1);
    }
    Add(languageCode, word);
  }
}

void TDevWords::AddSynthetic(int wordsPerLetter) {
  for (int code : LanguageCodes()) {
    qint32 next = code * 1000 + 1;
    for (int letter = 0; letter < LetterCount(code); ++letter) {
      for (int k = 0; k < wordsPerLetter; ++k) {
        TDevWord word;
        word.id = next++;
        word.letter = letter;
        word.subject = 1 + (word.id % 3);
        Add(code, word);
      }
    }
  }
}

void TDevWords::Add(int languageCode, const TDevWord& word) {
  auto& list = words_[languageCode];
  auto& index = index_[languageCode];
  if (index.count(word.id)) return;  // the first word of an id wins
  index.emplace(word.id, list.size());
  list.push_back(word);
}

const std::vector<TDevWord>& TDevWords::Words(int languageCode) const {
  static const std::vector<TDevWord> none;
  const auto it = words_.find(languageCode);
  return it == words_.end() ? none : it->second;
}

const TDevWord* TDevWords::Find(int languageCode, qint32 id) const {
  const auto lang = index_.find(languageCode);
  if (lang == index_.end()) return nullptr;
  const auto it = lang->second.find(id);
  return it == lang->second.end() ? nullptr : &words_.at(languageCode)[it->second];
}

}  // namespace zabko::dev
