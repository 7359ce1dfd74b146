#include "platform/ui/list_ctrl.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace platform::ui {
namespace {
constexpr int kDataRole = Qt::UserRole + 1;
}

int CListCtrl::InsertColumn(int column, const QString& title, int widthPixels) {
    return WithOr<QTreeWidget>(-1, [&](QTreeWidget* list) {
        const int count = qMin(column, list->columnCount());
        QStringList titles;
        for (int i = 0; i < list->columnCount(); ++i) titles << list->headerItem()->text(i);
        titles.insert(count, title);
        list->setColumnCount(static_cast<int>(titles.size()));
        list->setHeaderLabels(titles);
        list->setColumnWidth(count, widthPixels);
        return count;
    });
}

int CListCtrl::InsertItem(int index, const QString& text) {
    return WithOr<QTreeWidget>(-1, [&](QTreeWidget* list) {
        const int row = qBound(0, index, list->topLevelItemCount());
        auto* item = new QTreeWidgetItem;
        item->setText(0, text);
        list->insertTopLevelItem(row, item);
        return row;
    });
}

bool CListCtrl::SetItemText(int row, int column, const QString& text) {
    return WithOr<QTreeWidget>(false, [&](QTreeWidget* list) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        if (item == nullptr || column < 0 || column >= list->columnCount()) return false;
        item->setText(column, text);
        return true;
    });
}

QString CListCtrl::GetItemText(int row, int column) const {
    return WithOr<QTreeWidget>(QString(), [&](QTreeWidget* list) {
        const QTreeWidgetItem* item = list->topLevelItem(row);
        return item != nullptr ? item->text(column) : QString();
    });
}

bool CListCtrl::DeleteItem(int row) {
    return WithOr<QTreeWidget>(false, [&](QTreeWidget* list) {
        QTreeWidgetItem* item = list->takeTopLevelItem(row);
        delete item;
        return item != nullptr;
    });
}

void CListCtrl::DeleteAllItems() {
    With<QTreeWidget>([](QTreeWidget* list) { list->clear(); });
}

int CListCtrl::GetItemCount() const {
    return WithOr<QTreeWidget>(0, [](QTreeWidget* list) { return list->topLevelItemCount(); });
}

void CListCtrl::SetItemData(int row, std::uintptr_t data) {
    With<QTreeWidget>([&](QTreeWidget* list) {
        if (QTreeWidgetItem* item = list->topLevelItem(row)) item->setData(0, kDataRole, QVariant::fromValue<quintptr>(data));
    });
}

std::uintptr_t CListCtrl::GetItemData(int row) const {
    return WithOr<QTreeWidget>(std::uintptr_t{0}, [&](QTreeWidget* list) -> std::uintptr_t {
        const QTreeWidgetItem* item = list->topLevelItem(row);
        return item != nullptr ? item->data(0, kDataRole).value<quintptr>() : 0;
    });
}

void CListCtrl::SelectItem(int row) {
    With<QTreeWidget>([&](QTreeWidget* list) {
        if (QTreeWidgetItem* item = list->topLevelItem(row)) {
            list->clearSelection();
            item->setSelected(true);
            list->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
        }
    });
}

int CListCtrl::GetFirstSelectedItem() const {
    return WithOr<QTreeWidget>(-1, [](QTreeWidget* list) {
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            if (list->topLevelItem(row)->isSelected()) return row;
        return -1;
    });
}

void CListCtrl::SetRedraw(bool redraw) {
    With<QTreeWidget>([&](QTreeWidget* list) {
        list->setUpdatesEnabled(redraw);
        if (redraw) list->viewport()->repaint();
    });
}

}  // namespace platform::ui
