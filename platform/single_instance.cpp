#include "platform/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <unistd.h>

namespace zabko {

namespace {

constexpr int kConnectTries = 20;
constexpr int kConnectPauseMs = 100;
constexpr int kWriteTimeoutMs = 2000;

}  // namespace

TSingleInstance::TSingleInstance(const QString& name, QObject* parent) : QObject(parent), name_(name) {}

TSingleInstance::~TSingleInstance() {
  if (server_) server_->close();
  if (lock_) lock_->unlock();
}

QString TSingleInstance::RuntimeFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

QString TSingleInstance::LockPath() const {
  return RuntimeFolder() + QStringLiteral("/%1-%2.lock").arg(name_).arg(::getuid());
}

QString TSingleInstance::SocketPath() const {
  return RuntimeFolder() + QStringLiteral("/%1-%2.socket").arg(name_).arg(::getuid());
}

TSingleInstance::TResult TSingleInstance::Start() {
  if (lock_) return server_ ? TResult::First : TResult::Failed;
  lock_ = std::make_unique<QLockFile>(LockPath());
  // Only a lock whose process is gone is stale; a live holder keeps it however long it runs.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) {
    Listen();
    return TResult::First;
  }
  if (lock_->error() == QLockFile::LockFailedError) {
    // The holder may still be between taking the lock and listening: a later start waits a
    // little for its socket, and ends either way, since an instance is running.
    SendRaise();
    return TResult::Running;
  }
  error_ = QStringLiteral("Cannot make the lock file ") + LockPath();
  return TResult::Failed;
}

void TSingleInstance::Listen() {
  // A socket left by a process that died would block the name.
  QLocalServer::removeServer(SocketPath());
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &TSingleInstance::ReadRequests);
  // Without the socket the instance still runs alone; later starts then only end.
  server_->listen(SocketPath());
}

void TSingleInstance::ReadRequests() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    const auto read = [this, socket] {
      while (socket->canReadLine()) {
        if (socket->readLine().trimmed() == kRaiseMessage && OnRaise) OnRaise();
      }
      // Nothing but short requests comes here.
      if (socket->bytesAvailable() > 256) socket->abort();
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    read();
  }
}

bool TSingleInstance::SendRaise() {
  for (int attempt = 0; attempt < kConnectTries; ++attempt) {
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (socket.waitForConnected(kConnectPauseMs)) {
      socket.write(QByteArray(kRaiseMessage) + '\n');
      const bool written = socket.waitForBytesWritten(kWriteTimeoutMs);
      socket.disconnectFromServer();
      return written;
    }
    QThread::msleep(kConnectPauseMs);
  }
  return false;
}

}  // namespace zabko
