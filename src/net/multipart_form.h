// The multipart form body built from a tag container: file parts for nested containers
// holding "filedata" (binary) and "filename", field parts for every other tag.
#pragma once
#include <string>

namespace QETLib {
class TagContainer;
}

namespace Net {

constexpr const char* kMultipartBoundary = "1E3N2D4";

// Builds the body into `body`. False (with a reason) when a name or file name would break
// its part header, or a value holds the boundary text and would end its part early.
bool BuildMultipartBody(const QETLib::TagContainer& form, std::string& body, std::string& error);

}  // namespace Net
