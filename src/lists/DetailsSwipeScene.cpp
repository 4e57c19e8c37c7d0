#include "lists/DetailsSwipeScene.h"

#include "app/CustomReplaceCurlSegue.h"
#include "lists/DetailsScreenSupport.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UISwipeGestureRecognizer.h"
#include "uikit/UIView.h"
#include "uikit/UIViewController.h"

namespace DetailsSwipeScene {

namespace {

constexpr double kDetailsSwipeSceneWidth = 320;
constexpr double kDetailsSwipeSceneHeight = 480;

}  // namespace

void addSwipeRecognizers(uikit::UIViewController& details, uikit::UIView& view, uikit::SceneOutlets& outlets) {
    auto* support = dynamic_cast<DetailsScreenSupport*>(&details);
    for (auto direction : {uikit::UISwipeGestureRecognizerDirectionLeft, uikit::UISwipeGestureRecognizerDirectionRight}) {
        const bool left = direction == uikit::UISwipeGestureRecognizerDirectionLeft;
        auto recognizer = outlets.connect(left ? kLeftRecognizerOutlet : kRightRecognizerOutlet,
                                          std::make_shared<uikit::UISwipeGestureRecognizer>());
        recognizer->setDirection(direction);
        view.addGestureRecognizer(recognizer);
        if (!support) continue;
        if (left) support->setSwipeLeftRecognizer(recognizer);
        else support->setSwipeRightRecognizer(recognizer);
    }
}

void addSwipeSegues(uikit::UIStoryboard& storyboard, const std::string& scene, const std::string& segueIdentifier) {
    for (const char* trigger : {kLeftRecognizerOutlet, kRightRecognizerOutlet}) {
        // A scene added again keeps one segue per recogniser.
        bool present = false;
        for (const auto& existing : storyboard.seguesOfScene(scene))
            present = present || (existing.identifier == segueIdentifier && existing.trigger.name == trigger);
        if (present) continue;
        uikit::UIStoryboardSegueDefinition segue;
        segue.identifier = segueIdentifier;
        segue.kind = uikit::UIStoryboardSegueKind::Custom;
        segue.destination = scene;
        segue.segueClass = [](const std::string& identifier, const uikit::UIViewControllerPtr& source,
                              const uikit::UIViewControllerPtr& destination) {
            return std::make_shared<CustomReplaceCurlSegue>(identifier, source, destination);
        };
        segue.trigger = {uikit::UIStoryboardSegueTrigger::Kind::GestureRecognizer, trigger};
        storyboard.addSegue(scene, segue);
    }
}

void addScene(uikit::UIStoryboard& storyboard, const std::string& scene, ControllerFactory makeController,
              ViewBuilder buildView) {
    storyboard.addScene(
        scene, [makeController = std::move(makeController)](uikit::UIStoryboard&) { return makeController(); },
        [buildView = std::move(buildView)](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) {
            auto view = buildView ? buildView(owner, outlets) : nullptr;
            if (!view) {
                view = std::make_shared<uikit::UIView>(
                    graphics::Rect(0, 0, kDetailsSwipeSceneWidth, kDetailsSwipeSceneHeight));
                view->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth |
                                          uikit::UIViewAutoresizingFlexibleHeight);
            }
            addSwipeRecognizers(owner, *view, outlets);
            return view;
        });
    addSwipeSegues(storyboard, scene);
}

}  // namespace DetailsSwipeScene
