#include "core/cube_management.h"

#include "core/data_packet.h"
#include "platform/exception.h"
#include "platform/registry_ini_file.h"

namespace zabko {
namespace {

const QString kUsers = QStringLiteral("Users");

QString UserSection(const QByteArray& key) { return kUsers + '\\' + QString::fromLatin1(key); }

}  // namespace

TCubeManagement::TCubeManagement(TRegistryIniFile& settings) : settings_(settings) {}

bool TCubeManagement::IsSafeUserKey(const QByteArray& key) {
  if (key.isEmpty() || key.size() > 64) return false;
  for (char c : key) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

void TCubeManagement::ClearFields() {
  UserKey.clear();
  Username.clear();
  CubeId.clear();
  State = 0;
  CubeServer.clear();
  CubeMemberIndex = 0;
  CubeMembers.clear();
  CubeQueryResult = 0;
  HasWorkingServer = 0;
}

void TCubeManagement::LoadUser(const QByteArray& key) {
  ClearFields();
  if (!IsSafeUserKey(key)) return;
  UserKey = key;
  const QString section = UserSection(key);
  Username = settings_.ReadString(section, QStringLiteral("Username"), QByteArray());
  CubeId = settings_.ReadString(section, QStringLiteral("CubeId"), QByteArray());
  State = static_cast<quint8>(settings_.ReadInteger(section, QStringLiteral("State"), 0));
  CubeServer = settings_.ReadString(section, QStringLiteral("CubeServer"), QByteArray());
  CubeMemberIndex = settings_.ReadInteger(section, QStringLiteral("CubeMemberIndex"), 0);
  const QString members = section + QStringLiteral("\\CubeMembers");
  const QString indexes = members + QStringLiteral("\\Indexes");
  for (int n = 0;; ++n) {
    const QString name = QString::number(n);
    const QByteArray url = settings_.ReadString(members, name, QByteArray());
    if (url.isEmpty()) break;
    CubeMembers.push_back({url, settings_.ReadInteger(indexes, name, -1)});
  }
  if (CubeServer.isEmpty()) State = 0;
}

void TCubeManagement::SaveUser() {
  if (UserKey.isEmpty()) return;
  const QString section = UserSection(UserKey);
  // One rewrite of the settings file: a failure on the way never leaves a record without its
  // members, after which no log-on could find a working server.
  TRegistryBatch batch(settings_);
  settings_.WriteString(kUsers, QStringLiteral("LastUser"), UserKey);
  settings_.WriteString(section, QStringLiteral("Username"), Username);
  settings_.WriteString(section, QStringLiteral("CubeId"), CubeId);
  settings_.WriteInteger(section, QStringLiteral("State"), State);
  settings_.WriteString(section, QStringLiteral("CubeServer"), CubeServer);
  settings_.WriteInteger(section, QStringLiteral("CubeMemberIndex"), CubeMemberIndex);
  const QString members = section + QStringLiteral("\\CubeMembers");
  const QString indexes = members + QStringLiteral("\\Indexes");
  settings_.EraseSection(members);
  for (size_t n = 0; n < CubeMembers.size(); ++n) {
    const QString name = QString::number(n);
    settings_.WriteString(members, name, CubeMembers[n].url);
    settings_.WriteInteger(indexes, name, CubeMembers[n].index);
  }
  batch.Commit();
}

void TCubeManagement::ClearUser() {
  settings_.WriteString(kUsers, QStringLiteral("LastUser"), QByteArray());
  ClearFields();
}

bool TCubeManagement::SelectUserByName(const QByteArray& name) {
  const std::unique_ptr<TRegistryIniFile> users = settings_.OpenSubKey(kUsers);
  QStringList matches;
  for (const QString& key : users->ReadSections()) {
    if (users->ReadString(key, QStringLiteral("Username"), QByteArray()) == name) matches << key;
  }
  if (matches.size() == 1) {
    LoadUser(matches.first().toLatin1());
    return !UserKey.isEmpty();
  }
  if (matches.size() > 1) {
    TRegistryBatch batch(settings_);
    for (const QString& key : matches) users->EraseSection(key);
    batch.Commit();
  }
  return false;
}

namespace {

// The group of a reply, checked whole before anything of the record changes. Members without a
// URL are left out: they could be neither tried nor stored.
struct TGroup {
  QByteArray id;
  QByteArray server;
  std::vector<TCubeMember> members;
};

TGroup ReadGroup(const TDataPacket& group) {
  if (group.StringCount() < 2) throw Exception("Invalid server group reply");
  TGroup result;
  for (int i = 0; i < group.PacketCount(); ++i) {
    const TDataPacket& m = *group.GetPacket(i);
    if (m.StringCount() < 1 || m.IntegerCount() < 1) throw Exception("Invalid server group reply");
    const QByteArray url = TCubeManagement::StripAccessPage(m.GetString(0));
    if (!url.isEmpty()) result.members.push_back({url, m.GetInteger(0)});
  }
  result.id = group.GetString(0);
  result.server = TCubeManagement::StripAccessPage(group.GetString(1));
  return result;
}

}  // namespace

void TCubeManagement::LoadFromPacket(const TDataPacket& packet) {
  if (packet.StringCount() < 1 || packet.PacketCount() < 1)
    throw Exception("Invalid server group reply");
  const QByteArray key = packet.GetString(0);
  if (!IsSafeUserKey(key)) throw Exception("Invalid user key");
  TGroup group = ReadGroup(*packet.GetPacket(0));
  UserKey = key;
  ApplyGroup(std::move(group.id), std::move(group.server), std::move(group.members));
}

void TCubeManagement::CubeFromPacket(const TDataPacket& group) {
  TGroup read = ReadGroup(group);
  ApplyGroup(std::move(read.id), std::move(read.server), std::move(read.members));
}

void TCubeManagement::ApplyGroup(QByteArray id, QByteArray server, std::vector<TCubeMember> members) {
  CubeMembers = std::move(members);
  CubeId = std::move(id);
  CubeServer = std::move(server);
  if (State == 0) State = 1;
  SaveUser();
}

QByteArray TCubeManagement::StripAccessPage(const QByteArray& url) {
  const qsizetype at = url.toUpper().indexOf("ACCESSIN.ASHX?PAGE");
  return at >= 0 ? url.left(at) : url;
}

QByteArray TCubeManagement::DefaultServer() const {
  const QByteArray configured =
      settings_.ReadString(QStringLiteral("Main"), QStringLiteral("ConnectionURL"), QByteArray());
  return configured.isEmpty() ? QByteArray(kDefaultServerURL) : configured;
}

QByteArray TCubeManagement::FirstMemberURL() const {
  return CubeMembers.empty() ? QByteArray() : CubeMembers.front().url;
}

void TCubeManagement::FirstServer(quint8& kind, QByteArray& start, QByteArray& next) {
  if (!CubeMembers.empty()) {
    kind = kServerMember;
    // The walk is at member 0; NextServer steps on from here.
    CubeMemberIndex = 0;
    start = CubeMembers.front().url;
  } else if (!CubeServer.isEmpty()) {
    kind = kServerGroup;
    start = CubeServer;
  } else {
    kind = kServerDefault;
    start = DefaultServer();
  }
  next = start;
}

void TCubeManagement::NextServer(quint8& kind, QByteArray& start, QByteArray& next) {
  if (kind == kServerMember) {
    const int count = static_cast<int>(CubeMembers.size());
    if (count > 0) {
      CubeMemberIndex = (std::max(CubeMemberIndex, 0) + 1) % count;
      // The walk started at member 0 (FirstServer): coming back to it ends the members, even
      // when two members share a URL.
      if (CubeMemberIndex != 0) {
        next = CubeMembers[static_cast<size_t>(CubeMemberIndex)].url;
        return;
      }
    }
    // Back at the start: the group server (an empty one ends the walk for the caller).
    kind = kServerGroup;
    start = next = CubeServer;
    return;
  }
  if (kind == kServerGroup) {
    kind = kServerDefault;
    start = next = DefaultServer();
    return;
  }
  const QByteArray def = DefaultServer();
  next = def != start ? def : QByteArray();
}

void TCubeManagement::NextDefaultServer(const QByteArray& failed, QByteArray& next) const {
  const QByteArray def = DefaultServer();
  next = def != failed ? def : QByteArray();
}

int TCubeManagement::CandidateCount() const {
  if (!CubeMembers.empty()) return 2 + static_cast<int>(CubeMembers.size());
  if (!CubeServer.isEmpty()) return 2;
  return 1;
}

std::unique_ptr<TCubeManagement> CreateCubeManagement(TRegistryIniFile& settings) {
  auto cube = std::make_unique<TCubeManagement>(settings);
  const QByteArray last = settings.ReadString(QStringLiteral("Users"), QStringLiteral("LastUser"), QByteArray());
  if (!last.isEmpty()) cube->LoadUser(last);
  return cube;
}

}  // namespace zabko
