// The options page that the practice test, the exam and production share: which words (one
// letter, a range, all; a subject and sub-subject; the order), how many questions, the kind and
// time of an exam question, the knowledge level for production. Each host docks it, calls Setup
// with its mode and a done-callback, and reads the values back when the learner starts. The
// values and their rules live in test_options.h.
#pragma once

#include "learn/views/test_options.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;

namespace zabko {

class IViewHost;
class TNBitmapComponent;
class TNButton;
class TNManager;
class TNStatic;
class TTntLabel;

class TOptionsForm : public QWidget {
  Q_OBJECT

 public:
  TOptionsForm(QWidget* parent, IViewHost& host, TNManager* manager);

  // Prepares the page for a host; KeepControls re-reads the fields only.
  void Setup(int mode, bool keepControls, std::function<void()> doneCallback);
  void SaveOptions();
  int GetFromLetter() const;
  int GetToLetter() const;
  int GetTimePerQuestion() const { return values_.Time; }
  int GetQuestionCount() const;
  void SetQuestionCount(int count);
  qint32 GetSubjectId() const;
  qint32 GetSubSubjectId() const;
  QString SubjectNameById(qint32 id) const;
  void TakeCurrentLetter();
  // A letter picked while the host's work runs becomes the page's single letter.
  void SaveCurrentLetter();
  static QString GetModeSection(int mode) { return ModeSection(mode); }
  void ApplyLeftToRight();
  void LoadCaptions();

  int Mode() const { return mode_; }
  const TOptionValues& Values() const { return values_; }
  QStringList ProdWords;
  QString ProdTitle;

  // Handlers.
  void DoneBtnClick();
  void LetterRangeClick(int range);
  void FromCBChange();
  void ToCBChange();
  void SivugCBChange();
  void TatSivugCBChange();
  void OrderClick(bool alphabetical);
  void KnowClick(int know);
  void KindClick(int kind);
  void RefreshSubjects();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Between the title picture and the heading beside it.
  static constexpr int kPictureGap = 8;
  void FirstShow();
  // Places the controls of every row after the captions or the reading direction change.
  void LayoutRows();
  void FillLetterCombos();
  void ReadControls();
  int LanguageCode() const;
  int AlphabetSize() const;

  IViewHost& host_;
  TNManager* manager_;
  int mode_ = kModeTest;
  std::function<void()> doneCallback_;
  TOptionValues values_;
  QString subjectName_, subSubjectName_;
  bool firstShow_ = true;
  bool filling_ = false;

  TTntLabel* cpLbl_;
  TNStatic* testImg_;
  TNStatic* examImg_;
  TNStatic* prodImg_;
  TNButton* doneBtn_;
  TNBitmapComponent* startCmp_;
  TNBitmapComponent* radioCmp_;
  QWidget* panel1_;
  QWidget* panel2_;
  QWidget* panel3_;
  QWidget* countPnl_;
  QWidget* knowLevelPnl_;
  QWidget* timePnl_;
  TNButton* singleLtrRB_;
  TNButton* rangeLtrRB_;
  TNButton* allLtrRB_;
  TTntLabel* chooseLetterLbl_;
  QComboBox* fromCB_;
  QComboBox* toCB_;
  QComboBox* sivugCB_;
  QComboBox* tatSivugCB_;
  TNButton* orderRB_;
  TNButton* noOrderRB_;
  TTntLabel* orderLbl_;
  TTntLabel* randomLbl_;
  QLineEdit* countEdt_;
  TNButton* allBtn_;
  TNButton* mostBtn_;
  TNButton* dontKnowBtn_;
  QComboBox* timeCB_;
  TNButton* normalQuestionBtn_;
  TNButton* upsideDownQuestionBtn_;
  TNButton* audioOnlyQuestionBtn_;
  TTntLabel* audioOnlyQLbl_;
};

}  // namespace zabko
