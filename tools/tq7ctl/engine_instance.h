#pragma once
// One engine instance for one command, closed on every way out.

#include <ostream>
#include <string>

#include "engine/addp.h"

namespace tq7ctl {

class EngineInstance {
public:
    EngineInstance() : m_handle(AddpOpen(kAddpMagicDigi)) {}
    ~EngineInstance() { AddpClose(m_handle); }
    EngineInstance(const EngineInstance&) = delete;
    EngineInstance& operator=(const EngineInstance&) = delete;

    AddpHandle Handle() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    int StatusCode() const { return AddpGetLastError(m_handle); }
    std::string StatusText() const {
        char text[256] = {};
        AddpGetLastErrorText(m_handle, text, sizeof text);
        return text;
    }

private:
    AddpHandle m_handle;
};

inline void ReportNoEngine(std::ostream& err) {
    err << "tq7ctl: the discovery engine could not be opened\n";
}

}  // namespace tq7ctl
