#pragma once

// A main window on a fresh program folder, driven through the scripted platform.

#include "ui/tagprog1.h"
#include "ui/uiplatform.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

namespace tagvane::testing {

// With TAGVANE_SCREENSHOT_DIR set (scripts/screenshots.sh), saves what the
// widget shows as NAME.png there, so a filled view can be looked at.
inline void saveScreenshot(QWidget *widget, const QString &name) {
    const QByteArray dir = qgetenv("TAGVANE_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QCoreApplication::processEvents();
    const QString file = QDir(QString::fromLocal8Bit(dir)).filePath(name + QStringLiteral(".png"));
    EXPECT_TRUE(widget->grab().save(file)) << file.toStdString();
}

class MainWindowTest : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(programDir.isValid());
        ASSERT_TRUE(musicDir.isValid());
        QDir(programDir.path()).mkdir(QStringLiteral("Temp"));
        form = std::make_unique<TForm1>(programDir.path(), platform);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override { form.reset(); }

    template <class W> W *find(const char *name) const {
        auto *w = form->findChild<W *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // Creates files in the music folder; content does not matter to the browser.
    void makeFiles(const QStringList &names, const QString &folder = {}) const {
        const QString base = folder.isEmpty() ? musicDir.path() : folder;
        for (const QString &n : names) {
            QFile f(QDir(base).filePath(n));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << n.toStdString();
            // Long enough for the ID3v1 block, which the editor reads on opening.
            f.write(QByteArray(256, 'x'));
        }
    }

    QStringList fileListNames() const { return form->fileModel->names(); }

    // Picks file list rows, in the order given, as ctrl-clicks would.
    void pickFiles(std::initializer_list<int> rows) const {
        auto *sel = form->fileList->selectionModel();
        sel->clearSelection();
        for (int r : rows)
            sel->select(form->fileModel->index(r), QItemSelectionModel::Select);
    }

    void clickRow(QTreeView *list, int row) const {
        list->scrollTo(list->model()->index(row, 0));
        const QRect r = list->visualRect(list->model()->index(row, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }

    QStringList selectionColumn(int column) const {
        QStringList out;
        for (int r = 0; r < form->selection->rowCount(); ++r)
            out << form->selection->index(r, column).data().toString();
        return out;
    }

    // Adds the named files of the music folder to the selection list.
    void addFiles(std::initializer_list<int> rows) const {
        pickFiles(rows);
        QTest::mouseClick(form->addToListButton, Qt::LeftButton);
    }

    void clickTab(QPushButton *tab) const { QTest::mouseClick(tab, Qt::LeftButton); }

    QTemporaryDir programDir;
    QTemporaryDir musicDir;
    ScriptedPlatform platform;
    std::unique_ptr<TForm1> form;
};

} // namespace tagvane::testing
