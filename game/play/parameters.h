// The game's settings store: TParameters reads and writes typed values by section and key under
// one registry path; TRegistryParameters keeps them in the current user's settings store
// (platform/registry_ini_file.h), sections as sub-keys and keys as values.
//
// The game keeps its own key ("Main": "UId", "Audio", "SoundOn") and reads the learning
// program's key, which it never writes: that store is opened read-only.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace zabko {

class TRegistryIniFile;
class TZabkolexStrings;

class TParameters {
 public:
  virtual ~TParameters() = default;
  TParameters(const TParameters&) = delete;
  TParameters& operator=(const TParameters&) = delete;

  QByteArray ReadString(const QString& section, const QString& key, const QByteArray& def) const {
    return DoReadString(section, key, def);
  }
  qint32 ReadInteger(const QString& section, const QString& key, qint32 def) const {
    return DoReadInteger(section, key, def);
  }
  bool ReadBool(const QString& section, const QString& key, bool def) const { return DoReadBool(section, key, def); }
  // Writes fail with "Parameters are readonly" on a read-only store.
  void WriteString(const QString& section, const QString& key, const QByteArray& value);
  void WriteInteger(const QString& section, const QString& key, qint32 value);
  void WriteBool(const QString& section, const QString& key, bool value);
  // The value names of a section, replacing List's contents.
  void ReadSection(const QString& section, QStringList& list) const { DoReadSection(section, list); }

  // Stores the path; a store that keeps its values somewhere opens it here.
  virtual void SetPath(const QString& path) { path_ = path; }
  const QString& Path() const { return path_; }
  bool ReadOnly() const { return readOnly_; }

 protected:
  explicit TParameters(bool readOnly) : readOnly_(readOnly) {}

  virtual QByteArray DoReadString(const QString& section, const QString& key, const QByteArray& def) const = 0;
  virtual qint32 DoReadInteger(const QString& section, const QString& key, qint32 def) const = 0;
  virtual bool DoReadBool(const QString& section, const QString& key, bool def) const = 0;
  virtual void DoWriteString(const QString& section, const QString& key, const QByteArray& value) = 0;
  virtual void DoWriteInteger(const QString& section, const QString& key, qint32 value) = 0;
  virtual void DoWriteBool(const QString& section, const QString& key, bool value) = 0;
  virtual void DoReadSection(const QString& section, QStringList& list) const = 0;

 private:
  void CheckWritable() const;

  QString path_;
  bool readOnly_;
};

// The values in a settings file over a registry key (the path). Until a subclass opens a key
// (SetPath), reads give their defaults and writes go nowhere.
class TBaseIniParameters : public TParameters {
 public:
  ~TBaseIniParameters() override;

 protected:
  explicit TBaseIniParameters(bool readOnly) : TParameters(readOnly) {}

  QByteArray DoReadString(const QString& section, const QString& key, const QByteArray& def) const override;
  qint32 DoReadInteger(const QString& section, const QString& key, qint32 def) const override;
  bool DoReadBool(const QString& section, const QString& key, bool def) const override;
  void DoWriteString(const QString& section, const QString& key, const QByteArray& value) override;
  void DoWriteInteger(const QString& section, const QString& key, qint32 value) override;
  void DoWriteBool(const QString& section, const QString& key, bool value) override;
  void DoReadSection(const QString& section, QStringList& list) const override;

  std::unique_ptr<TRegistryIniFile> file_;
};

// The current user's settings under Path, e.g. "Software\Kestrani\Zabkoplay".
class TRegistryParameters : public TBaseIniParameters {
 public:
  explicit TRegistryParameters(const QString& path, bool readOnly = false);

  // Stores the path and opens that key.
  void SetPath(const QString& path) override;
};

// The game's own key, "RegistryPath" + "ExeName" of the game's text pack.
QString GameRegistryKey(const TZabkolexStrings& strings);
// The learning program's key, "RegistryPath" + "ZabkoExeName" of the game's text pack.
QString LearningRegistryKey(const TZabkolexStrings& strings);

// The game's settings.
inline constexpr const char* kMainSection = "Main";
inline constexpr const char* kUIdValue = "UId";
inline constexpr const char* kAudioValue = "Audio";
inline constexpr const char* kSoundOnValue = "SoundOn";
inline constexpr int kDefaultAudio = 6;
inline constexpr bool kDefaultSoundOn = true;

}  // namespace zabko
