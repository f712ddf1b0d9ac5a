#include "net/win_http.h"

#include "platform/exception.h"
#include "platform/stream.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <curl/curl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>

namespace zabko {

// ---------------------------------------------------------------------------------------------
// URLs and progress figures

QByteArray EncodeUrlPath(const QByteArray& path) {
  static const char kHex[] = "0123456789ABCDEF";
  QByteArray out;
  out.reserve(path.size());
  for (char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    const bool encode = c < 32 || c >= 128 || c == ' ' || c == '#' || c == '%' || c == '*' || c == '+' ||
                        c == '<' || c == '>';
    if (!encode) {
      out += ch;
      continue;
    }
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

TCrackedUrl CrackUrl(const QByteArray& url) {
  TCrackedUrl cracked;
  QByteArray rest = url;
  const qsizetype schemeEnd = rest.indexOf("://");
  if (schemeEnd < 0) {
    cracked.Scheme = "http";
  } else {
    cracked.Scheme = rest.left(schemeEnd).toLower();
    rest = rest.mid(schemeEnd + 3);
  }
  qsizetype authorityEnd = rest.size();
  for (char stop : {'/', '?', '#'}) {
    const qsizetype at = rest.indexOf(stop);
    if (at >= 0) authorityEnd = std::min(authorityEnd, at);
  }
  QByteArray authority = rest.left(authorityEnd);
  rest = rest.mid(authorityEnd);
  const qsizetype at = authority.lastIndexOf('@');
  if (at >= 0) {
    const QByteArray userInfo = authority.left(at);
    authority = authority.mid(at + 1);
    const qsizetype colon = userInfo.indexOf(':');
    cracked.UserName = colon < 0 ? userInfo : userInfo.left(colon);
    if (colon >= 0) cracked.Password = userInfo.mid(colon + 1);
  }
  cracked.HostPort = authority;
  const qsizetype query = rest.indexOf('?');
  cracked.Path = EncodeUrlPath(query < 0 ? rest : rest.left(query));
  if (cracked.Path.isEmpty() || cracked.Path[0] != '/') cracked.Path.prepend('/');
  if (query >= 0) cracked.Query = rest.mid(query);
  return cracked;
}

TTransferProgress ComputeTransferProgress(qint64 contentLength, qint64 offset, qint64 bytesRead, qint64 elapsedMs) {
  TTransferProgress p;
  const qint64 length = std::max<qint64>(contentLength, 0);
  p.DataSize = length + offset;
  p.BytesRead = bytesRead + offset;
  if (p.DataSize > 0)
    p.PercentsDone = static_cast<quint8>(std::clamp<double>(std::round(p.BytesRead * 100.0 / p.DataSize), 0, 100));
  p.ElapsedTime = static_cast<int>(elapsedMs / 1000);
  if (bytesRead > 0) {
    const double total = std::round(static_cast<double>(length) / bytesRead * p.ElapsedTime);
    p.EstimatedTimeLeft = std::max(0, static_cast<int>(total) - p.ElapsedTime);
  }
  const double kilobytes = bytesRead / 1024.0;
  p.TransferRate = static_cast<float>(p.ElapsedTime < 1 ? kilobytes : kilobytes / p.ElapsedTime);
  return p;
}

// ---------------------------------------------------------------------------------------------
// One request

struct TCustomWinHTTP::Request {
  // Settings, copied when the request starts.
  TCrackedUrl url;
  QByteArray userName, password;
  QByteArray method;
  QByteArray postData;
  QList<QByteArray> headers;
  QByteArray agent, referer;
  TWinHTTPProxy proxy;
  TWinHTTPTimeouts timeouts;
  TInternetOptions internetOptions = 0;
  int bufferSize = 4096;
  QString outputFileName;

  // Results: written by the worker, read on the GUI thread once the worker has finished (or from
  // the progress event, while the worker waits).
  int status = -1;
  bool statusKnown = false;
  QByteArray contentType;
  qint64 contentLength = -1;
  qint64 bytesRead = 0;
  CURLcode result = CURLE_OK;
  bool aborted = false;   // stopped by Abort or abandoned: no outcome
  bool timedOut = false;  // nothing moved for the time-out: an outcome by the status
  bool fileError = false;
  bool progressPending = false;  // the last block's progress is still to be reported
  std::unique_ptr<TStream> body;
  QString tempPath;  // the temporary output file while it exists
  QElapsedTimer clock;
  TTransferProgress progress;

  ~Request() { DiscardTemp(); }

  void DiscardTemp() {
    body.reset();
    if (!tempPath.isEmpty()) QFile::remove(tempPath);
    tempPath.clear();
  }

  bool WritesFile() const { return (status == 200 || status == 206) && !outputFileName.isEmpty(); }
};

namespace {

using Request = TCustomWinHTTP::Request;

struct Transfer {
  Request* request;
  TEventWinThread* thread;
  CURL* curl;
  std::function<void()> progress;  // reports the figures on the GUI thread
  int receiveTimeoutMs = 0, sendTimeoutMs = 0;
  curl_off_t downloaded = 0, uploaded = 0;
  qint64 lastActivity = 0;  // on the request's clock
};

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The status, type and length of the reply, once its headers are in.
void TakeReplyHeaders(Transfer& t) {
  Request& r = *t.request;
  if (r.statusKnown) return;
  long code = 0;
  curl_easy_getinfo(t.curl, CURLINFO_RESPONSE_CODE, &code);
  if (code <= 0) return;
  r.statusKnown = true;
  r.status = static_cast<int>(code);
  const char* type = nullptr;
  if (curl_easy_getinfo(t.curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type) r.contentType = type;
  curl_off_t length = -1;
  if (curl_easy_getinfo(t.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK) r.contentLength = length;
}

// Opens the body's target: a new temporary file beside the output file for a 200 or 206 reply
// with an output file, else a memory stream that grows as data arrives.
void OpenBody(Request& r) {
  if (r.body || r.fileError) return;
  if (!r.WritesFile()) {
    r.body = std::make_unique<TMemoryStream>();
    return;
  }
  r.tempPath = QStringLiteral("%1.%2.part").arg(r.outputFileName).arg(QRandomGenerator::global()->generate64(), 16, 16, QChar('0'));
  try {
    r.body = std::make_unique<TFileStream>(r.tempPath, FileMode::Create);
  } catch (const Exception&) {
    r.tempPath.clear();
    r.fileError = true;
  }
}

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  Transfer& t = *static_cast<Transfer*>(user);
  Request& r = *t.request;
  const size_t length = size * count;
  if (t.thread->CheckTerminated()) {
    r.aborted = true;
    return 0;
  }
  TakeReplyHeaders(t);
  OpenBody(r);
  if (r.fileError) return 0;
  if (r.body->Write(data, static_cast<qint64>(length)) != static_cast<qint64>(length)) {
    if (r.WritesFile()) r.fileError = true;
    return 0;
  }
  r.bytesRead += static_cast<qint64>(length);
  r.progress = ComputeTransferProgress(r.contentLength, 0, r.bytesRead, r.clock.elapsed());
  // The block that completes a body of known length is reported in the same hand-off to the GUI
  // thread as the end of the request (still before the outcome): one round trip less per reply.
  if (r.contentLength >= 0 && r.bytesRead == r.contentLength)
    r.progressPending = true;
  else
    t.progress();
  return length;
}

// Polled by libcurl during the transfer, at least about once a second: stops an aborted request,
// and ends one during which no byte moved for the send or receive time-out once connected.
int CheckStop(void* user, curl_off_t, curl_off_t downloaded, curl_off_t uploadTotal, curl_off_t uploaded) {
  Transfer& t = *static_cast<Transfer*>(user);
  Request& r = *t.request;
  if (t.thread->CheckTerminated()) {
    r.aborted = true;
    return 1;
  }
  const qint64 now = r.clock.elapsed();
  curl_off_t connected = 0;
  curl_easy_getinfo(t.curl, CURLINFO_CONNECT_TIME_T, &connected);
  if (connected == 0 || downloaded != t.downloaded || uploaded != t.uploaded) {
    t.downloaded = downloaded;
    t.uploaded = uploaded;
    t.lastActivity = now;
    return 0;
  }
  const bool sending = uploadTotal > 0 && uploaded < uploadTotal;
  const int limit = sending ? t.sendTimeoutMs : t.receiveTimeoutMs;
  if (now - t.lastActivity <= limit) return 0;
  r.timedOut = true;
  return 1;
}

// Runs the request on the worker thread.
void Perform(Request& r, TEventWinThread& thread, std::function<void()> progress) {
  r.clock.start();
  if (thread.CheckTerminated()) {
    r.aborted = true;
    return;
  }
  if (r.url.Scheme != "http" && r.url.Scheme != "https") return;  // no status: host unreachable
  InitCurlOnce();
  CURL* curl = curl_easy_init();
  if (!curl) return;
  Transfer t{&r, &thread, curl, std::move(progress)};

  const QByteArray url = r.url.Url();
  curl_easy_setopt(curl, CURLOPT_URL, url.constData());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, (r.internetOptions & ioNoAutoRedirect) ? 0L : 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, r.agent.constData());
  if (!r.referer.isEmpty()) curl_easy_setopt(curl, CURLOPT_REFERER, r.referer.constData());
  if (!r.userName.isEmpty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, r.userName.constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, r.password.constData());
  }

  switch (r.proxy.AccessType) {
    case TProxyAccessType::Preconfig: break;
    case TProxyAccessType::Direct: curl_easy_setopt(curl, CURLOPT_PROXY, ""); break;
    case TProxyAccessType::Proxy: {
      const QByteArray server = r.proxy.ProxyServer + ":" + QByteArray::number(r.proxy.ProxyPort);
      QByteArray bypass = r.proxy.ProxyBypass;
      bypass.replace(';', ',');
      curl_easy_setopt(curl, CURLOPT_PROXY, server.constData());
      curl_easy_setopt(curl, CURLOPT_NOPROXY, bypass.constData());
      if (!r.proxy.ProxyUsername.isEmpty() && !r.proxy.ProxyPassword.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, r.proxy.ProxyUsername.constData());
        curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, r.proxy.ProxyPassword.constData());
      }
      break;
    }
  }

  curl_slist* headers = nullptr;
  for (const QByteArray& line : r.headers) headers = curl_slist_append(headers, line.constData());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  if (!r.postData.isEmpty()) {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, r.postData.constData());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(r.postData.size()));
  }
  if (!r.method.isEmpty()) curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, r.method.constData());

  // A server that never answers, or stops sending, must not hang the program (see CheckStop).
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(r.timeouts.ConnectTimeout > 0 ? r.timeouts.ConnectTimeout : kDefaultConnectTimeoutMs));
  t.receiveTimeoutMs = r.timeouts.ReceiveTimeout > 0 ? r.timeouts.ReceiveTimeout : kDefaultReceiveTimeoutMs;
  t.sendTimeoutMs = r.timeouts.SendTimeout > 0 ? r.timeouts.SendTimeout : kDefaultSendTimeoutMs;

  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, static_cast<long>(std::clamp(r.bufferSize, 1024, 512 * 1024)));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &CheckStop);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);

  r.result = curl_easy_perform(curl);
  TakeReplyHeaders(t);
  curl_easy_cleanup(curl);
  curl_slist_free_all(headers);
  if (thread.Terminated()) r.aborted = true;
  if (r.aborted)
    r.DiscardTemp();  // nobody will place it: the request was abandoned or stopped
  else
    OpenBody(r);  // an empty body still makes an (empty) file or stream
}

bool RenameOver(const QString& from, const QString& to) {
  return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The component

TCustomWinHTTP::TCustomWinHTTP() : thread_(std::make_unique<TCustomWinThread>()) {
  thread_->OnWaitTimeoutExpired = [this](TCustomWinThread&, bool& terminateThread) {
    if (auto handler = OnWaitTimeoutExpired) handler(*this, terminateThread);
  };
  thread_->SetOnException([](TEventWinThread&, std::exception_ptr error) { TGuiDispatcher::HandleException(error); });
}

TCustomWinHTTP::~TCustomWinHTTP() {
  guard_.Revoke();
  thread_.reset();  // abandons the worker: no event reaches us from now on
  current_.reset();
}

bool TCustomWinHTTP::Read(bool wait) { return Start(Range.StartRange, Range.EndRange, wait); }

bool TCustomWinHTTP::ReadRange(qint64 from, qint64 to, bool wait) { return Start(from, to, wait); }

bool TCustomWinHTTP::Resume() { return Start(0, 0, false); }

bool TCustomWinHTTP::Start(qint64 from, qint64 to, bool wait) {
  Q_ASSERT(TGuiDispatcher::IsGuiThread());
  if (busy_) return false;
  auto r = std::make_shared<Request>();
  r->url = CrackUrl(URL);
  r->userName = r->url.UserName.isEmpty() ? Username : r->url.UserName;
  r->password = r->url.UserName.isEmpty() ? Password : r->url.Password;
  r->method = RequestMethod;
  r->postData = POSTData;
  r->agent = Agent;
  r->referer = Referer;
  r->proxy = Proxy;
  r->timeouts = Timeouts;
  r->internetOptions = InternetOptions;
  r->bufferSize = TransferBufferSize;
  r->outputFileName = OutputFileName;
  // No "Expect: 100-continue" round trip before a POST body.
  r->headers = {"Accept: " + AcceptTypes, "Expect:"};
  if (CacheOptions & (coAlwaysReload | coPragmaNoCache)) r->headers << "Pragma: no-cache" << "Cache-Control: no-cache";
  for (const QByteArray& line : AddHeaders)
    if (!line.trimmed().isEmpty()) r->headers << line.trimmed();
  if (from > 0 || to > 0) r->headers << "Range: bytes=" + QByteArray::number(from) + "-" + (to > 0 ? QByteArray::number(to) : QByteArray());
  if (!POSTData.isEmpty()) r->headers << "Content-Type: application/x-www-form-urlencoded";

  busy_ = true;
  current_ = r;
  TCustomWinThread& thread = *thread_;
  thread.WaitThread = wait || WaitThread;
  thread.WaitTimeout = WaitTimeout;
  thread.SetPriority(ThreadPriority);
  thread.SetOnExecute([this, r](TEventWinThread& worker) {
    Request* request = r.get();
    // `this` is only used on the GUI thread, where the worker's calls are dropped once the
    // component is gone.
    Perform(*r, worker, [this, request, &worker] { worker.Synchronize([this, request] { FireProgress(*request); }); });
  });
  thread.SetOnFinish([this, r](TEventWinThread&) { RequestFinished(r); });

  const TLifeGuard::Token alive = guard_.GetToken();
  const bool started = thread.Execute();
  if (!alive.Alive()) return false;
  if (!started && current_ == r) EndRequest();  // a wait time-out ended it
  return started;
}

void TCustomWinHTTP::Abort(bool deleteFile, bool kill) {
  if (!busy_) return;
  if (kill) {
    thread_->ResetThread(true);
    EndRequest();
  } else {
    thread_->ResetThread(false);
  }
}

void TCustomWinHTTP::EndRequest() {
  busy_ = false;
  current_.reset();
}

void TCustomWinHTTP::FireProgress(Request& request) {
  if (current_.get() != &request || !request.body) return;
  auto handler = OnProgress;
  if (!handler) return;
  try {
    handler(*this, request.contentType, request.progress, *request.body);
  } catch (...) {
    TGuiDispatcher::HandleException(std::current_exception());
  }
}

void TCustomWinHTTP::RequestFinished(const std::shared_ptr<Request>& request) {
  if (current_ != request) return;  // ended already (abort, time-out)
  Request& r = *request;
  const TLifeGuard::Token alive = guard_.GetToken();
  if (r.progressPending && !r.aborted) {
    FireProgress(r);
    if (!alive.Alive() || current_ != request) return;  // destroyed or aborted by the handler
  }
  EndRequest();
  if (r.aborted) {
    r.DiscardTemp();
    return;
  }
  const bool statusOk = r.status == 200 || r.status == 206;
  const qint64 fileSize = r.bytesRead;
  auto failed = [&] {
    if (!alive.Alive()) return;
    r.DiscardTemp();
    if (auto handler = OnAnyError) handler(*this);
  };

  if (statusOk && r.fileError) {
    if (auto handler = OnOutputFileError) handler(*this);
    failed();
    return;
  }
  if (!r.body) r.body = std::make_unique<TMemoryStream>();
  const bool completed = statusOk && r.result == CURLE_OK && (r.contentLength < 0 || r.bytesRead == r.contentLength);
  if (completed) {
    if (!r.tempPath.isEmpty()) {
      r.body.reset();
      bool placed = RenameOver(r.tempPath, r.outputFileName);
      if (placed) {
        r.tempPath.clear();
        try {
          r.body = std::make_unique<TFileStream>(r.outputFileName, FileMode::OpenRead);
        } catch (const Exception&) {
          placed = false;
        }
      }
      if (!placed) {
        if (auto handler = OnOutputFileError) handler(*this);
        failed();
        return;
      }
    }
    r.body->SetPosition(0);
    if (auto handler = OnDone) handler(*this, r.contentType, fileSize, *r.body);
    r.body.reset();  // the request object may live on with its finished worker
    return;
  }

  r.body->SetPosition(0);
  if (statusOk) {
    if (auto handler = OnConnLost) handler(*this, r.contentType, fileSize, r.bytesRead, *r.body);
  } else if (r.status == -1) {
    if (auto handler = OnHostUnreachable) handler(*this);
  } else {
    if (auto handler = OnHTTPError) handler(*this, r.status, *r.body);
  }
  failed();
}

}  // namespace zabko
