#pragma once
// How a module answers the requests addressed to it, and what an accepted request changes. Pure:
// timing and faults are the simulator's (sim/lan_simulator.h, sim/faults.h).

#include <optional>

#include "sim/module.h"
#include "sim/replies.h"
#include "sim/requests.h"

namespace sim {

struct Answer {
    ReplyFrame reply;
    bool rebooting = false;  // an accepted reboot: the module goes quiet once the reply is out
};

// Nothing when the request is not for this module: a discovery request for another MAC, or a
// configuration request for any MAC but its own. An accepted change is applied to `module`.
std::optional<Answer> AnswerRequest(ModuleDescription& module, const Request& request);

}  // namespace sim
