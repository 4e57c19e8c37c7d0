// Storyboards, in C++: a registry of named storyboards ("Storyboard_iPhone",
// "Storyboard_iPad"), each holding scenes by identifier. A scene is a factory
// that makes its controller — or a composite tree, such as a tab bar with its
// navigation stacks — and, optionally, a builder of the controller's views
// that runs when the view is first loaded. A storyboard also holds the
// initial scene, the prototype cells of each scene's tables by reuse
// identifier, and the segues that leave each scene.
//
// Every controller a scene makes knows its storyboard, counts as made from an
// interface file and hears awakeFromNib once, children before their parents;
// controllers made in code never do. While building views, the builder names
// its outlets through SceneOutlets: a named view takes the name as its outlet
// name, and an outlet that a segue names as its trigger (a button or other
// control, a bar button item, a gesture recogniser) is wired to that segue.
//
// Asking for an unknown storyboard, or a scene that is unknown or unnamed,
// raises a foundation::Exception naming it, as the platform does. Main thread
// only.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "uikit/UIViewController.h"

namespace uikit {

class UIView;
class UIStoryboard;
class UIStoryboardSegue;

// How a storyboard segue moves to its destination.
enum class UIStoryboardSegueKind {
    Push,     // onto the source's navigation controller
    Modal,    // presented by the source, in the segue's presentation style
    Popover,  // in a popover from the sender (a bar button item or a view)
    Custom,   // the segue's own class performs it
    Unwind,   // back to the first controller up the chain with the action
};

// What a person does to start a segue.
struct UIStoryboardSegueTrigger {
    enum class Kind {
        None,               // only performSegueWithIdentifier starts it
        Control,            // touch-up-inside of the control with that outlet name
        BarButtonItem,      // the bar button item with that outlet name
        GestureRecognizer,  // the recogniser with that outlet name; it is the sender
        TableCell,          // a selected table cell of that reuse identifier
    };
    Kind kind = Kind::None;
    // The outlet name, or the cell's reuse identifier.
    std::string name;
};

// One segue leaving a scene.
struct UIStoryboardSegueDefinition {
    using SegueClass = std::function<std::shared_ptr<UIStoryboardSegue>(
        const std::string& identifier, const UIViewControllerPtr& source, const UIViewControllerPtr& destination)>;

    std::string identifier;
    UIStoryboardSegueKind kind = UIStoryboardSegueKind::Push;
    // The destination scene's identifier (none for an unwind).
    std::string destination;
    // For a modal segue: the style set on the destination, when given.
    std::optional<UIModalPresentationStyle> presentationStyle;
    // For a custom segue: makes the segue object whose perform runs.
    SegueClass segueClass;
    // For an unwind: the action looked for up the chain.
    std::string unwindAction;
    UIStoryboardSegueTrigger trigger;

    // A custom segue whose perform runs `perform` with the source (while it
    // still lives, else none) and the destination.
    using CustomPerform =
        std::function<void(const UIViewControllerPtr& source, const UIViewControllerPtr& destination)>;
    static UIStoryboardSegueDefinition custom(std::string identifier, std::string destination,
                                              CustomPerform perform);
    // An unwind segue to `action`, started by `trigger` (or only in code).
    static UIStoryboardSegueDefinition unwind(std::string identifier, std::string action,
                                              UIStoryboardSegueTrigger trigger = {}) {
        UIStoryboardSegueDefinition segue;
        segue.identifier = std::move(identifier);
        segue.kind = UIStoryboardSegueKind::Unwind;
        segue.unwindAction = std::move(action);
        segue.trigger = std::move(trigger);
        return segue;
    }
};

// Handed to a scene's view builder, to name the outlets it sets.
class SceneOutlets {
public:
    // Records the outlet: a view takes the name as its outlet name; a
    // control, bar button item or gesture recogniser that a segue of the
    // scene names as its trigger starts that segue from then on.
    template <class T>
    std::shared_ptr<T> connect(const std::string& name, std::shared_ptr<T> object) {
        connectObject(name, object);
        return object;
    }
    void connectObject(const std::string& name, const foundation::ObjectPtr& object);

    // The outlets named so far, in order.
    const std::vector<std::pair<std::string, std::weak_ptr<foundation::Object>>>& outlets() const {
        return outlets_;
    }

private:
    friend class UIStoryboard;
    SceneOutlets(std::shared_ptr<UIStoryboard> storyboard, std::string scene, std::weak_ptr<UIViewController> owner)
        : storyboard_(std::move(storyboard)), scene_(std::move(scene)), owner_(std::move(owner)) {}

    std::shared_ptr<UIStoryboard> storyboard_;
    std::string scene_;
    std::weak_ptr<UIViewController> owner_;
    std::vector<std::pair<std::string, std::weak_ptr<foundation::Object>>> outlets_;
};

class UIStoryboard : public foundation::Object {
public:
    // Makes the scene's controller (or composite tree); children of a
    // composite may come from instantiateViewControllerWithIdentifier.
    using ControllerFactory = std::function<UIViewControllerPtr(UIStoryboard& storyboard)>;
    // Makes the controller's view with its subviews, sets the controller's
    // outlets and names them through `outlets`.
    using ViewBuilder = std::function<std::shared_ptr<UIView>(UIViewController& owner, SceneOutlets& outlets)>;
    // Makes a prototype cell (a view) of a scene's table.
    using CellFactory = std::function<std::shared_ptr<UIView>()>;

    // --- The registry ---
    // The storyboard of that name, made empty on first registration; the app
    // fills it at start-up.
    static std::shared_ptr<UIStoryboard> registerStoryboard(const std::string& name);
    static void unregisterStoryboard(const std::string& name);
    // Raises when no storyboard of that name is registered.
    static std::shared_ptr<UIStoryboard> storyboardWithName(const std::string& name);
    static bool hasStoryboardNamed(const std::string& name);
    // Whether a storyboard of that name is registered (asks without raising).
    static bool isStoryboardRegistered(const std::string& name);

    const std::string& name() const { return name_; }

    // --- Building it ---
    void addScene(const std::string& identifier, ControllerFactory makeController, ViewBuilder buildView = {});
    bool hasScene(const std::string& identifier) const { return scenes_.count(identifier) != 0; }
    // In alphabetical order.
    std::vector<std::string> sceneIdentifiers() const {
        std::vector<std::string> identifiers;
        for (const auto& [identifier, scene] : scenes_) identifiers.push_back(identifier);
        return identifiers;
    }
    void setInitialSceneIdentifier(std::string identifier) { initialScene_ = std::move(identifier); }
    void addSegue(const std::string& sourceScene, UIStoryboardSegueDefinition segue);
    void addPrototypeCell(const std::string& scene, const std::string& reuseIdentifier, CellFactory makeCell);

    // --- Using it ---
    // Null when the storyboard has no initial scene.
    UIViewControllerPtr instantiateInitialViewController();
    // Raises for an empty or unknown identifier.
    UIViewControllerPtr instantiateViewControllerWithIdentifier(const std::string& identifier);
    // A new prototype cell of the controller's scene, or null.
    std::shared_ptr<UIView> makePrototypeCell(const UIViewController& controller, const std::string& reuseIdentifier) const;
    // The reuse identifiers of the controller's scene's prototype cells.
    std::vector<std::string> prototypeCellIdentifiers(const UIViewController& controller) const;
    // The segues leaving a scene, in the order added.
    std::vector<UIStoryboardSegueDefinition> seguesOfScene(const std::string& scene) const;

    // What the controller's view builder calls: the scene's views, or null when
    // the scene has no view builder (the controller then gets a plain view).
    std::shared_ptr<UIView> loadViewOfScene(UIViewController& controller);

    // Starts a segue of the source's scene. A trigger (askSource YES) first
    // asks shouldPerformSegueWithIdentifier and stops on NO; then the
    // destination is made from its scene, the source prepares for the segue
    // and the segue performs. Raises when the scene has no such segue.
    // YES when it performed.
    static bool performSegue(UIViewController& source, const std::string& identifier,
                             const foundation::ObjectPtr& sender, bool askSource);
    // A table selected a cell of that reuse identifier in the controller's
    // scene: triggers the segue the cell starts, if any. YES when one performed.
    static bool triggerSegueForCell(UIViewController& source, const std::string& reuseIdentifier,
                                    const foundation::ObjectPtr& cell);

    std::string className() const override { return "UIStoryboard"; }

private:
    struct Scene {
        ControllerFactory makeController;
        ViewBuilder buildView;
        std::map<std::string, CellFactory> prototypeCells;
        std::vector<UIStoryboardSegueDefinition> segues;
    };
    friend class SceneOutlets;

    explicit UIStoryboard(std::string name) : name_(std::move(name)) {}
    const UIStoryboardSegueDefinition* findSegue(const std::string& scene, const std::string& identifier) const;
    // Wires an outlet that a segue of the scene names as its trigger.
    void wireTrigger(const std::string& scene, const std::string& outletName, const foundation::ObjectPtr& object,
                     const std::weak_ptr<UIViewController>& owner);

    std::string name_;
    std::map<std::string, Scene> scenes_;
    std::string initialScene_;
};

using UIStoryboardPtr = std::shared_ptr<UIStoryboard>;

}  // namespace uikit
