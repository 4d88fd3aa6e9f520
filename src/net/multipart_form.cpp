#include "net/multipart_form.h"

#include <string_view>

#include "content/tag_container.h"
#include "engine/text.h"

namespace Net {

namespace {

// Names are written between double quotes on a header line.
bool IsSafeHeaderName(std::string_view text) {
  for (char c : text)
    if (c == '"' || c == '\r' || c == '\n' || c == '\0') return false;
  return true;
}

bool HoldsBoundary(std::string_view data) {
  return data.find(std::string("--") + kMultipartBoundary) != std::string_view::npos;
}

}  // namespace

bool BuildMultipartBody(const QETLib::TagContainer& form, std::string& body, std::string& error) {
  const std::string delimiter = std::string("--") + kMultipartBoundary + "\r\n";
  body.clear();
  for (uint32_t i = 0; i < form.TagCount(); ++i) {
    std::string name(form.TagName(i).View());
    QETLib::ChunkRef value = form.TagValue(i);
    if (!IsSafeHeaderName(name)) {
      error = "form field name \"" + name + "\" cannot be sent";
      return false;
    }
    if (!QETLib::IsNullChunk(value) && value->GetType() == QETLib::kTypeContainer) {
      QETLib::TagContainer part(value);
      QETLib::ChunkRef data = part.GetChunk("filedata");
      if (!QETLib::IsNullChunk(data) && data->GetType() == QETLib::kTypeBinary && part.HasTag("filename")) {
        std::string file_name = part.GetText("filename");
        std::string_view bytes(reinterpret_cast<const char*>(data->GetData()), data->GetDataSize());
        if (!IsSafeHeaderName(file_name)) {
          error = "file name \"" + file_name + "\" cannot be sent";
          return false;
        }
        if (HoldsBoundary(bytes)) {
          error = "the data of file " + file_name + " holds the form boundary";
          return false;
        }
        body += delimiter;
        body += Orb::Format("content-disposition: form-data; name=\"%s\"; filename=\"%s\"\r\n", name.c_str(), file_name.c_str());
        body += "Content-type: application/binary\r\n";
        body += "Content-Transfer-Encoding: binary\r\n";
        body += Orb::Format("Content-Length: %d\r\n", static_cast<int>(bytes.size()));
        body += "\r\n";
        body += bytes;
        body += "\r\n";
        continue;
      }
    }
    std::string text = QETLib::TagContainer::ValueText(value.Get());
    if (HoldsBoundary(text)) {
      error = "the value of form field " + name + " holds the form boundary";
      return false;
    }
    body += delimiter;
    body += Orb::Format("content-disposition: form-data; name=\"%s\"\r\n", name.c_str());
    body += "\r\n";
    body += text;
    body += "\r\n";
  }
  body += std::string("--") + kMultipartBoundary + "--";
  return true;
}

}  // namespace Net
