#include "game/zabko_game_main_form.h"

#include "audio/acm_wrapper.h"
#include "core/cube_management.h"
#include "game/action_form.h"
#include "game/end_game_form.h"
#include "net/flow_ui.h"
#include "platform/registry_ini_file.h"
#include "platform/shell.h"
#include "tests/common/test_util.h"
#include "tests/game/game_server_fixture.h"
#include "tests/game/question_fixture.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zabko::test {
namespace {

class TNoDownload : public IFileListDownload {
 public:
  bool DownloadFilesWithProgress(const QString& folder, const QString&, const TDataPacket&, const QString&,
                                 const QString&, const QString&, bool) override {
    folders << folder;
    return true;
  }
  QStringList folders;
};

// The learning program's stored log-on, removed again at the end.
class TStoredLogOn {
 public:
  TStoredLogOn(const QByteArray& user, const QByteArray& password) : key_("Software\\Kestrani\\Zabkolex") {
    key_.WriteString("Login", "LastUsername", user);
    key_.WriteString("Login", "LastPassword", password);
  }
  ~TStoredLogOn() {
    key_.WriteString("Login", "LastUsername", "");
    key_.WriteString("Login", "LastPassword", "");
  }

 private:
  TRegistryIniFile key_;
};

TEST(GameMainFormTest, TheServerIsTheFirstArgumentAndWithoutOneOrALogOnTheProgramEnds) {
  struct TCase {
    QStringList arguments;
    bool storedRecord;
    QByteArray url;
  } cases[] = {
      {{"Zabkoplay", "http://127.0.0.1:1/app/", "10"}, true, "http://127.0.0.1:1/app/"},
      {{"Zabkoplay", "http://127.0.0.1:1/app/", "10"}, false, "http://127.0.0.1:1/app/"},
      {{"Zabkoplay"}, true, "http://member-a/app/"},
      {{"Zabkoplay"}, false, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString() + (c.storedRecord ? " with a record" : " without one"));
    TRegistryIniFile key("Software\\Kestrani\\Zabkolex");
    auto cube = CreateCubeManagement(key);
    if (c.storedRecord) {
      cube->UserKey = "K1";
      cube->Username = "demo";
      cube->CubeMembers = {{"http://member-a/app/", 0}, {"http://member-b/app/", 1}};
      cube->SaveUser();
      key.WriteString("Login", "Id", "K1");
    } else {
      cube->ClearUser();
      key.WriteString("Login", "Id", "");
      key.WriteString("Login", "User", "");
    }
    TZabkoGameMainForm::TOptions options;
    options.arguments = c.arguments;
    options.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
    TZabkoGameMainForm form(options);
    EXPECT_EQ(form.GetServerURL(), c.url) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(form.Closing(), c.url.isEmpty());
  }
}

// The connect job over the stand-in server with a stored log-on, as the learning program leaves it.
class GameMainFormSessionTest : public GameServerTest {
 protected:
  std::unique_ptr<TZabkoGameMainForm> MakeForm() {
    TZabkoGameMainForm::TOptions options;
    options.arguments = {"Zabkoplay", QString::fromUtf8(server_->BaseUrl(dev::TDevServer::MemberName(0))), "10"};
    options.makeClient = [this] { return std::make_unique<TGameClient>(new TInProcessChannel(*server_), true); };
    options.progress = &runner_;
    options.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
    options.download = &download_;
    options.terminate = [this] { ++ended_; };
    options.showMessage = [this](const QString& text) { messages_ << text; };
    options.confirm = [this](const QString&) { return yes_; };
    return std::make_unique<TZabkoGameMainForm>(options);
  }
  static QString LearningKeyFile() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Kestrani/Zabkolex.ini");
  }
  static QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  std::vector<dev::TLoggedRequest> Requests(const QByteArray& method) const {
    std::vector<dev::TLoggedRequest> found;
    for (const auto& e : server_->Log())
      if (e.method == method) found.push_back(e);
    return found;
  }

  TNoDownload download_;
  int ended_ = 0;
  QStringList messages_;
  bool yes_ = true;
};

TEST_P(GameMainFormSessionTest, ConnectOutcomes) {
  struct TCase {
    const char* name;
    QByteArray password;
    std::function<void()> arrange;
    bool authenticated, ends;
    QString message;  // the box's text, empty for none
  };
  std::vector<TCase> cases = {
      {"stored log-on", kPassword, [] {}, true, false, {}},
      {"wrong password", "wrong", [] {}, false, false, {}},
      {"handshake refused",
       kPassword,
       [this] { server_->WithState([](dev::TDevProtocol& p) { p.Config().handShakeRefusal = "Come back later"; }); },
       true,
       true,
       "Come back later"},
      {"handshake fault", kPassword, [this] { Fault("Game.HandShake", dev::TFaultKind::Http500); }, true, true,
       "FailedConnection"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    server_->ClearFaults();
    server_->WithState([](dev::TDevProtocol& p) { p.Config().handShakeRefusal.clear(); });
    c.arrange();
    TStoredLogOn logOn(kUser, c.password);
    ended_ = 0;
    messages_.clear();
    download_.folders.clear();
    auto form = MakeForm();
    // A user id from an earlier game goes with the handshake.
    form->Parameters().WriteString(kMainSection, kUIdValue, "G77");
    server_->ClearLog();
    form->FormActivate();
    EXPECT_EQ(form->Client().Authenticated, c.authenticated);
    EXPECT_EQ(ended_ > 0, c.ends);
    EXPECT_TRUE(Requests("UpdateWords").empty()) << "nothing is uploaded at the start";
    const auto shakes = Requests("Game.HandShake");
    ASSERT_FALSE(shakes.empty());
    EXPECT_EQ(shakes[0].arguments->GetInteger(0), 2);
    EXPECT_EQ(shakes[0].arguments->GetString(0), "G77");
    EXPECT_EQ(shakes[0].arguments->IntegerCount(), 1) << "no session yet";
    // The user id is written back whatever the handshake answered.
    EXPECT_EQ(form->Parameters().ReadString(kMainSection, kUIdValue, "-"), "G77");
    if (c.message.isEmpty()) {
      EXPECT_TRUE(messages_.isEmpty()) << messages_.join('|').toStdString();
      EXPECT_EQ(download_.folders.size(), 1) << "the music is fetched";
    } else {
      const QString expected = c.message == "FailedConnection"
                                   ? form->Strings().GetString("GameWebControl.FailedConnection")
                                   : c.message;
      EXPECT_EQ(messages_, QStringList{expected});
      EXPECT_TRUE(download_.folders.isEmpty());
    }
  }
}

TEST_P(GameMainFormSessionTest, TheConnectJobRunsOnceAndAuthenticatesAStoredLogOn) {
  TStoredLogOn logOn(kUser, kPassword);
  auto form = MakeForm();
  ASSERT_FALSE(form->Closing());
  form->FormActivate();
  form->FormActivate();
  EXPECT_EQ(ended_, 0);
  EXPECT_TRUE(form->Client().Authenticated);
  ASSERT_EQ(runner_.runs.size(), 1u) << "the connect job runs once";
  EXPECT_EQ(download_.folders.size(), 1);
  EXPECT_FALSE(form->UId().isEmpty()) << "a first game gets its user id";
  EXPECT_EQ(form->Parameters().ReadString(kMainSection, kUIdValue, ""), form->UId());
}

TEST_P(GameMainFormSessionTest, YesAtCloseSendsTheLastHandshakeAndLogsOffLeavingTheLearningKeyAlone) {
  TStoredLogOn logOn(kUser, kPassword);
  const QByteArray before = ReadAll(LearningKeyFile());
  ASSERT_FALSE(before.isEmpty());
  {
    auto form = MakeForm();
    form->FormActivate();
    ASSERT_EQ(ended_, 0);
    server_->ClearLog();
    yes_ = false;
    EXPECT_FALSE(form->FormCloseQuery());
    EXPECT_TRUE(Requests("Game.HandShake").empty()) << "No keeps the session";
    yes_ = true;
    EXPECT_TRUE(form->FormCloseQuery());
    const auto shakes = Requests("Game.HandShake");
    ASSERT_EQ(shakes.size(), 1u);
    EXPECT_EQ(shakes[0].arguments->IntegerCount(), 2) << "the kind and the session";
    EXPECT_NE(shakes[0].arguments->GetInteger(1), -1);
    EXPECT_TRUE(form->FormCloseQuery());
    EXPECT_EQ(Requests("Game.HandShake").size(), 1u) << "sent once";
  }
  const auto offs = Requests("LogOff");
  ASSERT_EQ(offs.size(), 1u);
  EXPECT_EQ(offs[0].arguments->IntegerCount(), 2);
  EXPECT_EQ(offs[0].arguments->GetInteger(0), -1);
  EXPECT_EQ(ReadAll(LearningKeyFile()), before) << "the learning program's key is only read";
}

INSTANTIATE_TEST_SUITE_P(InProcess, GameMainFormSessionTest, ::testing::Values(false));

TEST(GameMainFormTest, TheWindowGoingShutsTheMediaLayerDown) {
  // A wave output that no sound holds any more stays with the media layer until it shuts down.
  GetACMManager().Get(22050, 1)->Locked = false;
  ASSERT_GE(GetACMManager().Count(), 1);
  {
    TZabkoGameMainForm::TOptions options;
    options.arguments = {"Zabkoplay", "http://127.0.0.1:1/app/"};
    options.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
    TZabkoGameMainForm form(options);  // not connected: no log-off to wait for
  }
  EXPECT_EQ(GetACMManager().Count(), 0);
}

// A document opener that writes what it was asked to open into a file.
class TOpenRecorder {
 public:
  TOpenRecorder() : saved_(DocumentOpener()) {
    const QString script = dir_.filePath("opener");
    QFile file(script);
    file.open(QIODevice::WriteOnly);
    file.write(("#!/bin/sh\necho \"$1\" >> " + Output() + ".part && mv " + Output() + ".part " + Output() + "\n")
                   .toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SetDocumentOpener(script);
  }
  ~TOpenRecorder() { SetDocumentOpener(saved_); }
  QString Output() const { return dir_.filePath("opened.txt"); }
  // What was opened, once the opener ran (empty when nothing was after Ms).
  QString Opened(int ms) {
    PumpEventsUntil([this] { return QFile::exists(Output()); }, ms);
    QFile file(Output());
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    file.remove();
    return text;
  }

 private:
  QTemporaryDir dir_;
  QString saved_;
};

// The shown main window with its dialogs and a real play screen over the stand-in server, the
// play screen's clock, draws, sounds and music in the test's hands. Clicks go to the window where
// the window system delivers them: the control under the pointer gets them.
class GameStartScreenTest : public GameServerTest {
 protected:
  void SetUp() override {
    GameServerTest::SetUp();
    const QByteArray url = server_->BaseUrl(dev::TDevServer::MemberName(0));
    TZabkoGameMainForm::TOptions main;
    main.arguments = {"Zabkoplay", QString::fromUtf8(url)};
    main.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
    main.makeClient = [this] { return std::make_unique<TGameClient>(new TInProcessChannel(*server_), true); };
    main.progress = &runner_;
    main.download = &download_;
    main.showMessage = [this](const QString& text) { messages_ << text; };
    main.confirm = [this](const QString& text) {
      messages_ << text;
      return false;
    };
    main.terminate = [] {};
    main_ = std::make_unique<TZabkoGameMainForm>(main);
    for (const QString& source : {HebrewPath(), EnglishPath()}) {
      const QString target = main_->DataManager().GetPath(QFileInfo(source).fileName());
      QFile::remove(target);
      ASSERT_TRUE(QFile::copy(source, target));
    }

    TActionForm::TOptions options;
    options.tickCount = clock_.Function();
    options.random = random_.Function();
    options.soundOutput = [](const QByteArray&) {};
    options.musicFactory = [](const QString&, const QString&, int) -> std::unique_ptr<TBackgroundMusic> {
      return nullptr;
    };
    options.showMessage = [this](const QString& text) { messages_ << text; };
    options.progress = &playRunner_;
    options.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
    form_ = std::make_unique<TActionForm>(*main_, options);
    main_->CreateDialogs();
    main_->FormActivate();  // the connect job, before the window shows
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
    runner_.runs.clear();
  }

  void TearDown() override {
    form_.reset();
    main_.reset();
    GameServerTest::TearDown();
  }

  // Every control of the start screen, by name; the opening sign's labels as "sign <n>".
  std::vector<std::pair<QString, QWidget*>> StartScreen() const {
    std::vector<std::pair<QString, QWidget*>> controls;
    for (const char* name : {"NewGameBtn", "FixGameBtn", "Top10Btn", "InstrucBtn", "SendToBtn", "ExitBtn",
                             "TryNowBtn", "LangBtn"}) {
      controls.emplace_back(QString::fromLatin1(name), main_->Button(name));
    }
    controls.emplace_back("TryNowLink", main_->TryNowLink());
    int n = 0;
    for (TTntLabel* label : main_->BackGround()->findChildren<TTntLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (label != main_->TryNowLink()) controls.emplace_back(QString("sign %1").arg(++n), label);
    }
    return controls;
  }

  // A left click at Point of the window, as the pointer gives it.
  void ClickWindowAt(const QPoint& point) {
    QTest::mouseMove(main_->windowHandle(), point);
    QTest::mouseClick(main_->windowHandle(), Qt::LeftButton, Qt::NoModifier, point);
  }
  // A click on Control's middle, through the window.
  void ClickOn(QWidget* control) { ClickWindowAt(control->mapTo(main_.get(), control->rect().center())); }

  // The windows other than the main one that showed while Action ran; a modal one is closed with
  // Esc so that the action returns.
  QStringList WindowsOpenedBy(const std::function<void()>& action) {
    QStringList opened;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == main_.get() || !window->isVisible()) continue;
        if (!opened.contains(window->objectName())) opened << window->objectName();
      }
      if (QWidget* modal = QApplication::activeModalWidget()) QTest::keyClick(modal, Qt::Key_Escape);
    });
    watch.start();
    action();
    QTest::qWait(50);
    return opened;
  }

  // The background picture of the start screen, as the window draws it.
  QImage Background() const {
    QImage image(main_->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter canvas(&image);
    main_->Manager()->DrawPlain(canvas, 0, main_->BackGround()->DrawerIndex(), 0);
    return image;
  }
  // The points of the window outside the main area whose pixel is not the background's.
  int ForeignPixelsOutsideTheMainArea() const {
    const QImage shot = main_->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage background = Background();
    const QRect area = main_->MainArea()->geometry();
    int foreign = 0;
    for (int y = 0; y < shot.height(); ++y) {
      for (int x = 0; x < shot.width(); ++x) {
        if (!area.contains(x, y) && shot.pixel(x, y) != background.pixel(x, y)) ++foreign;
      }
    }
    return foreign;
  }

  int Requests(const QByteArray& method) const {
    int n = 0;
    for (const auto& e : server_->Log()) n += e.method == method;
    return n;
  }

  TNoDownload download_;
  TFakeRunner playRunner_;
  TManualClock clock_;
  TScriptedRandom random_;
  QStringList messages_;
  std::unique_ptr<TZabkoGameMainForm> main_;
  std::unique_ptr<TActionForm> form_;
};

TEST_P(GameStartScreenTest, UnderAGameNoStartScreenControlShowsOrTakesAClick) {
  const auto controls = StartScreen();
  ASSERT_GT(controls.size(), 9u) << "the opening sign has its labels";
  for (const auto& [name, control] : controls) EXPECT_TRUE(control->isVisible()) << name.toStdString();

  TOpenRecorder links;
  main_->StartGame(0, 25, true, true);
  ASSERT_TRUE(form_->InGame());
  ASSERT_TRUE(form_->Timer()->isActive());
  TQuestion2Game& game = form_->Game();
  game.Lives = 3;
  const qint32 question = game.Question.WordId;
  const int batches = Requests("Game.GetQuestions");
  for (const auto& [name, control] : controls) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_FALSE(control->isVisible());
    const QStringList opened = WindowsOpenedBy([&] { ClickOn(control); });
    EXPECT_TRUE(opened.isEmpty()) << opened.join(", ").toStdString();
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(", ").toStdString();
    messages_.clear();
    // The game goes on as it was.
    EXPECT_TRUE(form_->InGame());
    EXPECT_TRUE(form_->Timer()->isActive());
    EXPECT_EQ(form_->parentWidget(), main_->MainArea());
    EXPECT_TRUE(form_->isVisible());
    EXPECT_EQ(game.Lives, 3);
    EXPECT_EQ(game.Question.WordId, question);
    EXPECT_EQ(Requests("Game.GetQuestions"), batches) << "no new game";
    EXPECT_EQ(main_->LangBtn()->X(), 24);
  }
  EXPECT_EQ(links.Opened(500), "") << "no address opened";
  EXPECT_TRUE(runner_.runs.empty()) << "no dialog's job ran";
}

TEST_P(GameStartScreenTest, APageStandsAloneOnTheBackgroundAndTheStartScreenComesBackWhole) {
  const QString folder = QStringLiteral(ZABKO_BUILD_DIR "/test-shots/game-start");
  QDir().mkpath(folder);
  main_->grab().save(folder + "/start.png");
  main_->StartGame(0, 25, true, true);
  ASSERT_TRUE(form_->InGame());
  main_->grab().save(folder + "/play.png");
  EXPECT_EQ(ForeignPixelsOutsideTheMainArea(), 0) << "beside the play screen only the background shows";
  form_->EndGame();
  ASSERT_EQ(main_->EndGameForm()->parentWidget(), main_->MainArea());
  ASSERT_TRUE(main_->EndGameForm()->isVisible());
  main_->grab().save(folder + "/result.png");
  EXPECT_EQ(ForeignPixelsOutsideTheMainArea(), 0) << "beside the result page only the background shows";
  main_->ShowPage(nullptr);
  for (const auto& [name, control] : StartScreen()) EXPECT_TRUE(control->isVisible()) << name.toStdString();
}

TEST_P(GameStartScreenTest, RoundedButtonsShowTheBackgroundAroundTheirFaces) {
  const QImage shot = main_->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage background = Background();
  for (const char* name : {"NewGameBtn", "ExitBtn", "TryNowBtn", "LangBtn"}) {
    SCOPED_TRACE(name);
    const QRect box = main_->Button(name)->geometry();
    for (const QPoint& corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
      EXPECT_EQ(shot.pixel(corner), background.pixel(corner)) << corner.x() << "," << corner.y();
    }
    EXPECT_NE(shot.pixel(box.center()), background.pixel(box.center())) << "the face is drawn";
  }
}

TEST_P(GameStartScreenTest, TheLinkAndTheButtonBothOpenTheFullProgramsAddress) {
  TTntLabel* link = main_->TryNowLink();
  EXPECT_EQ(link->palette().color(QPalette::WindowText), WinColor(TZabkoGameMainForm::kLinkColor));
  EXPECT_TRUE(link->font().underline());
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(link->text(), main_->Strings().GetString("OpenSignLinkText"));
  EXPECT_LE(link->fontMetrics().horizontalAdvance(link->text()), link->width()) << "the whole link shows";
  TOpenRecorder links;
  for (QWidget* control : {static_cast<QWidget*>(main_->Button("TryNowBtn")), static_cast<QWidget*>(link)}) {
    SCOPED_TRACE(control->objectName().toStdString());
    ClickOn(control);
    EXPECT_EQ(links.Opened(5000), main_->Strings().GetString("TryNowBtnClick"));
  }
}

INSTANTIATE_TEST_SUITE_P(InProcess, GameStartScreenTest, ::testing::Values(false));


}  // namespace
}  // namespace zabko::test
