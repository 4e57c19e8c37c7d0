// The export walk: one allocation per layer, one assignment per registered
// property, colours and paths spelled out as their own statements first.
#include "svg/layers/CALayerExporter.h"

#include <cstdio>

#include "graphics/ShapeLayer.h"

namespace svg {

namespace {

std::string format(const char* pattern, auto... args) {
    int length = std::snprintf(nullptr, 0, pattern, args...);
    std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, args...);
    return text;
}

std::string number(double value) { return format("%f", value); }

std::string rect(const graphics::Rect& r) {
    return format("CGRectMake(%f, %f, %f, %f)", r.origin.x, r.origin.y, r.size.width, r.size.height);
}

std::string string(std::string_view text) { return "@\"" + std::string(text) + "\""; }

}  // namespace

CALayerExporter::CALayerExporter(uikit::UIViewPtr rootView)
    : rootView_(std::move(rootView)),
      propertyRegistry_{
          {"CALayer", {"name", "bounds", "frame"}},
          {"CAShapeLayer",
           {"path", "fillColor", "fillRule", "strokeColor", "lineWidth", "miterLimit", "lineCap", "lineJoin",
            "lineDashPhase", "lineDashPattern"}},
      } {}

void CALayerExporter::startExport() {
    if (!rootView_) return;
    processLayer(*rootView_->layer(), 0, "root");
    if (delegate_) delegate_->layerExporterDidFinish(*this);
}

void CALayerExporter::emit(const graphics::Layer& layer, const std::string& statement) {
    if (delegate_) delegate_->layerExporterDidParseLayer(*this, layer, statement);
}

void CALayerExporter::processLayer(const graphics::Layer& layer, int32_t index, const std::string& parent) {
    std::string name = parent + "_layer" + std::to_string(index);
    std::string layerClass = layer.className();
    emit(layer, layerClass + "* " + name + " = [[" + layerClass + " alloc] init];");
    const bool isShape = dynamic_cast<const graphics::ShapeLayer*>(&layer) != nullptr;
    for (const auto& [registeredClass, properties] : propertyRegistry_) {
        if (registeredClass == "CAShapeLayer" && !isShape) continue;
        for (const auto& property : properties) {
            std::string value = propertyValue(layer, name, property);
            emit(layer, name + "." + property + " = " + value + ";");
        }
    }
    emit(layer, "[" + parent + " addSublayer:" + name + "];");
    emit(layer, "[" + name + " release];");
    int32_t k = 0;
    for (const auto& sublayer : layer.sublayers()) processLayer(*sublayer, index + 1 + k++, name);
}

std::string CALayerExporter::propertyValue(const graphics::Layer& layer, const std::string& name,
                                           const std::string& property) {
    if (property == "name") return layer.name() ? string(*layer.name()) : "nil";
    if (property == "bounds") return rect(layer.bounds());
    if (property == "frame") return rect(layer.frame());
    const auto& shape = dynamic_cast<const graphics::ShapeLayer&>(layer);
    if (property == "path") return pathValue(layer, name, property, shape.path());
    if (property == "fillColor") return colorValue(layer, name, property, shape.fillColor());
    if (property == "strokeColor") return colorValue(layer, name, property, shape.strokeColor());
    if (property == "fillRule") return string(graphics::fillRuleName(shape.fillRule()));
    if (property == "lineCap") return string(graphics::lineCapName(shape.lineCap()));
    if (property == "lineJoin") return string(graphics::lineJoinName(shape.lineJoin()));
    if (property == "lineWidth") return number(shape.lineWidth());
    if (property == "miterLimit") return number(shape.miterLimit());
    if (property == "lineDashPhase") return number(shape.lineDashPhase());
    // An empty pattern stands for the platform's nil array.
    return shape.lineDashPattern().empty() ? "nil" : "NSArray";
}

std::string CALayerExporter::colorValue(const graphics::Layer& layer, const std::string& name,
                                        const std::string& property, const std::optional<graphics::Color>& color) {
    if (!color) return "0";
    std::string base = name + "_" + property + "_colorref";
    std::string space = base + "_colorSpace";
    std::string components = base + "_colorComponents";
    std::string creation;
    switch (color->colorSpace().model()) {
        case graphics::ColorSpace::Model::RGB: creation = "CGColorSpaceCreateDeviceRGB();"; break;
        case graphics::ColorSpace::Model::CMYK: creation = "CGColorSpaceCreateDeviceCMYK();"; break;
        case graphics::ColorSpace::Model::Monochrome: creation = "CGColorSpaceCreateDeviceGray();"; break;
    }
    emit(layer, "CGColorSpaceRef " + space + " = " + creation);
    std::string array = "CGFloat " + components + "[] = {";
    bool first = true;
    for (double component : color->components()) {
        array += (first ? "" : ",") + number(component);
        first = false;
    }
    emit(layer, array + "};");
    emit(layer, "CGColorRef " + base + " = CGColorCreate(" + space + ", " + components + ");");
    return base;
}

std::string CALayerExporter::pathValue(const graphics::Layer& layer, const std::string& name,
                                       const std::string& property, const graphics::PathPtr& path) {
    if (!path) return "0";
    std::string q = name + "_" + property + "_pathref";
    emit(layer, "CGMutablePathRef " + q + " = CGPathCreateMutable();");
    std::string lines;
    const char* qs = q.c_str();
    for (const auto& element : path->elements()) {
        const auto& p = element.points;
        using Type = graphics::PathElement::Type;
        switch (element.type) {
            case Type::MoveToPoint:
                lines += format("\nCGPathMoveToPoint(%s, NULL, %f, %f);", qs, p[0].x, p[0].y);
                break;
            case Type::AddLineToPoint:
                lines += format("\nCGPathAddLineToPoint(%s, NULL, %f, %f);", qs, p[0].x, p[0].y);
                break;
            case Type::AddQuadCurveToPoint:
                lines += format("\nCGPathAddQuadCurveToPoint(%s, NULL, %f, %f, %f, %f);", qs, p[0].x, p[0].y,
                                p[1].x, p[1].y);
                break;
            case Type::AddCurveToPoint:
                lines += format("\nCGPathAddCurveToPoint(%s, NULL, %f, %f, %f, %f, %f, %f);", qs, p[0].x, p[0].y,
                                p[1].x, p[1].y, p[2].x, p[2].y);
                break;
            case Type::CloseSubpath: lines += format("\nCGPathCloseSubpath(%s);", qs); break;
        }
    }
    emit(layer, lines);
    return q;
}

}  // namespace svg
