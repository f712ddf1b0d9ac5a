// The HTTP client component: one request at a time over libcurl on a worker thread
// (TCustomWinThread), its end reported through events on the GUI thread.
//
// Use from the GUI thread. Set URL (and POSTData for a POST, OutputFileName to write the body to
// a file), then Read(wait). Exactly one outcome event fires per request that is not aborted:
// OnDone, or one of OnOutputFileError, OnConnLost, OnHostUnreachable, OnHTTPError followed by
// OnAnyError. With wait true, Read returns after that event, the GUI thread having gone on
// processing events meanwhile; the request in flight cannot be re-entered, since Read refuses to
// start while the component is busy.
//
// A body written to OutputFileName goes to a temporary file in the same folder, renamed over the
// target only when the transfer completed, so a failed download never destroys the last good file.
#pragma once

#include "net/custom_win_thread.h"
#include "platform/gui_dispatcher.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace zabko {

class TStream;

// Transfer progress record: figures of the body received so far.
struct TTransferProgress {
  qint64 DataSize = 0;  // content length plus any resume offset (0 when unknown)
  qint64 BytesRead = 0;
  int ElapsedTime = 0;        // whole seconds since the start
  int EstimatedTimeLeft = 0;  // seconds
  quint8 PercentsDone = 0;
  float TransferRate = 0;  // kilobytes per second
};

// The progress figures for ContentLength (-1 when unknown), Offset, BytesRead (of this transfer)
// and ElapsedMs since the start.
TTransferProgress ComputeTransferProgress(qint64 contentLength, qint64 offset, qint64 bytesRead, qint64 elapsedMs);

enum class TProxyAccessType {
  Preconfig,  // the system's settings: the http_proxy, https_proxy and no_proxy variables
  Direct,     // no proxy
  Proxy       // ProxyServer:ProxyPort, not for the hosts of ProxyBypass
};

struct TWinHTTPProxy {
  TProxyAccessType AccessType = TProxyAccessType::Preconfig;
  int ProxyPort = 8080;
  QByteArray ProxyServer;
  QByteArray ProxyBypass = "127.0.0.1;";  // hosts separated by ";" (or ",")
  QByteArray ProxyUsername;
  QByteArray ProxyPassword;
};

struct TWinHTTPRange {
  qint64 StartRange = 0;
  qint64 EndRange = 0;  // 0: to the end
};

// Milliseconds; 0 takes the default below. Once connected, a transfer during which no byte moved
// for the receive (or, while sending, the send) time-out ends; this is checked about once a second.
struct TWinHTTPTimeouts {
  int ConnectTimeout = 0;
  int ReceiveTimeout = 0;
  int SendTimeout = 0;
};
inline constexpr int kDefaultConnectTimeoutMs = 60000;
inline constexpr int kDefaultReceiveTimeoutMs = 30000;
inline constexpr int kDefaultSendTimeoutMs = 30000;

// Cache options. There is no local cache: every request goes to the server; the reload options
// also tell proxies not to answer from theirs.
enum TCacheOption : unsigned {
  coAlwaysReload = 1,
  coReloadIfNoExpireInformation = 2,
  coReloadUpdatedObjects = 4,
  coPragmaNoCache = 8,
  coCreateTempFilesIfCantCache = 16,
};
using TCacheOptions = unsigned;

enum TInternetOption : unsigned {
  ioKeepConnection = 1,
  ioNoAutoRedirect = 2,  // without it redirects are followed (to http and https only)
};
using TInternetOptions = unsigned;

// A URL split as the component sends it.
struct TCrackedUrl {
  QByteArray Scheme;    // lower case
  QByteArray HostPort;  // host, with ":port" when given
  QByteArray UserName;
  QByteArray Password;
  QByteArray Path;   // percent-encoded, "/" when empty
  QByteArray Query;  // from "?" on, unchanged
  QByteArray Url() const { return Scheme + "://" + HostPort + Path + Query; }
};
// Splits Url ("http://" is assumed when it has no "://") and percent-encodes its path.
TCrackedUrl CrackUrl(const QByteArray& url);
// Percent-encodes bytes below 32 or from 128 up, the space and any of # % * + < >.
QByteArray EncodeUrlPath(const QByteArray& path);

// The user name and password given to servers whose URL carries none.
class TWinLoginComponent {
 public:
  virtual ~TWinLoginComponent() = default;
  QByteArray Username;
  QByteArray Password;
};

class TCustomWinHTTP : public TWinLoginComponent {
 public:
  using TDoneEvent = std::function<void(TCustomWinHTTP& sender, const QByteArray& contentType, qint64 fileSize, TStream& stream)>;
  using TProgressEvent = std::function<void(TCustomWinHTTP& sender, const QByteArray& contentType,
                                            const TTransferProgress& progress, TStream& stream)>;
  using TConnLostEvent = std::function<void(TCustomWinHTTP& sender, const QByteArray& contentType, qint64 fileSize,
                                            qint64 bytesRead, TStream& stream)>;
  using THTTPErrorEvent = std::function<void(TCustomWinHTTP& sender, int errorCode, TStream& stream)>;
  using TNotifyEvent = std::function<void(TCustomWinHTTP& sender)>;
  using TWaitTimeoutEvent = std::function<void(TCustomWinHTTP& sender, bool& terminateThread)>;

  TCustomWinHTTP();
  // Abandons a running request (no events) and returns at once; its worker ends on its own.
  ~TCustomWinHTTP() override;
  TCustomWinHTTP(const TCustomWinHTTP&) = delete;
  TCustomWinHTTP& operator=(const TCustomWinHTTP&) = delete;

  // Starts a request for the whole resource. False when a request is already running, or when a
  // wait time-out ended it; otherwise true, after the end when waiting (Wait or WaitThread).
  bool Read(bool wait = false);
  // The same for the bytes From..To ("Range: bytes=From-To", To 0 for the end).
  bool ReadRange(qint64 from, qint64 to, bool wait = false);
  // Fetches into OutputFileName again. Partial files are not continued: the transfer starts from
  // the first byte, and the old file is replaced only when it completes.
  bool Resume();
  // Ends a running request without an outcome event. With Kill it ends at once (its worker is
  // abandoned and stops at its next check); without, the worker stops at its next check and the
  // request ends then. The partial body is always discarded; DeleteFile is kept for callers.
  void Abort(bool deleteFile, bool kill);

  bool Busy() const { return busy_; }

  QByteArray URL;
  QByteArray AcceptTypes = "text/html, */*";
  QList<QByteArray> AddHeaders;
  QByteArray Agent = "Zabko HTTP client";
  TWinHTTPProxy Proxy;
  TCacheOptions CacheOptions = coReloadIfNoExpireInformation | coReloadUpdatedObjects | coCreateTempFilesIfCantCache;
  TInternetOptions InternetOptions = ioKeepConnection;
  QString OutputFileName;  // empty: the body stays in memory
  QByteArray POSTData;     // non-empty: the request is a POST with this body
  TWinHTTPRange Range;
  QByteArray Referer;
  QByteArray RequestMethod;  // empty: POST with POSTData, else GET
  TWinHTTPTimeouts Timeouts;
  int ThreadPriority = kNormalThreadPriority;
  int TransferBufferSize = 4096;
  bool WaitThread = false;
  int WaitTimeout = 0;

  TDoneEvent OnDone;
  TProgressEvent OnProgress;
  TConnLostEvent OnConnLost;
  TNotifyEvent OnHostUnreachable;
  THTTPErrorEvent OnHTTPError;
  TNotifyEvent OnOutputFileError;
  TNotifyEvent OnAnyError;
  TWaitTimeoutEvent OnWaitTimeoutExpired;

  struct Request;  // one request's settings and results, shared with its worker

 private:
  bool Start(qint64 from, qint64 to, bool wait);
  void RequestFinished(const std::shared_ptr<Request>& request);
  void FireProgress(Request& request);
  void EndRequest();

  std::unique_ptr<TCustomWinThread> thread_;
  std::shared_ptr<Request> current_;
  bool busy_ = false;
  TLifeGuard guard_;
};

class TWinHTTP : public TCustomWinHTTP {};

}  // namespace zabko
