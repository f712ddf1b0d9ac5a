// The game program's body: one instance per user, the title, the main window, the event loop.
#pragma once

#include "game/action_form.h"
#include "game/zabko_game_main_form.h"

#include <QStringList>

#include <functional>

namespace zabko {

struct TGameBodyOptions {
  // Handed to the main window (its arguments are the program's).
  TZabkoGameMainForm::TOptions mainForm;
  // Handed to the play screen.
  TActionForm::TOptions actionForm;
  // The name of the single-instance lock.
  QString instanceName = QStringLiteral("Zabkoplay_Unique_Mutex_Name");
  // Called with the main window before the event loop (tests script it).
  std::function<void(TZabkoGameMainForm&)> started;
};

// Runs the game in the existing QApplication; the exit status: 0 after a normal end, when
// another instance runs (it is asked to come forward) or when no server is known; 1 when the
// instance lock cannot be made or start-up fails (a word database missing, say: a box names it;
// a data file that cannot be downloaded).
int GameBody(const QStringList& arguments, TGameBodyOptions options);
inline int GameBody(const QStringList& arguments) { return GameBody(arguments, TGameBodyOptions()); }

}  // namespace zabko
