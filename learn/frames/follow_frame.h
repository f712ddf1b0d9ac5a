// The lowest panel of the left column: from the start of learning and the examination date that
// the learner sets, and the current pack's word counts, it shows the letter the learner is at,
// the letter the schedule puts the learner at, an advice of letters to go over, and a face
// (behind, on schedule, ahead) that the log-off sends to the server.
#pragma once

#include "core/date_time.h"
#include "learn/frames/follow_rules.h"
#include "learn/frames/side_panel.h"

#include <QWidget>

#include <functional>

class QDateEdit;

namespace zabko {

class IFrameHost;
class TLanguagePack;
class TLinkLabel2;
class TNBitmapComponent;
class TNButton;
class TNFrameStatic;
class TNManager;
class TNStatic;
class TTntLabel;

class TFollowFrm : public QWidget {
  Q_OBJECT

 public:
  TFollowFrm(QWidget* parent, TNManager* manager, IFrameHost* host);

  // After log-on: the faces, the stored dates, the first computation and, when the letter the
  // schedule puts the learner at moved on since the last start, the message saying so. Fails
  // with "Unknown language pack" when the application type's follow pack does not exist.
  void Init();
  void Recompute();
  // True shows the date editors, false the summary.
  void ShowDates(bool show);
  bool DatesShown() const;
  // Told when the content switches between the date editors and the summary.
  std::function<void(bool datesShown)> OnShowDates;
  bool IsCollapsed() const;
  int FollowState() const { return followState_; }
  void ApplyLeftToRight();
  void LoadCaptions();
  void SetSizeChanged(TSizeChanged callback) { sizeChanged_ = std::move(callback); }

  void MiniBtnClick();
  void ChangeDatesLblClick() { ShowDates(true); }
  void FollowOkBtnClick() { ShowDates(false); }
  void StartDPChange();
  void TestDPChange();

  // The pickers' dates as day numbers (midnight).
  TDateTime StartDate() const;
  TDateTime TestDate() const;
  void SetStartDate(TDateTime date);
  void SetTestDate(TDateTime date);

 private:
  // The room a letter label takes beside its caption (a letter and its geresh, bold).
  static constexpr int kLetterRoom = 24;
  TLanguagePack& FollowPack() const;
  void WriteDates();

  TNManager* manager_;
  IFrameHost* host_;
  TNStatic* nStatic1_;
  TTntLabel* captionLbl_;
  TNButton* miniBtn_;
  TNFrameStatic* background_;
  TTntLabel* dateLbl1_;
  QDateEdit* startDP_;
  TTntLabel* dateLbl2_;
  QDateEdit* testDP_;
  TNButton* followOkBtn_;
  TNStatic* faceStat_;
  TTntLabel* followLbl1_;
  TTntLabel* supposeLbl_;
  TTntLabel* followLbl2_;
  TTntLabel* amLbl_;
  TTntLabel* followSumLbl_;
  TLinkLabel2* changeDatesLbl_;

  int faces_[3] = {-1, -1, -1};
  int collapsedHeight_ = 0;
  int expandedHeight_ = 0;
  int followState_ = 0;
  // Mirrored for a left-to-right interface: the captions then place the letters after them.
  bool leftToRight_ = false;
  TSizeChanged sizeChanged_;
};

}  // namespace zabko
