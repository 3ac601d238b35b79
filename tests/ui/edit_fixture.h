#pragma once

// A main window with the entry dialog, and MP3 files whose tags the engine writes.

#include "dialog_fixture.h"
#include "mainwindow_fixture.h"

#include "id3v1/Id3.h"
#include "id3v2/Idtag24.h"
#include "platform/codepage.h"
#include "ui/addlang.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>

#include <functional>
#include <string>

namespace tagvane::testing {

class EditTest : public MainWindowTest {
public:
    void SetUp() override {
        MainWindowTest::SetUp();
        dialog = std::make_unique<TForm2>(platform);
        form->Form2 = dialog.get();
    }
    void TearDown() override {
        form.reset();
        dialog.reset();
    }

    QString mp3Path(const char *name) const { return QDir(musicDir.path()).filePath(QString::fromLatin1(name)); }

    // Some fake audio, then the tags the callbacks fill (none when empty).
    QString writeMp3(const char *name, const std::function<void(ID3v24 &)> &v2,
                     const std::function<void(Id3v1 &)> &v1 = {}) const {
        const QString path = mp3Path(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(3000, '\x55'));
        f.close();
        if (v2) {
            ID3v24 t;
            t.FileName = path.toStdString();
            t.ReadTag(pictureFolder(), true);
            v2(t);
            t.WriteTag();
        }
        if (v1) {
            Id3v1 t;
            t.FileName = path.toStdString();
            v1(t);
            t.WriteTag();
        }
        return path;
    }

    std::string pictureFolder() const { return QDir(programDir.path()).filePath(QStringLiteral("Temp/")).toStdString(); }

    std::unique_ptr<ID3v24> read24(const QString &path) const {
        auto t = std::make_unique<ID3v24>();
        t->FileName = path.toStdString();
        t->ReadTag(pictureFolder(), false);
        return t;
    }
    std::unique_ptr<Id3v1> read1(const QString &path) const {
        auto t = std::make_unique<Id3v1>();
        t->FileName = path.toStdString();
        t->ReadTag();
        return t;
    }

    // Lists the music folder's files, adds the given rows, highlights `open`
    // and opens the editor.
    void openEditor(std::initializer_list<int> rows, int open = 0) {
        form->showFolder(musicDir.path());
        addFiles(rows);
        clickRow(form->selectionList, open);
        clickTab(form->tabIdTag);
        ASSERT_EQ(form->pageArea->currentWidget(), form->editorPage);
    }

    static QString q(const std::string &bytes) { return QString::fromStdString(cp1252ToUtf8(bytes)); }

    std::unique_ptr<TForm2> dialog;
};

} // namespace tagvane::testing
