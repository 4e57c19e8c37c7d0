// The document viewer: shows one document of the meeting with the platform's
// preview and offers "Open in..." to hand the file to another application.
// Each document is downloaded once per account into the account's folder of
// documents, named by the SHA-256 of its address and its extension ("pdf"
// when it has none); every later opening, from any meeting of the account,
// previews the cached file without the network. In web-view-only mode the
// address itself is previewed and nothing is cached. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/BaseViewController.h"
#include "foundation/URL.h"
#include "quicklook/QLPreviewController.h"
#include "uikit/UIDocumentInteractionController.h"
#include "uikit/UIWebView.h"

namespace uikit {
class UIActivityIndicatorView;
class UIBarButtonItem;
class UIStoryboard;
}  // namespace uikit

class DocumentDetailViewController : public BaseViewController,
                                     public quicklook::QLPreviewControllerDataSource,
                                     public quicklook::QLPreviewControllerDelegate,
                                     public uikit::UIDocumentInteractionControllerDelegate,
                                     public uikit::UIWebViewDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "DocumentDetailViewController";
    static constexpr const char* kOpenInTitle = "Open in...";
    static constexpr const char* kDownloadFailedTitle = "Failed to download document.";
    static constexpr const char* kNoApplicationTitle = "Error";
    static constexpr const char* kNoApplicationMessage = "No compatible apps were found on your device.";
    static constexpr const char* kDefaultExtension = "pdf";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    DocumentDetailViewController();
    ~DocumentDetailViewController() override;

    // --- Inputs, set before the view loads ---
    const Text& documentURL() const { return documentURL_; }
    void setDocumentURL(Text url) { documentURL_ = std::move(url); }
    const Text& fileExtension() const { return fileExtension_; }
    void setFileExtension(Text extension) { fileExtension_ = std::move(extension); }
    const Text& filename() const { return filename_; }
    void setFilename(Text name) { filename_ = std::move(name); }
    bool webViewOnly() const { return webViewOnly_; }
    void setWebViewOnly(bool value) { webViewOnly_ = value; }

    // --- State ---
    // The cached file, once it is on disk.
    const std::optional<foundation::URL>& fileUrl() const { return fileUrl_; }
    const Text& finalUrlString() const { return finalUrlString_; }
    const std::shared_ptr<uikit::UIBarButtonItem>& openInButton() const { return openInButton_; }
    const quicklook::QLPreviewControllerPtr& previewController() const { return preview_; }
    const std::shared_ptr<uikit::UIDocumentInteractionController>& documentInteractionController() const {
        return interaction_;
    }
    std::shared_ptr<uikit::UIActivityIndicatorView> documentActivityIndicator() const { return indicator_; }

    // The cache file of a document for the account's token: none when the
    // token names no folder.
    static std::optional<std::string> cacheFilePath(const Text& authToken, const std::string& documentURL,
                                                    const Text& extension);
    // The document's cache file name: the address's hash, a dot, the extension or "pdf".
    static std::string cacheFileName(const std::string& documentURL, const Text& extension);

    void loadView() override;
    void viewDidLoad() override;
    void viewWillDisappear(bool animated) override;
    std::shared_ptr<uikit::UIImage> segmentedControlImage() override;

    void showPdfInWebViewFromFileUrl(const std::string& path);
    void showPdfInWebViewFromWebUrl(const std::string& address);
    // "Open in...": the menu of the applications that open the cached file.
    void performOpenIn();

    // --- The preview's data source and delegate ---
    int64_t numberOfPreviewItemsInPreviewController(quicklook::QLPreviewController& controller) override;
    std::optional<foundation::URL> previewControllerPreviewItemAtIndex(quicklook::QLPreviewController& controller,
                                                                       int64_t index) override;
    // The document's own file name: the cached file is named by a hash.
    std::optional<std::string> previewControllerPreviewItemTitleAtIndex(quicklook::QLPreviewController& controller,
                                                                        int64_t index) override;
    void previewControllerDidDismiss(quicklook::QLPreviewController& controller) override { (void)controller; }

    std::shared_ptr<uikit::UIViewController> documentInteractionControllerViewControllerForPreview(
        uikit::UIDocumentInteractionController& controller) override;
    void webViewDidFinishLoad(uikit::UIWebView& webView) override;
    void webViewDidFailLoadWithError(uikit::UIWebView& webView, const foundation::ErrorPtr& error) override;

    std::string className() const override { return "DocumentDetailViewController"; }

private:
    void openDocument();
    void showCachedFile(const std::string& path);
    void hideIndicator();
    void embedPreview();
    void releasePreview();

    Text documentURL_;
    Text fileExtension_;
    Text filename_;
    bool webViewOnly_ = false;
    std::optional<foundation::URL> fileUrl_;
    Text finalUrlString_;
    std::shared_ptr<uikit::UIBarButtonItem> openInButton_;
    quicklook::QLPreviewControllerPtr preview_;
    std::shared_ptr<uikit::UIDocumentInteractionController> interaction_;
    std::shared_ptr<uikit::UIActivityIndicatorView> indicator_;
    std::shared_ptr<uikit::UIView> previewContainer_;
};
