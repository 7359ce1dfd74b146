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

    field.SetAddress(0xC0A80132);
    EXPECT_EQ(field.Text(), "192.168.1.50");
    EXPECT_EQ(field.GetAddress(address), 4);
    EXPECT_EQ(address, 0xC0A80132u);

    field.Field(3)->clear();
    EXPECT_EQ(field.GetAddress(address), 3);
    EXPECT_EQ(address, 0xC0A80100u);
    EXPECT_EQ(field.Text(), "192.168.1.0");

    field.SetText("10.1");
    EXPECT_EQ(field.GetAddress(address), 2);
    EXPECT_EQ(address, 0x0A010000u);
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
