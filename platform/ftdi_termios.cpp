#include "platform/ftdi_termios.h"

#include "platform/ftdi.h"

namespace platform {

std::optional<speed_t> BaudConstant(std::uint32_t baudRate) {
    switch (baudRate) {
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return std::nullopt;
    }
}

bool MakeRawTermios(const LineSettings& line, termios& settings) {
    const std::optional<speed_t> speed = BaudConstant(line.baudRate);
    if (!speed) return false;
    if (line.wordLength != kFtdiWordLength7 && line.wordLength != kFtdiWordLength8) return false;
    if (line.stopBits != kFtdiStopBits1 && line.stopBits != kFtdiStopBits2) return false;
    if (line.parity != kFtdiParityNone && line.parity != kFtdiParityOdd && line.parity != kFtdiParityEven)
        return false;

    termios raw = settings;
    cfmakeraw(&raw);
    raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS | CMSPAR);
    raw.c_cflag |= CLOCAL | CREAD | (line.wordLength == kFtdiWordLength7 ? CS7 : CS8);
    if (line.stopBits == kFtdiStopBits2) raw.c_cflag |= CSTOPB;
    if (line.parity != kFtdiParityNone) raw.c_cflag |= PARENB;
    if (line.parity == kFtdiParityOdd) raw.c_cflag |= PARODD;
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (cfsetispeed(&raw, *speed) != 0 || cfsetospeed(&raw, *speed) != 0) return false;
    settings = raw;
    return true;
}

bool LineMatches(const termios& applied, const termios& wanted, bool parityOptional) {
    tcflag_t cflags = CSIZE | CSTOPB | PARODD | CRTSCTS | CLOCAL | CREAD;
    if (!parityOptional) cflags |= PARENB;
    const tcflag_t lflags = ICANON | ECHO | ISIG | IEXTEN;
    return cfgetospeed(&applied) == cfgetospeed(&wanted) && cfgetispeed(&applied) == cfgetispeed(&wanted) &&
           (applied.c_cflag & cflags) == (wanted.c_cflag & cflags) &&
           (applied.c_lflag & lflags) == (wanted.c_lflag & lflags) &&
           (applied.c_oflag & OPOST) == (wanted.c_oflag & OPOST);
}

}  // namespace platform
