// "dump ENTITY [--where PREDICATE] [--fields a,b,...]": rows of the current
// meeting's store as JSON lines, read through the store front's fetch rule
// (main-queue context, sub-entities included) as the screens read them. The
// entity, the fields and the predicate are checked before the store is
// touched, so a typo is a usage error with the names that would be right.
#include <ostream>
#include <sstream>

#include "coredata/FetchRequest.h"
#include "coredata/ManagedObjectModel.h"
#include "coredata/Predicate.h"
#include "foundation/Exception.h"
#include "quovana/Commands.h"
#include "quovana/OptionsGivenOnce.h"
#include "quovana/CurrentMeeting.h"
#include "quovana/FloorPlansRecord.h"
#include "quovana/ValueText.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"
#include "store/EntityModel.h"
#include "store/StorageManager.h"

namespace quovana {

namespace {

std::vector<std::string> splitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::stringstream stream(text);
    std::string field;
    while (std::getline(stream, field, ','))
        if (!field.empty()) fields.push_back(field);
    return fields;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The first names of the key paths the predicate reads, in order.
void collectKeys(const coredata::ExpressionPtr& expression, std::vector<std::string>& keys) {
    if (!expression) return;
    if (expression->kind() == coredata::Expression::Kind::KeyPath) {
        const auto& path = expression->keyPath();
        if (!path.empty() && path[0] != '@') keys.push_back(path.substr(0, path.find('.')));
    }
    for (const auto& item : expression->items()) collectKeys(item, keys);
}

void collectKeys(const coredata::PredicatePtr& predicate, std::vector<std::string>& keys) {
    if (!predicate) return;
    collectKeys(predicate->leftExpression(), keys);
    collectKeys(predicate->rightExpression(), keys);
    for (const auto& sub : predicate->subpredicates()) collectKeys(sub, keys);
}

// A field of the entity or of one of its sub-entities, whose rows it also lists.
bool hasField(const coredata::EntityDescription& entity, const std::string& name) {
    for (const auto* candidate : entity.selfAndDescendants())
        if (candidate->attributeNamed(name)) return true;
    return false;
}

}  // namespace

int runDumpCommand(CommandContext& context, const Arguments& arguments) {
    if (arguments.empty()) return context.usage("usage: dump ENTITY [--where PREDICATE] [--fields a,b,...]");
    const std::string entityName = arguments[0];
    std::optional<std::string> where;
    std::vector<std::string> fields;
    OptionsGivenOnce once;
    for (size_t i = 1; i < arguments.size(); i += 2) {
        if (std::string repeated = once.repeated(arguments[i]); !repeated.empty()) return context.usage(repeated);
        if (i + 1 >= arguments.size()) return context.usage(arguments[i] + " needs a value");
        if (arguments[i] == "--where")
            where = arguments[i + 1];
        else if (arguments[i] == "--fields")
            fields = splitFields(arguments[i + 1]);
        else
            return context.usage("dump does not know the option \"" + arguments[i] + "\"");
    }

    auto model = EntityModel::mergedModel();
    const auto* entity = model->entityNamed(entityName);
    auto entityClass = EntityClass::named(entityName);
    if (!entity || !entityClass) {
        std::vector<std::string> names;
        for (const auto* known : model->entities()) names.push_back(known->name());
        return context.usage("unknown entity \"" + entityName + "\"; the entities are: " + joined(names));
    }
    for (const auto& field : fields)
        if (!entity->attributeNamed(field))
            return context.usage("the entity " + entityName + " has no field \"" + field +
                                 "\"; its fields are: " + joined(entity->attributeNames()));
    coredata::PredicatePtr predicate;
    if (where) {
        try {
            predicate = coredata::Predicate::withFormat(*where);
        } catch (const foundation::Exception& exception) {
            return context.usage("malformed predicate \"" + *where + "\": " + exception.reason());
        }
        // A misspelt field would match nothing and read as "no rows".
        std::vector<std::string> keys;
        collectKeys(predicate, keys);
        for (const auto& key : keys)
            if (!hasField(*entity, key))
                return context.usage("the predicate \"" + *where + "\" names \"" + key +
                                     "\", which is not a field of " + entityName +
                                     "; its fields are: " + joined(entity->attributeNames()));
    }

    auto meeting = openCurrentMeeting(context);
    if (!meeting) return kExitFailure;
    const auto validity = recordedStoreValidity(meeting->account, meeting->event);
    if (validity == false)
        context.err() << "quovana: the store of this meeting is marked incomplete (its last load had failures); "
                         "the rows may be partial. Run \"quovana load\" to download it again.\n";
    else if (!validity)
        context.err() << "quovana: the store of this meeting was never recorded complete (a load or a content "
                         "reload did not end); the rows may be partial. Run \"quovana load\" to download it again.\n";
    if (auto missing = recordedMissingFloorPlans(meeting->account, meeting->event))
        context.err() << "quovana: the last load of this meeting did not get all its floor plans (" << *missing
                      << "). Run \"quovana load\" to download them again.\n";
    auto& store = StorageManager::sharedStorageManager();
    const auto& mainContext = meeting->stack->managedObjectContextMainQueue();
    auto request = store.fetchRequestForItemType(entityClass, predicate, mainContext);
    if (!request) return context.fail("the store cannot fetch " + entityName);
    request->setResultType(coredata::FetchRequestResultType::Dictionary);
    request->setPropertiesToFetch(fields);
    const auto rows = store.executeFetchRequestAndWait(request, mainContext);
    for (const auto& row : rows) context.out() << jsonLine(row) << "\n";
    context.flushLog();
    context.err() << rows.size() << " " << entityName << " rows\n";
    return kExitSuccess;
}

}  // namespace quovana
