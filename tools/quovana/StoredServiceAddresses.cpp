#include "quovana/StoredServiceAddresses.h"

#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "store/CoreDataStack.h"

namespace quovana {

namespace {

bool portIsFree(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return false;
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool free = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return free;
}

constexpr const char* kServiceHostPrefix = "//127.0.0.1:";

std::string serviceAddressPrefix(int port) { return kServiceHostPrefix + std::to_string(port) + "/"; }

// The port in the first "//127.0.0.1:<port>/" of `bytes`; 0 when none.
int portAfter(const std::string& bytes, const std::string& hostPrefix) {
    for (size_t at = bytes.find(hostPrefix); at != std::string::npos; at = bytes.find(hostPrefix, at + 1)) {
        size_t end = at + hostPrefix.size();
        int port = 0;
        while (end < bytes.size() && end - at - hostPrefix.size() < 5 && bytes[end] >= '0' && bytes[end] <= '9')
            port = port * 10 + (bytes[end++] - '0');
        if (end > at + hostPrefix.size() && end < bytes.size() && bytes[end] == '/' && port >= 1 && port <= 65535)
            return port;
    }
    return 0;
}

std::string replacedAll(std::string bytes, const std::string& from, const std::string& to) {
    for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + to.size()))
        bytes.replace(at, from.size(), to);
    return bytes;
}

struct StoreAddressRewriter {
    sqlite3* db = nullptr;
    std::string from, to, error;

    std::vector<std::string> column(const std::string& sql) {
        std::vector<std::string> out;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return out;
        while (sqlite3_step(statement) == SQLITE_ROW)
            out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return out;
    }

    static std::string quoted(const std::string& name) { return "\"" + replacedAll(name, "\"", "\"\"") + "\""; }

    // One field of every row holding the old address, its type kept.
    size_t rewriteField(const std::string& table, const std::string& field) {
        const std::string select = "SELECT rowid, " + quoted(field) + " FROM " + quoted(table) + " WHERE instr(" +
                                   quoted(field) + ", ?1) > 0";
        const std::string update = "UPDATE " + quoted(table) + " SET " + quoted(field) + " = ?1 WHERE rowid = ?2";
        sqlite3_stmt* reading = nullptr;
        sqlite3_stmt* writing = nullptr;
        size_t changed = 0;
        if (sqlite3_prepare_v2(db, select.c_str(), -1, &reading, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(db, update.c_str(), -1, &writing, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(reading, 1, from.data(), static_cast<int>(from.size()), SQLITE_STATIC);
            while (sqlite3_step(reading) == SQLITE_ROW) {
                const bool isBlob = sqlite3_column_type(reading, 1) == SQLITE_BLOB;
                const auto* bytes = static_cast<const char*>(sqlite3_column_blob(reading, 1));
                const std::string value =
                    replacedAll(std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(reading, 1))), from, to);
                if (isBlob)
                    sqlite3_bind_blob(writing, 1, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
                else
                    sqlite3_bind_text(writing, 1, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
                sqlite3_bind_int64(writing, 2, sqlite3_column_int64(reading, 0));
                if (sqlite3_step(writing) != SQLITE_DONE) error = sqlite3_errmsg(db);
                sqlite3_reset(writing);
                ++changed;
            }
        } else {
            error = sqlite3_errmsg(db);
        }
        sqlite3_finalize(reading);
        sqlite3_finalize(writing);
        return changed;
    }

    // The port of the first field in the file that holds a service
    // address; 0 when none does.
    int portInFile(const std::string& path) {
        int port = 0;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            for (const auto& table : column("SELECT name FROM sqlite_master WHERE type = 'table'")) {
                for (const auto& field : column("SELECT name FROM pragma_table_info(" + quoted(table) + ")")) {
                    // From the address on: a binary field may hold a zero byte before it.
                    const std::string at = "instr(" + quoted(field) + ", '" + from + "')";
                    const auto found = column("SELECT CAST(substr(" + quoted(field) + ", " + at + ", 24) AS TEXT) FROM " +
                                              quoted(table) + " WHERE " + at + " > 0 LIMIT 1");
                    if (!found.empty()) port = portAfter(found.front(), from);
                    if (port) break;
                }
                if (port) break;
            }
        }
        sqlite3_close(db);
        db = nullptr;
        return port;
    }

    size_t rewriteFile(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            error = path + ": " + sqlite3_errmsg(db);
            sqlite3_close(db);
            return 0;
        }
        size_t changed = 0;
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (const auto& table : column("SELECT name FROM sqlite_master WHERE type = 'table'"))
            for (const auto& field : column("SELECT name FROM pragma_table_info(" + quoted(table) + ")"))
                changed += rewriteField(table, field);
        sqlite3_exec(db, error.empty() ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        db = nullptr;
        return error.empty() ? changed : 0;
    }
};

}  // namespace

int freePortOfTheSameWidth(int keptPort) {
    const std::string width = std::to_string(keptPort);
    for (int step = 1; step <= 200; ++step)
        for (int port : {keptPort + step, keptPort - step})
            if (port > 1024 && port <= 65535 && std::to_string(port).size() == width.size() && portIsFree(port))
                return port;
    return 0;
}

int storedServicePort() {
    StoreAddressRewriter reader;
    reader.from = kServiceHostPrefix;
    std::error_code ignored;
    for (const auto& entry :
         std::filesystem::directory_iterator(CoreDataStack::applicationDatabaseDirectory(), ignored)) {
        if (entry.path().extension() != ".sqlite") continue;
        if (const int port = reader.portInFile(entry.path().string())) return port;
    }
    return 0;
}

size_t rewriteStoredServiceAddresses(int oldPort, int newPort, std::string& error) {
    StoreAddressRewriter rewriter;
    rewriter.from = serviceAddressPrefix(oldPort);
    rewriter.to = serviceAddressPrefix(newPort);
    size_t changed = 0;
    std::error_code ignored;
    for (const auto& entry :
         std::filesystem::directory_iterator(CoreDataStack::applicationDatabaseDirectory(), ignored)) {
        if (entry.path().extension() != ".sqlite") continue;
        changed += rewriter.rewriteFile(entry.path().string());
        if (!rewriter.error.empty()) {
            error = rewriter.error;
            return changed;
        }
    }
    return changed;
}

}  // namespace quovana
