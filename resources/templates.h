#pragma once
// The template tables of each part of the program; FindDialogTemplate looks through all of them.

#include <span>

#include "resources/dialog_template.h"

namespace resources {

std::span<const DialogTemplate> LanDialogTemplates();
std::span<const DialogTemplate> UsbDialogTemplates();

}  // namespace resources
