#include "app/DetailsStubScreen.h"

#include "app/StubPlaceholder.h"
#include "coredata/ManagedObject.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "model/EntityClass.h"
#include "uikit/UIViewController.h"

namespace {

// The object as "<entity> <id>": the id is the entity's comparison key.
std::string objectText(const coredata::ManagedObject& object) {
    const std::string entity = object.className();
    auto entityClass = EntityClass::named(entity);
    if (!entityClass || !entityClass->comparisonPropertyName) return entity;
    auto id = object.valueForKey(*entityClass->comparisonPropertyName);
    return entity + " " + (id.isNothing() ? std::string("nil") : id.stringValue());
}

std::string parentText(const std::shared_ptr<SwipeParentControllerProtocol>& parent) {
    if (!parent) return "nil";
    if (auto object = dynamic_cast<const foundation::Object*>(parent.get())) return object->className();
    return "SwipeParentControllerProtocol";
}

}  // namespace

void DetailsStubScreen::recordShownObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    recordCall("updateUIContentForObject: " + (object ? objectText(*object) : std::string("nil")));
}

std::vector<std::pair<std::string, std::string>> DetailsStubScreen::detailsStubDescriptionItems(
    const std::string& className, const DetailsScreenSupport& inputs) const {
    auto items = stubDescriptionItems(className);
    const auto& indexPath = inputs.indexPathInParentController();
    items.emplace_back("selectionPropertyId", StubPlaceholder::plainText(inputs.selectionPropertyId()));
    items.emplace_back("entityName", StubPlaceholder::plainText(inputs.entityName()));
    items.emplace_back("isSwipeEnabled", StubPlaceholder::flag(inputs.isSwipeEnabled()));
    items.emplace_back("parentController", parentText(inputs.parentController()));
    items.emplace_back("indexPathInParentController",
                       std::to_string(indexPath.section) + "," + std::to_string(indexPath.row));
    return items;
}

void DetailsStubScreen::paintWhite(uikit::UIViewController& screen) { StubPlaceholder::paintWhite(screen); }
