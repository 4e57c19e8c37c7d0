// The More tab: the menu of maps, information documents, the meeting's
// feedback form, reports, partners, help and settings, one fixed row each,
// leading to its screen through a storyboard segue. The rows are built once
// when the view loads; a meeting that gains documents or a feedback form
// shows the new row only when the tab is made again. "Event feedback" goes
// dark while the network is down and wakes at the next network change.
// Scene "MoreViewController" with its segues (MoreScenes). Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/BaseViewController.h"
#include "uikit/UITableView.h"

class DocumentsListDelegate;
class MoreCellDataModel;

class MoreViewController : public BaseViewController,
                           public uikit::UITableViewDataSource,
                           public uikit::UITableViewDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "MoreViewController";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static constexpr const char* kTableOutlet = "moreTableView";
    static constexpr const char* kCellIdentifier = "moreTableViewCell";

    static constexpr const char* kMapsSegue = "moreToMapsSegue";
    static constexpr const char* kDocumentsListSegue = "moreToDocumentsListSegue";
    static constexpr const char* kFeedbackDocumentSegue = "moreToFeedbackDocumentSegue";
    static constexpr const char* kPartnersListSegue = "moreToPartnersListSegue";
    static constexpr const char* kHelpSegue = "moreToHelpSegue";
    static constexpr const char* kSettingsSegue = "moreToSettingsSegue";

    static constexpr const char* kMapsTitle = "Maps";
    static constexpr const char* kInformationTitle = "Information";
    static constexpr const char* kEventFeedbackTitle = "Event feedback";
    static constexpr const char* kReportsTitle = "Reports";
    static constexpr const char* kPartnersTitle = "Partners";
    static constexpr const char* kHelpTitle = "Help";
    static constexpr const char* kSettingsTitle = "Settings";

    static constexpr const char* kNilDelegateExceptionName = "list delegate should not be nil";
    static constexpr const char* kNilDelegateReasonFormat = "create a not nil documentsListDelegate in didSelectRowAtIndexPath %@";

    MoreViewController();
    ~MoreViewController() override;

    Text vcTitle() const override { return std::string("More"); }

    const std::vector<std::shared_ptr<MoreCellDataModel>>& dataSourceArray() const { return dataSourceArray_; }
    bool hasDataLoaded() const { return hasDataLoaded_; }
    const std::shared_ptr<DocumentsListDelegate>& documentsListDelegate() const { return documentsListDelegate_; }
    const Text& documentsListTitle() const { return documentsListTitle_; }
    const std::shared_ptr<uikit::UITableView>& moreTableView() const { return moreTableView_; }
    void setMoreTableView(std::shared_ptr<uikit::UITableView> table) { moreTableView_ = std::move(table); }

    // YES when the screen's store holds at least one information document.
    bool meetingHasInformationDocuments() const;
    // Opens the settings screen; the root controllers call it.
    void displaySettings();

    void viewDidLoad() override;
    void onNetworkStatusChanged(bool online) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "MoreViewController"; }

private:
    void buildDataSource();

    std::vector<std::shared_ptr<MoreCellDataModel>> dataSourceArray_;
    bool hasDataLoaded_ = false;
    std::shared_ptr<DocumentsListDelegate> documentsListDelegate_;
    Text documentsListTitle_;
    // The tapped row's title: the title of a destination that brings none.
    Text chosenRowTitle_;
    std::shared_ptr<uikit::UITableView> moreTableView_;
};

using MoreViewControllerPtr = std::shared_ptr<MoreViewController>;
