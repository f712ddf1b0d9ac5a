#include "game/custom_game_form.h"

#include "core/language_pack.h"
#include "core/zabkolex_strings.h"
#include "game/zabko_game_main_form.h"
#include "platform/code_page.h"
#include "platform/exception_handler.h"
#include "ui/component.h"
#include "ui/event_guard.h"
#include "ui/form_loading.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

namespace zabko {

namespace {

constexpr int kWidth = 420, kHeight = 300;
constexpr int kHebrewLetters = 22, kEnglishLetters = 26;

template <class T>
T* Make(QWidget* parent, const char* name, const QRect& geometry, const QString& caption = {}) {
  auto* control = new T(parent);
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(geometry);
  control->setFont(WinFont(QStringLiteral("Arial"), 0, -15));
  if constexpr (!std::is_same_v<T, QComboBox>) control->setText(caption);
  return control;
}

}  // namespace

TCustomGameForm::TCustomGameForm(TZabkoGameMainForm& main)
    : TGameDialog(main, QStringLiteral("CustomGameForm"), kWidth, kHeight) {
  TFormLoading loading(this);
  MakeCaptionPanel(QString::fromUtf8("משחק מותאם אישית"));
  MakeDialogLabel(this, "Label1", QRect(220, 58, 176, 24), QString::fromUtf8("שפת המילים:"), 15, true);
  hebrewRB_ = Make<QRadioButton>(this, "HebrewRB", QRect(216, 86, 180, 24), QString::fromUtf8("משחק בעברית"));
  englishRB_ = Make<QRadioButton>(this, "EnglishRB", QRect(24, 86, 180, 24), QString::fromUtf8("משחק באנגלית"));
  hebrewRB_->setChecked(true);
  MakeDialogLabel(this, "Label2", QRect(140, 122, 256, 24), QString::fromUtf8("מילים שמתחילות באותיות:"), 15, true);
  MakeDialogLabel(this, "Label3", QRect(346, 152, 50, 26), QString::fromUtf8("מ-"), 15);
  fromLetterCB_ = Make<QComboBox>(this, "FromLetterCB", QRect(266, 152, 76, 26));
  MakeDialogLabel(this, "Label4", QRect(196, 152, 50, 26), QString::fromUtf8("עד"), 15);
  toLetterCB_ = Make<QComboBox>(this, "ToLetterCB", QRect(116, 152, 76, 26));
  for (int i = 0; i < kHebrewLetters; ++i) {
    fromLetterCB_->addItem(THebrewLanguage::LanguageClass().GetLetter(i));
    toLetterCB_->addItem(THebrewLanguage::LanguageClass().GetLetter(i));
  }
  // No selection until the first showing picks the whole alphabet (a combo selects its first
  // item as it is added).
  fromLetterCB_->setCurrentIndex(-1);
  toLetterCB_->setCurrentIndex(-1);
  updateServerCB_ = Make<QCheckBox>(this, "UpdateServerCB", QRect(60, 192, 336, 26),
                                    QString::fromUtf8("לעדכן את ההתקדמות שלי בזבקולקס"));
  updateServerCB_->setChecked(true);
  MakeSheetButton(this, "QuestionMarkBtn", Manager(),
                  MakeSheet(this, "QuestionBtnCmp", Manager(), QStringLiteral("Dialogs\\QuestionBtn.bmp")), 0,
                  QRect(26, 193, 24, 24));
  // Laid over the update choice when it is not offered; the game offers it.
  auto* hidePanel = new QWidget(this);
  hidePanel->setObjectName(QStringLiteral("HideUpdateOptionPnl"));
  hidePanel->setGeometry(20, 188, 380, 34);
  hidePanel->setAutoFillBackground(true);
  SetBackgroundColor(hidePanel, kDialogFace);
  hidePanel->hide();
  MakeDialogButton("NButton1", dbOk, kWidth / 2 + 10, kHeight - kButtonHeight - 18);
  MakeDialogButton("NButton2", dbCancel, kWidth / 2 - 10 - kButtonWidth, kHeight - kButtonHeight - 18);
  loading.Finish();

  for (QRadioButton* radio : {hebrewRB_, englishRB_}) {
    connect(radio, &QRadioButton::clicked, this, GuardedSlot([this](bool) { EnglishCBClick(); }));
  }
  connect(fromLetterCB_, &QComboBox::activated, this, GuardedSlot([this](int) { FromLetterCBChange(); }));
  connect(toLetterCB_, &QComboBox::activated, this, GuardedSlot([this](int) { ToLetterCBChange(); }));
  const auto on = [this](const char* name, void (TCustomGameForm::*handler)()) {
    connect(FindComponent<TNButton>(this, QString::fromLatin1(name)), &TNBase::OnClick, this, handler);
  };
  on("QuestionMarkBtn", &TCustomGameForm::QuestionMarkBtnClick);
  on("NButton1", &TCustomGameForm::NButton1Click);
  on("NButton2", &TCustomGameForm::NButton2Click);
  ClipToBackshape();
}

int TCustomGameForm::FirstLetter() const { return fromLetterCB_->currentIndex(); }
int TCustomGameForm::LastLetter() const { return toLetterCB_->currentIndex(); }
bool TCustomGameForm::UpdateWanted() const { return updateServerCB_->isChecked(); }
bool TCustomGameForm::EnglishChosen() const { return englishRB_->isChecked(); }

void TCustomGameForm::FormShow() {
  if (fromLetterCB_->currentIndex() < 0) fromLetterCB_->setCurrentIndex(0);
  if (toLetterCB_->currentIndex() < 0) toLetterCB_->setCurrentIndex(kHebrewLetters - 1);
}

void TCustomGameForm::EnglishCBClick() { FillLetters(); }

void TCustomGameForm::FillLetters() {
  const int count = englishRB_->isChecked() ? kEnglishLetters : kHebrewLetters;
  const TLanguageClass& language = Main().LanguageClass();
  QStringList letters;
  for (int i = 0; i < count; ++i) letters << language.GetLetterLabel(i);
  for (QComboBox* combo : {fromLetterCB_, toLetterCB_}) {
    combo->clear();
    combo->addItems(letters);
    combo->setCurrentIndex(0);
  }
}

void TCustomGameForm::FromLetterCBChange() {
  if (toLetterCB_->currentIndex() < fromLetterCB_->currentIndex()) toLetterCB_->setCurrentIndex(fromLetterCB_->currentIndex());
}

void TCustomGameForm::ToLetterCBChange() {
  if (toLetterCB_->currentIndex() < fromLetterCB_->currentIndex()) fromLetterCB_->setCurrentIndex(toLetterCB_->currentIndex());
}

void TCustomGameForm::QuestionMarkBtnClick() {
  const TZabkolexStrings& texts = Main().Strings();
  const QString help = texts.GetString(QStringLiteral("CustomGameForm.QuestionMark1")) + QStringLiteral("\n\r") +
                       texts.GetString(QStringLiteral("CustomGameForm.QuestionMark2"));
  // The box took 8-bit text: what the code page cannot hold does not survive.
  Main().ShowMessage(SystemCodePageToWide(WideToSystemCodePage(help)));
}

void TCustomGameForm::NButton1Click() { SetModalResult(mrOk); }
void TCustomGameForm::NButton2Click() { SetModalResult(mrCancel); }

void TCustomGameForm::showEvent(QShowEvent* event) {
  TGameDialog::showEvent(event);
  Guarded([this] { FormShow(); });
}

}  // namespace zabko
