// One navigation row of a details screen: the further page it opens about
// the same object, how the row reads and whether it can be tapped. The
// storyboard identifier also identifies the row among its siblings.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "lists/ListDelegateClass.h"
#include "lists/ViewControllerClass.h"

class DetailsNavigationDataModel : public foundation::Object {
public:
    using Text = std::optional<std::string>;

    // The object the page shows, handed on as the page's own.
    Text selectionPropertyId;
    Text entityName;
    Text iconName;
    Text cellTitle;
    Text viewControllerTitle;
    Text analyticsPayload;
    std::vector<foundation::ObjectPtr> extraInfo;
    Text storyboardIdentifier;
    // Empty when the row names no class.
    ViewControllerClass controllerClassType;
    ListDelegateClass controllerListDelegateClassType;
    bool isNavigationEnabled = false;

    std::string className() const override { return "DetailsNavigationDataModel"; }
};

using DetailsNavigationDataModelPtr = std::shared_ptr<DetailsNavigationDataModel>;
