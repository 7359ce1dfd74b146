#pragma once
// A drop-down list whose selected position and shown text are kept apart, as the dialogs expect:
// typing into the edit field leaves no entry selected, while the typed text stays shown.

#include <QComboBox>

namespace platform::ui {

class ComboBoxWidget : public QComboBox {
    Q_OBJECT
public:
    ComboBoxWidget(bool editable, bool sorted, QWidget* parent = nullptr);

    int AddEntry(const QString& text);
    void ClearEntries();
    int SelectedPosition() const { return m_typed ? -1 : currentIndex(); }
    int Select(int index);

signals:
    // The user picked an entry from the list.
    void SelectionChanged();

private:
    bool m_sorted;
    bool m_typed = false;
};

}  // namespace platform::ui
