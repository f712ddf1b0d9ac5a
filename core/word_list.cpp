#include "core/word_list.h"

#include "core/buffered_stream.h"
#include "platform/code_page.h"
#include "platform/exception.h"
#include "platform/text_compare.h"

#include <algorithm>

namespace zabko {

namespace {

[[noreturn]] void FailedWithId(qint32 id) {
  throw Exception(QStringLiteral("Failed with id %1").arg(id));
}

// Every entry that GetSubjectCounts reads must be there: per level, one entry packet per subject
// id, each with a sub-subject packet and a counts packet at least as long.
void CheckSubjectCounts(const TDataPacket& counts) {
  for (int level = 0; level < counts.PacketCount(); ++level) {
    const TDataPacket& byLevel = *counts.GetPacket(level);
    bool ok = byLevel.PacketCount() >= byLevel.IntegerCount();
    for (int j = 0; ok && j < byLevel.IntegerCount(); ++j) {
      const TDataPacket& entry = *byLevel.GetPacket(j);
      ok = entry.PacketCount() >= 2 &&
           entry.GetPacket(1)->IntegerCount() >= entry.GetPacket(0)->IntegerCount();
    }
    if (!ok) throw Exception(QStringLiteral("Invalid subject counts at level %1").arg(level));
  }
}

}  // namespace

TWordList::TWordList(TFillWord fillWord)
    : fillWord_(std::move(fillWord)),
      subjects_(std::make_unique<TDataPacket>()),
      altSubjects_(std::make_unique<TDataPacket>()),
      subjectCounts_(std::make_unique<TDataPacket>()) {}

TWordList::~TWordList() = default;

void TWordList::LoadFromFile(const QString& fileName) {
  try {
    auto stream = TBufferedStream::CreateFromFile(fileName);
    LoadFromStream(*stream);
  } catch (...) {
    throw Exception(QStringLiteral("Failed to load file ") + fileName);
  }
}

void TWordList::LoadFromStream(TStream& stream) {
  TDataPacket database;
  database.LoadFromStream(stream);
  const qint32 format = database.IntegerCount() > 0 ? database.GetInteger(0) : 0;
  if (format == kFormat3010) {
    NewLoadList(database, fillWord_);
    return;
  }
  if (format != kFormat1000) throw Exception("Invalid DB format");

  Contents loaded;
  loaded.subjects->Assign(*database.GetPacket(0));
  const int names = loaded.subjects->StringCount();
  for (int i = 0; i < names; ++i)
    loaded.subjects->AddUTFString(HebrewAnsiToWide(loaded.subjects->GetString(i)));
  loaded.altSubjects->Assign(*database.GetPacket(1));
  LoadWords(database, nullptr, loaded);
  Commit(loaded);
}

void TWordList::NewLoadList(const TDataPacket& database, const TFillWord& fillWord) {
  if (database.IntegerCount() == 0 || database.GetInteger(0) != kFormat3010)
    throw Exception("Invalid DB format");
  Contents loaded;
  const TDataPacket& subjects = *database.GetPacket(1);
  for (int i = 0; i < subjects.PacketCount(); ++i) {
    const TDataPacket& s = *subjects.GetPacket(i);
    const qint32 id = s.GetInteger(0);
    loaded.subjects->AddInteger(id);
    loaded.subjects->AddUTFString(s.GetUTFString(0));
    loaded.altSubjects->AddInteger(id);
    loaded.altSubjects->AddUTFString(s.GetUTFString(1));
  }
  LoadWords(database, &fillWord, loaded);
  Commit(loaded);
}

void TWordList::LoadWords(const TDataPacket& database, const TFillWord* fillWord,
                          Contents& into) {
  into.subjectCounts->Assign(*database.GetPacket(2));
  CheckSubjectCounts(*into.subjectCounts);
  const TDataPacket& wordPackets = *database.GetPacket(3);
  const int count = wordPackets.PacketCount();
  into.words.reserve(static_cast<size_t>(count));
  into.idIndex.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    auto word = std::make_unique<TWord>();
    word->Index = i;
    try {
      if (fillWord)
        word->NewLoad(*wordPackets.GetPacket(i), *fillWord);
      else
        word->LoadFromPacket(*wordPackets.GetPacket(i));
    } catch (const Exception& e) {
      throw Exception(QStringLiteral("Invalid word at position %1: %2").arg(i).arg(e.Message()));
    }
    into.idIndex.emplace_back(QString::number(word->Id), word.get());
    into.words.push_back(std::move(word));
  }
  // Decimal id texts hold only digits and "-", for which code-unit order is the locale's
  // case-insensitive order; the stable sort keeps database order among equal ids.
  std::stable_sort(into.idIndex.begin(), into.idIndex.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

void TWordList::Commit(Contents& loaded) {
  words_ = std::move(loaded.words);
  idIndex_ = std::move(loaded.idIndex);
  subjects_ = std::move(loaded.subjects);
  altSubjects_ = std::move(loaded.altSubjects);
  subjectCounts_ = std::move(loaded.subjectCounts);
}

TWord* TWordList::GetWord(int index) const {
  if (index < 0 || index >= Count())
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
  return words_[static_cast<size_t>(index)].get();
}

TWord* TWordList::FindById(qint32 id) const {
  const QString key = QString::number(id);
  auto it = std::lower_bound(idIndex_.begin(), idIndex_.end(), key,
                             [](const auto& item, const QString& k) { return item.first < k; });
  if (it == idIndex_.end() || it->first != key) return nullptr;
  return it->second;
}

TWord* TWordList::FindByText(const QString& text) const {
  for (const auto& word : words_)
    if (LocaleEqual(word->SearchText, text, true)) return word.get();
  return nullptr;
}

TWord* TWordList::RandomWord(const TRandomIndex& random) const {
  if (words_.empty()) return nullptr;
  return words_[static_cast<size_t>(DrawRandomIndex(random, Count()))].get();
}

QString TWordList::GetSubjectName(qint32 subjectId) const {
  const int i = subjects_->IndexOfInteger(subjectId);
  if (i < 0 || i >= subjects_->UTFStringCount()) FailedWithId(subjectId);
  const QString name = subjects_->GetUTFString(i);
  if (name.isEmpty()) FailedWithId(subjectId);
  return name;
}

QString TWordList::GetSubjectAltName(qint32 subjectId) const {
  const int i = altSubjects_->IndexOfInteger(subjectId);
  if (i < 0) FailedWithId(subjectId);
  QString name;
  if (altSubjects_->StringCount() > 0) {
    if (i < altSubjects_->StringCount()) name = SystemCodePageToWide(altSubjects_->GetString(i));
  } else if (i < altSubjects_->UTFStringCount()) {
    name = altSubjects_->GetUTFString(i);
  }
  if (name.isEmpty()) FailedWithId(subjectId);
  return name;
}

void TWordList::GetSubjectCounts(int level, qint32 subjectId, TSubjectCountList& list) const {
  if (level < 0 || level >= subjectCounts_->PacketCount()) return;
  const TDataPacket& byLevel = *subjectCounts_->GetPacket(level);
  const int j = byLevel.IndexOfInteger(subjectId);
  if (j < 0) return;
  const TDataPacket& entry = *byLevel.GetPacket(j);
  const TDataPacket& subIds = *entry.GetPacket(0);
  const TDataPacket& counts = *entry.GetPacket(1);
  for (int k = 0; k < subIds.IntegerCount(); ++k)
    list.append({QString::number(subIds.GetInteger(k)), counts.GetInteger(k)});
}

}  // namespace zabko
