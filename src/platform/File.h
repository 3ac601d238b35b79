#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/InOutError.h"

namespace tagvane {

// A file handle that closes itself, even when an exception leaves the scope.
// Every failing operation throws InOutError.
class File {
public:
    enum class Mode {
        Read,           // existing file, read only
        ReadWrite,      // existing file, read and write
        CreateTruncate, // create or empty, read and write
        CreateExclusive // create a new file; fails when the name exists (no links followed)
    };

    File() = default;
    File(const std::string& path, Mode mode, unsigned permissions = 0644);
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    int descriptor() const { return fd_; }

    void seek(uint64_t offset);
    uint64_t position() const { return position_; }
    uint64_t size() const;

    // Reads up to n bytes at the current position; returns the number read (0 at end of file).
    size_t readSome(void* buffer, size_t n);
    // Reads exactly n bytes or throws (a file that ends early is an error).
    void readExact(void* buffer, size_t n);
    // Writes all n bytes.
    void write(const void* buffer, size_t n);
    // Copies n bytes of `source`, starting at `offset`, to this file's
    // position, in pieces of at most `block` bytes; inside the kernel where
    // the file system allows. A source that ends early is an error.
    void copyFrom(File& source, uint64_t offset, uint64_t n, size_t block);
    // Flushes the file's data to the disk.
    void sync();
    void close();
    // Sets the permission bits (chmod on the open file).
    void setPermissions(unsigned mode);
    // Gives the file to an owner; returns false when the process may not (not an error).
    bool setOwner(unsigned uid, unsigned gid);

    // Creates a new file named prefix + "." + six random characters with
    // O_EXCL, retrying on a clash, so it never reuses or follows an existing name.
    static File createUnique(const std::string& prefix, unsigned permissions = 0600);

private:
    int fd_ = -1;
    std::string path_;
    uint64_t position_ = 0;
};

// File system operations beside the handle; all throw InOutError on failure.
void removeFile(const std::string& path);
// Atomic rename that replaces an existing target.
void renameReplace(const std::string& from, const std::string& to);
// Flushes a folder entry list (after a rename) to the disk.
void syncFolder(const std::string& folder);
bool fileExists(const std::string& path);
// Whether the path names a folder (following links).
bool folderExists(const std::string& path);

struct FileStatus {
    unsigned mode = 0; // permission bits
    unsigned uid = 0;
    unsigned gid = 0;
    uint64_t size = 0;
};
// Status of the file a path leads to (links followed).
FileStatus fileStatus(const std::string& path);
// The absolute path with every symbolic link resolved.
std::string realPath(const std::string& path);
// The folder part of a path ("" for a bare name, "/" for a file in the root).
std::string folderOf(const std::string& path);
// Creates a folder and its missing parents.
void makeFolders(const std::string& path);

// Test hook: lets the Nth file operation from now fail with InOutError
// (1 = the next one). 0 turns it off. Counts every operation of this layer.
namespace faults {
void failOperation(long n);
long operationsSoFar();
void resetCount();
} // namespace faults

} // namespace tagvane
