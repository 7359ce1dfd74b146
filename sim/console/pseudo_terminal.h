#pragma once
// A pseudo-terminal whose slave side stands in for a converter's USB serial tty. The master
// side is the converter's end of the cable. The slave is kept open here too, so the line never
// hangs up while the program closes and reopens it, and it starts raw so nothing echoes before
// the program sets the line up.

#include <string>

namespace sim::console {

class PseudoTerminal {
public:
    PseudoTerminal();  // throws std::system_error when no pseudo-terminal can be had
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int Master() const { return m_master; }  // non-blocking; -1 once closed
    int Slave() const { return m_slave; }    // our own hold on the slave; -1 once closed
    const std::string& SlavePath() const { return m_slavePath; }

    // Closes both ends: whoever has the slave open sees a hang-up, as when a cable is pulled.
    void Close();
    bool IsOpen() const { return m_master >= 0; }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

}  // namespace sim::console
