#include "platform/rename.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/InOutError.h"

namespace tagvane {

namespace {

[[noreturn]] void fail(const std::string &from, int err) {
    throw InOutError::fromErrno("rename", from, err);
}

bool flagRefused(int err) {
    return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP;
}

// Returns 0 or the errno of the failed call; EEXIST when `to` exists.
int tryRenameNoReplace(const std::string &from, const std::string &to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    return errno;
}

int tryRenameByLink(const std::string &from, const std::string &to) {
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    if (::unlink(from.c_str()) != 0) {
        const int err = errno;
        ::unlink(to.c_str()); // take the new name back, so the file keeps one name
        return err;
    }
    return 0;
}

// One rename that never replaces, with the fallback for file systems that
// refuse the flag.
int tryMove(const std::string &from, const std::string &to) {
    const int err = tryRenameNoReplace(from, to);
    if (!flagRefused(err))
        return err;
    return tryRenameByLink(from, to);
}

std::string_view nameOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

bool sameEntry(const struct stat &a, const struct stat &b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

namespace rename_detail {

void renameByLink(const std::string &from, const std::string &to) {
    if (const int err = tryRenameByLink(from, to))
        fail(from, err);
}

void renameViaTemporary(const std::string &from, const std::string &to) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = folderOf(to);
    std::string temporary;
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
        temporary = (folder == "/" ? "" : folder) + "/.tagvane-rename-" + std::to_string(::getpid()) + "-" +
                    std::to_string(counter++);
        err = tryMove(from, temporary);
    }
    if (err)
        fail(from, err);
    if (const int second = tryMove(temporary, to)) {
        // Put the file back under its old name before reporting.
        tryMove(temporary, from);
        fail(from, second);
    }
}

} // namespace rename_detail

void renameNoReplace(const std::string &from, const std::string &to) {
    struct stat source {};
    if (::lstat(from.c_str(), &source) != 0)
        fail(from, errno);
    if (from == to)
        return;
    struct stat target {};
    if (::lstat(to.c_str(), &target) == 0) {
        struct stat fromFolder {
        }, toFolder{};
        const bool sameFile = sameEntry(source, target) && ::stat(folderOf(from).c_str(), &fromFolder) == 0 &&
                              ::stat(folderOf(to).c_str(), &toFolder) == 0 && sameEntry(fromFolder, toFolder) &&
                              equalIgnoringCase(nameOf(from), nameOf(to));
        if (!sameFile)
            fail(from, EEXIST);
        if (nameOf(from) == nameOf(to))
            return; // the same name, spelled through another path
        rename_detail::renameViaTemporary(from, to);
        return;
    }
    if (const int err = tryMove(from, to))
        fail(from, err);
}

} // namespace tagvane
