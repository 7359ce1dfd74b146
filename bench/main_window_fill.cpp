// How long the main window takes to list a thousand waiting converters, and what the process
// holds in memory with those rows (target: under 100 ms).

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "app/finder_dlg.h"
#include "bench/loopback_guard.h"
#include "engine/frames.h"
#include "engine/session.h"

namespace {

constexpr int kRecords = 1000;

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

// Puts records into the engine's queue as its worker would after a burst of replies.
void QueueRecords(AddpHandle engine) {
    for (int i = 0; i < kRecords; ++i) {
        auto* record = new AddpReplyRecord;
        AddpInitReplyRecord(*record);
        AddpDevice& device = record->device;
        const std::uint8_t mac[6] = {0x00, 0x40, 0x9d, 0x00, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
        std::memcpy(device.mac, mac, 6);
        device.ipAddress = htonl(0x0a000000u + static_cast<std::uint32_t>(i));
        std::snprintf(device.name, sizeof device.name, "converter-%d", i);
        std::snprintf(device.modelName, sizeof device.modelName, "Digi Connect ME");
        device.present = AddpPresentMac | AddpPresentIpAddress | AddpPresentName | AddpPresentModelName;
        AddpListAppend(engine->queue, reinterpret_cast<std::uintptr_t>(record));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!OnlyLoopbackHere()) return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);

    CFinderDlg window;
    QTimer::singleShot(1, [&] {
        auto* list = qobject_cast<QTreeWidget*>(window.GetDlgItem(1021));
        AddpStopDiscovery(window.Engine());
        const long before = ResidentKilobytes();
        QueueRecords(window.Engine());

        QElapsedTimer clock;
        clock.start();
        platform::PostMessage(window.GetSafeHwnd(), CFinderDlg::kCollectMessage, 0, 0);
        while (list->topLevelItemCount() < kRecords && clock.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        const double filled = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        list->viewport()->repaint();
        std::printf("fill: %d rows in %.1f ms (target: < 100 ms)\n", list->topLevelItemCount(), filled);
        std::printf("memory: %ld KiB resident with the rows, %ld KiB more than before them\n", ResidentKilobytes(),
                    ResidentKilobytes() - before);
        window.EndDialog(0);
    });
    window.DoModal();
    return 0;
}
