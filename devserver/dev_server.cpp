#include "devserver/dev_server.h"

#include "core/hasher.h"
#include "platform/exception.h"
#include "platform/stream.h"

#include <httplib.h>

#include <QDateTime>

#include <chrono>
#include <thread>

namespace zabko::dev {

namespace {

constexpr const char* kLoopback = "127.0.0.1";
constexpr size_t kMaxBody = 16 * 1024 * 1024;

// The system's own file hash, as the client computes it over a downloaded file.
QByteArray SystemHash(const QByteArray& content) {
  TMemoryStream stream;
  if (!content.isEmpty()) stream.WriteBuffer(content.constData(), content.size());
  stream.SetPosition(0);
  return HashStream(stream);
}

}  // namespace

struct TDevServer::TVirtualServer {
  QByteArray name;
  quint16 port = 0;
  std::unique_ptr<httplib::Server> http;
  std::thread thread;
  bool up = false;
};

QByteArray TDevServer::WrapPacket(const QByteArray& hex) {
  return "<html><body><PACKET>" + hex + "</PACKET></body></html>";
}

TDevServer::TDevServer(const TDevServerOptions& options) : options_(options) {
  if (!options_.hasher) options_.hasher = SystemHash;
  if (!options_.clock) options_.clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
  store_ = std::make_unique<TDevStore>(options_.database);
  words_ = std::make_unique<TDevWords>();
  files_ = std::make_unique<TDevFiles>(options_.hasher);
  protocol_ = std::make_unique<TDevProtocol>(*store_, *words_, *files_, options_.clock,
                                             options_.seed);
  std::vector<QByteArray> names{kDefaultServer, kCubeServer};
  for (int i = 0; i < options_.memberCount; ++i) names.push_back(MemberName(i));
  for (size_t i = 0; i < names.size(); ++i) {
    auto vs = std::make_unique<TVirtualServer>();
    vs->name = names[i];
    if (options_.firstPort != 0) vs->port = static_cast<quint16>(options_.firstPort + i);
    servers_.push_back(std::move(vs));
  }
}

TDevServer::~TDevServer() { Stop(); }

void TDevServer::Start() {
  {
    std::lock_guard lock(controlMutex_);
    stopping_ = false;
  }
  for (auto& vs : servers_) Listen(*vs);
  std::vector<TServerInfo> members;
  for (int i = 0; i < options_.memberCount; ++i)
    members.push_back({MemberName(i), BaseUrl(MemberName(i))});
  std::lock_guard lock(stateMutex_);
  protocol_->SetGroup({kCubeServer, BaseUrl(kCubeServer)}, members);
}

void TDevServer::Stop() {
  {
    std::lock_guard lock(controlMutex_);
    stopping_ = true;
  }
  heldChanged_.notify_all();
  for (auto& vs : servers_) Halt(*vs);
}

void TDevServer::Listen(TVirtualServer& vs) {
  if (vs.up) return;
  auto http = std::make_unique<httplib::Server>();
  http->set_tcp_nodelay(true);
  // The library's default also sets SO_REUSEPORT, which lets a second server bind a port a
  // running one holds and silently share its connections. Only reuse ports left in TIME_WAIT.
  http->set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  http->set_payload_max_length(kMaxBody);
  const QByteArray name = vs.name;
  // The body is read raw: the client sends it as a form, but it is the packet's hex text, and
  // the form parser would refuse a large one.
  http->Post("/app/AccessIn.ashx", [this, name](const httplib::Request& req, httplib::Response& res,
                                                const httplib::ContentReader& reader) {
    QByteArray body;
    reader([&](const char* data, size_t length) {
      body.append(data, static_cast<qsizetype>(length));
      return static_cast<size_t>(body.size()) <= kMaxBody;
    });
    QByteArray path = QByteArray::fromStdString(req.path);
    if (req.has_param("page")) path += "?page=" + QByteArray::fromStdString(req.get_param_value("page"));
    const THttpReply reply = HandlePost(name, body, path);
    res.status = reply.status;
    res.set_content(reply.body.toStdString(), "text/html");
  });
  http->Get(R"(/app/files/(pre|data|music)/(.+))",
            [this, name](const httplib::Request& req, httplib::Response& res) {
              const THttpReply reply =
                  ServeFile(name, QByteArray::fromStdString(req.matches[1].str()),
                            QByteArray::fromStdString(req.matches[2].str()),
                            QByteArray::fromStdString(req.path));
              res.status = reply.status;
              res.set_content(reply.body.toStdString(), "application/octet-stream");
            });
  http->Post("/aplication_mail.php", [this, name](const httplib::Request& req, httplib::Response& res) {
    auto args = std::make_shared<TDataPacket>();
    for (const char* field : {"address", "subject", "content"})
      args->AddUTFString(QString::fromStdString(req.get_param_value(field)));
    AddLog(TLoggedRequest{name, "mail", false, -1, QByteArray(), args,
                          QByteArray::fromStdString(req.path)});
    res.set_content("OK", "text/plain");
  });
  if (vs.port == 0) {
    const int port = http->bind_to_any_port(kLoopback);
    if (port <= 0) throw Exception("Cannot listen on 127.0.0.1 for " + QString(vs.name));
    vs.port = static_cast<quint16>(port);
  } else if (!http->bind_to_port(kLoopback, vs.port)) {
    throw Exception(QString("Cannot listen on 127.0.0.1:%1 for %2").arg(vs.port).arg(QString(vs.name)));
  }
  httplib::Server* raw = http.get();
  vs.http = std::move(http);
  vs.thread = std::thread([raw] { raw->listen_after_bind(); });
  // A stop before the accept loop runs would be lost, so wait until it does.
  while (!raw->is_running()) std::this_thread::sleep_for(std::chrono::microseconds(50));
  vs.up = true;
}

void TDevServer::Halt(TVirtualServer& vs) {
  if (!vs.up) return;
  // Held requests of this server must end before its worker threads can be joined.
  ReleaseHeld();
  vs.http->stop();
  if (vs.thread.joinable()) vs.thread.join();
  vs.http.reset();
  vs.up = false;
}

std::vector<QByteArray> TDevServer::ServerNames() const {
  std::vector<QByteArray> names;
  for (const auto& vs : servers_) names.push_back(vs->name);
  return names;
}

TDevServer::TVirtualServer& TDevServer::Find(const QByteArray& server) const {
  for (const auto& vs : servers_)
    if (vs->name == server) return *vs;
  throw Exception("No such server: " + QString(server));
}

QByteArray TDevServer::BaseUrl(const QByteArray& server) const {
  return "http://127.0.0.1:" + QByteArray::number(Port(server)) + "/app/";
}

quint16 TDevServer::Port(const QByteArray& server) const { return Find(server).port; }

void TDevServer::TakeDown(const QByteArray& server) { Halt(Find(server)); }

void TDevServer::BringUp(const QByteArray& server) { Listen(Find(server)); }

bool TDevServer::IsUp(const QByteArray& server) const { return Find(server).up; }

void TDevServer::WithState(const std::function<void(TDevProtocol&)>& f) {
  std::lock_guard lock(stateMutex_);
  f(*protocol_);
}

QByteArray TDevServer::AddUser(const QByteArray& name, const QByteArray& password) {
  std::lock_guard lock(stateMutex_);
  return store_->AddUser(name, password);
}

void TDevServer::SetFault(const QByteArray& server, const QByteArray& method, const TFault& fault) {
  std::lock_guard lock(controlMutex_);
  faults_.push_back({server, method, fault});
}

void TDevServer::ClearFaults() {
  std::lock_guard lock(controlMutex_);
  faults_.clear();
}

void TDevServer::ReleaseHeld() {
  {
    std::lock_guard lock(controlMutex_);
    ++releaseGeneration_;
  }
  heldChanged_.notify_all();
}

int TDevServer::HeldCount() const {
  std::lock_guard lock(controlMutex_);
  return held_;
}

std::vector<TLoggedRequest> TDevServer::Log() const {
  std::lock_guard lock(controlMutex_);
  return log_;
}

std::vector<TLoggedRequest> TDevServer::LogOf(const QByteArray& method) const {
  std::vector<TLoggedRequest> entries;
  for (const TLoggedRequest& e : Log())
    if (e.method == method) entries.push_back(e);
  return entries;
}

void TDevServer::ClearLog() {
  std::lock_guard lock(controlMutex_);
  log_.clear();
}

void TDevServer::AddLog(TLoggedRequest entry) {
  std::lock_guard lock(controlMutex_);
  log_.push_back(std::move(entry));
}

std::optional<TFault> TDevServer::TakeFault(const QByteArray& server, const QByteArray& method) {
  std::lock_guard lock(controlMutex_);
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    if (!it->server.isEmpty() && it->server != server) continue;
    if (!it->method.isEmpty() && it->method != method) continue;
    if (it->fault.skip > 0) {
      --it->fault.skip;
      return std::nullopt;
    }
    const TFault fault = it->fault;
    if (it->fault.times > 0 && --it->fault.times == 0) faults_.erase(it);
    return fault;
  }
  return std::nullopt;
}

void TDevServer::Hold() {
  std::unique_lock lock(controlMutex_);
  const quint64 generation = releaseGeneration_;
  ++held_;
  heldChanged_.wait_for(lock, std::chrono::milliseconds(options_.maxHoldMs),
                        [&] { return stopping_ || releaseGeneration_ != generation; });
  --held_;
}

THttpReply TDevServer::HandlePost(const QByteArray& server, const QByteArray& body,
                                  const QByteArray& path) {
  TDataPacket request;
  TRequestSummary summary;
  bool parsed = false;
  try {
    request.LoadFromHexString(body.trimmed());
    parsed = TDevProtocol::Summarise(request, summary);
  } catch (const Exception&) {
  }
  AddLog(TLoggedRequest{server, summary.method, summary.session, summary.sessionId,
                        summary.userName,
                        summary.arguments ? summary.arguments : std::make_shared<TDataPacket>(),
                        path});

  const std::optional<TFault> fault = TakeFault(server, summary.method);
  TDataPacket reply;
  if (fault && fault->afterHandling && parsed) {
    std::lock_guard lock(stateMutex_);
    protocol_->Handle({server, BaseUrl(server)}, request, reply, false);
    reply.Clear();
  }
  if (fault) {
    switch (fault->kind) {
      case TFaultKind::NoAnswer: Hold(); break;
      case TFaultKind::Http404: return {404, "Not Found"};
      case TFaultKind::Http500: return {500, "Internal Server Error"};
      case TFaultKind::NoMarkers: return {200, "<html><body>Service unavailable</body></html>"};
      case TFaultKind::BadHex: return {200, WrapPacket("EE1199XYZ")};
      case TFaultKind::NotLogged:
        reply.AddString(kNotLogged);
        return {200, WrapPacket(reply.SaveToHexString())};
      case TFaultKind::ErrorStatus:
        reply.AddString("Failed");
        if (fault->withErrorNumber) reply.AddInteger(fault->errorNumber);
        return {200, WrapPacket(reply.SaveToHexString())};
      case TFaultKind::MissingFields:
        reply.AddString(kSuccess);
        reply.AddNewPacket();
        return {200, WrapPacket(reply.SaveToHexString())};
      case TFaultKind::WrongHash: break;
    }
  }
  if (!parsed) {
    reply.AddString("Bad request");
    reply.AddInteger(1);
    return {200, WrapPacket(reply.SaveToHexString())};
  }
  {
    std::lock_guard lock(stateMutex_);
    protocol_->Handle({server, BaseUrl(server)}, request, reply,
                      fault && fault->kind == TFaultKind::WrongHash);
  }
  return {200, WrapPacket(reply.SaveToHexString())};
}

THttpReply TDevServer::ServeFile(const QByteArray& server, const QByteArray& list,
                                 const QByteArray& name, const QByteArray& path) {
  const QByteArray& fileName = name;  // the HTTP layer has decoded the path already
  auto args = std::make_shared<TDataPacket>();
  args->AddString(fileName);
  AddLog(TLoggedRequest{server, "GET", false, -1, QByteArray(), args, path});
  if (const std::optional<TFault> fault = TakeFault(server, "GET")) {
    if (fault->kind == TFaultKind::NoAnswer) Hold();
    if (fault->kind == TFaultKind::Http404) return {404, "Not Found"};
    if (fault->kind == TFaultKind::Http500) return {500, "Internal Server Error"};
  }
  const TFileList kind = list == "pre"    ? TFileList::PreDownload
                         : list == "data" ? TFileList::Download
                                          : TFileList::GameMusic;
  std::lock_guard lock(stateMutex_);
  const TDevFile* file = files_->Find(kind, fileName);
  if (!file) return {404, "Not Found"};
  return {200, files_->Content(*file)};
}

}  // namespace zabko::dev
