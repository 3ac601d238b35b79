#pragma once

// Helpers for the renamer, file command and settings tests: MP3 files with
// real tags written by our own engine, and reading files back as bytes.

#include "mainwindow_fixture.h"

#include "id3v1/Id3.h"
#include "id3v2/Idtag24.h"

#include <QByteArray>
#include <QFile>

#include <string>

namespace tagvane::testing {

struct SongTags {
    std::string artist, title; // Windows-1252 bytes
    bool v1 = true;            // also an ID3v1.1 block
};

class FilesTest : public MainWindowTest {
public:
    QString music(const QString &name) const { return QDir(musicDir.path()).filePath(name); }

    // 300 bytes of "audio", then the tags the case asks for.
    void makeSong(const QString &name, const SongTags &tags) const {
        const QString path = music(name);
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(300, '\x55'));
        }
        if (!tags.artist.empty() || !tags.title.empty()) {
            ID3v24 v2;
            v2.FileName = path.toStdString();
            v2.ReadTag(std::string(), false);
            v2.LeadPerformer = tags.artist;
            v2.Title = tags.title;
            v2.WriteTag();
        }
        if (tags.v1) {
            Id3v1 v1;
            v1.FileName = path.toStdString();
            v1.Artist = tags.artist.substr(0, 30);
            v1.Title = tags.title.substr(0, 30);
            v1.Genre = std::string();
            v1.WriteTag();
        }
    }

    static QByteArray bytes(const QString &path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray();
        return f.readAll();
    }

    static void writeBytes(const QString &path, const QByteArray &data) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

    // Shows the music folder and adds the files at these rows of its list.
    void select(std::initializer_list<int> rows) const {
        form->showFolder(musicDir.path());
        form->rereadFileList();
        addFiles(rows);
    }

    QStringList musicFiles() const {
        return QDir(musicDir.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};

} // namespace tagvane::testing
