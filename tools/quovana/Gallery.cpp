// The gallery's screens are made in code and registered as scenes, so the
// app mode's "open" reaches them by identifier like any storyboard scene.
#include "quovana/Gallery.h"

#include <string>
#include <vector>

#include "foundation/Log.h"
#include "foundation/URLRequest.h"
#include "quovana/GalleryEffects.h"
#include "quovana/GalleryHomeTitle.h"
#include "quovana/GalleryPullToRefresh.h"
#include "quovana/GallerySearch.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIDevice.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPageControl.h"
#include "uikit/UIProgressView.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UISwitch.h"
#include "uikit/UITableViewController.h"
#include "uikit/UITextField.h"
#include "uikit/UITextView.h"
#include "uikit/UIWebView.h"

using graphics::Rect;

namespace quovana {

namespace {

constexpr const char* kControlCell = "galleryControlCell";
constexpr const char* kPushCell = "galleryPushCell";
constexpr const char* kSlideCell = "gallerySlideCell";
constexpr const char* kSearchCell = "gallerySearchCell";
constexpr const char* kPullToRefreshCell = "galleryPullToRefreshCell";
constexpr double kSlideDelay = 0.3;
constexpr double kSlideDuration = 10.0;

// Every change a person types into the name field is logged, so a script
// (and a test) sees how often the delegate was asked.
class NameFieldDelegate : public uikit::UITextFieldDelegate {
public:
    bool textFieldShouldChangeCharactersInRange(uikit::UITextField&, uikit::NSRange range,
                                                const std::string& replacement) override {
        foundation::Log("gallery: the name field may change at %d by \"%@\"", static_cast<long long>(range.location),
                        replacement);
        return true;
    }
    bool textFieldShouldReturn(uikit::UITextField& field) override {
        foundation::Log("gallery: return in the name field");
        field.resignFirstResponder();
        return true;
    }
};

// Which button answered the "Alert" item's alert.
class GalleryAlertDelegate : public uikit::UIAlertViewDelegate {
public:
    void alertViewClickedButtonAtIndex(uikit::UIAlertView& alert, int64_t index) override {
        foundation::Log("gallery: the alert was answered with %@", alert.buttonTitleAtIndex(index).value_or("?"));
    }
};

class GalleryViewController : public uikit::UITableViewController {
public:
    GalleryViewController() : uikit::UITableViewController(uikit::UITableViewStyle::Grouped) {
        setTitle(std::string("Gallery"));
        // Below the navigation bar rather than under it: nothing here adjusts insets.
        setEdgesForExtendedLayout(uikit::UIRectEdgeNone);
    }

    void viewDidLoad() override {
        uikit::UITableViewController::viewDidLoad();
        makeControls();
        auto self = std::static_pointer_cast<GalleryViewController>(shared_from_this());
        std::weak_ptr<GalleryViewController> weak = self;
        navigationItem()->setRightBarButtonItem(uikit::UIBarButtonItem::withTitle(
            std::string("Alert"), uikit::UIBarButtonItemStyle::Plain, [weak](uikit::UIBarButtonItem&) {
                if (auto controller = weak.lock()) controller->showAlert();
            }));
        if (uikit::UIDevice::currentDevice().userInterfaceIdiom() == uikit::UIUserInterfaceIdiom::Pad)
            navigationItem()->setLeftBarButtonItem(uikit::UIBarButtonItem::withTitle(
                std::string("Form sheet"), uikit::UIBarButtonItemStyle::Plain, [weak](uikit::UIBarButtonItem&) {
                    if (auto controller = weak.lock()) controller->showFormSheet();
                }));
    }

    int64_t numberOfSectionsInTableView(uikit::UITableView&) override { return 2; }

    int64_t tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t section) override {
        return section == 0 ? static_cast<int64_t>(controls_.size()) : kGalleryHomeTitleRow + 1;
    }

    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView&, int64_t section) override {
        return std::string(section == 0 ? "Controls" : "Screens");
    }

    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                             const uikit::NSIndexPath& indexPath) override {
        if (indexPath.section == 1 && indexPath.row == kGalleryEffectsRow) return galleryEffectsCell(table);
        if (indexPath.section == 1 && indexPath.row == kGalleryHomeTitleRow) return galleryHomeTitleCell(table);
        const bool isControl = indexPath.section == 0;
        static const char* const kScreenCells[] = {kPushCell, kSlideCell, kSearchCell, kPullToRefreshCell};
        const std::string identifier = isControl ? kControlCell : kScreenCells[indexPath.row];
        auto cell = table.dequeueReusableCellWithIdentifier(identifier);
        if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, identifier);
        if (isControl) {
            const Control& control = controls_[static_cast<size_t>(indexPath.row)];
            cell->textLabel()->setText(control.name);
            cell->setAccessoryView(control.view);
            cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
        } else if (indexPath.row == 1) {
            cell->textLabel()->setText(std::string("Slide a view away"));
        } else {
            // The pushing rows; their segues are the storyboard's.
            static const char* const kTitles[] = {"Second screen", "", "Search", "Pull to refresh"};
            cell->textLabel()->setText(std::string(kTitles[indexPath.row]));
            cell->setAccessoryType(uikit::UITableViewCellAccessoryType::DisclosureIndicator);
        }
        return cell;
    }

    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& table, const uikit::NSIndexPath& indexPath) override {
        // The push row's segue is the storyboard's, triggered by its cell.
        if (indexPath.section == 1 && indexPath.row == 1) {
            table.deselectRowAtIndexPath(indexPath, true);
            slide();
        }
    }

    std::string className() const override { return "GalleryViewController"; }

private:
    struct Control {
        std::string name;
        std::shared_ptr<uikit::UIView> view;
    };

    void makeControls() {
        auto label = std::make_shared<uikit::UILabel>(Rect(0, 0, 120, 21));
        label->setText(std::string("Hello"));
        label->setOutletName(std::string("galleryLabel"));

        auto button = uikit::UIButton::buttonWithType(uikit::UIButtonType::System);
        button->setFrame(Rect(0, 0, 80, 30));
        button->setTitle(std::string("Press"), uikit::UIControlStateNormal);
        button->addTarget([](uikit::UIControl&) { foundation::Log("gallery: the button was pressed"); },
                          uikit::UIControlEventTouchUpInside);

        auto toggle = std::make_shared<uikit::UISwitch>();
        toggle->addTarget(
            [](uikit::UIControl& control) {
                auto& sender = static_cast<uikit::UISwitch&>(control);
                foundation::Log("gallery: the switch is %@", std::string(sender.isOn() ? "on" : "off"));
            },
            uikit::UIControlEventValueChanged);

        auto field = std::make_shared<uikit::UITextField>(Rect(0, 0, 150, 30));
        field->setPlaceholder(std::string("Name"));
        field->setOutletName(std::string("nameField"));
        field->setDelegate(nameFieldDelegate_);

        auto segments = std::make_shared<uikit::UISegmentedControl>(
            std::vector<uikit::UISegmentedControl::Item>{std::string("One"), std::string("Two"), std::string("Three")},
            Rect(0, 0, 150, 29));
        segments->setSelectedSegmentIndex(0);

        auto progress = std::make_shared<uikit::UIProgressView>(Rect(0, 0, 150, 2));
        progress->setProgress(0.4);

        auto pages = std::make_shared<uikit::UIPageControl>(Rect(0, 0, 80, 37));
        pages->setNumberOfPages(3);
        pages->setCurrentPage(1);

        auto spinner = std::make_shared<uikit::UIActivityIndicatorView>(uikit::UIActivityIndicatorViewStyle::Gray);
        spinner->startAnimating();

        auto image = std::make_shared<uikit::UIImageView>(uikit::UIImage::imageNamed("feedback.png"));
        image->setFrame(Rect(0, 0, 30, 30));

        controls_ = {{"Label", label},          {"Button", button},
                     {"Switch", toggle},        {"Text field", field},
                     {"Segmented control", segments}, {"Progress", progress},
                     {"Page control", pages},   {"Activity indicator", spinner},
                     {"Image", image}};
    }

    void showAlert() {
        auto alert = std::make_shared<uikit::UIAlertView>(std::string("Gallery"), std::string("A plain alert"),
                                                          alertDelegate_);
        alert->addButtonWithTitle("OK");
        alert->addButtonWithTitle("Cancel");
        alert->show();
    }

    void showFormSheet() {
        auto sheet = storyboard() ? storyboard()->instantiateViewControllerWithIdentifier(kGalleryFormSheetScene)
                                  : nullptr;
        if (!sheet) return;
        sheet->setModalPresentationStyle(uikit::UIModalPresentationStyle::FormSheet);
        presentViewController(sheet, true);
    }

    // The shape of the loading screen's slide: a coloured view over the
    // table moves out to the left, then leaves.
    void slide() {
        auto table = tableView();
        auto cover = std::make_shared<uikit::UIView>(table->bounds());
        cover->setBackgroundColor(uikit::UIColor::colorWithRed(0.95, 0.55, 0.1, 1));
        cover->setOutletName(std::string("slideView"));
        table->addSubview(cover);
        const double width = cover->frame().size.width;
        foundation::Log("gallery: the slide starts");
        uikit::UIView::animateWithDuration(
            kSlideDuration, kSlideDelay, uikit::UIViewAnimationOptionCurveEaseInOut,
            [cover, width] {
                Rect frame = cover->frame();
                frame.origin.x -= width;
                cover->setFrame(frame);
            },
            [cover](bool finished) {
                cover->removeFromSuperview();
                foundation::Log("gallery: the slide finished (%@)", std::string(finished ? "done" : "cut short"));
            });
    }

    std::shared_ptr<NameFieldDelegate> nameFieldDelegate_ = std::make_shared<NameFieldDelegate>();
    std::shared_ptr<GalleryAlertDelegate> alertDelegate_ = std::make_shared<GalleryAlertDelegate>();
    std::vector<Control> controls_;
};

// The web view's link is only logged: the gallery never leaves the machine.
class GalleryWebDelegate : public uikit::UIWebViewDelegate {
public:
    bool webViewShouldStartLoadWithRequest(uikit::UIWebView&, const foundation::URLRequest& request,
                                           uikit::UIWebViewNavigationType type) override {
        if (type != uikit::UIWebViewNavigationType::LinkClicked) return true;
        foundation::Log("gallery: link to %@", request.url() ? request.url()->absoluteString() : std::string("nowhere"));
        return false;
    }
};

class GallerySecondViewController : public uikit::UIViewController {
public:
    GallerySecondViewController() {
        setTitle(std::string("Second screen"));
        setEdgesForExtendedLayout(uikit::UIRectEdgeNone);
    }

    void viewDidLoad() override {
        uikit::UIViewController::viewDidLoad();
        auto root = view();
        root->setBackgroundColor(uikit::UIColor::whiteColor());
        const double width = root->bounds().size.width;

        auto text = std::make_shared<uikit::UITextView>(Rect(10, 10, width - 20, 120));
        text->setText("A text view holds several lines of text. It scrolls when they do not fit.");
        text->setOutletName(std::string("textView"));
        root->addSubview(text);

        auto web = std::make_shared<uikit::UIWebView>(Rect(10, 140, width - 20, 200));
        web->setOutletName(std::string("webView"));
        web->setDelegate(webDelegate_);
        web->loadHTMLString(
            "<html><body><p>A web view with a short text and "
            "<a href=\"https://quovana.example/gallery\">a link</a>.</p></body></html>",
            std::nullopt);
        root->addSubview(web);
    }

    std::string className() const override { return "GallerySecondViewController"; }

private:
    std::shared_ptr<GalleryWebDelegate> webDelegate_ = std::make_shared<GalleryWebDelegate>();
};

class GalleryFormSheetViewController : public uikit::UIViewController {
public:
    GalleryFormSheetViewController() {
        setTitle(std::string("Form sheet"));
        setEdgesForExtendedLayout(uikit::UIRectEdgeNone);
    }

    void viewDidLoad() override {
        uikit::UIViewController::viewDidLoad();
        view()->setBackgroundColor(uikit::UIColor::whiteColor());
        auto label = std::make_shared<uikit::UILabel>(Rect(20, 20, 300, 21));
        label->setText(std::string("A form sheet over the gallery"));
        view()->addSubview(label);
        std::weak_ptr<uikit::UIViewController> weak = shared_from_this_controller();
        navigationItem()->setRightBarButtonItem(uikit::UIBarButtonItem::withTitle(
            std::string("Done"), uikit::UIBarButtonItemStyle::Done, [weak](uikit::UIBarButtonItem&) {
                if (auto controller = weak.lock()) controller->dismissViewControllerAnimated(true);
            }));
    }

    std::string className() const override { return "GalleryFormSheetViewController"; }

private:
    std::shared_ptr<uikit::UIViewController> shared_from_this_controller() {
        return std::static_pointer_cast<uikit::UIViewController>(shared_from_this());
    }
};

void fill(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kGalleryControlsScene, [](uikit::UIStoryboard&) -> uikit::UIViewControllerPtr {
        return std::make_shared<GalleryViewController>();
    });
    storyboard.addScene(kGalleryRootScene, [](uikit::UIStoryboard& board) -> uikit::UIViewControllerPtr {
        return uikit::UINavigationController::withRootViewController(
            board.instantiateViewControllerWithIdentifier(kGalleryControlsScene));
    });
    storyboard.addScene(kGallerySecondScene, [](uikit::UIStoryboard&) -> uikit::UIViewControllerPtr {
        return std::make_shared<GallerySecondViewController>();
    });
    storyboard.addScene(kGalleryFormSheetScene, [](uikit::UIStoryboard&) -> uikit::UIViewControllerPtr {
        return uikit::UINavigationController::withRootViewController(
            std::make_shared<GalleryFormSheetViewController>());
    });
    storyboard.addScene(kGallerySearchScene, [](uikit::UIStoryboard&) -> uikit::UIViewControllerPtr {
        return makeGallerySearchController();
    });
    storyboard.addScene(kGalleryPullToRefreshScene, [](uikit::UIStoryboard&) -> uikit::UIViewControllerPtr {
        return makeGalleryPullToRefreshController();
    });
    storyboard.setInitialSceneIdentifier(kGalleryRootScene);
    struct Push {
        const char* identifier;
        const char* destination;
        const char* cell;
    };
    const Push pushes[] = {
        {"showSecondScreen", kGallerySecondScene, kPushCell},
        {"showSearch", kGallerySearchScene, kSearchCell},
        {"showPullToRefresh", kGalleryPullToRefreshScene, kPullToRefreshCell},
    };
    for (const Push& entry : pushes) {
        uikit::UIStoryboardSegueDefinition push;
        push.identifier = entry.identifier;
        push.kind = uikit::UIStoryboardSegueKind::Push;
        push.destination = entry.destination;
        push.trigger = {uikit::UIStoryboardSegueTrigger::Kind::TableCell, entry.cell};
        storyboard.addSegue(kGalleryControlsScene, push);
    }
    addGalleryEffects(storyboard, kGalleryControlsScene);
    addGalleryHomeTitle(storyboard, kGalleryControlsScene);
}

}  // namespace

std::shared_ptr<uikit::UIStoryboard> registerGalleryStoryboard() {
    auto storyboard = uikit::UIStoryboard::registerStoryboard(kGalleryStoryboardName);
    if (!storyboard->hasScene(kGalleryRootScene)) fill(*storyboard);
    return storyboard;
}

}  // namespace quovana
