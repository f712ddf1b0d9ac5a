// The learning program's whole start and end against the stand-in server: the forms and the
// event loop of ProgramBody, with its modal windows answered from a script as a learner would.
#include "apps/program_body.h"
#include "core/exception_log.h"
#include "learn/views/filter_form.h"
#include "learn/frames/footer_frame.h"
#include "learn/frames/header_frame.h"
#include "learn/start/login.h"
#include "learn/views/options_form.h"
#include "learn/views/test_form.h"
#include "learn/frames/word_frame.h"
#include "learn/views/word_summary.h"
#include "net/answer_holder.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "ui/download_form.h"
#include "ui/flow_windows.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"
#include "tests/common/test_util.h"
#include "tests/net/flow_fixture.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <functional>
#include <vector>

namespace zabko {
namespace {

// What is on screen for the script: the log-on dialog and message box while they run modally.
struct TScreen {
  TZabkolexMainForm& window;
  TLogin* Login() const {
    TLogin* login = window.Login();
    return login && login->InModalLoop() ? login : nullptr;
  }
  TMessageForm* Box() const {
    TMessageForm& box = window.FlowWindows().Messages();
    return box.InModalLoop() ? &box : nullptr;
  }
  QString BoxText() const {
    QStringList parts;
    if (TMessageForm* box = Box())
      for (TTntLabel* label : box->findChildren<TTntLabel*>()) parts << label->Caption();
    return parts.join("");
  }
};

class ProgramTest : public test::FlowTest {
 protected:
  struct TStep {
    std::function<bool(TScreen&)> when;
    std::function<void(TScreen&)> act;
  };

  void SetUp() override {
    FlowTest::SetUp();
    EndRun();  // the program makes its own central object
    savedRuntime_ = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    savedOpener_ = DocumentOpener();
    SetDocumentOpener("/bin/true");
    SetLogOn(kUser, kPassword);
  }
  void TearDown() override {
    SetDocumentOpener(savedOpener_);
    qputenv("XDG_RUNTIME_DIR", savedRuntime_);
    SetTraceLevel(0);
    CloseLog();
    FlowTest::TearDown();
  }

  static TRegistryIniFile Settings() { return TRegistryIniFile("Software\\Kestrani\\Zabkolex"); }
  void SetLogOn(const QByteArray& user, const QByteArray& password) {
    TRegistryIniFile settings = Settings();
    settings.WriteString("Login", "User", user);
    settings.WriteString("Login", "Password", password);
  }

  // Runs the program; the script's steps run in turn, each once its condition holds.
  int Run(std::vector<TStep> steps, const QStringList& arguments = {"zabkolex"}) {
    TProgramOptions options;
    options.mainForm.programFolder = ZABKO_DATA_OUT;
    options.mainForm.screenSize = [] { return QSize(1280, 1024); };
    options.mainForm.launcher = [this](const QString& program, const QStringList& args, const QString&) {
      launches << (QStringList{program} + args);
      return false;
    };
    options.mainForm.plainBox = [this](const QString& text) { plainBoxes << text; };
    options.splashInterval = 1;
    size_t next = 0;
    QTimer script;
    options.started = [&](TZabkolexMainForm& window) {
      QObject::connect(&script, &QTimer::timeout, [&, window = &window] {
        TScreen screen{*window};
        if (next < steps.size() && steps[next].when(screen)) {
          // The step acts from the next event, so that the script keeps running while the
          // step's own modal windows are open.
          auto act = steps[next++].act;
          QTimer::singleShot(0, [this, act, window] {
            TScreen now{*window};
            ++actsRunning_;
            Guarded([&] { act(now); });
            --actsRunning_;
          });
        }
      });
      script.start(5);
    };
    const test::HangGuard hung(hungMs_);
    const int status = ProgramBody(arguments, options);
    stepsDone = next;
    return status;
  }

  // Script steps.
  static TStep EnterInLogin() {
    return {[](TScreen& s) { return s.Login() && s.Login()->isVisible(); }, [](TScreen& s) { s.Login()->EnterBtnClick(); }};
  }
  TStep AnswerBox(const char* key, bool yes = true) {
    const QString text = TextOf(key);
    return {[text](TScreen& s) { return s.Box() && s.BoxText().contains(text.left(20)); },
            [this, yes](TScreen& s) {
              boxTexts << s.BoxText();
              s.Box()->SetModalResult(yes ? mrOk : mrCancel);
            }};
  }
  // Once the program is up and idle: no box or other modal window, and every earlier step's
  // action has returned (an action still waiting, on the server for one, may change the view
  // after this step looked).
  TStep WhenStarted(std::function<void(TScreen&)> act) {
    return {[this](TScreen& s) {
              return actsRunning_ == 0 && s.window.StartupComplete() && !s.Box() && !QApplication::activeModalWidget();
            },
            std::move(act)};
  }
  static QString TextOf(const char* key) {
    TZabkolexStrings strings;
    strings.LoadLanguage(0);
    return strings.GetString(key);
  }
  QString UserDataPath(const QString& name) const {
    return dir_.path() + "/data/Kestrani Zabkolex/Users/" + name;
  }
  static QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
  }
  int Count(const QByteArray& method) const { return int(Requests(method).size()); }

  QTemporaryDir runtime_;
  QByteArray savedRuntime_;
  QString savedOpener_;
  size_t stepsDone = 0;
  int actsRunning_ = 0;  // step actions that have not returned yet
  int hungMs_ = 60000;   // a run still going after this long has hung
  QStringList boxTexts, plainBoxes;
  QList<QStringList> launches;
};

TEST_F(ProgramTest, NewUserStartsWithTraceLinesAndClosingAsksUploadsLogsOffAndWritesTheDataFile) {
  const int status = Run(
      {EnterInLogin(), AnswerBox("TimeToStudyLetter"), AnswerBox("SwitchLangNotice"), WhenStarted([](TScreen& s) {
         s.window.AddAnswer(s.window.CurrentLanguagePack()->WordList().GetWord(0)->Id, kAnswerRight, nullptr);
         s.window.GamesBtnClick();
         s.window.Close();
       }),
       AnswerBox("DoYouWantToExit")},
      {"zabkolex", "log", "TRACE"});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(stepsDone, 5u);

  QStringList lines = QString::fromLatin1(ReadFile(dir_.path() + "/data/KestraniLog.txt")).split("\r\n");
  const QStringList expected{"Trace level", "FormCreate start", "  Creating central", "  Seting up central",
                             "  Creating flow", "FormCreate end", "FormShow start", "  After change RTL",
                             "  After CheckOSVersion", "  After SetLanguage", "  After Additional Language File",
                             "  Splash form", "  PreLogonConnect", "  After MustClose", "  Logon", "  PostLogon",
                             "FormShow end", "DelayedCall start", "DelayedCall end"};
  qsizetype at = 0;
  for (const QString& line : expected) {
    at = lines.indexOf(line, at);
    EXPECT_GE(at, 0) << line.toStdString();
    if (at < 0) break;
  }

  EXPECT_EQ(Count("UpdateWords"), 1);
  ASSERT_EQ(Count("LogOff"), 1);
  // The follow-up panel's face for each pack: on schedule at the first day (letter 0 both).
  const TDataPacket& logOff = *Requests("LogOff")[0].arguments;
  ASSERT_EQ(logOff.IntegerCount(), 2);
  EXPECT_EQ(logOff.GetInteger(0), 1);
  EXPECT_EQ(logOff.GetInteger(1), 1);
  EXPECT_TRUE(boxTexts[0].contains(TextOf("TimeToStudyLetter") + QString::fromUtf8("א'."))) << boxTexts[0].toStdString();
  EXPECT_TRUE(QFile::exists(UserDataPath(QString::fromLatin1(userKey_) + ".data")));
  // The answers file holds what is left after the upload: nothing.
  TAnswerHolder left;
  left.LoadFromFile(UserDataPath(QString::fromLatin1(userKey_) + ".answers"));
  EXPECT_TRUE(left.IsEmpty());
  ASSERT_EQ(launches.size(), 1);
  EXPECT_TRUE(launches[0][0].endsWith("/Game/Zabkoplay"));
  EXPECT_EQ(launches[0].mid(2), QStringList{"10"});  // the Hebrew pack is current
  EXPECT_TRUE(launches[0][1].startsWith("http://127.0.0.1:"));
  EXPECT_TRUE(plainBoxes.isEmpty()) << plainBoxes.join("; ").toStdString();
}

TEST_F(ProgramTest, WrongPasswordKeepsTheDialogAndExitAsksOnceLeavingTheAnswersFileAsItWas) {
  SetLogOn(kUser, "wrong");
  const QString answers = UserDataPath(QString::fromLatin1(userKey_) + ".answers");
  QDir().mkpath(QFileInfo(answers).path());
  {
    TAnswerHolder pending;
    pending.AddAnswer(kEnglish, 20001, nullptr, kAnswerRight);
    pending.SaveToFile(answers);
  }
  const QByteArray before = ReadFile(answers);
  bool dialogStayed = false;
  const int status = Run({EnterInLogin(), AnswerBox("WrongLogingFull"),
                          {[](TScreen& s) { return s.Login() && !s.Box() && !s.Login()->Busy(); },
                           [&](TScreen& s) {
                             dialogStayed = s.Login()->isVisible();
                             s.Login()->ExitBtnClick();
                           }},
                          AnswerBox("DoYouWantToExit")});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(stepsDone, 4u);
  EXPECT_TRUE(dialogStayed);
  EXPECT_EQ(boxTexts.size(), 2);  // the wrong log-on and one exit question
  EXPECT_EQ(Settings().ReadString("Login", "LastUsername", ""), kUser);
  EXPECT_EQ(Settings().ReadString("Login", "LastPassword", ""), "wrong");
  EXPECT_EQ(ReadFile(answers), before);
  EXPECT_EQ(Count("UpdateWords"), 0);
  EXPECT_EQ(Count("LogOff"), 0);
}

TEST_F(ProgramTest, FailedLanguageUpdateEndsWithStatusOneAndSendsNothingMore) {
  Fault("default", "GetPreDownloadFiles", dev::TFaultKind::Http500);
  const int status = Run({AnswerBox("PreFileError")});
  EXPECT_EQ(status, 1);
  EXPECT_EQ(stepsDone, 1u);
  EXPECT_EQ(Count("CheckVersion"), 0);
  EXPECT_EQ(Count("LogOn"), 0);
  EXPECT_EQ(Count("LogOff"), 0);
}

TEST_F(ProgramTest, AnswersSavedByAWindowThatNeverClosedGoUpAtTheNextStart) {
  int status = Run({EnterInLogin(), AnswerBox("TimeToStudyLetter"), AnswerBox("SwitchLangNotice"), WhenStarted([](TScreen& s) {
                      const qint32 id = s.window.CurrentLanguagePack()->WordList().GetWord(0)->Id;
                      s.window.AddAnswer(id, kAnswerRight, nullptr);
                      s.window.AddAnswer(id, kAnswerWrong, nullptr);
                      s.window.SaverTimerTimer();
                      // The end of a run without its shut-down, as after a crash.
                      s.window.Terminate();
                    })});
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Count("UpdateWords"), 0);
  server_->ClearLog();

  status = Run({EnterInLogin(), AnswerBox("SwitchLangNotice"), WhenStarted([](TScreen& s) {
                  ::raise(SIGTERM);  // ends the program as closing does, without the question
                })});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Count("UpdateWords"), 1);
  EXPECT_EQ(Count("LogOff"), 1);
}

TEST_F(ProgramTest, SorterMarksGoUpOnLeavingItsViewAndTheSummaryHandsItsListToProduction) {
  struct TSeen {
    int sorterView = -1, homeView = -1, prodView = -1;
    bool filterDown = false, filterDownAtHome = true, prodDown = false;
    int pendingAtHome = -1, uploadsAtHome = -1;
    qint32 marked = 0, summarised = 0;
    QStringList prodWords;
    QString prodTitle;
  } seen;
  const auto summaryOpen = [](TScreen& s) {
    return s.window.WordSummary()->InModalLoop() && s.window.WordSummary()->isVisible();
  };
  const int status = Run(
      {EnterInLogin(), AnswerBox("TimeToStudyLetter"), AnswerBox("SwitchLangNotice"), WhenStarted([&, this](TScreen& s) {
         s.window.FilterBtnClick();
         seen.sorterView = s.window.CurrentViewIndex();
         seen.filterDown = s.window.HeaderFrame()->FilterBtn()->Down();
         TLanguagePack* pack = s.window.CurrentLanguagePack();
         TWord* word = pack->WordList().GetWord(0);
         TFilterForm* sorter = s.window.FilterForm();
         sorter->ShowLetter(pack->GetLetterIndex(*word));
         seen.marked = sorter->Row(0)->Word()->Id;
         sorter->MarkClicked(sorter->Row(0));
         s.window.HomeBtnClick();
         seen.homeView = s.window.CurrentViewIndex();
         seen.filterDownAtHome = s.window.HeaderFrame()->FilterBtn()->Down();
         seen.pendingAtHome = s.window.AppCentral().AnswerHolder().Count();
         seen.uploadsAtHome = Count("UpdateWords");
         seen.summarised = word->Id;
         s.window.ShowWords("My words", {TWordItem{QString(), word}});  // modal until the next step
       }),
       {summaryOpen, [](TScreen& s) { s.window.WordSummary()->ProdBtnClick(); }},
       WhenStarted([&](TScreen& s) {
         seen.prodView = s.window.CurrentViewIndex();
         seen.prodDown = s.window.FooterFrame()->ProdBtn()->Down();
         seen.prodWords = s.window.OptionsForm()->ProdWords;
         seen.prodTitle = s.window.OptionsForm()->ProdTitle;
         s.window.Close();
       }),
       AnswerBox("DoYouWantToExit")});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(stepsDone, 7u);
  EXPECT_EQ(seen.sorterView, 1);
  EXPECT_TRUE(seen.filterDown);
  // Leaving the sorter reports its mark and sends it up at once.
  EXPECT_EQ(seen.homeView, 0);
  EXPECT_FALSE(seen.filterDownAtHome);
  EXPECT_EQ(seen.pendingAtHome, 0);
  EXPECT_EQ(seen.uploadsAtHome, 1);
  EXPECT_EQ(Count("UpdateWords"), 1);
  const auto uploads = Requests("UpdateWords");
  ASSERT_EQ(uploads.size(), 1u);
  const TDataPacket& batch = *uploads[0].arguments;
  ASSERT_EQ(batch.PacketCount(), 1);
  EXPECT_EQ(batch.GetPacket(0)->GetInteger(1), seen.marked);
  EXPECT_TRUE(batch.GetPacket(0)->GetBoolean(0)) << "a mark";
  EXPECT_TRUE(batch.GetPacket(0)->GetBoolean(1)) << "set, not removed";
  // The summary's production button opens the production view on its list.
  EXPECT_EQ(seen.prodView, 4);
  EXPECT_TRUE(seen.prodDown);
  EXPECT_EQ(seen.prodWords, QStringList{QString::number(seen.summarised)});
  EXPECT_EQ(seen.prodTitle, "My words");
  TAnswerHolder left;
  left.LoadFromFile(UserDataPath(QString::fromLatin1(userKey_) + ".answers"));
  EXPECT_TRUE(left.IsEmpty());
}

// Enough words under one letter for a whole practice.
class ProgramPracticeTest : public ProgramTest {
 protected:
  QStringList HebrewWords() const override {
    QStringList words = ProgramTest::HebrewWords();
    for (int i = 1; i <= 30; ++i) words << QString::fromUtf8("אב") + QString::number(i);
    return words;
  }
};

TEST_F(ProgramPracticeTest, LeavingAPracticeInProgressAsksAndARefusalKeepsItsViewAndButton) {
  Settings().WriteBool("Test", "DidYouKnowShowTest", true);
  struct TSeen {
    int testView = -1, refusedView = -1, examView = -1;
    bool testDown = false, inProgress = false, testDownAfterRefusal = false, examDownAfterRefusal = true;
    bool stillInProgress = false, examDown = false, exam = false, examIntro = false;
  } seen;
  const auto buttons = [](TScreen& s) { return s.window.HeaderFrame(); };
  const int status = Run(
      {EnterInLogin(), AnswerBox("TimeToStudyLetter"), AnswerBox("SwitchLangNotice"), WhenStarted([&](TScreen& s) {
         s.window.TestBtnClick();
         seen.testView = s.window.CurrentViewIndex();
         seen.testDown = buttons(s)->TestBtn()->Down();
         s.window.TestForm()->StartTest();
         seen.inProgress = s.window.TestForm()->IsTestInProgress();
         s.window.ExamBtnClick();  // asks, modally until the next step
       }),
       AnswerBox("MiddleOfTirgul", false), WhenStarted([&](TScreen& s) {
         seen.refusedView = s.window.CurrentViewIndex();
         seen.testDownAfterRefusal = buttons(s)->TestBtn()->Down();
         seen.examDownAfterRefusal = buttons(s)->ExamBtn()->Down();
         seen.stillInProgress = s.window.TestForm()->IsTestInProgress();
         s.window.ExamBtnClick();
       }),
       AnswerBox("MiddleOfTirgul"), WhenStarted([&](TScreen& s) {
         seen.examView = s.window.CurrentViewIndex();
         seen.examDown = buttons(s)->ExamBtn()->Down() && !buttons(s)->TestBtn()->Down();
         seen.exam = s.window.TestForm()->IsExam;
         seen.examIntro = s.window.TestForm()->OnIntroPage();
         s.window.Close();  // nothing in progress: only the exit question
       }),
       AnswerBox("DoYouWantToExit")});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(stepsDone, 9u);
  EXPECT_EQ(seen.testView, 2);
  EXPECT_TRUE(seen.testDown);
  ASSERT_TRUE(seen.inProgress);
  EXPECT_EQ(seen.refusedView, 2);
  EXPECT_TRUE(seen.testDownAfterRefusal);
  EXPECT_FALSE(seen.examDownAfterRefusal);
  EXPECT_TRUE(seen.stillInProgress);
  EXPECT_EQ(seen.examView, 3);
  EXPECT_TRUE(seen.examDown);
  EXPECT_TRUE(seen.exam);
  EXPECT_TRUE(seen.examIntro);
  EXPECT_EQ(boxTexts.size(), 5);  // the letter to study, the language notice, two questions, the exit question
}

// A burst of answers (a sorter's flush of many marks) goes to the answers file in one write
// about a second later, not in one write per answer.
TEST_F(ProgramTest, ABurstOfAnswersIsWrittenOnceAboutASecondLater) {
  const QString answers = UserDataPath(QString::fromLatin1(userKey_) + ".answers");
  const auto countInFile = [&] {
    TAnswerHolder holder;
    holder.LoadFromFile(answers);
    return holder.Count();
  };
  int rightAfter = -1, later = -1;
  QElapsedTimer sinceBurst;
  const int status = Run({EnterInLogin(), AnswerBox("TimeToStudyLetter"), AnswerBox("SwitchLangNotice"),
                          WhenStarted([&](TScreen& s) {
                            const qint32 id = s.window.CurrentLanguagePack()->WordList().GetWord(0)->Id;
                            for (int i = 0; i < 30; ++i) s.window.AddAnswer(id, kAnswerMarkedKnown, nullptr);
                            rightAfter = countInFile();
                            sinceBurst.start();
                          }),
                          {[&](TScreen&) { return countInFile() == 30 || sinceBurst.elapsed() > 5000; },
                           [&](TScreen& s) {
                             later = countInFile();
                             s.window.Terminate();  // no shut-down: as after a crash
                           }}});
  EXPECT_EQ(status, 1);
  EXPECT_EQ(rightAfter, 0);
  EXPECT_EQ(later, 30);
  EXPECT_EQ(Count("UpdateWords"), 0);
}

// A later start whose data-file update fails (the server's hashes never match what it sends):
// the failure is told, the program ends with status 1, and the first showing stops there.
TEST_F(ProgramTest, AFailedDataFileDownloadEndsWithStatusOneBeforeTheFirstView) {
  ASSERT_EQ(Run({EnterInLogin(), AnswerBox("TimeToStudyLetter"), AnswerBox("SwitchLangNotice"),
                 WhenStarted([](TScreen& s) { s.window.Close(); }), AnswerBox("DoYouWantToExit")}),
            0);
  Fault("", "GetDownloadFiles", dev::TFaultKind::WrongHash);
  server_->ClearLog();
  QString failure;
  const auto standardBox = [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); };
  const int status = Run({EnterInLogin(),
                          {[&](TScreen&) { return standardBox() != nullptr; },
                           [&](TScreen&) {
                             if (QMessageBox* box = standardBox()) {
                               failure = box->text();
                               box->button(QMessageBox::Ok)->click();
                             }
                           }}},
                         {"zabkolex", "log", "TRACE"});
  EXPECT_EQ(status, 1);
  EXPECT_EQ(stepsDone, 2u);
  EXPECT_EQ(failure, TDownloadDialog::FailureText(true));
  const QString log = QString::fromLatin1(ReadFile(dir_.path() + "/data/KestraniLog.txt"));
  EXPECT_TRUE(log.contains("  PostLogon"));
  EXPECT_FALSE(log.contains("FormShow end")) << "the first showing went on after the failure";
  // A failed start runs no shut-down steps.
  EXPECT_EQ(Count("LogOff"), 0);
}

// The texts on Qt's own message box buttons and folder picker.
QStringList QtButtonTexts() {
  QStringList texts;
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
  for (QAbstractButton* button : box.buttons()) texts << button->text();
  QFileDialog folders;
  folders.setOption(QFileDialog::DontUseNativeDialog);
  folders.setFileMode(QFileDialog::Directory);
  for (QDialogButtonBox* buttons : folders.findChildren<QDialogButtonBox*>())
    for (QAbstractButton* button : buttons->buttons()) texts << button->text();
  return texts;
}

bool AllHebrew(const QStringList& texts) {
  return !texts.isEmpty() && std::all_of(texts.begin(), texts.end(), [](const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x05D0 && c.unicode() <= 0x05EA; });
  });
}

TEST_F(ProgramTest, QtsOwnButtonsAndDialogsReadHebrewInTheHebrewInterface) {
  const QStringList before = QtButtonTexts();
  QStringList during;
  const int status = Run({EnterInLogin(), AnswerBox("TimeToStudyLetter"), AnswerBox("SwitchLangNotice"),
                          WhenStarted([&](TScreen& s) {
                            during = QtButtonTexts();
                            s.window.Close();
                          }),
                          AnswerBox("DoYouWantToExit")});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(stepsDone, 5u);
  EXPECT_FALSE(AllHebrew(before)) << before.join(", ").toStdString();
  EXPECT_TRUE(AllHebrew(during)) << during.join(", ").toStdString();
  // Gone with the program.
  EXPECT_EQ(QtButtonTexts(), before);
}

// Two program runs in one process, as a repeated test run makes them: the second starts as a new
// process would, untouched by what the first left pending (its guard against hanging).
TEST_F(ProgramTest, ASecondRunInTheSameProcessIsNotEndedByTheFirstRunsGuard) {
  {
    TSingleInstance other("Zabkolex");
    ASSERT_EQ(other.Start(), TSingleInstance::TResult::First);
    hungMs_ = 200;
    ASSERT_EQ(Run({}), 0);  // ends at once: another instance runs
  }
  hungMs_ = 60000;
  QElapsedTimer clock;
  const int status = Run({EnterInLogin(), AnswerBox("TimeToStudyLetter"), AnswerBox("SwitchLangNotice"),
                          WhenStarted([&](TScreen&) { clock.start(); }),
                          {[&](TScreen&) { return clock.isValid() && clock.elapsed() > 500; },
                           [](TScreen& s) { s.window.Close(); }},
                          AnswerBox("DoYouWantToExit")});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(stepsDone, 6u);
}

TEST_F(ProgramTest, SecondStartEndsAtOnceWithoutAWindow) {
  TSingleInstance first("Zabkolex");
  ASSERT_EQ(first.Start(), TSingleInstance::TResult::First);
  EXPECT_EQ(Run({}), 0);
  EXPECT_EQ(Count("GetPreDownloadFiles"), 0);
}

}  // namespace
}  // namespace zabko
