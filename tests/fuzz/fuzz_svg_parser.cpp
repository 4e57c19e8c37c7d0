// Any bytes given as a floor-plan file parse without a sanitizer report and
// without an exception, into a tree in which every node is reached once and
// knows its parent; a file with a document also gives a layer tree that
// draws, in which every layer id is found again and copied.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "foundation/Log.h"
#include "graphics/RecordingContext.h"
#include "svg/dom/NodeList.h"
#include "svg/dom/SVGDocument.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/image/SVGXImage.h"
#include "svg/layers/SVGHelperUtilities.h"
#include "svg/parser/SVGXParser.h"
#include "svg/sources/SVGXSource.h"

using namespace svg;

namespace {

void checkTree(const std::shared_ptr<Node>& root) {
    std::set<const Node*> seen;
    std::vector<std::shared_ptr<Node>> pending{root};
    while (!pending.empty()) {
        auto node = pending.back();
        pending.pop_back();
        if (!seen.insert(node.get()).second) std::abort();
        for (const auto& child : *node->childNodes()) {
            if (child->parentNode() != node) std::abort();
            pending.push_back(child);
        }
    }
}

void checkLayers(SVGXImage& image, const graphics::LayerPtr& layer, size_t& budget) {
    if (budget == 0) return;
    --budget;
    if (const std::string* id = layer->valueForKey(kSVGElementIdentifierKey).string()) {
        if (!image.layerWithIdentifier(*id)) std::abort();
        if (!image.newCopyPositionedAbsoluteOfLayer(layer)) std::abort();
        (void)image.newCopyPositionedAbsoluteLayerWithIdentifier(*id, graphics::Color::rgb(1, 0, 0));
    }
    for (const auto& sublayer : layer->sublayers()) checkLayers(image, sublayer, budget);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const bool quiet = (foundation::setLogSink([](const std::string&) {}), true);
    (void)quiet;

    auto source = SVGXSource::sourceFromData(foundation::Data(bytes, size));
    auto result = SVGXParser::parseSourceUsingDefaultSVGXParser(source);
    if (!result) std::abort();
    if (auto document = result->parsedDocument()) {
        if (!document->rootElement() || document->rootElement() != result->rootOfSVGTree()) std::abort();
        checkTree(document->rootElement());
    }

    auto image = SVGXImage::initWithParsedSVG(result);
    if (!image != !result->parsedDocument()) std::abort();
    if (!image) return 0;
    auto tree = image->CALayerTree();
    if (!tree) return 0;
    graphics::RecordingContext context;
    context.renderLayer(*tree);
    size_t budget = 200;
    checkLayers(*image, tree, budget);
    (void)image->size();
    return 0;
}
