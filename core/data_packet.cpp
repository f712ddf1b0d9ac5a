#include "core/data_packet.h"

#include "core/buffered_stream.h"
#include "platform/exception.h"
#include "platform/stream.h"
#include "platform/atomic_file.h"
#include "platform/code_page.h"
#include "platform/text_compare.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <span>
#include <tuple>
#include <type_traits>
#include <utility>

namespace zabko {
namespace {

constexpr quint32 kMagic = 0xEE1199AA;

enum Flag : quint8 {
  kFlagIntegers = 0x01,
  kFlagBooleans = 0x02,
  kFlagBytes = 0x04,
  kFlagStrings = 0x08,
  kFlagUTFStrings = 0x10,
  kFlagDates = 0x20,
  kFlagDoubles = 0x40,
  kFlagPackets = 0x80,
};

[[noreturn]] void IndexError(int index) {
  throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}

template <typename Vec, typename T>
int IndexOfValue(const Vec& v, const T& value) {
  const auto it = std::find(v.begin(), v.end(), value);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

// General float text: up to 15 significant digits, fixed notation for values whose integer
// part has at most 15 digits and that are at least 0.00001, scientific ("1E20") otherwise.
QString FloatToText(double value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  if (value == 0) return QStringLiteral("0");
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", value);
  // buf: [-]d.ddddddddddddddde[+-]xx
  const char* e = std::strchr(buf, 'e');
  const int exponent = std::atoi(e + 1);
  if (exponent < 15 && std::fabs(value) >= 0.00001) {
    const int decimals = std::max(0, 14 - exponent);
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    QString text = QString::fromLatin1(buf);
    if (text.contains('.')) {
      while (text.endsWith('0')) text.chop(1);
      if (text.endsWith('.')) text.chop(1);
    }
    return text;
  }
  QString mantissa = QString::fromLatin1(buf, static_cast<int>(e - buf));
  if (mantissa.contains('.')) {
    while (mantissa.endsWith('0')) mantissa.chop(1);
    if (mantissa.endsWith('.')) mantissa.chop(1);
  }
  return mantissa + 'E' + QString::number(exponent);
}

QString DateToText(TDateTime value) {
  try {
    // The system's date-times carry no zone: shown as they are, never shifted by daylight saving.
    const DateTimeFields f = DecodeDateTime(value);
    const QDateTime shown(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second, f.millisecond), Qt::UTC);
    return QLocale::system().toString(shown, QLocale::ShortFormat);
  } catch (const Exception&) {
    return FloatToText(value);
  }
}

}  // namespace

// ---- Storage: each list in one block, typed by its kind.

struct PacketStorage {
  using Kind = TDataPacket::ListKind;
  using Block = TDataPacket::Block;
  using ListBlock = TDataPacket::ListBlock;
  using Directory = TDataPacket::Directory;
  using Types = std::tuple<qint32, QByteArray, QString, quint8, quint8, std::unique_ptr<TDataPacket>,
                           TDateTime, double>;
  template <Kind K>
  using T = std::tuple_element_t<K, Types>;

  // The elements start after the block's head, aligned for every element type.
  static constexpr size_t kDataOffset = 16;
  static_assert(sizeof(ListBlock) <= kDataOffset && alignof(std::max_align_t) >= kDataOffset);
  static constexpr size_t kMaxCount = static_cast<size_t>(std::numeric_limits<int>::max());

  template <Kind K>
  static T<K>* Data(const ListBlock* b) {
    return reinterpret_cast<T<K>*>(reinterpret_cast<char*>(const_cast<ListBlock*>(b)) + kDataOffset);
  }

  template <Kind K>
  static std::span<const T<K>> Items(const TDataPacket& p) {
    const ListBlock* b = p.Find(K);
    if (!b) return {};
    return {Data<K>(b), b->size};
  }
  template <Kind K>
  static std::span<T<K>> Items(TDataPacket& p) {
    const ListBlock* b = p.Find(K);
    if (!b) return {};
    return {Data<K>(b), b->size};
  }

  // Room for Needed elements of list K, moving the list to a larger block when it must. A new
  // list gets exactly the room asked for (a loaded list never grows again); a growing one
  // doubles. Nothing changes when an allocation fails.
  template <Kind K>
  static ListBlock* Reserve(TDataPacket& p, size_t needed) {
    ListBlock* old = const_cast<ListBlock*>(p.Find(K));
    if (old && old->capacity >= needed) return old;
    if (needed > kMaxCount) throw Exception("Packet list too long");
    const size_t capacity = old ? std::min(kMaxCount, std::max(needed, 2 * size_t{old->capacity})) : needed;
    void* raw = ::operator new(kDataOffset + capacity * sizeof(T<K>));
    if (p.lists_ && p.lists_->kind != K && p.lists_->kind != TDataPacket::kListKinds) {
      // A second kind of list: the packet's lists go into a directory.
      Directory* dir;
      try {
        dir = new Directory();
      } catch (...) {
        ::operator delete(raw);
        throw;
      }
      dir->kind = TDataPacket::kListKinds;
      dir->lists[p.lists_->kind] = static_cast<ListBlock*>(p.lists_);
      p.lists_ = dir;
    }
    auto* fresh = new (raw) ListBlock;
    fresh->kind = K;
    fresh->size = 0;
    fresh->capacity = static_cast<quint32>(capacity);
    if (old) {
      T<K>* from = Data<K>(old);
      T<K>* to = Data<K>(fresh);
      if constexpr (std::is_trivially_copyable_v<T<K>>) {
        std::memcpy(static_cast<void*>(to), from, old->size * sizeof(T<K>));
      } else {
        for (quint32 i = 0; i < old->size; ++i) {
          new (to + i) T<K>(std::move(from[i]));
          from[i].~T<K>();
        }
      }
      fresh->size = old->size;
    }
    if (p.lists_ == nullptr || p.lists_ == old) p.lists_ = fresh;
    else static_cast<Directory*>(p.lists_)->lists[K] = fresh;
    ::operator delete(old);
    return fresh;
  }

  // N value-initialised elements (zeros, empty strings, no packets) at the end of list K; the
  // first of them, or none when N is 0 (an empty list costs nothing).
  template <Kind K>
  static T<K>* AppendDefault(TDataPacket& p, size_t n) {
    if (n == 0) return nullptr;
    ListBlock* b = Reserve<K>(p, size_t{static_cast<quint32>(p.CountOf(K))} + n);
    T<K>* at = Data<K>(b) + b->size;
    std::uninitialized_value_construct_n(at, n);
    b->size += static_cast<quint32>(n);
    return at;
  }

  template <Kind K>
  static void AppendCopy(TDataPacket& p, std::span<const T<K>> from) {
    if (from.empty()) return;
    ListBlock* b = Reserve<K>(p, size_t{static_cast<quint32>(p.CountOf(K))} + from.size());
    std::uninitialized_copy(from.begin(), from.end(), Data<K>(b) + b->size);
    b->size += static_cast<quint32>(from.size());
  }

  template <Kind K>
  static int Add(TDataPacket& p, T<K> value) {
    Insert<K>(p, p.CountOf(K), std::move(value));
    return p.CountOf(K) - 1;
  }

  template <Kind K>
  static void Insert(TDataPacket& p, int index, T<K> value) {
    const int n = p.CountOf(K);
    if (index < 0 || index > n) IndexError(index);
    ListBlock* b = Reserve<K>(p, size_t{static_cast<quint32>(n)} + 1);
    T<K>* d = Data<K>(b);
    if (index == n) {
      new (d + n) T<K>(std::move(value));
    } else {
      new (d + n) T<K>(std::move(d[n - 1]));
      std::move_backward(d + index, d + n - 1, d + n);
      d[index] = std::move(value);
    }
    ++b->size;
  }

  template <Kind K>
  static void Erase(TDataPacket& p, int index, int count) {
    if (count <= 0) return;
    const int n = p.CountOf(K);
    if (index < 0 || static_cast<qint64>(index) + count > n) IndexError(index);
    auto* b = const_cast<ListBlock*>(p.Find(K));
    T<K>* d = Data<K>(b);
    std::move(d + index + count, d + n, d + index);
    std::destroy(d + n - count, d + n);
    b->size -= static_cast<quint32>(count);
  }

  template <Kind K>
  static void Free(ListBlock* b) {
    std::destroy_n(Data<K>(b), b->size);
    ::operator delete(b);
  }

  static void FreeList(ListBlock* b) {
    switch (b->kind) {
      case TDataPacket::kIntegers: return Free<TDataPacket::kIntegers>(b);
      case TDataPacket::kStrings: return Free<TDataPacket::kStrings>(b);
      case TDataPacket::kUTFStrings: return Free<TDataPacket::kUTFStrings>(b);
      case TDataPacket::kBytes: return Free<TDataPacket::kBytes>(b);
      case TDataPacket::kBooleans: return Free<TDataPacket::kBooleans>(b);
      case TDataPacket::kPackets: return Free<TDataPacket::kPackets>(b);
      case TDataPacket::kDates: return Free<TDataPacket::kDates>(b);
      case TDataPacket::kDoubles: return Free<TDataPacket::kDoubles>(b);
      default: break;
    }
  }

  static void FreeAll(Block* lists) {
    if (!lists) return;
    if (lists->kind != TDataPacket::kListKinds) return FreeList(static_cast<ListBlock*>(lists));
    auto* dir = static_cast<Directory*>(lists);
    for (ListBlock* b : dir->lists)
      if (b) FreeList(b);
    delete dir;
  }
};

using S = PacketStorage;

// ---- Writer: builds the whole binary form in memory.

class PacketWriter {
 public:
  QByteArray& Bytes() { return out_; }

  void Write(const TDataPacket& p) {
    Put32(kMagic);
    quint8 flags = 0;
    if (p.IntegerCount()) flags |= kFlagIntegers;
    if (p.BooleanCount()) flags |= kFlagBooleans;
    if (p.ByteCount()) flags |= kFlagBytes;
    if (p.StringCount()) flags |= kFlagStrings;
    if (p.UTFStringCount()) flags |= kFlagUTFStrings;
    if (p.DateCount()) flags |= kFlagDates;
    if (p.DoubleCount()) flags |= kFlagDoubles;
    if (p.PacketCount()) flags |= kFlagPackets;
    out_.append(static_cast<char>(flags));

    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the binary form is little-endian");
    if (const int n = p.IntegerCount()) {
      Put32(static_cast<quint32>(n));
      out_.append(reinterpret_cast<const char*>(S::Items<TDataPacket::kIntegers>(p).data()), 4 * static_cast<qsizetype>(n));
    }
    if (const int n = p.BooleanCount()) {
      Put32(static_cast<quint32>(n));
      out_.append(reinterpret_cast<const char*>(S::Items<TDataPacket::kBooleans>(p).data()), n);
    }
    if (const int n = p.ByteCount()) {
      Put32(static_cast<quint32>(n));
      out_.append(reinterpret_cast<const char*>(S::Items<TDataPacket::kBytes>(p).data()), n);
    }
    if (const int n = p.DateCount()) {
      Put32(static_cast<quint32>(n));
      for (TDateTime d : S::Items<TDataPacket::kDates>(p)) {
        const DateTimeFields f = DecodeDateTime(d);
        for (int v : {f.year, f.month, f.day, f.hour, f.minute, f.second, f.millisecond})
          Put16(static_cast<quint16>(v));
      }
    }
    if (const int n = p.StringCount()) {
      Put32(static_cast<quint32>(n));
      for (const QByteArray& s : S::Items<TDataPacket::kStrings>(p)) {
        Put32(static_cast<quint32>(s.size()));
        out_.append(s);
      }
    }
    if (const int n = p.UTFStringCount()) {
      Put32(static_cast<quint32>(n));
      for (const QString& s : S::Items<TDataPacket::kUTFStrings>(p)) PutUTF(s);
    }
    if (const int n = p.DoubleCount()) {
      Put32(static_cast<quint32>(n));
      out_.append(reinterpret_cast<const char*>(S::Items<TDataPacket::kDoubles>(p).data()), 8 * static_cast<qsizetype>(n));
    }
    if (const int n = p.PacketCount()) {
      Put32(static_cast<quint32>(n));
      for (const auto& sub : S::Items<TDataPacket::kPackets>(p)) Write(*sub);
    }
  }

 private:
  void Put16(quint16 v) {
    const char raw[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    out_.append(raw, 2);
  }
  void Put32(quint32 v) {
    const char raw[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                         static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
    out_.append(raw, 4);
  }
  // Each UTF-16 code unit on its own as 1, 2 or 3 bytes; surrogates are ordinary units.
  void PutUTF(const QString& s) {
    const qsizetype n = s.size();
    Put32(static_cast<quint32>(n));
    const qsizetype start = out_.size();
    out_.resize(start + 3 * n);
    char* d = out_.data() + start;
    char* const begin = d;
    for (const QChar qc : s) {
      const char16_t u = qc.unicode();
      if (u < 0x80) {
        *d++ = static_cast<char>(u);
      } else if (u < 0x800) {
        *d++ = static_cast<char>(0xC0 | (u >> 6));
        *d++ = static_cast<char>(0x80 | (u & 0x3F));
      } else {
        *d++ = static_cast<char>(0xE0 | (u >> 12));
        *d++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        *d++ = static_cast<char>(0x80 | (u & 0x3F));
      }
    }
    out_.resize(start + (d - begin));
  }

  QByteArray out_;
};

// ---- Reader: parses straight from the stream's own buffer where it has one, checks every
// count and length against what is left, and caps the nesting depth.

class PacketReader {
 public:
  explicit PacketReader(TStream& stream) : s_(stream) {
    const qint64 size = stream.Size();
    const qint64 position = stream.Position();
    remaining_ = size >= position ? size - position : -1;
  }
  ~PacketReader() {
    // Leave the stream just after what was parsed (also after a failure, harmlessly).
    try {
      Commit();
    } catch (...) {
    }
  }

  void Load(TDataPacket& p, int depth) {
    if (depth > TDataPacket::kMaxDepth) throw Exception("Packet nesting too deep");
    if (Get32() != kMagic) throw Exception("Invalid packet header");
    const quint8 flags = GetByte();

    // Each list is made at its full length and filled in place; a list flagged with a count
    // of 0 is not made at all.
    if (flags & kFlagIntegers) {
      const int n = GetCount(4);
      if (qint32* d = S::AppendDefault<TDataPacket::kIntegers>(p, n)) GetRaw(d, 4 * static_cast<qint64>(n));
    }
    if (flags & kFlagBooleans) {
      const int n = GetCount(1);
      if (quint8* d = S::AppendDefault<TDataPacket::kBooleans>(p, n)) GetRaw(d, n);
    }
    if (flags & kFlagBytes) {
      const int n = GetCount(1);
      if (quint8* d = S::AppendDefault<TDataPacket::kBytes>(p, n)) GetRaw(d, n);
    }
    if (flags & kFlagDates) {
      const int n = GetCount(14);
      TDateTime* d = S::AppendDefault<TDataPacket::kDates>(p, n);
      for (int i = 0; i < n; ++i) {
        quint16 f[7];
        GetRaw(f, sizeof f);
        d[i] = EncodeDateTime({f[0], f[1], f[2], f[3], f[4], f[5], f[6]});
      }
    }
    if (flags & kFlagStrings) {
      const int n = GetCount(4);
      QByteArray* d = S::AppendDefault<TDataPacket::kStrings>(p, n);
      for (int i = 0; i < n; ++i) {
        const int length = GetCount(1);
        if (length == 0) continue;
        d[i] = QByteArray(length, Qt::Uninitialized);
        GetRaw(d[i].data(), length);
      }
    }
    if (flags & kFlagUTFStrings) {
      const int n = GetCount(4);
      QString* d = S::AppendDefault<TDataPacket::kUTFStrings>(p, n);
      for (int i = 0; i < n; ++i) d[i] = GetUTF();
    }
    if (flags & kFlagDoubles) {
      const int n = GetCount(8);
      if (double* d = S::AppendDefault<TDataPacket::kDoubles>(p, n)) GetRaw(d, 8 * static_cast<qint64>(n));
    }
    if (flags & kFlagPackets) {
      const int n = GetCount(5);
      std::unique_ptr<TDataPacket>* d = S::AppendDefault<TDataPacket::kPackets>(p, n);
      for (int i = 0; i < n; ++i) {
        d[i].reset(p.NewPacket());
        Load(*d[i], depth + 1);
      }
    }
  }

 private:
  qint64 Consumed() const { return committed_ + (cur_ - begin_); }

  void Commit() {
    if (cur_ != begin_) {
      s_.Consume(cur_ - begin_);
      committed_ += cur_ - begin_;
    }
    begin_ = end_ = cur_ = nullptr;
  }

  // Makes a view of the stream's bytes current; false when the stream has none.
  bool Refill() {
    Commit();
    qint64 available = 0;
    const char* view = s_.PeekBuffer(available);
    if (!view || available <= 0) return false;
    begin_ = cur_ = view;
    end_ = view + available;
    return true;
  }

  [[noreturn]] static void EndsEarly() { throw Exception("Packet data ends early"); }

  void GetRaw(void* out, qint64 n) {
    auto* d = static_cast<char*>(out);
    while (n > 0) {
      if (cur_ == end_ && !Refill()) {
        // No view: read straight from the stream.
        try {
          s_.ReadBuffer(d, n);
        } catch (const Exception&) {
          EndsEarly();
        }
        committed_ += n;
        return;
      }
      const qint64 take = std::min<qint64>(n, end_ - cur_);
      std::memcpy(d, cur_, static_cast<size_t>(take));
      cur_ += take;
      d += take;
      n -= take;
    }
  }

  quint8 GetByte() {
    if (cur_ != end_) return static_cast<quint8>(*cur_++);
    quint8 b;
    GetRaw(&b, 1);
    return b;
  }

  quint32 Get32() {
    quint32 v;
    if (end_ - cur_ >= 4) {
      std::memcpy(&v, cur_, 4);
      cur_ += 4;
    } else {
      GetRaw(&v, 4);
    }
    return v;
  }

  // A count or length, checked to be non-negative and to fit in what is left of the data at
  // MinSize bytes an element.
  int GetCount(int minSize) {
    const qint32 n = static_cast<qint32>(Get32());
    if (n < 0) throw Exception("Invalid packet data: negative count");
    if (remaining_ >= 0 && static_cast<qint64>(n) * minSize > remaining_ - Consumed())
      EndsEarly();
    return n;
  }

  QString GetUTF() {
    const int n = GetCount(1);
    QString s(n, Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(s.data());
    for (int i = 0; i < n; ++i) {
      const quint8 b1 = GetByte();
      if (b1 < 0x80) {
        d[i] = b1;
        continue;
      }
      const quint8 b2 = GetByte();
      if (!(b1 & 0x20)) {
        d[i] = static_cast<char16_t>(((b1 & 0x1F) << 6) + (b2 & 0x3F));
        continue;
      }
      const quint8 b3 = GetByte();
      if (b1 & 0x10) throw Exception("Support for up to three byte UTF encoding");
      d[i] = static_cast<char16_t>(((b1 & 0x0F) << 12) + ((b2 & 0x3F) << 6) + (b3 & 0x3F));
    }
    return s;
  }

  TStream& s_;
  qint64 remaining_ = -1;
  qint64 committed_ = 0;
  const char* begin_ = nullptr;
  const char* cur_ = nullptr;
  const char* end_ = nullptr;
};

// ---- TDataPacket

std::unique_ptr<TDataPacket> TDataPacket::CreateSized(int integerCount, int stringCount,
                                                      int utfStringCount, int byteCount,
                                                      int booleanCount, int dateCount,
                                                      int doubleCount, int packetCount) {
  auto p = std::make_unique<TDataPacket>();
  const auto count = [](int n) { return static_cast<size_t>(std::max(0, n)); };
  S::AppendDefault<kIntegers>(*p, count(integerCount));
  S::AppendDefault<kStrings>(*p, count(stringCount));
  S::AppendDefault<kUTFStrings>(*p, count(utfStringCount));
  S::AppendDefault<kBytes>(*p, count(byteCount));
  S::AppendDefault<kBooleans>(*p, count(booleanCount));
  S::AppendDefault<kDates>(*p, count(dateCount));
  S::AppendDefault<kDoubles>(*p, count(doubleCount));
  if (auto* d = S::AppendDefault<kPackets>(*p, count(packetCount)))
    for (int i = 0; i < packetCount; ++i) d[i].reset(p->NewPacket());
  return p;
}

TDataPacket::~TDataPacket() { S::FreeAll(lists_); }

namespace {

template <typename Span>
auto& At(Span items, int index) {
  if (index < 0 || static_cast<size_t>(index) >= items.size()) IndexError(index);
  return items[static_cast<size_t>(index)];
}

}  // namespace

void TDataPacket::SetBoolean(int index, bool value) { At(S::Items<kBooleans>(*this), index) = value ? 1 : 0; }
bool TDataPacket::GetBoolean(int index) const { return At(S::Items<kBooleans>(*this), index) != 0; }
quint8 TDataPacket::RawBoolean(int index) const { return At(S::Items<kBooleans>(*this), index); }
quint8 TDataPacket::GetByte(int index) const { return At(S::Items<kBytes>(*this), index); }
void TDataPacket::SetByte(int index, quint8 value) { At(S::Items<kBytes>(*this), index) = value; }
qint32 TDataPacket::GetInteger(int index) const { return At(S::Items<kIntegers>(*this), index); }
void TDataPacket::SetInteger(int index, qint32 value) { At(S::Items<kIntegers>(*this), index) = value; }
TDataPacket* TDataPacket::GetPacket(int index) const { return At(S::Items<kPackets>(*this), index).get(); }
void TDataPacket::SetString(int index, const QByteArray& value) { At(S::Items<kStrings>(*this), index) = value; }
QByteArray TDataPacket::GetString(int index) const { return At(S::Items<kStrings>(*this), index); }
QString TDataPacket::GetUTFString(int index) const { return At(S::Items<kUTFStrings>(*this), index); }
void TDataPacket::SetUTFString(int index, const QString& value) {
  At(S::Items<kUTFStrings>(*this), index) = value;
}
TDateTime TDataPacket::GetDate(int index) const { return At(S::Items<kDates>(*this), index); }
void TDataPacket::SetDate(int index, TDateTime value) { At(S::Items<kDates>(*this), index) = value; }
double TDataPacket::GetDouble(int index) const { return At(S::Items<kDoubles>(*this), index); }
void TDataPacket::SetDouble(int index, double value) { At(S::Items<kDoubles>(*this), index) = value; }

TDataPacket* TDataPacket::NewPacket() {
  auto* p = new TDataPacket();
  p->parent_ = this;
  return p;
}

void TDataPacket::Clear() { S::FreeAll(std::exchange(lists_, nullptr)); }

void TDataPacket::SwapContents(TDataPacket& other) {
  std::swap(lists_, other.lists_);
  for (const auto& p : S::Items<kPackets>(*this)) p->parent_ = this;
  for (const auto& p : S::Items<kPackets>(other)) p->parent_ = &other;
}

void TDataPacket::SaveToStream(TStream& stream) const {
  // The whole form is made first, so a packet that cannot be written (a date out of range)
  // leaves nothing half written in the stream.
  stream.WriteBuffer(SaveToBytes());
}

void TDataPacket::SaveToFile(const QString& fileName) const {
  WriteFileAtomically(fileName, SaveToBytes());
}

void TDataPacket::LoadFromStream(TStream& stream) {
  TDataPacket fresh;
  {
    PacketReader reader(stream);
    reader.Load(fresh, 0);
  }
  SwapContents(fresh);
}

void TDataPacket::LoadFromFile(const QString& fileName, bool buffered) {
  if (buffered) {
    TBufferedStream stream(std::make_unique<TFileStream>(fileName, FileMode::OpenRead));
    LoadFromStream(stream);
  } else {
    TFileStream stream(fileName, FileMode::OpenRead);
    LoadFromStream(stream);
  }
}

QByteArray TDataPacket::SaveToBytes() const {
  PacketWriter writer;
  writer.Write(*this);
  return std::move(writer.Bytes());
}

void TDataPacket::LoadFromBytes(const QByteArray& bytes) {
  TMemoryStream stream(bytes);
  LoadFromStream(stream);
}

QByteArray TDataPacket::SaveToHexString() const {
  const QByteArray bytes = SaveToBytes();
  return BytesToHex(bytes.constData(), bytes.size());
}

void TDataPacket::LoadFromHexString(const QByteArray& text) {
  LoadFromBytes(HexToBytes(text.constData(), text.size()));
}

void TDataPacket::Assign(const TAbstractDataPacket& source) {
  // Built aside and swapped in, so that assigning from this packet or one of its own
  // sub-packets reads a source that is still whole.
  TDataPacket copy;
  if (const auto* s = dynamic_cast<const TDataPacket*>(&source)) {
    S::AppendCopy<kIntegers>(copy, S::Items<kIntegers>(*s));
    S::AppendCopy<kBooleans>(copy, S::Items<kBooleans>(*s));
    S::AppendCopy<kBytes>(copy, S::Items<kBytes>(*s));
    S::AppendCopy<kDates>(copy, S::Items<kDates>(*s));
    S::AppendCopy<kStrings>(copy, S::Items<kStrings>(*s));
    S::AppendCopy<kUTFStrings>(copy, S::Items<kUTFStrings>(*s));
    S::AppendCopy<kDoubles>(copy, S::Items<kDoubles>(*s));
  } else {
    for (int i = 0, n = source.IntegerCount(); i < n; ++i) copy.AddInteger(source.GetInteger(i));
    for (int i = 0, n = source.BooleanCount(); i < n; ++i) copy.AddBoolean(source.GetBoolean(i));
    for (int i = 0, n = source.ByteCount(); i < n; ++i) copy.AddByte(source.GetByte(i));
    for (int i = 0, n = source.DateCount(); i < n; ++i) copy.AddDate(source.GetDate(i));
    for (int i = 0, n = source.StringCount(); i < n; ++i) copy.AddString(source.GetString(i));
    for (int i = 0, n = source.UTFStringCount(); i < n; ++i) copy.AddUTFString(source.GetUTFString(i));
    for (int i = 0, n = source.DoubleCount(); i < n; ++i) copy.AddDouble(source.GetDouble(i));
  }
  const int packets = source.PacketCount();
  if (auto* d = S::AppendDefault<kPackets>(copy, static_cast<size_t>(std::max(0, packets)))) {
    for (int i = 0; i < packets; ++i) {
      d[i].reset(copy.NewPacket());
      d[i]->Assign(*source.GetPacket(i));
    }
  }
  SwapContents(copy);
}

QString TDataPacket::ToText() const {
  QStringList lines;
  lines << QStringLiteral("Integers:");
  for (qint32 v : S::Items<kIntegers>(*this)) lines << QString::number(v);
  lines << QString();
  lines << QStringLiteral("Dates:");
  for (TDateTime v : S::Items<kDates>(*this)) lines << DateToText(v);
  lines << QString();
  lines << QStringLiteral("Doubles:");
  for (double v : S::Items<kDoubles>(*this)) lines << FloatToText(v);
  lines << QString();
  lines << QStringLiteral("Bytes:");
  for (quint8 v : S::Items<kBytes>(*this)) lines << QString::number(v);
  lines << QString();
  lines << QStringLiteral("Booleans:");
  for (quint8 v : S::Items<kBooleans>(*this)) lines << (v ? QStringLiteral("True") : QStringLiteral("False"));
  lines << QString();
  lines << QStringLiteral("Strings:");
  for (const QByteArray& v : S::Items<kStrings>(*this)) lines << SystemCodePageToWide(v);
  lines << QString();
  lines << QStringLiteral("UTFStrings:");
  for (const QString& v : S::Items<kUTFStrings>(*this)) lines << v;
  lines << QString();
  lines << QStringLiteral("Packets:");
  for (const auto& p : S::Items<kPackets>(*this)) {
    lines << QStringLiteral("---");
    lines << p->ToText();
  }
  QString text;
  for (const QString& line : lines) {
    text += line;
    text += QStringLiteral("\r\n");
  }
  return text;
}

int TDataPacket::AddInteger(qint32 value) { return S::Add<kIntegers>(*this, value); }
int TDataPacket::AddString(const QByteArray& value) { return S::Add<kStrings>(*this, value); }
int TDataPacket::AddUTFString(const QString& value) { return S::Add<kUTFStrings>(*this, value); }
int TDataPacket::AddByte(quint8 value) { return S::Add<kBytes>(*this, value); }
int TDataPacket::AddBoolean(bool value) { return S::Add<kBooleans>(*this, value ? 1 : 0); }
int TDataPacket::AddDate(TDateTime value) { return S::Add<kDates>(*this, value); }
int TDataPacket::AddDouble(double value) { return S::Add<kDoubles>(*this, value); }
int TDataPacket::AddPacket(TDataPacket* packet) {
  InsertPacket(PacketCount(), packet);
  return PacketCount() - 1;
}
TDataPacket* TDataPacket::AddNewPacket() {
  TDataPacket* p = NewPacket();
  AddPacket(p);
  return p;
}

int TDataPacket::AddBytes(const TByteArray& source, int start, int count) {
  if (count < 0 || start < 0 || static_cast<size_t>(start) + static_cast<size_t>(count) > source.size())
    IndexError(start);
  S::AppendCopy<kBytes>(*this, std::span<const quint8>(source.data() + start, static_cast<size_t>(count)));
  return ByteCount() - 1;
}

int TDataPacket::AddBytesFromStream(TStream& stream, int count) {
  if (count < 0) IndexError(count);
  // Read first, so that a short stream leaves the Bytes list as it was.
  TByteArray block(static_cast<size_t>(count));
  stream.ReadBuffer(block.data(), count);
  S::AppendCopy<kBytes>(*this, std::span<const quint8>(block));
  return ByteCount() - 1;
}

TByteArray TDataPacket::GetBytes(int index, int count) const {
  const auto bytes = S::Items<kBytes>(*this);
  if (count < 0 || index < 0 || static_cast<size_t>(index) + static_cast<size_t>(count) > bytes.size())
    IndexError(index);
  return TByteArray(bytes.begin() + index, bytes.begin() + index + count);
}

int TDataPacket::IndexOfInteger(qint32 value) const { return IndexOfValue(S::Items<kIntegers>(*this), value); }
int TDataPacket::IndexOfString(const QByteArray& value) const {
  return IndexOfValue(S::Items<kStrings>(*this), value);
}
int TDataPacket::IndexOfUTFString(const QString& value) const {
  const auto items = S::Items<kUTFStrings>(*this);
  for (size_t i = 0; i < items.size(); ++i)
    if (LocaleEqual(items[i], value, false)) return static_cast<int>(i);
  return -1;
}
int TDataPacket::IndexOfByte(quint8 value) const { return IndexOfValue(S::Items<kBytes>(*this), value); }
int TDataPacket::IndexOfBoolean(bool value) const {
  return IndexOfValue(S::Items<kBooleans>(*this), static_cast<quint8>(value ? 1 : 0));
}
int TDataPacket::IndexOfDate(TDateTime value) const { return IndexOfValue(S::Items<kDates>(*this), value); }
int TDataPacket::IndexOfDouble(double value) const { return IndexOfValue(S::Items<kDoubles>(*this), value); }
int TDataPacket::IndexOfPacket(const TDataPacket* packet) const {
  const auto items = S::Items<kPackets>(*this);
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == packet) return static_cast<int>(i);
  return -1;
}

void TDataPacket::InsertInteger(int index, qint32 value) { S::Insert<kIntegers>(*this, index, value); }
void TDataPacket::InsertString(int index, const QByteArray& value) { S::Insert<kStrings>(*this, index, value); }
void TDataPacket::InsertUTFString(int index, const QString& value) {
  S::Insert<kUTFStrings>(*this, index, value);
}
void TDataPacket::InsertByte(int index, quint8 value) { S::Insert<kBytes>(*this, index, value); }
void TDataPacket::InsertBoolean(int index, bool value) { S::Insert<kBooleans>(*this, index, value ? 1 : 0); }
void TDataPacket::InsertDate(int index, TDateTime value) { S::Insert<kDates>(*this, index, value); }
void TDataPacket::InsertDouble(int index, double value) { S::Insert<kDoubles>(*this, index, value); }
void TDataPacket::InsertPacket(int index, TDataPacket* packet) {
  if (!packet) throw Exception("Cannot add an unassigned packet");
  if (index < 0 || index > PacketCount()) IndexError(index);
  // Made room for first: the packet is owned only once it is in the list.
  S::Reserve<kPackets>(*this, static_cast<size_t>(PacketCount()) + 1);
  S::Insert<kPackets>(*this, index, std::unique_ptr<TDataPacket>(packet));
  packet->parent_ = this;
}

void TDataPacket::DeleteInteger(int index) { DeleteIntegers(index, 1); }
void TDataPacket::DeleteString(int index) { DeleteStrings(index, 1); }
void TDataPacket::DeleteUTFString(int index) { DeleteUTFStrings(index, 1); }
void TDataPacket::DeleteByte(int index) { DeleteBytes(index, 1); }
void TDataPacket::DeleteBoolean(int index) { DeleteBooleans(index, 1); }
void TDataPacket::DeleteDate(int index) { DeleteDates(index, 1); }
void TDataPacket::DeleteDouble(int index) { DeleteDoubles(index, 1); }
void TDataPacket::DeletePacket(int index) { DeletePackets(index, 1); }

void TDataPacket::DeleteIntegers(int index, int count) { S::Erase<kIntegers>(*this, index, count); }
void TDataPacket::DeleteStrings(int index, int count) { S::Erase<kStrings>(*this, index, count); }
void TDataPacket::DeleteUTFStrings(int index, int count) { S::Erase<kUTFStrings>(*this, index, count); }
void TDataPacket::DeleteBytes(int index, int count) { S::Erase<kBytes>(*this, index, count); }
void TDataPacket::DeleteBooleans(int index, int count) { S::Erase<kBooleans>(*this, index, count); }
void TDataPacket::DeleteDates(int index, int count) { S::Erase<kDates>(*this, index, count); }
void TDataPacket::DeleteDoubles(int index, int count) { S::Erase<kDoubles>(*this, index, count); }
void TDataPacket::DeletePackets(int index, int count) { S::Erase<kPackets>(*this, index, count); }

TDataPacket* TDataPacket::FindPacketByString(const QByteArray& text, int index) const {
  if (index < 0) return nullptr;
  for (const auto& p : S::Items<kPackets>(*this)) {
    const auto strings = S::Items<kStrings>(*p);
    if (static_cast<size_t>(index) < strings.size() && strings[static_cast<size_t>(index)] == text) return p.get();
  }
  return nullptr;
}

std::unique_ptr<TDataPacket> TDataPacket::Clone() {
  std::unique_ptr<TDataPacket> copy(NewPacket());
  copy->Assign(*this);
  return copy;
}

bool TDataPacket::IsEmpty() const {
  for (int k = 0; k < kListKinds; ++k)
    if (CountOf(static_cast<ListKind>(k)) != 0) return false;
  return true;
}

// ---- Hex text

namespace {

struct HexTables {
  char16_t pairs[256];     // two upper-case digits of each byte, as one 16-bit store
  quint8 values[256];      // digit value of each character
  HexTables() {
    for (int b = 0; b < 256; ++b) {
      const char hi = NibbleToHex(b >> 4), lo = NibbleToHex(b & 15);
      char raw[2] = {hi, lo};
      std::memcpy(&pairs[b], raw, 2);
    }
    for (int c = 0; c < 256; ++c) values[c] = static_cast<quint8>(HexToNibble(static_cast<char>(c)));
  }
};

const HexTables& Tables() {
  static const HexTables tables;
  return tables;
}

}  // namespace

char NibbleToHex(int value) {
  value &= 15;
  return static_cast<char>(value < 10 ? value + 48 : value + 55);
}

QByteArray ByteToHex(quint8 value) {
  const char digits[2] = {NibbleToHex(value >> 4), NibbleToHex(value & 15)};
  return QByteArray(digits, 2);
}

int HexToNibble(char digit) {
  const int code = static_cast<unsigned char>(digit);
  // Lower-case digits are accepted as well; anything else keeps the system's arithmetic.
  if (code >= 'a' && code <= 'f') return code - 'a' + 10;
  return code > '9' ? code - 55 : code - 48;
}

quint8 HexPairToByte(char high, char low) {
  return static_cast<quint8>(16 * HexToNibble(high) + HexToNibble(low));
}

QByteArray BytesToHex(const char* data, qsizetype size) {
  const HexTables& t = Tables();
  QByteArray text(2 * size, Qt::Uninitialized);
  char* out = text.data();
  for (qsizetype i = 0; i < size; ++i)
    std::memcpy(out + 2 * i, &t.pairs[static_cast<quint8>(data[i])], 2);
  return text;
}

QByteArray HexToBytes(const char* text, qsizetype length) {
  const HexTables& t = Tables();
  const qsizetype n = length / 2;
  QByteArray bytes(n, Qt::Uninitialized);
  char* out = bytes.data();
  const auto* in = reinterpret_cast<const unsigned char*>(text);
  for (qsizetype i = 0; i < n; ++i)
    out[i] = static_cast<char>((t.values[in[2 * i]] << 4) + t.values[in[2 * i + 1]]);
  return bytes;
}

QByteArray StreamToHex(TCustomMemoryStream& stream) {
  return BytesToHex(stream.Memory(), stream.Size());
}

void HexToStream(const QByteArray& text, TMemoryStream& stream) {
  const QByteArray bytes = HexToBytes(text.constData(), text.size());
  stream.SetSize(bytes.size());
  stream.SetPosition(0);
  stream.WriteBuffer(bytes.constData(), bytes.size());
}

}  // namespace zabko
