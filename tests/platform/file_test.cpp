#include "platform/File.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using tagvane::File;
using tagvane::InOutError;

namespace {

struct TempFolder {
    fs::path path;
    TempFolder() {
        char pattern[] = "/tmp/tagvane-test-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { fs::remove_all(path); }
};

std::string messageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const InOutError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(File, WritesReadsAndSeeks) {
    TempFolder dir;
    const std::string p = dir.path / "a.bin";
    {
        File f(p, File::Mode::CreateTruncate);
        f.write("abcdef", 6);
        EXPECT_EQ(f.size(), 6u);
        f.seek(2);
        f.write("XY", 2);
    }
    File f(p, File::Mode::Read);
    char buf[6];
    f.readExact(buf, 6);
    EXPECT_EQ(std::string(buf, 6), "abXYef");
    EXPECT_EQ(f.readSome(buf, 6), 0u);
}

TEST(File, FailuresNameOperationPathAndReason) {
    TempFolder dir;
    const std::string missing = (dir.path / "no" / "a.mp3").string();
    struct Case {
        const char* what;
        std::function<void()> run;
        std::string expected;
    };
    const std::string existing = dir.path / "e.bin";
    {
        File f(existing, File::Mode::CreateTruncate);
        f.write("x", 1);
    }
    std::vector<Case> cases = {
        {"open missing", [&] { File f(missing, File::Mode::Read); },
         "Cannot open file \"" + missing + "\": No such file or directory"},
        {"create in missing folder", [&] { File f(missing, File::Mode::CreateTruncate); },
         "Cannot create file \"" + missing + "\": No such file or directory"},
        {"exclusive on existing", [&] { File f(existing, File::Mode::CreateExclusive); },
         "Cannot create file \"" + existing + "\": File exists"},
        {"read past end",
         [&] {
             File f(existing, File::Mode::Read);
             char b[4];
             f.readExact(b, 4);
         },
         "Cannot read file \"" + existing + "\": Read beyond end of file"},
        {"folder as file", [&] { File f(dir.path.string(), File::Mode::ReadWrite); },
         "Cannot open file \"" + dir.path.string() + "\": Is a directory"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messageOf(c.run), c.expected) << c.what;
}

TEST(File, InjectedFaultHitsTheNthOperation) {
    TempFolder dir;
    const std::string p = dir.path / "a.bin";
    File f(p, File::Mode::CreateTruncate);
    tagvane::faults::failOperation(2);
    EXPECT_NO_THROW(f.write("a", 1));
    EXPECT_THROW(f.write("b", 1), InOutError);
    EXPECT_NO_THROW(f.write("c", 1)); // the fault fires once
    EXPECT_EQ(f.size(), 2u);
}

TEST(File, CreateUniqueNeverReusesAName) {
    TempFolder dir;
    const std::string prefix = (dir.path / "song.tmp").string();
    // A file and a link under the plain name stay as they are.
    {
        File f(prefix, File::Mode::CreateTruncate);
        f.write("keep", 4);
    }
    fs::create_symlink(dir.path / "elsewhere", prefix + ".link");
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) {
        File f = File::createUnique(prefix);
        EXPECT_EQ(f.path().rfind(prefix + ".", 0), 0u) << f.path();
        EXPECT_EQ(f.path().size(), prefix.size() + 7);
        names.push_back(f.path());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
    File k(prefix, File::Mode::Read);
    char buf[4];
    k.readExact(buf, 4);
    EXPECT_EQ(std::string(buf, 4), "keep");
    EXPECT_FALSE(fs::exists(dir.path / "elsewhere"));
}

TEST(File, PermissionsStatusAndPaths) {
    TempFolder dir;
    const std::string p = (dir.path / "a.bin").string();
    {
        File f(p, File::Mode::CreateTruncate);
        f.write("abc", 3);
        f.setPermissions(0640);
        EXPECT_TRUE(f.setOwner(geteuid(), getegid()));
    }
    const auto st = tagvane::fileStatus(p);
    EXPECT_EQ(st.mode, 0640u);
    EXPECT_EQ(st.size, 3u);
    EXPECT_EQ(st.uid, geteuid());
    fs::create_symlink(p, dir.path / "link.bin");
    EXPECT_EQ(tagvane::realPath((dir.path / "link.bin").string()), fs::canonical(p).string());
    EXPECT_THROW(tagvane::realPath((dir.path / "missing").string()), InOutError);
    EXPECT_EQ(tagvane::folderOf("/a/b/c.mp3"), "/a/b");
    EXPECT_EQ(tagvane::folderOf("/c.mp3"), "/");
    EXPECT_EQ(tagvane::folderOf("c.mp3"), "");
    EXPECT_TRUE(tagvane::folderExists(dir.path.string()));
    EXPECT_FALSE(tagvane::folderExists(p));
}

TEST(File, CopyFromAnotherFile) {
    TempFolder dir;
    const std::string from = (dir.path / "from.bin").string();
    std::string bytes(3000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i % 251);
    {
        File f(from, File::Mode::CreateTruncate);
        f.write(bytes.data(), bytes.size());
    }
    File source(from, File::Mode::Read);
    File out((dir.path / "to.bin").string(), File::Mode::CreateTruncate);
    out.write("head", 4);
    out.copyFrom(source, 100, 2500, 1024); // three pieces
    EXPECT_EQ(out.position(), 2504u);
    EXPECT_THROW(out.copyFrom(source, 2900, 200, 1024), InOutError); // the source ends early
    out.close();
    File check((dir.path / "to.bin").string(), File::Mode::Read);
    std::string got(2504, '\0');
    check.readExact(got.data(), got.size());
    EXPECT_EQ(got, "head" + bytes.substr(100, 2500));
}
