#include "lan_dialogs/request_password.h"

#include "engine/addp_password.h"
#include "platform/ui/seams.h"
#include "platform/ui/table_text.h"

namespace lan {
namespace {

constexpr int kStringTooLong = 26;
constexpr int kStringUnsendable = 27;

}  // namespace

std::optional<std::string> PasswordForRequest(const QString& typed) {
    AddpPasswordBytes encoded = AddpEncodePassword(typed.toUtf8().toStdString());
    if (encoded.fault == AddpPasswordFault::kNone) return std::move(encoded.bytes);
    platform::ui::MessageBox(platform::ui::TableText(
        encoded.fault == AddpPasswordFault::kTooLong ? kStringTooLong : kStringUnsendable));
    return std::nullopt;
}

}  // namespace lan
