#include "app/LegendViewController.h"

#include <cmath>

#include "Utils/Utils.h"
#include "app/LegendItemModel.h"
#include "app/LegendViewCell.h"
#include "app/QVAStartTutorialViewController.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIStoryboard.h"

namespace {

constexpr const char* kScreenTitle = "Help";
constexpr const char* kShowTutorialText = "Show tutorial";
constexpr const char* kSectionTitles[] = {"Programme", "Participants"};

LegendViewController::Section makeSection(std::initializer_list<std::pair<const char*, const char*>> rows) {
    LegendViewController::Section section;
    for (const auto& [icon, description] : rows)
        section.push_back(std::make_shared<LegendItemModel>(icon, description));
    return section;
}

uikit::UITableViewCellPtr makeShowTutorialCell() {
    auto cell = std::make_shared<uikit::UITableViewCell>(
        uikit::UITableViewCellStyle::Default, std::string(LegendViewController::kShowTutorialCellIdentifier));
    cell->setAccessoryType(uikit::UITableViewCellAccessoryType::DisclosureIndicator);
    return cell;
}

}  // namespace

const std::shared_ptr<LegendItemModel>& LegendViewController::itemAt(const uikit::NSIndexPath& indexPath) const {
    return dataSourceArray_.at(static_cast<size_t>(indexPath.section - 1)).at(static_cast<size_t>(indexPath.row));
}

LegendViewController::LegendViewController() : uikit::UITableViewController(uikit::UITableViewStyle::Plain) {}

void LegendViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<LegendViewController>(); });
    storyboard.addPrototypeCell(kStoryboardIdentifier, kShowTutorialCellIdentifier, makeShowTutorialCell);
    storyboard.addPrototypeCell(kStoryboardIdentifier, LegendViewCell::kReuseIdentifier,
                                [] { return LegendViewCell::makePrototype(); });
}

void LegendViewController::viewDidLoad() {
    uikit::UITableViewController::viewDidLoad();
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    setTitle(std::string(kScreenTitle));
    initDataSourceArray();
}

void LegendViewController::initDataSourceArray() {
    dataSourceArray_ = {
        makeSection({
            {"session_in_agenda.png", "Indicates that a session is in your agenda."},
            {"parallel_session.png", "Indicates that a session is from the parallel programme."},
            {"personal_entry.png", "Indicates a personal entry."},
            {"note.png", "Indicates that you have added a personal note to a session."},
            {"add_to_agenda_blue.png", "Indicates the \"Add to Agenda\" action."},
            {"remove_from_agenda_red.png", "Indicates the \"Remove from Agenda\" action."},
            {"add_to_watchlist_blue.png", "Indicates the \"Start Watching\" action."},
            {"remove_from_watchlist_red.png", "Indicates the \"Stop Watching\" action."},
            {"sign_up_blue.png", "Indicates the \"Sign Up\" action."},
            {"cancel_sign_up_red.png", "Indicates the \"Cancel Sign-up\" action."},
        }),
        makeSection({
            {"favStarActive.png",
             "Indicates that you have starred a participant. Starred participants appear at the top of their list "
             "and sessions they contribute to are highlighted in the home page."},
            {"favStarNormal.png",
             "Indicates that a participant is not starred. You can star a participant by tapping on this icon."},
            {"note.png", "Indicates that you have added a personal note to a participant."},
        }),
    };
}

int64_t LegendViewController::numberOfSectionsInTableView(uikit::UITableView&) {
    return 1 + static_cast<int64_t>(std::size(kSectionTitles));
}

int64_t LegendViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t section) {
    if (section == 0) return 1;
    const auto index = static_cast<size_t>(section - 1);
    return index < dataSourceArray_.size() ? static_cast<int64_t>(dataSourceArray_[index].size()) : 0;
}

std::optional<std::string> LegendViewController::tableViewTitleForHeaderInSection(uikit::UITableView&,
                                                                                   int64_t section) {
    if (section < 1 || section > static_cast<int64_t>(std::size(kSectionTitles))) return std::nullopt;
    return std::string(kSectionTitles[section - 1]);
}

uikit::UITableViewCellPtr LegendViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                               const uikit::NSIndexPath& indexPath) {
    if (indexPath.section == 0) {
        auto cell = tableView.dequeueReusableCellWithIdentifier(kShowTutorialCellIdentifier, indexPath);
        // Made outside its storyboard scene, the screen has no prototypes.
        if (!cell) cell = makeShowTutorialCell();
        cell->textLabel()->setText(std::string(kShowTutorialText));
        return cell;
    }
    auto cell = tableView.dequeueReusableCellWithIdentifier(LegendViewCell::kReuseIdentifier, indexPath);
    if (!cell) cell = LegendViewCell::makePrototype();
    const auto& item = itemAt(indexPath);
    if (auto legendCell = std::dynamic_pointer_cast<LegendViewCell>(cell)) {
        legendCell->legendIconImageView()->setImage(uikit::UIImage::imageNamed(item->iconName()));
        legendCell->legendDecriptionLabel()->setText(item->itemDescription());
    }
    return cell;
}

double LegendViewController::heightForDescription(const std::string& description, double tableWidth) {
    const auto font =
        uikit::UIFont::fontWithName(LegendViewCell::kDescriptionFontName, LegendViewCell::kDescriptionFontSize);
    const double measured =
        Utils::getMeasuredSizeOfLabelWithText(description, font, tableWidth - LegendViewCell::kReservedWidth).height;
    return rowHeightForMeasuredHeight(measured);
}

double LegendViewController::rowHeightForMeasuredHeight(double measured) {
    const double height = std::trunc(measured) + LegendViewCell::kVerticalPadding;
    return height > kDefaultRowHeight ? height : kDefaultRowHeight;
}

std::optional<double> LegendViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                                              const uikit::NSIndexPath& indexPath) {
    if (indexPath.section == 0) return kDefaultRowHeight;
    const auto& item = itemAt(indexPath);
    return heightForDescription(item->itemDescription(), tableView.frame().size.width);
}

void LegendViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView&, const uikit::NSIndexPath& indexPath) {
    if (indexPath.section == 0 && indexPath.row == 0) showStartTutorialOverlayView();
}

// Both idioms show the tutorial: a tap on the pad that opens nothing would
// look broken.
void LegendViewController::showStartTutorialOverlayView() {
    auto tutorial = std::make_shared<QVAStartTutorialViewController>();
    tutorial->hideProgressBar();
    uikit::UIViewControllerPtr presenter = navigationController();
    if (!presenter) presenter = std::dynamic_pointer_cast<uikit::UIViewController>(shared_from_this());
    presenter->presentViewController(tutorial, false);
}
