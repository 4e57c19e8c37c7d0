// The layer tree: the platform's plain layer, base of the shape, text and
// gradient layers. A layer owns its sublayers (back to front) and knows its
// superlayer weakly; a layer is in at most one tree at a time. Its place in
// the superlayer comes from bounds, position, anchor point and transform:
// the anchor point (unit coordinates of the bounds, the centre by default)
// sits at the position, and the transform turns the layer about it. The frame
// is derived from those and, when set, moves position and bounds size instead.
// Transforms act in the plane (Transform3D's affine part). String-keyed values
// are kept as foundation::Value; a key never set reads as absent, which is
// not the same as an empty string. Layers are used from one thread at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "foundation/Value.h"
#include "graphics/Bitmap.h"
#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "graphics/LayerAnimation.h"
#include "graphics/Path.h"
#include "graphics/Transform3D.h"

namespace graphics {

class DrawingContext;
class Layer;
using LayerPtr = std::shared_ptr<Layer>;

// What renders a layer in its stead: a view renders its backing layer as the
// whole view, its look and its subviews included, so a view's layer drawn
// into an image context shows what the screen shows.
class LayerRenderDelegate {
public:
    virtual ~LayerRenderDelegate() = default;
    virtual void renderLayerInContext(const Layer& layer, DrawingContext& context) const = 0;
};

class Layer : public foundation::Object {
public:
    Layer() = default;
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;
    ~Layer() override = default;

    static LayerPtr layer() { return std::make_shared<Layer>(); }
    std::string className() const override { return "CALayer"; }
    // A fresh layer of the receiver's own class with default properties.
    // Every subclass overrides it.
    virtual LayerPtr makeLayerOfSameClass() const { return layer(); }

    // Geometry.
    const Rect& bounds() const { return bounds_; }
    void setBounds(const Rect& bounds) { bounds_ = bounds; }
    Point position() const { return position_; }
    void setPosition(Point position) { position_ = position; }
    Point anchorPoint() const { return anchorPoint_; }
    void setAnchorPoint(Point anchorPoint) { anchorPoint_ = anchorPoint; }
    const Transform3D& transform() const;
    // Virtual so that a layer class can follow changes of its transform.
    virtual void setTransform(const Transform3D& transform);
    AffineTransform affineTransform() const { return transform().affineTransform(); }
    void setAffineTransform(const AffineTransform& t) { setTransform(Transform3D::makeAffineTransform(t)); }
    // The bounding box, in the superlayer, of the transformed bounds.
    Rect frame() const;
    // Sets the bounds size and the position; exact for an untransformed layer.
    void setFrame(const Rect& frame);
    // Maps points of this layer to its superlayer's coordinates.
    AffineTransform transformToSuperlayer() const;

    // The tree.
    const std::vector<LayerPtr>& sublayers() const { return sublayers_; }
    void setSublayers(std::vector<LayerPtr> sublayers);
    LayerPtr superlayer() const { return superlayer_.lock(); }
    // Takes the layer out of any other tree first. Adding a layer to itself
    // or to one of its own sublayers is a programming error.
    void addSublayer(const LayerPtr& layer);
    // Past the end appends.
    void insertSublayer(const LayerPtr& layer, size_t index);
    void removeFromSuperlayer();

    // A point of this layer in the coordinates of another layer of the same
    // tree, and back. A null layer stands for the space the root's frame is
    // given in.
    Point convertPointToLayer(Point p, const Layer* layer) const;
    Point convertPointFromLayer(Point p, const Layer* layer) const;

    // Whether the point (in this layer's coordinates) is part of the layer:
    // by default, whether the bounds contain it.
    virtual bool containsPoint(Point p) const;
    // The deepest visible layer under the point, which is given in the
    // superlayer's coordinates (the frame's). A layer whose containsPoint says
    // no is passed over with its sublayers; otherwise its sublayers are asked
    // front-most first and the layer itself answers when none does. Hidden
    // layers are skipped.
    LayerPtr hitTest(Point p) const;

    // Appearance.
    const std::optional<std::string>& name() const { return name_; }
    void setName(std::optional<std::string> name) { name_ = std::move(name); }
    const LayerPtr& mask() const { return rare().mask; }
    void setMask(LayerPtr mask) {
        if (mask || rare_) rareForWriting().mask = std::move(mask);
    }
    double opacity() const { return opacity_; }
    void setOpacity(double opacity) { opacity_ = opacity; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    // An image stretched over the bounds.
    const BitmapPtr& contents() const { return rare().contents; }
    void setContents(BitmapPtr contents) {
        if (contents || rare_) rareForWriting().contents = std::move(contents);
    }
    const std::optional<Color>& backgroundColor() const { return rare().backgroundColor; }
    void setBackgroundColor(std::optional<Color> color) {
        if (color || rare_) rareForWriting().backgroundColor = std::move(color);
    }
    double cornerRadius() const { return rare().cornerRadius; }
    void setCornerRadius(double radius) { rareForWriting().cornerRadius = radius; }
    double borderWidth() const { return rare().borderWidth; }
    void setBorderWidth(double width) { rareForWriting().borderWidth = width; }
    // Opaque black by default.
    const std::optional<Color>& borderColor() const { return rare().borderColor; }
    void setBorderColor(std::optional<Color> color) { rareForWriting().borderColor = std::move(color); }

    // Shadow: drawn under the layer's content, the shadow path's shape (the
    // rounded bounds without one) offset and in the colour at the opacity
    // (0 by default: no shadow), spread by the radius.
    const std::optional<Color>& shadowColor() const { return rare().shadowColor; }
    void setShadowColor(std::optional<Color> color) { rareForWriting().shadowColor = std::move(color); }
    double shadowOpacity() const { return rare().shadowOpacity; }
    void setShadowOpacity(double opacity) { rareForWriting().shadowOpacity = opacity; }
    Size shadowOffset() const { return rare().shadowOffset; }
    void setShadowOffset(Size offset) { rareForWriting().shadowOffset = offset; }
    double shadowRadius() const { return rare().shadowRadius; }
    void setShadowRadius(double radius) { rareForWriting().shadowRadius = radius; }
    const PathPtr& shadowPath() const { return rare().shadowPath; }
    void setShadowPath(PathPtr path) { rareForWriting().shadowPath = std::move(path); }
    // Clips the contents and sublayers to the (rounded) bounds when rendering.
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool masks) { masksToBounds_ = masks; }

    // Animation records by key, in the order added; adding under a key in use
    // replaces that one. The layer keeps a copy of the animation.
    void addAnimation(const LayerAnimation& animation, const std::string& key);
    void addAnimation(const LayerAnimationPtr& animation, const std::string& key) {
        if (animation) addAnimation(*animation, key);
    }
    LayerAnimationPtr animationForKey(const std::string& key) const;
    std::vector<std::string> animationKeys() const;
    void removeAnimationForKey(const std::string& key);
    void removeAllAnimations() {
        if (rare_) rare_->animations.clear();
    }

    // Further properties of the platform's layer, kept as values for those
    // who copy or inspect layers; the renderer does not draw with them. Few
    // layers set any, so they live apart, made on the first change.
    // Defaults are the platform's: depth 0, double-sided, not flipped, the
    // identity sublayer transform, the whole contents (unit rectangles) shown
    // resized at scale 1, "linear" filters, every edge antialiased (mask 15),
    // rasterization scale 1, and no filters, compositing filter or style.
    double zPosition() const { return kept().zPosition; }
    void setZPosition(double z) { keptForWriting().zPosition = z; }
    double anchorPointZ() const { return kept().anchorPointZ; }
    void setAnchorPointZ(double z) { keptForWriting().anchorPointZ = z; }
    bool isDoubleSided() const { return kept().doubleSided; }
    void setDoubleSided(bool doubleSided) { keptForWriting().doubleSided = doubleSided; }
    bool isGeometryFlipped() const { return kept().geometryFlipped; }
    void setGeometryFlipped(bool flipped) { keptForWriting().geometryFlipped = flipped; }
    const Transform3D& sublayerTransform() const { return kept().sublayerTransform; }
    void setSublayerTransform(const Transform3D& transform) { keptForWriting().sublayerTransform = transform; }
    const Rect& contentsRect() const { return kept().contentsRect; }
    void setContentsRect(const Rect& rect) { keptForWriting().contentsRect = rect; }
    const std::string& contentsGravity() const { return kept().contentsGravity; }
    void setContentsGravity(std::string gravity) { keptForWriting().contentsGravity = std::move(gravity); }
    double contentsScale() const { return kept().contentsScale; }
    void setContentsScale(double scale) { keptForWriting().contentsScale = scale; }
    const Rect& contentsCenter() const { return kept().contentsCenter; }
    void setContentsCenter(const Rect& rect) { keptForWriting().contentsCenter = rect; }
    const std::string& minificationFilter() const { return kept().minificationFilter; }
    void setMinificationFilter(std::string filter) { keptForWriting().minificationFilter = std::move(filter); }
    const std::string& magnificationFilter() const { return kept().magnificationFilter; }
    void setMagnificationFilter(std::string filter) { keptForWriting().magnificationFilter = std::move(filter); }
    double minificationFilterBias() const { return kept().minificationFilterBias; }
    void setMinificationFilterBias(double bias) { keptForWriting().minificationFilterBias = bias; }
    bool isOpaque() const { return kept().opaque; }
    void setOpaque(bool opaque) { keptForWriting().opaque = opaque; }
    bool needsDisplayOnBoundsChange() const { return kept().needsDisplayOnBoundsChange; }
    void setNeedsDisplayOnBoundsChange(bool needs) { keptForWriting().needsDisplayOnBoundsChange = needs; }
    bool drawsAsynchronously() const { return kept().drawsAsynchronously; }
    void setDrawsAsynchronously(bool asynchronously) { keptForWriting().drawsAsynchronously = asynchronously; }
    uint32_t edgeAntialiasingMask() const { return kept().edgeAntialiasingMask; }
    void setEdgeAntialiasingMask(uint32_t mask) { keptForWriting().edgeAntialiasingMask = mask; }
    // Absent for none.
    const foundation::Value& compositingFilter() const { return kept().compositingFilter; }
    void setCompositingFilter(foundation::Value filter) { keptForWriting().compositingFilter = std::move(filter); }
    const std::optional<foundation::Value::Array>& filters() const { return kept().filters; }
    void setFilters(std::optional<foundation::Value::Array> filters) { keptForWriting().filters = std::move(filters); }
    const std::optional<foundation::Value::Array>& backgroundFilters() const { return kept().backgroundFilters; }
    void setBackgroundFilters(std::optional<foundation::Value::Array> filters) {
        keptForWriting().backgroundFilters = std::move(filters);
    }
    bool shouldRasterize() const { return kept().shouldRasterize; }
    void setShouldRasterize(bool rasterize) { keptForWriting().shouldRasterize = rasterize; }
    double rasterizationScale() const { return kept().rasterizationScale; }
    void setRasterizationScale(double scale) { keptForWriting().rasterizationScale = scale; }
    const std::optional<foundation::Value::Dictionary>& style() const { return kept().style; }
    void setStyle(std::optional<foundation::Value::Dictionary> style) { keptForWriting().style = std::move(style); }

    // Set when the content must be drawn again; cleared by displayIfNeeded.
    bool needsDisplay() const { return needsDisplay_; }
    void setNeedsDisplay() { needsDisplay_ = true; }
    void displayIfNeeded() { needsDisplay_ = false; }

    // String-keyed values. Setting an absent value removes the key.
    const foundation::Value& valueForKey(const std::string& key) const;
    void setValue(foundation::Value value, const std::string& key);

    // Draws the layer and its visible sublayers, the context being in this
    // layer's coordinates: background, contents, the layer's own drawing,
    // sublayers back to front, border; all at the layer's opacity, under the
    // shadow and, with masks-to-bounds, inside the rounded bounds. As on the
    // platform, mask layers are not applied.
    // A render delegate, when one is set and alive, renders in its place.
    virtual void renderInContext(DrawingContext& context) const;
    // The layer's own content; nothing for a plain layer.
    virtual void drawInContext(DrawingContext& context) const;
    // renderInContext's steps, with `content` drawn where the layer's own
    // drawing and its sublayers go (inside the clip, under the border).
    void renderWithContent(DrawingContext& context, const std::function<void(DrawingContext&)>& content) const;
    // Kept weakly.
    void setRenderDelegate(const std::shared_ptr<const LayerRenderDelegate>& delegate) {
        rareForWriting().renderDelegate = delegate;
    }

private:
    LayerPtr self() const;
    void renderShadow(DrawingContext& context, const Rect& box) const;
    void detachSublayer(const Layer* layer);

    Rect bounds_;
    Point position_;
    Point anchorPoint_{0.5, 0.5};
    std::unique_ptr<Transform3D> transform_;  // null: the identity
    std::vector<LayerPtr> sublayers_;
    std::weak_ptr<Layer> superlayer_;
    std::optional<std::string> name_;
    double opacity_ = 1;
    bool hidden_ = false;
    bool needsDisplay_ = false;
    // A layer carries a handful of keys at most: looked up in order.
    std::vector<std::pair<std::string, foundation::Value>> values_;

    // Background, contents, mask, corners, border, shadow (with the
    // platform's defaults), animations and the render delegate: most layers
    // of a drawing (a shape or a text each) never set any, so they live apart
    // until one is set.
    struct RareProperties {
        std::optional<Color> backgroundColor;
        BitmapPtr contents;
        LayerPtr mask;
        double cornerRadius = 0;
        double borderWidth = 0;
        std::optional<Color> borderColor = Color::black();
        std::optional<Color> shadowColor = Color::black();
        double shadowOpacity = 0;
        Size shadowOffset{0, -3};
        double shadowRadius = 3;
        PathPtr shadowPath;
        std::vector<std::pair<std::string, LayerAnimationPtr>> animations;
        std::weak_ptr<const LayerRenderDelegate> renderDelegate;
    };
    const RareProperties& rare() const;
    RareProperties& rareForWriting();
    std::unique_ptr<RareProperties> rare_;
    bool masksToBounds_ = false;

    // The properties kept as values (above), with the platform's defaults.
    struct KeptValues {
        double zPosition = 0;
        double anchorPointZ = 0;
        bool doubleSided = true;
        bool geometryFlipped = false;
        Transform3D sublayerTransform;
        Rect contentsRect{0, 0, 1, 1};
        std::string contentsGravity = "resize";
        double contentsScale = 1;
        Rect contentsCenter{0, 0, 1, 1};
        std::string minificationFilter = "linear";
        std::string magnificationFilter = "linear";
        double minificationFilterBias = 0;
        bool opaque = false;
        bool needsDisplayOnBoundsChange = false;
        bool drawsAsynchronously = false;
        uint32_t edgeAntialiasingMask = 15;
        foundation::Value compositingFilter;
        std::optional<foundation::Value::Array> filters;
        std::optional<foundation::Value::Array> backgroundFilters;
        bool shouldRasterize = false;
        double rasterizationScale = 1;
        std::optional<foundation::Value::Dictionary> style;
    };
    const KeptValues& kept() const;
    KeptValues& keptForWriting();
    std::unique_ptr<KeptValues> kept_;
};

}  // namespace graphics
