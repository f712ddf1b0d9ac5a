// The one exception class of the system: a fixed English message, often with a name or number
// appended ("File not found in DB: " + name).
#pragma once

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

 private:
  QString message_;
  QByteArray utf8_;
};

// Messages of the byte streams, shared by every stream class.
inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kStreamWriteError = "Stream write error";

}  // namespace zabko
