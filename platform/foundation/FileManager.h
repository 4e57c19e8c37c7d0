// The file system as the application sees it: existence, directories, moves,
// copies, removal, sizes, listings, reading and atomic writing. Nothing here
// throws; every failure comes back as an error of the Cocoa domain whose
// underlying error carries the POSIX code. A move or copy never replaces an
// existing destination, and an atomic write either replaces the whole file or
// leaves the old one untouched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Error.h"

namespace foundation {

// Codes of the Cocoa error domain that file operations give.
namespace CocoaError {
inline constexpr int64_t FileNoSuchFile = 4;
inline constexpr int64_t FileReadUnknown = 256;
inline constexpr int64_t FileReadNoPermission = 257;
inline constexpr int64_t FileReadNoSuchFile = 260;
inline constexpr int64_t FileWriteUnknown = 512;
inline constexpr int64_t FileWriteNoPermission = 513;
inline constexpr int64_t FileWriteFileExists = 516;
inline constexpr int64_t FileWriteOutOfSpace = 640;
}  // namespace CocoaError

// User-info key naming the path an error is about.
inline constexpr const char* kFilePathErrorKey = "NSFilePath";

class FileManager {
public:
    static FileManager& defaultManager();

    bool fileExistsAtPath(const std::string& path, bool* isDirectory = nullptr) const;
    // With intermediates, an existing directory is success; without, it is an error.
    bool createDirectoryAtPath(const std::string& path, bool withIntermediateDirectories,
                               ErrorPtr* error = nullptr) const;
    // Fails (FileWriteFileExists) when the destination exists. Crosses file systems by copying.
    bool moveItemAtPath(const std::string& source, const std::string& destination, ErrorPtr* error = nullptr) const;
    // Copies a file or a whole tree; fails when the destination exists.
    bool copyItemAtPath(const std::string& source, const std::string& destination, ErrorPtr* error = nullptr) const;
    // Removes a file, a link or a whole tree.
    bool removeItemAtPath(const std::string& path, ErrorPtr* error = nullptr) const;

    std::optional<uint64_t> fileSizeAtPath(const std::string& path, ErrorPtr* error = nullptr) const;
    // Names (not paths) of the entries, sorted, without "." and "..".
    std::optional<std::vector<std::string>> contentsOfDirectoryAtPath(const std::string& path,
                                                                       ErrorPtr* error = nullptr) const;
    std::optional<Data> contentsAtPath(const std::string& path, ErrorPtr* error = nullptr) const;
    // Atomically: a temporary file in the same directory, flushed to disk and
    // renamed over the target, so readers see the old file or the new one whole.
    bool writeData(const Data& data, const std::string& path, bool atomically, ErrorPtr* error = nullptr) const;
    // Removes the temporary files that atomic writes of `path` left beside
    // it when their process ended mid-write; only for a caller that knows
    // no other process writes the path now. Answers how many it removed.
    size_t removeLeftoversOfAtomicWrites(const std::string& path) const;

private:
    FileManager() = default;
};

}  // namespace foundation
