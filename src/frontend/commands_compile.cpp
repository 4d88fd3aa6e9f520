// The "compile" command: hands the rest of the command line to the GameScript compiler,
// run in the user's working folder.
#include <vector>

#include "frontend/commands.h"
#include "frontend/user_folder_scope.h"
#include "gamescript/gs_driver.h"

namespace QETLib {

int CmdCompile(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Invalid file path.");
  UserFolderScope folder(args.context.user_folder);
  // The compiler sees its own options from element 2 on: the keyword becomes an empty text.
  std::vector<const char*> argv(args.argv, args.argv + args.argc);
  argv[1] = "";
  unsigned result = GSCompiler::GSCompilerMain(args.argc, argv.data());
  return result == 0 ? 0 : -1;
}

}  // namespace QETLib
