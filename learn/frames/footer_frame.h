// The main window's bottom bar: the production button, the four output buttons (print, player,
// disc, mobile), the contact and send-to-friend buttons, the logo and two dotted separators. The
// output buttons the application type hides leave the others spread over their room, with the
// separators and the logo following them.
#pragma once

#include <QList>
#include <QWidget>

namespace zabko {

class TNBitmapComponent;
class TNButton;
class TNManager;
class TNStatic;

// Where the footer's visible output buttons, its two separators and its logo stand.
struct TFooterPlacement {
  QList<int> ButtonLefts;  // one per visible output button, in order
  int RightDotsLeft = 0;
  int LeftDotsLeft = 0;
  int LogoLeft = 0;
};

// Print and Player are the layout positions of the print and player buttons, read before
// anything moves; Count (at least 1) the visible output buttons, each ButtonWidth wide.
TFooterPlacement PlaceFooter(int printLeft, int playerLeft, int count, int buttonWidth, int prodLeft,
                             int dotsWidth, int logoWidth);

class TFotterFrm : public QWidget {
  Q_OBJECT

 public:
  TFotterFrm(QWidget* parent, TNManager* manager);

  // Visibility of the buttons by the application type, then the placement.
  void ApplyAppType();
  void SetLogo();
  void LoadCaptions();
  void ApplyLeftToRight();

  TNButton* ProdBtn() const { return prodBtn_; }
  TNButton* PrintBtn() const { return printBtn_; }
  TNButton* PlayerBtn() const { return playerBtn_; }
  TNButton* CDBtn() const { return cdBtn_; }
  TNButton* MobileBtn() const { return mobileBtn_; }
  TNButton* ContactBtn() const { return contactBtn_; }
  TNButton* SendFriendBtn() const { return sendFriendBtn_; }

 private:
  TNStatic* nStatic1_;
  TNBitmapComponent* settingsCmp_;
  TNBitmapComponent* proBtnsCmp_;
  TNBitmapComponent* sendCmp_;
  TNButton* prodBtn_;
  TNButton* printBtn_;
  TNButton* playerBtn_;
  TNButton* cdBtn_;
  TNButton* mobileBtn_;
  TNButton* contactBtn_;
  TNButton* sendFriendBtn_;
  TNStatic* viZoLogo_;
  TNStatic* leftDots_;
  TNStatic* rightDots_;
};

}  // namespace zabko
