// Fonts by name, the deterministic measurer and the device model.
#include <gtest/gtest.h>

#include "graphics/DeviceModel.h"
#include "graphics/FontRegistry.h"
#include "graphics/TextMeasurer.h"

using namespace graphics;

TEST(Text, FontsAndMeasuring) {
    FontRegistry& registry = FontRegistry::shared();
    EXPECT_FALSE(registry.fontWithName("NoSuchFamily", 12));
    Font helvetica = *registry.fontWithName("Helvetica", 10);
    Font verdana = *registry.fontWithName("Verdana", 10);
    EXPECT_EQ(helvetica.pointSize(), 10);

    // Fixed numbers, so a change of metrics shows up here and not as a
    // different row height on some machine.
    Size hi = TextMeasurer::measure(helvetica, "Hi");
    EXPECT_DOUBLE_EQ(hi.width, 9.0);
    EXPECT_DOUBLE_EQ(hi.height, 12.0);
    EXPECT_EQ(TextMeasurer::measure(helvetica, ""), (Size{0, 0}));
    EXPECT_GT(TextMeasurer::width(verdana, "Hi"), hi.width);
    EXPECT_EQ(TextMeasurer::measure(helvetica, "Hi"), hi);

    // Words wrap at the width, trailing spaces do not count, and a trailing
    // break adds no line.
    std::vector<TextLine> lines = TextMeasurer::lines(helvetica, "aaa bbb  ccc", 45);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "aaa bbb");
    EXPECT_DOUBLE_EQ(lines[0].width, 6 * 5.2 + 2.8);
    EXPECT_EQ(lines[1].text, "ccc");
    EXPECT_EQ(TextMeasurer::measure(helvetica, "a\n\nb\n").height, 3 * helvetica.lineHeight());
    EXPECT_EQ(TextMeasurer::lines(helvetica, "a\r\nb").size(), 2u);

    // A word wider than the width breaks between characters, never leaving a
    // line empty.
    std::vector<TextLine> broken = TextMeasurer::lines(helvetica, "abcdefgh", 16);
    ASSERT_EQ(broken.size(), 3u);
    EXPECT_EQ(broken[0].text, "abc");
    EXPECT_EQ(TextMeasurer::lines(helvetica, "mmm", 1).size(), 3u);

    // No limit for non-positive widths; malformed UTF-8 still measures.
    EXPECT_EQ(TextMeasurer::lines(helvetica, "aaa bbb", 0).size(), 1u);
    EXPECT_GT(TextMeasurer::width(helvetica, "\xff\xc3"), 0);
    EXPECT_DOUBLE_EQ(TextMeasurer::width(helvetica, "\xe6\x97\xa5"), 10.0);

    registry.registerFont("TestFace", FontMetrics{1, 0, 0, 2, false});
    EXPECT_DOUBLE_EQ(TextMeasurer::measure(*registry.fontWithName("TestFace", 10), "i").width, 4.8);
}

TEST(Text, DeviceModel) {
    EXPECT_FALSE(DeviceModel::machine().empty());
    DeviceModel::setMachineOverride("iPhone7,2");
    EXPECT_EQ(DeviceModel::machine(), "iPhone7,2");
    DeviceModel::setMachineOverride(std::nullopt);
    EXPECT_NE(DeviceModel::machine(), "iPhone7,2");
}
