#include "tools/tq7ctl/commands.h"
#include "tools/tq7ctl/device_format.h"
#include "tools/tq7ctl/engine_instance.h"
#include "tools/tq7ctl/outcome.h"

namespace tq7ctl {

ExitCode RunQuery(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    EngineInstance engine;
    if (!engine) {
        ReportNoEngine(err);
        return kExitEngineFailure;
    }
    AddpDevice device{};
    if (AddpQueryDevice(engine.Handle(), invocation.mac.data(), &device) != 0) {
        ReportNoAnswer(invocation.mac, err);
        return kExitNoAnswer;
    }
    out << (invocation.json ? DeviceJson(device) : DeviceLine(device)) << '\n';
    return kExitOk;
}

}  // namespace tq7ctl
