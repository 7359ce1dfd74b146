#pragma once
// What the dialogs read back from an engine instance after a request.

#include <QString>

#include "engine/addp.h"

namespace lan {

struct EngineStatus {
    int code = 0;  // -1 when the instance is not live (it could not be opened)
    QString text;
};

// The status code and text the last request left on the instance.
EngineStatus LastStatus(AddpHandle instance);

inline constexpr int kStringNoAnswer = 24;
inline constexpr int kStringRefused = 25;

}  // namespace lan
