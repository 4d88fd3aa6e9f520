// The command table and the dispatcher that runs one command, plus the guard that ends
// the process when a command fails fatally.
#pragma once
#include "frontend/engine_context.h"
#include "frontend/results_log.h"

namespace QETLib {

int DispatchCommand(ResultsLog& log, EngineContext& context, int argc, char** argv);
// Runs DispatchCommand; a QuorixEx or hardware fault escaping it ends the process with -100.
int ExecuteCommand(ResultsLog& log, EngineContext& context, int argc, char** argv);

}  // namespace QETLib
