#include "lists/DetailsScreenSupport.h"

#include <algorithm>
#include <map>

#include "Utils/Utils.h"
#include "app/AppDelegate.h"
#include "app/BaseViewController.h"
#include "app/EventsSplitViewController.h"
#include "coredata/Constants.h"
#include "coredata/FetchRequest.h"
#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "dispatch/Queue.h"
#include "foundation/Exception.h"
#include "foundation/Format.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/NotificationCenter.h"
#include "lists/IdIndexPair.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/ScreenDriver.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UIScrollView.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UISwipeGestureRecognizer.h"

namespace {

// The saved objects' sets, in the order they are scanned.
constexpr const char* kSavedSets[] = {coredata::kInsertedObjectsKey, coredata::kDeletedObjectsKey,
                                      coredata::kUpdatedObjectsKey};

constexpr double kSwipeHintFontSize = 17;
constexpr double kSwipeHintMeasureWidth = 380;

// The split view whose gesture and master popover a details screen drives:
// its own, else the application's (a screen not yet pushed has none of its own).
std::shared_ptr<EventsSplitViewController> splitViewOf(const uikit::UIViewController& controller) {
    if (auto own = std::dynamic_pointer_cast<EventsSplitViewController>(controller.splitViewController())) return own;
    if (auto delegate = AppDelegate::sharedAppDelegate()) return delegate->eventsSplitVC();
    return nullptr;
}

}  // namespace

DetailsScreenSupport::~DetailsScreenSupport() { foundation::NotificationCenter::defaultCenter().removeObserver(this); }

// --- Swiping ---

void DetailsScreenSupport::setSwipeLeftRecognizer(const std::shared_ptr<uikit::UISwipeGestureRecognizer>& recognizer) {
    swipeLeftRecognizer_ = recognizer;
}

void DetailsScreenSupport::setSwipeRightRecognizer(const std::shared_ptr<uikit::UISwipeGestureRecognizer>& recognizer) {
    swipeRightRecognizer_ = recognizer;
}

void DetailsScreenSupport::setInputs(DetailsScreenInputs inputs) {
    selectionPropertyId_ = std::move(inputs.selectionPropertyId);
    entityName_ = std::move(inputs.entityName);
    parentController_ = std::move(inputs.parentController);
    indexPathInParentController_ = inputs.indexPathInParentController;
    setIsSwipeEnabled(inputs.isSwipeEnabled);
}

DetailsScreenInputs DetailsScreenSupport::inputs() const {
    return {selectionPropertyId_, entityName_, parentController_, indexPathInParentController_, isSwipeEnabled_};
}

void DetailsScreenSupport::setIsSwipeEnabled(bool enabled) {
    isSwipeEnabled_ = enabled;
    if (auto left = swipeLeftRecognizer()) left->setEnabled(enabled);
    if (auto right = swipeRightRecognizer()) right->setEnabled(enabled);
    BaseViewController& controller = detailsViewController();
    if (controller.isViewLoaded()) updateSwipeHints();
    // The split view's own swipe would fight the details' swipes.
    if (Utils::isIPad()) {
        if (auto split = splitViewOf(controller)) split->setPresentsWithGesture(!enabled);
    }
}

void DetailsScreenSupport::updateSwipeHints() {
    auto corner = swipeHintCorner();
    if (isSwipeEnabled_) {
        if (!corner) {
            corner = createSwipeHintCorner();
            swipeHintCorner_ = corner;
            layoutSwipeHints();
        }
        if (corner) corner->setHidden(false);
    } else if (corner) {
        corner->setHidden(true);
    }
    const bool hintWanted = isSwipeEnabled_ && ApplicationSettingsStore::sharedApplicationSettingsStore().showSwipeHintLabel();
    auto hint = swipeHintLabel();
    if (hintWanted) {
        if (!hint) {
            hint = createSwipeHintLabel();
            swipeHintLabel_ = hint;
            layoutSwipeHints();
        }
        if (hint) hint->setHidden(false);
    } else if (hint) {
        hint->setHidden(true);
    }
}

std::shared_ptr<uikit::UIImageView> DetailsScreenSupport::createSwipeHintCorner() {
    const auto& view = detailsViewController().view();
    const double side = Utils::isIPad() ? kSwipeHintCornerSidePad : kSwipeHintCornerSidePhone;
    auto corner = std::make_shared<uikit::UIImageView>(uikit::UIImage::imageNamed(kSwipeHintCornerImageName));
    corner->setTranslatesAutoresizingMaskIntoConstraints(false);
    corner->setFrame(graphics::Rect(0, 0, side, side));
    view->addSubview(corner);
    const std::map<std::string, std::shared_ptr<uikit::UIView>> views{{"swipeHintCorner", corner}};
    const int points = static_cast<int>(side);
    view->addConstraints(
        uikit::NSLayoutConstraint::constraintsWithVisualFormat(foundation::Format("H:[swipeHintCorner(==%d)]", points), views));
    view->addConstraints(
        uikit::NSLayoutConstraint::constraintsWithVisualFormat(foundation::Format("V:[swipeHintCorner(==%d)]", points), views));
    view->addConstraint(uikit::NSLayoutConstraint::constraintWithItem(corner, uikit::NSLayoutAttribute::Right,
                                                                      uikit::NSLayoutRelation::Equal, view,
                                                                      uikit::NSLayoutAttribute::Right, 1, 0));
    view->addConstraint(uikit::NSLayoutConstraint::constraintWithItem(corner, uikit::NSLayoutAttribute::Bottom,
                                                                      uikit::NSLayoutRelation::Equal, view,
                                                                      uikit::NSLayoutAttribute::Bottom, 1, 0));
    return corner;
}

std::shared_ptr<uikit::UIView> DetailsScreenSupport::createSwipeHintLabel() {
    const auto& view = detailsViewController().view();
    auto font = uikit::UIFont::systemFontOfSize(kSwipeHintFontSize);
    const graphics::Size measured =
        Utils::getMeasuredSizeOfLabelWithText(std::string(kSwipeHintText), font, kSwipeHintMeasureWidth);
    const double w = measured.width;
    const double h = measured.height;

    auto container = std::make_shared<uikit::UIView>();
    container->setTranslatesAutoresizingMaskIntoConstraints(false);
    container->setBackgroundColor(uikit::UIColor::blackColor());
    const double containerWidth = w + 3;
    const double containerHeight = h + 10;
    container->setFrame(graphics::Rect(0, 0, containerWidth, containerHeight));

    auto label = std::make_shared<uikit::UILabel>(
        graphics::Rect((containerWidth - w) / 2, (containerHeight - (h + 5)) / 2, w, h + 5));
    label->setText(std::string(kSwipeHintText));
    label->setFont(font);
    label->setNumberOfLines(1);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumScaleFactor(5.0 / 6.0);
    label->setLineBreakMode(uikit::NSLineBreakMode::ByClipping);
    label->setTextColor(uikit::UIColor::whiteColor());
    label->setBackgroundColor(uikit::UIColor::blackColor());
    label->setTextAlignment(uikit::NSTextAlignment::Center);
    container->addSubview(label);
    view->addSubview(container);

    const std::map<std::string, std::shared_ptr<uikit::UIView>> views{{"swipeLabelContainer", container}};
    view->addConstraints(uikit::NSLayoutConstraint::constraintsWithVisualFormat(
        foundation::Format("V:[swipeLabelContainer(==%f)]", containerHeight), views));
    view->addConstraints(uikit::NSLayoutConstraint::constraintsWithVisualFormat(
        foundation::Format("H:[swipeLabelContainer(==%f)]", containerWidth), views));
    view->addConstraint(uikit::NSLayoutConstraint::constraintWithItem(container, uikit::NSLayoutAttribute::Right,
                                                                      uikit::NSLayoutRelation::Equal, view,
                                                                      uikit::NSLayoutAttribute::Right, 1, 0));
    view->addConstraint(uikit::NSLayoutConstraint::constraintWithItem(container, uikit::NSLayoutAttribute::CenterY,
                                                                      uikit::NSLayoutRelation::Equal, view,
                                                                      uikit::NSLayoutAttribute::CenterY, 1.5, 0));
    return container;
}

void DetailsScreenSupport::layoutSwipeHints() {
    BaseViewController& controller = detailsViewController();
    if (!controller.isViewLoaded()) return;
    const graphics::Size bounds = controller.view()->bounds().size;
    // The corner's right and bottom edges on the view's.
    if (auto corner = swipeHintCorner()) {
        const graphics::Size size = corner->frame().size;
        corner->setFrame(graphics::Rect(bounds.width - size.width, bounds.height - size.height, size.width, size.height));
    }
    // The hint's right edge on the view's, its centre at 1.5 times the view's.
    if (auto hint = swipeHintLabel()) {
        const graphics::Size size = hint->frame().size;
        hint->setFrame(graphics::Rect(bounds.width - size.width, 1.5 * (bounds.height / 2) - size.height / 2, size.width,
                                      size.height));
    }
}

void DetailsScreenSupport::keepScrollViewClearOfSwipeHints(uikit::UIScrollView& scrollView) {
    BaseViewController& controller = detailsViewController();
    if (!controller.isViewLoaded()) return;
    const double viewBottom = controller.view()->bounds().size.height;
    double covered = 0;
    for (const std::shared_ptr<uikit::UIView>& hint :
         {swipeHintLabel(), std::static_pointer_cast<uikit::UIView>(swipeHintCorner())}) {
        if (hint && !hint->isHidden()) covered = std::max(covered, viewBottom - hint->frame().origin.y);
    }
    uikit::UIEdgeInsets inset = scrollView.contentInset();
    if (inset.bottom == covered) return;
    inset.bottom = covered;
    scrollView.setContentInset(inset);
}

bool DetailsScreenSupport::point(const graphics::Point& point, const uikit::UIView& view) {
    return point.x < view.frame().size.width / 2;
}

bool DetailsScreenSupport::swipeShouldPerformSegueWithIdentifier(const std::string& identifier,
                                                                 const foundation::ObjectPtr& sender) {
    (void)identifier;
    auto recognizer = std::dynamic_pointer_cast<uikit::UISwipeGestureRecognizer>(sender);
    if (!recognizer) return true;
    if (!isSwipeEnabled_) return false;
    BaseViewController& controller = detailsViewController();
    // On the pad in portrait, a rightward swipe from the left half asks for the master list.
    if (Utils::isIPad() && recognizer->direction() == uikit::UISwipeGestureRecognizerDirectionRight &&
        uikit::UIInterfaceOrientationIsPortrait(controller.interfaceOrientation())) {
        const auto& view = controller.view();
        if (point(recognizer->locationInView(view.get()), *view)) {
            if (auto split = splitViewOf(controller)) split->displayLeftPopoverMenu();
            return false;
        }
    }
    if (!parentController_)
        foundation::raise(kMissingParentException, foundation::Format(kMissingParentReasonFormat, controller.className()));
    nextSwipePair_ = parentController_->getNextIdIndexPathPairAndMoveSelectionInDirection(
        recognizer->direction(), selectionPropertyId_, indexPathInParentController_);
    if (!nextSwipePair_) {
        setIsSwipeEnabled(false);
        return false;
    }
    return true;
}

void DetailsScreenSupport::swipePrepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    if (!std::dynamic_pointer_cast<uikit::UISwipeGestureRecognizer>(sender)) return;
    if (!nextSwipePair_)
        foundation::raise(kNoSwipePairException,
                          foundation::Format(kNoSwipePairReasonFormat, detailsViewController().className()));
    // The person has swiped once: the hint is not shown again, here or later.
    ApplicationSettingsStore::sharedApplicationSettingsStore().setShowSwipeHintLabel(false);
    if (auto hint = swipeHintLabel()) hint->setHidden(true);
    // The neighbour is the same page about the next object: the title its
    // opener gave this page (a session's "Structure") is the neighbour's too.
    if (auto title = detailsViewController().title(); title && segue.destinationViewController())
        segue.destinationViewController()->setTitle(title);
    auto* next = dynamic_cast<DetailsScreenSupport*>(segue.destinationViewController().get());
    if (!next) return;
    next->setEntityName(nextSwipePair_->entityName() ? nextSwipePair_->entityName() : entityName_);
    next->setSelectionPropertyId(nextSwipePair_->objectId());
    next->setIndexPathInParentController(nextSwipePair_->indexPath());
    next->setParentController(parentController_);
    next->setIsSwipeEnabled(true);
}

// --- The shown object and the store's saves ---

namespace {

// The first row of the entity that the predicate keeps, on the screen's
// store's main-queue context.
std::shared_ptr<coredata::ManagedObject> detailsFirstStoredRow(BaseViewController& screen, const std::string& entity,
                                                               std::shared_ptr<const coredata::Predicate> predicate) {
    auto entityClass = EntityClass::named(entity);
    auto stack = screen.coreDataStack();
    coredata::ContextPtr context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!entityClass || !context) return nullptr;
    auto& storage = StorageManager::sharedStorageManager();
    auto request = storage.fetchRequestForItemType(entityClass, std::move(predicate), context);
    if (!request) return nullptr;
    request->setFetchLimit(1);
    auto results = storage.executeFetchRequestAndWait(request, context);
    if (results.empty()) return nullptr;
    return results.front().objectAs<coredata::ManagedObject>();
}

}  // namespace

std::shared_ptr<coredata::ManagedObject> DetailsScreenSupport::currentObject() {
    if (!entityName_) return nullptr;
    return detailsFirstStoredRow(detailsViewController(), *entityName_,
                                 filterPredicateForObservedEntityType(*entityName_));
}

std::shared_ptr<const coredata::Predicate> DetailsScreenSupport::filterPredicateForObservedEntityType(
    const std::string& entityName) {
    auto entityClass = EntityClass::named(entityName);
    // A screen without an id shows no row, not one whose key is missing too.
    if (!entityClass || !entityClass->comparisonPropertyName || !selectionPropertyId_)
        return coredata::Predicate::falsePredicate();
    return coredata::Predicate::withFormatArguments(
        "%K = %@", {foundation::Value(*entityClass->comparisonPropertyName), foundation::Value(*selectionPropertyId_)});
}

bool DetailsScreenSupport::savedObjectsMatchShownObject(const foundation::Value& userInfo) {
    const auto observed = entitiesArrayToObserveForFilteringUIUpdates();
    if (observed.empty()) return false;
    struct ObservedClass {
        std::string entity;
        std::optional<std::string> key;
        std::shared_ptr<const coredata::Predicate> predicate;
    };
    std::vector<ObservedClass> classes;
    classes.reserve(observed.size());
    for (const auto& entity : observed) {
        auto entityClass = EntityClass::named(entity);
        classes.push_back({entity, entityClass ? entityClass->comparisonPropertyName : std::nullopt,
                           filterPredicateForObservedEntityType(entity)});
    }
    // Which observed classes an entity's objects belong to (and carry the
    // class's key: without it an object cannot be the shown one), worked
    // out once per entity: a save replacing a whole list holds thousands of
    // objects of one or two entities.
    std::vector<std::pair<const coredata::EntityDescription*, std::vector<const ObservedClass*>>> byEntity;
    auto classesOf = [&](const coredata::ManagedObject& object) -> size_t {
        const coredata::EntityDescription* entity = &object.entity();
        for (size_t i = 0; i < byEntity.size(); ++i)
            if (byEntity[i].first == entity) return i;
        std::vector<const ObservedClass*> matching;
        for (const auto& observedClass : classes)
            if (object.isKindOfEntity(observedClass.entity) &&
                (!observedClass.key || entity->attributeIndex(*observedClass.key)))
                matching.push_back(&observedClass);
        byEntity.emplace_back(entity, std::move(matching));
        return byEntity.size() - 1;
    };
    // Every saved object of an observed class is tested, whatever was tested
    // before it: a save touching several rows of one kind reloads the screen
    // as soon as one of them is the shown one.
    for (const char* set : kSavedSets) {
        const foundation::Value::Array* objects = userInfo[set].array();
        if (!objects) continue;
        for (const auto& value : *objects) {
            auto object = value.objectAs<coredata::ManagedObject>();
            if (!object) continue;
            for (const ObservedClass* observedClass : byEntity[classesOf(*object)].second)
                if (observedClass->predicate->evaluateWithObject(value)) return true;
        }
    }
    return false;
}

void DetailsScreenSupport::contextDidSave(const foundation::Notification& notification) {
    auto controller = std::static_pointer_cast<BaseViewController>(detailsViewController().shared_from_this());
    StoreSaveObserver::updateOnceOnMatchingSave(
        notification, observedSaveContext(), "the store's saves reach a details screen on the main thread only",
        [this](const foundation::Value& userInfo) { return savedObjectsMatchShownObject(userInfo); },
        [controller] {
            if (auto* details = dynamic_cast<DetailsScreenSupport*>(controller.get()))
                details->updateUiContentBecauseItsNeeded();
        });
}

void DetailsScreenSupport::updateUiContentBecauseItsNeeded() {
    foundation::requireMainThread("", kOffMainThreadUpdateException);
    // A deleted object leaves the screen as it is.
    if (auto object = currentObject()) updateUIContentForObject(object);
}

void DetailsScreenSupport::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    (void)object;
    foundation::raise(kNotImplementedException, kNotImplementedReason);
}

void DetailsScreenSupport::observeSavesOfCurrentStore() {
    std::weak_ptr<foundation::Object> weak = detailsViewController().shared_from_this();
    saveObserver_.observe(detailsViewController().coreDataStack(), [weak](const foundation::Notification& notification) {
        auto strong = weak.lock();
        if (auto* details = dynamic_cast<DetailsScreenSupport*>(strong.get())) details->contextDidSave(notification);
    });
}

// --- The app mode's object hand-over ---

uikit::ScreenDriver::HandOver DetailsScreenSupport::takeObject(uikit::UIViewController& controller,
                                                              const std::string& entity, const std::string& identifier) {
    using HandOver = uikit::ScreenDriver::HandOver;
    auto* details = dynamic_cast<DetailsScreenSupport*>(&controller);
    if (!details) return HandOver::TakesNoObject;
    details->setEntityName(entity);
    details->setSelectionPropertyId(identifier);
    if (details->currentObject()) return HandOver::Taken;
    // A row is listed by its itemId; an agenda entry is told apart by an id
    // of its own, which the row holds beside it.
    auto entityClass = EntityClass::named(entity);
    if (entityClass && entityClass->comparisonPropertyName && *entityClass->comparisonPropertyName != "itemId") {
        auto row = detailsFirstStoredRow(details->detailsViewController(), entity,
                                         coredata::Predicate::withFormatArguments("itemId = %@", {foundation::Value(identifier)}));
        const auto own = row ? row->valueForKey(*entityClass->comparisonPropertyName) : foundation::Value();
        if (own.isString()) details->setSelectionPropertyId(own.stringValue());
    }
    // A screen of nothing would look like an empty object.
    return details->currentObject() ? HandOver::Taken : HandOver::NoSuchObject;
}

void DetailsScreenSupport::registerObjectHandOver() { uikit::ScreenDriver::setObjectHandOver(&DetailsScreenSupport::takeObject); }
