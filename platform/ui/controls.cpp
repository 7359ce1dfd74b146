#include "platform/ui/controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>

#include "platform/ui/combo_box_widget.h"
#include "platform/ui/ip_address_field.h"

namespace platform::ui {

void CButton::SetCheck(bool checked) {
    With<QAbstractButton>([&](QAbstractButton* button) { button->setChecked(checked); });
}

bool CButton::GetCheck() const {
    return WithOr<QAbstractButton>(false, [](QAbstractButton* button) { return button->isChecked(); });
}

void CEdit::SetLimitText(int characters) {
    With<QLineEdit>([&](QLineEdit* edit) { edit->setMaxLength(characters > 0 ? characters : 32767); });
}

void CIPAddressCtrl::SetAddress(std::uint32_t address) {
    With<IpAddressField>([&](IpAddressField* field) { field->SetAddress(address); });
}

int CIPAddressCtrl::GetAddress(std::uint32_t& address) const {
    address = 0;
    return WithOr<IpAddressField>(0, [&](IpAddressField* field) { return field->GetAddress(address); });
}

void CIPAddressCtrl::ClearAddress() {
    With<IpAddressField>([](IpAddressField* field) { field->ClearAddress(); });
}

bool CIPAddressCtrl::IsBlank() const {
    return WithOr<IpAddressField>(true, [](IpAddressField* field) { return field->IsBlank(); });
}

void CProgressCtrl::SetRange(int lower, int upper) {
    With<QProgressBar>([&](QProgressBar* bar) { bar->setRange(lower, upper); });
}

void CProgressCtrl::SetPos(int position) {
    With<QProgressBar>([&](QProgressBar* bar) { bar->setValue(qBound(bar->minimum(), position, bar->maximum())); });
}

int CProgressCtrl::GetPos() const {
    return WithOr<QProgressBar>(0, [](QProgressBar* bar) { return bar->value(); });
}

int CListBox::AddString(const QString& text) {
    return WithOr<QListWidget>(-1, [&](QListWidget* list) {
        list->addItem(text);
        return list->count() - 1;
    });
}

int CListBox::GetCount() const {
    return WithOr<QListWidget>(0, [](QListWidget* list) { return list->count(); });
}

QString CListBox::GetText(int index) const {
    return WithOr<QListWidget>(QString(), [&](QListWidget* list) {
        const QListWidgetItem* item = list->item(index);
        return item != nullptr ? item->text() : QString();
    });
}

void CListBox::ResetContent() {
    With<QListWidget>([](QListWidget* list) { list->clear(); });
}

int CComboBox::AddString(const QString& text) {
    return WithOr<ComboBoxWidget>(-1, [&](ComboBoxWidget* combo) { return combo->AddEntry(text); });
}

int CComboBox::DeleteString(int index) {
    return WithOr<ComboBoxWidget>(-1, [&](ComboBoxWidget* combo) {
        if (index < 0 || index >= combo->count()) return -1;
        combo->removeItem(index);
        return combo->count();
    });
}

void CComboBox::ResetContent() {
    With<ComboBoxWidget>([](ComboBoxWidget* combo) { combo->ClearEntries(); });
}

int CComboBox::GetCount() const {
    return WithOr<ComboBoxWidget>(0, [](ComboBoxWidget* combo) { return combo->count(); });
}

int CComboBox::GetCurSel() const {
    return WithOr<ComboBoxWidget>(-1, [](ComboBoxWidget* combo) { return combo->SelectedPosition(); });
}

int CComboBox::SetCurSel(int index) {
    return WithOr<ComboBoxWidget>(-1, [&](ComboBoxWidget* combo) { return combo->Select(index); });
}

QString CComboBox::GetLBText(int index) const {
    return WithOr<ComboBoxWidget>(QString(), [&](ComboBoxWidget* combo) { return combo->itemText(index); });
}

int CComboBox::FindStringExact(const QString& text) const {
    return WithOr<ComboBoxWidget>(-1, [&](ComboBoxWidget* combo) { return combo->findText(text, Qt::MatchFixedString); });
}

}  // namespace platform::ui
