#include "apps/game_body.h"

#include "game/play/game_utils.h"

#include "platform/exception.h"
#include "platform/exception_handler.h"
#include "platform/gui/window_helpers.h"
#include "platform/single_instance.h"
#include "ui/qt_translations.h"

#include <QApplication>

#include <cstdio>
#include <memory>

namespace zabko {

namespace {

// The main window's message box where tests set one, else the game's plain box.
void ShowError(const TGameBodyOptions& options, const QString& text) {
  if (options.mainForm.showMessage) {
    options.mainForm.showMessage(text);
  } else {
    PlainBox(nullptr, text, QMessageBox::Ok);
  }
}

}  // namespace

int GameBody(const QStringList& arguments, TGameBodyOptions options) {
  QApplication::setLayoutDirection(Qt::RightToLeft);
  // The game speaks Hebrew only: Qt's own buttons too, from its very first box.
  const TQtTranslations qtTexts(QtInterfaceLanguage(true));
  qApp->setQuitOnLastWindowClosed(false);

  TSingleInstance instance(options.instanceName);
  switch (instance.Start()) {
    case TSingleInstance::TResult::Running:
      return 0;
    case TSingleInstance::TResult::Failed:
      // A lock that cannot be made is not another instance: say why the game does not start.
      std::fprintf(stderr, "%s\n", qPrintable(instance.Error()));
      ShowError(options, instance.Error());
      return 1;
    case TSingleInstance::TResult::First:
      break;
  }
  QCoreApplication::setApplicationName(QStringLiteral("Tindrel"));

  std::unique_ptr<TZabkoGameMainForm> mainForm;
  std::unique_ptr<TActionForm> actionForm;
  try {
    options.mainForm.arguments = arguments;
    mainForm = std::make_unique<TZabkoGameMainForm>(options.mainForm);
    if (mainForm->Closing()) return 0;
    actionForm = std::make_unique<TActionForm>(*mainForm, std::move(options.actionForm));
    mainForm->CreateDialogs();
  } catch (const Exception& e) {
    actionForm.reset();
    if (mainForm) mainForm->QuitNow();
    ShowError(options, e.Message());
    return 1;
  }

  TZabkoGameMainForm* window = mainForm.get();
  instance.OnRaise = [window] { BringProgramForward(window); };
  if (options.started) options.started(*window);
  window->show();
  // The event loop's status: 0 after the game's own end, 1 after a failed download.
  int status = 0;
  if (!window->Closing()) status = QApplication::exec();
  // The play screen goes first: it unhooks itself from the main window.
  actionForm.reset();
  mainForm.reset();
  return status;
}

}  // namespace zabko
