// The asset record's file encoding, current and older versions.
#include "database/index_record_codec.h"

namespace QETLib {

void ReadRecord(IndexReader& reader, int32_t version, int32_t current_stamp, RecordScratch& scratch,
                AssetRecord& record) {
  using R = AssetRecord;
  record.kuid = reader.Kuid();
  static constexpr R::TextField kLeading[] = {R::kCategoryClass,   R::kName,        R::kCategoryRegions,
                                              R::kCategoryEras,    R::kCategoryKeywords, R::kEditingPath,
                                              R::kResourcePath};
  for (R::TextField field : kLeading) reader.TextInto(scratch.texts[field]);
  reader.InternedTextInto(scratch.resource_database);
  reader.TextInto(scratch.texts[R::kLocalPath]);
  record.map_kuid = reader.Kuid();

  bool has_resource = !scratch.texts[R::kResourcePath].empty();
  uint8_t state = 0;
  for (int bit = 0; bit < 8; ++bit)
    if (reader.Bool()) state |= static_cast<uint8_t>(1u << bit);
  if (!has_resource) state &= static_cast<uint8_t>(~kStatePackageItem);
  record.state_flags = state;

  uint8_t check = 0;
  for (int bit = 0; bit < 8; ++bit) {
    if (bit == 4 && version < 28) continue;
    if (bit == 7 && version < 23) continue;
    if (reader.Bool()) check |= static_cast<uint8_t>(1u << bit);
  }
  if (!has_resource) check &= static_cast<uint8_t>(~kCheckBuiltin);
  record.check_flags = check;

  bool stamp_current = version >= 23 ? reader.Bool() : false;
  record.stamp = stamp_current ? current_stamp : 0;

  uint8_t permission = 0;
  static constexpr int kPermissionOrder[] = {2, 3, 4, 0, 1};
  for (int bit : kPermissionOrder) {
    if (bit < 2 && version < 29) continue;
    if (reader.Bool()) permission |= static_cast<uint8_t>(1u << bit);
  }
  record.extra_flag = version >= 33 ? reader.Bool() : false;
  record.build = reader.I32();
  record.quorix_build = reader.F32();
  record.small_value = reader.U8();
  record.time1 = reader.I64();
  record.time2 = reader.I64();
  reader.TextInto(scratch.texts[R::kText6]);
  reader.TextInto(scratch.texts[R::kLocalisedName]);
  record.folder_signature = version >= 21 ? reader.I32() : 0;

  record.resource_database = Orb::PString(scratch.resource_database);
  if (version <= 36 && scratch.resource_database == kLegacyNoCommitDatabase)
    permission &= static_cast<uint8_t>(~kPermitCommit);
  record.permission_flags = permission;

  BuildKeywordText(scratch.texts[R::kCategoryKeywords], scratch.texts[R::kCategoryClass],
                   scratch.texts[R::kKeywordText]);
  std::string_view views[R::kTextFieldCount];
  for (int i = 0; i < R::kTextFieldCount; ++i) views[i] = scratch.texts[i];
  record.AssignTexts(views);
}

void WriteRecord(IndexWriter& writer, const AssetRecord& record, int32_t current_stamp) {
  writer.Kuid(record.kuid);
  writer.Text(record.CategoryClass());
  writer.Text(record.Name());
  writer.Text(record.CategoryRegions());
  writer.Text(record.CategoryEras());
  writer.Text(record.CategoryKeywords());
  writer.Text(record.EditingPath());
  writer.Text(record.ResourcePath());
  writer.InternedText(record.resource_database.View());
  writer.Text(record.LocalPath());
  writer.Kuid(record.map_kuid);
  for (int bit = 0; bit < 8; ++bit) writer.Bool(record.state_flags & (1u << bit));
  for (int bit = 0; bit < 8; ++bit) writer.Bool(record.check_flags & (1u << bit));
  writer.Bool(record.stamp == current_stamp);
  static constexpr int kPermissionOrder[] = {2, 3, 4, 0, 1};
  for (int bit : kPermissionOrder) writer.Bool(record.permission_flags & (1u << bit));
  writer.Bool(record.extra_flag);
  writer.I32(record.build);
  writer.F32(record.quorix_build);
  writer.U8(record.small_value);
  writer.I64(record.time1);
  writer.I64(record.time2);
  writer.Text(record.Text6());
  writer.Text(record.LocalisedName());
  writer.I32(record.folder_signature);
}

size_t MinimumRecordBytes(int32_t version) {
  // Two KUIDs, ten texts (count words), the resource database word, state flags, six check
  // flags, three permission flags, build, quorix build, small value and two times.
  size_t bytes = 16 + 10 * 4 + 4 + 8 + 6 + 3 + 4 + 4 + 1 + 16;
  if (version >= 21) bytes += 4;
  if (version >= 23) bytes += 2;  // check bit 7 and the stamp flag
  if (version >= 28) bytes += 1;
  if (version >= 29) bytes += 2;
  if (version >= 33) bytes += 1;
  return bytes;
}

}  // namespace QETLib
