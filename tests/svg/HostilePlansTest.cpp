// Plans no venue would draw but a server may send: nesting far deeper than
// the thread's stack allows, entity tricks, escaped ampersands and geometry
// that is zero, negative or not finite.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "graphics/RecordingContext.h"
#include "graphics/ShapeLayer.h"
#include "svg/dom/Element.h"
#include "svg/dom/NodeList.h"
#include "svg/dom/SVGDocument.h"
#include "svg/dom/Text.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/image/SVGXImage.h"
#include "svg/parser/SVGXParser.h"
#include "svg/sources/SVGXSourceString.h"
#include "svg/views/SVGXFastImageView.h"

namespace svg {
namespace {

SVGXParseResultPtr parseHostile(const std::string& text) {
    return SVGXParser::parseSourceUsingDefaultSVGXParser(SVGXSourceString::sourceFromContentsOfString(text));
}

size_t depthBelow(const std::shared_ptr<Node>& node) {
    size_t depth = 0;
    for (auto current = node; current;) {
        std::shared_ptr<Node> next;
        for (const auto& child : current->childNodes()->internalArray()) {
            if (child->nodeType() == DOMNodeType::Element) next = child;
        }
        if (next) ++depth;
        current = next;
    }
    return depth;
}

TEST(HostilePlansTest, DepthCostsHeapNotStack) {
    constexpr int kDepth = 200000;
    std::string text = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\">";
    text.reserve(size_t(kDepth) * 8 + 200);
    for (int i = 0; i < kDepth; ++i) text += "<g>";
    text += "deep";
    for (int i = 0; i < kDepth; ++i) text += "</g>";
    text += "</svg>";
    {
        auto image = SVGXImage::imageWithSource(SVGXSourceString::sourceFromContentsOfString(text));
        ASSERT_TRUE(image);
        EXPECT_TRUE(image->parseErrorsAndWarnings()->errorsFatal().empty());
        EXPECT_EQ(depthBelow(image->DOMTree()), size_t(kDepth));
        EXPECT_EQ(image->DOMTree()->textContent(), "deep");
        EXPECT_TRUE(SVGXFastImageView::svgImageHasNoGradients(*image));
        // The layer builder stops at its own depth cap.
        EXPECT_TRUE(image->CALayerTree());
    }
    // Built by hand as well, without the parser, and let go.
    auto root = Element::create(DOMNodeType::Element, "root");
    auto current = root;
    for (int i = 0; i < kDepth; ++i) current = current->appendChild(Element::create(DOMNodeType::Element, "g"));
    current->appendChild(std::make_shared<Text>("x"));
    EXPECT_EQ(root->textContent(), "x");
    root.reset();
    current.reset();
}

TEST(HostilePlansTest, EntitiesAreNeverExpandedNorFetched) {
    char folderTemplate[] = "/tmp/qva-entities-XXXXXX";
    ASSERT_TRUE(mkdtemp(folderTemplate));
    std::filesystem::path folder = folderTemplate;
    // Were either file read, its text or its defaulted attribute would show
    // up in the document.
    std::ofstream(folder / "secret.txt") << "SECRET-FROM-DISK";
    std::ofstream(folder / "plan.dtd") << "<!ENTITY leak \"DTD-LEAK\">\n"
                                       << "<!ATTLIST rect class CDATA \"from-dtd\">\n";
    std::string secret = "file://" + (folder / "secret.txt").string();
    std::string dtd = "file://" + (folder / "plan.dtd").string();

    std::string external = "<?xml version=\"1.0\"?>\n<!DOCTYPE svg [<!ENTITY secret SYSTEM \"" + secret +
                           "\">]>\n<svg xmlns=\"http://www.w3.org/2000/svg\"><text>&secret;</text>"
                           "<rect id=\"a\" title=\"&secret;\"/></svg>";
    std::string externalDTD = "<?xml version=\"1.0\" standalone=\"no\"?>\n<!DOCTYPE svg SYSTEM \"" + dtd +
                              "\">\n<svg xmlns=\"http://www.w3.org/2000/svg\"><rect id=\"a\"/>"
                              "<text>&leak;</text></svg>";
    std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE svg [<!ENTITY lol \"lol\">";
    laughs += "<!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">";
    for (int i = 2; i <= 9; ++i) {
        std::string previous = "&lol" + std::to_string(i - 1) + ";";
        laughs += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) laughs += previous;
        laughs += "\">";
    }
    laughs += "]>\n<svg xmlns=\"http://www.w3.org/2000/svg\"><text>&lol9;</text>"
              "<rect id=\"a\" title=\"&lol9;\"/></svg>";

    for (const std::string* text : {&external, &externalDTD, &laughs}) {
        auto result = parseHostile(*text);
        std::string all;
        if (auto root = result->rootOfSVGTree()) {
            all = root->textContent().value_or("");
            if (auto rect = result->parsedDocument()->getElementById("a")) {
                all += rect->getAttribute("title") + rect->getAttribute("class");
            }
        }
        EXPECT_EQ(all.find("SECRET"), std::string::npos);
        EXPECT_EQ(all.find("DTD-LEAK"), std::string::npos);
        EXPECT_EQ(all.find("from-dtd"), std::string::npos);
        EXPECT_LT(all.size(), 100u) << "an entity was expanded";
    }
    std::filesystem::remove_all(folder);
}

// Every frame, path point and line width in the tree is a finite number.
bool allFinite(const graphics::Layer& layer) {
    auto finite = [](graphics::Rect r) {
        return std::isfinite(r.origin.x) && std::isfinite(r.origin.y) && std::isfinite(r.size.width) &&
               std::isfinite(r.size.height);
    };
    if (!finite(layer.frame()) || !finite(layer.bounds())) return false;
    if (const auto* shape = dynamic_cast<const graphics::ShapeLayer*>(&layer)) {
        if (!std::isfinite(shape->lineWidth())) return false;
        if (shape->path()) {
            for (const auto& element : shape->path()->elements()) {
                for (int i = 0; i < element.pointCount(); ++i) {
                    auto p = element.points[size_t(i)];
                    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
                }
            }
        }
    }
    for (const auto& sublayer : layer.sublayers()) {
        if (!allFinite(*sublayer)) return false;
    }
    return true;
}

TEST(HostilePlansTest, UnusableSizesCountAsUnset) {
    const char* sizes[][3] = {{"0", "0", "0 0 0 0"},          {"-10", "10", "0 0 -5 5"},
                              {"nan", "inf", "nan nan nan nan"}, {"1e39", "1e39", "0 0 1e39 1e39"},
                              {"100", "100", "0 0 0 50"},        {"0", "100", "0 0 100 100"}};
    for (const auto& size : sizes) {
        std::string text = std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"") + size[0] +
                           "\" height=\"" + size[1] + "\" viewBox=\"" + size[2] +
                           "\"><g transform=\"scale(2)\"><path d=\"M0 0 L10 10\" stroke=\"#000\" stroke-width=\"3\"/>"
                           "<rect x=\"1\" y=\"1\" width=\"5\" height=\"5\"/></g></svg>";
        auto image = SVGXImage::imageWithSource(SVGXSourceString::sourceFromContentsOfString(text));
        ASSERT_TRUE(image) << text;
        auto tree = image->CALayerTree();
        ASSERT_TRUE(tree);
        EXPECT_TRUE(allFinite(*tree)) << text;
        graphics::Size imageSize = image->size();
        bool usable = std::isfinite(imageSize.width) && std::isfinite(imageSize.height);
        EXPECT_TRUE(usable) << text;
        // The last two keep a size: their usable viewport or view box.
        EXPECT_EQ(image->hasSize(), &size - sizes >= 4) << text;
        // Drawn through the fast view at some size all the same.
        auto view = SVGXFastImageView::initWithSVGXImage(image);
        view->setFrame({0, 0, 50, 50});
        graphics::RecordingContext context;
        view->display(context);
    }
}

}  // namespace
}  // namespace svg
