#pragma once
// A drop-down list whose selected position and shown text are kept apart, as the dialogs expect.
// An entry counts as selected only while the field shows that entry's text: once the user types
// or the program writes another text, no entry is selected. Leaving the field never selects one.

#include <QComboBox>

namespace platform::ui {

class ComboBoxWidget : public QComboBox {
    Q_OBJECT
public:
    ComboBoxWidget(bool editable, bool sorted, QWidget* parent = nullptr);

    int AddEntry(const QString& text);
    void ClearEntries() { clear(); }
    int SelectedPosition() const;
    int Select(int index);

signals:
    // The user picked an entry from the list.
    void SelectionChanged();

private:
    bool m_sorted;
};

}  // namespace platform::ui
