// What the index file keeps besides the records: the KUID-pair maps, the dependency table
// and two further tables, switches, embedded tag blocks, archive lists, the download-service
// state and a few numbers. Their owners read them through the index.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "content/kuid.h"

namespace QETLib {

// What one asset depends on and what it makes obsolete.
struct DependencyEntry {
  std::vector<KUID> dependencies;
  std::vector<KUID> obsoletes;
};

struct NamedPairItem {  // further table (b)
  std::string text;     // interned text in the file
  int32_t a = 0;
  int32_t b = 0;
};

struct KeyedItem {  // further table (c)
  uint8_t key = 0;
  bool has_kuid = false;
  KUID kuid;
  std::string text;
  uint8_t flag = 0;
  int32_t value = 0;
};

struct ArchiveList {
  std::string name;
  std::vector<KUID> kuids;
};

// The download station's saved state: its own format version is 1.
struct DownloadServiceState {
  std::string text;
  int64_t time_stamp = 0;
  std::vector<std::string> queued_urls;
};

struct IndexExtras {
  std::map<KUID, KUID> kuid_map1;  // key KUID -> mapped KUID
  std::map<KUID, KUID> kuid_map2;
  std::map<KUID, DependencyEntry> dependencies;
  std::vector<NamedPairItem> table_b;
  int32_t table_c_value = 0;
  std::vector<KeyedItem> table_c;
  bool switch1 = false;
  bool switch2 = false;
  // Embedded tag blocks, each a whole chump image ("ACS$" ...); empty when never filled.
  std::string blocks[5];
  int32_t pair1[2] = {0, 0};
  int32_t pair2[2] = {0, 0};
  std::vector<ArchiveList> archive_lists;
  DownloadServiceState download;
  int32_t tail_value = 0;
  float tail_float = 0.0f;
  uint8_t generation[8] = {};
  int32_t validation_level = 100;
};

}  // namespace QETLib
