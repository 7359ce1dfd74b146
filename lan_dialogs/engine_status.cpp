#include "lan_dialogs/engine_status.h"


namespace lan {

EngineStatus LastStatus(AddpHandle instance) {
    char text[256] = "";
    EngineStatus status;
    status.code = AddpGetLastError(instance);
    AddpGetLastErrorText(instance, text, 255);
    status.text = QString::fromUtf8(text);
    return status;
}

}  // namespace lan
