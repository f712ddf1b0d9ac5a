#include "ui/message_form.h"

#include "ui/alpha_blend_form.h"
#include "ui/flow_windows.h"
#include "net/zabkolex_flow.h"
#include "ui/n_manager.h"
#include "ui/n_base.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"
#include "ui/zabko_progress_form.h"

#include "dialog_fixture.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace zabko {
namespace {

using test::WhenLoopRuns;

class MessageFormTest : public ::testing::Test, public test::TDialogFixture {
 protected:
  MessageFormTest() {
    box.LinkOpener = [this](const QString& link) {
      opened << link;
      return true;
    };
  }
  QList<TTntLabel*> TextLabels() const {
    return box.Bkg()->findChildren<TTntLabel*>(QString(), Qt::FindDirectChildrenOnly);
  }
  static void Click(QWidget* control) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(control->window()));
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, 5));
  }

  // Presses Key where a keyboard sends it once the box is the active window: its focused
  // widget, or the box itself when none has the focus. False when the box never got active.
  bool PressKey(Qt::Key key) {
    const bool active = QTest::qWaitForWindowActive(&box);
    EXPECT_TRUE(active) << "the box is not the active window";
    if (!active) return false;
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == &box ? focus : static_cast<QWidget*>(&box), key);
    return true;
  }

  // A white main window, shown and active: the window a box's overlay covers.
  void ShowMain() {
    main.setAutoFillBackground(true);
    QPalette palette = main.palette();
    palette.setColor(QPalette::Window, Qt::white);
    main.setPalette(palette);
    main.resize(400, 300);
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
  }

  QWidget main;
  TMessageForm box{&manager, strings};
  QStringList opened;
};

TEST_F(MessageFormTest, EachButtonSetShowsItsButtonsAndAnswers) {
  struct Case {
    const char* name;
    int buttons;
    QStringList links;
    const char* yes;  // caption of the yes button, nullptr when hidden
    int yesSpriteX;
    int yesLeft;
    const char* no;  // caption of the no button, nullptr when hidden
    bool download;
    const char* click;  // the button pressed
    bool answer;
    QStringList opens;
  };
  // In the 448-wide box the no button stands at 8 and the yes button at 96, or at 8 when alone.
  const Case cases[] = {
      {"OK", kButtonOK, {}, "OK", 81, 8, nullptr, false, "YesBtn", true, {}},
      {"OK again, still at the no button's place", kButtonOK, {}, "OK", 81, 8, nullptr, false, "YesBtn", true, {}},
      {"yes and no, yes chosen", kButtonYes | kButtonNo, {}, "Yes", 81, 96, "No", false, "YesBtn", true, {}},
      {"yes and no, no chosen", kButtonYes | kButtonNo, {}, "Yes", 81, 96, "No", false, "NoBtn", false, {}},
      {"OK and cancel", kButtonOK | kButtonCancel, {}, "OK", 81, 96, "Cancel", false, "NoBtn", false, {}},
      {"continue with its own sprite", kButtonContinue | kButtonCancel, {}, "Continue", 162, 96, "Cancel", false, "YesBtn", true, {}},
      {"continue and cancel, cancelled", kButtonContinue | kButtonCancel, {}, "Continue", 162, 96, "Cancel", false, "NoBtn", false, {}},
      {"download opens link 0 and answers no", kButtonOK | kButtonDownload, {"https://example.com/new", "https://x"}, "OK", 81, 8,
       nullptr, true, "DownloadBtn", false, {"https://example.com/new"}},
      {"download without a link opens nothing", kButtonOK | kButtonDownload, {}, "OK", 81, 8, nullptr, true, "DownloadBtn", false, {}},
      {"no alone", kButtonNo, {}, nullptr, 81, 8, "No", false, "NoBtn", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    opened.clear();
    bool checked = false;
    WhenLoopRuns([&] {
      EXPECT_EQ(box.YesBtn()->isVisible(), c.yes != nullptr);
      if (c.yes) {
        EXPECT_EQ(box.YesBtn()->Caption(), c.yes);
        EXPECT_EQ(box.YesBtn()->X(), c.yesSpriteX);
        EXPECT_EQ(box.YesBtn()->x(), c.yesLeft);
      }
      EXPECT_EQ(box.NoBtn()->isVisible(), c.no != nullptr);
      if (c.no) {
        EXPECT_EQ(box.NoBtn()->Caption(), c.no);
        EXPECT_EQ(box.NoBtn()->x(), 8);
      }
      EXPECT_EQ(box.DownloadBtn()->isVisible(), c.download);
      checked = true;
      Click(FindComponent<QWidget>(&box, c.click));
    });
    EXPECT_EQ(box.ShowMessageBox("Caption", "Some text", c.buttons, c.links), c.answer);
    EXPECT_TRUE(checked);
    EXPECT_EQ(box.windowTitle(), "Caption");
    EXPECT_EQ(opened, c.opens);
    EXPECT_FALSE(box.isVisible());
  }
  EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(MessageFormTest, ClosingTheBoxAnswersNo) {
  WhenLoopRuns([&] { box.close(); });
  EXPECT_FALSE(box.AskYesNo("Leave?", "Really leave?", kButtonYes | kButtonNo));
  WhenLoopRuns([&] { Click(box.YesBtn()); });
  EXPECT_TRUE(box.AskYesNo("Leave?", "Really leave?", kButtonYes | kButtonNo));
}

// Keys as a keyboard sends them: to the box's focused widget (or the box when none has the
// focus), once the box is the active window. A key that answers nothing leaves the box open,
// and the test then closes it with a click on its yes button.
TEST_F(MessageFormTest, ReturnAndEscapeAnswerAsOnEveryDesktopAndNoKeyDownloads) {
  struct Case {
    const char* name;
    int buttons;
    Qt::Key key;
    bool answered;  // the key closed the box
    bool answer;
  };
  const Case cases[] = {
      {"Return on yes and no", kButtonYes | kButtonNo, Qt::Key_Return, true, true},
      {"Enter of the keypad", kButtonYes | kButtonNo, Qt::Key_Enter, true, true},
      {"Escape on yes and no", kButtonYes | kButtonNo, Qt::Key_Escape, true, false},
      {"Return on OK", kButtonOK, Qt::Key_Return, true, true},
      {"Escape on OK alone closes it with OK", kButtonOK, Qt::Key_Escape, true, true},
      {"Escape on continue and cancel", kButtonContinue | kButtonCancel, Qt::Key_Escape, true, false},
      {"Return on no alone", kButtonNo, Qt::Key_Return, false, true},
      {"Escape on no alone", kButtonNo, Qt::Key_Escape, true, false},
      {"a letter answers nothing", kButtonYes | kButtonNo, Qt::Key_Y, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool stillOpen = false;
    WhenLoopRuns([&] {
      if (PressKey(c.key)) stillOpen = box.InModalLoop() && box.ModalResult() == mrNone;
      if (box.InModalLoop() && box.ModalResult() == mrNone) box.SetModalResult(mrOk);
    });
    EXPECT_EQ(box.ShowMessageBox("Caption", "Some text", c.buttons, {}), c.answer);
    EXPECT_EQ(stillOpen, !c.answered);
  }

  // The download button is never pressed by a key: Return takes OK, Escape too (no no button).
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    opened.clear();
    WhenLoopRuns([&] {
      PressKey(key);
      if (box.InModalLoop() && box.ModalResult() == mrNone) box.SetModalResult(mrCancel);
    });
    EXPECT_TRUE(box.ShowMessageBox("Caption", "Some text", kButtonOK | kButtonDownload, {"https://example.com/new"}));
    EXPECT_TRUE(opened.isEmpty());
  }
  EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(MessageFormTest, TheBoxGrowsUntilItsTextFitsAndTheGrowthEnds) {
  const auto words = [](int count) {
    QStringList list;
    for (int i = 0; i < count; ++i) list << "abcdefghi";
    return list.join(' ');
  };
  const auto lines = [](int count) {
    QStringList list;
    for (int i = 0; i < count; ++i) list << "line";
    return "~" + list.join("~\\n~") + "~";
  };
  struct Case {
    const char* name;
    QString text;
    QSize client;
    int firstTop;  // the first label's top once centred
    int lineRuns;   // labels reading "line" (-1: not counted)
  };
  // Lines are 22 high and start at 20; a line that starts before 65 is placed, so three fit.
  // The offscreen screen is 800 wide: with the frame's room and the mark, 650 is the widest text.
  ASSERT_EQ(box.screen()->availableGeometry().width(), 800);
  const Case cases[] = {
      {"one line keeps the width", "Short text", {448, 107}, 21, -1},
      {"nine words fit three lines of 320", words(9), {448, 107}, 0, -1},
      {"twelve words need 500", words(12), {598, 107}, 0, -1},
      {"thirteen words need 650", words(13), {748, 107}, 0, -1},
      {"twenty words stop at the screen's width and grow down", words(20), {748, 147}, 9, -1},
      {"five forced lines gain nothing from widening: they grow down", lines(5), {448, 107 + 60}, 8, 5},
      // 21 lines start above 465; the rest is cut off.
      {"far too many lines stop at the tallest box", lines(500), {448, 107 + TMessageForm::kMaxExtraHeight}, 2, 21},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    box.Prepare("Caption", c.text);
    EXPECT_EQ(box.size(), c.client);
    ASSERT_FALSE(TextLabels().isEmpty());
    EXPECT_EQ(TextLabels().first()->y(), c.firstTop);
    if (c.lineRuns >= 0) {
      int runs = 0;
      for (TTntLabel* label : TextLabels()) runs += label->text() == "line";
      EXPECT_EQ(runs, c.lineRuns);
    }
    for (TTntLabel* label : TextLabels()) EXPECT_LE(label->geometry().right(), box.Bkg()->width());
    // The mark stands at the right, the background fills the rest; the buttons follow the height.
    EXPECT_EQ(box.Mark()->geometry(), QRect(c.client.width() - 98, 0, 98, c.client.height()));
    EXPECT_EQ(box.Bkg()->geometry(), QRect(0, 0, c.client.width() - 98, c.client.height()));
    EXPECT_EQ(box.YesBtn()->y(), c.client.height() - 40);
  }
}

TEST_F(MessageFormTest, LinksOpenTheirNumberedEntryOnlyAndTheBoxStaysOpen) {
  const QString text = "~See ~[,,16646144]<0>zero~ or ~[,,16646144]<1>one~ or ~[,,16646144]<7>seven~";
  WhenLoopRuns([&] {
    QList<TLinkLabel2*> links;
    for (TTntLabel* label : TextLabels())
      if (auto* link = qobject_cast<TLinkLabel2*>(label)) links << link;
    ASSERT_EQ(links.size(), 3);
    for (TLinkLabel2* link : links) Click(link);
    EXPECT_TRUE(box.isVisible()) << "a link keeps the box open";
    Click(box.YesBtn());
  });
  box.ShowMessageWithLinks("Links", text, {"https://zero.example", "https://one.example"});
  EXPECT_EQ(opened, (QStringList{"https://zero.example", "https://one.example"}));

  // A question carries no links from an earlier box.
  opened.clear();
  WhenLoopRuns([&] {
    for (TTntLabel* label : TextLabels())
      if (qobject_cast<TLinkLabel2*>(label)) Click(label);
    Click(box.YesBtn());
  });
  EXPECT_TRUE(box.AskYesNo("Question", text, kButtonYes | kButtonNo));
  EXPECT_TRUE(opened.isEmpty());
}

TEST_F(MessageFormTest, LeftToRightPutsTheMarkLeftAndTheButtonsRight) {
  box.ApplyLeftToRight();
  WhenLoopRuns([&] {
    EXPECT_EQ(box.width(), 448);
    EXPECT_EQ(box.Mark()->x(), 0);
    EXPECT_EQ(box.Bkg()->geometry(), QRect(98, 0, 350, 107));
    EXPECT_EQ(box.NoBtn()->x(), 448 - 81 - 8);
    EXPECT_EQ(box.YesBtn()->x(), 448 - 81 - 96);
    const QRect download = box.DownloadBtn()->geometry();
    EXPECT_FALSE(download.intersects(box.YesBtn()->geometry()));
    EXPECT_GE(download.left(), 98) << "beside the mark";
    ASSERT_FALSE(TextLabels().isEmpty());
    EXPECT_EQ(TextLabels().first()->x(), 0) << "the text starts at the left";
    Click(box.NoBtn());
  });
  EXPECT_FALSE(box.ShowMessageBox("Caption", "Text", kButtonYes | kButtonNo | kButtonDownload, {}));
  WhenLoopRuns([&] {
    EXPECT_EQ(box.YesBtn()->x(), 448 - 81 - 8) << "alone at the no button's place";
    Click(box.YesBtn());
  });
  EXPECT_TRUE(box.ShowMessageBox("Caption", "Text", kButtonOK, {}));
}

TEST_F(MessageFormTest, TheOverlayCoversItsWindowWhileTheBoxIsUp) {
  ShowMain();

  QPointer<TAlphaBlendForm> overlay;
  WhenLoopRuns([&] {
    overlay = box.Overlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->Covered(), &main);
    EXPECT_EQ(overlay->geometry(), main.rect());
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_EQ(overlay->Color(), 0x808080);
    EXPECT_EQ(overlay->LayerAlpha(), 127);
    // White under grey at 127/255.
    const QColor shown = main.grab().toImage().pixelColor(200, 150);
    EXPECT_NEAR(shown.red(), 191, 2);
    EXPECT_NEAR(shown.green(), 191, 2);
    // The cover follows its window.
    main.resize(500, 320);
    EXPECT_EQ(overlay->geometry(), QRect(0, 0, 500, 320));
    Click(box.YesBtn());
  });
  EXPECT_TRUE(box.AskYesNo("Caption", "Text", kButtonOK));
  EXPECT_TRUE(overlay.isNull()) << "the cover goes with the box";
  EXPECT_EQ(main.findChildren<TAlphaBlendForm*>().size(), 0);
  EXPECT_EQ(main.grab().toImage().pixelColor(200, 150), QColor(Qt::white));
}

TEST_F(MessageFormTest, AMessageDuringAJobHidesTheProgressWindowAndBringsItBack) {
  ShowMain();
  TZabkoProgressForm progress(&manager, &main);
  box.SetProgressForm(&progress);

  int runs = 0;
  bool progressHidden = false, progressBack = false;
  QWidget* covered = nullptr;
  const bool completed = progress.RunJob(3, "Working", [&](IProgress& sender) {
    ++runs;
    sender.Step();
    WhenLoopRuns([&] {
      progressHidden = !progress.isVisible();
      if (box.Overlay()) covered = box.Overlay()->Covered();
      Click(box.YesBtn());
    });
    box.ShowMessageWithLinks("Note", "Half way", {});
    progressBack = progress.isVisible();
    sender.Step();
  });
  EXPECT_TRUE(completed);
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(progressHidden);
  EXPECT_TRUE(progressBack);
  EXPECT_EQ(covered, &main) << "the window the hidden progress window belongs to";
}

TEST_F(MessageFormTest, ABoxWhoseTextFailsLeavesTheProgressWindowAsItWas) {
  ShowMain();
  TZabkoProgressForm progress(&manager, &main);
  box.SetProgressForm(&progress);
  // A job with a box, then the window has closed.
  progress.RunJob(1, "Working", [&](IProgress&) {
    WhenLoopRuns([&] { Click(box.YesBtn()); });
    box.ShowMessageWithLinks("Note", "Half way", {});
  });
  ASSERT_FALSE(progress.isVisible());
  // Markup from the server that does not parse fails before anything is hidden.
  EXPECT_THROW(box.ShowMessageWithLinks("Bad", "~[Arial", {}), Exception);
  EXPECT_FALSE(progress.isVisible()) << "no progress window without a job";
}

// The windows over the demo skin, saved under the build folder for a person to look at.
TEST_F(MessageFormTest, ABoxAskedForWhileOneIsOpenShowsOverItAndBothAnswer) {
  ShowMain();
  TZabkoProgressForm progress(&manager, &main);
  box.SetProgressForm(&progress);

  bool innerAnswer = true, outerStillUp = false, progressBack = false;
  QString outerText;
  const bool completed = progress.RunJob(2, "Working", [&](IProgress&) {
    WhenLoopRuns([&] {
      WhenLoopRuns([&] {
        auto* inner = qobject_cast<TMessageForm*>(QApplication::activeModalWidget());
        ASSERT_NE(inner, nullptr);
        ASSERT_NE(inner, &box);
        Click(inner->NoBtn());
      });
      innerAnswer = box.AskYesNo("Error", "Inner", kButtonYes | kButtonNo);
      outerStillUp = box.isVisible() && box.InModalLoop();
      outerText = TextLabels().first()->text();
      Click(box.YesBtn());
    });
    EXPECT_TRUE(box.AskYesNo("Question", "Outer", kButtonYes | kButtonNo));
    progressBack = progress.isVisible();
  });
  EXPECT_TRUE(completed);
  EXPECT_FALSE(innerAnswer);
  EXPECT_TRUE(outerStillUp);
  EXPECT_EQ(outerText, "Outer") << "the open box keeps its own text";
  EXPECT_TRUE(progressBack) << "the progress window comes back after the outer box";
}

TEST_F(MessageFormTest, TheFlowGetsTheWindowsWiredTogether) {
  ShowMain();
  TFlowWindows windows(&manager, strings, &main);
  windows.Messages().LinkOpener = [](const QString&) { return true; };
  TFlowServices services;
  windows.FillServices(services);
  ASSERT_EQ(services.progress, &windows.Progress());
  ASSERT_EQ(services.download, &windows.Download());
  bool progressHidden = false;
  EXPECT_TRUE(services.progress->RunJob(1, "Working", [&](IProgress&) {
    WhenLoopRuns([&] {
      progressHidden = !windows.Progress().isVisible();
      Click(windows.Messages().YesBtn());
    });
    services.messages->ShowMessageWithLinks("Note", "Text", {});
  }));
  EXPECT_TRUE(progressHidden) << "the box hides the flow's progress window";
}

TEST(DialogsOverDemoSkinTest, BuildAndPaint) {
  TNManager manager;
  manager.SetFilename(QDir(ZABKO_DATA_OUT).filePath("Data.res"));
  TZabkolexStrings strings;
  strings.LoadLanguage(0);
  TCanvasTextMeasure measure(QFont("Liberation Sans"));
  SetMeasureCanvas(&measure);
  TMessageForm box(&manager, strings);
  TZabkoProgressForm progress(&manager);
  QImage shot;
  WhenLoopRuns([&] {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    shot = box.grab().toImage();
    box.close();
  });
  box.AskYesNo(strings.GetString("ConfirmCaption"), strings.GetString("DoYouWantToExit"), kButtonYes | kButtonNo);
  SetMeasureCanvas(nullptr);
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.size(), box.size());
  const QString path = QDir(ZABKO_BUILD_DIR).filePath("message_box_sample.png");
  EXPECT_TRUE(shot.save(path)) << path.toStdString();
}

TEST(AlphaBlendFormTest, AlphaIsAPercentOfOpacity) {
  QWidget covered;
  covered.resize(50, 40);
  struct Case {
    int percent, stored, layer;
  };
  // 0 turns the translucency off: the cover is opaque.
  for (const Case& c : {Case{50, 50, 127}, Case{60, 60, 153}, Case{100, 100, 255}, Case{0, 0, 255}, Case{150, 100, 255},
                        Case{-5, 0, 255}}) {
    TAlphaBlendForm* cover = CreateDimmer(0xF1CC4B, c.percent, true, &covered);
    ASSERT_NE(cover, nullptr);
    EXPECT_EQ(cover->Alpha(), c.stored) << c.percent;
    EXPECT_EQ(cover->LayerAlpha(), c.layer) << c.percent;
    EXPECT_EQ(cover->geometry(), covered.rect());
    EXPECT_FALSE(cover->isVisible()) << "a hidden window is not covered visibly";
    delete cover;
  }
  EXPECT_EQ(CreateDimmer(0x808080, 50, true, nullptr), nullptr);
}

}  // namespace
}  // namespace zabko
