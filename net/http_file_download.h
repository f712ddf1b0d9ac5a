// THttpFileDownload: fetches one URL into one file synchronously, the GUI thread processing events
// meanwhile. The outcome is read afterwards from the Failed and ErrorKind of Http().
#pragma once

#include "net/nice_http.h"

#include <functional>

namespace zabko {

class THttpFileDownload {
 public:
  using TNotifyEvent = std::function<void(THttpFileDownload& sender)>;

  THttpFileDownload();

  TNiceHttp& Http() { return http_; }

  // Fetches Url into OutputPath and returns when the transfer has ended. Resume is accepted but a
  // partial file is not continued: the transfer starts from the first byte. When the wait ends
  // first (the program is quitting), the transfer is stopped and reported failed (host
  // unreachable).
  void Download(const QByteArray& url, const QString& outputPath, bool resume);
  TTransferProgress GetProgress() const { return http_.Progress; }

  // Fired, with the downloader as sender, whenever the transfer reports progress.
  TNotifyEvent OnProgress;

 private:
  TNiceHttp http_;
};

}  // namespace zabko
