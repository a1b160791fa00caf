#include "CKWMsiInstaller.h"

#include "CKWMsiDll.h"
#include "CKWMsiProperty.h"
#include "CKWMsiQuery.h"
#include "InstallerResult.h"
#include "InterfaceLanguage.h"
#include "KwMsiHandle.h"
#include "MakeFullPath.h"
#include "SetupCore.h"
#include "TraceMessage.h"

#include <memory>
#include <vector>

namespace {

const char* const kFeatureLists[] = {"ADDLOCAL", "REMOVE", "ADDSOURCE", "ADDDEFAULT", "REINSTALL", "ADVERTISE"};
enum FeatureList { kAddLocal, kRemove, kAddSource, kAddDefault, kReinstall, kAdvertise, kListCount };

// Reinstall the package, user and machine data, shortcuts and older files:
// the same as REINSTALLMODE=vomus.
const DWORD kRepairMode = REINSTALLMODE_PACKAGE | REINSTALLMODE_USERDATA | REINSTALLMODE_MACHINEDATA |
                          REINSTALLMODE_SHORTCUT | REINSTALLMODE_FILEOLDERVERSION;

bool IsAbsentState(int state)
{
    return state == INSTALLSTATE_UNKNOWN || state == INSTALLSTATE_ABSENT;
}

bool ConditionFails(MSICONDITION result)
{
    return result == MSICONDITION_FALSE || result == MSICONDITION_ERROR;
}

// An engine session on a package, for evaluating its conditions.
class MsiSession {
public:
    explicit MsiSession(const std::string& path)
    {
        if (g_msi.MsiOpenPackageA(path.c_str(), m_handle.Receive()) != ERROR_SUCCESS)
            m_handle.Reset();
    }
    bool IsOpen() const { return m_handle.Get() != 0; }
    MSICONDITION Evaluate(const std::string& condition)
    {
        return g_msi.MsiEvaluateConditionA(m_handle.Get(), condition.c_str());
    }

private:
    KwMsiHandle m_handle;
};

} // namespace

CKWMsiInstaller::CKWMsiInstaller(const std::string& path) : CKWMsiPackage(path, kKindInstaller)
{
    Operation = "INSTALLUPD";
}

void CKWMsiInstaller::SetTransform(int language, const std::string& path)
{
    if (language == LANG_ENGLISH)
        m_englishTransform = path;
    else if (language == LANG_FRENCH)
        m_frenchTransform = path;
}

int CKWMsiInstaller::GetFeatureRequest(const std::string& feature)
{
    auto stored = m_featureRequests.find(feature);
    if (stored != m_featureRequests.end())
        return stored->second;
    std::string productCode = g_msi.IsBound() ? GetProductCode() : std::string();
    if (productCode.empty())
        return INSTALLSTATE_UNKNOWN;
    int state = g_msi.MsiQueryFeatureStateA(productCode.c_str(), feature.c_str());
    if (state == INSTALLSTATE_DEFAULT)
        state = INSTALLSTATE_LOCAL;
    else if (state == INSTALLSTATE_UNKNOWN)
        state = INSTALLSTATE_ABSENT;
    m_featureRequests[feature] = state;
    return state;
}

void CKWMsiInstaller::SetFeatureRequest(const std::string& feature, int state)
{
    m_featureRequests[feature] = state;
}

bool CKWMsiInstaller::CheckLaunchConditions()
{
    std::string check = GetProperty("KWELC", true, true);
    if (check.empty())
        return true;
    // The switch is ours, not the engine's: it never reaches the command line.
    SetProperty("KWELC", "");
    if (check != "1")
        return true;

    std::string sequenceCondition;
    {
        CKWMsiQuery sequence(m_path);
        if (sequence.Open("SELECT * FROM `InstallExecuteSequence` WHERE `Action` = 'LaunchConditions'", m_openMode) !=
                ERROR_SUCCESS ||
            !sequence.Fetch())
            return true;
        sequence.GetString(2, sequenceCondition);
    }
    if (!sequenceCondition.empty()) {
        MsiSession session(m_path);
        // The engine itself would not run the launch conditions either.
        if (!session.IsOpen() || ConditionFails(session.Evaluate(sequenceCondition)))
            return true;
    }

    std::vector<std::string> conditions;
    {
        CKWMsiQuery query(m_path);
        if (query.Open("SELECT * FROM `LaunchCondition`", m_openMode) == ERROR_SUCCESS) {
            while (query.Fetch()) {
                std::string condition;
                query.GetString(1, condition);
                if (!condition.empty())
                    conditions.push_back(condition);
            }
        }
    }
    if (conditions.empty())
        return true;
    MsiSession session(m_path);
    if (!session.IsOpen())
        return true;
    for (const std::string& condition : conditions) {
        if (ConditionFails(session.Evaluate(condition)))
            return false;
    }
    return true;
}

void CKWMsiInstaller::ApplyFeatureRequests()
{
    std::vector<std::unique_ptr<CKWMsiProperty>> lists;
    for (const char* name : kFeatureLists)
        lists.emplace_back(new CKWMsiProperty(name, ",", GetProperty(name, true, true)));

    std::string productCode = GetProductCode();
    int installMode = GetSetupCore().InstallMode;
    size_t featureCount = 0;
    CKWMsiQuery features(m_path);
    if (features.Open("SELECT * FROM `Feature` ORDER BY `Feature_Parent`", m_openMode) == ERROR_SUCCESS) {
        while (features.Fetch()) {
            std::string feature;
            features.GetString(1, feature);
            ++featureCount;
            int installed = g_msi.MsiQueryFeatureStateA(productCode.c_str(), feature.c_str());
            int requested = installMode == kInstallModeInstall ? INSTALLSTATE_DEFAULT : GetFeatureRequest(feature);
            if (!IsAbsentState(installed)) {
                lists[IsAbsentState(requested) ? kRemove : kReinstall]->Add(feature);
                continue;
            }
            switch (requested) {
            case INSTALLSTATE_ADVERTISED:
                lists[kAdvertise]->Add(feature);
                break;
            case INSTALLSTATE_LOCAL:
                lists[kAddLocal]->Add(feature);
                break;
            case INSTALLSTATE_SOURCE:
                lists[kAddSource]->Add(feature);
                break;
            case INSTALLSTATE_DEFAULT:
                lists[kAddDefault]->Add(feature);
                break;
            default:
                break;
            }
        }
    }

    std::vector<CKWMsiProperty*> filled;
    for (const auto& list : lists) {
        if (!list->IsEmpty())
            filled.push_back(list.get());
    }
    if (filled.empty())
        return;
    // One list that names every feature, alone, is written as ALL; an empty
    // list never is, also when the package has no features.
    if (filled.size() == 1 && filled.front()->Count() == featureCount)
        filled.front()->Reset("ALL");
    for (const auto& list : lists)
        SetProperty(list->GetName(), list->Join());
}

UINT CKWMsiInstaller::Execute()
{
    if (!g_msi.IsBound())
        return ERROR_INSTALL_FAILURE;
    if (!CheckLaunchConditions())
        return ERROR_SUCCESS;

    const SetupCoreState& core = GetSetupCore();
    int installState = GetInstallState();
    if (core.InstallMode == kInstallModeInstall) {
        if (installState == kCompareSame || installState == kCompareOlder)
            return ERROR_SUCCESS;
        if (IsAbsentState(GetProductState(false)))
            return ERROR_SUCCESS;
    }
    if (installState == kCompareSame && core.InstallMode == kInstallModeForcedInstall && !m_forced)
        return ERROR_SUCCESS;
    if (installState != kCompareNotInstalled && installState != kCompareUnknown &&
        GetSetupPropertyInt("InstallOnce") != 0)
        return ERROR_SUCCESS;

    ApplyFeatureRequests();
    if (installState == kCompareNewer)
        SetProperty("REINSTALLMODE", "vomus");

    std::string transform = g_language == kLanguageFrench ? m_frenchTransform : m_englishTransform;
    if (!MakeFullPath(transform))
        return ERROR_SUCCESS;
    if (!transform.empty())
        SetProperty("TRANSFORMS", transform);

    std::string commandLine = GetPropertyLine();
    if (Operation == "INSTALLUPD" || Operation == "DEFAULT") {
        int state = GetProductState(true);
        std::string productCode = GetProductCode();
        if (state == INSTALLSTATE_ADVERTISED || state == INSTALLSTATE_DEFAULT) {
            TraceMessage("[Info] The product code '%s' is known. Will use QFE recache and reinstall upgrade logic...\n",
                         productCode.c_str());
            if (commandLine.empty())
                commandLine = "REINSTALL=ALL REINSTALLMODE=vomus";
        } else {
            TraceMessage("[Info] The product code '%s' is unknown. Will use first time install logic...\n",
                         productCode.c_str());
        }
    } else if (!Operation.empty() && Operation != "INSTALL") {
        TraceMessage("[Error] Operation %s is not valid on package '%s'\n", Operation.c_str(), m_path.c_str());
        return ERROR_INVALID_PARAMETER;
    }
    // An administrative installation replaces the whole line: only the
    // install point chosen on the command line goes with the ADMIN action.
    if (g_runKind == kRunKindAdministrative) {
        commandLine.clear();
        if (!g_adminInstallPoint.empty())
            SetPropertyInLine(commandLine, "TARGETDIR", g_adminInstallPoint);
        commandLine += " ACTION=ADMIN";
    }

    UINT result;
    if (IsAbsentState(GetProductState(false)))
        result = g_msi.MsiInstallProductA(m_path.c_str(), "REMOVE=ALL");
    else
        result = g_msi.MsiInstallProductA(m_path.c_str(), commandLine.c_str());
    result = ConcludeInstallerResult(result);
    TraceMessage("[Info] MsiInstallProduct returned %d\n", static_cast<int>(result));
    return result;
}

bool CKWMsiInstaller::ReadyFor(int installMode, std::string& productCode, UINT& result)
{
    result = ERROR_INSTALL_FAILURE;
    if (!g_msi.IsBound())
        return false;
    result = ERROR_SUCCESS;
    if (GetSetupCore().InstallMode != installMode || IsAbsentState(GetProductState(true)))
        return false;
    productCode = GetProductCode();
    result = productCode.empty() ? ERROR_INSTALL_FAILURE : ERROR_SUCCESS;
    return !productCode.empty();
}

UINT CKWMsiInstaller::Repair()
{
    std::string productCode;
    UINT result;
    if (!ReadyFor(kInstallModeRepair, productCode, result))
        return result;
    result = ConcludeInstallerResult(g_msi.MsiReinstallProductA(productCode.c_str(), kRepairMode));
    TraceMessage("[Info] MsiReinstallProduct returned %d\n", static_cast<int>(result));
    return result;
}

UINT CKWMsiInstaller::Remove()
{
    std::string productCode;
    UINT result;
    if (!ReadyFor(kInstallModeRemove, productCode, result))
        return result;
    // A permanent product stays installed when the rest is removed.
    if (GetProperty("KWPermanent", true, true) == "1")
        return ERROR_SUCCESS;
    result = ConcludeInstallerResult(
        g_msi.MsiConfigureProductA(productCode.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT));
    TraceMessage("[Info] MsiConfigureProduct returned %d\n", static_cast<int>(result));
    return result;
}
