#include "search/schema.h"

#include "engine/file.h"

namespace QETLib {

namespace {

std::mutex g_lock;
std::string g_folder;
std::shared_ptr<const Schema> g_schema;

// Include chains deeper than this are a mistake or hostile; what lies past is ignored.
constexpr int kMaxIncludeDepth = 64;

}  // namespace

std::shared_ptr<const Schema> Schema::Load(const std::string& data_folder) {
  std::vector<TagContainer> files;
  for (std::string_view name : kFiles) {
    TagContainer file;
    const std::string path = Orb::FindNameIgnoreCase(data_folder, std::string(name));
    if (!path.empty()) file.Load({}, path, "txt");
    files.push_back(file);
  }
  return FromContainers(files);
}

std::shared_ptr<const Schema> Schema::FromContainers(const std::vector<TagContainer>& files) {
  auto schema = std::make_shared<Schema>();
  std::vector<std::pair<Orb::PString, ChunkRef>> order;  // null chunk: replaced later
  std::unordered_map<std::string, size_t> position;
  for (const TagContainer& file : files) schema->Merge(file, order, position);
  schema->merged_.MakeWritable();
  for (auto& [name, chunk] : order)
    if (chunk) schema->merged_.Root()->AddChild(name, chunk);
  schema->Compile();
  return schema;
}

// A definition replaces any earlier one of its name and takes its place at the end.
void Schema::Merge(const TagContainer& file, std::vector<std::pair<Orb::PString, ChunkRef>>& order,
                   std::unordered_map<std::string, size_t>& position) {
  for (uint32_t i = 0; i < file.TagCount(); ++i) {
    ChunkRef value = file.TagValue(i);
    if (value->GetType() != kTypeContainer) continue;  // only containers define anything
    const Orb::PString name = file.TagName(i);
    auto [it, added] = position.emplace(std::string(name.View()), order.size());
    if (!added) {
      order[it->second].second = ChunkRef();
      it->second = order.size();
    }
    order.emplace_back(name, value);
  }
}

const NodeDef* Schema::Find(std::string_view name) const {
  auto it = defs_.find(std::string(name));
  return it == defs_.end() ? nullptr : it->second.get();
}

void Schema::Compile() {
  for (uint32_t i = 0; i < merged_.TagCount(); ++i) {
    const std::string name(merged_.TagName(i).View());
    auto def = CompileDefinition(name, TagContainer(merged_.TagValue(i)));
    def->type = ValueType::kContainer;  // a top-level definition always describes a container
    defs_[name] = std::move(def);
  }
  std::vector<NodeDef*> all;
  for (auto& [name, def] : defs_) Resolve(*def, all);
  for (NodeDef* def : all) Flatten(*def);
}

void Schema::ResolveRef(DefRef& ref, std::string_view user) {
  if (ref.def) return;
  ref.def = Find(ref.name);
  if (!ref.def && !ref.name.empty()) missing_.push_back(ref.name + " (used by " + std::string(user) + ")");
}

// Resolves every name below `def` and collects the definitions for flattening.
void Schema::Resolve(NodeDef& def, std::vector<NodeDef*>& all) {
  all.push_back(&def);
  for (DefRef& include : def.includes) {
    ResolveRef(include, def.name);
    if (include.inline_def) Resolve(*include.inline_def, all);
  }
  for (auto& [name, element] : def.elements) Resolve(*element, all);
  if (def.has_array_element) {
    ResolveRef(def.array_element, def.name);
    if (def.array_element.inline_def) Resolve(*def.array_element.inline_def, all);
  }
  for (SubPossibility& sub : def.subpossibilities) {
    for (auto& [value, choice] : sub.choices) {
      ResolveRef(choice, def.name);
      if (choice.inline_def) Resolve(*choice.inline_def, all);
    }
  }
}

void Schema::Flatten(NodeDef& def) {
  if (def.flat_state != 0) return;  // built, or a loop back to a definition being built
  // A chain of includes deeper than any schema needs stops here; the definitions beyond are
  // built later on their own, without what lies past the cut.
  static thread_local int depth = 0;
  if (depth >= kMaxIncludeDepth) return;
  struct Nesting {
    Nesting() { ++depth; }
    ~Nesting() { --depth; }
  } nesting;
  def.flat_state = 1;
  NodeDef::Flat& flat = def.flat;
  for (const auto& [name, element] : def.elements) {
    if (element->tagarray)
      flat.tagarrays.push_back(element.get());
    else if (flat.elements.emplace(name, element.get()).second && element->required)
      flat.required.push_back(element.get());
  }
  if (def.has_array_element) flat.array_element = def.array_element.def;
  for (const SubPossibility& sub : def.subpossibilities) flat.subpossibilities.push_back(&sub);
  flat.unknown = def.unknown;
  // Own words first; each include adds what is not defined yet.
  for (const DefRef& include : def.includes) {
    if (!include.def) continue;
    NodeDef& other = const_cast<NodeDef&>(*include.def);
    Flatten(other);
    if (other.flat_state != 2) continue;  // part of a loop: skipped
    for (const auto& [name, element] : other.flat.elements) {
      if (flat.elements.emplace(name, element).second && element->required) flat.required.push_back(element);
    }
    for (const NodeDef* tagarray : other.flat.tagarrays) flat.tagarrays.push_back(tagarray);
    if (!flat.array_element) flat.array_element = other.flat.array_element;
    for (const SubPossibility* sub : other.flat.subpossibilities) flat.subpossibilities.push_back(sub);
    if (flat.unknown == UnknownPolicy::kUnset) flat.unknown = other.flat.unknown;
  }
  def.flat_state = 2;
}

std::shared_ptr<const Schema> LoadSchema(const std::string& data_folder) {
  std::lock_guard<std::mutex> guard(g_lock);
  if (!g_schema || g_folder != data_folder) {
    g_schema = Schema::Load(data_folder);
    g_folder = data_folder;
  }
  return g_schema;
}

void ForgetSchema() {
  std::lock_guard<std::mutex> guard(g_lock);
  g_schema.reset();
  g_folder.clear();
}

}  // namespace QETLib
