// The list delegate of the session lists, standing in until the programme
// lists exist: it keeps the data the session rows need beside their fetch
// (rooms and venues as models, the agenda's, the official programme's and
// the noted sessions' ids), reloads them from the store on request, names
// the session row cell and fills one for a session model from those lists.
// Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "lists/ListsDataSourceProtocol.h"

class QVASession;
class SubactivityCell;

class ListSessionsBaseDelegate : public ListsDataSourceProtocol {
public:
    using Strings = std::vector<std::string>;

    const foundation::Value::Array& roomsModelArray() const { return roomsModelArray_; }
    const foundation::Value::Array& venuesModelArray() const { return venuesModelArray_; }
    const Strings& agendaIDsArray() const { return agendaIDsArray_; }
    const Strings& sessionsOfficialIdsArray() const { return sessionsOfficialIdsArray_; }
    const Strings& personalNoteIdsArray() const { return personalNoteIdsArray_; }

    // The official programme's sessions, by start.
    std::string entityName() override;
    SortDescriptors sortDescriptors() override;
    Text sectionNameKeyPath() override { return std::nullopt; }
    // The session row cell's.
    std::string cellIdentifier() override;
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return {}; }

    // The five lists read again from the stack's main-queue context (emptied without one).
    bool implementsRefreshAdditionalDataSource() const override { return true; }
    void refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack,
                                                     LiteListBaseViewController& forController) override;
    // A session model into a session row cell; anything else is left alone.
    bool implementsModelObjectConfigureCell() const override { return true; }
    void modelObject(IEntityModel& object, uikit::UITableViewCell& cell, bool forSearch,
                     BaseViewController& inController) override;
    // The same, typed.
    void configureCell(SubactivityCell& cell, const QVASession& session) const;

    // How many times the lists were reloaded, for tests.
    int refreshCount() const { return refreshCount_; }

private:
    foundation::Value::Array roomsModelArray_;
    foundation::Value::Array venuesModelArray_;
    Strings agendaIDsArray_;
    Strings sessionsOfficialIdsArray_;
    Strings personalNoteIdsArray_;
    int refreshCount_ = 0;
};
