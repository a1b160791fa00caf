#include "CIniFile.h"
#include "CKWMsiInstaller.h"
#include "CSetupInstallationData.h"
#include "CoreTestSupport.h"
#include "PrerequisiteRegistry.h"
#include "ReadSetupIni.h"
#include "SetupFlags.h"
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

namespace {

class SetupIni : public CoreTest {
protected:
    void Read(const std::string& content)
    {
        m_ini = std::make_unique<TestIni>(content);
        file.SetFile(m_ini->Path());
        ASSERT_TRUE(ReadSetupPackages(file, data));
    }

    CIniFile file;
    CSetupInstallationData data;

private:
    std::unique_ptr<TestIni> m_ini;
};

} // namespace

TEST_F(SetupIni, ReadsPastPatchSectionsAndStopsAtTheFirstEmptyOne)
{
    Read("[Package1]\r\nPatch=fix.msp\r\n"
         "[Package2]\r\nDatabase=C:\\media\\main.msi\r\nOperation=REINSTALL\r\nName=Main\r\nProperties=A=1\r\n"
         "[Package3]\r\nName=Only a name\r\n"
         "[Package4]\r\nDatabase=late.msi\r\n");
    EXPECT_EQ(2, CountSetupPackages(file));
    ASSERT_EQ(2u, data.Packages.size());
    EXPECT_EQ(CKWMsiPackage::kKindPatch, data.Packages[0]->Kind);
    EXPECT_EQ("MINPATCH", data.Packages[0]->Operation);
    EXPECT_EQ("Pelmarin", data.Packages[0]->DisplayName);
    EXPECT_EQ(CKWMsiPackage::kKindInstaller, data.Packages[1]->Kind);
    EXPECT_NE(nullptr, dynamic_cast<CKWMsiInstaller*>(data.Packages[1].get()));
    EXPECT_EQ("C:\\media\\main.msi", data.Packages[1]->GetPath());
    EXPECT_EQ("REINSTALL", data.Packages[1]->Operation);
    EXPECT_EQ("Main", data.Packages[1]->DisplayName);
    EXPECT_EQ("1", data.Packages[1]->GetProperty("A", true, false));
}

TEST_F(SetupIni, NoPackageWhenTheFirstSectionNamesNoFile)
{
    Read("[Package1]\r\nName=Main\r\n[Package2]\r\nDatabase=main.msi\r\n");
    EXPECT_EQ(0, CountSetupPackages(file));
    EXPECT_TRUE(data.Packages.empty());
}

TEST_F(SetupIni, ACancelStopsTheReading)
{
    TestIni ini("[Package1]\r\nDatabase=main.msi\r\n");
    file.SetFile(ini.Path());
    g_cancelRequested = true;
    EXPECT_FALSE(ReadSetupPackages(file, data));
    g_cancelRequested = false;
    EXPECT_TRUE(data.Packages.empty());
}

TEST_F(SetupIni, PropertiesBecomeCoreParametersWithTheirDefaults)
{
    TestIni ini("[Properties]\r\nBASEURL=http://media/\r\nINSTMSIW=w.exe\r\n");
    file.SetFile(ini.Path());
    ReadSetupProperties(file);
    auto& parameters = GetSetupCore().CoreProperties;
    EXPECT_EQ("http://media/", parameters[kCorePropertyBaseUrl]);
    EXPECT_EQ("150", parameters[kCorePropertyMinimumMsi]);
    EXPECT_EQ("w.exe", parameters[kCorePropertyRedistributableNT]);
    EXPECT_EQ(".\\InstMsiA.exe", parameters[kCorePropertyRedistributable9x]);
    EXPECT_EQ(".\\WindowsInstaller-KB893803-v2-x86.exe", parameters[kCorePropertyRedistributable301]);
}

TEST_F(SetupIni, MendedASharedPrerequisiteIsReadOnceAndServesEveryPackage)
{
    Read("[Package1]\r\nDatabase=a.msi\r\nPrerequisites=Netfx35,Netfx35, Bogus,VCRedist80\r\n"
         "[Package2]\r\nDatabase=b.msi\r\nPrerequisites=IE6,Netfx35\r\n"
         "[Netfx35]\r\nExecFile=C:\\redist\\dotnet35.exe\r\nExecParams=/q\r\nProductSupportURL=http://help/\r\n"
         "Prerequisites=Netfx20\r\n"
         "[Netfx20]\r\nProductSupportURL=http://help20/\r\n");
    ASSERT_EQ(2u, data.Packages.size());
    ASSERT_EQ(1u, data.PrerequisiteInstallers.size()) << "one section read once; none without ExecFile";
    CKWExePackage& installer = *data.PrerequisiteInstallers[0];
    EXPECT_EQ("C:\\redist\\dotnet35.exe", installer.GetPath());
    EXPECT_EQ("/q", installer.GetParameters());

    IPrerequisite* netfx35 = FindPrerequisite(kPrerequisiteNetfx35);
    ASSERT_NE(nullptr, netfx35);
    EXPECT_EQ(&installer, netfx35->GetOwner());
    EXPECT_EQ("http://help/", netfx35->GetSupportAddress());
    EXPECT_EQ((std::vector<IInstallable*>{data.Packages[0].get(), data.Packages[1].get()}), netfx35->GetDependents())
        << "the second package needs it as much as the first";

    IPrerequisite* netfx20 = FindPrerequisite(kPrerequisiteNetfx20);
    ASSERT_NE(nullptr, netfx20);
    EXPECT_EQ(nullptr, netfx20->GetOwner());
    EXPECT_EQ("http://help20/", netfx20->GetSupportAddress());
    EXPECT_EQ((std::vector<IInstallable*>{&installer}), netfx20->GetDependents());
    EXPECT_EQ(3u, RegisteredPrerequisites().size()) << "Netfx20, Netfx35 and IE6; nothing for unknown names";
}
