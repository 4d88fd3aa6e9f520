#include "database/temp_path.h"

#include <atomic>
#include <mutex>

#include "database/database_paths.h"
#include "engine/log.h"
#include "engine/path.h"
#include "engine/time.h"

namespace QETLib {

namespace {

constexpr int kTries = 100;
constexpr int kRandomCharacters = 8;
constexpr char kAlphabet[] = "0123456789abcdefghijklmnopqrstuvwxyz";

std::atomic<uint32_t> g_counter{0};
std::mutex g_source_lock;
TemporaryNameSource g_source;

uint32_t Draw(uint32_t bound) {
  {
    std::lock_guard<std::mutex> guard(g_source_lock);
    if (g_source) return g_source(bound) % bound;
  }
  return Orb::Random::Below(bound);
}

std::string WithExtension(std::string name, const std::string& extension) {
  if (extension.empty()) return name;
  if (extension[0] != '.') name += '.';
  return name + extension;
}

}  // namespace

void SetTemporaryNameSource(TemporaryNameSource source) {
  std::lock_guard<std::mutex> guard(g_source_lock);
  g_source = std::move(source);
}

bool CreateTemporaryFilePath(const std::string& folder, const std::string& base, const std::string& prefix,
                             const std::string& extension, const std::string& preferred, std::string& out) {
  const uint32_t counter = ++g_counter;
  std::string full_base;
  if (!ResolveDatabasePath(folder, base, full_base)) return false;
  DatabaseMakeFolder(folder, base);
  if (!preferred.empty()) {
    // A display name may hold anything: it becomes one safe component or is not used.
    std::string name = Orb::Path::MakeSafeComponent(preferred);
    if (!name.empty()) {
      std::string candidate = Orb::Path::AddPath(base, WithExtension(name, extension));
      if (!DatabaseExists(folder, candidate)) {
        out = candidate;
        return true;
      }
    }
  }
  for (int attempt = 0; attempt < kTries; ++attempt) {
    std::string name = prefix;
    for (int i = 0; i < kRandomCharacters; ++i) name += kAlphabet[Draw(sizeof kAlphabet - 1)];
    name += std::to_string(counter);
    std::string candidate = Orb::Path::AddPath(base, WithExtension(name, extension));
    if (!DatabaseExists(folder, candidate)) {
      out = candidate;
      return true;
    }
  }
  Orb::Log::Printf("CreateTemporaryFilePath> unable to form valid temp path in 100 tries, at path '%s' with prefix '%s'\n",
                   full_base.c_str(), prefix.c_str());
  return false;
}

}  // namespace QETLib
