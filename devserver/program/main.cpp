// zabko-devserver: the stand-in for the system's own server, on loopback.
#include "devserver/dev_server.h"
#include "platform/exception.h"

#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace zabko;
using namespace zabko::dev;

namespace {

const char* kHelp = R"(Usage: zabko-devserver [options]

A development server that speaks the Zabkolex/Zabkoplay packet protocol on 127.0.0.1.
It runs several virtual servers, each on its own port, all under the path "/app/":
  default server   http://127.0.0.1:PORT/app/       (PORT is 8642 unless --port is given)
  group server     http://127.0.0.1:PORT+1/app/
  group members    http://127.0.0.1:PORT+2/app/, PORT+3, ...
The learning program's built-in default server is http://127.0.0.1:8642/app/.

Options:
  --port N             port of the default server (default 8642)
  --members N          number of group members (default 2)
  --database FILE      keep users, statuses and scores in this SQLite file
                       (default: in memory, lost at exit)
  --data DIR           the generated program data (the build's data folder): the word
                       databases DIR/ClientPsyHebrew.dat and DIR/ClientPsyEnglish.dat give the
                       server its words and are handed out by "GetPreDownloadFiles"; the files
                       of DIR/Data by "GetDownloadFiles"; those of "DIR/Game Music" by
                       "Game.GetDownloadFiles"
  --pre-download FILE  hand out FILE with "GetPreDownloadFiles" (repeatable)
  --download FILE      hand out FILE with "GetDownloadFiles" (repeatable)
  --music FILE         hand out FILE with "Game.GetDownloadFiles" (repeatable)
  --user NAME:PASSWORD add a user (repeatable; without any, the user demo:demo)
  --auto-register      an unknown user name logs on as a new user with the password given
  --version N          the newest program version the server announces (default 30)
  --seed N             seed of the question choice (default: from the clock)
  --demo-hot-words     start with wrong answers to the first words of each language and
                       counts of questions and answers, so that hot words show at once
  --help               show this text

The server runs until it is interrupted (Ctrl+C) or terminated.
)";

[[noreturn]] void Usage(const char* message) {
  std::fprintf(stderr, "zabko-devserver: %s\nTry --help.\n", message);
  std::exit(2);
}

int ToInt(const char* text, const char* option) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0 || value > 65535)
    Usage((std::string("bad number for ") + option).c_str());
  return static_cast<int>(value);
}

void AddFolder(TDevServer& server, TFileList list, const QString& folder) {
  const QDir dir(folder);
  for (const QFileInfo& info : dir.entryInfoList(QDir::Files, QDir::Name))
    server.WithState([&](TDevProtocol& p) { p.Files().AddFromDisk(list, info.filePath()); });
}

}  // namespace

int main(int argc, char** argv) {
  TDevServerOptions options;
  options.firstPort = TDevServer::kDefaultPort;
  options.seed = static_cast<quint32>(std::time(nullptr));
  QString dataDir;
  std::vector<std::pair<TFileList, QString>> files;
  std::vector<std::pair<QByteArray, QByteArray>> users;
  bool autoRegister = false;
  bool demoHotWords = false;
  int version = 30;

  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) Usage((arg + " needs a value").c_str());
      return argv[++i];
    };
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    } else if (arg == "--port") {
      options.firstPort = static_cast<quint16>(ToInt(value(), "--port"));
    } else if (arg == "--members") {
      options.memberCount = ToInt(value(), "--members");
    } else if (arg == "--database") {
      options.database = QString::fromLocal8Bit(value());
    } else if (arg == "--data") {
      dataDir = QString::fromLocal8Bit(value());
    } else if (arg == "--pre-download") {
      files.emplace_back(TFileList::PreDownload, QString::fromLocal8Bit(value()));
    } else if (arg == "--download") {
      files.emplace_back(TFileList::Download, QString::fromLocal8Bit(value()));
    } else if (arg == "--music") {
      files.emplace_back(TFileList::GameMusic, QString::fromLocal8Bit(value()));
    } else if (arg == "--user") {
      const QByteArray pair = value();
      const qsizetype colon = pair.indexOf(':');
      if (colon <= 0) Usage("--user needs NAME:PASSWORD");
      users.emplace_back(pair.left(colon), pair.mid(colon + 1));
    } else if (arg == "--auto-register") {
      autoRegister = true;
    } else if (arg == "--version") {
      version = ToInt(value(), "--version");
    } else if (arg == "--demo-hot-words") {
      demoHotWords = true;
    } else if (arg == "--seed") {
      options.seed = static_cast<quint32>(ToInt(value(), "--seed"));
    } else {
      Usage(("unknown option " + arg).c_str());
    }
  }
  if (options.firstPort == 0) Usage("--port must not be 0");
  if (users.empty()) users.emplace_back("demo", "demo");

  // The stopSignals are waited for below; block them before any server thread starts.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  try {
    TDevServer server(options);
    server.WithState([&](TDevProtocol& p) {
      p.Config().autoRegister = autoRegister;
      p.Config().versionNumber = version;
    });
    if (!dataDir.isEmpty()) {
      const QDir dir(dataDir);
      const std::pair<const char*, int> databases[] = {{"ClientPsyHebrew.dat", kHebrewCode},
                                                       {"ClientPsyEnglish.dat", kEnglishCode}};
      for (const auto& database : databases) {
        const char* name = database.first;
        const int code = database.second;
        const QString path = dir.filePath(name);
        if (!QFileInfo::exists(path)) {
          std::fprintf(stderr, "zabko-devserver: no %s in %s\n", name, qPrintable(dataDir));
          continue;
        }
        server.WithState([&](TDevProtocol& p) {
          p.Words().LoadDatabase(path, code);
          p.Files().AddFromDisk(TFileList::PreDownload, path);
        });
      }
      AddFolder(server, TFileList::Download, dir.filePath("Data"));
      AddFolder(server, TFileList::GameMusic, dir.filePath("Game Music"));
    }
    for (const auto& file : files)
      server.WithState([&](TDevProtocol& p) { p.Files().AddFromDisk(file.first, file.second); });
    for (const auto& [name, password] : users) server.AddUser(name, password);
    if (demoHotWords) server.WithState([](TDevProtocol& p) { p.SeedDemoHotWords(); });
    server.Start();
    for (const QByteArray& name : server.ServerNames())
      std::printf("%-8s %s\n", name.constData(), server.BaseUrl(name).constData());
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    server.Stop();
  } catch (const Exception& e) {
    std::fprintf(stderr, "zabko-devserver: %s\n", e.what());
    return 1;
  }
  return 0;
}
