#pragma once
// The control objects the dialogs use, each a thin layer over its widget (see cwnd.h).

#include <QString>
#include <cstdint>

#include "platform/ui/cwnd.h"

namespace platform::ui {

class CButton : public CWnd {
public:
    void SetCheck(bool checked);
    bool GetCheck() const;
};

using CStatic = CWnd;

class CEdit : public CWnd {
public:
    void SetLimitText(int characters);
};

class CIPAddressCtrl : public CWnd {
public:
    // The first field is the most significant byte.
    void SetAddress(std::uint32_t address);
    // The number of non-blank fields; blank fields count as 0.
    int GetAddress(std::uint32_t& address) const;
    void ClearAddress();
    bool IsBlank() const;
};

class CProgressCtrl : public CWnd {
public:
    void SetRange(int lower, int upper);
    // A position outside the range is held at its nearer end.
    void SetPos(int position);
    int GetPos() const;
};

class CListBox : public CWnd {
public:
    int AddString(const QString& text);  // the new entry's index
    int GetCount() const;
    QString GetText(int index) const;
    void ResetContent();
};

// An editable drop-down list. Its selected position and its shown text are distinct: an entry is
// selected only while the field shows its text, so typing or writing another text leaves no
// selected position (-1) with that text shown. Moving the focus never selects.
class CComboBox : public CWnd {
public:
    int AddString(const QString& text);  // the new entry's index (sorted lists insert in order)
    int DeleteString(int index);         // the entries left, or -1 for a bad index
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;  // -1: no selected entry
    int SetCurSel(int index);  // -1 clears the selection and the shown text
    QString GetLBText(int index) const;
    int FindStringExact(const QString& text) const;  // -1 when no entry has that text
};

}  // namespace platform::ui
