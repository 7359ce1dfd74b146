#include "platform/ui/data_exchange.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>

#include "platform/ui/cwnd.h"
#include "platform/ui/dialog.h"
#include "platform/ui/seams.h"

namespace platform::ui {

void DataExchange::Control(int id, CWnd& control) {
    if (!m_failed) control.Attach(m_dialog.GetDlgItem(id));
}

void DataExchange::Text(int id, QString& value) {
    if (m_failed) return;
    QWidget* widget = m_dialog.GetDlgItem(id);
    if (widget == nullptr) return;
    if (m_saving)
        value = WidgetText(widget);
    else
        SetWidgetText(widget, value);
}

void DataExchange::Radio(int firstId, int& value) {
    if (m_failed) return;
    const auto& controls = m_dialog.Built().controls;
    std::size_t first = 0;
    while (first < controls.size() && controls[first].control->id != firstId) ++first;
    std::vector<QRadioButton*> group;
    for (std::size_t i = first; i < controls.size(); ++i) {
        const auto& control = controls[i];
        if (i > first && (control.control->style & resources::kGroupStart)) break;
        if (auto* radio = qobject_cast<QRadioButton*>(control.widget)) group.push_back(radio);
    }
    if (m_saving) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (group[i]->isChecked()) value = static_cast<int>(i);
        return;
    }
    // An exclusive group keeps one button checked; showing "none" needs the exclusion off a moment.
    QButtonGroup* buttons = group.empty() ? nullptr : group.front()->group();
    if (buttons != nullptr) buttons->setExclusive(false);
    for (std::size_t i = 0; i < group.size(); ++i) group[i]->setChecked(static_cast<int>(i) == value);
    if (buttons != nullptr) buttons->setExclusive(true);
}

void DataExchange::MaxChars(int id, const QString& value, int count) {
    if (m_failed) return;
    if (!m_saving) {
        if (auto* edit = qobject_cast<QLineEdit*>(m_dialog.GetDlgItem(id))) edit->setMaxLength(count);
        return;
    }
    if (value.size() > count) {
        MessageBox(QStringLiteral("Enter no more than %1 characters.").arg(count));
        if (QWidget* widget = m_dialog.GetDlgItem(id)) widget->setFocus();
        m_failed = true;
    }
}

}  // namespace platform::ui
