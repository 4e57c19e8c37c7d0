#include "quovana/GallerySearch.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "Utils/CustomSearchBar.h"
#include "foundation/Log.h"
#include "foundation/StringUtils.h"
#include "uikit/NSIndexPath.h"
#include "uikit/UIColor.h"
#include "uikit/UILabel.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIViewController.h"

namespace quovana {

namespace {

using graphics::Rect;

constexpr const char* kCountryCell = "galleryCountryCell";
enum Scope : int64_t { kByName = 0, kByCapital = 1 };

struct Country {
    const char* name;
    const char* capital;
};

const std::vector<Country>& countries() {
    static const std::vector<Country> all = {
        {"Argentina", "Buenos Aires"}, {"Armenia", "Yerevan"},      {"Australia", "Canberra"},
        {"Austria", "Vienna"},         {"Belgium", "Brussels"},      {"Brazil", "Brasilia"},
        {"Canada", "Ottawa"},          {"Chile", "Santiago"},        {"China", "Beijing"},
        {"Denmark", "Copenhagen"},     {"Egypt", "Cairo"},           {"Estonia", "Tallinn"},
        {"Finland", "Helsinki"},       {"France", "Paris"},          {"Germany", "Berlin"},
        {"Greece", "Athens"},          {"Hungary", "Budapest"},      {"India", "New Delhi"},
        {"Indonesia", "Jakarta"},      {"Ireland", "Dublin"},        {"Italy", "Rome"},
        {"Japan", "Tokyo"},            {"Kenya", "Nairobi"},         {"Mexico", "Mexico City"},
        {"Morocco", "Rabat"},          {"Netherlands", "Amsterdam"}, {"New Zealand", "Wellington"},
        {"Nigeria", "Abuja"},          {"Norway", "Oslo"},           {"Peru", "Lima"},
        {"Poland", "Warsaw"},          {"Portugal", "Lisbon"},       {"Romania", "Bucharest"},
        {"Slovenia", "Ljubljana"},     {"South Africa", "Pretoria"}, {"Spain", "Madrid"},
        {"Sweden", "Stockholm"},       {"Switzerland", "Bern"},      {"Tunisia", "Tunis"},
        {"United Kingdom", "London"},
    };
    return all;
}

class GallerySearchViewController : public uikit::UIViewController,
                                    public uikit::UITableViewDataSource,
                                    public uikit::UITableViewDelegate,
                                    public uikit::UISearchDisplayDelegate {
public:
    GallerySearchViewController() {
        setTitle(std::string("Search"));
        setEdgesForExtendedLayout(uikit::UIRectEdgeNone);
    }

    void viewDidLoad() override {
        uikit::UIViewController::viewDidLoad();
        auto self = std::static_pointer_cast<GallerySearchViewController>(shared_from_this());
        auto root = view();
        root->setBackgroundColor(uikit::UIColor::whiteColor());
        const Rect bounds = root->bounds();

        bar_ = std::make_shared<CustomSearchBar>(Rect(0, 0, bounds.size.width, 0));
        bar_->setPlaceholder(std::string("Search"));
        bar_->setScopeButtonTitles({"Name", "Capital"});
        bar_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
        root->addSubview(bar_);

        list_ = std::make_shared<uikit::UITableView>(Rect{}, uikit::UITableViewStyle::Plain);
        list_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
        list_->setDataSource(self);
        list_->setDelegate(self);
        root->addSubview(list_);
        placeList();

        uikit::UISearchDisplayController::create(bar_, self)->answerWith(self);
    }

    // The bar grows by its scope bar while searching: the list stays below it.
    void viewDidLayoutSubviews() override {
        uikit::UIViewController::viewDidLayoutSubviews();
        placeList();
    }

    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& table, int64_t) override {
        return static_cast<int64_t>(isResults(table) ? results_.size() : countries().size());
    }

    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                             const uikit::NSIndexPath& indexPath) override {
        auto cell = table.dequeueReusableCellWithIdentifier(kCountryCell);
        if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Value1, kCountryCell);
        const Country& country = countryAt(table, indexPath.row);
        cell->textLabel()->setText(std::string(country.name));
        cell->detailTextLabel()->setText(std::string(country.capital));
        return cell;
    }

    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& table, const uikit::NSIndexPath& indexPath) override {
        const Country& country = countryAt(table, indexPath.row);
        foundation::Log("gallery: chose %@ (%@)", std::string(country.name), std::string(country.capital));
    }

    bool searchDisplayControllerShouldReloadTableForSearchString(uikit::UISearchDisplayController&,
                                                                 const std::optional<std::string>& text) override {
        filter(text.value_or(std::string()), bar_->selectedScopeButtonIndex());
        return true;
    }

    bool searchDisplayControllerShouldReloadTableForSearchScope(uikit::UISearchDisplayController&,
                                                                int64_t scope) override {
        filter(bar_->text(), scope);
        return true;
    }

    void searchDisplayControllerDidEndSearch(uikit::UISearchDisplayController&) override { results_.clear(); }

    std::string className() const override { return "GallerySearchViewController"; }

private:
    bool isResults(const uikit::UITableView& table) const { return &table != list_.get(); }

    const Country& countryAt(const uikit::UITableView& table, int64_t row) const {
        return isResults(table) ? countries()[results_[static_cast<size_t>(row)]] : countries()[static_cast<size_t>(row)];
    }

    void filter(const std::string& text, int64_t scope) {
        results_.clear();
        const auto& all = countries();
        for (size_t i = 0; i < all.size(); ++i) {
            const char* field = scope == kByCapital ? all[i].capital : all[i].name;
            if (foundation::StringUtils::contains(field, text, foundation::StringUtils::CaseInsensitive))
                results_.push_back(i);
        }
    }

    void placeList() {
        if (!list_ || !bar_) return;
        const Rect bounds = view()->bounds();
        const double top = bar_->frame().origin.y + bar_->frame().size.height;
        list_->setFrame({0, top, bounds.size.width, std::max(0.0, bounds.size.height - top)});
    }

    std::shared_ptr<CustomSearchBar> bar_;
    std::shared_ptr<uikit::UITableView> list_;
    // Positions in countries() of the rows the results table shows.
    std::vector<size_t> results_;
};

}  // namespace

std::shared_ptr<uikit::UIViewController> makeGallerySearchController() {
    return std::make_shared<GallerySearchViewController>();
}

}  // namespace quovana
