// Every command of the table, one function each. The argument checks live with them.
#pragma once
#include "frontend/command.h"

namespace QETLib {

int CmdVersion(CommandArgs& args);
int CmdInstalledVersion(CommandArgs& args);
int CmdInstalledBuildNumber(CommandArgs& args);
int CmdEcho(CommandArgs& args);
int CmdSetLanguage(CommandArgs& args);
int CmdInstallCDP(CommandArgs& args);
int CmdInstallFromPath(CommandArgs& args);
int CmdImportConsists(CommandArgs& args);
int CmdEdit(CommandArgs& args);
int CmdPrintConfig(CommandArgs& args);
int CmdCompile(CommandArgs& args);
int CmdEncrypt(CommandArgs& args);
int CmdListBuilds(CommandArgs& args);
int CmdCommit(CommandArgs& args);
int CmdRevert(CommandArgs& args);
int CmdDelete(CommandArgs& args);
int CmdGenerateKUID(CommandArgs& args);
int CmdRepairDatabase(CommandArgs& args);
int CmdCompressTexture(CommandArgs& args);
int CmdAuthors(CommandArgs& args);
int CmdSearchByCategory(CommandArgs& args);
int CmdStatus(CommandArgs& args);
int CmdValidate(CommandArgs& args);
int CmdCreateCDP(CommandArgs& args);
int CmdDLSParse(CommandArgs& args);
int CmdDLSDeleteAll(CommandArgs& args);
int CmdBackupKeywords(CommandArgs& args);
int CmdImportKeywords(CommandArgs& args);

}  // namespace QETLib
