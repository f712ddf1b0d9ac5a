// The game program's start: one instance per user, and a start that cannot go on says why.
#include "apps/game_body.h"

#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace zabko {
namespace {

struct TStart {
  int status = -1;
  QStringList messages;
  // The OK button Qt's own box shows while each message is up.
  QStringList okButtons;
  bool windowMade = false;
};

TStart RunGame(const QStringList& arguments) {
  TStart start;
  TGameBodyOptions options;
  options.mainForm.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
  options.mainForm.showMessage = [&](const QString& text) {
    start.messages << text;
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok);
    start.okButtons << box.button(QMessageBox::Ok)->text();
  };
  options.mainForm.confirm = [](const QString&) { return true; };
  options.mainForm.terminate = [] {};
  options.actionForm.programFolder = options.mainForm.programFolder;
  options.started = [&](TZabkoGameMainForm& window) {
    start.windowMade = true;
    window.QuitNow();
  };
  start.status = GameBody(arguments, options);
  return start;
}

const QStringList kWithServer{"Zabkoplay", "http://127.0.0.1:1/app/", "10"};

TEST(GameBodyTest, ASecondStartAsksTheFirstToComeForwardAndEnds) {
  TSingleInstance first(QStringLiteral("Zabkoplay_Unique_Mutex_Name"));
  ASSERT_EQ(first.Start(), TSingleInstance::TResult::First);
  bool raised = false;
  first.OnRaise = [&] { raised = true; };
  const TStart start = RunGame(kWithServer);
  EXPECT_EQ(start.status, 0);
  EXPECT_FALSE(start.windowMade);
  for (int i = 0; i < 100 && !raised; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_TRUE(raised);
}

TEST(GameBodyTest, ALockThatCannotBeMadeIsReportedNotTakenForARunningGame) {
  QTemporaryDir dir;
  const QString notAFolder = dir.filePath("file");
  QFile file(notAFolder);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", notAFolder.toUtf8());
  const TStart start = RunGame(kWithServer);
  qputenv("XDG_RUNTIME_DIR", saved);
  EXPECT_EQ(start.status, 1);
  EXPECT_FALSE(start.windowMade);
  EXPECT_EQ(start.messages.size(), 1);
}

TEST(GameBodyTest, AMissingWordDatabaseIsNamedAndTheGameEndsWithoutAWindow) {
  // A fresh data folder holds no word database.
  const TStart start = RunGame(kWithServer);
  EXPECT_EQ(start.status, 1);
  EXPECT_FALSE(start.windowMade);
  ASSERT_EQ(start.messages.size(), 1);
  EXPECT_TRUE(start.messages[0].startsWith("Word database not found: ")) << start.messages[0].toStdString();
  EXPECT_TRUE(start.messages[0].contains("ClientPsy")) << start.messages[0].toStdString();
  // The game speaks Hebrew: so do Qt's own buttons under its message.
  ASSERT_EQ(start.okButtons.size(), 1);
  const QString ok = start.okButtons[0];
  EXPECT_TRUE(std::any_of(ok.begin(), ok.end(), [](QChar c) { return c.unicode() >= 0x05D0 && c.unicode() <= 0x05EA; }))
      << ok.toStdString();
}

TEST(GameBodyTest, NoServerKnownEndsQuietly) {
  const TStart start = RunGame({"Zabkoplay"});
  EXPECT_EQ(start.status, 0);
  EXPECT_FALSE(start.windowMade);
  EXPECT_TRUE(start.messages.isEmpty());
}

}  // namespace
}  // namespace zabko
