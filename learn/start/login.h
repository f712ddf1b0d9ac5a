// The log-on dialog: user name and password over the splash picture, the brand line taken over
// from the splash, and a notice. Enter stores what was typed and runs the flow's log-on job in
// the progress window; the dialog closes with OK only when the job logged on and handed the word
// status over, and stays open with the job's message otherwise. Exit (the buttons, Alt+F4)
// closes the main window, which asks first.
#pragma once

#include "learn/start/splash_form.h"
#include "net/flow_hooks.h"
#include "ui/modal_form.h"

#include <QPointer>

#include <functional>

class QFrame;
class QLineEdit;

namespace zabko {

class TNBitmapComponent;
class TNButton;
class TNManager;
class TNStatic;
class TTntLabel;
class TZabkolexStrings;

class TLogin : public TModalForm, public ILoginDialog {
  Q_OBJECT

 public:
  // Splash: whose brand line the dialog shows (may be none).
  TLogin(TNManager* manager, const TZabkolexStrings& strings, TSplashForm* splash, QWidget* parent = nullptr);

  // Shows the dialog modally for the flow; true when it closed with OK.
  bool RunLoginDialog(TZabkolexFlow& flow) override;

  void FormShow();
  void EnterBtnClick();
  void ExitBtnClick();
  // Enter in either edit logs on as the button does.
  void PasswordEdtKeyPress(QKeyEvent* event);
  void ApplyLeftToRight();
  void LoadCaptions();
  // The splash whose brand line the dialog takes over.
  void SetSplash(TSplashForm* splash) { splash_ = splash; }

  // Closes the main window (which asks first); set by the main window.
  std::function<void()> OnExit;

  bool Busy() const { return busy_; }
  QLineEdit* UserNameEdt() const { return userNameEdt_; }
  QLineEdit* PasswordEdt() const { return passwordEdt_; }
  TNButton* EnterBtn() const { return enterBtn_; }
  TNButton* ExitBtn() const { return exitBtn_; }
  TNStatic* NStatic1() const { return nStatic1_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* MakeEdit(const char* name, int top);

  const TZabkolexStrings& strings_;
  QPointer<TSplashForm> splash_;
  TZabkolexFlow* flow_ = nullptr;
  TNStatic* nStatic1_ = nullptr;
  TTntLabel* usernameLbl_ = nullptr;
  TTntLabel* passwordLbl_ = nullptr;
  QLineEdit* userNameEdt_ = nullptr;
  QLineEdit* passwordEdt_ = nullptr;
  TNBitmapComponent* btnCmp_ = nullptr;
  TNBitmapComponent* exitComponent_ = nullptr;
  TNButton* enterBtn_ = nullptr;
  TNButton* exitBtn_ = nullptr;
  TNButton* smallExitBtn_ = nullptr;
  QFrame* notePanel_ = nullptr;
  TTntLabel* noteLbl_ = nullptr;
  TTntLabel* warnLbl_ = nullptr;
  bool busy_ = false;
};

}  // namespace zabko
