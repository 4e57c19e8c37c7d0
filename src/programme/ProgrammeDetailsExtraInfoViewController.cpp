#include "programme/ProgrammeDetailsExtraInfoViewController.h"

#include <cmath>

#include "Utils/Utils.h"
#include "app/EventsTabBarController.h"
#include "coredata/ManagedObject.h"
#include "lists/DetailsSwipeScene.h"
#include "lists/KeyValueTableView.h"
#include "model/QVACoreDataBaseSession.h"
#include "programme/ListSessionsBaseViewController.h"
#include "programme/ProgrammeListDelegate.h"
#include "programme/QVASessionHeaderView.h"
#include "programme/SessionPageLayout.h"
#include "store/CoreDataStack.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIStoryboard.h"

void ProgrammeDetailsExtraInfoViewController::addScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(storyboard, kStoryboardIdentifier,
                                [] { return std::make_shared<ProgrammeDetailsExtraInfoViewController>(); });
}

void ProgrammeDetailsExtraInfoViewController::loadView() {
    // From the storyboard: the scene's view with its swipe recognisers.
    DetailsWithListBaseViewController::loadView();
    auto root = isViewLoaded() ? view() : std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    root->setBackgroundColor(graphics::Color::white());
    auto table = std::make_shared<KeyValueTableView>(root->bounds());
    table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    // Shown once a session fills it.
    table->setHidden(true);
    root->addSubview(table);
    setView(root);
    setTableView(table);
    keyValueTableView_ = table;
}

void ProgrammeDetailsExtraInfoViewController::updateUIContentForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    auto session = std::dynamic_pointer_cast<QVACoreDataBaseSession>(object);
    auto table = keyValueTableView();
    if (!session || !table) return;
    SessionPageLayout::showSessionHeaderOnTable(*this, sessionHeaderView_, table, session);
    table->makeInitialAdjustments();
    setupKeyValueTableContentForObject(object);
}

void ProgrammeDetailsExtraInfoViewController::viewDidLayoutSubviews() {
    DetailsWithListBaseViewController::viewDidLayoutSubviews();
    auto table = keyValueTableView();
    // A hidden table holds no session's rows, so there is nothing to measure again.
    if (!table || table->isHidden()) return;
    if (static_cast<int64_t>(std::floor(view()->frame().size.width)) == table->availableWidth()) return;
    auto object = currentObject();
    if (!object) return;
    setupKeyValueTableContentForObject(object);
    // The cells on screen were made from the rows measured at the old width.
    table->reloadTable();
}

void ProgrammeDetailsExtraInfoViewController::setupKeyValueTableContentForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    auto table = keyValueTableView();
    if (!table) return;
    table->resetTable();
    table->setAvailableWidth(static_cast<int64_t>(std::floor(view()->frame().size.width)));
    if (auto session = std::dynamic_pointer_cast<QVACoreDataBaseSession>(object)) {
        table->setHidden(false);
        const auto type = session->type();
        addFilterRow("type", type, type.value_or(""), "SessionTypeFilterModel",
                     [type](ProgrammeDetailsExtraInfoViewController& page) {
                         if (auto tabBar = page.eventsTabBarController()) tabBar->displayAndFilterSessionsByType(type);
                     });
        const bool spouse = session->spouseAllowed();
        addFilterRow("open to spouse", stringFromBool(spouse), spouse ? "Open to spouse" : "Not open to spouse",
                     "SpouseAllowedFilterModel", [spouse](ProgrammeDetailsExtraInfoViewController& page) {
                         if (auto tabBar = page.eventsTabBarController())
                             tabBar->displayAndFilterSessionsBySpouseAllowed(spouse);
                     });
        const bool press = session->pressAllowed();
        addFilterRow("open to press", stringFromBool(press), press ? "Open to press" : "Not open to press",
                     "PressAllowedFilterModel", [press](ProgrammeDetailsExtraInfoViewController& page) {
                         if (auto tabBar = page.eventsTabBarController())
                             tabBar->displayAndFilterSessionsByPressAllowed(press);
                     });
        const bool meal = session->withMeal();
        addFilterRow("meal", stringFromBool(meal), meal ? "Meal included" : "Meal not included",
                     "WithMealFilterModel", [meal](ProgrammeDetailsExtraInfoViewController& page) {
                         if (auto tabBar = page.eventsTabBarController()) tabBar->displayAndFilterSessionsByHasMeal(meal);
                     });
        const int32_t fee = session->fee();
        const std::string cost =
            fee != 0 ? std::to_string(fee) + " " + session->currencyIsoCode().value_or("(null)") : std::string("None");
        table->addRowWithKey(std::string("cost"), cost, false, false, true, {});
        table->addRowWithKey(std::string("keyword"), session->keyword(), false, false, true, {});
        const int32_t capacity = session->capacity();
        table->addRowWithKey(std::string("capacity"), capacity == -1 ? std::string("N/A") : std::to_string(capacity),
                             false, false, true, {});
    } else {
        table->setHidden(true);
    }
    table->updateTableHeight();
}

void ProgrammeDetailsExtraInfoViewController::addFilterRow(
    const std::string& key, const Text& value, const std::string& phoneValue, const std::string& filterClassName,
    std::function<void(ProgrammeDetailsExtraInfoViewController& page)> onPad) {
    std::weak_ptr<ProgrammeDetailsExtraInfoViewController> weakPage =
        std::dynamic_pointer_cast<ProgrammeDetailsExtraInfoViewController>(shared_from_this());
    keyValueTableView()->addRowWithKey(
        key, value, true, false, true, [weakPage, phoneValue, filterClassName, onPad](uikit::UIControl&) {
            auto page = weakPage.lock();
            if (!page) return;
            if (Utils::isIPad())
                onPad(*page);
            else
                page->pushFilteredSessionList(phoneValue, filterClassName);
        });
}

void ProgrammeDetailsExtraInfoViewController::pushFilteredSessionList(const std::string& value,
                                                                      const std::string& filterClassName) {
    auto list = std::dynamic_pointer_cast<ListSessionsBaseViewController>(
        uikit::UIStoryboard::storyboardWithName(Utils::storyboardName())
            ->instantiateViewControllerWithIdentifier(ListSessionsBaseViewController::kStoryboardIdentifier));
    auto navigation = navigationController();
    if (!list || !navigation) return;
    auto delegate = std::make_shared<ProgrammeListDelegate>();
    list->setListDelegate(delegate);
    list->setIsPullToRefreshEnabled(false);
    list->setIsFilteredInitially(true);
    delegate->refreshAdditionalDataSourceForCoreDataStack(list->coreDataStack(), *list);
    list->setFiltersArray(delegate->getFiltersWithSelectedValue(value, filterClassName));
    navigation->pushViewController(list, true);
}
