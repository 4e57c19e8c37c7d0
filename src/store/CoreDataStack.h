// One local store: the SQLite file of one account (access token) and one
// meeting, with the entity model, its coordinator and three contexts chained
// worker → main queue → background writer → file. Writes run on the worker;
// every fetch of the application runs on the main-queue context; only the
// background context touches the file. A stack is configured once, by the
// store front, and never reconfigured.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "coredata/ManagedObjectContext.h"
#include "coredata/ManagedObjectModel.h"
#include "coredata/PersistentStoreCoordinator.h"
#include "foundation/Error.h"
#include "foundation/Object.h"
#include "foundation/Value.h"

class CoreDataStack : public foundation::Object {
public:
    using Text = std::optional<std::string>;
    // (error or none, model-version report or none).
    using ConfigureCompletion = std::function<void(foundation::ErrorPtr, foundation::Value)>;

    // The store file of an account and meeting: "<key>.sqlite" in the
    // database directory.
    static std::string databaseUrlForAuthToken(const Text& authToken, const Text& eventId);
    // The store file and its "-shm" and "-wal" companions, in that order: the
    // unit that is moved, restored and deleted together.
    static std::vector<std::string> databaseUrlsStringsToBeMovedForAuthToken(const Text& authToken,
                                                                             const Text& eventId);
    // "Database" in the application's folder, created when missing.
    static std::string applicationDatabaseDirectory();
    // The first model version recorded in that store file's metadata.
    static Text getModelVersionIdentifierForAuthenticationToken(const Text& authToken, const Text& eventId);

    // Builds model, coordinator, store and contexts, then calls `completion`
    // once, on this thread, before returning. Without a token nothing is built
    // and the completion gets an empty error. A store that cannot be added
    // leaves the contexts in place but storeless; its error goes to the
    // completion. The report ({"oldVersionIdentifier", "newVersionIdentifier"})
    // is given only when an older store was migrated.
    void configureCoreDataStackForAuthToken(const Text& authToken, const Text& eventId,
                                            const ConfigureCompletion& completion);
    // The store metadata of a file, read without opening it as a store.
    foundation::Value sourceMetadataForUrl(const std::string& path, foundation::ErrorPtr& error) const;

    const coredata::ContextPtr& managedObjectContextMainQueue() const { return mainQueueContext_; }
    const coredata::ModelPtr& managedObjectModel() const { return model_; }
    const coredata::CoordinatorPtr& persistentStoreCoordinator() const { return coordinator_; }
    const coredata::ContextPtr& managedObjectContextBackgroundQueue() const { return backgroundContext_; }
    const coredata::ContextPtr& managedObjectContextWorkerOnBackground() const { return workerContext_; }

    // Writes never wait for the background context's file save, so its
    // failure is kept here until the next write on this stack reports it.
    void recordFileSaveError(foundation::ErrorPtr error);
    foundation::ErrorPtr takeFileSaveError();

    std::string className() const override { return "CoreDataStack"; }

private:
    coredata::ContextPtr mainQueueContext_;
    coredata::ModelPtr model_;
    coredata::CoordinatorPtr coordinator_;
    coredata::ContextPtr backgroundContext_;
    coredata::ContextPtr workerContext_;

    std::mutex fileSaveErrorMutex_;
    foundation::ErrorPtr fileSaveError_;
};
