#include "usb/info_lines.h"

namespace {

constexpr std::size_t kFirstLine = 14;

}  // namespace

std::vector<std::string> InfoReplyLines(std::string_view reply) {
    std::vector<std::string> lines;
    std::size_t start = kFirstLine;
    // A line's text starts after the CR LF that ended the one before.
    for (std::size_t end = reply.find('\r', kFirstLine); end != std::string_view::npos;
         end = reply.find('\r', end + 1)) {
        std::string line = " ";
        if (start + 2 < end) line.append(reply.substr(start + 2, end - start - 2));
        lines.push_back(std::move(line));
        start = end;
    }
    return lines;
}
