#include "learn/production/prod_form.h"

#include "audio/prod_audio.h"
#include "core/app_type_specific.h"
#include "core/str.h"
#include "core/window_services.h"
#include "core/word_list.h"
#include "core/zabkolex_strings.h"
#include "learn/views/options_form.h"
#include "learn/production/prod_printer.h"
#include "learn/views/view_host.h"
#include "net/flow_hooks.h"
#include "net/zabkolex_central.h"
#include "net/zabkolex_client.h"
#include "platform/exception.h"
#include "platform/exception_handler.h"
#include "platform/gui/printer_canvas.h"
#include "platform/gui/window_helpers.h"
#include "platform/registry_ini_file.h"
#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/event_guard.h"
#include "ui/form_loading.h"
#include "ui/mirror.h"
#include "ui/my_shape.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"
#include "ui/zabkolex_utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStackedWidget>

#include <algorithm>

namespace zabko {

namespace {

constexpr TColor kFormColour = 0xF3ECD9;
constexpr TColor kHeaderInk = 0x9F7829;
constexpr const char* kSection = "Prod";
constexpr const char* kMissing = "NO_WAY_THIS_STRING_IS_HERE";
constexpr int kTracksByItems = 6;

TTntLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, int width, bool header = false) {
  auto* l = new TTntLabel(parent, QString::fromLatin1(name));
  l->SetAutoSize(false);
  l->setGeometry(left, top, width, 18);
  // Right-aligned as the form reads right to left; the left-to-right routine flips it.
  l->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
  l->setFont(WinFont(QStringLiteral("Arial"), 0, -13, header ? TFontStyle::Bold : TFontStyles()));
  if (header) SetFontColor(l, kHeaderInk);
  return l;
}

QWidget* MakePanel(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* p = new QWidget(parent);
  p->setObjectName(QString::fromLatin1(name));
  p->setGeometry(left, top, width, height);
  return p;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, int left, int top, int width) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setGeometry(left, top - 2, width, 22);
  e->setFont(WinFont(QStringLiteral("Arial"), 0, -13));
  return e;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, int left, int top, int width) {
  auto* c = new QCheckBox(parent);
  c->setObjectName(QString::fromLatin1(name));
  c->setGeometry(left, top, width, 20);
  c->setFont(WinFont(QStringLiteral("Arial"), 0, -13));
  return c;
}

QString DefaultFolder(const QString& kind) {
  return QDir::homePath() + u'/' + Central().AppType().GetProductName() + QStringLiteral("/Audio/") + kind;
}

}  // namespace

QString ReadWideSetting(const TRegistryIniFile& settings, const QString& section, const QString& key,
                        const QString& def) {
  const QString value = settings.ReadWideString(section, key, QString::fromLatin1(kMissing));
  return value == QLatin1String(kMissing) ? def : value;
}

void WriteWideSetting(TRegistryIniFile& settings, const QString& section, const QString& key, const QString& value) {
  settings.WriteWideString(section, key, value);
}

int ParseRightSpace(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok);
  const bool digits = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
  if (!ok || !digits || value < 0 || value > TProdPrinter::kMaxRightSpace) {
    throw Exception("'" + text + "' is not a valid integer value");
  }
  return value;
}

TProdForm::TProdForm(QWidget* parent, IViewHost& host, TNManager* manager, TOptionsForm* options)
    : QWidget(parent), host_(host), manager_(manager), options_(options) {
  setObjectName(QStringLiteral("ProdForm"));
  resize(568, 449);
  setLayoutDirection(Qt::RightToLeft);
  SetBackgroundColor(this, kFormColour);
  setAutoFillBackground(true);
  BrowseFolder = [](QWidget* owner, const QString& title, QString& path) { return BrowseForFolder(owner, title, path); };
  TFormLoading loading(this);
  const auto sprite = [&](const char* name, const char* file) {
    auto* c = new TNBitmapComponent(this, QString::fromLatin1(name));
    c->SetManager(manager);
    c->SetFilename(QString::fromLatin1(file));
    return c;
  };
  backCmp_ = sprite("BackCmp", "prod\\back_btn.bmp");
  radioCmp_ = sprite("RadioCmp", "tirgul\\radio_bt.bmp");
  printCmd_ = sprite("PrintCmd", "prod\\prod_btns.bmp");
  searchCmp_ = sprite("SearchCmp", "prod\\search_btn.bmp");
  const auto button = [&](QWidget* parent, const char* name, QRect geometry, TNBitmapComponent* sheet, int size) {
    auto* b = new TNButton(parent, QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->SetManager(manager);
    b->SetBitmapComponent(sheet);
    b->SetSize(size);
    b->setFont(WinFont(QStringLiteral("Arial"), 0, -13, TFontStyle::Bold));
    SetFontColor(b, clWhite);
    return b;
  };
  const auto radio = [&](QWidget* parent, const char* name, int left, int top) {
    auto* b = new TNButton(parent, QString::fromLatin1(name));
    b->setGeometry(left, top, 13, 13);
    b->SetManager(manager);
    b->SetBitmapComponent(radioCmp_);
    b->SetCanBeDown(true);
    SetAnchors(b, TAnchorKind::Top | TAnchorKind::Right);
    return b;
  };

  notebook_ = new QStackedWidget(this);
  notebook_->setObjectName(QStringLiteral("Notebook"));
  notebook_->setGeometry(rect());
  introPage_ = new QWidget(notebook_);
  introPage_->setObjectName(QStringLiteral("Intro"));
  introPage_->resize(size());
  summaryPage_ = new QWidget(notebook_);
  summaryPage_->setObjectName(QStringLiteral("Summary"));
  summaryPage_->resize(size());
  notebook_->addWidget(introPage_);
  notebook_->addWidget(summaryPage_);
  QWidget* s = summaryPage_;

  TTntLabel* label1 = MakeLabel(s, "Label1", 150, 16, 336);
  label1->setGeometry(150, 16, 336, 28);
  label1->setFont(WinFont(QStringLiteral("Arial"), 0, -22, TFontStyle::Bold));
  SetFontColor(label1, kHeaderInk);
  prodImg_ = new TNStatic(s, QStringLiteral("ProdImg"));
  prodImg_->setGeometry(496, 6, 48, 48);
  prodImg_->SetManager(manager);
  prodImg_->SetBackgroundName(QStringLiteral("prod\\ProdImg.bmp"));
  shape1_ = new TMyShape(s, QStringLiteral("Shape1"));
  shape1_->setGeometry(16, 60, 536, 108);
  shape1_->SetShape(TShapeType::RoundRect);
  shape1_->SetPenColor(0xC9B89A);
  shape1_->SetBrushColor(0xFAF6EC);
  specialListCaption_ = MakeLabel(s, "SpecialListCaption", 28, 100, 512, true);
  specialListCaption_->setAlignment(Qt::AlignCenter);

  summaryPnl_ = MakePanel(s, "SummaryPnl", 24, 66, 520, 96);
  const char* titles[] = {"Label2", "Label3", "Label4", "Label5"};
  const char* values[] = {"LetterLbl", "SortLbl", "SivugLbl", "KnowledgeLbl"};
  TTntLabel* valueLabels[4];
  for (int i = 0; i < 4; ++i) {
    MakeLabel(summaryPnl_, titles[i], 400, 4 + 23 * i, 112, true);
    valueLabels[i] = MakeLabel(summaryPnl_, values[i], 8, 4 + 23 * i, 388);
  }
  letterLbl_ = valueLabels[0];
  sortLbl_ = valueLabels[1];
  sivugLbl_ = valueLabels[2];
  knowledgeLbl_ = valueLabels[3];

  expLbl_ = MakeLabel(s, "ExpLbl", 40, 200, 488);
  expLbl_->setGeometry(40, 200, 488, 60);
  expLbl_->setWordWrap(true);
  expLbl_->setAlignment(Qt::AlignCenter);

  // Print panel: the layout choices, the right space and the print button.
  printPnl_ = MakePanel(s, "PrintPnl", 16, 176, 536, 236);
  MakeLabel(printPnl_, "Label6", 300, 0, 228, true);
  MakeLabel(printPnl_, "Label7", 300, 24, 228);
  cards8RB_ = radio(printPnl_, "Cards8RB", 500, 51);
  MakeLabel(printPnl_, "Label17", 240, 48, 252);
  cards4RB_ = radio(printPnl_, "Cards4RB", 500, 73);
  MakeLabel(printPnl_, "Label18", 240, 70, 252);
  pageBothRB_ = radio(printPnl_, "PageBothRB", 500, 95);
  MakeLabel(printPnl_, "Label19", 240, 92, 252);
  pageSeperateRB_ = radio(printPnl_, "PageSeperateRB", 500, 117);
  MakeLabel(printPnl_, "TntLabel1", 240, 114, 252);
  MakeLabel(printPnl_, "Label8", 340, 148, 188);
  rightSpaceEdt_ = MakeEdit(printPnl_, "RightSpaceEdt", 290, 148, 44);
  rightSpaceEdt_->setMaxLength(2);
  rightSpaceEdt_->installEventFilter(this);
  printBtn_ = button(printPnl_, "PrintBtn", QRect(198, 190, 140, 35), printCmd_, 15);
  printBtn_->SetX(45);  // the printer column of the sheet

  // MP3 panel: the folder, the group folders and the no-meanings choice.
  mp3PlayerPnl_ = MakePanel(s, "Mp3PlayerPnl", 16, 176, 536, 236);
  MakeLabel(mp3PlayerPnl_, "Label9", 300, 0, 228, true);
  MakeLabel(mp3PlayerPnl_, "Label10", 420, 32, 108);
  exportPathEdt_ = MakeEdit(mp3PlayerPnl_, "ExportPathEdt", 60, 32, 354);
  search2Btn_ = button(mp3PlayerPnl_, "Search2Btn", QRect(24, 29, 32, 22), searchCmp_, 6);
  SetFontColor(search2Btn_, 0x3C3C3C);
  createSubDirCB_ = MakeCheck(mp3PlayerPnl_, "CreateSubDirCB", 120, 64, 408);
  noHebrewCB_ = MakeCheck(mp3PlayerPnl_, "NoHebrewCB", 120, 90, 408);
  TTntLabel* label11 = MakeLabel(mp3PlayerPnl_, "Label11", 24, 124, 504);
  label11->setWordWrap(true);
  label11->resize(504, 36);
  mp3Btn_ = button(mp3PlayerPnl_, "Mp3Btn", QRect(198, 190, 140, 35), printCmd_, 15);

  // CD panel: the folder and the tracks choice.
  cdPnl_ = MakePanel(s, "CDPnl", 16, 176, 536, 236);
  MakeLabel(cdPnl_, "Label12", 300, 0, 228, true);
  MakeLabel(cdPnl_, "Label13", 420, 32, 108);
  exportPath2Edt_ = MakeEdit(cdPnl_, "ExportPath2Edt", 60, 32, 354);
  searchBtn_ = button(cdPnl_, "SearchBtn", QRect(24, 29, 32, 22), searchCmp_, 6);
  SetFontColor(searchBtn_, 0x3C3C3C);
  MakeLabel(cdPnl_, "Label14", 420, 66, 108);
  tracksByCombo_ = new QComboBox(cdPnl_);
  tracksByCombo_->setObjectName(QStringLiteral("TracksByCombo"));
  tracksByCombo_->setGeometry(160, 64, 254, 22);
  tracksByCombo_->setFont(WinFont(QStringLiteral("Arial"), 0, -13));
  TTntLabel* label15 = MakeLabel(cdPnl_, "Label15", 24, 100, 504);
  label15->setWordWrap(true);
  label15->resize(504, 36);
  MakeLabel(cdPnl_, "Label16", 24, 140, 504);
  cdBtn_ = button(cdPnl_, "CdBtn", QRect(198, 190, 140, 35), printCmd_, 15);

  backToPrefBtn_ = button(s, "BackToPrefBtn", QRect(222, 417, 124, 26), backCmp_, 10);
  SetAnchors(backToPrefBtn_, TAnchorKind::Right | TAnchorKind::Bottom);
  // In a view wider than the page the summary keeps to the reading side, as the back button
  // does; mirroring turns these anchors to the left.
  for (QWidget* child : summaryPage_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (GetAnchors(child) == kDefaultAnchors) SetAnchors(child, TAnchorKind::Top | TAnchorKind::Right);
  loading.Finish();

  connect(backToPrefBtn_, &TNBase::OnClick, this, &TProdForm::BackToPrefBtnClick);
  for (TNButton* b : {cards8RB_, cards4RB_, pageBothRB_, pageSeperateRB_}) {
    connect(b, &TNBase::OnClick, this, [this, b] { Cards8RBClick(b); });
  }
  const std::pair<const char*, TNButton*> choiceLabels[] = {
      {"Label17", cards8RB_}, {"Label18", cards4RB_}, {"Label19", pageBothRB_}, {"TntLabel1", pageSeperateRB_}};
  for (const auto& [name, b] : choiceLabels) {
    connect(FindComponent<TTntLabel>(printPnl_, QString::fromLatin1(name)), &TTntLabel::OnClick, this,
            [this, b = b] { Cards8RBClick(b); });
  }
  connect(search2Btn_, &TNBase::OnClick, this, &TProdForm::DirSearchBtnClick);
  connect(searchBtn_, &TNBase::OnClick, this, &TProdForm::SearchPath2BtnClick);
  connect(printBtn_, &TNBase::OnClick, this, &TProdForm::PrintBtnClick);
  connect(mp3Btn_, &TNBase::OnClick, this, &TProdForm::Mp3BtnClick);
  connect(cdBtn_, &TNBase::OnClick, this, &TProdForm::CdBtnClick);

  // FormCreate.
  LoadSettings();
  noHebrewCB_->setVisible(Central().AppType().ShowNoHebrewOption());
  for (QWidget* p : {printPnl_, mp3PlayerPnl_, cdPnl_}) p->hide();
}

TProdForm::~TProdForm() {
  // FormDestroy: the settings are written back once, when the view goes.
  Guarded([this] { SaveSettings(); });
  // The options page is lent by the main window: it outlives this view.
  if (options_ && options_->parent() == introPage_) {
    options_->hide();
    options_->setParent(nullptr);
  }
}

void TProdForm::LoadSettings() {
  const TRegistryIniFile& settings = Central().Settings();
  const QString section = QString::fromLatin1(kSection);
  storedPrintKind_ = settings.ReadInteger(section, QStringLiteral("PrintKind"), 1);
  exportPathEdt_->setText(ReadWideSetting(settings, section, QStringLiteral("Mp3ExportPath"), DefaultFolder("Mp3")));
  exportPath2Edt_->setText(ReadWideSetting(settings, section, QStringLiteral("CDExportPath"), DefaultFolder("CD")));
  noHebrewCB_->setChecked(settings.ReadBool(section, QStringLiteral("Mp3NoHebrew"), false));
  createSubDirCB_->setChecked(settings.ReadBool(section, QStringLiteral("Mp3CreateSubDir"), false));
  storedTracksBy_ = settings.ReadInteger(section, QStringLiteral("TracksBy"), 0);
  rightSpaceEdt_->setText(QString::fromLatin1(settings.ReadString(section, QStringLiteral("RightSpace"), "0")));
}

int TProdForm::PrintKind() const {
  if (cards8RB_->Down()) return 1;
  if (cards4RB_->Down()) return 2;
  if (pageBothRB_->Down()) return 3;
  if (pageSeperateRB_->Down()) return 4;
  // Never shown: the stored choice, as the first showing would have pressed it.
  return storedPrintKind_ >= 1 && storedPrintKind_ <= 3 ? storedPrintKind_ : 4;
}

void TProdForm::SaveSettings() {
  TRegistryIniFile& settings = Central().Settings();
  const QString section = QString::fromLatin1(kSection);
  TRegistryBatch batch(settings);
  settings.WriteInteger(section, QStringLiteral("PrintKind"), PrintKind());
  WriteWideSetting(settings, section, QStringLiteral("Mp3ExportPath"), exportPathEdt_->text());
  WriteWideSetting(settings, section, QStringLiteral("CDExportPath"), exportPath2Edt_->text());
  settings.WriteBool(section, QStringLiteral("Mp3NoHebrew"), noHebrewCB_->isChecked());
  settings.WriteBool(section, QStringLiteral("Mp3CreateSubDir"), createSubDirCB_->isChecked());
  const int tracksBy = tracksByCombo_->currentIndex() >= 0 ? tracksByCombo_->currentIndex()
                                                           : Clamp(storedTracksBy_, 0, kTracksByItems - 1);
  settings.WriteInteger(section, QStringLiteral("TracksBy"), tracksBy);
  settings.WriteString(section, QStringLiteral("RightSpace"), rightSpaceEdt_->text().toLatin1());
  batch.Commit();
}

void TProdForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!firstShow_) return;
  firstShow_ = false;
  Guarded([this] {
    const int kind = storedPrintKind_;
    Cards8RBClick(kind == 1 ? cards8RB_ : kind == 2 ? cards4RB_ : kind == 3 ? pageBothRB_ : pageSeperateRB_);
  });
}

bool TProdForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == rightSpaceEdt_ && event->type() == QEvent::KeyPress) {
    // Only digits and backspace are typed; keys that type nothing (arrows, delete) pass.
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    const bool typesCharacter = !text.isEmpty() && text[0].isPrint();
    if (typesCharacter && !(text[0] >= u'0' && text[0] <= u'9')) return true;
  }
  return QWidget::eventFilter(watched, event);
}

bool TProdForm::IntroShowing() const { return notebook_->currentWidget() == introPage_; }

void TProdForm::ShowIntro() {
  notebook_->setCurrentWidget(introPage_);
  panel_ = kNoPanel;
  if (!options_) return;
  options_->setParent(introPage_);
  options_->setGeometry(notebook_->rect());
  options_->show();
  options_->Setup(kModeProd, false, [this] { ShowSummary(); });
}

void TProdForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  notebook_->setGeometry(rect());
  if (options_ && options_->parentWidget() == introPage_) options_->setGeometry(notebook_->rect());
}

void TProdForm::ReloadOptions() {
  if (options_) options_->Setup(kModeProd, true, [this] { ShowSummary(); });
}

void TProdForm::SaveOptionsIfIntro() {
  if (IntroShowing() && options_) options_->SaveOptions();
}

void TProdForm::ShowPanel(TPanel panel) {
  SaveOptionsIfIntro();
  ShowSummary();
  expLbl_->hide();
  printPnl_->setVisible(panel == kPrintPanel);
  mp3PlayerPnl_->setVisible(panel == kMp3Panel);
  cdPnl_->setVisible(panel == kCdPanel);
  // Printing shows the printer; the sound outputs keep the note.
  prodImg_->SetBackgroundName(panel == kPrintPanel ? QStringLiteral("prod\\PrintImg.bmp") : QStringLiteral("prod\\ProdImg.bmp"));
  panel_ = panel;
}

void TProdForm::ShowSpecialList() { ShowSummary(); }

void TProdForm::ShowSummary() {
  notebook_->setCurrentWidget(summaryPage_);
  ReloadOptions();
  panel_ = kNoPanel;
  prodImg_->SetBackgroundName(QStringLiteral("prod\\ProdImg.bmp"));
  if (options_) {
    const TOptionValues& v = options_->Values();
    const TLanguagePack* pack = Central().CurrentLanguagePack();
    const auto letter = [&](int index) { return pack ? pack->GetLetterLabel(index) : QString(); };
    if (v.Range == kRangeSingle) {
      letterLbl_->SetCaption(TWStr::Format(ViewText("ProdForm.OneLetterCaption"), {letter(options_->GetFromLetter())}));
    } else if (v.Range == kRangeSpan) {
      letterLbl_->SetCaption(TWStr::Format(ViewText("ProdForm.LetterRangeCaption"),
                                           {letter(options_->GetFromLetter()), letter(options_->GetToLetter())}));
    } else {
      letterLbl_->SetCaption(ViewText("ProdForm.AllLettersCaption"));
    }
    sortLbl_->SetCaption(ViewText(v.Order == 1 ? "ProdForm.AlphaBetOrder" : "ProdForm.BySubjectOrder"));
    const qint32 subject = options_->GetSubjectId();
    const qint32 subSubject = options_->GetSubSubjectId();
    if (subject == -2 && subSubject == -2) {
      sivugLbl_->SetCaption(ViewText("ProdForm.AllSubject"));
    } else if (subject == -2) {
      sivugLbl_->SetCaption(TWStr::Format(ViewText("ProdForm.SubSubject"), {options_->SubjectNameById(subSubject)}));
    } else if (subSubject == -2) {
      sivugLbl_->SetCaption(options_->SubjectNameById(subject));
    } else {
      sivugLbl_->SetCaption(options_->SubjectNameById(subject) + QStringLiteral(" / ") +
                            options_->SubjectNameById(subSubject));
    }
    const char* know = v.Know == 3 ? "K3Lbl" : v.Know == 2 ? "K2Lbl" : "K1Lbl";
    if (auto* label = FindComponent<TTntLabel>(options_, QString::fromLatin1(know))) knowledgeLbl_->SetCaption(label->Caption());
    const bool special = !options_->ProdWords.isEmpty();
    summaryPnl_->setVisible(!special);
    specialListCaption_->setVisible(special);
    if (special) {
      specialListCaption_->SetCaption(TWStr::Format(ViewText("ProdForm.SpecialListCaption"), {options_->ProdTitle}));
    }
  }
  expLbl_->show();
  for (QWidget* p : {printPnl_, mp3PlayerPnl_, cdPnl_}) p->hide();
}

void TProdForm::LetterChosen() {
  if (!options_) return;
  if (!IntroShowing()) {
    options_->SaveCurrentLetter();
    ShowIntro();
  } else {
    options_->TakeCurrentLetter();
    options_->LetterRangeClick(kRangeSingle);
  }
}

void TProdForm::Refresh() {
  const TPanel shown = panel_;
  if (options_) options_->Setup(kModeProd, false, [this] { ShowSummary(); });
  if (shown != kNoPanel) {
    ShowPanel(shown);
  } else {
    ShowIntro();
  }
}

void TProdForm::BackToPrefBtnClick() {
  if (OnBackToOptions) {
    OnBackToOptions();
  } else {
    ShowIntro();
  }
}

void TProdForm::Cards8RBClick(TNButton* clicked) {
  for (TNButton* b : {cards8RB_, cards4RB_, pageBothRB_, pageSeperateRB_}) b->SetDown(b == clicked);
}

void TProdForm::DirSearchBtnClick() {
  QString path = exportPathEdt_->text();
  if (BrowseFolder(window(), ViewText("ProdForm.ChooseDirectory"), path)) exportPathEdt_->setText(path);
}

void TProdForm::SearchPath2BtnClick() {
  QString path = exportPath2Edt_->text();
  if (BrowseFolder(window(), ViewText("ProdForm.ChooseDirectory"), path)) exportPath2Edt_->setText(path);
}

bool TProdForm::SortBySubject() const {
  return options_ && options_->Values().Order != 1 && !summaryPnl_->isHidden();
}

bool TProdForm::CollectWords(TWordItemList& target, const QString& captionKey, const QString& actionKey,
                             const QString& noWordsKey) {
  ReloadOptions();
  if (!options_) return false;
  const int know = options_->Values().Know;
  const quint8 wordChoice = know == 2 ? 1 : know == 1 ? 2 : 0;
  QStringList ids;
  bool serverFailed = false;
  const bool fromServer = !summaryPnl_->isHidden();
  const bool completed = host_.ProgressRunner().RunJob(5, ViewText("ProdForm.CollectingData"), [&](IProgress& progress) {
    progress.Step();
    if (fromServer) {
      const TLanguagePack* pack = Central().CurrentLanguagePack();
      serverFailed = !Central().Client().GetFilterList(
          ids, static_cast<quint8>(options_->GetFromLetter()), static_cast<quint8>(options_->GetToLetter()), wordChoice,
          pack ? pack->GetCode() : 0, options_->GetSubjectId(), options_->GetSubSubjectId());
    } else {
      ids = options_->ProdWords;
    }
  });
  // A job that did not complete has reported its failure already.
  if (!completed) return false;
  if (serverFailed) {
    host_.ShowConnectionError();
    return false;
  }
  target.clear();
  const TWordList* words = Central().CurrentWordList();
  for (const QString& id : ids) {
    bool ok = false;
    const qint32 number = id.toInt(&ok);
    // An id the word list does not hold has no word to produce.
    TWord* word = ok && words ? words->FindById(number) : nullptr;
    if (word) target.append({word->Headword, word});
  }
  if (target.isEmpty()) {
    host_.MessageService().ShowMessageWithLinks(ViewText(captionKey), ViewText(noWordsKey), {});
    return false;
  }
  return host_.MessageService().AskYesNo(ViewText(captionKey),
                                         TWStr::Format(ViewText(actionKey), {static_cast<qint32>(target.size())}),
                                         kButtonOK | kButtonCancel);
}

void TProdForm::PrintBtnClick() {
  const int rightSpace = ParseRightSpace(rightSpaceEdt_->text());
  TWordItemList words;
  if (!CollectWords(words, "OutputPrintCaption", "OutputPrintAction", "OutputPrintNoWords")) return;
  TZabkolexCentral& central = Central();
  const TAppTypeSpecific& app = central.AppType();
  const TLanguagePack* pack = central.CurrentLanguagePack();
  if (SortBySubject()) {
    std::stable_sort(words.begin(), words.end(),
                     [](const TWordItem& a, const TWordItem& b) { return CompareWordItems(a.Word, b.Word) < 0; });
  } else {
    pack->SortTexts(words);
  }
  // The card background; a missing bitmap fails with the skin kit's message.
  const int drawer = manager_->GetDrawer(app.GetCardsPrintBitmap());
  const auto* bitmap = dynamic_cast<const TNBitmapDrawer*>(manager_->Drawer(drawer));
  std::unique_ptr<IPrinterCanvas> canvas =
      MakePrinterCanvas ? MakePrinterCanvas() : std::make_unique<TQtPrinterCanvas>(window());
  TPrintServices services;
  services.Canvas = canvas.get();
  services.Progress = &host_.ProgressRunner();
  services.Messages = &host_.MessageService();
  services.Texts = &central.Strings();
  services.AppType = &app;
  services.Pack = pack;
  if (bitmap) services.Background = bitmap->Bitmap();
  TProdPrinter printer(services, !app.EnglishInterface(), pack->GetCardFontName(), pack->GetCardSecondFontName(),
                       pack->GetCardFontSize(), pack->GetCardSecondFontSize());
  printer.SetWordList(words);
  printer.SetRightSpace(rightSpace);
  if (cards8RB_->Down()) {
    printer.PrintCards(TProdPrinter::kCards8);
  } else if (cards4RB_->Down()) {
    printer.PrintCards(TProdPrinter::kCards4);
  } else if (pageBothRB_->Down()) {
    printer.PrintHalfPages(true);
  } else {
    printer.PrintHalfPages(false);
  }
}

namespace {

TProdServices AudioServices(IViewHost& host) {
  TZabkolexCentral& central = Central();
  if (!central.ResManager()) central.BuildAudioResources();
  TProdServices s;
  s.ResManager = central.ResManager();
  s.Pack = central.CurrentLanguagePack();
  s.Texts = &central.Strings();
  s.AppType = &central.AppType();
  s.Progress = &host.ProgressRunner();
  s.Messages = &host.MessageService();
  IFlowClock* clock = &host.FlowClock();
  s.Clock = [clock] { return clock->Now(); };
  return s;
}

}  // namespace

void TProdForm::Mp3BtnClick() {
  TWordItemList words;
  if (!CollectWords(words, "OutputMp3Caption", "OutputMp3Action", "OutputMp3NoWords")) return;
  TProdMp3s producer(AudioServices(host_), *Central().CurrentWordList());
  producer.SetWordList(words);
  producer.SetSubFolders(createSubDirCB_->isChecked());
  producer.SetNoMeanings(noHebrewCB_->isChecked() || Central().AppType().ForceMp3NoHebrew());
  producer.SetOutputFolder(exportPathEdt_->text());
  producer.SetSortKind(SortBySubject() ? TProdAudio::kSubjectOrder : TProdAudio::kLanguageOrder);
  producer.Produce();
}

void TProdForm::CdBtnClick() {
  TWordItemList words;
  if (!CollectWords(words, "OutputDiscCaption", "OutputDiscAction", "OutputDiscNoWords")) return;
  TProdCD producer(AudioServices(host_));
  producer.SetWordList(words);
  producer.SetOutputFolder(exportPath2Edt_->text());
  producer.SetSortKind(SortBySubject() ? TProdAudio::kSubjectOrder : TProdAudio::kLanguageOrder);
  const int index = tracksByCombo_->currentIndex();
  producer.SetTracksBy(index >= 0 && index < kTracksByItems ? index : 1);
  producer.Produce();
}

void TProdForm::LoadCaptions() {
  QList<TTntLabel*> labels;
  for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "ExpLbl", "Label12", "Label13", "Label14",
                           "Label15", "Label16", "Label9", "Label10", "Label11", "Label6", "Label7", "Label8",
                           "Label17", "Label18", "Label19", "TntLabel1"})
    labels << FindComponent<TTntLabel>(summaryPage_, QString::fromLatin1(name));
  ApplyLabelTexts(QStringLiteral("ProdForm"), labels, false);
  // A label sized to its caption, on the side the form reads from, and the controls beside it.
  const bool leftToRight = layoutDirection() == Qt::LeftToRight;
  // Names are looked up on the summary page only: the docked options page has labels of the
  // same names.
  const auto row = [this, leftToRight](std::initializer_list<const char*> names) {
    QList<QWidget*> controls;
    for (const char* n : names) controls << FindComponent<QWidget>(summaryPage_, QString::fromLatin1(n));
    auto* label = static_cast<TTntLabel*>(controls.first());
    const int right = label->x() + label->width();
    label->resize(label->fontMetrics().horizontalAdvance(label->Caption()) + 6, label->height());
    if (!leftToRight) label->move(right - label->width(), label->y());
    ArrangeInRow(controls);
  };
  row({"Label10", "ExportPathEdt", "Search2Btn"});
  row({"Label13", "ExportPath2Edt", "SearchBtn"});
  row({"Label14", "TracksByCombo"});
  row({"Label8", "RightSpaceEdt"});
  tracksByCombo_->clear();
  for (int i = 1; i <= kTracksByItems; ++i) tracksByCombo_->addItem(ViewText(QStringLiteral("ProdForm.CDOption%1").arg(i)));
  tracksByCombo_->setCurrentIndex(Clamp(storedTracksBy_, 0, tracksByCombo_->count() - 1));
  createSubDirCB_->setText(ViewText("ProdForm.SubDirCB"));
  noHebrewCB_->setText(ViewText("ProdForm.NoHebrewCB"));
  backToPrefBtn_->SetCaption(ViewText("ProdForm.BackToPrefBtn.Caption"));
  search2Btn_->SetCaption(QStringLiteral("..."));
  searchBtn_->SetCaption(QStringLiteral("..."));
  printBtn_->SetCaption(ViewText("ProdForm.PrintBtn.Caption"));
  mp3Btn_->SetCaption(ViewText("ProdForm.Mp3Btn.Caption"));
  cdBtn_->SetCaption(ViewText("ProdForm.CDBtn.Caption"));
}

void TProdForm::ApplyLeftToRight() {
  const auto fontSize = [](TNButton* b, int size) {
    QFont f = b->font();
    SetWinFontSize(f, size);
    b->setFont(f);
  };
  for (TNButton* b : {backToPrefBtn_, search2Btn_, searchBtn_}) {
    fontSize(b, 9);
    b->setLayoutDirection(Qt::LeftToRight);
  }
  for (TNButton* b : {printBtn_, mp3Btn_, cdBtn_}) fontSize(b, 11);
  for (QWidget* w : {static_cast<QWidget*>(backToPrefBtn_), static_cast<QWidget*>(FindComponent<QWidget>(summaryPage_, "Label1")),
                     static_cast<QWidget*>(specialListCaption_), static_cast<QWidget*>(shape1_),
                     static_cast<QWidget*>(expLbl_), static_cast<QWidget*>(prodImg_)}) {
    MirrorControl(w);
    SetAnchors(w, TAnchorKind::Left | TAnchorKind::Top);
  }
  for (QWidget* panel : {summaryPnl_, mp3PlayerPnl_, cdPnl_, printPnl_}) {
    MirrorControl(panel);
    MirrorChildren(panel, true);
  }
  noHebrewCB_->hide();
  for (TTntLabel* label : summaryPage_->findChildren<TTntLabel*>()) {
    if (label->alignment() & Qt::AlignRight) label->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
  }
  setLayoutDirection(Qt::LeftToRight);
}

}  // namespace zabko
