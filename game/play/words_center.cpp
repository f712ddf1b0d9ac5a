#include "game/play/words_center.h"

#include "core/data_packet.h"
#include "core/exception_log.h"
#include "core/window_services.h"
#include "core/word.h"
#include "game/play/game_client.h"
#include "platform/exception.h"

#include <algorithm>

namespace zabko {

namespace {

constexpr int kFetchSteps = 2;
constexpr int kUploadSteps = 4;
constexpr int kUploadRelogons = 2;
constexpr qint32 kEnglishCode = 20;
constexpr qint32 kHebrewCode = 10;

// Clears a flag when the scope ends, however it ends.
class TBusyScope {
 public:
  explicit TBusyScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TBusyScope() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

TWordsCenter::TWordsCenter(const QString& hebrewDatabase, const QString& englishDatabase)
    : hebrew_(app_.WordFiller()), english_(app_.WordFiller()) {
  hebrew_.LoadFromFile(hebrewDatabase);
  english_.LoadFromFile(englishDatabase);
}

void TWordsCenter::SetRange(int firstLetter, int lastLetter, bool updateWanted, bool english) {
  firstLetter_ = firstLetter;
  lastLetter_ = lastLetter;
  updateWanted_ = updateWanted;
  isEnglish_ = english;
  LoadBatch();
}

TTestQuestion TWordsCenter::NextQuestion() {
  if (next_ >= static_cast<int>(queue_.size())) LoadBatch();
  return queue_[static_cast<size_t>(next_++)];
}

TWord* TWordsCenter::FindWord(qint32 wordId) const {
  if (TWord* word = hebrew_.FindById(wordId)) return word;
  return english_.FindById(wordId);
}

bool TWordsCenter::IsUsable(const TTestQuestion& q) const {
  for (qint32 id : {q.WordId, q.Answer1, q.Answer2, q.Answer3, q.Answer4})
    if (!FindWord(id)) return false;
  return true;
}

void TWordsCenter::LoadBatch() {
  // Answers go up before new questions come down.
  Flush();
  next_ = 0;
  queue_.clear();
  if (Progress && Client) {
    Progress->RunJob(kFetchSteps, Text("WordCenter.LoadingQuestions"), [this](IProgress& progress) {
      progress.Step();
      Client->GetQuestions(isEnglish_ ? kEnglishCode : kHebrewCode, static_cast<quint8>(firstLetter_),
                           static_cast<quint8>(lastLetter_), kBatchSize, queue_);
    });
  }
  // A question naming a word the databases do not have could not be shown.
  const size_t fetched = queue_.size();
  std::erase_if(queue_, [this](const TTestQuestion& q) { return !IsUsable(q); });
  if (queue_.size() != fetched)
    LogLine("Questions with words unknown here were left out: " + QByteArray::number(qulonglong(fetched - queue_.size())));
  if (queue_.empty()) throw Exception("Failed to get questions from server");
}

void TWordsCenter::FillAnswerRow(TDataPacket& row, qint32 wordId, int choice, const TTestQuestion& q) {
  row.Clear();
  for (int i = 0; i < kAnswerRowSize; ++i) row.AddInteger(-1);
  row.SetInteger(0, wordId);
  row.SetInteger(1, choice);
  row.SetInteger(2, q.Answer1);
  row.SetInteger(3, q.Answer2);
  row.SetInteger(4, q.Answer3);
  row.SetInteger(5, q.Answer4);
  row.SetInteger(10, kGameAnswerKind);
  row.SetInteger(11, q.CurrentStatus);
}

void TWordsCenter::RecordAnswer(qint32 wordId, quint8 kind, int choice, const TTestQuestion& question) {
  TDataPacket row;
  FillAnswerRow(row, wordId, choice, question);
  holder_.AddAnswer(isEnglish_ ? kEnglishCode : kHebrewCode, wordId, &row, kind);
}

void TWordsCenter::Flush() {
  if (flushing_) return;
  TBusyScope busy(flushing_);
  if (holder_.IsEmpty()) {
    holder_.Clear();
  } else if (Client && Client->Authenticated && updateWanted_ && Progress) {
    Progress->RunJob(kUploadSteps, Text("WordCenter.UpdatingServer"),
                     [this](IProgress& progress) { UploadJob(progress); });
  } else {
    holder_.Clear();
  }
}

void TWordsCenter::UploadJob(IProgress& progress) {
  progress.Step();
  int relogons = kUploadRelogons;
  while (!holder_.IsEmpty()) {
    if (holder_.Upload(*Client)) continue;
    if (relogons == 0) return;  // what is left stays held for the next flush
    progress.Step();
    --relogons;
    if (Client->Authenticated && LogOn) LogOn();
  }
}

}  // namespace zabko
