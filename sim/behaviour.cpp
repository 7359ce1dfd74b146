#include "sim/behaviour.h"

#include "engine/frames.h"

namespace sim {
namespace {

std::uint16_t ReplyTypeFor(std::uint16_t requestType) {
    switch (requestType) {
        case AddpNetworkRequest:
            return AddpNetworkReply;
        case AddpRebootRequest:
            return AddpRebootReply;
        case AddpDhcpRequest:
            return AddpDhcpReply;
        default:
            return 0;
    }
}

// Whether to carry out the request, and the outcome fields the reply carries (none when omitted).
struct Verdict {
    bool accepted = false;
    std::optional<ReplyOutcome> outcome;
};

Verdict Judge(const ModuleDescription& module, const Request& request) {
    const bool passwordRight = request.password == module.password;
    switch (module.outcomeMode) {
        case OutcomeMode::Forced:
            return {module.forcedOutcome.resultFlag == 0, module.forcedOutcome};
        case OutcomeMode::Omitted:
            return {passwordRight, std::nullopt};
        case OutcomeMode::Judged:
            break;
    }
    return {passwordRight, passwordRight ? kAccepted : kWrongPassword};
}

void Apply(ModuleDescription& module, const Request& request) {
    switch (request.type) {
        case AddpNetworkRequest:
            module.ipAddress = request.ipAddress;
            module.subnetMask = request.subnetMask;
            module.gateway = request.gateway;
            module.dhcpEnabled = false;
            break;
        case AddpDhcpRequest:
            module.dhcpEnabled = request.dhcpFlag == 1;
            break;
        default:
            break;
    }
}

}  // namespace

std::optional<Answer> AnswerRequest(ModuleDescription& module, const Request& request) {
    if (request.type == AddpDiscoveryRequest) {
        if (!IsEveryModule(request.target) && request.target != module.mac) return std::nullopt;
        return Answer{{AddpDiscoveryReply, DiscoveryReplyFields(module)}, false};
    }
    const std::uint16_t replyType = ReplyTypeFor(request.type);
    if (replyType == 0 || request.target != module.mac) return std::nullopt;

    const Verdict verdict = Judge(module, request);
    if (verdict.accepted) Apply(module, request);
    return Answer{{replyType, ConfigurationReplyFields(module.mac, verdict.outcome)},
                  verdict.accepted && request.type == AddpRebootRequest};
}

}  // namespace sim
