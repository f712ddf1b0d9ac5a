// The splash's loading steps and texts, the welcome page, the extra-info card and the help
// window.
#include "learn/start/extra_info_form.h"
#include "learn/start/help_form.h"
#include "learn/start/splash_form.h"
#include "learn/start/welcom_form.h"
#include "platform/shell.h"
#include "ui/my_shape.h"
#include "ui/n_base.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"
#include "tests/common/test_util.h"
#include "tests/ui/dialog_fixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zabko {
namespace {

class SmallFormsTest : public testing::Test, public test::TDialogFixture {
 protected:
  SmallFormsTest() {
    source->Add("Splash.bmp", test::CodedImage(550, 400, 5));
    source->Add("Splash\\ZabkolexLogo.bmp", test::CodedImage(48, 48, 6));
    source->Add("Welcome\\Image3.bmp", test::CodedImage(150, 130, 7));
  }
  QString Text(const char* key) const { return strings.GetString(key); }
};

TEST_F(SmallFormsTest, SplashRunsFourStepsWithTheirLinesThenClosesWithOk) {
  TSplashForm splash(&manager, strings, false);
  splash.LoadTimer()->setInterval(1);
  std::vector<std::pair<int, QString>> seen;
  splash.StepCallback = [&](int step) {
    seen.emplace_back(step, splash.LoadLbl()->Caption());
    // A tick while step 1 is busy neither repeats it nor starts step 2.
    if (step == 1) splash.LoadTimerTimer();
  };
  splash.ShowPoweredBy();
  EXPECT_EQ(splash.ShowModal(), mrOk);

  const std::vector<std::pair<int, QString>> expected{{0, Text("SplashLoadLine2")},
                                                      {1, Text("SplashLoadLine5")},
                                                      {2, Text("SplashLoadLine3")},
                                                      {3, Text("SplashLoadLine4")}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(FindComponent<TTntLabel>(&splash, "BuildNumberLbl")->Caption(), "[build 204p]");
  EXPECT_EQ(FindComponent<TTntLabel>(&splash, "Label3")->Caption(), Text("SplashAllRights"));
  EXPECT_EQ(FindComponent<TTntLabel>(&splash, "ZabkolexPowerBy")->Caption(), Text("PoweredByLine"));
  EXPECT_FALSE(FindComponent<QWidget>(&splash, "QELLogo")->isVisibleTo(&splash));

  // The version text: version, number and type as one run, starting at the top of its band.
  QStringList texts;
  int top = 1000;
  for (TTntLabel* label : splash.SplashBkg()->findChildren<TTntLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (label->objectName().isEmpty()) {
      texts << label->Caption();
      top = qMin(top, label->y());
    }
  }
  EXPECT_TRUE(texts.contains(Text("SplashTextVersion") + "2.3" + Text("VersionType"))) << texts.join("|").toStdString();
  EXPECT_GE(top, 103);
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(SmallFormsTest, RaisingStepClosesTheSplashWithoutOkAndIsNotCounted) {
  TSplashForm splash(&manager, strings, true);
  splash.LoadTimer()->setInterval(1);
  std::vector<int> steps;
  splash.StepCallback = [&](int step) {
    steps.push_back(step);
    if (step == 1) throw Exception("no language files");
  };
  EXPECT_EQ(splash.ShowModal(), mrCancel);
  EXPECT_EQ(steps, (std::vector<int>{0, 1}));
  EXPECT_EQ(splash.Step(), 1);
  EXPECT_FALSE(splash.LoadTimer()->isActive());
  EXPECT_EQ(errors, QStringList{"no language files"});
}

TEST_F(SmallFormsTest, LogoClickOpensTheHomePage) {
  QTemporaryDir dir;
  const QString recorder = dir.filePath("opener");
  const QString output = dir.filePath("opened.txt");
  QFile script(recorder);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  // Written aside and renamed, so that the file never shows before its text.
  script.write(("#!/bin/sh\necho \"$1\" > " + output + ".part && mv " + output + ".part " + output + "\n").toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QString saved = DocumentOpener();
  SetDocumentOpener(recorder);
  TSplashForm splash(&manager, strings, false);
  splash.ShowPoweredBy();
  emit FindComponent<TNStatic>(&splash, "ZabkolexLogo")->OnClick();
  EXPECT_TRUE(test::PumpEventsUntil([&] { return QFile::exists(output); }, 5000));
  SetDocumentOpener(saved);
  QFile opened(output);
  ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(opened.readAll()).trimmed(), Text("HomepageURL"));
}

TEST_F(SmallFormsTest, WelcomePageLaysOutItsTextOnceAndMirrors) {
  TWelcomForm welcome(&manager, strings);
  welcome.ShowOpenPage(false);
  EXPECT_FALSE(welcome.MyShape1()->isVisibleTo(&welcome));
  const qsizetype labels = welcome.TextLabels().size();
  ASSERT_GT(labels, 3);
  QStringList texts;
  for (QWidget* w : welcome.TextLabels()) {
    auto* label = qobject_cast<TTntLabel*>(w);
    ASSERT_NE(label, nullptr);
    texts << label->Caption();
    EXPECT_GE(label->x(), 10);
    EXPECT_LE(label->x() + label->width(), welcome.width() - 11);
  }
  EXPECT_TRUE(texts.join(" ").contains("Welcome to Zabkolex"));
  welcome.ShowOpenPage(false);
  EXPECT_EQ(welcome.TextLabels().size(), labels);

  int cleared = 0;
  welcome.ClearLetterHandler = [&] { ++cleared; };
  welcome.ClearLetter();
  EXPECT_EQ(cleared, 1);

  const QRect image = welcome.Image3()->geometry();
  welcome.ApplyLeftToRight();
  EXPECT_EQ(welcome.Image3()->x(), 578 - image.x() - image.width());
  EXPECT_EQ(welcome.layoutDirection(), Qt::LeftToRight);
}

TEST_F(SmallFormsTest, ExtraInfoClickSendsNineAndLargeLayoutChangesBothFonts) {
  TExtraInfoForm form;
  std::vector<int> codes;
  form.Event = [&](int code) { codes.push_back(code); };
  form.show();
  QTest::mouseClick(form.Label1(), Qt::LeftButton);
  QTest::mouseClick(form.Label2(), Qt::LeftButton);
  EXPECT_EQ(codes, std::vector<int>{TExtraInfoForm::kPlayExample});

  const int before1 = form.Label1()->font().pixelSize();
  form.ApplyLargeLayout(false);
  EXPECT_EQ(form.Label1()->font().pixelSize(), before1);
  form.ApplyLargeLayout(true);
  // 17 points become 21 and 13: 28 and 17 pixels.
  EXPECT_EQ(form.Label1()->font().pixelSize(), 28);
  EXPECT_EQ(form.Label2()->font().pixelSize(), 17);
}

TEST_F(SmallFormsTest, HelpShowsTheHelpFileOrFailsWithoutIt) {
  THelpForm help;
  help.HelpFolder = ZABKO_DATA_OUT;
  help.FormShow();
  EXPECT_TRUE(help.RichEdit()->toPlainText().contains("Zabkolex - Help"));
  EXPECT_TRUE(help.RichEdit()->isReadOnly());

  QTemporaryDir empty;
  help.HelpFolder = empty.path();
  EXPECT_EQ(test::MessageOf([&] { help.FormShow(); }), "Cannot open file \"" + empty.path() + "/Data.hlp\"");
}

}  // namespace
}  // namespace zabko
