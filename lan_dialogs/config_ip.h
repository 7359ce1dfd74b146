#pragma once
// "Set IP Address": switches one converter to DHCP, or gives it a fixed address, mask and
// gateway. Each Apply sends one request through an engine instance of its own; a failure is
// shown and the dialog stays for another try, a success closes it without a word.

#include <QString>
#include <string>

#include "engine/addp.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

class CConfigIP : public platform::ui::CDialog {
public:
    explicit CConfigIP(platform::ui::CDialog* parent = nullptr);

    // The caller's record; set before showing. The caller keeps owning it; its model name may
    // be rewritten to the name the user knows.
    AddpDevice* m_pDevice = nullptr;

protected:
    void DoDataExchange(platform::ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    // Puts the record's values back into every control, in DHCP (0) or manual (1) mode.
    void FillFromDevice(int mode);
    // Sends the request with what the controls hold; false, once the user has been told why,
    // when it was not sent or not accepted.
    bool Apply(AddpHandle instance);
    int SendRequest(AddpHandle instance, const std::string& password);

    platform::ui::CIPAddressCtrl m_ipAddress;
    platform::ui::CIPAddressCtrl m_ipGateway;
    platform::ui::CIPAddressCtrl m_ipMask;
    QString m_strPassword;
    QString m_strMac;
    QString m_strName;
    int m_nMode = -1;  // 0 DHCP, 1 manual, -1 neither radio checked
};
