// Names the object store shares with its callers: store metadata keys, the
// did-save notification and its user-info keys, and the error codes of store
// failures (reported in the platform's Cocoa error domain).
#pragma once

#include <cstdint>

namespace coredata {

// Store metadata (PersistentStoreCoordinator::metadataForPersistentStore).
inline constexpr const char* kStoreTypeKey = "NSStoreType";
inline constexpr const char* kSQLiteStoreType = "SQLite";
// Array of the version identifiers of the model that last wrote the store.
inline constexpr const char* kStoreModelVersionIdentifiersKey = "NSStoreModelVersionIdentifiers";
// Schema hash of that model (ManagedObjectModel::schemaHash).
inline constexpr const char* kStoreSchemaHashKey = "StoreSchemaHash";

// Posted by a context after each successful save, on the context's queue,
// with the context as object and arrays of its managed objects in user info.
inline constexpr const char* kManagedObjectContextDidSaveNotification = "NSManagedObjectContextDidSaveNotification";
inline constexpr const char* kInsertedObjectsKey = "inserted";
inline constexpr const char* kUpdatedObjectsKey = "updated";
inline constexpr const char* kDeletedObjectsKey = "deleted";

// Exception name of a malformed predicate format (a programming error).
inline constexpr const char* kPredicateFormatException = "NSInvalidArgumentException";

namespace StoreError {
// The file is not a database, or its pages are damaged.
inline constexpr int64_t CorruptFile = 259;
// A database that is not one of our stores.
inline constexpr int64_t InvalidStoreType = 134000;
// A save or a fetch could not be carried out by the store.
inline constexpr int64_t SaveFailed = 134030;
inline constexpr int64_t FetchFailed = 134040;
// The context chain ends in a coordinator without a store.
inline constexpr int64_t NoStore = 134060;
inline constexpr int64_t OpenFailed = 134080;
// The store's schema differs from the model and migration is off.
inline constexpr int64_t IncompatibleVersion = 134100;
// The model change cannot be applied automatically.
inline constexpr int64_t MigrationFailed = 134110;
}  // namespace StoreError

}  // namespace coredata
