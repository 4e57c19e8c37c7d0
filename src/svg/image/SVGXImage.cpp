// The image facade: construction from a source, the name cache, size rules,
// the layer tree and the layer look-ups.
//
// The cache holds each image strongly through its line, so an image is
// destroyed only after its line was removed; a line found under the same
// name at that time belongs to a newer load and is left alone, which keeps a
// live floor plan from being evicted by the end of an older copy.
#include "svg/image/SVGXImage.h"

#include <chrono>
#include <cmath>
#include <map>
#include <mutex>

#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/URL.h"
#include "graphics/CairoContext.h"
#include "graphics/ShapeLayer.h"
#include "svg/dom/NodeList.h"
#include "svg/dom/SVGDocument.h"
#include "svg/elements/SVGElementInstance.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/elements/SVGUseElement.h"
#include "svg/floorplan/SVGMapFolder.h"
#include "svg/layers/ConverterSVGToCALayer.h"
#include "svg/layers/SVGHelperUtilities.h"
#include "svg/parser/SVGXParser.h"
#include "svg/sources/SVGXSourceLocalFile.h"
#include "svg/sources/SVGXSourceURL.h"

namespace svg {

namespace {

constexpr const char* kClassName = "SVGXImage";

// Bounds on what "use" can make of a file: a use repeats the layers of what
// it names, so a chain of uses naming uses grows the tree geometrically.
// Past these the builder leaves further layers out.
constexpr size_t kMaximumLayerDepth = 512;
constexpr size_t kMaximumLayersThroughUse = 10000;

struct ImageCache {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<SVGXImageCacheLine>> lines;
};

ImageCache& imageCache() {
    static ImageCache* cache = new ImageCache;  // never destroyed: images may outlive static teardown
    return *cache;
}

// Lines are dropped outside the lock: dropping one may destroy its image.
void purgeCache() {
    std::map<std::string, std::shared_ptr<SVGXImageCacheLine>> dropped;
    {
        std::lock_guard<std::mutex> lock(imageCache().mutex);
        dropped.swap(imageCache().lines);
    }
}

std::mutex& constructorMutex() {
    static std::mutex mutex;
    return mutex;
}

struct TreeBuild {
    size_t layersThroughUse = 0;
    bool reportedLimit = false;
};

graphics::LayerPtr buildLayer(const std::shared_ptr<Node>& node, TreeBuild& build, size_t depth, bool throughUse) {
    const auto* converter = dynamic_cast<const ConverterSVGToCALayer*>(node.get());
    if (!converter) return nullptr;
    if (depth > kMaximumLayerDepth || (throughUse && build.layersThroughUse >= kMaximumLayersThroughUse)) {
        if (!build.reportedLimit) {
            foundation::Log("[%@] WARNING: layer tree too deep or too many layers repeated through <use>; leaving "
                            "the rest out",
                            kClassName);
            build.reportedLimit = true;
        }
        return nullptr;
    }
    auto layer = converter->newLayer();
    if (!layer) return nullptr;
    if (throughUse) ++build.layersThroughUse;

    std::shared_ptr<NodeList> children = node->childNodes();
    if (auto use = std::dynamic_pointer_cast<SVGUseElement>(node)) {
        auto instance = use->instanceRoot();
        auto referenced = instance ? instance->correspondingElement() : nullptr;
        children = referenced ? referenced->childNodes() : nullptr;
        throughUse = true;
    }
    if (!children || children->length() < 1) return layer;
    for (const auto& child : children->internalArray()) {
        if (auto sublayer = buildLayer(child, build, depth + 1, throughUse)) layer->addSublayer(sublayer);
    }
    converter->layoutLayer(layer);
    layer->setNeedsDisplay();
    return layer;
}

bool sameRect(const SVGRect& a, const SVGRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

}  // namespace

SVGXImage::SVGXImage(SVGXParseResultPtr parseResult) : parseErrorsAndWarnings_(std::move(parseResult)) {}

void SVGXImage::registerForMemoryWarnings() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        static const char observer = 0;
        foundation::NotificationCenter::defaultCenter().addObserver(
            &observer,
            [](const foundation::Notification&) {
                size_t count;
                {
                    std::lock_guard<std::mutex> lock(imageCache().mutex);
                    count = imageCache().lines.size();
                }
                foundation::Log("[%@] Low-mem; purging cache of %i SVGXImage's...", kClassName, count);
                purgeCache();
            },
            kUIApplicationDidReceiveMemoryWarningNotification);
    });
}

std::shared_ptr<SVGXImage> SVGXImage::imageNamed(const std::string& name, const std::string& forAuthCode,
                                                 const std::string& andEventId) {
    registerForMemoryWarnings();
    {
        std::lock_guard<std::mutex> lock(imageCache().mutex);
        if (auto found = imageCache().lines.find(name); found != imageCache().lines.end()) {
            found->second->setNumberOfInstances(found->second->numberOfInstances() + 1);
            return found->second->mainInstance();
        }
    }
    std::shared_ptr<SVGXImage> image;
    if (auto path = SVGMapFolder::pathOfSavedMapFile(name, forAuthCode, andEventId)) {
        image = imageWithContentsOfFile(*path);
    }
    if (!image) {
        foundation::Log("[%@] WARNING: not caching the output for new SVG image with name = %@, because it failed to "
                        "load correctly",
                        kClassName, name);
        return nullptr;
    }
    image->cameFromGlobalCache_ = true;
    image->nameUsedToInstantiate_ = name;
    std::lock_guard<std::mutex> lock(imageCache().mutex);
    auto& line = imageCache().lines[name];
    // Another thread may have loaded the same name meanwhile: its image stays.
    if (line) {
        line->setNumberOfInstances(line->numberOfInstances() + 1);
        return line->mainInstance();
    }
    line = std::make_shared<SVGXImageCacheLine>();
    line->setMainInstance(image);
    return image;
}

std::shared_ptr<SVGXImage> SVGXImage::imageNamed(const std::string& /*name*/) {
    foundation::raise(kSVGXImageNamedWithdrawnException,
                      "imageNamed: has been withdrawn; use imageNamed:forAuthCode:andEventId: instead");
}

void SVGXImage::clearCachedResources() { purgeCache(); }

std::shared_ptr<const SVGXImageCacheLine> SVGXImage::cacheLineNamed(const std::string& name) {
    std::lock_guard<std::mutex> lock(imageCache().mutex);
    auto found = imageCache().lines.find(name);
    return found == imageCache().lines.end() ? nullptr : found->second;
}

std::shared_ptr<SVGXImage> SVGXImage::imageWithContentsOfFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(constructorMutex());
    return initWithContentsOfFile(path);
}

std::shared_ptr<SVGXImage> SVGXImage::imageWithSource(const std::shared_ptr<SVGXSource>& source) {
    std::lock_guard<std::mutex> lock(constructorMutex());
    return initWithSource(source);
}

std::shared_ptr<SVGXImage> SVGXImage::imageWithContentsOfURL(const foundation::URL& url) {
    std::lock_guard<std::mutex> lock(constructorMutex());
    return initWithContentsOfURL(url);
}

std::shared_ptr<SVGXImage> SVGXImage::initWithContentsOfFile(const std::string& path) {
    return initWithSource(SVGXSourceLocalFile::sourceFromFilename(path));
}

std::shared_ptr<SVGXImage> SVGXImage::initWithContentsOfURL(const foundation::URL& url) {
    if (url.isFileURL()) return initWithContentsOfFile(url.path());
    return initWithSource(SVGXSourceURL::sourceFromURL(url));
}

std::shared_ptr<SVGXImage> SVGXImage::initWithSource(const std::shared_ptr<SVGXSource>& source) {
    auto image = initWithParsedSVG(SVGXParser::parseSourceUsingDefaultSVGXParser(source), source);
    if (image) image->source_ = source;
    return image;
}

std::shared_ptr<SVGXImage> SVGXImage::initWithParsedSVG(const SVGXParseResultPtr& parseResult) {
    return initWithParsedSVG(parseResult, nullptr);
}

std::shared_ptr<SVGXImage> SVGXImage::initWithParsedSVG(const SVGXParseResultPtr& parseResult,
                                                        const std::shared_ptr<SVGXSource>& source) {
    registerForMemoryWarnings();
    auto document = parseResult ? parseResult->parsedDocument() : nullptr;
    auto root = document ? std::dynamic_pointer_cast<SVGSVGElement>(document->rootElement()) : nullptr;
    if (!root) {
        foundation::Log("[%@] ERROR: failed to init SVGXImage with source = %@, returning nil from init methods",
                        kClassName, source);
        return nullptr;
    }
    std::shared_ptr<SVGXImage> image(new SVGXImage(parseResult));
    image->DOMDocument_ = document;
    image->DOMTree_ = root;
    return image;
}

graphics::LayerPtr SVGXImage::CALayerTree() {
    if (CALayerTree_ && DOMTree_ && !sameRect(DOMTree_->viewport(), viewportOfCALayerTree_)) {
        foundation::Log("[%@] source data changed; de-caching cached data", className());
        CALayerTree_.reset();
    }
    if (!CALayerTree_) {
        foundation::Log("[%@] WARNING: no CALayer tree found, creating a new one (will cache it once generated)",
                        className());
        CALayerTree_ = newCALayerTree();
        if (DOMTree_) viewportOfCALayerTree_ = DOMTree_->viewport();
    }
    return CALayerTree_;
}

void SVGXImage::setCALayerTree(graphics::LayerPtr tree) {
    CALayerTree_ = std::move(tree);
    if (CALayerTree_ && DOMTree_) viewportOfCALayerTree_ = DOMTree_->viewport();
}

graphics::LayerPtr SVGXImage::newLayerWithElement(const std::shared_ptr<Node>& element) const {
    TreeBuild build;
    return buildLayer(element, build, 0, false);
}

graphics::LayerPtr SVGXImage::newCALayerTree() const {
    if (!DOMTree_) return nullptr;
    auto layer = newLayerWithElement(DOMTree_);
    if (layer && scale_ != 0.0) {
        foundation::Log("[%@] WARNING: because you specified an image.scale (you SHOULD be using SVG viewbox or <svg "
                        "width> instead!), we are changing the .anchorPoint and the .affineTransform of the returned "
                        "CALayerTree. Apple's own libraries are EXTREMELY BUGGY if you hand them layers that have "
                        "these variables changed (some of Apple's libraries completely ignore them, this is a major "
                        "Known Bug that Apple hasn't fixed in many years). Proceed at your own risk, and warned!",
                        className());
        graphics::Point anchor = layer->anchorPoint();
        layer->setAnchorPoint({anchor.x / scale_, anchor.y / scale_});
        layer->setAffineTransform(graphics::AffineTransform::makeScale(scale_, scale_));
    }
    return layer;
}

graphics::Size SVGXImage::size() const {
    if (internalSizeThatWasSetExplicitlyByUser_ != graphics::Size()) return internalSizeThatWasSetExplicitlyByUser_;
    if (DOMTree_ && SVGRectIsInitialized(DOMTree_->viewport())) return CGSizeFromSVGRect(DOMTree_->viewport());
    if (DOMTree_ && SVGRectIsInitialized(DOMTree_->viewBox())) return CGSizeFromSVGRect(DOMTree_->viewBox());
    return CGSizeFromSVGRect(SVGRectUninitialized());
}

bool SVGXImage::hasSize() const {
    if (internalSizeThatWasSetExplicitlyByUser_ != graphics::Size()) return true;
    return DOMTree_ && (SVGRectIsInitialized(DOMTree_->viewport()) || SVGRectIsInitialized(DOMTree_->viewBox()));
}

void SVGXImage::setSize(graphics::Size size) {
    internalSizeThatWasSetExplicitlyByUser_ = size;
    if (DOMTree_) {
        if (!SVGRectIsInitialized(DOMTree_->viewBox()) && !SVGRectIsInitialized(DOMTree_->viewport())) {
            foundation::Log(
                "[%@] WARNING: you have set an explicit image size, but your SVG file has no explicit width or height "
                "AND no viewBox. This means the image will NOT BE SCALED - either add a viewBox to your SVG source "
                "file, or add an explicit svg width and height -- or: use the .scale method on this class "
                "(SVGXImage) instead to scale by desired amount",
                className());
        }
        DOMTree_->setViewport(SVGRectMake(0, 0, float(size.width), float(size.height)));
    }
    CALayerTree_.reset();
    // Copied first: an observer may remove itself.
    auto observers = sizeObservers_;
    for (const auto& [owner, observer] : observers) {
        if (observer) observer();
    }
}

void SVGXImage::addSizeObserver(const void* owner, std::function<void()> observer) {
    sizeObservers_[owner] = std::move(observer);
}

void SVGXImage::removeSizeObserver(const void* owner) { sizeObservers_.erase(owner); }

void SVGXImage::setScale(double scale) {
    scale_ = scale;
    CALayerTree_.reset();
}

graphics::LayerPtr SVGXImage::layerWithIdentifier(const std::optional<std::string>& identifier) {
    return layerWithIdentifier(identifier, CALayerTree());
}

graphics::LayerPtr SVGXImage::layerWithIdentifier(const std::optional<std::string>& identifier,
                                                  const graphics::LayerPtr& layer) {
    if (!identifier || !layer) return nullptr;
    const std::string* value = layer->valueForKey(kSVGElementIdentifierKey).string();
    if (value && *value == *identifier) return layer;
    for (const auto& sublayer : layer->sublayers()) {
        if (auto found = layerWithIdentifier(identifier, sublayer)) return found;
    }
    return nullptr;
}

graphics::LayerPtr SVGXImage::newCopyPositionedAbsoluteOfLayer(const graphics::LayerPtr& layer) const {
    if (!layer) return nullptr;
    auto copy = layer->makeLayerOfSameClass();
    graphics::Rect frame = layer->frame();
    auto shape = std::dynamic_pointer_cast<graphics::ShapeLayer>(layer);
    auto shapeCopy = std::dynamic_pointer_cast<graphics::ShapeLayer>(copy);
    if (shape && shapeCopy) {
        shapeCopy->setPath(shape->path());
        shapeCopy->setLineCap(shape->lineCap());
        shapeCopy->setLineWidth(shape->lineWidth());
        shapeCopy->setStrokeColor(shape->strokeColor());
        shapeCopy->setFillColor(shape->fillColor());
    }
    if (!layer->superlayer()) foundation::Log("AWOOGA: layer %@ has no superlayer!", layer);
    for (auto ancestor = layer->superlayer(); ancestor; ancestor = ancestor->superlayer()) {
        graphics::Point origin = ancestor->frame().origin;
        frame.origin.x += origin.x;
        frame.origin.y += origin.y;
    }
    copy->setFrame(frame);
    return copy;
}

graphics::LayerPtr SVGXImage::newCopyPositionedAbsoluteLayerWithIdentifier(const std::string& identifier) {
    auto layer = layerWithIdentifier(identifier);
    if (!layer) {
        foundation::Log("[%@] ERROR: requested a clone of CALayer with id = %@, but there is no layer with that "
                        "identifier in the parsed SVG layer stack",
                        className(), identifier);
        return nullptr;
    }
    return newCopyPositionedAbsoluteOfLayer(layer);
}

graphics::LayerPtr SVGXImage::newCopyPositionedAbsoluteLayerWithIdentifier(const std::string& identifier,
                                                                          const graphics::Color& selectedColor) {
    auto copy =
        std::dynamic_pointer_cast<graphics::ShapeLayer>(newCopyPositionedAbsoluteLayerWithIdentifier(identifier));
    if (!copy) return nullptr;
    copy->setStrokeColor(selectedColor);
    copy->setFillColor(selectedColor);
    return copy;
}

std::map<std::string, graphics::LayerPtr> SVGXImage::dictionaryOfLayers() {
    std::map<std::string, graphics::LayerPtr> dictionary;
    auto tree = CALayerTree();
    std::optional<std::string> rootIdentifier = DOMTree_ ? DOMTree_->identifier() : std::nullopt;
    addSVGLayerTree(tree, rootIdentifier, dictionary);
    foundation::Log("[%@] ROOT element id: %@ => layer: %@", className(),
                    rootIdentifier ? foundation::Value(*rootIdentifier) : foundation::Value(), tree);
    return dictionary;
}

void SVGXImage::addSVGLayerTree(const graphics::LayerPtr& layer, const std::optional<std::string>& identifier,
                                std::map<std::string, graphics::LayerPtr>& dictionary) const {
    if (!layer) return;
    // A layer tree is at most as deep as the builder's cap, so this recursion
    // is bounded.
    if (identifier) dictionary[*identifier] = layer;
    for (const auto& sublayer : layer->sublayers()) {
        const std::string* subIdentifier = sublayer->valueForKey(kSVGElementIdentifierKey).string();
        if (!subIdentifier) continue;
        foundation::Log("[%@] element id: %@ => layer: %@", className(), *subIdentifier, sublayer);
        addSVGLayerTree(sublayer, *subIdentifier, dictionary);
    }
}

void SVGXImage::renderToContext(graphics::DrawingContext& context, bool antiAliased, double curveFlatnessFactor,
                                graphics::InterpolationQuality interpolationQuality, bool flipYaxis) {
    auto started = std::chrono::steady_clock::now();
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    if (!CALayerTree_) {
        CALayerTree();
        foundation::Log("[%@] rendering to CGContext: time taken to convert from DOM to fresh CALayers: %2.3f "
                        "seconds)",
                        className(), seconds());
        started = std::chrono::steady_clock::now();
    } else {
        foundation::Log("[%@] rendering to CGContext: re-using cached CALayers (FREE))", className());
    }
    auto tree = CALayerTree();
    if (DOMTree_ && SVGRectIsInitialized(DOMTree_->viewport())) {
        foundation::Log("[%@] DEBUG: rendering to CGContext using the current root-object's viewport (may have been "
                        "overridden by user code): %@",
                        className(), graphics::toString(CGRectFromSVGRect(DOMTree_->viewport())));
    }
    context.saveGState();
    if (!antiAliased) context.setShouldAntialias(false);
    context.setFlatness(curveFlatnessFactor);
    context.setInterpolationQuality(interpolationQuality);
    if (flipYaxis) {
        context.translateCTM(0, size().height);
        context.scaleCTM(1, -1);
    }
    if (tree) context.renderLayer(*tree);
    context.restoreGState();
    foundation::Log("[%@] renderToContext: time taken to render CALayers to CGContext (perf improvements:%@): %2.3f "
                    "seconds)",
                    className(), antiAliased ? "NONE" : " NO-ANTI-ALIAS", seconds());
}

std::optional<std::pair<int, int>> SVGXImage::pixelSize(graphics::Size size) {
    if (!std::isfinite(size.width) || !std::isfinite(size.height)) return std::nullopt;
    if (size.width < 1 || size.height < 1) return std::nullopt;
    constexpr double kMaximum = graphics::Bitmap::kMaximumSide;
    if (size.width > kMaximum || size.height > kMaximum) return std::nullopt;
    return std::pair<int, int>{int(size.width), int(size.height)};
}

std::optional<foundation::Data> SVGXImage::exportNSDataAntiAliased(bool antiAliased, double curveFlatnessFactor,
                                                                   graphics::InterpolationQuality interpolationQuality,
                                                                   bool flipYaxis) {
    graphics::Size size = this->size();
    foundation::Log("[%@] DEBUG: Generating an NSData* raw bytes image using the current root-object's viewport "
                    "(may have been overridden by user code): {0,0,%2.3f,%2.3f}",
                    className(), size.width, size.height);
    auto pixels = pixelSize(size);
    if (!pixels) return std::nullopt;
    graphics::CairoContext context(pixels->first, pixels->second);
    renderToContext(context, antiAliased, curveFlatnessFactor, interpolationQuality, flipYaxis);
    // Without alpha, each pixel shows as drawn over black; its fourth byte
    // is unused and left opaque.
    std::vector<uint8_t> bytes = context.bitmap().bytes();
    for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
        unsigned alpha = bytes[i + 3];
        for (size_t k = 0; k < 3; ++k) bytes[i + k] = uint8_t((bytes[i + k] * alpha + 127) / 255);
        bytes[i + 3] = 255;
    }
    return foundation::Data(bytes.data(), bytes.size());
}

}  // namespace svg
