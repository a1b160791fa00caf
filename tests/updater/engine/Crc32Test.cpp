#include "CCrc32.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The checksum bit by bit, straight from its definition.
std::uint32_t BitwiseCrc(const std::string& data)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xEDB88320u : 0);
    }
    return ~crc;
}

std::string RandomBytes(size_t size)
{
    std::mt19937 generator(12345);
    std::string data(size, '\0');
    for (char& c : data)
        c = static_cast<char>(generator());
    return data;
}

} // namespace

TEST(Crc32, KnownValuesAndEveryLengthOffsetAndSplit)
{
    CCrc32 crc;
    EXPECT_EQ(0u, crc.Compute("", 0));
    EXPECT_EQ(0xCBF43926u, crc.Compute("123456789", 9));
    std::string fox = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(0x414FA339u, crc.Compute(fox.data(), fox.size()));

    // Lengths and misaligned starts around the eight-byte steps.
    std::string data = RandomBytes(300);
    for (size_t offset = 0; offset < 9; ++offset) {
        for (size_t length = 0; length + offset <= 40; ++length)
            ASSERT_EQ(BitwiseCrc(data.substr(offset, length)), crc.Compute(data.data() + offset, length))
                << offset << "+" << length;
    }
    std::uint32_t whole = crc.Compute(data.data(), data.size());
    for (size_t split : {0, 1, 7, 9, 150, 300})
        EXPECT_EQ(whole, crc.Update(crc.Update(0, data.data(), split), data.data() + split, data.size() - split));
}

// The folding path takes 64 bytes and more, in 16-byte steps, and hands
// the rest to the tables: both must give the same values everywhere.
TEST(Crc32, FoldingAndTablesAgreeOnEveryLengthOffsetAndSplit)
{
    CCrc32 fastest;
    CCrc32 tables(CCrc32::kTables);
    EXPECT_FALSE(tables.UsesFolding());
    std::string data = RandomBytes(70000);
    for (size_t offset = 0; offset < 16; ++offset) {
        for (size_t length = 0; length <= 400; ++length)
            ASSERT_EQ(tables.Compute(data.data() + offset, length), fastest.Compute(data.data() + offset, length))
                << offset << "+" << length;
    }
    std::uint32_t whole = BitwiseCrc(data);
    EXPECT_EQ(whole, fastest.Compute(data.data(), data.size()));
    for (size_t split : {1, 63, 64, 65, 1000, 65536, 69990})
        EXPECT_EQ(whole,
                  fastest.Update(fastest.Update(0, data.data(), split), data.data() + split, data.size() - split));
}

TEST(Crc32, FilesAreCheckedWholeAndMissingOnesReportTheError)
{
    CCrc32 crc;
    TestFolder folder;
    std::string data = RandomBytes(3 * 1024 * 1024 + 5);
    std::string path = folder.File("update.msp");
    WriteWholeFile(path, data);
    std::uint32_t value = 0;
    EXPECT_EQ(0u, crc.ComputeFile(path, value));
    EXPECT_EQ(BitwiseCrc(data), value);

    WriteWholeFile(path, "");
    value = 1;
    EXPECT_EQ(0u, crc.ComputeFile(path, value));
    EXPECT_EQ(0u, value);

    value = 1;
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), crc.ComputeFile(folder.File("missing.msp"), value));
    EXPECT_EQ(0u, value);
}
