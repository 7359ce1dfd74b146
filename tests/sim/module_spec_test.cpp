#include "sim/module_spec.h"

#include <gtest/gtest.h>

namespace {

sim::ModuleSpec Parse(const std::string& text) {
    sim::ModuleSpec spec;
    std::string error;
    EXPECT_TRUE(sim::ParseModuleSpec(text, spec, error)) << text << ": " << error;
    return spec;
}

TEST(ModuleSpec, FillsDefaultsForWhatIsNotGiven) {
    const sim::ModuleDescription module = Parse("mac=00:40:9D:01:02:03,ip=10.0.0.5").description;
    EXPECT_EQ(module.mac, (sim::Mac{0x00, 0x40, 0x9d, 0x01, 0x02, 0x03}));
    EXPECT_EQ(module.ipAddress, *sim::ParseIpv4("10.0.0.5"));
    EXPECT_EQ(module.subnetMask, *sim::ParseIpv4("255.255.255.0"));
    EXPECT_EQ(module.modelName, "Digi Connect ME");
    EXPECT_EQ(module.realPortPort, 771);
    EXPECT_FALSE(module.portCount);
    EXPECT_EQ(module.outcomeMode, sim::OutcomeMode::Judged);
}

TEST(ModuleSpec, ReadsEveryKey) {
    const sim::ModuleSpec spec = Parse(
        "mac=02:00:00:00:00:01,ip=10.0.0.5,mask=255.255.0.0,gateway=10.0.0.1,dns=10.0.0.2,"
        "name=Desk\\, left,domain=lab,model=,firmware=1.2,hwtype=12,hwrev=3,realport=1027,ports=2,dhcp=1,"
        "password=a\\\\b,outcome=1:5:Address in use,"
        "silent,delay=250,copies=3,type=4,magic=ABCD,badlength=1,stray,pastend,as-mac=02:00:00:00:00:09,"
        "only-from=127.0.0.2");
    const sim::ModuleDescription& module = spec.description;
    EXPECT_EQ(module.subnetMask, *sim::ParseIpv4("255.255.0.0"));
    EXPECT_EQ(module.gateway, *sim::ParseIpv4("10.0.0.1"));
    EXPECT_EQ(module.dnsAddress, *sim::ParseIpv4("10.0.0.2"));
    EXPECT_EQ(module.name, "Desk, left");
    EXPECT_EQ(module.domain, "lab");
    EXPECT_FALSE(module.modelName);
    EXPECT_EQ(module.firmware, "1.2");
    EXPECT_EQ(module.hardwareType, 12);
    EXPECT_EQ(module.hardwareRevision, 3);
    EXPECT_EQ(module.realPortPort, 1027);
    EXPECT_EQ(module.portCount, 2);
    EXPECT_TRUE(module.dhcpEnabled);
    EXPECT_EQ(module.password, "a\\b");
    EXPECT_EQ(module.outcomeMode, sim::OutcomeMode::Forced);
    EXPECT_EQ(module.forcedOutcome, (sim::ReplyOutcome{1, 5, "Address in use"}));

    const sim::Faults& faults = spec.faults;
    EXPECT_TRUE(faults.silent);
    EXPECT_EQ(faults.delay, std::chrono::milliseconds(250));
    EXPECT_EQ(faults.copies, 3);
    EXPECT_EQ(faults.replyType, 4);
    EXPECT_EQ(faults.magic, 0x41424344u);
    EXPECT_TRUE(faults.badFieldLength);
    EXPECT_TRUE(faults.strayAhead);
    EXPECT_TRUE(faults.payloadPastEnd);
    EXPECT_EQ(faults.answerAsMac, (sim::Mac{0x02, 0, 0, 0, 0, 0x09}));
    EXPECT_EQ(faults.onlyFrom, *sim::ParseIpv4("127.0.0.2"));

    EXPECT_EQ(Parse("mac=02:00:00:00:00:01,ip=1.2.3.4,outcome=omit").description.outcomeMode,
              sim::OutcomeMode::Omitted);
    EXPECT_EQ(Parse("mac=02:00:00:00:00:01,ip=1.2.3.4,magic=0x44494748").faults.magic, 0x44494748u);
}

TEST(ModuleSpec, RefusesBadTextWithAReason) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"ip=10.0.0.5", "needs a mac"},
        {"mac=02:00:00:00:00:01", "needs an ip"},
        {"mac=02:00:00:00:00:1,ip=10.0.0.5", "for mac"},
        {"mac=02-00-00-00-00-01,ip=10.0.0.5", "for mac"},
        {"mac=02:00:00:00:00:01,ip=10.0.0.256", "for ip"},
        {"mac=02:00:00:00:00:01,ip=10.0.0.5,colour=blue", "unknown key \"colour\""},
        {"mac=02:00:00:00:00:01,ip=10.0.0.5,hwtype=256", "for hwtype"},
        {"mac=02:00:00:00:00:01,ip=10.0.0.5,ports=-1", "for ports"},
        {"mac=02:00:00:00:00:01,ip=10.0.0.5,realport=65536", "for realport"},
        {"mac=02:00:00:00:00:01,ip=10.0.0.5,copies=0", "for copies"},
        {"mac=02:00:00:00:00:01,ip=10.0.0.5,dhcp=yes", "for dhcp"},
        {"mac=02:00:00:00:00:01,ip=10.0.0.5,delay=1s", "for delay"},
        {"mac=02:00:00:00:00:01,ip=10.0.0.5,outcome=1:5", "for outcome"},
        {"mac=02:00:00:00:00:01,ip=10.0.0.5,magic=DIG", "for magic"},
        {"mac=02:00:00:00:00:01,ip=10.0.0.5,name", "for name"},
        {"mac=02:00:00:00:00:01,ip=10.0.0.5,name=x\\", "lone backslash"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        sim::ModuleSpec spec;
        std::string error;
        EXPECT_FALSE(sim::ParseModuleSpec(c.text, spec, error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

}  // namespace
