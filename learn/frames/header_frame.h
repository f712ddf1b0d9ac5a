// The main window's top bar: the three view buttons (sorter, practice, exam), the help, home and
// exit buttons, and the logo with its "powered by" lines. The main window binds the buttons to
// its commands; which buttons show and where they stand follows the application type.
#pragma once

#include <QWidget>

namespace zabko {

class TNBitmapComponent;
class TNButton;
class TNManager;
class TNStatic;
class TTntLabel;

class THeaderFrm : public QWidget {
  Q_OBJECT

 public:
  THeaderFrm(QWidget* parent, TNManager* manager);

  // Help button visibility, the offset of the small buttons and the compact home button.
  void ApplyAppType();
  void SetLogo();
  // The captions, then their fonts fitted to the room the fixed layout gives them.
  void LoadCaptions();
  void ApplyLeftToRight();

  // Where the icon in the view buttons' left cap ends (the demo skin's 22 px icon at 14).
  static constexpr int kViewIconEnd = 36;
  // The least space between a caption and the icon, a rim or a neighbour.
  static constexpr int kCaptionGap = 4;

  TNButton* FilterBtn() const { return filterBtn_; }
  TNButton* TestBtn() const { return testBtn_; }
  TNButton* ExamBtn() const { return examBtn_; }
  TNButton* ExitBtn() const { return exitBtn_; }
  TNButton* HelpBtn() const { return helpBtn_; }
  TNButton* HomeBtn() const { return homeBtn_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void TntFrameResize();
  void FitCaptions();

  TTntLabel* poweredBy2Lbl_;
  TNStatic* nStatic1_;
  TTntLabel* poweredBy1Lbl_;
  TNBitmapComponent* mainBtnsCmp_;
  TNBitmapComponent* exitHelpCmp_;
  TNButton* filterBtn_;
  TNButton* testBtn_;
  TNButton* examBtn_;
  TNButton* exitBtn_;
  TNButton* helpBtn_;
  TNButton* homeBtn_;
};

}  // namespace zabko
