#include "PostInstallLaunches.h"

#include "CKWLogFile.h"
#include "CSetupInstallationData.h"
#include "CShEx.h"
#include "InterfaceLanguage.h"
#include "ProductDescriptor.h"
#include "SetupFlags.h"

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

std::vector<std::string> PostInstallCommands(const CSetupInstallationData& data, const ProductDescriptor& product)
{
    std::vector<std::string> commands;
    if (g_rebootScheduled || g_cancelRequested)
        return commands;
    bool french = g_language == kLanguageFrench;
    std::string readme = french ? product.ReadmeFrench : product.ReadmeEnglish;
    if (data.readmeWanted && !readme.empty()) {
        std::string command = "notepad.exe " + readme;
        ReplaceAll(command, "[INSTALLDIR]", data.DestinationFolder);
        commands.push_back(command);
    }
    if (data.launchWanted && !product.MainProgramCommand.empty()) {
        std::string command = product.MainProgramCommand;
        ReplaceAll(command, "[INSTALLDIR]", data.DestinationFolder);
        ReplaceAll(command, "[InstallLang]", french ? "/LF" : "/LE");
        commands.push_back(command);
    }
    return commands;
}

void RunPostInstallLaunches(const CSetupInstallationData& data, const ProductDescriptor& product)
{
    for (const std::string& command : PostInstallCommands(data, product)) {
        UINT result = RunCommandLine(command, CShEx::kNoWait);
        LogMessage("Launched %s, return value %d", command.c_str(), static_cast<int>(result));
    }
}
