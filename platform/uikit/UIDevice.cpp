// The device's idiom, read once from the launch environment.
#include "uikit/UIDevice.h"

#include <atomic>
#include <cstdlib>
#include <string_view>

namespace uikit {
namespace {

// Read from any thread: layout code asks on the main thread, path builders elsewhere.
std::atomic<UIUserInterfaceIdiom> idiom{UIUserInterfaceIdiom::Phone};

UIUserInterfaceIdiom idiomFromEnvironment() {
    const char* value = std::getenv("QVA_DEVICE_IDIOM");
    if (!value) return UIUserInterfaceIdiom::Phone;
    std::string_view text(value);
    return text == "pad" || text == "tablet" ? UIUserInterfaceIdiom::Pad : UIUserInterfaceIdiom::Phone;
}

}  // namespace

UIDevice::UIDevice() { idiom = idiomFromEnvironment(); }

UIDevice& UIDevice::currentDevice() {
    static UIDevice device;
    return device;
}

UIUserInterfaceIdiom UIDevice::userInterfaceIdiom() const { return idiom; }

void UIDevice::setUserInterfaceIdiom(UIUserInterfaceIdiom value) { idiom = value; }

}  // namespace uikit
