// Shell and window helpers that need a window, kept apart from the platform library so that core and net
// never link the widgets library: the folder picker and the active window.
#pragma once

#include <QString>

class QWidget;

namespace zabko {

// The desktop's folder picker, limited to folders of the file system. True with the chosen
// folder in Path, false when the user cancelled.
bool BrowseForFolder(QWidget* ownerWindow, const QString& title, QString& path);

// The application's top-level window that is the active window, or none.
QWidget* FindActiveForm();

// Brings the program forward for a later start: the open modal window when there is one (the
// start-up's splash or log-on dialog), else the main window, un-minimised, raised and made
// active; where the desktop keeps the focus elsewhere, the window asks for attention instead.
void BringProgramForward(QWidget* mainWindow);

}  // namespace zabko
