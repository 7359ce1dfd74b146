#pragma once
// Moves values between a dialog's members and its controls, either way: loading shows the members
// in the controls, saving reads the controls into the members and may refuse what it finds.

#include <QString>

namespace platform::ui {

class CDialog;
class CWnd;

class DataExchange {
public:
    DataExchange(CDialog& dialog, bool saving) : m_dialog(dialog), m_saving(saving) {}

    bool Saving() const { return m_saving; }
    bool Failed() const { return m_failed; }

    // Binds a control object to the dialog's widget with that identifier.
    void Control(int id, CWnd& control);
    void Text(int id, QString& value);
    // The index of the checked button in the radio group that starts at firstId; -1 for none.
    void Radio(int firstId, int& value);
    // Loading limits what can be typed into the edit; saving refuses a longer text.
    void MaxChars(int id, const QString& value, int count);

private:
    CDialog& m_dialog;
    bool m_saving;
    bool m_failed = false;
};

}  // namespace platform::ui
