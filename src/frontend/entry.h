// The program's entry: start-up, one command or a batch file, shut-down, exit code.
#pragma once

namespace QETLib {

int QuorixMain(int argc, char** argv);

}  // namespace QETLib
