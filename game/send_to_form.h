// A message about the game to a friend's e-mail address, posted to the server's mail page. The
// prompts in the address field and the memo clear themselves the first time the player goes
// into them.
#pragma once

#include "game/game_dialog.h"

#include <QByteArray>

class QLineEdit;
class QPlainTextEdit;

namespace zabko {

class IProgress;

class TSendToForm : public TGameDialog {
  Q_OBJECT

 public:
  explicit TSendToForm(TZabkoGameMainForm& main);

  QLineEdit* EmailEdt() const { return emailEdt_; }
  QPlainTextEdit* MsgMemo() const { return msgMemo_; }
  // The mail page the form posts to (default: the text table's "SendMailLink").
  const QByteArray& MailLink() const { return mailLink_; }
  void SetMailLink(const QByteArray& link) { mailLink_ = link; }

  // The memo's prompt from "SendToForm.MsgCaption".
  void LoadTexts();
  void EmailEdtClick();
  void EmailEdtChange();
  void MsgMemoEnter();
  // Sends in the progress dialog, then closes with OK whatever the outcome.
  void NButton2Click();
  void SendMailJob(IProgress& progress);
  void NButton1Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* emailEdt_ = nullptr;
  QPlainTextEdit* msgMemo_ = nullptr;
  QByteArray mailLink_;
};

}  // namespace zabko
