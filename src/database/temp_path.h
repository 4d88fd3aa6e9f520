// Fresh names for temporary files and folders in the database's folders: a preferred name
// when it is free, else a prefix, eight random characters and a per-process counter.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace QETLib {

// Makes the base folder (`base` relative to database folder `folder`, or absolute when
// `folder` is empty) and yields in `out` the base joined with a name nothing uses yet:
// `preferred` (made into one safe path component, plus "." and `extension` when one is
// given) when free, else up to 100 tries of `prefix` + 8 characters from [0-9a-z] + the
// counter + ("." + `extension`). After 100 tries a log line is written and it fails.
bool CreateTemporaryFilePath(const std::string& folder, const std::string& base, const std::string& prefix,
                             const std::string& extension, const std::string& preferred, std::string& out);

// Where the random characters come from: a function giving a number below its bound.
// Tests set one; an empty function restores the engine's generator.
using TemporaryNameSource = std::function<uint32_t(uint32_t bound)>;
void SetTemporaryNameSource(TemporaryNameSource source);

}  // namespace QETLib
