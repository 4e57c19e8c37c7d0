// The page's picture is drawn here rather than read from the resources, whose
// pictures are flat colours: a blur needs edges and colours to show.
#include "quovana/GalleryEffects.h"

#include <string>
#include <vector>

#include "Utils/MESegmentedControl.h"
#include "Utils/StringHTML.h"
#include "Utils/UIImageImageEffects.h"
#include "graphics/CairoContext.h"
#include "graphics/Gradient.h"
#include "graphics/MutablePath.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UIScreen.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIViewController.h"

using graphics::Color;
using graphics::Rect;

namespace quovana {

namespace {

constexpr const char* kEffectsCell = "galleryEffectsCell";
constexpr double kTileWidth = 110;
constexpr double kTileHeight = 80;
constexpr const char* kHTMLFragment =
    "<p>Fish &amp; chips</p><!-- the menu --><p>at <b>noon</b> &ndash; bring&nbsp;a&nbsp;friend</p>";

// A landscape: a sky fading to the horizon, a sun, two hills and a lake
// with bright stripes, at the screen's scale.
uikit::UIImagePtr landscape() {
    const double scale = uikit::UIScreen::mainScreen().scale();
    graphics::CairoContext context(int(kTileWidth * scale), int(kTileHeight * scale));
    context.scaleCTM(scale, scale);
    graphics::MutablePath all;
    all.addRect(Rect(0, 0, kTileWidth, kTileHeight));
    context.saveGState();
    context.clipToPath(all);
    const graphics::Gradient sky(graphics::ColorSpace::deviceRGB(),
                                 {Color::rgb(0.15, 0.35, 0.8), Color::rgb(0.95, 0.7, 0.45)}, {0, 1});
    context.drawLinearGradient(sky, {0, 0}, {0, 50}, graphics::kGradientDrawsAfterEndLocation);
    context.restoreGState();
    graphics::MutablePath sun;
    sun.addEllipseInRect(Rect(70, 12, 22, 22));
    context.fillPath(sun, Color::rgb(1, 0.9, 0.2));
    graphics::MutablePath far;
    far.moveToPoint({0, 50});
    far.addQuadCurveToPoint({30, 20}, {70, 48});
    far.addLineToPoint({0, 60});
    far.closeSubpath();
    context.fillPath(far, Color::rgb(0.2, 0.5, 0.25));
    graphics::MutablePath near;
    near.moveToPoint({40, 56});
    near.addQuadCurveToPoint({80, 28}, {110, 50});
    near.addLineToPoint({110, 62});
    near.addLineToPoint({40, 62});
    near.closeSubpath();
    context.fillPath(near, Color::rgb(0.1, 0.35, 0.15));
    graphics::MutablePath lake;
    lake.addRect(Rect(0, 58, kTileWidth, kTileHeight - 58));
    context.fillPath(lake, Color::rgb(0.1, 0.3, 0.55));
    for (int i = 0; i < 4; ++i) {
        graphics::MutablePath stripe;
        stripe.addRect(Rect(8 + 26 * i, 64 + 4 * (i % 2), 14, 2));
        context.fillPath(stripe, Color::rgb(0.85, 0.9, 1));
    }
    return uikit::UIImage::imageWithBitmap(std::make_shared<graphics::Bitmap>(context.bitmap()), scale);
}

class GalleryEffectsViewController : public uikit::UIViewController {
public:
    GalleryEffectsViewController() {
        setTitle(std::string("Effects and badges"));
        setEdgesForExtendedLayout(uikit::UIRectEdgeNone);
    }

    void viewDidLoad() override {
        uikit::UIViewController::viewDidLoad();
        auto root = view();
        root->setBackgroundColor(uikit::UIColor::whiteColor());
        const double width = root->bounds().size.width;
        const double gap = (width - 3 * kTileWidth) / 4;

        auto photo = landscape();
        using namespace UIImageImageEffects;
        const std::vector<std::pair<std::string, uikit::UIImagePtr>> tiles = {
            {"Photo", photo},
            {"Light", applyLightEffect(*photo)},
            {"Extra light", applyExtraLightEffect(*photo)},
            {"Dark", applyDarkEffect(*photo)},
            {"Red tint", applyTintEffectWithColor(*photo, uikit::UIColor::colorWithRed(1, 0, 0, 1))},
            {"Saturated", applyBlurWithRadius(*photo, 0, std::nullopt, 1.8, nullptr)},
        };
        for (size_t i = 0; i < tiles.size(); ++i) {
            const double x = gap + double(i % 3) * (kTileWidth + gap);
            const double y = 12 + double(i / 3) * (kTileHeight + 30);
            auto image = std::make_shared<uikit::UIImageView>(tiles[i].second);
            image->setFrame(Rect(x, y, kTileWidth, kTileHeight));
            root->addSubview(image);
            auto caption = std::make_shared<uikit::UILabel>(Rect(x, y + kTileHeight + 2, kTileWidth, 18));
            caption->setFont(uikit::UIFont::systemFontOfSize(13));
            caption->setText(tiles[i].first);
            root->addSubview(caption);
        }

        auto segments = std::make_shared<MESegmentedControl>(
            std::vector<uikit::UISegmentedControl::Item>{std::string("Inbox"), std::string("Sent"),
                                                         std::string("Drafts")},
            Rect(20, 250, width - 40, 29));
        segments->setSelectedSegmentIndex(0);
        segments->setOutletName(std::string("badgedSegments"));
        root->addSubview(segments);
        segments->setBadgeNumber(3, 0);
        segments->setBadgeNumber(12, 1);

        auto html = std::make_shared<uikit::UILabel>(Rect(20, 300, width - 40, 42));
        html->setNumberOfLines(0);
        html->setText(StringHTML::stringByConvertingHTMLToPlainText(kHTMLFragment));
        html->setOutletName(std::string("htmlText"));
        root->addSubview(html);
    }

    std::string className() const override { return "GalleryEffectsViewController"; }
};

}  // namespace

std::shared_ptr<uikit::UITableViewCell> galleryEffectsCell(uikit::UITableView& table) {
    auto cell = table.dequeueReusableCellWithIdentifier(kEffectsCell);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kEffectsCell);
    cell->textLabel()->setText(std::string("Effects and badges"));
    cell->setAccessoryType(uikit::UITableViewCellAccessoryType::DisclosureIndicator);
    return cell;
}

void addGalleryEffects(uikit::UIStoryboard& storyboard, const char* fromScene) {
    storyboard.addScene(kGalleryEffectsScene, [](uikit::UIStoryboard&) -> uikit::UIViewControllerPtr {
        return std::make_shared<GalleryEffectsViewController>();
    });
    uikit::UIStoryboardSegueDefinition push;
    push.identifier = "showEffects";
    push.kind = uikit::UIStoryboardSegueKind::Push;
    push.destination = kGalleryEffectsScene;
    push.trigger = {uikit::UIStoryboardSegueTrigger::Kind::TableCell, kEffectsCell};
    storyboard.addSegue(fromScene, push);
}

}  // namespace quovana
