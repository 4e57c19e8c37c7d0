// What the two session kinds of the global search share (the programme and
// the personal agenda): the session row cell, filled from the home screen's
// data sources, and its height, worked out from the row's texts without a
// cell. A search of thousands of hits asks every row's height on each
// keystroke, so a result's height is kept until its texts' sources change
// (its title, start, room or cancellation, the table's width, or the rooms
// and venues of the data sources, which forgetRowHeights drops); a keystroke
// that narrows the hits finds them all kept.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "lists/SearchEntity.h"

class QVACoreDataBaseSession;
class SubactivityCell;
namespace coredata {
class ManagedObject;
}

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

    void forgetRowHeights() override;

    std::string className() const override { return "SessionSearchEntity"; }

protected:
    // Whether the row shows the invitation line under the location.
    virtual bool showsInvitationLine(const QVACoreDataBaseSession& session) const;
    // The row of a session (or an agenda role shown as one): location, day
    // and time, and its relation to the user from the data sources.
    static void configureSessionCell(SubactivityCell& cell, const QVACoreDataBaseSession& session,
                                     const SearchAdditionalDataSources& additionalDataSources);
    static std::optional<std::string> locationString(const QVACoreDataBaseSession& session,
                                                     const SearchAdditionalDataSources& additionalDataSources);
    static std::optional<std::string> displayTime(const QVACoreDataBaseSession& session);

private:
    struct KeptHeight {
        std::weak_ptr<const coredata::ManagedObject> object;
        std::string sources;
        double width = 0;
        double height = 0;
    };
    // By the result object's address; the weak pointer tells a reused address.
    std::unordered_map<const void*, KeptHeight> keptHeights_;
};
