#pragma once
// What the dialogs read back from an engine instance after a request, and the texts they show.

#include <QString>

#include "engine/addp.h"

namespace lan {

struct EngineStatus {
    int code = 0;  // -1 when the instance is not live (it could not be opened)
    QString text;
};

// The status code and text the last request left on the instance.
EngineStatus LastStatus(AddpHandle instance);

// A string-table text; empty when the table has none with that number.
QString TableText(int id);

inline constexpr int kStringNoAnswer = 24;
inline constexpr int kStringRefused = 25;

}  // namespace lan
