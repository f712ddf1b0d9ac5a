#include "ui/download_form.h"

#include "core/data_packet.h"
#include "core/hasher.h"
#include "net/win_http.h"
#include "platform/stream.h"
#include "ui/tnt_label.h"

#include "tests/net/test_server.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zabko {
namespace {

TTransferProgress Progress(qint64 read, qint64 size, float rate, int left, int percent = 0) {
  TTransferProgress p;
  p.BytesRead = read;
  p.DataSize = size;
  p.TransferRate = rate;
  p.EstimatedTimeLeft = left;
  p.PercentsDone = quint8(percent);
  return p;
}

TEST(DownloadTextsTest, ProgressRecordsReadAsTheDialogShowsThem) {
  const TDownloadTexts english = EnglishDownloadTexts();
  struct Case {
    const char* name;
    TTransferProgress progress;
    const char* text;
  };
  const Case cases[] = {
      {"half of a file", Progress(1500000, 3000000, 12.5f, 120), "Downloaded 1464 / 2929 KB (12.50 KBps) - ETA 0:02:00"},
      {"kilobytes round toward zero", Progress(1023, 2047, 0.004f, 0), "Downloaded 0 / 1 KB (0.00 KBps) - ETA 0:00:00"},
      {"an unknown size reads 0", Progress(4096, 0, 3.456f, 59), "Downloaded 4 / 0 KB (3.46 KBps) - ETA 0:00:59"},
      {"hours and minutes", Progress(0, 1 << 20, 1.f, 3 * 3600 + 7 * 60 + 5), "Downloaded 0 / 1024 KB (1.00 KBps) - ETA 3:07:05"},
      {"a day and more does not wrap", Progress(0, 0, 0.f, 25 * 3600 + 1), "Downloaded 0 / 0 KB (0.00 KBps) - ETA 25:00:01"},
      {"a negative time reads nothing left", Progress(0, 0, 0.f, -30), "Downloaded 0 / 0 KB (0.00 KBps) - ETA 0:00:00"},
      {"a rate that is not a number reads 0", Progress(0, 0, std::numeric_limits<float>::infinity(), 1),
       "Downloaded 0 / 0 KB (0.00 KBps) - ETA 0:00:01"},
  };
  for (const Case& c : cases) EXPECT_EQ(CurrentFileText(english, c.progress), c.text) << c.name;

  EXPECT_EQ(FileCountText(english, 5, 10), "Downloading software updates... (Update 5 from 10)");
  const TDownloadTexts hebrew{"מוריד", "עדכון", "מתוך", "הורדו", "ק\"ב", "ק\"ב לשנייה", "זמן לסיום"};
  EXPECT_EQ(FileCountText(hebrew, 1, 3), "מוריד (עדכון 1 מתוך 3)");
  EXPECT_EQ(CurrentFileText(hebrew, Progress(2048, 4096, 2.f, 61)), "הורדו 2 / 4 ק\"ב (2.00 ק\"ב לשנייה) - זמן לסיום 0:01:01");
}

TEST(DownloadFormTest, LanguageSetsTextsAndReadingOrder) {
  TDownloadForm form;
  form.SetLanguage(true);
  EXPECT_EQ(form.layoutDirection(), Qt::RightToLeft);
  const auto* list = form.findChild<QListWidget*>("ForStrs");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 7);
  EXPECT_FALSE(list->isVisibleTo(&form));
  const TDownloadTexts& t = form.Texts();
  EXPECT_EQ((QStringList{t.Title, t.Update, t.From, t.Downloaded, t.KB, t.Rate, t.Time}),
            (QStringList{list->item(0)->text(), list->item(1)->text(), list->item(2)->text(), list->item(3)->text(),
                         list->item(4)->text(), list->item(5)->text(), list->item(6)->text()}));
  EXPECT_TRUE(t.Title.contains(QString::fromUtf8("עדכוני")));

  form.SetLanguage(false);
  EXPECT_EQ(form.layoutDirection(), Qt::LeftToRight);
  EXPECT_EQ(form.windowTitle(), "File Download");
  EXPECT_EQ(form.Texts(), EnglishDownloadTexts());
}

TEST(DownloadFormTest, AProgressReportShowsTheFormAndKeepsTheBarsInRange) {
  TDownloadForm form;
  form.SetLanguage(false);
  EXPECT_FALSE(form.isVisible());
  form.ShowProgress(3, Progress(512, 1024, 1.f, 1, 50));
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.CurrentFileBar()->value(), 50);
  form.ShowProgress(7, Progress(0, 0, 0.f, 0, 200));
  QTest::qWait(3 * TDownloadForm::kRefreshMs);  // it may be held back for the rest of a frame
  EXPECT_EQ(form.CurrentFileBar()->value(), 100);
  EXPECT_EQ(form.AllFileBar()->value(), 7);
}

// Counts the paints of the labels and bars that show the progress.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(TDownloadForm& form) {
    for (QWidget* w : std::initializer_list<QWidget*>{form.FileCountLbl(), form.CurrentFileLbl(), form.AllFileBar(),
                                                      form.CurrentFileBar()})
      w->installEventFilter(this);
  }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// A large file arrives in thousands of small blocks: the window takes the latest figures at most
// once a frame, yet shows the last block of the file at once and goes on processing messages.
TEST(DownloadFormTest, ABurstOfReportsRepaintsAboutOnceAFrameAndShowsTheLastOneAtOnce) {
  TDownloadForm form;
  form.SetLanguage(false);
  PaintCounter counter(form);
  constexpr int kBlocks = 3000;
  constexpr qint64 kSize = qint64(kBlocks) * 4096;
  const auto block = [&](int i) { return Progress(qint64(i) * 4096, kSize, 100.f, 10, int(qint64(i) * 100 / kBlocks)); };

  int posted = 0;
  QElapsedTimer clock;
  clock.start();
  for (int i = 1; i < kBlocks; ++i) {
    QMetaObject::invokeMethod(&form, [&] { ++posted; }, Qt::QueuedConnection);
    form.ShowProgress(1, block(i));
    ASSERT_EQ(posted, i) << "messages are processed at every report";
  }
  const qint64 frames = clock.elapsed() / 16 + 2;
  EXPECT_TRUE(form.isVisible());
  EXPECT_LE(counter.paints, 4 * frames) << "over " << clock.elapsed() << " ms";

  // The latest figures reach the window within a frame once the reports pause.
  QTest::qWait(100);
  EXPECT_EQ(form.CurrentFileLbl()->Caption(), CurrentFileText(form.Texts(), block(kBlocks - 1)));
  EXPECT_EQ(form.CurrentFileBar()->value(), 99);

  // The last block of a file is shown at once.
  form.ShowProgress(1, block(kBlocks));
  EXPECT_EQ(form.CurrentFileLbl()->Caption(), CurrentFileText(form.Texts(), block(kBlocks)));
  EXPECT_EQ(form.CurrentFileBar()->value(), 100);
  form.ShowProgress(2, Progress(4096, 4096, 1.f, 0, 100));
  EXPECT_EQ(form.FileCountLbl()->Caption(), FileCountText(form.Texts(), 2, 0));
  EXPECT_EQ(form.AllFileBar()->value(), 2);
}

class DownloadDialogTest : public ::testing::Test {
 protected:
  DownloadDialogTest() {
    dialog.ShowFailure = [this](const QString& text, bool hebrew) { failures << text; };
    dialog.Terminate = [this] { ++terminations; };
  }
  void AddFile(const QByteArray& path, const QByteArray& name, const QByteArray& body) {
    TMemoryStream stream(body);
    TDataPacket* file = list.AddNewPacket();
    file->AddString(server.Url(path.constData()));
    file->AddString(name);
    file->AddString(HashStream(stream));
    file->AddInteger(1);
  }
  bool Run(bool hebrew = false) {
    return dialog.DownloadFilesWithProgress(dir.path(), "Index.dat", list, "one", "two", "three", hebrew);
  }

  test::TestServer server;
  QTemporaryDir dir;
  TDataPacket list;
  TDownloadDialog dialog;
  QStringList failures;
  int terminations = 0;
};

TEST_F(DownloadDialogTest, DownloadsTheListShowingFileAndByteProgress) {
  AddFile("/size/3000", "a.dat", test::ServedBody(3000));
  AddFile("/size/70000", "b.dat", test::ServedBody(70000));
  ASSERT_EQ(dialog.Form(), nullptr) << "made on first use";

  EXPECT_TRUE(Run());
  TDownloadForm* form = dialog.Form();
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(form->isVisible()) << "hidden at the end";
  EXPECT_EQ(form->AllFileBar()->maximum(), 3);
  EXPECT_EQ(form->AllFileBar()->value(), 2);
  EXPECT_EQ(form->FileCountLbl()->Caption(), "Downloading software updates... (Update 2 from 2)");
  EXPECT_TRUE(form->CurrentFileLbl()->Caption().startsWith("Downloaded 68 / 68 KB (")) << form->CurrentFileLbl()->Caption().toStdString();
  EXPECT_EQ(form->CurrentFileBar()->value(), 100);
  EXPECT_EQ(form->findChild<TTntLabel*>("LIne3Lbl")->Caption(), "three");
  EXPECT_TRUE(QFile::exists(dir.filePath("a.dat")));
  EXPECT_TRUE(QFile::exists(dir.filePath("b.dat")));
  EXPECT_TRUE(QFile::exists(dir.filePath("Index.dat")));
  EXPECT_TRUE(failures.isEmpty());
  EXPECT_EQ(terminations, 0);
}

TEST_F(DownloadDialogTest, AFailedDownloadTellsTheUserEndsTheProgramAndAnswersFalse) {
  AddFile("/size/100", "a.dat", test::ServedBody(100));
  AddFile("/status/404", "b.dat", "never");
  EXPECT_FALSE(Run(true));
  EXPECT_EQ(failures, QStringList{TDownloadDialog::FailureText(true)});
  EXPECT_EQ(terminations, 1);
  EXPECT_FALSE(dialog.Form()->isVisible());

  failures.clear();
  EXPECT_FALSE(Run(false));
  EXPECT_EQ(failures, QStringList{"Download failed. Please try again later."});
  EXPECT_EQ(terminations, 2);
  EXPECT_TRUE(QFile::exists(dir.filePath("a.dat"))) << "the files before the failure stay";
}

}  // namespace
}  // namespace zabko
