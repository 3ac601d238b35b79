// Opening files in the editor, writing one or all of them, the copy buttons.

#include "edit_fixture.h"

#include "languages/languages.h"

#include <QFile>

using namespace std::string_literals;

namespace tagvane::testing {
namespace {

using Field = TForm1::Field;
using Conversion = TForm1::Conversion;

// Every plain ID3v2.4 value gets its own text; the composer holds two values
// separated by NUL with a final NUL, which the editor must hand back unchanged.
std::string plainValue(const Field &f) {
    if (std::string(f.name) == "Edit19")
        return "Bach\0Handel\0"s;
    return std::string(f.name) + " v\xE9";
}

void fillEverything(ID3v24 &t) {
    for (const Field &f : TForm1::fieldTable())
        if (f.v2 != nullptr && f.conversion == Conversion::None)
            t.*f.v2 = plainValue(f);
    t.ContentType = "(17)";
    t.RecordTime = "2003-05-17";
    t.RelaseTime = "2003";
    t.OrigTime = "2003-05";
    t.EncodingTime = "2003-05-17T10:30";
    t.TagTime = "2003-5";
    t.Language = "eng";
    t.InitialKey = "C#m";
    t.SetComment("first\0"s, "deu", "comment one", 1);
    t.SetComment("second\0"s, "eng", "line 1\r\nline 2", 2);
    t.SetLyric("song\0"s, "fra", "la la", 1);
    t.SetUserText("mood\0"s, "calm", 1);
    t.SetUserUrl("home\0"s, "http://example.org/", 1);
    t.SetTerms("eng", "free to share", 1);
}

void fillV1(Id3v1 &t) {
    t.Title = "Old title";
    t.Artist = "Old artist";
    t.Album = "Old album";
    t.Year = "1999";
    t.Comment = "Old comment";
    t.Genre = "Rock";
    t.TrackNum = "5";
}

using Strings = std::vector<std::string>;

Strings rowTexts(const QTreeWidget *list, int row) {
    Strings out;
    const QTreeWidgetItem *item = list->topLevelItem(row);
    for (int c = 0; item != nullptr && c < list->columnCount(); ++c)
        out.push_back(item->text(c).toStdString());
    return out;
}

TEST_F(EditTest, FileWithEveryFrameShowsAllAndWritesItBackUnchanged) {
    const QString path = writeMp3("full.mp3", fillEverything, fillV1);
    openEditor({0});

    for (const Field &f : TForm1::fieldTable()) {
        if (f.v2 != nullptr && f.conversion == Conversion::None && f.edit != nullptr) {
            EXPECT_EQ((form.get()->*f.edit)->text(), q(plainValue(f))) << f.name;
        }
    }
    EXPECT_EQ(form->ComboBox1->currentText(), QStringLiteral("(17)"));
    EXPECT_EQ(form->MaskEdit1->displayText(), QStringLiteral("17.05.2003"));
    EXPECT_EQ(form->MaskEdit2->displayText(), QStringLiteral("__.__.2003"));
    EXPECT_EQ(form->MaskEdit3->displayText(), QStringLiteral("__.05.2003"));
    EXPECT_EQ(form->MaskEdit4->displayText(), QStringLiteral("17.05.2003"));
    EXPECT_EQ(form->MaskEdit5->displayText(), QStringLiteral("__._5.2003"));
    EXPECT_EQ(form->ComboBox2->currentText(), QStringLiteral("English"));
    EXPECT_EQ(form->ComboBox3->currentText(), QStringLiteral("C#m"));

    EXPECT_EQ(rowTexts(form->ListView4, 0), (Strings{"1", "first", "German", "comment one"}));
    EXPECT_EQ(rowTexts(form->ListView4, 1), (Strings{"2", "second", "English", "line 1\r\nline 2"}));
    EXPECT_EQ(rowTexts(form->ListView3, 0), (Strings{"1", "song", "French", "la la"}));
    EXPECT_EQ(rowTexts(form->ListView7, 0), (Strings{"1", "mood", "calm"}));
    EXPECT_EQ(rowTexts(form->ListView2, 0), (Strings{"1", "home", "http://example.org/"}));
    EXPECT_EQ(rowTexts(form->ListView6, 0), (Strings{"1", "English", "free to share"}));

    EXPECT_EQ(form->Edit42->text(), QStringLiteral("5"));
    EXPECT_EQ(form->Edit43->text(), QStringLiteral("Old title"));
    EXPECT_EQ(form->Edit44->text(), QStringLiteral("Old artist"));
    EXPECT_EQ(form->Edit45->text(), QStringLiteral("1999"));
    EXPECT_EQ(form->Edit46->text(), QStringLiteral("Old album"));
    EXPECT_EQ(form->Edit47->text(), QStringLiteral("Old comment"));
    EXPECT_EQ(form->ComboBox4->currentText(), QStringLiteral("Rock"));

    QTest::mouseClick(form->writeTagButton, Qt::LeftButton);
    EXPECT_EQ(form->pageArea->currentWidget(), form->fileBrowserPage);
    EXPECT_EQ(form->leftTab(), TForm1::Mp3FileTab);
    EXPECT_EQ(platform.busyDepth, 0);
    EXPECT_TRUE(platform.callsOf(QStringLiteral("message")).empty());

    ID3v24 expected;
    fillEverything(expected);
    const auto back = read24(path);
    for (const Field &f : TForm1::fieldTable()) {
        if (f.v2 != nullptr && f.conversion != Conversion::Date) {
            EXPECT_EQ((*back).*f.v2, expected.*f.v2) << f.name;
        }
    }
    // Dates go back through their fields: ten characters, blanks as spaces.
    EXPECT_EQ(back->RecordTime, "2003-05-17");
    EXPECT_EQ(back->RelaseTime, "2003-  -  ");
    EXPECT_EQ(back->OrigTime, "2003-05-  ");
    EXPECT_EQ(back->EncodingTime, "2003-05-17");
    EXPECT_EQ(back->TagTime, "2003- 5-  ");
    ASSERT_EQ(back->CommentList.Count, 2);
    EXPECT_EQ(back->CommentList.Description[2], "second\0"s);
    EXPECT_EQ(back->CommentList.Text[2], "line 1\r\nline 2");
    EXPECT_EQ(back->LyricsList.Count, 1);
    EXPECT_EQ(back->UserTextList.Value[1], "calm");
    EXPECT_EQ(back->UserUrlList.Url[1], "http://example.org/");
    EXPECT_EQ(back->TermsList.Language[1], "eng");
    const auto v1 = read1(path);
    EXPECT_EQ(v1->Title, "Old title");
    EXPECT_EQ(v1->Year, "1999");
    EXPECT_EQ(v1->Genre, "Rock");
    EXPECT_EQ(v1->TrackNum, "5");
}

TEST_F(EditTest, EditedTextIsStoredAsWindows1252) {
    const QString path = writeMp3("a.mp3", fillEverything);
    openEditor({0});
    form->Edit19->setText(QStringLiteral("Caf\u00e9 \u20ac \u03a9"));
    QTest::mouseClick(form->writeTagButton, Qt::LeftButton);
    EXPECT_EQ(read24(path)->Composer, "Caf\xE9 \x80 ?");
}

TEST_F(EditTest, FileWithoutTagsOpensEmptyAndGetsBothTags) {
    const QString path = writeMp3("bare.mp3", {});
    // A file shown before leaves nothing behind.
    writeMp3("a.mp3", fillEverything, fillV1);
    openEditor({0, 1}, 0);
    clickTab(form->tabMp3File);
    clickRow(form->selectionList, 1);
    clickTab(form->tabIdTag);
    ASSERT_EQ(form->currentFile(), path);
    for (const Field &f : TForm1::fieldTable()) {
        if (f.conversion == Conversion::Date) {
            EXPECT_EQ((form.get()->*f.edit)->displayText(), QStringLiteral("__.__.____")) << f.name;
        }
        else if (f.edit != nullptr) {
            EXPECT_TRUE((form.get()->*f.edit)->text().isEmpty()) << f.name;
        } else {
            EXPECT_TRUE((form.get()->*f.combo)->currentText().isEmpty()) << f.name;
        }
    }
    for (QTreeWidget *l : {form->ListView2, form->ListView3, form->ListView4, form->ListView6, form->ListView7})
        EXPECT_EQ(l->topLevelItemCount(), 0);

    form->Edit1->setText(QStringLiteral("New"));
    form->Edit43->setText(QStringLiteral("New v1"));
    QTest::mouseClick(form->writeTagButton, Qt::LeftButton);
    const auto back = read24(path);
    EXPECT_TRUE(back->Id3v2present);
    EXPECT_EQ(back->Title, "New");
    EXPECT_EQ(back->RecordTime, "    -  -  ");
    const auto v1 = read1(path);
    EXPECT_TRUE(v1->ID3v1Present);
    EXPECT_EQ(v1->Title, "New v1");
}

TEST_F(EditTest, LanguageAndKeyConversions) {
    struct Case {
        const char *language, *key;
        QString shownLanguage, shownKey;
        const char *storedLanguage, *storedKey;
    };
    const Case cases[] = {
        {"spa", "Am", QStringLiteral("Spanish"), QString(), "esl", ""},
        {"qqq", "g#M", QString(), QStringLiteral("G#m"), "", "G#m"},
        {"eng", "h", QStringLiteral("English"), QStringLiteral("H"), "eng", "H"},
    };
    int i = 0;
    for (const Case &c : cases) {
        const std::string name = "c" + std::to_string(i++) + ".mp3";
        const QString path = writeMp3(name.c_str(), [&](ID3v24 &t) {
            t.Title = "x";
            t.Language = c.language;
            t.InitialKey = c.key;
        });
        form->showFolder(musicDir.path());
        form->rereadFileList();
        QTest::mouseClick(form->removeAllButton, Qt::LeftButton);
        addFiles({int(fileListNames().indexOf(QString::fromStdString(name)))});
        clickRow(form->selectionList, 0);
        clickTab(form->tabIdTag);
        ASSERT_EQ(form->currentFile(), path);
        EXPECT_EQ(form->ComboBox2->currentText(), c.shownLanguage) << c.language;
        EXPECT_EQ(form->ComboBox3->currentText(), c.shownKey) << c.key;
        QTest::mouseClick(form->writeTagButton, Qt::LeftButton);
        const auto back = read24(path);
        EXPECT_EQ(back->Language, c.storedLanguage) << c.language;
        EXPECT_EQ(back->InitialKey, c.storedKey) << c.key;
    }
}

class WriteForAllTest : public EditTest {
protected:
    std::vector<int> progress;
    Strings counters;
    void watchProgress() {
        platform.onProcessEvents = [this] {
            progress.push_back(form->editorProgress->value());
            counters.push_back(form->editorCounter->text().toStdString());
        };
    }
};

TEST_F(WriteForAllTest, EveryFileGetsTheSameTagWithProgress) {
    const QString a = writeMp3("a.mp3", fillEverything, fillV1);
    const QString b = writeMp3("b.mp3", {});
    const QString c = writeMp3("c.mp3", [](ID3v24 &t) {
        t.Title = "c's own";
        t.SetComment("c only\0"s, "eng", "gone", 1);
        t.SetComment("c two\0"s, "eng", "gone", 2);
        t.SetComment("c three\0"s, "eng", "gone", 3);
    });
    openEditor({0, 1, 2}, 0);
    form->Edit1->setText(QStringLiteral("Shared"));
    platform.messageAnswers.push_back(UiPlatform::Button::Yes);
    int refused = -1;
    watchProgress();
    auto base = platform.onProcessEvents;
    platform.onProcessEvents = [&, base] {
        base();
        // Another command while the batch runs is refused.
        const auto beeps = platform.callsOf(QStringLiteral("beep")).size();
        form->cancelEditingButton->click();
        refused = int(platform.callsOf(QStringLiteral("beep")).size() - beeps);
    };
    QTest::mouseClick(form->writeForAllButton, Qt::LeftButton);

    const auto *ask = platform.lastMessage();
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(ask->message.title, QStringLiteral("Caution"));
    EXPECT_EQ(ask->message.text, QStringLiteral("Do you realy want to tag all files in the selection list?"));
    EXPECT_EQ(ask->message.icon, UiPlatform::Icon::Question);
    EXPECT_EQ(ask->message.defaultButton, UiPlatform::Button::No);
    EXPECT_EQ(progress, (std::vector<int>{33, 67, 100}));
    EXPECT_EQ(counters, (Strings{"1 of 3", "2 of 3", "3 of 3"}));
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(platform.busyDepth, 0);
    EXPECT_EQ(form->pageArea->currentWidget(), form->fileBrowserPage);
    EXPECT_EQ(form->leftTab(), TForm1::Mp3FileTab);
    for (const QString &p : {a, b, c}) {
        const auto t = read24(p);
        EXPECT_EQ(t->Title, "Shared") << p.toStdString();
        ASSERT_EQ(t->CommentList.Count, 2) << p.toStdString();
        EXPECT_EQ(t->CommentList.Description[1], "first\0"s);
        EXPECT_EQ(t->LyricsList.Count, 1);
        EXPECT_EQ(t->TermsList.Count, 1);
        EXPECT_EQ(t->RecordTime, "2003-05-17");
        EXPECT_EQ(read1(p)->Album, "Old album") << p.toStdString();
    }
}

TEST_F(WriteForAllTest, NoWritesNothing) {
    const QString a = writeMp3("a.mp3", {});
    openEditor({0});
    form->Edit1->setText(QStringLiteral("Not written"));
    platform.messageAnswers.push_back(UiPlatform::Button::No);
    QTest::mouseClick(form->writeForAllButton, Qt::LeftButton);
    EXPECT_FALSE(read24(a)->Id3v2present);
    EXPECT_EQ(form->pageArea->currentWidget(), form->editorPage);
}

TEST_F(WriteForAllTest, ProgressRoundsHalvesToEven) {
    for (const char *n : {"1.mp3", "2.mp3", "3.mp3", "4.mp3", "5.mp3", "6.mp3", "7.mp3", "8.mp3"})
        writeMp3(n, {});
    openEditor({0, 1, 2, 3, 4, 5, 6, 7});
    watchProgress();
    platform.messageAnswers.push_back(UiPlatform::Button::Yes);
    QTest::mouseClick(form->writeForAllButton, Qt::LeftButton);
    EXPECT_EQ(progress, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(counters.back(), "8 of 8");
}

TEST_F(WriteForAllTest, OneFileIsWrittenTwiceAndEndsAtOneOfOne) {
    const QString a = writeMp3("a.mp3", {});
    openEditor({0});
    watchProgress();
    platform.messageAnswers.push_back(UiPlatform::Button::Yes);
    QTest::mouseClick(form->writeForAllButton, Qt::LeftButton);
    EXPECT_EQ(progress, std::vector<int>{100});
    EXPECT_EQ(counters, Strings{"1 of 1"});
    EXPECT_TRUE(read24(a)->Id3v2present);
}

TEST_F(WriteForAllTest, AFileGoneInTheMiddleStopsTheRunThere) {
    const QString a = writeMp3("a.mp3", {});
    const QString b = writeMp3("b.mp3", {});
    const QString c = writeMp3("c.mp3", {});
    openEditor({0, 1, 2}, 0);
    ASSERT_TRUE(QFile::remove(b));
    form->Edit1->setText(QStringLiteral("T"));
    platform.messageAnswers.push_back(UiPlatform::Button::Yes);
    QTest::mouseClick(form->writeForAllButton, Qt::LeftButton);

    const auto *error = platform.lastMessage();
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->message.icon, UiPlatform::Icon::Error);
    EXPECT_EQ(form->editorProgress->value(), 33);
    EXPECT_EQ(form->editorCounter->text(), QStringLiteral("1 of 3"));
    EXPECT_EQ(form->pageArea->currentWidget(), form->editorPage);
    EXPECT_EQ(platform.busyDepth, 0);
    EXPECT_FALSE(form->batchRunning());
    EXPECT_EQ(read24(a)->Title, "T");
    EXPECT_FALSE(QFile::exists(b));
    EXPECT_FALSE(read24(c)->Id3v2present);
}

TEST_F(EditTest, CopyToV1) {
    const QString path = writeMp3("a.mp3", [](ID3v24 &t) {
        t.Title = std::string(40, 'T');
        t.TrackNum = "5/12";
        t.LeadPerformer = "Artist";
        t.Album = "Album";
        t.ContentType = "(17)";
    });
    openEditor({0});
    QTest::mouseClick(form->copyToV1Button, Qt::LeftButton);
    EXPECT_EQ(form->Edit43->text(), QString(40, u'T'));
    EXPECT_EQ(form->Edit42->text(), QStringLiteral("5/12"));
    EXPECT_EQ(form->Edit44->text(), QStringLiteral("Artist"));
    EXPECT_EQ(form->Edit46->text(), QStringLiteral("Album"));
    EXPECT_EQ(form->Edit45->text(), QStringLiteral("    "));
    EXPECT_EQ(form->ComboBox4->currentIndex(), -1);

    // A release year and a genre of the list, letter case aside.
    form->ComboBox1->setEditText(QStringLiteral("rOCK"));
    form->MaskEdit2->setText(QStringLiteral("17052003"));
    QTest::mouseClick(form->copyToV1Button, Qt::LeftButton);
    EXPECT_EQ(form->Edit45->text(), QStringLiteral("2003"));
    EXPECT_EQ(form->ComboBox4->currentText(), QStringLiteral("Rock"));

    form->MaskEdit2->setText(QString());
    QTest::mouseClick(form->copyToV1Button, Qt::LeftButton);
    QTest::mouseClick(form->writeTagButton, Qt::LeftButton);
    const auto v1 = read1(path);
    EXPECT_EQ(v1->Title, std::string(30, 'T'));
    EXPECT_EQ(v1->TrackNum, "5");
    EXPECT_EQ(v1->Year, "");
    EXPECT_EQ(read24(path)->Title, std::string(40, 'T'));
}

TEST_F(EditTest, CopyFromV1) {
    writeMp3("a.mp3", [](ID3v24 &t) { t.ContentType = "Jazz"; }, fillV1);
    openEditor({0});
    QTest::mouseClick(form->copyFromV1Button, Qt::LeftButton);
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("5"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("Old title"));
    EXPECT_EQ(form->Edit17->text(), QStringLiteral("Old artist"));
    EXPECT_EQ(form->Edit3->text(), QStringLiteral("Old album"));
    EXPECT_EQ(form->MaskEdit2->displayText(), QStringLiteral("01.01.1999"));
    EXPECT_EQ(form->ComboBox1->currentText(), QStringLiteral("Rock"));
    EXPECT_TRUE(form->Edit9->text().isEmpty()); // nothing else changes

    form->Edit45->setText(QString());
    form->ComboBox4->setCurrentIndex(-1);
    QTest::mouseClick(form->copyFromV1Button, Qt::LeftButton);
    EXPECT_EQ(form->MaskEdit2->displayText(), QStringLiteral("01.01.____"));
    EXPECT_TRUE(form->ComboBox1->currentText().isEmpty());
}

TEST_F(EditTest, CancelEditingWritesNothingAndResetsTheCurrentItem) {
    const QString a = writeMp3("a.mp3", {});
    const QString b = writeMp3("b.mp3", {});
    openEditor({0, 1}, 1);
    form->Edit1->setText(QStringLiteral("Not written"));
    QTest::mouseClick(form->cancelEditingButton, Qt::LeftButton);
    EXPECT_EQ(form->pageArea->currentWidget(), form->fileBrowserPage);
    EXPECT_EQ(form->leftTab(), TForm1::Mp3FileTab);
    EXPECT_FALSE(read24(b)->Id3v2present);
    // Opening again without a pick opens the first file.
    clickTab(form->tabIdTag);
    EXPECT_EQ(form->currentFile(), a);
}

} // namespace
} // namespace tagvane::testing
