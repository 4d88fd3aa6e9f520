#include "engine/path.h"

#include <vector>

#include "engine/text.h"

namespace Orb::Path {

static bool IsSep(char c) { return c == '/'; }

std::string AddPath(std::string_view base, std::string_view name) {
  if (base.empty()) return std::string(name);
  std::string out(base);
  if (!IsSep(out.back())) out += '/';
  while (!name.empty() && IsSep(name.front())) name.remove_prefix(1);
  out += name;
  return out;
}

std::string DelName(std::string_view path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string_view::npos) return std::string();
  return std::string(path.substr(0, slash + 1));
}

std::string PrevDir(std::string_view path) {
  std::string_view p = path;
  while (!p.empty() && IsSep(p.back())) p.remove_suffix(1);
  return DelName(p);
}

std::string AddSlash(std::string_view path) {
  std::string out(path);
  if (out.empty() || !IsSep(out.back())) out += '/';
  return out;
}

std::string DelSlash(std::string_view path) {
  std::string out(path);
  while (out.size() > 1 && IsSep(out.back())) out.pop_back();
  return out;
}

std::string GetFileName(std::string_view path) {
  size_t slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string GetExt(std::string_view path) {
  std::string name = GetFileName(path);
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return std::string();
  return name.substr(dot + 1);
}

bool IsExt(std::string_view path, std::string_view ext) {
  std::string name = GetFileName(path);
  size_t dot = name.find_last_of('.');
  return dot != std::string::npos && EqualsIgnoreCase(std::string_view(name).substr(dot + 1), ext);
}

std::string SetExt(std::string_view path, std::string_view ext) {
  size_t slash = path.find_last_of('/');
  size_t start = slash == std::string_view::npos ? 0 : slash + 1;
  size_t dot = path.find_last_of('.');
  std::string out(dot != std::string_view::npos && dot >= start ? path.substr(0, dot) : path);
  if (!ext.empty()) {
    out += '.';
    out += ext;
  }
  return out;
}

std::string ReplaceBackSlashes(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string ReplaceForwardSlashes(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

std::string Normalize(std::string_view path) {
  std::string p = ReplaceBackSlashes(path);
  bool absolute = !p.empty() && p[0] == '/';
  bool trailing = !p.empty() && p.back() == '/';
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= p.size()) {
    size_t j = p.find('/', i);
    if (j == std::string::npos) j = p.size();
    std::string part = p.substr(i, j - i);
    if (part.empty() || part == ".") {
    } else if (part == "..") {
      if (!parts.empty() && parts.back() != "..")
        parts.pop_back();
      else if (!absolute)
        parts.push_back(part);
    } else {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string out = absolute ? "/" : "";
  for (size_t k = 0; k < parts.size(); ++k) {
    if (k) out += '/';
    out += parts[k];
  }
  if (trailing && !parts.empty()) out += '/';
  return out;
}

std::string MakeRelativeTo(std::string_view path, std::string_view base) {
  std::string b = AddSlash(base);
  if (path.size() >= b.size() && path.substr(0, b.size()) == b) return std::string(path.substr(b.size()));
  return std::string(path);
}

bool IsAbsolute(std::string_view path) { return !path.empty() && path[0] == '/'; }

bool IsSafeComponent(std::string_view name, size_t max_length) {
  if (name.empty() || name.size() > max_length || name == "." || name == "..") return false;
  for (unsigned char c : name)
    if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F) return false;
  return true;
}

std::string MakeSafeComponent(std::string_view name, size_t max_length) {
  std::string out;
  for (unsigned char c : name) {
    if (out.size() >= max_length) break;
    out += (c == '/' || c == '\\' || c < 0x20 || c == 0x7F || c == ':') ? '_' : static_cast<char>(c);
  }
  while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.pop_back();
  while (!out.empty() && out.front() == ' ') out.erase(out.begin());
  if (out == "." || out == "..") out = "_";
  return out;
}

}  // namespace Orb::Path
