#pragma once

#include <string>

// The bench's HTTP server (tools/kwhttpd.py), which CTest starts beside a
// test program registered WITH_HTTPD and describes in the environment.
struct BenchServer {
    std::string url;  // "http://127.0.0.1:PORT/"
    std::string root; // the served folder, as a Windows path
    std::string log;  // its request log: one request line and status a line
};

// The server of this run; empty fields when the program runs without one.
BenchServer GetBenchServer();

// A Unix path as Wine sees it: the Unix root is drive Z:.
std::string WinePath(const std::string& unixPath);
