#include "game/floating_menu.h"

#include "core/zabkolex_strings.h"
#include "game/zabko_game_main_form.h"
#include "platform/exception_handler.h"
#include "ui/alpha_blend_form.h"
#include "ui/form_loading.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"

#include <QKeyEvent>

#include <memory>

namespace zabko {

namespace {
constexpr int kWidth = 260, kHeight = 318;
}

TFloatingMenu::TFloatingMenu(TZabkoGameMainForm& main) : TGameDialog(main, QStringLiteral("FloatingMenu"), kWidth, kHeight) {
  TFormLoading loading(this);
  MakeCaptionPanel(QString::fromUtf8("המשחק מושהה"));
  TNBitmapComponent* sheet = MakeSheet(this, "MenuBtnsCmp", Manager(), QStringLiteral("Dialogs\\MenuBtns.bmp"));
  const char* const names[] = {"ExitGameBtn", "NewGameBtn", "CustomGameBtn", "CloseBtn"};
  for (int i = 0; i < 4; ++i) {
    MakeSheetButton(this, names[i], Manager(), sheet, kButtonWidth * i,
                    QRect((kWidth - kButtonWidth) / 2, 58 + i * (kButtonHeight + 12), kButtonWidth, kButtonHeight));
  }
  TTntLabel* hint =
      MakeDialogLabel(this, "ContinueLbl", QRect(20, 58 + 4 * (kButtonHeight + 12), kWidth - 40, 24),
                      QString::fromUtf8("להמשך המשחק לחצו Esc"), 14);
  hint->setAlignment(Qt::AlignCenter);
  loading.Finish();

  const auto on = [this](const char* name, void (TFloatingMenu::*handler)()) {
    connect(FindComponent<TNButton>(this, QString::fromLatin1(name)), &TNBase::OnClick, this, handler);
  };
  on("CloseBtn", &TFloatingMenu::CloseBtnClick);
  on("ExitGameBtn", &TFloatingMenu::ExitGameBtnClick);
  on("NewGameBtn", &TFloatingMenu::NewGameBtnClick);
  on("CustomGameBtn", &TFloatingMenu::CustomGameBtnClick);
  ClipToBackshape();
}

void TFloatingMenu::FormShow() { continue_ = false; }

void TFloatingMenu::FormKeyPress(int key) {
  if (key != 27) return;
  continue_ = true;
  SetModalResult(mrCancel);
}

bool TFloatingMenu::AskOverCover(const QString& text, const std::function<void()>& onYes) {
  std::unique_ptr<TAlphaBlendForm> cover(ShowDimmer(50, true));
  const bool yes = Main().Confirm(text);
  if (yes && onYes) onYes();
  return yes;
}

void TFloatingMenu::CloseBtnClick() {
  const TZabkolexStrings& texts = Main().Strings();
  if (!AskOverCover(texts.GetString(QStringLiteral("FloatingMenu.NoPoints")) + QStringLiteral("\n\r") +
                    texts.GetString(QStringLiteral("FloatingMenu.Quit")))) {
    return;
  }
  SetModalResult(mrOk);
  Main().QuitNow();
}

void TFloatingMenu::ExitGameBtnClick() {
  SetModalResult(mrOk);
  if (Main().OnEndGame) Main().OnEndGame();
}

QString TFloatingMenu::NewGameQuestion() const {
  return Main().Strings().GetString(QStringLiteral("FloatingMenu.NewGame"));
}

void TFloatingMenu::NewGameBtnClick() {
  if (!AskOverCover(NewGameQuestion())) return;
  SetModalResult(mrOk);
  Main().PlayAgain();
}

void TFloatingMenu::CustomGameBtnClick() {
  bool started = false;
  AskOverCover(NewGameQuestion(), [&] { started = Main().CustomGame(); });
  if (started) SetModalResult(mrOk);
}

void TFloatingMenu::showEvent(QShowEvent* event) {
  TGameDialog::showEvent(event);
  Guarded([this] { FormShow(); });
}

void TFloatingMenu::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    Guarded([this] { FormKeyPress(27); });
    return;
  }
  TGameDialog::keyPressEvent(event);
}

}  // namespace zabko
