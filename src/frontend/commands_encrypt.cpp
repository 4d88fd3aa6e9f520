// The "encrypt" command: scrambles a GameScript source x.gs into x.gse beside it.
#include "engine/path.h"
#include "frontend/commands.h"
#include "frontend/user_folder_scope.h"
#include "gamescript/script_source_file.h"

namespace QETLib {

int CmdEncrypt(CommandArgs& args) {
  if (!args.HasFirst() || !Orb::Path::IsExt(args.First(), "gs")) return args.ArgumentError("Invalid file path.");
  UserFolderScope folder(args.context.user_folder);
  const std::string input = args.FirstAsTyped();
  const std::string output = Orb::Path::SetExt(input, "gse");
  GSCompiler::ScriptSourceFile source;
  if (!source.Read(Orb::PString(), input) || !source.Write(Orb::PString(), output))
    return args.ArgumentError("Invalid file path.");
  return 0;
}

}  // namespace QETLib
