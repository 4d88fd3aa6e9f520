#include "engine/application.h"

#include <mutex>

namespace Orb {

namespace {

std::mutex& NameMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& NameStorage() {
  static std::string name;
  return name;
}

}  // namespace

void SetApplicationName(std::string_view name) {
  std::lock_guard<std::mutex> hold(NameMutex());
  NameStorage().assign(name);
}

std::string ApplicationName() {
  std::lock_guard<std::mutex> hold(NameMutex());
  return NameStorage();
}

}  // namespace Orb
