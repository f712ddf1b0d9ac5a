#include "net/zabkolex_central.h"

#include "core/app_data_manager.h"
#include "core/cube_management.h"
#include "core/exception_log.h"
#include "core/language_pack.h"
#include "core/res_manager.h"
#include "core/zabkolex_app.h"
#include "core/zabkolex_strings.h"
#include "net/answer_holder.h"
#include "net/db_handler.h"
#include "net/zabkolex_client.h"
#include "platform/exception.h"
#include "platform/registry_ini_file.h"

#include <QGuiApplication>

namespace zabko {
namespace {

TZabkolexCentral* registered = nullptr;

}  // namespace

TZabkolexCentral& Central() {
  if (!registered) throw Exception("Access to unassigned Central");
  return *registered;
}

void SetCentral(TZabkolexCentral* central) { registered = central; }

TZabkolexCentral::TZabkolexCentral(THooks hooks) : hooks_(std::move(hooks)) {
  TraceLog("  Creating app type specific");
  appType_ = hooks_.makeAppType ? hooks_.makeAppType() : GetAppTypeClass();
  settings_ = std::make_unique<TRegistryIniFile>(appType_->GetRegistryKey());

  TraceLog("  Creating app data manager");
  dataManager_ = std::make_unique<TAppDataManager>(appType_->GetAppDataFolderName());
  dataManager_->Prepare();
  StartProductionLog();

  TraceLog("  Creating saver");
  answerHolder_ = std::make_unique<TAnswerHolder>();

  TraceLog("  Creating db handler");
  dbHandler_ = std::make_unique<TDBHandler>();

  TraceLog("  Creating strings");
  strings_ = std::make_unique<TZabkolexStrings>(false);

  TraceLog("  Creating client");
  client_ = CreateServerClient(QByteArray(), QByteArray());

  TraceLog("  Creating cube manager");
  cube_ = CreateCubeManagement(*settings_);

  TraceLog("  Creating font");
  if (hooks_.hintFont) {
    hintFont_ = hooks_.hintFont();
  } else if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    hintFont_ = QGuiApplication::font();
  }
  WordHint = false;
}

TZabkolexCentral::~TZabkolexCentral() {
  client_.reset();
  packs_.clear();
  dbHandler_.reset();
  answerHolder_.reset();
  cube_.reset();
  settings_.reset();
  player_.reset();
  resManager_.reset();
  dataManager_.reset();
  WordHint = false;
}

void TZabkolexCentral::StartProductionLog() {
  if (settings_->ReadBool(QStringLiteral("Main"), QStringLiteral("UseLog"), false))
    InstallProductionLog(dataManager_->GetPath(QStringLiteral("MainLog.txt")));
}

void TZabkolexCentral::CreateLanguagePacks(const std::vector<std::vector<ILetterButton*>>& letterButtons,
                                           const TLanguagePack::TClickAllowed& clickAllowed,
                                           const TLanguagePack::TAfterClick& afterClick,
                                           const TLanguagePack::TCountsCallback& counts) {
  packs_ = appType_->CreateLanguagePacks(
      letterButtons, [this](const QString& name) { return ResolveAppDataPath(name); }, clickAllowed,
      afterClick, counts);
  if (!packs_.empty()) CurrentLanguageId = packs_.front()->LanguageId();
}

QStringList TZabkolexCentral::AudioResourceNames() const {
  QStringList names;
  names << appType_->GetDataFolder() + QStringLiteral("\\BaseAudio");
  for (const auto& pack : packs_) names << pack->GetAudioFolders();
  return names;
}

void TZabkolexCentral::BuildAudioResources() {
  QStringList names;
  for (const QString& name : AudioResourceNames()) names << ResolveAppDataPath(name);
  player_.reset();
  resManager_ = std::make_unique<TResManager>(names);
  if (hooks_.makePlayer) {
    const int option = settings_->ReadInteger(QStringLiteral("Settings"), QStringLiteral("Audio"), 6);
    player_ = hooks_.makePlayer(resManager_.get(), option, 2);
  }
}

QString TZabkolexCentral::ResolveAppDataPath(const QString& fileName) const {
  return dataManager_->GetPath(fileName);
}

TLanguagePack* TZabkolexCentral::CurrentLanguagePack() const {
  TLanguagePack* found = nullptr;
  for (const auto& pack : packs_)
    if (pack->LanguageId() == CurrentLanguageId) found = pack.get();
  return found;
}

TLanguagePack* TZabkolexCentral::PackByCode(int code) const {
  TLanguagePack* found = nullptr;
  for (const auto& pack : packs_)
    if (pack->GetCode() == code) found = pack.get();
  return found;
}

TWordList* TZabkolexCentral::CurrentWordList() const {
  TLanguagePack* pack = CurrentLanguagePack();
  return pack ? &pack->WordList() : nullptr;
}

bool TZabkolexCentral::IsHebrewInterface() const { return !appType_->EnglishInterface(); }

int TZabkolexCentral::FollowLanguageMode() const { return appType_->FollowLanguageMode(); }

void TZabkolexCentral::ResetCubeManagement() {
  cube_ = std::make_unique<TCubeManagement>(*settings_);
}

}  // namespace zabko
