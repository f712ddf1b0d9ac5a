#include "platform/filter_graph.h"

#include "platform/exception.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

namespace zabko {

namespace {
bool g_decoderAvailable = true;

std::unique_ptr<TMediaClip> OpenClip(const QString& path) {
  try {
    return OpenMediaClip(QFile::encodeName(path));
  } catch (const Exception&) {
    return nullptr;
  }
}
}  // namespace

HResult TMp3DecoderFilter::Load(const QString& path) {
  clip_ = OpenClip(path);
  return clip_ ? kSOk : kEFail;
}

HResult TMp3DecoderFilter::FindPin(const QString& id, TPin** pin) {
  if (pin == nullptr) return kEPointer;
  *pin = nullptr;
  if (!clip_ || id != QLatin1String("Raw Audio 0")) return kENotFound;
  *pin = &pin_;
  return kSOk;
}

HResult CreateMp3DecoderFilter(std::unique_ptr<TMp3DecoderFilter>& filter) {
  filter.reset();
  if (!g_decoderAvailable) return kEClassNotRegistered;
  filter = std::make_unique<TMp3DecoderFilter>();
  return kSOk;
}

void SetMp3DecoderFilterAvailable(bool available) { g_decoderAvailable = available; }

HResult TFilterGraph::Create(std::unique_ptr<TFilterGraph>& graph) {
  graph.reset();
  if (!HasMediaClipOpener()) return kEClassNotRegistered;
  graph = std::make_unique<TFilterGraph>();
  return kSOk;
}

HResult TFilterGraph::RenderFile(const QString& path) {
  if (clip_ != nullptr) return kEUnexpected;
  clipOwned_ = OpenClip(path);
  if (!clipOwned_) return kECannotRender;
  clip_ = clipOwned_.get();
  return kSOk;
}

HResult TFilterGraph::AddFilter(TMp3DecoderFilter* filter) {
  if (filter == nullptr) return kEPointer;
  if (filter_ != nullptr || filter->graph_ != nullptr) return kEUnexpected;
  filter_ = filter;
  filter->graph_ = this;
  return kSOk;
}

HResult TFilterGraph::Render(TPin* pin) {
  if (pin == nullptr) return kEPointer;
  TMp3DecoderFilter* owner = pin->Owner();
  if (owner != filter_ || !owner->clip_ || clip_ != nullptr) return kECannotRender;
  clip_ = owner->clip_.get();
  return kSOk;
}

HResult TFilterGraph::SetPositions(int64_t current) {
  if (clip_ == nullptr) return kEUnexpected;
  return current == 0 ? kSOk : kEFail;
}

HResult TFilterGraph::Run() {
  if (clip_ == nullptr) return kEUnexpected;
  try {
    clip_->Play();
  } catch (const Exception&) {
    return kEFail;
  }
  running_ = true;
  return kSOk;
}

HResult TFilterGraph::Stop() {
  if (clip_ != nullptr) clip_->Stop();
  running_ = false;
  return kSOk;
}

HResult TFilterGraph::GetState(uint32_t, TFilterState* state) {
  if (state == nullptr) return kEPointer;
  if (running_ && (clip_ == nullptr || !clip_->IsPlaying())) running_ = false;
  *state = running_ ? TFilterState::Running : TFilterState::Stopped;
  return kSOk;
}

HResult TFilterGraph::WaitForCompletion(uint32_t, long* eventCode) {
  if (eventCode == nullptr) return kEPointer;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (!running_ || clip_ == nullptr || !clip_->IsPlaying()) loop.quit();
  });
  poll.start(5);
  if (running_ && clip_ != nullptr && clip_->IsPlaying()) loop.exec();
  *eventCode = running_ ? kEventComplete : kEventUserAbort;
  running_ = false;
  return kSOk;
}

}  // namespace zabko
