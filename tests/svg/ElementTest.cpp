// The element base and the root element: the attribute step, transform
// lists, the upward references, the style cascade, and the root's size,
// view box and look-ups; also the parse result's add operations.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/Log.h"
#include "svg/css/CSSStyleDeclaration.h"
#include "svg/css/CSSStyleSheet.h"
#include "svg/css/SVGLength.h"
#include "svg/css/StyleSheetList.h"
#include "svg/dom/SVGDocument.h"
#include "svg/elements/SVGPathElement.h"
#include "svg/elements/SVGRectElement.h"
#include "svg/elements/SVGSVGElement.h"

namespace svg {
namespace {

const std::string kSVGNamespaceURI = "http://www.w3.org/2000/svg";

// Stands in for the group element, whose values the cascade falls back to.
class TestGroup : public SVGElement, public SVGTransformable {
public:
    using SVGElement::SVGElement;
    bool isGroupForCascade() const override { return true; }
};

template <class T = SVGElement>
std::shared_ptr<T> makeElement(const std::string& name, const std::map<std::string, std::string>& attributes = {},
                        const SVGXParseResultPtr& result = std::make_shared<SVGXParseResult>()) {
    Element::AttributeDictionary dictionary;
    for (const auto& [key, value] : attributes) dictionary[key] = std::make_shared<Attr>(kSVGNamespaceURI, key, value);
    auto element = std::make_shared<T>(name, kSVGNamespaceURI, dictionary);
    element->postProcessAttributesAddingErrorsTo(result);
    return element;
}

graphics::AffineTransform transformOf(const std::string& list, const SVGXParseResultPtr& result =
                                                                   std::make_shared<SVGXParseResult>()) {
    return makeElement<SVGPathElement>("path", {{"transform", list}}, result)->transform();
}

void expectPoint(graphics::Point actual, double x, double y) {
    EXPECT_NEAR(actual.x, x, 1e-9);
    EXPECT_NEAR(actual.y, y, 1e-9);
}

TEST(ElementTest, ParseResultCollectsAndLogsEachKind) {
    foundation::ScopedLogCapture log;
    SVGXParseResult result;
    auto error = foundation::Error::withDescription("SVG-SAX", 1, "broken");
    result.addSourceError(error);
    result.addParseWarning(error);
    result.addParseErrorRecoverable(error);
    result.addParseErrorFatal(error);
    result.addSAXError(error);
    EXPECT_EQ(result.warnings().size(), 1u);
    EXPECT_EQ(result.errorsRecoverable().size(), 2u);
    EXPECT_EQ(result.errorsFatal().size(), 2u);
    EXPECT_TRUE(log.contains("[SVGXParseResult] SVG WARNING (recoverable): "));
    EXPECT_TRUE(log.contains("[SVGXParseResult] SVG ERROR: broken"));
    EXPECT_FALSE(result.parsedDocument());
    EXPECT_FALSE(result.libXMLFailed());
}

TEST(ElementTest, TransformListsComposeRightmostFirst) {
    expectPoint(transformOf("translate(5)").apply(graphics::Point{0, 0}), 5, 0);
    expectPoint(transformOf("scale(2)").apply(graphics::Point{1, 3}), 2, 6);
    expectPoint(transformOf("rotate(90)").apply(graphics::Point{1, 0}), 0, 1);
    expectPoint(transformOf("translate(10,20) scale(2)").apply(graphics::Point{1, 1}), 12, 22);
    expectPoint(transformOf("rotate(90 10 10)").apply(graphics::Point{10, 10}), 10, 10);
    expectPoint(transformOf("rotate(90 10 10)").apply(graphics::Point{11, 10}), 10, 11);
    expectPoint(transformOf("matrix(1 0 0 1 3 4 99)").apply(graphics::Point{0, 0}), 3, 4);
    // A line feed is no separator: "10\n20" reads 10, and an item whose name
    // starts with one matches nothing.
    expectPoint(transformOf("translate(10\n20)").apply(graphics::Point{0, 0}), 10, 0);
    expectPoint(transformOf("translate(1,1)\nscale(3)").apply(graphics::Point{0, 0}), 1, 1);

    {
        foundation::ScopedLogCapture log;
        EXPECT_TRUE(transformOf("rotate(1 2)").isIdentity());
        EXPECT_TRUE(log.contains("without the required 1 or 3 parameters. Item = rotate(1 2"));
    }
    // Items too short to read are skipped; the rest still applies.
    EXPECT_TRUE(transformOf("matrix(1 0 0 1 5)").isIdentity());
    EXPECT_TRUE(transformOf("translate() scale()").isIdentity());
    expectPoint(transformOf("translate() scale(2)").apply(graphics::Point{1, 1}), 2, 2);

    auto result = std::make_shared<SVGXParseResult>();
    foundation::ScopedLogCapture log;
    EXPECT_TRUE(transformOf("skewX(30)", result).isIdentity());
    ASSERT_EQ(result->errorsRecoverable().size(), 1u);
    EXPECT_EQ(result->errorsRecoverable()[0]->domain(), "SVGXLibrary");
    EXPECT_EQ(result->errorsRecoverable()[0]->code(), 15184);
    EXPECT_EQ(result->errorsRecoverable()[0]->localizedDescription(), "transform=skewX is unsupported");
    EXPECT_TRUE(log.contains("[SVGPathElement] ERROR: skew is unsupported: skewX"));

    // "gradientTransform" stands in for an empty "transform"; elements
    // without a transform of their own ignore both.
    auto gradient = makeElement<SVGPathElement>("path", {{"transform", ""}, {"gradientTransform", "translate(7)"}});
    expectPoint(gradient->transform().apply(graphics::Point{0, 0}), 7, 0);
    auto untouched = std::make_shared<SVGXParseResult>();
    makeElement("g", {{"transform", "skewY(3)"}}, untouched);
    EXPECT_TRUE(untouched->errorsRecoverable().empty());
}

TEST(ElementTest, AttributeStepReadsIdentityStyleClassAndPointOfInterest) {
    auto element = makeElement("g", {{"id", "room-1"},
                              {"style", "fill:red"},
                              {"class", "room big"},
                              {"isSelectable", "true"},
                              {"type", "room"},
                              {"idRoom", "L12"}});
    EXPECT_EQ(element->identifier(), "room-1");
    ASSERT_TRUE(element->style());
    EXPECT_EQ(element->style()->getPropertyValue("fill"), "red");
    EXPECT_EQ(element->styleClassName(), "room big");
    EXPECT_EQ(element->isSelectable(), "true");
    EXPECT_EQ(element->pointOfInterestType(), "room");
    EXPECT_EQ(element->idRoom(), "L12");

    // Empty "id", "isSelectable" are absent; empty "style" and "class" count.
    auto bare = makeElement("g", {{"id", ""}, {"style", ""}, {"class", ""}, {"isSelectable", ""}, {"type", "stairs"}});
    EXPECT_FALSE(bare->identifier());
    EXPECT_TRUE(bare->style());
    EXPECT_EQ(bare->styleClassName(), "");
    EXPECT_FALSE(bare->isSelectable());
    EXPECT_EQ(bare->pointOfInterestType(), "stairs");
    EXPECT_EQ(makeElement("g")->style(), nullptr);
    EXPECT_NE(bare->description().find("| id=(null) | prefix:localName=(null):g | tagName=g |"), std::string::npos);
}

TEST(ElementTest, UpwardReferencesFollowTheTree) {
    auto document = std::make_shared<SVGDocument>();
    auto root = makeElement<SVGSVGElement>("svg", {{"width", "10"}});
    document->appendChild(root);
    auto group = makeElement<TestGroup>("g");
    root->appendChild(group);
    auto path = makeElement<SVGPathElement>("path");
    group->appendChild(path);
    EXPECT_FALSE(root->rootOfCurrentDocumentFragment());
    EXPECT_FALSE(root->viewportElement());
    EXPECT_EQ(group->rootOfCurrentDocumentFragment(), root);
    EXPECT_EQ(group->viewportElement(), root);
    EXPECT_EQ(path->rootOfCurrentDocumentFragment(), root);
    EXPECT_EQ(path->viewportElement(), root);

    auto nested = makeElement<SVGSVGElement>("svg");
    group->appendChild(nested);
    auto inner = makeElement("rect");
    nested->appendChild(inner);
    EXPECT_EQ(nested->rootOfCurrentDocumentFragment(), nested);
    EXPECT_EQ(nested->viewportElement(), nested);
    EXPECT_EQ(inner->rootOfCurrentDocumentFragment(), nested);
    EXPECT_EQ(inner->viewportElement(), nested);

    // A plain element tagged svg with a size gives its own viewport.
    foundation::ScopedLogCapture log;
    auto foreign = makeElement("svg", {{"height", "3"}});
    group->appendChild(foreign);
    EXPECT_EQ(foreign->viewportElement(), foreign);
    EXPECT_TRUE(log.contains("[SVGElement] WARNING: setting self (tag = svg) to be a viewport"));
    group->removeChild(path);
    EXPECT_FALSE(path->rootOfCurrentDocumentFragment());
    EXPECT_FALSE(path->viewportElement());
}

TEST(ElementTest, CascadeTakesAttributeStyleClassRuleThenGroups) {
    auto root = makeElement<SVGSVGElement>("svg");
    root->styleSheets()->internalArray().push_back(std::make_shared<CSSStyleSheet>(".room{stroke:black}"));
    auto outer = makeElement<TestGroup>("g", {{"fill", "green"}, {"stroke-width", "3"}});
    auto inner = makeElement<TestGroup>("g", {{"style", "stroke-width:2"}});
    root->appendChild(outer);
    outer->appendChild(inner);

    auto room = makeElement<SVGPathElement>("path", {{"class", "room"}});
    inner->appendChild(room);
    EXPECT_EQ(room->cascadedValueForStylableProperty("stroke"), "black");
    // The matching rule decides, even without the property.
    EXPECT_EQ(room->cascadedValueForStylableProperty("fill"), std::nullopt);

    auto plain = makeElement<SVGPathElement>("path", {{"style", "fill:red"}, {"fill", "blue"}});
    inner->appendChild(plain);
    EXPECT_EQ(plain->cascadedValueForStylableProperty("fill"), "blue");
    EXPECT_EQ(plain->cascadedValueForStylableProperty("stroke-width"), "2");
    auto other = makeElement<SVGPathElement>("path", {{"class", "desk"}});
    inner->appendChild(other);
    EXPECT_EQ(other->cascadedValueForStylableProperty("fill"), "green");
    EXPECT_EQ(other->cascadedValueForStylableProperty("opacity"), std::nullopt);

    // Nothing comes from the svg element itself, nor do the outer file's
    // rules reach into a nested svg.
    root->setAttribute("opacity", "0.5");
    auto direct = makeElement<SVGPathElement>("path");
    root->appendChild(direct);
    EXPECT_EQ(direct->cascadedValueForStylableProperty("opacity"), std::nullopt);
    auto nested = makeElement<SVGSVGElement>("svg");
    inner->appendChild(nested);
    auto hidden = makeElement<SVGPathElement>("path", {{"class", "room"}});
    nested->appendChild(hidden);
    EXPECT_EQ(hidden->cascadedValueForStylableProperty("stroke"), std::nullopt);
    EXPECT_EQ(hidden->cascadedValueForStylableProperty("fill"), std::nullopt);
}

TEST(ElementTest, RootReadsSizeViewBoxAndFindsElements) {
    foundation::ScopedLogCapture log;
    auto sized = makeElement<SVGSVGElement>("svg", {{"width", "800"}, {"height", "600"}});
    EXPECT_EQ(CGRectFromSVGRect(sized->viewport()), graphics::Rect(0, 0, 800, 600));
    EXPECT_FALSE(SVGRectIsInitialized(sized->viewBox()));
    EXPECT_TRUE(log.contains("[SVGSVGElement] DEBUG INFO: set document viewBox = {{-1, -1}, {-1, -1}}"));
    EXPECT_FALSE(SVGRectIsInitialized(makeElement<SVGSVGElement>("svg", {{"width", "800"}})->viewport()));
    // A size with no positive, finite pixel value counts as not given.
    for (const char* bad : {"100%", "0", "-5", "nan", "inf", "1e39"}) {
        EXPECT_FALSE(SVGRectIsInitialized(makeElement<SVGSVGElement>("svg", {{"width", bad}, {"height", "600"}})->viewport()))
            << bad;
        EXPECT_FALSE(SVGRectIsInitialized(makeElement<SVGSVGElement>("svg", {{"width", "600"}, {"height", bad}})->viewport()))
            << bad;
    }

    auto box = [](const std::string& text) { return makeElement<SVGSVGElement>("svg", {{"viewBox", text}})->viewBox(); };
    EXPECT_EQ(CGRectFromSVGRect(box("0 0 1000 500")), graphics::Rect(0, 0, 1000, 500));
    EXPECT_FALSE(SVGRectIsInitialized(box("0  0 1000 500")));
    for (const char* bad : {"0 0 0 500", "0 0 10 -1", "0 0 1e39 10", "0 0 nan 10", "0 0 10 inf"}) {
        EXPECT_FALSE(SVGRectIsInitialized(box(bad))) << bad;
    }
    EXPECT_FALSE(SVGRectIsInitialized(box("0,0,1000,500")));
    EXPECT_FALSE(SVGRectIsInitialized(box("0 0 1000")));

    auto root = makeElement<SVGSVGElement>("svg", {{"id", "top"}});
    EXPECT_TRUE(root->styleSheets());
    EXPECT_EQ(root->styleSheets()->length(), 0u);
    auto group = makeElement<TestGroup>("g");
    auto deep = makeElement<SVGRectElement>("rect", {{"id", "r1"}});
    root->appendChild(group);
    group->appendChild(deep);
    EXPECT_EQ(root->getElementById("r1"), deep);
    EXPECT_EQ(root->getElementById("top"), root);
    EXPECT_FALSE(root->getElementById("none"));
    EXPECT_EQ(root->findFirstElementOfClass<TestGroup>(), group);
    EXPECT_FALSE(root->findFirstElementOfClass<SVGRectElement>());
    EXPECT_FALSE(root->createSVGLength());
    EXPECT_TRUE(root->animationsPaused());
}

}  // namespace
}  // namespace svg
