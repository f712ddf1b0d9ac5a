// Building a form in code, with the class library's loading phase: controls made while a
// TFormLoading is open take their properties in any order and act on them only when the load
// finishes (a button cuts its sprites once its size, sheet and position are all set), in the
// order the controls were made. Finishing also takes the final design sizes as the anchors'
// starting point.
//
//   TFormLoading loading(this);
//   auto* ok = new TNButton(this, "OkBtn"); ok->setGeometry(...); ok->SetManager(...); ...
//   loading.Finish();   // a missing bitmap fails here, so the form's creation fails
#pragma once

#include <QList>
#include <QPointer>

class QObject;
class QWidget;

namespace zabko {

// A control that has something to do when its form has finished loading.
class INLoadable {
 public:
  virtual void Loaded() = 0;

 protected:
  ~INLoadable() = default;
};

class TFormLoading {
 public:
  // Form: the widget whose anchors are rebased at the end (may be none).
  explicit TFormLoading(QWidget* form = nullptr);
  // Closes the load without running Loaded when Finish was not called (the form's creation
  // failed and is unwinding).
  ~TFormLoading();
  TFormLoading(const TFormLoading&) = delete;
  TFormLoading& operator=(const TFormLoading&) = delete;

  // Runs Loaded of every control made during the load, in creation order; an exception passes
  // on to the caller.
  void Finish();

  // Called by a control's constructor: true (and the control is remembered) when a load is
  // open on this thread.
  static bool Register(QObject* object, INLoadable* loadable);

 private:
  struct Entry {
    QPointer<QObject> object;
    INLoadable* loadable;
  };
  QPointer<QWidget> form_;
  QList<Entry> entries_;
  TFormLoading* outer_;
  bool open_ = true;
};

}  // namespace zabko
