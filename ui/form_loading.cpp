#include "ui/form_loading.h"

#include "ui/anchors.h"

#include <QWidget>

namespace zabko {

namespace {
thread_local TFormLoading* current = nullptr;
}

TFormLoading::TFormLoading(QWidget* form) : form_(form), outer_(current) { current = this; }

TFormLoading::~TFormLoading() {
  if (open_ && current == this) current = outer_;
}

void TFormLoading::Finish() {
  if (!open_) return;
  open_ = false;
  if (current == this) current = outer_;
  const QList<Entry> entries = std::move(entries_);
  for (const Entry& entry : entries) {
    if (entry.object) entry.loadable->Loaded();
  }
  if (form_) RebaseAnchors(form_);
}

bool TFormLoading::Register(QObject* object, INLoadable* loadable) {
  if (!current) return false;
  current->entries_.append({object, loadable});
  return true;
}

}  // namespace zabko
