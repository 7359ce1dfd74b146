#pragma once
// What the dialogs read back from an engine instance after a request, and how they tell the
// user that it failed.

#include <QString>

#include "engine/addp.h"

namespace lan {

struct EngineStatus {
    int code = 0;  // -1 when the instance is not live (it could not be opened)
    QString text;
};

// The status code and text the last request left on the instance.
EngineStatus LastStatus(AddpHandle instance);

// The message for a request that returned `result` (not 0): the converter's error code and text
// after "An Error occured while <doing> the converter.", or, with code 0, that nothing came back
// before the deadline or that the converter refused without a code (its text, if any, below).
QString FailureText(const EngineStatus& status, int result, const QString& doing);

}  // namespace lan
