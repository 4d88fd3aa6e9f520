// The engine's operating-system object, resource system and render kernel. On this
// platform nothing needs opening: they keep their option strings, report success, and
// hand out the parsed options.
#pragma once
#include <map>
#include <string>

namespace Orb {

// Options parsed from a text such as "-NullRender -LogFile=/dev/null": each word that
// begins with "-" is a name, optionally followed by "=" and a value.
class Options {
 public:
  void Parse(const std::string& text);
  void Init(const std::string& application_name, const std::string& second);
  bool Has(const std::string& name) const;            // case-insensitive
  std::string Get(const std::string& name) const;     // "" when absent
  const std::string& ApplicationName() const { return application_name_; }

 private:
  std::map<std::string, std::string> values_;  // lower-cased names
  std::string application_name_;
};

class OS {
 public:
  OS(std::string title, std::string options) : title_(std::move(title)), option_text_(std::move(options)) {}
  bool Init();
  Options& GetOptions() { return options_; }
  const std::string& Title() const { return title_; }
  const std::string& OptionText() const { return option_text_; }
  bool NullRender() const { return options_.Has("NullRender"); }

 private:
  std::string title_;
  std::string option_text_;
  Options options_;
};

class ResourceSystem {
 public:
  bool Init(const Options& options);
};

class RenderKernel {
 public:
  // The parameter selects render features; a console program uses none of them.
  explicit RenderKernel(int /*parameter*/) {}
  bool Init(OS& os);
  bool NullRender() const { return null_render_; }

 private:
  bool null_render_ = false;
};

}  // namespace Orb
