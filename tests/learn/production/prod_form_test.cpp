// The production view against the stand-in server in process: the summary of the options, the
// word choice sent for each knowledge choice, a list handed over by the word summary, server
// failures, the settings it keeps, and each producer run from its button. Grabs of the summary
// and the three panels are left under build/frames.
#include "learn/production/prod_form.h"

#include "learn/views/options_form.h"
#include "learn/views/view_host.h"
#include "platform/gui/printer_canvas.h"
#include "platform/registry_ini_file.h"
#include "ui/component.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"

#include "tests/learn/frame_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

namespace zabko {
namespace {

class TFakeViewHost : public IViewHost {
 public:
  explicit TFakeViewHost(test::TFakeFrameHost& frames) : frames_(frames) {}
  void FocusCurrentView() override {}
  void SelectLanguagePack(int) override {}
  void RefreshView() override {}
  bool LeaveViewForSwitch() override { return true; }
  bool CanChangeLetter(TLanguagePack&, ILetterButton*) override { return true; }
  void LetterChosen(TLanguagePack&, ILetterButton*) override {}
  void ShowWords(const QString&, const TWordItemList&) override {}
  void ShowStringList(const QString&, const TWordItemList&) override {}
  void StackLeftPanel(QWidget*) override {}
  IProgressRunner& ProgressRunner() override { return frames_.ProgressRunner(); }
  IMessageService& MessageService() override { return frames_.MessageService(); }
  IFlowClock& FlowClock() override { return frames_.FlowClock(); }
  TZabkolexFlow& Flow() override { return frames_.Flow(); }
  void AddAnswer(qint32, quint8, const TDataPacket*) override {}
  void MoveWord(TWord&, int, int) override {}
  bool ConfirmLeaveTest() override { return true; }
  void ShowConnectionError() override { ++connectionErrors; }
  bool IsLeftToRight() const override { return false; }
  void ClearLetter() override { letter = -1; }
  void SelectLetter(int index) override { letter = index; }
  int SelectedLetter() const override { return letter; }
  void AddWordsOfLetters(TWordItemList&, int, int, bool) override {}
  void BuildSubjectList(TSubjectItemList& list, int, int) override { list = {{ViewText("OptionsForm.AllSubject"), -2}}; }
  void BuildSubjectListOfSubject(qint32, TSubjectItemList& list, int, int) override {
    list = {{ViewText("OptionsForm.AllSubject"), -2}};
  }
  void SetComboDropWidth(QComboBox*, int) override {}

  int connectionErrors = 0;
  int letter = -1;

 private:
  test::TFakeFrameHost& frames_;
};

class ProdFormTest : public test::FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    StartAndLogOn();
    central_->CurrentLanguageId = 1;  // English words: apple, book, cat
    manager.SetFilename(test::DemoSkin());
    WriteSounds();
  }
  // The sound databases: the silences and every English sound in the first, as marker texts.
  void WriteSounds() {
    const QStringList names = central_->AudioResourceNames();
    for (int i = 0; i < names.size(); ++i) {
      TResDBWriter db;
      if (i == 0) {
        for (const char* silence : {"ShortSilence", "InterWordSilence", "LongSilence"}) db.AddData(silence, "<s>");
        for (const auto& w : central_->CurrentWordList()->Words()) {
          db.AddData(QString::fromLatin1(w->MainSound.Name), "[" + w->MainSound.Name + "]");
          for (const TWordFile& e : w->ExtraSounds) db.AddData(QString::fromLatin1(e.Name), "[" + e.Name + "]");
        }
      }
      const QString path = DataPath(names[i]);
      QDir().mkpath(QFileInfo(path).path());
      db.SaveToFile(path);
    }
    central_->BuildAudioResources();
  }
  void TearDown() override {
    form_.reset();
    options_.reset();
    FrameTest::TearDown();
  }
  // Writes the production options of the English pack, then makes the view.
  void MakeForm(int know = 1) {
    TRegistryIniFile& s = central_->Settings();
    s.WriteInteger("Prod\\20", "Know", know);
    s.WriteInteger("Prod\\20", "Order", 1);
    s.WriteInteger("Prod\\20", "Range", 2);
    options_ = std::make_unique<TOptionsForm>(nullptr, viewHost_, &manager);
    options_->LoadCaptions();
    form_ = std::make_unique<TProdForm>(nullptr, viewHost_, &manager, options_.get());
    form_->LoadCaptions();
    form_->BrowseFolder = [this](QWidget*, const QString& title, QString& path) {
      browsed << title;
      path = dir_.path() + "/picked";
      return true;
    };
    form_->show();
    form_->ShowIntro();
  }
  template <typename T>
  T* Find(const char* name) const {
    return FindComponent<T>(form_.get(), QString::fromLatin1(name));
  }
  QStringList Files(const QString& folder) const {
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
  }
  int FilterRequests() const { return static_cast<int>(Requests("GetFilterList").size()); }

  TFakeViewHost viewHost_{host};
  std::unique_ptr<TOptionsForm> options_;
  std::unique_ptr<TProdForm> form_;
  QStringList browsed;
};

TEST_F(ProdFormTest, KnowledgeChoicesSendTheirWordChoice) {
  // 1 "all the words" sends 2, 2 sends 1, 3 "only words I don't know" sends 0.
  const std::pair<int, int> cases[] = {{1, 2}, {2, 1}, {3, 0}};
  for (const auto& [know, choice] : cases) {
    SCOPED_TRACE(know);
    MakeForm(know);
    form_->ShowMp3Panel();
    messages_.answers = {false};  // cancel at the confirmation
    server_->ClearLog();
    form_->Mp3BtnClick();
    const auto requests = Requests("GetFilterList");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].arguments->GetByte(2), choice);
    EXPECT_EQ(requests[0].arguments->GetInteger(0), kEnglish);
    ASSERT_FALSE(messages_.questions.empty());
    EXPECT_EQ(messages_.questions.back().text, TWStr::Format(ViewText("OutputMp3Action"), {3}));
    EXPECT_EQ(messages_.questions.back().flags, kButtonOK | kButtonCancel);
    form_.reset();
  }
}

TEST_F(ProdFormTest, SummaryTellsTheChoiceAndEachPanelShowsAlone) {
  MakeForm(3);
  form_->ShowCdPanel();
  EXPECT_FALSE(form_->IntroShowing());
  EXPECT_EQ(Find<TTntLabel>("LetterLbl")->Caption(), ViewText("ProdForm.AllLettersCaption"));
  EXPECT_EQ(Find<TTntLabel>("SortLbl")->Caption(), ViewText("ProdForm.AlphaBetOrder"));
  EXPECT_EQ(Find<TTntLabel>("SivugLbl")->Caption(), ViewText("ProdForm.AllSubject"));
  EXPECT_EQ(Find<TTntLabel>("KnowledgeLbl")->Caption(), ViewText("OptionsForm.K3Lbl.Caption"));
  const struct {
    void (TProdForm::*show)();
    const char* panel;
    const char* grab;
  } panels[] = {{&TProdForm::ShowPrintPanel, "PrintPnl", "prod_print"},
                {&TProdForm::ShowMp3Panel, "Mp3PlayerPnl", "prod_mp3"},
                {&TProdForm::ShowCdPanel, "CDPnl", "prod_cd"}};
  for (const auto& p : panels) {
    (form_.get()->*p.show)();
    for (const char* other : {"PrintPnl", "Mp3PlayerPnl", "CDPnl"}) {
      EXPECT_EQ(Find<QWidget>(other)->isVisible(), QByteArray(other) == p.panel) << p.panel << " / " << other;
    }
    EXPECT_FALSE(Find<QWidget>("ExpLbl")->isVisible());
    EXPECT_TRUE(test::SaveFrameGrab(*form_, p.grab));
  }
  form_->BackToPrefBtnClick();
  EXPECT_TRUE(form_->IntroShowing());
  EXPECT_TRUE(test::SaveFrameGrab(*form_, "prod_intro"));

  // The English interface reads left to right: the form mirrors itself, panels and all.
  const int backLeft = Find<QWidget>("BackToPrefBtn")->x();
  const int printLeft = Find<QWidget>("PrintBtn")->x();
  form_->ApplyLeftToRight();
  form_->LoadCaptions();
  form_->ShowPrintPanel();
  EXPECT_EQ(Find<QWidget>("BackToPrefBtn")->x(), form_->width() - backLeft - Find<QWidget>("BackToPrefBtn")->width());
  EXPECT_EQ(Find<QWidget>("PrintBtn")->x(), 536 - printLeft - Find<QWidget>("PrintBtn")->width());
  EXPECT_FALSE(Find<QWidget>("NoHebrewCB")->isVisible());
  EXPECT_TRUE(test::SaveFrameGrab(*form_, "prod_print_ltr"));
  // The docked options page has labels of the same names; they keep their own texts.
  EXPECT_EQ(FindComponent<TTntLabel>(options_.get(), "Label13")->Caption(), ViewText("OptionsForm.Label13.Caption"));
  form_->ShowCdPanel();
  QWidget* cdPanel = Find<QWidget>("CDPnl");
  const auto* folderLabel = FindComponent<TTntLabel>(cdPanel, "Label13");
  EXPECT_EQ(folderLabel->Caption(), ViewText("ProdForm.Label13.Caption"));
  EXPECT_TRUE(folderLabel->isVisible());
  EXPECT_EQ(Find<QWidget>("ExportPath2Edt")->x(), folderLabel->x() + folderLabel->width());
  EXPECT_GE(folderLabel->x(), 0);
  EXPECT_TRUE(test::SaveFrameGrab(*form_, "prod_cd_ltr"));
}

TEST_F(ProdFormTest, AHandedOverListIsNotFetchedSkipsUnknownIdsAndKeepsItsOrder) {
  MakeForm();
  const TWordList& words = *central_->CurrentWordList();
  const QString cat = QString::number(words.FindByText("cat")->Id);
  const QString apple = QString::number(words.FindByText("apple")->Id);
  options_->ProdWords = {cat, "99999", "x", apple};
  options_->ProdTitle = "Hot words";
  form_->ShowSpecialList();
  EXPECT_FALSE(Find<QWidget>("SummaryPnl")->isVisible());
  EXPECT_EQ(Find<TTntLabel>("SpecialListCaption")->Caption(), TWStr::Format(ViewText("ProdForm.SpecialListCaption"), {"Hot words"}));
  EXPECT_FALSE(form_->SortBySubject());
  form_->ShowCdPanel();
  // The tracks go to the test's own folder, never to the default one in the home folder.
  Find<QLineEdit>("ExportPath2Edt")->setText(dir_.path() + "/cd");
  server_->ClearLog();
  form_->CdBtnClick();
  EXPECT_EQ(FilterRequests(), 0);
  ASSERT_FALSE(messages_.questions.empty());
  EXPECT_EQ(messages_.questions[0].text, TWStr::Format(ViewText("OutputDiscAction"), {2}));
  const QStringList tracks = QDir(dir_.path() + "/cd").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  ASSERT_EQ(tracks.size(), 1);
  EXPECT_TRUE(QFile::exists(dir_.path() + "/cd/" + tracks[0] + "/Track 01.mp3"));
}

TEST_F(ProdFormTest, AServerFailureOrNoWordsProducesNothing) {
  MakeForm();
  form_->ShowMp3Panel();
  Find<QLineEdit>("ExportPathEdt")->setText(dir_.path() + "/mp3");
  // A transport failure: the connection error.
  Fault("", "GetFilterList", dev::TFaultKind::Http500);
  form_->Mp3BtnClick();
  EXPECT_EQ(viewHost_.connectionErrors, 1);
  // An error status fails the fetch job, which reports it: nothing more is said or done.
  server_->ClearFaults();
  Fault("", "GetFilterList", dev::TFaultKind::ErrorStatus);
  form_->Mp3BtnClick();
  EXPECT_EQ(runner_.exceptions.back(), "Server-side error (ERR-UNKNOWN)");
  EXPECT_EQ(viewHost_.connectionErrors, 1);
  EXPECT_TRUE(messages_.questions.empty());
  EXPECT_TRUE(messages_.boxes.empty());
  EXPECT_FALSE(QDir(dir_.path() + "/mp3").exists());

  // A letter without words: the no-words box under the production's caption.
  server_->ClearFaults();
  central_->Settings().WriteInteger("Prod\\20", "Range", 0);
  central_->Settings().WriteInteger("Prod\\20", "Unit", 25);
  form_->ShowMp3Panel();
  form_->Mp3BtnClick();
  ASSERT_FALSE(messages_.boxes.empty());
  EXPECT_EQ(messages_.boxes.back().caption, ViewText("OutputMp3Caption"));
  EXPECT_EQ(messages_.boxes.back().text, ViewText("OutputMp3NoWords"));
  EXPECT_TRUE(messages_.questions.empty());
}

TEST_F(ProdFormTest, CreateMp3WritesTheDatedFolderAndCreateCdItsTracks) {
  MakeForm();
  form_->ShowMp3Panel();
  Find<QLineEdit>("ExportPathEdt")->setText(dir_.path() + "/mp3");
  form_->Mp3BtnClick();
  const QString dated = dir_.path() + "/mp3/10-12-2026";
  const QStringList mp3 = Files(dated);
  ASSERT_EQ(mp3.size(), 5) << mp3.join(", ").toStdString();
  EXPECT_EQ(mp3[0], "0001 - apple - m.mp3");
  const TWord& apple = *central_->CurrentWordList()->FindByText("apple");
  QFile file(dated + "/" + mp3[0]);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "[" + apple.MainSound.Name + "]<s>[" + apple.ExtraSounds.at(0).Name + "]<s>");
  ASSERT_FALSE(messages_.boxes.empty());
  EXPECT_EQ(messages_.boxes.back().text, ViewText("SucessfulOutput"));

  form_->ShowCdPanel();
  Find<QLineEdit>("ExportPath2Edt")->setText(dir_.path() + "/cd");
  Find<QComboBox>("TracksByCombo")->setCurrentIndex(1);
  form_->CdBtnClick();
  EXPECT_EQ(Files(dir_.path() + "/cd/10-12-2026"), QStringList{"Track 01.mp3"});
}

TEST_F(ProdFormTest, PrintChecksTheRightSpaceFirstAndPrintsTheChosenLayout) {
  MakeForm();
  form_->ShowPrintPanel();
  QLineEdit* space = Find<QLineEdit>("RightSpaceEdt");
  const std::size_t runs = runner_.runs.size();
  for (const char* bad : {"", "51", "-1", "1x"}) {
    space->setText(bad);
    EXPECT_EQ(test::MessageOf([&] { form_->PrintBtnClick(); }), QString("'%1' is not a valid integer value").arg(bad));
  }
  EXPECT_EQ(FilterRequests(), 0);
  EXPECT_EQ(runner_.runs.size(), runs);
  // Typing lets only digits in.
  space->clear();
  QTest::keyClicks(space, "1a2");
  EXPECT_EQ(space->text(), "12");

  const QString pdf = QDir(ZABKO_BUILD_DIR).filePath("test_output/printing/prod_form.pdf");
  QDir().mkpath(QFileInfo(pdf).path());
  QFile::remove(pdf);
  form_->MakePrinterCanvas = [&] { return TQtPrinterCanvas::ToPdf(pdf, 150); };
  form_->Cards8RBClick(Find<TNButton>("PageSeperateRB"));
  form_->PrintBtnClick();
  EXPECT_TRUE(QFile::exists(pdf));
  EXPECT_TRUE(Find<TNButton>("PageSeperateRB")->Down());
  EXPECT_FALSE(Find<TNButton>("Cards8RB")->Down());
}

TEST_F(ProdFormTest, SettingsMissingOrEmptyAndWrittenBackWhenTheViewGoes) {
  TRegistryIniFile& s = central_->Settings();
  s.WriteWideString("Prod", "Mp3ExportPath", "");
  s.WriteInteger("Prod", "TracksBy", 9);
  s.WriteInteger("Prod", "PrintKind", 7);
  MakeForm();
  EXPECT_EQ(Find<QLineEdit>("ExportPathEdt")->text(), "");
  EXPECT_EQ(Find<QLineEdit>("ExportPath2Edt")->text(), QDir::homePath() + "/Zabkolex/Audio/CD");
  EXPECT_EQ(Find<QComboBox>("TracksByCombo")->currentIndex(), 5);
  EXPECT_TRUE(Find<TNButton>("PageSeperateRB")->Down());
  EXPECT_EQ(Find<QLineEdit>("RightSpaceEdt")->text(), "0");

  form_->ShowMp3Panel();
  form_->DirSearchBtnClick();
  EXPECT_EQ(browsed, QStringList{ViewText("ProdForm.ChooseDirectory")});
  Find<QCheckBox>("CreateSubDirCB")->setChecked(true);
  Find<QLineEdit>("ExportPath2Edt")->setText(QString::fromUtf8("/tmp/קול"));
  form_->Cards8RBClick(Find<TNButton>("Cards4RB"));
  form_.reset();
  EXPECT_EQ(s.ReadInteger("Prod", "PrintKind", 0), 2);
  EXPECT_EQ(ReadWideSetting(s, "Prod", "Mp3ExportPath", "default"), dir_.path() + "/picked");
  EXPECT_EQ(ReadWideSetting(s, "Prod", "CDExportPath", "default"), QString::fromUtf8("/tmp/קול"));
  EXPECT_EQ(ReadWideSetting(s, "Prod", "Missing", "default"), "default");
  EXPECT_TRUE(s.ReadBool("Prod", "Mp3CreateSubDir", false));
  EXPECT_EQ(s.ReadInteger("Prod", "TracksBy", -1), 5);
}

}  // namespace
}  // namespace zabko
