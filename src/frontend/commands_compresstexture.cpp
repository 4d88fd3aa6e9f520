// The "compresstexture" command: an image file compressed into a DXT texture file
// (.dds) beside it.
#include "database/texture_compress.h"
#include "engine/file.h"
#include "engine/path.h"
#include "frontend/commands.h"

namespace QETLib {

int CmdCompressTexture(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  // A relative path is taken from the current folder, which is the program folder once
  // the program has started, not the folder the user typed the command in.
  std::string path = args.PathArg();
  if (!Orb::Path::IsAbsolute(path)) path = Orb::Path::Normalize(Orb::Path::AddPath(Orb::CurrentFolder(), path));
  TextureCompressResult result = CompressTextureFile(path);
  if (!result.ok) {
    args.log.Add(Error, result.error);
    return -1;
  }
  return 0;
}

}  // namespace QETLib
