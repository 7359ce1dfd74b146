// What Set IP Address and Reboot Converter do alike around their one request: the bytes the typed
// password goes as, and the wait in which the window thread is held.

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "lan_dialogs/config_ip.h"
#include "lan_dialogs/reboot.h"
#include "platform/ui/ui_thread.h"
#include "sim/replies.h"
#include "tests/lan_dialogs/lan_dialog_fixture.h"
#include "tests/support/modal.h"

namespace landialogs {
namespace {

using namespace std::chrono_literals;
using testsupport::RunModal;

// One of the two dialogs, opened on a record, with the controls the user sends with.
struct DialogKind {
    const char* name;
    std::function<std::unique_ptr<platform::ui::CDialog>(AddpDevice&)> open;
    int passwordBox;
    int sendButton;
    std::uint16_t requestType;  // on the record, which is in manual mode, for Set IP
    std::uint16_t replyType;
    bool closesWhenAccepted;
};

template <typename Dialog>
std::unique_ptr<platform::ui::CDialog> Open(AddpDevice& record) {
    auto dialog = std::make_unique<Dialog>();
    dialog->m_pDevice = &record;
    return dialog;
}

const DialogKind kDialogs[] = {
    {"Set IP Address", Open<CConfigIP>, 1027, platform::ui::kIdOk, 3, 4, true},
    {"Reboot Converter", Open<CReboot>, 1034, 1043, 5, 6, false},
};

QString Repeated(char letter, int count) { return QString(count, QLatin1Char(letter)); }

using RequestPassword = LanDialogTest;

TEST_F(RequestPassword, GoesAsLatin1CountedInTheBytesSentAndIsRefusedWithAReasonOtherwise) {
    WithRealDeadline();
    // 255 characters, 260 bytes in UTF-8: the converter's password as its own single-byte text.
    const std::string stored = std::string(250, 'a') + std::string(5, '\xe9');
    struct Case {
        const char* what;
        QString typed;
        QString box;  // empty: sent
    };
    const Case cases[] = {
        {"255 characters, five of them beyond ASCII", Repeated('a', 250) + QString(5, QChar(0xe9)), ""},
        {"256 characters", Repeated('a', 256),
         "The password is too long: the converter takes at most 255 characters."},
        {"255 characters and one more beyond ASCII", Repeated('a', 255) + QChar(0xe9),
         "The password is too long: the converter takes at most 255 characters."},
        {"a character outside Latin-1", QString::fromUtf8("price\u20ac"),
         "The password holds a character the converter cannot take. Use only letters, digits and signs of "
         "Western European languages (Latin-1)."},
        {"a character outside the basic plane", QString::fromUtf8("key\U0001F511"),
         "The password holds a character the converter cannot take. Use only letters, digits and signs of "
         "Western European languages (Latin-1)."},
    };
    for (const DialogKind& kind : kDialogs) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << kind.name << ": " << c.what);
            sim::ModuleDescription module = Converter();
            module.password = stored;
            StartConverter(module, {}, 0s);
            boxes.clear();
            const bool sent = c.box.isEmpty();
            AddpDevice record = RecordOf(module);
            const auto dialog = kind.open(record);
            const int result = RunModal(*dialog, [&] {
                Item<QLineEdit>(*dialog, kind.passwordBox)->setText(c.typed);
                Item<QPushButton>(*dialog, kind.sendButton)->click();
                if (!(sent && kind.closesWhenAccepted)) dialog->EndDialog(platform::ui::kIdCancel);
            });
            const auto requests = Requests();
            if (sent) {
                EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
                ASSERT_FALSE(requests.empty());
                EXPECT_EQ(requests[0].type, kind.requestType);
                EXPECT_EQ(requests[0].password, stored);
                EXPECT_EQ(result, kind.closesWhenAccepted ? platform::ui::kIdOk : platform::ui::kIdCancel);
            } else {
                EXPECT_EQ(boxes, QStringList{c.box});
                EXPECT_TRUE(requests.empty()) << "nothing may be sent";
                EXPECT_EQ(result, platform::ui::kIdCancel) << "the dialog stays for another try";
            }
        }
    }
}

// Answers every request the converter gets, by hand, with a refusal; before the first answer,
// while the dialog's thread waits for it, it gives the dialog a click on its send button and
// Enter in its password box, and asks the window thread whether it shows the wait cursor.
class Answerer {
public:
    Answerer(sim::LanSimulator& simulator, const DialogKind& kind, QPushButton& button, QLineEdit& box)
        : m_simulator(simulator), m_kind(kind) {
        const QPoint centre = button.rect().center();
        const QPoint global = button.mapToGlobal(centre);
        m_given = {
            {&button, new QMouseEvent(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                                      Qt::NoModifier)},
            {&button, new QMouseEvent(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                                      Qt::NoModifier)},
            {&box, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier)},
            {&box, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier)},
        };
        m_thread = std::thread([this] { Run(); });
    }
    ~Answerer() {
        m_stop = true;
        m_thread.join();
        for (const auto& [receiver, event] : m_given) delete event;
    }

    // Known once the window thread has served the question.
    std::atomic<bool> waitCursorShown{false};

private:
    void Run() {
        for (std::size_t answered = 0; !m_stop;) {
            if (!m_simulator.WaitForReceived(answered + 1, 20ms)) continue;
            if (answered == 0) GiveInput();
            const sim::ReceivedDatagram request = m_simulator.Received()[answered++];
            const sim::ReplyFrame reply{m_kind.replyType,
                                        sim::ConfigurationReplyFields(Converter().mac, sim::ReplyOutcome{1, 0, "Busy"})};
            EXPECT_TRUE(m_simulator.SendRaw(sim::EncodeReply(kAddpMagicDigi, reply), request.sourceAddress,
                                            request.sourcePort));
        }
    }
    void GiveInput() {
        for (auto& [receiver, event] : m_given) {
            QCoreApplication::postEvent(receiver, event);
            event = nullptr;  // the queue owns it now
        }
        platform::ui::PostToUiThread([this] {
            const QCursor* cursor = QApplication::overrideCursor();
            waitCursorShown = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
        });
    }

    sim::LanSimulator& m_simulator;
    const DialogKind& m_kind;
    std::vector<std::pair<QObject*, QEvent*>> m_given;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

using RequestWait = LanDialogTest;

TEST_F(RequestWait, ShowsTheWaitCursorAndDropsWhatTheUserDidMeanwhile) {
    for (const DialogKind& kind : kDialogs) {
        SCOPED_TRACE(kind.name);
        // Only the answer by hand ends the wait: the deadline is minutes away.
        platform::SetTimeScale(100);
        StartConverter(Converter(), {.silent = true});
        bool cursorBackForTheBox = true;
        platform::ui::SetMessageBoxHandler([&](const QString& text, const QString&) {
            boxes << text;
            cursorBackForTheBox = cursorBackForTheBox && QApplication::overrideCursor() == nullptr;
            return platform::ui::kIdOk;
        });
        boxes.clear();
        AddpDevice record = RecordOf(Converter());
        const auto dialog = kind.open(record);
        RunModal(*dialog, [&] {
            auto* button = Item<QPushButton>(*dialog, kind.sendButton);
            auto* box = Item<QLineEdit>(*dialog, kind.passwordBox);
            box->setText("dbps");
            box->setFocus();
            Answerer answerer(*simulator, kind, *button, *box);
            button->click();
            testsupport::ProcessEventsUntil([] { return false; }, 50);  // anything left over would come now
            EXPECT_EQ(simulator->Received().size(), 1u) << "what the user did during the wait was carried out";
            EXPECT_TRUE(answerer.waitCursorShown);
            // Input after the wait is the user's again.
            button->click();
            EXPECT_EQ(simulator->Received().size(), 2u);
            dialog->EndDialog(platform::ui::kIdCancel);
        }, 60000);
        EXPECT_EQ(boxes, QStringList(2, "The converter refused the request.\nBusy"));
        EXPECT_TRUE(cursorBackForTheBox) << "the message box came while the dialog still looked busy";
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

}  // namespace
}  // namespace landialogs
