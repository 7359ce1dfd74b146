#include "platform/ui/ip_address_field.h"

#include <gtest/gtest.h>

#include <QTest>

#include "platform/ui/template_builder.h"

namespace {

using platform::ui::IpAddressField;

TEST(IpAddressField, HoldsFourFieldsWithBlanksCountedApart) {
    IpAddressField field;
    std::uint32_t address = 1;
    EXPECT_EQ(field.GetAddress(address), 0);
    EXPECT_EQ(address, 0u);
    EXPECT_TRUE(field.IsBlank());
    EXPECT_EQ(field.Text(), "");  // blank, not 0.0.0.0

    field.SetAddress(0xC0A80132);
    EXPECT_EQ(field.Text(), "192.168.1.50");
    EXPECT_EQ(field.GetAddress(address), 4);
    EXPECT_EQ(address, 0xC0A80132u);

    field.Field(3)->clear();
    EXPECT_EQ(field.GetAddress(address), 3);
    EXPECT_EQ(address, 0xC0A80100u);
    EXPECT_EQ(field.Text(), "192.168.1.");
    field.Field(1)->clear();
    EXPECT_EQ(field.Text(), "192..1.");
}

// A text is taken whole or not at all: never clamped, never in part.
TEST(IpAddressField, TakesOnlyAWholeDottedAddress) {
    struct Case {
        const char* text;
        const char* shown;
    } const cases[] = {
        {"10.1.2.3", "10.1.2.3"},
        {"255.255.255.255", "255.255.255.255"},
        {"0.0.0.0", "0.0.0.0"},
        {"010.001.2.3", "10.1.2.3"},
        {"256.1.1.1", ""},
        {"10.1.1.300", ""},
        {"10.1", ""},
        {"10.1.1.1.1", ""},
        {"10.1.1.", ""},
        {" 10.1.1.1", ""},
        {"10.1.1.1\n", ""},
        {"a.b.c.d", ""},
        {"1000.1.1.1", ""},
        {"", ""},
    };
    IpAddressField field;
    for (const Case& c : cases) {
        field.SetAddress(0x01020304);
        field.SetText(QString::fromLatin1(c.text));
        EXPECT_EQ(field.Text(), c.shown) << c.text;
    }
}

TEST(IpAddressField, AFieldAbove255IsHeldAt255) {
    IpAddressField field;
    field.show();
    QTest::keyClicks(field.Field(0), "300");
    EXPECT_EQ(field.Field(0)->text(), "255");
    QTest::keyClicks(field.Field(1), "12a");  // no letters
    EXPECT_EQ(field.Field(1)->text(), "12");
}

TEST(DialogUnits, FollowTheFontMetrics) {
    QFont font;
    font.setFamily("DejaVu Sans");
    font.setPointSize(8);
    const QFontMetrics metrics(font);
    const QRect rect = platform::ui::DialogUnitsToPixels(font, 8, 16, 40, 8);
    EXPECT_EQ(rect.height(), metrics.height());
    EXPECT_EQ(rect.y(), 2 * metrics.height());
    EXPECT_EQ(rect.width(), 5 * rect.x());
    EXPECT_GT(rect.x(), 0);
}

}  // namespace
