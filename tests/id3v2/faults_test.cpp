// Failures at every file operation of a write, and a writer killed at random
// moments: the MP3 file is always the old one or the new one, the audio intact,
// and no temporary file is left behind by a failure.
#include "id3v2/Idtag24.h"
#include "id3v2/testutil.h"
#include "platform/File.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>
#include <vector>

using namespace tagtest;
using tagvane::ID3v24;

namespace {

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Scenario {
    const char* what;
    std::string original;
    std::function<void(ID3v24&, const TempFolder&)> change;
    bool kill;
    bool largeInPlace; // may also end as an empty tag of the old size
};

// Runs the scenario in a fresh folder; `failAt` 0 runs it without a fault.
// Returns whether the operation threw.
bool run(const Scenario& s, long failAt, TempFolder& dir) {
    writeFile(dir / "cover.jpg", audio(600000));
    writeFile(dir / "song.mp3", s.original);
    ID3v24 t;
    t.FileName = dir / "song.mp3";
    t.ReadTag(dir.pictures(), false);
    s.change(t, dir);
    tagvane::faults::failOperation(failAt);
    bool threw = false;
    try {
        if (s.kill)
            t.KillTag();
        else
            t.WriteTag();
    } catch (const tagvane::InOutError&) {
        threw = true;
    }
    tagvane::faults::failOperation(0);
    return threw;
}

} // namespace

TEST(Faults, EveryOperationOfWriteAndKillMayFail) {
    const std::string a = audio(1500000);
    auto newValues = [](ID3v24& t, const TempFolder& dir) {
        t.Title = "new title";
        t.SetComment(NUL, "eng", "a comment", t.CommentList.Count + 1);
        t.SetPicture(NUL, "Cover (front)", "image/jpeg" + NUL, dir / "cover.jpg", t.PictureList.Count + 1);
    };
    const std::vector<Scenario> scenarios = {
        {"tag fits", tag(4, frame24("TIT2", NUL + "old"), 700000) + a, newValues, false, false},
        {"tag grows", tag(3, frame23("TIT2", NUL + "old"), 100) + a, newValues, false, false},
        {"no tag, grows", a, newValues, false, false},
        {"kill", tag(4, frame24("TIT2", NUL + "old"), 3000) + a, [](ID3v24&, const TempFolder&) {}, true, false},
        {"tag over 16 MB fits", tag(4, frame24("TIT2", NUL + "old"), 17000000) + a, newValues, false, true},
    };
    for (const auto& s : scenarios) {
        std::string expected;
        std::vector<std::string> expectedNames;
        {
            TempFolder clean;
            ASSERT_FALSE(run(s, 0, clean)) << s.what;
            expected = readFile(clean / "song.mp3");
            expectedNames = namesIn(clean.path);
        }
        int failures = 0;
        for (long n = 1;; ++n) {
            ASSERT_LT(n, 1000) << s.what;
            TempFolder dir;
            const bool threw = run(s, n, dir);
            const std::string after = readFile(dir / "song.mp3");
            const bool old = after == s.original;
            const bool complete = after == expected;
            bool emptyOld = false;
            if (s.largeInPlace && !old && !complete) {
                ID3v24 check;
                check.FileName = dir / "song.mp3";
                check.ReadTag(dir.pictures(), false);
                emptyOld = after.size() == s.original.size() && check.OldTagSize() == 17000000 + 14 &&
                           check.Title.empty() && check.CommentList.Count == 0 && check.PictureList.Count == 0;
            }
            EXPECT_TRUE(old || complete || emptyOld) << s.what << ", failing operation " << n;
            EXPECT_TRUE(after.size() >= a.size() && after.compare(after.size() - a.size(), a.size(), a) == 0)
                << s.what << ", failing operation " << n;
            EXPECT_EQ(namesIn(dir.path), expectedNames) << s.what << ", failing operation " << n;
            if (!threw) {
                EXPECT_TRUE(complete) << s.what;
                break;
            }
            ++failures;
        }
        EXPECT_GE(failures, 3) << s.what; // the sweep did reach into the write
    }
}

TEST(Faults, KilledWhileGrowingLeavesOldOrNewFile) {
    TempFolder dir;
    const std::string a = audio(20 * 1024 * 1024);
    const std::string original = tag(4, frame24("TIT2", NUL + "old"), 100) + a;
    const std::string song = dir / "song.mp3";
    auto grow = [&] {
        ID3v24 t;
        t.FileName = song;
        t.ReadTag(dir.pictures(), false);
        t.Title = std::string(5000, 'n');
        t.WriteTag();
    };
    writeFile(song, original);
    const auto start = std::chrono::steady_clock::now();
    grow();
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const std::string expected = readFile(song);
    ASSERT_NE(expected, original);

    std::mt19937 random(20261211);
    std::uniform_int_distribution<long> moment(0, took.count() * 5 / 4);
    int sawOld = 0, sawNew = 0;
    std::string current = expected;
    for (int i = 0; i < 30; ++i) {
        if (current != original)
            writeFile(song, original);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                grow();
            } catch (...) {
                std::_Exit(2);
            }
            std::_Exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << "the child's write failed";
        current = readFile(song);
        const bool isOld = current == original;
        const bool isNew = current == expected;
        EXPECT_TRUE(isOld || isNew) << "kill " << i;
        sawOld += isOld;
        sawNew += isNew;
        // A killed writer cannot clean up; its temporary file is all that may remain.
        for (const auto& name : namesIn(dir.path)) {
            if (name != "song.mp3" && name != "pictures") {
                EXPECT_EQ(name.rfind("song.tmp.", 0), 0u) << name;
            }
        }
        for (const auto& name : namesIn(dir.path))
            if (name.rfind("song.tmp.", 0) == 0)
                fs::remove(dir.path / name);
    }
    std::cout << "killed 30 writers: " << sawOld << " left the old file, " << sawNew << " the new one\n";
}
