// The game's dialogs on a connected main window over the stand-in server: the custom game's
// letters, the top-10 table, the result page, the send-to dialog and the floating menu's ways
// out, driven with the mouse and keys inside their modal loops.
#include "core/word.h"
#include "core/zabkolex_strings.h"
#include "game/custom_game_form.h"
#include "game/end_game_form.h"
#include "game/floating_menu.h"
#include "game/instructions_form.h"
#include "game/send_to_form.h"
#include "game/top10_form.h"
#include "game/zabko_game_main_form.h"
#include "net/flow_ui.h"
#include "tests/common/test_util.h"
#include "tests/game/game_server_fixture.h"
#include "tests/ui/dialog_fixture.h"
#include "ui/component.h"
#include "ui/my_shape.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace zabko::test {
namespace {

class TNoDownload : public IFileListDownload {
 public:
  bool DownloadFilesWithProgress(const QString&, const QString&, const TDataPacket&, const QString&, const QString&,
                                 const QString&, bool) override {
    return true;
  }
};

void Click(QWidget* control) {
  ASSERT_TRUE(control);
  QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(control->width() / 2, control->height() / 2));
}

struct TGame {
  int first, last;
  bool update, english;
  bool operator==(const TGame&) const = default;
};
void PrintTo(const TGame& g, std::ostream* os) {
  *os << "{" << g.first << ", " << g.last << ", " << g.update << ", " << g.english << "}";
}

class GameDialogsTest : public GameServerTest {
 protected:
  void SetUp() override {
    GameServerTest::SetUp();
    TZabkoGameMainForm::TOptions options;
    options.arguments = {"Zabkoplay", QString::fromUtf8(server_->BaseUrl(dev::TDevServer::MemberName(0)))};
    options.makeClient = [this] { return std::make_unique<TGameClient>(new TInProcessChannel(*server_), true); };
    options.progress = &runner_;
    options.programFolder = QStringLiteral(ZABKO_DATA_OUT "/Game");
    options.download = &download_;
    options.confirm = [this](const QString& text) {
      questions_ << text;
      if (answers_.empty()) return false;
      const bool answer = answers_.front();
      answers_.erase(answers_.begin());
      return answer;
    };
    options.showMessage = [this](const QString& text) { messages_ << text; };
    options.terminate = [this] { ++terminated_; };
    main_ = std::make_unique<TZabkoGameMainForm>(options);
    main_->CreateDialogs();
    // The play screen's stand-in: docked at each start, as the play screen is.
    play_ = new QWidget;
    play_->setObjectName(QStringLiteral("ActionForm"));
    main_->OnStartGame = [this](int first, int last, bool update, bool english) {
      games_.push_back({first, last, update, english});
      main_->ShowPage(play_);
    };
    main_->OnEndGame = [this] { ++endGames_; };
    main_->FindWord = [this](qint32 id) -> TWord* {
      const auto found = words_.find(id);
      return found == words_.end() ? nullptr : &found->second;
    };
    main_->FormActivate();  // the connect job, before the window shows
    ASSERT_FALSE(main_->Closing());
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
    runner_.runs.clear();
    server_->ClearLog();
  }

  void TearDown() override {
    if (play_ && !play_->parent()) delete play_;
    main_.reset();
    GameServerTest::TearDown();
  }

  QString Text(const QString& key) const { return main_->Strings().GetString(key); }

  template <class T>
  T* Find(QWidget* form, const QString& name) {
    T* control = FindComponent<T>(form, name);
    EXPECT_TRUE(control) << name.toStdString();
    return control;
  }

  TNoDownload download_;
  std::unique_ptr<TZabkoGameMainForm> main_;
  QPointer<QWidget> play_;
  QStringList questions_, messages_;
  std::vector<bool> answers_;
  std::vector<TGame> games_;
  std::map<qint32, TWord> words_;
  int terminated_ = 0, endGames_ = 0;
};

// --- custom game -------------------------------------------------------------------------------

TEST_P(GameDialogsTest, CustomGameOffersTheWholeAlphabetAndStartsOnlyOnOk) {
  TCustomGameForm& form = *main_->CustomGameForm();
  // Cancel starts nothing; the first showing selects the whole Hebrew alphabet.
  WhenLoopRuns([&] {
    EXPECT_EQ(form.FromLetterCB()->currentIndex(), 0);
    EXPECT_EQ(form.ToLetterCB()->currentIndex(), 21);
    EXPECT_EQ(form.ToLetterCB()->count(), 22);
    Click(Find<TNButton>(&form, "NButton2"));
  });
  EXPECT_FALSE(main_->CustomGame());
  EXPECT_TRUE(games_.empty());

  WhenLoopRuns([&] {
    form.UpdateServerCB()->setChecked(false);
    Click(Find<TNButton>(&form, "NButton1"));
  });
  EXPECT_TRUE(main_->CustomGame());
  EXPECT_EQ(games_, (std::vector<TGame>{{0, 21, false, false}}));
  EXPECT_EQ(&main_->LanguageClass(), &THebrewLanguage::LanguageClass());
}

TEST_P(GameDialogsTest, ChoosingALanguageRefillsBothListsAtTheFirstLetter) {
  TCustomGameForm& form = *main_->CustomGameForm();
  struct TCase {
    const char* radio;
    int count;
    QString first, last;
  } cases[] = {
      {"EnglishRB", 26, "A", "Z"},
      {"HebrewRB", 22, QString::fromUtf8("א'"), QString::fromUtf8("ת'")},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.radio);
    form.FromLetterCB()->setCurrentIndex(3);
    form.ToLetterCB()->setCurrentIndex(9);
    WhenLoopRuns([&] {
      Click(Find<QRadioButton>(&form, c.radio));
      Click(Find<TNButton>(&form, "NButton1"));
    });
    main_->CustomGame();
    for (QComboBox* combo : {form.FromLetterCB(), form.ToLetterCB()}) {
      ASSERT_EQ(combo->count(), c.count);
      EXPECT_EQ(combo->itemText(0), c.first);
      EXPECT_EQ(combo->itemText(c.count - 1), c.last);
      EXPECT_EQ(combo->currentIndex(), 0);
    }
  }
  ASSERT_EQ(games_.size(), 2u);
  EXPECT_TRUE(games_[0].english);
  EXPECT_FALSE(games_[1].english);
}

TEST_P(GameDialogsTest, TheLetterRangeNeverRunsBackwards) {
  TCustomGameForm& form = *main_->CustomGameForm();
  struct TCase {
    const char* what;
    int from, to;
    bool pickFirst;  // the first letter is picked (else the last)
    int picked;
    int wantFrom, wantTo;
  } cases[] = {
      {"first after the last moves the last", 2, 5, true, 8, 8, 8},
      {"first before the last keeps it", 2, 5, true, 4, 4, 5},
      {"last before the first moves the first", 6, 9, false, 3, 3, 3},
      {"last after the first keeps it", 6, 9, false, 12, 6, 12},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    form.FromLetterCB()->setCurrentIndex(c.from);
    form.ToLetterCB()->setCurrentIndex(c.to);
    QComboBox* picked = c.pickFirst ? form.FromLetterCB() : form.ToLetterCB();
    picked->setCurrentIndex(c.picked);
    emit picked->activated(c.picked);  // what a pick in the open list sends
    EXPECT_EQ(form.FirstLetter(), c.wantFrom);
    EXPECT_EQ(form.LastLetter(), c.wantTo);
  }
}

TEST_P(GameDialogsTest, TheHelpOnTheUpdateChoiceShowsBothParagraphs) {
  Click(Find<TNButton>(main_->CustomGameForm(), "QuestionMarkBtn"));
  EXPECT_EQ(messages_, QStringList{Text("CustomGameForm.QuestionMark1") + "\n\r" + Text("CustomGameForm.QuestionMark2")});
}

// --- top 10 --------------------------------------------------------------------------------------

TEST_P(GameDialogsTest, TopTenIsFetchedAtEachShowingAndRowsNotReceivedKeepTheirTexts) {
  TTop10Form& form = *main_->Top10Form();
  const auto addScores = [this](int from, int to) {
    server_->WithState([&](dev::TDevProtocol& p) {
      for (int i = from; i <= to; ++i) p.Store().AddScore(QStringLiteral("player%1").arg(i), 1000 - i);
    });
  };
  // Shows the table once, closes it when its fetch is done, and returns the rows shown.
  const auto show = [&] {
    const size_t runs = runner_.runs.size();
    WhenLoopRuns([&] {
      EXPECT_TRUE(PumpEventsUntil([&] { return runner_.runs.size() > runs; }, 5000)) << "no fetch";
      Click(Find<TNButton>(&form, "NButton1"));
    });
    Click(main_->Button("Top10Btn"));
    QStringList rows;
    for (int row = 1; row <= 10; ++row) {
      rows << Find<TTntLabel>(&form, QStringLiteral("NameLbl%1").arg(row))->Caption() + " " +
                  Find<TTntLabel>(&form, QStringLiteral("ScoreLbl%1").arg(row))->Caption();
    }
    return rows;
  };
  struct TCase {
    const char* what;
    int addFrom, addTo;
    bool refused;
    QStringList rows;
  } cases[] = {
      {"four rows fill rows 1-4",
       1,
       4,
       false,
       {"player1 999", "player2 998", "player3 997", "player4 996", "(\?\?\?) 0", "(\?\?\?) 0", "(\?\?\?) 0", "(\?\?\?) 0",
        "(\?\?\?) 0", "(\?\?\?) 0"}},
      {"twelve rows show the first ten",
       5,
       12,
       false,
       {"player1 999", "player2 998", "player3 997", "player4 996", "player5 995", "player6 994", "player7 993",
        "player8 992", "player9 991", "player10 990"}},
      {"a refused fetch keeps what was shown",
       0,
       -1,
       true,
       {"player1 999", "player2 998", "player3 997", "player4 996", "player5 995", "player6 994", "player7 993",
        "player8 992", "player9 991", "player10 990"}},
  };
  int fetches = 0;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    addScores(c.addFrom, c.addTo);
    if (c.refused) Fault("Game.GetTop10", dev::TFaultKind::Http500);
    EXPECT_EQ(show(), c.rows);
    EXPECT_EQ(server_->LogOf("Game.GetTop10").size(), size_t(++fetches));
    EXPECT_EQ(runner_.runs.back().caption, Text("Top10Form.LoadingData"));
    EXPECT_EQ(runner_.exceptions, c.refused ? QStringList{"Failed to get Top10 list"} : QStringList{});
  }
}

// --- result page ---------------------------------------------------------------------------------

TEST_P(GameDialogsTest, TheResultPageListsTheFirstFiveMissedWords) {
  for (qint32 id = 1; id <= 7; ++id) words_[id].Headword = QStringLiteral("word%1").arg(id);
  struct TCase {
    const char* what;
    QList<qint32> missed;
    QStringList shown;
  } cases[] = {
      {"seven missed", {1, 2, 3, 4, 5, 6, 7}, {"word1", "word2", "word3", "word4", "word5"}},
      {"none missed", {}, {"", "", "", "", ""}},
      {"two, one unknown", {7, 99}, {"word7", "", "", "", ""}},
  };
  TEndGameForm& page = *main_->EndGameForm();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TIntegerList missed;
    for (qint32 id : c.missed) missed.Add(id);
    main_->ShowPage(nullptr);
    main_->ShowResult(120, 9, int(c.missed.size()), missed);
    EXPECT_TRUE(main_->MainArea()->isVisible());
    EXPECT_EQ(page.parentWidget(), main_->MainArea());
    EXPECT_TRUE(page.isVisible());
    QStringList shown;
    for (int i = 1; i <= 5; ++i) shown << Find<TTntLabel>(&page, QStringLiteral("WrongLbl%1").arg(i))->Caption();
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(Find<TTntLabel>(&page, "PointsLbl")->Caption(), "120");
    EXPECT_EQ(Find<TTntLabel>(&page, "CorrectLbl")->Caption(), "9");
    EXPECT_EQ(Find<TTntLabel>(&page, "MissedLbl")->Caption(), QString::number(c.missed.size()));
    EXPECT_EQ(Find<TTntLabel>(&page, "WrongLbl1")->font().family(), WinFont(QStringLiteral("David"), 10).family());
  }
}

TEST_P(GameDialogsTest, ASentResultDisablesTheNameForGoodButTheButtonComesBackNextGame) {
  TEndGameForm& page = *main_->EndGameForm();
  EXPECT_EQ(page.NameEdt()->text(), Text("EndGameForm.NameText"));
  TIntegerList none;
  main_->ShowResult(340, 12, 0, none);
  page.NameEdt()->setText(QStringLiteral("Dana"));

  // A refused send leaves both as they were, for another try.
  Fault("Game.SendStats", dev::TFaultKind::Http500, 1);
  Click(page.SendResult());
  EXPECT_TRUE(page.NameEdt()->isEnabled());
  EXPECT_TRUE(page.SendResult()->isVisible());

  Click(page.SendResult());
  EXPECT_EQ(runner_.runs.back().caption, Text("EndGameForm.SendingInfo"));
  EXPECT_FALSE(page.NameEdt()->isEnabled());
  EXPECT_FALSE(page.SendResult()->isVisible());
  std::vector<std::pair<QString, qint32>> scores;
  server_->WithState([&](dev::TDevProtocol& p) { scores = p.Store().TopScores(10); });
  EXPECT_EQ(scores, (std::vector<std::pair<QString, qint32>>{{"Dana", 340}}));

  // Another game, then its result.
  Click(Find<TNButton>(&page, "AnotherGameBtn"));
  EXPECT_EQ(games_.size(), 1u);
  EXPECT_FALSE(page.isVisible()) << "the play screen took the main area";
  main_->ShowResult(10, 1, 0, none);
  EXPECT_TRUE(page.SendResult()->isVisible());
  EXPECT_FALSE(page.NameEdt()->isEnabled());
  EXPECT_EQ(page.NameEdt()->text(), "Dana");

  Click(Find<TNButton>(&page, "ExitBtn"));
  EXPECT_FALSE(main_->MainArea()->isVisible()) << "back to the start screen";
}

// --- send to a friend ----------------------------------------------------------------------------

TEST_P(GameDialogsTest, SendingClosesWithOkAndMailsOnlyAnAddress) {
  TSendToForm& form = *main_->SendToForm();
  const QByteArray base = server_->BaseUrl(dev::TDevServer::MemberName(0));
  form.SetMailLink(base.left(base.indexOf("/app/")) + "/aplication_mail.php");
  struct TCase {
    const char* address;
    bool mailed;
  } cases[] = {{"friend.example.org", false}, {"friend@example.org", true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.address);
    server_->ClearLog();
    WhenLoopRuns([&] {
      form.EmailEdt()->setText(QString::fromLatin1(c.address));
      Click(Find<TNButton>(&form, "NButton2"));
    });
    Click(main_->Button("SendToBtn"));
    EXPECT_EQ(form.ModalResult(), mrOk);
    EXPECT_EQ(runner_.runs.back().caption, Text("SendToForm.SendingMail"));
    const std::vector<dev::TLoggedRequest> mails = server_->LogOf("mail");
    ASSERT_EQ(mails.size(), c.mailed ? 1u : 0u);
    if (!c.mailed) continue;
    EXPECT_EQ(mails[0].arguments->GetUTFString(0), c.address);
    EXPECT_EQ(mails[0].arguments->GetUTFString(1), Text("SendToForm.SubjectCaption"));
    EXPECT_EQ(mails[0].arguments->GetUTFString(2), Text("SendToForm.MsgCaption"));
  }
  WhenLoopRuns([&] { Click(Find<TNButton>(&form, "NButton1")); });
  main_->SendToBtnClick();
  EXPECT_EQ(form.ModalResult(), mrCancel);
}

TEST_P(GameDialogsTest, ThePromptsClearOnTheFirstEntryOnly) {
  TSendToForm& form = *main_->SendToForm();
  EXPECT_EQ(form.MsgMemo()->toPlainText(), Text("SendToForm.MsgCaption"));
  EXPECT_EQ(form.EmailEdt()->text(), "(enter email here)");
  WhenLoopRuns([&] {
    QApplication::setActiveWindow(&form);
    Click(form.EmailEdt());
    EXPECT_EQ(form.EmailEdt()->text(), "");
    QTest::keyClicks(form.EmailEdt(), "a@b.c");
    Click(form.EmailEdt());
    EXPECT_EQ(form.EmailEdt()->text(), "a@b.c") << "a second click keeps the address";

    form.MsgMemo()->setFocus();
    EXPECT_EQ(form.MsgMemo()->toPlainText(), "");
    QTest::keyClicks(form.MsgMemo(), "come and play");
    form.EmailEdt()->setFocus();
    form.MsgMemo()->setFocus();
    EXPECT_EQ(form.MsgMemo()->toPlainText(), "come and play");
    Click(Find<TNButton>(&form, "NButton1"));
  });
  main_->SendToBtnClick();
}

TEST_P(GameDialogsTest, TheMemoReadsRightToLeftFlushRightWithARaggedLeftEdge) {
  TSendToForm& form = *main_->SendToForm();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QWidget* page = form.MsgMemo()->viewport();
  const QImage shot = page->grab().toImage();
  form.hide();
  shot.save(QStringLiteral(ZABKO_BUILD_DIR "/test-shots/send-to-memo.png"));
  // The lines of dark ink, each with its leftmost and rightmost inked column.
  struct TLine {
    int top, left, right;
  };
  std::vector<TLine> lines;
  bool inLine = false;
  for (int y = 0; y < shot.height(); ++y) {
    int left = shot.width(), right = -1;
    for (int x = 0; x < shot.width(); ++x) {
      if (qGray(shot.pixel(x, y)) >= 128) continue;
      left = std::min(left, x);
      right = std::max(right, x);
    }
    if (right < 0) {
      inLine = false;
      continue;
    }
    if (!inLine) lines.push_back({y, left, right});
    inLine = true;
    lines.back().left = std::min(lines.back().left, left);
    lines.back().right = std::max(lines.back().right, right);
  }
  ASSERT_GE(lines.size(), 2u) << "the prompt wraps";
  for (const TLine& line : lines) {
    SCOPED_TRACE(line.top);
    EXPECT_LT(shot.width() - 1 - line.right, 12) << "flush right";
  }
  EXPECT_GT(lines.back().left, 30) << "the last line ends short of the left edge";
}

// --- floating menu -------------------------------------------------------------------------------

TEST_P(GameDialogsTest, MenuWaysOut) {
  TFloatingMenu& menu = *main_->FloatingMenu();
  const QString quit = Text("FloatingMenu.NoPoints") + "\n\r" + Text("FloatingMenu.Quit");
  const QString newGame = Text("FloatingMenu.NewGame");
  enum TCustom { NoCustom, CustomCancelled, CustomOk };
  struct TCase {
    const char* button;  // empty: Esc
    std::vector<bool> answers;
    TCustom custom;
    bool staysOpen, runsOn;
    QStringList questions;
    size_t games;
    int endGames, terminated;
  } cases[] = {
      {"", {}, NoCustom, false, true, {}, 0, 0, 0},
      {"CloseBtn", {false}, NoCustom, true, true, {quit}, 0, 0, 0},
      {"NewGameBtn", {false}, NoCustom, true, true, {newGame}, 0, 0, 0},
      {"NewGameBtn", {true}, NoCustom, false, false, {newGame}, 1, 0, 0},
      {"CustomGameBtn", {true}, CustomCancelled, true, true, {newGame}, 0, 0, 0},
      {"CustomGameBtn", {true}, CustomOk, false, false, {newGame}, 1, 0, 0},
      {"ExitGameBtn", {}, NoCustom, false, false, {}, 0, 1, 0},
      {"CloseBtn", {true}, NoCustom, false, false, {quit}, 0, 0, 1},
  };
  main_->StartGame(1, 4, true, false);
  for (const TCase& c : cases) {
    SCOPED_TRACE(*c.button ? c.button : "Esc");
    answers_ = c.answers;
    questions_.clear();
    games_.clear();
    endGames_ = 0;
    bool stayedOpen = false;
    WhenLoopRuns([&] {
      if (!*c.button) {
        QTest::keyClick(&menu, Qt::Key_Escape);
        return;
      }
      if (c.custom != NoCustom) {
        WhenLoopRuns([&] {
          TCustomGameForm& custom = *main_->CustomGameForm();
          EXPECT_TRUE(custom.InModalLoop()) << "the custom game dialog over the menu";
          Click(Find<TNButton>(&custom, c.custom == CustomOk ? "NButton1" : "NButton2"));
        });
      }
      Click(Find<TNButton>(&menu, c.button));
      stayedOpen = menu.ModalResult() == mrNone;
      if (stayedOpen) QTest::keyClick(&menu, Qt::Key_Escape);
    });
    EXPECT_EQ(main_->ShowMenu(), c.runsOn);
    EXPECT_EQ(stayedOpen, c.staysOpen);
    EXPECT_EQ(questions_, c.questions);
    ASSERT_EQ(games_.size(), c.games);
    if (c.games && c.custom == NoCustom) {
      EXPECT_EQ(games_[0], (TGame{1, 4, true, false})) << "the last settings";
    }
    EXPECT_EQ(endGames_, c.endGames);
    EXPECT_EQ(terminated_, c.terminated);
  }
  EXPECT_FALSE(main_->isVisible()) << "quitting closed the window without asking again";
}

// --- instructions and the look of each window ----------------------------------------------------

TEST_P(GameDialogsTest, InstructionHeadersSitInBoxesThatKeepTheirRightEdge) {
  TInstructionsForm& form = *main_->InstructionsForm();
  for (int n = 1; n <= TInstructionsForm::kSections; ++n) {
    SCOPED_TRACE(n);
    const auto* box = Find<TMyShape>(&form, QStringLiteral("MyShape%1").arg(n));
    const auto* header = Find<TTntLabel>(&form, QStringLiteral("Label%1").arg(2 * n - 1));
    const auto* text = Find<TTntLabel>(&form, QStringLiteral("Label%1").arg(2 * n));
    EXPECT_EQ(header->Caption(), Text(QStringLiteral("InstructionsForm.Header%1").arg(n)));
    EXPECT_EQ(text->Caption(), Text(QStringLiteral("InstructionsForm.Text%1").arg(n)));
    EXPECT_FALSE(header->Caption().isEmpty());
    EXPECT_EQ(box->geometry().right(), form.width() - 17);
    EXPECT_EQ(box->width(), header->width() + 16);
    EXPECT_EQ(header->x(), box->x() + 8);
    EXPECT_EQ(text->x() + text->width(), box->x() - 5);
  }
}

TEST_P(GameDialogsTest, EscClosesEachDialogAsItsCloseOrCancelButtonWould) {
  const std::vector<TModalForm*> dialogs = {main_->InstructionsForm(), main_->Top10Form(), main_->CustomGameForm(),
                                            main_->SendToForm()};
  for (TModalForm* dialog : dialogs) {
    SCOPED_TRACE(dialog->objectName().toStdString());
    WhenLoopRuns([&] { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
  }
  EXPECT_TRUE(games_.empty()) << "a custom game closed by Esc starts nothing";
}

TEST_P(GameDialogsTest, EachWindowIsPaintedAndClippedToItsRoundedShape) {
  const QString folder = QStringLiteral(ZABKO_BUILD_DIR "/test-shots/game-dialogs");
  QDir().mkpath(folder);
  std::vector<QWidget*> windows = {main_->FloatingMenu(), main_->InstructionsForm(), main_->Top10Form(),
                                   main_->CustomGameForm(), main_->SendToForm()};
  for (QWidget* window : windows) {
    SCOPED_TRACE(window->objectName().toStdString());
    const QRegion mask = window->mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0))) << "corners are cut";
    EXPECT_TRUE(mask.contains(QPoint(window->width() / 2, window->height() / 2)));
    EXPECT_TRUE(mask.contains(QPoint(window->width() / 2, window->height() - 1)));
  }
  TIntegerList none;
  main_->ShowResult(0, 0, 0, none);
  windows.push_back(main_->EndGameForm());
  for (QWidget* window : windows) {
    SCOPED_TRACE(window->objectName().toStdString());
    const QImage shot = window->grab().toImage();
    shot.save(folder + "/" + window->objectName() + ".png");
    std::set<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 3) {
      for (int x = 0; x < shot.width(); x += 3) colours.insert(shot.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 40u) << "a blank window";
  }
}

INSTANTIATE_TEST_SUITE_P(InProcess, GameDialogsTest, ::testing::Values(false));

}  // namespace
}  // namespace zabko::test
