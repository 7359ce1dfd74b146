#include "platform/ui/combo_box_widget.h"

#include <QLineEdit>

namespace platform::ui {

ComboBoxWidget::ComboBoxWidget(bool editable, bool sorted, QWidget* parent) : QComboBox(parent), m_sorted(sorted) {
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
    // Left alone, an editable list picks the entry that matches its text, ignoring case, when the
    // field loses focus: what would then be sent would depend on where the user clicked last.
    if (editable) disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    connect(this, &QComboBox::activated, this, &ComboBoxWidget::SelectionChanged);
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

int ComboBoxWidget::SelectedPosition() const {
    const int current = currentIndex();
    return current >= 0 && itemText(current) == currentText() ? current : -1;
}

int ComboBoxWidget::Select(int index) {
    if (index < 0 || index >= count()) {
        setCurrentIndex(-1);
        if (isEditable()) setEditText(QString());
        return -1;
    }
    setCurrentIndex(index);
    return index;
}

}  // namespace platform::ui
