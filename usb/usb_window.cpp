#include "usb/usb_window.h"

namespace {
constexpr int kTemplate = 141;
}

CWLan::CWLan(platform::ui::CDialog* parent) : CDialog(kTemplate, parent) {}
