#include "platform/exception.h"
#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/n_base.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace zabko {
namespace {

QString DataRes() { return QDir(ZABKO_DATA_OUT).filePath("Data.res"); }

// Every bitmap the learning program's windows name, in the size the windows cut from it: a
// button W x H with its sprite columns is (columns x W) x 3H, a three-slice button's row 3S.
TEST(DemoSkinTest, HoldsEverySkinBitmapInItsGeometry) {
  struct Case {
    const char* name;
    int width, height;
  };
  const Case cases[] = {
      {"main\\logo.bmp", 142, 57},          {"Main\\HeadBtns.bmp", 450, 129},
      {"Main\\ExitHelpBtns.bmp", 185, 87},  {"main\\fotterLogo.bmp", 73, 57},
      {"main\\fotterDots.bmp", 12, 57},     {"main\\FotterTile.bmp", 8, 57},
      {"Main\\ProdPrefBtn.bmp", 105, 105},  {"Main\\ProdBtn.bmp", 332, 105},
      {"Main\\SendBtns.bmp", 104, 78},      {"main\\searchCaption.bmp", 186, 24},
      {"main\\FollowHeader.bmp", 184, 24},  {"Main\\FCollapseExpand.bmp", 100, 72},
      {"main\\BlueBkg.bmp", 24, 24},        {"Main\\SearchBtn.bmp", 26, 78},
      {"Follow\\Smiles.bmp", 67, 189},      {"Main\\GamesBtn2.bmp", 184, 165},
      {"Main\\SingleLetter2.bmp", 24, 90},  {"Main\\SingleLetterShort.bmp", 24, 78},
      {"Main\\InfoBtn.bmp", 27, 99},        {"main\\scoreBox.bmp", 129, 49},
      {"Main\\SwitchBtn.bmp", 48, 96},      {"Main\\Switch3Btn.bmp", 72, 96},
      {"sinun\\sinun_bt.bmp", 21, 69},      {"tirgul\\Speakers.bmp", 29, 63},
      {"tirgul\\FinishBtn.bmp", 30, 57},    {"tirgul\\OrngBtns.bmp", 90, 78},
      {"tirgul\\radio_bt_gary_blue.bmp", 26, 39}, {"tirgul\\radio_bt.bmp", 26, 39},
      {"tirgul\\summary_bg.bmp", 414, 94},  {"tirgul\\answer_bg.bmp", 369, 42},
      {"prod\\back_btn.bmp", 30, 78},       {"prod\\prod_btns.bmp", 90, 105},
      {"prod\\search_btn.bmp", 18, 66},
      {"sinun\\SinunBtns.bmp", 60, 78},     {"sinun\\NextPrevBtns.bmp", 34, 102},
      {"sinun\\OpenImage.bmp", 120, 120},   {"tirgul\\TestImg.bmp", 48, 48},
      {"tirgul\\ExamImg.bmp", 48, 48},      {"prod\\ProdImg.bmp", 48, 48},
      {"prod\\PrintImg.bmp", 48, 48},
      {"Splash.bmp", 550, 400},             {"Login\\LoginBtns.bmp", 180, 90},
      {"Login\\small_exit.bmp", 20, 60},    {"Progress\\Bkg.bmp", 471, 99},
      {"Popup\\Background.bmp", 32, 32},    {"Popup\\Mark.bmp", 98, 300},
      {"Popup\\PopupBtns.bmp", 288, 96},    {"cards_print.bmp", 438, 556},
      {"Splash\\ZabkolexLogo.bmp", 48, 48}, {"Welcome\\Image3.bmp", 150, 130},
      {"Main\\HintBubble.bmp", 24, 24},
  };
  TNManager manager;
  manager.SetFilename(DataRes());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TNImageDrawer* drawer = manager.Drawer(manager.GetDrawer(c.name));
    ASSERT_NE(drawer, nullptr);
    EXPECT_EQ(drawer->Width(), c.width);
    EXPECT_EQ(drawer->Height(), c.height);
  }
}

TEST(DemoSkinTest, AMissingDatabaseFailsWhenNamedAndAMissingBitmapWhenAsked) {
  TNManager manager;
  EXPECT_THROW(manager.SetFilename(QDir(ZABKO_DATA_OUT).filePath("NoSuch.res")), Exception);
  manager.SetFilename(DataRes());
  try {
    manager.GetDrawer("Main\\NoSuchButton.bmp");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "File not found in DB: Main\\NoSuchButton.bmp");
  }
  EXPECT_EQ(manager.DrawerCount(), 0);
}

// A panel in the program's look, saved as skin_sample.png in the build folder for a person to
// look at: a header with its logo and three-slice buttons, a side panel with title bar, frame and
// search button, letter buttons and message-box buttons, laid out right to left.
TEST(DemoSkinTest, SamplePanelPaintsAndIsSaved) {
  TNManager manager;
  manager.SetFilename(DataRes());
  QWidget form;
  form.resize(640, 330);
  SetBackgroundColor(&form, 0xF3ECD9);
  form.setAutoFillBackground(true);
  form.setLayoutDirection(Qt::RightToLeft);

  TFormLoading loading(&form);
  const auto sheet = [&](const char* name) {
    auto* component = new TNBitmapComponent(&form);
    component->SetManager(&manager);
    component->SetFilename(name);
    return component;
  };
  const auto button = [&](TNBitmapComponent* cmp, QRect geometry, int x, int size, const QString& caption) {
    auto* b = new TNButton(&form);
    b->setGeometry(geometry);
    b->SetManager(&manager);
    b->SetBitmapComponent(cmp);
    b->SetX(x);
    b->SetSize(size);
    b->SetCaption(caption);
    b->setFont(WinFont("Arial", 8, -15, TFontStyle::Bold));
    SetFontColor(b, 0xFFFFFF);
    return b;
  };
  auto* header = new TNStatic(&form);
  header->setGeometry(0, 0, 640, 60);
  header->SetColor(0xFAF7F0);
  auto* logo = new TNStatic(header);
  logo->setGeometry(490, 1, 142, 57);
  logo->SetManager(&manager);
  logo->SetBackgroundName("main\\logo.bmp");
  TNBitmapComponent* heads = sheet("Main\\HeadBtns.bmp");
  const char* captions[] = {"מיון", "תרגול", "מבחן"};  // filter, practice, exam
  for (int i = 0; i < 3; ++i) {
    TNButton* b = button(heads, QRect(300 - 150 * i, 10, 140, 43), 300 - 150 * i, 50, QString::fromUtf8(captions[i]));
    b->SetAlignment(TAlignment::RightJustify);
    b->SetDeltaX(-20);
    b->SetCanBeDown(true);
  }

  auto* title = new TNStatic(&form);
  title->setGeometry(444, 74, 186, 24);
  title->SetManager(&manager);
  title->SetBackgroundName("main\\searchCaption.bmp");
  auto* caption = new TTntLabel(title);
  caption->SetCaption(QString::fromUtf8("חיפוש מילה"));
  caption->setFont(WinFont("Arial", 8, -15, TFontStyle::Bold));
  SetFontColor(caption, 0xFFFFFF);
  caption->move(186 - 38 - caption->width(), 3);
  button(sheet("Main\\FCollapseExpand.bmp"), QRect(159, 0, 25, 24), 25, 0, QString())->setParent(title);
  auto* frame = new TNFrameStatic(&form);
  frame->setGeometry(444, 98, 186, 120);
  frame->SetManager(&manager);
  frame->SetBackgroundName("main\\BlueBkg.bmp");
  frame->SetSize(8);
  frame->SetColor(15985881);
  button(sheet("Main\\SearchBtn.bmp"), QRect(11, 7, 26, 26), 0, 0, QString())->setParent(frame);

  TNBitmapComponent* letters = sheet("Main\\SingleLetter2.bmp");
  const QString alphabet = QString::fromUtf8("אבגדהוזחטיכלמנסעפצקרשת");
  for (int i = 0; i < 12; ++i) {
    TNButton* b = button(letters, QRect(400 - 28 * (i + 1), 90, 26, 30), 0, 8, alphabet.mid(i, 1));
    SetFontColor(b, 0x72501B);
  }
  auto* score = new TNStatic(&form);
  score->setGeometry(16, 84, 129, 49);
  score->SetManager(&manager);
  score->SetBackgroundName("main\\scoreBox.bmp");

  TNBitmapComponent* popup = sheet("Popup\\PopupBtns.bmp");
  button(popup, QRect(16, 270, 81, 32), 0, 27, QString::fromUtf8("לא"));
  button(popup, QRect(104, 270, 81, 32), 81, 27, QString::fromUtf8("כן"));
  button(popup, QRect(192, 270, 81, 32), 162, 27, QString::fromUtf8("המשך"));
  TNButton* down = button(sheet("tirgul\\OrngBtns.bmp"), QRect(290, 270, 90, 26), 0, 15, QString::fromUtf8("יודע"));
  down->SetDown(true);
  auto* faces = new TNStatic(&form);
  faces->setGeometry(16, 150, 67, 63);
  faces->SetManager(&manager);
  faces->SetBackgroundName("Follow\\Smiles.bmp");
  loading.Finish();

  const QImage image = form.grab().toImage();
  // The frame's edge is painted from the skin, its centre shows the frame's own colour.
  EXPECT_NE(image.pixelColor(444 + 1, 98 + 60), image.pixelColor(444 + 93, 98 + 60));
  EXPECT_EQ(image.pixelColor(444 + 93, 98 + 60), QColor(0xD9, 0xEC, 0xF3));
  const QString path = QDir(ZABKO_BUILD_DIR).filePath("skin_sample.png");
  EXPECT_TRUE(image.save(path)) << path.toStdString();
}

}  // namespace
}  // namespace zabko
