#include "CKWMsiPatch.h"

#include "CKWMsiDll.h"
#include "InstallerResult.h"
#include "KwMsiHandle.h"
#include "SetupCore.h"
#include "TraceMessage.h"

namespace {

const char kDefaultPatchCommandLine[] = "REINSTALL=ALL REINSTALLMODE=omus";

const char* OrNull(const std::string& text)
{
    return text.empty() ? "{null}" : text.c_str();
}

// An empty command line is handed to the engine as none at all.
const char* OrNothing(const std::string& text)
{
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

CKWMsiPatch::CKWMsiPatch(const std::string& path) : CKWMsiPackage(path, kKindPatch)
{
    Operation = "MINPATCH";
}

bool CKWMsiPatch::IsValidPackage()
{
    if (m_validPackage)
        return true;
    if (!g_msi.IsBound())
        return false;
    KwMsiHandle database;
    m_validPackage = g_msi.MsiOpenDatabaseA(m_path.c_str(), m_openMode, database.Receive()) == ERROR_SUCCESS;
    return m_validPackage;
}

UINT CKWMsiPatch::Execute()
{
    if (!g_msi.IsBound())
        return ERROR_INSTALL_FAILURE;
    std::string commandLine = GetPropertyLine();

    std::map<int, std::string>& properties = GetSetupCore().CoreProperties;
    properties[kCorePropertyPatchDisplayName] = DisplayName;
    properties[kCorePropertyPatchOperation] = Operation;
    properties[kCorePropertyPatchCommandLine] = commandLine;
    properties[kCorePropertyPatchReserved] = std::string();
    properties[kCorePropertyPatchPath] = m_path;

    if (Operation != "MINPATCH" && Operation != "MAJPATCH" && Operation != "DEFAULT") {
        TraceMessage("[Error] Operation %s is not valid on package '%s'\n", Operation.c_str(), m_path.c_str());
        return ERROR_INVALID_PARAMETER;
    }

    // A major-update patch always installs as if the product were new.
    bool known = false;
    if (Operation != "MAJPATCH") {
        std::string productCode = GetProductCode();
        known = true;
        if (!productCode.empty()) {
            INSTALLSTATE state = g_msi.MsiQueryProductStateA(productCode.c_str());
            TraceMessage("[Info] MsiQueryProductState returned %d\n", static_cast<int>(state));
            known = state == INSTALLSTATE_ADVERTISED || state == INSTALLSTATE_DEFAULT;
            if (known)
                TraceMessage("[Info] The product code '%s' is known. Will use QFE recache and reinstall upgrade "
                             "logic...\n",
                             productCode.c_str());
            else
                TraceMessage("[Info] The product code '%s' is unknown. Will use first time install logic...\n",
                             productCode.c_str());
        }
    }
    if (known && commandLine.empty()) {
        TraceMessage("[Info] Patch is a MINPATCH (small or minor update patch) so using default command line '%s'\n",
                     kDefaultPatchCommandLine);
        commandLine = kDefaultPatchCommandLine;
    }

    UINT result;
    if (g_runKind == kRunKindAdministrative) {
        if (g_adminInstallPoint.empty())
            return ERROR_PATH_NOT_FOUND;
        TraceMessage("[Info] Calling MsiApplyPatch with szPatchPackage = %s\n", m_path.c_str());
        TraceMessage("\tand szInstallPackage = %s and eInstallType = INSTALLTYPE_NETWORK_IMAGE\n",
                     g_adminInstallPoint.c_str());
        TraceMessage("\tand szCommandLine = %s\n", OrNull(commandLine));
        result = g_msi.MsiApplyPatchA(m_path.c_str(), g_adminInstallPoint.c_str(), INSTALLTYPE_NETWORK_IMAGE,
                                      OrNothing(commandLine));
    } else {
        TraceMessage("[Info] Calling MsiApplyPatch with szPatchPackage = %s\n", m_path.c_str());
        TraceMessage("\tand szInstallPackage = {null} and eInstallType = INSTALLTYPE_DEFAULT\n");
        TraceMessage("\tand szCommandLine = %s\n", OrNull(commandLine));
        result = g_msi.MsiApplyPatchA(m_path.c_str(), nullptr, INSTALLTYPE_DEFAULT, OrNothing(commandLine));
    }
    result = ConcludeInstallerResult(result);
    TraceMessage("[Info] MsiApplyPatch returned %d\n", static_cast<int>(result));
    return result;
}
