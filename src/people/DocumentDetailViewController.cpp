#include "people/DocumentDetailViewController.h"

#include <utility>
#include <vector>

#include "Utils/LogSafeText.h"
#include "Utils/StringUtility.h"
#include "Utils/Utils.h"
#include "api/DownloadedBody.h"
#include "api/QVAApiManager.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "model/QVAEvent.h"
#include "settings/ApplicationSettingsStore.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"

namespace {

constexpr const char* kDocumentsFolderComponent = "/Info Pdfs/";

// The location as the log may show it: the account's folder named by the
// masked token, never by the token itself.
std::string documentLocationForLog(const std::string& location, const std::optional<std::string>& token) {
    const auto folder = QVAApiManager::documentsFolderNameForAuthToken(token);
    if (!folder) return location;
    const std::string plain = std::string(kDocumentsFolderComponent) + *folder + "/";
    const auto at = location.find(plain);
    if (at == std::string::npos) return location;
    return location.substr(0, at) + kDocumentsFolderComponent + LogSafeText::maskedToken(token) + "/" +
           location.substr(at + plain.size());
}

// The preview as the screen dump prints it: the cached file's location
// with the account's folder masked as in the log, since a dump travels as
// far as a log does.
class DocumentDetailMaskedPreview : public quicklook::QLPreviewController {
public:
    explicit DocumentDetailMaskedPreview(std::optional<std::string> token) : token_(std::move(token)) {}

    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override {
        auto items = quicklook::QLPreviewController::screenDescriptionItems();
        for (auto& [name, text] : items)
            if (name == "previewing") text = documentLocationForLog(text, token_);
        return items;
    }

private:
    std::optional<std::string> token_;
};

}  // namespace

void DocumentDetailViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<DocumentDetailViewController>(); });
}

DocumentDetailViewController::DocumentDetailViewController() = default;

DocumentDetailViewController::~DocumentDetailViewController() {
    if (preview_) {
        preview_->setDataSource(nullptr);
        preview_->setDelegate(nullptr);
    }
    if (interaction_) {
        interaction_->dismissMenuAnimated(false);
        interaction_->setDelegate(nullptr);
    }
}

std::string DocumentDetailViewController::cacheFileName(const std::string& documentURL, const Text& extension) {
    const std::string suffix = StringUtility::isNilOrEmpty(extension) ? std::string(kDefaultExtension) : *extension;
    return StringUtility::getHashed(documentURL) + "." + suffix;
}

std::optional<std::string> DocumentDetailViewController::cacheFilePath(const Text& authToken,
                                                                       const std::string& documentURL,
                                                                       const Text& extension) {
    auto folder = QVAApiManager::documentsFolderForAuthToken(authToken);
    if (!folder) return std::nullopt;
    return *folder + "/" + cacheFileName(documentURL, extension);
}

void DocumentDetailViewController::loadView() {
    auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    root->setBackgroundColor(graphics::Color::white());
    previewContainer_ = std::make_shared<uikit::UIView>(root->bounds());
    previewContainer_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth |
                                           uikit::UIViewAutoresizingFlexibleHeight);
    root->addSubview(previewContainer_);
    indicator_ = std::make_shared<uikit::UIActivityIndicatorView>(uikit::UIActivityIndicatorViewStyle::Gray);
    indicator_->sizeToFit();
    indicator_->setCenter(root->center());
    indicator_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin |
                                    uikit::UIViewAutoresizingFlexibleRightMargin |
                                    uikit::UIViewAutoresizingFlexibleTopMargin |
                                    uikit::UIViewAutoresizingFlexibleBottomMargin);
    indicator_->setHidden(true);
    root->addSubview(indicator_);
    setView(root);
}

void DocumentDetailViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    openDocument();
}

void DocumentDetailViewController::openDocument() {
    if (webViewOnly_) {
        showPdfInWebViewFromWebUrl(documentURL_.value_or(""));
        return;
    }
    std::weak_ptr<DocumentDetailViewController> weak =
        std::static_pointer_cast<DocumentDetailViewController>(shared_from_this());
    openInButton_ = uikit::UIBarButtonItem::withTitle(std::string(kOpenInTitle), uikit::UIBarButtonItemStyle::Plain,
                                                      [weak](uikit::UIBarButtonItem&) {
                                                          if (auto viewer = weak.lock()) viewer->performOpenIn();
                                                      });
    openInButton_->setEnabled(false);
    navigationItem()->setRightBarButtonItem(openInButton_);
    indicator_->setHidden(false);
    indicator_->startAnimating();

    const std::string address = documentURL_.value_or("");
    const Text token = authenticationCode();
    const auto folder = QVAApiManager::documentsFolderForAuthToken(token);
    const std::string name = cacheFileName(address, fileExtension_);
    if (folder) {
        auto& files = foundation::FileManager::defaultManager();
        if (!files.fileExistsAtPath(*folder)) files.createDirectoryAtPath(*folder, true);
        const std::string path = *folder + "/" + name;
        if (files.fileExistsAtPath(path)) {
            // A copy kept by an earlier version, under a weaker rule, may be
            // a page some network answered in the document's place: it is
            // judged again as a download is, and fetched anew when it fails.
            const auto refusal = DownloadedBody::refusalOfFile(path, DownloadedBody::Asked{name, std::nullopt, false});
            if (!refusal) {
                hideIndicator();
                showCachedFile(path);
                return;
            }
            foundation::Log("The kept document %@ is %@: fetched again",
                            documentLocationForLog(path, token), *refusal);
            files.removeItemAtPath(path);
        }
    }
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    QVAApiManager::sharedApiManager().getFileFromUrl(
        documentURL_, name, token, event ? event->itemId() : std::nullopt,
        [weak](const foundation::ErrorPtr& error, const foundation::Value& result) {
            auto viewer = weak.lock();
            if (!viewer) return;
            const std::string* path = result.string();
            if (!error && path) {
                viewer->showCachedFile(*path);
                return;
            }
            viewer->handleError(error, kDownloadFailedTitle, std::nullopt);
            viewer->hideIndicator();
        });
}

void DocumentDetailViewController::showCachedFile(const std::string& path) {
    showPdfInWebViewFromFileUrl(path);
    fileUrl_ = foundation::URL::fileURLWithPath(path);
    if (openInButton_) openInButton_->setEnabled(true);
}

void DocumentDetailViewController::hideIndicator() {
    if (!indicator_) return;
    indicator_->stopAnimating();
    indicator_->setHidden(true);
}

void DocumentDetailViewController::showPdfInWebViewFromFileUrl(const std::string& path) {
    releasePreview();
    hideIndicator();
    finalUrlString_ = path;
    embedPreview();
}

void DocumentDetailViewController::showPdfInWebViewFromWebUrl(const std::string& address) {
    finalUrlString_ = address;
    embedPreview();
}

void DocumentDetailViewController::embedPreview() {
    releasePreview();
    auto self = std::static_pointer_cast<DocumentDetailViewController>(shared_from_this());
    preview_ = std::make_shared<DocumentDetailMaskedPreview>(authenticationCode());
    preview_->setDataSource(self);
    preview_->setDelegate(self);
    addChildViewController(preview_);
    const graphics::Size size = previewContainer_->frame().size;
    preview_->view()->setFrame(graphics::Rect(0, 0, size.width, size.height));
    previewContainer_->addSubview(preview_->view());
    preview_->didMoveToParentViewController(this);
}

void DocumentDetailViewController::releasePreview() {
    if (!preview_) return;
    preview_->setDataSource(nullptr);
    preview_->setDelegate(nullptr);
    preview_->willMoveToParentViewController(nullptr);
    if (preview_->isViewLoaded()) preview_->view()->removeFromSuperview();
    preview_->removeFromParentViewController();
    preview_.reset();
}

void DocumentDetailViewController::performOpenIn() {
    if (!fileUrl_) return;
    interaction_ = uikit::UIDocumentInteractionController::interactionControllerWithURL(*fileUrl_);
    interaction_->setDelegate(std::static_pointer_cast<DocumentDetailViewController>(shared_from_this()));
    if (!interaction_->presentOpenInMenuFromBarButtonItem(openInButton_, true))
        Utils::displayAlertViewWithMessage(std::string(kNoApplicationMessage), std::string(kNoApplicationTitle));
}

void DocumentDetailViewController::viewWillDisappear(bool animated) {
    BaseViewController::viewWillDisappear(animated);
    if (interaction_) interaction_->dismissMenuAnimated(true);
}

std::shared_ptr<uikit::UIImage> DocumentDetailViewController::segmentedControlImage() {
    return uikit::UIImage::imageNamed("agenda_icon.png");
}

int64_t DocumentDetailViewController::numberOfPreviewItemsInPreviewController(quicklook::QLPreviewController&) {
    return 1;
}

std::optional<foundation::URL> DocumentDetailViewController::previewControllerPreviewItemAtIndex(
    quicklook::QLPreviewController&, int64_t) {
    const std::string location = finalUrlString_ ? *finalUrlString_ : documentURL_.value_or("");
    foundation::Log("loading document with \n real url %@ \n file location %@", documentURL_.value_or("(null)"),
                    documentLocationForLog(location, authenticationCode()));
    return foundation::URL::fileURLWithPath(location);
}

std::optional<std::string> DocumentDetailViewController::previewControllerPreviewItemTitleAtIndex(
    quicklook::QLPreviewController&, int64_t) {
    if (StringUtility::isNilOrEmpty(filename_)) return std::nullopt;
    return filename_;
}

std::shared_ptr<uikit::UIViewController> DocumentDetailViewController::documentInteractionControllerViewControllerForPreview(
    uikit::UIDocumentInteractionController&) {
    return std::static_pointer_cast<uikit::UIViewController>(shared_from_this());
}

void DocumentDetailViewController::webViewDidFinishLoad(uikit::UIWebView&) { hideIndicator(); }

void DocumentDetailViewController::webViewDidFailLoadWithError(uikit::UIWebView&, const foundation::ErrorPtr&) {
    hideIndicator();
}
