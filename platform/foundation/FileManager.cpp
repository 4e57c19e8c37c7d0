// Built on std::filesystem's non-throwing overloads and a few POSIX calls
// where the library has no equivalent (renameat2 without replacement, mkstemp,
// fsync). Error translation lives in one place, so every operation reports a
// missing file, a refused permission or a full disk with the same codes.
#include "foundation/FileManager.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <filesystem>

namespace foundation {

namespace fs = std::filesystem;

namespace {

enum class Access { Read, Write };

ErrorPtr fileError(int posixCode, Access access, const std::string& path) {
    int64_t code;
    switch (posixCode) {
        case ENOENT:
        case ENOTDIR: code = access == Access::Read ? CocoaError::FileReadNoSuchFile : CocoaError::FileNoSuchFile; break;
        case EACCES:
        case EPERM:
        case EROFS:
            code = access == Access::Read ? CocoaError::FileReadNoPermission : CocoaError::FileWriteNoPermission;
            break;
        case EEXIST:
        case ENOTEMPTY: code = CocoaError::FileWriteFileExists; break;
        case ENOSPC:
        case EDQUOT: code = CocoaError::FileWriteOutOfSpace; break;
        default: code = access == Access::Read ? CocoaError::FileReadUnknown : CocoaError::FileWriteUnknown;
    }
    auto underlying = Error::withDescription(kPOSIXErrorDomain, posixCode, std::strerror(posixCode));
    std::string description = "\u201c" + fs::path(path).filename().string() + "\u201d: " + std::strerror(posixCode);
    return Error::make(kCocoaErrorDomain, code,
                       {{kLocalizedDescriptionKey, Value(description)}, {kFilePathErrorKey, Value(path)}},
                       std::move(underlying));
}

bool fail(ErrorPtr* error, int posixCode, Access access, const std::string& path) {
    if (error) *error = fileError(posixCode, access, path);
    return false;
}

bool succeed(ErrorPtr* error) {
    if (error) *error = nullptr;
    return true;
}

// An atomic write's temporary file: beside the target, hidden, with the
// target's name and mkstemp's six characters after ".tmp-".
std::string atomicWritePrefix(const fs::path& target) { return "." + target.filename().string() + ".tmp-"; }
constexpr size_t kAtomicWriteSuffixLength = 6;

bool existsNoFollow(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool writeAll(int fd, const Data& data) {
    const uint8_t* p = data.bytes();
    size_t left = data.length();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

FileManager& FileManager::defaultManager() {
    static FileManager manager;
    return manager;
}

bool FileManager::fileExistsAtPath(const std::string& path, bool* isDirectory) const {
    struct stat st;
    bool exists = !path.empty() && ::stat(path.c_str(), &st) == 0;
    if (isDirectory) *isDirectory = exists && S_ISDIR(st.st_mode);
    return exists;
}

bool FileManager::createDirectoryAtPath(const std::string& path, bool withIntermediateDirectories,
                                        ErrorPtr* error) const {
    if (path.empty()) return fail(error, ENOENT, Access::Write, path);
    std::error_code ec;
    if (withIntermediateDirectories) {
        fs::create_directories(path, ec);
        if (ec) return fail(error, ec.value(), Access::Write, path);
        bool isDirectory = false;
        if (!fileExistsAtPath(path, &isDirectory) || !isDirectory) return fail(error, EEXIST, Access::Write, path);
        return succeed(error);
    }
    if (::mkdir(path.c_str(), 0755) != 0) return fail(error, errno, Access::Write, path);
    return succeed(error);
}

bool FileManager::moveItemAtPath(const std::string& source, const std::string& destination, ErrorPtr* error) const {
    if (!existsNoFollow(source)) return fail(error, ENOENT, Access::Write, source);
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0)
        return succeed(error);
    int code = errno;
    if (code == EINVAL || code == ENOSYS) {
        // A file system without no-replace renames: check, then rename.
        if (existsNoFollow(destination)) return fail(error, EEXIST, Access::Write, destination);
        if (::rename(source.c_str(), destination.c_str()) == 0) return succeed(error);
        code = errno;
    }
    if (code == EXDEV) {
        if (!copyItemAtPath(source, destination, error)) return false;
        return removeItemAtPath(source, error);
    }
    return fail(error, code, Access::Write, code == EEXIST ? destination : source);
}

bool FileManager::copyItemAtPath(const std::string& source, const std::string& destination, ErrorPtr* error) const {
    if (!existsNoFollow(source)) return fail(error, ENOENT, Access::Write, source);
    if (existsNoFollow(destination)) return fail(error, EEXIST, Access::Write, destination);
    std::error_code ec;
    fs::copy(source, destination, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (ec) return fail(error, ec.value(), Access::Write, destination);
    return succeed(error);
}

bool FileManager::removeItemAtPath(const std::string& path, ErrorPtr* error) const {
    if (!existsNoFollow(path)) return fail(error, ENOENT, Access::Write, path);
    std::error_code ec;
    fs::remove_all(path, ec);
    if (ec) return fail(error, ec.value(), Access::Write, path);
    return succeed(error);
}

std::optional<uint64_t> FileManager::fileSizeAtPath(const std::string& path, ErrorPtr* error) const {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        fail(error, errno, Access::Read, path);
        return std::nullopt;
    }
    succeed(error);
    return static_cast<uint64_t>(st.st_size);
}

std::optional<std::vector<std::string>> FileManager::contentsOfDirectoryAtPath(const std::string& path,
                                                                                ErrorPtr* error) const {
    std::error_code ec;
    std::vector<std::string> names;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    if (ec) {
        fail(error, ec.value(), Access::Read, path);
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    succeed(error);
    return names;
}

std::optional<Data> FileManager::contentsAtPath(const std::string& path, ErrorPtr* error) const {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        fail(error, errno, Access::Read, path);
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int code = errno;
            ::close(fd);
            fail(error, code, Access::Read, path);
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    succeed(error);
    return Data(std::move(bytes));
}

bool FileManager::writeData(const Data& data, const std::string& path, bool atomically, ErrorPtr* error) const {
    if (path.empty()) return fail(error, ENOENT, Access::Write, path);
    if (!atomically) {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return fail(error, errno, Access::Write, path);
        bool ok = writeAll(fd, data);
        int code = errno;
        if (::close(fd) != 0 && ok) {
            ok = false;
            code = errno;
        }
        return ok ? succeed(error) : fail(error, code, Access::Write, path);
    }
    fs::path target(path);
    const std::string name = atomicWritePrefix(target) + std::string(kAtomicWriteSuffixLength, 'X');
    std::string pattern = target.parent_path().empty() ? name : (target.parent_path() / name).string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return fail(error, errno, Access::Write, path);
    bool ok = ::fchmod(fd, 0644) == 0 && writeAll(fd, data) && ::fsync(fd) == 0;
    int code = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && ::rename(pattern.c_str(), path.c_str()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        ::unlink(pattern.c_str());
        return fail(error, code, Access::Write, path);
    }
    return succeed(error);
}

size_t FileManager::removeLeftoversOfAtomicWrites(const std::string& path) const {
    const fs::path target(path);
    const std::string prefix = atomicWritePrefix(target);
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    size_t removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + kAtomicWriteSuffixLength || name.rfind(prefix, 0) != 0) continue;
        // mkstemp makes only ASCII letters and digits: any other name is not
        // one of ours, whatever its length in bytes.
        const auto madeByMkstemp = [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        };
        if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), madeByMkstemp))
            continue;
        // Nor is a symbolic link (its target may be anything), a folder or
        // a device: the temporary file is a regular file of its own.
        std::error_code kindError;
        if (!it->is_regular_file(kindError) || it->is_symlink(kindError)) continue;
        std::error_code removeError;
        if (fs::remove(it->path(), removeError)) ++removed;
    }
    return removed;
}

}  // namespace foundation
