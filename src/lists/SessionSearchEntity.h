// What the two session kinds of the global search share (the programme and
// the personal agenda): the session row cell, filled from the home screen's
// data sources, and its height, measured on one prototype per kind kept for
// the life of the process and sized at the results table's width.
#pragma once

#include <optional>
#include <string>

#include "lists/SearchEntity.h"

class QVACoreDataBaseSession;
class SubactivityCell;

class SessionSearchEntity : public SearchEntity {
public:
    using SearchEntity::SearchEntity;

    std::string nibName() const override;
    std::string cellIdentifier() const override;
    std::vector<coredata::SortDescriptor> sortDescriptors() const override;

    using SearchEntity::configureCell;
    void configureCell(uikit::UITableViewCell& cell, uikit::UITableView& tableView, const ViewControllerPtr& controller,
                       const foundation::Value& object,
                       const SearchAdditionalDataSources& additionalDataSources) override;
    double rowHeightForCoreDataObject(const foundation::Value& object, uikit::UITableView& tableView,
                                      const ViewControllerPtr& controller,
                                      const SearchAdditionalDataSources& additionalDataSources) override;

    std::string className() const override { return "SessionSearchEntity"; }

protected:
    // The row of a session (or an agenda role shown as one): location, day
    // and time, and its relation to the user from the data sources.
    static void configureSessionCell(SubactivityCell& cell, const QVACoreDataBaseSession& session,
                                     const SearchAdditionalDataSources& additionalDataSources);
    static std::optional<std::string> locationString(const QVACoreDataBaseSession& session,
                                                     const SearchAdditionalDataSources& additionalDataSources);
    static std::optional<std::string> displayTime(const QVACoreDataBaseSession& session);

private:
    // This kind's measuring cell, taken from the first table asked.
    std::shared_ptr<SubactivityCell> prototypeCell(uikit::UITableView& tableView) const;
};
