#include "search/index_asset_source.h"

#include "database/asset_info.h"
#include "database/database_lock.h"
#include "search/search_assets.h"

namespace QETLib {

namespace {

class RecordView : public AssetView {
 public:
  RecordView(AssetIndex& index, AssetRecord& record) : index_(index), r_(record) {}
  KUID Kuid() const override { return r_.kuid; }
  std::string_view CategoryClass() const override { return r_.CategoryClass(); }
  std::string_view Name() const override { return r_.Name(); }
  std::string_view LocalisedName() const override { return r_.LocalisedName(); }
  std::string_view CategoryRegions() const override { return r_.CategoryRegions(); }
  std::string_view CategoryEras() const override { return r_.CategoryEras(); }
  std::string_view KeywordText() const override { return r_.KeywordText(); }
  std::string_view EditingPath() const override { return r_.EditingPath(); }
  std::string_view ResourcePath() const override { return r_.ResourcePath(); }
  std::string_view LocalPath() const override { return r_.LocalPath(); }
  uint8_t StateFlags() const override { return r_.state_flags; }
  uint8_t CheckFlags() const override { return r_.check_flags; }
  uint8_t PermissionFlags() const override { return r_.permission_flags; }
  int32_t Build() const override { return r_.build; }
  float QuorixBuild() const override { return r_.quorix_build; }
  uint8_t SmallValue() const override { return r_.small_value; }
  int64_t Time1() const override { return r_.time1; }
  int64_t Time2() const override { return r_.time2; }
  bool IsUpToDate() const override {
    // Versions of one asset sit next to each other; a higher one means a newer one exists.
    for (int32_t v = r_.kuid.version + 1; v <= 127; ++v)
      if (index_.Get(KUID{r_.kuid.user, r_.kuid.content, v})) return false;
    return true;
  }
  bool IsObsolete() const override { return (r_.check_flags & kCheckObsolete) != 0; }
  bool IsArchived() const override { return QETLib::IsArchived(index_, r_); }
  bool HasMissingDependencies() const override { return QETLib::HasMissingDependencies(index_, r_); }
  bool HasFaultyDependencies() const override { return QETLib::HasFaultyDependencies(index_, r_); }

 private:
  AssetIndex& index_;
  AssetRecord& r_;
};

}  // namespace

void IndexAssetSource::ForEachAsset(const std::function<void(const AssetView&)>& visit) const {
  index_.ForEachMutable([&](AssetRecord& record) { visit(RecordView(index_, record)); });
}

std::vector<KUID> SearchIndex(const SearchCriteria& criteria) {
  std::vector<KUID> found;
  DatabaseLock lock(false);
  if (!lock.Ok()) return found;
  SearchAssets(criteria, IndexAssetSource(TheAssetIndex()), found);
  return found;
}

}  // namespace QETLib
