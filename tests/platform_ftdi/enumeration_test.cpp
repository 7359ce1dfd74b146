#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ftdi.h"
#include "platform/ftdi_linux.h"
#include "sim/console/device_tree.h"
#include "tests/support/open_watch.h"

namespace {

namespace fs = std::filesystem;
using platform::FtdiDeviceNode;
using platform::FtdiStatus;
using platform::SysfsFtdiDriver;
using sim::console::FakeDeviceTree;
using sim::console::FakeUsbSerial;

struct Listed {
    std::uint32_t id;
    std::string description;
    std::int32_t comPort = -1;
    bool operator==(const Listed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Listed& listed) {
    return out << std::hex << listed.id << std::dec << " \"" << listed.description << "\" COM "
               << listed.comPort;
}

std::vector<Listed> List(platform::FtdiDriver& driver) {
    std::uint32_t count = 99;
    EXPECT_EQ(driver.BuildDeviceList(count), FtdiStatus::kOk);
    std::vector<FtdiDeviceNode> nodes(count);
    std::uint32_t read = 0;
    EXPECT_EQ(driver.ReadDeviceList(nodes, read), FtdiStatus::kOk);
    EXPECT_EQ(read, count);
    std::vector<Listed> listed;
    for (const FtdiDeviceNode& node : nodes) {
        EXPECT_EQ(node.description.back(), '\0');
        listed.push_back({node.deviceId, node.description.data(), node.comPort});
    }
    return listed;
}

TEST(FtdiEnumeration, ListsFtdiDriverTtysInTtyOrderWithTheirUsbIdentityWithoutOpeningThem) {
    FakeDeviceTree tree;
    tree.AddEntry({.ttyNumber = 10, .product = "Converter ten"});
    tree.AddPort({.ttyNumber = 2, .productId = 0x6001, .product = "Other FTDI bridge"});
    tree.AddEntry(
        {.ttyNumber = 1, .vendorId = 0x10c4, .productId = 0xea60, .product = "Foreign", .driver = "cp210x"});
    tree.AddPort({.ttyNumber = 0});
    testsupport::OpenWatch watch;
    for (const char* node : {"ttyUSB0", "ttyUSB2"}) watch.Watch(tree.DevRoot() / node);
    SysfsFtdiDriver driver(tree.Roots());

    // The other FTDI product is listed with its own ID (the link leaves it out); the tty on
    // another driver is not listed at all; ttyUSB10 sorts after ttyUSB2. The COM port number is
    // the tty's, known without opening it.
    const std::vector<Listed> expected = {{0x04036009, "TQ7 Converter", 0},
                                          {0x04036001, "Other FTDI bridge", 2},
                                          {0x04036009, "Converter ten", 10}};
    EXPECT_EQ(List(driver), expected);
    EXPECT_EQ(watch.Opens(tree.DevRoot() / "ttyUSB0"), 0);
    EXPECT_EQ(watch.Opens(tree.DevRoot() / "ttyUSB2"), 0);
}

TEST(FtdiEnumeration, DescriptionKeepsAtMost63BytesAndNeverSplitsACharacter) {
    struct Case {
        std::string product;
        std::string expected;
    };
    const std::string sixtyThree(63, 'a');
    const std::string cafe = "caf\xc3\xa9";  // "é" is two bytes
    const Case cases[] = {
        {"", ""},
        {sixtyThree, sixtyThree},
        {sixtyThree + "b", sixtyThree},
        {std::string(100, 'x'), std::string(63, 'x')},
        {std::string(62, 'a') + cafe.substr(3), std::string(62, 'a')},  // é would straddle the cut
        {std::string(61, 'a') + cafe.substr(3), std::string(61, 'a') + cafe.substr(3)},
        {std::string(60, 'a') + "\xf0\x9f\x98\x80", std::string(60, 'a')},  // four bytes, the last one cut
        // Not UTF-8 (Latin-1 "\xb1" is "±"): cut by bytes, not emptied.
        {std::string(70, '\xb1'), std::string(63, '\xb1')},
        {std::string(62, 'a') + std::string(8, '\xb1'), std::string(62, 'a') + '\xb1'},
    };
    for (const Case& c : cases) {
        FakeDeviceTree tree;
        tree.AddEntry({.product = c.product});
        SysfsFtdiDriver driver(tree.Roots());
        const std::vector<Listed> listed = List(driver);
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_EQ(listed[0].description, c.expected) << "product of " << c.product.size() << " bytes";
    }
}

// sysfs trees the kernel would not make, or makes only for other devices.
TEST(FtdiEnumeration, SkipsEntriesItCannotReadAsAnFtdiUsbDevice) {
    FakeDeviceTree tree;
    tree.AddEntry({.ttyNumber = 0, .product = "good"});
    tree.AddEntry({.ttyNumber = 1});
    tree.AddEntry({.ttyNumber = 2});
    tree.AddEntry({.ttyNumber = 3});
    const fs::path devices = tree.SysfsRoot() / "devices" / "usb1";
    std::ofstream(devices / "1-2" / "idVendor") << "zz03\n";         // ttyUSB1: not hexadecimal
    std::ofstream(devices / "1-3" / "idProduct") << "16009\n";       // ttyUSB2: wider than 16 bits
    fs::remove(devices / "1-4" / "1-4:1.0" / "ttyUSB3" / "driver");  // ttyUSB3: bound to no driver
    // Names other than ttyUSBN are not USB serial ttys of ours.
    const fs::path bus = tree.SysfsRoot() / "bus" / "usb-serial" / "devices";
    fs::create_directory_symlink(fs::relative(devices / "1-1" / "1-1:1.0" / "ttyUSB0", bus), bus / "ttyUSBx");
    fs::create_directory_symlink(fs::relative(devices / "1-1" / "1-1:1.0" / "ttyUSB0", bus), bus / "ttyACM0");
    SysfsFtdiDriver driver(tree.Roots());
    EXPECT_EQ(List(driver), (std::vector<Listed>{{0x04036009, "good", 0}}));

    // A missing product string still lists the device, with an empty description.
    fs::remove(devices / "1-1" / "product");
    EXPECT_EQ(List(driver), (std::vector<Listed>{{0x04036009, "", 0}}));
}

TEST(FtdiEnumeration, NoTreeListsNothing) {
    SysfsFtdiDriver driver({"/nonexistent-sysfs-root", "/nonexistent-dev-root"});
    std::uint32_t count = 7;
    EXPECT_EQ(driver.BuildDeviceList(count), FtdiStatus::kOk);
    EXPECT_EQ(count, 0u);
    platform::FtdiHandle handle = 42;
    EXPECT_NE(driver.Open(0, handle), FtdiStatus::kOk);
    EXPECT_EQ(handle, 42u);
}

TEST(FtdiEnumeration, ListAndOpenReferToTheLastSnapshotUntilTheNextBuild) {
    FakeDeviceTree tree;
    tree.AddEntry({.ttyNumber = 0, .product = "first"});
    SysfsFtdiDriver driver(tree.Roots());
    std::uint32_t count = 0;
    ASSERT_EQ(driver.BuildDeviceList(count), FtdiStatus::kOk);
    ASSERT_EQ(count, 1u);
    tree.AddEntry({.ttyNumber = 1, .product = "second"});

    std::vector<FtdiDeviceNode> nodes(4);
    std::uint32_t read = 0;
    EXPECT_EQ(driver.ReadDeviceList(nodes, read), FtdiStatus::kOk);
    EXPECT_EQ(read, 1u);
    platform::FtdiHandle handle = platform::kNoFtdiHandle;
    EXPECT_EQ(driver.Open(1, handle), FtdiStatus::kDeviceNotFound);  // not in the snapshot
    EXPECT_EQ(driver.Open(0, handle), FtdiStatus::kDeviceNotFound);  // listed, but no node
    EXPECT_EQ(handle, platform::kNoFtdiHandle);

    ASSERT_EQ(driver.BuildDeviceList(count), FtdiStatus::kOk);
    EXPECT_EQ(count, 2u);
}

TEST(FtdiEnumeration, ReadingIntoTooSmallAnArrayFillsWhatFitsAndFails) {
    FakeDeviceTree tree;
    for (int n = 0; n < 3; ++n) tree.AddEntry({.ttyNumber = n, .product = "dev" + std::to_string(n)});
    SysfsFtdiDriver driver(tree.Roots());
    std::uint32_t count = 0;
    ASSERT_EQ(driver.BuildDeviceList(count), FtdiStatus::kOk);
    ASSERT_EQ(count, 3u);
    // Exactly two nodes, so a write past them is caught by the address sanitizer.
    auto nodes = std::make_unique<FtdiDeviceNode[]>(2);
    std::uint32_t read = 0;
    EXPECT_NE(driver.ReadDeviceList(std::span(nodes.get(), 2), read), FtdiStatus::kOk);
    EXPECT_EQ(read, 2u);
    EXPECT_STREQ(nodes[1].description.data(), "dev1");
}

TEST(FtdiDefaultDriver, TakesItsRootsFromTheEnvironmentAndCanBeReplaced) {
    ::setenv("TQ7_SYSFS_ROOT", "/some/sys", 1);
    ::setenv("TQ7_DEV_ROOT", "", 1);  // empty counts as unset
    const platform::FtdiRoots roots = platform::FtdiRootsFromEnvironment();
    EXPECT_EQ(roots.sysfs, "/some/sys");
    EXPECT_EQ(roots.dev, "/dev");
    ::unsetenv("TQ7_SYSFS_ROOT");
    ::unsetenv("TQ7_DEV_ROOT");
    EXPECT_EQ(platform::FtdiRootsFromEnvironment().sysfs, "/sys");

    FakeDeviceTree tree;
    tree.AddEntry({});
    SysfsFtdiDriver driver(tree.Roots());
    platform::FtdiDriver& system = platform::DefaultFtdiDriver();
    platform::SetDefaultFtdiDriver(&driver);
    EXPECT_EQ(&platform::DefaultFtdiDriver(), &driver);
    EXPECT_EQ(List(platform::DefaultFtdiDriver()).size(), 1u);
    platform::SetDefaultFtdiDriver(nullptr);
    EXPECT_EQ(&platform::DefaultFtdiDriver(), &system);
}

}  // namespace
