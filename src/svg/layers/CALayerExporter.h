// Writes a view's layer tree out as source statements that would rebuild the
// same layers with the platform's layer and path calls, handing each
// statement to a delegate as it goes. A debugging aid: it lets a drawn floor
// plan be pasted into a scratch program.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Object.h"
#include "graphics/Color.h"
#include "graphics/Layer.h"
#include "graphics/Path.h"
#include "uikit/UIView.h"

namespace svg {

class CALayerExporter;

class CALayerExporterDelegate {
public:
    virtual ~CALayerExporterDelegate() = default;
    virtual void layerExporterDidParseLayer(CALayerExporter& exporter, const graphics::Layer& layer,
                                            const std::string& statement) = 0;
    // Optional: the default does nothing.
    virtual void layerExporterDidFinish(CALayerExporter&) {}
};

class CALayerExporter : public foundation::Object {
public:
    explicit CALayerExporter(uikit::UIViewPtr rootView);

    const uikit::UIViewPtr& rootView() const { return rootView_; }
    void setRootView(uikit::UIViewPtr view) { rootView_ = std::move(view); }
    // Not owned.
    CALayerExporterDelegate* delegate() const { return delegate_; }
    void setDelegate(CALayerExporterDelegate* delegate) { delegate_ = delegate; }

    // Synchronous; nothing at all without a root view.
    void startExport();
    void processLayer(const graphics::Layer& layer, int32_t index, const std::string& parent);

    std::string className() const override { return "CALayerExporter"; }

private:
    void emit(const graphics::Layer& layer, const std::string& statement);
    std::string propertyValue(const graphics::Layer& layer, const std::string& name, const std::string& property);
    std::string colorValue(const graphics::Layer& layer, const std::string& name, const std::string& property,
                           const std::optional<graphics::Color>& color);
    std::string pathValue(const graphics::Layer& layer, const std::string& name, const std::string& property,
                          const graphics::PathPtr& path);

    uikit::UIViewPtr rootView_;
    CALayerExporterDelegate* delegate_ = nullptr;
    // Class name to the properties written for layers of that class, in the
    // order the classes are checked.
    std::vector<std::pair<std::string, std::vector<std::string>>> propertyRegistry_;
};

}  // namespace svg
