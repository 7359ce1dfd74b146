#pragma once
// The Configuration via USB window.

#include "platform/ui/dialog.h"

class CWLan : public platform::ui::CDialog {
public:
    explicit CWLan(platform::ui::CDialog* parent = nullptr);
};
