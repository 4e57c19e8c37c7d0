#include "people/DocumentsListViewController.h"

#include "app/StubPlaceholder.h"
#include "people/DocumentsListDelegate.h"
#include "uikit/UIStoryboard.h"

void DocumentsListViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<DocumentsListViewController>(); });
}

void DocumentsListViewController::setListDelegate(std::shared_ptr<DocumentsListDelegate> delegate) {
    listDelegate_ = std::move(delegate);
    recordCall("setListDelegate:" + (listDelegate_ ? listDelegate_->className() : std::string("nil")));
}

void DocumentsListViewController::setDisplayDocumentsInWebViewOnly(bool value) {
    displayDocumentsInWebViewOnly_ = value;
    recordCall(std::string("setDisplayDocumentsInWebViewOnly:") + StubPlaceholder::flag(value));
}

void DocumentsListViewController::setTitle(std::optional<std::string> title) {
    recordCall("setTitle:" + StubPlaceholder::text(title));
    BaseViewController::setTitle(std::move(title));
}

void DocumentsListViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    StubPlaceholder::paintWhite(*this);
}

std::vector<std::pair<std::string, std::string>> DocumentsListViewController::screenDescriptionItems() const {
    auto items = stubDescriptionItems(className());
    items.emplace_back("listDelegate", listDelegate_ ? listDelegate_->className() : std::string("nil"));
    items.emplace_back("displayDocumentsInWebViewOnly", StubPlaceholder::flag(displayDocumentsInWebViewOnly_));
    items.emplace_back("title", StubPlaceholder::plainText(title()));
    return items;
}
