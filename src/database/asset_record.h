// One asset's entry in the asset index: identity, texts, locations, flag bytes and times,
// with the names of the flag bits the rest of the database tests.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "content/kuid.h"
#include "engine/pstring.h"

namespace QETLib {

// State flags.
constexpr uint8_t kStateInfoBits = 0x0F;        // bits 0-3, copied to the info record
constexpr uint8_t kStateReskin = 0x08;          // the configuration names the kind "reskin"
constexpr uint8_t kStateArchived = 0x10;        // cached archived result ...
constexpr uint8_t kStateArchivedValid = 0x20;   // ... valid when this is set
constexpr uint8_t kStateDownloadStation = 0x40; // known from the download station's list
constexpr uint8_t kStatePackageItem = 0x80;     // download-station package item

// Check flags.
constexpr uint8_t kCheckBuiltin = 0x01;
constexpr uint8_t kCheckMissingDep = 0x02;
constexpr uint8_t kCheckMissingDepValid = 0x04;
constexpr uint8_t kCheckFaulty = 0x08;
constexpr uint8_t kCheckWarnings = 0x10;
constexpr uint8_t kCheckFaultyDep = 0x20;
constexpr uint8_t kCheckFaultyDepValid = 0x40;
constexpr uint8_t kCheckObsolete = 0x80;

// Permission flags.
constexpr uint8_t kPermitCommit = 0x04;
constexpr uint8_t kPermitEdit = 0x08;
constexpr uint8_t kPermitListing = 0x10;

class AssetRecord {
 public:
  // The record's texts, kept together in one block (records are many and mostly read).
  enum TextField {
    kCategoryClass,
    kName,
    kCategoryRegions,
    kCategoryEras,
    kCategoryKeywords,
    kEditingPath,
    kResourcePath,
    kLocalPath,
    kText6,
    kLocalisedName,
    kKeywordText,  // derived, never stored in the file
    kTextFieldCount,
  };

  AssetRecord() = default;
  explicit AssetRecord(const KUID& k) : kuid(k) {}

  std::string_view Text(TextField field) const;
  void SetText(TextField field, std::string_view value);
  // Replaces every text at once (the file reader's path: one allocation per record).
  void AssignTexts(const std::string_view (&texts)[kTextFieldCount]);

  std::string_view CategoryClass() const { return Text(kCategoryClass); }
  std::string_view Name() const { return Text(kName); }
  std::string_view CategoryRegions() const { return Text(kCategoryRegions); }
  std::string_view CategoryEras() const { return Text(kCategoryEras); }
  std::string_view CategoryKeywords() const { return Text(kCategoryKeywords); }
  std::string_view EditingPath() const { return Text(kEditingPath); }
  std::string_view ResourcePath() const { return Text(kResourcePath); }
  std::string_view LocalPath() const { return Text(kLocalPath); }
  std::string_view Text6() const { return Text(kText6); }
  std::string_view LocalisedName() const { return Text(kLocalisedName); }
  std::string_view KeywordText() const { return Text(kKeywordText); }
  // The localised name when it is not empty, else the name.
  std::string_view DisplayName() const;

  // Present: open for edit, in a resource database or installed locally.
  bool IsPresent() const { return !EditingPath().empty() || !ResourcePath().empty() || !LocalPath().empty(); }
  bool IsLocal() const { return !LocalPath().empty(); }
  bool IsOpenForEdit() const { return !EditingPath().empty(); }
  // Faulty: validation found errors and the asset has a committed location.
  bool IsFaulty() const {
    return (check_flags & kCheckFaulty) && (!ResourcePath().empty() || !LocalPath().empty());
  }

  // Rebuilds the keyword text from the category keywords and the words the class implies.
  void RebuildKeywordText();

  KUID kuid;
  Orb::PString resource_database;  // empty when none
  KUID map_kuid;
  uint8_t state_flags = 0;
  uint8_t check_flags = 0;
  uint8_t permission_flags = kPermitCommit | kPermitEdit | kPermitListing;
  bool extra_flag = false;
  uint8_t small_value = 0;
  int32_t stamp = 0;
  int32_t build = 0;
  float quorix_build = 0.0f;
  int64_t time1 = 0;
  int64_t time2 = 0;
  int32_t folder_signature = 0;

 private:
  std::string texts_;                   // every text, back to back
  uint32_t ends_[kTextFieldCount] = {};  // end offset of each text in texts_
};

// The words a category class implies for keyword searches ("locomotive" for LOCO, ...),
// separated by ";"; empty when it implies none.
std::string ClassKeywordWords(std::string_view category_class);
// The keyword text of a record with these keywords and class, into `out`.
void BuildKeywordText(std::string_view keywords, std::string_view category_class, std::string& out);

}  // namespace QETLib
