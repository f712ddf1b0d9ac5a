// The stand-in for the system's own server: one protocol and one state behind several virtual
// servers (the default server, the group server and the group members), each listening on its
// own loopback port under "/app/", so that a test can take one of them down. Requests are
// POSTs to base + "AccessIn.ashx?page=APP" whose body is the request packet as hex text; the
// reply body carries the reply packet between "<PACKET>" and "</PACKET>". Files are served
// with GET under base + "files/". Tests switch faults on per server and method and read the
// log of every request received.
#pragma once

#include "devserver/dev_protocol.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace zabko::dev {

enum class TFaultKind {
  NoAnswer,       // the request is held without an answer until released or stopped
  Http404,
  Http500,
  NoMarkers,      // a 200 body without "<PACKET>" and "</PACKET>"
  BadHex,         // markers around text that is not a packet
  NotLogged,      // the reply status "Not Logged"
  ErrorStatus,    // a failure status, with the error number when withErrorNumber is set
  MissingFields,  // "Success" with an empty payload
  WrongHash,      // file lists whose hashes do not match the files
};

struct TFault {
  TFaultKind kind = TFaultKind::NoAnswer;
  int times = -1;  // how many requests it hits; -1 until cleared
  bool withErrorNumber = false;
  qint32 errorNumber = 0;
  // The request is carried out first and only its reply is spoiled (a reply lost on its way).
  bool afterHandling = false;
  // How many matching requests are answered normally before the fault starts to hit.
  int skip = 0;
};

// One request as the server received it.
struct TLoggedRequest {
  QByteArray server;  // the virtual server's name
  QByteArray method;  // the packet's method name; "GET" for a file, "mail" for the mail form
  bool session = false;
  qint32 sessionId = -1;
  QByteArray userName;
  std::shared_ptr<const TDataPacket> arguments;  // the argument packet (empty packet if none)
  QByteArray path;                               // the HTTP path (with the query)
};

struct TDevServerOptions {
  QString database = ":memory:";
  int memberCount = 2;
  // 0 gives every virtual server an ephemeral port; otherwise the default server listens here,
  // the group server on the next port and the members on the ports after it.
  quint16 firstPort = 0;
  quint32 seed = 1;
  TDevFiles::THashFunction hasher;     // the file hash; the system's own when not given
  std::function<qint64()> clock;       // milliseconds since the epoch; the real clock when not given
  qint64 maxHoldMs = 60000;            // a held request is answered after this at the latest
};

struct THttpReply {
  int status = 200;
  QByteArray body;
};

class TDevServer {
 public:
  static constexpr quint16 kDefaultPort = 8642;
  static constexpr const char* kDefaultServer = "default";
  static constexpr const char* kCubeServer = "cube";

  explicit TDevServer(const TDevServerOptions& options = {});
  ~TDevServer();
  TDevServer(const TDevServer&) = delete;
  TDevServer& operator=(const TDevServer&) = delete;

  // Binds every virtual server and starts answering; fails when a port is taken.
  void Start();
  void Stop();

  // "default", "cube", then "member0", "member1", ...
  std::vector<QByteArray> ServerNames() const;
  static QByteArray MemberName(int index) { return "member" + QByteArray::number(index); }
  QByteArray BaseUrl(const QByteArray& server) const;
  quint16 Port(const QByteArray& server) const;
  // A server taken down refuses connections on its port until it is brought up again.
  void TakeDown(const QByteArray& server);
  void BringUp(const QByteArray& server);
  bool IsUp(const QByteArray& server) const;

  // Runs f with the protocol and its state, under the server's lock.
  void WithState(const std::function<void(TDevProtocol&)>& f);
  QByteArray AddUser(const QByteArray& name, const QByteArray& password);

  // server or method empty: every server or every method.
  void SetFault(const QByteArray& server, const QByteArray& method, const TFault& fault);
  void ClearFaults();
  // Lets every held request go on (it is then answered normally).
  void ReleaseHeld();
  int HeldCount() const;

  std::vector<TLoggedRequest> Log() const;
  std::vector<TLoggedRequest> LogOf(const QByteArray& method) const;
  void ClearLog();

  // What the POST handler does with one body arriving at a server, faults included.
  THttpReply HandlePost(const QByteArray& server, const QByteArray& body,
                        const QByteArray& path = "/app/AccessIn.ashx?page=APP");

  // The reply body around a packet's hex text.
  static QByteArray WrapPacket(const QByteArray& hex);

 private:
  struct TVirtualServer;
  struct TFaultEntry {
    QByteArray server;
    QByteArray method;
    TFault fault;
  };

  TVirtualServer& Find(const QByteArray& server) const;
  void Listen(TVirtualServer& vs);
  void Halt(TVirtualServer& vs);
  // The first fault for this server and method, used up by one; none when no fault matches.
  std::optional<TFault> TakeFault(const QByteArray& server, const QByteArray& method);
  void Hold();
  void AddLog(TLoggedRequest entry);
  THttpReply ServeFile(const QByteArray& server, const QByteArray& list, const QByteArray& name,
                       const QByteArray& path);

  TDevServerOptions options_;
  std::unique_ptr<TDevStore> store_;
  std::unique_ptr<TDevWords> words_;
  std::unique_ptr<TDevFiles> files_;
  std::unique_ptr<TDevProtocol> protocol_;
  std::vector<std::unique_ptr<TVirtualServer>> servers_;
  std::mutex stateMutex_;

  mutable std::mutex controlMutex_;
  std::condition_variable heldChanged_;
  std::vector<TFaultEntry> faults_;
  std::vector<TLoggedRequest> log_;
  int held_ = 0;
  quint64 releaseGeneration_ = 0;
  bool stopping_ = false;
};

}  // namespace zabko::dev
