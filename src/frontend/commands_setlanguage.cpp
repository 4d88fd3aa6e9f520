// setlanguage: stores the interface language code (lower case) in the download-station
// settings of the installation, where the content library reads it at start-up.
#include "content/settings.h"
#include "frontend/commands.h"

namespace QETLib {

int CmdSetLanguage(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing input langauge id parameter.");
  static const char* const kCodes[] = {"us", "uk", "cn", "cz", "nl", "fr", "de", "it", "kr", "pl", "ru", "es", "hu"};
  bool known = false;
  for (const char* code : kCodes) known = known || args.First() == code;
  if (!known) return args.ArgumentError("Unknown language code.");
  if (!StoreLanguageCode(args.context.root, args.First())) {
    args.log.Add(Error, "Unable to write the language setting to " + DownloadStationSettingsPath(args.context.root));
    return -1;
  }
  return 0;
}

}  // namespace QETLib
