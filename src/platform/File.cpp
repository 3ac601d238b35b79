#include "platform/File.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tagvane {

InOutError InOutError::fromErrno(const std::string& operation, const std::string& path, int err) {
    return InOutError("Cannot " + operation + " file \"" + path + "\": " + std::strerror(err));
}

namespace faults {
namespace {
long failAt = 0;
long count = 0;
} // namespace
void failOperation(long n) {
    failAt = n > 0 ? count + n : 0;
}
long operationsSoFar() {
    return count;
}
void resetCount() {
    count = 0;
    failAt = 0;
}
} // namespace faults

namespace {

// Every operation passes here first, so a test can make any one of them fail.
void checkFault(const char* operation, const std::string& path) {
    ++faults::count;
    if (faults::failAt != 0 && faults::count == faults::failAt) {
        faults::failAt = 0;
        throw InOutError::fromErrno(operation, path, EIO);
    }
}

int openFlags(File::Mode mode) {
    switch (mode) {
    case File::Mode::Read:
        return O_RDONLY;
    case File::Mode::ReadWrite:
        return O_RDWR;
    case File::Mode::CreateTruncate:
        return O_RDWR | O_CREAT | O_TRUNC;
    case File::Mode::CreateExclusive:
        return O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
    }
    return O_RDONLY;
}

} // namespace

File::File(const std::string& path, Mode mode, unsigned permissions) : path_(path) {
    checkFault(mode == Mode::Read || mode == Mode::ReadWrite ? "open" : "create", path);
    int fd;
    do {
        fd = ::open(path.c_str(), openFlags(mode) | O_CLOEXEC, permissions);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw InOutError::fromErrno(mode == Mode::Read || mode == Mode::ReadWrite ? "open" : "create", path, errno);
    fd_ = fd;
}

File::~File() {
    if (fd_ >= 0)
        ::close(fd_);
}

File::File(File&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)), position_(other.position_) {
    other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        position_ = other.position_;
        other.fd_ = -1;
    }
    return *this;
}

void File::seek(uint64_t offset) {
    checkFault("seek in", path_);
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0)
        throw InOutError::fromErrno("seek in", path_, errno);
    position_ = offset;
}

uint64_t File::size() const {
    checkFault("get the size of", path_);
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        throw InOutError::fromErrno("get the size of", path_, errno);
    return static_cast<uint64_t>(st.st_size);
}

size_t File::readSome(void* buffer, size_t n) {
    checkFault("read", path_);
    ssize_t got;
    do {
        got = ::read(fd_, buffer, n);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        throw InOutError::fromErrno("read", path_, errno);
    position_ += static_cast<uint64_t>(got);
    return static_cast<size_t>(got);
}

void File::readExact(void* buffer, size_t n) {
    auto* out = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < n) {
        size_t got = readSome(out + done, n - done);
        if (got == 0)
            throw InOutError("Cannot read file \"" + path_ + "\": Read beyond end of file");
        done += got;
    }
}

void File::write(const void* buffer, size_t n) {
    checkFault("write", path_);
    const auto* in = static_cast<const unsigned char*>(buffer);
    size_t done = 0;
    while (done < n) {
        ssize_t put = ::write(fd_, in + done, n - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            throw InOutError::fromErrno("write", path_, errno);
        }
        done += static_cast<size_t>(put);
    }
    position_ += n;
}

void File::copyFrom(File& source, uint64_t offset, uint64_t n, size_t block) {
    bool inKernel = true;
    std::vector<unsigned char> buffer;
    while (n > 0) {
        const size_t piece = static_cast<size_t>(std::min<uint64_t>(n, block));
        if (inKernel) {
            checkFault("copy into", path_);
            off_t from = static_cast<off_t>(offset);
            const ssize_t done = ::copy_file_range(source.fd_, &from, fd_, nullptr, piece, 0);
            if (done > 0) {
                offset += static_cast<uint64_t>(done);
                n -= static_cast<uint64_t>(done);
                position_ += static_cast<uint64_t>(done);
                continue;
            }
            if (done == 0)
                throw InOutError("Cannot read file \"" + source.path_ + "\": Read beyond end of file");
            if (errno == EINTR)
                continue;
            if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
                throw InOutError::fromErrno("copy into", path_, errno);
            inKernel = false; // the file systems cannot: copy through memory
        }
        buffer.resize(piece);
        source.seek(offset);
        source.readExact(buffer.data(), piece);
        write(buffer.data(), piece);
        offset += piece;
        n -= piece;
    }
}

void File::sync() {
    checkFault("sync", path_);
    if (::fsync(fd_) != 0)
        throw InOutError::fromErrno("sync", path_, errno);
}

void File::close() {
    if (fd_ < 0)
        return;
    int fd = fd_;
    fd_ = -1;
    checkFault("close", path_);
    if (::close(fd) != 0)
        throw InOutError::fromErrno("close", path_, errno);
}

void File::setPermissions(unsigned mode) {
    checkFault("set the permissions of", path_);
    if (::fchmod(fd_, static_cast<mode_t>(mode & 07777)) != 0)
        throw InOutError::fromErrno("set the permissions of", path_, errno);
}

bool File::setOwner(unsigned uid, unsigned gid) {
    checkFault("set the owner of", path_);
    if (::fchown(fd_, static_cast<uid_t>(uid), static_cast<gid_t>(gid)) == 0)
        return true;
    if (errno == EPERM)
        return false;
    throw InOutError::fromErrno("set the owner of", path_, errno);
}

File File::createUnique(const std::string& prefix, unsigned permissions) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof letters - 2);
    for (int attempt = 0;; ++attempt) {
        std::string name = prefix + ".";
        for (int i = 0; i < 6; ++i)
            name += letters[pick(random)];
        try {
            return File(name, Mode::CreateExclusive, permissions);
        } catch (const InOutError&) {
            // Only a clash with an existing name is worth another try.
            if (!fileExists(name) || attempt >= 100)
                throw;
        }
    }
}

void removeFile(const std::string& path) {
    checkFault("erase", path);
    if (::unlink(path.c_str()) != 0)
        throw InOutError::fromErrno("erase", path, errno);
}

void renameReplace(const std::string& from, const std::string& to) {
    checkFault("rename", from);
    if (::rename(from.c_str(), to.c_str()) != 0)
        throw InOutError::fromErrno("rename", from, errno);
}

void syncFolder(const std::string& folder) {
    checkFault("sync", folder);
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw InOutError::fromErrno("open folder", folder, errno);
    int rc = ::fsync(fd);
    int err = errno;
    ::close(fd);
    if (rc != 0)
        throw InOutError::fromErrno("sync folder", folder, err);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool folderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileStatus fileStatus(const std::string& path) {
    checkFault("get the status of", path);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        throw InOutError::fromErrno("get the status of", path, errno);
    FileStatus s;
    s.mode = static_cast<unsigned>(st.st_mode & 07777);
    s.uid = static_cast<unsigned>(st.st_uid);
    s.gid = static_cast<unsigned>(st.st_gid);
    s.size = static_cast<uint64_t>(st.st_size);
    return s;
}

std::string realPath(const std::string& path) {
    checkFault("resolve", path);
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        throw InOutError::fromErrno("resolve", path, errno);
    std::string result(resolved);
    std::free(resolved);
    return result;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return "";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

void makeFolders(const std::string& path) {
    if (path.empty())
        return;
    std::string current;
    size_t i = 0;
    while (i <= path.size()) {
        size_t next = path.find('/', i);
        if (next == std::string::npos)
            next = path.size();
        current = path.substr(0, next);
        i = next + 1;
        if (current.empty())
            continue;
        checkFault("create folder", current);
        if (::mkdir(current.c_str(), 0755) != 0 && errno != EEXIST)
            throw InOutError::fromErrno("create folder", current, errno);
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw InOutError::fromErrno("create folder", path, ENOTDIR);
}

} // namespace tagvane
