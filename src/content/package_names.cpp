// Name, extension and skip rules for package members.
// Only ASCII letters count as letters: names are compared byte by byte.
#include "content/package_names.h"

#include "engine/path.h"
#include "engine/text.h"

namespace QETLib {

bool IsAllowedPackageName(std::string_view name) {
  if (name.empty()) return false;
  char first = name.front();
  if (first == ' ' || first == '.' || first == '~' || name.back() == ' ') return false;
  for (char c : name) {
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    bool digit = c >= '0' && c <= '9';
    if (letter || digit) continue;
    switch (c) {
      case ' ': case '$': case '&': case '\'': case '(': case ')': case '+':
      case ',': case '-': case '.': case '_': case '~':
        continue;
      default:
        return false;
    }
  }
  return true;
}

bool IsAllowedPackageExtension(std::string_view name) {
  static constexpr std::string_view kAllowed[] = {
      "txt", "bmp", "tga", "chump", "pm", "im",  "kin", "wav",  "jpg",  "jpeg", "gnd", "ref", "tso", "obs", "trk",
      "texture", "bmk", "dat", "gs", "gse", "html", "htm", "evt", "lm", "mp3", "lst", "pfx", "tfx", "avi", "wmv"};
  std::string ext = Orb::Path::GetExt(name);
  for (std::string_view allowed : kAllowed) {
    if (Orb::EqualsIgnoreCase(ext, allowed)) return true;
  }
  return false;
}

bool IsSkippedPackageFile(std::string_view name) {
  if (Orb::EqualsIgnoreCase(name, "thumbs.db") || Orb::EqualsIgnoreCase(name, "pspbrwse.jbf")) return true;
  return name.size() >= 4 && (name.substr(name.size() - 4) == ".imw" || name.substr(name.size() - 4) == ".gmw");
}

}  // namespace QETLib
