#include "IsPlainFileName.h"

#include <gtest/gtest.h>

#include <string>

TEST(IsPlainFileName, AcceptsNamesThatStayInTheirFolder)
{
    for (const char* name : {"p1.msp", "Melvaro 2012 SP1.exe", "a.b.c", ".hidden", "CONFIG.msi", "NULL.txt",
                             "COM10.msp", "LPT0.exe", "con-setup.exe", "Mise \xE0 jour.msp"})
        EXPECT_TRUE(IsPlainFileName(name)) << name;
}

TEST(IsPlainFileName, DeliberatelyRefusesNamesThatLeadElsewhere)
{
    for (const char* name : {"",           ".",          "..",          "..\\setup.exe",
                             "a\\b.msp",   "a/b.msp",    "C:setup.exe", "p1.msp:hidden",
                             "..evil.msp", "setup.exe.", "setup.exe ",  "a\tb.msp",
                             "a\x7F.msp",  "*.msp",      "p?.msp",      "a|b.msp",
                             "<a>.msp",    "\"a\".msp",  "CON",         "con.msp",
                             "Nul.tar.gz", "AUX",        "prn.txt",     "COM1",
                             "lpt9.exe",   "CON .txt",   "conin$"})
        EXPECT_FALSE(IsPlainFileName(name)) << "\"" << name << "\"";
}
