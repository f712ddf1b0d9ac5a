#include "ui/download_form.h"

#include "core/data_packet.h"
#include "core/exception_log.h"
#include "net/file_downloader.h"
#include "platform/exception.h"
#include "platform/exception_handler.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"
#include "ui/progress_runner_form.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QTimer>

#include <cmath>

namespace zabko {

namespace {

constexpr int kLeft = 8;
constexpr int kWidth = 321;
constexpr int kLabelHeight = 14;

// The Hebrew words, in the order of TDownloadTexts.
const char* const kHebrewTexts[] = {
    "מוריד עדכוני תוכנה...", "עדכון", "מתוך", "הורדו", "ק\"ב", "ק\"ב לשנייה", "זמן לסיום",
};

QProgressBar* MakeBar(QWidget* parent, const QString& name, int top) {
  auto* bar = new QProgressBar(parent);
  bar->setObjectName(name);
  bar->setGeometry(kLeft, top, kWidth, 16);
  bar->setTextVisible(false);
  bar->setRange(0, 100);
  bar->setValue(0);
  return bar;
}

void SetBar(QProgressBar* bar, int value) { bar->setValue(qBound(bar->minimum(), value, bar->maximum())); }

}  // namespace

TDownloadTexts EnglishDownloadTexts() {
  return {QStringLiteral("Downloading software updates..."), QStringLiteral("Update"), QStringLiteral("from"),
          QStringLiteral("Downloaded"), QStringLiteral("KB"), QStringLiteral("KBps"), QStringLiteral("ETA")};
}

QString FileCountText(const TDownloadTexts& texts, int fileNumber, int fileCount) {
  return texts.Title + QStringLiteral(" (") + texts.Update + ' ' + QString::number(fileNumber) + ' ' + texts.From +
         ' ' + QString::number(fileCount) + ')';
}

QString FormatDuration(qint64 seconds) {
  if (seconds < 0) seconds = 0;
  return QStringLiteral("%1:%2:%3")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString CurrentFileText(const TDownloadTexts& texts, const TTransferProgress& progress) {
  const double rate = std::isfinite(progress.TransferRate) ? progress.TransferRate : 0.0;
  return texts.Downloaded + ' ' + QString::number(progress.BytesRead / 1024) + QStringLiteral(" / ") +
         QString::number(progress.DataSize / 1024) + ' ' + texts.KB + QStringLiteral(" (") +
         QString::number(rate, 'f', 2) + ' ' + texts.Rate + QStringLiteral(") - ") + texts.Time + ' ' +
         FormatDuration(progress.EstimatedTimeLeft);
}

TDownloadForm::TDownloadForm(QWidget* parent) : TModalForm(parent, QStringLiteral("DownloadForm")) {
  setFixedSize(341, 164);
  setLayoutDirection(Qt::RightToLeft);
  setFont(WinFont(QStringLiteral("Tahoma"), 0, -11));
  setWindowTitle(QString::fromUtf8("הורדת קבצים"));

  line1Lbl_ = MakeLabel(QStringLiteral("Line1Lbl"), 8);
  line2Lbl_ = MakeLabel(QStringLiteral("Line2Lbl"), 24);
  line3Lbl_ = MakeLabel(QStringLiteral("LIne3Lbl"), 40);
  bevel1_ = new QFrame(this);
  bevel1_->setObjectName(QStringLiteral("Bevel1"));
  bevel1_->setFrameShape(QFrame::HLine);
  bevel1_->setFrameShadow(QFrame::Sunken);
  bevel1_->setGeometry(kLeft, 58, kWidth, 2);
  fileCountLbl_ = MakeLabel(QStringLiteral("FileCountLbl"), 72);
  allFileBar_ = MakeBar(this, QStringLiteral("AllFileBar"), 88);
  currentFileLbl_ = MakeLabel(QStringLiteral("CurrentFileLbl"), 120);
  currentFileBar_ = MakeBar(this, QStringLiteral("CurrentFileBar"), 136);

  forStrs_ = new QListWidget(this);
  forStrs_->setObjectName(QStringLiteral("ForStrs"));
  forStrs_->setGeometry(0, 0, 1, 1);
  forStrs_->setEnabled(false);
  forStrs_->hide();
  for (const char* text : kHebrewTexts) forStrs_->addItem(QString::fromUtf8(text));

  refreshTimer_ = new QTimer(this);
  refreshTimer_->setSingleShot(true);
  connect(refreshTimer_, &QTimer::timeout, this, [this] { Guarded([this] { RefreshProgress(); }); });
  CenterOnScreen();
}

TTntLabel* TDownloadForm::MakeLabel(const QString& name, int top) {
  auto* label = new TTntLabel(this, name);
  label->SetAutoSize(false);
  label->setGeometry(kLeft, top, kWidth, kLabelHeight);
  return label;
}

void TDownloadForm::SetLanguage(bool hebrew) {
  if (hebrew) {
    const auto item = [this](int i) { return forStrs_->item(i)->text(); };
    texts_ = {item(0), item(1), item(2), item(3), item(4), item(5), item(6)};
    setLayoutDirection(Qt::RightToLeft);
  } else {
    setWindowTitle(QStringLiteral("File Download"));
    texts_ = EnglishDownloadTexts();
    setLayoutDirection(Qt::LeftToRight);
  }
}

void TDownloadForm::SetLines(const QString& line1, const QString& line2, const QString& line3) {
  line1Lbl_->SetCaption(line1);
  line2Lbl_->SetCaption(line2);
  line3Lbl_->SetCaption(line3);
}

bool TDownloadForm::Download(const QString& folder, const QString& indexName, const TDataPacket& fileList) {
  TFileDownloader downloader(folder, indexName);
  fileCount_ = fileList.PacketCount();
  allFileBar_->setRange(0, fileCount_ + 1);
  allFileBar_->setValue(0);
  currentFileBar_->setValue(0);
  refreshPending_ = false;
  refreshTimer_->stop();
  lastRefresh_.invalidate();
  downloader.OnProgress = [this](TFileDownloader& sender) { OnProgress(sender); };
  const bool result = downloader.DownloadAll(fileList);
  RefreshProgress();
  return result;
}

void TDownloadForm::OnProgress(TFileDownloader& downloader) { ShowProgress(downloader.FileNumber, downloader.Progress); }

void TDownloadForm::ShowProgress(int fileNumber, const TTransferProgress& progress) {
  struct ProcessEvents {
    ~ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }
  } processEvents;
  if (!isVisible()) {
    show();
    // Over the window the job runs on, where the learner looks.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
  }
  fileNumber_ = fileNumber;
  progress_ = progress;
  refreshPending_ = true;
  const bool fileComplete = progress.DataSize > 0 && progress.BytesRead >= progress.DataSize;
  const qint64 sinceRefresh = lastRefresh_.isValid() ? lastRefresh_.elapsed() : kRefreshMs;
  if (fileComplete || sinceRefresh >= kRefreshMs)
    RefreshProgress();
  else if (!refreshTimer_->isActive())
    refreshTimer_->start(int(kRefreshMs - sinceRefresh));
}

void TDownloadForm::RefreshProgress() {
  refreshTimer_->stop();
  if (!refreshPending_) return;
  refreshPending_ = false;
  lastRefresh_.start();
  fileCountLbl_->SetCaption(FileCountText(texts_, fileNumber_, fileCount_));
  currentFileLbl_->SetCaption(CurrentFileText(texts_, progress_));
  SetBar(currentFileBar_, progress_.PercentsDone);
  SetBar(allFileBar_, fileNumber_);
}

TDownloadDialog::TDownloadDialog(QWidget* owner)
    : ShowFailure([](const QString& text, bool hebrew) {
        QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), text, QMessageBox::Ok);
        box.setLayoutDirection(hebrew ? Qt::RightToLeft : Qt::LeftToRight);
        box.exec();
      }),
      Terminate([] {
        // A failed download is a failed start: the program ends with status 1. Ends the loops
        // that run now, and the first one to start if none does yet.
        QCoreApplication::exit(1);
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
      }),
      owner_(owner) {}

TDownloadDialog::~TDownloadDialog() = default;

QString TDownloadDialog::FailureText(bool hebrew) {
  return hebrew ? QString::fromUtf8("הורדת הקבצים נכשלה. אנא נסה שוב מאוחר יותר.")
                : QStringLiteral("Download failed. Please try again later.");
}

bool TDownloadDialog::DownloadFilesWithProgress(const QString& folder, const QString& indexName,
                                                const TDataPacket& fileList, const QString& line1,
                                                const QString& line2, const QString& line3, bool hebrew) {
  if (!form_) form_ = std::make_unique<TDownloadForm>(owner_);
  form_->hide();
  // The always-on-top progress window the job runs in would cover the dialog: it stays hidden
  // while the dialog is up, and comes back afterwards as it does after a message box.
  struct HideForm {
    TDownloadForm* form;
    QPointer<TProgressRunnerForm> progress;
    ~HideForm() {
      form->hide();
      if (progress) progress->RestoreAfterMessage();
    }
  } hideForm{form_.get(), progressForm_};
  if (progressForm_) progressForm_->HideForMessage();
  try {
    form_->SetLanguage(hebrew);
    form_->SetLines(line1, line2, line3);
    if (!form_->Download(folder, indexName, fileList)) throw Exception("Failed to download files");
    return true;
  } catch (...) {
    RecordCaughtException(std::current_exception());
    LogLine(("Download of the file list failed: " + ExceptionMessage(std::current_exception())).toUtf8());
    Guarded([&] {
      if (ShowFailure) ShowFailure(FailureText(hebrew), hebrew);
    });
    if (Terminate) Terminate();
    return false;
  }
}

}  // namespace zabko
