#include "learn/views/test_form.h"

#include "audio/res_player.h"
#include "core/app_type_specific.h"
#include "core/language_pack.h"
#include "core/window_services.h"
#include "core/word.h"
#include "core/word_list.h"
#include "learn/views/options_form.h"
#include "learn/views/question_rules.h"
#include "learn/views/sub_test_form.h"
#include "learn/views/view_host.h"
#include "learn/views/word_summary.h"
#include "net/zabkolex_central.h"
#include "net/zabkolex_client.h"
#include "net/zabkolex_flow.h"
#include "platform/exception_handler.h"
#include "platform/registry_ini_file.h"
#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/form_loading.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"

#include <QStackedWidget>

#include <algorithm>

namespace zabko {

namespace {

const QString kTestSection = QStringLiteral("Test");

}  // namespace

TTestForm::TTestForm(QWidget* parent, IViewHost& host, TNManager* manager, TOptionsForm& options,
                     TWordSummary* summary, const ITickClock& clock)
    : QWidget(parent),
      host_(host),
      manager_(manager),
      options_(options),
      summary_(summary),
      run_(*this, [](qint32 id) {
        TWordList* list = Central().CurrentWordList();
        return list ? list->FindById(id) : nullptr;
      }) {
  setObjectName(QStringLiteral("TestForm"));
  resize(568, 398);
  setLayoutDirection(Qt::RightToLeft);
  TFormLoading loading(this);
  notebook_ = new QStackedWidget(this);
  notebook_->setObjectName(QStringLiteral("Notebook"));
  notebook_->setGeometry(rect());
  notebook_->setFont(WinFont(QStringLiteral("Arial"), 0, -11));
  SetBackgroundColor(notebook_, 0xF3ECD9);
  notebook_->setAutoFillBackground(true);
  introPage_ = new QWidget(notebook_);
  introPage_->setObjectName(QStringLiteral("Intro"));
  testPage_ = new QWidget(notebook_);
  testPage_->setObjectName(QStringLiteral("Test"));
  notebook_->addWidget(introPage_);
  notebook_->addWidget(testPage_);

  questionCountLbl_ = new TTntLabel(testPage_, QStringLiteral("QuestionCountLbl"));
  questionCountLbl_->setGeometry(128, 3, 311, 19);
  questionCountLbl_->SetAutoSize(false);
  questionCountLbl_->setAlignment(Qt::AlignCenter);
  questionCountLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -15, TFontStyle::Bold));
  SetFontColor(questionCountLbl_, 0x9F7829);
  static const char* kPanels[] = {"Pnl1", "Pnl2", "Pnl3"};
  static const int kTops[] = {24, 204, 24};
  for (int i = 0; i < 3; ++i) {
    pnl_[i] = new QWidget(testPage_);
    pnl_[i]->setObjectName(QString::fromLatin1(kPanels[i]));
    pnl_[i]->setGeometry(16, kTops[i], 536, 173);
    pnl_[i]->hide();
  }
  upperPanel_ = pnl_[0];
  lowerPanel_ = pnl_[1];
  slidingPanel_ = pnl_[2];

  speakerCmp_ = new TNBitmapComponent(this, QStringLiteral("SpeackerManager"));
  speakerCmp_->SetManager(manager);
  speakerCmp_->SetFilename(QStringLiteral("tirgul\\Speakers.bmp"));
  speakerBtn_ = new TNButton(testPage_, QStringLiteral("SpeakerBtn"));
  speakerBtn_->setGeometry(568 - 29 - 16, 0, 29, 21);
  speakerBtn_->SetManager(manager);
  speakerBtn_->SetBitmapComponent(speakerCmp_);
  speakerBtn_->SetCanBeDown(true);
  speakerBtn_->SetClickableWhenDown(true);
  SetAnchors(speakerBtn_, TAnchorKind::Top | TAnchorKind::Right);

  finishCmp_ = new TNBitmapComponent(this, QStringLiteral("FinishBtnCmp"));
  finishCmp_->SetManager(manager);
  finishCmp_->SetFilename(QStringLiteral("tirgul\\FinishBtn.bmp"));
  finishBtn_ = new TNButton(testPage_, QStringLiteral("FinishBtn"));
  finishBtn_->setGeometry(16, 0, 40, 19);
  finishBtn_->SetManager(manager);
  finishBtn_->SetBitmapComponent(finishCmp_);
  finishBtn_->SetSize(10);
  finishBtn_->SetDeltaYPlain(-2);
  finishBtn_->SetDeltaYDown(-1);
  finishBtn_->SetDeltaYOver(-1);
  finishBtn_->setFont(WinFont(QStringLiteral("Arial"), 0, -12, TFontStyle::Bold));
  SetFontColor(finishBtn_, 0x033333);
  loading.Finish();

  for (QWidget* panel : pnl_) {
    auto* form = new TSubTestForm(panel, host, manager, clock);
    form->setGeometry(panel->rect());
    form->SetEventCallback([this](int code) { OnSubTestEvent(code); });
    form->show();
  }
  timer_.setInterval(10);
  playTimer_.setInterval(1);
  playTimer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { Guarded([this] { TimerTimer(); }); });
  connect(&playTimer_, &QTimer::timeout, this, [this] { Guarded([this] { PlayTimerTimer(); }); });
  connect(speakerBtn_, &TNBase::OnClick, this, &TTestForm::SpeakerBtnClick);
  connect(finishBtn_, &TNBase::OnClick, this, &TTestForm::FinishBtnClick);
}

TTestForm::~TTestForm() {
  // The options page is shared with production: it is docked here, never owned.
  if (isAncestorOf(&options_)) options_.setParent(nullptr);
}

TSubTestForm* TTestForm::FormOf(QWidget* panel) { return panel->findChild<TSubTestForm*>(QString(), Qt::FindDirectChildrenOnly); }

TSubTestForm* TTestForm::UpperForm() const { return FormOf(upperPanel_); }
TSubTestForm* TTestForm::LowerForm() const { return FormOf(lowerPanel_); }
TSubTestForm* TTestForm::SlidingForm() const { return FormOf(slidingPanel_); }

void TTestForm::SwapForms(QWidget* a, QWidget* b) {
  TSubTestForm* fa = FormOf(a);
  TSubTestForm* fb = FormOf(b);
  fa->setParent(b);
  fb->setParent(a);
  for (TSubTestForm* f : {fa, fb}) {
    f->setGeometry(f->parentWidget()->rect());
    f->show();
  }
}

bool TTestForm::OnIntroPage() const { return notebook_->currentWidget() == introPage_; }

void TTestForm::ShowIntro() {
  timer_.stop();
  playTimer_.stop();
  speakerBtn_->SetDown(Central().Settings().ReadBool(kTestSection, QStringLiteral("Sound"), false));
  notebook_->setCurrentWidget(introPage_);
  options_.setParent(introPage_);
  options_.setGeometry(notebook_->rect());
  // Set up before showing: showing saves the page's controls, which must be this mode's.
  options_.Setup(IsExam ? kModeExam : kModeTest, false, [this] { StartTest(); });
  options_.show();
  for (QWidget* p : pnl_) FormOf(p)->PauseCountDown();
}

bool TTestForm::IsTestInProgress() {
  if (OnIntroPage()) {
    options_.SaveOptions();
    return false;
  }
  return run_.IsInProgress();
}

void TTestForm::PauseCountDown() { UpperForm()->PauseCountDown(); }

void TTestForm::ResumeCountDown() { UpperForm()->ResumeCountDown(); }

void TTestForm::KeyPressed(int virtualKey) {
  if (OnIntroPage() || !upperPanel_->isVisible()) return;
  UpperForm()->HandleKey(virtualKey);
}

void TTestForm::LetterChosen() {
  if (OnIntroPage()) {
    options_.TakeCurrentLetter();
    options_.LetterRangeClick(kRangeSingle);
    return;
  }
  options_.SaveCurrentLetter();
  ShowIntro();
}

void TTestForm::StartTest() {
  TRegistryIniFile& settings = Central().Settings();
  if (Central().AppType().ShowDidYouKnow()) {
    const QString name = QStringLiteral("DidYouKnowShow") + (IsExam ? QStringLiteral("Exam") : QStringLiteral("Test"));
    if (!settings.ReadBool(kTestSection, name, false)) {
      host_.MessageService().ShowMessageWithLinks(ViewText(QStringLiteral("Test.DidYouKnowCaption")),
                                                  ViewText(QStringLiteral("Test.DidYouKnowContent")), {});
      settings.WriteBool(kTestSection, name, true);
    }
  }
  host_.FocusCurrentView();
  TTestSettings s;
  const TOptionValues& v = options_.Values();
  s.QuestionCount = v.QCount;
  s.Order = v.Order;
  s.QuestionKind = v.QuestionKind;
  s.FromLetter = options_.GetFromLetter();
  s.ToLetter = options_.GetToLetter();
  s.SubjectId = options_.GetSubjectId();
  s.SubSubjectId = options_.GetSubSubjectId();
  speakerBtn_->setToolTip(ViewText(s.QuestionKind == 1   ? QStringLiteral("TestForm.SpeakerBtnHintB")
                                   : s.QuestionKind == 2 ? QStringLiteral("TestForm.SpeakerBtnHintC")
                                                         : QStringLiteral("TestForm.SpeakerBtnHintA")));
  if (!run_.Start(s)) return;
  notebook_->setCurrentWidget(testPage_);
  StartFirstQuestion();
}

bool TTestForm::FetchBatch(const TTestSettings& s, std::vector<TTestQuestion>& batch) {
  batch.clear();
  if (!host_.Flow().UploadAnswersWithProgress()) return false;
  fetchFailed_ = true;
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  const int code = pack ? pack->GetCode() : 0;
  // A job that raised never completed: its batch is dropped and no test starts.
  const bool completed =
      host_.ProgressRunner().RunJob(5, ViewText(QStringLiteral("TestForm.DownloadingQuestions")), [&](IProgress& progress) {
        progress.Step();
        fetchFailed_ = !Central().Client().GetQuestions(
            static_cast<quint8>(s.FromLetter), static_cast<quint8>(s.ToLetter), code, s.SubjectId, s.SubSubjectId,
            s.QuestionCount, s.Order == 1, s.QuestionKind == kKindUpsideDown, batch);
      });
  if (!completed || fetchFailed_) {
    batch.clear();
    if (completed) host_.ShowConnectionError();
    return false;
  }
  return true;
}

void TTestForm::ShowTooManyQuestions(int asked, int offered) {
  host_.MessageService().ShowMessageWithLinks(
      ViewText(QStringLiteral("AttentionCaption")),
      TWStr::Format(ViewText(QStringLiteral("TooManyQuestions")), {asked, offered}), {});
  if (offered > 4) options_.SetQuestionCount(offered);
  if (!OnIntroPage()) ShowIntro();
}

TDataPacket& TTestForm::CurrentReport() { return UpperForm()->GetAnswerPacket(); }

void TTestForm::AddAnswer(qint32 wordId, quint8 kind, const TDataPacket& report) {
  host_.AddAnswer(wordId, kind, &report);
}

void TTestForm::MoveWord(TWord& word, int fromStatus, int toStatus) { host_.MoveWord(word, fromStatus, toStatus); }

void TTestForm::UpdateQuestionCount() {
  questionCountLbl_->SetCaption(TWStr::Format(ViewText(QStringLiteral("TestForm.QuestionCount")),
                                              {run_.NextNumber(), run_.Settings().QuestionCount}));
}

void TTestForm::ShowCurrentOn(TSubTestForm* form) {
  form->ShowQuestion(run_.Current(), IsExam, run_.Settings().QuestionKind, options_.GetTimePerQuestion(),
                     run_.NextNumber() - 1);
}

void TTestForm::StartFirstQuestion() {
  FormResize();
  UpdateQuestionCount();
  slidingPanel_->hide();
  lowerPanel_->hide();
  run_.PopQuestion();
  ShowCurrentOn(UpperForm());
  upperPanel_->show();
  PlayCurrentWord();
}

void TTestForm::NextQuestion() {
  const bool last = run_.IsLastAnswered();
  if (!last) UpdateQuestionCount();
  else questionCountLbl_->SetCaption(QString());
  run_.Advance();
  slidingPanel_->move(slidingPanel_->x(), upperPanel_->y());
  SwapForms(slidingPanel_, upperPanel_);
  slidingPanel_->show();
  slidingPanel_->raise();
  if (!last) {
    ShowCurrentOn(UpperForm());
  } else {
    UpperForm()->ShowSummary(run_.RightCount(), run_.WrongCount(), run_.NextNumber(), IsExam, run_.NotKnownCount());
  }
  upperPanel_->show();
  SlidingForm()->MakeWordInert();
  timer_.start();
}

void TTestForm::TimerTimer() {
  slidingPanel_->move(slidingPanel_->x(), std::min(slidingPanel_->y() + 10, lowerPanel_->y()));
  if (slidingPanel_->y() < lowerPanel_->y()) return;
  timer_.stop();
  lowerPanel_->show();
  slidingPanel_->hide();
  SwapForms(slidingPanel_, lowerPanel_);
  playTimer_.start();
}

void TTestForm::PlayTimerTimer() {
  playTimer_.stop();
  PlayCurrentWord();
}

void TTestForm::PlayCurrentWord() {
  if (TWord* w = run_.CurrentWord()) PlaySound(w->MainSound.Name);
}

void TTestForm::PlaySound(const QByteArray& fileName) {
  if (!ShouldPlayTestSound(Central().AppType().HasAudio(), speakerBtn_->Down(), run_.Settings().QuestionKind)) return;
  if (fileName.isEmpty()) return;
  try {
    if (SoundSink) SoundSink(fileName);
    else if (TResPlayer* player = Central().ResPlayer()) player->PlayFile(fileName);
  } catch (...) {
    // Playback failures never reach the learner.
    RecordCaughtException(std::current_exception());
  }
}

void TTestForm::ShowWordList(const QString& titleKey, const QList<TWord*>& words) {
  if (summary_ == nullptr) return;
  TWordItemList list;
  for (TWord* w : words) list.append({w->Headword, w});
  summary_->ShowStringList(ViewText(titleKey), list);
}

void TTestForm::BackToOptions() {
  ShowIntro();
  host_.Flow().UploadAnswersWithProgress();
}

void TTestForm::OnSubTestEvent(int code) { run_.HandleEvent(code); }

void TTestForm::SpeakerBtnClick() {
  speakerBtn_->SetDown(!speakerBtn_->Down());
  Central().Settings().WriteBool(kTestSection, QStringLiteral("Sound"), speakerBtn_->Down());
}

void TTestForm::FinishBtnClick() {
  if (!host_.ConfirmLeaveTest()) return;
  BackToOptions();
}

void TTestForm::ApplyLeftToRight() {
  for (QWidget* p : pnl_) FormOf(p)->ApplyLeftToRight();
  questionCountLbl_->setLayoutDirection(Qt::LeftToRight);
  finishBtn_->setLayoutDirection(Qt::LeftToRight);
  finishBtn_->resize(60, finishBtn_->height());
}

void TTestForm::LoadCaptions() {
  finishBtn_->SetCaption(ViewText(QStringLiteral("TestForm.FinishBtn.Caption")));
  for (QWidget* p : pnl_) FormOf(p)->LoadCaptions();
}

void TTestForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Guarded([this] {
    if (Central().AppType().LeftToRightLists()) questionCountLbl_->setLayoutDirection(Qt::LeftToRight);
    speakerBtn_->setVisible(Central().AppType().HasAudio());
    FormResize();
  });
}

void TTestForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  notebook_->setGeometry(rect());
  // The options page hosted here fills the page, also after the view changed size.
  if (options_.parentWidget() == introPage_) options_.setGeometry(notebook_->rect());
  Guarded([this] { FormResize(); });
}

void TTestForm::FormResize() {
  const int w = width(), h = height();
  const int panelWidth = std::max(536, w - 100);
  const int panelHeight = h / 2 - 30;
  questionCountLbl_->move((w - questionCountLbl_->width()) / 2, questionCountLbl_->y());
  for (QWidget* p : pnl_) p->setGeometry((w - panelWidth) / 2, p->y(), panelWidth, panelHeight);
  const int upperTop = (h - 2 * panelHeight) / 2;
  upperPanel_->move(upperPanel_->x(), upperTop);
  lowerPanel_->move(lowerPanel_->x(), upperTop + panelHeight + std::max(15, upperTop / 5));
  if (!timer_.isActive()) slidingPanel_->move(slidingPanel_->x(), lowerPanel_->y());
  for (QWidget* p : pnl_) {
    if (TSubTestForm* f = FormOf(p)) f->setGeometry(p->rect());
  }
  speakerBtn_->move(w - speakerBtn_->width() - 16, speakerBtn_->y());
}

}  // namespace zabko
