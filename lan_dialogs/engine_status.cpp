#include "lan_dialogs/engine_status.h"

#include "resources/string_table.h"

namespace lan {

EngineStatus LastStatus(AddpHandle instance) {
    char text[256] = "";
    EngineStatus status;
    status.code = AddpGetLastError(instance);
    AddpGetLastErrorText(instance, text, 255);
    status.text = QString::fromUtf8(text);
    return status;
}

QString TableText(int id) {
    const auto text = resources::LoadString(id);
    return text ? QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size())) : QString();
}

}  // namespace lan
