#pragma once
// Builds a dialog's widgets from its template: places in dialog units become pixels by the
// dialog font, as the template's designer measured them.

#include <QFont>
#include <QRect>
#include <QWidget>
#include <map>
#include <vector>

#include "resources/dialog_template.h"

namespace platform::ui {

struct BuiltControl {
    const resources::ControlTemplate* control;
    QWidget* widget;
};

struct BuiltDialog {
    std::vector<BuiltControl> controls;  // in template order
    std::map<int, QWidget*> byId;
    int defaultButtonId = 0;  // 0: none
};

QFont DialogFont(const resources::DialogTemplate& dialog);

// Dialog units to pixels: x by a quarter of the font's average character width, y by an eighth
// of its height.
QRect DialogUnitsToPixels(const QFont& font, int x, int y, int width, int height);

BuiltDialog BuildControls(const resources::DialogTemplate& dialog, QWidget& window);

}  // namespace platform::ui
