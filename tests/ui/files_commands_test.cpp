// The file commands "Play File", "Kill Tag" and "Delete File", and the About page's buttons.

#include "files_fixture.h"

#include "id3v2/Idtag24.h"

#include <QToolButton>

namespace tagvane::testing {
namespace {

class CommandsTest : public FilesTest {
public:
    void expectSelectFileError() const {
        const auto messages = platform.callsOf(QStringLiteral("message"));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].message.title, QStringLiteral("Error"));
        EXPECT_EQ(messages[0].message.text, QStringLiteral("Please select file from selection list"));
        EXPECT_EQ(messages[0].message.icon, UiPlatform::Icon::Warning);
        EXPECT_EQ(messages[0].message.buttons, int(UiPlatform::Button::Ok));
    }

    void expectCaution(const QString &text) const {
        const auto messages = platform.callsOf(QStringLiteral("message"));
        ASSERT_GE(messages.size(), 1u);
        EXPECT_EQ(messages[0].message.title, QStringLiteral("Caution"));
        EXPECT_EQ(messages[0].message.text, text);
        EXPECT_EQ(messages[0].message.icon, UiPlatform::Icon::Question);
        EXPECT_EQ(messages[0].message.buttons, int(UiPlatform::Button::Yes) | int(UiPlatform::Button::No));
        EXPECT_EQ(messages[0].message.defaultButton, UiPlatform::Button::No);
    }

    void press(QToolButton *button, std::deque<UiPlatform::Button> answers = {}) {
        platform.calls.clear();
        platform.messageAnswers = std::move(answers);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // A song whose ID3v2 tag holds a title of the given length and padding.
    void makeTagged(const QString &name, size_t titleLength) const {
        makeSong(name, {"Artist", std::string(titleLength, 't')});
    }

    static uint32_t tagSize(const QByteArray &file) {
        return DecodeSyncsafe(uint8_t(file[6]), uint8_t(file[7]), uint8_t(file[8]), uint8_t(file[9]));
    }

    // The file as Kill Tag leaves it: same length, a 2.4 header of the old
    // size, zeros to the old tag's end, the rest unchanged.
    static void expectBlanked(const QByteArray &before, const QByteArray &after) {
        ASSERT_EQ(after.size(), before.size());
        const uint32_t size = tagSize(before);
        EXPECT_EQ(after.left(6), QByteArray("ID3\x04\x00\x00", 6));
        EXPECT_EQ(tagSize(after), size);
        EXPECT_EQ(after.mid(10, size), QByteArray(int(size), '\0'));
        EXPECT_EQ(after.mid(10 + size), before.mid(10 + size));
    }
};

TEST_F(CommandsTest, WithoutASelectedRowPlayAndDeleteAskForOneAndKillTagIsSilent) {
    makeTagged(QStringLiteral("a.mp3"), 10);
    const QByteArray before = bytes(music(QStringLiteral("a.mp3")));
    select({0});
    ASSERT_FALSE(form->selectionHasSelectedRow());

    press(form->ToolButton9);
    expectSelectFileError();
    EXPECT_TRUE(platform.callsOf(QStringLiteral("shellOpen")).empty());
    press(form->ToolButton11);
    expectSelectFileError();
    press(form->ToolButton10);
    EXPECT_TRUE(platform.calls.empty());
    EXPECT_EQ(bytes(music(QStringLiteral("a.mp3"))), before);
    EXPECT_EQ(form->selectionCount(), 1);

    // A selected row but a current item outside the selection list.
    clickRow(form->selectionList, 0);
    form->current.clear();
    press(form->ToolButton9);
    expectSelectFileError();
    press(form->ToolButton11);
    expectSelectFileError();
    press(form->ToolButton10, {UiPlatform::Button::Yes});
    EXPECT_EQ(bytes(music(QStringLiteral("a.mp3"))), before);
    EXPECT_EQ(form->selectionCount(), 1);
}

TEST_F(CommandsTest, PlayHandsTheFileToTheShellInItsOwnFolder) {
    makeTagged(QStringLiteral("a.mp3"), 10);
    makeTagged(QStringLiteral("b c.mp3"), 10);
    select({0, 1});
    clickRow(form->selectionList, 1);
    platform.shellResult = false; // a failing opener is not reported
    press(form->ToolButton9);
    const auto opens = platform.callsOf(QStringLiteral("shellOpen"));
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].target, music(QStringLiteral("b c.mp3")));
    EXPECT_EQ(opens[0].workingFolder, musicDir.path() + QLatin1Char('/'));
    EXPECT_TRUE(platform.callsOf(QStringLiteral("message")).empty());
}

TEST_F(CommandsTest, AboutButtonsOpenMailAndWebAddresses) {
    struct Case {
        QPushButton *button;
        QString target;
    };
    const QString mail = QStringLiteral("mailto:") + QLatin1String(TForm1::authorMail);
    const Case cases[] = {
        {form->registerButton, mail + QStringLiteral("?subject=Registration")},
        {form->reportBugButton, mail + QStringLiteral("?subject=Bug Report")},
        {form->checkVersionButton, QStringLiteral("https://") + QLatin1String(TForm1::authorWebPage)},
    };
    form->showPage(TForm1::AboutPage);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        platform.calls.clear();
        QTest::mouseClick(c.button, Qt::LeftButton);
        const auto opens = platform.callsOf(QStringLiteral("shellOpen"));
        ASSERT_EQ(opens.size(), 1u);
        EXPECT_EQ(opens[0].target, c.target);
        EXPECT_TRUE(opens[0].workingFolder.isEmpty());
    }
    EXPECT_FALSE(QString::fromLatin1(TForm1::authorWebPage).contains(QStringLiteral("://")));
}

TEST_F(CommandsTest, KillTagBlanksTheTagOnYesOnly) {
    makeTagged(QStringLiteral("a.mp3"), 40);
    const QByteArray before = bytes(music(QStringLiteral("a.mp3")));
    ASSERT_TRUE(before.startsWith("ID3"));
    select({0});
    clickRow(form->selectionList, 0);

    press(form->ToolButton10, {UiPlatform::Button::No});
    expectCaution(QStringLiteral("Do you realy want to kill tag from selected file?"));
    EXPECT_EQ(bytes(music(QStringLiteral("a.mp3"))), before);

    press(form->ToolButton10, {UiPlatform::Button::Yes});
    const QByteArray after = bytes(music(QStringLiteral("a.mp3")));
    expectBlanked(before, after);
    // Read again, the tag holds no frames; the ID3v1 block is untouched.
    ID3v24 check;
    check.FileName = music(QStringLiteral("a.mp3")).toStdString();
    check.ReadTag(std::string(), false);
    EXPECT_TRUE(check.Id3v2present);
    EXPECT_EQ(check.Title, "");
    EXPECT_EQ(check.LeadPerformer, "");
    EXPECT_EQ(after.mid(after.size() - 128, 3), QByteArray("TAG"));
    // The selection list is as it was.
    EXPECT_EQ(selectionColumn(1), QStringList{QStringLiteral("a.mp3")});
}

TEST_F(CommandsTest, KillTagLeavesAFileWithoutID3v2Alone) {
    makeSong(QStringLiteral("plain.mp3"), {"", "", true});
    const QByteArray before = bytes(music(QStringLiteral("plain.mp3")));
    ASSERT_FALSE(before.startsWith("ID3"));
    select({0});
    clickRow(form->selectionList, 0);
    press(form->ToolButton10, {UiPlatform::Button::Yes});
    EXPECT_EQ(bytes(music(QStringLiteral("plain.mp3"))), before);
    EXPECT_EQ(platform.callsOf(QStringLiteral("message")).size(), 1u); // only the question
}

TEST_F(CommandsTest, KillTagOnFileBAfterFileAWasShownBlanksExactlyB) {
    // Both orders: A's tag larger and smaller than B's.
    for (const size_t aTitle : {size_t{3000}, size_t{5}}) {
        SCOPED_TRACE(aTitle);
        QTest::mouseClick(form->removeAllButton, Qt::LeftButton);
        makeTagged(QStringLiteral("a.mp3"), aTitle);
        makeTagged(QStringLiteral("b.mp3"), 300);
        const QByteArray aBefore = bytes(music(QStringLiteral("a.mp3")));
        const QByteArray bBefore = bytes(music(QStringLiteral("b.mp3")));
        ASSERT_NE(tagSize(aBefore), tagSize(bBefore));
        // The editor showed A: the tag component holds A's tag in full.
        form->tag24->FileName = music(QStringLiteral("a.mp3")).toStdString();
        form->tag24->ReadTag(form->pictureFolder().toStdString(), false);
        ASSERT_EQ(form->tag24->Title.size(), aTitle);

        select({0, 1});
        clickRow(form->selectionList, 1);
        press(form->ToolButton10, {UiPlatform::Button::Yes});
        EXPECT_EQ(bytes(music(QStringLiteral("a.mp3"))), aBefore);
        expectBlanked(bBefore, bytes(music(QStringLiteral("b.mp3"))));
        // The header read left the component's values as they were.
        EXPECT_EQ(form->tag24->Title.size(), aTitle);
        EXPECT_EQ(form->tag24->OldTagSize(), tagSize(bBefore));
    }
}

TEST_F(CommandsTest, BackOnTheMp3FileTabCommandsActOnTheFirstRow) {
    for (const char *n : {"a.mp3", "b.mp3", "c.mp3"})
        makeTagged(QString::fromLatin1(n), 20);
    const QByteArray cBefore = bytes(music(QStringLiteral("c.mp3")));
    const QByteArray aBefore = bytes(music(QStringLiteral("a.mp3")));
    select({0, 1, 2});
    clickRow(form->selectionList, 2);
    form->showBrowsingSide(); // as the return to the "Mp3 File" tab does
    ASSERT_TRUE(form->selectionList->selectionModel()->isRowSelected(2, QModelIndex()));

    press(form->ToolButton9);
    ASSERT_EQ(platform.callsOf(QStringLiteral("shellOpen")).size(), 1u);
    EXPECT_EQ(platform.callsOf(QStringLiteral("shellOpen"))[0].target, music(QStringLiteral("a.mp3")));
    press(form->ToolButton10, {UiPlatform::Button::Yes});
    expectBlanked(aBefore, bytes(music(QStringLiteral("a.mp3"))));
    EXPECT_EQ(bytes(music(QStringLiteral("c.mp3"))), cBefore);
}

TEST_F(CommandsTest, DeleteFileErasesTheFileAndItsRow) {
    for (const char *n : {"1.mp3", "2.mp3", "3.mp3", "4.mp3", "5.mp3"})
        makeTagged(QString::fromLatin1(n), 5);
    select({0, 1, 2, 3, 4});
    clickRow(form->selectionList, 2);

    press(form->ToolButton11, {UiPlatform::Button::No});
    expectCaution(QStringLiteral("Do you realy want to delete this file from your hard disk?"));
    EXPECT_TRUE(QFile::exists(music(QStringLiteral("3.mp3"))));
    EXPECT_EQ(form->selectionCount(), 5);

    press(form->ToolButton11, {UiPlatform::Button::Yes});
    EXPECT_FALSE(QFile::exists(music(QStringLiteral("3.mp3"))));
    EXPECT_EQ(selectionColumn(0),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
    EXPECT_EQ(selectionColumn(1), (QStringList{QStringLiteral("1.mp3"), QStringLiteral("2.mp3"), QStringLiteral("4.mp3"),
                                               QStringLiteral("5.mp3")}));
    EXPECT_FALSE(fileListNames().contains(QStringLiteral("3.mp3")));
    EXPECT_EQ(fileListNames().size(), 4);
    EXPECT_EQ(platform.callsOf(QStringLiteral("message")).size(), 1u);
}

TEST_F(CommandsTest, DeleteFileThatCannotBeErasedKeepsItsRow) {
    struct Case {
        const char *what;
        std::function<void(const QString &)> spoil;
    };
    const Case cases[] = {
        {"missing", [](const QString &p) { QFile::remove(p); }},
        {"a folder took its name",
         [](const QString &p) {
             QFile::remove(p);
             QDir().mkpath(p + QStringLiteral("/inside"));
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QTest::mouseClick(form->removeAllButton, Qt::LeftButton);
        QDir(music(QStringLiteral("x.mp3"))).removeRecursively();
        makeTagged(QStringLiteral("x.mp3"), 5);
        select({0});
        clickRow(form->selectionList, 0);
        c.spoil(music(QStringLiteral("x.mp3")));
        press(form->ToolButton11, {UiPlatform::Button::Yes});
        const auto messages = platform.callsOf(QStringLiteral("message"));
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[1].message.title, QStringLiteral("Tagvane v. 1.2"));
        EXPECT_EQ(messages[1].message.icon, UiPlatform::Icon::Error);
        EXPECT_TRUE(messages[1].message.text.contains(music(QStringLiteral("x.mp3"))));
        EXPECT_EQ(selectionColumn(1), QStringList{QStringLiteral("x.mp3")});
    }
    EXPECT_TRUE(QDir(music(QStringLiteral("x.mp3"))).exists(QStringLiteral("inside")));
}

} // namespace
} // namespace tagvane::testing
