// The game's main window: reads the learning program's stored log-on (never writing its key),
// chooses the server, connects (log-on, handshake, music download) at its first activation,
// shows the start screen with its buttons and docks the play screen and the result page into
// its main area. It owns the server client, the game's settings, the text table and the data
// folder manager that the other game forms reach through it.
#pragma once

#include "core/app_data_manager.h"
#include "core/zabkolex_strings.h"
#include "game/play/game_client.h"
#include "game/play/parameters.h"
#include "platform/registry_ini_file.h"
#include "ui/text_measure.h"
#include "ui/win_color.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;

namespace zabko {

class IFileListDownload;
class IProgress;
class IProgressRunner;
class TCustomGameForm;
class TDownloadDialog;
class TEndGameForm;
class TFloatingMenu;
class TInstructionsForm;
class TSendToForm;
class TTop10Form;
class TCanvasTextMeasure;
class TNBitmapComponent;
class TNButton;
class TNManager;
class TIntegerList;
class TLanguageClass;
class TNStatic;
class TRegistryIniFile;
class TWord;
class TTntLabel;

class TZabkoGameMainForm : public QWidget {
  Q_OBJECT

 public:
  struct TOptions {
    // The program's arguments, the program itself first.
    QStringList arguments;
    // The folder of "Graphics.dat" (empty: the program folder).
    QString programFolder;
    // The server client (default: NewGameClient).
    std::function<std::unique_ptr<TGameClient>()> makeClient;
    // The progress dialog of the connect job (default: the game's one progress dialog).
    IProgressRunner* progress = nullptr;
    // The music download (default: a download dialog of this window's own).
    IFileListDownload* download = nullptr;
    // A plain message box (default: a right-to-left box with OK).
    std::function<void(const QString& text)> showMessage;
    // A Yes/No question (default: a right-to-left box).
    std::function<bool(const QString& text)> confirm;
    // Ends the program (default: the application's event loop quits).
    std::function<void()> terminate;
  };

  TZabkoGameMainForm() : TZabkoGameMainForm(TOptions()) {}
  explicit TZabkoGameMainForm(TOptions options);
  // Logs off when a server was chosen, then shuts the media layer down (ShutdownMedia).
  ~TZabkoGameMainForm() override;

  // Set at creation when no server was found: the window closed and the program ends.
  bool Closing() const { return closing_; }

  TGameClient& Client() const { return *client_; }
  TParameters& Parameters() const { return *parameters_; }
  TZabkolexStrings& Strings() const { return *strings_; }
  TAppDataManager& DataManager() const { return *dataManager_; }
  TNManager* Manager() const { return manager_; }
  // The progress dialog the game's jobs run in (the options' one, else the game's).
  IProgressRunner& Progress() const;
  // A Yes/No question and a plain message box (the options' ones, else right-to-left boxes).
  bool Confirm(const QString& text);
  void ShowMessage(const QString& text);

  // Makes the game's dialogs, in this order: the result page, instructions, top 10, custom
  // game, send-to and the floating menu. Until then the methods that use them do without.
  void CreateDialogs();
  TEndGameForm* EndGameForm() const { return endGameForm_.get(); }
  TInstructionsForm* InstructionsForm() const { return instructionsForm_.get(); }
  TTop10Form* Top10Form() const { return top10Form_.get(); }
  TCustomGameForm* CustomGameForm() const { return customGameForm_.get(); }
  TSendToForm* SendToForm() const { return sendToForm_.get(); }
  TFloatingMenu* FloatingMenu() const { return floatingMenu_.get(); }

  // The server's base URL: argument 1, else the learning program's first group member when it
  // has a stored log-on, else empty.
  QByteArray GetServerURL() const;
  bool HasLearningProgramLogin() const;
  bool LogOn();
  // The connect job (log-on, handshake, file update).
  void StartSession(IProgress& progress);
  void UpdateFiles();

  void FormShow();
  // The connect job on the first activation, then the start screen.
  void FormActivate();
  // Docks Page into the main area (none: the start screen).
  void ShowPage(QWidget* page);
  void ApplyTexts();

  // The last handshake's session (-1 none) and user id.
  qint32 Session() const { return session_; }
  const QByteArray& UId() const { return uid_; }
  bool Activated() const { return activated_; }

  // The whole alphabet of the language LangBtn shows.
  void NewGameClick();
  void LangBtnClick();
  // The start screen's dialogs over the dimmed window.
  void Top10BtnClick();
  void InstrucBtnClick();
  void SendToBtnClick();
  bool HebrewChosen() const;

  // Called by NewGameClick and PlayAgain with the game's choice (the play screen hooks it).
  std::function<void(int firstLetter, int lastLetter, bool update, bool english)> OnStartGame;
  // The play screen's part in the window's life: a page docked (the music goes back to the start
  // screen's track for any other page), the close question opening (true) and answered No
  // (false), and the window closing, before its last handshake.
  std::function<void(QWidget* page)> OnShowPage;
  std::function<void(bool asking)> OnCloseQuestion;
  std::function<void()> OnClosing;
  void StartGame(int firstLetter, int lastLetter, bool update, bool english);
  void PlayAgain();
  void QuitNow();
  // The custom game dialog over the dimmed window; OK starts a game with its choice. Whether OK
  // was chosen.
  bool CustomGame();
  // The language whose fonts and letters the game uses: English when the custom game dialog's
  // English choice is checked, else Hebrew (also before that dialog exists).
  const TLanguageClass& LanguageClass() const;
  // The result page with a finished game's figures, docked in the main area.
  void ShowResult(int points, int correct, int missed, const TIntegerList& missedWords);
  // The floating menu, modal over the play screen. True when the game is to run on.
  bool ShowMenu();
  // Set by the play screen: ends the current game (answers flushed, then the result page), and
  // finds a word of either database by its id (the result page's missed words).
  std::function<void()> OnEndGame;
  std::function<TWord*(qint32 wordId)> FindWord;
  // Closes with the quit question unless QuitNow switched it off.
  bool FormCloseQuery();

  // Opens the address of the full program ("TryNowBtnClick"): TryNowBtn and TryNowLink.
  void TryNowClick();
  // No page is docked: the start screen's controls show and act.
  bool StartScreenShown() const;
  // The six buttons, TryNowBtn, LangBtn, TryNowLink and the opening sign's labels.
  QList<QWidget*> StartScreenControls() const;
  // The colour around the rounded faces of the start screen's button pictures: those pixels are
  // left out of each button's shape (its mask), so the background shows there.
  static constexpr QRgb kButtonKey = 0xFFFF00FF;
  // TryNowLink's colour (a Windows colour value: blue).
  static constexpr TColor kLinkColor = 0xFF0000;

  QWidget* MainArea() const { return mainArea_; }
  TTntLabel* TryNowLink() const { return tryNowLink_; }
  TNStatic* BackGround() const { return backGround_; }
  TNButton* Button(const char* name) const;
  TNButton* LangBtn() const { return langBtn_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void BuildComponents();
  void DrawOpeningSign();
  // Shapes Button to its picture's face: without the key colour around it.
  void MaskButton(TNButton* button);
  void Terminate();
  void FinalHandShake();

  TOptions options_;
  std::unique_ptr<TZabkolexStrings> strings_;
  std::unique_ptr<TParameters> parameters_;
  std::unique_ptr<TRegistryIniFile> learningKey_;
  std::unique_ptr<TGameClient> client_;
  std::unique_ptr<TAppDataManager> dataManager_;
  std::unique_ptr<TDownloadDialog> downloadDialog_;

  TNManager* manager_ = nullptr;
  TNStatic* backGround_ = nullptr;
  QWidget* mainArea_ = nullptr;
  TNBitmapComponent* enterBtns_ = nullptr;
  TNBitmapComponent* tryBtnCmp_ = nullptr;
  TNBitmapComponent* switchCmp_ = nullptr;
  TNButton* langBtn_ = nullptr;
  TTntLabel* tryNowLink_ = nullptr;
  QList<QPointer<TTntLabel>> signLabels_;

  int firstLetter_ = 0, lastLetter_ = 21;
  bool update_ = true, english_ = false;
  qint32 session_ = -1;
  QByteArray uid_;
  bool activated_ = false;
  bool activateEnabled_ = true;
  bool askOnClose_ = true;
  bool closing_ = false;
  bool signDrawn_ = false;
  bool forwardingKey_ = false;
  // The markup measures its text on this window's font once the window shows.
  std::unique_ptr<TCanvasTextMeasure> measure_;

  // Last, so that they go first, before the parts they use; the result page may be docked in
  // the main area.
  std::unique_ptr<TEndGameForm> endGameForm_;
  std::unique_ptr<TInstructionsForm> instructionsForm_;
  std::unique_ptr<TTop10Form> top10Form_;
  std::unique_ptr<TCustomGameForm> customGameForm_;
  std::unique_ptr<TSendToForm> sendToForm_;
  std::unique_ptr<TFloatingMenu> floatingMenu_;
};

}  // namespace zabko
