#include "learn/start/extra_info_form.h"
#include "learn/views/filter_form.h"
#include "learn/views/options_form.h"
#include "learn/views/sub_test_form.h"
#include "learn/views/tick_clock.h"
#include "learn/frames/word_frame.h"
#include "learn/views/word_summary.h"
#include "net/answer_report.h"
#include "platform/registry_ini_file.h"
#include "ui/component.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"

#include "tests/learn/view_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace zabko::test {
namespace {

TNButton* Button(QWidget* form, const char* name) { return FindComponent<TNButton>(form, name); }
QString Caption(QWidget* form, const char* name) { return FindComponent<TTntLabel>(form, name)->Caption(); }

// ---- Known-words sorter ----

class FilterFormTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    form = std::make_unique<TFilterForm>(nullptr, view, &manager);
    form->show();
  }
  void TearDown() override {
    form.reset();
    ViewTest::TearDown();
  }
  int VisibleRows() const {
    int n = 0;
    for (int i = 0; i < kSorterRows; ++i) n += form->Row(i)->isVisible() ? 1 : 0;
    return n;
  }
  std::unique_ptr<TFilterForm> form;
};

TEST_F(FilterFormTest, PagesMarksAndFlushes) {
  form->ShowLetter(kLetterD);
  EXPECT_EQ(Caption(form.get(), "LocationLbl"), "page 1 of 3");
  EXPECT_EQ(VisibleRows(), 8);
  EXPECT_EQ(Button(form.get(), "PrevBtn")->Y(), kPageButtonDisabledY);
  EXPECT_EQ(Button(form.get(), "NextBtn")->Y(), kPageButtonEnabledY);

  TWordFrm* first = form->Row(0);
  TWordFrm* second = form->Row(1);
  form->MarkClicked(first);
  form->MarkClicked(second);
  form->MarkClicked(second);  // set and cleared before the flush: one entry, kind 4
  EXPECT_TRUE(first->Word()->Known);
  EXPECT_TRUE(first->ShowExplanation());
  EXPECT_TRUE(view.answers.empty()) << "nothing is reported before the page changes";
  form->NextBtnClick();
  EXPECT_EQ(Caption(form.get(), "LocationLbl"), "page 2 of 3");
  ASSERT_EQ(view.answers.size(), 2u);
  EXPECT_EQ(central_->AnswerHolder().Count(), 2);
  form->NextBtnClick();
  EXPECT_EQ(VisibleRows(), 1) << "17 words: the last page shows one row";
  form->NextBtnClick();
  EXPECT_EQ(Caption(form.get(), "LocationLbl"), "page 3 of 3");
  SaveFrameGrab(*form, "filter_form_last_page");
}

TEST_F(FilterFormTest, FlushKindsFollowTheMarkAtFlushTime) {
  form->ShowLetter(kLetterD);
  TWord* a = form->Row(0)->Word();
  TWord* b = form->Row(1)->Word();
  form->MarkClicked(form->Row(0));
  form->MarkClicked(form->Row(1));
  form->MarkClicked(form->Row(1));
  form->FlushChanges();
  std::map<qint32, quint8> kinds(view.answers.begin(), view.answers.end());
  EXPECT_EQ(kinds[a->Id], 3);
  EXPECT_EQ(kinds[b->Id], 4);
  // Ids in the text order of their decimals.
  EXPECT_EQ(QByteArray::number(view.answers[0].first) < QByteArray::number(view.answers[1].first), true);
}

TEST_F(FilterFormTest, MarkAllAlsoShowsTranslationsAndSecondPressUnmarks) {
  form->ShowLetter(kLetterD);
  form->MarkAllBtnClick();
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(form->Row(i)->Marked());
    EXPECT_TRUE(form->Row(i)->ShowExplanation());
  }
  EXPECT_TRUE(Button(form.get(), "ShowAllBtn")->Down());
  form->MarkAllBtnClick();
  for (int i = 0; i < 8; ++i) {
    EXPECT_FALSE(form->Row(i)->Marked());
    EXPECT_TRUE(form->Row(i)->ShowExplanation()) << "translations stay shown";
  }
}

TEST_F(FilterFormTest, ContinueLaterSummaryAndTheSavedPage) {
  // Leaving before any letter never writes a page.
  form->ShowOpenPage();
  form->SavePage();
  EXPECT_FALSE(central_->Settings().SectionExists("Filter"));

  form->ShowLetter(kLetterD);
  form->MarkClicked(form->Row(0));
  form->NextBtnClick();
  form->NextBtnClick();
  form->MarkClicked(form->Row(0));
  form->ContinueLaterBtnClick();
  EXPECT_EQ(central_->Settings().ReadInteger("Filter", "L20_3", -1), 2);
  EXPECT_EQ(Caption(form.get(), "SumLbl"), "Letter 'D': 2 words removed (out of 17)");
  EXPECT_EQ(central_->AnswerHolder().Count(), 2);
  form->ShowFilterBtnClick();
  EXPECT_EQ(VisibleRows(), 2);
  EXPECT_FALSE(FindComponent<QScrollBar>(form.get(), "Scrool")->isEnabled()) << "8 or fewer marked words";
  SaveFrameGrab(*form, "filter_form_summary");

  // A new visit of the letter opens on the saved page with both words still marked.
  form->DoneBtnClick();
  EXPECT_TRUE(form->OnOpenPage());
  form->ShowLetter(kLetterD);
  EXPECT_EQ(Caption(form.get(), "LocationLbl"), "page 3 of 3");
  EXPECT_TRUE(form->Row(0)->Marked());
  form->ShowOpenPage();
  form->SavePage();
  EXPECT_EQ(central_->Settings().ReadInteger("Filter", "L20_3", -1), 2);
}

TEST_F(FilterFormTest, EmptyLetterAndLeftToRight) {
  form->ShowLetter(25);  // z has no words
  EXPECT_EQ(Caption(form.get(), "LocationLbl"), "page 1 of 0");
  EXPECT_EQ(VisibleRows(), 0);
  EXPECT_FALSE(Button(form.get(), "PrevBtn")->isEnabled());
  EXPECT_FALSE(Button(form.get(), "NextBtn")->isEnabled());

  view.leftToRight = true;
  TFilterForm ltr(nullptr, view, &manager);
  ltr.ApplyLeftToRight();
  ltr.show();
  ltr.ShowLetter(kLetterD);
  // The right-hand button (PrevBtn) now goes forward.
  EXPECT_TRUE(Button(&ltr, "PrevBtn")->isEnabled());
  EXPECT_FALSE(Button(&ltr, "NextBtn")->isEnabled());
  ltr.PrevBtnClick();
  EXPECT_EQ(Caption(&ltr, "LocationLbl"), "page 1 of 3");
  emit Button(&ltr, "PrevBtn")->OnClick();
  EXPECT_EQ(Caption(&ltr, "LocationLbl"), "page 2 of 3");
  SaveFrameGrab(ltr, "filter_form_page");
}

// Docked into a view larger than its design (the main window sets the form's geometry while it
// is hidden, then shows it), the eight rows share the page's new height: separators
// (600 - 32 - 50) / 8 = 64.75 apart, the last one 50 above the bottom. In summary mode the
// rows stand one separator lower and reach near the bottom.
TEST_F(FilterFormTest, RowsFillThePageOfTheViewItIsDockedInto) {
  form->ShowLetter(kLetterD);
  form->hide();
  QWidget view820;
  view820.resize(820, 600);
  view820.show();
  form->setParent(&view820);
  form->setGeometry(view820.rect());
  form->show();
  const auto top = [&](const char* name) { return FindComponent<QWidget>(form.get(), name)->y(); };
  const auto rowPanel = [&](int i) { return form->Row(i)->parentWidget(); };
  EXPECT_EQ(top("Shape1"), 32);
  EXPECT_EQ(top("Shape2"), 32 + 65);  // round(64.75)
  EXPECT_EQ(top("Shape9"), 600 - 50);
  EXPECT_EQ(rowPanel(7)->y(), top("Shape8") + 1);
  EXPECT_EQ(rowPanel(7)->height(), 63);  // round(64.75 - 2)
  EXPECT_EQ(rowPanel(0)->width(), 820 - rowPanel(0)->x());
  EXPECT_EQ(form->Row(0)->height(), 63) << "the word row fills its panel";
  const QWidget* location = FindComponent<QWidget>(form.get(), "LocationLbl");
  EXPECT_EQ(location->x(), (820 - location->width()) / 2);

  form->MarkClicked(form->Row(0));
  form->ContinueLaterBtnClick();
  form->ShowFilterBtnClick();
  ASSERT_TRUE(form->Row(0)->isVisible());
  EXPECT_EQ(rowPanel(7)->y(), top("Shape9") + 1);
  EXPECT_GT(rowPanel(7)->y() + rowPanel(7)->height(), 600 * 9 / 10) << "the summary's rows use the page's height";

  form->hide();
  form->setParent(nullptr);
}

// ---- Options page ----

class OptionsFormTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    form = std::make_unique<TOptionsForm>(nullptr, view, &manager);
    form->LoadCaptions();
    form->show();
  }
  void TearDown() override {
    form.reset();
    ViewTest::TearDown();
  }
  std::unique_ptr<TOptionsForm> form;
};

TEST_F(OptionsFormTest, FreshSetupAndSections) {
  int done = 0;
  form->Setup(kModeExam, false, [&] { ++done; });
  EXPECT_EQ(FindComponent<QLineEdit>(form.get(), "CountEdt")->text(), "10");
  EXPECT_EQ(FindComponent<QComboBox>(form.get(), "TimeCB")->currentText(), "20");
  EXPECT_TRUE(Button(form.get(), "AllLtrRB")->Down());
  EXPECT_TRUE(Button(form.get(), "NoOrderRB")->Down());
  EXPECT_TRUE(Button(form.get(), "NormalQuestionBtn")->Down());
  EXPECT_TRUE(FindComponent<QWidget>(form.get(), "TimePnl")->isVisible());
  EXPECT_EQ(form->GetFromLetter(), 0);
  EXPECT_EQ(form->GetToLetter(), 25);
  SaveFrameGrab(*form, "options_form_exam");

  FindComponent<QLineEdit>(form.get(), "CountEdt")->setText("3");
  form->DoneBtnClick();
  EXPECT_EQ(done, 0);
  ASSERT_EQ(view.messages.boxes.size(), 1u);
  EXPECT_EQ(view.messages.boxes[0].second, "Please choose between 5 and 200 questions.");
  FindComponent<QLineEdit>(form.get(), "CountEdt")->setText("12");
  form->DoneBtnClick();
  EXPECT_EQ(done, 1);
  EXPECT_EQ(central_->Settings().ReadInteger("Exam\\20", "QCount", 0), 12);
  EXPECT_EQ(central_->Settings().ReadInteger("Exam\\20", "LanguageId", 0), 20);
  EXPECT_FALSE(central_->Settings().ValueExists("Test\\20", "QCount"));

  form->Setup(kModeTest, false, {});
  EXPECT_FALSE(FindComponent<QWidget>(form.get(), "TimePnl")->isVisible());
  EXPECT_EQ(FindComponent<QLineEdit>(form.get(), "CountEdt")->text(), "10") << "practice keeps its own section";

  TOptionsForm ltr(nullptr, view, &manager);
  ltr.LoadCaptions();
  ltr.ApplyLeftToRight();
  ltr.show();
  ltr.Setup(kModeExam, false, {});
  SaveFrameGrab(ltr, "options_form_exam_ltr");
}

TEST_F(OptionsFormTest, RangeCouplingAndUpsideDown) {
  form->Setup(kModeTest, false, {});
  auto* from = FindComponent<QComboBox>(form.get(), "FromCB");
  auto* to = FindComponent<QComboBox>(form.get(), "ToCB");
  from->setCurrentIndex(5);
  to->setCurrentIndex(2);
  form->ToCBChange();
  EXPECT_EQ(from->currentIndex(), 2) << "a last letter before the first lowers the first";
  from->setCurrentIndex(7);
  form->FromCBChange();
  EXPECT_EQ(to->currentIndex(), 7) << "a first letter after the last raises the last";
  EXPECT_TRUE(Button(form.get(), "RangeLtrRB")->Down());
  EXPECT_EQ(form->GetFromLetter(), 7);

  form->KindClick(1);
  EXPECT_FALSE(FindComponent<QComboBox>(form.get(), "SivugCB")->isEnabled());
  form->KindClick(0);
  EXPECT_TRUE(FindComponent<QComboBox>(form.get(), "SivugCB")->isEnabled());

  // A single letter takes the letters bar's letter.
  view.selected = 4;
  form->LetterRangeClick(kRangeAll);
  EXPECT_EQ(view.selected, -1) << "a range releases the bar's letter";
  form->LetterRangeClick(kRangeSingle);
  EXPECT_EQ(view.selected, 4) << "the single letter is selected again";
  EXPECT_EQ(form->GetFromLetter(), 4);
}

// ---- Word summary ----

class WordSummaryTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    summary = std::make_unique<TWordSummary>(nullptr, view, &manager);
    summary->NoModalLoop = true;
    summary->OpenCard = [this](TWord* w) { cards << w->Headword; };
  }
  void TearDown() override {
    summary.reset();
    ViewTest::TearDown();
  }
  TWordItemList Words(int n) {
    TWordItemList list;
    for (int i = 1; i <= n; ++i) list.append({QString(), WordByText(QStringLiteral("d%1").arg(i, 2, 10, QChar(u'0')))});
    return list;
  }
  std::unique_ptr<TWordSummary> summary;
  QStringList cards;
};

TEST_F(WordSummaryTest, NineRowsAndScrolling) {
  struct Case {
    int words;
    bool scrolls;
    int max;
  };
  for (const Case c : {Case{9, false, 0}, Case{10, true, 1}}) {
    summary->ShowStringList("Words I knew", Words(c.words));
    EXPECT_EQ(summary->ScrollBar()->isEnabled(), c.scrolls) << c.words;
    EXPECT_EQ(summary->ScrollBar()->maximum(), c.max) << c.words;
    summary->hide();
  }
  summary->show();
  EXPECT_EQ(summary->windowTitle(), "Words I knew");
  EXPECT_EQ(Caption(summary.get(), "SumLbl"), "Words I knew");  // the title alone, no stray " :"
  summary->ScrollBar()->setValue(1);
  EXPECT_EQ(summary->Row(0)->Word()->Headword, "d02");
  EXPECT_EQ(summary->Words().first().Text, QString::number(summary->Words().first().Word->Id));
  summary->OnWordClick(summary->Row(8));
  EXPECT_EQ(cards, QStringList{"d10"});
  SaveFrameGrab(*summary, "word_summary");

  // Nine equal rows between Shape1 and the bottom, each 2 px shorter than the pitch.
  const TSummaryLayout l = SummaryLayout(438, 42);
  EXPECT_EQ(l.ShapeTops[1] - l.ShapeTops[0], 44);
  EXPECT_EQ(l.RowHeight, 42);
}

TEST_F(WordSummaryTest, AnEmptyListOnlyTellsSo) {
  summary->ShowStringList("Words I knew", {});
  EXPECT_FALSE(summary->isVisible());
  ASSERT_EQ(view.messages.boxes.size(), 1u);
  EXPECT_EQ(view.messages.boxes[0].first, ViewText("Summary"));
  EXPECT_EQ(view.messages.boxes[0].second, "There is nothing to show in the list of words I knew");
}

// ---- Question panel ----

class SubTestFormTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    form = std::make_unique<TSubTestForm>(nullptr, view, &manager, tick);
    form->LoadCaptions();
    form->SetEventCallback([this](int code) { events.push_back(code); });
    form->show();
    for (int i = 1; i <= 4; ++i) ids[i - 1] = WordByText(QStringLiteral("d%1").arg(i, 2, 10, QChar(u'0')))->Id;
  }
  void TearDown() override {
    form.reset();
    ViewTest::TearDown();
  }
  TTestQuestion Question() const { return {ids[0], ids[1], ids[2], ids[3], ids[2], 1, 0, 0, 0}; }

  TManualTickClock tick;
  std::unique_ptr<TSubTestForm> form;
  std::vector<int> events;
  qint32 ids[4] = {};
};

TEST_F(SubTestFormTest, PracticeIsAlwaysKindZeroAndKeysDriveIt) {
  form->ShowQuestion(Question(), false, kKindUpsideDown, 20, 2);
  EXPECT_EQ(form->Kind(), kKindNormal);
  EXPECT_TRUE(form->IsEvenQuestion());
  EXPECT_EQ(Caption(form.get(), "WordLbl"), "d03");
  form->HandleKey(vk::kLeft);  // right to left: the left arrow knows
  EXPECT_EQ(form->Page(), TPanelPage::Question);
  EXPECT_EQ(Caption(form.get(), "A3Lbl"), "meaning d3");
  EXPECT_EQ(Tag(FindComponent<TTntLabel>(form.get(), "A3Lbl")), 1);
  tick.Advance(3400);
  form->HandleKey(vk::kDigit1 + 2);
  form->HandleKey(vk::kReturn);
  EXPECT_TRUE(events.empty()) << "a practice waits for the next-word link";
  EXPECT_EQ(Caption(form.get(), "AnwerLbl"), "Correct answer!");
  const TDataPacket& r = form->GetAnswerPacket();
  EXPECT_EQ(r.GetInteger(report::kChosen), 3);
  EXPECT_EQ(r.GetInteger(report::kSeconds), 3);
  EXPECT_EQ(r.GetInteger(report::kKind), 100);
  EXPECT_EQ(r.GetInteger(report::kPosition), 2);
  SaveFrameGrab(*form, "sub_test_form_checked");
  form->HandleKey(vk::kSpace);
  EXPECT_EQ(events, std::vector<int>{kEventRight});

  // Odd position, don't know: the definition, then event 0 with a report of zeros but 16.
  form->ShowQuestion(Question(), false, 0, 20, 3);
  EXPECT_FALSE(form->IsEvenQuestion());
  form->HandleKey(vk::kRight);
  EXPECT_EQ(Caption(form.get(), "Lbl1"), "meaning d3");
  SaveFrameGrab(*form, "sub_test_form_definition");
  form->HandleKey(vk::kReturn);
  EXPECT_EQ(events.back(), kEventNotKnown);
  for (int i = 0; i < 17; ++i) EXPECT_EQ(form->GetAnswerPacket().GetInteger(i), i == 16 ? 3 : 0) << i;
}

TEST_F(SubTestFormTest, TheExampleLinkShowsWhenAnExampleSoundIsNamed) {
  TWord* asked = central_->CurrentWordList()->FindById(ids[2]);
  form->ShowQuestion(Question(), false, 0, 20, 1);
  form->DontKnowBtnClick();
  EXPECT_FALSE(FindComponent<QWidget>(form.get(), "Lbl5")->isVisible());
  asked->ExampleSound1.Name = "ex1";
  form->ShowQuestion(Question(), false, 0, 20, 1);
  form->DontKnowBtnClick();
  EXPECT_TRUE(FindComponent<QWidget>(form.get(), "Lbl5")->isVisible());
  EXPECT_EQ(Caption(form.get(), "Lbl5"), "Example and explanation");
  TExtraInfoForm info;
  form->FillExtraInfo(info);
  EXPECT_EQ(info.windowTitle(), asked->Headword);
  info.Label1Click();
  EXPECT_EQ(events, std::vector<int>{kEventPlayExample});
}

TEST_F(SubTestFormTest, SummaryAndItsLinks) {
  form->ShowSummary(3, 1, 6, false, 1);
  EXPECT_EQ(form->Page(), TPanelPage::Summary);
  EXPECT_EQ(Caption(form.get(), "CorrectLbl"), "Right answers: 3");
  EXPECT_EQ(Caption(form.get(), "DontKnowLbl"), "Words I did not know: 1");
  SaveFrameGrab(*form, "sub_test_form_summary");
  emit FindComponent<TTntLabel>(form.get(), "WrongLbl")->OnClick();
  form->MoreTestBtnClick();
  EXPECT_EQ(events, (std::vector<int>{kEventShowWrong, kEventAnotherSeries}));
  form->ShowSummary(3, 2, 6, true, 0);
  EXPECT_FALSE(FindComponent<QWidget>(form.get(), "DontKnowLbl")->isVisible());
  EXPECT_EQ(FindComponent<QWidget>(form.get(), "CorrectLbl")->y(), 37 - 15);
}

}  // namespace
}  // namespace zabko::test
