// The documents list, standing in until it exists: keeps what the More tab
// hands it (the list delegate, the web-view-only flag, the title) and shows
// it in the screen dump. Its scene is registered under the class's name
// (addScene). Main thread only.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "app/StubScreen.h"

namespace uikit {
class UIStoryboard;
}

class DocumentsListDelegate;

class DocumentsListViewController : public BaseViewController, public StubScreen {
public:
    static constexpr const char* kStoryboardIdentifier = "DocumentsListViewController";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    const std::shared_ptr<DocumentsListDelegate>& listDelegate() const { return listDelegate_; }
    void setListDelegate(std::shared_ptr<DocumentsListDelegate> delegate);
    bool displayDocumentsInWebViewOnly() const { return displayDocumentsInWebViewOnly_; }
    void setDisplayDocumentsInWebViewOnly(bool value);

    void setTitle(std::optional<std::string> title) override;
    void viewDidLoad() override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "DocumentsListViewController"; }

private:
    std::shared_ptr<DocumentsListDelegate> listDelegate_;
    bool displayDocumentsInWebViewOnly_ = false;
};
