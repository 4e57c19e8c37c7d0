// Building a store stack over its file, and the file paths of a store.
#include "store/CoreDataStack.h"

#include <utility>

#include "Utils/Utils.h"
#include "coredata/Constants.h"
#include "foundation/FileManager.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "model/EntityClass.h"
#include "store/EntityModel.h"
#include "store/StorageManager.h"

using foundation::ErrorPtr;
using foundation::Value;

namespace {

const Value& firstVersionIdentifier(const Value& metadata) {
    return metadata[coredata::kStoreModelVersionIdentifiersKey].at(0);
}

}  // namespace

std::string CoreDataStack::applicationDatabaseDirectory() {
    const std::string path = Utils::getCurrentDirectory() + "/Database";
    auto& files = foundation::FileManager::defaultManager();
    // A failure shows later, when the store cannot be added.
    if (!files.fileExistsAtPath(path)) files.createDirectoryAtPath(path, true);
    return path;
}

std::string CoreDataStack::databaseUrlForAuthToken(const Text& authToken, const Text& eventId) {
    const std::string key = StorageManager::sharedStorageManager().getDatabaseKeyForAuthToken(authToken, eventId);
    return applicationDatabaseDirectory() + "/" + foundation::Format("%@.sqlite", key);
}

std::vector<std::string> CoreDataStack::databaseUrlsStringsToBeMovedForAuthToken(const Text& authToken,
                                                                                 const Text& eventId) {
    const std::string store = databaseUrlForAuthToken(authToken, eventId);
    return {store, store + "-shm", store + "-wal"};
}

CoreDataStack::Text CoreDataStack::getModelVersionIdentifierForAuthenticationToken(const Text& authToken,
                                                                                   const Text& eventId) {
    ErrorPtr error;
    Value metadata = coredata::PersistentStoreCoordinator::metadataForPersistentStore(
        databaseUrlForAuthToken(authToken, eventId), error);
    if (const std::string* version = firstVersionIdentifier(metadata).string()) return *version;
    return std::nullopt;
}

Value CoreDataStack::sourceMetadataForUrl(const std::string& path, ErrorPtr& error) const {
    return coredata::PersistentStoreCoordinator::metadataForPersistentStore(path, error);
}

void CoreDataStack::configureCoreDataStackForAuthToken(const Text& authToken, const Text& eventId,
                                                       const ConfigureCompletion& completion) {
    if (!authToken) {
        foundation::Log("No auth token provided to configure core data stack!");
        if (completion) completion(foundation::Error::make("", 0), Value());
        return;
    }
    registerEntityClasses();
    model_ = EntityModel::stackModel();
    coordinator_ = coredata::PersistentStoreCoordinator::create(model_);

    const std::string path = databaseUrlForAuthToken(authToken, eventId);
    coredata::StoreOptions options;
    options.migratePersistentStoresAutomatically = true;

    // A store the model cannot read as it is will be migrated when added:
    // remember what it was written by, for the report.
    ErrorPtr metadataError;
    Value metadata = sourceMetadataForUrl(path, metadataError);
    bool versionChanged = false;
    Value oldVersion;
    if (metadata.isDictionary() && !model_->isConfigurationCompatibleWithStoreMetadata(metadata)) {
        oldVersion = firstVersionIdentifier(metadata);
        versionChanged = true;
    }

    ErrorPtr addError = coordinator_->addPersistentStore(path, options);
    if (addError) {
        foundation::Log("%s(%p) %@", "CoreDataStack::configureCoreDataStackForAuthToken",
                        static_cast<const void*>(this),
                        foundation::Format("Error adding persistent store to coordinator %@\n%@",
                                           addError->localizedDescription(), Value(addError->userInfo())));
    }

    backgroundContext_ = coredata::ManagedObjectContext::create(coredata::ConcurrencyType::PrivateQueue);
    backgroundContext_->setPersistentStoreCoordinator(coordinator_);
    mainQueueContext_ = coredata::ManagedObjectContext::create(coredata::ConcurrencyType::MainQueue);
    mainQueueContext_->setParentContext(backgroundContext_);
    workerContext_ = coredata::ManagedObjectContext::create(coredata::ConcurrencyType::PrivateQueue);
    workerContext_->setParentContext(mainQueueContext_);

    if (!completion) return;
    if (!versionChanged) {
        completion(addError, Value());
        return;
    }
    ErrorPtr ignored;
    Value migrated = sourceMetadataForUrl(path, ignored);
    completion(addError, Value::dictionary({{"oldVersionIdentifier", oldVersion},
                                            {"newVersionIdentifier", firstVersionIdentifier(migrated)}}));
}

void CoreDataStack::recordFileSaveError(ErrorPtr error) {
    std::lock_guard lock(fileSaveErrorMutex_);
    fileSaveError_ = std::move(error);
}

ErrorPtr CoreDataStack::takeFileSaveError() {
    std::lock_guard lock(fileSaveErrorMutex_);
    return std::exchange(fileSaveError_, nullptr);
}
