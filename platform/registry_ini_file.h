// The settings store that stands in for the current user's registry: an ini-style file over a
// registry key. "Software\Kestrani\Zabkolex" is the file Kestrani/Zabkolex.ini under
// $XDG_CONFIG_HOME (default ~/.config); deeper keys are sections spelled as the system spells
// them ("Users", "Messages\42", "Test\10"). Sections are registry sub-keys and keys are values;
// names compare without regard to ASCII case, as in the registry.
//
// Every change is written at once, atomically (temporary file, then rename) and with mode 0600,
// since the file holds a password; changes that belong together are written as one through a
// TRegistryBatch. Several stores over the same file in one process share one
// copy of its contents, and a change made by another process is read again before the next
// read or write. A file that is there but cannot be read is never overwritten: writes then
// fail. The store is used from the GUI thread only.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace zabko {

class IniStore;

class TRegistryIniFile {
 public:
  // Opens the store over a registry key of the current user, e.g. "Software\Kestrani\Zabkolex"
  // or a sub-key of it ("Software\Kestrani\Zabkolex\Users"), which is then a settings file of
  // its own whose sections are that key's sub-keys.
  explicit TRegistryIniFile(const QString& key);
  ~TRegistryIniFile();
  TRegistryIniFile(const TRegistryIniFile&) = delete;
  TRegistryIniFile& operator=(const TRegistryIniFile&) = delete;

  // A store over a sub-key of this one ("Users" of the program key).
  std::unique_ptr<TRegistryIniFile> OpenSubKey(const QString& subKey) const;

  // 8-bit values are code page 1255 text.
  QByteArray ReadString(const QString& section, const QString& ident, const QByteArray& def) const;
  void WriteString(const QString& section, const QString& ident, const QByteArray& value);
  // Wide values are kept as UTF-8, as the system keeps them.
  QString ReadWideString(const QString& section, const QString& ident, const QString& def) const;
  void WriteWideString(const QString& section, const QString& ident, const QString& value);
  qint32 ReadInteger(const QString& section, const QString& ident, qint32 def) const;
  void WriteInteger(const QString& section, const QString& ident, qint32 value);
  bool ReadBool(const QString& section, const QString& ident, bool def) const;
  void WriteBool(const QString& section, const QString& ident, bool value);
  // Date-times as the system's day count with the time as the fraction.
  double ReadDateTime(const QString& section, const QString& ident, double def) const;
  void WriteDateTime(const QString& section, const QString& ident, double value);
  double ReadFloat(const QString& section, const QString& ident, double def) const;
  void WriteFloat(const QString& section, const QString& ident, double value);

  bool ValueExists(const QString& section, const QString& ident) const;
  bool SectionExists(const QString& section) const;
  // The value names of a section, in the order they were first written.
  QStringList ReadSection(const QString& section) const;
  // The sub-keys directly under this store's key.
  QStringList ReadSections() const;
  // The sub-keys directly under a section.
  QStringList ReadSubSections(const QString& section) const;
  // Removes a section with all its sub-keys.
  void EraseSection(const QString& section);
  void DeleteKey(const QString& section, const QString& ident);
  // Changes are written at once (or at the end of their batch); kept for callers that flush
  // explicitly.
  void UpdateFile() {}

  // The file that holds this key.
  QString FileName() const;
  const QString& Key() const { return key_; }

 private:
  friend class TRegistryBatch;
  TRegistryIniFile(std::shared_ptr<IniStore> store, QString key, QString prefix);
  QString Path(const QString& section) const;

  std::shared_ptr<IniStore> store_;
  QString key_;
  QString prefix_;  // sections of the file under this store's key, "" or "Users\"
};

// Changes that belong together (one user record, one message's counters, one section of
// options) written as one atomic rewrite of the file, or not at all:
//
//   TRegistryBatch batch(settings);
//   settings.EraseSection("Users\\k1\\CubeMembers");
//   settings.WriteString("Users\\k1\\CubeMembers", "0", url);
//   ...
//   batch.Commit();
//
// While the batch is open, changes made through any store over the same file are held in
// memory (reads see them at once) and Commit writes them in one go. A batch destroyed without
// Commit, such as when an exception leaves the block, drops its changes. A Commit whose write
// fails throws and puts memory back as it was before the batch, so the file and later reads
// keep the previous record whole. Batches nest; only the outermost Commit writes. Keep a batch
// to one logical save on the GUI thread: a change made by another process meanwhile is
// overwritten by the commit.
class TRegistryBatch {
 public:
  explicit TRegistryBatch(TRegistryIniFile& settings);
  ~TRegistryBatch();
  TRegistryBatch(const TRegistryBatch&) = delete;
  TRegistryBatch& operator=(const TRegistryBatch&) = delete;

  // Writes the batch's changes (once, for the outermost batch); fails like a single write.
  void Commit();

 private:
  std::shared_ptr<IniStore> store_;
  bool open_ = true;
};

// Where a registry key's file lives: "Software\Kestrani\Zabkolex" gives
// $XDG_CONFIG_HOME/Kestrani/Zabkolex.ini and the section prefix for deeper keys.
struct RegistryLocation {
  QString fileName;
  QString prefix;
};
RegistryLocation LocateRegistryKey(const QString& key);

}  // namespace zabko
