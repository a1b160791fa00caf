#pragma once

#include <string>
#include <vector>

// A private folder tree for one fuzzing process: "cache" is the working
// folder the updater downloads into, "input" holds the files the fuzzer
// itself writes. Nothing fed to the product may create anything else.
class FuzzSandbox {
public:
    FuzzSandbox();
    ~FuzzSandbox();
    FuzzSandbox(const FuzzSandbox&) = delete;
    FuzzSandbox& operator=(const FuzzSandbox&) = delete;

    const std::string& Root() const { return m_root; }
    std::string Cache() const { return m_root + "\\cache"; }
    std::string Input(const std::string& name) const { return m_root + "\\input\\" + name; }

    // Every file or folder that appeared outside "input" since the last call
    // (the cache too, which nothing may write to either), removed after it
    // is reported so the next input starts clean.
    std::vector<std::string> TakeWrites();

private:
    std::string m_root;
};

// The names in a folder, not recursive; compared before and after a run
// for folders the sandbox cannot hold (the drive root, the program's own).
std::vector<std::string> ListFolder(const std::string& folder);

bool WriteFuzzFile(const std::string& path, const std::string& content);
