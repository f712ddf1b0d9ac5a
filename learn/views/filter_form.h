// The known-words sorter (view 1): the words of one letter eight to a page, each row with a
// button that marks the word known. Mark changes are queued and reported to the answer holder
// when the page changes, when the learner stops, and when the main window leaves the view. The
// rules live in sorter_rules.h; this form draws them.
#pragma once

#include "learn/views/sorter_rules.h"

#include <QWidget>

#include <array>

class QScrollBar;
class QStackedWidget;

namespace zabko {

class IViewHost;
class TMyShape;
class TNBitmapComponent;
class TNButton;
class TNManager;
class TNStatic;
class TTntLabel;
class TWordFrm;

class TFilterForm : public QWidget {
  Q_OBJECT

 public:
  TFilterForm(QWidget* parent, IViewHost& host, TNManager* manager);

  void ShowLetter(int letter);
  void ShowOpenPage();
  void FlushChanges();
  // Writes the page of the letter shown; nothing while no letter is shown.
  void SavePage();
  void ApplyLeftToRight();
  void LoadCaptions();

  // Handlers.
  void NextBtnClick();
  void PrevBtnClick();
  void FirstPageBtnClick();
  void ContinueLaterBtnClick();
  void ShowAllBtnClick();
  void MarkAllBtnClick();
  void ShowFilterBtnClick();
  void ScroolScroll(int position);
  void DoneBtnClick();
  void MarkClicked(TWordFrm* row);
  void TranslationClicked(TWordFrm* row);
  // Lays out the rows, separators and page buttons for MainPanel's size; runs whenever
  // MainPanel changes size (and after mode changes).
  void MainPanelResize();

  const TSorterModel& Model() const { return model_; }
  TWordFrm* Row(int i) const { return rows_[i]; }
  bool OnOpenPage() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildRows();
  void ShowPage();
  void UpdateGroupButtons();
  void SetSummaryMode(bool on);
  bool LeftToRight() const;
  int PackCode() const;

  IViewHost& host_;
  TNManager* manager_;
  TSorterModel model_;
  bool rowsBuilt_ = false;
  bool captionsLoaded_ = false;
  std::array<QWidget*, kSorterRows> rowPanels_{};
  std::array<TWordFrm*, kSorterRows> rows_{};
  std::array<TMyShape*, 9> shapes_{};
  QStackedWidget* notebook_;
  QWidget* openPanel_;
  QWidget* mainPanel_;
  TNStatic* image1_;
  TTntLabel* locationLbl_;
  TTntLabel* sumLbl_;
  QScrollBar* scrool_;
  TNButton* firstPageBtn_;
  TNButton* prevBtn_;
  TNButton* nextBtn_;
  TNButton* continueLaterBtn_;
  TNButton* showFilterBtn_;
  TNButton* doneBtn_;
  TNButton* showAllBtn_;
  TNButton* markAllBtn_;
  TNBitmapComponent* sinunBtns_;
  TNBitmapComponent* nextPrevBtns_;
};

}  // namespace zabko
