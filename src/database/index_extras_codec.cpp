// The index file's sections after the records.
#include "database/index_extras_codec.h"

#include "engine/log.h"
#include "engine/time.h"

namespace QETLib {

namespace {

// A count read from the file, refused when even the smallest items could not fit in what is left.
bool ReadCount(IndexReader& reader, size_t min_item_bytes, int32_t& count) {
  count = reader.I32();
  if (reader.Failed() || count < 0 ||
      static_cast<uint64_t>(count) * min_item_bytes > reader.Remaining()) {
    reader.Fail();
    return false;
  }
  return true;
}

bool ReadKuidList(IndexReader& reader, std::vector<KUID>& out) {
  int32_t count;
  if (!ReadCount(reader, 8, count)) return false;
  out.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) out.push_back(reader.Kuid());
  return !reader.Failed();
}

void WriteKuidList(IndexWriter& writer, const std::vector<KUID>& kuids) {
  writer.I32(static_cast<int32_t>(kuids.size()));
  for (const KUID& kuid : kuids) writer.Kuid(kuid);
}

// int32 0, then (mapped, key) pairs up to a null KUID.
bool ReadKuidMap(IndexReader& reader, std::map<KUID, KUID>& map) {
  reader.I32();
  while (!reader.Failed()) {
    KUID mapped = reader.Kuid();
    if (mapped.IsNull()) break;
    KUID key = reader.Kuid();
    map[key] = mapped;
  }
  return !reader.Failed();
}

void WriteKuidMap(IndexWriter& writer, const std::map<KUID, KUID>& map) {
  writer.I32(0);
  for (const auto& [key, mapped] : map) {
    if (mapped.IsNull()) continue;  // a null mapped KUID would end the list early
    writer.Kuid(mapped);
    writer.Kuid(key);
  }
  writer.Kuid(KUID::Null());
}

bool ReadDependencyTable(IndexReader& reader, std::map<KUID, DependencyEntry>& table) {
  reader.I16();
  int32_t count;
  if (!ReadCount(reader, 16, count)) return false;
  for (int32_t i = 0; i < count && !reader.Failed(); ++i) {
    KUID kuid = reader.Kuid();
    DependencyEntry entry;
    if (!ReadKuidList(reader, entry.dependencies) || !ReadKuidList(reader, entry.obsoletes)) return false;
    table[kuid] = std::move(entry);
  }
  return !reader.Failed();
}

bool ReadTableB(IndexReader& reader, std::vector<NamedPairItem>& items) {
  reader.I32();
  int32_t count;
  if (!ReadCount(reader, 12, count)) return false;
  items.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count && !reader.Failed(); ++i) {
    NamedPairItem item;
    item.text = reader.InternedText();
    item.a = reader.I32();
    item.b = reader.I32();
    items.push_back(std::move(item));
  }
  return !reader.Failed();
}

bool ReadTableC(IndexReader& reader, IndexExtras& extras) {
  reader.I16();
  extras.table_c_value = reader.I32();
  int32_t count;
  if (!ReadCount(reader, 11, count)) return false;
  extras.table_c.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count && !reader.Failed(); ++i) {
    KeyedItem item;
    item.key = reader.U8();
    item.has_kuid = reader.Bool();
    if (item.has_kuid) item.kuid = reader.Kuid();
    item.text = reader.Text();
    item.flag = reader.U8();
    item.value = reader.I32();
    extras.table_c.push_back(std::move(item));
  }
  return !reader.Failed();
}

bool ReadArchiveLists(IndexReader& reader, std::vector<ArchiveList>& lists) {
  reader.I32();
  int32_t count;
  if (!ReadCount(reader, 8, count)) return false;
  for (int32_t i = 0; i < count && !reader.Failed(); ++i) {
    ArchiveList list;
    list.name = reader.Text();
    if (!ReadKuidList(reader, list.kuids)) return false;
    lists.push_back(std::move(list));
  }
  return !reader.Failed();
}

bool ReadDownloadState(IndexReader& reader, DownloadServiceState& state) {
  int32_t format = reader.I32();
  if (reader.Failed()) return false;
  if (format != 1) {
    Orb::Log::Printf("QADDownloadStation::Read> unknown file format version %d\n", format);
    return false;
  }
  state.text = reader.Text();
  state.time_stamp = reader.I64();
  if (state.time_stamp > Orb::Time::NowUnixSeconds()) {
    Orb::Log::Printf("QADDownloadStation::Read> future-dated timestamp, resetting\n");
    state.time_stamp = 0;
  }
  int32_t count;
  if (!ReadCount(reader, 4, count)) return false;
  for (int32_t i = 0; i < count && !reader.Failed(); ++i) {
    std::string url = reader.InternedText();
    if (reader.Failed()) break;
    Orb::Log::Printf("QADDownloadStation::Read> queued url: %s\n", url.c_str());
    state.queued_urls.push_back(std::move(url));
  }
  return !reader.Failed();
}

}  // namespace

bool ReadIndexExtras(IndexReader& reader, int32_t version, IndexExtras& extras) {
  if (!ReadKuidMap(reader, extras.kuid_map1)) return false;
  if (version >= 26 && !ReadKuidMap(reader, extras.kuid_map2)) return false;
  if (!ReadDependencyTable(reader, extras.dependencies)) return false;
  if (!ReadTableB(reader, extras.table_b)) return false;
  if (version >= 35 && !ReadTableC(reader, extras)) return false;
  if (version >= 24 && version <= 37) reader.InternedText();
  if (version == 36) reader.InternedText();

  if (version >= 36) extras.switch1 = reader.Bool();
  if (version >= 38) extras.blocks[0] = reader.ChumpBlock();
  if (version >= 40) extras.blocks[1] = reader.ChumpBlock();
  if (version >= 25) extras.switch2 = reader.Bool();
  if (version >= 30 && version <= 40) reader.Skip(8);
  if (version >= 41) extras.blocks[2] = reader.ChumpBlock();
  if (version >= 31) {
    extras.pair1[0] = reader.I32();
    extras.pair1[1] = reader.I32();
  }
  // Older files have no block 4: it stays empty, which counts as loaded.
  if (version >= 27) extras.blocks[3] = reader.ChumpBlock();
  extras.blocks[4] = reader.ChumpBlock();
  if (reader.Failed() || !ReadArchiveLists(reader, extras.archive_lists)) return false;
  if (version >= 32) {
    extras.pair2[0] = reader.I32();
    extras.pair2[1] = reader.I32();
  }
  if (version <= 31) reader.I32();
  if (!ReadDownloadState(reader, extras.download)) return false;

  reader.I32();
  extras.tail_value = reader.I32();
  extras.tail_float = reader.F32();
  if (reader.U32() != kGenerationMarker) return false;
  for (uint8_t& byte : extras.generation) byte = reader.U8();
  if (version >= 42) {
    extras.validation_level = reader.I32();
  } else {
    extras.validation_level = reader.U8() == 0 ? 0 : 100;
  }
  return !reader.Failed();
}

void WriteIndexExtras(IndexWriter& writer, const IndexExtras& extras) {
  WriteKuidMap(writer, extras.kuid_map1);
  WriteKuidMap(writer, extras.kuid_map2);

  writer.I16(1);
  writer.I32(static_cast<int32_t>(extras.dependencies.size()));
  for (const auto& [kuid, entry] : extras.dependencies) {
    writer.Kuid(kuid);
    WriteKuidList(writer, entry.dependencies);
    WriteKuidList(writer, entry.obsoletes);
  }
  writer.I32(0);
  writer.I32(static_cast<int32_t>(extras.table_b.size()));
  for (const NamedPairItem& item : extras.table_b) {
    writer.InternedText(item.text);
    writer.I32(item.a);
    writer.I32(item.b);
  }
  writer.I16(0);
  writer.I32(extras.table_c_value);
  writer.I32(static_cast<int32_t>(extras.table_c.size()));
  for (const KeyedItem& item : extras.table_c) {
    writer.U8(item.key);
    writer.Bool(item.has_kuid);
    if (item.has_kuid) writer.Kuid(item.kuid);
    writer.Text(item.text);
    writer.U8(item.flag);
    writer.I32(item.value);
  }

  writer.Bool(extras.switch1);
  writer.ChumpBlock(extras.blocks[0]);
  writer.ChumpBlock(extras.blocks[1]);
  writer.Bool(extras.switch2);
  writer.ChumpBlock(extras.blocks[2]);
  writer.I32(extras.pair1[0]);
  writer.I32(extras.pair1[1]);
  writer.ChumpBlock(extras.blocks[3]);
  writer.ChumpBlock(extras.blocks[4]);

  writer.I32(0);
  writer.I32(static_cast<int32_t>(extras.archive_lists.size()));
  for (const ArchiveList& list : extras.archive_lists) {
    writer.Text(list.name);
    WriteKuidList(writer, list.kuids);
  }
  writer.I32(extras.pair2[0]);
  writer.I32(extras.pair2[1]);

  writer.I32(1);
  writer.Text(extras.download.text);
  writer.I64(extras.download.time_stamp);
  writer.I32(static_cast<int32_t>(extras.download.queued_urls.size()));
  for (const std::string& url : extras.download.queued_urls) writer.InternedText(url);

  writer.I32(0);
  writer.I32(extras.tail_value);
  writer.F32(extras.tail_float);
  writer.U32(kGenerationMarker);
  for (uint8_t byte : extras.generation) writer.U8(byte);
  writer.I32(extras.validation_level);
}

}  // namespace QETLib

