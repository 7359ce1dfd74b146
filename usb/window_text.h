#pragma once
// The converter and the configuration file speak single-byte text; the controls hold QString.

#include <QString>
#include <string>
#include <string_view>

inline QString FromBytes(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string ToBytes(const QString& text) { return text.toLatin1().toStdString(); }
