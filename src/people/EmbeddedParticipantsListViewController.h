// The stored participants of one organisation, "Participants on site", in
// one section of participant rows, whether they are in the booklet or not.
// The list delegate (a ParticipantsListDelegate) gives the entity, order,
// cells and marks; the organisation's id (`selectionPropertyId`) the
// predicate. A tap opens the participant's details, which swipe through the
// list when it holds two or more; the star follows or unfollows. A save
// reloads the marks and rebuilds the list. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/ListBaseViewController.h"

namespace uikit {
class UIControl;
}

class EmbeddedParticipantsListViewController : public ListBaseViewController {
public:
    static constexpr const char* kSectionTitle = "Participants on site";
    static constexpr double kRowHeight = 80;

    EmbeddedParticipantsListViewController();

    // The organisation's id.
    const Text& selectionPropertyId() const { return selectionPropertyId_; }
    void setSelectionPropertyId(Text id) { selectionPropertyId_ = std::move(id); }

    void loadView() override;
    void viewDidLoad() override;

    std::shared_ptr<const coredata::Predicate> fetchPredicate() override;
    std::optional<std::string> sectionNameKeyPath() override { return std::nullopt; }
    std::shared_ptr<uikit::UIImage> segmentedControlImage() override { return nullptr; }
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    Filters getFilterCollection() override { return {}; }
    // Raises off the main thread; the marks reloaded and the list rebuilt.
    void updateUiContentBecauseItsNeeded() override;

    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    // The star of a row: see ParticipantRowActions::toggleFavorite.
    void checkButtonTapped(uikit::UIControl& star);

    // Steps through the sections in table order, wrapping at both ends; the
    // pair names the participant entity.
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "EmbeddedParticipantsListViewController"; }

protected:
    // The table's look and cells, the marks and the controllers: what a load does.
    void prepareParticipantsTable();

private:
    Text selectionPropertyId_;
};
