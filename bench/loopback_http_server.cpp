#include "bench/loopback_http_server.h"

#include <httplib.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace zabko::bench {

const std::string& LoopbackRequest() {
  static const std::string request(240, 'A');
  return request;
}

const std::string& LoopbackReply() {
  static const std::string reply = "<PACKET>" + std::string(400, 'B') + "</PACKET>";
  return reply;
}

int ServeLoopbackHttp() {
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  httplib::Server server;
  server.Post("/AccessIn.ashx",
              [](const httplib::Request&, httplib::Response& res) { res.set_content(LoopbackReply(), "text/html"); });
  const int port = server.bind_to_any_port("127.0.0.1");
  if (port <= 0) return 1;
  std::printf("%d\n", port);
  std::fflush(stdout);
  std::thread stopper([&server] {
    char c;
    while (::read(STDIN_FILENO, &c, 1) > 0) {
    }
    server.stop();
  });
  server.listen_after_bind();
  stopper.join();
  return 0;
}

namespace {

std::string StartChild() {
  int toChild[2], fromChild[2];
  if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
  char self[] = "/proc/self/exe";
  char argument[64];
  std::snprintf(argument, sizeof argument, "%s", kLoopbackServerArgument);
  char* argv[] = {self, argument, nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(toChild[0]);
  ::close(fromChild[1]);
  if (spawned != 0) throw std::runtime_error("cannot start the loopback server");
  // toChild[1] stays open for the rest of the run: its end tells the child to stop.
  std::string line;
  char c;
  while (::read(fromChild[0], &c, 1) == 1 && c != '\n') line += c;
  ::close(fromChild[0]);
  if (line.empty()) throw std::runtime_error("the loopback server did not start");
  return "http://127.0.0.1:" + line + "/AccessIn.ashx?page=APP";
}

}  // namespace

const std::string& LoopbackUrl() {
  static const std::string url = StartChild();
  return url;
}

}  // namespace zabko::bench
