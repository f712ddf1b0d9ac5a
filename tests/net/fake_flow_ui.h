// Fakes of the flow's windows (net/flow_ui.h) for tests that run without a display: a progress
// runner that runs each job inline and records its runs and steps, a message service that
// answers from a script and records every box, and a file-list download that records its calls
// and answers as told (or runs the real downloader without a window).
#pragma once

#include "core/data_packet.h"
#include "net/file_downloader.h"
#include "net/flow_ui.h"
#include "platform/exception_handler.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace zabko::test {

class TFakeProgressRunner : public IProgressRunner, public IProgress {
 public:
  struct Run {
    int steps = 0;
    QString caption;
    int stepsTaken = 0;
    bool completed = false;
    QString error;  // the message of the exception the job raised, empty when none
  };

  // As the window does: a raising job goes to HandleException and the result tells whether
  // the job completed. Steps count for the run that was started last.
  bool RunJob(int steps, const QString& caption, const TJob& job) override {
    Run run;
    run.steps = steps;
    run.caption = caption;
    runs.push_back(run);
    const size_t index = runs.size() - 1;
    try {
      job(*this);
      runs[index].completed = true;
      return true;
    } catch (...) {
      runs[index].error = ExceptionMessage(std::current_exception());
      HandleException(std::current_exception());
      return false;
    }
  }
  void Step() override {
    if (!runs.empty()) ++runs.back().stepsTaken;
  }
  void SetCaption(const QString& caption) override { captions.push_back(caption); }
  void ProcessMessages() override {}

  std::vector<Run> runs;
  QStringList captions;
};

class TFakeMessageService : public IMessageService {
 public:
  struct Box {
    QString caption;
    QString text;
    int flags = 0;
    QStringList links;
  };

  // Notices are recorded with the OK flag.
  void ShowMessageWithLinks(const QString& caption, const QString& text, const QStringList& links) override {
    boxes.push_back({caption, text, kButtonOK, links});
  }
  // Each question takes the next scripted answer, DefaultAnswer when none is left.
  bool AskYesNo(const QString& caption, const QString& text, int flags) override {
    boxes.push_back({caption, text, flags, {}});
    if (answers.empty()) return DefaultAnswer;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<bool> answers;
  bool DefaultAnswer = false;
  std::vector<Box> boxes;
};

class TFakeFileListDownload : public IFileListDownload {
 public:
  struct Call {
    QString folder;
    QString indexName;
    int fileCount = 0;
    QStringList lines;
    bool hebrew = false;
  };

  // With RunDownloader the real downloader fetches the files (progress reports are counted);
  // otherwise the answer is Result. A false answer also records the request to end the program,
  // as the dialog makes it.
  bool DownloadFilesWithProgress(const QString& folder, const QString& indexName, const TDataPacket& fileList,
                                 const QString& line1, const QString& line2, const QString& line3,
                                 bool hebrew) override {
    calls.push_back({folder, indexName, fileList.PacketCount(), {line1, line2, line3}, hebrew});
    bool ok = Result;
    if (RunDownloader) {
      TFileDownloader downloader(folder, indexName);
      downloader.OnProgress = [this](TFileDownloader&) { ++progressReports; };
      try {
        ok = downloader.DownloadAll(fileList);
      } catch (...) {
        ok = false;
      }
    }
    if (!ok) terminateRequested = true;
    return ok;
  }

  bool Result = true;
  bool RunDownloader = false;
  std::vector<Call> calls;
  int progressReports = 0;
  bool terminateRequested = false;
};

}  // namespace zabko::test
