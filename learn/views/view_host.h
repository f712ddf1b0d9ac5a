// What the main window's docked views (the sorter, the practice and exam window, the options
// page, the word summary and the question panels) need of the main window beyond what its
// frames need: the answer holder and the letter counts of the current pack, the leave
// confirmation, the letters bar, the subject lists, and the connection error. The main window
// implements it; tests implement it with a recorder.
#pragma once

#include "learn/frames/frame_host.h"

#include <QList>
#include <QString>

class QComboBox;

namespace zabko {

class TDataPacket;
class TWord;

// One entry of a subject box: the shown name and the subject id (-2 for all subjects).
struct TSubjectItem {
  QString Name;
  qint32 Id = -2;
};
using TSubjectItemList = QList<TSubjectItem>;

// A text of the central object's text table.
QString ViewText(const QString& key);

class IViewHost : public IFrameHost {
 public:
  // One answer of the current pack for the answer holder; Detail may be none.
  virtual void AddAnswer(qint32 wordId, quint8 kind, const TDataPacket* detail) = 0;
  // Moves the word between status slots of its letter in the current pack.
  virtual void MoveWord(TWord& word, int fromStatus, int toStatus) = 0;
  // Asks whether to abandon a running practice or exam; true to go on.
  virtual bool ConfirmLeaveTest() = 0;
  // The connection error message with its home page link.
  virtual void ShowConnectionError() = 0;
  virtual bool IsLeftToRight() const = 0;

  // The letters bar of the current pack.
  virtual void ClearLetter() = 0;
  virtual void SelectLetter(int index) = 0;
  // -1 when none.
  virtual int SelectedLetter() const = 0;
  // The words of the letters First..Last of the current pack (headword, word).
  virtual void AddWordsOfLetters(TWordItemList& list, int first, int last, bool skipKnown) = 0;

  // Subject entries of the words of the letters (levels) First..Last, "all subjects" first.
  virtual void BuildSubjectList(TSubjectItemList& list, int firstLevel, int lastLevel) = 0;
  // The same for one subject's sub-subjects; subject -2 gives only "all subjects".
  virtual void BuildSubjectListOfSubject(qint32 subject, TSubjectItemList& list, int lastLevel, int firstLevel) = 0;
  // The drop-down of the box as wide as its widest item, at most Limit pixels (0: no limit).
  virtual void SetComboDropWidth(QComboBox* box, int limit) = 0;
};

}  // namespace zabko
