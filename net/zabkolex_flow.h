// The learning program's conversation with its servers around log-on and exit: the language-file
// update, the version check over the user's servers, the log-on dialog and the steps of its job
// (stale record check, group search, working-server choice by data counts, log-on, word status,
// hot words), the data-file update, the answer upload with at most two re-logons, the server
// messages by their due rule, and the log-off whose reply becomes the user's data file.
//
// Long steps run as jobs in the modal progress window (IProgressRunner); an exception raised in a
// job ends the window and goes to the application's exception handler, not to the flow. The
// client's base URL is moved by every step: after the version check it is the server that
// answered, after the working-server choice the working group member, which every later session
// request uses.
#pragma once

#include "core/data_packet.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zabko {

class IFileListDownload;
class IFlowClock;
class ILoginDialog;
class IMainWindowHooks;
class IMessageService;
class IProgress;
class IProgressRunner;
class TCubeManagement;
class TZabkolexCentral;
class TZabkolexClient;

// The windows and callbacks the flow works through; none is owned, all must outlive the flow.
struct TFlowServices {
  IProgressRunner* progress = nullptr;
  IMessageService* messages = nullptr;
  IFileListDownload* download = nullptr;
  IMainWindowHooks* mainWindow = nullptr;
  ILoginDialog* loginDialog = nullptr;
  IFlowClock* clock = nullptr;
};

class TZabkolexFlow {
 public:
  // The program's own version number, sent with the file lists and compared with the server's.
  static constexpr qint32 kProgramVersion = 30;
  // The "CheckVersion" flag; it also chooses the exit page.
  static constexpr bool kCheckVersionFlag = true;
  // Re-logons of one upload job before it gives up.
  static constexpr int kUploadRelogons = 2;

  TZabkolexFlow(TZabkolexCentral& central, const TFlowServices& services);
  ~TZabkolexFlow();
  TZabkolexFlow(const TZabkolexFlow&) = delete;
  TZabkolexFlow& operator=(const TZabkolexFlow&) = delete;

  // Connect and log-on.
  // The version check under the progress window.
  void ConnectToServer();
  void CheckVersionJob(IProgress& progress);
  // The log-on dialog; any end other than OK sets MustClose.
  void RunLoginDialog();
  // What the dialog's Enter button starts: the client gets the typed name and password and no
  // base URL, the record of that user is selected (or a fresh one started), and the log-on job
  // runs in the progress window. True when the job logged on and handed over the word status.
  bool LogOnWithProgress(const QByteArray& userName, const QByteArray& password);
  // The log-on job: each failure is reported (connection error or wrong log-on) and gives false.
  bool LogOnJob(IProgress& progress);
  // False when the group server did not answer; a record the group server no longer knows is
  // cleared.
  bool CheckGroupMetaData();
  // True when the record holds the user's group and the search found no fault.
  // Progress, when given, advances once for each server that did not find the user.
  bool CheckUserGroup(IProgress* progress = nullptr);
  void FindUserGroup(IProgress* progress = nullptr);
  // Leaves the client's base URL on the working server; false when too few members answered
  // for the local data. Raises when the counts contradict each other.
  bool ChooseWorkingServer();
  // Known marks and letter counts of every language pack, and the server messages, from a
  // "GetWordsStatus" payload.
  void ApplyWordsStatus(const TDataPacket& status);
  void SetHotWords(const TDataPacket& hotWords);

  // Updates, upload, messages, log-off.
  // The language files from the first of the user's servers that lists them; false on any
  // failure.
  bool UpdateLanguageFiles();
  // The data files under the progress window, then the pronunciation resources and player.
  // Fails with "Missing data file: " + name when a pronunciation database is still missing.
  void UpdateDataFiles();
  void DownloadDataFilesJob(IProgress& progress);
  // The upload in its own progress window; true when no answers remain.
  bool UploadAnswersWithProgress();
  // The upload inside a progress window already showing; true when no answers remain.
  bool UploadAnswers(IProgress& progress);
  void UploadJob(IProgress& progress);
  // A server message shown when due; its counters live in "Messages\<id>".
  bool ShowMessage(const TDataPacket& message);
  // The first due message of the list, at most one.
  void ShowMessages(const TDataPacket& list);
  void ShowPendingMessages();
  // Only when logged on: "LogOff", its reply saved as the user's data file, and the data count
  // brought up to date on the group server when it held metadata at log-on.
  void LogOffAtExit();
  void OpenExitPage();

  // Only http and https links are handed on or opened.
  static bool IsWebLink(const QByteArray& url);
  // The text markup of a server message: the text parts with line breaks and link 0.
  static QString MessageText(const TDataPacket& message);

  TZabkolexCentral* AppCentral;
  // Set when a step failed in a way that must end the program; never cleared.
  bool MustClose = false;
  QByteArray ExitPage1;
  QByteArray ExitPage2;
  // The server messages that came with the word status, shown later.
  TDataPacket Messages;

 private:
  TZabkolexClient& Client() const;
  TCubeManagement& Cube() const;
  QString Text(const QString& key) const;
  void ShowWrongLogOn();
  // The user's data file read again for the user whose key the client now holds.
  void LoadLocalData();
  // The links of a message box: the link when it is a web link, else none.
  static QStringList WebLinks(const QByteArray& link);

  TFlowServices services_;
};

}  // namespace zabko
