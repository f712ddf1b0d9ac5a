// The one exception class of the system: a fixed English message, often with a name or number
// appended ("File not found in DB: " + name). While a crash log is installed, each exception
// also carries the call chain of the place that raised it.
#pragma once

#include "platform/call_chain.h"

#include <QByteArray>
#include <QString>

#include <exception>

namespace zabko {

class Exception : public std::exception {
 public:
  explicit Exception(QString message);
  explicit Exception(const char* message);

  const QString& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.constData(); }
  const CallChain& Chain() const noexcept { return chain_; }

 private:
  Exception(QString message, void* site);

  QString message_;
  QByteArray utf8_;
  CallChain chain_;
};

// Messages of the byte streams, shared by every stream class.
inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kStreamWriteError = "Stream write error";

}  // namespace zabko
