#pragma once

#include <QIcon>
#include <QPixmap>

#include "resources/app_icon.h"

inline QIcon AppIcon() { return QIcon(QPixmap(resources::kAppIconXpm)); }
