#include "CKWMsiInstaller.h"
#include "CSetupInstallationData.h"
#include "CoreTestSupport.h"
#include "PrerequisiteRegistry.h"
#include "ReadSetupIni.h"
#include "SetupTestSupport.h"

using SetupIni = CoreTest;

TEST_F(SetupIni, ReadsPastPatchSectionsAndStopsAtTheFirstEmptyOne)
{
    TestIni ini("[Package1]\r\nPatch=fix.msp\r\n"
                "[Package2]\r\nDatabase=C:\\media\\main.msi\r\nOperation=REINSTALL\r\nName=Main\r\nProperties=A=1\r\n"
                "[Package3]\r\nName=Only a name\r\n[Package4]\r\nDatabase=late.msi\r\n");
    CSetupInstallationData data;
    ASSERT_TRUE(ReadSetupPackages(ini, data));
    EXPECT_EQ(2, CountSetupPackages(ini));
    ASSERT_EQ(2u, data.Packages.size());
    CKWMsiPackage& patch = *data.Packages[0];
    EXPECT_EQ(CKWMsiPackage::kKindPatch, patch.Kind);
    EXPECT_EQ("MINPATCH Pelmarin", patch.Operation + " " + patch.DisplayName);
    auto* main = dynamic_cast<CKWMsiInstaller*>(data.Packages[1].get());
    ASSERT_NE(nullptr, main);
    EXPECT_EQ("C:\\media\\main.msi REINSTALL Main", main->GetPath() + " " + main->Operation + " " + main->DisplayName);
    EXPECT_EQ("1", main->GetProperty("A", true, false));

    EXPECT_EQ(0, CountSetupPackages(TestIni("[Package1]\r\nName=Main\r\n[Package2]\r\nDatabase=main.msi\r\n")));
}

TEST_F(SetupIni, MendedASharedPrerequisiteIsReadOnceAndServesEveryPackage)
{
    TestIni ini("[Package1]\r\nDatabase=a.msi\r\nPrerequisites=Netfx35,Netfx35, Bogus,VCRedist80\r\n"
                "[Package2]\r\nDatabase=b.msi\r\nPrerequisites=IE6,Netfx35\r\n"
                "[Netfx35]\r\nExecFile=C:\\redist\\dotnet35.exe\r\nExecParams=/q\r\nProductSupportURL=http://help/\r\n"
                "Prerequisites=Netfx20\r\n[Netfx20]\r\nProductSupportURL=http://help20/\r\n");
    CSetupInstallationData data;
    ASSERT_TRUE(ReadSetupPackages(ini, data));
    ASSERT_EQ(1u, data.PrerequisiteInstallers.size()) << "one section read once; none without ExecFile";
    CKWExePackage& installer = *data.PrerequisiteInstallers[0];
    EXPECT_EQ("C:\\redist\\dotnet35.exe /q", installer.GetPath() + " " + installer.GetParameters());

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
