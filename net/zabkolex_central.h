// The learning program's one central object: it owns the shared services (application type,
// settings, data folder, answer holder, local data handler, text table, server client, user and
// server-group record, language packs, pronunciation resources and player, hint font) and answers
// the current language. The main window creates it and registers it with SetCentral; everything
// else reaches it through Central().
//
// The resource player comes from the audio layer, which this layer does not link: the program
// hands in a factory for it.
#pragma once

#include "core/app_type_specific.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace zabko {

class TAnswerHolder;
class TAppDataManager;
class TCubeManagement;
class TDBHandler;
class TLanguagePack;
class TRegistryIniFile;
class TResManager;
class TResPlayer;
class TWordList;
class TZabkolexClient;
class TZabkolexStrings;

class TZabkolexCentral {
 public:
  using TPlayerPtr = std::unique_ptr<TResPlayer, void (*)(TResPlayer*)>;
  // Makes the resource player over a resource manager, from the "Settings"/"Audio" option and
  // the player's cache size.
  using TPlayerFactory = std::function<TPlayerPtr(TResManager* manager, int audioOption, int maxCount)>;

  struct THooks {
    TPlayerFactory makePlayer;
    // The font of the program's hint windows (default: the application font).
    std::function<QFont()> hintFont;
    // The application type (default GetAppTypeClass()).
    std::function<std::unique_ptr<TAppTypeSpecific>()> makeAppType;
  };

  // Builds the services in their fixed order, each step after its trace line. A failing step
  // ends the creation with its failure.
  explicit TZabkolexCentral(THooks hooks = {});
  ~TZabkolexCentral();
  TZabkolexCentral(const TZabkolexCentral&) = delete;
  TZabkolexCentral& operator=(const TZabkolexCentral&) = delete;

  // With "Main"/"UseLog" set, the log "MainLog.txt" in the data folder; fails with "Failed to
  // install logger".
  void StartProductionLog();
  // The packs of the application type, loading their word lists through ResolveAppDataPath;
  // the current language becomes the first pack's.
  void CreateLanguagePacks(const std::vector<std::vector<ILetterButton*>>& letterButtons,
                           const TLanguagePack::TClickAllowed& clickAllowed,
                           const TLanguagePack::TAfterClick& afterClick,
                           const TLanguagePack::TCountsCallback& counts);
  // The pronunciation resources: "Data\BaseAudio", then each pack's audio folders, all in the
  // data folder; and the player over them.
  void BuildAudioResources();
  // The names of those resource databases, relative to the data folder.
  QStringList AudioResourceNames() const;
  // The data folder path followed by the name.
  QString ResolveAppDataPath(const QString& fileName) const;
  TLanguagePack* CurrentLanguagePack() const;
  TLanguagePack* PackByCode(int code) const;
  TWordList* CurrentWordList() const;
  bool IsHebrewInterface() const;
  int FollowLanguageMode() const;
  // A fresh empty user record over the settings (the last user is not loaded).
  void ResetCubeManagement();

  TAppTypeSpecific& AppType() const { return *appType_; }
  TRegistryIniFile& Settings() const { return *settings_; }
  TAppDataManager& DataManager() const { return *dataManager_; }
  TAnswerHolder& AnswerHolder() const { return *answerHolder_; }
  TDBHandler& DBHandler() const { return *dbHandler_; }
  TZabkolexStrings& Strings() const { return *strings_; }
  TZabkolexClient& Client() const { return *client_; }
  TCubeManagement& CubeManagement() const { return *cube_; }
  const std::vector<std::unique_ptr<TLanguagePack>>& LanguagePacks() const { return packs_; }
  TResManager* ResManager() const { return resManager_.get(); }
  TResPlayer* ResPlayer() const { return player_.get(); }
  QFont& HintFont() { return hintFont_; }

  quint8 CurrentLanguageId = 0;
  // True while the mouse is over a word row.
  bool WordHint = false;

 private:
  THooks hooks_;
  // The destructor frees them in a fixed order (the player before the resources it plays).
  std::unique_ptr<TAppTypeSpecific> appType_;
  std::unique_ptr<TZabkolexStrings> strings_;
  std::unique_ptr<TAppDataManager> dataManager_;
  std::unique_ptr<TResManager> resManager_;
  TPlayerPtr player_{nullptr, nullptr};
  std::unique_ptr<TRegistryIniFile> settings_;
  std::unique_ptr<TCubeManagement> cube_;
  std::unique_ptr<TAnswerHolder> answerHolder_;
  std::unique_ptr<TDBHandler> dbHandler_;
  std::vector<std::unique_ptr<TLanguagePack>> packs_;
  std::unique_ptr<TZabkolexClient> client_;
  QFont hintFont_;
};

// The registered central object; fails with "Access to unassigned Central" when none is.
TZabkolexCentral& Central();
// Registers the central object, or none.
void SetCentral(TZabkolexCentral* central);

}  // namespace zabko
