#pragma once
// "TQ7 Converter Information": what the last discovery learned about one converter, as one block
// of text. Nothing is sent to the converter.

#include <QString>

#include "engine/addp.h"
#include "platform/ui/dialog.h"

class CDeviceInfo : public platform::ui::CDialog {
public:
    explicit CDeviceInfo(platform::ui::CDialog* parent = nullptr);

    // The caller's record; set before showing. The caller keeps owning it.
    AddpDevice* m_pDevice = nullptr;

protected:
    void DoDataExchange(platform::ui::DataExchange& dx) override;
    bool OnInitDialog() override;

private:
    QString m_strDetails;
};
