// Stands in for a self-extracting full package in tests. The program carries
// its files appended to its own image:
//   kwsfx pack OUT.exe FILE...   writes a copy of itself carrying the files
//   OUT.exe /C /T:"FOLDER"       writes the carried files into FOLDER
// Exit code 0 on success, 1 on failure.
//
// Appended data: per file a 32-bit name length, the name, a 32-bit data
// length and the data; then a 32-bit offset of the first file, a 32-bit
// file count and the 8-byte marker.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char kMarker[8] = {'K', 'W', 'S', 'F', 'X', '0', '0', '1'};
const size_t kTrailerSize = 16;

using Bytes = std::vector<char>;

bool ReadFile(const std::string& path, Bytes& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

void AppendNumber(Bytes& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
}

bool ReadNumber(const Bytes& bytes, size_t& pos, uint32_t& value)
{
    if (bytes.size() < 4 || pos > bytes.size() - 4)
        return false;
    value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[pos + i])) << (8 * i);
    pos += 4;
    return true;
}

std::string OwnPath()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// Where the program image ends and the carried files begin; the whole size
// when it carries none.
size_t ImageEnd(const Bytes& self, uint32_t& count)
{
    count = 0;
    if (self.size() < kTrailerSize || std::memcmp(&self[self.size() - sizeof kMarker], kMarker, sizeof kMarker) != 0)
        return self.size();
    size_t pos = self.size() - kTrailerSize;
    uint32_t offset = 0;
    if (!ReadNumber(self, pos, offset) || !ReadNumber(self, pos, count) || offset > self.size() - kTrailerSize)
        return self.size();
    return offset;
}

// Only plain names: a carried file never lands outside the target folder.
bool IsPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

int Pack(int count, char** files)
{
    Bytes self;
    if (count < 1 || !ReadFile(OwnPath(), self))
        return 1;
    uint32_t carried = 0;
    Bytes out(self.begin(), self.begin() + static_cast<std::ptrdiff_t>(ImageEnd(self, carried)));
    const uint32_t offset = static_cast<uint32_t>(out.size());
    for (int i = 1; i < count; ++i) {
        std::string path = files[i];
        std::string name = path.substr(path.find_last_of("\\/") + 1);
        Bytes data;
        if (!IsPlainName(name) || !ReadFile(path, data))
            return 1;
        AppendNumber(out, static_cast<uint32_t>(name.size()));
        out.insert(out.end(), name.begin(), name.end());
        AppendNumber(out, static_cast<uint32_t>(data.size()));
        out.insert(out.end(), data.begin(), data.end());
    }
    AppendNumber(out, offset);
    AppendNumber(out, static_cast<uint32_t>(count - 1));
    out.insert(out.end(), std::begin(kMarker), std::end(kMarker));
    return WriteFile(files[0], out) ? 0 : 1;
}

// The folder of "/T:folder" or "/T:\"folder\"" in the raw command line; the
// folder may end with a backslash right before its closing quote.
std::string TargetFolder()
{
    std::string line = GetCommandLineA();
    size_t option = line.find("/T:");
    if (option == std::string::npos)
        return std::string();
    size_t start = option + 3;
    if (start < line.size() && line[start] == '"') {
        size_t end = line.find('"', start + 1);
        return line.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    }
    return line.substr(start, line.find(' ', start) - start);
}

int Extract()
{
    std::string folder = TargetFolder();
    Bytes self;
    if (folder.empty() || !ReadFile(OwnPath(), self))
        return 1;
    if (folder.back() != '\\')
        folder += '\\';
    uint32_t count = 0;
    size_t pos = ImageEnd(self, count);
    if (pos == self.size())
        return 1;
    CreateDirectoryA(folder.c_str(), nullptr);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t nameLength = 0;
        uint32_t dataLength = 0;
        if (!ReadNumber(self, pos, nameLength) || nameLength > self.size() - pos)
            return 1;
        std::string name(&self[pos], nameLength);
        pos += nameLength;
        if (!ReadNumber(self, pos, dataLength) || dataLength > self.size() - pos || !IsPlainName(name))
            return 1;
        Bytes data(self.begin() + static_cast<std::ptrdiff_t>(pos),
                   self.begin() + static_cast<std::ptrdiff_t>(pos + dataLength));
        pos += dataLength;
        if (!WriteFile(folder + name, data))
            return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "pack") == 0)
        return Pack(argc - 2, argv + 2);
    return Extract();
}
