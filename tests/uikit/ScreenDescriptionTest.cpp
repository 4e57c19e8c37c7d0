// The screen dump: only what is shown appears (the selected tab's stack, the
// top screen's contents), in reading order, with the presented chain, the
// keyboard and the alert stack after it; tables list each section's rows in
// view with their cells; the text is the same for the same screen.
#include <gtest/gtest.h>

#include "ScreenTestScreens.h"
#include "support/ScreenTest.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UIPickerView.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UITabBarController.h"
#include "uikit/UITabBarItem.h"
#include "uikit/UITextField.h"

namespace {

using screentest::TableScreen;
using uikit::UIViewController;

struct FormScreen : UIViewController {
    std::string className() const override { return "FormScreen"; }
    std::shared_ptr<uikit::UITextField> field;
    void viewDidLoad() override {
        field = std::make_shared<uikit::UITextField>(graphics::Rect{20, 100, 300, 30});
        field->setPlaceholder("Name");
        field->setText("Ann");
        view()->addSubview(field);
        auto password = std::make_shared<uikit::UITextField>(graphics::Rect{20, 140, 300, 30});
        password->setPlaceholder("Password");
        password->setSecureTextEntry(true);
        password->setText("abc");
        view()->addSubview(password);
        auto spinner = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, 10, 10});
        spinner->setOutletName("progressOverlay");
        spinner->setHidden(true);
        view()->addSubview(spinner);
        auto go = uikit::UIButton::buttonWithType(uikit::UIButtonType::System);
        go->setTitle("Go", uikit::UIControlStateNormal);
        view()->addSubview(go);
    }
};

uikit::TextAttributes struck() {
    uikit::TextAttributes attributes;
    attributes.strikethroughStyle = 1;
    return attributes;
}

class ScreenDescriptionTest : public ScreenTest {};

TEST_F(ScreenDescriptionTest, ShowsTabsStackBarItemsFieldsPresentedChainKeyboardAndAlerts) {
    auto first = std::make_shared<FormScreen>();
    first->setTitle("Home");
    auto nav = uikit::UINavigationController::withRootViewController(first);
    nav->setTabBarItem(std::make_shared<uikit::UITabBarItem>("Home", nullptr, int64_t{0}));
    nav->tabBarItem()->setBadgeValue("3");
    first->navigationItem()->setRightBarButtonItem(
        uikit::UIBarButtonItem::withTitle("Alert", uikit::UIBarButtonItemStyle::Plain));
    auto second = std::make_shared<UIViewController>();
    second->setTitle("More");
    second->setTabBarItem(std::make_shared<uikit::UITabBarItem>("More", nullptr, int64_t{1}));
    second->tabBarItem()->setEnabled(false);
    auto tabs = std::make_shared<uikit::UITabBarController>();
    tabs->setViewControllers({nav, second});
    showRoot(tabs);

    auto sheet = std::make_shared<FormScreen>();
    sheet->setModalPresentationStyle(uikit::UIModalPresentationStyle::FormSheet);
    first->presentViewController(sheet, true);
    settle();
    EXPECT_TRUE(type("Name", "o"));
    auto alert = std::make_shared<uikit::UIAlertView>("Gallery", "Hello \"you\"", std::weak_ptr<uikit::UIAlertViewDelegate>(),
                                                      "Cancel", std::vector<std::string>{"OK"});
    alert->show();
    settle();

    std::string expected =
        "window root=UITabBarController\n"
        "  tab 0* UINavigationController \"Home\" badge=3 enabled\n"
        "    nav UINavigationController\n"
        "      stack 0 FormScreen \"Home\"\n"
        "      bar \"Home\" right=[Alert on]\n"
        "      screen FormScreen \"Home\"\n"
        "        field placeholder=\"Name\" text=\"Ann\"\n"
        "        field placeholder=\"Password\" text=\"\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\" secure\n"
        "        view #progressOverlay UIView hidden\n"
        "        button \"Go\"\n"
        "  tab 1 UIViewController \"More\" badge=- disabled\n"
        "  presented FormScreen style=form-sheet\n"
        "    screen FormScreen -\n"
        "      field placeholder=\"Name\" text=\"Anno\" focused\n"
        "      field placeholder=\"Password\" text=\"\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\" secure\n"
        "      view #progressOverlay UIView hidden\n"
        "      button \"Go\"\n"
        "keyboard shown\n"
        "alert \"Gallery\" \"Hello \\\"you\\\"\" [Cancel] [OK]\n";
    std::string text = dump();
    EXPECT_EQ(text, expected);
    EXPECT_EQ(dump(), text);
}

TEST_F(ScreenDescriptionTest, ATableOfTwoSectionsListsTitlesHeadersRowsInViewAndTheirCells) {
    auto screen = std::make_shared<TableScreen>(std::vector<TableScreen::Section>{{"Today", 2}, {"Tomorrow", 3}},
                                                uikit::UITableViewStyle::Grouped);
    screen->setTitle("Agenda");
    showRoot(screen);

    std::string text = dump();
    EXPECT_EQ(text,
              "window root=TableScreen\n"
              "  screen TableScreen \"Agenda\"\n"
              "    table grouped sections=2 offset=0,0\n"
              "      section 0 \"Today\" header=22\n"
              "        rows 0\xE2\x80\x93" "1 of 2\n"
              "        row 0 plainCell h=44 text=\"Row 0.0\" accessory=disclosure\n"
              "        row 1 plainCell h=44 text=\"Row 0.1\" accessory=disclosure\n"
              "      section 1 \"Tomorrow\" header=22\n"
              "        rows 0\xE2\x80\x93" "2 of 3\n"
              "        row 0 plainCell h=44 text=\"Row 1.0\"\n"
              "        row 1 plainCell h=44 text=\"Row 1.1\"\n"
              "        row 2 plainCell h=44 text=\"Row 1.2\"\n");
    auto table = screen->tableView();
    for (const auto& indexPath : table->indexPathsForVisibleRows()) {
        auto cell = table->cellForRowAtIndexPath(indexPath);
        ASSERT_TRUE(cell);
        EXPECT_NE(text.find("text=\"" + *cell->textLabel()->text() + "\""), std::string::npos);
    }
    EXPECT_EQ(dump(), text);
}

TEST_F(ScreenDescriptionTest, CustomCellsShowTheirNamedPartsAndConstraints) {
    struct CustomScreen : TableScreen {
        CustomScreen() : TableScreen({{std::nullopt, 1}}) {}
        uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView&,
                                                                const uikit::NSIndexPath&) override {
            auto cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, "noteCell");
            auto message = std::make_shared<uikit::UILabel>();
            message->setOutletName("messageLabel");
            message->setAttributedText(uikit::NSAttributedString::make("Room change", struck()));
            cell->contentView()->addSubview(message);
            auto badge = std::make_shared<uikit::UILabel>();
            badge->setOutletName("badgeLabel");
            badge->setHidden(true);
            cell->contentView()->addSubview(badge);
            auto width = uikit::NSLayoutConstraint::constraintWithItem(
                message, uikit::NSLayoutAttribute::Width, uikit::NSLayoutRelation::Equal, nullptr,
                uikit::NSLayoutAttribute::NotAnAttribute, 1, 120);
            width->setOutletName("messageWidth");
            cell->contentView()->addConstraint(width);
            return cell;
        }
    };
    showRoot(std::make_shared<CustomScreen>());
    EXPECT_NE(dump().find("row 0 noteCell h=44 messageWidth=120 messageLabel=\"Room change\"(struck) "
                          "badgeLabel=-(hidden)\n"),
              std::string::npos)
        << dump();
}

// A login form as a table: fields, a label and a button in cells with no
// outlet names, a field as a row's accessory; the screen's own navigation
// bar, a picker's rows, the status bar's state.
TEST_F(ScreenDescriptionTest, FormCellsShowTheirFieldsLabelsAndButtonsAndTheScreenItsOwnBarAndPicker) {
    struct Rows : uikit::UIPickerViewDataSource {
        int64_t numberOfComponentsInPickerView(uikit::UIPickerView&) override { return 2; }
        int64_t numberOfRowsInComponent(uikit::UIPickerView&, int64_t component) override { return component + 3; }
    };
    struct FormTable : TableScreen {
        FormTable() : TableScreen({{std::nullopt, 4}}) {}
        std::shared_ptr<Rows> rows = std::make_shared<Rows>();
        uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView&,
                                                                const uikit::NSIndexPath& path) override {
            auto cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, "form");
            auto field = std::make_shared<uikit::UITextField>(graphics::Rect{10, 5, 200, 30});
            if (path.row == 0) {
                field->setPlaceholder("Username");
                field->setText("ann");
                cell->contentView()->addSubview(field);
            } else if (path.row == 1) {
                field->setPlaceholder("Password");
                field->setSecureTextEntry(true);
                cell->contentView()->addSubview(field);
            } else if (path.row == 2) {
                auto label = std::make_shared<uikit::UILabel>(graphics::Rect{10, 5, 200, 30});
                label->setText("Login");
                cell->contentView()->addSubview(label);
                auto button = uikit::UIButton::buttonWithType(uikit::UIButtonType::System);
                button->setTitle("Help", uikit::UIControlStateNormal);
                cell->contentView()->addSubview(button);
            } else {
                field->setPlaceholder("Code");
                cell->setAccessoryView(field);
            }
            return cell;
        }
    };
    struct BarScreen : UIViewController {
        std::string className() const override { return "BarScreen"; }
        std::shared_ptr<Rows> rows = std::make_shared<Rows>();
        void viewDidLoad() override {
            auto bar = std::make_shared<uikit::UINavigationBar>(graphics::Rect{0, 20, 375, 44});
            auto item = std::make_shared<uikit::UINavigationItem>("Reset");
            item->setLeftBarButtonItem(uikit::UIBarButtonItem::withTitle("Cancel", uikit::UIBarButtonItemStyle::Plain));
            bar->pushNavigationItem(item, false);
            view()->addSubview(bar);
            auto picker = std::make_shared<uikit::UIPickerView>(graphics::Rect{0, 400, 375, 100});
            picker->setDataSource(rows);
            view()->addSubview(picker);
        }
    };
    auto screen = std::make_shared<FormTable>();
    showRoot(screen);
    auto& application = uikit::UIApplication::sharedApplication();
    application.setStatusBarStyle(uikit::UIStatusBarStyle::LightContent);
    application.setStatusBarHidden(true);

    const std::string text = dump();
    EXPECT_NE(text.find("  status-bar hidden light\n"), std::string::npos) << text;
    EXPECT_NE(text.find("row 0 form h=44 field placeholder=\"Username\" text=\"ann\"\n"), std::string::npos) << text;
    // An empty field: its placeholder is not its text.
    EXPECT_NE(text.find("row 1 form h=44 field placeholder=\"Password\" text=\"\" secure\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("row 2 form h=44 label=\"Login\" button=[Help]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("row 3 form h=44 accessory-view: field placeholder=\"Code\" text=\"\"\n"), std::string::npos)
        << text;
    ASSERT_TRUE(type("Password", "ab"));
    EXPECT_NE(dump().find("field placeholder=\"Password\" text=\"\xE2\x80\xA2\xE2\x80\xA2\" secure focused\n"),
              std::string::npos)
        << dump();
    application.setStatusBarHidden(false);
    application.setStatusBarStyle(uikit::UIStatusBarStyle::Default);
    EXPECT_EQ(dump().find("status-bar"), std::string::npos);

    showRoot(std::make_shared<BarScreen>());
    EXPECT_EQ(dump().rfind("window root=BarScreen\n"
                           "  screen BarScreen -\n"
                           "    bar \"Reset\" left=[Cancel on]\n"
                           "    picker selected=0 rows=3 selected=0 rows=4\n",
                           0),
              0u)
        << dump();
    // Its items are there to tap, as a navigation controller's are.
    EXPECT_TRUE(driver().hasItem("Cancel"));
}

}  // namespace
