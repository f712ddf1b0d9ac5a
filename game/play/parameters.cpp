#include "game/play/parameters.h"

#include "core/zabkolex_strings.h"
#include "platform/exception.h"
#include "platform/registry_ini_file.h"

namespace zabko {

void TParameters::CheckWritable() const {
  if (readOnly_) throw Exception("Parameters are readonly");
}

void TParameters::WriteString(const QString& section, const QString& key, const QByteArray& value) {
  CheckWritable();
  DoWriteString(section, key, value);
}

void TParameters::WriteInteger(const QString& section, const QString& key, qint32 value) {
  CheckWritable();
  DoWriteInteger(section, key, value);
}

void TParameters::WriteBool(const QString& section, const QString& key, bool value) {
  CheckWritable();
  DoWriteBool(section, key, value);
}

TBaseIniParameters::~TBaseIniParameters() {
  if (file_) file_->UpdateFile();
}

QByteArray TBaseIniParameters::DoReadString(const QString& section, const QString& key, const QByteArray& def) const {
  return file_ ? file_->ReadString(section, key, def) : def;
}

qint32 TBaseIniParameters::DoReadInteger(const QString& section, const QString& key, qint32 def) const {
  return file_ ? file_->ReadInteger(section, key, def) : def;
}

bool TBaseIniParameters::DoReadBool(const QString& section, const QString& key, bool def) const {
  return file_ ? file_->ReadBool(section, key, def) : def;
}

void TBaseIniParameters::DoWriteString(const QString& section, const QString& key, const QByteArray& value) {
  if (file_) file_->WriteString(section, key, value);
}

void TBaseIniParameters::DoWriteInteger(const QString& section, const QString& key, qint32 value) {
  if (file_) file_->WriteInteger(section, key, value);
}

void TBaseIniParameters::DoWriteBool(const QString& section, const QString& key, bool value) {
  if (file_) file_->WriteBool(section, key, value);
}

void TBaseIniParameters::DoReadSection(const QString& section, QStringList& list) const {
  list = file_ ? file_->ReadSection(section) : QStringList();
}

TRegistryParameters::TRegistryParameters(const QString& path, bool readOnly) : TBaseIniParameters(readOnly) {
  // The base classes are complete here, so this opens the key.
  TRegistryParameters::SetPath(path);
}

void TRegistryParameters::SetPath(const QString& path) {
  TParameters::SetPath(path);
  // The settings file comes into being with its first write; a read-only store never makes it.
  file_ = std::make_unique<TRegistryIniFile>(path);
}

QString GameRegistryKey(const TZabkolexStrings& strings) {
  return strings.GetString(QStringLiteral("RegistryPath")) + strings.GetString(QStringLiteral("ExeName"));
}

QString LearningRegistryKey(const TZabkolexStrings& strings) {
  return strings.GetString(QStringLiteral("RegistryPath")) + strings.GetString(QStringLiteral("ZabkoExeName"));
}

}  // namespace zabko
