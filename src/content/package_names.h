// Which file and folder names a content package may hold, which extensions, and which
// files packing passes over in silence. The same rules apply when packing and unpacking.
#pragma once
#include <string_view>

namespace QETLib {

// Not empty; not beginning with a blank, "." or "~"; not ending with a blank; only letters,
// digits, the blank and $ & ' ( ) + , - . _ ~
bool IsAllowedPackageName(std::string_view name);
// The extension (after the last ".") is one of the content types a package carries.
bool IsAllowedPackageExtension(std::string_view name);
// thumbs.db and pspbrwse.jbf in any case, and names ending in ".imw" or ".gmw".
bool IsSkippedPackageFile(std::string_view name);

}  // namespace QETLib
