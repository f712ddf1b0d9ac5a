// The learning program as the zabkolex executable runs it, with a learner's script on top, for
// tests that must run it as a process of its own (signals, a kill): it logs on with the stored
// name and password, answers every box with its default button and writes the box's text to
// stdout, and once the start-up is complete adds the answers the command line asks for
// ("--answers N": N right answers, answer i carrying a detail packet that holds i) a second
// after the last box, and writes "added N". Then it waits, as a learner who left it open.
#include "apps/program_body.h"
#include "learn/start/login.h"
#include "net/answer_holder.h"
#include "ui/flow_windows.h"
#include "ui/tnt_label.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

namespace {

void Say(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList arguments = QApplication::arguments();
  const qsizetype at = arguments.indexOf(QStringLiteral("--answers"));
  const int answers = at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toInt() : 0;

  zabko::TProgramOptions options;
  options.mainForm.programFolder = QStringLiteral(ZABKO_DATA_OUT);
  options.mainForm.screenSize = [] { return QSize(1280, 1024); };
  options.mainForm.launcher = [](const QString&, const QStringList&, const QString&) { return false; };
  options.mainForm.plainBox = [](const QString& text) { Say("plain box: " + text); };
  options.splashInterval = 1;
  QTimer script;
  bool entered = false, added = false;
  QElapsedTimer quiet;
  quiet.start();
  options.started = [&](zabko::TZabkolexMainForm& window) {
    QObject::connect(&script, &QTimer::timeout, [&, window = &window] {
      zabko::TLogin* login = window->Login();
      if (!entered && login && login->InModalLoop() && login->isVisible() && !login->Busy()) {
        entered = true;
        QTimer::singleShot(0, login, [login] { login->EnterBtnClick(); });
        return;
      }
      zabko::TMessageForm& box = window->FlowWindows().Messages();
      if (box.InModalLoop() && box.isVisible()) {
        QStringList parts;
        for (zabko::TTntLabel* label : box.findChildren<zabko::TTntLabel*>()) parts << label->Caption();
        Say("box: " + parts.join(""));
        box.SetModalResult(zabko::mrOk);
        return;
      }
      // The answers come once the start-up and its boxes are over: a second without a box.
      if (!window->StartupComplete() || QApplication::activeModalWidget()) {
        quiet.restart();
        return;
      }
      if (!added && quiet.elapsed() >= 1000) {
        added = true;
        zabko::TWordList& words = window->CurrentLanguagePack()->WordList();
        for (int i = 0; i < answers; ++i) {
          zabko::TDataPacket detail;
          detail.AddInteger(i);
          window->AddAnswer(words.GetWord(i % words.Count())->Id, zabko::kAnswerRight, &detail);
        }
        Say(QStringLiteral("added %1").arg(answers));
      }
    });
    script.start(5);
  };
  return zabko::ProgramBody(arguments, options);
}
