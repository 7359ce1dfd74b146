#include "resources/dialog_template.h"

#include "resources/templates.h"

namespace resources {

const DialogTemplate* FindDialogTemplate(int id) {
    for (const auto table : {LanDialogTemplates(), UsbDialogTemplates()})
        for (const DialogTemplate& dialog : table)
            if (dialog.id == id) return &dialog;
    return nullptr;
}

}  // namespace resources
