#include "learn/views/sub_test_form.h"

#include "core/app_type_specific.h"
#include "core/window_services.h"
#include "core/language_pack.h"
#include "core/word.h"
#include "core/word_list.h"
#include "learn/start/extra_info_form.h"
#include "learn/frames/text_fit.h"
#include "learn/views/tick_clock.h"
#include "learn/views/view_host.h"
#include "net/answer_report.h"
#include "net/zabkolex_central.h"
#include "platform/exception_handler.h"
#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/form_loading.h"
#include "ui/mirror.h"
#include "ui/my_shape.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/text_measure.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"

#include <QFontMetrics>
#include <QStackedWidget>

#include <algorithm>

namespace zabko {

namespace {

constexpr TColor kOddColour = 0xDDD7C6;
constexpr TColor kButtonInk = 0x033333;
constexpr TColor kCaptionInk = 0x9F7829;
constexpr TColor kRightGreen = 0x008000;
constexpr TColor kWrongRed = 0x0000FF;

template <class T>
T* Make(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* control = new T(parent, QString::fromLatin1(name));
  control->setGeometry(left, top, width, height);
  return control;
}

TNButton* MakeButton(QWidget* parent, const char* name, TNManager* manager, TNBitmapComponent* sheet, int left,
                     int top, int width, int height, int size) {
  auto* b = Make<TNButton>(parent, name, left, top, width, height);
  b->SetManager(manager);
  b->SetBitmapComponent(sheet);
  b->SetSize(size);
  if (size > 0) {
    b->setFont(WinFont(QStringLiteral("Arial"), 0, -15, TFontStyle::Bold));
    SetFontColor(b, kButtonInk);
  }
  return b;
}

}  // namespace

TSubTestForm::TSubTestForm(QWidget* parent, IViewHost& host, TNManager* manager, const ITickClock& clock)
    : TModalForm(parent, QStringLiteral("SubTestForm"), parent ? TFormKind::Docked : TFormKind::Dialog),
      host_(host), manager_(manager), report_(clock) {
  resize(536, 173);
  setLayoutDirection(Qt::RightToLeft);
  TFormLoading loading(this);
  orngBtns_ = new TNBitmapComponent(this, QStringLiteral("OrngBtnsCmp"));
  orngBtns_->SetManager(manager);
  orngBtns_->SetFilename(QStringLiteral("tirgul\\OrngBtns.bmp"));
  radioBtns_ = new TNBitmapComponent(this, QStringLiteral("RadioCmp"));
  radioBtns_->SetManager(manager);
  radioBtns_->SetFilename(QStringLiteral("tirgul\\radio_bt_gary_blue.bmp"));

  notebook_ = new QStackedWidget(this);
  notebook_->setObjectName(QStringLiteral("Notebook"));
  notebook_->setGeometry(0, 0, 536, 173);
  SetAnchors(notebook_, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right | TAnchorKind::Bottom);
  firstPage_ = new QWidget(notebook_);
  firstPage_->setObjectName(QStringLiteral("First"));
  questionPage_ = new QWidget(notebook_);
  questionPage_->setObjectName(QStringLiteral("Question"));
  summaryPage_ = new QWidget(notebook_);
  summaryPage_->setObjectName(QStringLiteral("Summary"));
  for (QWidget* page : {firstPage_, questionPage_, summaryPage_}) {
    page->resize(536, 173);
    notebook_->addWidget(page);
  }
  const TAnchors all = TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right | TAnchorKind::Bottom;

  // Page "First".
  firstBkgrd_ = Make<TRoundedPanel>(firstPage_, "FirstBkgrd", 0, 0, 536, 173);
  firstBkgrd_->SetBackgroundColor(0xF0EBDC);
  firstBkgrd_->SetColor(kEvenColour);
  SetAnchors(firstBkgrd_, all);
  headerBkg_ = Make<TMyShape>(firstBkgrd_, "HeaderBkg", 84, 7, 369, 29);
  headerBkg_->SetShape(TShapeType::RoundRect);
  headerBkg_->SetPenColor(clWhite);
  SetAnchors(headerBkg_, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
  wordLbl_ = Make<TLabel2>(firstBkgrd_, "WordLbl", 85, 12, 367, 19);
  wordLbl_->SetAutoSize(false);
  wordLbl_->setAlignment(Qt::AlignCenter);
  wordLbl_->setFont(WinFont(QStringLiteral("David"), 0, 20, TFontStyle::Bold));
  SetAnchors(wordLbl_, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
  countLbl_ = Make<TTntLabel>(firstBkgrd_, "CountLbl", 480, 0, 50, 32);
  countLbl_->SetAutoSize(false);
  countLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -24, TFontStyle::Bold));
  SetFontColor(countLbl_, kCaptionInk);
  countLbl_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  SetAnchors(countLbl_, TAnchorKind::Top | TAnchorKind::Right);
  knowBtn_ = MakeButton(firstBkgrd_, "KnowBtn", manager, orngBtns_, 156, 81, 90, 26, 15);
  dontKnowBtn_ = MakeButton(firstBkgrd_, "DontKnowBtn", manager, orngBtns_, 291, 81, 90, 26, 15);
  for (TNButton* b : {knowBtn_, dontKnowBtn_}) {
    b->SetDeltaYPlain(-1);
    SetAnchors(b, TAnchorKind::Left | TAnchorKind::Bottom);
  }
  static const char* kLblNames[] = {"Lbl1", "Lbl2", "Lbl3", "Lbl4", "Lbl5"};
  for (int i = 0; i < 5; ++i) {
    TTntLabel* l = i < 2 ? static_cast<TTntLabel*>(Make<TTntLabel>(firstBkgrd_, kLblNames[i], 60, 48 + 16 * i, 417, 17))
                         : Make<TLinkLabel2>(firstBkgrd_, kLblNames[i], 60, 48 + 16 * i, 417, 17);
    l->SetAutoSize(false);
    l->setFont(WinFont(QStringLiteral("Arial"), 0, 17));
    l->hide();
    SetAnchors(l, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
    lbl_[i] = l;
  }
  nextLbl_ = Make<TLinkLabel2>(firstBkgrd_, "NextLbl", 16, 144, 120, 19);
  nextLbl_->SetLinkColor(0xFF0000);
  SetFontColor(nextLbl_, 0xFF0000);
  nextLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -13, TFontStyle::Bold | TFontStyle::Underline));
  nextLbl_->hide();
  SetAnchors(nextLbl_, TAnchorKind::Left | TAnchorKind::Bottom);

  // Page "Question".
  secondBkg_ = Make<TRoundedPanel>(questionPage_, "SecondBkg", 0, 0, 536, 173);
  secondBkg_->SetBackgroundColor(0xF0EBDC);
  secondBkg_->SetColor(kEvenColour);
  SetAnchors(secondBkg_, all);
  questHdrBkg_ = Make<TMyShape>(secondBkg_, "QuestHdrBkg", 84, 7, 369, 25);
  questHdrBkg_->SetShape(TShapeType::RoundRect);
  questHdrBkg_->SetPenColor(clWhite);
  SetAnchors(questHdrBkg_, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
  questLbl_ = Make<TLabel2>(secondBkg_, "QuestLbl", 85, 9, 367, 21);
  questLbl_->SetAutoSize(false);
  questLbl_->setAlignment(Qt::AlignCenter);
  questLbl_->setFont(wordLbl_->font());
  SetAnchors(questLbl_, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
  questCountLbl_ = Make<TTntLabel>(secondBkg_, "QuestCountLbl", 480, 0, 50, 32);
  questCountLbl_->SetAutoSize(false);
  questCountLbl_->setFont(countLbl_->font());
  questCountLbl_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  SetFontColor(questCountLbl_, kCaptionInk);
  SetAnchors(questCountLbl_, TAnchorKind::Top | TAnchorKind::Right);
  timeLbl_ = Make<TTntLabel>(secondBkg_, "TimeLbl", 4, 2, 60, 31);
  timeLbl_->SetAutoSize(false);
  timeLbl_->setFont(WinFont(QStringLiteral("Times New Roman"), 0, -27));
  timeLbl_->setLayoutDirection(Qt::LeftToRight);
  timeLbl_->hide();
  static const char* kALbl[] = {"A1Lbl", "A2Lbl", "A3Lbl", "A4Lbl"};
  static const char* kABtn[] = {"A1Btn", "A2Btn", "A3Btn", "A4Btn"};
  for (int i = 0; i < 4; ++i) {
    aLbl_[i] = Make<TTntLabel>(secondBkg_, kALbl[i], 16, 42 + 24 * i, 479, 19);
    aLbl_[i]->SetAutoSize(false);
    aLbl_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetAnchors(aLbl_[i], TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
    aBtn_[i] = MakeButton(secondBkg_, kABtn[i], manager, radioBtns_, 504, 45 + 24 * i, 13, 13, 0);
    aBtn_[i]->SetCanBeDown(true);
    SetTag(aBtn_[i], i + 1);
    SetAnchors(aBtn_[i], TAnchorKind::Top | TAnchorKind::Right);
  }
  checkAnswerBtn_ = MakeButton(secondBkg_, "CheckAnswerBtn", manager, orngBtns_, 427, 140, 90, 26, 15);
  checkAnswerBtn_->SetDeltaYPlain(-1);
  SetAnchors(checkAnswerBtn_, TAnchorKind::Right | TAnchorKind::Bottom);
  nextLbl2_ = Make<TLinkLabel2>(secondBkg_, "NextLbl2", 16, 144, 120, 19);
  nextLbl2_->SetLinkColor(0xFF0000);
  SetFontColor(nextLbl2_, 0xFF0000);
  nextLbl2_->setFont(nextLbl_->font());
  nextLbl2_->hide();
  SetAnchors(nextLbl2_, TAnchorKind::Left | TAnchorKind::Bottom);
  fotterBkg_ = Make<TNStatic>(secondBkg_, "FotterBkg", 84, 151, 369, 21);
  fotterBkg_->SetManager(manager);
  // The bar grows with the panel: its strip is stretched over the whole bar, and the verdict
  // stays in its middle.
  fotterBkg_->SetStretchDraw(true);
  fotterBkg_->hide();
  SetAnchors(fotterBkg_, TAnchorKind::Left | TAnchorKind::Bottom | TAnchorKind::Right);
  anwerLbl_ = Make<TTntLabel>(fotterBkg_, "AnwerLbl", 76, 1, 217, 19);
  anwerLbl_->SetAutoSize(false);
  SetAnchors(anwerLbl_, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right);
  anwerLbl_->setAlignment(Qt::AlignCenter);
  anwerLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -15, TFontStyle::Bold));

  // Page "Summary".
  lastBkg_ = Make<TRoundedPanel>(summaryPage_, "LastBkg", 0, 0, 536, 173);
  lastBkg_->SetBackgroundColor(0xF0EBDC);
  lastBkg_->SetRadiusX(5);
  lastBkg_->SetRadiusY(5);
  SetAnchors(lastBkg_, all);
  headerLbl_ = Make<TTntLabel>(lastBkg_, "HeaderLbl", 104, 10, 327, 19);
  headerLbl_->SetAutoSize(false);
  headerLbl_->setAlignment(Qt::AlignCenter);
  headerLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -15, TFontStyle::Bold));
  SetFontColor(headerLbl_, kCaptionInk);
  sumSpace_ = Make<TNStatic>(lastBkg_, "SumSpace", 165, 40, 206, 94);
  sumSpace_->SetManager(manager);
  dontKnowLbl_ = Make<TLinkLabel2>(sumSpace_, "DontKnowLbl", 3, 8, 200, 22);
  SetFontColor(dontKnowLbl_, 0x333333);
  dontKnowLbl_->SetLinkColor(0x333333);
  correctLbl_ = Make<TLinkLabel2>(sumSpace_, "CorrectLbl", 3, 37, 200, 22);
  SetTag(correctLbl_, 37);
  SetFontColor(correctLbl_, 0x009900);
  correctLbl_->SetLinkColor(0x009900);
  wrongLbl_ = Make<TLinkLabel2>(sumSpace_, "WrongLbl", 3, 65, 200, 22);
  SetTag(wrongLbl_, 65);
  SetFontColor(wrongLbl_, 0x0000CC);
  wrongLbl_->SetLinkColor(0x0000CC);
  for (TLinkLabel2* l : {dontKnowLbl_, correctLbl_, wrongLbl_}) {
    l->SetAutoSize(false);
    l->setFont(WinFont(QStringLiteral("Arial"), 0, -15, TFontStyle::Bold | TFontStyle::Underline));
    l->setAlignment(Qt::AlignCenter);
  }
  backToDefBtn_ = MakeButton(lastBkg_, "BackToDefBtn", manager, orngBtns_, 107, 144, 154, 26, 15);
  moreTestBtn_ = MakeButton(lastBkg_, "MoreTestBtn", manager, orngBtns_, 275, 144, 154, 26, 15);
  for (TNButton* b : {backToDefBtn_, moreTestBtn_}) b->setFont(WinFont(QStringLiteral("Arial"), 0, -13, TFontStyle::Bold));
  loading.Finish();

  countDownTimer_.setInterval(1000);
  connect(&countDownTimer_, &QTimer::timeout, this, [this] { Guarded([this] { CountDownTimer(); }); });
  connect(knowBtn_, &TNBase::OnClick, this, &TSubTestForm::KnowBtnClick);
  connect(dontKnowBtn_, &TNBase::OnClick, this, &TSubTestForm::DontKnowBtnClick);
  for (int i = 0; i < 4; ++i) {
    connect(aBtn_[i], &TNBase::OnClick, this, [this, i] { AnswerBtnClick(i); });
    connect(aLbl_[i], &TTntLabel::OnClick, this, [this, i] { AnswerBtnClick(i); });
  }
  connect(checkAnswerBtn_, &TNBase::OnClick, this, [this] { CheckAnswerBtnClick(false); });
  connect(nextLbl_, &TTntLabel::OnClick, this, &TSubTestForm::NextLblClick);
  connect(nextLbl2_, &TTntLabel::OnClick, this, &TSubTestForm::NextLbl2Click);
  connect(moreTestBtn_, &TNBase::OnClick, this, &TSubTestForm::MoreTestBtnClick);
  connect(backToDefBtn_, &TNBase::OnClick, this, &TSubTestForm::BackToDefBtnClick);
  connect(correctLbl_, &TTntLabel::OnClick, this, [this] { Send(kEventShowRight); });
  connect(wrongLbl_, &TTntLabel::OnClick, this, [this] { Send(kEventShowWrong); });
  connect(dontKnowLbl_, &TTntLabel::OnClick, this, [this] { Send(kEventShowNotKnown); });
  const auto wordClick = [this] {
    if (wordClickable_ && eventCallback_) Send(kEventPlayWord);
  };
  connect(wordLbl_, &TTntLabel::OnClick, this, wordClick);
  connect(questLbl_, &TTntLabel::OnClick, this, wordClick);
  connect(firstBkgrd_, &TRoundedPanel::Onclick, this, [this] { BackgroundClick(true); });
  connect(secondBkg_, &TRoundedPanel::Onclick, this, [this] { BackgroundClick(false); });
  connect(lastBkg_, &TRoundedPanel::Onclick, this, [this] { host_.FocusCurrentView(); });
  connect(lbl_[4], &TTntLabel::OnClick, this, &TSubTestForm::Lbl3Click);
}

void TSubTestForm::Send(int code) {
  if (eventCallback_) eventCallback_(code);
}

TWord* TSubTestForm::FindWord(qint32 id) const {
  TWordList* list = Central().CurrentWordList();
  return list ? list->FindById(id) : nullptr;
}

void TSubTestForm::LoadDrawers() {
  if (bitmapsLoaded_ || manager_ == nullptr) return;
  manager_->GetDrawer(QStringLiteral("tirgul\\summary_bg.bmp"));
  manager_->GetDrawer(QStringLiteral("tirgul\\answer_bg.bmp"));
  summaryDrawers_[0] = manager_->GetPartDrawer(0, 0, QStringLiteral("tirgul\\summary_bg.bmp"), 94, 207);
  summaryDrawers_[1] = manager_->GetPartDrawer(207, 0, QStringLiteral("tirgul\\summary_bg.bmp"), 94, 207);
  footerDrawers_[0] = manager_->GetPartDrawer(0, 0, QStringLiteral("tirgul\\answer_bg.bmp"), 21, 369);
  footerDrawers_[1] = manager_->GetPartDrawer(0, 21, QStringLiteral("tirgul\\answer_bg.bmp"), 21, 369);
  bitmapsLoaded_ = true;
}

bool TSubTestForm::IsEvenQuestion() const { return firstBkgrd_->Color() == kEvenColour; }

TPanelPage TSubTestForm::Page() const {
  if (notebook_->currentWidget() == questionPage_) return TPanelPage::Question;
  if (notebook_->currentWidget() == summaryPage_) return TPanelPage::Summary;
  return TPanelPage::First;
}

void TSubTestForm::ApplyParity(bool even) {
  const TParityLook look = ParityLook(even);
  const TColor colour = even ? kEvenColour : kOddColour;
  firstBkgrd_->SetColor(colour);
  secondBkg_->SetColor(colour);
  for (TNButton* b : {knowBtn_, dontKnowBtn_, checkAnswerBtn_}) b->SetX(look.ButtonX);
}

void TSubTestForm::MakeWordClickable() {
  wordClickable_ = true;
  wordLbl_->SetWork(true);
  questLbl_->SetWork(true);
}

void TSubTestForm::MakeWordInert() {
  wordClickable_ = false;
  wordLbl_->SetWork(false);
  questLbl_->SetWork(false);
}

void TSubTestForm::ShowQuestion(const TTestQuestion& question, bool exam, int kind, int seconds, int position) {
  LoadDrawers();
  report_.Begin(position);
  FormResize();
  MakeWordClickable();
  countLbl_->SetCaption(QString::number(position));
  isPractice_ = !exam;
  kind_ = exam ? kind : kKindNormal;
  question_ = question;
  notebook_->setCurrentWidget(firstPage_);
  TWord* word = FindWord(question.WordId);
  QString text;
  if (kind_ == kKindUpsideDown) {
    text = word ? word->PickMeaning() : QString();
  } else if (kind_ == kKindAudioOnly) {
    text = ViewText(QStringLiteral("TestForm.AudioOnlyCaption"));
  } else {
    text = word ? word->Headword : QString();
  }
  const bool even = position % 2 == 0;
  ApplyParity(even);
  SetQuestionWord(text, even);
  knowBtn_->show();
  dontKnowBtn_->show();
  nextLbl_->hide();
  for (TTntLabel* l : lbl_) l->hide();
  EnableAnswers(true);
  if (exam) {
    KnowBtnClick();
    countdown_.Start(seconds);
    ShowTime();
    timeLbl_->show();
    countDownTimer_.start();
  } else {
    countdown_.Stop();
    countDownTimer_.stop();
    timeLbl_->hide();
  }
}

void TSubTestForm::ShowTime() { timeLbl_->SetCaption(CountdownText(std::max(0, countdown_.SecondsLeft()))); }

void TSubTestForm::ResumeCountDown() {
  if (Page() != TPanelPage::Question || isPractice_ || !timeLbl_->isVisible()) return;
  countdown_.Resume();
  countDownTimer_.start();
}

void TSubTestForm::KnowBtnClick() {
  notebook_->setCurrentWidget(questionPage_);
  fotterBkg_->hide();
  checkAnswerBtn_->show();
  nextLbl2_->hide();
  const TParityLook look = ParityLook(IsEvenQuestion());
  for (int i = 0; i < 4; ++i) {
    aBtn_[i]->SetDown(false);
    aBtn_[i]->SetX(look.RadioX);
    QFont f = aLbl_[i]->font();
    f.setBold(false);
    aLbl_[i]->setFont(f);
    SetFontColor(aLbl_[i], clBlack);
    SetTag(aLbl_[i], 0);
  }
  ShowAnswers(IsEvenQuestion());
}

void TSubTestForm::ShowAnswers(bool even) {
  FormResize();
  questCountLbl_->SetCaption(countLbl_->Caption());
  checkAnswerBtn_->SetX(ParityLook(even).ButtonX);
  const std::vector<qint32> ids = AnswerIds(question_);
  std::array<const TWord*, 4> words{};
  std::array<QString, 4> texts;
  std::array<qint32, 4> idArray{};
  for (int i = 0; i < 4; ++i) {
    idArray[i] = ids[i];
    TWord* w = FindWord(ids[i]);
    words[i] = w;
    if (w) texts[i] = kind_ == kKindUpsideDown ? w->Headword : w->PickMeaning();
  }
  if (kind_ != kKindUpsideDown) {
    MakeAnswersDistinct(texts, idArray, question_.WordId, [] {
      TWordList* list = Central().CurrentWordList();
      TWord* w = list ? list->RandomWord() : nullptr;
      return w ? w->PickMeaning() : QString();
    });
  }
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  const QString fontName = pack ? (kind_ == kKindUpsideDown ? pack->GetFontName() : pack->GetMeaningFontName())
                                : QStringLiteral("Arial");
  const int right = RightAnswerIndex(question_);
  for (int i = 0; i < 4; ++i) {
    QFont f = aLbl_[i]->font();
    SetWinFontName(f, fontName);
    aLbl_[i]->setFont(f);
    aLbl_[i]->setLayoutDirection(kind_ == kKindUpsideDown && pack && !pack->IsRightToLeft() ? Qt::LeftToRight
                                                                                             : Qt::RightToLeft);
    aLbl_[i]->setAlignment((leftToRight_ ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    aLbl_[i]->SetCaption(texts[i]);
    SetTag(aLbl_[i], i == right ? 1 : 0);
  }
  int letterScore = 0, average = 0;
  if (pack) {
    TWord* asked = FindWord(question_.WordId);
    letterScore = asked ? pack->LetterScore(pack->GetLetterIndex(*asked)) : 0;
    average = pack->AverageScore();
  }
  report_.AnswersShown(question_, kind_, isPractice_, texts, words, letterScore, average);
}

void TSubTestForm::AnswerBtnClick(int index) {
  if (!answersEnabled_) {
    BackgroundClick(false);
    return;
  }
  host_.FocusCurrentView();
  for (TNButton* b : aBtn_) b->SetDown(false);
  aBtn_[index]->SetDown(true);
}

int TSubTestForm::ChosenIndex() const {
  for (int i = 0; i < 4; ++i) {
    if (aBtn_[i]->Down()) return i;
  }
  return -1;
}

void TSubTestForm::CheckAnswerBtnClick(bool timeOut) {
  if (Page() != TPanelPage::Question || !checkAnswerBtn_->isVisible()) return;
  const int chosen = ChosenIndex();
  if (chosen < 0 && !timeOut) {
    // The countdown waits while the learner is asked, so a time-out cannot check it twice.
    const bool running = countDownTimer_.isActive();
    PauseCountDown();
    const bool goOn = host_.MessageService().AskYesNo(ViewText(QStringLiteral("ConfirmCaption")),
                                                       ViewText(QStringLiteral("NoAnswer_DoContinue")),
                                                       kButtonYes | kButtonNo);
    if (!goOn) {
      if (running) ResumeCountDown();
      return;
    }
  }
  int right = 3;
  for (int i = 0; i < 4; ++i) {
    if (Tag(aLbl_[i]) == 1) {
      right = i;
      break;
    }
  }
  QFont f = aLbl_[right]->font();
  f.setBold(true);
  aLbl_[right]->setFont(f);
  SetFontColor(aLbl_[right], kRightGreen);
  const bool even = IsEvenQuestion();
  fotterBkg_->SetDrawerIndex(footerDrawers_[even ? 1 : 0]);
  const bool isRight = aBtn_[right]->Down();
  SetFontColor(anwerLbl_, isRight ? kRightGreen : kWrongRed);
  anwerLbl_->SetCaption(ViewText(isRight ? QStringLiteral("SubTestForm.CorrectAnswer")
                                         : QStringLiteral("SubTestForm.WrongAnswer")));
  fotterBkg_->show();
  checkAnswerBtn_->hide();
  EnableAnswers(false);
  if (kind_ == kKindAudioOnly) {
    TWord* w = FindWord(question_.WordId);
    SetQuestionWord(w ? w->Headword : QString(), even);
  }
  countdown_.Stop();
  countDownTimer_.stop();
  timeLbl_->hide();
  report_.Checked(chosen >= 0 ? Tag(aBtn_[chosen]) : -1);
  const int result = isRight ? kEventRight : kEventWrong;
  if (timeOut && chosen < 0) anwerLbl_->SetCaption(ViewText(QStringLiteral("SubTestForm.TimeIsOver")));
  if (isPractice_) {
    SetTag(nextLbl2_, result);
    nextLbl2_->show();
  } else {
    Send(result);
  }
}

void TSubTestForm::CountDownTimer() {
  if (!countdown_.Running()) return;
  const bool expired = countdown_.Tick();
  ShowTime();
  if (!expired) return;
  timeLbl_->hide();
  countDownTimer_.stop();
  CheckAnswerBtnClick(true);
}

void TSubTestForm::DontKnowBtnClick() {
  if (!isPractice_) return;
  knowBtn_->hide();
  dontKnowBtn_->hide();
  ShowDefinition(FindWord(question_.WordId));
  SetTag(nextLbl_, kEventNotKnown);
  nextLbl_->show();
}

void TSubTestForm::NextLblClick() {
  nextLbl_->hide();
  Send(kEventNotKnown);
}

void TSubTestForm::NextLbl2Click() {
  nextLbl2_->hide();
  Send(Tag(nextLbl2_));
}

void TSubTestForm::BackgroundClick(bool first) {
  host_.FocusCurrentView();
  if (first && nextLbl_->isVisible()) NextLblClick();
  if (!first && nextLbl2_->isVisible()) NextLbl2Click();
}

void TSubTestForm::EnableAnswers(bool enable) {
  answersEnabled_ = enable;
  for (TNButton* b : aBtn_) b->setEnabled(enable);
  checkAnswerBtn_->setEnabled(enable);
  for (QWidget* w : {static_cast<QWidget*>(dontKnowLbl_), static_cast<QWidget*>(wrongLbl_),
                     static_cast<QWidget*>(correctLbl_)})
    w->setEnabled(enable);
}

void TSubTestForm::ShowDefinition(TWord* word) {
  for (TTntLabel* l : lbl_) l->show();
  lbl_[3]->SetCaption(QString());
  lbl_[4]->SetCaption(QString());
  SplitTextToLabels(word ? word->MeaningsLine() : QString(), lbl_[0], lbl_[2], lbl_[1]);
  for (TTntLabel* l : lbl_) {
    l->setAlignment((leftToRight_ ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
  }
  // Words carry no comment text; the example link shows when an example sound is named.
  if (word && (!word->ExampleSound1.Name.isEmpty() || !word->ExampleSound2.Name.isEmpty())) {
    lbl_[4]->SetCaption(ViewText(QStringLiteral("SubTestForm.ExtraInfoCaption")));
    static_cast<TLinkLabel2*>(lbl_[4])->SetShowLink(true);
  } else {
    lbl_[4]->hide();
  }
}

void TSubTestForm::FillExtraInfo(TExtraInfoForm& info) const {
  TWord* word = FindWord(question_.WordId);
  info.setWindowTitle(word ? word->Headword : QString());
  if (const TLanguagePack* pack = Central().CurrentLanguagePack()) {
    QFont f = info.Label1()->font();
    SetWinFontName(f, pack->GetFontName());
    info.Label1()->setFont(f);
  }
  // Words carry example sounds but no example texts: the captions stand alone, and the first
  // label plays the example when one is named.
  const bool hasExample = word && !word->ExampleSound1.Name.isEmpty();
  info.Label1()->SetCaption(ViewText(QStringLiteral("SubTestForm.ExampleSentenceCaption")));
  info.Label2()->SetCaption(ViewText(QStringLiteral("SubTestForm.ExampleSentenceExplainCaption")));
  info.Label1()->SetShowLink(hasExample && eventCallback_ != nullptr);
  info.Event = hasExample ? eventCallback_ : TEventCallback();
}

void TSubTestForm::Lbl3Click() {
  TExtraInfoForm info(window());
  if (leftToRight_) info.ApplyLeftToRight();
  info.ApplyLargeLayout(Central().AppType().LargeTestLayout());
  FillExtraInfo(info);
  info.CenterOnScreen();
  info.ShowModal();
}

void TSubTestForm::ShowSummary(int rightCount, int wrongCount, int number, bool exam, int notKnownCount) {
  LoadDrawers();
  countDownTimer_.stop();
  countdown_.Stop();
  const QString mode = exam ? QStringLiteral("Exam") : QStringLiteral("Test");
  moreTestBtn_->SetCaption(ViewText(QStringLiteral("SubTestForm.More") + mode));
  backToDefBtn_->SetCaption(ViewText(QStringLiteral("SubTestForm.Back") + mode));
  const bool even = number % 2 == 0;
  const TParityLook look = ParityLook(even);
  lastBkg_->SetColor(even ? kEvenColour : kOddColour);
  sumSpace_->SetDrawerIndex(summaryDrawers_[even ? 0 : 1]);
  moreTestBtn_->SetX(look.ButtonX);
  backToDefBtn_->SetX(look.ButtonX);
  notebook_->setCurrentWidget(summaryPage_);
  moreTestBtn_->setEnabled(true);
  backToDefBtn_->setEnabled(true);
  moreTestBtn_->show();
  backToDefBtn_->show();
  correctLbl_->SetCaption(TWStr::Format(ViewText(QStringLiteral("SubTestForm.CorrectCaption")), {rightCount}));
  wrongLbl_->SetCaption(TWStr::Format(ViewText(QStringLiteral("SubTestForm.WrongCaption")), {wrongCount}));
  if (exam) {
    dontKnowLbl_->SetCaption(QString());
    dontKnowLbl_->hide();
    headerLbl_->SetCaption(ViewText(QStringLiteral("SubTestForm.ResultCaptionExam")));
    correctLbl_->move(correctLbl_->x(), Tag(correctLbl_) - 15);
    wrongLbl_->move(wrongLbl_->x(), Tag(wrongLbl_) - 15);
  } else {
    dontKnowLbl_->SetCaption(
        TWStr::Format(ViewText(QStringLiteral("SubTestForm.NotKnowCaption")), {notKnownCount}));
    dontKnowLbl_->show();
    headerLbl_->SetCaption(ViewText(QStringLiteral("SubTestForm.ResultCaptionTest")));
    correctLbl_->move(correctLbl_->x(), Tag(correctLbl_));
    wrongLbl_->move(wrongLbl_->x(), Tag(wrongLbl_));
  }
  EnableAnswers(true);
  FormResize();
}

void TSubTestForm::MoreTestBtnClick() {
  moreTestBtn_->setEnabled(false);
  backToDefBtn_->setEnabled(false);
  moreTestBtn_->hide();
  backToDefBtn_->hide();
  Send(kEventAnotherSeries);
}

void TSubTestForm::BackToDefBtnClick() {
  moreTestBtn_->setEnabled(false);
  backToDefBtn_->setEnabled(false);
  moreTestBtn_->hide();
  backToDefBtn_->hide();
  Send(kEventBackToOptions);
}

void TSubTestForm::SetQuestionWord(const QString& text, bool even) {
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  const QString fontName = pack ? (kind_ == kKindUpsideDown ? pack->GetMeaningFontName() : pack->GetFontName())
                                : QStringLiteral("David");
  QFont font = wordLbl_->font();
  SetWinFontName(font, fontName);
  int height = 20;
  const bool rtl = pack ? (kind_ == kKindUpsideDown ? pack->IsMeaningRightToLeft() : pack->IsRightToLeft()) : true;
  wordLbl_->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
  questLbl_->setLayoutDirection(wordLbl_->layoutDirection());
  TTextMeasure& measure = MeasureCanvas();
  const auto measured = [&](int h) {
    QFont f = font;
    SetWinFontHeight(f, h);
    return GUIFontOf(f);
  };
  const int labelHeight = wordLbl_->height();
  while (height > 1 && measure.TextHeight(measured(height), text) > labelHeight - 5) --height;
  while (measure.TextHeight(measured(height), text) < labelHeight && height < 50) ++height;
  while (height > 12 && measure.TextWidth(measured(height), text) > wordLbl_->width()) --height;
  SetWinFontHeight(font, height);
  wordLbl_->setFont(font);
  questLbl_->setFont(font);
  const int lblHeight = height + 5;
  const QRect hb = headerBkg_->geometry();
  wordLbl_->setGeometry(wordLbl_->x(), hb.top() + (hb.height() - lblHeight) / 2, wordLbl_->width(), lblHeight);
  const QRect qb = questHdrBkg_->geometry();
  questLbl_->setGeometry(questLbl_->x(), qb.top() + (qb.height() - lblHeight) / 2, questLbl_->width(), lblHeight);
  ApplyParity(even);
  wordLbl_->SetCaption(text);
  questLbl_->SetCaption(text);
}

void TSubTestForm::FormResize() {
  if (!shown_) return;
  const int w = width(), h = height();
  // The pages that do not show are not sized by the notebook: they take its size now, so that
  // the rows below are spaced for the panel's height on every page (the check button's place
  // on the question page spaces the definition lines of the first page too).
  for (QWidget* page : {firstPage_, questionPage_, summaryPage_}) {
    page->setGeometry(notebook_->rect());
    ApplyAnchors(page);
    for (QWidget* background : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) ApplyAnchors(background);
  }
  const bool large = Central().AppType().LargeTestLayout();
  const bool largeUpside = large && kind_ == kKindUpsideDown;
  const int middle = w / 2;
  const int gap = std::max(20, w / 15);
  TNButton* leftBtn = knowBtn_->x() <= dontKnowBtn_->x() ? knowBtn_ : dontKnowBtn_;
  TNButton* rightBtn = leftBtn == knowBtn_ ? dontKnowBtn_ : knowBtn_;
  leftBtn->move(middle - gap - leftBtn->width(), leftBtn->y());
  rightBtn->move(middle + gap, rightBtn->y());
  headerLbl_->move((w - headerLbl_->width()) / 2, headerLbl_->y());
  sumSpace_->move((w - sumSpace_->width()) / 2, sumSpace_->y());
  backToDefBtn_->move(middle - 10 - backToDefBtn_->width(), backToDefBtn_->y());
  moreTestBtn_->move(middle + 10, moreTestBtn_->y());

  const int header = HeaderHeight(h, largeUpside);
  for (QWidget* c : {static_cast<QWidget*>(headerBkg_), static_cast<QWidget*>(questHdrBkg_)})
    c->resize(c->width(), header);
  wordLbl_->resize(wordLbl_->width(), header);
  questLbl_->resize(questLbl_->width(), header);

  headerLbl_->move(headerLbl_->x(), std::max(0, (h - 170) / 2));
  sumSpace_->move(sumSpace_->x(), headerLbl_->y() + headerLbl_->height() + 10);
  for (TNButton* b : {backToDefBtn_, moreTestBtn_}) b->move(b->x(), sumSpace_->y() + sumSpace_->height() + 15);

  const int f = AnswerFontHeight(header, largeUpside);
  for (TTntLabel* l : aLbl_) {
    QFont font = l->font();
    SetWinFontHeight(font, f);
    l->setFont(font);
    l->resize(l->width(), f + 4);
  }
  for (TTntLabel* l : lbl_) {
    QFont font = l->font();
    SetWinFontHeight(font, f);
    l->setFont(font);
    l->resize(l->width(), f + 4);
  }
  const int extra = large ? 10 : 0;
  const int row = std::max(25, f + 8) - extra;
  const bool labelHeight = Central().AppType().TestRowUsesLabelHeight();
  const int offset = (labelHeight ? aLbl_[0]->height() : row) / 2 - aBtn_[0]->height() / 2;
  const int questBottom = questLbl_->y() + questLbl_->height();
  const int firstTop = large ? questBottom + extra : questBottom + (row + extra) / 2;
  const int step = (checkAnswerBtn_->y() - firstTop) / 4;
  for (int i = 0; i < 4; ++i) {
    aBtn_[i]->move(aBtn_[i]->x(), firstTop + i * step);
    aLbl_[i]->move(aLbl_[i]->x(), aBtn_[i]->y() - offset);
  }
  for (int i = 0; i < 3; ++i) lbl_[i]->move(lbl_[i]->x(), aLbl_[i]->y());
  lbl_[3]->move(lbl_[3]->x(), lbl_[2]->y() + lbl_[2]->height());
  lbl_[4]->move(lbl_[4]->x(), lbl_[3]->y() + lbl_[3]->height());
  // The "next" links stand in the bottom corner beside the verdict bar, sized to their caption
  // in a font that ends a gap before the bar.
  for (TLinkLabel2* next : {nextLbl_, nextLbl2_}) {
    QWidget* parent = next->parentWidget();
    const int room = fotterBkg_->x() - kNextLinkMargin - kNextLinkGap;
    const QString caption = next->Caption();
    ShrinkFontUntil(next, [&](const QFont& font) { return QFontMetrics(font).horizontalAdvance(caption) + 2 <= room; });
    const int width = qMin(room, next->fontMetrics().horizontalAdvance(next->Caption()) + 2);
    const int left = leftToRight_ ? parent->width() - kNextLinkMargin - width : kNextLinkMargin;
    next->setGeometry(left, next->y(), width, next->height());
  }
  SetQuestionWord(wordLbl_->Caption(), IsEvenQuestion());
}

void TSubTestForm::showEvent(QShowEvent* event) {
  TModalForm::showEvent(event);
  Guarded([this] {
    if (shown_) return;
    if (Central().AppType().PlainQuestionFonts()) {
      for (QWidget* l : {static_cast<QWidget*>(wordLbl_), static_cast<QWidget*>(questLbl_)}) {
        QFont f = l->font();
        f.setBold(false);
        l->setFont(f);
      }
    }
    if (Central().AppType().LargeTestLayout()) {
      if (Central().IsHebrewInterface()) {
        checkAnswerBtn_->move(20, checkAnswerBtn_->y());
        SetAnchors(checkAnswerBtn_, TAnchorKind::Left | TAnchorKind::Bottom);
      } else {
        MirrorControl(checkAnswerBtn_);
        SetAnchors(checkAnswerBtn_, TAnchorKind::Right | TAnchorKind::Bottom);
      }
    }
    shown_ = true;
    FormResize();
  });
}

void TSubTestForm::resizeEvent(QResizeEvent* event) {
  TModalForm::resizeEvent(event);
  notebook_->setGeometry(rect());
  Guarded([this] { FormResize(); });
}

void TSubTestForm::HandleKey(int virtualKey) {
  const TPanelPage page = Page();
  const bool nextShown = page == TPanelPage::First ? nextLbl_->isVisible() : nextLbl2_->isVisible();
  switch (KeyActionFor(page, leftToRight_, virtualKey, nextShown)) {
    case TKeyAction::Know:
      if (knowBtn_->isVisible()) KnowBtnClick();
      break;
    case TKeyAction::DontKnow:
      if (dontKnowBtn_->isVisible()) DontKnowBtnClick();
      break;
    case TKeyAction::Next:
      if (page == TPanelPage::First) NextLblClick();
      else NextLbl2Click();
      break;
    case TKeyAction::Check:
      CheckAnswerBtnClick(false);
      break;
    case TKeyAction::Answer1:
    case TKeyAction::Answer2:
    case TKeyAction::Answer3:
    case TKeyAction::Answer4: {
      const int i = static_cast<int>(KeyActionFor(page, leftToRight_, virtualKey, nextShown)) -
                    static_cast<int>(TKeyAction::Answer1);
      if (answersEnabled_) AnswerBtnClick(i);
      break;
    }
    case TKeyAction::None:
      break;
  }
}

void TSubTestForm::LoadCaptions() {
  nextLbl_->SetCaption(ViewText(QStringLiteral("SubTestForm.NextWord")));
  nextLbl2_->SetCaption(ViewText(QStringLiteral("SubTestForm.NextWord")));
  knowBtn_->SetCaption(ViewText(QStringLiteral("SubTestForm.KnowBtn.Caption")));
  dontKnowBtn_->SetCaption(ViewText(QStringLiteral("SubTestForm.DontKnowBtn.Caption")));
  checkAnswerBtn_->SetCaption(ViewText(QStringLiteral("SubTestForm.CheckAnswerBtn.Caption")));
}

void TSubTestForm::ApplyLeftToRight() {
  leftToRight_ = true;
  const struct {
    TNButton* button;
    const char* key;
  } captions[] = {{knowBtn_, "SubTestForm.KnowBtn.Caption"},
                  {dontKnowBtn_, "SubTestForm.DontKnowBtn.Caption"},
                  {checkAnswerBtn_, "SubTestForm.CheckAnswerBtn.Caption"}};
  for (const auto& c : captions) {
    c.button->SetCaption(ViewText(QString::fromLatin1(c.key)));
    c.button->setToolTip(QString());
    QFont f = c.button->font();
    SetWinFontSize(f, 9);
    c.button->setFont(f);
    c.button->setLayoutDirection(Qt::LeftToRight);
  }
  checkAnswerBtn_->SetDeltaYPlain(-1);
  checkAnswerBtn_->SetDeltaYDown(0);
  checkAnswerBtn_->SetDeltaYOver(0);
  for (TNButton* b : {backToDefBtn_, moreTestBtn_}) {
    QFont f = b->font();
    SetWinFontSize(f, 9);
    b->setFont(f);
    b->setLayoutDirection(Qt::LeftToRight);
    b->SetCaption(QString());
    b->setToolTip(QString());
  }
  for (QWidget* w : {static_cast<QWidget*>(headerLbl_), static_cast<QWidget*>(dontKnowLbl_),
                     static_cast<QWidget*>(correctLbl_), static_cast<QWidget*>(wrongLbl_)})
    w->setLayoutDirection(Qt::LeftToRight);
  MirrorChildren(secondBkg_, true);
  MirrorChildren(firstBkgrd_, true);
  for (TTntLabel* l : aLbl_) l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  SetAnchors(nextLbl_, TAnchorKind::Right | TAnchorKind::Bottom);
  SetAnchors(nextLbl2_, TAnchorKind::Right | TAnchorKind::Bottom);
  SetAnchors(timeLbl_, TAnchorKind::Top | TAnchorKind::Right);
  countLbl_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  questCountLbl_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setLayoutDirection(Qt::LeftToRight);
}

void ShowWordCard(TWord* word, const TSubTestForm::TEventCallback& callback, IViewHost& host, TNManager* manager) {
  if (word == nullptr) return;
  auto* card = new TSubTestForm(nullptr, host, manager, SystemTickClock());
  std::unique_ptr<TSubTestForm> owner(card);
  if (host.IsLeftToRight()) card->ApplyLeftToRight();
  card->setWindowFlag(Qt::Tool);
  card->setWindowTitle(word->Headword);
  card->LoadCaptions();
  card->LoadDrawers();
  card->shown_ = true;
  card->ApplyParity(true);
  card->SetQuestionWord(word->Headword, true);
  card->ShowDefinition(word);
  card->countLbl_->hide();
  card->knowBtn_->hide();
  card->dontKnowBtn_->hide();
  card->nextLbl_->hide();
  card->notebook_->setCurrentWidget(card->firstPage_);
  card->MakeWordClickable();
  card->SetEventCallback(callback);
  card->shown_ = false;
  card->CenterOnScreen();
  card->ShowModal();
}

}  // namespace zabko
