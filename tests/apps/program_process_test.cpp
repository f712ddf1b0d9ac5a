// The learning program run as a process of its own (the real program body under a learner's
// script, tests/apps/driver) against the stand-in server in the test: what a kill leaves in the
// answers file, and how the program ends on SIGTERM while a request waits for the server.
#include "net/answer_holder.h"
#include "platform/registry_ini_file.h"
#include "tests/net/flow_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <functional>
#include <numeric>
#include <vector>

#include <sys/types.h>

namespace zabko {
namespace {

class ProgramProcessTest : public test::FlowTest {
 protected:
  void SetUp() override {
    FlowTest::SetUp();
    EndRun();  // the program makes its own central object
    savedRuntime_ = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    TRegistryIniFile settings("Software\\Kestrani\\Zabkolex");
    settings.WriteString("Login", "User", kUser);
    settings.WriteString("Login", "Password", kPassword);
  }
  void TearDown() override {
    if (program_.state() != QProcess::NotRunning) {
      program_.kill();
      program_.waitForFinished(5000);
    }
    server_->ReleaseHeld();
    qputenv("XDG_RUNTIME_DIR", savedRuntime_);
    FlowTest::TearDown();
  }

  void Start(int answers) {
    program_.setProgram(QStringLiteral(ZABKO_SCRIPTED_PROGRAM));
    program_.setArguments({"--answers", QString::number(answers)});
    program_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program_.start();
    ASSERT_TRUE(program_.waitForStarted(5000));
  }
  // Reads the program's lines until one starts with Prefix; false after Ms milliseconds or
  // when the program ends first.
  bool WaitForLine(const QString& prefix, int ms = 30000) {
    return WaitFor([&] { return std::any_of(lines_.begin(), lines_.end(), [&](const QString& l) { return l.startsWith(prefix); }); },
                   ms);
  }
  bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
      if (clock.elapsed() > ms || program_.state() == QProcess::NotRunning) return done();
      program_.waitForReadyRead(20);
      ReadLines();
    }
    return true;
  }
  void ReadLines() {
    while (program_.canReadLine()) lines_ << QString::fromUtf8(program_.readLine()).trimmed();
  }
  void Signal(int signal) { ::kill(static_cast<pid_t>(program_.processId()), signal); }
  QStringList Boxes() const { return lines_.filter(QRegularExpression("^(box|plain box): ")); }

  QString AnswersFile() const {
    return dir_.path() + "/data/Kestrani Zabkolex/Users/" + QString::fromLatin1(userKey_) + ".answers";
  }
  // The numbers that the answers' detail packets carry, in the file's order.
  std::vector<int> InAnswersFile() const {
    TAnswerHolder holder;
    holder.LoadFromFile(AnswersFile());
    std::vector<int> numbers;
    const TDataPacket& details = *holder.Data().GetPacket(3);
    for (int i = 0; i < details.PacketCount(); ++i) numbers.push_back(details.GetPacket(i)->GetInteger(0));
    return numbers;
  }
  // The same numbers of every answer the server received, in the order received.
  std::vector<int> Received() const {
    std::vector<int> numbers;
    for (const dev::TLoggedRequest& request : Requests("UpdateWords"))
      for (int i = 0; i < request.arguments->PacketCount(); ++i)
        numbers.push_back(request.arguments->GetPacket(i)->GetPacket(0)->GetInteger(0));
    return numbers;
  }
  static std::vector<int> Numbers(int count) {
    std::vector<int> numbers(static_cast<size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 0);
    return numbers;
  }
  // A queue that an earlier run could not upload, numbered as the script numbers its answers.
  void WritePendingAnswers(int count) {
    QDir().mkpath(QFileInfo(AnswersFile()).path());
    TAnswerHolder pending;
    for (int i = 0; i < count; ++i) {
      TDataPacket detail;
      detail.AddInteger(i);
      pending.AddAnswer(kHebrew, 10001, &detail, kAnswerRight);
    }
    pending.SaveToFile(AnswersFile());
  }

  QTemporaryDir runtime_;
  QByteArray savedRuntime_;
  QProcess program_;
  QStringList lines_;
};

// A learner answers, and a second later the program is killed (a crash, a power cut): the
// answers file holds every answer.
TEST_F(ProgramProcessTest, AnswersReachTheirFileWithinASecondAndSurviveAKill) {
  Start(12);
  ASSERT_TRUE(WaitForLine("added 12")) << lines_.join("\n").toStdString();
  // About a second after the answers; the saver of every minute is far off.
  const bool saved = WaitFor([&] { return InAnswersFile() == Numbers(12); }, 3000);
  Signal(SIGKILL);
  ASSERT_TRUE(program_.waitForFinished(5000));
  EXPECT_TRUE(saved);
  EXPECT_EQ(InAnswersFile(), Numbers(12));
  EXPECT_TRUE(Received().empty());
}

// A session manager or an impatient learner repeats the signal until the program is gone: it
// ends once, with status 0, whichever step each repeat meets (the shut-down, the forms going).
TEST_F(ProgramProcessTest, RepeatedSignalsEndTheProgramOnceWithStatusZero) {
  Start(12);
  ASSERT_TRUE(WaitForLine("added 12")) << lines_.join("\n").toStdString();
  QElapsedTimer clock;
  clock.start();
  while (program_.state() != QProcess::NotRunning && clock.elapsed() < 15000) {
    Signal(SIGTERM);
    program_.waitForFinished(20);
  }
  ReadLines();
  ASSERT_EQ(program_.state(), QProcess::NotRunning);
  EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program_.exitCode(), 0);
  EXPECT_EQ(Received(), Numbers(12));
  EXPECT_EQ(Requests("LogOff").size(), 1u);
  EXPECT_TRUE(InAnswersFile().empty());
}

// SIGTERM while an upload waits for the server's reply: during the shut-down's own upload (a
// second SIGTERM) and during the log-on job's upload of what an earlier run left (the first).
// The close waits for the request; each batch goes up once; the program shows no box and ends
// within 10 s with status 0; what the server did not take stays in the answers file.
struct TSignalCase {
  const char* name;
  bool atLogOn;   // the answers come from the file and the upload is the log-on job's
  bool answered;  // the held request is answered after the signal (else never)
};

class ProgramSignalTest : public ProgramProcessTest, public testing::WithParamInterface<TSignalCase> {};

TEST_P(ProgramSignalTest, ASignalDuringAnUploadWaitsForItsRequestAndEndsWithinTenSeconds) {
  const TSignalCase& c = GetParam();
  constexpr int kAnswers = 150;
  dev::TFault hold;
  hold.kind = dev::TFaultKind::NoAnswer;
  hold.times = c.answered ? 1 : -1;
  server_->SetFault("", "UpdateWords", hold);
  if (c.atLogOn) {
    WritePendingAnswers(kAnswers);
    Start(0);
  } else {
    Start(kAnswers);
    ASSERT_TRUE(WaitForLine("added")) << lines_.join("\n").toStdString();
  }
  const qsizetype boxesBefore = Boxes().size();
  QElapsedTimer clock;
  clock.start();
  if (!c.atLogOn) Signal(SIGTERM);
  ASSERT_TRUE(WaitFor([&] { return server_->HeldCount() == 1; }, 30000)) << lines_.join("\n").toStdString();
  if (c.atLogOn) clock.restart();
  Signal(SIGTERM);
  if (c.answered) {
    // The signal has reached the program's event loop by then; then the reply comes.
    QThread::msleep(300);
    server_->ReleaseHeld();
  }
  const bool ended = program_.waitForFinished(15000);
  const qint64 took = clock.elapsed();
  ReadLines();
  ASSERT_TRUE(ended) << lines_.join("\n").toStdString();
  RecordProperty("ms_from_signal_to_end", static_cast<int>(took));
  EXPECT_LT(took, 10000);
  EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program_.exitCode(), 0);
  EXPECT_EQ(Received(), c.answered ? Numbers(kAnswers) : Numbers(TAnswerHolder::kBatchSize));
  EXPECT_EQ(InAnswersFile(), c.answered ? std::vector<int>{} : Numbers(kAnswers));
  // An upload that got no reply has given up the session (its re-logons could not be sent):
  // there is nothing to log off.
  EXPECT_EQ(Requests("LogOff").size(), c.answered ? 1u : 0u);
  EXPECT_EQ(Boxes().mid(boxesBefore), QStringList{}) << "a box during the end";
}

INSTANTIATE_TEST_SUITE_P(
    Uploads, ProgramSignalTest,
    testing::Values(TSignalCase{"ShutDownUploadAnswered", false, true}, TSignalCase{"ShutDownUploadNeverAnswered", false, false},
                    TSignalCase{"LogOnUploadAnswered", true, true}, TSignalCase{"LogOnUploadNeverAnswered", true, false}),
    [](const testing::TestParamInfo<TSignalCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zabko
