// Cross-process ownership of one installation's asset database.
#pragma once
#include <string>

namespace QETLib {

// Opens the ownership controller for the installation whose index file is `index_path`
// (".../assets.tdx"). Fails when the path does not name assets.tdx or its folder is missing.
bool OpenIPCController(const std::string& index_path, bool repair_tool);

}  // namespace QETLib
