// Sections and change reports. An object keeps its identity across fetches
// (the context hands back the same object for a row), so reports are found by
// primary key: gone → delete, new → insert; still there and changed → move
// when its section changed, or when its sort keys changed and its place among
// the objects whose sort keys did not change moved with them; update
// otherwise. Objects whose sort keys stayed keep their relative order, which
// is what makes them the anchors.
#include "coredata/FetchedResultsController.h"

#include <algorithm>
#include <cstdint>
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

namespace {

// Whether valueForKeyPath reads the path as one plain key of the object.
bool isPlainObjectKey(const std::string& keyPath) {
    return keyPath.find('.') == std::string::npos && keyPath != "SELF" && keyPath != "description";
}

// A key of a fetched object as valueForKeyPath reads it, straight from the
// object when the path is one plain key: a long list reads a few keys of
// every object, and the general path's detours were much of its cost.
Value fetchedObjectValue(const Value& object, const KeyValueCoding* kvc, const std::string& keyPath) {
    if (kvc && isPlainObjectKey(keyPath)) return kvc->valueForKey(keyPath);
    return valueForKeyPath(object, keyPath);
}

}  // namespace

const Value* FetchedResultsController::PlacementKeys::find(int64_t primaryKey) const {
    auto it = std::lower_bound(offsets.begin(), offsets.end(), std::pair<int64_t, size_t>(primaryKey, 0));
    if (it == offsets.end() || it->first != primaryKey) return nullptr;
    return values.data() + it->second;
}

std::vector<FetchedResultsSectionInfo> FetchedResultsController::group(const Value::Array& objects,
                                                                       const PlacementKeys& placement) const {
    std::vector<FetchedResultsSectionInfo> sections;
    if (!sectionNameKeyPath_) {
        sections.push_back({"", objects});
        return sections;
    }
    // The section key is each object's last placement value; sorted lists
    // bring a section's objects one after another, so the last section is
    // tried before the names seen.
    std::unordered_map<std::string, size_t> indexByName;
    size_t last = SIZE_MAX;
    for (size_t i = 0; i < objects.size(); ++i) {
        const Value& key = placement.values[(i + 1) * placement.width - 1];
        const std::string* text = key.string();
        if (last != SIZE_MAX && (text ? *text == sections[last].name : key.isNothing() && sections[last].name.empty())) {
            sections[last].objects.push_back(objects[i]);
            continue;
        }
        std::string name = sectionName(key);
        auto [it, added] = indexByName.emplace(name, sections.size());
        if (added) sections.push_back({std::move(name), {}});
        last = it->second;
        sections[last].objects.push_back(objects[i]);
    }
    return sections;
}

FetchedResultsController::PlacementKeys FetchedResultsController::placementKeys(const Value::Array& objects) const {
    // Looked up by id only: one block of values and a sorted index cost a
    // long list far less than a node per object.
    PlacementKeys keys;
    keys.width = request_.sortDescriptors().size() + (sectionNameKeyPath_ ? 1 : 0);
    keys.values.reserve(objects.size() * keys.width);
    keys.offsets.reserve(objects.size());
    for (const auto& o : objects) {
        // One look at the object for its id and all its keys.
        const auto target = o.object();
        const auto* managed = dynamic_cast<const ManagedObject*>(target.get());
        keys.offsets.emplace_back(managed ? managed->objectID()->primaryKey() : keyOf(o), keys.values.size());
        const KeyValueCoding* kvc = managed ? managed : dynamic_cast<const KeyValueCoding*>(target.get());
        for (const auto& d : request_.sortDescriptors()) keys.values.push_back(fetchedObjectValue(o, kvc, d.key()));
        if (sectionNameKeyPath_) keys.values.push_back(fetchedObjectValue(o, kvc, *sectionNameKeyPath_));
    }
    std::sort(keys.offsets.begin(), keys.offsets.end());
    return keys;
}

foundation::ErrorPtr FetchedResultsController::performFetch() {
    foundation::ErrorPtr error;
    objects_ = context_->executeFetchRequest(request_, &error);
    placement_ = placementKeys(objects_);
    sections_ = group(objects_, placement_);
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
        const int64_t primaryKey = object->objectID()->primaryKey();
        const Value* was = placement_.find(primaryKey);
        if (!was) {
            if (matches) return false;  // it may join the results
            continue;
        }
        if (!matches) return false;
        const auto now = placementKeys(Value::Array{value});
        for (size_t i = 0; i < now.width; ++i)
            if (now.values[i].type() != was[i].type() || now.values[i] != was[i]) return false;
        shown.insert(primaryKey);
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
    auto placement = placementKeys(objects);
    auto sections = group(objects, placement);
    Placement before = place(sections_), after = place(sections);
    auto samePlace = [width = placement.width](const Value* a, const Value* b) {
        for (size_t i = 0; i < width; ++i)
            if (a[i].type() != b[i].type() || a[i] != b[i]) return false;
        return true;
    };
    // Changed objects whose sort or section keys changed: they may have moved.
    std::unordered_set<int64_t> reordered;
    for (int64_t key : updated) {
        const Value *was = placement_.find(key), *is = placement.find(key);
        if (was && is && !samePlace(was, is)) reordered.insert(key);
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
