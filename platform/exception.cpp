#include "platform/exception.h"

namespace zabko {

// The public constructors are kept out of line so that their return address is the raising site.
Exception::Exception(QString message) : Exception(std::move(message), __builtin_return_address(0)) {}

Exception::Exception(const char* message) : Exception(QString::fromUtf8(message), __builtin_return_address(0)) {}

Exception::Exception(QString message, void* site) : message_(std::move(message)), utf8_(message_.toUtf8()) {
  CaptureCallChain(chain_, site);
}

}  // namespace zabko
