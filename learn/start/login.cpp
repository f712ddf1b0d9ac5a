#include "learn/start/login.h"

#include "core/app_type_specific.h"
#include "core/zabkolex_strings.h"
#include "learn/start/splash_form.h"
#include "net/zabkolex_central.h"
#include "net/zabkolex_client.h"
#include "net/zabkolex_flow.h"
#include "platform/code_page.h"
#include "platform/registry_ini_file.h"
#include "ui/event_guard.h"
#include "ui/form_loading.h"
#include "ui/mirror.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"
#include "ui/zabkolex_utils.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShowEvent>

namespace zabko {

namespace {

const QString kLogin = QStringLiteral("Login");

// The edits hold 8-bit text: what the code page cannot carry is shown as it will be sent.
void KeepCodePage(QLineEdit* edit) {
  const QString text = edit->text();
  const QString carried = Cp1255ToWide(WideToCp1255(text));
  if (carried != text) {
    const int cursor = edit->cursorPosition();
    edit->setText(carried);
    edit->setCursorPosition(cursor);
  }
}

}  // namespace

TLogin::TLogin(TNManager* manager, const TZabkolexStrings& strings, TSplashForm* splash, QWidget* parent)
    : TModalForm(parent, QStringLiteral("Login")), strings_(strings), splash_(splash) {
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setFixedSize(550, 400);
  setLayoutDirection(Qt::RightToLeft);
  setFont(WinFont(QStringLiteral("Arial"), 0, -15));

  TFormLoading loading(this);
  nStatic1_ = new TNStatic(this, QStringLiteral("NStatic1"));
  nStatic1_->setGeometry(0, 0, 550, 400);
  nStatic1_->SetManager(manager);
  nStatic1_->SetBackgroundName(QStringLiteral("Splash.bmp"));

  const QFont captionFont = WinFont(QStringLiteral("Arial"), 0, -17, TFontStyle::Bold);
  usernameLbl_ = new TTntLabel(nStatic1_, QStringLiteral("UsernameLbl"));
  usernameLbl_->setFont(captionFont);
  usernameLbl_->move(300, 158);
  passwordLbl_ = new TTntLabel(nStatic1_, QStringLiteral("PasswordLbl"));
  passwordLbl_->setFont(captionFont);
  passwordLbl_->move(300, 194);
  userNameEdt_ = MakeEdit("UserNameEdt", 155);
  passwordEdt_ = MakeEdit("PasswordEdt", 191);
  passwordEdt_->setEchoMode(QLineEdit::Password);

  btnCmp_ = new TNBitmapComponent(this, QStringLiteral("BtnCmp"));
  btnCmp_->SetManager(manager);
  btnCmp_->SetFilename(QStringLiteral("Login\\LoginBtns.bmp"));
  exitComponent_ = new TNBitmapComponent(this, QStringLiteral("exitComponent"));
  exitComponent_->SetManager(manager);
  exitComponent_->SetFilename(QStringLiteral("Login\\small_exit.bmp"));
  const auto makeButton = [&](const char* name, TNBitmapComponent* sheet, QRect rect, int x, int size) {
    auto* button = new TNButton(nStatic1_, QString::fromLatin1(name));
    button->setGeometry(rect);
    button->SetManager(manager);
    button->SetBitmapComponent(sheet);
    button->SetX(x);
    button->SetSize(size);
    button->setFont(WinFont(QStringLiteral("Arial"), 10, 0, TFontStyle::Bold));
    button->setCursor(Qt::PointingHandCursor);
    return button;
  };
  enterBtn_ = makeButton("EnterBtn", btnCmp_, QRect(140, 232, 50, 30), 0, 30);
  exitBtn_ = makeButton("ExitBtn", btnCmp_, QRect(88, 232, 48, 30), 90, 30);
  smallExitBtn_ = makeButton("smallExitBtn", exitComponent_, QRect(8, 8, 20, 20), 0, 0);

  notePanel_ = new QFrame(nStatic1_);
  notePanel_->setObjectName(QStringLiteral("NotePanel"));
  notePanel_->setFrameShape(QFrame::Box);
  notePanel_->setFrameShadow(QFrame::Sunken);
  notePanel_->setGeometry(24, 300, 502, 60);
  noteLbl_ = new TTntLabel(nStatic1_, QStringLiteral("NoteLbl"));
  noteLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -13, TFontStyle::Bold));
  warnLbl_ = new TTntLabel(nStatic1_, QStringLiteral("WarnLbl"));
  warnLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -13));
  warnLbl_->SetAutoSize(false);
  warnLbl_->setWordWrap(true);
  loading.Finish();

  connect(enterBtn_, &TNBase::OnClick, this, &TLogin::EnterBtnClick);
  connect(exitBtn_, &TNBase::OnClick, this, &TLogin::ExitBtnClick);
  connect(smallExitBtn_, &TNBase::OnClick, this, &TLogin::ExitBtnClick);
}

QLineEdit* TLogin::MakeEdit(const char* name, int top) {
  auto* edit = new QLineEdit(nStatic1_);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(160, top, 129, 25);
  edit->setLayoutDirection(Qt::LeftToRight);
  edit->installEventFilter(this);
  connect(edit, &QLineEdit::textEdited, this, GuardedSlot([edit](const QString&) { KeepCodePage(edit); }));
  return edit;
}

bool TLogin::RunLoginDialog(TZabkolexFlow& flow) {
  flow_ = &flow;
  CenterOnScreen();
  const int result = ShowModal();
  flow_ = nullptr;
  return result == mrOk;
}

void TLogin::showEvent(QShowEvent* event) {
  TModalForm::showEvent(event);
  if (!event->spontaneous()) Guarded([this] { FormShow(); });
}

void TLogin::FormShow() {
  TZabkolexCentral& central = Central();
  const TAppTypeSpecific& appType = central.AppType();
  TRegistryIniFile& settings = central.Settings();
  for (QWidget* control : QList<QWidget*>{usernameLbl_, passwordLbl_, userNameEdt_, passwordEdt_, enterBtn_})
    control->show();
  userNameEdt_->setText(Cp1255ToWide(settings.ReadString(kLogin, QStringLiteral("User"), QByteArray())));
  if (appType.RememberPassword()) {
    passwordEdt_->setText(Cp1255ToWide(settings.ReadString(kLogin, QStringLiteral("Password"), QByteArray())));
  } else {
    passwordEdt_->clear();
    passwordEdt_->setFocus();
  }

  // The notice: its text two lines high, the frame round both labels at the bottom.
  warnLbl_->SetCaption(strings_.GetString(QStringLiteral("LoginWarnLblCaption")));
  warnLbl_->setGeometry(34, 0, 482, 2 * warnLbl_->fontMetrics().height());
  notePanel_->setGeometry(24, 0, 502, warnLbl_->height() + noteLbl_->height() + 15);
  notePanel_->move(24, height() - notePanel_->height() - 18);
  const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
  const int noteLeft = rightToLeft ? notePanel_->geometry().right() - 10 - noteLbl_->width() : 34;
  noteLbl_->move(noteLeft, notePanel_->y() + 5);
  warnLbl_->move(34, noteLbl_->y() + noteLbl_->height() + 3);

  // The keyboard layout belongs to the desktop here: nothing is switched.

  if (splash_) {
    for (QWidget* brand : splash_->BrandControls()) {
      if (brand->parentWidget() == nStatic1_) continue;
      const bool shown = brand->isVisibleTo(splash_);
      const QPoint at = brand->pos();
      brand->setParent(nStatic1_);
      brand->move(at);
      brand->setVisible(shown);
      brand->raise();
    }
  }

  if (appType.LoginCompactButtons()) enterBtn_->SetX(90);
  exitBtn_->setVisible(appType.ShowLoginExitButton());
  smallExitBtn_->setVisible(!exitBtn_->isVisibleTo(this));
  if (!exitBtn_->isVisibleTo(this)) enterBtn_->setGeometry(88, enterBtn_->y(), 102, enterBtn_->height());
}

void TLogin::EnterBtnClick() {
  if (busy_ || !flow_) return;
  TZabkolexCentral& central = Central();
  TRegistryIniFile& settings = central.Settings();
  const QByteArray userName = WideToCp1255(userNameEdt_->text());
  const QByteArray password = WideToCp1255(passwordEdt_->text());
  {
    TRegistryBatch batch(settings);
    settings.WriteString(kLogin, QStringLiteral("User"), userName);
    settings.WriteString(kLogin, QStringLiteral("Password"), password);
    batch.Commit();
  }
  busy_ = true;
  struct TBusy {
    bool& flag;
    ~TBusy() { flag = false; }
  } busy{busy_};
  const bool loggedOn = flow_->LogOnWithProgress(userName, password);
  // The game edition logs on with the last log-on's values, whatever its outcome.
  const TZabkolexClient& client = central.Client();
  {
    TRegistryBatch batch(settings);
    settings.WriteString(kLogin, QStringLiteral("LastUsername"), client.UserName);
    settings.WriteString(kLogin, QStringLiteral("LastPassword"), client.Password);
    batch.Commit();
  }
  SetModalResult(loggedOn ? mrOk : mrNone);
}

void TLogin::ExitBtnClick() {
  if (OnExit) OnExit();
}

void TLogin::closeEvent(QCloseEvent* event) {
  // Alt+F4 and the window manager's close leave the program as the Exit button does.
  event->ignore();
  Guarded([this] { ExitBtnClick(); });
}

bool TLogin::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == userNameEdt_ || watched == passwordEdt_)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      Guarded([this, key] { PasswordEdtKeyPress(key); });
      return true;
    }
  }
  return TModalForm::eventFilter(watched, event);
}

void TLogin::PasswordEdtKeyPress(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) EnterBtnClick();
}

void TLogin::ApplyLeftToRight() {
  for (TNButton* button : {enterBtn_, exitBtn_}) {
    QFont font = button->font();
    SetWinFontSize(font, 10);
    button->setFont(font);
    button->setToolTip(QString());
  }
  enterBtn_->SetCaption(QStringLiteral("Enter"));
  exitBtn_->SetCaption(QStringLiteral("Exit"));
  for (QWidget* control :
       QList<QWidget*>{enterBtn_, exitBtn_, userNameEdt_, passwordEdt_, usernameLbl_, passwordLbl_})
    MirrorControl(control);
  for (QWidget* control : QList<QWidget*>{notePanel_, noteLbl_, warnLbl_}) control->setLayoutDirection(Qt::LeftToRight);
  setLayoutDirection(Qt::LeftToRight);
}

void TLogin::LoadCaptions() {
  const QString prefix = QStringLiteral("Login");
  ApplyPanelTexts(prefix, {enterBtn_, exitBtn_}, false, &strings_);
  ApplyLabelTexts(prefix, {usernameLbl_, passwordLbl_, noteLbl_}, false, &strings_);
}

}  // namespace zabko
