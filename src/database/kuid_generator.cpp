#include "database/kuid_generator.h"

#include <mutex>

#include "content/tag_container.h"
#include "database/asset_index.h"
#include "engine/path.h"
#include "engine/time.h"

namespace QETLib {

namespace {

constexpr int32_t kMinUser = -33554432;
constexpr int32_t kMaxUser = 33554431;

struct KUIDState {
  std::mutex lock;
  std::string file;  // ROOT/settings/kuid.txt
  KUID base = KUID::Null();
  int32_t local_user = -2;
};

KUIDState& State() {
  static KUIDState state;
  return state;
}

bool ValidUser(int32_t user) { return user >= kMinUser && user <= kMaxUser; }

int32_t VersionFor(int32_t user) { return user < 0 ? 127 : 0; }

void Save(const KUIDState& state) {
  if (state.file.empty()) return;
  TagContainer tags;
  tags.SetKUID("base-kuid", state.base);
  tags.Save(state.file, "txt");  // a failed write is not reported: the next run starts lower
}

// Moves the base into the local user's range when it belongs to another user.
void ResetBase(KUIDState& state) {
  if (state.base.user == state.local_user) return;
  if (ValidUser(state.local_user))
    state.base = KUID{state.local_user, 1000, VersionFor(state.local_user)};
  else
    state.base = KUID::Null();
  Save(state);
}

bool Taken(const KUID& candidate) {
  const AssetIndex& index = TheAssetIndex();
  const auto& map1 = index.Extras().kuid_map1;
  auto mapped = map1.find(candidate);
  if (mapped != map1.end() && mapped->second != candidate) return true;
  return index.Get(candidate) != nullptr;
}

}  // namespace

void LoadKUIDState(const std::string& root) {
  KUIDState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  state.file = Orb::Path::AddPath(Orb::Path::AddPath(root, "settings"), "kuid.txt");
  state.base = KUID::Null();
  state.local_user = -2;
  TagContainer tags;
  if (tags.Load(state.file)) state.base = tags.GetKUID("base-kuid");
  if (!state.base.IsNull() && state.base.user != -2) state.local_user = state.base.user;
}

KUID GenerateKUID() {
  KUIDState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  ResetBase(state);
  KUID candidate = state.base;
  if (candidate.IsNull()) {
    candidate.content = static_cast<int32_t>(Orb::Random::Next() / 2);
    candidate.user = -2;
  }
  // Content numbers are tried upwards until one is free; the last one wraps to the first,
  // so a full range ends in failure rather than a loop without end.
  for (uint64_t tries = 0; tries <= UINT32_MAX; ++tries) {
    candidate.content = static_cast<int32_t>(static_cast<uint32_t>(candidate.content) + 1u);
    candidate.version = VersionFor(candidate.user);
    if (!ValidUser(candidate.user)) return KUID::Null();
    if (!Taken(candidate)) {
      state.base = candidate;
      Save(state);
      return candidate;
    }
  }
  return KUID::Null();
}

int32_t LocalUserNumber() {
  KUIDState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  ResetBase(state);
  if (state.base.IsNull()) return -1;
  if (state.base.user >= -9 && state.base.user <= 0) return -1;
  return state.base.user;
}

}  // namespace QETLib
