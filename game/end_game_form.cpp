#include "game/end_game_form.h"

#include "core/language_pack.h"
#include "core/window_services.h"
#include "core/word.h"
#include "core/zabkolex_strings.h"
#include "game/game_dialog.h"
#include "game/zabko_game_main_form.h"
#include "platform/exception_handler.h"
#include "ui/component.h"
#include "ui/form_loading.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QLineEdit>

namespace zabko {

namespace {
constexpr int kWidth = 670, kHeight = 520;
// The figures' column: captions at the right, the numbers to their left.
constexpr int kCaptionLeft = 330, kCaptionWidth = 250, kValueLeft = 220, kValueWidth = 100;
// The name row: its caption, the field, the send button to its left, all on the board.
constexpr int kNameLeft = 210, kNameWidth = 140;
}  // namespace

TEndGameForm::TEndGameForm(TZabkoGameMainForm& main) : QWidget(&main), main_(main) {
  setObjectName(QStringLiteral("EndGameForm"));
  setLayoutDirection(Qt::RightToLeft);
  setGeometry(0, 0, kWidth, kHeight);
  hide();
  TNManager* manager = main.Manager();
  TFormLoading loading(this);
  auto* background = new TNStatic(this, QStringLiteral("BackgroundImg"));
  background->setGeometry(0, 0, kWidth, kHeight);
  background->SetManager(manager);
  background->SetBackgroundName(QStringLiteral("Dialogs\\EndGameBkg.bmp"));

  MakeDialogLabel(background, "TitleLbl", QRect(100, 40, 470, 40), QString::fromUtf8("המשחק הסתיים"), 30, true)
      ->setAlignment(Qt::AlignCenter);
  const auto figure = [&](const char* caption, const char* name, const char* text, int top) {
    MakeDialogLabel(background, caption, QRect(kCaptionLeft, top, kCaptionWidth, 30), QString::fromUtf8(text), 20, true);
    TTntLabel* value = MakeDialogLabel(background, name, QRect(kValueLeft, top, kValueWidth, 30), QStringLiteral("0"), 22, true);
    SetFontColor(value, kDialogInk);
    return value;
  };
  pointsLbl_ = figure("Label1", "PointsLbl", "נקודות:", 100);
  correctLbl_ = figure("Label2", "CorrectLbl", "תשובות נכונות:", 136);
  missedLbl_ = figure("Label3", "MissedLbl", "מילים שהוחמצו:", 172);
  MakeDialogLabel(background, "Label4", QRect(kCaptionLeft - 100, 214, kCaptionWidth + 100, 26),
                  QString::fromUtf8("מילים שכדאי לחזור עליהן:"), 17, true);
  for (int i = 0; i < kShownMissed; ++i) {
    const QByteArray name = "WrongLbl" + QByteArray::number(i + 1);
    wrongLbl_[i] = MakeDialogLabel(background, name.constData(), QRect(kValueLeft, 244 + i * 26, 360, 26), {}, 18);
  }
  MakeDialogLabel(background, "Label5", QRect(kCaptionLeft + 30, 384, kCaptionWidth - 30, 28),
                  QString::fromUtf8("שמכם לטבלת השיאים:"), 17, true);
  nameEdt_ = new QLineEdit(background);
  nameEdt_->setObjectName(QStringLiteral("NameEdt"));
  nameEdt_->setGeometry(kNameLeft, 384, kNameWidth, 28);
  nameEdt_->setFont(WinFont(QStringLiteral("Arial"), 0, -16));
  nameEdt_->setText(QString::fromUtf8("הקלידו את שמכם"));

  TNBitmapComponent* sheet = MakeSheet(this, "EndGameBtnsCmp", manager, QStringLiteral("Dialogs\\EndGameBtns.bmp"));
  sendResult_ = MakeSheetButton(background, "SendResult", manager, sheet, 0,
                                QRect(kNameLeft - 10 - kButtonWidth, 381, kButtonWidth, kButtonHeight));
  const char* const names[] = {"ExitBtn", "AnotherGameBtn", "TopTenBtn"};
  // Right to left along the bottom: another game, the top 10, the start screen.
  const int order[] = {2, 0, 1};
  for (int i = 0; i < 3; ++i) {
    MakeSheetButton(background, names[i], manager, sheet, kButtonWidth * (i + 1),
                    QRect(kWidth - 60 - kButtonWidth - order[i] * (kButtonWidth + 30), 450, kButtonWidth, kButtonHeight));
  }
  loading.Finish();

  const auto on = [this](const char* name, void (TEndGameForm::*handler)()) {
    connect(FindComponent<TNButton>(this, QString::fromLatin1(name)), &TNBase::OnClick, this, handler);
  };
  on("SendResult", &TEndGameForm::SendResultClick);
  on("ExitBtn", &TEndGameForm::ExitBtnClick);
  on("AnotherGameBtn", &TEndGameForm::AnotherGameBtnClick);
  on("TopTenBtn", &TEndGameForm::TopTenBtnClick);
}

void TEndGameForm::SetPoints(int points) { pointsLbl_->SetCaption(QString::number(points)); }
void TEndGameForm::SetCorrect(int correct) { correctLbl_->SetCaption(QString::number(correct)); }
void TEndGameForm::SetMissed(int missed) { missedLbl_->SetCaption(QString::number(missed)); }
int TEndGameForm::GetPoints() const { return pointsLbl_->Caption().toInt(); }
QString TEndGameForm::GetPlayerName() const { return nameEdt_->text(); }

void TEndGameForm::ShowMissedWords() {
  for (int i = 0; i < kShownMissed; ++i) {
    QString headword;
    if (i < missedWords_.Count() && main_.FindWord) {
      if (const TWord* word = main_.FindWord(missedWords_.Get(i))) headword = word->Headword;
    }
    wrongLbl_[i]->SetCaption(headword);
  }
}

void TEndGameForm::FormShow() {
  sendResult_->show();
  ShowMissedWords();
  const QString fontName = main_.LanguageClass().GetFontName();
  for (TTntLabel* label : {missedLbl_, wrongLbl_[0], wrongLbl_[1], wrongLbl_[2], wrongLbl_[3], wrongLbl_[4]}) {
    QFont font = label->font();
    SetWinFontName(font, fontName);
    label->setFont(font);
  }
  if (!firstShowing_) return;
  firstShowing_ = false;
  // These two fonts draw small at the same point size.
  if (fontName == QLatin1String("Traditional Arabic") || fontName == QLatin1String("Talitra")) {
    QFont font = missedLbl_->font();
    SetWinFontSize(font, MulDiv(font.pixelSize(), 72, 96) + 2);
    missedLbl_->setFont(font);
  }
  for (TTntLabel* label : wrongLbl_) {
    QFont font = label->font();
    font.setPixelSize(missedLbl_->font().pixelSize());
    label->setFont(font);
  }
}

void TEndGameForm::LoadTexts() { nameEdt_->setText(main_.Strings().GetString(QStringLiteral("EndGameForm.NameText"))); }

void TEndGameForm::SendResultClick() {
  main_.Progress().RunJob(2, main_.Strings().GetString(QStringLiteral("EndGameForm.SendingInfo")),
                          [this](IProgress& progress) { SendResultJob(progress); });
}

void TEndGameForm::SendResultJob(IProgress& progress) {
  progress.Step();
  if (!main_.Client().SendStats(1, GetPlayerName(), GetPoints())) return;
  nameEdt_->setEnabled(false);
  sendResult_->hide();
}

void TEndGameForm::ExitBtnClick() { main_.ShowPage(nullptr); }
void TEndGameForm::AnotherGameBtnClick() { main_.PlayAgain(); }
void TEndGameForm::TopTenBtnClick() { main_.Top10BtnClick(); }

void TEndGameForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Guarded([this] { FormShow(); });
}

}  // namespace zabko
