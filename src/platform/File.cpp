#include "platform/File.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tagvane {

InOutError InOutError::fromErrno(const std::string& operation, const std::string& path, int err) {
    return InOutError("Cannot " + operation + " file \"" + path + "\": " + std::strerror(err));
}

namespace faults {
namespace {
long failAt = 0;
long count = 0;
} // namespace
void failOperation(long n) { failAt = n > 0 ? count + n : 0; }
long operationsSoFar() { return count; }
void resetCount() { count = 0; failAt = 0; }
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
    case File::Mode::Read: return O_RDONLY;
    case File::Mode::ReadWrite: return O_RDWR;
    case File::Mode::CreateTruncate: return O_RDWR | O_CREAT | O_TRUNC;
    case File::Mode::CreateExclusive: return O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
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
