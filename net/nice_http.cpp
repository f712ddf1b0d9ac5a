#include "net/nice_http.h"

#include "net/http_file_download.h"
#include "platform/exception.h"
#include "platform/stream.h"

namespace zabko {

TNiceHttp::TNiceHttp(bool wait) : http_(std::make_unique<TWinHTTP>()) {
  TWinHTTP& h = *http_;
  h.OnOutputFileError = [this](TCustomWinHTTP&) { ReportError(kHttpOutputFileError); };
  h.OnConnLost = [this](TCustomWinHTTP&, const QByteArray&, qint64, qint64, TStream&) { ReportError(kHttpConnLost); };
  h.OnHostUnreachable = [this](TCustomWinHTTP&) { ReportError(kHttpHostUnreachable); };
  h.OnHTTPError = [this](TCustomWinHTTP&, int status, TStream&) {
    HTTPStatus = status;
    ReportError(kHttpStatusError);
  };
  h.OnProgress = [this](TCustomWinHTTP&, const QByteArray&, const TTransferProgress& progress, TStream&) {
    OnWinHttpProgress(progress);
  };
  h.OnDone = [this](TCustomWinHTTP&, const QByteArray&, qint64 size, TStream& stream) { OnWinHttpDone(stream, size); };
  h.WaitThread = wait;
  h.CacheOptions = coAlwaysReload;
}

TNiceHttp::~TNiceHttp() {
  http_->Abort(true, true);
  http_.reset();
}

void TNiceHttp::ReportError(quint8 kind) {
  ErrorKind = kind;
  Failed = true;
  if (auto handler = OnError) handler(*this);
}

QString TNiceHttp::GetErrorText() const { return Failed ? QStringLiteral("General HTTP error") : QStringLiteral("No Error"); }

void TNiceHttp::OnWinHttpProgress(const TTransferProgress& progress) {
  Progress = progress;
  if (auto handler = OnProgress) handler(*this);
}

void TNiceHttp::OnWinHttpDone(TStream& stream, qint64 size) {
  if (!KeepBody && !posting_) return;
  QByteArray body(static_cast<qsizetype>(std::max<qint64>(stream.Size(), 0)), Qt::Uninitialized);
  body.resize(static_cast<qsizetype>(stream.Read(body.data(), body.size())));
  if (KeepBody) Body = body;
  if (posting_) postReply_ = body;
}

bool TNiceHttp::Post(const QByteArray& url, const QByteArray& data, QByteArray& reply, bool raiseOnError) {
  reply.clear();
  ClearError();
  postReply_.clear();
  TWinHTTP& h = *http_;
  h.URL = url;
  h.POSTData = data;
  h.OutputFileName.clear();
  posting_ = true;
  const TLifeGuard::Token alive = guard_.GetToken();
  const bool started = h.Read(true);
  if (!alive.Alive()) return false;  // destroyed by an event handler during the wait
  posting_ = false;
  if ((!started || h.Busy()) && !Failed) {
    // Busy, ended by the wait time-out, or the application is quitting: no outcome came.
    ErrorKind = kHttpHostUnreachable;
    Failed = true;
  }
  if (Failed) {
    if (raiseOnError) throw Exception(GetErrorText());
    return false;
  }
  reply = postReply_;
  postReply_.clear();
  return true;
}

// ---------------------------------------------------------------------------------------------

THttpFileDownload::THttpFileDownload() : http_(true) {
  http_.OnProgress = [this](TNiceHttp&) {
    if (auto handler = OnProgress) handler(*this);
  };
}

void THttpFileDownload::Download(const QByteArray& url, const QString& outputPath, bool resume) {
  TWinHTTP& h = http_.Http();
  h.URL = url;
  h.OutputFileName = outputPath;
  h.POSTData.clear();
  h.WaitThread = true;
  if (resume)
    h.Resume();
  else
    h.Read(false);
}

}  // namespace zabko
