// A list of the meeting's documents of one kind ("Information" or
// "Reports"), as its list delegate defines it: the viewable stored
// documents, in sections with an index where the delegate makes sections.
// A tap opens the document viewer, titled by the kind of list. The More tab
// hands the delegate, the title and the web-view-only flag. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lists/ListBaseViewController.h"

class QVACoreDataDocumentInfo;
namespace uikit {
class UIStoryboard;
}

class DocumentsListViewController : public ListBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "DocumentsListViewController";
    static constexpr const char* kCellIdentifier = "documentsListTableViewCell";
    static constexpr const char* kDetailsSegue = "documentDisplayInDetail";
    static constexpr const char* kReportTitle = "Report details";
    static constexpr const char* kInformationTitle = "Document details";
    static constexpr const char* kReportEvent = "View report";
    static constexpr const char* kInformationEvent = "View useful document";
    static constexpr double kRowHeight = 44;
    static constexpr double kFontSize = 17;
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The list, the viewer and the segue between them, in the phone's or the
    // pad's form.
    static void addScene(uikit::UIStoryboard& storyboard);

    DocumentsListViewController();
    ~DocumentsListViewController() override;

    bool displayDocumentsInWebViewOnly() const { return displayDocumentsInWebViewOnly_; }
    void setDisplayDocumentsInWebViewOnly(bool value) { displayDocumentsInWebViewOnly_ = value; }
    // The document of the last tapped row.
    const std::shared_ptr<QVACoreDataDocumentInfo>& selectedDocumentInfo() const { return selectedDocumentInfo_; }

    void loadView() override;
    void viewDidLoad() override;
    // Raises off the main thread; rebuilds the controllers and the tables.
    void updateUiContentBecauseItsNeeded() override;

    std::shared_ptr<const coredata::Predicate> fetchPredicate() override;
    Filters getFilterCollection() override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    std::string cellIdentifier() override { return kCellIdentifier; }

    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    // The capitalised first letter of each section's name, once each.
    std::vector<std::string> sectionIndexTitlesForTableView(uikit::UITableView& tableView) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    std::string className() const override { return "DocumentsListViewController"; }

private:
    bool displayDocumentsInWebViewOnly_ = false;
    std::shared_ptr<QVACoreDataDocumentInfo> selectedDocumentInfo_;
    std::shared_ptr<uikit::UITableView> listTable_;
};
