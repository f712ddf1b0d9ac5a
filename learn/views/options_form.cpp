#include "learn/views/options_form.h"

#include "core/app_type_specific.h"
#include "core/language_pack.h"
#include "core/window_services.h"
#include "core/word_list.h"
#include "learn/views/view_host.h"
#include "net/zabkolex_central.h"
#include "platform/exception_handler.h"
#include "platform/registry_ini_file.h"
#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/event_guard.h"
#include "ui/form_loading.h"
#include "ui/mirror.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"
#include "ui/zabkolex_utils.h"

#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>

namespace zabko {

namespace {

constexpr TColor kFormColour = 0xF3ECD9;
constexpr TColor kHeaderInk = 0x9F7829;

TTntLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, bool header = false) {
  auto* l = new TTntLabel(parent, QString::fromLatin1(name));
  l->setGeometry(left, top, 80, 18);
  l->setFont(WinFont(QStringLiteral("Arial"), 0, -13, header ? TFontStyle::Bold : TFontStyles()));
  if (header) SetFontColor(l, kHeaderInk);
  l->SetAutoSize(true);
  return l;
}

QWidget* MakePanel(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* p = new QWidget(parent);
  p->setObjectName(QString::fromLatin1(name));
  p->setGeometry(left, top, width, height);
  return p;
}

QComboBox* MakeCombo(QWidget* parent, const char* name, int left, int top, int width) {
  auto* c = new QComboBox(parent);
  c->setObjectName(QString::fromLatin1(name));
  c->setGeometry(left, top - 2, width, 22);
  c->setFont(WinFont(QStringLiteral("Arial"), 0, -13));
  return c;
}

}  // namespace

TOptionsForm::TOptionsForm(QWidget* parent, IViewHost& host, TNManager* manager)
    : QWidget(parent), host_(host), manager_(manager) {
  setObjectName(QStringLiteral("OptionsForm"));
  resize(568, 449);
  setLayoutDirection(Qt::RightToLeft);
  SetBackgroundColor(this, kFormColour);
  setAutoFillBackground(true);
  TFormLoading loading(this);
  startCmp_ = new TNBitmapComponent(this, QStringLiteral("StartTirgulCmp"));
  startCmp_->SetManager(manager);
  startCmp_->SetFilename(QStringLiteral("prod\\back_btn.bmp"));
  radioCmp_ = new TNBitmapComponent(this, QStringLiteral("RadioBtn"));
  radioCmp_->SetManager(manager);
  radioCmp_->SetFilename(QStringLiteral("tirgul\\radio_bt.bmp"));
  const auto radio = [&](QWidget* parent, const char* name, int left, int top) {
    auto* b = new TNButton(parent, QString::fromLatin1(name));
    b->setGeometry(left, top, 13, 13);
    b->SetManager(manager);
    b->SetBitmapComponent(radioCmp_);
    b->SetCanBeDown(true);
    SetAnchors(b, TAnchorKind::Top | TAnchorKind::Right);
    return b;
  };

  cpLbl_ = new TTntLabel(this, QStringLiteral("CpLbl"));
  cpLbl_->setGeometry(150, 16, 336, 28);
  cpLbl_->SetAutoSize(false);
  // The title reads from beside its picture, at the reading-direction end.
  cpLbl_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  cpLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -22, TFontStyle::Bold));
  SetFontColor(cpLbl_, kHeaderInk);
  const auto picture = [&](const char* name, const char* bitmap) {
    auto* p = new TNStatic(this, QString::fromLatin1(name));
    p->setGeometry(496, 6, 48, 48);
    p->SetManager(manager);
    p->SetBackgroundName(QString::fromLatin1(bitmap));
    return p;
  };
  testImg_ = picture("TestImg", "tirgul\\TestImg.bmp");
  examImg_ = picture("ExamImg", "tirgul\\ExamImg.bmp");
  prodImg_ = picture("ProdImg", "prod\\ProdImg.bmp");
  MakeLabel(this, "Label1", 440, 48, true);

  panel1_ = MakePanel(this, "Panel1", 16, 70, 536, 84);
  MakeLabel(panel1_, "Label2", 440, 2, true);
  MakeLabel(panel1_, "Label3", 300, 2);
  singleLtrRB_ = radio(panel1_, "SingleLtrRB", 510, 26);
  chooseLetterLbl_ = MakeLabel(panel1_, "ChooseLetterLbl", 200, 23);
  rangeLtrRB_ = radio(panel1_, "RangeLtrRB", 510, 46);
  MakeLabel(panel1_, "Label5", 400, 43);
  fromCB_ = MakeCombo(panel1_, "FromCB", 340, 43, 41);
  MakeLabel(panel1_, "Label7", 260, 43);
  toCB_ = MakeCombo(panel1_, "ToCB", 200, 43, 41);
  allLtrRB_ = radio(panel1_, "AllLtrRB", 510, 66);
  MakeLabel(panel1_, "Label6", 400, 63);

  MakePanel(this, "Panel4", 16, 156, 536, 1)->setStyleSheet(QStringLiteral("background: #C9B89A"));
  panel2_ = MakePanel(this, "Panel2", 16, 160, 536, 54);
  MakeLabel(panel2_, "Label8", 440, 2, true);
  MakeLabel(panel2_, "Label9", 300, 2);
  MakeLabel(panel2_, "Label10", 200, 2);
  MakeLabel(panel2_, "Label11", 440, 30);
  sivugCB_ = MakeCombo(panel2_, "SivugCB", 280, 30, 150);
  MakeLabel(panel2_, "Label13", 200, 30);
  tatSivugCB_ = MakeCombo(panel2_, "TatSivugCB", 40, 30, 150);

  MakePanel(this, "Panel5", 16, 216, 536, 1)->setStyleSheet(QStringLiteral("background: #C9B89A"));
  panel3_ = MakePanel(this, "Panel3", 16, 220, 536, 44);
  MakeLabel(panel3_, "Label12", 440, 2, true);
  MakeLabel(panel3_, "Label14", 300, 2);
  orderRB_ = radio(panel3_, "OrderRB", 510, 26);
  orderLbl_ = MakeLabel(panel3_, "OrderLbl", 380, 23);
  noOrderRB_ = radio(panel3_, "NoOrderRB", 300, 26);
  randomLbl_ = MakeLabel(panel3_, "RandomLbl", 170, 23);

  MakePanel(this, "Panel6", 16, 266, 536, 1)->setStyleSheet(QStringLiteral("background: #C9B89A"));
  countPnl_ = MakePanel(this, "CountPnl", 16, 270, 536, 28);
  MakeLabel(countPnl_, "Label17", 440, 6, true);
  MakeLabel(countPnl_, "Label20", 300, 6);
  MakeLabel(countPnl_, "Label18", 200, 6);
  countEdt_ = new QLineEdit(countPnl_);
  countEdt_->setObjectName(QStringLiteral("CountEdt"));
  countEdt_->setGeometry(150, 4, 40, 22);
  countEdt_->setMaxLength(3);
  countEdt_->setFont(WinFont(QStringLiteral("Arial"), 0, -13));

  knowLevelPnl_ = MakePanel(this, "KnowLevelPnl", 16, 270, 536, 72);
  MakeLabel(knowLevelPnl_, "Label19", 440, 2, true);
  allBtn_ = radio(knowLevelPnl_, "AllBtn", 510, 24);
  MakeLabel(knowLevelPnl_, "K1Lbl", 300, 21);
  mostBtn_ = radio(knowLevelPnl_, "MostBtn", 510, 40);
  MakeLabel(knowLevelPnl_, "K2Lbl", 300, 37);
  dontKnowBtn_ = radio(knowLevelPnl_, "DontKnowBtn", 510, 56);
  MakeLabel(knowLevelPnl_, "K3Lbl", 300, 53);

  MakePanel(this, "Panel7", 16, 300, 536, 1)->setStyleSheet(QStringLiteral("background: #C9B89A"));
  timePnl_ = MakePanel(this, "TimePnl", 16, 304, 536, 108);
  MakeLabel(timePnl_, "Label21", 440, 2, true);
  MakeLabel(timePnl_, "Label22", 440, 20);
  MakeLabel(timePnl_, "Label23", 380, 20);
  timeCB_ = MakeCombo(timePnl_, "TimeCB", 320, 20, 50);
  timeCB_->addItems(TimeItems());
  MakeLabel(timePnl_, "Label24", 260, 20);
  MakeLabel(timePnl_, "TntLabel1", 16, 2, true);
  MakeLabel(timePnl_, "TntLabel2", 16, 20);
  normalQuestionBtn_ = radio(timePnl_, "NormalQuestionBtn", 510, 42);
  MakeLabel(timePnl_, "NormalQLbl", 300, 39);
  upsideDownQuestionBtn_ = radio(timePnl_, "UpsideDownQuestionBtn", 510, 58);
  MakeLabel(timePnl_, "UpsideDownQLbl", 300, 55);
  audioOnlyQuestionBtn_ = radio(timePnl_, "AudioOnlyQuestionBtn", 320, 42);
  audioOnlyQLbl_ = MakeLabel(timePnl_, "AudioOnlyQLbl", 120, 39);
  MakePanel(this, "Panel8", 16, 414, 536, 1)->setStyleSheet(QStringLiteral("background: #C9B89A"));

  doneBtn_ = new TNButton(this, QStringLiteral("DoneBtn"));
  doneBtn_->setGeometry(222, 417, 124, 26);
  doneBtn_->SetManager(manager);
  doneBtn_->SetBitmapComponent(startCmp_);
  doneBtn_->SetSize(10);
  doneBtn_->setFont(WinFont(QStringLiteral("Arial"), 0, -13, TFontStyle::Bold));
  SetFontColor(doneBtn_, clWhite);
  SetAnchors(doneBtn_, TAnchorKind::Right | TAnchorKind::Bottom);
  // In a view wider than the page the content keeps to the reading side, as the start button
  // does; mirroring turns these anchors to the left.
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (GetAnchors(child) == kDefaultAnchors) SetAnchors(child, TAnchorKind::Top | TAnchorKind::Right);
  loading.Finish();

  connect(doneBtn_, &TNBase::OnClick, this, &TOptionsForm::DoneBtnClick);
  const auto clicks = [this](TNButton* button, TTntLabel* label, std::function<void()> action) {
    connect(button, &TNBase::OnClick, this, action);
    if (label) connect(label, &TTntLabel::OnClick, this, action);
  };
  const auto label = [this](const char* name) { return FindComponent<TTntLabel>(this, QString::fromLatin1(name)); };
  clicks(singleLtrRB_, chooseLetterLbl_, [this] { LetterRangeClick(kRangeSingle); });
  clicks(rangeLtrRB_, label("Label5"), [this] { LetterRangeClick(kRangeSpan); });
  clicks(allLtrRB_, label("Label6"), [this] { LetterRangeClick(kRangeAll); });
  clicks(orderRB_, orderLbl_, [this] { OrderClick(true); });
  clicks(noOrderRB_, randomLbl_, [this] { OrderClick(false); });
  clicks(allBtn_, label("K1Lbl"), [this] { KnowClick(1); });
  clicks(mostBtn_, label("K2Lbl"), [this] { KnowClick(2); });
  clicks(dontKnowBtn_, label("K3Lbl"), [this] { KnowClick(3); });
  clicks(normalQuestionBtn_, label("NormalQLbl"), [this] { KindClick(0); });
  clicks(upsideDownQuestionBtn_, label("UpsideDownQLbl"), [this] { KindClick(1); });
  clicks(audioOnlyQuestionBtn_, audioOnlyQLbl_, [this] { KindClick(2); });
  connect(fromCB_, &QComboBox::activated, this, GuardedSlot([this](int) { FromCBChange(); }));
  connect(toCB_, &QComboBox::activated, this, GuardedSlot([this](int) { ToCBChange(); }));
  connect(sivugCB_, &QComboBox::activated, this, GuardedSlot([this](int) { SivugCBChange(); }));
  connect(tatSivugCB_, &QComboBox::activated, this, GuardedSlot([this](int) { TatSivugCBChange(); }));
}

int TOptionsForm::LanguageCode() const {
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  return pack ? pack->GetCode() : 0;
}

int TOptionsForm::AlphabetSize() const {
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  return pack ? pack->AlphabetSize() : 1;
}

void TOptionsForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Setup rebuilds the subject list for the host; showing only runs the first-show work, so
  // a page shown again before its Setup never saves another mode's controls.
  Guarded([this] { FirstShow(); });
}

void TOptionsForm::FirstShow() {
  if (!firstShow_) return;
  firstShow_ = false;
  const TAppTypeSpecific& app = Central().AppType();
  if (app.LeftToRightLists()) {
    for (QWidget* w : {static_cast<QWidget*>(fromCB_), static_cast<QWidget*>(toCB_), static_cast<QWidget*>(timeCB_),
                       static_cast<QWidget*>(countEdt_)})
      w->setLayoutDirection(Qt::LeftToRight);
  }
  audioOnlyQLbl_->setVisible(app.HasAudio());
  audioOnlyQuestionBtn_->setVisible(app.HasAudio());
  if (Central().FollowLanguageMode() == 3) {
    for (const char* name : {"SingleLtrRB", "RangeLtrRB", "AllLtrRB", "ChooseLetterLbl", "Label5", "Label6", "Label7",
                             "FromCB", "ToCB"}) {
      if (QWidget* w = FindComponent<QWidget>(this, QString::fromLatin1(name))) w->move(w->x() + 10, w->y());
    }
  }
}

void TOptionsForm::Setup(int mode, bool keepControls, std::function<void()> doneCallback) {
  FirstShow();
  mode_ = mode;
  doneCallback_ = std::move(doneCallback);
  for (QWidget* w : {static_cast<QWidget*>(testImg_), static_cast<QWidget*>(examImg_),
                     static_cast<QWidget*>(prodImg_), knowLevelPnl_, countPnl_, timePnl_})
    w->hide();
  const bool prod = mode == kModeProd;
  if (mode == kModeTest) {
    testImg_->show();
    countPnl_->show();
  } else if (mode == kModeExam) {
    examImg_->show();
    countPnl_->show();
    timePnl_->show();
  } else {
    prodImg_->show();
    knowLevelPnl_->show();
  }
  // The separator under the count group has no place in production, whose knowledge group
  // takes the room of both groups.
  FindComponent<QWidget>(this, QStringLiteral("Panel7"))->setVisible(mode != kModeProd);
  randomLbl_->SetCaption(ViewText(prod ? QStringLiteral("OptionsForm.RandomCaptionB")
                                       : QStringLiteral("OptionsForm.RandomCaptionA")));
  orderLbl_->SetCaption(ViewText(prod ? QStringLiteral("OptionsForm.OrderCaptionB")
                                      : QStringLiteral("OptionsForm.OrderCaptionA")));
  const QString w = ModeSection(mode);
  TTntLabel* label18 = FindComponent<TTntLabel>(this, QStringLiteral("Label18"));
  cpLbl_->SetCaption(ViewText(QStringLiteral("OptionsForm.") + w + QStringLiteral("Caption")));
  label18->SetCaption(ViewText(QStringLiteral("OptionsForm.") + w + QStringLiteral("QCaption")));
  chooseLetterLbl_->SetCaption(ViewText(QStringLiteral("OptionsForm.") + w + QStringLiteral("ChooseLetterCaption")));
  doneBtn_->SetCaption(ViewText(QStringLiteral("OptionsForm.") + w + QStringLiteral("BtnCaption")));
  LayoutRows();

  values_ = ReadOptionValues(Central().Settings(), mode, LanguageCode(), AlphabetSize());
  subjectName_ = SubjectNameById(values_.Sivug);
  subSubjectName_ = SubjectNameById(values_.TatSivug);
  if (keepControls) return;
  filling_ = true;
  timeCB_->setCurrentIndex(TimeItemIndex(values_.Time));
  KnowClick(values_.Know == 3 ? 3 : values_.Know == 2 ? 2 : 1);
  FillLetterCombos();
  countEdt_->setText(QString::number(values_.QCount));
  fromCB_->setCurrentIndex(std::max(0, values_.From));
  toCB_->setCurrentIndex(std::max(0, values_.To));
  KindClick(values_.QuestionKind == 0 ? 0 : values_.QuestionKind == 1 ? 1 : 2);
  OrderClick(values_.Order == 1);
  filling_ = false;
  if (values_.Range == kRangeSingle) {
    host_.SelectLetter(values_.Unit);
    LetterRangeClick(kRangeSingle);
  } else {
    LetterRangeClick(values_.Range == kRangeSpan ? kRangeSpan : kRangeAll);
  }
}

void TOptionsForm::FillLetterCombos() {
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  fromCB_->clear();
  toCB_->clear();
  if (pack) {
    for (int i = 0; i < pack->AlphabetSize(); ++i) {
      fromCB_->addItem(pack->GetLetterLabel(i));
      toCB_->addItem(pack->GetLetterLabel(i));
    }
  }
  host_.SetComboDropWidth(fromCB_, 0);
  host_.SetComboDropWidth(toCB_, 0);
}

void TOptionsForm::ReadControls() {
  values_.QCount = GetQuestionCount();
  values_.From = std::max(0, fromCB_->currentIndex());
  values_.To = std::max(0, toCB_->currentIndex());
  values_.Time = timeCB_->currentText().toInt();
  values_.Range = singleLtrRB_->Down() ? kRangeSingle : rangeLtrRB_->Down() ? kRangeSpan : kRangeAll;
  values_.QuestionKind = normalQuestionBtn_->Down() ? 0 : upsideDownQuestionBtn_->Down() ? 1 : 2;
  values_.Order = orderRB_->Down() ? 1 : 0;
  values_.Know = allBtn_->Down() ? 1 : mostBtn_->Down() ? 2 : 3;
  values_.Sivug = GetSubjectId();
  values_.TatSivug = GetSubSubjectId();
}

void TOptionsForm::SaveOptions() {
  ReadControls();
  WriteOptionValues(Central().Settings(), mode_, LanguageCode(), values_);
}

int TOptionsForm::GetFromLetter() const {
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  return values_.FromLetter(pack ? pack->GetFirstLetter() : 0);
}

int TOptionsForm::GetToLetter() const {
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  return values_.ToLetter(pack ? pack->GetLastLetter() : 0);
}

int TOptionsForm::GetQuestionCount() const { return ParseQuestionCount(countEdt_->text()); }

void TOptionsForm::SetQuestionCount(int count) { countEdt_->setText(QString::number(count)); }

qint32 TOptionsForm::GetSubjectId() const {
  const int i = sivugCB_->findText(subjectName_);
  return i < 0 ? -2 : sivugCB_->itemData(i).toInt();
}

qint32 TOptionsForm::GetSubSubjectId() const {
  const int i = tatSivugCB_->findText(subSubjectName_);
  return i < 0 ? -2 : tatSivugCB_->itemData(i).toInt();
}

QString TOptionsForm::SubjectNameById(qint32 id) const {
  const TWordList* list = Central().CurrentWordList();
  if (list && list->HasSubject(id)) return list->GetSubjectName(id);
  return ViewText(QStringLiteral("OptionsForm.AllSubject"));
}

void TOptionsForm::TakeCurrentLetter() {
  const int letter = host_.SelectedLetter();
  if (letter >= 0) values_.Unit = letter;
}

void TOptionsForm::SaveCurrentLetter() {
  const int letter = host_.SelectedLetter();
  if (letter < 0) return;
  TOptionValues v = ReadOptionValues(Central().Settings(), mode_, LanguageCode(), AlphabetSize());
  v.Range = kRangeSingle;
  v.Unit = letter;
  WriteOptionValues(Central().Settings(), mode_, LanguageCode(), v);
}

void TOptionsForm::DoneBtnClick() {
  const int count = GetQuestionCount();
  if (count < kMinQuestions || count > kMaxQuestions) {
    host_.MessageService().ShowMessageWithLinks(ViewText(QStringLiteral("AttentionCaption")),
                                                ViewText(QStringLiteral("QuestionNum")), {});
    return;
  }
  SaveOptions();
  ProdWords.clear();
  if (doneCallback_) doneCallback_();
}

void TOptionsForm::LetterRangeClick(int range) {
  singleLtrRB_->SetDown(range == kRangeSingle);
  rangeLtrRB_->SetDown(range == kRangeSpan);
  allLtrRB_->SetDown(range == kRangeAll);
  values_.Range = static_cast<quint8>(range);
  if (range != kRangeSingle) {
    TakeCurrentLetter();
    host_.ClearLetter();
  } else if (host_.SelectedLetter() < 0) {
    host_.SelectLetter(values_.Unit);
  }
  RefreshSubjects();
}

void TOptionsForm::FromCBChange() {
  int from = fromCB_->currentIndex(), to = toCB_->currentIndex();
  FromLetterChanged(from, to);
  toCB_->setCurrentIndex(to);
  LetterRangeClick(kRangeSpan);
}

void TOptionsForm::ToCBChange() {
  int from = fromCB_->currentIndex(), to = toCB_->currentIndex();
  ToLetterChanged(from, to);
  fromCB_->setCurrentIndex(from);
  LetterRangeClick(kRangeSpan);
}

void TOptionsForm::RefreshSubjects() {
  if (filling_) return;
  SaveOptions();
  TSubjectItemList subjects;
  host_.BuildSubjectList(subjects, GetFromLetter(), GetToLetter());
  sivugCB_->clear();
  for (const TSubjectItem& e : subjects) sivugCB_->addItem(e.Name, e.Id);
  host_.SetComboDropWidth(sivugCB_, 320);
  const int i = sivugCB_->findText(subjectName_);
  sivugCB_->setCurrentIndex(i < 0 ? 0 : i);
  subjectName_ = sivugCB_->currentText();
  SivugCBChange();
}

void TOptionsForm::SivugCBChange() {
  subjectName_ = sivugCB_->currentText();
  const bool all = subjectName_ == ViewText(QStringLiteral("OptionsForm.AllSubject"));
  TSubjectItemList subs;
  const qint32 subject = sivugCB_->currentIndex() >= 0 ? sivugCB_->currentData().toInt() : -2;
  host_.BuildSubjectListOfSubject(subject, subs, GetToLetter() + 1, GetFromLetter() + 1);
  tatSivugCB_->clear();
  for (const TSubjectItem& e : subs) tatSivugCB_->addItem(e.Name, e.Id);
  host_.SetComboDropWidth(tatSivugCB_, 0);
  const int i = tatSivugCB_->findText(subSubjectName_);
  tatSivugCB_->setCurrentIndex(i < 0 ? 0 : i);
  subSubjectName_ = tatSivugCB_->currentText();
  tatSivugCB_->setEnabled(!all && tatSivugCB_->count() != 1 && !upsideDownQuestionBtn_->Down());
  sivugCB_->setEnabled(!upsideDownQuestionBtn_->Down());
}

void TOptionsForm::TatSivugCBChange() { subSubjectName_ = tatSivugCB_->currentText(); }

void TOptionsForm::OrderClick(bool alphabetical) {
  orderRB_->SetDown(alphabetical);
  noOrderRB_->SetDown(!alphabetical);
}

void TOptionsForm::KnowClick(int know) {
  allBtn_->SetDown(know == 1);
  mostBtn_->SetDown(know == 2);
  dontKnowBtn_->SetDown(know == 3);
}

void TOptionsForm::KindClick(int kind) {
  normalQuestionBtn_->SetDown(kind == 0);
  upsideDownQuestionBtn_->SetDown(kind == 1);
  audioOnlyQuestionBtn_->SetDown(kind == 2);
  // The upside-down request carries no subject.
  sivugCB_->setEnabled(kind != 1);
  tatSivugCB_->setEnabled(kind != 1 && tatSivugCB_->count() > 1 &&
                          sivugCB_->currentText() != ViewText(QStringLiteral("OptionsForm.AllSubject")));
}

void TOptionsForm::LoadCaptions() {
  QList<TTntLabel*> labels;
  for (const char* name : {"Label2", "Label3", "Label5", "Label6", "Label7", "Label8", "Label10", "Label11", "Label13",
                           "Label9", "Label12", "Label14", "Label17", "Label20", "Label1", "Label21", "K1Lbl", "K2Lbl",
                           "K3Lbl", "Label19", "Label22", "Label23", "Label24", "TntLabel1", "TntLabel2", "NormalQLbl",
                           "AudioOnlyQLbl", "UpsideDownQLbl"})
    labels << FindComponent<TTntLabel>(this, QString::fromLatin1(name));
  ApplyLabelTexts(QStringLiteral("OptionsForm"), labels, false);
  const int comboWidth = Central().AppType().FilterComboWidth();
  fromCB_->resize(comboWidth + 20, fromCB_->height());
  toCB_->resize(comboWidth + 20, toCB_->height());
  LayoutRows();
  // The page's first heading sits in the title's line under the title, beside the picture: it
  // ends (begins, left to right) a gap before the picture, whatever its caption's length.
  TTntLabel* heading = FindComponent<TTntLabel>(this, QStringLiteral("Label1"));
  const bool ltr = layoutDirection() == Qt::LeftToRight;
  heading->move(ltr ? testImg_->x() + testImg_->width() + kPictureGap : testImg_->x() - kPictureGap - heading->width(),
                heading->y());
}

void TOptionsForm::ApplyLeftToRight() {
  QFont f = doneBtn_->font();
  SetWinFontSize(f, 9);
  doneBtn_->setFont(f);
  doneBtn_->setLayoutDirection(Qt::LeftToRight);
  SetAnchors(doneBtn_, TAnchorKind::Left | TAnchorKind::Bottom);
  // The pictures stay beside the title at the reading side, as the title does.
  for (TNStatic* p : {testImg_, examImg_, prodImg_}) {
    p->move(width() - p->width() - p->x(), p->y());
    SetAnchors(p, TAnchorKind::Left | TAnchorKind::Top);
  }
  for (const char* name : {"CpLbl", "Panel4", "Panel5", "Panel6", "Panel7", "Panel8", "Label1"}) {
    QWidget* w = FindComponent<QWidget>(this, QString::fromLatin1(name));
    MirrorControl(w);
    SetAnchors(w, TAnchorKind::Left | TAnchorKind::Top);
  }
  cpLbl_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (QWidget* panel : {panel1_, panel2_, panel3_, knowLevelPnl_, timePnl_, countPnl_}) {
    MirrorControl(panel);
    MirrorChildren(panel, true);
  }
  setLayoutDirection(Qt::LeftToRight);
  LayoutRows();
}

void TOptionsForm::LayoutRows() {
  // Each row runs from the reading start of its panel: a radio button, then its caption, then
  // the row's other controls, one small gap apart; an empty name leaves a wider gap.
  const bool ltr = layoutDirection() == Qt::LeftToRight;
  struct TRow {
    QWidget* panel;
    int top;
    std::initializer_list<const char*> names;
  };
  const TRow rows[] = {
      {panel1_, 2, {"Label2", "Label3"}},
      {panel1_, 22, {"SingleLtrRB", "ChooseLetterLbl"}},
      {panel1_, 42, {"RangeLtrRB", "Label5", "FromCB", "Label7", "ToCB"}},
      {panel1_, 62, {"AllLtrRB", "Label6"}},
      {panel2_, 2, {"Label8", "Label9", "Label10"}},
      {panel2_, 28, {"Label11", "SivugCB", "", "Label13", "TatSivugCB"}},
      {panel3_, 2, {"Label12", "Label14"}},
      {panel3_, 22, {"OrderRB", "OrderLbl", "", "NoOrderRB", "RandomLbl"}},
      {countPnl_, 5, {"Label17", "", "Label20", "Label18", "CountEdt"}},
      {knowLevelPnl_, 2, {"Label19"}},
      {knowLevelPnl_, 20, {"AllBtn", "K1Lbl"}},
      {knowLevelPnl_, 36, {"MostBtn", "K2Lbl"}},
      {knowLevelPnl_, 52, {"DontKnowBtn", "K3Lbl"}},
      {timePnl_, 2, {"Label21"}},
      {timePnl_, 22, {"Label22", "Label23", "TimeCB", "Label24"}},
      {timePnl_, 42, {"TntLabel1", "TntLabel2"}},
      {timePnl_, 58, {"NormalQuestionBtn", "NormalQLbl"}},
      {timePnl_, 74, {"UpsideDownQuestionBtn", "UpsideDownQLbl"}},
      {timePnl_, 90, {"AudioOnlyQuestionBtn", "AudioOnlyQLbl"}},
  };
  for (const TRow& row : rows) {
    int cursor = ltr ? 6 : row.panel->width() - 6;
    for (const char* name : row.names) {
      if (*name == 0) {
        cursor += ltr ? 16 : -16;
        continue;
      }
      QWidget* w = FindComponent<QWidget>(row.panel, QString::fromLatin1(name));
      if (w == nullptr) continue;
      int top = row.top;
      if (qobject_cast<TNButton*>(w)) top += 3;
      else if (qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w)) top -= 2;
      const int left = ltr ? cursor : cursor - w->width();
      w->move(left, top);
      cursor = ltr ? left + w->width() + 5 : left - 5;
    }
  }
}

}  // namespace zabko
