// The crash and trace log: one 8-bit text file, lines ending in CR LF, appended and flushed at
// each write. Nothing is written until a log is installed (the "Log" switch or the "UseLog"
// setting). Once installed, every exception that reaches HandleException (platform/
// exception_handler.h) and every fatal signal leaves a record: "Exception:", the raising address
// and up to 31 return addresses of the call chain, each relative to the start of the program's
// code, as 8 upper-case hex digits.
//
// Writes may come from any thread; they are serialised, so lines never interleave.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <exception>

namespace zabko {

inline constexpr int kLogBuildNumber = 204;
inline constexpr const char* kFailedToInstallLogger = "Failed to install logger";

void SetLogFileName(const QString& name);
QString GetLogFileName();

// Computes the code start, opens the log and installs the exception hook (once per process,
// however many logs are installed). False, with the log closed, when the file cannot be opened.
bool InstallLogger();

// Closes any open log, opens the named file for appending (created when missing) and writes the
// opening line. False, with the log closed, on any failure.
bool OpenLog();

// Writes the bytes and flushes them to disk; true only when all were written and flushed. A
// closed log drops the bytes and answers false.
bool WriteLogRaw(const QByteArray& text);

// The text followed by CR LF.
void LogLine(const QByteArray& text);

void CloseLog();
bool IsLogOpen();

// Trace lines are written when the trace level (0 by default, 1 with the "Trace" switch) is at
// least their level. Every trace line of the system uses level 1.
void SetTraceLevel(std::uint8_t level);
std::uint8_t GetTraceLevel();
void TraceLog(const QByteArray& text, std::uint8_t level = 1);

// The developer log ("Log" switch): "KestraniLog.txt" in the data home itself, then the build
// line and the command line. Fails with "Failed to install logger".
void InstallDevLog(const QStringList& arguments);

// The production log ("UseLog" setting): the given file, then the build line. Fails with
// "Failed to install logger".
void InstallProductionLog(const QString& fileName);

// The start of the program's code that logged addresses are relative to (0 before InstallLogger).
void ComputeCodeBase();
std::uintptr_t CodeBase();

// Turns on call-chain capture, hooks LogExceptionTrace into HandleException and installs the
// fatal-signal handlers. Safe to call more than once.
void InstallExceptionHook();

// Writes the record of an exception in one write: the chain captured when a zabko::Exception
// was raised, or for any other exception the chain of the handler that caught it.
void LogExceptionTrace(const std::exception_ptr& error);

}  // namespace zabko
