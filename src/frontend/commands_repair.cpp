// repairdatabase: levels 50 ("patcher"), 100 (default) and 150 ("extended").
#include <cstdio>

#include "database/qad_task.h"
#include "database/repair_database.h"
#include "frontend/commands.h"
#include "frontend/progress_display.h"

namespace QETLib {

int CmdRepairDatabase(CommandArgs& args) {
  std::string mode = args.First();
  int level = mode == "extended" ? 150 : (mode == "patcher" ? 50 : 100);
  if (level != 50) {
    std::printf("Repairing asset database (this may take some time)\n");
    std::fflush(stdout);
  }
  QADTask task(args.log);
  ProgressDisplay display;
  task.SetProgressSink([&](const std::string& phase, double progress) { display.Update(phase, progress); });
  return QADTaskRepairDatabase(task, level) == 0 ? 0 : 255;
}

}  // namespace QETLib
