// The download-station settings file and its language code.
#include "content/settings.h"

#include "engine/file.h"
#include "engine/path.h"

namespace QETLib {

std::string DownloadStationSettingsPath(const std::string& root) {
  return Orb::Path::AddPath(Orb::Path::AddPath(root, "settings"), "downloadstation.txt");
}

bool LoadDownloadStationSettings(const std::string& root, TagContainer& settings) {
  settings = TagContainer();
  return settings.Load({}, DownloadStationSettingsPath(root), "txt");
}

bool SaveDownloadStationSettings(const std::string& root, const TagContainer& settings) {
  std::string path = DownloadStationSettingsPath(root);
  Orb::File::Md(Orb::Path::DelName(path));
  return Orb::WriteFileAtomic(path, WriteTextToString(settings));
}

std::string ReadLanguageCode(const std::string& root) {
  TagContainer settings;
  if (!LoadDownloadStationSettings(root, settings)) return {};
  return settings.GetContainer("internet").GetText("language");
}

bool StoreLanguageCode(const std::string& root, std::string_view code, bool* changed) {
  if (changed) *changed = false;
  TagContainer settings;
  LoadDownloadStationSettings(root, settings);
  TagContainer internet = settings.GetContainer("internet");
  if (internet.HasRoot() && internet.HasTag("language") && internet.GetText("language") == code) return true;
  internet.MakeWritable();
  internet.SetString("language", code);
  settings.SetContainer("internet", internet);
  if (!SaveDownloadStationSettings(root, settings)) return false;
  if (changed) *changed = true;
  return true;
}

}  // namespace QETLib
