#include "platform/ui/template_builder.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "platform/ui/combo_box_widget.h"
#include "platform/ui/ip_address_field.h"

namespace platform::ui {
namespace {

using resources::ControlKind;
using resources::ControlTemplate;

QWidget* MakeWidget(const ControlTemplate& control, QWidget& window) {
    const QString text = QString::fromUtf8(control.text.data(), static_cast<qsizetype>(control.text.size()));
    switch (control.kind) {
        case ControlKind::Static: {
            auto* label = new QLabel(text, &window);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setTextFormat(Qt::PlainText);
            return label;
        }
        case ControlKind::PushButton:
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(text, &window);
            button->setAutoDefault(false);  // Enter is routed by the dialog itself
            button->setDefault(control.kind == ControlKind::DefaultButton);
            return button;
        }
        case ControlKind::RadioButton: return new QRadioButton(text, &window);
        case ControlKind::GroupBox: {
            auto* group = new QGroupBox(text, &window);
            group->lower();
            return group;
        }
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(&window);
            if (control.style & resources::kPassword) edit->setEchoMode(QLineEdit::Password);
            edit->setFrame((control.style & resources::kBorder) != 0);
            return edit;
        }
        case ControlKind::ComboBox:
            return new ComboBoxWidget(true, (control.style & resources::kSorted) != 0, &window);
        case ControlKind::ListBox: {
            auto* list = new QListWidget(&window);
            list->setSortingEnabled((control.style & resources::kSorted) != 0);
            return list;
        }
        case ControlKind::ReportList: {
            auto* list = new QTreeWidget(&window);
            list->setRootIsDecorated(false);
            list->setUniformRowHeights(true);
            list->setAllColumnsShowFocus(true);
            list->setSelectionMode((control.style & resources::kSingleSelection) ? QAbstractItemView::SingleSelection
                                                                                 : QAbstractItemView::ExtendedSelection);
            list->setColumnCount(0);
            list->header()->setStretchLastSection(false);
            return list;
        }
        case ControlKind::IpAddress: return new IpAddressField(&window);
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(&window);
            bar->setTextVisible(false);
            bar->setRange(0, 100);
            bar->setValue(0);
            return bar;
        }
    }
    return new QWidget(&window);
}

}  // namespace

QFont DialogFont(const resources::DialogTemplate& dialog) {
    QFont font;
    font.setFamilies({QString::fromUtf8(dialog.fontName.data(), static_cast<qsizetype>(dialog.fontName.size())),
                      QStringLiteral("Microsoft Sans Serif"), QStringLiteral("DejaVu Sans")});
    font.setPointSize(dialog.fontPoints);
    return font;
}

QRect DialogUnitsToPixels(const QFont& font, int x, int y, int width, int height) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = (letters / 26 + 1) / 2;
    const int baseY = metrics.height();
    return QRect(x * baseX / 4, y * baseY / 8, width * baseX / 4, height * baseY / 8);
}

BuiltDialog BuildControls(const resources::DialogTemplate& dialog, QWidget& window) {
    BuiltDialog built;
    const QFont font = DialogFont(dialog);
    window.setFont(font);
    QButtonGroup* radios = nullptr;
    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = MakeWidget(control, window);
        QRect place = DialogUnitsToPixels(font, control.x, control.y, control.width, control.height);
        // A drop-down list's height in the template includes its open list.
        if (control.kind == ControlKind::ComboBox) place.setHeight(widget->sizeHint().height());
        widget->setGeometry(place);
        if (control.style & resources::kHidden) widget->setVisible(false);
        // Radio buttons exclude each other within their group only.
        if (control.kind == ControlKind::RadioButton) {
            if (radios == nullptr || (control.style & resources::kGroupStart)) radios = new QButtonGroup(&window);
            radios->addButton(static_cast<QRadioButton*>(widget));
        } else if (control.style & resources::kGroupStart) {
            radios = nullptr;
        }
        if (control.kind == ControlKind::DefaultButton) built.defaultButtonId = control.id;
        if (control.id >= 0) built.byId.emplace(control.id, widget);
        built.controls.push_back({&control, widget});
    }
    for (const BuiltControl& control : built.controls)
        if (control.control->kind == ControlKind::GroupBox) control.widget->lower();
    const QRect size = DialogUnitsToPixels(font, 0, 0, dialog.width, dialog.height);
    window.setFixedSize(size.size());
    return built;
}

}  // namespace platform::ui
