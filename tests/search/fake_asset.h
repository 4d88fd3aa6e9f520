// A plain asset record for search and filter tests, and a source over a list of them.
#pragma once
#include <string>
#include <vector>

#include "search/asset_view.h"

namespace qtest {

struct FakeAsset : QETLib::AssetView {
  QETLib::KUID kuid;
  std::string category_class, name, localised_name, regions, eras, keywords;
  std::string editing_path, resource_path, local_path;
  uint8_t state_flags = 0, check_flags = 0, permission_flags = 0;
  int32_t build = 0;
  float quorix_build = 0;
  uint8_t small_value = 0;
  int64_t time1 = 0, time2 = 0;
  bool up_to_date = true, obsolete = false, archived = false, missing_deps = false, faulty_deps = false;

  QETLib::KUID Kuid() const override { return kuid; }
  std::string_view CategoryClass() const override { return category_class; }
  std::string_view Name() const override { return name; }
  std::string_view LocalisedName() const override { return localised_name; }
  std::string_view CategoryRegions() const override { return regions; }
  std::string_view CategoryEras() const override { return eras; }
  std::string_view KeywordText() const override { return keywords; }
  std::string_view EditingPath() const override { return editing_path; }
  std::string_view ResourcePath() const override { return resource_path; }
  std::string_view LocalPath() const override { return local_path; }
  uint8_t StateFlags() const override { return state_flags; }
  uint8_t CheckFlags() const override { return check_flags; }
  uint8_t PermissionFlags() const override { return permission_flags; }
  int32_t Build() const override { return build; }
  float QuorixBuild() const override { return quorix_build; }
  uint8_t SmallValue() const override { return small_value; }
  int64_t Time1() const override { return time1; }
  int64_t Time2() const override { return time2; }
  bool IsUpToDate() const override { return up_to_date; }
  bool IsObsolete() const override { return obsolete; }
  bool IsArchived() const override { return archived; }
  bool HasMissingDependencies() const override { return missing_deps; }
  bool HasFaultyDependencies() const override { return faulty_deps; }
};

struct FakeIndex : QETLib::AssetSource {
  std::vector<FakeAsset> assets;
  void ForEachAsset(const std::function<void(const QETLib::AssetView&)>& visit) const override {
    for (const FakeAsset& asset : assets) visit(asset);
  }
  FakeAsset& Add(int user, int content, std::string category_class) {
    FakeAsset& asset = assets.emplace_back();
    asset.kuid = QETLib::KUID{user, content, 0};
    asset.category_class = std::move(category_class);
    asset.local_path = "local/" + std::to_string(user) + "_" + std::to_string(content);
    return asset;
  }
};

}  // namespace qtest
