// The entries of the personal agenda whose title holds the words typed. An
// invitation shows its invitation line and is not marked as in the agenda;
// every other entry shows as a session. A result opens the session details
// of the entry.
#pragma once

#include "programme/SessionSearchEntity.h"

class AgendaSearchEntity : public SessionSearchEntity {
public:
    using SessionSearchEntity::SessionSearchEntity;

    std::string title() const override { return "My agenda"; }
    std::string entityName() const override;
    coredata::PredicatePtr searchPredicateForSearchString(const std::string& searchString) const override;
    using SearchEntity::searchPredicateForSearchString;
    using SearchEntity::configureCell;
    void configureCell(uikit::UITableViewCell& cell, uikit::UITableView& tableView, const ViewControllerPtr& controller,
                       const foundation::Value& object,
                       const SearchAdditionalDataSources& additionalDataSources) override;
    using SearchEntity::navigateToDetailsFromController;
    void navigateToDetailsFromController(const ViewControllerPtr& controller, const foundation::Value& object,
                                         const uikit::NSIndexPath& indexPath, bool isSwipeEnabled) override;

    std::string className() const override { return "AgendaSearchEntity"; }

protected:
    // An invitation's row adds its status line.
    bool showsInvitationLine(const QVACoreDataBaseSession& session) const override;
};
