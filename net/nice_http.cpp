#include "net/nice_http.h"

#include "net/http_file_download.h"
#include "platform/exception.h"
#include "platform/stream.h"

#include <utility>

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
  if (post_) {
    post_->failed = true;
    post_->kind = kind;
  }
  if (auto handler = OnError) handler(*this);
}

QString TNiceHttp::GetErrorText() const { return Failed ? QStringLiteral("General HTTP error") : QStringLiteral("No Error"); }

void TNiceHttp::OnWinHttpProgress(const TTransferProgress& progress) {
  Progress = progress;
  if (auto handler = OnProgress) handler(*this);
}

void TNiceHttp::OnWinHttpDone(TStream& stream, qint64 size) {
  if (!KeepBody && !post_) return;
  QByteArray body(static_cast<qsizetype>(std::max<qint64>(stream.Size(), 0)), Qt::Uninitialized);
  body.resize(static_cast<qsizetype>(stream.Read(body.data(), body.size())));
  if (KeepBody) Body = body;
  if (post_) {
    post_->reply = body;
    post_->done = true;
  }
}

bool TNiceHttp::Post(const QByteArray& url, const QByteArray& data, QByteArray& reply, bool raiseOnError) {
  reply.clear();
  // Each post keeps its own outcome: one started from an event handler during another's wait
  // (which then finds the component busy) must not take or spoil the outer one's.
  PostCall call;
  ClearError();
  TWinHTTP& h = *http_;
  bool started = false;
  if (!h.Busy()) {
    h.URL = url;
    h.POSTData = data;
    h.OutputFileName.clear();
    const TLifeGuard::Token alive = guard_.GetToken();
    struct Current {
      TNiceHttp* self;
      const TLifeGuard::Token& alive;
      PostCall* outer;
      ~Current() {
        if (alive.Alive()) self->post_ = outer;
      }
    } current{this, alive, std::exchange(post_, &call)};
    started = h.Read(true);
    if (!alive.Alive()) return false;  // destroyed by an event handler during the wait
  }
  if (!call.failed && (!started || !call.done)) {
    // Busy, ended by the wait time-out, or the application is quitting: no outcome came.
    call.failed = true;
    call.kind = kHttpHostUnreachable;
  }
  Failed = call.failed;
  if (call.failed) ErrorKind = call.kind;
  if (call.failed) {
    if (raiseOnError) throw Exception(GetErrorText());
    return false;
  }
  reply = call.reply;
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
  const bool started = resume ? h.Resume() : h.Read(false);
  if (started && !h.Busy()) return;  // the outcome has been reported
  // No outcome came: the wait ended because the program is quitting (or the component was busy).
  // A transfer left running would go on writing after its caller has moved on: stop it.
  if (started) h.Abort(true, true);
  http_.ReportError(kHttpHostUnreachable);
}

}  // namespace zabko
