#include "database/authors.h"

#include <unordered_set>

#include "database/asset_index.h"
#include "database/database_lock.h"
#include "engine/text.h"

namespace QETLib {

std::string AuthorText(int32_t user) {
  if (user == -2) return "unknown";
  // The maker's own content carries negative user numbers; -2 is the anonymous local user.
  if (user < 0) return "Belmo";
  return Orb::Format("#%d", user);
}

std::vector<std::string> ListAuthors() {
  std::vector<std::string> authors;
  std::unordered_set<int32_t> seen_users;
  std::unordered_set<std::string> seen_texts;
  DatabaseLock lock(false);
  if (!lock.Ok()) return authors;
  TheAssetIndex().ForEach([&](const AssetRecord& record) {
    int32_t user = record.kuid.user;
    if (!seen_users.insert(user).second) return;
    std::string text = AuthorText(user);
    if (seen_texts.insert(text).second) authors.push_back(std::move(text));
  });
  return authors;
}

}  // namespace QETLib
