// Feeds arbitrary replies to the device-information listing and checks what it promises: one line
// per carriage return from index 14 on, each a space and then the reply's own text that ends at
// that carriage return, never reaching back over the line end before it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "usb/info_lines.h"

namespace {

constexpr std::size_t kSearchStart = 14;

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy: a read past the reply is a read past the allocation.
    const std::vector<char> bytes(data, data + size);
    const std::string_view reply(bytes.data(), bytes.size());
    const std::vector<std::string> lines = InfoReplyLines(reply);

    std::vector<std::size_t> lineEnds;
    for (std::size_t at = reply.find('\r', kSearchStart); at != std::string_view::npos;
         at = reply.find('\r', at + 1))
        lineEnds.push_back(at);
    Require(lines.size() == lineEnds.size());

    std::size_t previous = kSearchStart;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Require(!lines[i].empty() && lines[i][0] == ' ');
        const std::string_view text = std::string_view(lines[i]).substr(1);
        Require(text.find('\r') == std::string_view::npos);
        Require(reply.substr(0, lineEnds[i]).ends_with(text));
        // The CR LF before a line is not part of it.
        Require(text.empty() || previous + 2 + text.size() <= lineEnds[i]);
        previous = lineEnds[i];
    }
    return 0;
}
