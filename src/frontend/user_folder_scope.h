// Switches the working folder to the user's (the one current when the program started)
// for the lifetime of the object, and back to the previous folder afterwards.
#pragma once
#include <string>

#include "engine/file.h"

namespace QETLib {

class UserFolderScope {
 public:
  explicit UserFolderScope(const std::string& user_folder) : previous_(Orb::CurrentFolder()) {
    Orb::SetCurrentFolder(user_folder);
  }
  ~UserFolderScope() { Orb::SetCurrentFolder(previous_); }
  UserFolderScope(const UserFolderScope&) = delete;
  UserFolderScope& operator=(const UserFolderScope&) = delete;

 private:
  std::string previous_;
};

}  // namespace QETLib
