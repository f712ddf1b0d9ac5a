#include "platform/delayed_call.h"

#include "platform/exception.h"
#include "platform/exception_handler.h"

#include <QPointer>
#include <QThread>

namespace zabko {

TDelayedCall::TDelayedCall(QObject* parent) : QObject(parent) {}

void TDelayedCall::Post(Method method) {
  Q_ASSERT(QThread::currentThread() == thread());
  if (pending_) throw Exception(kAlreadyHasDelayedCall);
  pending_ = std::move(method);
  if (!pending_) return;  // an empty method: nothing to run
  QMetaObject::invokeMethod(this, &TDelayedCall::Run, Qt::QueuedConnection);
}

void TDelayedCall::Run() {
  if (!pending_) return;
  // The method may delete this object: it runs from a copy of its own, and the pending mark is
  // cleared only when the object is still there.
  const Method method = pending_;
  const QPointer<TDelayedCall> self(this);
  Guarded(method);
  if (self) pending_ = nullptr;
}

}  // namespace zabko
