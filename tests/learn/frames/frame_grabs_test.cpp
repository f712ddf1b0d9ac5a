// Grabs of every frame with the demo skin, the Hebrew texts and the Qt measure, saved under
// build/frames for a person to look at; each grab is checked to be painted.
#include "learn/frames/follow_frame.h"
#include "learn/frames/footer_frame.h"
#include "learn/frames/header_frame.h"
#include "learn/frames/hot_words_frame.h"
#include "learn/frames/letter_frame.h"
#include "learn/frames/search_frame.h"
#include "learn/frames/word_frame.h"

#include "core/data_packet.h"
#include "core/language_pack.h"
#include "core/word.h"
#include "ui/anchors.h"
#include "ui/component.h"

#include "tests/learn/frame_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QComboBox>
#include <QLineEdit>

namespace zabko::test {
namespace {

class FrameGrabsTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    central_->Strings().LoadLanguage(0);
    SetMeasureCanvas(&canvas);
  }
  // Shows the widget, lets it paint, saves it and checks it is not one flat colour.
  void Grab(QWidget& widget, const QString& name) {
    widget.show();
    QApplication::processEvents();
    const QImage image = widget.grab().toImage();
    bool painted = false;
    for (int y = 0; y < image.height() && !painted; y += 3)
      for (int x = 0; x < image.width() && !painted; x += 3) painted = image.pixel(x, y) != image.pixel(0, 0);
    EXPECT_TRUE(painted) << name.toStdString();
    EXPECT_TRUE(SaveFrameGrab(widget, name)) << name.toStdString();
    // Run on a real X server ("-platform xcb"), the screen with the window as shown there.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
      QElapsedTimer shown;
      shown.start();
      while (shown.elapsed() < 400) QApplication::processEvents(QEventLoop::AllEvents, 50);
      const QString folder = QDir(ZABKO_BUILD_DIR).filePath("frames");
      QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(folder).filePath("x_" + name + ".png"));
    }
  }
  void LetterCounts(TLanguagePack& pack) {
    for (int i = 0; i < pack.AlphabetSize(); ++i) {
      pack.SetCount(i, 0, 10 + i % 4);
      pack.SetCount(i, 1, i < 6 ? 4 : 0);
      pack.SetCount(i, 2, i < 4 ? 6 : 0);
    }
  }

  TCanvasTextMeasure canvas{QApplication::font()};
};

TEST_F(FrameGrabsTest, Bars) {
  THeaderFrm header(nullptr, &manager);
  header.ApplyAppType();
  header.SetLogo();
  header.LoadCaptions();
  Grab(header, "header");
  THeaderFrm mirrored(nullptr, &manager);
  mirrored.ApplyAppType();
  mirrored.SetLogo();
  central_->Strings().LoadLanguage(1);
  mirrored.LoadCaptions();
  mirrored.ApplyLeftToRight();
  Grab(mirrored, "header_mirrored");
  central_->Strings().LoadLanguage(0);

  TFotterFrm footer(nullptr, &manager);
  footer.ApplyAppType();
  footer.SetLogo();
  footer.LoadCaptions();
  Grab(footer, "footer");
}

TEST_F(FrameGrabsTest, LettersBar) {
  for (const bool leftToRight : {false, true}) {
    if (leftToRight) central_->Strings().LoadLanguage(1);
    TLetterFrm frame(nullptr, &manager, &host);
    frame.SetupPanels();
    frame.ShowInfoButton();
    frame.SetupLetters();
    if (leftToRight) frame.ApplyLeftToRight();
    frame.LoadCaptions();
    LetterCounts(*central_->LanguagePacks()[0]);
    LetterCounts(*central_->LanguagePacks()[1]);
    central_->LanguagePacks()[0]->RefreshCounts(-1);
    Grab(frame, leftToRight ? "letters_mirrored" : "letters_hebrew");
    if (leftToRight) break;
    // English in a narrow window: two rows.
    frame.SwitchBtnClick();
    central_->CurrentLanguageId = 1;
    central_->LanguagePacks()[1]->ClickLetter(2);
    frame.resize(700, 53);
    ApplyAnchors(&frame);
    Grab(frame, "letters_english_narrow");
    // A new frame makes the packs again.
    central_->CurrentLanguageId = 0;
    frame.hide();
  }
  central_->Strings().LoadLanguage(0);
}

TEST_F(FrameGrabsTest, WordRows) {
  LoadPacks();
  TWord& word = *central_->LanguagePacks()[0]->WordList().GetWord(0);
  word.SetMeanings("father; dad; daddy");
  TWordFrm small(nullptr, &manager);
  small.SetWord(&word);
  Grab(small, "word_small");
  TWordFrm marked(nullptr, &manager);
  marked.SetWord(&word);
  marked.SetMarked(true);
  Grab(marked, "word_marked");
  TWordFrm large(nullptr, &manager);
  large.resize(1000, 150);
  large.SetWord(&word);
  Grab(large, "word_large");
  TWord longWord;
  longWord.Headword = QString::fromUtf8("אבא אמא סבא סבתא דוד דודה בן דוד");
  longWord.SetMeanings("the whole family, from the parents to the cousins, as one long translation of many words");
  TWordFrm twoLines(nullptr, &manager);
  twoLines.SetWord(&longWord);
  Grab(twoLines, "word_two_lines");
}

TEST_F(FrameGrabsTest, SidePanels) {
  LoadPacks();
  QWidget searchPanel;
  searchPanel.resize(186, 228);
  TSearchFrm search(&searchPanel, &manager, &host);
  search.Setup(800);
  search.FillPacks();
  search.LoadCaptions();
  central_->LanguagePacks()[0]->WordList().GetWord(1)->SetMeanings("house; home; a building where people live");
  search.ShowPack(kHebrew);
  search.CurrentBox()->setEditText(central_->LanguagePacks()[0]->WordList().GetWord(1)->SearchText);
  Grab(searchPanel, "search");

  QWidget hotPanel;
  hotPanel.resize(186, 149);
  THotWordsFrm hot(&hotPanel, &manager, &host);
  hot.Init();
  hot.LoadCaptions();
  TDataPacket packet;
  packet.AddNewPacket()->AddInteger(1234000);
  packet.GetPacket(0)->AddInteger(567);
  TDataPacket* hebrewIds = packet.AddNewPacket();
  for (int i = 0; i < 3; ++i) hebrewIds->AddInteger(central_->LanguagePacks()[0]->WordList().GetWord(i)->Id);
  packet.AddNewPacket();
  hot.SetPacket(packet);
  hot.PackChanged();
  Grab(hotPanel, "hot_words");

  TLanguagePack& hebrew = *central_->LanguagePacks()[0];
  LetterCounts(hebrew);
  for (const bool mirrored : {false, true}) {
    for (const bool dates : {true, false}) {
      central_->Settings().WriteBool("Main", "NoDatesYet", dates);
      central_->Strings().LoadLanguage(0);
      QWidget followPanel;
      followPanel.resize(186, 195);
      TFollowFrm follow(&followPanel, &manager, &host);
      if (mirrored) {
        // The Hebrew captions stand for the layout's own, whose sizes the mirroring uses.
        central_->Strings().LoadLanguage(0);
        follow.LoadCaptions();
        follow.ApplyLeftToRight();
        central_->Strings().LoadLanguage(1);
      }
      follow.LoadCaptions();
      clock_.now = std::floor(clock_.now);
      follow.SetStartDate(clock_.now - 30);
      central_->Settings().WriteDateTime("Main", "Start", clock_.now - 30);
      follow.Init();
      Grab(followPanel, QString("follow_") + (dates ? "dates" : "summary") + (mirrored ? "_mirrored" : ""));
    }
  }
  central_->Strings().LoadLanguage(0);
}

}  // namespace
}  // namespace zabko::test
