// The entry point of the SVG library: a parsed floor plan with its layer
// tree, built once on first use, its size, look-up of layers by the id of
// their element, and positioned, recoloured copies of single layers for
// highlighting a room.
//
// The process-wide cache keeps the floor plans of the current event by file
// name; the account and event only locate the file. It is emptied by
// clearCachedResources and by the platform's memory warning. An image is used
// from one thread at a time; the cache itself may be reached from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "graphics/Bitmap.h"
#include "uikit/UIImage.h"
#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "graphics/Layer.h"
#include "svg/elements/SVGRect.h"
#include "svg/image/SVGXImageCacheLine.h"
#include "svg/parser/SVGXParseResult.h"

namespace foundation {
class URL;
}

namespace graphics {
class DrawingContext;
enum class InterpolationQuality;
}

namespace svg {

class Node;
class SVGDocument;
class SVGSVGElement;
class SVGXSource;

// The name imageNamed(name) raises with (trailing blank included).
inline constexpr const char* kSVGXImageNamedWithdrawnException = "Please use imageNamed forAuthCode for now on ";
// The platform notification that purges the cache.
inline constexpr const char* kUIApplicationDidReceiveMemoryWarningNotification =
    "UIApplicationDidReceiveMemoryWarningNotification";

class SVGXImage : public foundation::Object {
public:
    // The cached image of that file name, loaded from the registered map
    // folder of the account and event on a miss; null when it cannot be
    // loaded, in which case nothing is cached and the next call tries again.
    static std::shared_ptr<SVGXImage> imageNamed(const std::string& name, const std::string& forAuthCode,
                                                 const std::string& andEventId);
    // Withdrawn: always raises kSVGXImageNamedWithdrawnException.
    [[noreturn]] static std::shared_ptr<SVGXImage> imageNamed(const std::string& name);
    // Empties the cache; images still held elsewhere live on.
    static void clearCachedResources();
    // The cache's line for the name, or null.
    static std::shared_ptr<const SVGXImageCacheLine> cacheLineNamed(const std::string& name);

    // Serialised with each other. Null when the source yields no document.
    static std::shared_ptr<SVGXImage> imageWithContentsOfFile(const std::string& path);
    static std::shared_ptr<SVGXImage> imageWithSource(const std::shared_ptr<SVGXSource>& source);

    // A "file:" address is read as a local file, any other through the
    // library's URL source.
    static std::shared_ptr<SVGXImage> imageWithContentsOfURL(const foundation::URL& url);
    // Images are made from SVG sources only: these always answer null.
    static std::shared_ptr<SVGXImage> imageWithData(const foundation::Data& /*data*/) { return nullptr; }
    static std::shared_ptr<SVGXImage> initWithData(const foundation::Data& /*data*/) { return nullptr; }
    static std::shared_ptr<SVGXImage> animatedImageNamed(const std::string& /*name*/, double /*duration*/) {
        return nullptr;
    }
    static std::shared_ptr<SVGXImage> animatedResizableImageNamed(const std::string& /*name*/,
                                                                  const graphics::Rect& /*capInsets*/,
                                                                  double /*duration*/) {
        return nullptr;
    }
    static std::shared_ptr<SVGXImage> animatedImageWithImages(
        const std::vector<std::shared_ptr<SVGXImage>>& /*images*/, double /*duration*/) {
        return nullptr;
    }

    static std::shared_ptr<SVGXImage> initWithContentsOfFile(const std::string& path);
    static std::shared_ptr<SVGXImage> initWithContentsOfURL(const foundation::URL& url);
    // Parses the source with the default parser; stores it on success.
    static std::shared_ptr<SVGXImage> initWithSource(const std::shared_ptr<SVGXSource>& source);
    // Null, with a log line, when the result holds no document.
    static std::shared_ptr<SVGXImage> initWithParsedSVG(const SVGXParseResultPtr& parseResult);

    bool cameFromGlobalCache() const { return cameFromGlobalCache_; }
    void setCameFromGlobalCache(bool value) { cameFromGlobalCache_ = value; }
    const std::shared_ptr<SVGDocument>& DOMDocument() const { return DOMDocument_; }
    void setDOMDocument(std::shared_ptr<SVGDocument> document) { DOMDocument_ = std::move(document); }
    const std::shared_ptr<SVGSVGElement>& DOMTree() const { return DOMTree_; }
    void setDOMTree(std::shared_ptr<SVGSVGElement> tree) { DOMTree_ = std::move(tree); }
    const std::shared_ptr<SVGXSource>& source() const { return source_; }
    void setSource(std::shared_ptr<SVGXSource> source) { source_ = std::move(source); }
    const SVGXParseResultPtr& parseErrorsAndWarnings() const { return parseErrorsAndWarnings_; }
    void setParseErrorsAndWarnings(SVGXParseResultPtr result) { parseErrorsAndWarnings_ = std::move(result); }
    const std::optional<std::string>& nameUsedToInstantiate() const { return nameUsedToInstantiate_; }
    void setNameUsedToInstantiate(std::optional<std::string> name) { nameUsedToInstantiate_ = std::move(name); }

    // The cached tree, built when there is none or when the root's viewport
    // changed since it was built. The image keeps it: callers must not move
    // its root into another tree.
    graphics::LayerPtr CALayerTree();
    // Replaces the cached tree; null makes the next CALayerTree() build one.
    void setCALayerTree(graphics::LayerPtr tree);
    // The tree builders; the caller owns what they return.
    graphics::LayerPtr newCALayerTree() const;
    graphics::LayerPtr newLayerWithElement(const std::shared_ptr<Node>& element) const;

    // The explicit size when set, else the root's viewport, else its view
    // box, else (-1, -1).
    graphics::Size size() const;
    bool hasSize() const;
    // Also sets the root's viewport to (0, 0, width, height) and drops the
    // cached tree.
    void setSize(graphics::Size size);
    // Called after each setSize, for those who draw the image at its size;
    // one observer per owner.
    void addSizeObserver(const void* owner, std::function<void()> observer);
    void removeSizeObserver(const void* owner);
    // 0 means no scaling. Drops the cached tree.
    double scale() const { return scale_; }
    void setScale(double scale);

    // The first layer in pre-order whose "SVGElementIdentifier" is the
    // identifier; null when none (a null identifier never matches).
    graphics::LayerPtr layerWithIdentifier(const std::optional<std::string>& identifier);
    static graphics::LayerPtr layerWithIdentifier(const std::optional<std::string>& identifier,
                                                  const graphics::LayerPtr& layer);

    // A plain layer of the same class at the layer's absolute position: its
    // frame moved by the frame origins of all its ancestors. Shape layers
    // keep path, line cap and width, stroke and fill colour; nothing else is
    // copied (no sublayers, no layer keys).
    graphics::LayerPtr newCopyPositionedAbsoluteOfLayer(const graphics::LayerPtr& layer) const;
    // The same for the layer with the identifier; null, with a log line,
    // when there is none.
    graphics::LayerPtr newCopyPositionedAbsoluteLayerWithIdentifier(const std::string& identifier);
    // The positioned copy stroked and filled with the colour; null when there
    // is no such layer or it is not a shape layer.
    graphics::LayerPtr newCopyPositionedAbsoluteLayerWithIdentifier(const std::string& identifier,
                                                                    const graphics::Color& selectedColor);

    // Always null: recoloured copies are made by identifier (above).
    graphics::LayerPtr newCopyPositionedAbsoluteOfLayer(const graphics::LayerPtr& /*layer*/,
                                                        const graphics::Color& /*withStrokeColor*/) const {
        return nullptr;
    }

    // Layers by the id of their element: the root's under the root's id (when
    // it has one), then every sublayer that carries an id, depth first;
    // sublayers without one are passed over with everything below them.
    std::map<std::string, graphics::LayerPtr> dictionaryOfLayers();
    void addSVGLayerTree(const graphics::LayerPtr& layer, const std::optional<std::string>& identifier,
                         std::map<std::string, graphics::LayerPtr>& dictionary) const;

    // Draws the layer tree (built now if need be) into the context, which is
    // taken to be the image's size; flipping puts the y axis upward.
    void renderToContext(graphics::DrawingContext& context, bool antiAliased, double curveFlatnessFactor,
                         graphics::InterpolationQuality interpolationQuality, bool flipYaxis);
    // The image drawn at its size, at the main screen's scale (so that a
    // point of the image is as many pixels as on the screen), as an image of
    // that scale; null when the image has no size (or no usable one).
    uikit::UIImagePtr exportUIImageAntiAliased(bool antiAliased, double curveFlatnessFactor,
                                               graphics::InterpolationQuality interpolationQuality);
    // The image drawn at its size (truncated to whole pixels) as raw bytes,
    // width × 4 × height, red, green and blue then an unused byte for each
    // pixel, rows from the top; null when the size gives no pixels.
    std::optional<foundation::Data> exportNSDataAntiAliased(bool antiAliased, double curveFlatnessFactor,
                                                            graphics::InterpolationQuality interpolationQuality,
                                                            bool flipYaxis);
    // exportUIImage antialiased, at flatness 1 and the default interpolation.
    uikit::UIImagePtr UIImage();

    // The platform's own ways of drawing an image; they do nothing here.
    void drawAtPoint(graphics::Point /*point*/) {}
    void drawAtPoint(graphics::Point /*point*/, int /*blendMode*/, double /*alpha*/) {}
    void drawInRect(const graphics::Rect& /*rect*/) {}
    void drawInRect(const graphics::Rect& /*rect*/, int /*blendMode*/, double /*alpha*/) {}
    void drawAsPatternInRect(const graphics::Rect& /*rect*/) {}

    std::string className() const override { return "SVGXImage"; }

private:
    explicit SVGXImage(SVGXParseResultPtr parseResult);

    // Whole pixels for a drawing of the size; none when it has no usable size.
    static std::optional<std::pair<int, int>> pixelSize(graphics::Size size);

    static void registerForMemoryWarnings();
    static std::shared_ptr<SVGXImage> initWithParsedSVG(const SVGXParseResultPtr& parseResult,
                                                        const std::shared_ptr<SVGXSource>& source);

    bool cameFromGlobalCache_ = false;
    std::shared_ptr<SVGDocument> DOMDocument_;
    std::shared_ptr<SVGSVGElement> DOMTree_;
    graphics::LayerPtr CALayerTree_;
    // The root's viewport when the cached tree was built.
    SVGRect viewportOfCALayerTree_ = SVGRectUninitialized();
    double scale_ = 0.0;
    std::shared_ptr<SVGXSource> source_;
    SVGXParseResultPtr parseErrorsAndWarnings_;
    std::optional<std::string> nameUsedToInstantiate_;
    graphics::Size internalSizeThatWasSetExplicitlyByUser_;
    std::map<const void*, std::function<void()>> sizeObservers_;
};

using SVGXImagePtr = std::shared_ptr<SVGXImage>;

}  // namespace svg
