// What both kinds of details screen share, whatever their base: the plain
// container (DetailsBaseViewController) and the list-shaped one
// (DetailsWithListBaseViewController) inherit it next to their controller
// base and answer detailsViewController() with themselves.
//
// - The inputs a list (or a swipe, or the app mode's hand-over) gives a
//   details screen before it loads: entity name, identifier, swipe parent,
//   index path, swiping on or off.
// - The shown object: the first row of the entity named `entityName` whose
//   comparison key equals `selectionPropertyId`, on the main-queue context.
// - The reload after a save: each observed class is tested against every
//   saved object of each kind (inserted, deleted, updated); an object lacking
//   the class's comparison key does not match; a match posts one
//   updateUiContentBecauseItsNeeded to the main queue. Only the saves of the
//   main-queue context observed when the screen loaded count.
// - Swiping to the neighbour in the parent list through the storyboard's
//   swipe segue, with the curled corner and the " <<  Swipe  >> " hint.
//
// Where a controller base declares the same virtual (the list base's
// contextDidSave, updateUiContentBecauseItsNeeded and
// entitiesArrayToObserveForFilteringUIUpdates), the details base overrides
// it once and calls the member here. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "graphics/Geometry.h"
#include "lists/DetailsScreenInputs.h"
#include "lists/StoreSaveObserver.h"
#include "uikit/NSIndexPath.h"
#include "uikit/ScreenDriver.h"

class BaseViewController;
class IdIndexPair;
class SwipeParentControllerProtocol;

namespace coredata {
class ManagedObject;
class Predicate;
}  // namespace coredata

namespace foundation {
struct Notification;
class Value;
}  // namespace foundation

namespace uikit {
class UIImageView;
class UIScrollView;
class UIStoryboardSegue;
class UISwipeGestureRecognizer;
class UIView;
class UIViewController;
}  // namespace uikit

class DetailsScreenSupport {
public:
    static constexpr const char* kNotImplementedException = "Please implement this function";
    static constexpr const char* kNotImplementedReason =
        "Set the ui for the details screen ONLY in this function please. E.x participantLabel.name = "
        "self.managedObject.participantName";
    static constexpr const char* kOffMainThreadSaveException = StoreSaveObserver::kOffMainThreadSaveException;
    static constexpr const char* kOffMainThreadUpdateException = "Please call this method from main thread only";
    static constexpr const char* kMissingParentException = "MISSING parent controller";
    static constexpr const char* kMissingParentReasonFormat =
        "A parent controller must be set in order for swipe to work for %@";
    static constexpr const char* kNoSwipePairException = "Next Id for swipe is 0";
    static constexpr const char* kNoSwipePairReasonFormat =
        " Performing segue should have been prevented in this case in shouldPerformSegueWithIdentifier for %@";
    static constexpr const char* kSwipeHintText = " <<  Swipe  >> ";
    static constexpr const char* kSwipeHintCornerImageName = "curled-corner.png";
    static constexpr double kSwipeHintCornerSidePad = 35;
    static constexpr double kSwipeHintCornerSidePhone = 25;

    DetailsScreenSupport() = default;
    DetailsScreenSupport(const DetailsScreenSupport&) = delete;
    DetailsScreenSupport& operator=(const DetailsScreenSupport&) = delete;
    virtual ~DetailsScreenSupport();

    // --- Inputs, set before the view loads ---
    // All of them at once, as a list opening the screen hands them over.
    void setInputs(DetailsScreenInputs inputs);
    DetailsScreenInputs inputs() const;
    const std::optional<std::string>& selectionPropertyId() const { return selectionPropertyId_; }
    void setSelectionPropertyId(std::optional<std::string> id) { selectionPropertyId_ = std::move(id); }
    const std::optional<std::string>& entityName() const { return entityName_; }
    void setEntityName(std::optional<std::string> name) { entityName_ = std::move(name); }
    // The list answering swipe steps (held strongly).
    const std::shared_ptr<SwipeParentControllerProtocol>& parentController() const { return parentController_; }
    void setParentController(std::shared_ptr<SwipeParentControllerProtocol> parent) {
        parentController_ = std::move(parent);
    }
    const uikit::NSIndexPath& indexPathInParentController() const { return indexPathInParentController_; }
    void setIndexPathInParentController(const uikit::NSIndexPath& indexPath) { indexPathInParentController_ = indexPath; }

    // --- Swiping ---
    bool isSwipeEnabled() const { return isSwipeEnabled_; }
    // Enables or disables both recognisers, refreshes the hints once the view
    // is loaded and, on the pad, lets the split view present its master by
    // gesture only while swiping is off.
    void setIsSwipeEnabled(bool enabled);
    // The layout's two recognisers (held weakly); the swipe segue is wired to both.
    std::shared_ptr<uikit::UISwipeGestureRecognizer> swipeLeftRecognizer() const { return swipeLeftRecognizer_.lock(); }
    void setSwipeLeftRecognizer(const std::shared_ptr<uikit::UISwipeGestureRecognizer>& recognizer);
    std::shared_ptr<uikit::UISwipeGestureRecognizer> swipeRightRecognizer() const { return swipeRightRecognizer_.lock(); }
    void setSwipeRightRecognizer(const std::shared_ptr<uikit::UISwipeGestureRecognizer>& recognizer);
    // The black box holding the hint text, and the curled corner (weak; the view keeps them).
    std::shared_ptr<uikit::UIView> swipeHintLabel() const { return swipeHintLabel_.lock(); }
    std::shared_ptr<uikit::UIImageView> swipeHintCorner() const { return swipeHintCorner_.lock(); }
    // The neighbour an accepted swipe found, for the screen the segue opens.
    const std::shared_ptr<IdIndexPair>& nextSwipePair() const { return nextSwipePair_; }

    // Corner shown while swiping is on (made on first need); the hint while
    // swiping is on and the setting wants it, hidden otherwise.
    void updateSwipeHints();
    // Build the two hints on the screen's view and return them.
    std::shared_ptr<uikit::UIImageView> createSwipeHintCorner();
    std::shared_ptr<uikit::UIView> createSwipeHintLabel();
    // Puts the hints where their constraints say, in the view's bounds now
    // (nothing solves constraints here): the bases call it after each layout.
    void layoutSwipeHints();
    // The scroll view (the screen's table, or the scroll view holding its
    // content) gets a bottom inset as tall as the part of the view the shown
    // hints cover, so that scrolled to its end its last rows come out from
    // under them. Called after layoutSwipeHints: by the list-shaped base for
    // its table, by a plain container whose content scrolls for its scroll view.
    void keepScrollViewClearOfSwipeHints(uikit::UIScrollView& scrollView);
    // Whether the point's x is less than half the view's frame width.
    static bool point(const graphics::Point& point, const uikit::UIView& view);
    // The details bases' shouldPerformSegueWithIdentifier and prepareForSegue
    // for every segue: a swipe recogniser as sender is handled here, any other
    // sender answers YES / is left to the subclass.
    bool swipeShouldPerformSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender);
    void swipePrepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender);

    // --- The shown object and the store's saves ---
    // Null when no stack is open, the entity is unknown or no row matches.
    virtual std::shared_ptr<coredata::ManagedObject> currentObject();
    // "%K = %@" with the class's comparison key and selectionPropertyId; the
    // false predicate for a class without a key.
    virtual std::shared_ptr<const coredata::Predicate> filterPredicateForObservedEntityType(const std::string& entityName);
    // The entity names whose saves may change the screen; none here.
    virtual std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() { return {}; }
    // The did-save handler: raises off the main thread; ignores every sender
    // but the observed context; one posted update per matching save.
    virtual void contextDidSave(const foundation::Notification& notification);
    // Main thread only: the object fetched again and, when found, shown.
    virtual void updateUiContentBecauseItsNeeded();
    // Every details screen fills itself from the object here; this raises.
    virtual void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object);
    // Whether any saved object of the notification's user info matches the
    // shown object's predicate for an observed class it belongs to.
    bool savedObjectsMatchShownObject(const foundation::Value& userInfo);

    // The context whose saves reach contextDidSave. A base that registers
    // its own observer (the list base) answers its context here.
    virtual const foundation::Object* observedSaveContext() const { return saveObserver_.context(); }
    // Registers contextDidSave for the current store's main-queue context,
    // only when one exists, once. The plain container calls it from viewDidLoad.
    void observeSavesOfCurrentStore();

    // --- The app mode's object hand-over ---
    // A details screen of either base takes the entity name and the id when
    // the current store holds that object; any other controller takes none.
    static uikit::ScreenDriver::HandOver takeObject(uikit::UIViewController& controller, const std::string& entity,
                                                    const std::string& identifier);
    // Installs takeObject as uikit::ScreenDriver's object hand-over.
    static void registerObjectHandOver();

protected:
    // The controller this is part of.
    virtual BaseViewController& detailsViewController() = 0;

private:
    std::optional<std::string> selectionPropertyId_;
    std::optional<std::string> entityName_;
    std::shared_ptr<SwipeParentControllerProtocol> parentController_;
    uikit::NSIndexPath indexPathInParentController_;
    bool isSwipeEnabled_ = false;
    std::weak_ptr<uikit::UISwipeGestureRecognizer> swipeLeftRecognizer_;
    std::weak_ptr<uikit::UISwipeGestureRecognizer> swipeRightRecognizer_;
    std::weak_ptr<uikit::UIView> swipeHintLabel_;
    std::weak_ptr<uikit::UIImageView> swipeHintCorner_;
    std::shared_ptr<IdIndexPair> nextSwipePair_;
    StoreSaveObserver saveObserver_;
};
