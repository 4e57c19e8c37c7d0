#include "quovana/StoredServiceAddresses.h"

#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/Data.h"
#include "foundation/UserDefaults.h"
#include "foundation/Value.h"
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

// The port of the "//127.0.0.1:<port>/" at `at` of `bytes` and where its
// digits end; 0 when none is there.
int servicePortAt(const std::string& bytes, size_t at, size_t& end) {
    end = at + std::char_traits<char>::length(kServiceHostPrefix);
    if (bytes.compare(at, end - at, kServiceHostPrefix) != 0) return 0;
    const size_t digits = end;
    int port = 0;
    while (end < bytes.size() && end - digits < 5 && bytes[end] >= '0' && bytes[end] <= '9')
        port = port * 10 + (bytes[end++] - '0');
    if (end == digits || end >= bytes.size() || bytes[end] != '/' || port < 1 || port > 65535) return 0;
    return port;
}

// The port of the first service address in `bytes`; 0 when none.
int firstServicePortIn(const std::string& bytes) {
    size_t end = 0;
    for (size_t at = bytes.find(kServiceHostPrefix); at != std::string::npos;
         at = bytes.find(kServiceHostPrefix, at + 1))
        if (const int port = servicePortAt(bytes, at, end)) return port;
    return 0;
}

// What a move of the service addresses met.
struct ServiceAddressMoves {
    size_t moved = 0;
    // Addresses naming a port of other digits than the new one.
    size_t unmovable = 0;
};

// `bytes` with every service address that names another port of as many
// digits as `port` naming `port`: an archived value records the lengths of
// its strings, so no length changes.
std::string serviceAddressesMovedTo(std::string bytes, int port, ServiceAddressMoves& moves) {
    const std::string digits = std::to_string(port);
    size_t end = 0;
    for (size_t at = bytes.find(kServiceHostPrefix); at != std::string::npos;
         at = bytes.find(kServiceHostPrefix, at + 1)) {
        const int named = servicePortAt(bytes, at, end);
        if (!named || named == port) continue;
        if (std::to_string(named).size() != digits.size()) {
            ++moves.unmovable;
            continue;
        }
        bytes.replace(end - digits.size(), digits.size(), digits);
        ++moves.moved;
    }
    return bytes;
}

struct StoreAddressMover {
    sqlite3* db = nullptr;
    int port = 0;
    std::string error;
    size_t unmovable = 0;

    std::vector<std::string> column(const std::string& sql) {
        std::vector<std::string> out;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return out;
        while (sqlite3_step(statement) == SQLITE_ROW)
            out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return out;
    }

    static std::string quoted(const std::string& name) {
        std::string out = "\"";
        for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
        return out + "\"";
    }

    static std::string holdsAnAddress(const std::string& field) {
        return "instr(" + quoted(field) + ", '" + kServiceHostPrefix + "')";
    }

    // One field of every row holding a service address, its type kept.
    size_t moveField(const std::string& table, const std::string& field) {
        const std::string select = "SELECT rowid, " + quoted(field) + " FROM " + quoted(table) + " WHERE " +
                                   holdsAnAddress(field) + " > 0";
        const std::string update = "UPDATE " + quoted(table) + " SET " + quoted(field) + " = ?1 WHERE rowid = ?2";
        sqlite3_stmt* reading = nullptr;
        sqlite3_stmt* writing = nullptr;
        size_t changed = 0;
        if (sqlite3_prepare_v2(db, select.c_str(), -1, &reading, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(db, update.c_str(), -1, &writing, nullptr) == SQLITE_OK) {
            while (sqlite3_step(reading) == SQLITE_ROW) {
                const bool isBlob = sqlite3_column_type(reading, 1) == SQLITE_BLOB;
                const auto* bytes = static_cast<const char*>(sqlite3_column_blob(reading, 1));
                ServiceAddressMoves moves;
                const std::string value = serviceAddressesMovedTo(
                    std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(reading, 1))), port, moves);
                unmovable += moves.unmovable;
                if (!moves.moved) continue;
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
        int found = 0;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            for (const auto& table : column("SELECT name FROM sqlite_master WHERE type = 'table'")) {
                for (const auto& field : column("SELECT name FROM pragma_table_info(" + quoted(table) + ")")) {
                    // From the address on: a binary field may hold a zero byte before it.
                    const std::string at = holdsAnAddress(field);
                    const auto first = column("SELECT CAST(substr(" + quoted(field) + ", " + at +
                                              ", 24) AS TEXT) FROM " + quoted(table) + " WHERE " + at +
                                              " > 0 LIMIT 1");
                    if (!first.empty()) found = firstServicePortIn(first.front());
                    if (found) break;
                }
                if (found) break;
            }
        }
        sqlite3_close(db);
        db = nullptr;
        return found;
    }

    size_t moveFile(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            error = path + ": " + sqlite3_errmsg(db);
            sqlite3_close(db);
            return 0;
        }
        size_t changed = 0;
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (const auto& table : column("SELECT name FROM sqlite_master WHERE type = 'table'"))
            for (const auto& field : column("SELECT name FROM pragma_table_info(" + quoted(table) + ")"))
                changed += moveField(table, field);
        sqlite3_exec(db, error.empty() ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        db = nullptr;
        return error.empty() ? changed : 0;
    }
};

std::vector<std::string> serviceAddressStores() {
    std::vector<std::string> files;
    std::error_code ignored;
    for (const auto& entry :
         std::filesystem::directory_iterator(CoreDataStack::applicationDatabaseDirectory(), ignored))
        if (entry.path().extension() == ".sqlite") files.push_back(entry.path().string());
    return files;
}

// A setting's value (an archive, a text, or a list or dictionary of them)
// with its service addresses moved.
foundation::Value settingWithServiceAddressesMoved(const foundation::Value& value, int port,
                                                   ServiceAddressMoves& moves) {
    using foundation::Value;
    if (const auto* text = value.string()) return Value(serviceAddressesMovedTo(*text, port, moves));
    if (const auto* data = value.data()) {
        const std::string bytes(reinterpret_cast<const char*>(data->bytes()), data->length());
        return Value(foundation::Data::fromString(serviceAddressesMovedTo(bytes, port, moves)));
    }
    if (const auto* items = value.array()) {
        Value::Array out;
        for (const auto& item : *items) out.push_back(settingWithServiceAddressesMoved(item, port, moves));
        return Value(std::move(out));
    }
    if (const auto* entries = value.dictionary()) {
        Value::Dictionary out;
        for (const auto& [key, entry] : *entries) out[key] = settingWithServiceAddressesMoved(entry, port, moves);
        return Value(std::move(out));
    }
    return value;
}

// The port of a setting's first service address; 0 when it names none.
int servicePortInSetting(const foundation::Value& value) {
    if (const auto* text = value.string()) return firstServicePortIn(*text);
    if (const auto* data = value.data())
        return firstServicePortIn(std::string(reinterpret_cast<const char*>(data->bytes()), data->length()));
    if (const auto* items = value.array())
        for (const auto& item : *items)
            if (const int port = servicePortInSetting(item)) return port;
    if (const auto* entries = value.dictionary())
        for (const auto& [key, entry] : *entries)
            if (const int port = servicePortInSetting(entry)) return port;
    return 0;
}

}  // namespace

int freePortOfTheSameWidth(int keptPort) {
    const std::string width = std::to_string(keptPort);
    for (int step = 1; step <= 200; ++step)
        for (int port : {keptPort + step, keptPort - step})
            if (port > 1024 && port <= 65535 && std::to_string(port).size() == width.size() && portIsFree(port))
                return port;
    return 0;
}

int keptServicePort() {
    // The settings first: one small file, where the stores are the meeting.
    for (const auto& [key, value] : foundation::UserDefaults::standardUserDefaults().dictionaryRepresentation())
        if (const int port = servicePortInSetting(value)) return port;
    StoreAddressMover reader;
    for (const auto& file : serviceAddressStores())
        if (const int port = reader.portInFile(file)) return port;
    return 0;
}

size_t moveKeptServiceAddresses(int port, size_t& unmovable, std::string& error) {
    StoreAddressMover mover;
    mover.port = port;
    size_t changed = 0;
    for (const auto& file : serviceAddressStores()) {
        changed += mover.moveFile(file);
        if (!mover.error.empty()) {
            error = mover.error;
            return changed;
        }
    }
    unmovable = mover.unmovable;
    auto& settings = foundation::UserDefaults::standardUserDefaults();
    for (const auto& [key, value] : settings.dictionaryRepresentation()) {
        ServiceAddressMoves moves;
        foundation::Value changedValue = settingWithServiceAddressesMoved(value, port, moves);
        unmovable += moves.unmovable;
        if (!moves.moved) continue;
        settings.setObject(changedValue, key);
        ++changed;
    }
    if (!settings.synchronize()) error = "the settings " + settings.filePath() + " could not be written";
    return changed;
}

}  // namespace quovana
