// The file browser page: the file list, the selection list and the current item.

#include "mainwindow_fixture.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

namespace tagvane::testing {
namespace {

using BrowserTest = MainWindowTest;

TEST_F(BrowserTest, FileListShowsMp3FilesOfTheFolderByNameWhateverTheirCase) {
    makeFiles({QStringLiteral("b.mp3"), QStringLiteral("A.MP3"), QStringLiteral("c.Mp3"), QStringLiteral("d.txt"),
               QStringLiteral("e.mp3.bak"), QStringLiteral("a.mp3")});
    QDir(musicDir.path()).mkdir(QStringLiteral("folder.mp3")); // folders are not files
    form->showFolder(musicDir.path());
    EXPECT_EQ(form->fileListFolder(), musicDir.path());
    EXPECT_EQ(fileListNames(), (QStringList{QStringLiteral("A.MP3"), QStringLiteral("a.mp3"), QStringLiteral("b.mp3"),
                                            QStringLiteral("c.Mp3")}));
    EXPECT_EQ(form->fileList->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(form->fileList->sizeHintForRow(0), 18);

    // A re-read shows files as they are now, and keeps what the user picked.
    pickFiles({2});
    makeFiles({QStringLiteral("0.mp3")});
    QFile::remove(QDir(musicDir.path()).filePath(QStringLiteral("c.Mp3")));
    form->rereadFileList();
    EXPECT_EQ(fileListNames(), (QStringList{QStringLiteral("0.mp3"), QStringLiteral("A.MP3"), QStringLiteral("a.mp3"),
                                            QStringLiteral("b.mp3")}));
    const QModelIndexList picked = form->fileList->selectionModel()->selectedRows();
    ASSERT_EQ(picked.size(), 1);
    EXPECT_EQ(picked.first().data().toString(), QStringLiteral("b.mp3"));
}

TEST_F(BrowserTest, FolderTreeSelectionShowsThatFolderInTheFileList) {
    QDir(musicDir.path()).mkdir(QStringLiteral("sub"));
    const QString sub = QDir(musicDir.path()).filePath(QStringLiteral("sub"));
    makeFiles({QStringLiteral("one.mp3")}, sub);
    const QModelIndex index = form->folderModel->index(sub);
    ASSERT_TRUE(index.isValid());
    form->folderTree->setCurrentIndex(index);
    EXPECT_EQ(form->fileListFolder(), sub);
    EXPECT_EQ(fileListNames(), QStringList{QStringLiteral("one.mp3")});
    // The tree holds folders only.
    EXPECT_FALSE(form->folderModel->filter().testFlag(QDir::Files));
}

TEST_F(BrowserTest, AddedRowsFollowTheFileListOrderAndNumberOnFromTheEnd) {
    makeFiles({QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.mp3"), QStringLiteral("d.mp3"),
               QStringLiteral("e.mp3")});
    form->showFolder(musicDir.path());
    addFiles({0, 1});
    addFiles({4, 0, 2}); // picked in another order than they stand
    EXPECT_EQ(selectionColumn(0), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                               QStringLiteral("4"), QStringLiteral("5")}));
    EXPECT_EQ(selectionColumn(1),
              (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("a.mp3"),
                           QStringLiteral("c.mp3"), QStringLiteral("e.mp3")}));
    const QString path = musicDir.path() + QLatin1Char('/');
    EXPECT_EQ(selectionColumn(2), QStringList(5, path));
    EXPECT_EQ(form->selectionFullPath(4), path + QStringLiteral("c.mp3"));
    // The file list keeps its picks; the new rows are not selected and the current item stays none.
    EXPECT_EQ(form->fileList->selectionModel()->selectedRows().size(), 3);
    EXPECT_FALSE(form->selectionHasSelectedRow());
    EXPECT_EQ(form->current.list(), nullptr);

    // Nothing picked: nothing added.
    form->fileList->selectionModel()->clearSelection();
    QTest::mouseClick(form->addToListButton, Qt::LeftButton);
    EXPECT_EQ(form->selectionCount(), 5);
}

TEST_F(BrowserTest, SameFileTwiceGivesTwoRows) {
    makeFiles({QStringLiteral("song.mp3")});
    form->showFolder(musicDir.path());
    addFiles({0});
    addFiles({0});
    EXPECT_EQ(selectionColumn(0), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(form->selectionFullPath(1), form->selectionFullPath(2));
}

TEST_F(BrowserTest, PathOfTheRootFolderIsTakenAsItIs) {
    EXPECT_EQ(makerealpath(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(makerealpath(QStringLiteral("/music")), QStringLiteral("/music/"));
    EXPECT_EQ(makerealpath(QStringLiteral("/music/")), QStringLiteral("/music/"));
}

TEST_F(BrowserTest, RemovingTheCurrentRowRenumbersTheRest) {
    makeFiles({QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.mp3"), QStringLiteral("d.mp3")});
    form->showFolder(musicDir.path());
    addFiles({0, 1, 2, 3});
    clickRow(form->selectionList, 1);
    EXPECT_EQ(form->currentSelectionRow(), 2);
    QTest::mouseClick(form->removeFromListButton, Qt::LeftButton);
    EXPECT_EQ(selectionColumn(0), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(selectionColumn(1),
              (QStringList{QStringLiteral("a.mp3"), QStringLiteral("c.mp3"), QStringLiteral("d.mp3")}));
    // The removed row was the current item; now there is none, so another removal does nothing.
    EXPECT_EQ(form->currentSelectionRow(), 0);
    clickRow(form->selectionList, 2);
    form->selectionList->selectionModel()->clearSelection(); // deselecting sets the item too
    EXPECT_EQ(form->currentSelectionRow(), 3);
    QTest::mouseClick(form->removeFromListButton, Qt::LeftButton); // no selected row: nothing happens
    EXPECT_EQ(form->selectionCount(), 3);
}

TEST_F(BrowserTest, RemoveAllEmptiesTheListAndNumberingStartsAgain) {
    makeFiles({QStringLiteral("a.mp3"), QStringLiteral("b.mp3")});
    form->showFolder(musicDir.path());
    addFiles({0, 1});
    clickRow(form->selectionList, 0);
    QTest::mouseClick(form->removeAllButton, Qt::LeftButton);
    EXPECT_EQ(form->selectionCount(), 0);
    EXPECT_EQ(form->current.list(), nullptr);
    QTest::mouseClick(form->removeFromListButton, Qt::LeftButton); // right after: nothing
    QTest::mouseClick(form->removeAllButton, Qt::LeftButton);      // on an empty list: nothing
    EXPECT_EQ(form->selectionCount(), 0);
    addFiles({1});
    EXPECT_EQ(selectionColumn(0), QStringList{QStringLiteral("1")});
    EXPECT_EQ(selectionColumn(1), QStringList{QStringLiteral("b.mp3")});
}

TEST_F(BrowserTest, BackOnTheMp3FileTabTheFirstRowIsCurrentWhateverIsHighlighted) {
    makeFiles({QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.mp3")});
    form->showFolder(musicDir.path());
    addFiles({0, 1, 2});
    clickRow(form->selectionList, 2);
    clickTab(form->tabIdTag);
    ASSERT_EQ(form->pageArea->currentWidget(), form->editorPage);
    clickTab(form->tabMp3File);
    EXPECT_EQ(form->pageArea->currentWidget(), form->fileBrowserPage);
    EXPECT_EQ(form->currentSelectionRow(), 1);
    EXPECT_EQ(form->selectionList->selectionModel()->selectedRows().first().row(), 2);
    // "Remove form list" then removes row 1, not the highlighted row.
    QTest::mouseClick(form->removeFromListButton, Qt::LeftButton);
    EXPECT_EQ(selectionColumn(1), (QStringList{QStringLiteral("b.mp3"), QStringLiteral("c.mp3")}));
}

TEST_F(BrowserTest, SelectionListIsReadOnlySingleRowWithFixedColumns) {
    QTreeView *list = form->selectionList;
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(list->header()->sectionsClickable());
    const std::pair<const char *, int> columns[] = {{"No.", 30}, {"File", 320}, {"Path", 200}};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(form->selection->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                  QString::fromLatin1(columns[c].first));
        EXPECT_EQ(list->columnWidth(c), columns[c].second);
    }
}

// One current item for all row lists: a row of an entry list takes it from the
// selection list, and refilling that list leaves none.
TEST_F(BrowserTest, CurrentItemIsSharedByAllRowListsAndDropsWithItsList) {
    makeFiles({QStringLiteral("a.mp3"), QStringLiteral("b.mp3")});
    form->showFolder(musicDir.path());
    addFiles({0, 1});
    clickRow(form->selectionList, 1);
    EXPECT_EQ(form->currentSelectionRow(), 2);

    QTreeWidget *comments = form->ListView4;
    for (int i = 1; i <= 2; ++i)
        new QTreeWidgetItem(comments, {QString::number(i), QStringLiteral("d"), QString(), QStringLiteral("t")});
    comments->setCurrentItem(comments->topLevelItem(1));
    EXPECT_EQ(form->current.positionIn(comments), 2);
    EXPECT_EQ(form->currentSelectionRow(), 0);
    EXPECT_TRUE(form->selectionHasSelectedRow()); // its highlight stays
    comments->clear();
    EXPECT_EQ(form->current.positionIn(comments), 0);
    EXPECT_EQ(form->current.list(), nullptr);
}

} // namespace
} // namespace tagvane::testing
