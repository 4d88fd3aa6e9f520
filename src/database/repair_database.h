// Repair: brings the asset index back into agreement with the folders on disk. Level 50
// drops vanished locations, adds found assets and re-reads changed ones; level 100 also
// recomputes dependency states and clears leftovers of interrupted publishes; level 150
// also re-derives obsolescence and dependency lists.
#pragma once
#include "database/qad_task.h"

namespace QETLib {

// Runs a whole repair on the calling thread. Returns 0 when the task reported no error.
// A second repair started while one runs in this process reports
// "$qadtask_repair_err_duplicate" and does nothing else.
int QADTaskRepairDatabase(QADTask& task, int level);

}  // namespace QETLib
