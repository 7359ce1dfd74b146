// tq7shots: writes a picture of each of the program's windows into a folder, with the simulated
// converter in the list, so that the pictures in the documentation can be made again:
//
//     QT_QPA_PLATFORM=offscreen tq7shots docs/screenshots
//
// Exits 1 when a window could not be pictured, or when no converter answered.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <optional>

#include "app/finder_dlg.h"
#include "app/simulation.h"
#include "lan_dialogs/config_ip.h"
#include "lan_dialogs/device_info.h"
#include "lan_dialogs/progress.h"
#include "lan_dialogs/reboot.h"
#include "platform/ui/list_ctrl.h"
#include "platform/ui/seams.h"
#include "usb/usb_window.h"
#include "usb/window_controls.h"

namespace {

constexpr int kConverterList = 1021;
constexpr int kConfigIpPassword = 1027;
constexpr int kRebootPassword = 1034;

class Pictures {
public:
    explicit Pictures(QString folder) : m_folder(std::move(folder)) {}

    // Shows the dialog modally, lets `prepare` fill it in, writes its picture and closes it.
    void OfDialog(platform::ui::CDialog& dialog, const QString& name, const std::function<void()>& prepare = {}) {
        QTimer::singleShot(1, [&, name] {
            if (prepare) prepare();
            Write(dialog, name);
            dialog.EndDialog(0);
        });
        dialog.DoModal();
    }

    QString Path(const QString& name) const { return QDir(m_folder).filePath(name); }

    void Write(const platform::ui::CDialog& dialog, const QString& name) { Write(*dialog.Window(), name); }

    void Write(QWidget& window, const QString& name) {
        QApplication::processEvents();
        const QString path = Path(name + ".png");
        if (window.grab().save(path)) {
            std::printf("%s\n", qPrintable(path));
        } else {
            std::fprintf(stderr, "tq7shots: cannot write %s\n", qPrintable(path));
            m_failed = true;
        }
    }

    void Fail(const char* why) {
        std::fprintf(stderr, "tq7shots: %s\n", why);
        m_failed = true;
    }
    bool Failed() const { return m_failed; }

private:
    QString m_folder;
    bool m_failed = false;
};

// The first row's record once a converter has answered; nullptr after ten seconds of silence.
AddpDevice* WaitForConverter(const CFinderDlg& window) {
    platform::ui::CListCtrl list;
    list.Attach(window.GetDlgItem(kConverterList));
    QElapsedTimer clock;
    clock.start();
    while (list.GetItemData(0) == 0 && clock.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return reinterpret_cast<AddpDevice*>(list.GetItemData(0));
}

void PressButton(const QWidget& window, const char* text) {
    for (auto* button : window.findChildren<QPushButton*>())
        if (button->text() == QLatin1String(text)) return button->click();
}

void TypeInto(const platform::ui::CDialog& dialog, int id, const char* text) {
    if (auto* box = qobject_cast<QLineEdit*>(dialog.GetDlgItem(id))) box->setText(QString::fromUtf8(text));
}

// A session with the simulated console, a picture after each step: logged in with the settings
// read, a setting changed, applied, saved to a file, changed back, loaded from the file, and the
// converter restarted. The messages the window shows are answered at once and printed.
void WalkThroughTheUsbWindow(Pictures& pictures, platform::ui::CDialog& parent) {
    platform::ui::SetMessageBoxHandler([](const QString& text, const QString&) {
        std::printf("  message: %s\n", qPrintable(QString(text).replace('\n', ' ')));
        return platform::ui::kIdOk;
    });
    const QString file = pictures.Path("TQ7_config.txt");
    platform::ui::SetFileDialogHandler([file](platform::ui::FileDialogKind, const QString&, const QString&) {
        return std::optional<QString>(file);
    });
    const auto chooseSpeed = [](const char* text) {
        g_cbSpeed.SetCurSel(g_cbSpeed.FindStringExact(QString::fromUtf8(text)));
    };
    CWLan usb(&parent);
    pictures.OfDialog(usb, "usb_6_restarted", [&] {
        TypeInto(usb, kIdLogin, Simulation::kConsoleUser);
        TypeInto(usb, kIdPassword, Simulation::kConsolePassword);
        usb.ExecuteCommand(kIdConnect);
        pictures.Write(usb, "usb_1_connected_and_read");
        chooseSpeed("100 Mbit/s");
        pictures.Write(usb, "usb_2_speed_changed");
        usb.ExecuteCommand(kIdSaveConfig);
        pictures.Write(usb, "usb_3_applied");
        usb.ExecuteCommand(kIdSaveToFile);
        pictures.Write(usb, "usb_4_saved_to_file");
        chooseSpeed("auto");
        usb.ExecuteCommand(kIdLoadFromFile);
        pictures.Write(usb, "usb_5_loaded_from_file");
        // The device-information dialog runs modally over the window: its device report listed.
        QTimer::singleShot(1, [&] {
            QWidget* info = QApplication::activeModalWidget();
            if (info == nullptr) return pictures.Fail("the device-information dialog did not show");
            PressButton(*info, "Device information");
            pictures.Write(*info, "usb_device_information");
            PressButton(*info, "Close");
        });
        usb.ExecuteCommand(kIdDeviceInfo);
        usb.ExecuteCommand(kIdRestart);
    });
    platform::ui::ResetSeams();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("Usage: tq7shots FOLDER\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "tq7shots: cannot make the folder %s\n", argv[1]);
        return 1;
    }
    Simulation simulation;
    QString error;
    if (!simulation.Start(error)) {
        std::fprintf(stderr, "tq7shots: the simulated converter cannot start: %s\n", qPrintable(error));
        return 1;
    }

    Pictures pictures(folder);
    CFinderDlg window;
    QTimer::singleShot(1, [&] {
        AddpDevice* converter = WaitForConverter(window);
        if (converter == nullptr) {
            pictures.Fail("the simulated converter did not answer");
            window.EndDialog(0);
            return;
        }
        pictures.Write(window, "main_window");
        // The dialogs get a copy, so that the list's row keeps what discovery found.
        AddpDevice record = *converter;
        CConfigIP configIp(&window);
        configIp.m_pDevice = &record;
        pictures.OfDialog(configIp, "set_ip_address", [&] { TypeInto(configIp, kConfigIpPassword, "tq7demo"); });
        CReboot reboot(&window);
        reboot.m_pDevice = &record;
        pictures.OfDialog(reboot, "reboot_converter", [&] { TypeInto(reboot, kRebootPassword, "tq7demo"); });
        CDeviceInfo info(&window);
        info.m_pDevice = &record;
        pictures.OfDialog(info, "converter_information");
        CWLan usb(&window);
        pictures.OfDialog(usb, "configuration_via_usb");
        WalkThroughTheUsbWindow(pictures, window);
        // A second or so into a wait, as the user mostly sees it.
        g_dlgProgress.SetInterval(10);
        pictures.OfDialog(g_dlgProgress, "progress", [] {
            while (g_nProgressTicks < 60) QApplication::processEvents(QEventLoop::AllEvents, 10);
        });
        window.EndDialog(0);
    });
    window.DoModal();
    return pictures.Failed() ? 1 : 0;
}
