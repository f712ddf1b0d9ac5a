#include "learn/views/test_options.h"

#include "platform/registry_ini_file.h"

#include <algorithm>

namespace zabko {

QString ModeSection(int mode) {
  switch (mode) {
    case kModeExam:
      return QStringLiteral("Exam");
    case kModeProd:
      return QStringLiteral("Prod");
    default:
      return QStringLiteral("Test");
  }
}

QString OptionsSection(int mode, int languageCode) {
  return ModeSection(mode) + u'\\' + QString::number(languageCode);
}

int TOptionValues::FromLetter(int firstLetter) const {
  if (Range == kRangeSingle) return Unit;
  if (Range == kRangeSpan) return From;
  return firstLetter;
}

int TOptionValues::ToLetter(int lastLetter) const {
  if (Range == kRangeSingle) return Unit;
  if (Range == kRangeSpan) return To;
  return lastLetter;
}

TOptionValues ReadOptionValues(const TRegistryIniFile& s, int mode, int code, int alphabetSize) {
  const QString section = OptionsSection(mode, code);
  TOptionValues v;
  const auto letter = [&](const char* name) {
    const int value = s.ReadInteger(section, QString::fromLatin1(name), 0);
    return std::clamp(value, 0, std::max(0, alphabetSize - 1));
  };
  v.Range = static_cast<quint8>(s.ReadInteger(section, QStringLiteral("Range"), kRangeAll));
  v.Unit = letter("Unit");
  v.From = letter("From");
  v.To = std::max(v.From, letter("To"));
  v.Sivug = s.ReadInteger(section, QStringLiteral("Sivug"), -1);
  v.TatSivug = s.ReadInteger(section, QStringLiteral("TatSivug"), -1);
  v.Order = static_cast<quint8>(s.ReadInteger(section, QStringLiteral("Order"), 0));
  v.QCount = s.ReadInteger(section, QStringLiteral("QCount"), 10);
  v.QuestionKind = static_cast<quint8>(s.ReadInteger(section, QStringLiteral("QuestionKind"), 0));
  v.Time = s.ReadInteger(section, QStringLiteral("Time"), 20);
  v.Know = s.ReadInteger(section, QStringLiteral("Know"), 3);
  return v;
}

void WriteOptionValues(TRegistryIniFile& s, int mode, int code, const TOptionValues& v) {
  const QString section = OptionsSection(mode, code);
  TRegistryBatch batch(s);
  s.WriteInteger(section, QStringLiteral("LanguageId"), code);
  s.WriteInteger(section, QStringLiteral("Range"), v.Range);
  s.WriteInteger(section, QStringLiteral("Unit"), static_cast<quint8>(v.Unit));
  s.WriteInteger(section, QStringLiteral("From"), static_cast<quint8>(v.From));
  s.WriteInteger(section, QStringLiteral("To"), static_cast<quint8>(v.To));
  s.WriteInteger(section, QStringLiteral("Sivug"), v.Sivug);
  s.WriteInteger(section, QStringLiteral("TatSivug"), v.TatSivug);
  s.WriteInteger(section, QStringLiteral("Order"), v.Order);
  s.WriteInteger(section, QStringLiteral("QCount"), v.QCount);
  s.WriteInteger(section, QStringLiteral("QuestionKind"), v.QuestionKind);
  s.WriteInteger(section, QStringLiteral("Time"), v.Time);
  s.WriteInteger(section, QStringLiteral("Know"), v.Know);
  batch.Commit();
}

int ParseQuestionCount(const QString& text) {
  bool ok = false;
  const int n = text.trimmed().toInt(&ok);
  if (!ok || n < kMinQuestions || n > kMaxQuestions) return 4;
  return n;
}

const QStringList& TimeItems() {
  static const QStringList items = {QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("15"),
                                    QStringLiteral("20"), QStringLiteral("30")};
  return items;
}

int TimeItemIndex(int seconds) { return std::max(0, static_cast<int>(TimeItems().indexOf(QString::number(seconds)))); }

void FromLetterChanged(int& from, int& to) {
  if (to < from) to = from;
}

void ToLetterChanged(int& from, int& to) {
  if (to < from) from = to;
}

}  // namespace zabko
