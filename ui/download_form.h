// The download dialog: runs the file-list downloader (net/file_downloader.h) over a server file
// list while a small window shows which file of how many is loading, the kilobytes, the rate
// and the time left. The window appears at the first progress report. A failed download is
// fatal: the user is told, the application is asked to end, and the result is false.
#pragma once

#include "net/flow_ui.h"
#include "net/win_http.h"
#include "ui/modal_form.h"
#include "ui/progress_runner_form.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QFrame;
class QListWidget;
class QProgressBar;
class QTimer;

namespace zabko {

class TDataPacket;
class TFileDownloader;
class TTntLabel;

// The words of the dialog, in the order the form keeps them.
struct TDownloadTexts {
  QString Title, Update, From, Downloaded, KB, Rate, Time;
  bool operator==(const TDownloadTexts&) const = default;
};

TDownloadTexts EnglishDownloadTexts();
// Title (Update n from count).
QString FileCountText(const TDownloadTexts& texts, int fileNumber, int fileCount);
// Downloaded 1464 / 2929 KB (12.50 KBps) - ETA 0:02:00: whole kilobytes (rounded toward zero),
// the rate with two decimals, the time left as a duration.
QString CurrentFileText(const TDownloadTexts& texts, const TTransferProgress& progress);
// Seconds as hours:minutes:seconds ("0:02:00", "25:00:01"); the hours do not wrap at a day, and
// a negative time reads 0:00:00.
QString FormatDuration(qint64 seconds);

class TDownloadForm : public TModalForm {
  Q_OBJECT

 public:
  explicit TDownloadForm(QWidget* parent = nullptr);

  // Hebrew: the texts of the ForStrs list and the right-to-left layout; else the English ones
  // and left to right.
  void SetLanguage(bool hebrew);
  void SetLines(const QString& line1, const QString& line2, const QString& line3);
  // Runs a downloader over Folder and IndexName for FileList, refreshing at each of its progress
  // reports; its result.
  bool Download(const QString& folder, const QString& indexName, const TDataPacket& fileList);
  void OnProgress(TFileDownloader& downloader);
  // At each progress report: shows the window (at the first), puts the running file number and
  // progress record into the labels and bars, and processes pending messages. A large file
  // reports every few kilobytes, so the labels and bars take the latest figures at most once a
  // frame; the last report of a file (all of its bytes in) is shown at once, and figures held
  // back are shown when the frame is over even if no report follows.
  void ShowProgress(int fileNumber, const TTransferProgress& progress);
  // Frame time of the labels and bars, in milliseconds (about 60 a second).
  static constexpr int kRefreshMs = 16;

  const TDownloadTexts& Texts() const { return texts_; }
  TTntLabel* FileCountLbl() const { return fileCountLbl_; }
  TTntLabel* CurrentFileLbl() const { return currentFileLbl_; }
  QProgressBar* AllFileBar() const { return allFileBar_; }
  QProgressBar* CurrentFileBar() const { return currentFileBar_; }

 private:
  TTntLabel* MakeLabel(const QString& name, int top);
  // Puts the figures held back into the labels and bars.
  void RefreshProgress();

  TTntLabel* line1Lbl_ = nullptr;
  TTntLabel* line2Lbl_ = nullptr;
  TTntLabel* line3Lbl_ = nullptr;
  QFrame* bevel1_ = nullptr;
  TTntLabel* fileCountLbl_ = nullptr;
  QProgressBar* allFileBar_ = nullptr;
  TTntLabel* currentFileLbl_ = nullptr;
  QProgressBar* currentFileBar_ = nullptr;
  QListWidget* forStrs_ = nullptr;
  TDownloadTexts texts_;
  int fileCount_ = 0;
  // The latest figures, and whether the labels and bars show them yet.
  int fileNumber_ = 0;
  TTransferProgress progress_;
  bool refreshPending_ = false;
  QElapsedTimer lastRefresh_;  // invalid until the first refresh of a download
  QTimer* refreshTimer_ = nullptr;  // shows held-back figures at the end of the frame
};

// DownloadFilesWithProgress over one download window, made on first use and kept.
class TDownloadDialog : public IFileListDownload {
 public:
  // Owner: the window the dialog stands over (the main window; may be none).
  explicit TDownloadDialog(QWidget* owner = nullptr);
  ~TDownloadDialog() override;

  // The progress window hidden while the dialog is up (none: nothing is hidden).
  void SetProgressForm(TProgressRunnerForm* form) { progressForm_ = form; }

  bool DownloadFilesWithProgress(const QString& folder, const QString& indexName, const TDataPacket& fileList,
                                 const QString& line1, const QString& line2, const QString& line3,
                                 bool hebrew) override;

  // Tells the user that the download failed (default: a standard error box with Text).
  std::function<void(const QString& text, bool hebrew)> ShowFailure;
  // Asks the application to end (default: the application's event loops end with status 1).
  std::function<void()> Terminate;

  // The window, once made.
  TDownloadForm* Form() const { return form_.get(); }

  static QString FailureText(bool hebrew);

 private:
  QWidget* owner_;
  QPointer<TProgressRunnerForm> progressForm_;
  std::unique_ptr<TDownloadForm> form_;
};

}  // namespace zabko
