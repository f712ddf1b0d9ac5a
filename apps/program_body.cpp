#include "apps/program_body.h"

#include "core/exception_log.h"
#include "learn/start/extra_info_form.h"
#include "learn/start/help_form.h"
#include "learn/start/splash_form.h"
#include "learn/start/welcom_form.h"
#include "net/zabkolex_central.h"
#include "platform/exception_handler.h"
#include "platform/gui/window_helpers.h"
#include "platform/single_instance.h"
#include "ui/flow_windows.h"
#include "ui/qt_translations.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>

#include <sys/socket.h>
#include <unistd.h>

namespace zabko {

namespace {

int g_signalPipe[2] = {-1, -1};

extern "C" void OnEndSignal(int signal) {
  const char byte = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT reach the event loop through a socket pair and end the program as the main
// window's signal end does; the previous handlers come back when the program body ends, unless
// such a signal came: then a repeated one is ignored, so that it cannot kill the program while
// its forms go and its settings are written.
class TEndSignals {
 public:
  explicit TEndSignals(std::function<void()> onSignal) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this, onSignal = std::move(onSignal)] {
      char byte;
      [[maybe_unused]] const ssize_t read = ::read(g_signalPipe[0], &byte, 1);
      signalled_ = true;
      Guarded(onSignal);
    });
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &oldTerm_);
    ::sigaction(SIGINT, &action, &oldInt_);
    installed_ = true;
  }
  ~TEndSignals() {
    if (!installed_) return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGTERM, signalled_ ? &ignore : &oldTerm_, nullptr);
    ::sigaction(SIGINT, signalled_ ? &ignore : &oldInt_, nullptr);
    notifier_.reset();
    ::close(g_signalPipe[0]);
    ::close(g_signalPipe[1]);
    g_signalPipe[0] = g_signalPipe[1] = -1;
  }

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
  struct sigaction oldTerm_ {};
  struct sigaction oldInt_ {};
  bool installed_ = false;
  bool signalled_ = false;
};

}  // namespace

void ParseSwitches(const QStringList& arguments) {
  try {
    bool log = false;
    for (int i = 1; i < arguments.size(); ++i) {
      if (arguments[i].compare(QStringLiteral("Log"), Qt::CaseInsensitive) == 0) log = true;
    }
    if (log) InstallDevLog(arguments);
    for (int i = 1; i < arguments.size(); ++i) {
      if (arguments[i].compare(QStringLiteral("Trace"), Qt::CaseInsensitive) == 0) {
        SetTraceLevel(1);
        LogLine("Trace level");
      }
    }
  } catch (...) {
    // The program goes on without a log.
  }
}

int ProgramBody(const QStringList& arguments, TProgramOptions options) {
  ParseSwitches(arguments);
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

  // The forms in their order; the main window made the log-on dialog and the flow's windows.
  auto mainForm = std::make_unique<TZabkolexMainForm>(options.mainForm);
  if (mainForm->Closing()) return mainForm->ExitStatus();
  TZabkolexCentral& central = mainForm->AppCentral();
  // Qt's own buttons, print and file dialogs in the interface language.
  const TQtTranslations qtTexts(QtInterfaceLanguage(central.IsHebrewInterface()));
  TNManager* manager = mainForm->Manager();
  auto welcome = std::make_unique<TWelcomForm>(manager, central.Strings());
  auto help = std::make_unique<THelpForm>();
  help->HelpFolder = options.mainForm.programFolder;
  auto splash = std::make_unique<TSplashForm>(manager, central.Strings(), central.IsHebrewInterface(), mainForm.get());
  if (options.splashInterval > 0) splash->LoadTimer()->setInterval(options.splashInterval);
  auto extraInfo = std::make_unique<TExtraInfoForm>(mainForm.get());
  mainForm->SetForms(welcome.get(), help.get(), splash.get(), extraInfo.get());

  TZabkolexMainForm* window = mainForm.get();
  instance.OnRaise = [window] { BringProgramForward(window); };
  TEndSignals endSignals([window] { window->EndBySignal(); });
  if (options.started) options.started(*window);

  QTimer::singleShot(0, window, [window] { Guarded([window] { window->FormShow(); }); });
  QApplication::exec();
  const int status = window->ExitStatus();

  // The other forms go before the main window, whose central object holds their texts.
  extraInfo.reset();
  splash.reset();
  help.reset();
  welcome.reset();
  mainForm.reset();
  return status;
}

}  // namespace zabko
