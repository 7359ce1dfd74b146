#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/support/far_end.h"
#include "tests/usb/usb_fixture.h"
#include "usb/device_list.h"

namespace {

using platform::FtdiStatus;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class UsbReadTest : public UsbLinkTest {
protected:
    void SetUp() override {
        UsbLinkTest::SetUp();
        UsbEnumerate();
        ASSERT_TRUE(UsbOpenSelected(g_cbDevice.GetWindowText()));
        ASSERT_EQ(m_driver.SetTimeouts(g_usbLink.handle, 1000, 1000), FtdiStatus::kOk);
    }

    void Send(std::string_view bytes) { testsupport::WriteFarEnd(m_port.Master(), bytes); }

    std::string_view Read() {
        ClearReceiveBuffer();
        EXPECT_EQ(UsbRead(), FtdiStatus::kOk);
        EXPECT_EQ(g_usbLink.lastStatus, FtdiStatus::kOk);
        return UsbReplyText();
    }

    sim::console::PseudoTerminal& m_port = m_tree.AddPort({.ttyNumber = 0});
};

TEST_F(UsbReadTest, AReadReturnsWhatArrivedByTheTimeOut) {
    const auto timeOut = platform::Scaled(1000ms);
    const auto start = Clock::now();
    Send("login: ");
    EXPECT_EQ(Read(), "login: ");
    EXPECT_EQ(g_usbLink.rxCount, 7u);
    EXPECT_GE(Clock::now() - start, timeOut);  // it waited for more

    EXPECT_EQ(Read(), "");  // nothing arrives: still success
    EXPECT_EQ(g_usbLink.rxCount, 0u);
}

TEST_F(UsbReadTest, TheReplyTextEndsAtTheFirstNulAndAtWhatArrived) {
    Send(std::string_view("#>\0stray", 8));
    EXPECT_EQ(Read(), "#>");
    EXPECT_EQ(g_usbLink.rxCount, 8u);

    // Without clearing, an earlier longer reply is still in the buffer; the text stops at what the
    // last read delivered.
    Send("a much longer reply");
    EXPECT_EQ(Read(), "a much longer reply");
    Send("#>");
    ASSERT_EQ(UsbRead(), FtdiStatus::kOk);
    EXPECT_EQ(UsbReplyText(), "#>");
}

TEST_F(UsbReadTest, SixThousandBytesEndTheReadAtOnceAndFillTheBuffer) {
    // A ten-minute time-out: a read that waited for it fails the test, and no busy machine takes
    // half of it to move six thousand bytes.
    platform::SetTimeScale(600.0);
    std::string reply(6000, 'x');
    for (std::size_t i = 0; i < reply.size(); i += 61) reply[i] = '\n';
    const std::string rest = "tail";
    std::thread farEnd([&] { Send(reply + rest); });
    const auto start = Clock::now();
    const std::string_view text = Read();
    const auto took = Clock::now() - start;
    farEnd.join();

    EXPECT_LT(took, platform::Scaled(1000ms) / 2);
    EXPECT_EQ(g_usbLink.rxCount, kRxBufferSize);
    EXPECT_EQ(text.size(), kRxBufferSize);
    EXPECT_EQ(text, reply);
    // What came after the 6000th byte waits for the next read.
    platform::SetTimeScale(0.1);
    EXPECT_EQ(Read(), rest);
}

TEST_F(UsbReadTest, PurgeDiscardsWhatWaitedOnTheLine) {
    Send("stale login: prompt");
    std::this_thread::sleep_for(50ms);  // let the bytes reach the program's side
    UsbPurge();
    Send("#>");
    EXPECT_EQ(Read(), "#>");
}

TEST_F(UsbReadTest, AReadOnALinkThatHungUpFails) {
    platform::SetTimeScale(600.0);  // the hang-up, not the time-out, is to end the read
    Send("half a re");
    std::thread unplug([&] {
        std::this_thread::sleep_for(20ms);
        m_port.Close();
    });
    ClearReceiveBuffer();
    EXPECT_NE(UsbRead(), FtdiStatus::kOk);
    unplug.join();
    EXPECT_NE(g_usbLink.lastStatus, FtdiStatus::kOk);
    EXPECT_LE(UsbReplyText().size(), std::string_view("half a re").size());
}

}  // namespace
