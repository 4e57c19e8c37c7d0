#include "quovana/GalleryPullToRefresh.h"

#include <string>

#include "foundation/Log.h"
#include "lists/LiteListBaseViewController.h"
#include "model/IEntityModel.h"
#include "uikit/UILabel.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"

namespace quovana {

namespace {

constexpr const char* kRowCell = "galleryNumberedRowCell";
constexpr int kRefreshedRowCount = 32;

// A numbered row: the list base reads rows as model objects.
class NumberedRow : public IEntityModel {
public:
    explicit NumberedRow(int number) : number_(number) {}
    std::optional<std::string> selectionPropertyId() const override { return std::to_string(number_); }
    int number() const { return number_; }

private:
    int number_;
};

class GalleryPullToRefreshViewController : public LiteListBaseViewController {
public:
    GalleryPullToRefreshViewController() {
        // The base screen titles itself with it as it loads.
        setVcTitle(std::string("Pull to refresh"));
        setIsPullToRefreshEnabled(true);
    }

    void loadView() override {
        auto table = std::make_shared<uikit::UITableView>();
        table->setBackgroundColor(graphics::Color::white());
        table->registerClass<uikit::UITableViewCell>(kRowCell);
        setView(table);
        setTableView(table);
    }

    void viewDidLoad() override {
        LiteListBaseViewController::viewDidLoad();
        auto self = std::static_pointer_cast<GalleryPullToRefreshViewController>(shared_from_this());
        auto table = tableView();
        table->setDataSource(self);
        table->setDelegate(self);
        RowObjects rows;
        for (int number = 1; number <= kRefreshedRowCount; ++number)
            rows.push_back(std::make_shared<NumberedRow>(number));
        setDataSourceArray(std::move(rows));
        table->reloadData();
    }

    std::string cellIdentifier() override { return kRowCell; }

    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView&, int64_t) override {
        return std::string("Pull down to refresh");
    }

    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                             const uikit::NSIndexPath& indexPath) override {
        auto cell = LiteListBaseViewController::tableViewCellForRowAtIndexPath(table, indexPath);
        const auto& rows = dataSourceArray();
        if (cell && indexPath.row >= 0 && indexPath.row < static_cast<int64_t>(rows.size())) {
            auto row = std::static_pointer_cast<NumberedRow>(rows[static_cast<size_t>(indexPath.row)]);
            cell->textLabel()->setText("Row " + std::to_string(row->number()));
        }
        return cell;
    }

    void onPullToRefreshExecuted() override { foundation::Log(kGalleryListRefreshedMessage); }

    std::string className() const override { return "GalleryPullToRefreshViewController"; }
};

}  // namespace

std::shared_ptr<uikit::UIViewController> makeGalleryPullToRefreshController() {
    return std::make_shared<GalleryPullToRefreshViewController>();
}

}  // namespace quovana
