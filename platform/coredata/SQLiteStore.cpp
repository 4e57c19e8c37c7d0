// SQLite storage of rows. Invariants kept here: stored values always have
// their attribute's type (scalars are never NULL); a save is one transaction;
// every SQLite failure becomes an Error value, never a crash or an exception.
#include "coredata/SQLiteStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string_view>
#include <unordered_map>

#include "coredata/Constants.h"
#include "coredata/SQLPredicate.h"
#include "coredata/StringMatching.h"
#include "dispatch/Queue.h"

namespace coredata::detail {

using foundation::Error;
using foundation::ErrorPtr;
using foundation::Value;

namespace {

std::function<void(size_t)>& rowWrittenHook() {
    static std::function<void(size_t)> hook;
    return hook;
}

std::string quote(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string columnName(const std::string& attribute) { return quote("Z" + attribute); }
std::string tableName(const EntityDescription& root) { return quote("Z" + root.name()); }

ErrorPtr storeError(int64_t code, const std::string& message, const std::string& path, int sqliteCode = 0) {
    Value::Dictionary info{{foundation::kLocalizedDescriptionKey, Value(message)}, {"NSFilePath", Value(path)}};
    if (sqliteCode) info["NSSQLiteErrorDomain"] = Value(sqliteCode);
    return Error::make(foundation::kCocoaErrorDomain, code, std::move(info));
}

bool isCorruption(int rc) { return rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT; }

// `keep`: SQLite copies texts and blobs (SQLITE_TRANSIENT); without it they
// must outlive the statement's step (SQLITE_STATIC).
void bindValue(sqlite3_stmt* stmt, int index, const Value& v, bool keep = true) {
    const auto lifetime = keep ? SQLITE_TRANSIENT : SQLITE_STATIC;
    switch (v.type()) {
        case Value::Type::Boolean: sqlite3_bind_int64(stmt, index, v.boolValue() ? 1 : 0); break;
        case Value::Type::Integer: sqlite3_bind_int64(stmt, index, v.integerValue()); break;
        case Value::Type::Real: sqlite3_bind_double(stmt, index, v.doubleValue()); break;
        case Value::Type::Date: sqlite3_bind_double(stmt, index, v.date()->timeIntervalSinceReferenceDate()); break;
        case Value::Type::String:
            sqlite3_bind_text(stmt, index, v.string()->data(), int(v.string()->size()), lifetime);
            break;
        case Value::Type::Data:
            sqlite3_bind_blob(stmt, index, v.data()->bytes(), int(v.data()->length()), lifetime);
            break;
        default: sqlite3_bind_null(stmt, index); break;
    }
}

Value readColumn(sqlite3_stmt* stmt, int index, const AttributeDescription& attribute) {
    switch (sqlite3_column_type(stmt, index)) {
        case SQLITE_NULL: return attribute.defaultValue();
        case SQLITE_INTEGER: return attribute.coerce(Value(int64_t(sqlite3_column_int64(stmt, index))));
        case SQLITE_FLOAT: return attribute.coerce(Value(sqlite3_column_double(stmt, index)));
        case SQLITE_TEXT: {
            std::string s(reinterpret_cast<const char*>(sqlite3_column_text(stmt, index)), size_t(sqlite3_column_bytes(stmt, index)));
            if (attribute.type == AttributeType::String) return Value(std::move(s));
            return attribute.coerce(Value(std::move(s)));
        }
        default: {
            const void* bytes = sqlite3_column_blob(stmt, index);
            foundation::Data data(bytes, size_t(sqlite3_column_bytes(stmt, index)));
            return attribute.coerce(Value(std::move(data)));
        }
    }
}

// qva_text_op(operator, options, left, right): the string operators of
// predicates, with the same code the in-memory evaluation runs.
void textOperator(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[2]) != SQLITE_TEXT || sqlite3_value_type(argv[3]) != SQLITE_TEXT) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    auto op = PredicateOperator(sqlite3_value_int(argv[0]));
    unsigned options = unsigned(sqlite3_value_int(argv[1]));
    std::string_view l(reinterpret_cast<const char*>(sqlite3_value_text(argv[2])), size_t(sqlite3_value_bytes(argv[2])));
    std::string_view r(reinterpret_cast<const char*>(sqlite3_value_text(argv[3])), size_t(sqlite3_value_bytes(argv[3])));
    bool result = false;
    switch (op) {
        case PredicateOperator::Contains: result = text::contains(l, r, options); break;
        case PredicateOperator::BeginsWith: result = text::beginsWith(l, r, options); break;
        case PredicateOperator::EndsWith: result = text::endsWith(l, r, options); break;
        case PredicateOperator::Like: result = text::like(l, r, options); break;
        case PredicateOperator::Matches: {
            using Holder = std::shared_ptr<const text::CompiledRegex>;
            Holder regex;
            if (auto cached = static_cast<Holder*>(sqlite3_get_auxdata(ctx, 3))) {
                regex = *cached;
            } else {
                regex = text::compileRegex(r, options);
                if (regex) sqlite3_set_auxdata(ctx, 3, new Holder(regex), [](void* p) { delete static_cast<Holder*>(p); });
            }
            result = regex && text::regexMatches(*regex, l);
            break;
        }
        default: {
            auto c = text::fold(l, options).compare(text::fold(r, options));
            switch (op) {
                case PredicateOperator::EqualTo: result = c == 0; break;
                case PredicateOperator::LessThan: result = c < 0; break;
                case PredicateOperator::LessThanOrEqualTo: result = c <= 0; break;
                case PredicateOperator::GreaterThan: result = c > 0; break;
                case PredicateOperator::GreaterThanOrEqualTo: result = c >= 0; break;
                default: break;
            }
        }
    }
    sqlite3_result_int(ctx, result ? 1 : 0);
}

struct Table {
    const EntityDescription* root = nullptr;
    std::string name;
    std::vector<AttributeDescription> columns;  // every attribute of the tree, first declaration wins
    size_t entityCount = 0;                     // entities of the tree known to the store
};

struct EntityInfo {
    int ent = 0;
    Table* table = nullptr;
    std::vector<int> columnOfAttribute;  // entity attribute index → column index
};

// Whether the statement's current row reads as the values already held for
// it, compared in place: a text is not copied out to be compared.
bool rowReadsAsHeld(sqlite3_stmt* stmt, const EntityInfo& info, const EntityDescription& entity, const RowValues& held) {
    const auto& attributes = entity.attributes();
    if (held.size() != attributes.size()) return false;
    for (size_t i = 0; i < attributes.size(); ++i) {
        const Value& was = held[i];
        const int column = info.columnOfAttribute[i];
        if (column < 0) {
            const Value now = attributes[i].defaultValue();
            if (now.type() != was.type() || now != was) return false;
            continue;
        }
        const int index = column + 2;
        if (attributes[i].type == AttributeType::String && sqlite3_column_type(stmt, index) == SQLITE_TEXT) {
            const std::string* text = was.string();
            if (!text) return false;
            const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
            if (std::string_view(bytes, size_t(sqlite3_column_bytes(stmt, index))) != *text) return false;
            continue;
        }
        if (attributes[i].type == AttributeType::Binary && sqlite3_column_type(stmt, index) == SQLITE_BLOB) {
            // Nor is a blob: reading it would allocate and copy it.
            const foundation::Data* data = was.data();
            if (!data) return false;
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, index));
            const size_t length = size_t(sqlite3_column_bytes(stmt, index));
            if (length != data->length()) return false;
            if (length && std::memcmp(bytes, data->bytes(), length) != 0) return false;
            continue;
        }
        const Value now = readColumn(stmt, index, attributes[i]);
        if (now.type() != was.type() || now != was) return false;
    }
    return true;
}

std::vector<AttributeDescription> treeColumns(const EntityDescription& root) {
    std::vector<AttributeDescription> out;
    std::set<std::string> seen;
    for (auto e : root.selfAndDescendants())
        for (const auto& a : e->attributes())
            if (seen.insert(a.name).second) out.push_back(a);
    return out;
}

std::string columnDefinition(const AttributeDescription& a) {
    return columnName(a.name) + (a.isScalar() ? " DEFAULT 0" : "");
}

// Copies the write-ahead log back into the database file on a queue and a
// connection of its own. Left to the saving connection, that copy would run
// inside the commit of a large save, and every fetch queued behind the save
// would wait for it too. Passive: it never blocks readers or the writer, and
// what it cannot copy yet goes with the next one.
class Checkpointer : public std::enable_shared_from_this<Checkpointer> {
public:
    // The WAL size in pages from which a save asks for a copy (SQLite's own
    // automatic threshold).
    static constexpr int kPages = 1000;

    explicit Checkpointer(const std::string& path) : queue_(dispatch::Queue::createSerial("com.quovana.coredata.checkpoint")) {
        int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK && db_) {
            sqlite3_close_v2(db_);
            db_ = nullptr;
        }
        if (db_) {
            int on = 1;
            sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &on);
            // A connection learns that the file is in WAL mode on its first
            // read; until then a checkpoint on it does nothing.
            if (sqlite3_exec(db_, "PRAGMA schema_version", nullptr, nullptr, nullptr) != SQLITE_OK) {
                sqlite3_close_v2(db_);
                db_ = nullptr;
            }
        }
    }
    ~Checkpointer() {
        if (db_) sqlite3_close_v2(db_);
    }
    bool isOpen() const { return db_ != nullptr; }

    // One copy at a time is queued; requests meanwhile are folded into it.
    void request() {
        if (queued_.exchange(true)) return;
        queue_->async([self = shared_from_this()] {
            self->queued_ = false;
            if (self->db_) sqlite3_wal_checkpoint_v2(self->db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        });
    }
    // Waits for a queued copy and closes the connection, before the store's
    // own connection closes (the files may be moved right after).
    void close() {
        queue_->sync([this] {
            if (db_) sqlite3_close_v2(db_);
            db_ = nullptr;
        });
    }

private:
    sqlite3* db_ = nullptr;  // used on queue_ only
    std::atomic<bool> queued_{false};
    dispatch::QueuePtr queue_;
};

int walCommitted(void* checkpointer, sqlite3*, const char*, int pages) {
    if (pages >= Checkpointer::kPages) static_cast<Checkpointer*>(checkpointer)->request();
    return SQLITE_OK;
}

// One SQLite connection and its cache of prepared statements. Used by one
// thread at a time.
struct SQLiteConnection {
    sqlite3* db = nullptr;
    std::string path;
    std::unordered_map<std::string, sqlite3_stmt*> statements;

    SQLiteConnection() = default;
    SQLiteConnection(const SQLiteConnection&) = delete;
    SQLiteConnection& operator=(const SQLiteConnection&) = delete;
    ~SQLiteConnection() { close(); }

    void close() {
        for (auto& [sql, stmt] : statements) sqlite3_finalize(stmt);
        statements.clear();
        if (db) sqlite3_close_v2(db);
        db = nullptr;
    }

    std::string message() const { return db ? sqlite3_errmsg(db) : "out of memory"; }

    ErrorPtr failure(int rc, int64_t code, const std::string& what) const {
        return storeError(isCorruption(rc) ? StoreError::CorruptFile : code, what + ": " + message(), path, rc);
    }

    int exec(const std::string& sql) { return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr); }

    // A cached prepared statement, reset and unbound.
    sqlite3_stmt* statement(const std::string& sql, int& rc) {
        auto it = statements.find(sql);
        if (it != statements.end()) {
            sqlite3_reset(it->second);
            sqlite3_clear_bindings(it->second);
            rc = SQLITE_OK;
            return it->second;
        }
        if (statements.size() >= 256) {
            // Fetches with IN lists of many lengths would otherwise grow the cache forever.
            for (auto& [text, old] : statements) sqlite3_finalize(old);
            statements.clear();
        }
        sqlite3_stmt* stmt = nullptr;
        rc = sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &stmt, nullptr);
        if (rc != SQLITE_OK) return nullptr;
        statements[sql] = stmt;
        return stmt;
    }
};

}  // namespace

// The writing connection, the schema as this file holds it (fixed once
// open), and the connections that serve reads beside the writer.
struct SQLiteStore::Impl : SQLiteConnection {
    std::shared_ptr<Checkpointer> checkpointer;
    ModelPtr model;
    std::map<const EntityDescription*, Table> tables;  // by root entity
    std::unordered_map<const EntityDescription*, EntityInfo> entities;
    std::unordered_map<int, const EntityDescription*> entityByEnt;

    // The insert and update statements of each entity, kept apart from the
    // general cache (which is emptied when full) so a save finds them by
    // entity rather than by hashing their long texts.
    std::unordered_map<const EntityDescription*, sqlite3_stmt*> insertStatements, updateStatements;

    // Read connections not in use; a reader is opened when none is free.
    std::mutex readersMutex;
    std::vector<std::unique_ptr<SQLiteConnection>> idleReaders;

    ~Impl() {
        idleReaders.clear();
        if (checkpointer) checkpointer->close();
        for (auto* cache : {&insertStatements, &updateStatements})
            for (auto& [entity, stmt] : *cache) sqlite3_finalize(stmt);
        close();
    }

    std::unique_ptr<SQLiteConnection> takeReader(ErrorPtr& error);
    void returnReader(std::unique_ptr<SQLiteConnection> reader);
    FetchOutcome fetch(SQLiteConnection& connection, const FetchPlan& plan);
    // The rest of a fetch whose plan SQL applies whole (filter, order,
    // window), answered with dictionaries of the wanted attributes.
    FetchOutcome fetchDictionaries(SQLiteConnection& connection, const FetchPlan& plan, const Table& table,
                                   const std::string& where, const std::string& order, std::vector<Value> bindings);

    ErrorPtr tableNames(std::set<std::string>& names) {
        int rc;
        auto stmt = statement("SELECT name FROM sqlite_master WHERE type = 'table'", rc);
        if (!stmt) return failure(rc, StoreError::OpenFailed, "Cannot read the store's schema");
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) names.insert(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        if (rc != SQLITE_DONE) return failure(rc, StoreError::OpenFailed, "Cannot read the store's schema");
        return nullptr;
    }

    ErrorPtr readMetadata(Value& out) {
        int rc;
        auto stmt = statement("SELECT Z_KEY, Z_VALUE FROM Z_METADATA", rc);
        if (!stmt) return failure(rc, StoreError::InvalidStoreType, "Cannot read the store metadata");
        Value::Dictionary d;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            std::string key = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            const char* raw = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
            std::string value = raw ? raw : "";
            if (key == kStoreModelVersionIdentifiersKey) {
                Value::Array ids;
                size_t start = 0;
                while (start <= value.size() && !value.empty()) {
                    size_t nl = value.find('\n', start);
                    ids.push_back(Value(value.substr(start, nl == std::string::npos ? std::string::npos : nl - start)));
                    if (nl == std::string::npos) break;
                    start = nl + 1;
                }
                d[key] = Value(std::move(ids));
            } else {
                d[key] = Value(value);
            }
        }
        if (rc != SQLITE_DONE) return failure(rc, StoreError::InvalidStoreType, "Cannot read the store metadata");
        out = Value(std::move(d));
        return nullptr;
    }

    ErrorPtr writeMetadata() {
        std::vector<std::pair<std::string, std::string>> entries{{kStoreTypeKey, kSQLiteStoreType},
                                                                 {kStoreModelVersionIdentifiersKey, model->versionIdentifier()},
                                                                 {kStoreSchemaHashKey, model->schemaHash()}};
        for (const auto& [k, v] : entries) {
            int rc;
            auto stmt = statement("INSERT OR REPLACE INTO Z_METADATA (Z_KEY, Z_VALUE) VALUES (?, ?)", rc);
            if (!stmt) return failure(rc, StoreError::OpenFailed, "Cannot write the store metadata");
            sqlite3_bind_text(stmt, 1, k.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(stmt, 2, v.c_str(), -1, SQLITE_TRANSIENT);
            if ((rc = sqlite3_step(stmt)) != SQLITE_DONE) return failure(rc, StoreError::OpenFailed, "Cannot write the store metadata");
        }
        return nullptr;
    }

    // Brings the file's schema to the model's: creates what is missing, adds
    // columns, registers entities. Runs inside the caller's transaction.
    ErrorPtr applySchema(const std::set<std::string>& existingTables) {
        std::map<std::string, std::pair<int, std::string>> known;  // name → (ent, root name)
        int maxEnt = 0;
        if (existingTables.count("Z_ENTITIES")) {
            int rc;
            auto stmt = statement("SELECT Z_ENT, Z_NAME, Z_ROOT FROM Z_ENTITIES", rc);
            if (!stmt) return failure(rc, StoreError::MigrationFailed, "Cannot read the store's entities");
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                int ent = sqlite3_column_int(stmt, 0);
                known[reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1))] = {
                    ent, reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2))};
                maxEnt = std::max(maxEnt, ent);
            }
            if (rc != SQLITE_DONE) return failure(rc, StoreError::MigrationFailed, "Cannot read the store's entities");
        } else {
            if (exec("CREATE TABLE Z_METADATA (Z_KEY TEXT PRIMARY KEY, Z_VALUE)") != SQLITE_OK ||
                exec("CREATE TABLE Z_ENTITIES (Z_ENT INTEGER PRIMARY KEY, Z_NAME TEXT UNIQUE, Z_ROOT TEXT)") != SQLITE_OK)
                return failure(sqlite3_errcode(db), StoreError::OpenFailed, "Cannot create the store");
        }
        for (auto e : model->entities()) {
            auto it = known.find(e->name());
            if (it != known.end()) {
                if (it->second.second != e->rootEntity().name())
                    return storeError(StoreError::MigrationFailed,
                                      "Entity " + e->name() + " moved to another inheritance tree; the store cannot be migrated",
                                      path);
                continue;
            }
            int rc;
            auto stmt = statement("INSERT INTO Z_ENTITIES (Z_ENT, Z_NAME, Z_ROOT) VALUES (?, ?, ?)", rc);
            if (!stmt) return failure(rc, StoreError::MigrationFailed, "Cannot register an entity");
            sqlite3_bind_int(stmt, 1, ++maxEnt);
            sqlite3_bind_text(stmt, 2, e->name().c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(stmt, 3, e->rootEntity().name().c_str(), -1, SQLITE_TRANSIENT);
            if ((rc = sqlite3_step(stmt)) != SQLITE_DONE) return failure(rc, StoreError::MigrationFailed, "Cannot register an entity");
        }
        for (auto e : model->entities()) {
            if (e->superentity()) continue;
            std::string table = "Z" + e->name();
            auto columns = treeColumns(*e);
            if (!existingTables.count(table)) {
                std::string sql = "CREATE TABLE " + quote(table) + " (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER NOT NULL";
                for (const auto& a : columns) sql += ", " + columnDefinition(a);
                sql += ")";
                if (exec(sql) != SQLITE_OK || (treeHasSubentities(*e) && createEntityIndex(table) != SQLITE_OK))
                    return failure(sqlite3_errcode(db), StoreError::MigrationFailed, "Cannot create table " + table);
                continue;
            }
            if (treeHasSubentities(*e) && createEntityIndex(table) != SQLITE_OK)
                return failure(sqlite3_errcode(db), StoreError::MigrationFailed, "Cannot index table " + table);
            std::set<std::string> present;
            sqlite3_stmt* info = nullptr;
            int rc = sqlite3_prepare_v2(db, ("PRAGMA table_info(" + quote(table) + ")").c_str(), -1, &info, nullptr);
            while (rc == SQLITE_OK && sqlite3_step(info) == SQLITE_ROW)
                present.insert(reinterpret_cast<const char*>(sqlite3_column_text(info, 1)));
            sqlite3_finalize(info);
            for (const auto& a : columns) {
                if (present.count("Z" + a.name)) continue;
                if (exec("ALTER TABLE " + quote(table) + " ADD COLUMN " + columnDefinition(a)) != SQLITE_OK)
                    return failure(sqlite3_errcode(db), StoreError::MigrationFailed, "Cannot add attribute " + a.name);
            }
        }
        return writeMetadata();
    }

    // Fetches narrow a table to some of its entities only when its tree has
    // more than one; a table of one entity would pay for the index on every
    // insert and never use it. A tree that gains a sub-entity gets it then.
    static bool treeHasSubentities(const EntityDescription& root) { return !root.subentities().empty(); }
    int createEntityIndex(const std::string& table) {
        return exec("CREATE INDEX IF NOT EXISTS " + quote(table + "_Z_ENT") + " ON " + quote(table) + " (Z_ENT)");
    }

    ErrorPtr loadEntities() {
        int rc;
        auto stmt = statement("SELECT Z_ENT, Z_NAME FROM Z_ENTITIES", rc);
        if (!stmt) return failure(rc, StoreError::OpenFailed, "Cannot read the store's entities");
        for (auto e : model->entities())
            if (!e->superentity()) tables[e] = Table{e, tableName(*e), treeColumns(*e), 0};
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            auto entity = model->entityNamed(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
            if (!entity) continue;  // an entity the model no longer has: its rows are ignored
            EntityInfo info;
            info.ent = sqlite3_column_int(stmt, 0);
            info.table = &tables[&entity->rootEntity()];
            info.table->entityCount++;
            for (const auto& a : entity->attributes()) {
                int column = -1;
                for (size_t i = 0; i < info.table->columns.size(); ++i)
                    if (info.table->columns[i].name == a.name) column = int(i);
                info.columnOfAttribute.push_back(column);
            }
            entityByEnt[info.ent] = entity;
            entities[entity] = std::move(info);
        }
        if (rc != SQLITE_DONE) return failure(rc, StoreError::OpenFailed, "Cannot read the store's entities");
        for (auto e : model->entities())
            if (!entities.count(e)) return storeError(StoreError::IncompatibleVersion, "The store lacks entity " + e->name(), path);
        return nullptr;
    }

    ErrorPtr writeRow(const StoreRow& row, bool insert) {
        const auto& info = entities.at(row.entity);
        const bool keyLast = !insert;
        // Every parameter is bound again below, so a reset is enough.
        auto& cached = (insert ? insertStatements : updateStatements)[row.entity];
        if (cached) {
            sqlite3_reset(cached);
        } else {
            const std::string& sql = insert ? insertSQL(*row.entity) : updateSQL(*row.entity);
            int rc = sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &cached, nullptr);
            if (rc != SQLITE_OK) {
                cached = nullptr;
                return failure(rc, StoreError::SaveFailed, "Cannot prepare a save");
            }
        }
        sqlite3_stmt* stmt = cached;
        int rc;
        int index = 1;
        if (!keyLast) {
            sqlite3_bind_int64(stmt, index++, row.primaryKey);
            sqlite3_bind_int(stmt, index++, info.ent);
        }
        // The row's values outlive the step, so its texts are not copied.
        const auto& attributes = row.entity->attributes();
        const bool complete = row.values && row.values->size() >= attributes.size();
        for (size_t i = 0; i < attributes.size(); ++i) {
            if (complete)
                bindValue(stmt, index++, (*row.values)[i], false);
            else
                bindValue(stmt, index++, row.values && i < row.values->size() ? (*row.values)[i]
                                                                               : attributes[i].defaultValue());
        }
        if (keyLast) sqlite3_bind_int64(stmt, index++, row.primaryKey);
        rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) return failure(rc, StoreError::SaveFailed, "Cannot save a row");
        return nullptr;
    }

    std::unordered_map<const EntityDescription*, std::string> insertSQLs, updateSQLs;

    const std::string& insertSQL(const EntityDescription& e) {
        auto& cached = insertSQLs[&e];
        if (!cached.empty()) return cached;
        const auto& t = *entities.at(&e).table;
        std::string cols = "Z_PK, Z_ENT", marks = "?, ?";
        for (const auto& a : e.attributes()) {
            cols += ", " + columnName(a.name);
            marks += ", ?";
        }
        return cached = "INSERT INTO " + t.name + " (" + cols + ") VALUES (" + marks + ")";
    }

    const std::string& updateSQL(const EntityDescription& e) {
        auto& cached = updateSQLs[&e];
        if (!cached.empty()) return cached;
        const auto& t = *entities.at(&e).table;
        std::string sets;
        for (const auto& a : e.attributes()) sets += (sets.empty() ? "" : ", ") + columnName(a.name) + " = ?";
        if (sets.empty()) sets = "Z_ENT = Z_ENT";
        return cached = "UPDATE " + t.name + " SET " + sets + " WHERE Z_PK = ?";
    }
};

SQLiteStore::SQLiteStore(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SQLiteStore::~SQLiteStore() = default;

const std::string& SQLiteStore::path() const { return impl_->path; }

void SQLiteStore::setRowWrittenHookForTesting(std::function<void(size_t)> hook) { rowWrittenHook() = std::move(hook); }

namespace {

sqlite3* openConnection(const std::string& path, int flags, int& rc) {
    sqlite3* db = nullptr;
    // One thread at a time uses a connection (the coordinator's lock), so
    // SQLite's own per-call locking is not needed.
    rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (db) sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 10000);
    // Keep -wal and -shm on close: the store's files move as a trio.
    int on = 1;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_PERSIST_WAL, &on);
    return db;
}

// The plan's limit and offset as the statement's last two parameters.
void appendSQLiteWindow(const FetchPlan& plan, std::string& sql, std::vector<Value>& bindings) {
    if (!plan.limit && !plan.offset) return;
    sql += " LIMIT ? OFFSET ?";
    bindings.push_back(Value(plan.limit ? int64_t(plan.limit) : int64_t(-1)));
    bindings.push_back(Value(int64_t(plan.offset)));
}

}  // namespace

std::unique_ptr<SQLiteConnection> SQLiteStore::Impl::takeReader(ErrorPtr& error) {
    {
        std::lock_guard lock(readersMutex);
        if (!idleReaders.empty()) {
            auto reader = std::move(idleReaders.back());
            idleReaders.pop_back();
            return reader;
        }
    }
    auto reader = std::make_unique<SQLiteConnection>();
    reader->path = path;
    int rc;
    reader->db = openConnection(path, SQLITE_OPEN_READWRITE, rc);
    if (!reader->db) {
        error = storeError(StoreError::FetchFailed, "Cannot open a read connection", path, rc);
        return nullptr;
    }
    sqlite3_create_function_v2(reader->db, kTextOperatorFunction, 4, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               textOperator, nullptr, nullptr, nullptr);
    reader->exec("PRAGMA query_only=1");
    return reader;
}

void SQLiteStore::Impl::returnReader(std::unique_ptr<SQLiteConnection> reader) {
    // Two idle readers cover the main thread and one queue reading at once;
    // more would only hold file handles.
    std::lock_guard lock(readersMutex);
    if (idleReaders.size() < 2) idleReaders.push_back(std::move(reader));
}

std::unique_ptr<SQLiteStore> SQLiteStore::open(const std::string& path, ModelPtr model, bool migrate, ErrorPtr& error,
                                               Value* previousMetadata) {
    error = nullptr;
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    impl->model = std::move(model);
    int rc;
    impl->db = openConnection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, rc);
    if (!impl->db) {
        error = storeError(StoreError::OpenFailed, "Cannot open the store file", path, rc);
        return nullptr;
    }
    sqlite3_create_function_v2(impl->db, kTextOperatorFunction, 4, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, textOperator,
                               nullptr, nullptr, nullptr);
    std::set<std::string> tables;
    if ((error = impl->tableNames(tables))) return nullptr;
    bool fresh = tables.empty();
    if (!fresh && !tables.count("Z_METADATA")) {
        error = storeError(StoreError::InvalidStoreType, "The file is a database, but not an object store", path);
        return nullptr;
    }
    if ((rc = impl->exec("PRAGMA journal_mode=WAL")) != SQLITE_OK) {
        error = impl->failure(rc, StoreError::OpenFailed, "Cannot set the journal mode");
        return nullptr;
    }
    impl->exec("PRAGMA synchronous=NORMAL");
    bool needsSchema = fresh;
    if (!fresh) {
        Value metadata;
        if ((error = impl->readMetadata(metadata))) return nullptr;
        if (previousMetadata) *previousMetadata = metadata;
        if (!impl->model->isConfigurationCompatibleWithStoreMetadata(metadata)) {
            if (!migrate) {
                error = storeError(StoreError::IncompatibleVersion, "The model is not compatible with the store", path);
                return nullptr;
            }
            needsSchema = true;
        }
    }
    if (needsSchema) {
        if ((rc = impl->exec("BEGIN IMMEDIATE")) != SQLITE_OK) {
            error = impl->failure(rc, StoreError::OpenFailed, "Cannot start the schema update");
            return nullptr;
        }
        error = impl->applySchema(tables);
        if (!error && (rc = impl->exec("COMMIT")) != SQLITE_OK) error = impl->failure(rc, StoreError::MigrationFailed, "Cannot commit the schema");
        if (error) {
            impl->exec("ROLLBACK");
            return nullptr;
        }
    }
    if ((error = impl->loadEntities())) return nullptr;
    // Saves leave the WAL to the checkpointer; without one, SQLite copies it
    // at commit as usual.
    auto checkpointer = std::make_shared<Checkpointer>(path);
    if (checkpointer->isOpen()) {
        impl->checkpointer = std::move(checkpointer);
        sqlite3_wal_hook(impl->db, walCommitted, impl->checkpointer.get());
    }
    return std::unique_ptr<SQLiteStore>(new SQLiteStore(std::move(impl)));
}

Value SQLiteStore::readMetadata(const std::string& path, ErrorPtr& error) {
    error = nullptr;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        error = storeError(260, "The store file does not exist", path);
        return Value();
    }
    Impl impl;
    impl.path = path;
    int rc;
    impl.db = openConnection(path, SQLITE_OPEN_READWRITE, rc);
    if (!impl.db) {
        error = storeError(StoreError::OpenFailed, "Cannot open the store file", path, rc);
        return Value();
    }
    std::set<std::string> tables;
    if ((error = impl.tableNames(tables))) return Value();
    if (!tables.count("Z_METADATA")) {
        error = storeError(StoreError::InvalidStoreType, "The file is not an object store", path);
        return Value();
    }
    Value metadata;
    error = impl.readMetadata(metadata);
    return metadata;
}

int64_t SQLiteStore::maxPrimaryKey() const {
    int64_t max = 0;
    for (auto& [root, table] : impl_->tables) {
        int rc;
        auto stmt = impl_->statement("SELECT MAX(Z_PK) FROM " + table.name, rc);
        if (stmt && sqlite3_step(stmt) == SQLITE_ROW) max = std::max<int64_t>(max, sqlite3_column_int64(stmt, 0));
        if (stmt) sqlite3_reset(stmt);
    }
    return max;
}

ErrorPtr SQLiteStore::save(const ChangeSet& changes) {
    auto& impl = *impl_;
    int rc;
    if ((rc = impl.exec("BEGIN IMMEDIATE")) != SQLITE_OK) return impl.failure(rc, StoreError::SaveFailed, "Cannot start a save");
    ErrorPtr error;
    size_t written = 0;
    auto wrote = [&] {
        ++written;
        if (rowWrittenHook()) rowWrittenHook()(written);
    };
    for (const auto& row : changes.inserted) {
        if (!impl.entities.count(row.entity)) continue;
        if ((error = impl.writeRow(row, true))) break;
        wrote();
    }
    for (const auto& row : error ? std::vector<StoreRow>{} : changes.updated) {
        if (!impl.entities.count(row.entity)) continue;
        if ((error = impl.writeRow(row, false))) break;
        wrote();
    }
    for (const auto& row : error ? std::vector<StoreRow>{} : changes.deleted) {
        if (!impl.entities.count(row.entity)) continue;
        auto stmt = impl.statement("DELETE FROM " + impl.entities.at(row.entity).table->name + " WHERE Z_PK = ?", rc);
        if (!stmt) {
            error = impl.failure(rc, StoreError::SaveFailed, "Cannot prepare a delete");
            break;
        }
        sqlite3_bind_int64(stmt, 1, row.primaryKey);
        if ((rc = sqlite3_step(stmt)) != SQLITE_DONE) {
            error = impl.failure(rc, StoreError::SaveFailed, "Cannot delete a row");
            break;
        }
        wrote();
    }
    if (!error && (rc = impl.exec("COMMIT")) != SQLITE_OK) error = impl.failure(rc, StoreError::SaveFailed, "Cannot commit a save");
    if (error) impl.exec("ROLLBACK");
    return error;
}

FetchOutcome SQLiteStore::fetch(const FetchPlan& plan) { return impl_->fetch(*impl_, plan); }

FetchOutcome SQLiteStore::fetchBesideWriter(const FetchPlan& plan) {
    ErrorPtr error;
    auto reader = impl_->takeReader(error);
    if (!reader) {
        FetchOutcome outcome;
        outcome.error = error;
        return outcome;
    }
    auto outcome = impl_->fetch(*reader, plan);
    impl_->returnReader(std::move(reader));
    return outcome;
}

FetchOutcome SQLiteStore::Impl::fetch(SQLiteConnection& connection, const FetchPlan& plan) {
    auto& impl = *this;
    FetchOutcome outcome;
    auto infoIt = impl.entities.find(plan.entity);
    if (infoIt == impl.entities.end()) return outcome;
    const Table& table = *infoIt->second.table;

    std::string where;
    std::vector<Value> bindings;
    size_t known = 0;
    std::string ents;
    for (auto e : plan.entities) {
        auto it = impl.entities.find(e);
        if (it == impl.entities.end()) continue;
        ++known;
        ents += (ents.empty() ? "" : ", ") + std::to_string(it->second.ent);
    }
    if (ents.empty()) return outcome;
    where = known == table.entityCount ? "1" : "Z_ENT IN (" + ents + ")";
    if (plan.primaryKey) {
        where += " AND Z_PK = ?";
        bindings.push_back(Value(*plan.primaryKey));
    }
    bool translated = true;
    if (plan.predicate) {
        auto fragment = translatePredicate(*plan.predicate, *plan.entity, columnName);
        if (fragment) {
            where += " AND " + fragment->sql;
            bindings.insert(bindings.end(), fragment->bindings.begin(), fragment->bindings.end());
        } else {
            translated = false;
        }
    }
    bool windowable = translated && !plan.pendingBelow;
    std::string order;
    for (const auto& d : plan.sortDescriptors) {
        const AttributeDescription* a = d.key().find('.') == std::string::npos ? plan.entity->attributeNamed(d.key()) : nullptr;
        if (!a || d.comparator() != SortComparator::Compare) {
            windowable = false;
            break;
        }
        order += columnName(a->name) + (d.ascending() ? " ASC, " : " DESC, ");
    }
    if (!windowable) order.clear();
    order += "Z_PK";

    auto bindAll = [&](sqlite3_stmt* stmt) {
        for (size_t i = 0; i < bindings.size(); ++i) bindValue(stmt, int(i + 1), bindings[i]);
    };
    int rc;
    if (plan.countOnly && windowable) {
        auto stmt = connection.statement("SELECT COUNT(*) FROM " + table.name + " WHERE " + where, rc);
        if (!stmt) {
            outcome.error = connection.failure(rc, StoreError::FetchFailed, "Cannot count");
            return outcome;
        }
        bindAll(stmt);
        if ((rc = sqlite3_step(stmt)) != SQLITE_ROW) {
            outcome.error = connection.failure(rc, StoreError::FetchFailed, "Cannot count");
            return outcome;
        }
        size_t total = size_t(sqlite3_column_int64(stmt, 0));
        size_t count = total > plan.offset ? total - plan.offset : 0;
        if (plan.limit) count = std::min(count, plan.limit);
        outcome.count = count;
        sqlite3_reset(stmt);
        return outcome;
    }
    if (plan.dictionaries && windowable)
        return fetchDictionaries(connection, plan, table, where, order, std::move(bindings));
    // A dictionary fetch that ends in memory (unsaved changes below, a sort
    // SQL cannot do) reads only its properties and sort keys when the
    // predicate runs in SQL; the other columns come back as NULL, in place.
    std::set<std::string> wanted;
    if (translated && !plan.onlyAttributes.empty()) {
        wanted.insert(plan.onlyAttributes.begin(), plan.onlyAttributes.end());
        for (const auto& d : plan.sortDescriptors) wanted.insert(d.key().substr(0, d.key().find('.')));
    }
    std::string sql = "SELECT Z_PK, Z_ENT";
    for (const auto& a : table.columns)
        sql += wanted.empty() || wanted.count(a.name) ? ", " + columnName(a.name) : std::string(", NULL");
    sql += " FROM " + table.name + " WHERE " + where + " ORDER BY " + order;
    if (windowable) appendSQLiteWindow(plan, sql, bindings);
    auto stmt = connection.statement(sql, rc);
    if (!stmt) {
        outcome.error = connection.failure(rc, StoreError::FetchFailed, "Cannot fetch");
        return outcome;
    }
    bindAll(stmt);
    // The attributes a row of each entity reads; the rest of a dictionary
    // fetch's row stays empty (nothing reads it), which spares a wide
    // entity a default value per column and row.
    std::map<const EntityDescription*, std::vector<char>> readsOfEntity;
    auto readsOf = [&](const EntityDescription* entity) -> const std::vector<char>& {
        auto [at, added] = readsOfEntity.try_emplace(entity);
        if (added) {
            at->second.reserve(entity->attributes().size());
            for (const auto& a : entity->attributes()) at->second.push_back(wanted.empty() || wanted.count(a.name) ? 1 : 0);
        }
        return at->second;
    };
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        auto entIt = impl.entityByEnt.find(sqlite3_column_int(stmt, 1));
        if (entIt == impl.entityByEnt.end() || !plan.includes(entIt->second)) continue;
        const EntityDescription* entity = entIt->second;
        const auto& info = impl.entities.at(entity);
        const auto& reads = readsOf(entity);
        const int64_t primaryKey = sqlite3_column_int64(stmt, 0);
        std::shared_ptr<const RowValues> held;
        if (plan.heldValues && wanted.empty()) {
            held = plan.heldValues(primaryKey);
            if (held && !rowReadsAsHeld(stmt, info, *entity, *held)) held.reset();
        }
        std::shared_ptr<const RowValues> values = held;
        if (!values) {
            auto read = std::make_shared<RowValues>(entity->attributes().size());
            for (size_t i = 0; i < entity->attributes().size(); ++i) {
                if (!reads[i]) continue;
                int column = info.columnOfAttribute[i];
                (*read)[i] = column < 0 ? entity->attributes()[i].defaultValue()
                                        : readColumn(stmt, column + 2, entity->attributes()[i]);
            }
            values = std::move(read);
        }
        StoreRow row{entity, primaryKey, std::move(values)};
        if (!translated && !plan.predicate->evaluateWithObject(rowAsValue(row))) continue;
        outcome.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        outcome.rows.clear();
        outcome.error = connection.failure(rc, StoreError::FetchFailed, "Cannot fetch");
    }
    sqlite3_reset(stmt);
    outcome.windowApplied = windowable;
    return outcome;
}

FetchOutcome SQLiteStore::Impl::fetchDictionaries(SQLiteConnection& connection, const FetchPlan& plan,
                                                  const Table& table, const std::string& where,
                                                  const std::string& order, std::vector<Value> bindings) {
    FetchOutcome outcome;
    // Only the wanted columns are selected; positionOfColumn maps a column
    // of the table to its place in the result (2 on, after Z_PK and Z_ENT).
    std::set<std::string_view> wanted(plan.onlyAttributes.begin(), plan.onlyAttributes.end());
    std::vector<int> positionOfColumn(table.columns.size(), -1);
    std::string columns;
    int position = 2;
    for (size_t c = 0; c < table.columns.size(); ++c) {
        if (!wanted.empty() && !wanted.count(table.columns[c].name)) continue;
        columns += ", " + columnName(table.columns[c].name);
        positionOfColumn[c] = position++;
    }
    // A distinct fetch in key order gets one row per entity and values, at
    // its first key (the caller still drops repeats across entities): a
    // list's few days are not made into a dictionary per row first.
    std::string sql;
    if (plan.distinct && plan.sortDescriptors.empty())
        sql = "SELECT MIN(Z_PK), Z_ENT" + columns + " FROM " + table.name + " WHERE " + where + " GROUP BY Z_ENT" +
              columns + " ORDER BY 1";
    else
        sql = "SELECT Z_PK, Z_ENT" + columns + " FROM " + table.name + " WHERE " + where + " ORDER BY " + order;
    appendSQLiteWindow(plan, sql, bindings);
    int rc;
    auto stmt = connection.statement(sql, rc);
    if (!stmt) {
        outcome.error = connection.failure(rc, StoreError::FetchFailed, "Cannot fetch");
        return outcome;
    }
    for (size_t i = 0; i < bindings.size(); ++i) bindValue(stmt, int(i + 1), bindings[i]);

    // What a row of each entity puts in its dictionary, by name (the order
    // the dictionary keeps, so each key goes in at its end): the attribute
    // and its result position, -1 for an attribute the file has no column
    // for, whose default stands in.
    struct Field {
        const AttributeDescription* attribute;
        int position;
    };
    std::unordered_map<const EntityDescription*, std::vector<Field>> fieldsOfEntity;
    auto fieldsOf = [&](const EntityDescription* entity) -> const std::vector<Field>& {
        auto [at, added] = fieldsOfEntity.try_emplace(entity);
        if (!added) return at->second;
        const auto& columnOf = entities.at(entity).columnOfAttribute;
        for (size_t i = 0; i < entity->attributes().size(); ++i) {
            const auto& attribute = entity->attributes()[i];
            if (!wanted.empty() && !wanted.count(attribute.name)) continue;
            at->second.push_back({&attribute, columnOf[i] < 0 ? -1 : positionOfColumn[size_t(columnOf[i])]});
        }
        std::sort(at->second.begin(), at->second.end(),
                  [](const Field& a, const Field& b) { return a.attribute->name < b.attribute->name; });
        return at->second;
    };
    auto read = [&](const Field& field) {
        return field.position < 0 ? field.attribute->defaultValue()
                                  : readColumn(stmt, field.position, *field.attribute);
    };
    // Each row of the plan's entities to `take`, with its entity; false,
    // the outcome's error set, when the rows could not all be read.
    auto readRows = [&](auto&& take) {
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            auto entIt = entityByEnt.find(sqlite3_column_int(stmt, 1));
            if (entIt != entityByEnt.end() && plan.includes(entIt->second)) take(entIt->second);
        }
        sqlite3_reset(stmt);
        if (rc == SQLITE_DONE) return true;
        outcome.error = connection.failure(rc, StoreError::FetchFailed, "Cannot fetch");
        return false;
    };
    if (plan.pairs && !plan.distinct && plan.onlyAttributes.size() == 2 &&
        plan.onlyAttributes[0] != plan.onlyAttributes[1]) {
        // The two values of each row, in the order asked for: one pair a
        // row instead of a dictionary with its two keys.
        std::unordered_map<const EntityDescription*, std::array<std::optional<Field>, 2>> pairOfEntity;
        auto pairOf = [&](const EntityDescription* entity) -> const std::array<std::optional<Field>, 2>& {
            auto [at, added] = pairOfEntity.try_emplace(entity);
            if (!added) return at->second;
            for (const auto& field : fieldsOf(entity))
                at->second[field.attribute->name == plan.onlyAttributes[0] ? 0 : 1] = field;
            return at->second;
        };
        auto valueOf = [&](const std::optional<Field>& field) {
            // Null reads as absent, as the dictionary would leave it out.
            Value value = field ? read(*field) : Value();
            if (value.isNothing()) return Value();
            return value;
        };
        std::vector<std::pair<Value, Value>> pairs;
        if (!readRows([&](const EntityDescription* entity) {
                const auto& fields = pairOf(entity);
                Value first = valueOf(fields[0]);
                pairs.emplace_back(std::move(first), valueOf(fields[1]));
            }))
            return outcome;
        outcome.pairs = std::move(pairs);
        outcome.windowApplied = true;
        return outcome;
    }
    Value::Array dictionaries;
    if (!readRows([&](const EntityDescription* entity) {
            Value::Dictionary dictionary;
            for (const auto& field : fieldsOf(entity)) {
                Value value = read(field);
                // Absent and null values are left out, as a row's would be.
                if (!value.isNothing()) dictionary.emplace_hint(dictionary.end(), field.attribute->name, std::move(value));
            }
            dictionaries.emplace_back(std::move(dictionary));
        }))
        return outcome;
    outcome.dictionaries = std::move(dictionaries);
    outcome.windowApplied = true;
    return outcome;
}

}  // namespace coredata::detail
