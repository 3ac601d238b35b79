#include "platform/InOutError.h"
#include "platform/rename.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

namespace fs = std::filesystem;
using tagvane::InOutError;
using tagvane::renameNoReplace;

namespace {

struct TempFolder {
    fs::path path;
    TempFolder() {
        char pattern[] = "/tmp/tagvane-rename-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string operator/(const std::string &name) const { return (path / name).string(); }
    std::set<std::string> names() const {
        std::set<std::string> out;
        for (const auto &entry : fs::directory_iterator(path))
            out.insert(entry.path().filename().string());
        return out;
    }
};

std::string readAll(const std::string &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeAll(const std::string &p, const std::string &bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

using RenameFunction = std::function<void(const std::string &, const std::string &)>;

// The public function and both of its ways must all refuse to replace.
const std::pair<const char *, RenameFunction> ways[] = {
    {"renameNoReplace", renameNoReplace},
    {"renameByLink", tagvane::rename_detail::renameByLink},
    {"renameViaTemporary", tagvane::rename_detail::renameViaTemporary},
};

} // namespace

TEST(RenameNoReplace, MovesTheFile) {
    for (const auto &[what, rename] : ways) {
        TempFolder dir;
        writeAll(dir / "old.mp3", "audio");
        rename(dir / "old.mp3", dir / "ABBA - Waterloo \xC3\xBC.mp3");
        EXPECT_EQ(dir.names(), (std::set<std::string>{"ABBA - Waterloo \xC3\xBC.mp3"})) << what;
        EXPECT_EQ(readAll(dir / "ABBA - Waterloo \xC3\xBC.mp3"), "audio") << what;
    }
}

TEST(RenameNoReplace, NeverReplacesAnotherFile) {
    for (const auto &[what, rename] : ways) {
        TempFolder dir;
        writeAll(dir / "a.mp3", "first");
        writeAll(dir / "b.mp3", "second");
        EXPECT_THROW(rename(dir / "a.mp3", dir / "b.mp3"), InOutError) << what;
        EXPECT_EQ(readAll(dir / "a.mp3"), "first") << what;
        EXPECT_EQ(readAll(dir / "b.mp3"), "second") << what;
        EXPECT_EQ(dir.names(), (std::set<std::string>{"a.mp3", "b.mp3"})) << what; // no temporary left
    }
}

TEST(RenameNoReplace, ClashesWithEveryKindOfExistingName) {
    struct Case {
        const char *what;
        std::function<void(const TempFolder &)> makeTarget;
    } cases[] = {
        {"a folder", [](const TempFolder &d) { fs::create_directory(d / "t.mp3"); }},
        {"a dangling link", [](const TempFolder &d) { fs::create_symlink(d / "nowhere", d / "t.mp3"); }},
        {"a link to the file itself", [](const TempFolder &d) { fs::create_symlink(d / "s.mp3", d / "t.mp3"); }},
        {"another hard link to the file", [](const TempFolder &d) { fs::create_hard_link(d / "s.mp3", d / "t.mp3"); }},
        {"the same file under other case on a file system that keeps case",
         [](const TempFolder &d) { fs::create_hard_link(d / "s.mp3", d / "T.MP3"); }},
    };
    for (const auto &c : cases) {
        TempFolder dir;
        writeAll(dir / "s.mp3", "source");
        c.makeTarget(dir);
        const auto before = dir.names();
        const std::string target = before.count("T.MP3") ? dir / "T.MP3" : dir / "t.mp3";
        try {
            renameNoReplace(dir / "s.mp3", target);
            ADD_FAILURE() << c.what << ": no clash reported";
        } catch (const InOutError &e) {
            EXPECT_NE(std::string(e.what()).find("s.mp3"), std::string::npos) << e.what();
        }
        EXPECT_EQ(dir.names(), before) << c.what;
        EXPECT_EQ(readAll(dir / "s.mp3"), "source") << c.what;
    }
}

TEST(RenameNoReplace, TheSameNameChangesNothing) {
    TempFolder dir;
    writeAll(dir / "a.mp3", "audio");
    fs::create_directory(dir.path / "sub");
    renameNoReplace(dir / "a.mp3", dir / "a.mp3");
    // The same entry reached through another spelling of its folder.
    renameNoReplace(dir / "sub/../a.mp3", dir / "a.mp3");
    renameNoReplace(dir / "./a.mp3", dir / "a.mp3");
    EXPECT_EQ(dir.names(), (std::set<std::string>{"a.mp3", "sub"}));
    EXPECT_EQ(readAll(dir / "a.mp3"), "audio");
    EXPECT_THROW(renameNoReplace(dir / "missing.mp3", dir / "missing.mp3"), InOutError);
}

TEST(RenameNoReplace, FailuresLeaveTheSourceInPlace) {
    TempFolder dir;
    writeAll(dir / "a.mp3", "audio");
    struct Case {
        const char *what;
        std::string from, to;
    } cases[] = {
        {"missing source", dir / "none.mp3", dir / "b.mp3"},
        {"missing target folder", dir / "a.mp3", dir / "no/b.mp3"},
        {"target below a file", dir / "a.mp3", dir / "a.mp3/b.mp3"},
        {"empty target", dir / "a.mp3", ""},
    };
    for (const auto &c : cases) {
        for (const auto &[what, rename] : ways)
            EXPECT_THROW(rename(c.from, c.to), InOutError) << c.what << " / " << what;
        EXPECT_EQ(dir.names(), (std::set<std::string>{"a.mp3"})) << c.what;
    }
    EXPECT_EQ(readAll(dir / "a.mp3"), "audio");
}

// On a file system that ignores case the new spelling is the same entry as the
// old one; the way through a temporary name is what changes its case there.
// Here it is checked on its own, on a file system that keeps case.
TEST(RenameNoReplace, ViaTemporaryChangesOnlyTheSpelling) {
    TempFolder dir;
    writeAll(dir / "abba - waterloo.mp3", "audio");
    tagvane::rename_detail::renameViaTemporary(dir / "abba - waterloo.mp3", dir / "ABBA - Waterloo.mp3");
    EXPECT_EQ(dir.names(), (std::set<std::string>{"ABBA - Waterloo.mp3"}));
    EXPECT_EQ(readAll(dir / "ABBA - Waterloo.mp3"), "audio");
}

TEST(RenameNoReplace, MovesIntoAnotherFolderOfTheSameFileSystem) {
    TempFolder dir;
    fs::create_directory(dir.path / "sub");
    writeAll(dir / "a.mp3", "audio");
    renameNoReplace(dir / "a.mp3", dir / "sub/a.mp3");
    EXPECT_EQ(readAll(dir / "sub/a.mp3"), "audio");
    EXPECT_FALSE(fs::exists(dir.path / "a.mp3"));
}
