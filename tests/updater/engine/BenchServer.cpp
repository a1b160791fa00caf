#include "BenchServer.h"

#include "EnvironmentValue.h"

#include <windows.h>

BenchServer GetBenchServer()
{
    BenchServer server;
    std::string port = EnvironmentValue("KW_HTTPD_PORT");
    if (port.empty())
        return server;
    server.url = "http://127.0.0.1:" + port + "/";
    server.root = WinePath(EnvironmentValue("KW_HTTPD_ROOT"));
    server.log = WinePath(EnvironmentValue("KW_HTTPD_LOG"));
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
