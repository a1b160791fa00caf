#include "MainProgramFile.h"

#include "ProductDescriptor.h"
#include "RegistrySetting.h"

std::string MainProgramFile(const std::string& installFolder)
{
    // The registry value may lack the final backslash; without it the file
    // would never be found and a running product never asked to close.
    std::string folder = installFolder;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    std::string path = GetProductDescriptor().MainProgramPath;
    const std::string token = "[INSTALLDIR]";
    for (size_t at = path.find(token); at != std::string::npos; at = path.find(token, at + folder.size()))
        path.replace(at, token.size(), folder);
    return path;
}

std::string InstalledFolder()
{
    const ProductDescriptor& product = GetProductDescriptor();
    return ReadRegistrySetting(product.SetupRegistryKey, product.InstallDirValueName, product.DefaultInstallDir);
}
