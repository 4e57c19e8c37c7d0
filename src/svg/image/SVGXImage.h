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
#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "graphics/Layer.h"
#include "svg/elements/SVGRect.h"
#include "svg/image/SVGXImageCacheLine.h"
#include "svg/parser/SVGXParseResult.h"

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

    static std::shared_ptr<SVGXImage> initWithContentsOfFile(const std::string& path);
    // Parses the source with the default parser; stores it on success.
    static std::shared_ptr<SVGXImage> initWithSource(const std::shared_ptr<SVGXSource>& source);
    // Null, with a log line, when the result holds no document.
    static std::shared_ptr<SVGXImage> initWithParsedSVG(const SVGXParseResultPtr& parseResult);

    bool cameFromGlobalCache() const { return cameFromGlobalCache_; }
    const std::shared_ptr<SVGDocument>& DOMDocument() const { return DOMDocument_; }
    const std::shared_ptr<SVGSVGElement>& DOMTree() const { return DOMTree_; }
    const std::shared_ptr<SVGXSource>& source() const { return source_; }
    const SVGXParseResultPtr& parseErrorsAndWarnings() const { return parseErrorsAndWarnings_; }
    const std::optional<std::string>& nameUsedToInstantiate() const { return nameUsedToInstantiate_; }

    // The cached tree, built when there is none or when the root's viewport
    // changed since it was built. The image keeps it: callers must not move
    // its root into another tree.
    graphics::LayerPtr CALayerTree();
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

    std::string className() const override { return "SVGXImage"; }

private:
    explicit SVGXImage(SVGXParseResultPtr parseResult);

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
};

using SVGXImagePtr = std::shared_ptr<SVGXImage>;

}  // namespace svg
