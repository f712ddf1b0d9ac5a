// The game's source of questions and recorder of answers: both word databases of the data folder
// (to turn word ids into words), question batches fetched from the server for the chosen letters
// and language, one question at a time, and the answers held in memory and uploaded with
// "UpdateWords" before each new batch and at the end of a game.
#pragma once

#include "core/word_list.h"
#include "core/zabkolex_app.h"
#include "net/answer_holder.h"
#include "net/zabkolex_client.h"

#include <QString>

#include <functional>
#include <vector>

namespace zabko {

class IProgress;
class IProgressRunner;
class TGameClient;
class TWord;

class TWordsCenter {
 public:
  static constexpr int kBatchSize = 200;
  static constexpr qint32 kGameAnswerKind = 203;
  static constexpr int kAnswerRowSize = 17;

  // Loads both word databases; a database that cannot be read fails the creation.
  TWordsCenter(const QString& hebrewDatabase, const QString& englishDatabase);
  TWordsCenter(const TWordsCenter&) = delete;
  TWordsCenter& operator=(const TWordsCenter&) = delete;

  // Set by the play screen after creation; none of them is owned.
  TGameClient* Client = nullptr;
  // The progress dialog the fetch and upload jobs run in.
  IProgressRunner* Progress = nullptr;
  // The main window's log-on, used by the upload before a next try.
  std::function<void()> LogOn;
  // The text of a text-pack key for the progress dialog; the key itself when not set.
  std::function<QString(const QString& key)> TextOf;

  // Stores the range and loads the first batch; fails as a batch load does.
  void SetRange(int firstLetter, int lastLetter, bool updateWanted, bool english);
  // The next question; a used-up batch is followed by a new one. Raises "Failed to get
  // questions from server" when the new batch has no usable question.
  TTestQuestion NextQuestion();
  // The word with that id in the Hebrew list, else in the English list, else none.
  TWord* FindWord(qint32 wordId) const;
  // Holds an answer for the server: kind 2 right, 0 wrong; choice 1-4.
  void RecordAnswer(qint32 wordId, quint8 kind, int choice, const TTestQuestion& question);
  // Uploads the held answers when the client is authenticated and updates are wanted, else
  // drops them. Answers the server did not take stay held. Safe at any time: a flush while one
  // runs does nothing.
  void Flush();

  // The answer row of the server's answer report for one answer.
  static void FillAnswerRow(TDataPacket& row, qint32 wordId, int choice, const TTestQuestion& question);

  TAnswerHolder& Answers() { return holder_; }
  const std::vector<TTestQuestion>& Queue() const { return queue_; }
  int NextIndex() const { return next_; }
  const TWordList& HebrewWords() const { return hebrew_; }
  const TWordList& EnglishWords() const { return english_; }

 private:
  void LoadBatch();
  void UploadJob(IProgress& progress);
  // Every word of the question is in one of the lists.
  bool IsUsable(const TTestQuestion& question) const;
  QString Text(const QString& key) const { return TextOf ? TextOf(key) : key; }

  TZabkolexApp app_;  // its word filling fills both lists, so it outlives them
  TWordList hebrew_;
  TWordList english_;
  std::vector<TTestQuestion> queue_;
  int next_ = 0;
  int firstLetter_ = 0;
  int lastLetter_ = 0;
  bool updateWanted_ = false;
  bool isEnglish_ = false;
  bool flushing_ = false;
  TAnswerHolder holder_;
};

}  // namespace zabko
