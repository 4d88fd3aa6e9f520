// The validation schema of an installation: the definitions of inheritance.txt, kind.txt and
// container.txt merged in that order (a later definition replaces an earlier one of the
// same name), compiled once and then shared by every validation.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "content/tag_container.h"
#include "search/schema_definition.h"

namespace QETLib {

class Schema {
 public:
  // The three files, in merge order.
  static constexpr std::string_view kFiles[] = {"inheritance.txt", "kind.txt", "container.txt"};

  // Reads and compiles the schema of a data folder. A missing file adds nothing.
  static std::shared_ptr<const Schema> Load(const std::string& data_folder);
  // Compiles a schema from containers given in merge order (tests and tools).
  static std::shared_ptr<const Schema> FromContainers(const std::vector<TagContainer>& files);

  // The merged definitions as read.
  const TagContainer& Definitions() const { return merged_; }
  // The compiled definition of that name, or nullptr.
  const NodeDef* Find(std::string_view name) const;
  size_t Size() const { return defs_.size(); }
  // Definition names that something refers to but the schema lacks, as "name (used by x)".
  const std::vector<std::string>& MissingReferences() const { return missing_; }

 private:
  void Merge(const TagContainer& file, std::vector<std::pair<Orb::PString, ChunkRef>>& order,
             std::unordered_map<std::string, size_t>& position);
  void Compile();
  void Resolve(NodeDef& def, std::vector<NodeDef*>& all);
  void Flatten(NodeDef& def);
  void ResolveRef(DefRef& ref, std::string_view user);

  TagContainer merged_;
  std::unordered_map<std::string, std::shared_ptr<NodeDef>> defs_;
  std::vector<std::string> missing_;
};

// The schema of the data folder, built on first use and kept for the rest of the run
// (a different folder builds its own). Thread-safe.
std::shared_ptr<const Schema> LoadSchema(const std::string& data_folder);
// Drops the kept schema so the next LoadSchema reads the files again.
void ForgetSchema();

}  // namespace QETLib
