// Screenshots probed pixel by pixel on a 375×667 screen at scale 1: frames,
// borders, visibility, alpha, clipping, images, text, bars, table rows and
// the alert overlay; repeatability, scale, and a view drawn alone matching
// its rectangle of the screen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "../dispatch/VirtualTime.h"
#include "support/TemporaryDirectory.h"
#include "foundation/FileManager.h"
#include "foundation/RunLoop.h"
#include "foundation/StringUtils.h"
#include "graphics/Bitmap.h"
#include "graphics/Layer.h"
#include "graphics/TextMeasurer.h"
#include "uikit/DeviceProfile.h"
#include "uikit/HTMLText.h"
#include "uikit/NSAttributedString.h"
#include "uikit/ScreenDescription.h"
#include "uikit/ScreenRenderer.h"
#include "uikit/UIActionSheet.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIGraphicsImageContext.h"
#include "uikit/UIImage.h"
#include "uikit/UIFont.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UITabBar.h"
#include "uikit/UITabBarController.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UITextField.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWebView.h"
#include "uikit/UIWindow.h"

namespace {

using namespace uikit;
using graphics::Bitmap;
using graphics::Color;
using graphics::Pixel;

Pixel pixelOf(const Color& color) {
    auto c = color.rgba();
    return {uint8_t(c.red * 255 + 0.5), uint8_t(c.green * 255 + 0.5), uint8_t(c.blue * 255 + 0.5),
            uint8_t(c.alpha * 255 + 0.5)};
}

// Within a step or two of rounding on every component.
::testing::AssertionResult near(Pixel actual, Pixel expected, int tolerance = 3) {
    auto off = [&](uint8_t a, uint8_t b) { return std::abs(int(a) - int(b)) > tolerance; };
    if (off(actual.red, expected.red) || off(actual.green, expected.green) || off(actual.blue, expected.blue) ||
        off(actual.alpha, expected.alpha)) {
        return ::testing::AssertionFailure() << "pixel " << int(actual.red) << "," << int(actual.green) << ","
                                             << int(actual.blue) << "," << int(actual.alpha) << " expected "
                                             << int(expected.red) << "," << int(expected.green) << ","
                                             << int(expected.blue) << "," << int(expected.alpha);
    }
    return ::testing::AssertionSuccess();
}

UIViewPtr coloured(const graphics::Rect& frame, const Color& color) {
    auto view = std::make_shared<UIView>(frame);
    view->setBackgroundColor(color);
    return view;
}

class Screenshots : public VirtualTime {
protected:
    void SetUp() override {
        VirtualTime::SetUp();
        UIApplication::sharedApplication().resetForTests();
        DeviceProfile::apply(DeviceProfile::iPhone6());
        window = UIApplication::sharedApplication().keyWindow();
        root = std::make_shared<UIViewController>();
        window->setRootViewController(root);
        root->view()->setBackgroundColor(Color::white());
        foundation::RunLoop::main().runDueTasks();
    }
    void TearDown() override {
        window->setRootViewController(nullptr);
        foundation::RunLoop::main().runDueTasks();
        UIApplication::sharedApplication().resetForTests();
        VirtualTime::TearDown();
    }
    Bitmap shot(double scale = 1) { return renderScreen(*window, scale); }
    void add(const UIViewPtr& view) { root->view()->addSubview(view); }

    UIWindowPtr window;
    UIViewControllerPtr root;
};

TEST_F(Screenshots, ViewsDrawAtTheirFramesWithBordersAlphaVisibilityAndClipping) {
    auto red = coloured({10, 10, 50, 50}, Color::rgb(1, 0, 0));
    red->layer()->setBorderWidth(2);
    red->layer()->setBorderColor(Color::rgb(0, 0, 1));
    add(red);
    auto black = coloured({100, 30, 100, 100}, Color::black());
    add(black);
    auto hidden = coloured({10, 10, 30, 30}, Color::rgb(0, 1, 0));
    hidden->setHidden(true);
    black->addSubview(hidden);
    auto transparent = coloured({50, 10, 30, 30}, Color::rgb(0, 1, 0));
    transparent->setAlpha(0);
    black->addSubview(transparent);
    auto half = coloured({10, 60, 30, 30}, Color::white());
    half->setAlpha(0.5);
    black->addSubview(half);
    auto clipping = coloured({250, 30, 50, 50}, Color::rgb(0, 0, 1));
    clipping->setClipsToBounds(true);
    clipping->addSubview(coloured({25, 25, 100, 100}, Color::rgb(1, 0, 0)));
    add(clipping);
    // Scrolled content: the bounds origin moves what is drawn.
    auto scrolled = coloured({10, 200, 100, 100}, Color::white());
    scrolled->setBounds({0, 50, 100, 100});
    scrolled->addSubview(coloured({0, 50, 20, 20}, Color::rgb(0, 1, 0)));
    add(scrolled);

    Bitmap bitmap = shot();
    ASSERT_EQ(bitmap.width(), 375);
    ASSERT_EQ(bitmap.height(), 667);
    EXPECT_TRUE(near(bitmap.pixel(35, 35), pixelOf(Color::rgb(1, 0, 0))));
    EXPECT_TRUE(near(bitmap.pixel(10, 35), pixelOf(Color::rgb(0, 0, 1))));
    EXPECT_TRUE(near(bitmap.pixel(11, 35), pixelOf(Color::rgb(0, 0, 1))));
    EXPECT_TRUE(near(bitmap.pixel(12, 35), pixelOf(Color::rgb(1, 0, 0))));
    EXPECT_TRUE(near(bitmap.pixel(125, 55), pixelOf(Color::black())));  // hidden
    EXPECT_TRUE(near(bitmap.pixel(165, 55), pixelOf(Color::black())));  // alpha 0
    EXPECT_TRUE(near(bitmap.pixel(125, 105), {128, 128, 128, 255}));   // white at 0.5 over black
    EXPECT_TRUE(near(bitmap.pixel(290, 75), pixelOf(Color::rgb(1, 0, 0))));
    EXPECT_TRUE(near(bitmap.pixel(299, 79), pixelOf(Color::rgb(1, 0, 0))));
    EXPECT_TRUE(near(bitmap.pixel(300, 75), pixelOf(Color::white())));  // cut at the parent's right edge
    EXPECT_TRUE(near(bitmap.pixel(290, 80), pixelOf(Color::white())));  // and its bottom edge
    EXPECT_TRUE(near(bitmap.pixel(15, 205), pixelOf(Color::rgb(0, 1, 0))));
    EXPECT_TRUE(near(bitmap.pixel(15, 255), pixelOf(Color::white())));
    // A transform turns a view about its centre.
    red->setTransform(graphics::AffineTransform::makeRotation(3.14159265358979 / 4));
    bitmap = shot();
    EXPECT_TRUE(near(bitmap.pixel(35, 35), pixelOf(Color::rgb(1, 0, 0))));
    EXPECT_TRUE(near(bitmap.pixel(59, 22), pixelOf(Color::white())));
}

TEST_F(Screenshots, ImagesAndLabelsShowTheirContent) {
    TemporaryDirectory folder;
    Bitmap green(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) green.setPixel(x, y, {0, 255, 0, 255});
    ASSERT_EQ(green.writePNG(folder / "green.png"), nullptr);
    auto imageView = std::make_shared<UIImageView>(graphics::Rect{20, 100, 60, 40});
    imageView->setImage(UIImage::imageWithContentsOfFile(folder / "green.png"));
    imageView->setContentMode(UIViewContentMode::ScaleAspectFit);
    add(imageView);
    auto label = std::make_shared<UILabel>(graphics::Rect{100, 100, 200, 40});
    label->setBackgroundColor(Color::rgb(1, 1, 0));
    label->setText("Hello");
    add(label);

    Bitmap bitmap = shot();
    EXPECT_TRUE(near(bitmap.pixel(50, 120), pixelOf(Color::rgb(0, 1, 0))));
    EXPECT_TRUE(near(bitmap.pixel(25, 120), pixelOf(Color::white())));  // aspect fit leaves the sides
    for (auto [x, y] : {std::pair{100, 100}, {299, 100}, {100, 139}, {299, 139}}) {
        EXPECT_TRUE(near(bitmap.pixel(x, y), pixelOf(Color::rgb(1, 1, 0)))) << x << "," << y;
    }
    auto lines = label->visibleLines();
    ASSERT_EQ(lines.size(), 1u);
    int dark = 0;
    for (int y = 100; y < 140; ++y) {
        for (int x = 100; x < 100 + int(lines[0].width) + 1; ++x) {
            Pixel p = bitmap.pixel(x, y);
            if (p.red < 100 && p.green < 100 && p.blue < 100) ++dark;
        }
    }
    EXPECT_GT(dark, 0);

    // Attributed runs keep their own colours along the line.
    auto inColour = [](const Color& color) {
        return TextAttributes{UIFont::boldSystemFontOfSize(30), color, std::nullopt, std::nullopt};
    };
    auto text = NSAttributedString::make("RRRRRR", inColour(Color::rgb(1, 0, 0)));
    text->appendString("BBBBBB", inColour(Color::rgb(0, 0, 1)));
    label->setAttributedText(text);
    label->setBackgroundColor(Color::white());
    label->setFrame({20, 200, 340, 60});
    bitmap = shot();
    auto count = [&](int from, int to, auto test) {
        int n = 0;
        for (int y = 200; y < 260; ++y)
            for (int x = from; x < to; ++x) n += test(bitmap.pixel(x, y)) ? 1 : 0;
        return n;
    };
    double split = 20 + graphics::TextMeasurer::width(label->visibleLines()[0].font->font(), "RRRRRR");
    auto red = [](Pixel p) { return p.red > 200 && p.blue < 60 && p.green < 60; };
    auto blue = [](Pixel p) { return p.blue > 200 && p.red < 60 && p.green < 60; };
    EXPECT_GT(count(20, int(split) - 1, red), 0);
    EXPECT_EQ(count(20, int(split) - 1, blue), 0);
    EXPECT_GT(count(int(split) + 1, 360, blue), 0);
    EXPECT_EQ(count(int(split) + 1, 360, red), 0);
}

TEST_F(Screenshots, BarsShowTheirColours) {
    auto content = std::make_shared<UIViewController>();
    auto navigation = UINavigationController::withRootViewController(content);
    navigation->navigationBar()->setBarTintColor(Color::rgb(0.8, 0.1, 0.1));
    navigation->navigationBar()->setTranslucent(false);
    content->setTitle(std::string("Title"));
    auto tabs = std::make_shared<UITabBarController>();
    tabs->setViewControllers({navigation, std::make_shared<UIViewController>()});
    window->setRootViewController(tabs);
    foundation::RunLoop::main().runDueTasks();

    Bitmap bitmap = shot();
    EXPECT_TRUE(near(bitmap.pixel(5, 40), pixelOf(Color::rgb(0.8, 0.1, 0.1))));
    EXPECT_TRUE(near(bitmap.pixel(5, 640), pixelOf(Color::gray(0.97))));
    // The status bar strip sits above the navigation bar.
    EXPECT_TRUE(near(bitmap.pixel(187, 2), pixelOf(Color::white())));
    UIApplication::sharedApplication().setStatusBarHidden(true, UIStatusBarAnimation::None);
    bitmap = shot();
    EXPECT_FALSE(near(bitmap.pixel(187, 2), pixelOf(Color::white())));
}

class Rows : public UITableViewDataSource {
public:
    int64_t tableViewNumberOfRowsInSection(UITableView&, int64_t) override { return 3; }
    UITableViewCellPtr tableViewCellForRowAtIndexPath(UITableView&, const NSIndexPath& indexPath) override {
        auto cell = std::make_shared<UITableViewCell>(UITableViewCellStyle::Default, std::string("row"));
        cell->textLabel()->setText("Row " + std::to_string(indexPath.row));
        if (indexPath.row == 1) cell->setAccessoryType(UITableViewCellAccessoryType::DisclosureIndicator);
        return cell;
    }
    std::optional<std::string> tableViewTitleForHeaderInSection(UITableView&, int64_t) override { return "Section"; }
};

TEST_F(Screenshots, TableRowsShowHeadersSeparatorsAndAccessories) {
    auto rows = std::make_shared<Rows>();
    auto table = std::make_shared<UITableView>(graphics::Rect{0, 100, 375, 300});
    table->setDataSource(rows);
    add(table);
    table->reloadData();
    ASSERT_NE(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0)), nullptr);
    graphics::Rect row = table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0));
    ASSERT_EQ(row, (graphics::Rect{0, 22, 375, 44}));

    Bitmap bitmap = shot();
    const Pixel light = pixelOf(Color::gray(0.78));
    int bottom = 100 + 22 + 44 - 1;
    EXPECT_TRUE(near(bitmap.pixel(200, bottom), light));
    EXPECT_TRUE(near(bitmap.pixel(370, bottom), light));
    EXPECT_TRUE(near(bitmap.pixel(5, bottom), pixelOf(Color::white())));  // the separator inset
    EXPECT_TRUE(near(bitmap.pixel(200, bottom - 1), pixelOf(Color::white())));
    EXPECT_TRUE(near(bitmap.pixel(200, bottom + 1), pixelOf(Color::white())));
    // The plain header band, and the disclosure chevron of row 1 at the right.
    EXPECT_TRUE(near(bitmap.pixel(300, 105), pixelOf(Color::gray(0.93))));
    int chevron = 0;
    for (int y = 166; y < 210; ++y)
        for (int x = 340; x < 375; ++x) chevron += near(bitmap.pixel(x, y), pixelOf(Color::white()), 10) ? 0 : 1;
    EXPECT_GT(chevron, 0);
    // At scale 2 the separator is still one pixel high.
    Bitmap doubled = shot(2);
    EXPECT_TRUE(near(doubled.pixel(400, 2 * (bottom + 1) - 1), light));
    EXPECT_TRUE(near(doubled.pixel(400, 2 * (bottom + 1) - 2), pixelOf(Color::white())));
}

class IndexedRows : public UITableViewDataSource {
public:
    int64_t numberOfSectionsInTableView(UITableView&) override { return 3; }
    int64_t tableViewNumberOfRowsInSection(UITableView&, int64_t) override { return 4; }
    UITableViewCellPtr tableViewCellForRowAtIndexPath(UITableView&, const NSIndexPath&) override {
        return std::make_shared<UITableViewCell>(UITableViewCellStyle::Default, std::string("row"));
    }
    std::vector<std::string> sectionIndexTitlesForTableView(UITableView&) override {
        if (!indexed) return {};
        return {"*", "A", "B"};
    }
    bool indexed = true;
};

// The index lies over the rows at the right edge of what is in view, in the
// tint, also after a scroll.
TEST_F(Screenshots, ATablesSectionIndexShowsOverItsRowsAtTheRightEdge) {
    auto rows = std::make_shared<IndexedRows>();
    auto table = std::make_shared<UITableView>(graphics::Rect{0, 100, 375, 300});
    table->setDataSource(rows);
    add(table);
    auto inkAtTheEdge = [&] {
        table->reloadData();
        const Bitmap bitmap = shot();
        const Pixel tint = pixelOf(window->tintColor());
        int ink = 0;
        for (int y = 100; y < 400; ++y)
            for (int x = 360; x < 375; ++x) ink += near(bitmap.pixel(x, y), tint, 60) ? 1 : 0;
        return ink;
    };
    EXPECT_GT(inkAtTheEdge(), 10);
    table->setContentOffset({0, 200});
    EXPECT_GT(inkAtTheEdge(), 10);
    rows->indexed = false;
    EXPECT_EQ(inkAtTheEdge(), 0);
}

TEST_F(Screenshots, WebViewsShowTheTextOfTheirHTMLOnALightPage) {
    EXPECT_EQ(firstLineOfHTMLText("<html><head><title>T</title><style>p{}</style></head>"
                                    "<body>\n  <p>Fish &amp; <b>chips</b>\n</p><p>Second</p></body></html>"),
              "Fish & chips");
    EXPECT_EQ(firstLineOfHTMLText("plain\n<i>text</i> &lt;3&gt;<br>next"), "plain text <3>");
    EXPECT_EQ(firstLineOfHTMLText("<p>unclosed <b"), "unclosed");
    EXPECT_EQ(firstLineOfHTMLText("<script>var a = '<p>x</p>';</script><div></div>"), "");

    auto web = std::make_shared<UIWebView>(graphics::Rect{0, 100, 375, 200});
    web->loadHTMLString("<p>Hello</p>", std::nullopt);
    add(web);
    foundation::RunLoop::main().runDueTasks();
    Bitmap bitmap = shot();
    EXPECT_TRUE(near(bitmap.pixel(300, 250), pixelOf(Color::gray(0.98))));
    int dark = 0;
    for (int y = 100; y < 130; ++y)
        for (int x = 0; x < 100; ++x) dark += bitmap.pixel(x, y).red < 100 ? 1 : 0;
    EXPECT_GT(dark, 0);
}

// The login note: white centred text in its font, a line break, and a link
// in its own colour.
const char* const kClearNote =
    "<div style='text-align:center; font-size:13px;font-family:HelveticaNeue-Light;color:#FFFFFF;'>Not a "
    "registered user? <br/>Please use our <a style='color:#409ED2;text-decoration:none' "
    "href=\"login:goToPasscodeLogin\">passcode &amp; login</a><br/><br/>&#8212;</div>";

TEST_F(Screenshots, HTMLTextKeepsEveryLineWithTheStylesOfItsElements) {
    const NSAttributedString text = attributedStringFromHTML(kClearNote);
    EXPECT_EQ(text.string(), "Not a registered user?\nPlease use our passcode & login\n\n\xE2\x80\x94");
    const auto& first = text.attributesAtIndex(0);
    EXPECT_EQ(first.foregroundColor, Color::rgb(1, 1, 1));
    EXPECT_EQ(first.font->fontName(), "HelveticaNeue-Light");
    EXPECT_EQ(first.font->pointSize(), 13);
    EXPECT_EQ(first.paragraphStyle->alignment(), NSTextAlignment::Center);
    const size_t link = foundation::StringUtils::length16("Not a registered user?\nPlease use our ");
    EXPECT_EQ(text.attributesAtIndex(link).foregroundColor, Color::rgb(0x40 / 255.0, 0x9E / 255.0, 0xD2 / 255.0));
    EXPECT_EQ(text.attributesAtIndex(link - 1).foregroundColor, Color::rgb(1, 1, 1));
    // A link without a colour of its own is blue; bold tags and headings are bold.
    const NSAttributedString plain = attributedStringFromHTML("<p style='color:red'><a href=x>go</a> <b>now</b></p>");
    EXPECT_EQ(plain.string(), "go now");
    EXPECT_EQ(plain.attributesAtIndex(0).foregroundColor, Color::rgb(0, 0, 238 / 255.0));
    EXPECT_EQ(plain.attributesAtIndex(3).foregroundColor, Color::rgb(1, 0, 0));
    EXPECT_EQ(plain.attributesAtIndex(3).font->fontName(), UIFont::boldSystemFontOfSize(16)->fontName());
}

// A clear web view lays its page's text over what is beneath it: every line,
// the link's line too, and no light page.
TEST_F(Screenshots, AClearWebViewShowsEveryLineOfItsHTMLOverWhatIsBeneath) {
    const Color dark = Color::rgb(0.1, 0.2, 0.4);
    root->view()->setBackgroundColor(dark);
    auto web = std::make_shared<UIWebView>(graphics::Rect{20, 100, 335, 120});
    web->setBackgroundColor(Color::clear());
    web->loadHTMLString(kClearNote, std::nullopt);
    add(web);
    foundation::RunLoop::main().runDueTasks();
    const Bitmap bitmap = shot();
    const Pixel link = pixelOf(Color::rgb(0x40 / 255.0, 0x9E / 255.0, 0xD2 / 255.0));
    auto close = [](Pixel a, Pixel b) {
        return std::abs(a.red - b.red) <= 40 && std::abs(a.green - b.green) <= 40 && std::abs(a.blue - b.blue) <= 40;
    };
    int linkInk = 0, whiteTop = -1, whiteBottom = -1, linkTop = -1;
    for (int y = 100; y < 220; ++y)
        for (int x = 20; x < 355; ++x) {
            const Pixel pixel = bitmap.pixel(x, y);
            if (close(pixel, Pixel{255, 255, 255, 255})) {
                if (whiteTop < 0) whiteTop = y;
                whiteBottom = y;
            }
            if (close(pixel, link)) {
                ++linkInk;
                if (linkTop < 0) linkTop = y;
            }
        }
    for (auto [x, y] : {std::pair{21, 101}, std::pair{353, 101}, std::pair{21, 218}, std::pair{353, 218}})
        EXPECT_TRUE(near(bitmap.pixel(x, y), pixelOf(dark))) << x << "," << y;
    ASSERT_GT(linkInk, 10);
    ASSERT_GE(whiteTop, 0);
    // The link stands on the second line; the dash two lines below it.
    EXPECT_GT(linkTop, whiteTop + 10);
    EXPECT_GT(whiteBottom, linkTop + 25);
}

// Each run of a line is drawn in the room laid out for it: a long run does
// not spread over the blank before the next one (the login note's link).
TEST_F(Screenshots, ALinkAfterALongRunKeepsTheBlankBeforeIt) {
    root->view()->setBackgroundColor(Color::rgb(0.1, 0.2, 0.4));
    auto web = std::make_shared<UIWebView>(graphics::Rect{20, 100, 335, 40});
    web->setBackgroundColor(Color::clear());
    web->loadHTMLString("<div style='font-size:13px;font-family:HelveticaNeue-Light;color:#FFFFFF;'>not need a passcode "
                        "and should login with your <a style='color:#409ED2' href='x'>Orvane</a></div>",
                        std::nullopt);
    add(web);
    foundation::RunLoop::main().runDueTasks();
    const Bitmap bitmap = shot();
    auto inked = [&](int x, bool linkColoured) {
        for (int y = 100; y < 140; ++y) {
            const Pixel pixel = bitmap.pixel(x, y);
            // The white text is grey to white; the link's blue has far more blue than red.
            const bool white = pixel.red > 120 && std::abs(pixel.red - pixel.blue) < 40;
            const bool blue = pixel.blue > 120 && pixel.blue - pixel.red > 80;
            if (linkColoured ? blue : white) return true;
        }
        return false;
    };
    int firstLink = -1;
    for (int x = 20; x < 355 && firstLink < 0; ++x)
        if (inked(x, true)) firstLink = x;
    ASSERT_GT(firstLink, 100);
    int lastWhite = -1;
    for (int x = 20; x < firstLink; ++x)
        if (inked(x, false)) lastWhite = x;
    ASSERT_GT(lastWhite, 0);
    // As wide as the blanks between the run's own words, the narrowest of
    // which is at least as wide as any gap between two letters.
    int narrowestBlank = 1000;
    for (int x = 20, gap = 0, seenInk = 0; x < lastWhite; ++x) {
        if (inked(x, false)) {
            if (seenInk && gap >= 3) narrowestBlank = std::min(narrowestBlank, gap);
            seenInk = 1;
            gap = 0;
        } else {
            ++gap;
        }
    }
    ASSERT_LT(narrowestBlank, 1000);
    EXPECT_GE(firstLink - lastWhite - 1, narrowestBlank);
}

TEST_F(Screenshots, KeyboardPopoverAndActionSheetDrawOverTheTree) {
    auto field = std::make_shared<UITextField>(graphics::Rect{20, 100, 200, 30});
    add(field);
    const Pixel keyboardGrey = pixelOf(Color::gray(0.82));
    EXPECT_FALSE(near(shot().pixel(1, 660), keyboardGrey));
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_TRUE(near(shot().pixel(1, 660), keyboardGrey));
    EXPECT_TRUE(near(shot().pixel(1, 440), pixelOf(Color::white())));  // 216 points high
    field->resignFirstResponder();
    EXPECT_FALSE(near(shot().pixel(1, 660), keyboardGrey));

    // A popover: a rounded box by its anchor, holding its content's view.
    auto content = std::make_shared<UIViewController>();
    content->view()->setBackgroundColor(Color::rgb(0, 0.5, 0));
    auto popover = std::make_shared<UIPopoverController>(content);
    popover->setPopoverContentSize({200, 150});
    popover->presentPopoverFromRect({100, 100, 20, 20}, root->view(), UIPopoverArrowDirectionUp, false);
    foundation::RunLoop::main().runDueTasks();
    graphics::Rect box = popover->popoverView()->frame();
    Bitmap bitmap = shot();
    EXPECT_TRUE(near(bitmap.pixel(int(box.midX()), int(box.midY())), pixelOf(Color::rgb(0, 0.5, 0))));
    EXPECT_FALSE(near(bitmap.pixel(int(box.minX()), int(box.minY())), pixelOf(Color::rgb(0, 0.5, 0))));
    popover->dismissPopoverAnimated(false);
    foundation::RunLoop::main().runDueTasks();

    // An action sheet rises from the bottom over the dimmed screen.
    auto sheet = std::make_shared<UIActionSheet>(std::string("Choose"), std::weak_ptr<UIActionSheetDelegate>{},
                                                 std::string("Cancel"), std::string("Delete"),
                                                 std::vector<std::string>{"Share"});
    sheet->showInView(root->view());
    bitmap = shot();
    EXPECT_TRUE(near(bitmap.pixel(187, 200), {153, 153, 153, 255}));
    EXPECT_TRUE(near(bitmap.pixel(30, 667 - 8 - 22), pixelOf(Color::white())));  // the cancel box
    EXPECT_TRUE(near(bitmap.pixel(30, 667 - 8 - 44 - 4), {153, 153, 153, 255}));  // the gap above it
    EXPECT_TRUE(near(bitmap.pixel(30, 667 - 8 - 44 - 8 - 22), pixelOf(Color::white())));
}

TEST_F(Screenshots, AnAlertDimsTheScreenAroundAWhiteCentredBox) {
    add(coloured({0, 20, 375, 647}, Color::white()));
    auto alert = std::make_shared<UIAlertView>(std::string("Gallery"), std::string("A message"),
                                               std::weak_ptr<UIAlertViewDelegate>{}, "Cancel",
                                               std::vector<std::string>{"OK"});
    Bitmap before = shot();
    alert->show();
    Bitmap after = shot();
    EXPECT_TRUE(near(after.pixel(20, 300), {153, 153, 153, 255}));
    EXPECT_TRUE(near(after.pixel(187, 333), pixelOf(Color::white())));
    // The box is 270 points wide, centred.
    EXPECT_TRUE(near(after.pixel(187 - 130, 333), pixelOf(Color::white())));
    EXPECT_TRUE(near(after.pixel(187 - 140, 333), {153, 153, 153, 255}));
    alert->dismissWithClickedButtonIndex(0, false);
    EXPECT_EQ(shot(), before);
}

TEST_F(Screenshots, NetworkActivityShowsInTheStatusBarAndTheDump) {
    auto& application = UIApplication::sharedApplication();
    Bitmap idle = shot();
    EXPECT_EQ(describe(*window).find("network-activity"), std::string::npos);
    application.setNetworkActivityIndicatorVisible(true);
    Bitmap busy = shot();
    EXPECT_NE(describe(*window).find("status-bar network-activity"), std::string::npos);
    bool marked = false;
    for (int x = 43; x <= 57 && !marked; ++x)
        for (int y = 4; y <= 16 && !marked; ++y) marked = busy.pixel(x, y) != idle.pixel(x, y);
    EXPECT_TRUE(marked);
    application.setNetworkActivityIndicatorVisible(false);
    EXPECT_EQ(shot(), idle);
}

// The model values are final at once; a screenshot taken while the clock is
// inside the animation draws the view part way, and the model stays as set.
TEST_F(Screenshots, AnAnimationUnderWayIsDrawnPartWayAtTheClocksNow) {
    auto mover = coloured({0, 100, 50, 50}, Color::rgb(1, 0, 0));
    add(mover);
    auto fader = coloured({200, 100, 50, 50}, Color::black());
    add(fader);
    UIView::animateWithDuration(
        2, 1, UIViewAnimationOptionCurveLinear,
        [&] {
            mover->setTransform(graphics::AffineTransform::makeTranslation(200, 0));
            fader->setAlpha(0);
        },
        nullptr);
    // In the delay: where they started.
    Bitmap before = shot();
    EXPECT_TRUE(near(before.pixel(25, 125), pixelOf(Color::rgb(1, 0, 0))));
    EXPECT_TRUE(near(before.pixel(225, 125), pixelOf(Color::black())));
    // Half way: moved by 100, half faded.
    foundation::Clock::advance(2);
    Bitmap middle = shot();
    EXPECT_TRUE(near(middle.pixel(25, 125), pixelOf(Color::white())));
    EXPECT_TRUE(near(middle.pixel(125, 125), pixelOf(Color::rgb(1, 0, 0))));
    EXPECT_TRUE(near(middle.pixel(225, 125), Pixel{128, 128, 128, 255}, 4));
    EXPECT_EQ(mover->transform().tx, 200);
    EXPECT_EQ(fader->alpha(), 0);
    // Over: the model values.
    foundation::Clock::advance(1.5);
    Bitmap after = shot();
    EXPECT_TRUE(near(after.pixel(225, 125), pixelOf(Color::rgb(1, 0, 0))));
    EXPECT_TRUE(near(after.pixel(125, 125), pixelOf(Color::white())));
    foundation::RunLoop::main().runDueTasks();
}

TEST_F(Screenshots, TheSameTreeGivesTheSamePixelsAtEveryScale) {
    auto label = std::make_shared<UILabel>(graphics::Rect{20, 100, 200, 40});
    label->setText("Same pixels");
    add(label);
    add(coloured({20, 200, 50, 50}, Color::rgb(0.2, 0.4, 0.6)));
    EXPECT_EQ(shot(), shot());
    Bitmap doubled = shot(2);
    EXPECT_EQ(doubled.width(), 750);
    EXPECT_EQ(doubled.height(), 1334);
    EXPECT_TRUE(near(doubled.pixel(90, 450), pixelOf(Color::rgb(0.2, 0.4, 0.6))));
    EXPECT_TRUE(near(doubled.pixel(150, 450), pixelOf(Color::white())));

    // Written as PNG, it reads back pixel for pixel; an unwritable path is an error.
    TemporaryDirectory folder;
    ASSERT_EQ(writeScreenshot(*window, folder / "screen.png", 2), nullptr);
    auto data = foundation::FileManager::defaultManager().contentsAtPath(folder / "screen.png");
    ASSERT_TRUE(data.has_value());
    auto read = Bitmap::fromPNGData(*data);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(*read, doubled);
    EXPECT_NE(writeScreenshot(*window, folder / "missing/screen.png", 1), nullptr);
}

TEST_F(Screenshots, AViewDrawnAloneMatchesItsRectangleOfTheScreen) {
    auto card = coloured({40, 120, 120, 80}, Color::rgb(0.9, 0.9, 1));
    card->layer()->setBorderWidth(1);
    auto label = std::make_shared<UILabel>(graphics::Rect{10, 10, 100, 30});
    label->setText("Card");
    card->addSubview(label);
    card->addSubview(coloured({10, 50, 20, 20}, Color::rgb(0, 0.5, 0)));
    add(card);
    for (double scale : {1.0, 2.0}) {
        Bitmap screen = shot(scale);
        auto compare = [&](const Bitmap& alone) {
            ASSERT_EQ(alone.width(), int(120 * scale));
            ASSERT_EQ(alone.height(), int(80 * scale));
            int differing = 0;
            for (int y = 0; y < alone.height(); ++y) {
                for (int x = 0; x < alone.width(); ++x) {
                    Pixel a = alone.pixel(x, y);
                    if (a != screen.pixel(x + int(40 * scale), y + int(120 * scale))) ++differing;
                }
            }
            EXPECT_EQ(differing, 0) << "scale " << scale;
        };
        UIGraphicsBeginImageContextWithOptions({120, 80}, false, scale);
        EXPECT_TRUE(card->drawViewHierarchyInRect(card->bounds()));
        auto drawn = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        compare(*drawn->bitmap());
        // The view's layer rendered into a context goes through the same renderer.
        UIGraphicsBeginImageContextWithOptions({120, 80}, false, scale);
        card->layer()->renderInContext(*UIGraphicsGetCurrentContext());
        auto rendered = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        compare(*rendered->bitmap());
    }
    EXPECT_FALSE(card->drawViewHierarchyInRect(card->bounds()));
}

}  // namespace
