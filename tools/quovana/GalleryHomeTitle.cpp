#include "quovana/GalleryHomeTitle.h"

#include <optional>
#include <string>

#include "model/QVAAgendaEntries.h"
#include "programme/SpotlightTitleView.h"
#include "programme/SubactivityCell.h"
#include "uikit/UIColor.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UITableViewController.h"

using graphics::Rect;

namespace quovana {

namespace {

constexpr const char* kHomeTitleCell = "galleryHomeTitleCell";
// The home screen insets its header by 15 points on each side.
constexpr double kInset = 15;
constexpr double kBlockHeight = 120;
// The message lies 15 points over the top of its block.
constexpr double kMessageBlockTop = 165;
constexpr double kHeaderHeight = kMessageBlockTop + kBlockHeight + 10;
constexpr int64_t kRowCount = 4;

const char* const kMeetingName = "Annual Meeting 2015";
const char* const kDescription = "Shaping the post-crisis world";
const char* const kCity = "Davos-Klosters";
const char* const kPeriod = "20-23 January 2015";
const char* const kMessage = "Snow on Thursday: new shuttle times at https://example.org/shuttles";

// Each of the row's looks.
void configure(SubactivityCell& cell, int64_t row) {
    switch (row) {
        case 0:
            cell.preconfigureCellWithParametersLikeTitle(std::string("Opening plenary"),
                                                         std::string("Hall A, Congress centre"),
                                                         std::string("Tue 20 Jan 09:00 - 10:30"), true, false, false,
                                                         false, 2, 2, false);
            break;
        case 1:
            cell.preconfigureCellWithParametersLikeTitle(std::string("Press briefing"),
                                                         std::string("Room 4, Congress centre"),
                                                         std::string("Tue 20 Jan 11:00 - 11:30"), false, true, false,
                                                         false, 2, 2, true);
            break;
        case 2: {
            auto invitation = QVAAgendaInvitation::initWithDictionary(foundation::Value::dictionary({{"id", "inv1"}}));
            invitation->setTitle(std::string("Ministerial lunch"));
            cell.configureWithQVAAgendaInvitation(*invitation,
                                                  QVAAgendaInvitation::buildInvitationStringFromStatus("Invited", false),
                                                  std::string("Salon Jakobshorn, Hotel Belvedere"),
                                                  std::string("Tue 20 Jan 12:30 - 14:00"), false, false, false);
            break;
        }
        default: {
            auto entry = QVAPersonalEntry::initWithDictionary(foundation::Value::dictionary({{"id", "pe1"}}));
            entry->setTitle(std::string("Call with the office"));
            cell.configureWithQVASession(*entry, std::nullopt, std::string("Tue 20 Jan 18:00 - 18:30"), true, false,
                                         true);
            break;
        }
    }
}

class GalleryHomeTitleViewController : public uikit::UITableViewController {
public:
    GalleryHomeTitleViewController() : uikit::UITableViewController(uikit::UITableViewStyle::Plain) {
        setTitle(std::string("Home title view"));
        setEdgesForExtendedLayout(uikit::UIRectEdgeNone);
    }

    void viewDidLoad() override {
        uikit::UITableViewController::viewDidLoad();
        auto table = tableView();
        const double width = table->bounds().size.width;
        table->registerNib(uikit::UINib::nibWithNibName(SubactivityCell::cellNibName()),
                           SubactivityCell::cellIdentifier());
        sizingCell_ = SubactivityCell::loadFromNib();

        auto header = std::make_shared<uikit::UIView>(Rect(0, 0, width, kHeaderHeight));
        header->setBackgroundColor(uikit::UIColor::colorWithRed(0.12, 0.22, 0.36, 1));
        header->setClipsToBounds(true);
        const Rect block(kInset, 10, width - 2 * kInset, kBlockHeight);
        auto plain = SpotlightTitleView::initWithFrame(block, std::string(kMeetingName), std::string(kDescription),
                                                       std::string(kCity), std::string(kPeriod), std::nullopt);
        plain->setOutletName(std::string("plainTitle"));
        header->addSubview(plain);
        auto withMessage = SpotlightTitleView::initWithFrame(
            Rect(kInset, kMessageBlockTop, width - 2 * kInset, kBlockHeight), std::string(kMeetingName),
            std::string(kDescription), std::string(kCity), std::string(kPeriod), std::string(kMessage));
        withMessage->setOutletName(std::string("titleWithMessage"));
        header->addSubview(withMessage);
        table->setTableHeaderView(header);
    }

    int64_t tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) override { return kRowCount; }

    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                             const uikit::NSIndexPath& indexPath) override {
        auto cell = std::dynamic_pointer_cast<SubactivityCell>(
            table.dequeueReusableCellWithIdentifier(SubactivityCell::cellIdentifier(), indexPath));
        configure(*cell, indexPath.row);
        return cell;
    }

    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& table,
                                                           const uikit::NSIndexPath& indexPath) override {
        configure(*sizingCell_, indexPath.row);
        return sizingCell_->getCellHeightInTableView(table);
    }

    std::string className() const override { return "GalleryHomeTitleViewController"; }

private:
    std::shared_ptr<SubactivityCell> sizingCell_;
};

}  // namespace

std::shared_ptr<uikit::UITableViewCell> galleryHomeTitleCell(uikit::UITableView& table) {
    auto cell = table.dequeueReusableCellWithIdentifier(kHomeTitleCell);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kHomeTitleCell);
    cell->textLabel()->setText(std::string("Home title view"));
    cell->setAccessoryType(uikit::UITableViewCellAccessoryType::DisclosureIndicator);
    return cell;
}

void addGalleryHomeTitle(uikit::UIStoryboard& storyboard, const char* fromScene) {
    storyboard.addScene(kGalleryHomeTitleScene, [](uikit::UIStoryboard&) -> uikit::UIViewControllerPtr {
        return std::make_shared<GalleryHomeTitleViewController>();
    });
    uikit::UIStoryboardSegueDefinition push;
    push.identifier = "showHomeTitle";
    push.kind = uikit::UIStoryboardSegueKind::Push;
    push.destination = kGalleryHomeTitleScene;
    push.trigger = {uikit::UIStoryboardSegueTrigger::Kind::TableCell, kHomeTitleCell};
    storyboard.addSegue(fromScene, push);
}

}  // namespace quovana
