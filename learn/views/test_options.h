// The values of the options page shared by the practice test, the exam and production, kept per
// mode and language in the settings section "<mode>\<language code>", and the rules that tie
// them together (question count, letter range, time items).
#pragma once

#include <QString>
#include <QStringList>

namespace zabko {

class TRegistryIniFile;

enum TOptionsMode : quint8 { kModeTest = 0, kModeExam = 1, kModeProd = 2 };

// "Test", "Exam" or "Prod".
QString ModeSection(int mode);
// The settings section of a mode and language: "Exam\20".
QString OptionsSection(int mode, int languageCode);

// Letter choice of the page.
enum TLetterRange : quint8 { kRangeSingle = 0, kRangeSpan = 1, kRangeAll = 2 };

struct TOptionValues {
  quint8 Range = kRangeAll;
  int Unit = 0;
  int From = 0;
  int To = 0;
  qint32 Sivug = -1;
  qint32 TatSivug = -1;
  quint8 Order = 0;
  int QCount = 10;
  quint8 QuestionKind = 0;
  int Time = 20;
  int Know = 3;

  // The first and last letter of the chosen words.
  int FromLetter(int firstLetter) const;
  int ToLetter(int lastLetter) const;
};

// Reads a section; the letter indexes are brought into 0..alphabetSize - 1, To not below From.
TOptionValues ReadOptionValues(const TRegistryIniFile& settings, int mode, int languageCode, int alphabetSize);
// Writes every value of a section, "LanguageId" first, in one batch.
void WriteOptionValues(TRegistryIniFile& settings, int mode, int languageCode, const TOptionValues& values);

constexpr int kMinQuestions = 5;
constexpr int kMaxQuestions = 200;
// The count in the field, or 4 when it is not an integer in 5..200.
int ParseQuestionCount(const QString& text);

// The items of the seconds-per-question list, and the index of a stored time (0 when absent).
const QStringList& TimeItems();
int TimeItemIndex(int seconds);

// A new first letter raises the last one to it; a new last letter lowers the first one.
void FromLetterChanged(int& from, int& to);
void ToLetterChanged(int& from, int& to);

}  // namespace zabko
