// The start-up splash: the version text and the rights line over the splash picture, and the
// load timer that runs the main window's four loading steps, one a tick, with a loading line
// for each. Shown modally; it closes by itself with OK after the fourth step. A step that raises
// closes it without OK (the exception goes on to the application's handler), which ends the
// start-up.
#pragma once

#include "ui/modal_form.h"

#include <QList>

#include <functional>

class QTimer;

namespace zabko {

class TNManager;
class TNStatic;
class TTntLabel;
class TZabkolexStrings;

class TSplashForm : public TModalForm {
  Q_OBJECT

 public:
  static constexpr int kLoadInterval = 1000;
  static constexpr int kBuildNumber = 204;

  // Hebrew: the version text reads right to left.
  TSplashForm(TNManager* manager, const TZabkolexStrings& strings, bool hebrew, QWidget* parent = nullptr);

  void TntFormShow();
  void LoadTimerTimer();
  // The Zabkolex logo and its "powered by" line.
  void ShowPoweredBy();
  void ApplyLeftToRight();
  void QELLogoClick();
  void BuildText();

  // The main window's loading steps, called with 0..3.
  std::function<void(int step)> StepCallback;

  int Step() const { return step_; }
  QTimer* LoadTimer() const { return loadTimer_; }
  TNStatic* SplashBkg() const { return splashBkg_; }
  TTntLabel* LoadLbl() const { return loadLbl_; }
  // The logo images and their "powered by" labels, in the order the log-on dialog takes them.
  QList<QWidget*> BrandControls() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  const TZabkolexStrings& strings_;
  bool hebrew_;
  TNStatic* splashBkg_ = nullptr;
  TTntLabel* loadLbl_ = nullptr;
  TTntLabel* label3_ = nullptr;
  TTntLabel* buildNumberLbl_ = nullptr;
  QList<TNStatic*> logos_;
  QList<TTntLabel*> poweredBy_;
  QTimer* loadTimer_ = nullptr;
  int step_ = 0;
  int lastHandled_ = -1;
};

}  // namespace zabko
