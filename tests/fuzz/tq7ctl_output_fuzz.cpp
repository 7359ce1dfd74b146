// Feeds arbitrary converter records and texts to tq7ctl's output and checks what scripts and
// terminals rely on: a device line is four tab-separated columns with no other control character,
// a device in JSON is one well-formed object on one line, and a request's outcome is one line.
// The input is the record's bytes, then one byte for the request's result, then the converter's
// status text; what the input lacks is zero.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/addp.h"
#include "tools/tq7ctl/device_format.h"
#include "tools/tq7ctl/outcome.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

// A strict reader of one JSON value, enough to tell whether a script's parser would take it.
class JsonChecker {
public:
    explicit JsonChecker(std::string_view text) : m_text(text) {}

    bool WholeTextIsOneValue() { return Value() && m_at == m_text.size(); }

private:
    bool Value() {
        if (m_at >= m_text.size() || ++m_depth > 64) return false;
        bool good = false;
        switch (m_text[m_at]) {
            case '{':
                good = Members('}', true);
                break;
            case '[':
                good = Members(']', false);
                break;
            case '"':
                good = String();
                break;
            case 't':
                good = Word("true");
                break;
            case 'f':
                good = Word("false");
                break;
            case 'n':
                good = Word("null");
                break;
            default:
                good = Number();
        }
        --m_depth;
        return good;
    }

    bool Members(char close, bool named) {
        ++m_at;
        if (Take(close)) return true;
        do {
            if (named && !(String() && Take(':'))) return false;
            if (!Value()) return false;
        } while (Take(','));
        return Take(close);
    }

    bool String() {
        if (!Take('"')) return false;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) >= 0x80) {
                if (!RestOfUtf8Character(static_cast<unsigned char>(c))) return false;
                continue;
            }
            if (IsControl(c) && c != '\x7f') return false;
            if (c != '\\') continue;
            if (m_at >= m_text.size()) return false;
            const char escaped = m_text[m_at++];
            if (escaped == 'u') {
                for (int i = 0; i < 4; ++i, ++m_at)
                    if (m_at >= m_text.size() || !std::isxdigit(static_cast<unsigned char>(m_text[m_at])))
                        return false;
            } else if (std::string_view("\"\\/bfnrt").find(escaped) == std::string_view::npos) {
                return false;
            }
        }
        return false;
    }

    bool Number() {
        Take('-');
        if (!Take('0') && !Digits()) return false;  // a leading zero stands alone
        if (Take('.') && !Digits()) return false;
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            if (!Digits()) return false;
        }
        return true;
    }

    // JSON text is UTF-8: a lead byte and as many continuation bytes as it announces.
    bool RestOfUtf8Character(unsigned char lead) {
        const int more = lead >= 0xc2 && lead <= 0xdf   ? 1
                         : lead >= 0xe0 && lead <= 0xef ? 2
                         : lead >= 0xf0 && lead <= 0xf4 ? 3
                                                        : -1;
        if (more < 0) return false;
        for (int i = 0; i < more; ++i, ++m_at)
            if (m_at >= m_text.size() || (static_cast<unsigned char>(m_text[m_at]) & 0xc0) != 0x80)
                return false;
        return true;
    }

    bool Digits() {
        const std::size_t start = m_at;
        while (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9') ++m_at;
        return m_at > start;
    }

    bool Word(std::string_view word) {
        if (m_text.substr(m_at, word.size()) != word) return false;
        m_at += word.size();
        return true;
    }

    bool Take(char c) {
        if (m_at >= m_text.size() || m_text[m_at] != c) return false;
        ++m_at;
        return true;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_depth = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AddpDevice device;
    std::memset(&device, 0, sizeof device);
    std::copy_n(data, std::min(size, sizeof device), reinterpret_cast<std::uint8_t*>(&device));
    const int result = size > sizeof device ? static_cast<int>(data[sizeof device] % 3) - 1 : 0;
    // An exact-size copy: a read past the text is a read past the allocation.
    const std::vector<char> status(data + std::min(size, sizeof device + 1), data + size);
    const std::string_view statusText(status.data(), status.size());

    const std::string line = tq7ctl::DeviceLine(device);
    Require(std::count(line.begin(), line.end(), '\t') == 3);
    Require(std::none_of(line.begin(), line.end(), [](char c) { return IsControl(c) && c != '\t'; }));

    const std::string json = tq7ctl::DeviceJson(device);
    Require(json.starts_with('{') && JsonChecker(json).WholeTextIsOneValue());
    Require(JsonChecker(tq7ctl::JsonString(statusText)).WholeTextIsOneValue());

    std::ostringstream out, err;
    const tq7ctl::Mac mac{device.mac[0], device.mac[1], device.mac[2],
                          device.mac[3], device.mac[4], device.mac[5]};
    tq7ctl::ReportConfigurationResult(mac, result, 0, statusText, out, err);
    const std::string said = out.str() + err.str();
    Require(!said.empty() && said.back() == '\n');
    Require(std::none_of(said.begin(), said.end() - 1, IsControl));
    return 0;
}
