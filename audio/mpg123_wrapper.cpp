#include "audio/mpg123_wrapper.h"

#include "platform/exception.h"

#include <QString>

#include <dlfcn.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace zabko {

namespace {

// The few parts of libmpg123's interface the program uses, declared here from its documented
// ABI (the library is loaded at run time, so its header is not needed).
struct mpg123_handle;
constexpr int kMpg123Ok = 0;
constexpr int kMpg123NewFormat = -11;
constexpr int kMpg123Done = -12;
constexpr int kMpg123EncSigned16 = 0xD0;
constexpr int kMpg123AddFlags = 2;  // parameter: flags to set
constexpr long kMpg123Quiet = 0x20;   // flag: no messages on stderr

struct Mpg123Api {
  int (*init)();
  void (*exit)();
  mpg123_handle* (*create)(const char* decoder, int* error);
  void (*destroy)(mpg123_handle*);
  int (*param)(mpg123_handle*, int type, long value, double fvalue);
  int (*open)(mpg123_handle*, const char* path);
  int (*getformat)(mpg123_handle*, long* rate, int* channels, int* encoding);
  int (*format_none)(mpg123_handle*);
  int (*format)(mpg123_handle*, long rate, int channels, int encodings);
  size_t (*outblock)(mpg123_handle*);
  int (*read)(mpg123_handle*, void* out, size_t size, size_t* done);
  off_t (*seek)(mpg123_handle*, off_t offset, int whence);
  int (*close)(mpg123_handle*);
};

template <typename F>
bool Bind(void* library, const char* name, F& target) {
  target = reinterpret_cast<F>(dlsym(library, name));
  return target != nullptr;
}

// The library's entry points, or none when it cannot be loaded; loaded once per process.
const Mpg123Api* Api() {
  static Mpg123Api api;
  static bool loaded = false;
  static std::once_flag once;
  std::call_once(once, [] {
    void* library = dlopen("libmpg123.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return;
    loaded = Bind(library, "mpg123_init", api.init) && Bind(library, "mpg123_exit", api.exit) &&
             Bind(library, "mpg123_new", api.create) && Bind(library, "mpg123_delete", api.destroy) &&
             Bind(library, "mpg123_param", api.param) && Bind(library, "mpg123_open", api.open) &&
             Bind(library, "mpg123_getformat", api.getformat) &&
             Bind(library, "mpg123_format_none", api.format_none) && Bind(library, "mpg123_format", api.format) &&
             Bind(library, "mpg123_outblock", api.outblock) && Bind(library, "mpg123_read", api.read) &&
             Bind(library, "mpg123_seek", api.seek) && Bind(library, "mpg123_close", api.close);
  });
  return loaded ? &api : nullptr;
}

bool g_initialised = false;

}  // namespace

struct TMPG123Wrapper::Handle {
  mpg123_handle* h;
};

void CheckMpg123Result(int result, const char* method) {
  if (result != kMpg123Ok) throw Exception(QStringLiteral("mpg123 failed with method ") + QString::fromLatin1(method));
}

void EnsureMpg123() {
  if (g_initialised) return;
  try {
    const Mpg123Api* api = Api();
    if (api == nullptr) throw Exception("mpg123 not loaded");
    CheckMpg123Result(api->init(), "mpg123_init");
  } catch (...) {
    throw Exception("Failed to load mpg123");
  }
  g_initialised = true;
}

void ExitMpg123() {
  if (g_initialised) Api()->exit();
  g_initialised = false;
}

TMPG123Wrapper::TMPG123Wrapper(const QByteArray& path) {
  EnsureMpg123();
  const Mpg123Api* api = Api();
  int error = kMpg123Ok;
  mpg123_handle* h = api->create(nullptr, &error);
  if (h == nullptr) CheckMpg123Result(error == kMpg123Ok ? -1 : error, "mpg123_new");
  handle_ = new Handle{h};
  api->param(h, kMpg123AddFlags, kMpg123Quiet, 0.0);
  const int opened = api->open(h, path.constData());
  if (opened != kMpg123Ok) {
    api->destroy(h);
    delete handle_;
    handle_ = nullptr;
    CheckMpg123Result(opened, "mpg123_open");
  }
}

TMPG123Wrapper::~TMPG123Wrapper() {
  if (handle_ == nullptr) return;
  const Mpg123Api* api = Api();
  api->close(handle_->h);
  api->destroy(handle_->h);
  delete handle_;
}

void TMPG123Wrapper::SetupFormat(long rate, int channels) {
  const Mpg123Api* api = Api();
  CheckMpg123Result(api->format_none(handle_->h), "mpg123_format_none");
  CheckMpg123Result(api->format(handle_->h, rate, channels, kMpg123EncSigned16), "mpg123_format");
  sampleRate_ = rate;
  channels_ = channels;
  formatForced_ = true;
  outBlock_ = api->outblock(handle_->h);
}

void TMPG123Wrapper::SetupFormat() {
  if (formatForced_) return;
  const Mpg123Api* api = Api();
  int encoding = 0;
  CheckMpg123Result(api->getformat(handle_->h, &sampleRate_, &channels_, &encoding), "mpg123_getformat");
  CheckMpg123Result(api->format_none(handle_->h), "mpg123_format_none");
  // The wave output plays 16-bit samples, whatever the library would pick by itself.
  CheckMpg123Result(api->format(handle_->h, sampleRate_, channels_, kMpg123EncSigned16), "mpg123_format");
  outBlock_ = api->outblock(handle_->h);
}

qint64 TMPG123Wrapper::DecodeToStream(TStream& stream, qint64 limit) {
  SetupFormat();
  const Mpg123Api* api = Api();
  std::vector<char> buffer(std::max<size_t>(outBlock_, 1));
  qint64 total = 0;
  int emptyReads = 0;
  while (total < limit) {
    const size_t wanted = static_cast<size_t>(std::min<qint64>(static_cast<qint64>(buffer.size()), limit - total));
    size_t done = 0;
    const int result = api->read(handle_->h, buffer.data(), wanted, &done);
    if (done > 0) {
      stream.WriteBuffer(buffer.data(), static_cast<qint64>(done));
      total += static_cast<qint64>(done);
      emptyReads = 0;
    }
    if (result == kMpg123Done) {
      endOfStream_ = true;
      break;
    }
    if (result == kMpg123NewFormat) {
      // The format fixed above is announced once; a real change would garble the PCM.
      long rate = 0;
      int channels = 0;
      int encoding = 0;
      api->getformat(handle_->h, &rate, &channels, &encoding);
      if (rate == sampleRate_ && channels == channels_ && encoding == kMpg123EncSigned16) continue;
      CheckMpg123Result(result, "mpg123_read");
    }
    // A decode error is reported rather than passing off a truncated sound as whole.
    CheckMpg123Result(result, "mpg123_read");
    if (done == 0 && ++emptyReads > 1000) CheckMpg123Result(-1, "mpg123_read");
  }
  return total;
}

void TMPG123Wrapper::Rewind() {
  if (Api()->seek(handle_->h, 0, SEEK_SET) != 0) throw Exception("Failed to mpg123_seek");
  endOfStream_ = false;
}

}  // namespace zabko
