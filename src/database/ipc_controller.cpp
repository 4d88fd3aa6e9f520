#include "database/ipc_controller.h"

#include "engine/file.h"
#include "engine/text.h"

namespace QETLib {

bool OpenIPCController(const std::string& index_path, bool) {
  std::string lowered = Orb::ToLower(index_path);
  const std::string name = "assets.tdx";
  if (lowered.size() < name.size() + 1 || lowered.compare(lowered.size() - name.size(), name.size(), name) != 0)
    return false;
  std::string root = index_path.substr(0, index_path.size() - name.size() - 1);
  return Orb::File::IsFolder(root.empty() ? "/" : root);
}

}  // namespace QETLib
