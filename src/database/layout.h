// The installation's folder layout: the root, the folders made at start-up, the read-only
// built-in folders, the named resource databases and the "scripts"/"libraries" folders.
#pragma once
#include <string>
#include <vector>

namespace QETLib {

// Folders below the root made at start-up when missing, in this order.
const std::vector<std::string>& StartupFolders();
// Read-only built-in content, in scanning order; never made by the program.
const std::vector<std::string>& BuiltInFolders();

// Stores the root (no trailing "/"), makes the start-up folders, opens the resource
// databases and registers the folder substitutions. Fails when the root is not a folder;
// a folder that cannot be made is logged and the set-up goes on.
bool SetUpInstallationFolders(const std::string& root);
// Closes the resource databases and removes the substitutions.
void TearDownInstallationFolders();

// The stored root, "" before set-up.
std::string InstallationRootFolder();
void SetInstallationRootFolder(const std::string& root);

}  // namespace QETLib
