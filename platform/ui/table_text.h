#pragma once
// A text of the string table as the widgets take it; empty when the table has no such text.

#include <QString>

#include "resources/string_table.h"

namespace platform::ui {

inline QString TableText(int id) {
    const auto text = resources::LoadString(id);
    return text ? QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size())) : QString();
}

}  // namespace platform::ui
