// Layer geometry, tree upkeep, hit-testing and rendering. The tree keeps one
// invariant: a layer is in its superlayer's sublayer list exactly when its
// superlayer pointer names that layer.
#include "graphics/Layer.h"

#include <algorithm>

#include "foundation/Exception.h"
#include "graphics/DrawingContext.h"
#include "graphics/MutablePath.h"

namespace graphics {

namespace {

// From a layer's own coordinates to the space the root's frame is given in.
AffineTransform transformToTop(const Layer* layer) {
    AffineTransform t;
    LayerPtr keep;
    while (layer) {
        t = concat(t, layer->transformToSuperlayer());
        keep = layer->superlayer();
        layer = keep.get();
    }
    return t;
}

MutablePath roundedRect(const Rect& r, double radius) {
    MutablePath path;
    path.addRoundedRect(r, radius);
    return path;
}

}  // namespace

AffineTransform Layer::transformToSuperlayer() const {
    double ax = bounds_.origin.x + anchorPoint_.x * bounds_.size.width;
    double ay = bounds_.origin.y + anchorPoint_.y * bounds_.size.height;
    return concat(concat(AffineTransform::makeTranslation(-ax, -ay), affineTransform()),
                  AffineTransform::makeTranslation(position_.x, position_.y));
}

const Layer::KeptValues& Layer::kept() const {
    static const KeptValues defaults;
    return kept_ ? *kept_ : defaults;
}

Layer::KeptValues& Layer::keptForWriting() {
    if (!kept_) kept_ = std::make_unique<KeptValues>();
    return *kept_;
}

Rect Layer::frame() const { return transformToSuperlayer().apply(bounds_); }

void Layer::setFrame(const Rect& frame) {
    if (frame.isNull()) return;
    Rect f = frame.standardized();
    bounds_.size = f.size;
    position_ = {f.minX() + anchorPoint_.x * f.width(), f.minY() + anchorPoint_.y * f.height()};
}

LayerPtr Layer::self() const {
    return std::const_pointer_cast<Layer>(std::static_pointer_cast<const Layer>(weak_from_this().lock()));
}

void Layer::detachSublayer(const Layer* layer) {
    auto it = std::find_if(sublayers_.begin(), sublayers_.end(), [&](const LayerPtr& l) { return l.get() == layer; });
    if (it != sublayers_.end()) sublayers_.erase(it);
}

void Layer::insertSublayer(const LayerPtr& layer, size_t index) {
    if (!layer) return;
    LayerPtr ancestor;
    for (const Layer* a = this; a;) {
        if (a == layer.get()) {
            foundation::raise(foundation::kInvalidArgumentException,
                              "a layer cannot become a sublayer of itself or of its own sublayer");
        }
        ancestor = a->superlayer();
        a = ancestor.get();
    }
    layer->removeFromSuperlayer();
    index = std::min(index, sublayers_.size());
    sublayers_.insert(sublayers_.begin() + std::ptrdiff_t(index), layer);
    layer->superlayer_ = self();
}

void Layer::addSublayer(const LayerPtr& layer) { insertSublayer(layer, sublayers_.size()); }

void Layer::setSublayers(std::vector<LayerPtr> sublayers) {
    for (const LayerPtr& old : sublayers_) old->superlayer_.reset();
    sublayers_.clear();
    for (const LayerPtr& layer : sublayers) addSublayer(layer);
}

void Layer::removeFromSuperlayer() {
    LayerPtr keepAlive = self();
    if (LayerPtr parent = superlayer_.lock()) parent->detachSublayer(this);
    superlayer_.reset();
}

Point Layer::convertPointToLayer(Point p, const Layer* layer) const {
    Point top = transformToTop(this).apply(p);
    return layer ? transformToTop(layer).invert().apply(top) : top;
}

Point Layer::convertPointFromLayer(Point p, const Layer* layer) const {
    Point top = layer ? transformToTop(layer).apply(p) : p;
    return transformToTop(this).invert().apply(top);
}

bool Layer::containsPoint(Point p) const { return bounds_.contains(p); }

LayerPtr Layer::hitTest(Point p) const {
    if (hidden_) return nullptr;
    AffineTransform toSelf = transformToSuperlayer();
    if (!toSelf.isInvertible()) return nullptr;
    Point local = toSelf.invert().apply(p);
    if (!containsPoint(local)) return nullptr;
    for (auto it = sublayers_.rbegin(); it != sublayers_.rend(); ++it) {
        if (LayerPtr hit = (*it)->hitTest(local)) return hit;
    }
    return self();
}

const foundation::Value& Layer::valueForKey(const std::string& key) const {
    static const foundation::Value absent;
    for (const auto& [name, value] : values_) {
        if (name == key) return value;
    }
    return absent;
}

void Layer::setValue(foundation::Value value, const std::string& key) {
    auto it = std::find_if(values_.begin(), values_.end(), [&](const auto& entry) { return entry.first == key; });
    if (value.isAbsent()) {
        if (it != values_.end()) values_.erase(it);
    } else if (it != values_.end()) {
        it->second = std::move(value);
    } else {
        // Grown one at a time: a layer keeps a few keys for its whole life.
        values_.reserve(values_.size() + 1);
        values_.emplace_back(key, std::move(value));
    }
}

void Layer::drawInContext(DrawingContext&) const {}

const Transform3D& Layer::transform() const {
    static const Transform3D identity;
    return transform_ ? *transform_ : identity;
}

void Layer::setTransform(const Transform3D& transform) {
    if (transform_) {
        *transform_ = transform;
    } else if (!transform.isIdentity()) {
        transform_ = std::make_unique<Transform3D>(transform);
    }
}

const Layer::RareProperties& Layer::rare() const {
    static const RareProperties defaults;
    return rare_ ? *rare_ : defaults;
}

Layer::RareProperties& Layer::rareForWriting() {
    if (!rare_) rare_ = std::make_unique<RareProperties>();
    return *rare_;
}

void Layer::renderShadow(DrawingContext& context, const Rect& box) const {
    const RareProperties& d = rare();
    if (!(d.shadowOpacity > 0) || !d.shadowColor) return;
    // Without a path the shadow follows the filled bounds; a layer with
    // nothing filled casts none.
    MutablePath shape;
    if (d.shadowPath) {
        shape.addPath(*d.shadowPath);
    } else if ((d.backgroundColor || d.contents) && !box.isEmpty()) {
        shape = roundedRect(box, d.cornerRadius);
    } else {
        return;
    }
    Color color = d.shadowColor->withAlpha(d.shadowColor->alpha() * std::min(d.shadowOpacity, 1.0));
    context.saveGState();
    context.translateCTM(d.shadowOffset.width, d.shadowOffset.height);
    if (d.shadowRadius > 0) {
        // The blur, as a fainter rim of the radius around the shape.
        StrokeStyle rim;
        rim.color = color.withAlpha(color.alpha() / 2);
        rim.lineWidth = d.shadowRadius;
        context.strokePath(shape, rim);
    }
    context.fillPath(shape, color);
    context.restoreGState();
}

void Layer::renderInContext(DrawingContext& context) const {
    if (auto delegate = rare().renderDelegate.lock()) {
        delegate->renderLayerInContext(*this, context);
        return;
    }
    renderWithContent(context, [this](DrawingContext& inner) {
        drawInContext(inner);
        for (const LayerPtr& sublayer : sublayers_) {
            if (sublayer->hidden_) continue;
            inner.saveGState();
            inner.concatCTM(sublayer->transformToSuperlayer());
            sublayer->renderInContext(inner);
            inner.restoreGState();
        }
    });
}

void Layer::renderWithContent(DrawingContext& context, const std::function<void(DrawingContext&)>& content) const {
    if (hidden_ || !(opacity_ > 0)) return;
    bool group = opacity_ < 1;
    if (group) context.beginTransparencyLayer(opacity_);
    Rect box = bounds_.standardized();
    const RareProperties& d = rare();
    renderShadow(context, box);
    if (d.backgroundColor && !box.isEmpty()) context.fillPath(roundedRect(box, d.cornerRadius), *d.backgroundColor);
    if (masksToBounds_) {
        context.saveGState();
        context.clipToPath(roundedRect(box, d.cornerRadius));
    }
    if (d.contents && !box.isEmpty()) context.drawImage(*d.contents, box);
    if (content) content(context);
    if (masksToBounds_) context.restoreGState();
    if (d.borderWidth > 0 && d.borderColor && !box.isEmpty()) {
        StrokeStyle style;
        style.color = *d.borderColor;
        style.lineWidth = d.borderWidth;
        Rect inner = box.insetBy(d.borderWidth / 2, d.borderWidth / 2);
        if (!inner.isNull()) context.strokePath(roundedRect(inner, d.cornerRadius - d.borderWidth / 2), style);
    }
    if (group) context.endTransparencyLayer();
}

void Layer::addAnimation(const LayerAnimation& animation, const std::string& key) {
    auto copy = std::make_shared<LayerAnimation>(animation);
    for (auto& [k, a] : rareForWriting().animations) {
        if (k == key) {
            a = std::move(copy);
            return;
        }
    }
    rareForWriting().animations.emplace_back(key, std::move(copy));
}

LayerAnimationPtr Layer::animationForKey(const std::string& key) const {
    for (const auto& [k, a] : rare().animations) {
        if (k == key) return a;
    }
    return nullptr;
}

std::vector<std::string> Layer::animationKeys() const {
    std::vector<std::string> keys;
    for (const auto& entry : rare().animations) keys.push_back(entry.first);
    return keys;
}

void Layer::removeAnimationForKey(const std::string& key) {
    if (rare_) std::erase_if(rare_->animations, [&](const auto& entry) { return entry.first == key; });
}

}  // namespace graphics
