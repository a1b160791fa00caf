#pragma once

#include <string>

class CIniFile;
class CSetupInstallationData;

// setup.ini beside the program: the engine core's parameters, the packages
// and their prerequisites.

// The [Properties] values, logged and stored as the engine core's parameters.
void ReadSetupProperties(const CIniFile& ini);

// How many package sections there are: Package1, Package2... up to the first
// with neither "Database" nor "Patch".
int CountSetupPackages(const CIniFile& ini);

// Appends the packages of those sections, with their prerequisites, to the
// data. False when the user cancelled meanwhile.
bool ReadSetupPackages(const CIniFile& ini, CSetupInstallationData& data);
