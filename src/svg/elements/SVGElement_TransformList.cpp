// The transform-list grammar of "transform" and "gradientTransform".
//
// An item is a run of characters other than "(", ")" and ",", then "(", then
// everything up to the next ")": the text "translate(10,20) scale(2)" holds
// "translate(10,20" and " scale(2". The items are found by a plain scan
// rather than a regular-expression engine, so a long attribute costs linear
// time. Each accepted item acts before the items to its left, as SVG reads a
// list: the rightmost item is applied to a point first.
#include <numbers>
#include <string_view>
#include <vector>

#include "foundation/Log.h"
#include "svg/elements/SVGElement.h"
#include "svg/elements/SVGFloatFromString.h"
#include "svg/elements/SVGTransformable.h"

namespace svg {

namespace {

struct TransformItem {
    std::string_view text;       // the whole item, as the log shows it
    std::string_view name;       // before the "(", blanks trimmed
    std::string_view arguments;  // after the "("
};

std::string_view trimSpaces(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Every run of delimiter-free text that ends at a "(" starts an item; a run
// ending at ")" or "," or at the end starts none.
std::vector<TransformItem> transformItems(std::string_view text) {
    std::vector<TransformItem> items;
    size_t position = 0;
    while (position < text.size()) {
        size_t delimiter = text.find_first_of("(),", position);
        if (delimiter == std::string_view::npos) break;
        if (text[delimiter] != '(') {
            position = delimiter + 1;
            continue;
        }
        size_t end = text.find(')', delimiter + 1);
        if (end == std::string_view::npos) end = text.size();
        items.push_back({text.substr(position, end - position), trimSpaces(text.substr(position, delimiter - position)),
                         text.substr(delimiter + 1, end - delimiter - 1)});
        position = end;
    }
    return items;
}

// Pieces between commas and spaces; empty pieces are dropped.
std::vector<double> transformArguments(std::string_view text) {
    std::vector<double> numbers;
    size_t position = 0;
    while (position <= text.size()) {
        size_t cut = text.find_first_of(", ", position);
        if (cut == std::string_view::npos) cut = text.size();
        if (cut > position) numbers.push_back(SVGFloatFromString(text.substr(position, cut - position)));
        position = cut + 1;
    }
    return numbers;
}

}  // namespace

void SVGElement::applyTransformList(const std::string& text, SVGTransformable& target,
                                    const SVGXParseResultPtr& parseResult) {
    using graphics::AffineTransform;
    for (const TransformItem& item : transformItems(text)) {
        std::vector<double> arguments = transformArguments(item.arguments);
        AffineTransform step;
        if (item.name == "translate" && !arguments.empty()) {
            step = AffineTransform::makeTranslation(arguments[0], arguments.size() > 1 ? arguments[1] : 0);
        } else if (item.name == "scale" && !arguments.empty()) {
            step = AffineTransform::makeScale(arguments[0], arguments.size() > 1 ? arguments[1] : arguments[0]);
        } else if (item.name == "matrix" && arguments.size() >= 6) {
            step = AffineTransform::make(arguments[0], arguments[1], arguments[2], arguments[3], arguments[4],
                                         arguments[5]);
        } else if (item.name == "rotate" && (arguments.size() == 1 || arguments.size() == 3)) {
            double radians = arguments[0] * std::numbers::pi / 180;
            step = AffineTransform::makeRotation(radians);
            if (arguments.size() == 3) {
                // About (cx, cy): move the centre to the origin, turn, move back.
                step = concat(concat(AffineTransform::makeTranslation(-arguments[1], -arguments[2]), step),
                              AffineTransform::makeTranslation(arguments[1], arguments[2]));
            }
        } else if (item.name == "rotate") {
            foundation::Log(
                "[%@] ERROR: input file is illegal, has an SVG matrix transform attribute without the required 1 or 3 "
                "parameters. Item = %@, transform attribute value = %@",
                className(), item.text, text);
            continue;
        } else if (item.name == "translate" || item.name == "scale" || item.name == "matrix") {
            // Too few numbers to read: skipped like a rotation of the wrong count.
            foundation::Log(
                "[%@] ERROR: input file is illegal, has an SVG %@ transform attribute without enough parameters. "
                "Item = %@, transform attribute value = %@",
                className(), item.name, item.text, text);
            continue;
        } else if (item.name == "skewX" || item.name == "skewY") {
            foundation::Log("[%@] ERROR: skew is unsupported: %@", className(), item.name);
            if (parseResult) {
                parseResult->addParseErrorRecoverable(foundation::Error::withDescription(
                    kSVGXLibraryErrorDomain, kSVGXErrorCodeUnsupportedTransform,
                    foundation::Format("transform=%@ is unsupported", item.name)));
            }
            continue;
        } else {
            continue;
        }
        target.setTransform(concat(step, target.transform()));
    }
}

}  // namespace svg
