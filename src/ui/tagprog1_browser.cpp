#include "ui/tagprog1_browser.h"

#include <QAbstractItemView>
#include <QDir>
#include <QItemSelectionModel>
#include <QSize>

#include <algorithm>

namespace tagvane {

// ---- CurrentItem

void CurrentItem::track(QAbstractItemView *list) {
    QItemSelectionModel *selection = list->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            [this, list](const QItemSelection &selected, const QItemSelection &deselected) {
                const QModelIndex on = selected.isEmpty() ? QModelIndex() : QModelIndex(selected.first().topLeft());
                const QModelIndex off =
                    deselected.isEmpty() ? QModelIndex() : QModelIndex(deselected.first().topLeft());
                selectionChanged(list, on, off);
            });
}

void CurrentItem::selectionChanged(const QAbstractItemView *list, const QModelIndex &selected,
                                   const QModelIndex &deselected) {
    // Moving the highlight deselects one row and selects another in one change;
    // the row that became selected is the later of the two events.
    const QModelIndex row = selected.isValid() ? selected : deselected;
    if (!row.isValid())
        return;
    list_ = list;
    index_ = row.siblingAtColumn(0);
    Q_EMIT changed();
}

void CurrentItem::set(const QAbstractItemView *list, int row) {
    if (list == nullptr || list->model() == nullptr || row < 0 || row >= list->model()->rowCount()) {
        clear();
        return;
    }
    list_ = list;
    index_ = list->model()->index(row, 0);
    Q_EMIT changed();
}

void CurrentItem::clear() {
    list_ = nullptr;
    index_ = QPersistentModelIndex();
    Q_EMIT changed();
}

int CurrentItem::positionIn(const QAbstractItemView *list) const {
    if (list == nullptr || list != list_ || !index_.isValid() || index_.model() != list->model())
        return 0;
    return index_.row() + 1;
}

const QAbstractItemView *CurrentItem::list() const {
    return index_.isValid() ? list_ : nullptr;
}

// ---- FileListModel

void FileListModel::setFolder(const QString &folder) {
    QStringList names;
    if (!folder.isEmpty()) {
        QDir dir(folder);
        // QDir matches name filters without regard to case.
        names = dir.entryList({QStringLiteral("*.mp3")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
        // By name, letter case ignored; exact order breaks ties so the listing is stable.
        std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
            const int c = QString::compare(a, b, Qt::CaseInsensitive);
            return c != 0 ? c < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
        });
    }
    beginResetModel();
    folder_ = folder;
    names_ = std::move(names);
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant FileListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= names_.size())
        return {};
    if (role == Qt::DisplayRole)
        return names_.at(index.row());
    if (role == Qt::SizeHintRole)
        return QSize(0, 18);
    return {};
}

// ---- SelectionListModel

void SelectionListModel::append(const QStringList &files, const QString &path) {
    if (files.isEmpty())
        return;
    const int first = count();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(files.size()) - 1);
    rows_.reserve(rows_.size() + static_cast<size_t>(files.size()));
    for (const QString &f : files)
        rows_.push_back({f, path});
    endInsertRows();
}

void SelectionListModel::removeRowAt(int row) {
    if (row < 0 || row >= count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    // Every later row's "No." moved down by one.
    if (row < count())
        Q_EMIT dataChanged(index(row, 0), index(count() - 1, 0));
}

void SelectionListModel::clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void SelectionListModel::setFile(int row, const QString &file) {
    if (row < 0 || row >= count())
        return;
    rows_[static_cast<size_t>(row)].file = file;
    Q_EMIT dataChanged(index(row, 1), index(row, 1));
}

int SelectionListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : count();
}

int SelectionListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant SelectionListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= count() || role != Qt::DisplayRole)
        return {};
    const Row &r = rows_[static_cast<size_t>(index.row())];
    switch (index.column()) {
    case 0:
        return QString::number(index.row() + 1);
    case 1:
        return r.file;
    case 2:
        return r.path;
    default:
        return {};
    }
}

QVariant SelectionListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return QStringLiteral("No.");
    case 1:
        return QStringLiteral("File");
    case 2:
        return QStringLiteral("Path");
    default:
        return {};
    }
}

QString makerealpath(const QString &folder) {
    const QChar separator = QDir::separator();
    return folder.endsWith(separator) ? folder : folder + separator;
}

} // namespace tagvane
