// The window's frame, its controls and the navigation between pages.

#include "mainwindow_fixture.h"

#include "id3v1/Id3.h"
#include "languages/languages.h"
#include "platform/codepage.h"
#include "ui/pictureview.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace tagvane::testing {
namespace {

class NavigationTest : public MainWindowTest {
protected:
    // A file in the selection list, its row selected, the editor open.
    void openEditor() {
        makeFiles({QStringLiteral("a.mp3")});
        form->showFolder(musicDir.path());
        addFiles({0});
        clickRow(form->selectionList, 0);
        clickTab(form->tabIdTag);
        ASSERT_EQ(form->pageArea->currentWidget(), form->editorPage);
    }
    QString subPageName() const { return form->editorPages->currentWidget()->objectName(); }
    QString pageName() const { return form->pageArea->currentWidget()->objectName(); }
};

TEST_F(NavigationTest, WindowFrame) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tagvane v1.2 - by the Tagvane team"));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()); // fixed geometry
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(form->pageArea->geometry(), QRect(80, 0, 585, 465));
    EXPECT_EQ(form->leftTabs->geometry(), QRect(0, 0, 73, 361));
    EXPECT_EQ(form->aboutPicture->geometry(), QRect(0, 398, 73, 73));
    EXPECT_EQ(form->aboutPicture->toolTip(), QStringLiteral("About"));
    EXPECT_EQ(form->editorPages->geometry(), QRect(0, 8, 577, 369));
}

TEST_F(NavigationTest, StartsOnTheFileBrowserWithTheFirstButtonsPressed) {
    EXPECT_EQ(form->leftTab(), TForm1::Mp3FileTab);
    EXPECT_TRUE(form->tabMp3File->isChecked());
    EXPECT_EQ(pageName(), QStringLiteral("fileBrowserPage"));
    EXPECT_EQ(subPageName(), QStringLiteral("audioDescriptionPage"));
    EXPECT_TRUE(form->ToolButton13->isChecked());
    EXPECT_TRUE(form->ToolButton2->isChecked());
    EXPECT_EQ(form->editorCounter->text(), QStringLiteral("0 of 0"));
    // Showing the window loads the (empty) template list and refreshes the preview.
    EXPECT_EQ(form->renamePreview->text(), QStringLiteral(".mp3"));
}

TEST_F(NavigationTest, ToolbarButtonsHaveTheirHintsAndKinds) {
    struct Case {
        const char *name;
        const char *hint;
        bool toggle;
    };
    const Case cases[] = {
        {"ToolButton13", "File Browser", true},
        {"ToolButton8", "Turbo Renamer", true},
        {"ToolButton9", "Play File", false},
        {"ToolButton10", "Kill Tag", false},
        {"ToolButton11", "Delete File", false},
        {"ToolButton2", "Audio Description", true},
        {"ToolButton5", "Personal Information", true},
        {"ToolButton4", "Lyrics/Texts/Comments", true},
        {"ToolButton1", "WWW Pages", true},
        {"ToolButton3", "Images", true},
        {"ToolButton6", "Copyright Informations", true},
        {"ToolButton7", "Miscellaneous", true},
        {"ToolButton12", "ID3v1.1", true},
    };
    int lastTop[2] = {-1, -1};
    for (const Case &c : cases) {
        auto *b = find<QToolButton>(c.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->toolTip(), QString::fromLatin1(c.hint)) << c.name;
        EXPECT_EQ(b->isCheckable(), c.toggle) << c.name;
        EXPECT_EQ(b->size(), QSize(39, 38)) << c.name;
        EXPECT_EQ(b->iconSize(), QSize(32, 32)) << c.name;
        EXPECT_TRUE(b->autoRaise()) << c.name;
        EXPECT_FALSE(b->icon().isNull()) << c.name;
        // Top to bottom in table order, per toolbar.
        const int bar = b->parentWidget()->objectName() == QStringLiteral("idTagToolbar") ? 1 : 0;
        EXPECT_GT(b->y(), lastTop[bar]) << c.name;
        lastTop[bar] = b->y();
    }
}

TEST_F(NavigationTest, EachSubPageButtonShowsItsSubPageByName) {
    openEditor();
    const std::pair<const char *, const char *> cases[] = {
        {"ToolButton5", "personalInformationPage"},
        {"ToolButton4", "lyricsTextsCommentsPage"},
        {"ToolButton1", "wwwPagesPage"},
        {"ToolButton3", "imagesPage"},
        {"ToolButton6", "copyrightInformationsPage"},
        {"ToolButton7", "miscellaneousPage"},
        {"ToolButton12", "id3v11Page"},
        {"ToolButton2", "audioDescriptionPage"},
    };
    for (const auto &[button, page] : cases) {
        auto *b = find<QToolButton>(button);
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(subPageName(), QString::fromLatin1(page)) << button;
        EXPECT_EQ(pageName(), QStringLiteral("editorPage")) << button;
        EXPECT_TRUE(b->isChecked()) << button;
        // One pressed button per toolbar.
        for (const auto &[other, unused] : cases) {
            if (other != button) {
                EXPECT_FALSE(find<QToolButton>(other)->isChecked()) << other << " with " << button;
            }
        }
    }
    // Third and fourth buttons show the fourth and third sub-pages.
    EXPECT_EQ(form->editorPages->indexOf(form->findChild<QWidget *>(QStringLiteral("wwwPagesPage"))), 2);
    EXPECT_EQ(form->editorPages->indexOf(form->findChild<QWidget *>(QStringLiteral("lyricsTextsCommentsPage"))), 3);
}

TEST_F(NavigationTest, AboutPictureShowsAboutWhileSubPageButtonsChangeOnlyTheHiddenSubPage) {
    openEditor();
    QTest::mouseClick(form->ToolButton6, Qt::LeftButton);
    QTest::mouseClick(form->aboutPicture, Qt::LeftButton);
    EXPECT_EQ(pageName(), QStringLiteral("aboutPage"));
    EXPECT_EQ(form->leftTab(), TForm1::IdTagTab);
    EXPECT_TRUE(form->ToolButton6->isChecked());
    QTest::mouseClick(form->ToolButton4, Qt::LeftButton);
    EXPECT_EQ(pageName(), QStringLiteral("aboutPage"));
    EXPECT_EQ(subPageName(), QStringLiteral("lyricsTextsCommentsPage"));
    // The About page has its buttons.
    for (const char *caption : {"Register", "Report bug", "Check new version"}) {
        const auto buttons = form->aboutPage->findChildren<QPushButton *>();
        EXPECT_TRUE(std::any_of(buttons.begin(), buttons.end(), [&](QPushButton *b) {
            return b->text() == QString::fromLatin1(caption);
        })) << caption;
    }
    // Back to the browser and into the editor again: the last sub-page stays chosen.
    clickTab(form->tabMp3File);
    EXPECT_EQ(pageName(), QStringLiteral("fileBrowserPage"));
    EXPECT_TRUE(form->ToolButton13->isChecked());
    clickRow(form->selectionList, 0);
    clickTab(form->tabIdTag);
    EXPECT_EQ(pageName(), QStringLiteral("editorPage"));
    EXPECT_EQ(subPageName(), QStringLiteral("lyricsTextsCommentsPage"));
}

TEST_F(NavigationTest, FileBrowserAndTurboRenamerButtons) {
    form->renamerProgress->setValue(60);
    form->renamerCounter->setText(QStringLiteral("3 of 5"));
    QTest::mouseClick(form->ToolButton8, Qt::LeftButton);
    EXPECT_EQ(pageName(), QStringLiteral("renamerPage"));
    EXPECT_EQ(form->renamerProgress->value(), 0);
    EXPECT_EQ(form->renamerCounter->text(), QStringLiteral("0 of 0"));
    EXPECT_FALSE(form->ToolButton13->isChecked());
    QTest::mouseClick(form->aboutPicture, Qt::LeftButton);
    EXPECT_EQ(pageName(), QStringLiteral("aboutPage"));
    QTest::mouseClick(form->ToolButton13, Qt::LeftButton);
    EXPECT_EQ(pageName(), QStringLiteral("fileBrowserPage"));
}

TEST_F(NavigationTest, OpeningTheEditorResetsItsFoot) {
    form->editorProgress->setValue(40);
    form->editorCounter->setText(QStringLiteral("2 of 5"));
    form->imageView->show();
    openEditor();
    EXPECT_EQ(form->editorProgress->value(), 0);
    EXPECT_EQ(form->editorCounter->text(), QStringLiteral("0 of 0"));
    EXPECT_FALSE(form->imageBox->viewVisible());
    EXPECT_TRUE(form->tabIdTag->isChecked());
    EXPECT_EQ(form->toolbars->currentWidget()->objectName(), QStringLiteral("idTagToolbar"));
}

TEST_F(NavigationTest, EditorTabIsRefusedWithoutASelectedSelectionListRow) {
    struct Case {
        const char *what;
        std::function<void(NavigationTest &)> arrange;
    };
    const Case cases[] = {
        {"empty selection list", [](NavigationTest &) {}},
        {"rows, none selected",
         [](NavigationTest &t) {
             t.makeFiles({QStringLiteral("a.mp3")});
             t.form->showFolder(t.musicDir.path());
             t.addFiles({0});
         }},
        {"row selected, current item in another list",
         [](NavigationTest &t) {
             t.makeFiles({QStringLiteral("a.mp3")});
             t.form->showFolder(t.musicDir.path());
             t.addFiles({0});
             t.clickRow(t.form->selectionList, 0);
             new QTreeWidgetItem(t.form->ListView3, {QStringLiteral("1")});
             t.form->ListView3->setCurrentItem(t.form->ListView3->topLevelItem(0));
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        platform.calls.clear();
        SetUp();
        c.arrange(*this);
        clickTab(form->tabIdTag);
        const auto messages = platform.callsOf(QStringLiteral("message"));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].message.title, QStringLiteral("Error"));
        EXPECT_EQ(messages[0].message.text, QStringLiteral("Please select file from selection list"));
        EXPECT_EQ(messages[0].message.icon, UiPlatform::Icon::Warning);
        EXPECT_EQ(messages[0].message.buttons, int(UiPlatform::Button::Ok));
        EXPECT_EQ(form->leftTab(), TForm1::Mp3FileTab);
        EXPECT_TRUE(form->tabMp3File->isChecked());
        EXPECT_EQ(pageName(), QStringLiteral("fileBrowserPage"));
        EXPECT_EQ(form->toolbars->currentWidget()->objectName(), QStringLiteral("mp3FileToolbar"));
    }
}

TEST_F(NavigationTest, ProgramCodeSwitchesShowStateWithoutRunningActions) {
    form->setLeftTab(TForm1::IdTagTab);
    EXPECT_TRUE(form->tabIdTag->isChecked());
    EXPECT_TRUE(platform.calls.empty()); // no refusal: the tab-change event did not run
    EXPECT_EQ(pageName(), QStringLiteral("fileBrowserPage"));
    form->setLeftTab(TForm1::Mp3FileTab);
    form->pressButton(form->ToolButton8);
    EXPECT_TRUE(form->ToolButton8->isChecked());
    EXPECT_EQ(pageName(), QStringLiteral("fileBrowserPage"));
}

// Every field of the table stands on its sub-page with its caption to its left.
TEST_F(NavigationTest, EveryFieldIsOnItsSubPageWithItsCaption) {
    for (const TForm1::Field &f : TForm1::fieldTable()) {
        QWidget *control = form->findChild<QWidget *>(QString::fromLatin1(f.name));
        ASSERT_NE(control, nullptr) << f.name;
        EXPECT_EQ(control->parentWidget(), form->subPage[f.page]) << f.name;
        QWidget *member =
            f.edit ? static_cast<QWidget *>(form.get()->*f.edit) : static_cast<QWidget *>(form.get()->*f.combo);
        EXPECT_EQ(member, control) << f.name;
        auto *label = form->subPage[f.page]->findChild<QLabel *>(QStringLiteral("label") + QString::fromLatin1(f.name));
        ASSERT_NE(label, nullptr) << f.name;
        EXPECT_EQ(label->text(), QString::fromLatin1(f.caption));
        EXPECT_LE(label->geometry().right(), control->x()) << f.name;
        EXPECT_EQ(label->y(), control->y()) << f.name;
    }
    // Sub-page headings.
    const char *headings[8] = {
        "Audio Description",       "Personal Information", "WWW Pages", "Lyrics / Texts / Comments", "Images",
        "Copyright Informations:", "Miscellaneous",        "ID3v1.1"};
    for (int i = 0; i < 8; ++i) {
        auto *h = form->subPage[i]->findChild<QLabel *>(QStringLiteral("heading%1").arg(i));
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(h->text(), QString::fromLatin1(headings[i]));
        EXPECT_TRUE(h->font().bold());
        EXPECT_EQ(h->font().pixelSize(), 16);
    }
}

TEST_F(NavigationTest, PickListsHoldTheirItemsInOrder) {
    QStringList genres;
    for (std::string_view g : Id3v1::GenreNames())
        genres << QString::fromStdString(cp1252ToUtf8(g));
    QStringList languages;
    for (const std::string &l : LanguageNames())
        languages << QString::fromStdString(cp1252ToUtf8(l));
    const QStringList keys = QStringLiteral("C C# Cb Cm C#m Cbm D D# Db D#m Dbm E Eb Em Ebm F F# Fm F#m G G# Gb G#m "
                                            "Gbm A A# Ab A#m Abm H Hb Hbm")
                                 .split(QLatin1Char(' '));
    ASSERT_EQ(genres.size(), 126);
    ASSERT_EQ(keys.size(), 32);
    struct Case {
        QComboBox *combo;
        const QStringList *items;
        bool editable;
    };
    const Case cases[] = {{form->ComboBox1, &genres, true},
                          {form->ComboBox2, &languages, true},
                          {form->ComboBox3, &keys, true},
                          {form->ComboBox4, &genres, false}};
    for (const Case &c : cases) {
        QStringList shown;
        for (int i = 0; i < c.combo->count(); ++i)
            shown << c.combo->itemText(i);
        EXPECT_EQ(shown, *c.items) << c.combo->objectName().toStdString();
        EXPECT_EQ(c.combo->isEditable(), c.editable) << c.combo->objectName().toStdString();
        EXPECT_EQ(c.combo->currentText(), QString()) << c.combo->objectName().toStdString();
    }
}

TEST_F(NavigationTest, Id3v1FieldsLimitTypingButKeepProgramText) {
    const std::pair<const char *, int> cases[] = {{"Edit42", 3},  {"Edit43", 30}, {"Edit44", 30},
                                                  {"Edit46", 30}, {"Edit45", 4},  {"Edit47", 30}};
    form->showSubPage(TForm1::Id3v11);
    const QString typed(40, QLatin1Char('7'));
    for (const auto &[name, limit] : cases) {
        auto *edit = find<QLineEdit>(name);
        ASSERT_NE(edit, nullptr);
        edit->clear();
        QTest::keyClicks(edit, typed);
        EXPECT_EQ(edit->text().size(), limit) << name;

        const QString put(limit + 10, QLatin1Char('p'));
        edit->setText(put);
        EXPECT_EQ(edit->text(), put) << name;
        edit->end(false);
        QTest::keyClicks(edit, QStringLiteral("x"));
        EXPECT_EQ(edit->text(), put) << name; // no growth past the limit
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text().size(), limit + 9) << name; // deleting still works
    }
    // Fields of the ID3v2.4 pages have no such limit.
    form->Edit1->clear();
    QTest::keyClicks(form->Edit1, typed);
    EXPECT_EQ(form->Edit1->text(), typed);
}

TEST_F(NavigationTest, EntryListsHaveTheirColumnsAndButtons) {
    struct Case {
        QTreeWidget *list;
        QStringList columns;
        std::vector<int> widths;
        QWidget *page;
    };
    const Case cases[] = {
        {form->ListView3,
         {QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Language"), QStringLiteral("Lyric")},
         {30, 200, 100, 200},
         form->subPage[TForm1::LyricsTextsComments]},
        {form->ListView4,
         {QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Language"), QStringLiteral("Comment")},
         {30, 200, 100, 200},
         form->subPage[TForm1::LyricsTextsComments]},
        {form->ListView7,
         {QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Text")},
         {30, 200, 300},
         form->subPage[TForm1::LyricsTextsComments]},
        {form->ListView2,
         {QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Url")},
         {30, 250, 250},
         form->subPage[TForm1::WwwPages]},
        {form->ListView6,
         {QStringLiteral("No."), QStringLiteral("Language"), QStringLiteral("Terms of Use")},
         {30, 100, 400},
         form->subPage[TForm1::CopyrightInformations]},
        {form->ListView5,
         {QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Format"), QStringLiteral("Type")},
         {30, 200, 80, 150},
         form->subPage[TForm1::Images]},
    };
    for (const Case &c : cases) {
        const std::string name = c.list->objectName().toStdString();
        EXPECT_EQ(c.list->parentWidget(), c.page) << name;
        ASSERT_EQ(c.list->columnCount(), c.columns.size()) << name;
        for (int i = 0; i < c.list->columnCount(); ++i) {
            EXPECT_EQ(c.list->headerItem()->text(i), c.columns[i]) << name;
            EXPECT_EQ(c.list->columnWidth(i), c.widths[static_cast<size_t>(i)]) << name;
        }
        EXPECT_EQ(c.list->selectionMode(), QAbstractItemView::SingleSelection) << name;
        EXPECT_FALSE(c.list->header()->sectionsClickable()) << name;
    }
    for (const char *label :
         {"Texts/Lyrics:", "Comments:", "User Defined Text:", "User Defined URLs:", "Terms of Use:"}) {
        bool found = false;
        for (QLabel *l : form->findChildren<QLabel *>())
            found = found || l->text() == QString::fromLatin1(label);
        EXPECT_TRUE(found) << label;
    }
}

} // namespace
} // namespace tagvane::testing
