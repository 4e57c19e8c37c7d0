// The document preview: a controller that shows the file its data source
// names. It keeps the item it was handed and what it read of the file
// (QLPreviewContent), so the screen dump can say which file it previews,
// whether that file is on disk and what it shows; its view draws a PDF's
// first page or a picture fitted to the screen, and any other file as a card
// with its title, kind and size. The file is read when the item is asked
// for. Its data source and delegate are held weakly. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/URL.h"
#include "quicklook/QLPreviewContent.h"
#include "uikit/UIViewController.h"

namespace quicklook {

class QLPreviewController;

class QLPreviewControllerDataSource {
public:
    virtual ~QLPreviewControllerDataSource() = default;
    virtual int64_t numberOfPreviewItemsInPreviewController(QLPreviewController& controller) = 0;
    // The item's location; none for an item that cannot be shown.
    virtual std::optional<foundation::URL> previewControllerPreviewItemAtIndex(QLPreviewController& controller,
                                                                               int64_t index) = 0;
    // The item's title; none shows the file's name.
    virtual std::optional<std::string> previewControllerPreviewItemTitleAtIndex(QLPreviewController& controller,
                                                                                int64_t index) {
        (void)controller, (void)index;
        return std::nullopt;
    }
};

class QLPreviewControllerDelegate {
public:
    virtual ~QLPreviewControllerDelegate() = default;
    virtual void previewControllerDidDismiss(QLPreviewController& controller) { (void)controller; }
};

class QLPreviewController : public uikit::UIViewController {
public:
    QLPreviewController();

    std::shared_ptr<QLPreviewControllerDataSource> dataSource() const { return dataSource_.lock(); }
    void setDataSource(const std::shared_ptr<QLPreviewControllerDataSource>& dataSource) { dataSource_ = dataSource; }
    std::shared_ptr<QLPreviewControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<QLPreviewControllerDelegate>& delegate) { delegate_ = delegate; }

    // Asks the data source again for the number of items and the current one.
    void reloadData();
    int64_t currentPreviewItemIndex() const { return currentIndex_; }
    // The current item as last asked; none before loading or without items.
    const std::optional<foundation::URL>& currentPreviewItemURL() const { return currentItem_; }
    // What the view shows of the current item.
    const QLPreviewContent& previewContent() const { return content_; }

    void loadView() override;
    // The items are asked for once the view loads.
    void viewDidLoad() override;
    // The previewed file and whether it exists.
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "QLPreviewController"; }

private:
    std::weak_ptr<QLPreviewControllerDataSource> dataSource_;
    std::weak_ptr<QLPreviewControllerDelegate> delegate_;
    int64_t currentIndex_ = 0;
    std::optional<foundation::URL> currentItem_;
    QLPreviewContent content_;
};

using QLPreviewControllerPtr = std::shared_ptr<QLPreviewController>;

}  // namespace quicklook
