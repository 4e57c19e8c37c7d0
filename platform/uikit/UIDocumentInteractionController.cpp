#include "uikit/UIDocumentInteractionController.h"

#include <algorithm>
#include <cctype>

#include "foundation/MainThreadChecker.h"

namespace uikit {

namespace {

struct DocumentInteractionDevice {
    std::optional<bool> applicationsOpenFiles;
    std::weak_ptr<UIDocumentInteractionController> shown;
    std::vector<std::string> recorded;
};

DocumentInteractionDevice& documentInteractionDevice() {
    static DocumentInteractionDevice device;
    return device;
}

// What the phone's own applications open: documents and pictures.
bool hasCommonlyOpenedExtension(const foundation::URL& url) {
    static const std::vector<std::string> kOpened{"png", "jpg", "jpeg", "gif", "doc", "docx",
                                                  "xls", "xlsx", "ppt", "pptx", "pdf"};
    const std::string name = url.lastPathComponent();
    const auto dot = name.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(kOpened.begin(), kOpened.end(), extension) != kOpened.end();
}

}  // namespace

std::shared_ptr<UIDocumentInteractionController> UIDocumentInteractionController::interactionControllerWithURL(
    foundation::URL url) {
    return std::shared_ptr<UIDocumentInteractionController>(new UIDocumentInteractionController(std::move(url)));
}

UIDocumentInteractionController::~UIDocumentInteractionController() = default;

bool UIDocumentInteractionController::presentOpenInMenuFromBarButtonItem(const std::shared_ptr<UIBarButtonItem>& item,
                                                                         bool animated) {
    (void)item, (void)animated;
    foundation::requireMainThread("the open-in menu is shown on the main thread only");
    if (!applicationCanOpenFile(url_)) return false;
    auto& device = documentInteractionDevice();
    if (auto previous = device.shown.lock(); previous && previous.get() != this) previous->menuShown_ = false;
    menuShown_ = true;
    device.shown = std::static_pointer_cast<UIDocumentInteractionController>(shared_from_this());
    device.recorded.push_back(url_.isFileURL() ? url_.path() : url_.absoluteString());
    return true;
}

void UIDocumentInteractionController::dismissMenuAnimated(bool animated) {
    (void)animated;
    menuShown_ = false;
    auto& device = documentInteractionDevice();
    if (device.shown.lock().get() == this) device.shown.reset();
}

void UIDocumentInteractionController::setApplicationsOpenFiles(std::optional<bool> answer) {
    documentInteractionDevice().applicationsOpenFiles = answer;
}

bool UIDocumentInteractionController::applicationCanOpenFile(const foundation::URL& url) {
    const auto& answer = documentInteractionDevice().applicationsOpenFiles;
    return answer ? *answer : hasCommonlyOpenedExtension(url);
}

std::shared_ptr<UIDocumentInteractionController> UIDocumentInteractionController::shownMenu() {
    auto shown = documentInteractionDevice().shown.lock();
    return shown && shown->menuShown_ ? shown : nullptr;
}

const std::vector<std::string>& UIDocumentInteractionController::recordedMenus() {
    return documentInteractionDevice().recorded;
}

void UIDocumentInteractionController::resetForTests() {
    auto& device = documentInteractionDevice();
    device.applicationsOpenFiles.reset();
    device.shown.reset();
    device.recorded.clear();
}

}  // namespace uikit
