#include "app/MoreScenes.h"

#include <string>
#include <vector>

#include "app/AppStoryboards.h"
#include "app/CustomNavigationController.h"
#include "app/LegendViewController.h"
#include "app/MoreViewController.h"
#include "app/SettingsViewController.h"
#include "app/WebViewController.h"
#include "lists/DetailsNavigationController.h"
#include "maps/OutsideMapsViewController.h"
#include "people/DocumentsListViewController.h"
#include "people/PartnersListViewController.h"
#include "uikit/UIColor.h"
#include "uikit/UINavigationController.h"
#include "uikit/UISplitViewController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableView.h"

namespace MoreScenes {

namespace {

// Where each segue of the More tab leads.
struct Destination {
    const char* segue;
    std::string scene;
};

std::vector<Destination> destinations() {
    return {
        {MoreViewController::kMapsSegue, OutsideMapsViewController::kStoryboardIdentifier},
        {MoreViewController::kDocumentsListSegue, DocumentsListViewController::kStoryboardIdentifier},
        {MoreViewController::kFeedbackDocumentSegue, *WebViewController::storyboardIdentifier()},
        {MoreViewController::kPartnersListSegue, PartnersListViewController::kStoryboardIdentifier},
        {MoreViewController::kHelpSegue, LegendViewController::kStoryboardIdentifier},
        {MoreViewController::kSettingsSegue, SettingsViewController::kStoryboardIdentifier},
    };
}

// The pad's segue: the destination's navigation controller becomes the
// split view's detail, beside the same master. As a details pane it takes
// over the "Menu" button in portrait, and the menu popover the choice was
// made in closes.
uikit::UIStoryboardSegueDefinition replaceDetail(const char* identifier, const std::string& destination) {
    return uikit::UIStoryboardSegueDefinition::custom(
        identifier, destination, [](const uikit::UIViewControllerPtr& from, const uikit::UIViewControllerPtr& target) {
            if (auto pane = std::dynamic_pointer_cast<DetailsNavigationController>(target)) {
                DetailsNavigationController::installAsSplitViewDetail(pane);
                return;
            }
            auto split = from ? from->splitViewController() : nullptr;
            if (!split) return;
            std::vector<uikit::UIViewControllerPtr> controllers;
            if (!split->viewControllers().empty()) controllers.push_back(split->viewControllers().front());
            controllers.push_back(target);
            split->setViewControllers(std::move(controllers));
        });
}

uikit::UIStoryboardSegueDefinition push(const char* identifier, const std::string& destination) {
    uikit::UIStoryboardSegueDefinition segue;
    segue.identifier = identifier;
    segue.kind = uikit::UIStoryboardSegueKind::Push;
    segue.destination = destination;
    return segue;
}

}  // namespace

std::string padNavigationSceneFor(const std::string& destinationScene) { return destinationScene + "Navigation"; }

void addDestination(uikit::UIStoryboard& storyboard, const std::string& sourceScene, const char* segueIdentifier,
                    const std::string& destinationScene, bool pad) {
    if (!pad) {
        AppStoryboards::addSegueOnce(storyboard, sourceScene, push(segueIdentifier, destinationScene));
        return;
    }
    const std::string wrapper = padNavigationSceneFor(destinationScene);
    storyboard.addScene(wrapper, [destinationScene](uikit::UIStoryboard& board) -> uikit::UIViewControllerPtr {
        auto navigation =
            std::make_shared<DetailsNavigationController>(CustomNavigationController::FromInterfaceFile{});
        navigation->setViewControllers({board.instantiateViewControllerWithIdentifier(destinationScene)}, false);
        return navigation;
    });
    AppStoryboards::addSegueOnce(storyboard, sourceScene, replaceDetail(segueIdentifier, wrapper));
}

uikit::UIViewControllerPtr screenOfDestination(const uikit::UIViewControllerPtr& destination) {
    auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(destination);
    if (!navigation) return destination;
    return navigation->viewControllers().empty() ? nullptr : navigation->viewControllers().front();
}

void addScenes(uikit::UIStoryboard& storyboard, bool pad) {
    storyboard.addScene(
        MoreViewController::kStoryboardIdentifier,
        [](uikit::UIStoryboard&) { return std::make_shared<MoreViewController>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto table = outlets.connect(MoreViewController::kTableOutlet, std::make_shared<uikit::UITableView>());
            table->setBackgroundColor(uikit::UIColor::whiteColor());
            static_cast<MoreViewController&>(owner).setMoreTableView(table);
            return table;
        });
    for (const auto& destination : destinations())
        addDestination(storyboard, MoreViewController::kStoryboardIdentifier, destination.segue, destination.scene, pad);
}

}  // namespace MoreScenes
