// The windows a long job and its messages go through. A job runs in a modal progress window and
// tells or asks the user through message boxes; ui/ implements these with its windows, tests with
// fakes that run inline and answer from a script.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace zabko {

// The progress window as a running job sees it.
class IProgress {
 public:
  virtual ~IProgress() = default;
  // Advances the bar one step and lets pending events run (painting, timers).
  virtual void Step() = 0;
  // Replaces the window's main line.
  virtual void SetCaption(const QString& text) = 0;
  // Lets pending events run without a step.
  virtual void ProcessMessages() = 0;
};

class IProgressRunner {
 public:
  using TJob = std::function<void(IProgress& progress)>;
  virtual ~IProgressRunner() = default;
  // Shows the window modally with a bar of Steps steps and the caption, runs the job once the
  // window is up, and returns when the window closes. An exception of the job ends the window
  // and goes to the application's exception handler, never to the caller; the result says
  // whether the job completed.
  virtual bool RunJob(int steps, const QString& caption, const TJob& job) = 0;
};

// Button flags of the message boxes.
enum TMessageButton : int {
  kButtonYes = 1,
  kButtonNo = 2,
  kButtonOK = 4,
  kButtonCancel = 8,
  kButtonContinue = 16,
  kButtonDownload = 32,
};

class IMessageService {
 public:
  virtual ~IMessageService() = default;
  // An OK box; link runs of the text with number n open entry n of Links.
  virtual void ShowMessageWithLinks(const QString& caption, const QString& text, const QStringList& links) = 0;
  // A box with the buttons of Flags; true when it closed with OK (the yes button).
  virtual bool AskYesNo(const QString& caption, const QString& text, int flags) = 0;
};

}  // namespace zabko
