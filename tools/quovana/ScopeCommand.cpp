// "scope PROPERTY TEXT [--entity ENTITY] [--contributors | --organizations]":
// a list's search scope over the current meeting's store: the predicate the
// typed text makes and the rows it matches. The entity and the property are
// checked before the store is touched.
#include <ostream>

#include "coredata/ManagedObjectModel.h"
#include "lists/OrganizationSearchScopeModel.h"
#include "lists/SearchScopeModel.h"
#include "lists/SessionContributorsSearchScopeModel.h"
#include "model/QVACoreDataOrganization.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataSession.h"
#include "quovana/Commands.h"
#include "quovana/OptionsGivenOnce.h"
#include "quovana/CurrentMeeting.h"
#include "quovana/ValueText.h"
#include "store/EntityModel.h"

namespace quovana {

namespace {

constexpr const char* kUsage = "usage: scope PROPERTY TEXT [--entity ENTITY] [--contributors | --organizations]";
constexpr size_t kRowsShown = 10;

bool hasAttribute(const coredata::EntityDescription& entity, const std::string& name) {
    for (const auto* candidate : entity.selfAndDescendants())
        if (candidate->attributeNamed(name)) return true;
    return false;
}

}  // namespace

int runScopeCommand(CommandContext& context, const Arguments& arguments) {
    std::vector<std::string> positional;
    std::optional<std::string> entityName;
    bool contributors = false;
    bool organizations = false;
    OptionsGivenOnce once;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--entity" || arguments[i] == "--contributors" || arguments[i] == "--organizations")
            if (std::string repeated = once.repeated(arguments[i]); !repeated.empty()) return context.usage(repeated);
        if (arguments[i] == "--entity") {
            if (i + 1 >= arguments.size()) return context.usage("--entity needs a value");
            entityName = arguments[++i];
        } else if (arguments[i] == "--contributors") {
            contributors = true;
        } else if (arguments[i] == "--organizations") {
            organizations = true;
        } else if (arguments[i].rfind("--", 0) == 0) {
            return context.usage("scope does not know the option \"" + arguments[i] + "\"; " + kUsage);
        } else {
            positional.push_back(arguments[i]);
        }
    }
    if (positional.size() != 2) return context.usage(kUsage);
    if (contributors && organizations) return context.usage("--contributors and --organizations exclude each other");
    const std::string& property = positional[0];
    const std::string& searchText = positional[1];
    // The contributors scope searches the participants' names and keeps sessions.
    if (contributors && property != "fullName")
        return context.usage("--contributors searches the participants' fullName; give fullName as PROPERTY");
    if (!entityName)
        entityName = contributors    ? QVACoreDataSession::kEntityName
                     : organizations ? QVACoreDataOrganization::kEntityName
                                     : QVACoreDataParticipant::kEntityName;

    auto model = EntityModel::mergedModel();
    const auto* entity = model->entityNamed(*entityName);
    if (!entity) {
        std::string names;
        for (const auto* known : model->entities()) names += (names.empty() ? "" : ", ") + known->name();
        return context.usage("unknown entity \"" + *entityName + "\"; the entities are: " + names);
    }
    const std::string& searched = contributors ? QVACoreDataParticipant::kEntityName : *entityName;
    const auto* searchedEntity = model->entityNamed(searched);
    if (!hasAttribute(*searchedEntity, property))
        return context.usage("the entity " + searched + " has no field \"" + property + "\"");

    auto meeting = openCurrentMeeting(context);
    if (!meeting) return kExitFailure;
    SearchScopeModelPtr scope;
    if (contributors)
        scope = std::make_shared<SessionContributorsSearchScopeModel>();
    else if (organizations)
        scope = OrganizationSearchScopeModel::initWithPropertyName(property, property);
    else
        scope = SearchScopeModel::initWithPropertyName(property, property);
    auto predicate = scope->filterPredicateWithCoreDataStack(meeting->stack, searchText);
    context.out() << "predicate: " << predicate->predicateFormat() << "\n";
    const size_t total = countRows(*meeting, *entityName, predicate);
    context.out() << total << " " << *entityName << " rows\n";
    std::vector<std::string> fields{"itemId"};
    const std::string shown = contributors ? "title" : property;
    if (hasAttribute(*entity, shown)) fields.push_back(shown);
    auto rows = fetchRows(*meeting, *entityName, predicate, fields, {coredata::SortDescriptor(fields.back())},
                          kRowsShown);
    for (const auto& row : rows) context.out() << "  " << jsonLine(row) << "\n";
    if (total > rows.size()) context.out() << "  ...\n";
    context.flushLog();
    return kExitSuccess;
}

}  // namespace quovana
