// The help text printed by "help" and by a run without a command.
#pragma once

namespace QETLib {

extern const char kHelpText[];

}  // namespace QETLib
