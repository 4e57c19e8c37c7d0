// SVG lengths and device density, colours, and the rectangle functions.
#include <gtest/gtest.h>

#include "foundation/Log.h"
#include "graphics/DeviceModel.h"
#include "svg/css/SVGLength.h"
#include "svg/elements/SVGRGBAColor.h"
#include "svg/elements/SVGRect.h"

namespace svg {
namespace {

struct MachineOverride {
    explicit MachineOverride(const std::string& machine) { graphics::DeviceModel::setMachineOverride(machine); }
    ~MachineOverride() { graphics::DeviceModel::setMachineOverride(std::nullopt); }
};

TEST(SVGValuesTest, LengthsAnswerPixelsAndNumbers) {
    auto inch = SVGLength::svgLengthFromNSString("1in");
    const float pixelsPerInch = inch->internalCSSPrimitiveValue()->pixelsPerInch();
    EXPECT_EQ(inch->pixelsValue(), pixelsPerInch);
    EXPECT_EQ(inch->unitType(), SVG_LENGTHTYPE_IN);
    // The density is the process's, whatever the model says later.
    {
        MachineOverride phone("iPhone7,2");
        EXPECT_EQ(SVGLength::svgLengthFromNSString("2in")->pixelsValue(), 2 * pixelsPerInch);
    }

    EXPECT_EQ(SVGLength::svgLengthFromNSString("12")->pixelsValue(), 12);
    EXPECT_EQ(SVGLength::svgLengthFromNSString("12")->numberValue(), 12);
    EXPECT_EQ(SVGLength::svgLengthFromNSString("12px")->numberValue(), 0);
    EXPECT_EQ(SVGLength::svgLengthFromNSString("12px")->value(), 12);
    EXPECT_EQ(SVGLength::svgLengthFromNSString("50%")->numberValue(), 0.5f);
    EXPECT_EQ(SVGLength::svgLengthFromNSString("50%")->pixelsValue(), 0);
    EXPECT_EQ(SVGLength::svgLengthFromNSString("3deg")->unitType(), SVG_LENGTHTYPE_UNKNOWN);
    auto zero = SVGLength::svgLengthZero();
    EXPECT_EQ(zero->pixelsValue(), 0);
    EXPECT_EQ(zero->value(), 0);
    EXPECT_EQ(zero->unitType(), SVG_LENGTHTYPE_UNKNOWN);
    auto dimension = std::make_shared<CSSPrimitiveValue>();
    dimension->setFloatValue(CSS_DIMENSION, 4);
    EXPECT_EQ(SVGLength(dimension).unitType(), SVG_LENGTHTYPE_NUMBER);

    struct Case {
        const char* machine;
        float pixelsPerInch;
    };
    for (auto [machine, expected] :
         {Case{"iPhone3,1", 163}, Case{"iPhone10,3", 163}, Case{"iPhone7,2", 326}, Case{"iPod5,1", 326},
          Case{"iPad2,5", 132}, Case{"iPad4,1", 264}, Case{"iPad13,4", 132}, Case{"i386", 0}, Case{"", 0}}) {
        MachineOverride model(machine);
        EXPECT_EQ(SVGLength::pixelsPerInchForCurrentDevice(), expected) << machine;
    }
    foundation::ScopedLogCapture log;
    MachineOverride workstation("x86_64");
    EXPECT_EQ(SVGLength::pixelsPerInchForCurrentDevice(), 132);
    EXPECT_TRUE(log.contains("[SVGLength] WARNING: you are running on the simulator"));
}

TEST(SVGValuesTest, ColoursParseTheirThreeFormsAndKeywords) {
    auto rgba = [](const char* text) {
        auto c = SVGRGBAColorFromString(text);
        return std::vector<int>{c.r, c.g, c.b, c.a};
    };
    using V = std::vector<int>;
    EXPECT_EQ(rgba("#f00"), (V{255, 0, 0, 255}));
    EXPECT_EQ(rgba("#ff0000"), (V{255, 0, 0, 255}));
    EXPECT_EQ(rgba("#1A2b3C"), (V{0x1a, 0x2b, 0x3c, 255}));
    EXPECT_EQ(rgba("#ff00"), (V{0, 0, 0, 255}));
    EXPECT_EQ(rgba("#g0f"), (V{0, 0, 255, 255}));
    EXPECT_EQ(rgba("#1g0000"), (V{1, 0, 0, 255}));
    EXPECT_EQ(rgba("rgb(255, 128, 0)"), (V{255, 128, 0, 255}));
    EXPECT_EQ(rgba("rgb(300,0,0)"), (V{44, 0, 0, 255}));
    EXPECT_EQ(rgba("rgb(10,20)"), (V{10, 0, 0, 255}));
    EXPECT_EQ(rgba("rgb(12.7, 50%,\n-1) trailing"), (V{12, 50, 255, 255}));
    EXPECT_EQ(rgba("rgb(1,2,3,4)"), (V{1, 2, 3, 255}));
    EXPECT_EQ(rgba("red"), (V{255, 0, 0, 255}));
    EXPECT_EQ(rgba("lightgoldenrodyellow"), (V{250, 250, 210, 255}));
    EXPECT_EQ(rgba("aliceblue"), (V{240, 248, 255, 255}));
    EXPECT_EQ(rgba("yellowgreen"), (V{154, 205, 50, 255}));
    for (const char* text : {"Red", " red", "none", "", "rgb", "RGB(1,2,3)"}) {
        EXPECT_EQ(rgba(text), (V{0, 0, 0, 255})) << text;
    }
    EXPECT_EQ(rgba(nullptr), (V{0, 0, 0, 255}));

    std::string longToken = "rgb(" + std::string(10000, '7') + ",1," + std::string(10000, ' ') + "2)";
    EXPECT_EQ(rgba(longToken.c_str()), (V{255, 1, 2, 255}));  // the red token clamps, then keeps its low byte
    std::string longHex = "#" + std::string(10000, 'f');
    EXPECT_EQ(rgba(longHex.c_str()), (V{0, 0, 0, 255}));

    auto color = CGColorFromSVGRGBAColor(SVGRGBAColor{255, 0, 51, 255});
    EXPECT_EQ(color.colorSpace(), graphics::ColorSpace::deviceRGB());
    EXPECT_EQ(color.components(), (std::vector<double>{1, 0, 0.2f, 1}));
}

TEST(SVGValuesTest, OnlyTheAllMinusOneRectangleIsUninitialised) {
    EXPECT_FALSE(SVGRectIsInitialized(SVGRectUninitialized()));
    EXPECT_TRUE(SVGRectIsInitialized(SVGRectMake(-1, -1, -1, 0)));
    EXPECT_TRUE(SVGRectIsInitialized(SVGRectMake(0, 0, 0, 0)));
    EXPECT_EQ(CGSizeFromSVGRect(SVGRectUninitialized()), (graphics::Size{-1, -1}));
    EXPECT_EQ(CGRectFromSVGRect(SVGRectMake(1.5f, 2, 3, 4)), graphics::Rect(1.5, 2, 3, 4));
}

}  // namespace
}  // namespace svg
