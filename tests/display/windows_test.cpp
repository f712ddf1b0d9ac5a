// The flow's windows on a real X server with a window manager: which window the manager stacks
// over which, which are mapped, and where their frames lie on the screen. Offscreen runs cannot
// see any of that. Run under xvfb-run with a window manager already up (.ci/run).
#include "apps/program_body.h"
#include "core/data_packet.h"
#include "core/hasher.h"
#include "learn/start/login.h"
#include "learn/views/options_form.h"
#include "learn/views/sub_test_form.h"
#include "learn/views/test_form.h"
#include "net/answer_holder.h"
#include "platform/shell.h"
#include "platform/stream.h"
#include "tests/common/test_util.h"
#include "tests/net/flow_fixture.h"
#include "tests/net/test_server.h"
#include "tests/display/wait_until.h"
#include "tests/ui/dialog_fixture.h"
#include "ui/alpha_blend_form.h"
#include "ui/component.h"
#include "ui/download_form.h"
#include "ui/flow_windows.h"
#include "ui/message_form.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"
#include "ui/zabko_progress_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

#include <unistd.h>

namespace zabko {
namespace {

using test::WaitUntil;

QByteArray RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(3000)) return {};
  return process.readAllStandardOutput();
}

// The managed client windows, bottom to top, as the window manager stacks them.
QList<quint64> StackingOrder() {
  const QByteArray text = RunTool(QStringLiteral("xprop"), {"-root", "-notype", "_NET_CLIENT_LIST_STACKING"});
  QList<quint64> ids;
  static const QRegularExpression kId(QStringLiteral("0x[0-9a-fA-F]+"));
  for (const QRegularExpressionMatch& m : kId.globalMatch(QString::fromLatin1(text))) ids << m.captured().toULongLong(nullptr, 16);
  return ids;
}

// Whether the X server shows the window (mapped, with every ancestor mapped).
bool Viewable(const QWidget* window) {
  return RunTool(QStringLiteral("xwininfo"), {"-id", QString::number(window->winId())}).contains("IsViewable");
}

// Index of the window in the stacking order, -1 when the manager does not list it.
int StackIndex(const QList<quint64>& order, const QWidget* window) {
  return static_cast<int>(order.indexOf(static_cast<quint64>(window->winId())));
}

class DisplayTest : public ::testing::Test, protected test::TDialogFixture {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    ASSERT_TRUE(RunTool(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id"))
        << "no window manager runs";
    main.setWindowTitle("Main");
    main.resize(900, 650);
    main.move(40, 40);
    main.show();
    ASSERT_TRUE(WaitUntil([&] { return Viewable(&main) && StackIndex(StackingOrder(), &main) >= 0; }))
        << "the window manager does not list the main window in _NET_CLIENT_LIST_STACKING";
    main.activateWindow();
    WaitUntil([&] { return QApplication::activeWindow() == &main; }, 1000);
  }

  QRect Available() const { return main.screen()->availableGeometry(); }

  QWidget main;
};

// The download dialog during a data update: the always-on-top progress window is hidden while it
// is up, the dialog stands over the main window, nothing covers it, and it lies on the screen;
// afterwards the progress window is back.
TEST_F(DisplayTest, TheDownloadDialogStandsOverTheWindowsOfTheJob) {
  test::TestServer server;
  QTemporaryDir dir;
  TFlowWindows windows(&manager, strings, &main);
  windows.ApplyLeftToRight();
  TDownloadDialog& dialog = windows.Download();
  dialog.ShowFailure = [](const QString&, bool) {};
  dialog.Terminate = [] {};
  TDataPacket list;
  for (const char* name : {"a.dat", "b.dat"}) {
    const QByteArray body = test::ServedBody(20 * 1000);
    TMemoryStream stream(body);
    TDataPacket* file = list.AddNewPacket();
    file->AddString(server.Url("/slow/20/40"));
    file->AddString(name);
    file->AddString(HashStream(stream));
    file->AddInteger(1);
  }

  bool checked = false, progressHidden = false, dialogAbove = false, uncovered = false, onScreen = false;
  bool downloaded = false, progressBack = false;
  QString stacking;
  windows.Progress().RunJob(1, "Updating", [&](IProgress&) {
    // Looked at while the transfer runs, once the manager has mapped and stacked the dialog.
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
      TDownloadForm* form = dialog.Form();
      if (checked || !form || !form->isVisible()) return;
      const QList<quint64> order = StackingOrder();
      const int at = StackIndex(order, form);
      if (at < 0 || !Viewable(form)) return;
      checked = true;
      progressHidden = !Viewable(&windows.Progress());
      dialogAbove = at > StackIndex(order, &main);
      uncovered = true;
      for (QWidget* other : QApplication::topLevelWidgets()) {
        const int index = StackIndex(order, other);
        if (other == form || index <= at || !Viewable(other)) continue;
        if (other->frameGeometry().intersects(form->frameGeometry())) uncovered = false;
      }
      onScreen = Available().contains(form->frameGeometry());
      for (quint64 id : order) stacking += QString::number(id, 16) + ' ';
    });
    probe.start(25);
    downloaded = dialog.DownloadFilesWithProgress(dir.path(), "Index.dat", list, "one", "two", "three", false);
    progressBack = windows.Progress().isVisible();
  });
  EXPECT_TRUE(downloaded);
  ASSERT_TRUE(checked) << "the dialog never showed on the display";
  EXPECT_TRUE(progressHidden) << "the progress window is up while the dialog shows";
  EXPECT_TRUE(dialogAbove) << "stacking " << stacking.toStdString();
  EXPECT_TRUE(uncovered) << "a window lies over the dialog";
  EXPECT_TRUE(onScreen);
  EXPECT_TRUE(progressBack) << "the progress window is back after the download";
}

// Message boxes on a screen 1024 wide: a box of short lines stays narrow, a long text never gets
// wider than the screen, and every box lies wholly on it.
TEST_F(DisplayTest, MessageBoxesFitTheScreen) {
  ASSERT_LE(Available().width(), 1024) << "run on a screen at most 1024 wide";
  TMessageForm box(&manager, strings, &main);
  QStringList hebrew;
  for (int i = 0; i < 60; ++i) hebrew << QString::fromUtf8("שלום");
  const struct {
    const char* name;
    QString text;
    int width;  // the box's client width; 0: only within the screen
  } cases[] = {
      {"four short lines", "~one~\\n~two~\\n~three~\\n~four~", 448},
      {"a long Hebrew text", hebrew.join(' '), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QRect frame, client;
    bool viewable = false;
    test::WhenLoopRuns([&] {
      WaitUntil([&] { return Viewable(&box) && box.frameGeometry() != box.geometry(); }, 2000);
      viewable = Viewable(&box);
      frame = box.frameGeometry();
      client = box.geometry();
      box.SetModalResult(mrOk);
    });
    box.ShowMessageBox("Caption", c.text, kButtonOK, {});
    EXPECT_TRUE(viewable);
    if (c.width > 0) {
      EXPECT_EQ(client.width(), c.width);
    }
    EXPECT_TRUE(Available().contains(frame)) << "frame " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                             << frame.height();
  }
}

// A box right after another: the window system gives activation back late, so no window is
// active when the second opens; its overlay still covers the window the box belongs to.
TEST_F(DisplayTest, ABoxRightAfterAnotherCoversItsWindow) {
  TMessageForm box(&manager, strings, &main);
  QWidget* covered[2] = {nullptr, nullptr};
  bool shown[2] = {false, false};
  for (int i = 0; i < 2; ++i) {
    test::WhenLoopRuns([&, i] {
      TAlphaBlendForm* overlay = box.Overlay();
      covered[i] = overlay ? overlay->Covered() : nullptr;
      shown[i] = overlay && overlay->isVisible() && overlay->geometry() == main.rect();
      box.SetModalResult(mrOk);
    });
    // The first box has just gone and the window manager has not handed activation back yet.
    if (i == 1) QApplication::setActiveWindow(nullptr);
    box.ShowMessageBox("Caption", "Text", kButtonOK, {});
  }
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(covered[i], &main);
    EXPECT_TRUE(shown[i]);
  }
}

// ---- The learning program on the display ----

// Presses a key as a keyboard does, through the X server to the window that has its focus,
// and waits (at most 3 s) for its effect.
bool PressKey(const QString& key, const std::function<bool()>& effect) {
  RunTool(QStringLiteral("xdotool"), {"key", key});
  return WaitUntil(effect);
}

// The windows of this process that the X server shows.
std::set<quint64> VisibleWindowsOfThisProcess() {
  const QByteArray text = RunTool(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", QString::number(getpid())});
  std::set<quint64> ids;
  for (const QByteArray& line : text.split('\n'))
    if (!line.trimmed().isEmpty()) ids.insert(line.trimmed().toULongLong());
  return ids;
}

// The share of pixels in which the screen, at the widget's place, shows what the widget paints.
double ShareShownOnScreen(QWidget* widget) {
  const QImage painted = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QPoint at = widget->mapToGlobal(QPoint(0, 0));
  const QImage screen = widget->screen()->grabWindow(0, at.x(), at.y(), widget->width(), widget->height())
                            .toImage()
                            .convertToFormat(QImage::Format_RGB32)
                            .scaled(painted.size());
  qint64 same = 0;
  for (int y = 0; y < painted.height(); ++y)
    for (int x = 0; x < painted.width(); ++x) same += painted.pixel(x, y) == screen.pixel(x, y) ? 1 : 0;
  return painted.isNull() ? 0.0 : double(same) / (double(painted.width()) * painted.height());
}

// The program against the stand-in server, with enough words under its first letter for a
// practice and an exam; the log-on is stored, the one-time tips are seen.
class ProgramWindowsTest : public test::FlowTest {
 protected:
  QStringList HebrewWords() const override {
    QStringList words = FlowTest::HebrewWords();
    for (int i = 1; i <= 30; ++i) words << QString::fromUtf8("אב") + QString::number(i);
    return words;
  }
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    FlowTest::SetUp();
    EndRun();  // the program makes its own central object
    savedRuntime_ = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    savedOpener_ = DocumentOpener();
    SetDocumentOpener("/bin/true");
    TRegistryIniFile settings("Software\\Kestrani\\Zabkolex");
    settings.WriteString("Login", "User", kUser);
    settings.WriteString("Login", "Password", kPassword);
    settings.WriteBool("Test", "DidYouKnowShowTest", true);
    settings.WriteBool("Test", "DidYouKnowShowExam", true);
  }
  void TearDown() override {
    SetDocumentOpener(savedOpener_);
    qputenv("XDG_RUNTIME_DIR", savedRuntime_);
    FlowTest::TearDown();
  }

  // The open box of the program, the innermost when one stands over another.
  static TMessageForm* OpenBox() {
    TMessageForm* open = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<TMessageForm*>(w);
      if (box && box->InModalLoop() && box->isVisible()) open = box;
    }
    return open;
  }
  static QString BoxText(TMessageForm* box) {
    QStringList parts;
    for (TTntLabel* label : box->findChildren<TTntLabel*>()) parts << label->Caption();
    return parts.join("");
  }
  static QString TextOf(const char* key) {
    TZabkolexStrings strings;
    strings.LoadLanguage(0);
    return strings.GetString(key);
  }

  // Every visible top-level window that is neither the main window nor one the program asks
  // for (its boxes and their overlay, the progress window, the log-on dialog, the splash, the
  // download dialog).
  void NoteStrayWindows() {
    static const std::set<QString> kAsked{"zabko::TZabkolexMainForm", "zabko::TMessageForm", "zabko::TAlphaBlendForm",
                                          "zabko::TZabkoProgressForm", "zabko::TLogin", "zabko::TSplashForm",
                                          "zabko::TDownloadForm"};
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (!w->isVisible() || w->windowType() == Qt::ToolTip) continue;
      const QString name = QString::fromLatin1(w->metaObject()->className());
      if (kAsked.count(name)) continue;
      strays.insert(QStringLiteral("%1 \"%2\" %3x%4 at %5,%6")
                        .arg(name, w->objectName())
                        .arg(w->width())
                        .arg(w->height())
                        .arg(w->x())
                        .arg(w->y()));
    }
  }

  // What the X server shows while question 1 of a practice or an exam is up: only the main
  // window, the question painted inside its panel.
  struct TQuestionSeen {
    bool reached = false;
    std::set<quint64> visible;
    quint64 main = 0;
    bool subFormIsWindow = true;
    double painted = 0;
    QString question;
  };
  TQuestionSeen LookAtQuestion(TZabkolexMainForm& window) {
    TQuestionSeen seen;
    TTestForm* test = window.TestForm();
    TSubTestForm* upper = test->UpperForm();
    seen.reached = WaitUntil([&] { return !test->OnIntroPage() && upper->isVisible() && !OpenBox(); }, 5000);
    // The display settles: the window manager maps and stacks, the view paints.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 400) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    seen.visible = VisibleWindowsOfThisProcess();
    // A hint that the pointer happens to call up is no window of the program's.
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->windowType() == Qt::ToolTip && w->testAttribute(Qt::WA_WState_Created)) seen.visible.erase(w->winId());
    seen.main = window.winId();
    seen.subFormIsWindow = upper->isWindow();
    seen.painted = ShareShownOnScreen(upper);
    seen.question = test->Run().NextNumber() == 2 ? QStringLiteral("question 1") : QStringLiteral("another question");
    return seen;
  }

  QTemporaryDir runtime_;
  QByteArray savedRuntime_;
  QString savedOpener_;
  std::set<QString> strays;
};

// From log-on through a practice and an exam, every box answered from the keyboard: the
// program's visible windows are the main window and the boxes it asks for; the first-start
// notice stands over the main window once that is on screen; question 1 of the practice and of
// the exam is painted inside its panel and answers the keys.
TEST_F(ProgramWindowsTest, APracticeAndAnExamShowNoWindowButTheMainWindowAndItsBoxes) {
  struct TBoxSeen {
    QString text;
    bool mainViewable = false, aboveMain = false, closedByKey = false;
  };
  std::vector<TBoxSeen> boxes;
  TQuestionSeen practice, exam;
  QString examPage;
  bool practiceKnown = false, practiceChosen = false, practiceChecked = false, practiceAnswered = false, examChoiceDown = false, examCountdown = false;
  bool examAnswered = false;
  int answersBeforeExam = -1, answersAfterExam = -1;
  TZabkolexMainForm* main = nullptr;

  struct TStep {
    std::function<bool()> when;
    std::function<void()> act;
  };
  // What opens a modal window runs from the event loop once the act has ended, so that the
  // next step acts inside that window.
  const auto OpenLater = [](std::function<void()> open) { QTimer::singleShot(0, [open] { Guarded(open); }); };
  const auto idle = [&] { return main->StartupComplete() && !OpenBox() && !QApplication::activeModalWidget(); };
  // A box that is up, on screen and active, is looked at and answered with Return.
  const auto answerBox = [&](const char* key) {
    const QString text = TextOf(key).left(20);
    return TStep{[text] {
                   TMessageForm* box = OpenBox();
                   return box && BoxText(box).contains(text) && Viewable(box);
                 },
                 [&] {
                   TMessageForm* box = OpenBox();
                   TBoxSeen seen;
                   seen.text = BoxText(box);
                   const QList<quint64> order = StackingOrder();
                   seen.mainViewable = Viewable(main);
                   seen.aboveMain = StackIndex(order, main) >= 0 && StackIndex(order, box) > StackIndex(order, main);
                   // Activation may come late after another box; the key tells whether it has the keyboard.
                   WaitUntil([&] { return QApplication::activeWindow() == box; });
                   seen.closedByKey = PressKey("Return", [&] { return box->ModalResult() != mrNone; });
                   if (!seen.closedByKey) box->SetModalResult(mrOk);
                   boxes.push_back(seen);
                 }};
  };

  std::vector<TStep> steps = {
      {[&] { return main->Login() && main->Login()->InModalLoop() && main->Login()->isVisible(); },
       [&] { main->Login()->EnterBtnClick(); }},
      answerBox("TimeToStudyLetter"),
      answerBox("SwitchLangNotice"),
      {idle,
       [&] {
         main->TestBtnClick();
         main->OptionsForm()->DoneBtnClick();
         practice = LookAtQuestion(*main);
         TSubTestForm* upper = main->TestForm()->UpperForm();
         // Right to left: the left arrow knows the word.
         practiceKnown = PressKey("Left", [&] { return upper->Page() == TPanelPage::Question; });
         TNButton* first = FindComponent<TNButton>(upper, "A1Btn");
         practiceChosen = practiceKnown && PressKey("1", [&] { return first->Down(); });
         TTntLabel* verdict = FindComponent<TTntLabel>(upper, "AnwerLbl");
         practiceChecked = practiceChosen && PressKey("Return", [&] { return verdict->isVisible(); });
         practiceAnswered =
             practiceChecked && PressKey("Return", [&] { return main->AppCentral().AnswerHolder().Count() == 1; });
       }},
      {idle, [&] { OpenLater([&] { main->ExamBtnClick(); }); }},  // asks first: a practice runs
      answerBox("MiddleOfTirgul"),
      {[&] { return idle() && main->CurrentViewIndex() == 3 && main->TestForm()->OnIntroPage(); },
       [&] {
         answersBeforeExam = main->AppCentral().AnswerHolder().Count();
         main->OptionsForm()->DoneBtnClick();
         exam = LookAtQuestion(*main);
         TSubTestForm* upper = main->TestForm()->UpperForm();
         examPage = upper->Page() == TPanelPage::Question ? "answers" : "not the answers";
         examCountdown = FindComponent<TTntLabel>(upper, "TimeLbl")->isVisible();
         TNButton* second = FindComponent<TNButton>(upper, "A2Btn");
         examChoiceDown = PressKey("2", [&] { return second->Down(); });
         // An exam goes on at the check.
         examAnswered = examChoiceDown && PressKey("Return", [&] { return main->TestForm()->Run().NextNumber() == 3; });
         answersAfterExam = main->AppCentral().AnswerHolder().Count();
         OpenLater([&] { main->Close(); });  // asks
       }},
      answerBox("DoYouWantToExit"),
  };

  RunTool(QStringLiteral("xdotool"), {"mousemove", "0", "0"});  // the pointer calls up no hints
  size_t next = 0;
  bool acting = false;
  TProgramOptions options;
  options.mainForm.programFolder = ZABKO_DATA_OUT;
  options.mainForm.launcher = [](const QString&, const QStringList&, const QString&) { return false; };
  options.mainForm.plainBox = [](const QString&) {};
  options.splashInterval = 1;
  QTimer script;
  QElapsedTimer waiting;  // since the last step acted
  options.started = [&](TZabkolexMainForm& window) {
    main = &window;
    waiting.start();
    QObject::connect(&script, &QTimer::timeout, [&] {
      NoteStrayWindows();
      if (next < steps.size() && waiting.elapsed() > 20000) {
        ADD_FAILURE() << "step " << next << " never came";
        QCoreApplication::exit(98);
        return;
      }
      // One act at a time: an act that waits for its effects serves events meanwhile.
      if (!acting && next < steps.size() && steps[next].when()) {
        waiting.restart();
        auto act = steps[next++].act;
        acting = true;
        QTimer::singleShot(0, [act, &acting] {
          Guarded(act);
          acting = false;
        });
      }
    });
    script.start(20);
  };
  const test::HangGuard hung(90000);
  const int status = ProgramBody({"zabkolex"}, options);
  script.stop();

  EXPECT_EQ(status, 0);
  EXPECT_EQ(next, steps.size()) << "stopped before step " << next;
  std::string stray;
  for (const QString& s : strays) stray += s.toStdString() + "; ";
  EXPECT_TRUE(strays.empty()) << stray;

  EXPECT_EQ(boxes.size(), 4u);
  for (const TBoxSeen& box : boxes) {
    SCOPED_TRACE(box.text.left(40).toStdString());
    EXPECT_TRUE(box.mainViewable) << "a box over an empty screen";
    EXPECT_TRUE(box.aboveMain);
    EXPECT_TRUE(box.closedByKey);
  }
  for (const TQuestionSeen* q : {&practice, &exam}) {
    SCOPED_TRACE(q == &practice ? "practice" : "exam");
    EXPECT_TRUE(q->reached);
    EXPECT_EQ(q->question, "question 1");
    EXPECT_FALSE(q->subFormIsWindow);
    EXPECT_EQ(q->visible, std::set<quint64>{q->main}) << "the X server shows " << q->visible.size() << " windows";
    EXPECT_GT(q->painted, 0.9) << "question 1 is not what the screen shows at its panel";
  }
  EXPECT_TRUE(practiceKnown) << "the know key";
  EXPECT_TRUE(practiceChosen) << "answer key 1";
  EXPECT_TRUE(practiceChecked) << "Return checks";
  EXPECT_TRUE(practiceAnswered);
  EXPECT_EQ(examPage, "answers");
  EXPECT_TRUE(examCountdown);
  EXPECT_TRUE(examChoiceDown) << "answer key 2";
  EXPECT_EQ(answersAfterExam, answersBeforeExam + 1);
  EXPECT_TRUE(examAnswered) << "Return checks and goes on";
}

}  // namespace
}  // namespace zabko
