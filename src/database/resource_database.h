// The named resource databases of an installation: "data", "video", "local", "trash",
// "editing", "cache" and "settings", each the folder of that name below the root.
#pragma once
#include <string>
#include <vector>

namespace QETLib {

class QuorixResourceDatabase {
 public:
  QuorixResourceDatabase(std::string name, std::string folder) : name_(std::move(name)), folder_(std::move(folder)) {}
  const std::string& Name() const { return name_; }
  const std::string& Folder() const { return folder_; }  // ROOT/<name>, no trailing "/"
  // The full path of an entry; "" for an entry that would leave the folder.
  std::string PathOf(const std::string& entry) const;
  bool Exists(const std::string& entry) const;
  // Removes an entry (file or folder tree); never the folder itself.
  bool Delete(const std::string& entry) const;

 private:
  std::string name_;
  std::string folder_;
};

// The names, in opening order.
const std::vector<std::string>& ResourceDatabaseNames();
void OpenResourceDatabases(const std::string& root);
void CloseResourceDatabases();
// The open database of that name (case-insensitive), nullptr when none.
const QuorixResourceDatabase* FindResourceDatabase(const std::string& name);

}  // namespace QETLib
