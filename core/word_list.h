// The words of one learning language, loaded from a word database file (one packet in binary
// form, format 1000 or 3010), with lookups by id, index and search text, a random word, the two
// subject tables and the per-level subject counts.
//
// A database is outside input: an entry that is missing or of the wrong kind fails the load with
// an exception, and a failed load leaves the list as it was before.
#pragma once

#include "core/data_packet.h"
#include "core/word.h"

#include <QList>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace zabko {

class TStream;

// One item of a subject-counts list: the decimal sub-subject id and its word count.
struct TSubjectCount {
  QString Text;
  qint32 Count = 0;
  bool operator==(const TSubjectCount&) const = default;
};
using TSubjectCountList = QList<TSubjectCount>;

class TWordList {
 public:
  static constexpr qint32 kFormat1000 = 1000;
  static constexpr qint32 kFormat3010 = 3010;

  // FillWord fills the texts of format 3010 words (the application type's word filling).
  explicit TWordList(TFillWord fillWord = {});
  TWordList(const TWordList&) = delete;
  TWordList& operator=(const TWordList&) = delete;
  ~TWordList();

  // Any failure becomes "Failed to load file " + FileName.
  void LoadFromFile(const QString& fileName);
  // Fails with "Invalid DB format" for a format other than 1000 and 3010, or with what the
  // packet or an entry of it reported.
  void LoadFromStream(TStream& stream);
  // The format 3010 branch of the load.
  void NewLoadList(const TDataPacket& database, const TFillWord& fillWord);

  int Count() const { return static_cast<int>(words_.size()); }
  // The word at Index in database order; an index out of range fails.
  TWord* GetWord(int index) const;
  // The word with that id, or none.
  TWord* FindById(qint32 id) const;
  // The first word in database order whose SearchText equals Text ignoring case, or none.
  TWord* FindByText(const QString& text) const;
  // Any word of the list, each equally likely; none when the list is empty.
  TWord* RandomWord(const TRandomIndex& random = {}) const;

  // The subject's name from Subjects / AltSubjects; "Failed with id " + id when the table has
  // no name for it.
  QString GetSubjectName(qint32 subjectId) const;
  QString GetSubjectAltName(qint32 subjectId) const;
  bool HasSubject(qint32 subjectId) const { return subjects_->IndexOfInteger(subjectId) >= 0; }
  // Appends the sub-subjects of a subject at a level with their counts; nothing for a level or
  // subject that is not there.
  void GetSubjectCounts(int level, qint32 subjectId, TSubjectCountList& list) const;

  // Integers = subject ids, UTFStrings = names at the same positions.
  const TDataPacket& Subjects() const { return *subjects_; }
  // Integers = subject ids, names in Strings (8-bit) or, when Strings is empty, in UTFStrings.
  const TDataPacket& AltSubjects() const { return *altSubjects_; }
  const TDataPacket& SubjectCounts() const { return *subjectCounts_; }
  // Decimal id texts in sorted order, each with its word.
  const std::vector<std::pair<QString, TWord*>>& IdIndex() const { return idIndex_; }
  const std::vector<std::unique_ptr<TWord>>& Words() const { return words_; }

 private:
  struct Contents {
    std::vector<std::unique_ptr<TWord>> words;
    std::vector<std::pair<QString, TWord*>> idIndex;
    std::unique_ptr<TDataPacket> subjects = std::make_unique<TDataPacket>();
    std::unique_ptr<TDataPacket> altSubjects = std::make_unique<TDataPacket>();
    std::unique_ptr<TDataPacket> subjectCounts = std::make_unique<TDataPacket>();
  };
  // Words, id index and subject counts of a database packet; a null FillWord means format 1000.
  static void LoadWords(const TDataPacket& database, const TFillWord* fillWord, Contents& into);
  void Commit(Contents& loaded);

  TFillWord fillWord_;
  std::vector<std::unique_ptr<TWord>> words_;
  std::vector<std::pair<QString, TWord*>> idIndex_;
  std::unique_ptr<TDataPacket> subjects_;
  std::unique_ptr<TDataPacket> altSubjects_;
  std::unique_ptr<TDataPacket> subjectCounts_;
};

}  // namespace zabko
