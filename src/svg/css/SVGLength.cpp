// SVG lengths and the device density table. The process keeps the density of
// the first use: no device listed changes it, and keeping it means every
// length of a run measures alike.
#include "svg/css/SVGLength.h"

#include <array>
#include <mutex>
#include <string>
#include <utility>

#include "foundation/Log.h"
#include "foundation/StringUtils.h"
#include "graphics/DeviceModel.h"

namespace svg {

namespace {

float processPixelsPerInch() {
    static std::once_flag once;
    static float pixelsPerInch = 0;
    std::call_once(once, [] { pixelsPerInch = SVGLength::pixelsPerInchForCurrentDevice(); });
    return pixelsPerInch;
}

}  // namespace

SVGLength::SVGLength(std::shared_ptr<CSSPrimitiveValue> value) : value_(std::move(value)) {}

std::shared_ptr<SVGLength> SVGLength::svgLengthFromNSString(std::string_view text) {
    auto value = std::make_shared<CSSPrimitiveValue>();
    value->setPixelsPerInch(processPixelsPerInch());
    value->setCssText(std::string(text));
    return std::make_shared<SVGLength>(std::move(value));
}

const std::string& SVGLength::valueAsString() const {
    static const std::string none;
    return valueAsString_ ? *valueAsString_ : none;
}

void SVGLength::setValueAsString(std::string text) { valueAsString_ = std::make_unique<std::string>(std::move(text)); }

std::shared_ptr<SVGLength> SVGLength::svgLengthZero() { return std::make_shared<SVGLength>(nullptr); }

float SVGLength::value() const { return value_ ? value_->getFloatValue(value_->primitiveType()) : 0; }

float SVGLength::pixelsValue() const { return value_ ? value_->getFloatValue(CSS_PX) : 0; }

double SVGLength::pixelsOf(const std::shared_ptr<SVGLength>& length) {
    return length ? double(length->pixelsValue()) : 0;
}

float SVGLength::numberValue() const { return value_ ? value_->getFloatValue(CSS_NUMBER) : 0; }

SVGLengthType SVGLength::unitType() const {
    if (!value_) return SVG_LENGTHTYPE_UNKNOWN;
    auto type = value_->primitiveType();
    if (type >= CSS_NUMBER && type <= CSS_PC) return static_cast<SVGLengthType>(type);
    return type == CSS_DIMENSION ? SVG_LENGTHTYPE_NUMBER : SVG_LENGTHTYPE_UNKNOWN;
}

float SVGLength::pixelsPerInchForCurrentDevice() {
    // First matching prefix wins, so the bare family names come after the
    // generations they would otherwise swallow.
    static constexpr std::array<std::pair<std::string_view, float>, 17> kTable{{
        {"iPhone1", 163},
        {"iPhone2", 163},
        {"iPhone3", 163},
        {"iPhone4", 326},
        {"iPhone5", 326},
        {"iPhone", 326},
        {"iPod1", 163},
        {"iPod2", 163},
        {"iPod3", 163},
        {"iPod4", 326},
        {"iPod5", 326},
        {"iPod", 326},
        {"iPad1", 132},
        {"iPad2", 132},
        {"iPad3", 264},
        {"iPad4", 264},
        {"iPad", 264},
    }};
    std::string machine = graphics::DeviceModel::machine();
    for (const auto& [prefix, pixelsPerInch] : kTable) {
        if (foundation::StringUtils::hasPrefix(machine, prefix)) return pixelsPerInch;
    }
    if (foundation::StringUtils::hasPrefix(machine, "x86_64")) {
        foundation::Log(
            "[%@] WARNING: you are running on the simulator; it's impossible for us to calculate "
            "centimeter/millimeter/inches units correctly",
            "SVGLength");
        return 132;
    }
    return 0;
}

}  // namespace svg
