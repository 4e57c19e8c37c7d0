// The storyboard registry, scene instantiation with awakeFromNib children
// first, the scenes' views with their outlets, and starting segues.
#include "uikit/UIStoryboard.h"

#include "foundation/Exception.h"
#include "foundation/MainThreadChecker.h"
#include "uikit/StoryboardModalSegue.h"
#include "uikit/StoryboardPopoverSegue.h"
#include "uikit/StoryboardPushSegue.h"
#include "uikit/StoryboardUnwindSegue.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIControl.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIGestureRecognizer.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UINib.h"
#include "uikit/UITableView.h"
#include "uikit/UIView.h"

namespace uikit {

UIStoryboardSegueDefinition UIStoryboardSegueDefinition::custom(std::string identifier, std::string destination,
                                                                CustomPerform perform) {
    UIStoryboardSegueDefinition segue;
    segue.identifier = std::move(identifier);
    segue.kind = UIStoryboardSegueKind::Custom;
    segue.destination = std::move(destination);
    segue.segueClass = [perform = std::move(perform)](const std::string& name, const UIViewControllerPtr& source,
                                                      const UIViewControllerPtr& target) {
        std::weak_ptr<UIViewController> weakSource = source;
        return UIStoryboardSegue::segueWithIdentifier(name, source, target, [perform, weakSource, target] {
            perform(weakSource.lock(), target);
        });
    };
    return segue;
}
namespace {

void requireMainForStoryboard() { foundation::requireMainThread("UIStoryboard is used from the main thread only"); }

std::map<std::string, std::shared_ptr<UIStoryboard>>& registry() {
    static std::map<std::string, std::shared_ptr<UIStoryboard>> storyboards;
    return storyboards;
}

// Marks what the factory made and awakes it, children before parents. A
// subtree that another scene made was marked and awoken by that scene.
void awakeTree(const UIViewControllerPtr& controller, const std::shared_ptr<UIStoryboard>& storyboard) {
    if (controller->isMadeFromInterfaceFile()) return;
    // Copied: an awakeFromNib may change its children.
    const auto children = controller->childViewControllers();
    for (const auto& child : children) awakeTree(child, storyboard);
    if (!controller->storyboard()) controller->setStoryboard(storyboard, "");
    controller->markMadeFromInterfaceFile();
    controller->awakeFromNib();
}

}  // namespace

void SceneOutlets::connectObject(const std::string& name, const foundation::ObjectPtr& object) {
    if (!object) return;
    outlets_.emplace_back(name, object);
    if (auto view = std::dynamic_pointer_cast<UIView>(object)) view->setOutletName(name);
    if (auto constraint = std::dynamic_pointer_cast<NSLayoutConstraint>(object)) constraint->setOutletName(name);
    storyboard_->wireTrigger(scene_, name, object, owner_);
}

std::shared_ptr<UIStoryboard> UIStoryboard::registerStoryboard(const std::string& name) {
    requireMainForStoryboard();
    auto& storyboard = registry()[name];
    if (!storyboard) storyboard.reset(new UIStoryboard(name));
    return storyboard;
}

void UIStoryboard::unregisterStoryboard(const std::string& name) {
    requireMainForStoryboard();
    registry().erase(name);
}

bool UIStoryboard::isStoryboardRegistered(const std::string& name) {
    requireMainForStoryboard();
    return registry().count(name) != 0;
}

bool UIStoryboard::hasStoryboardNamed(const std::string& name) {
    requireMainForStoryboard();
    return registry().count(name) != 0;
}

std::shared_ptr<UIStoryboard> UIStoryboard::storyboardWithName(const std::string& name) {
    requireMainForStoryboard();
    auto found = registry().find(name);
    if (found == registry().end())
        foundation::raise(foundation::kInvalidArgumentException,
                          "Could not find a storyboard named '" + name + "'");
    return found->second;
}

void UIStoryboard::addScene(const std::string& identifier, ControllerFactory makeController, ViewBuilder buildView) {
    auto& scene = scenes_[identifier];
    scene.makeController = std::move(makeController);
    scene.buildView = std::move(buildView);
}

void UIStoryboard::addSegue(const std::string& sourceScene, UIStoryboardSegueDefinition segue) {
    scenes_[sourceScene].segues.push_back(std::move(segue));
}

void UIStoryboard::addPrototypeCell(const std::string& scene, const std::string& reuseIdentifier, CellFactory makeCell) {
    scenes_[scene].prototypeCells[reuseIdentifier] = std::move(makeCell);
}

UIViewControllerPtr UIStoryboard::instantiateInitialViewController() {
    if (initialScene_.empty()) return nullptr;
    return instantiateViewControllerWithIdentifier(initialScene_);
}

UIViewControllerPtr UIStoryboard::instantiateViewControllerWithIdentifier(const std::string& identifier) {
    requireMainForStoryboard();
    if (identifier.empty())
        foundation::raise(foundation::kInvalidArgumentException,
                          "Storyboard (" + name_ + ") asked for a view controller without identifier");
    auto scene = scenes_.find(identifier);
    if (scene == scenes_.end() || !scene->second.makeController)
        foundation::raise(foundation::kInvalidArgumentException, "Storyboard (" + name_ +
                                                                     ") doesn't contain a view controller with identifier '" +
                                                                     identifier + "'");
    auto self = std::static_pointer_cast<UIStoryboard>(shared_from_this());
    // Copied: the factory may add scenes while it runs.
    const auto makeController = scene->second.makeController;
    auto controller = makeController(*this);
    if (!controller)
        foundation::raise(foundation::kInternalInconsistencyException,
                          "Storyboard (" + name_ + ") scene '" + identifier + "' made no view controller");
    controller->setStoryboard(self, identifier);
    if (scene->second.buildView)
        controller->setViewBuilder([](UIViewController& owner) -> std::shared_ptr<UIView> {
            auto storyboard = owner.storyboard();
            return storyboard ? storyboard->loadViewOfScene(owner) : nullptr;
        });
    awakeTree(controller, self);
    return controller;
}

std::shared_ptr<UIView> UIStoryboard::makePrototypeCell(const UIViewController& controller,
                                                        const std::string& reuseIdentifier) const {
    auto scene = scenes_.find(controller.storyboardSceneIdentifier());
    if (scene == scenes_.end()) return nullptr;
    auto cell = scene->second.prototypeCells.find(reuseIdentifier);
    if (cell == scene->second.prototypeCells.end() || !cell->second) return nullptr;
    auto made = cell->second();
    UINib::awakeViewTree(made);
    return made;
}

std::vector<std::string> UIStoryboard::prototypeCellIdentifiers(const UIViewController& controller) const {
    std::vector<std::string> identifiers;
    auto scene = scenes_.find(controller.storyboardSceneIdentifier());
    if (scene != scenes_.end())
        for (const auto& [identifier, factory] : scene->second.prototypeCells) identifiers.push_back(identifier);
    return identifiers;
}

std::vector<UIStoryboardSegueDefinition> UIStoryboard::seguesOfScene(const std::string& scene) const {
    auto found = scenes_.find(scene);
    return found == scenes_.end() ? std::vector<UIStoryboardSegueDefinition>{} : found->second.segues;
}

namespace {

void registerPrototypeCellsInTree(const UIViewController& controller, UIView& view) {
    if (auto* table = dynamic_cast<UITableView*>(&view)) table->registerPrototypeCells(controller);
    for (const auto& subview : view.subviews()) registerPrototypeCellsInTree(controller, *subview);
}

}  // namespace

std::shared_ptr<UIView> UIStoryboard::loadViewOfScene(UIViewController& controller) {
    requireMainForStoryboard();
    auto scene = scenes_.find(controller.storyboardSceneIdentifier());
    if (scene == scenes_.end() || !scene->second.buildView) return nullptr;
    std::weak_ptr<UIViewController> owner =
        std::static_pointer_cast<UIViewController>(controller.shared_from_this());
    SceneOutlets outlets(std::static_pointer_cast<UIStoryboard>(shared_from_this()), scene->first, owner);
    const auto buildView = scene->second.buildView;
    auto view = buildView(controller, outlets);
    // The views of the scene hear awakeFromNib once they are whole and their
    // outlets set, as a nib's do.
    UINib::awakeViewTree(view);
    // The scene's tables get its prototype cells as the view loads; tables
    // added later (a search's results) do not.
    if (view) registerPrototypeCellsInTree(controller, *view);
    return view;
}

const UIStoryboardSegueDefinition* UIStoryboard::findSegue(const std::string& scene,
                                                            const std::string& identifier) const {
    auto found = scenes_.find(scene);
    if (found == scenes_.end()) return nullptr;
    for (const auto& segue : found->second.segues)
        if (segue.identifier == identifier) return &segue;
    return nullptr;
}

void UIStoryboard::wireTrigger(const std::string& scene, const std::string& outletName,
                               const foundation::ObjectPtr& object, const std::weak_ptr<UIViewController>& owner) {
    auto found = scenes_.find(scene);
    if (found == scenes_.end()) return;
    for (const auto& segue : found->second.segues) {
        if (segue.trigger.name != outletName) continue;
        const std::string identifier = segue.identifier;
        // The sender is the trigger itself; the closures hold their owner weakly.
        auto start = [owner, identifier](const foundation::ObjectPtr& sender) {
            if (auto source = owner.lock()) performSegue(*source, identifier, sender, true);
        };
        switch (segue.trigger.kind) {
            case UIStoryboardSegueTrigger::Kind::Control:
                if (auto control = std::dynamic_pointer_cast<UIControl>(object))
                    control->addTarget([start](UIControl& sender) { start(sender.shared_from_this()); },
                                       UIControlEventTouchUpInside);
                break;
            case UIStoryboardSegueTrigger::Kind::BarButtonItem:
                if (auto item = std::dynamic_pointer_cast<UIBarButtonItem>(object))
                    item->setAction([start](UIBarButtonItem& sender) { start(sender.shared_from_this()); });
                break;
            case UIStoryboardSegueTrigger::Kind::GestureRecognizer:
                if (auto recognizer = std::dynamic_pointer_cast<UIGestureRecognizer>(object))
                    recognizer->addTarget(
                        [start](UIGestureRecognizer& sender) { start(sender.shared_from_this()); });
                break;
            case UIStoryboardSegueTrigger::Kind::None:
            case UIStoryboardSegueTrigger::Kind::TableCell:
                break;
        }
    }
}

bool UIStoryboard::performSegue(UIViewController& source, const std::string& identifier,
                                const foundation::ObjectPtr& sender, bool askSource) {
    requireMainForStoryboard();
    auto storyboard = source.storyboard();
    const UIStoryboardSegueDefinition* found =
        storyboard ? storyboard->findSegue(source.storyboardSceneIdentifier(), identifier) : nullptr;
    if (!found)
        foundation::raise(foundation::kInvalidArgumentException, "Receiver (" + source.className() +
                                                                     ") has no segue with identifier '" + identifier +
                                                                     "'");
    // Copied: preparing may change the storyboard.
    const UIStoryboardSegueDefinition definition = *found;
    if (askSource && !source.shouldPerformSegueWithIdentifier(identifier, sender)) return false;

    auto sourcePtr = std::static_pointer_cast<UIViewController>(source.shared_from_this());
    UIStoryboardSeguePtr segue;
    if (definition.kind == UIStoryboardSegueKind::Unwind) {
        auto target = StoryboardUnwindSegue::findDestination(source, definition.unwindAction, sender);
        if (!target) return false;  // nobody up the chain has the action: the platform does nothing
        auto unwind = std::make_shared<StoryboardUnwindSegue>(identifier, sourcePtr, target);
        source.prepareForSegue(*unwind, sender);
        target->performUnwindAction(definition.unwindAction, *unwind);
        unwind->perform();
        return true;
    }

    auto destination = storyboard->instantiateViewControllerWithIdentifier(definition.destination);
    switch (definition.kind) {
        case UIStoryboardSegueKind::Push:
            segue = std::make_shared<StoryboardPushSegue>(identifier, sourcePtr, destination);
            break;
        case UIStoryboardSegueKind::Modal:
            segue = std::make_shared<StoryboardModalSegue>(identifier, sourcePtr, destination,
                                                           definition.presentationStyle);
            break;
        case UIStoryboardSegueKind::Popover:
            segue = std::make_shared<StoryboardPopoverSegue>(identifier, sourcePtr, destination, sender);
            break;
        case UIStoryboardSegueKind::Custom:
            if (definition.segueClass) segue = definition.segueClass(identifier, sourcePtr, destination);
            if (!segue) segue = std::make_shared<UIStoryboardSegue>(identifier, sourcePtr, destination);
            break;
        case UIStoryboardSegueKind::Unwind:
            break;
    }
    source.prepareForSegue(*segue, sender);
    segue->perform();
    return true;
}

bool UIStoryboard::triggerSegueForCell(UIViewController& source, const std::string& reuseIdentifier,
                                       const foundation::ObjectPtr& cell) {
    auto storyboard = source.storyboard();
    if (!storyboard) return false;
    for (const auto& segue : storyboard->seguesOfScene(source.storyboardSceneIdentifier()))
        if (segue.trigger.kind == UIStoryboardSegueTrigger::Kind::TableCell && segue.trigger.name == reuseIdentifier)
            return performSegue(source, segue.identifier, cell, true);
    return false;
}

}  // namespace uikit
