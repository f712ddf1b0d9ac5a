// One running instance per user and product. The first start takes a lock file and listens on
// a local socket beside it; a later start finds the lock held, sends "raise" over the socket and
// ends. Both live in $XDG_RUNTIME_DIR (else the temporary folder), named for the product and the
// user's id, so that two users or two products never meet. A lock left by a process that died
// (killed, crashed) is taken over; a lock that cannot be made at all is reported as a failure,
// never as "already running".
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace zabko {

class TSingleInstance : public QObject {
 public:
  enum class TResult {
    First,    // this process holds the lock and listens for "raise"
    Running,  // another process holds it and was asked to raise its window
    Failed,   // the lock could not be made; Error() says why
  };

  // Name: the product ("Zabkolex", "Zabkoplay"); letters, digits, "-" and "_" only.
  explicit TSingleInstance(const QString& name, QObject* parent = nullptr);
  ~TSingleInstance() override;

  // Takes the lock, once.
  TResult Start();
  const QString& Error() const { return error_; }

  // Runs on the GUI thread each time a later start asks this one to come forward.
  std::function<void()> OnRaise;

  // The folder of the lock and the socket.
  static QString RuntimeFolder();
  QString LockPath() const;
  QString SocketPath() const;

  // The message a later start sends.
  static constexpr const char* kRaiseMessage = "raise";

 private:
  void Listen();
  void ReadRequests();
  bool SendRaise();

  QString name_;
  QString error_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
};

}  // namespace zabko
