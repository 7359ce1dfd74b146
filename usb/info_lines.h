#pragma once
// The lines the device-information dialog lists from a reply: the reply opens with the echo of
// the command and CR LF, then come the answer lines, each ended by CR LF, then the prompt.

#include <string>
#include <string_view>
#include <vector>

// Each line starts with one space. The search starts at index 14 whatever the command, so after a
// short echo the first line loses its first characters, and after a long one the first line is
// the lone space of the echo's end; the text after the last carriage return (the prompt) is never
// listed.
std::vector<std::string> InfoReplyLines(std::string_view reply);
