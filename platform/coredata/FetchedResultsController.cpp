// Sections and change reports. An object keeps its identity across fetches
// (the context hands back the same object for a row), so reports are found by
// primary key: gone → delete, new → insert; still there and changed → move
// when its section changed, or when its sort keys changed and its place among
// the objects whose sort keys did not change moved with them; update
// otherwise. Objects whose sort keys stayed keep their relative order, which
// is what makes them the anchors.
#include "coredata/FetchedResultsController.h"

#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "coredata/KeyValueCoding.h"
#include "foundation/Exception.h"

namespace coredata {

using foundation::Value;

namespace {

// The row an object or object ID stands for; 0 for anything else.
int64_t keyOf(const Value& v) {
    auto object = v.object();
    if (auto m = dynamic_cast<const ManagedObject*>(object.get())) return m->objectID()->primaryKey();
    if (auto id = dynamic_cast<const ManagedObjectID*>(object.get())) return id->primaryKey();
    return 0;
}

std::string sectionName(const Value& v) {
    if (v.isNothing()) return "";
    return v.stringValue();
}

struct Placement {
    std::map<int64_t, IndexPath> paths;
    std::map<int64_t, std::string> sectionOf;
};

Placement place(const std::vector<FetchedResultsSectionInfo>& sections) {
    Placement p;
    for (size_t s = 0; s < sections.size(); ++s)
        for (size_t r = 0; r < sections[s].objects.size(); ++r) {
            int64_t key = keyOf(sections[s].objects[r]);
            p.paths[key] = {s, r};
            p.sectionOf[key] = sections[s].name;
        }
    return p;
}

}  // namespace

FetchedResultsController::FetchedResultsController(FetchRequest request, ContextPtr context,
                                                   std::optional<std::string> sectionNameKeyPath, std::optional<std::string>)
    : request_(std::move(request)), context_(std::move(context)), sectionNameKeyPath_(std::move(sectionNameKeyPath)) {}

FetchedResultsController::~FetchedResultsController() {
    if (observer_ && context_) context_->removeChangeObserver(observer_);
}

std::vector<FetchedResultsSectionInfo> FetchedResultsController::group(const Value::Array& objects) const {
    std::vector<FetchedResultsSectionInfo> sections;
    if (!sectionNameKeyPath_) {
        sections.push_back({"", objects});
        return sections;
    }
    std::unordered_map<std::string, size_t> indexByName;
    for (const auto& o : objects) {
        std::string name = sectionName(valueForKeyPath(o, *sectionNameKeyPath_));
        auto [it, added] = indexByName.emplace(name, sections.size());
        if (added) sections.push_back({name, {}});
        sections[it->second].objects.push_back(o);
    }
    return sections;
}

std::unordered_map<int64_t, std::vector<Value>> FetchedResultsController::placementKeys(const Value::Array& objects) const {
    // Looked up by id only; a tree's ordered inserts cost a large list more
    // than its fetch grows.
    std::unordered_map<int64_t, std::vector<Value>> keys;
    keys.reserve(objects.size());
    for (const auto& o : objects) {
        auto& k = keys[keyOf(o)];
        for (const auto& d : request_.sortDescriptors()) k.push_back(valueForKeyPath(o, d.key()));
        if (sectionNameKeyPath_) k.push_back(valueForKeyPath(o, *sectionNameKeyPath_));
    }
    return keys;
}

foundation::ErrorPtr FetchedResultsController::performFetch() {
    foundation::ErrorPtr error;
    objects_ = context_->executeFetchRequest(request_, &error);
    sections_ = group(objects_);
    placement_ = placementKeys(objects_);
    if (!observer_) observer_ = context_->addChangeObserver([this](const ContextChanges& c) { contextDidChange(c); });
    return error;
}

Value FetchedResultsController::objectAtIndexPath(const IndexPath& indexPath) const {
    if (indexPath.section >= sections_.size() || indexPath.row >= sections_[indexPath.section].objects.size())
        foundation::raise(foundation::kRangeException, "No object at section " + std::to_string(indexPath.section) + ", row " +
                                                           std::to_string(indexPath.row));
    return sections_[indexPath.section].objects[indexPath.row];
}

std::optional<IndexPath> FetchedResultsController::indexPathForObject(const Value& object) const {
    int64_t key = keyOf(object);
    for (size_t s = 0; s < sections_.size(); ++s)
        for (size_t r = 0; r < sections_[s].objects.size(); ++r) {
            const Value& candidate = sections_[s].objects[r];
            if (key ? keyOf(candidate) == key : candidate == object) return IndexPath{s, r};
        }
    return std::nullopt;
}

bool FetchedResultsController::isOfFetchedEntity(const ManagedObject& object) const {
    const std::string& entity = request_.entityName();
    return object.entity().name() == entity || (request_.includesSubentities() && object.isKindOfEntity(entity));
}

bool FetchedResultsController::touchesFetchedEntity(const ContextChanges& changes) const {
    for (const auto* objects : {&changes.inserted, &changes.updated, &changes.deleted})
        for (const auto& object : *objects)
            if (object && isOfFetchedEntity(*object)) return true;
    return false;
}

bool FetchedResultsController::reportUpdatesInPlace(const ContextChanges& changes,
                                                    FetchedResultsControllerDelegate& delegate) {
    for (const auto* objects : {&changes.inserted, &changes.deleted})
        for (const auto& object : *objects)
            if (object && isOfFetchedEntity(*object)) return false;
    // A limit or an offset lets an update push another object in or out.
    if (request_.fetchLimit() || request_.fetchOffset()) return false;

    std::unordered_set<int64_t> shown;
    for (const auto& object : changes.updated) {
        if (!object || !isOfFetchedEntity(*object)) continue;
        const Value value(object);
        const bool matches = !request_.predicate() || request_.predicate()->evaluateWithObject(value);
        auto was = placement_.find(object->objectID()->primaryKey());
        if (was == placement_.end()) {
            if (matches) return false;  // it may join the results
            continue;
        }
        if (!matches) return false;
        const auto now = placementKeys(Value::Array{value});
        const auto& keys = now.begin()->second;
        if (keys.size() != was->second.size()) return false;
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i].type() != was->second[i].type() || keys[i] != was->second[i]) return false;
        shown.insert(was->first);
    }
    if (shown.empty()) return true;

    delegate.controllerWillChangeContent(*this);
    for (size_t s = 0; s < sections_.size(); ++s)
        for (size_t r = 0; r < sections_[s].objects.size(); ++r) {
            const Value& object = sections_[s].objects[r];
            if (!shown.count(keyOf(object))) continue;
            const IndexPath path{s, r};
            delegate.controller(*this, object, path, FetchedResultsChangeType::Update, path);
        }
    delegate.controllerDidChangeContent(*this);
    return true;
}

void FetchedResultsController::contextDidChange(const ContextChanges& changes) {
    auto delegate = delegate_.lock();
    if (!delegate || request_.resultType() == FetchRequestResultType::Dictionary) return;
    // Entities have no relationships, so only objects of the fetched entity
    // can change the results: anything else is not worth a fetch.
    if (!touchesFetchedEntity(changes)) return;
    // A rename in a long list costs the row, not a fetch of the list.
    if (reportUpdatesInPlace(changes, *delegate)) return;

    std::unordered_set<int64_t> updated;
    for (const auto& o : changes.updated) updated.insert(o->objectID()->primaryKey());

    Value::Array objects = context_->executeFetchRequest(request_);
    auto sections = group(objects);
    auto placement = placementKeys(objects);
    Placement before = place(sections_), after = place(sections);
    auto samePlace = [](const std::vector<Value>& a, const std::vector<Value>& b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i].type() != b[i].type() || a[i] != b[i]) return false;
        return true;
    };
    // Changed objects whose sort or section keys changed: they may have moved.
    std::unordered_set<int64_t> reordered;
    for (int64_t key : updated) {
        auto was = placement_.find(key), is = placement.find(key);
        if (was != placement_.end() && is != placement.end() && !samePlace(was->second, is->second)) reordered.insert(key);
    }

    struct ObjectReport {
        Value object;
        std::optional<IndexPath> from, to;
        FetchedResultsChangeType type;
    };
    std::vector<ObjectReport> deletes, inserts, moves, updates;
    for (const auto& [key, path] : before.paths)
        if (!after.paths.count(key)) deletes.push_back({sections_[path.section].objects[path.row], path, std::nullopt, FetchedResultsChangeType::Delete});
    for (const auto& [key, path] : after.paths)
        if (!before.paths.count(key)) inserts.push_back({sections[path.section].objects[path.row], std::nullopt, path, FetchedResultsChangeType::Insert});

    // Objects still shown: moved or updated. The unchanged ones keep their
    // relative order, so they anchor where the updated ones stand.
    for (const auto& section : sections) {
        auto anchors = [&](const Value::Array& list, const std::set<int64_t>& inSection) {
            std::map<int64_t, std::pair<int64_t, size_t>> slot;  // key → (previous anchor, index within the gap)
            int64_t anchor = 0;
            size_t gapIndex = 0;
            for (const auto& o : list) {
                int64_t key = keyOf(o);
                if (!inSection.count(key)) continue;
                if (!reordered.count(key)) {
                    anchor = key;
                    gapIndex = 0;
                } else {
                    slot[key] = {anchor, gapIndex++};
                }
            }
            return slot;
        };
        std::set<int64_t> common;
        for (const auto& o : section.objects) {
            int64_t key = keyOf(o);
            auto it = before.sectionOf.find(key);
            if (it != before.sectionOf.end() && it->second == section.name) common.insert(key);
        }
        const Value::Array* oldList = nullptr;
        for (const auto& s : sections_)
            if (s.name == section.name) oldList = &s.objects;
        auto oldSlots = oldList ? anchors(*oldList, common) : std::map<int64_t, std::pair<int64_t, size_t>>{};
        auto newSlots = anchors(section.objects, common);
        for (const auto& o : section.objects) {
            int64_t key = keyOf(o);
            if (!before.paths.count(key)) continue;
            IndexPath from = before.paths[key], to = after.paths[key];
            if (!common.count(key)) {
                moves.push_back({o, from, to, FetchedResultsChangeType::Move});
            } else if (updated.count(key)) {
                bool moved = reordered.count(key) && oldSlots[key] != newSlots[key];
                (moved ? moves : updates).push_back({o, from, to, moved ? FetchedResultsChangeType::Move : FetchedResultsChangeType::Update});
            }
        }
    }

    std::vector<std::pair<size_t, FetchedResultsChangeType>> sectionDeletes, sectionInserts;
    for (size_t i = 0; i < sections_.size(); ++i) {
        bool kept = false;
        for (const auto& s : sections) kept = kept || s.name == sections_[i].name;
        if (!kept) sectionDeletes.push_back({i, FetchedResultsChangeType::Delete});
    }
    for (size_t i = 0; i < sections.size(); ++i) {
        bool existed = false;
        for (const auto& s : sections_) existed = existed || s.name == sections[i].name;
        if (!existed) sectionInserts.push_back({i, FetchedResultsChangeType::Insert});
    }

    auto oldSections = std::move(sections_);
    objects_ = std::move(objects);
    sections_ = std::move(sections);
    placement_ = std::move(placement);
    if (deletes.empty() && inserts.empty() && moves.empty() && updates.empty() && sectionDeletes.empty() &&
        sectionInserts.empty())
        return;

    delegate->controllerWillChangeContent(*this);
    for (const auto& [index, type] : sectionDeletes) delegate->controller(*this, oldSections[index], index, type);
    for (const auto& [index, type] : sectionInserts) delegate->controller(*this, sections_[index], index, type);
    for (const auto* list : {&deletes, &inserts, &moves, &updates})
        for (const auto& r : *list) delegate->controller(*this, r.object, r.from, r.type, r.to);
    delegate->controllerDidChangeContent(*this);
}

}  // namespace coredata
