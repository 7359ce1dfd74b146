#include "lan_dialogs/engine_status.h"

#include "lan_dialogs/device_text.h"

namespace lan {

EngineStatus LastStatus(AddpHandle instance) {
    char text[256] = "";
    EngineStatus status;
    status.code = AddpGetLastError(instance);
    AddpGetLastErrorText(instance, text, 255);
    status.text = WireText(text);
    return status;
}

}  // namespace lan
