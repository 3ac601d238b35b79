// The start and the end of a run: the settings file, the dialog folders, the
// window position, the template list and the cleanup of the picture folder.

#include "files_fixture.h"

#include "ui/addeditimage.h"
#include "ui/addlang.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTreeWidget>

#include <cstdlib>

namespace tagvane::testing {
namespace {

class SettingsTest : public FilesTest {
public:
    QString ini() const { return QDir(programDir.path()).filePath(QStringLiteral("tagvane.ini")); }
    QString temp(const QString &name = {}) const {
        return QDir(programDir.path()).filePath(QStringLiteral("Temp/") + name);
    }

    // Ends the run (the settings are written), lets the test change the files,
    // then starts a new one with both dialogs, as the program does.
    void restart(const std::function<void()> &between = {}) {
        form.reset();
        if (between)
            between();
        form = std::make_unique<TForm1>(programDir.path(), platform);
        form->Form2 = new TForm2(platform, form.get());
        form->Form3 = new TForm3(platform, form.get());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // The folders the three file dialogs start in now.
    QString importDialogFolder() {
        platform.calls.clear();
        platform.fileAnswers = {std::nullopt};
        form->Form2->importText();
        const auto c = platform.callsOf(QStringLiteral("openFile"));
        return c.empty() ? QStringLiteral("<none>") : c[0].file.initialFolder;
    }
    QString pictureDialogFolder() {
        platform.calls.clear();
        platform.fileAnswers = {std::nullopt};
        form->Form3->loadFile();
        const auto c = platform.callsOf(QStringLiteral("openPicture"));
        return c.empty() ? QStringLiteral("<none>") : c[0].file.initialFolder;
    }

    QStringList templates() const {
        QStringList out;
        for (int r = 0; r < form->templateList->topLevelItemCount(); ++r) {
            const auto *row = form->templateList->topLevelItem(r);
            out << row->text(0) + QLatin1Char('|') + row->text(1) + QLatin1Char('|') + row->text(2);
        }
        return out;
    }

    QStringList tempFiles() const {
        return QDir(temp()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                      QDir::Name);
    }
};

TEST_F(SettingsTest, FirstStartUsesTheDefaults) {
    restart([&] { QFile::remove(ini()); });
    EXPECT_EQ(form->pos(), QPoint(73, 56));
    EXPECT_EQ(form->exportFolder, programDir.path() + QStringLiteral("/Export Images/"));
    const QString home = QDir::homePath() + QLatin1Char('/');
    EXPECT_EQ(importDialogFolder(), home);
    EXPECT_EQ(pictureDialogFolder(), home);
    EXPECT_EQ(form->templateList->topLevelItemCount(), 0);
    EXPECT_EQ(form->renamePreview->text(), QStringLiteral(".mp3"));
    EXPECT_TRUE(form->ToolButton13->isChecked());
    EXPECT_TRUE(form->ToolButton2->isChecked());

    // Its end writes the position and the empty list, no "Path" section.
    form.reset();
    const QByteArray text = bytes(ini());
    EXPECT_TRUE(text.contains("Left=73"));
    EXPECT_TRUE(text.contains("Top=56"));
    EXPECT_TRUE(text.contains("NumberOfItems=0"));
    EXPECT_FALSE(text.contains("[Path]"));
    EXPECT_LT(text.indexOf("[Position]"), text.indexOf("[Rename Template]"));
}

TEST_F(SettingsTest, PositionFoldersAndTemplatesComeBackInTheNextRun) {
    restart([&] { QFile::remove(ini()); });
    const QString notes = music(QStringLiteral("texts/notes.txt"));
    const QString cover = music(QStringLiteral("pics/cover.png"));
    QDir().mkpath(music(QStringLiteral("texts")));
    QDir().mkpath(music(QStringLiteral("pics")));
    writeBytes(notes, "some lyrics");
    QImage(4, 4, QImage::Format_RGB32).save(cover);

    form->move(150, 120);
    form->appendTemplate(QStringLiteral("a"), QStringLiteral("Artist"), QStringLiteral(" - "));
    form->appendTemplate(QString(), QStringLiteral("Title"), QString()); // empty prefix and suffix
    form->appendTemplate(QStringLiteral("é"), QString(), QStringLiteral("ß"));
    platform.fileAnswers = {notes};
    form->Form2->importText();
    platform.fileAnswers = {cover};
    form->Form3->loadFile();
    form->lastExportFile = music(QStringLiteral("exports/out.jpg"));

    restart();
    EXPECT_EQ(form->pos(), QPoint(150, 120));
    EXPECT_EQ(form->exportFolder, music(QStringLiteral("exports/")));
    EXPECT_EQ(importDialogFolder(), music(QStringLiteral("texts/")));
    EXPECT_EQ(pictureDialogFolder(), music(QStringLiteral("pics/")));
    EXPECT_EQ(templates(), (QStringList{QStringLiteral("a|Artist| - "), QStringLiteral("|Title|"),
                                        QStringLiteral("é||ß")}));
    EXPECT_EQ(form->renamePreview->text(), QStringLiteral("aArtist - Titleéß.mp3"));

    // The frame name is written as "Framename"; sections in order of first write.
    const QByteArray text = bytes(ini());
    EXPECT_TRUE(text.contains("1Framename=Artist"));
    EXPECT_FALSE(text.contains("FrameName"));
    EXPECT_TRUE(text.contains("2Prefix=\n"));
    const qsizetype position = text.indexOf("[Position]"), path = text.indexOf("[Path]"),
                    rename = text.indexOf("[Rename Template]");
    EXPECT_LT(position, path);
    EXPECT_LT(path, rename);

    // A run that chooses nothing leaves the three folders as they are.
    restart();
    EXPECT_EQ(form->exportFolder, music(QStringLiteral("exports/")));
    EXPECT_EQ(importDialogFolder(), music(QStringLiteral("texts/")));
}

TEST_F(SettingsTest, KeysMatchWhateverTheirCaseAndLeftoverRowsStay) {
    const QByteArray written = "; kept comment\r\n"
                               "[position]\r\nleft=abc\r\nTOP=200\r\n"
                               "[Other]\r\nkey=value\r\n"
                               "[rename template]\r\nnumberofitems=5\r\n"
                               "1Prefix=p1\r\n1Framename=Artist\r\n1Suffix=s1\r\n"
                               "2prefix=p2\r\n2FRAMENAME=Title\r\n2suffix=\r\n"
                               "3Prefix=p3\r\n3Framename=Album\r\n3Suffix=s3\r\n"
                               "4Prefix=p4\r\n4Framename=Genre\r\n4Suffix=s4\r\n"
                               "5Prefix=p5\r\n5Framename=Mood\r\n5Suffix=s5\r\n";
    restart([&] { writeBytes(ini(), written); });
    // "abc" is no number: the default.
    EXPECT_EQ(form->pos(), QPoint(73, 200));
    EXPECT_EQ(templates(), (QStringList{QStringLiteral("p1|Artist|s1"), QStringLiteral("p2|Title|"),
                                        QStringLiteral("p3|Album|s3"), QStringLiteral("p4|Genre|s4"),
                                        QStringLiteral("p5|Mood|s5")}));

    // End with two rows: the count changes, rows 3 to 5 stay in the file.
    while (form->templateList->topLevelItemCount() > 2)
        delete form->templateList->topLevelItem(2);
    form->templateList->topLevelItem(1)->setText(0, QStringLiteral("new"));
    restart();
    const QByteArray text = bytes(ini());
    EXPECT_TRUE(text.startsWith("; kept comment\r\n[position]\r\nleft=73\r\nTOP=200\r\n[Other]\r\nkey=value\r\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("numberofitems=2\r\n"));
    EXPECT_TRUE(text.contains("2prefix=new\r\n"));
    EXPECT_TRUE(text.contains("3Prefix=p3\r\n3Framename=Album\r\n3Suffix=s3\r\n"));
    EXPECT_TRUE(text.contains("5Prefix=p5\r\n5Framename=Mood\r\n5Suffix=s5\r\n"));
    EXPECT_EQ(templates(), (QStringList{QStringLiteral("p1|Artist|s1"), QStringLiteral("new|Title|")}));

    // A count that is not a number reads as no rows.
    restart([&] { writeBytes(ini(), "[Rename Template]\nNumberOfItems=two\n1Prefix=x\n"); });
    EXPECT_EQ(form->templateList->topLevelItemCount(), 0);
}

TEST_F(SettingsTest, CleanupRemovesPicturesAndLeavesOtherFiles) {
    // A song with a PNG picture, read as the editor reads it.
    const QString song = music(QStringLiteral("song.mp3"));
    makeSong(QStringLiteral("song.mp3"), {"A", "T"});
    const QString userPicture = music(QStringLiteral("mine.png"));
    writeBytes(userPicture, "\x89PNG user picture");
    {
        ID3v24 v2;
        v2.FileName = song.toStdString();
        v2.ReadTag(std::string(), false);
        // Texts carry their NUL, as the picture dialog stores them.
        v2.SetPicture(std::string("front\0", 6), "Cover (front)", std::string("image/png\0", 10),
                      userPicture.toStdString(), 1);
        v2.WriteTag();
    }
    for (const char *name : {"a.jpg", "B.JPEG", "c.Bmp", "d.wmf", "e.EMF", "f.ico", ".hidden.jpg", "keep.txt",
                             "keep.png", "jpg", "x.jpg.old"})
        writeBytes(temp(QString::fromLatin1(name)), "x");
    QDir(temp()).mkdir(QStringLiteral("folder.jpg"));
    form->tag24->FileName = song.toStdString();
    form->tag24->ReadTag(form->pictureFolder().toStdString(), false);
    form->rememberExtractedPictures();
    ASSERT_EQ(form->tag24->PictureList.Count, 1);
    const QString png = QString::fromStdString(form->tag24->PictureList.PictureFile[1]);
    ASSERT_TRUE(QFile::exists(png));
    // The editor then lists the user's own picture file; it must survive.
    form->tag24->SetPicture(std::string("mine\0", 5), "Other", std::string("image/png\0", 10),
                            userPicture.toStdString(), 2);

    form.reset();
    EXPECT_EQ(tempFiles(), (QStringList{QStringLiteral("folder.jpg"), QStringLiteral("jpg"),
                                        QStringLiteral("keep.png"), QStringLiteral("keep.txt"),
                                        QStringLiteral("x.jpg.old")}));
    EXPECT_TRUE(QFile::exists(userPicture));
    EXPECT_TRUE(QFile::exists(song));
}

TEST_F(SettingsTest, CleanupWithoutATempFolderEndsQuietly) {
    platform.calls.clear();
    QDir(temp()).removeRecursively();
    form.reset();
    EXPECT_TRUE(platform.callsOf(QStringLiteral("message")).empty());
    EXPECT_TRUE(QFile::exists(ini()));
}

TEST_F(SettingsTest, UnwritableSettingsEndTheRunWithAnErrorAndNoCleanup) {
    restart([&] {
        QFile::remove(ini());
        QDir().mkpath(ini() + QStringLiteral("/inside")); // a folder where the file should be
    });
    writeBytes(temp(QStringLiteral("a.jpg")), "x");
    platform.calls.clear();
    form.reset();
    const auto messages = platform.callsOf(QStringLiteral("message"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message.text, QStringLiteral("Unable to write to ") + ini());
    EXPECT_EQ(messages[0].message.icon, UiPlatform::Icon::Error);
    EXPECT_TRUE(QFile::exists(temp(QStringLiteral("a.jpg"))));
    EXPECT_TRUE(QDir(ini()).exists(QStringLiteral("inside")));
}

TEST_F(SettingsTest, APositionOffEveryScreenIsMovedOntoOne) {
    restart([&] { writeBytes(ini(), "[Position]\nLeft=-30000\nTop=40000\n"); });
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(form->frameGeometry()))
        << form->pos().x() << "," << form->pos().y();
    EXPECT_EQ(form->pos(), TForm1::placeOnScreens({-30000, 40000}, form->frameGeometry().size(), {screen}));
}

TEST(SettingsPlacesTest, PlaceOnScreensKeepsVisibleWindowsAndMovesLostOnes) {
    const QRect left(-1280, 0, 1280, 1024), main(0, 0, 1920, 1080);
    const QSize size(678, 499);
    struct Case {
        QPoint stored;
        QList<QRect> screens;
        QPoint expected;
    };
    const Case cases[] = {
        {{73, 56}, {main}, {73, 56}},
        {{-600, 10}, {left, main}, {-600, 10}},    // on the left screen
        {{1900, 500}, {main}, {1920 - 678, 500}}, // 20 pixels of the title strip are too few to grab...
        {{1870, 500}, {main}, {1870, 500}},       // ...50 pixels are enough
        {{-1000, 100}, {main}, {0, 100}},         // the left screen was unplugged
        {{5000, 3000}, {left, main}, {1920 - 678, 1080 - 499}},
        {{-5000, -5000}, {left, main}, {-1280, 0}},
        {{100, -400}, {main}, {100, 0}},          // title above the screen
        {{10, 10}, {QRect(0, 0, 400, 300)}, {10, 10}}, // larger than the screen but visible
        {{900, 900}, {QRect(0, 0, 400, 300)}, {0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.stored.x()) + "," + std::to_string(c.stored.y()));
        EXPECT_EQ(TForm1::placeOnScreens(c.stored, size, c.screens), c.expected);
    }
}

TEST(SettingsPlacesTest, ExtractDialogPathKeepsTheFolderWithItsSeparator) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("/home/u/pics/a.jpg"), QStringLiteral("/home/u/pics/")},
        {QStringLiteral("/a.jpg"), QStringLiteral("/")},
        {QStringLiteral("a.jpg"), QString()},
        {QString(), QString()},
        {QStringLiteral("/home/u/dir/"), QStringLiteral("/home/u/dir/")},
    };
    for (const auto &[name, folder] : cases)
        EXPECT_EQ(TForm1::extractdialogpath(name), folder) << name.toStdString();
}

// Sets an environment variable for the scope; an empty value unsets it.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char *name, const QByteArray &value) : name_(name), old_(qgetenv(name)),
                                                                    had_(qEnvironmentVariableIsSet(name)) {
        set(value, !value.isEmpty());
    }
    ~EnvironmentVariable() { set(old_, had_); }

private:
    void set(const QByteArray &value, bool present) {
        if (present)
            qputenv(name_, value);
        else
            qunsetenv(name_);
    }
    const char *name_;
    QByteArray old_;
    bool had_;
};

TEST(SettingsPlacesTest, ProgramFolderIsTheExecutablesWhenWritableElseTheUsersFolders) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString exe = root.filePath(QStringLiteral("bin"));
    QDir().mkpath(exe);

    auto places = TForm1::findProgramPlaces(exe);
    EXPECT_EQ(places.programFolder, exe);
    EXPECT_EQ(places.settingsFile, exe + QStringLiteral("/tagvane.ini"));
    EXPECT_TRUE(QDir(exe).exists(QStringLiteral("Temp")));
    EXPECT_TRUE(QDir(exe).exists(QStringLiteral("Export Images")));

    // An executable folder the program may not write to (here: none at all).
    const QString absent = root.filePath(QStringLiteral("usr/bin"));
    {
        const EnvironmentVariable config("XDG_CONFIG_HOME", root.filePath(QStringLiteral("cfg")).toUtf8());
        const EnvironmentVariable data("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toUtf8());
        places = TForm1::findProgramPlaces(absent);
        EXPECT_EQ(places.settingsFile, root.filePath(QStringLiteral("cfg/tagvane/tagvane.ini")));
        EXPECT_EQ(places.programFolder, root.filePath(QStringLiteral("data/tagvane")));
        EXPECT_TRUE(QFileInfo(root.filePath(QStringLiteral("cfg/tagvane"))).isDir());
        EXPECT_TRUE(QFileInfo(root.filePath(QStringLiteral("data/tagvane/Temp"))).isDir());
        EXPECT_TRUE(QFileInfo(root.filePath(QStringLiteral("data/tagvane/Export Images"))).isDir());
        EXPECT_FALSE(QFileInfo::exists(absent));
    }
    {
        // Unset or relative variables: the folders under the home folder.
        const EnvironmentVariable home("HOME", root.filePath(QStringLiteral("home")).toUtf8());
        const EnvironmentVariable config("XDG_CONFIG_HOME", "relative/cfg");
        const EnvironmentVariable data("XDG_DATA_HOME", QByteArray());
        places = TForm1::findProgramPlaces(absent);
        EXPECT_EQ(places.settingsFile, root.filePath(QStringLiteral("home/.config/tagvane/tagvane.ini")));
        EXPECT_EQ(places.programFolder, root.filePath(QStringLiteral("home/.local/share/tagvane")));
        EXPECT_TRUE(QFileInfo(root.filePath(QStringLiteral("home/.local/share/tagvane/Temp"))).isDir());
    }
}

} // namespace
} // namespace tagvane::testing
