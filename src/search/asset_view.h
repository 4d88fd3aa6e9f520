// What a filter or a search looks at in an asset record: the record's fields and the few
// answers that need the whole index. The asset index implements it for its records.
#pragma once
#include <cstdint>
#include <functional>
#include <string_view>

#include "content/kuid.h"

namespace QETLib {

class AssetView {
 public:
  virtual ~AssetView() = default;

  virtual KUID Kuid() const = 0;
  virtual std::string_view CategoryClass() const = 0;
  virtual std::string_view Name() const = 0;
  virtual std::string_view LocalisedName() const = 0;
  virtual std::string_view CategoryRegions() const = 0;
  virtual std::string_view CategoryEras() const = 0;
  // The derived keyword text (category keywords plus words derived from the class).
  virtual std::string_view KeywordText() const = 0;
  virtual std::string_view EditingPath() const = 0;
  virtual std::string_view ResourcePath() const = 0;
  virtual std::string_view LocalPath() const = 0;
  virtual uint8_t StateFlags() const = 0;
  virtual uint8_t CheckFlags() const = 0;
  virtual uint8_t PermissionFlags() const = 0;
  virtual int32_t Build() const = 0;
  virtual float QuorixBuild() const = 0;
  virtual uint8_t SmallValue() const = 0;
  virtual int64_t Time1() const = 0;
  virtual int64_t Time2() const = 0;

  // Answers that need the rest of the index.
  // No newer version of the KUID is known, or the newest known version is this one.
  virtual bool IsUpToDate() const = 0;
  // Check flags bit 7, refreshed first when the record's stamp is out of date.
  virtual bool IsObsolete() const = 0;
  // Listed in one of the index's archive lists.
  virtual bool IsArchived() const = 0;
  virtual bool HasMissingDependencies() const = 0;
  virtual bool HasFaultyDependencies() const = 0;

  // Present: open for edit, in a resource database or installed locally.
  bool IsPresent() const { return !EditingPath().empty() || !ResourcePath().empty() || !LocalPath().empty(); }
  bool IsLocallyAvailable() const { return !ResourcePath().empty() || !LocalPath().empty(); }
  // The localised name when it is not empty, else the name.
  std::string_view DisplayName() const {
    std::string_view localised = LocalisedName();
    return localised.empty() ? Name() : localised;
  }
};

// The records of an index, visited in index order.
class AssetSource {
 public:
  virtual ~AssetSource() = default;
  virtual void ForEachAsset(const std::function<void(const AssetView&)>& visit) const = 0;
};

}  // namespace QETLib
