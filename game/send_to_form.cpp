#include "game/send_to_form.h"

#include "core/window_services.h"
#include "core/zabkolex_strings.h"
#include "game/zabko_game_main_form.h"
#include "platform/exception_handler.h"
#include "ui/component.h"
#include "ui/event_guard.h"
#include "ui/form_loading.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextOption>

namespace zabko {

namespace {
constexpr int kWidth = 440, kHeight = 340;
}

TSendToForm::TSendToForm(TZabkoGameMainForm& main) : TGameDialog(main, QStringLiteral("SendToForm"), kWidth, kHeight) {
  TFormLoading loading(this);
  MakeCaptionPanel(QString::fromUtf8("שלחו לחבר"));
  MakeDialogLabel(this, "Label1", QRect(250, 58, 166, 24), QString::fromUtf8("כתובת הדואר של החבר:"), 15, true);
  emailEdt_ = new QLineEdit(this);
  emailEdt_->setObjectName(QStringLiteral("EmailEdt"));
  emailEdt_->setGeometry(24, 86, kWidth - 48, 26);
  emailEdt_->setFont(WinFont(QStringLiteral("Arial"), 0, -15));
  // Addresses read left to right.
  emailEdt_->setLayoutDirection(Qt::LeftToRight);
  emailEdt_->setText(QStringLiteral("(enter email here)"));
  MakeDialogLabel(this, "Label2", QRect(250, 122, 166, 24), QString::fromUtf8("ההודעה:"), 15, true);
  msgMemo_ = new QPlainTextEdit(this);
  msgMemo_->setObjectName(QStringLiteral("MsgMemo"));
  msgMemo_->setGeometry(24, 150, kWidth - 48, 118);
  msgMemo_->setFont(WinFont(QStringLiteral("Arial"), 0, -15));
  // The message reads right to left as the interface does: flush right, ragged at the left.
  msgMemo_->setLayoutDirection(Qt::RightToLeft);
  QTextOption reading = msgMemo_->document()->defaultTextOption();
  reading.setTextDirection(Qt::RightToLeft);
  reading.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
  msgMemo_->document()->setDefaultTextOption(reading);
  msgMemo_->setPlainText(QString::fromUtf8("כתבו כאן את ההודעה לחבר"));
  MakeDialogButton("NButton2", dbSend, kWidth / 2 + 10, kHeight - kButtonHeight - 18);
  MakeDialogButton("NButton1", dbCancel, kWidth / 2 - 10 - kButtonWidth, kHeight - kButtonHeight - 18);
  loading.Finish();

  mailLink_ = main.Strings().GetString(QStringLiteral("SendMailLink")).toUtf8();
  emailEdt_->installEventFilter(this);
  msgMemo_->installEventFilter(this);
  connect(emailEdt_, &QLineEdit::textChanged, this, GuardedSlot([this](const QString&) { EmailEdtChange(); }));
  connect(FindComponent<TNButton>(this, QStringLiteral("NButton2")), &TNBase::OnClick, this, &TSendToForm::NButton2Click);
  connect(FindComponent<TNButton>(this, QStringLiteral("NButton1")), &TNBase::OnClick, this, &TSendToForm::NButton1Click);
  ClipToBackshape();
}

void TSendToForm::LoadTexts() { msgMemo_->setPlainText(Main().Strings().GetString(QStringLiteral("SendToForm.MsgCaption"))); }

void TSendToForm::EmailEdtClick() {
  if (Tag(emailEdt_) != 0) return;
  SetTag(emailEdt_, 1);
  emailEdt_->clear();
}

void TSendToForm::EmailEdtChange() { SetTag(emailEdt_, 1); }

void TSendToForm::MsgMemoEnter() {
  if (Tag(msgMemo_) != 0) return;
  SetTag(msgMemo_, 1);
  msgMemo_->clear();
}

void TSendToForm::NButton2Click() {
  Main().Progress().RunJob(2, Main().Strings().GetString(QStringLiteral("SendToForm.SendingMail")),
                           [this](IProgress& progress) { SendMailJob(progress); });
  SetModalResult(mrOk);
}

void TSendToForm::SendMailJob(IProgress& progress) {
  progress.Step();
  Main().Client().SendMail(emailEdt_->text(), Main().Strings().GetString(QStringLiteral("SendToForm.SubjectCaption")),
                           msgMemo_->toPlainText(), mailLink_);
}

void TSendToForm::NButton1Click() { SetModalResult(mrCancel); }

bool TSendToForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == emailEdt_ && event->type() == QEvent::MouseButtonPress) {
    Guarded([this] { EmailEdtClick(); });
  } else if (watched == msgMemo_ && event->type() == QEvent::FocusIn) {
    Guarded([this] { MsgMemoEnter(); });
  }
  return TGameDialog::eventFilter(watched, event);
}

}  // namespace zabko
