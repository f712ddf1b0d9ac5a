// What the main window puts between the connection flow and the server and boxes so that the
// program can end cleanly at any moment: the server client's channel, which knows whether a
// request is under way, bounds requests by a deadline once the end is near and sends nothing
// once the program has ended; and the message service of the flow, which shows no box during
// an end asked for by a signal.
#pragma once

#include "core/window_services.h"
#include "net/web_packet_channel.h"

#include <QElapsedTimer>

#include <functional>
#include <memory>

class QTimer;

namespace zabko {

class TMainWindowChannel : public TWebPacketChannel {
 public:
  TMainWindowChannel();
  ~TMainWindowChannel() override;

  // A request is waited for: its reply has not come back yet.
  bool InRequest() const { return depth_ > 0; }
  // From now on a request starts only within Ms milliseconds, and a request under way ends
  // (without its reply) when they are up.
  void SetDeadline(int ms);
  // The same unless a deadline is set already.
  void SetDeadlineOnce(int ms) {
    if (!hasDeadline_) SetDeadline(ms);
  }
  void ClearDeadline();
  // A deadline is set and has passed: no request starts.
  bool TimeIsUp() const { return Remaining() == 0; }
  // Nothing is sent any more: every request fails at once.
  void CloseChannel() { closed_ = true; }
  bool Closed() const { return closed_; }

  // Called on the GUI thread after each request has returned.
  std::function<void()> OnRequestEnd;

 protected:
  bool Post(const QByteArray& url, const QByteArray& data) override;

 private:
  // Milliseconds left before the deadline; -1 without one.
  qint64 Remaining() const;

  int depth_ = 0;
  bool closed_ = false;
  bool hasDeadline_ = false;
  qint64 deadlineMs_ = 0;
  QElapsedTimer clock_;
  std::unique_ptr<QTimer> abortTimer_;
};

// Forwards to the boxes of the flow's windows, except while Quiet says the program ends on a
// signal: then a box is not shown, and a question is answered no.
class TQuietMessages : public IMessageService {
 public:
  TQuietMessages(IMessageService& boxes, std::function<bool()> quiet)
      : boxes_(boxes), quiet_(std::move(quiet)) {}

  void ShowMessageWithLinks(const QString& caption, const QString& text, const QStringList& links) override;
  bool AskYesNo(const QString& caption, const QString& text, int flags) override;

 private:
  IMessageService& boxes_;
  std::function<bool()> quiet_;
};

}  // namespace zabko
