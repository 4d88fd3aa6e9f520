// Commands over the whole index: new KUIDs, the author list, keyword backup and import.
#include <cstdio>

#include "database/authors.h"
#include "database/database_lock.h"
#include "database/keywords.h"
#include "database/kuid_generator.h"
#include "engine/path.h"
#include "frontend/commands.h"

namespace QETLib {

int CmdGenerateKUID(CommandArgs&) {
  KUID kuid;
  {
    DatabaseLock lock(false);
    kuid = GenerateKUID();
  }
  std::printf("%s\n", ToGenerateString(kuid).c_str());
  return kuid.IsNull() ? -1 : 0;
}

int CmdAuthors(CommandArgs&) {
  for (const std::string& author : ListAuthors()) std::printf("%s\n", author.c_str());
  return 0;
}

int CmdBackupKeywords(CommandArgs&) { return BackupKeywords("KeywordsBackup.dat") ? 0 : -1; }

int CmdImportKeywords(CommandArgs& args) {
  return ImportKeywords(Orb::Path::AddPath(args.context.root, "KeywordsDump.dat")) ? 0 : -1;
}

}  // namespace QETLib
