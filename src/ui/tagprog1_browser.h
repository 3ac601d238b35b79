#pragma once

#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <QObject>
#include <QPersistentModelIndex>
#include <QString>
#include <QStringList>

#include <vector>

class QAbstractItemView;

namespace tagvane {

// The one current item that all row lists of the main window share: the row that
// most recently became selected or stopped being selected in any tracked list.
// It is held as a persistent index, so removing its row, clearing or refilling
// its list leaves no current item behind.
class CurrentItem : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Call after the list's model is set; selection changes then set the item.
    void track(QAbstractItemView *list);
    // Row is 0-based; a row outside the list clears the item.
    void set(const QAbstractItemView *list, int row);
    void clear();
    // 1-based position of the current item in that list, 0 when it is not one of its rows.
    int positionIn(const QAbstractItemView *list) const;
    // The list holding the current item, or nullptr.
    const QAbstractItemView *list() const;

Q_SIGNALS:
    void changed();

private:
    void selectionChanged(const QAbstractItemView *list, const QModelIndex &selected, const QModelIndex &deselected);

    const QAbstractItemView *list_ = nullptr;
    QPersistentModelIndex index_;
};

// The MP3 files of one folder, listed by the program itself so that a re-read
// is synchronous and gives the same order every time.
class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Lists the files of the folder whose names end in ".mp3", letter case
    // ignored, sorted by name; a folder that cannot be read lists nothing.
    void setFolder(const QString &folder);
    void reread() { setFolder(folder_); }
    const QString &folder() const { return folder_; }
    const QStringList &names() const { return names_; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QString folder_;
    QStringList names_;
};

// The selection list: rows of file name and folder path. "No." is always the
// row's position, so it is computed rather than stored.
class SelectionListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    struct Row {
        QString file;
        QString path; // ends with the folder separator
    };

    void append(const QStringList &files, const QString &path);
    void removeRowAt(int row); // 0-based
    void clear();
    void setFile(int row, const QString &file); // 0-based
    const Row &row(int row) const { return rows_.at(static_cast<size_t>(row)); }
    int count() const { return static_cast<int>(rows_.size()); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<Row> rows_;
};

// A folder path as the selection list stores it: with the separator at its end.
QString makerealpath(const QString &folder);

} // namespace tagvane
