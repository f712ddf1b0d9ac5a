// The second half of the connection flow: language and data files, answer upload, server
// messages, log-off and the exit page.
#include "net/zabkolex_flow.h"

#include "core/cube_management.h"
#include "core/exception_log.h"
#include "core/file.h"
#include "core/str.h"
#include "core/zabkolex_strings.h"
#include "net/answer_holder.h"
#include "net/db_handler.h"
#include "net/flow_hooks.h"
#include "net/flow_ui.h"
#include "net/zabkolex_central.h"
#include "net/zabkolex_client.h"
#include "platform/atomic_file.h"
#include "platform/exception.h"
#include "platform/registry_ini_file.h"

#include <QFileInfo>
#include <QUrl>

#include <cmath>
#include <exception>

namespace zabko {
namespace {

constexpr int kDataFileSteps = 5;
constexpr int kUploadExtraSteps = 4;
constexpr int kLevelWaits = 4;
constexpr int kLevelWaitMs = 500;
constexpr int kLanguageFileMinutes = 2;
constexpr int kDataFileMinutes = 10;

QByteArray What(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message().toUtf8();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown failure";
  }
}

}  // namespace

bool TZabkolexFlow::IsWebLink(const QByteArray& url) {
  const QUrl parsed(QString::fromLatin1(url), QUrl::StrictMode);
  const QString scheme = parsed.scheme().toLower();
  return parsed.isValid() && (scheme == "http" || scheme == "https") && !parsed.host().isEmpty();
}

QStringList TZabkolexFlow::WebLinks(const QByteArray& link) {
  if (IsWebLink(link)) return {QString::fromLatin1(link)};
  if (!link.isEmpty()) LogLine("A server link that is not a web link is left out: " + link.left(200));
  return {};
}

bool TZabkolexFlow::UpdateLanguageFiles() {
  try {
    TZabkolexClient& client = Client();
    TCubeManagement& cube = Cube();
    quint8 kind = kServerDefault;
    QByteArray start, url;
    cube.FirstServer(kind, start, url);
    TDataPacket files;
    bool listed = false;
    for (int servers = 0; !url.isEmpty() && !listed && servers <= cube.CandidateCount(); ++servers) {
      client.SetBaseURL(url);
      files.Clear();
      try {
        listed = client.GetPreDownloadFiles(kProgramVersion, url, files);
      } catch (const Exception& e) {
        // A server that answers with an error status is passed over like one that is down.
        LogLine("GetPreDownloadFiles at " + url + ": " + e.Message().toUtf8());
      }
      if (!listed) cube.NextServer(kind, start, url);
    }
    if (!listed) return false;
    return services_.download->DownloadFilesWithProgress(
        AppCentral->ResolveAppDataPath(QString()), QStringLiteral("LangIndex.dat"), files,
        TWStr::Format(Text("UpdatingTimeApprox"), {kLanguageFileMinutes}), Text("UpdatingFilesLine1"),
        Text("UpdatingFilesLine2"), AppCentral->IsHebrewInterface());
  } catch (...) {
    LogLine("The language files could not be updated: " + What(std::current_exception()));
    return false;
  }
}

void TZabkolexFlow::UpdateDataFiles() {
  services_.progress->RunJob(kDataFileSteps, Text("UpdateFilesCaption"),
                             [this](IProgress& progress) { DownloadDataFilesJob(progress); });
  // Without a file the player needs (a first run whose server went away) nothing could play.
  for (const QString& name : AppCentral->AudioResourceNames()) {
    if (!QFileInfo::exists(AppCentral->ResolveAppDataPath(name))) {
      LogLine("Missing data file: " + name.toUtf8());
      throw Exception("Missing data file: " + name);
    }
  }
  AppCentral->BuildAudioResources();
}

void TZabkolexFlow::DownloadDataFilesJob(IProgress& progress) {
  TDataPacket files;
  try {
    if (!Client().GetDownloadFiles(kProgramVersion, false, false, files)) {
      files.Clear();
      LogLine("GetDownloadFiles failed; the data files stay as they are");
    }
  } catch (const Exception& e) {
    files.Clear();
    LogLine("GetDownloadFiles failed (" + e.Message().toUtf8() + "); the data files stay as they are");
  }
  progress.Step();
  const QString folder = AppCentral->ResolveAppDataPath(AppCentral->AppType().GetDataFolder() + "\\");
  TFile::ForceDirectories(folder);
  progress.Step();
  services_.download->DownloadFilesWithProgress(
      folder, QStringLiteral("Index.dat"), files, TWStr::Format(Text("UpdatingTimeApprox"), {kDataFileMinutes}),
      Text("UpdatingFilesLine1"), Text("UpdatingFilesLine2"), AppCentral->IsHebrewInterface());
  progress.Step();
}

bool TZabkolexFlow::UploadAnswersWithProgress() {
  TAnswerHolder& holder = AppCentral->AnswerHolder();
  if (!holder.IsEmpty())
    services_.progress->RunJob(holder.Count() + kUploadExtraSteps, Text("UpdateInfoAtServer"),
                               [this](IProgress& progress) { UploadJob(progress); });
  return holder.IsEmpty();
}

bool TZabkolexFlow::UploadAnswers(IProgress& progress) {
  UploadJob(progress);
  return AppCentral->AnswerHolder().IsEmpty();
}

void TZabkolexFlow::UploadJob(IProgress& progress) {
  TAnswerHolder& holder = AppCentral->AnswerHolder();
  TZabkolexClient& client = Client();
  const bool hadAnswers = !holder.IsEmpty();
  // One file for the whole job, even if a re-logon changes the client's user key.
  const QString answersFile = services_.mainWindow->GetAnswersFileName();
  const auto SaveAnswers = [&] { holder.SaveToFile(answersFile); };
  SaveAnswers();
  progress.Step();

  int relogons = kUploadRelogons;
  try {
    while (!holder.IsEmpty()) {
      const int before = holder.Count();
      if (!holder.Upload(client)) {
        if (relogons == 0) {
          services_.messages->ShowMessageWithLinks(Text("ErrorDetection"), Text("ConnectionRetry"), {});
          break;
        }
        --relogons;
        client.LogOn(AppCentral->DBHandler().LocalDataCount(), false, nullptr);
        continue;
      }
      // What the server took leaves the file at once, so a crash later in the job cannot
      // send it a second time.
      SaveAnswers();
      for (int removed = before - holder.Count(); removed > 0; --removed) progress.Step();
    }
  } catch (...) {
    // Batches that went up before the failure are not kept for another upload.
    try {
      SaveAnswers();
    } catch (...) {
      LogLine("The answers file could not be saved after a failed upload");
    }
    throw;
  }
  SaveAnswers();

  if (hadAnswers && relogons == kUploadRelogons) {
    progress.SetCaption(Text("IncorperatingInfoLevels"));
    progress.ProcessMessages();
    for (int i = 0; i < kLevelWaits; ++i) {
      services_.clock->Wait(kLevelWaitMs);
      progress.Step();
    }
  }
}

QString TZabkolexFlow::MessageText(const TDataPacket& message) {
  const auto part = [&](int i) {
    return i < message.UTFStringCount() ? message.GetUTFString(i) : QString();
  };
  if (part(4).isEmpty()) return part(1);
  return part(1) + "~\\n~" + part(2) + "~\\n~" + part(3) + "~[,,16646144]<0>" + part(4) + "~" + part(5);
}

bool TZabkolexFlow::ShowMessage(const TDataPacket& message) {
  if (message.IntegerCount() < 3 || message.DateCount() < 2) {
    LogLine("A server message without its id, counters or dates is left out");
    return false;
  }
  // The box shows a caption and a text: a message without them, or with both empty, is no
  // message and must not use up one of its showings.
  if (message.UTFStringCount() < 2 || (message.GetUTFString(0).isEmpty() && MessageText(message).isEmpty())) {
    LogLine("A server message without its caption or text is left out: " + QByteArray::number(message.GetInteger(0)));
    return false;
  }
  const TDateTime now = services_.clock->Now();
  const TDateTime today = std::floor(now);
  if (now < message.GetDate(0) || today > message.GetDate(1)) return false;

  TRegistryIniFile& settings = AppCentral->Settings();
  const QString section = "Messages\\" + QString::number(message.GetInteger(0));
  const qint32 count = settings.ReadInteger(section, "Count", message.GetInteger(1));
  if (count <= 0) return false;
  const qint32 period = message.GetInteger(2);
  const TDateTime last = settings.ReadDateTime(section, "Last", today - period - 1);
  if (last + period > today) return false;

  TRegistryBatch batch(settings);
  settings.WriteDateTime(section, "Last", today);
  settings.WriteInteger(section, "Count", count - 1);
  batch.Commit();
  const QByteArray link = message.StringCount() > 0 ? message.GetString(0) : QByteArray();
  const QString caption = message.UTFStringCount() > 0 ? message.GetUTFString(0) : QString();
  services_.messages->ShowMessageWithLinks(caption, MessageText(message), WebLinks(link));
  return true;
}

void TZabkolexFlow::ShowMessages(const TDataPacket& list) {
  for (int i = 0; i < list.PacketCount(); ++i)
    if (ShowMessage(*list.GetPacket(i))) return;
}

void TZabkolexFlow::ShowPendingMessages() { ShowMessages(Messages); }

void TZabkolexFlow::LogOffAtExit() {
  TZabkolexClient& client = Client();
  if (!client.IsLoggedOn()) return;
  TDataPacket reply;
  client.LogOff(services_.mainWindow->GetFollowStates(), &reply);
  // A successful log-off ends the session. Any other reply ("Not Logged", an error) is no data
  // descriptor: its error number would become the local data count.
  if (client.IsLoggedOn()) reply.Clear();
  if (TCubeManagement::IsSafeUserKey(client.UserKey)) {
    try {
      WriteFileAtomically(services_.mainWindow->GetUserDataFileName(), reply.SaveToBytes(), kPrivateFileMode);
    } catch (const Exception& e) {
      LogLine("The user's data file could not be written: " + e.Message().toUtf8());
    }
  }

  TCubeManagement& cube = Cube();
  if (cube.HasWorkingServer == 0) return;
  const QByteArray previous = client.SetBaseURL(cube.CubeServer);
  try {
    client.UpdateDataCount();
  } catch (const Exception& e) {
    LogLine("UpdateDataCount: " + e.Message().toUtf8());
  }
  client.SetBaseURL(previous);
}

void TZabkolexFlow::OpenExitPage() {
  if (!AppCentral->AppType().OpenServerPage()) return;
  const QByteArray page = kCheckVersionFlag ? ExitPage1 : ExitPage2;
  if (IsWebLink(page))
    TFile::ShellOpen(QString::fromLatin1(page));
  else if (!page.isEmpty())
    LogLine("An exit page that is not a web link is not opened: " + page.left(200));
}

}  // namespace zabko
