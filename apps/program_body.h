// The learning program's body: the command-line switches, one instance per user, the forms in
// their order, the event loop, and SIGTERM/SIGINT ending the program as closing does.
#pragma once

#include "learn/main/zabkolex_main_form.h"

#include <QStringList>

namespace zabko {

struct TProgramOptions {
  // Handed to the main window.
  TZabkolexMainForm::TOptions mainForm;
  // The splash's step interval in ms (0: its own).
  int splashInterval = 0;
  // The name of the single-instance lock.
  QString instanceName = QStringLiteral("Zabkolex");
  // Called with the main window once the forms exist, before the event loop (tests script it).
  std::function<void(TZabkolexMainForm&)> started;
};

// "Log" (any letter case) starts the developer log, "Trace" sets the trace level to 1; a failure
// leaves the program without a log.
void ParseSwitches(const QStringList& arguments);

// Runs the program in the existing QApplication; the exit status: 0 after a normal end or
// when another instance runs (it is asked to come forward), 1 after a failed start-up or when
// the instance lock cannot be made.
int ProgramBody(const QStringList& arguments, TProgramOptions options = {});

}  // namespace zabko
