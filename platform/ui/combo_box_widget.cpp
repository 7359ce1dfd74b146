#include "platform/ui/combo_box_widget.h"

#include <QLineEdit>

namespace platform::ui {

ComboBoxWidget::ComboBoxWidget(bool editable, bool sorted, QWidget* parent) : QComboBox(parent), m_sorted(sorted) {
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
    if (editable) connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_typed = true; });
    connect(this, &QComboBox::activated, this, [this] {
        m_typed = false;
        emit SelectionChanged();
    });
}

int ComboBoxWidget::AddEntry(const QString& text) {
    int index = count();
    if (m_sorted) {
        index = 0;
        while (index < count() && QString::compare(itemText(index), text, Qt::CaseInsensitive) <= 0) ++index;
    }
    const QString shown = currentText();
    const bool hadSelection = currentIndex() >= 0;
    insertItem(index, text);
    // Adding an entry neither selects it nor changes the text shown.
    if (!hadSelection) {
        setCurrentIndex(-1);
        if (isEditable()) setEditText(shown);
    }
    return index;
}

void ComboBoxWidget::ClearEntries() {
    clear();
    m_typed = false;
}

int ComboBoxWidget::Select(int index) {
    m_typed = false;
    if (index < 0 || index >= count()) {
        setCurrentIndex(-1);
        if (isEditable()) setEditText(QString());
        return -1;
    }
    setCurrentIndex(index);
    return index;
}

}  // namespace platform::ui
