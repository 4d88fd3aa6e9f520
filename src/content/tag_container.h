// `TagContainer`: the handle through which every part of the system reads and writes tags,
// with typed accessors, load/save by form or extension, and the config.txt text form.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "content/chunk.h"
#include "content/kuid.h"
#include "content/stream.h"
#include "engine/pstring.h"

namespace QETLib {

class TagContainer {
 public:
  TagContainer() = default;  // an empty handle
  explicit TagContainer(ChunkRef root);

  // The root chunk (none for an empty handle); IsEmpty is true for no root or no tags.
  ChunkRef Root() const { return root_; }
  bool HasRoot() const { return static_cast<bool>(root_); }
  bool IsEmpty() const { return TagCount() == 0; }
  // Makes the root an in-memory container when there is none (or it is a read-only view).
  void MakeWritable();

  // Typed access. The defaults are returned when the tag is missing or has no data;
  // lists give their first element.
  bool HasTag(std::string_view name) const;
  int32_t GetInt(std::string_view name, int32_t def = 0) const;
  float GetFloat(std::string_view name, float def = 0.0f) const;
  bool GetBool(std::string_view name, bool def = false) const;
  KUID GetKUID(std::string_view name, const KUID& def = KUID::Null()) const;
  std::string GetText(std::string_view name) const;
  std::vector<float> GetFloatList(std::string_view name) const;
  std::vector<int32_t> GetIntList(std::string_view name) const;
  std::vector<KUID> GetKUIDList(std::string_view name) const;
  // The raw value block and type (binary data, or anything else as stored).
  DataRef GetData(std::string_view name, int32_t* type = nullptr) const;
  TagContainer GetContainer(std::string_view name) const;
  ChunkRef GetChunk(std::string_view name) const;  // the null chunk when missing

  // Setters: each makes the container if needed, removes a tag of the same name, and
  // appends the new tag at the end (so setting a tag moves it to the end).
  void SetInt(std::string_view name, int32_t value);
  void SetIntList(std::string_view name, const std::vector<int32_t>& values);
  void SetFloat(std::string_view name, float value);
  void SetFloatList(std::string_view name, const std::vector<float>& values);
  void SetString(std::string_view name, std::string_view value);
  void SetKUID(std::string_view name, const KUID& value);
  void SetKUIDList(std::string_view name, const std::vector<KUID>& values);
  void SetBinary(std::string_view name, std::string_view bytes);
  void SetContainer(std::string_view name, const TagContainer& value);
  void SetChunk(std::string_view name, ChunkRef chunk);
  void AddEmptyTag(std::string_view name);
  bool RemoveTag(std::string_view name);

  uint32_t TagCount() const;
  Orb::PString TagName(uint32_t index) const;
  ChunkRef TagValue(uint32_t index) const;  // the null chunk when out of range
  // A tag's value as text (the writer's conversions), "" when it has none.
  static std::string ValueText(ACSChunk* value);
  void ClearTags();

  // Loads from `folder` (may be empty) + `file`. `form` ("txt", "chump", "cdp", "cdp2", any
  // case) or, when empty, the file's extension picks the reader. False for another form or
  // a file that cannot be opened (the container is then unchanged). Unusable chump content
  // loads as an empty container and still returns true.
  bool Load(std::string_view folder, std::string_view file, std::string_view form = {});
  bool Load(std::string_view file) { return Load({}, file, {}); }
  // Saves in the form chosen as for Load; false for another form (no file is touched) or
  // when the file cannot be written.
  bool Save(std::string_view file, std::string_view form = {}) const;

  // Chump form in memory.
  bool ReadChump(TStream& stream);
  bool WriteChump(TStream& stream) const;

 private:
  ACSChunk* Writable();  // makes the container if needed
  ChunkRef root_;
};

// The text form (config.txt): the writer always emits the UTF-8 mark and CR LF line ends.
void WriteText(const TagContainer& container, TStream& sink);
std::string WriteTextToString(const TagContainer& container);
// Reads text into `container`, appending/replacing tags. Never fails: malformed text gives
// whatever tags could be read. Without `utf8`, a leading mark is detected; values from
// unmarked text holding bytes >= 0x80 are converted from Windows-1252 to UTF-8.
void ReadText(TagContainer& container, TStream& source, bool utf8 = false);
void ReadTextFromString(TagContainer& container, std::string_view text, bool utf8 = false);

// True when `form` is one of the forms Load and Save understand.
bool IsKnownTagForm(std::string_view form);

}  // namespace QETLib
