// The connect and log-on half of the connection flow: version check, log-on dialog and job,
// stale record check, group search, working-server choice and word status.
#include "net/zabkolex_flow.h"

#include "core/cube_management.h"
#include "core/exception_log.h"
#include "core/language_pack.h"
#include "core/zabkolex_strings.h"
#include "net/answer_holder.h"
#include "net/db_handler.h"
#include "net/flow_hooks.h"
#include "net/flow_ui.h"
#include "net/zabkolex_central.h"
#include "net/zabkolex_client.h"
#include "platform/exception.h"

#include <QFileInfo>

#include <array>

namespace zabko {
namespace {

constexpr int kVersionTries = 3;
constexpr int kLogOnSteps = 11;
constexpr const char* kMemberPage = "AccessIn.ashx?page=CUBEMEMBER";

QString Num(qint64 n) { return QString::number(n); }

}  // namespace

TZabkolexFlow::TZabkolexFlow(TZabkolexCentral& central, const TFlowServices& services)
    : AppCentral(&central), services_(services) {}

TZabkolexFlow::~TZabkolexFlow() = default;

TZabkolexClient& TZabkolexFlow::Client() const { return AppCentral->Client(); }

// Always through the central object: the log-on may replace the record.
TCubeManagement& TZabkolexFlow::Cube() const { return AppCentral->CubeManagement(); }

QString TZabkolexFlow::Text(const QString& key) const { return AppCentral->Strings().GetString(key); }

void TZabkolexFlow::ConnectToServer() {
  const int steps = 3 * Cube().CandidateCount() + 2;
  services_.progress->RunJob(steps, Text("ConnetingtoServer"),
                             [this](IProgress& progress) { CheckVersionJob(progress); });
}

void TZabkolexFlow::CheckVersionJob(IProgress& progress) {
  TZabkolexClient& client = Client();
  TCubeManagement& cube = Cube();
  quint8 kind = kServerDefault;
  QByteArray start, url;
  cube.FirstServer(kind, start, url);

  bool answered = false;
  qint32 version = 0, serverType = 0;
  QByteArray link;
  TDataPacket messages;
  // The walk ends with an empty URL; the bound only guards against a record that never ends.
  for (int servers = 0; !url.isEmpty() && !answered && servers <= cube.CandidateCount(); ++servers) {
    client.SetBaseURL(url);
    for (int attempt = 0; attempt < kVersionTries && !answered; ++attempt) {
      QByteArray answer;
      client.CheckVersion(kCheckVersionFlag, version, answer, link, ExitPage1, ExitPage2, serverType,
                          &messages);
      answered = !answer.isEmpty();
      if (!answered) progress.Step();
    }
    if (!answered) cube.NextServer(kind, start, url);
  }

  if (!answered) {
    services_.mainWindow->ShowConnectionError();
    MustClose = true;
  } else if (serverType != AppCentral->AppType().GetVersionNumber()) {
    services_.mainWindow->ShowInvalidServer();
    MustClose = true;
  } else if (version <= kProgramVersion) {
    ShowMessages(messages);
  } else {
    services_.messages->ShowMessageWithLinks(Text("NewVersionCaption"), Text("NewVersionText"),
                                             WebLinks(link));
    MustClose = true;
  }
}

void TZabkolexFlow::RunLoginDialog() {
  if (!services_.loginDialog->RunLoginDialog(*this)) MustClose = true;
}

bool TZabkolexFlow::LogOnWithProgress(const QByteArray& userName, const QByteArray& password) {
  TZabkolexClient& client = Client();
  client.UserName = userName;
  client.Password = password;
  // The job chooses the server anew.
  client.SetBaseURL(QByteArray());
  if (!Cube().SelectUserByName(userName)) AppCentral->ResetCubeManagement();
  bool loggedOn = false;
  services_.progress->RunJob(kLogOnSteps, Text("LoginJobCaption"),
                             [&](IProgress& progress) { loggedOn = LogOnJob(progress); });
  return loggedOn;
}

void TZabkolexFlow::ShowWrongLogOn() {
  services_.messages->ShowMessageWithLinks(Text("ErrorDetection"), Text("WrongLogingFull"),
                                           {Text("RegisterLoginLink")});
}

bool TZabkolexFlow::LogOnJob(IProgress& progress) {
  TZabkolexClient& client = Client();
  // Answers in memory belong to the user logged on before: they go to that user's file, and
  // the queue starts empty for this log-on, so they are never sent under another user.
  TAnswerHolder& holder = AppCentral->AnswerHolder();
  if (!holder.IsEmpty() && TCubeManagement::IsSafeUserKey(client.UserKey))
    holder.SaveToFile(services_.mainWindow->GetAnswersFileName());
  holder.Clear();
  IMainWindowHooks& window = *services_.mainWindow;
  progress.Step();
  if (!CheckGroupMetaData()) {
    window.ShowConnectionError();
    return false;
  }
  if (!CheckUserGroup(&progress)) {
    if (Cube().CubeQueryResult == 3)
      ShowWrongLogOn();
    else
      window.ShowConnectionError();
    return false;
  }
  LoadLocalData();
  if (!ChooseWorkingServer()) {
    window.ShowConnectionError();
    return false;
  }
  TDataPacket logOnReply;
  if (!client.LogOn(AppCentral->DBHandler().LocalDataCount(), true, &logOnReply)) {
    progress.Step();
    if (client.LogOnRefused)
      ShowWrongLogOn();
    else
      window.ShowConnectionError();
    return false;
  }
  // The key names the user's files: a key that cannot be a file name is not taken.
  if (!TCubeManagement::IsSafeUserKey(client.UserKey)) {
    LogLine("LogOn: the server gave a user key that cannot name the user's files");
    client.SessionId = -1;
    window.ShowConnectionError();
    return false;
  }
  Cube().UserKey = client.UserKey;
  Cube().SaveUser();
  progress.Step();
  AppCentral->AnswerHolder().LoadFromFile(window.GetAnswersFileName());
  if (!UploadAnswers(progress)) return false;

  progress.Step();
  if (client.LogOnValue <= 0) {
    progress.Step();
    return true;
  }
  TDataPacket status, hotWords;
  if (!client.GetWordsStatus(status)) {
    window.ShowConnectionError();
    return false;
  }
  progress.Step();
  if (AppCentral->AppType().ShowHotWords() && !client.GetHotWordsData(hotWords)) {
    window.ShowConnectionError();
    return false;
  }
  progress.Step();
  ApplyWordsStatus(status);
  SetHotWords(hotWords);
  progress.Step();
  return true;
}

void TZabkolexFlow::LoadLocalData() {
  TDBHandler& db = AppCentral->DBHandler();
  db.Data().Clear();
  if (!TCubeManagement::IsSafeUserKey(Client().UserKey)) return;
  const QString fileName = services_.mainWindow->GetUserDataFileName();
  if (!QFileInfo::exists(fileName)) return;
  try {
    db.LoadFromFile(fileName);
  } catch (const Exception& e) {
    db.Data().Clear();
    LogLine("The user's data file could not be read: " + e.Message().toUtf8());
  }
}

bool TZabkolexFlow::CheckGroupMetaData() {
  TCubeManagement& cube = Cube();
  if (cube.CubeServer.isEmpty()) return true;
  TZabkolexClient& client = Client();
  client.SetBaseURL(cube.CubeServer);
  // The record's own key: the client has none before the first log-on of a run.
  client.UserKey = cube.UserKey;
  bool hasMetaData = false;
  if (!client.HasDataMetaData(hasMetaData)) return false;
  if (!hasMetaData) cube.ClearUser();
  return true;
}

bool TZabkolexFlow::CheckUserGroup(IProgress* progress) {
  Client().UserKey = Cube().UserKey;
  FindUserGroup(progress);
  return !Cube().CubeServer.isEmpty() && Cube().CubeQueryResult == 0;
}

void TZabkolexFlow::FindUserGroup(IProgress* progress) {
  TCubeManagement& cube = Cube();
  if (!cube.CubeServer.isEmpty()) return;
  TZabkolexClient& client = Client();
  bool someUnknown = false, someFailed = false;
  QByteArray url = cube.DefaultServer();
  // The rotation comes back to an empty URL; the bound only guards against one that does not.
  for (int servers = 0; !url.isEmpty() && servers < 16; ++servers) {
    client.SetBaseURL(url);
    TDataPacket reply;
    if (client.FindUserCube(reply)) {
      if (reply.GetBoolean(0)) {
        cube.Username = client.UserName;
        cube.LoadFromPacket(reply);
        // Every later request of this log-on asks about the user just found.
        client.UserKey = cube.UserKey;
        cube.CubeQueryResult = 0;
        return;
      }
      someUnknown = true;
    } else {
      someFailed = true;
    }
    if (progress) progress->Step();
    QByteArray next;
    cube.NextDefaultServer(url, next);
    url = next;
  }
  cube.CubeQueryResult = !someUnknown ? 1 : someFailed ? 2 : 3;
}

bool TZabkolexFlow::ChooseWorkingServer() {
  TZabkolexClient& client = Client();
  TCubeManagement& cube = Cube();
  const qint32 local = AppCentral->DBHandler().LocalDataCount();

  // The group server's record of the working server; a reply without a count is no record.
  client.SetBaseURL(cube.CubeServer);
  qint32 metaCount = 0;
  QByteArray metaUrl;
  const bool hasMeta = client.GetDataMetaData(metaCount, metaUrl);
  if (!hasMeta) {
    metaCount = 0;
    metaUrl.clear();
  }
  cube.HasWorkingServer = hasMeta ? 1 : 0;

  const std::vector<TCubeMember> members = cube.CubeMembers;
  std::vector<qint32> counts(members.size(), -1);  // -1: down
  qint32 max = -1;
  int maxMember = -1, up = 0;
  for (size_t i = 0; i < members.size(); ++i) {
    client.SetBaseURL(members[i].url);
    qint32 count = 0;
    if (!client.GetDataCount(count)) continue;
    counts[i] = count;
    ++up;
    // The first member up sets the maximum whatever its count: -1 means only "none up", and
    // MaxMember is then always a member.
    if (maxMember < 0 || count > max) {
      max = count;
      maxMember = static_cast<int>(i);
    }
  }
  const bool allUp = up == static_cast<int>(members.size());
  const auto memberOf = [&](const QByteArray& url) {
    for (size_t i = 0; i < members.size(); ++i)
      if (members[i].url == url) return static_cast<int>(i);
    return -1;
  };

  if (std::max(max, metaCount) < local) {
    if (allUp)
      throw Exception("Local data count (" + Num(local) + ") is larger than maximal (" + Num(max) +
                      ") and server (" + Num(metaCount) + ")");
    return false;
  }

  QByteArray working;
  if (hasMeta) {
    const int w = memberOf(TCubeManagement::StripAccessPage(metaUrl));
    if (w < 0) throw Exception("Invalid working server from cube server");
    const qint32 c = counts[static_cast<size_t>(w)];
    if (!allUp) {
      if (c < metaCount || c < max)
        throw Exception("Working servers data count (" + Num(c) + ") is smaller than server (" +
                        Num(metaCount) + "), maximal: " + Num(max));
      working = members[static_cast<size_t>(w)].url;
    } else if (metaCount >= max && c >= max) {
      working = members[static_cast<size_t>(w)].url;
    } else {
      metaCount = max;
      if (c < max) metaUrl = members[static_cast<size_t>(maxMember)].url + kMemberPage;
      client.SetBaseURL(cube.CubeServer);
      client.SetDataMetaData(metaCount, metaUrl);
      working = TCubeManagement::StripAccessPage(metaUrl);
    }
  } else {
    if (!allUp) throw Exception("Too many servers down. Servers up: " + Num(up));
    const int main = memberOf(cube.FirstMemberURL());
    if (main < 0) throw Exception("Invalid main cube member");
    const int chosen = counts[static_cast<size_t>(main)] == max ? main : maxMember;
    working = members[static_cast<size_t>(chosen)].url;
  }
  client.SetBaseURL(working);
  return true;
}

void TZabkolexFlow::ApplyWordsStatus(const TDataPacket& status) {
  const auto& packs = AppCentral->LanguagePacks();
  // Everything is read before anything changes, so a short packet leaves the packs as they were.
  std::vector<std::vector<std::array<qint32, 3>>> counts(packs.size());
  std::vector<std::vector<qint32>> known(packs.size());
  for (size_t p = 0; p < packs.size(); ++p) {
    const TDataPacket& letters = *status.GetPacket(static_cast<int>(2 * p + 1));
    for (int j = 0; j < packs[p]->AlphabetSize(); ++j)
      counts[p].push_back({letters.GetInteger(3 * j), letters.GetInteger(3 * j + 1),
                           letters.GetInteger(3 * j + 2)});
    const TDataPacket& ids = *status.GetPacket(static_cast<int>(2 * p));
    for (int i = 0; i < ids.IntegerCount(); ++i) known[p].push_back(ids.GetInteger(i));
  }
  const TDataPacket& messages = *status.GetPacket(static_cast<int>(2 * packs.size()));

  for (size_t p = 0; p < packs.size(); ++p) {
    TLanguagePack& pack = *packs[p];
    for (int j = 0; j < pack.AlphabetSize(); ++j)
      for (int s = 0; s < 3; ++s) pack.SetCount(j, s, counts[p][static_cast<size_t>(j)][static_cast<size_t>(s)]);
    pack.RefreshCounts(-2);
    // A word the list does not hold has no mark to set.
    for (qint32 id : known[p])
      if (TWord* word = pack.WordList().FindById(id)) word->Known = true;
  }
  Messages.Assign(messages);
}

void TZabkolexFlow::SetHotWords(const TDataPacket& hotWords) { services_.mainWindow->SetHotWords(hotWords); }

}  // namespace zabko
