// The document preview: a controller that shows the file its data source
// names. Nothing renders a document here: the controller keeps the item it
// was handed, so the screen dump can say which file it previews and whether
// that file is on disk, and its view draws a light page with the file's
// name for a screenshot. Its data source and delegate are held weakly.
// Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/URL.h"
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
};

using QLPreviewControllerPtr = std::shared_ptr<QLPreviewController>;

}  // namespace quicklook
