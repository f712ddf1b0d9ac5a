// TNiceHttp: an HTTP client component whose several failure events become one failed flag with an
// error kind, keeping the latest transfer progress and, when asked, the reply body.
#pragma once

#include "net/win_http.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace zabko {

// Error kinds of TNiceHttp, after the component event that reported the failure.
enum THttpErrorKind : quint8 {
  kHttpOutputFileError = 0,   // the output file could not be written
  kHttpConnLost = 1,          // the transfer broke after a 200 or 206 status
  kHttpHostUnreachable = 2,   // no status was received
  kHttpStatusError = 3,       // any other status (HTTPStatus holds it)
};

class TNiceHttp {
 public:
  using TNotifyEvent = std::function<void(TNiceHttp& sender)>;

  // Wait: whether requests wait for their end (the component's WaitThread).
  explicit TNiceHttp(bool wait);
  // Aborts a running request and returns at once (its worker ends on its own).
  ~TNiceHttp();
  TNiceHttp(const TNiceHttp&) = delete;
  TNiceHttp& operator=(const TNiceHttp&) = delete;

  TWinHTTP& Http() { return *http_; }

  void ReportError(quint8 kind);
  void ClearError() { Failed = false; }
  // "General HTTP error" after a failure, else "No Error".
  QString GetErrorText() const;

  // POSTs Data to URL and waits for the end, processing events. Reply gets the body of a
  // successful transfer. False when the transfer failed or could not start; then, with
  // RaiseOnError, an Exception with GetErrorText is raised instead.
  bool Post(const QByteArray& url, const QByteArray& data, QByteArray& reply, bool raiseOnError);

  TTransferProgress Progress;
  int HTTPStatus = 0;
  bool Failed = false;
  quint8 ErrorKind = 0;
  TNotifyEvent OnProgress;
  TNotifyEvent OnError;
  QByteArray Body;
  bool KeepBody = false;  // true: each completed transfer's body is copied into Body

 private:
  void OnWinHttpProgress(const TTransferProgress& progress);
  void OnWinHttpDone(TStream& stream, qint64 size);

  // The outcome of one Post, filled by the events of its transfer.
  struct PostCall {
    QByteArray reply;
    bool done = false;
    bool failed = false;
    quint8 kind = 0;
  };

  std::unique_ptr<TWinHTTP> http_;
  PostCall* post_ = nullptr;  // the Post whose transfer runs now
  TLifeGuard guard_;
};

}  // namespace zabko
