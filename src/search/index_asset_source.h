// The asset index seen through the filter's eyes: each record as an AssetView, the whole
// index as an AssetSource visited in index order. The caller holds the database lock.
#pragma once
#include "database/asset_index.h"
#include "search/asset_view.h"

namespace QETLib {

class IndexAssetSource : public AssetSource {
 public:
  explicit IndexAssetSource(AssetIndex& index) : index_(index) {}
  void ForEachAsset(const std::function<void(const AssetView&)>& visit) const override;

 private:
  AssetIndex& index_;
};

// Searches the process's index under a read lock; matches in index order.
struct SearchCriteria;
std::vector<KUID> SearchIndex(const SearchCriteria& criteria);

}  // namespace QETLib
