// The edit lifecycle and installing: edit, commit, revert, delete, installcdp, installfrompath.
#include <cstdio>
#include <cstdlib>

#include "database/edit_lifecycle.h"
#include "database/install.h"
#include "engine/file.h"
#include "frontend/commands.h"

namespace QETLib {

namespace {

KUID StrictKUID(const CommandArgs& args) { return Parse(args.First(), true); }

#ifdef QUORIX_TEST_HOOKS
// Test builds only: QUORIX_TEST_PROMPT="1,4,..." answers the install prompts in turn, so the
// tests can walk the prompt paths a console user never sees.
std::unique_ptr<QADPromptHandler> TestPromptHandler() {
  const char* answers = std::getenv("QUORIX_TEST_PROMPT");
  if (!answers) return nullptr;
  auto next = std::make_shared<std::string>(answers);
  return std::make_unique<QADPromptHandler>([next](std::string_view, const KUID&) {
    size_t comma = next->find(',');
    int answer = std::atoi(next->substr(0, comma).c_str());
    *next = comma == std::string::npos ? std::string("2") : next->substr(comma + 1);
    return answer;
  });
}
#else
std::unique_ptr<QADPromptHandler> TestPromptHandler() { return nullptr; }
#endif

}  // namespace

int CmdEdit(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  KUID kuid = StrictKUID(args);
  EditHandle handle = OpenForEdit(kuid, &args.log);
  if (!handle) {
    args.log.Add(Error, kuid, "Unknown AssetID.");
    return -1;
  }
  std::printf("+ %s : %s\n", ToBracketString(kuid).c_str(), handle.folder.c_str());
  return 0;
}

int CmdCommit(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  EditHandle handle = OpenForEdit(StrictKUID(args), nullptr);
  return CommitAssetEdits(handle, 0, &args.log) ? 0 : -1;
}

int CmdRevert(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  return RevertAssetEdits(StrictKUID(args), &args.log) ? 0 : -1;
}

int CmdDelete(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing AssetID parameter.");
  return DeleteAsset(StrictKUID(args), true, nullptr) ? 0 : -1;
}

int CmdInstallCDP(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing input filepath parameter.");
  auto prompt = TestPromptHandler();
  return InstallFromCDP(args.PathArg(), args.log, kInstallCommit, prompt.get()) > 0 ? 0 : -1;
}

int CmdInstallFromPath(CommandArgs& args) {
  if (!args.HasFirst()) return args.ArgumentError("Missing input path parameter.");
  if (!Orb::File::Exists(args.PathArg())) return args.ArgumentError("Invalid input path.");
  auto prompt = TestPromptHandler();
  return InstallFromFolder(args.PathArg(), args.log, 0, prompt.get()) > 0 ? 0 : -1;
}

}  // namespace QETLib
