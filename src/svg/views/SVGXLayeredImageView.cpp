// The layered view's set-up, with the placeholder for a missing image.
#include "svg/views/SVGXLayeredImageView.h"

#include "foundation/Log.h"
#include "svg/sources/SVGXSourceString.h"

namespace svg {

const char* const kSVGXMissingImagePlaceholder = R"svg(<?xml version="1.0" encoding="UTF-8" standalone="no"?>

<svg xmlns:svg="http://www.w3.org/2000/svg" xmlns="http://www.w3.org/2000/svg" width="100" height="100" id="svg2" version="1.1">
  <defs id="defs4"/>
  <metadata id="metadata7"/>
  <g id="layer1" transform="translate(0,-952.36218)">
    <rect id="rect2985" width="100" height="100" x="0" y="952.36218" style="opacity:0.98000003999999996;color:#000000;fill:#bf01ff;fill-opacity:0.99607843;fill-rule:nonzero;stroke:none;stroke-width:3;marker:none;visibility:visible;display:inline;overflow:visible;enable-background:accumulate"/>
    <text xml:space="preserve" style="font-size:40px;font-style:normal;font-weight:normal;line-height:125%;letter-spacing:0px;word-spacing:0px;fill:#f6ff0f;fill-opacity:1;stroke:none;font-family:Sans" x="6.3190379" y="991.14648" id="text3755"><tspan x="6.3190379" y="991.14648" id="tspan3759" style="font-size:24px;fill:#f6ff0f;fill-opacity:1">Missing</tspan></text>
    <text xml:space="preserve" style="font-size:40px;font-style:normal;font-weight:normal;line-height:125%;letter-spacing:0px;word-spacing:0px;fill:#fffc45;fill-opacity:1;stroke:none;font-family:Sans" x="26.460968" y="1030.2456" id="text3763"><tspan id="tspan3765" x="26.460968" y="1030.2456" style="font-size:24px;fill:#fffc45;fill-opacity:1">SVG</tspan></text>
  </g>
</svg>
)svg";

SVGXLayeredImageView::SVGXLayeredImageView(const graphics::Rect& frame) : SVGXImageView(frame) {
    setBackgroundColor(graphics::Color::clear());
}

std::shared_ptr<SVGXLayeredImageView> SVGXLayeredImageView::initWithFrame(const graphics::Rect& frame) {
    return std::make_shared<SVGXLayeredImageView>(frame);
}

std::shared_ptr<SVGXLayeredImageView> SVGXLayeredImageView::initWithSVGXImage(std::shared_ptr<SVGXImage> image) {
    if (image) {
        auto tree = image->CALayerTree();
        graphics::Size size = tree ? tree->frame().size : graphics::Size{};
        auto view = std::make_shared<SVGXLayeredImageView>(graphics::Rect{{0, 0}, size});
        view->setImage(std::move(image));
        return view;
    }
    foundation::Log(
        "[%@] WARNING: you have initialized an [%@] with a blank image (nil). Possibly because you're using "
        "Storyboards or NIBs which Apple won't allow us to decorate. Make sure you assign an SVGXImage to the .image "
        "property!",
        "SVGXLayeredImageView", "SVGXLayeredImageView");
    auto view = std::make_shared<SVGXLayeredImageView>(graphics::Rect{0, 0, 100, 100});
    foundation::Log("About to make a blank image using the inlined SVG = %@", kSVGXMissingImagePlaceholder);
    auto placeholder =
        SVGXImage::imageWithSource(SVGXSourceString::sourceFromContentsOfString(kSVGXMissingImagePlaceholder));
    view->setBackgroundColor(graphics::Color::rgb(0, 1, 1));
    view->setImage(placeholder);
    return view;
}

}  // namespace svg
