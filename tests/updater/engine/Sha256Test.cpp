#include "CSha256.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(Sha256, KnownDigestsInPiecesAndOfAFile)
{
    CSha256::Digest digest;
    CSha256 empty;
    ASSERT_TRUE(empty.Finish(digest));
    EXPECT_EQ("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855", CSha256::ToHex(digest));

    CSha256 pieces;
    pieces.Update("a", 1);
    pieces.Update("bc", 2);
    ASSERT_TRUE(pieces.Finish(digest));
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", CSha256::ToHex(digest));

    TestFolder folder;
    std::string path = folder.Path() + "\\million-a.bin";
    std::ofstream(path, std::ios::binary) << std::string(1000000, 'a');
    ASSERT_EQ(0u, CSha256::ComputeFile(path, digest));
    EXPECT_EQ("cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0", CSha256::ToHex(digest));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), CSha256::ComputeFile(folder.Path() + "\\none", digest));
}

TEST(Sha256, HexReadsBothCasesAndRefusesAnythingElse)
{
    CSha256::Digest digest;
    std::string upper = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";
    ASSERT_TRUE(CSha256::FromHex(upper, digest));
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", CSha256::ToHex(digest));
    EXPECT_FALSE(CSha256::FromHex(upper.substr(1), digest));
    EXPECT_FALSE(CSha256::FromHex(upper.substr(1) + "g", digest));
    EXPECT_FALSE(CSha256::FromHex("", digest));
}
