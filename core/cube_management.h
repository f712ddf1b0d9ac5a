// The current user's record and server group: the user key and name, the group ("cube") with
// its member servers and group server, and the order in which servers are tried (members,
// then the group server, then the built-in default server). Kept in the settings store under
// "Users" and "Users\<key>".
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace zabko {

class TDataPacket;
class TRegistryIniFile;

// Server kinds of the fail-over walk.
enum : quint8 { kServerMember = 0, kServerGroup = 1, kServerDefault = 2 };

// The built-in default server: the stand-in server's default address on this machine.
inline constexpr const char* kDefaultServerURL = "http://127.0.0.1:8642/app/";

struct TCubeMember {
  QByteArray url;
  qint32 index = -1;  // the server's own number for the member
};

class TCubeManagement {
 public:
  // An empty record over the settings (not owned).
  explicit TCubeManagement(TRegistryIniFile& settings);

  // Reads the user's section. A key that is not safe to use as a section and file name loads
  // nothing and leaves the record empty.
  void LoadUser(const QByteArray& key);
  // Writes the record (only when a user key is known); member values left from a longer list
  // are removed.
  void SaveUser();
  // Log-out: no last user, every field empty.
  void ClearUser();
  // Loads the one user section whose "Username" is exactly Name; several such sections are all
  // erased (false), none gives false.
  bool SelectUserByName(const QByteArray& name);
  // UserKey := Strings[0], then the group from Packets[0]. Fails with "Invalid user key" for a
  // key that is not safe, and "Invalid server group reply" when the packet lacks its fields.
  void LoadFromPacket(const TDataPacket& packet);
  // Members from the group packet's sub-packets (URL Strings[0], index Integers[0]; members
  // without a URL are left out), CubeId Strings[0], CubeServer Strings[1]; State 0 becomes 1;
  // then SaveUser. The packet is checked whole first: a bad one changes nothing.
  void CubeFromPacket(const TDataPacket& group);
  // The URL up to "AccessIn.ashx?page" (compared without case), or the URL as it is.
  static QByteArray StripAccessPage(const QByteArray& url);
  // Letters, digits, "-" and "_", 1 to 64 characters.
  static bool IsSafeUserKey(const QByteArray& key);

  QByteArray DefaultServer() const;
  QByteArray FirstMemberURL() const;
  // The walk over the user's servers: the first server, then each next one until an empty URL.
  // One walk tries every member once, from the first, then the group server, then the default
  // server. Start is the URL the current kind started with.
  void FirstServer(quint8& kind, QByteArray& start, QByteArray& next);
  void NextServer(quint8& kind, QByteArray& start, QByteArray& next);
  // The default server when it differs from the failed URL, else empty.
  void NextDefaultServer(const QByteArray& failed, QByteArray& next) const;
  // How many servers one walk can try.
  int CandidateCount() const;

  // The record.
  QByteArray UserKey;
  QByteArray Username;
  QByteArray CubeId;
  quint8 State = 0;
  QByteArray CubeServer;
  qint32 CubeMemberIndex = 0;
  std::vector<TCubeMember> CubeMembers;
  quint8 CubeQueryResult = 0;
  quint8 HasWorkingServer = 0;

 private:
  void ClearFields();
  void ApplyGroup(QByteArray id, QByteArray server, std::vector<TCubeMember> members);

  TRegistryIniFile& settings_;
};

// A manager over the settings with the last user loaded.
std::unique_ptr<TCubeManagement> CreateCubeManagement(TRegistryIniFile& settings);

}  // namespace zabko
