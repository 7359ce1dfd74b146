#pragma once
// "Reboot Converter": sends one reboot request through an engine instance of its own, then asks
// the converter for its description until it answers again or the polls run out. The outcome
// shows on the status line; the dialog stays open either way.

#include <QString>
#include <string>

#include "engine/addp.h"
#include "platform/ui/dialog.h"

class CReboot : public platform::ui::CDialog {
public:
    explicit CReboot(platform::ui::CDialog* parent = nullptr);

    // The caller's record; set before showing. The caller keeps owning it; its model name may
    // be rewritten to the name the user knows.
    AddpDevice* m_pDevice = nullptr;

protected:
    void DoDataExchange(platform::ui::DataExchange& dx) override;
    bool OnInitDialog() override;

private:
    void OnReboot();
    // The request, then the polls while it was accepted; the request's result.
    int RebootAndWait(AddpHandle instance, const std::string& password);
    // True once the converter answered a query; the answer itself is not kept.
    bool WaitUntilAnswering(AddpHandle instance) const;
    void ShowStatus(const QString& status);

    QString m_strName;
    QString m_strMac;
    QString m_strPassword;
    QString m_strStatus;
};
