#pragma once
// What the tool's exit status tells a script.

namespace tq7ctl {

enum ExitCode : int {
    kExitOk = 0,             // the run completed, or the converter answered and accepted
    kExitRefused = 1,        // the converter answered and refused (its result flag is not 0)
    kExitUsage = 2,          // the command line, the password or the environment is unusable
    kExitNoAnswer = 3,       // no answer came before the deadline, or nothing could be sent
    kExitEngineFailure = 4,  // the engine could not open an instance or start a discovery
};

}  // namespace tq7ctl
