#include "BenchServer.h"

#include <windows.h>

namespace {

std::string Environment(const char* name)
{
    char value[MAX_PATH * 2] = "";
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

} // namespace

BenchServer GetBenchServer()
{
    BenchServer server;
    std::string port = Environment("KW_HTTPD_PORT");
    if (port.empty())
        return server;
    server.url = "http://127.0.0.1:" + port + "/";
    server.root = WinePath(Environment("KW_HTTPD_ROOT"));
    server.log = WinePath(Environment("KW_HTTPD_LOG"));
    return server;
}

std::string WinePath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}
