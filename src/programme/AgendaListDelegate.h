// The My agenda tab's list: every agenda entry of the user (invitations of
// any answer included) and the personal entries, one day at a time in hour
// sections, searchable by title. Its bar holds the add-entry button (with
// the personal-entries permission) and the calendar-sync button.
// Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "graphics/Color.h"
#include "programme/ListSessionsBaseDelegate.h"

class AgendaListDelegate : public ListSessionsBaseDelegate {
public:
    static constexpr const char* kSearchHint = "Search in my agenda";
    static constexpr const char* kAnalyticsEventName = "View my agenda";
    static constexpr const char* kSegmentImage = "agenda_icon.png";
    static constexpr const char* kAddEntryImage = "add_personal_entry.png";
    static constexpr const char* kAddEntrySegue = "addPersonalEntrySegID";
    static constexpr const char* kCalendarImage = "sync_agenda.png";
    static constexpr const char* kCalendarSegue = "syncWithCalendarSegueId";

    AgendaListDelegate();

    // The calendar button's tint while sync is on; white otherwise.
    static graphics::Color syncOnTint();

    const foundation::Value::Array& orvaneUsers() const { return orvaneUsers_; }

    // --- Protocol ---
    std::string entityName() override;
    std::optional<std::vector<std::shared_ptr<ListSelectionModel>>> listSelectionModelEntities() override;
    std::optional<PredicatePtr> fetchPredicate() override;
    Text sectionNameKeyPath() override { return std::string(kSectionKey); }
    SortDescriptors sortDescriptors() override;
    std::optional<SortDescriptors> sortDescriptorsForSearch() override;
    std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates() override;
    Text searchHintText() override { return std::string(kSearchHint); }
    Text getAnalyticsEventName() override { return std::string(kAnalyticsEventName); }
    std::optional<std::shared_ptr<uikit::UIImage>> segmentedControlImage() override;
    void refreshContentWhenPulledToRefresh() override;
    void refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack,
                                                     LiteListBaseViewController& forController) override;
    // The add-entry button with "my_agenda:personal_entries", else the calendar button.
    std::optional<std::shared_ptr<SegBarButtonItem>> rightBarButtonItem() override;
    // Both buttons (the add-entry one only with the permission), pressing
    // into the list screen.
    std::optional<std::vector<std::shared_ptr<uikit::UIBarButtonItem>>> rightBarButtonItemsArrayForController(
        uikit::UIViewController& controller) override;
    // An invitation with its status line and never as in the agenda; any
    // other session row as the base fills it.
    void modelObject(IEntityModel& object, uikit::UITableViewCell& cell, bool forSearch,
                     BaseViewController& inController) override;

    std::string className() const override { return "AgendaListDelegate"; }

private:
    std::shared_ptr<SegBarButtonItem> addEntryButton(const std::shared_ptr<SegBarButtonItemProtocol>& delegate);
    std::shared_ptr<SegBarButtonItem> calendarButton(const std::shared_ptr<SegBarButtonItemProtocol>& delegate);

    foundation::Value::Array orvaneUsers_;
};
