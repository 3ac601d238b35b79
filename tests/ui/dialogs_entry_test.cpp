#include "dialog_fixture.h"

#include "ui/addlang.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tagvane;
using tagvane::testing::typeText;
using tagvane::testing::whenShown;
using Mode = TForm2::Mode;
using namespace std::string_literals;

namespace {

class EntryDialog : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    TForm2 dialog{platform};
    QTemporaryDir dir;

    QLabel *label(const char *name) const { return dialog.findChild<QLabel *>(QString::fromLatin1(name)); }

    void pickLanguage(const char *name) {
        const int index = dialog.languageCombo()->findText(QString::fromUtf8(name));
        ASSERT_GE(index, 0) << name;
        dialog.languageCombo()->setCurrentIndex(index);
    }

    QString pickedLanguage() const { return dialog.languageCombo()->currentText(); }

    QString textFile(const char *name, const QByteArray &content) const {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }
};

} // namespace

TEST_F(EntryDialog, EachModeSetsTitleLabelsAndFields) {
    struct Case {
        Mode mode;
        const char *title;
        const char *textLabel;
        const char *confirm;
        bool description;
        bool language;
    };
    const Case cases[] = {
        {Mode::AddLyric, "Add Lyric", "Lyric:", "Add", true, true},
        {Mode::AddComment, "Add Comment", "Commet:", "Add", true, true},
        {Mode::AddUserText, "Add User Defined Text", "Text:", "Add", true, false},
        {Mode::AddUserUrl, "Add User Defined URL", "URL:", "Add", true, false},
        {Mode::AddTerms, "Add Terms Of Use", "Terms Of Use:", "Add", false, true},
        {Mode::EditLyric, "Edit Lyric", "Lyric:", "Edit", true, true},
        {Mode::EditComment, "Edit Comment", "Comment:", "Edit", true, true},
        {Mode::EditUserText, "Edit User Defined Text", "Text:", "Edit", true, false},
        {Mode::EditUserUrl, "Edit User Defined URL", "Url:", "Edit", true, false},
        {Mode::EditTerms, "Edit Terms Of Use", "Terms OF Use:", "Edit", false, true},
    };
    EXPECT_EQ(dialog.size(), QSize(564, 256));
    EXPECT_EQ(label("descriptionLabel")->text(), QStringLiteral("Description:"));
    EXPECT_EQ(label("languageLabel")->text(), QStringLiteral("Language:"));
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(dialog.importButton()->text(), QStringLiteral("Import"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title);
        dialog.setup(c.mode, {"d\0"s, "eng", "t"});
        EXPECT_EQ(dialog.windowTitle(), QString::fromLatin1(c.title));
        EXPECT_EQ(label("textLabel")->text(), QString::fromLatin1(c.textLabel));
        EXPECT_EQ(dialog.confirmButton()->text(), QString::fromLatin1(c.confirm));
        EXPECT_EQ(!dialog.descriptionEdit()->isHidden(), c.description);
        EXPECT_EQ(!label("descriptionLabel")->isHidden(), c.description);
        EXPECT_EQ(!dialog.languageCombo()->isHidden(), c.language);
        EXPECT_EQ(!label("languageLabel")->isHidden(), c.language);
    }
}

TEST_F(EntryDialog, LanguageListHoldsTheNameListInOrder) {
    QComboBox *combo = dialog.languageCombo();
    EXPECT_FALSE(combo->isEditable());
    ASSERT_EQ(combo->count(), 427);
    // Names with two codes stand twice, side by side.
    int doubles = 0;
    for (int i = 1; i < combo->count(); ++i)
        if (combo->itemText(i) == combo->itemText(i - 1))
            ++doubles;
    EXPECT_EQ(doubles, 25);
    EXPECT_GE(combo->findText(QStringLiteral("English")), 0);
}

TEST_F(EntryDialog, AddCommentTypedByTheUser) {
    dialog.setup(Mode::EditLyric, {"old\0"s, "deu", "old text"});
    std::optional<TForm2::Entry> stored;
    whenShown(dialog, [&] {
        EXPECT_TRUE(dialog.descriptionEdit()->text().isEmpty());
        EXPECT_EQ(dialog.languageCombo()->currentIndex(), -1);
        EXPECT_TRUE(dialog.textEdit()->toPlainText().isEmpty());
        typeText(dialog.descriptionEdit(), QStringLiteral("Caf\u00e9 notes"));
        pickLanguage("English");
        typeText(dialog.textEdit(), QStringLiteral("first \u20ac line"));
        QTest::keyClick(dialog.textEdit(), Qt::Key_Return);
        typeText(dialog.textEdit(), QStringLiteral("second \u03a9"));
        QTest::mouseClick(dialog.confirmButton(), Qt::LeftButton);
    });
    stored = dialog.execute(Mode::AddComment);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->description, "Caf\xE9 notes\0"s);
    EXPECT_EQ(stored->language, "eng");
    // Windows-1252 bytes, CR LF between lines, none at the end; a character the
    // code page lacks becomes "?".
    EXPECT_EQ(stored->text, "first \x80 line\r\nsecond ?");
}

TEST_F(EntryDialog, CancelAndCloseStoreNothing) {
    whenShown(dialog, [&] {
        typeText(dialog.descriptionEdit(), QStringLiteral("x"));
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(dialog.execute(Mode::AddLyric));

    whenShown(dialog, [&] { dialog.close(); });
    EXPECT_FALSE(dialog.execute(Mode::EditComment, {"a\0"s, "eng", "b"}));

    whenShown(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_FALSE(dialog.execute(Mode::AddTerms));
}

TEST_F(EntryDialog, EditShowsTheEntryAndStoresItBack) {
    struct Case {
        const char *what;
        Mode mode;
        TForm2::Entry entry;
        QString description, language, text; // as shown
        TForm2::Entry stored;                // confirmed without a change
    };
    const Case cases[] = {
        {"comment in English",
         Mode::EditComment,
         {"Desc\0"s, "eng", "Hello"},
         QStringLiteral("Desc"),
         QStringLiteral("English"),
         QStringLiteral("Hello"),
         {"Desc\0"s, "eng", "Hello"}},
        // "spa" shows Spanish, whose first code is "esl".
        {"name with two codes",
         Mode::EditLyric,
         {"D\0"s, "spa", "x"},
         QStringLiteral("D"),
         QStringLiteral("Spanish"),
         QStringLiteral("x"),
         {"D\0"s, "esl", "x"}},
        {"unknown code",
         Mode::EditComment,
         {"D\0"s, "zz!", "x"},
         QStringLiteral("D"),
         QString(),
         QStringLiteral("x"),
         {"D\0"s, "", "x"}},
        {"bare line feeds and CRs",
         Mode::EditLyric,
         {"\0"s, "eng", "a\nb\rc\r\nd\r\n"},
         QString(),
         QStringLiteral("English"),
         QStringLiteral("a\nb\nc\nd\n"),
         {"\0"s, "eng", "a\r\nb\r\nc\r\nd\r\n"}},
        {"NUL in text and description",
         Mode::EditComment,
         {"ab\0cd\0"s, "eng", "one\0two"s},
         QStringLiteral("ab"),
         QStringLiteral("English"),
         QStringLiteral("one"),
         {"ab\0"s, "eng", "one"}},
        {"description without NUL",
         Mode::EditUserText,
         {"plain", "", "value"},
         QStringLiteral("plain"),
         QString(),
         QStringLiteral("value"),
         {"plain\0"s, "", "value"}},
        {"Windows-1252 bytes",
         Mode::EditUserUrl,
         {"\xE9\x80\0"s, "", "http://x/\xFC"},
         QStringLiteral("\u00e9\u20ac"),
         QString(),
         QStringLiteral("http://x/\u00fc"),
         {"\xE9\x80\0"s, "", "http://x/\xFC"}},
        {"terms",
         Mode::EditTerms,
         {"ignored\0"s, "fra", "T"},
         QString(),
         QStringLiteral("French"),
         QStringLiteral("T"),
         {"", "fra", "T"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        dialog.descriptionEdit()->clear();
        std::optional<TForm2::Entry> stored;
        whenShown(dialog, [&] {
            if (c.mode != Mode::EditTerms) {
                EXPECT_EQ(dialog.descriptionEdit()->text(), c.description);
            }
            if (c.mode != Mode::EditUserText && c.mode != Mode::EditUserUrl) {
                EXPECT_EQ(pickedLanguage(), c.language);
            }
            EXPECT_EQ(dialog.textEdit()->toPlainText(), c.text);
            QTest::mouseClick(dialog.confirmButton(), Qt::LeftButton);
        });
        stored = dialog.execute(c.mode, c.entry);
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->description, c.stored.description);
        EXPECT_EQ(stored->language, c.stored.language);
        EXPECT_EQ(stored->text, c.stored.text);
    }
}

TEST_F(EntryDialog, HiddenFieldsKeepTheirContentAndAreNotUsed) {
    // Terms: the description is emptied when adding, left alone when editing.
    dialog.setup(Mode::EditComment, {"kept\0"s, "eng", "c"});
    dialog.setup(Mode::EditTerms, {"other\0"s, "deu", "t"});
    EXPECT_EQ(dialog.descriptionEdit()->text(), QStringLiteral("kept"));
    EXPECT_EQ(dialog.collect().description, "");
    dialog.setup(Mode::AddTerms);
    EXPECT_TRUE(dialog.descriptionEdit()->text().isEmpty());
    const TForm2::Entry empty = dialog.collect();
    EXPECT_EQ(empty.description, "");
    EXPECT_EQ(empty.language, "");
    EXPECT_EQ(empty.text, "");

    // User texts after a lyrics edit: empty description, no language list, and
    // the language picked before is not stored.
    dialog.setup(Mode::EditLyric, {"l\0"s, "eng", "lyric"});
    dialog.setup(Mode::AddUserText);
    EXPECT_TRUE(dialog.descriptionEdit()->text().isEmpty());
    EXPECT_TRUE(dialog.languageCombo()->isHidden());
    EXPECT_EQ(pickedLanguage(), QStringLiteral("English"));
    EXPECT_EQ(dialog.collect().language, "");
    EXPECT_EQ(dialog.collect().description, "\0"s);
}

TEST_F(EntryDialog, ImportReplacesTheTextWithCrLfLineBreaks) {
    dialog.setImportFolder(dir.path());
    const QString utf8 = textFile("utf8.txt", "Gr\xC3\xBC\xC3\x9F"
                                              "e\r\nzwei\ndrei\rvier\n");
    const QString bom = textFile("bom.txt", "\xEF\xBB\xBF"
                                            "caf\xC3\xA9");
    const QString latin = textFile("latin.txt", "caf\xE9\n\x80");
    platform.fileAnswers = {utf8, bom, latin};

    std::optional<TForm2::Entry> stored;
    whenShown(dialog, [&] {
        typeText(dialog.descriptionEdit(), QStringLiteral("desc"));
        pickLanguage("German");
        typeText(dialog.textEdit(), QStringLiteral("replaced"));
        QTest::mouseClick(dialog.importButton(), Qt::LeftButton);
        // The other fields stay as they were.
        EXPECT_EQ(dialog.descriptionEdit()->text(), QStringLiteral("desc"));
        EXPECT_EQ(pickedLanguage(), QStringLiteral("German"));
        QTest::mouseClick(dialog.confirmButton(), Qt::LeftButton);
    });
    stored = dialog.execute(Mode::AddLyric);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->text, "Gr\xFC\xDF"
                            "e\r\nzwei\r\ndrei\r\nvier\r\n");
    EXPECT_EQ(stored->description, "desc\0"s);
    EXPECT_EQ(stored->language, "deu");
    EXPECT_EQ(dialog.lastImportedFile(), utf8);

    dialog.setup(Mode::AddComment);
    dialog.importText();
    EXPECT_EQ(dialog.collect().text, "caf\xE9"); // byte order mark dropped
    dialog.importText();
    EXPECT_EQ(dialog.collect().text, "caf\xE9\r\n\x80"); // not UTF-8: read as Windows-1252

    // The first import starts in the given folder; later ones where the last pick was.
    const auto requests = platform.callsOf(QStringLiteral("openFile"));
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].file.initialFolder, dir.path());
    EXPECT_TRUE(requests[0].file.fileName.isEmpty());
    EXPECT_TRUE(requests[0].file.filter.isEmpty());
    EXPECT_EQ(requests[2].file.initialFolder, dir.path());
    EXPECT_EQ(requests[2].file.fileName, QStringLiteral("bom.txt"));
}

TEST_F(EntryDialog, ImportCancelledOrFailingLeavesTheTextAlone) {
    dialog.setup(Mode::EditComment, {"d\0"s, "eng", "keep me"});
    platform.fileAnswers = {std::nullopt, dir.filePath(QStringLiteral("no/such/file.txt")), dir.path()};

    dialog.importText(); // cancelled
    EXPECT_EQ(dialog.textEdit()->toPlainText(), QStringLiteral("keep me"));
    EXPECT_TRUE(platform.callsOf(QStringLiteral("message")).empty());

    dialog.importText(); // a missing file
    EXPECT_EQ(dialog.textEdit()->toPlainText(), QStringLiteral("keep me"));
    const auto *box = platform.lastMessage();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->message.title, QStringLiteral("Tagvane v. 1.2"));
    EXPECT_EQ(box->message.icon, UiPlatform::Icon::Error);
    EXPECT_TRUE(box->message.text.startsWith(QStringLiteral("Cannot open file"))) << box->message.text.toStdString();
    EXPECT_TRUE(box->message.text.contains(QStringLiteral("file.txt")));

    dialog.importText(); // a folder, not a file
    EXPECT_EQ(dialog.textEdit()->toPlainText(), QStringLiteral("keep me"));
    EXPECT_EQ(platform.callsOf(QStringLiteral("message")).size(), 2u);
}

TEST(TextBoxText, DecodingAndLineBreaks) {
    EXPECT_EQ(decodeTextFile("plain"), QStringLiteral("plain"));
    EXPECT_EQ(decodeTextFile("\xC3\xA9"), QStringLiteral("\u00e9"));
    EXPECT_EQ(decodeTextFile("\xC3"), QStringLiteral("\u00c3")); // cut-off UTF-8 is not UTF-8
    EXPECT_EQ(decodeTextFile("\xE9t\xE9"), QStringLiteral("\u00e9t\u00e9"));
    EXPECT_EQ(withCrLf(QStringLiteral("a\rb\nc\r\nd\n\re")), QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\ne"));
    EXPECT_EQ(boxTextForTag(QStringLiteral("a\u2029b\u2028c")), "a\r\nb\r\nc");
    EXPECT_EQ(tagTextForBox("x\r\ny\0z"s), QStringLiteral("x\ny"));
}
