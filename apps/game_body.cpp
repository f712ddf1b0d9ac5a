#include "apps/game_body.h"

#include "platform/exception.h"
#include "platform/exception_handler.h"
#include "platform/gui/window_helpers.h"
#include "platform/single_instance.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <memory>

namespace zabko {

int GameBody(const QStringList& arguments, TGameBodyOptions options) {
  QApplication::setLayoutDirection(Qt::RightToLeft);
  qApp->setQuitOnLastWindowClosed(false);

  TSingleInstance instance(options.instanceName);
  switch (instance.Start()) {
    case TSingleInstance::TResult::Running:
      return 0;
    case TSingleInstance::TResult::Failed:
      std::fprintf(stderr, "%s\n", qPrintable(instance.Error()));
      return 1;
    case TSingleInstance::TResult::First:
      break;
  }
  QCoreApplication::setApplicationName(QStringLiteral("Tindrel"));

  std::unique_ptr<TZabkoGameMainForm> mainForm;
  try {
    options.mainForm.arguments = arguments;
    mainForm = std::make_unique<TZabkoGameMainForm>(options.mainForm);
    if (!mainForm->Closing()) mainForm->CreateDialogs();
  } catch (const Exception& e) {
    QMessageBox::critical(nullptr, QCoreApplication::applicationName(), e.Message());
    return 1;
  }
  if (mainForm->Closing()) return 0;

  TZabkoGameMainForm* window = mainForm.get();
  instance.OnRaise = [window] { BringProgramForward(window); };
  if (options.started) options.started(*window);
  window->show();
  if (!window->Closing()) QApplication::exec();
  mainForm.reset();
  return 0;
}

}  // namespace zabko
