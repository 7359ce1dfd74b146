#pragma once
// How the program reads the console's replies, written out here on their own so that the
// simulated console is held to them: the reply shapes are only right if these rules find the
// values in them.

#include <optional>
#include <string>
#include <string_view>

namespace reading_rules {

// The value after "KEY ... :" and one space, up to the next space or the CR.
inline std::string ColonValue(std::string_view text, std::string_view key) {
    const auto k = text.find(key);
    if (k == std::string_view::npos) return {};
    const auto c = text.find(':', k);
    if (c == std::string_view::npos) return {};
    const auto r = text.find('\r', c);
    if (r == std::string_view::npos) return {};
    std::string collected;
    int spaces = 0;
    for (auto i = c + 1; i < r; ++i) {
        if (text[i] == ' ') ++spaces;
        if (spaces == 1) collected += text[i];
    }
    return collected.empty() ? std::string() : collected.substr(1);
}

// What follows "set to" and one more character on the "Speed" line, spaces left out.
inline std::optional<std::string> SpeedValue(std::string_view text) {
    const auto s = text.find("Speed");
    if (s == std::string_view::npos) return std::nullopt;
    const auto t = text.find("set to", s);
    if (t == std::string_view::npos) return std::nullopt;
    const auto r = text.find('\r', t);
    if (r == std::string_view::npos || r < t + 7) return std::nullopt;
    std::string value;
    for (auto i = t + 7; i < r; ++i)
        if (text[i] != ' ') value += text[i];
    return value;
}

// From five characters past the first space after the first "1", up to the CR.
inline std::string ProfileValue(std::string_view text) {
    const auto a = text.find('1');
    if (a == std::string_view::npos) return {};
    const auto b = text.find(' ', a);
    if (b == std::string_view::npos) return {};
    const auto r = text.find('\r', b);
    if (r == std::string_view::npos || r < b + 5) return {};
    return std::string(text.substr(b + 5, r - b - 5));
}

// A "set" reply is refused when bytes 20 to 189 hold "error"; the message runs from there to
// the CR after the next LF.
struct SetOutcome {
    bool refused = false;
    std::string message;
};

inline SetOutcome JudgeSetReply(std::string_view reply) {
    if (reply.size() <= 20) return {};
    std::string_view window = reply.substr(20, 170);
    window = window.substr(0, window.find('\0'));
    const auto i = window.find("error");
    if (i == std::string_view::npos) return {};
    const auto lf = window.find('\n', i);
    const auto cr = lf == std::string_view::npos ? lf : window.find('\r', lf);
    return {true, cr == std::string_view::npos ? std::string() : std::string(window.substr(i, cr - i))};
}

}  // namespace reading_rules
