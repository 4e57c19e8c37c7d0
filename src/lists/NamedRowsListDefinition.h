// The list definition of the short pick lists (meetings, members): one
// section of an entity's stored rows in one order, each a default cell with a
// name of the row on at most a few lines and a disclosure indicator, no
// search scopes. And the scene of such a list: its table outlet and the
// default prototype cell.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "coredata/SortDescriptor.h"
#include "lists/ListsDataSourceProtocol.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"

namespace coredata {
class ManagedObject;
}

class NamedRowsListDefinition : public ListsDataSourceProtocol {
public:
    using RowName = std::function<std::optional<std::string>(const coredata::ManagedObject& row)>;

    NamedRowsListDefinition(std::string entityName, coredata::SortDescriptor sort, std::string cellIdentifier,
                            RowName rowName, size_t nameLines);

    std::string entityName() override { return entityName_; }
    SortDescriptors sortDescriptors() override { return {sort_}; }
    Text sectionNameKeyPath() override { return std::nullopt; }
    std::string cellIdentifier() override { return cellIdentifier_; }
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return {}; }

    bool implementsFetchedResultControllerConfigureCell() const override { return true; }
    void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                 const uikit::NSIndexPath& indexPath, BaseViewController& inController) override;

    // The scene `identifier` making a `Screen` (a list base) whose table is
    // the outlet `tableOutlet`, with a default prototype cell under
    // `cellIdentifier`.
    template <class Screen>
    static void addScene(uikit::UIStoryboard& storyboard, const std::string& identifier, const std::string& tableOutlet,
                         const std::string& cellIdentifier) {
        storyboard.addScene(
            identifier, [](uikit::UIStoryboard&) { return std::make_shared<Screen>(); },
            [tableOutlet](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
                auto table = outlets.connect(tableOutlet, std::make_shared<uikit::UITableView>());
                static_cast<Screen&>(owner).setTableView(table);
                return table;
            });
        storyboard.addPrototypeCell(identifier, cellIdentifier, [cellIdentifier] {
            return std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, cellIdentifier);
        });
    }

private:
    std::string entityName_;
    coredata::SortDescriptor sort_;
    std::string cellIdentifier_;
    RowName rowName_;
    size_t nameLines_;
};
