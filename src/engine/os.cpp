#include "engine/os.h"

#include <sstream>

#include "engine/text.h"

namespace Orb {

void Options::Parse(const std::string& text) {
  std::istringstream words(text);
  std::string word;
  while (words >> word) {
    if (word.empty() || word[0] != '-') continue;
    word.erase(0, 1);
    size_t eq = word.find('=');
    std::string name = ToLower(word.substr(0, eq));
    values_[name] = eq == std::string::npos ? std::string() : word.substr(eq + 1);
  }
}

void Options::Init(const std::string& application_name, const std::string&) { application_name_ = application_name; }

bool Options::Has(const std::string& name) const { return values_.count(ToLower(name)) != 0; }

std::string Options::Get(const std::string& name) const {
  auto it = values_.find(ToLower(name));
  return it == values_.end() ? std::string() : it->second;
}

bool OS::Init() {
  options_.Parse(option_text_);
  return true;
}

bool ResourceSystem::Init(const Options&) { return true; }

bool RenderKernel::Init(OS& os) {
  null_render_ = os.NullRender();
  return true;
}

}  // namespace Orb
