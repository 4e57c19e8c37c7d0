// Handing a file to another application: the "Open in..." menu. No other
// application is installed here, so whether one would open a file is a
// device setting (applicationsOpenFiles) that tests and the app mode set;
// by default a file of the common document and picture types (the ones a
// phone ships applications for) finds one and any other finds none. A menu
// shown is recorded with its file, and the one on screen is what the screen
// dump prints. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "foundation/URL.h"

namespace uikit {

class UIBarButtonItem;
class UIDocumentInteractionController;
class UIViewController;

class UIDocumentInteractionControllerDelegate {
public:
    virtual ~UIDocumentInteractionControllerDelegate() = default;
    // The controller a preview would be presented from; none in the base.
    virtual std::shared_ptr<UIViewController> documentInteractionControllerViewControllerForPreview(
        UIDocumentInteractionController& controller) {
        (void)controller;
        return nullptr;
    }
};

class UIDocumentInteractionController : public foundation::Object {
public:
    static std::shared_ptr<UIDocumentInteractionController> interactionControllerWithURL(foundation::URL url);
    ~UIDocumentInteractionController() override;

    const foundation::URL& URL() const { return url_; }
    // Held weakly.
    std::shared_ptr<UIDocumentInteractionControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UIDocumentInteractionControllerDelegate>& delegate) { delegate_ = delegate; }

    // Shows the menu of the applications that open the file, anchored at
    // the item; NO, and nothing shown, when none does.
    bool presentOpenInMenuFromBarButtonItem(const std::shared_ptr<UIBarButtonItem>& item, bool animated);
    void dismissMenuAnimated(bool animated);
    bool isMenuShown() const { return menuShown_; }

    // --- The device ---
    // YES or NO for every file; none restores the default by file type.
    static void setApplicationsOpenFiles(std::optional<bool> answer);
    static bool applicationCanOpenFile(const foundation::URL& url);
    // The menu on screen, if any.
    static std::shared_ptr<UIDocumentInteractionController> shownMenu();
    // The file path of every menu shown, oldest first.
    static const std::vector<std::string>& recordedMenus();
    // The setting back to its default, the record emptied.
    static void resetForTests();

    std::string className() const override { return "UIDocumentInteractionController"; }

private:
    explicit UIDocumentInteractionController(foundation::URL url) : url_(std::move(url)) {}

    foundation::URL url_;
    std::weak_ptr<UIDocumentInteractionControllerDelegate> delegate_;
    bool menuShown_ = false;
};

}  // namespace uikit
