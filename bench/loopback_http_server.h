// The HTTP benchmarks' server: a cpp-httplib server on 127.0.0.1 in a child process of its own,
// so that the process CPU time the benchmarks report is the client's alone. The child is this
// same program started with kLoopbackServerArgument; it ends when the benchmark process does.
#pragma once

#include <string>

namespace zabko::bench {

inline constexpr const char* kLoopbackServerArgument = "--loopback-http-server";

// The packet-sized request and reply of a typical server call.
const std::string& LoopbackRequest();
const std::string& LoopbackReply();

// In the child: serves POST /AccessIn.ashx with the reply, writes the port as a line to standard
// output, and returns when standard input ends (the parent is gone). The exit status.
int ServeLoopbackHttp();

// In the benchmark process: the URL of the child's server, started at the first call.
const std::string& LoopbackUrl();

}  // namespace zabko::bench
