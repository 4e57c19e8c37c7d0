// Shared by the object-store tests: a temporary directory, a small model with
// the shapes the app's store uses (an inheritance tree, flags, counters,
// texts), and a three-level stack (root writer → main → worker) over a file.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "coredata/ManagedObjectContext.h"
#include "coredata/ManagedObjectModel.h"
#include "coredata/PersistentStoreCoordinator.h"
#include "foundation/RunLoop.h"
#include "support/TemporaryDirectory.h"

namespace coredata::testing {

class TempDir {
public:
    TempDir() {
        std::string pattern = (testTemporaryRoot() / "qva-coredata-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (std::filesystem::path(path_) / name).string(); }

private:
    std::string path_;
};

// Version "v1"; `withNewAttribute` adds Participant.photoUrl and an entity
// Partner, as the next version of the app would.
inline ModelPtr makeModel(const std::string& version = "v1", bool withNewAttribute = false) {
    using T = AttributeType;
    auto m = std::make_shared<ManagedObjectModel>(version);
    m->addEntity("TimelineItem", "", {{"title", T::String}, {"startDatetime", T::String}, {"endDatetime", T::String},
                                      {"startDateString", T::String}, {"displayTime", T::String}, {"keyword", T::String}});
    m->addEntity("BaseSession", "TimelineItem", {{"itemId", T::String}, {"roomId", T::String}, {"cancelled", T::Boolean},
                                                 {"capacity", T::Integer32}, {"spouseAllowed", T::Boolean},
                                                 {"minutes", T::Integer16}});
    m->addEntity("Session", "BaseSession", {});
    m->addEntity("AgendaRole", "BaseSession", {{"agendaItemId", T::String}, {"status", T::String}});
    m->addEntity("AgendaInvitation", "AgendaRole", {});
    m->addEntity("PersonalEntry", "AgendaRole", {});
    m->addEntity("Permission", "", {{"code", T::String}, {"granted", T::Boolean}});
    m->addEntity("SessionNote", "", {{"itemId", T::String}, {"sessionId", T::String}, {"note", T::String}});
    std::vector<AttributeDescription> participant{{"itemId", T::String},         {"fullName", T::String},
                                                  {"organizationId", T::String}, {"organizationType", T::String},
                                                  {"contributions", T::String},  {"country", T::String}};
    if (withNewAttribute) participant.push_back({"photoUrl", T::String});
    m->addEntity("Participant", "", participant);
    m->addEntity("Message", "", {{"itemId", T::String}, {"messageId", T::Integer32}, {"threadId", T::Integer32},
                                 {"isRead", T::Boolean}, {"score", T::Double}, {"sent", T::Date}, {"body", T::Binary},
                                 {"serial", T::Integer64}});
    if (withNewAttribute) m->addEntity("Partner", "", {{"itemId", T::String}});
    return m;
}

// Root writer (private queue, owns the file) → main-queue context → worker.
struct Stack {
    CoordinatorPtr coordinator;
    ContextPtr root, main, worker;
    foundation::ErrorPtr error;

    explicit Stack(const std::string& path, ModelPtr model = makeModel()) {
        coordinator = PersistentStoreCoordinator::create(std::move(model));
        error = coordinator->addPersistentStore(path);
        root = ManagedObjectContext::create(ConcurrencyType::PrivateQueue);
        root->setPersistentStoreCoordinator(coordinator);
        main = ManagedObjectContext::create(ConcurrencyType::MainQueue);
        main->setParentContext(root);
        worker = ManagedObjectContext::create(ConcurrencyType::PrivateQueue);
        worker->setParentContext(main);
    }
};

// Runs the main loop until `done` (tests never sleep).
inline bool pumpUntil(const std::function<bool()>& done) { return foundation::RunLoop::main().runUntil(done, 20.0); }

inline ManagedObjectPtr insert(ManagedObjectContext& context, const std::string& entity,
                               const foundation::Value::Dictionary& values) {
    auto object = context.insertNewObject(entity);
    for (const auto& [k, v] : values) object->setValue(v, k);
    return object;
}

}  // namespace coredata::testing
