// A window shown modally the way the forms expect it: ShowModal runs the window's own event
// loop until a modal result is set (or the application quits), and only then hides the window.
// Hiding the window meanwhile does not end the loop, so a message box can hide a progress
// window without ending the job that runs in it.
#pragma once

#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace zabko {

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// What a form is from its creation: a top-level dialog window, or a panel that lives inside
// its parent widget (a form docked into a view). A docked form never becomes a window of its
// own, not even for a moment before it is re-parented.
enum class TFormKind { Dialog, Docked };

class TModalForm : public QWidget {
  Q_OBJECT

 public:
  // A top-level dialog window without border icons, or a plain child widget of Parent.
  explicit TModalForm(QWidget* parent = nullptr, const QString& name = QString(), TFormKind kind = TFormKind::Dialog);

  // Shows the window application-modal and returns its modal result once one is set; a window
  // closed by the window manager, or an application that quits meanwhile, gives mrCancel. A
  // window already in its modal loop fails with "Cannot make a visible window modal".
  int ShowModal();
  bool InModalLoop() const { return loop_ != nullptr; }

  int ModalResult() const { return modalResult_; }
  // A result other than mrNone ends the modal loop.
  void SetModalResult(int result);

  // Centres the window on the screen it is on.
  void CenterOnScreen();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  int modalResult_ = mrNone;
  QPointer<QEventLoop> loop_;
};

}  // namespace zabko
