// The Turbo Renamer page: the template list, its preview and the batch rename.

#include "files_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>

namespace tagvane::testing {
namespace {

class RenamerTest : public FilesTest {
public:
    void addTemplate(const QString &prefix, const QString &frameName, const QString &suffix) const {
        form->prefixEdit->setText(prefix);
        form->frameNameCombo->setCurrentIndex(frameName.isEmpty() ? -1 : form->frameNameCombo->findText(frameName));
        form->suffixEdit->setText(suffix);
        QTest::mouseClick(form->templateAddButton, Qt::LeftButton);
    }

    QStringList templateRow(int r) const {
        const QTreeWidgetItem *row = form->templateList->topLevelItem(r);
        return {row->text(0), row->text(1), row->text(2)};
    }

    // Answers the "Caution" question and starts the batch.
    void rename(UiPlatform::Button answer = UiPlatform::Button::Yes) {
        QTest::mouseClick(form->ToolButton8, Qt::LeftButton);
        platform.calls.clear();
        platform.messageAnswers = {answer};
        QTest::mouseClick(form->renameButton, Qt::LeftButton);
    }

    void expectCautionAsked() const {
        const auto messages = platform.callsOf(QStringLiteral("message"));
        ASSERT_GE(messages.size(), 1u);
        const auto &m = messages[0].message;
        EXPECT_EQ(m.title, QStringLiteral("Caution"));
        EXPECT_EQ(m.text, QStringLiteral("Do you realy want to rename all files in the selection list?"));
        EXPECT_EQ(m.icon, UiPlatform::Icon::Question);
        EXPECT_EQ(m.buttons, int(UiPlatform::Button::Yes) | int(UiPlatform::Button::No));
        EXPECT_EQ(m.defaultButton, UiPlatform::Button::No);
    }

    int page() const { return form->pageArea->currentIndex(); }
};

TEST_F(RenamerTest, PrefixOrSuffixWithAForbiddenCharacterIsRefused) {
    struct Case {
        QString prefix, suffix;
        bool refused;
    };
    const Case cases[] = {
        {QStringLiteral("?"), QString(), true},
        {QString(), QStringLiteral("a*b"), true},
        {QStringLiteral("a\\b"), QString(), true},
        {QString(), QStringLiteral("\\"), true},
        {QStringLiteral("a.b"), QString(), false},
        {QStringLiteral("a/b"), QStringLiteral(" - "), false}, // the name builder replaces the slash
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.prefix.toStdString() + "|" + c.suffix.toStdString());
        const int before = form->templateList->topLevelItemCount();
        platform.calls.clear();
        addTemplate(c.prefix, QStringLiteral("Title"), c.suffix);
        const auto messages = platform.callsOf(QStringLiteral("message"));
        if (c.refused) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].message.title, QStringLiteral("Warning"));
            EXPECT_EQ(messages[0].message.text,
                      QStringLiteral("File name cannot contain *, ?, \\. Please replace these chars."));
            EXPECT_EQ(messages[0].message.icon, UiPlatform::Icon::Error);
            EXPECT_EQ(messages[0].message.buttons, int(UiPlatform::Button::Ok));
            EXPECT_EQ(form->templateList->topLevelItemCount(), before);
        } else {
            EXPECT_TRUE(messages.empty());
            ASSERT_EQ(form->templateList->topLevelItemCount(), before + 1);
            EXPECT_EQ(templateRow(before), (QStringList{c.prefix, QStringLiteral("Title"), c.suffix}));
        }
        // The fields keep what the user typed.
        EXPECT_EQ(form->prefixEdit->text(), c.prefix);
        EXPECT_EQ(form->suffixEdit->text(), c.suffix);
    }
}

TEST_F(RenamerTest, PreviewShowsTheFrameNamesThemselves) {
    EXPECT_EQ(form->renamePreview->text(), QStringLiteral(".mp3")); // the start builds it from no rows
    addTemplate(QString(), QStringLiteral("Artist"), QStringLiteral(" - "));
    EXPECT_EQ(form->renamePreview->text(), QStringLiteral("Artist - .mp3"));
    addTemplate(QString(), QStringLiteral("Title"), QString());
    EXPECT_EQ(form->renamePreview->text(), QStringLiteral("Artist - Title.mp3"));
    // No frame name chosen: added all the same, with an empty frame name.
    addTemplate(QStringLiteral("["), QString(), QStringLiteral("]"));
    EXPECT_EQ(templateRow(2), (QStringList{QStringLiteral("["), QString(), QStringLiteral("]")}));
    EXPECT_EQ(form->renamePreview->text(), QStringLiteral("Artist - Title[].mp3"));

    // Delete with no row selected does nothing; with one, removes it.
    form->templateList->clearSelection();
    QTest::mouseClick(form->templateDeleteButton, Qt::LeftButton);
    EXPECT_EQ(form->templateList->topLevelItemCount(), 3);
    form->templateList->topLevelItem(0)->setSelected(true);
    QTest::mouseClick(form->templateDeleteButton, Qt::LeftButton);
    ASSERT_EQ(form->templateList->topLevelItemCount(), 2);
    EXPECT_EQ(templateRow(0), (QStringList{QString(), QStringLiteral("Title"), QString()}));
    EXPECT_EQ(form->renamePreview->text(), QStringLiteral("Title[].mp3"));
}

TEST_F(RenamerTest, TwoFilesGetTheirOwnArtistAndTitle) {
    makeSong(QStringLiteral("a.mp3"), {"ABBA", "Waterloo"});
    makeSong(QStringLiteral("b.mp3"), {"Beatles", "Help!", false});
    const QByteArray aBytes = bytes(music(QStringLiteral("a.mp3")));
    addTemplate(QString(), QStringLiteral("Artist"), QStringLiteral(" - "));
    addTemplate(QString(), QStringLiteral("Title"), QString());
    select({0, 1});

    rename();
    expectCautionAsked();
    EXPECT_EQ(musicFiles(), (QStringList{QStringLiteral("ABBA - Waterloo.mp3"), QStringLiteral("Beatles - Help!.mp3")}));
    EXPECT_EQ(bytes(music(QStringLiteral("ABBA - Waterloo.mp3"))), aBytes); // renamed, not rewritten
    EXPECT_EQ(selectionColumn(1), (QStringList{QStringLiteral("ABBA - Waterloo.mp3"), QStringLiteral("Beatles - Help!.mp3")}));
    EXPECT_EQ(selectionColumn(0), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(form->renamerCounter->text(), QStringLiteral("2 of 2"));
    EXPECT_EQ(form->renamerProgress->value(), 100);
    // The end: file browser page, "File Browser" pressed, the list re-read.
    EXPECT_EQ(page(), TForm1::FileBrowserPage);
    EXPECT_TRUE(form->ToolButton13->isChecked());
    EXPECT_EQ(form->leftTab(), TForm1::Mp3FileTab);
    EXPECT_EQ(fileListNames(), (QStringList{QStringLiteral("ABBA - Waterloo.mp3"), QStringLiteral("Beatles - Help!.mp3")}));
    // The tag components hold the last file with its old name.
    EXPECT_EQ(form->tag24->FileName, music(QStringLiteral("b.mp3")).toStdString());
    EXPECT_EQ(form->tag24->Title, "Help!");

    // Showing the page again resets progress and counter; the list stays.
    QTest::mouseClick(form->ToolButton8, Qt::LeftButton);
    EXPECT_EQ(form->renamerProgress->value(), 0);
    EXPECT_EQ(form->renamerCounter->text(), QStringLiteral("0 of 0"));
    EXPECT_EQ(form->templateList->topLevelItemCount(), 2);
}

TEST_F(RenamerTest, ClashesGetTheRowNumberInFrontAndNeverReplaceAFile) {
    makeSong(QStringLiteral("a.mp3"), {"ABBA", "Waterloo"});
    makeSong(QStringLiteral("b.mp3"), {"ABBA", "Waterloo"});
    makeSong(QStringLiteral("c.mp3"), {"Queen", "Innuendo"});
    // Not in the list: a file already named like c's new name.
    const QString existing = music(QStringLiteral("Queen - Innuendo.mp3"));
    writeBytes(existing, QByteArray("precious bytes, not an MP3"));
    addTemplate(QString(), QStringLiteral("Artist"), QStringLiteral(" - "));
    addTemplate(QString(), QStringLiteral("Title"), QString());
    select({0, 1, 2});

    rename();
    EXPECT_EQ(selectionColumn(1), (QStringList{QStringLiteral("ABBA - Waterloo.mp3"), QStringLiteral("2ABBA - Waterloo.mp3"),
                                               QStringLiteral("3Queen - Innuendo.mp3")}));
    EXPECT_EQ(musicFiles(), (QStringList{QStringLiteral("2ABBA - Waterloo.mp3"), QStringLiteral("3Queen - Innuendo.mp3"),
                                         QStringLiteral("ABBA - Waterloo.mp3"), QStringLiteral("Queen - Innuendo.mp3")}));
    EXPECT_EQ(bytes(existing), QByteArray("precious bytes, not an MP3"));
    EXPECT_EQ(form->renamerCounter->text(), QStringLiteral("3 of 3"));
    // Nothing is reported for a clash.
    EXPECT_EQ(platform.callsOf(QStringLiteral("message")).size(), 1u);
}

TEST_F(RenamerTest, EmptyValuesNameEveryFileDotMp3WithNumbersAfterTheFirst) {
    makeSong(QStringLiteral("a.mp3"), {"", "", false});
    makeSong(QStringLiteral("b.mp3"), {"", "", false});
    addTemplate(QString(), QStringLiteral("Composer"), QString());
    select({0, 1});
    rename();
    EXPECT_EQ(musicFiles(), (QStringList{QStringLiteral(".mp3"), QStringLiteral("2.mp3")}));
}

TEST_F(RenamerTest, AFileAlreadyCarryingItsNewNameKeepsIt) {
    makeSong(QStringLiteral("Waterloo.mp3"), {"ABBA", "Waterloo"});
    addTemplate(QString(), QStringLiteral("Title"), QString());
    select({0});
    rename();
    EXPECT_EQ(musicFiles(), QStringList{QStringLiteral("Waterloo.mp3")});
    EXPECT_EQ(selectionColumn(1), QStringList{QStringLiteral("Waterloo.mp3")});
}

TEST_F(RenamerTest, EmptyListAndNo) {
    addTemplate(QString(), QStringLiteral("Title"), QString());
    // An empty list: after "Yes" nothing is renamed and the browser page shows.
    rename();
    expectCautionAsked();
    EXPECT_EQ(page(), TForm1::FileBrowserPage);
    EXPECT_TRUE(form->ToolButton13->isChecked());
    EXPECT_EQ(form->renamerCounter->text(), QStringLiteral("0 of 0"));

    // "No" leaves the files and the page as they are.
    makeSong(QStringLiteral("a.mp3"), {"ABBA", "Waterloo"});
    select({0});
    const QByteArray before = bytes(music(QStringLiteral("a.mp3")));
    rename(UiPlatform::Button::No);
    expectCautionAsked();
    EXPECT_EQ(musicFiles(), QStringList{QStringLiteral("a.mp3")});
    EXPECT_EQ(bytes(music(QStringLiteral("a.mp3"))), before);
    EXPECT_EQ(page(), TForm1::RenamerPage);
    EXPECT_EQ(selectionColumn(1), QStringList{QStringLiteral("a.mp3")});
    EXPECT_TRUE(platform.callsOf(QStringLiteral("events")).empty());
}

TEST_F(RenamerTest, ProgressAndCounterMoveAfterEachFileWhileOtherCommandsWait) {
    for (const char *name : {"a.mp3", "b.mp3", "c.mp3"})
        makeSong(QString::fromLatin1(name), {"X", name});
    addTemplate(QStringLiteral("new "), QStringLiteral("Title"), QString());
    select({0, 1, 2});

    struct Seen {
        int progress;
        QString counter;
        bool batch;
        bool otherCommandRan;
    };
    std::vector<Seen> seen;
    platform.onProcessEvents = [&] {
        bool ran = false;
        form->runCommand([&] { ran = true; });
        seen.push_back({form->renamerProgress->value(), form->renamerCounter->text(), form->batchRunning(), ran});
    };
    rename();
    platform.onProcessEvents = nullptr;
    ASSERT_EQ(seen.size(), 3u);
    const int progress[] = {33, 67, 100};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].progress, progress[i]);
        EXPECT_EQ(seen[i].counter, QStringLiteral("%1 of 3").arg(i + 1));
        EXPECT_TRUE(seen[i].batch);
        EXPECT_FALSE(seen[i].otherCommandRan);
    }
    EXPECT_EQ(platform.callsOf(QStringLiteral("beep")).size(), 3u);
    EXPECT_FALSE(form->batchRunning());
    EXPECT_EQ(musicFiles(), (QStringList{QStringLiteral("new a.mp3.mp3"), QStringLiteral("new b.mp3.mp3"),
                                         QStringLiteral("new c.mp3.mp3")}));
}

TEST_F(RenamerTest, EightFilesRoundHalvesToEven) {
    for (int i = 0; i < 8; ++i)
        makeSong(QStringLiteral("%1.mp3").arg(i), {"X", "T" + std::to_string(i)});
    addTemplate(QString(), QStringLiteral("Title"), QString());
    select({0, 1, 2, 3, 4, 5, 6, 7});
    std::vector<int> seen;
    platform.onProcessEvents = [&] { seen.push_back(form->renamerProgress->value()); };
    rename();
    platform.onProcessEvents = nullptr;
    EXPECT_EQ(seen, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
}

TEST_F(RenamerTest, LongNamesAreCutAndNumberedNamesCutAgain) {
    // Ten files with one 300-character title: the first gets the cut name, rows
    // 2 to 9 one digit more (255, kept), row 10 two digits, cut again.
    const std::string title(300, 'x');
    for (int i = 0; i < 10; ++i)
        makeSong(QStringLiteral("%1.mp3").arg(QChar(QLatin1Char(char('a' + i)))), {"", title, false});
    addTemplate(QString(), QStringLiteral("Title"), QString());
    select({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    rename();
    const QStringList names = selectionColumn(1);
    ASSERT_EQ(names.size(), 10);
    const QString cut = QString(250, QLatin1Char('x')) + QStringLiteral(".mp3");
    EXPECT_EQ(names[0], cut);
    EXPECT_EQ(names[0].size(), 254);
    for (int i = 1; i < 9; ++i) {
        EXPECT_EQ(names[i], QString::number(i + 1) + cut);
        EXPECT_EQ(names[i].size(), 255);
    }
    EXPECT_EQ(names[9], QStringLiteral("10") + QString(248, QLatin1Char('x')) + QStringLiteral(".mp3"));
    EXPECT_EQ(names[9].size(), 254);
    for (const QString &n : names)
        EXPECT_TRUE(QFile::exists(music(n))) << n.toStdString();
}

TEST_F(RenamerTest, AFailureStopsTheBatchAtThatFile) {
    struct Case {
        const char *what;
        std::function<void(RenamerTest &)> spoil; // spoils the second file's rename or read
    };
    const Case cases[] = {
        {"folders hold both names",
         [](RenamerTest &t) {
             QDir(t.musicDir.path()).mkdir(QStringLiteral("Two.mp3"));
             QDir(t.musicDir.path()).mkdir(QStringLiteral("2Two.mp3"));
         }},
        {"file gone before its turn", [](RenamerTest &t) { QFile::remove(t.music(QStringLiteral("b.mp3"))); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(musicDir.path()).removeRecursively();
        QDir().mkpath(musicDir.path());
        QTest::mouseClick(form->removeAllButton, Qt::LeftButton);
        form->templateList->clear();
        makeSong(QStringLiteral("a.mp3"), {"X", "One"});
        makeSong(QStringLiteral("b.mp3"), {"X", "Two"});
        makeSong(QStringLiteral("c.mp3"), {"X", "Three"});
        addTemplate(QString(), QStringLiteral("Title"), QString());
        select({0, 1, 2});
        c.spoil(*this);

        rename();
        const auto messages = platform.callsOf(QStringLiteral("message"));
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[1].message.title, QStringLiteral("Tagvane v. 1.2"));
        EXPECT_EQ(messages[1].message.icon, UiPlatform::Icon::Error);
        EXPECT_TRUE(messages[1].message.text.contains(QStringLiteral("b.mp3")) ||
                    messages[1].message.text.contains(QStringLiteral("Two.mp3")))
            << messages[1].message.text.toStdString();
        // The file before stays renamed; the failing one and those after keep their names.
        EXPECT_EQ(selectionColumn(1),
                  (QStringList{QStringLiteral("One.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.mp3")}));
        EXPECT_TRUE(QFile::exists(music(QStringLiteral("One.mp3"))));
        EXPECT_TRUE(QFile::exists(music(QStringLiteral("c.mp3"))));
        EXPECT_FALSE(QFile::exists(music(QStringLiteral("Three.mp3"))));
        EXPECT_EQ(form->renamerCounter->text(), QStringLiteral("1 of 3"));
        EXPECT_EQ(form->renamerProgress->value(), 33);
        // Still on the renamer page; the file list was not re-read.
        EXPECT_EQ(page(), TForm1::RenamerPage);
        EXPECT_TRUE(fileListNames().contains(QStringLiteral("a.mp3")));
        EXPECT_FALSE(form->batchRunning());
    }
}

} // namespace
} // namespace tagvane::testing
