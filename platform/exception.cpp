#include "platform/exception.h"

namespace zabko {

Exception::Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

Exception::Exception(const char* message) : Exception(QString::fromUtf8(message)) {}

}  // namespace zabko
