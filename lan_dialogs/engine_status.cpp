#include "lan_dialogs/engine_status.h"

#include "lan_dialogs/device_text.h"
#include "platform/ui/table_text.h"

namespace lan {
namespace {

constexpr int kStringNoAnswer = 24;
constexpr int kStringRefused = 25;

}  // namespace

EngineStatus LastStatus(AddpHandle instance) {
    char text[256] = "";
    EngineStatus status;
    status.code = AddpGetLastError(instance);
    AddpGetLastErrorText(instance, text, 255);
    status.text = WireText(text);
    return status;
}

QString FailureText(const EngineStatus& status, int result, const QString& doing) {
    if (status.code != 0)
        return QStringLiteral("An Error occured while %1 the converter.\nError Number: %2\nError Message: %3\n")
            .arg(doing, QString::number(status.code), status.text);
    // The engine's -1 with its own status untouched: nothing came back before the deadline.
    if (result < 0) return platform::ui::TableText(kStringNoAnswer);
    // A refusal without an error code is still a refusal, whatever text came with it.
    QString message = platform::ui::TableText(kStringRefused);
    if (!status.text.isEmpty()) message += QLatin1Char('\n') + status.text;
    return message;
}

}  // namespace lan
