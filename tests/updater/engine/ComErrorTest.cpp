#include "ComError.h"
#include "SystemMessage.h"

#include <gtest/gtest.h>

TEST(ComError, TextsFollowTheSystemThenTheDispatchRangeThenTheCode)
{
    std::string system = GetSystemErrorText(static_cast<DWORD>(E_ACCESSDENIED));
    ASSERT_EQ("\r\n", system.substr(system.size() - 2));
    EXPECT_EQ(system.substr(0, system.size() - 2), ComErrorText(E_ACCESSDENIED));

    // Wine's system has no messages for these codes.
    EXPECT_EQ("IDispatch error #5", ComErrorText(static_cast<HRESULT>(0x80040205UL)));
    EXPECT_EQ("IDispatch error #65023", ComErrorText(static_cast<HRESULT>(0x8004FFFFUL)));
    EXPECT_EQ("Unknown error 0x800401FF", ComErrorText(static_cast<HRESULT>(0x800401FFUL)));
    EXPECT_EQ("Unknown error 0xA0041234", ComErrorText(static_cast<HRESULT>(0xA0041234UL)));
}
