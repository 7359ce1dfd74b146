#pragma once
// A report-view list: rows of column texts, each row with a value of its owner's attached.

#include <cstdint>

#include "platform/ui/cwnd.h"

namespace platform::ui {

class CListCtrl : public CWnd {
public:
    int InsertColumn(int column, const QString& title, int widthPixels);
    // Inserts a row with the first column's text; returns its index, or -1.
    int InsertItem(int index, const QString& text);
    bool SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    bool DeleteItem(int row);
    void DeleteAllItems();
    int GetItemCount() const;
    void SetItemData(int row, std::uintptr_t data);
    std::uintptr_t GetItemData(int row) const;  // 0 for a row without data or no row
    // Selects the row and gives it the focus state (the others lose both).
    void SelectItem(int row);
    int GetFirstSelectedItem() const;  // -1 when no row is selected
    // Stops and restarts painting around a batch of changes; restarting repaints at once.
    void SetRedraw(bool redraw);
};

}  // namespace platform::ui
