// The file commands of the "Mp3 File" toolbar, the About page's buttons, the
// Turbo Renamer page and the settings file with the program's start and end.

#include "ui/tagprog1.h"

#include "id3v1/Id3.h"
#include "id3v2/Idtag24.h"
#include "platform/File.h"
#include "platform/InOutError.h"
#include "platform/codepage.h"
#include "platform/inifile.h"
#include "platform/rename.h"
#include "renamer/renamer.h"
#include "ui/addeditimage.h"
#include "ui/addlang.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QToolButton>
#include <QTreeWidget>

#include <unistd.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tagvane {

namespace {

const std::string positionSection = "Position";
const std::string pathSection = "Path";
const std::string templateSection = "Rename Template";

enum TemplateColumn { PrefixColumn = 0, FrameNameColumn = 1, SuffixColumn = 2 };

QString fromNative(const std::string &s) {
    return QString::fromStdString(s);
}

std::string toNative(const QString &s) {
    return s.toStdString();
}

// The folder that stands in for the drive root of the old default "c:\".
QString homeFolder() {
    return makerealpath(QDir::homePath());
}

// An XDG base folder: the variable when it holds an absolute path, else the
// fallback under the home folder.
QString xdgFolder(const char *variable, const QString &fallback) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + fallback);
}

bool writableFolder(const QString &folder) {
    return QFileInfo(folder).isDir() && ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

std::vector<RenameTemplate> renameTemplates(const QTreeWidget *list) {
    std::vector<RenameTemplate> out;
    out.reserve(static_cast<size_t>(list->topLevelItemCount()));
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        const QTreeWidgetItem *row = list->topLevelItem(r);
        out.push_back({utf8ToCp1252(toNative(row->text(PrefixColumn))),
                       utf8ToCp1252(toNative(row->text(FrameNameColumn))),
                       utf8ToCp1252(toNative(row->text(SuffixColumn)))});
    }
    return out;
}

bool hasForbiddenChar(const QString &text) {
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?')) || text.contains(QLatin1Char('\\'));
}

// Distance between two rectangles; 0 when they meet.
qint64 distanceSquared(const QRect &a, const QRect &b) {
    const qint64 dx = std::max<qint64>({0, qint64(b.left()) - a.right(), qint64(a.left()) - b.right()});
    const qint64 dy = std::max<qint64>({0, qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom()});
    return dx * dx + dy * dy;
}

} // namespace

// ---- Places and small helpers

TForm1::ProgramPlaces TForm1::findProgramPlaces(const QString &executableFolder) {
    ProgramPlaces places;
    if (writableFolder(executableFolder)) {
        places.programFolder = QDir::cleanPath(executableFolder);
        places.settingsFile = QDir(places.programFolder).filePath(QStringLiteral("tagvane.ini"));
    } else {
        const QString config = xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/tagvane");
        places.programFolder =
            xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/tagvane");
        places.settingsFile = config + QStringLiteral("/tagvane.ini");
        QDir().mkpath(config);
    }
    // A build folder or a fresh user folder lacks them; the program needs both.
    QDir().mkpath(QDir(places.programFolder).filePath(QStringLiteral("Temp")));
    QDir().mkpath(QDir(places.programFolder).filePath(QStringLiteral("Export Images")));
    return places;
}

QString TForm1::settingsFile() const {
    if (!settingsFile_.isEmpty())
        return settingsFile_;
    return makerealpath(programFolder_) + QStringLiteral("tagvane.ini");
}

QString TForm1::extractdialogpath(const QString &fileName) {
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : fileName.left(slash + 1);
}

QPoint TForm1::placeOnScreens(QPoint position, QSize size, const QList<QRect> &screens) {
    if (screens.isEmpty())
        return position;
    // The title strip is what the user drags; a window is lost when no screen
    // shows enough of it.
    const QRect window(position, size);
    const QRect strip(position, QSize(size.width(), std::min(size.height(), 20)));
    const int needWidth = std::min(size.width(), 40);
    const int needHeight = std::min(strip.height(), 10);
    for (const QRect &s : screens) {
        const QRect seen = s.intersected(strip);
        if (seen.width() >= needWidth && seen.height() >= needHeight)
            return position;
    }
    const QRect *nearest = &screens.first();
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QRect &s : screens) {
        const qint64 d = distanceSquared(window, s);
        if (d < best) {
            best = d;
            nearest = &s;
        }
    }
    // Inside the nearest screen as far as it goes; a window larger than the
    // screen keeps its top left corner on it.
    const QRect &s = *nearest;
    const int left = std::max(s.left(), std::min(position.x(), s.right() + 1 - size.width()));
    const int top = std::max(s.top(), std::min(position.y(), s.bottom() + 1 - size.height()));
    return {left, top};
}

// ---- Wiring

void TForm1::setupFileCommands() {
    command(templateAddButton, [this] { addTemplate(); });
    command(templateDeleteButton, [this] { deleteTemplate(); });
    command(renameButton, [this] {
        const auto answer =
            showMessage(QStringLiteral("Caution"),
                        QStringLiteral("Do you realy want to rename all files in the selection list?"),
                        UiPlatform::Icon::Question, int(UiPlatform::Button::Yes) | int(UiPlatform::Button::No),
                        UiPlatform::Button::No);
        if (answer == UiPlatform::Button::Yes)
            RenameSelection();
    });

    command(ToolButton9, [this] { playFile(); });
    command(ToolButton10, [this] { killTag(); });
    command(ToolButton11, [this] { deleteFile(); });

    const QString mail = QStringLiteral("mailto:") + QLatin1String(authorMail);
    command(registerButton, [this, mail] { platform().shellOpen(mail + QStringLiteral("?subject=Registration"), {}); });
    command(reportBugButton, [this, mail] { platform().shellOpen(mail + QStringLiteral("?subject=Bug Report"), {}); });
    // The desktop opener needs a scheme in front of the host name.
    command(checkVersionButton, [this] {
        platform().shellOpen(QStringLiteral("https://") + QLatin1String(authorWebPage), {});
    });
}

// ---- Turbo Renamer page

void TForm1::appendTemplate(const QString &prefix, const QString &frameName, const QString &suffix) {
    auto *row = new QTreeWidgetItem(templateList);
    row->setText(PrefixColumn, prefix);
    row->setText(FrameNameColumn, frameName);
    row->setText(SuffixColumn, suffix);
}

void TForm1::addTemplate() {
    if (hasForbiddenChar(prefixEdit->text()) || hasForbiddenChar(suffixEdit->text())) {
        showMessage(QStringLiteral("Warning"),
                    QStringLiteral("File name cannot contain *, ?, \\. Please replace these chars."),
                    UiPlatform::Icon::Error);
        return;
    }
    appendTemplate(prefixEdit->text(), frameNameCombo->currentIndex() < 0 ? QString() : frameNameCombo->currentText(),
                   suffixEdit->text());
    ShowRenamePreview();
}

void TForm1::deleteTemplate() {
    const QList<QTreeWidgetItem *> picked = templateList->selectedItems();
    if (picked.isEmpty())
        return;
    delete picked.first();
    ShowRenamePreview();
}

void TForm1::ShowRenamePreview() {
    QString text;
    for (int r = 0; r < templateList->topLevelItemCount(); ++r) {
        const QTreeWidgetItem *row = templateList->topLevelItem(r);
        text += row->text(PrefixColumn) + row->text(FrameNameColumn) + row->text(SuffixColumn);
    }
    renamePreview->setText(text + QStringLiteral(".mp3"));
}

void TForm1::RenameSelection() {
    const int n = selectionCount();
    if (n > 0) {
        // Nothing else may change the list or the tags while events come through.
        BatchScope batch(*this);
        const float step = 100.0f / static_cast<float>(n);
        const QString total = QString::number(n);
        const std::vector<RenameTemplate> templates = renameTemplates(templateList);
        const std::string pictures = toNative(pictureFolder());
        for (int i = 1; i <= n; ++i) {
            const std::string folder = toNative(selectionPath(i));
            const std::string fullName = folder + toNative(selectionFile(i));
            tag24->FileName = fullName;
            tag1->FileName = fullName;
            tag24->ReadTag(pictures, false);
            rememberExtractedPictures();
            tag1->ReadTag();

            std::string newName = RenameLengthRule(BuildRenameName(templates, *tag24, *tag1));
            try {
                renameNoReplace(fullName, folder + newName);
            } catch (const InOutError &) {
                // A clash, or any other refusal: once more with the row's number in front.
                newName = RenameLengthRule(std::to_string(i) + newName);
                renameNoReplace(fullName, folder + newName);
            }
            setSelectionFile(i, fromNative(newName));
            // The default rounding mode rounds halves to the even neighbour.
            renamerProgress->setValue(static_cast<int>(std::lrint(static_cast<float>(i) * step)));
            renamerCounter->setText(QString::number(i) + QStringLiteral(" of ") + total);
            refreshform();
        }
    }
    rereadFileList();
    setLeftTab(Mp3FileTab);
    showPage(FileBrowserPage);
    pressButton(ToolButton13);
}

// ---- File commands

void TForm1::playFile() {
    const int row = currentSelectionRow();
    if (!selectionHasSelectedRow() || row == 0) {
        showMessage(QStringLiteral("Error"), QStringLiteral("Please select file from selection list"),
                    UiPlatform::Icon::Warning);
        return;
    }
    // The player starts in the file's own folder; its result is not examined.
    platform().shellOpen(selectionFullPath(row), selectionPath(row));
}

void TForm1::killTag() {
    if (!selectionHasSelectedRow())
        return;
    const auto answer = showMessage(
        QStringLiteral("Caution"), QStringLiteral("Do you realy want to kill tag from selected file?"),
        UiPlatform::Icon::Question, int(UiPlatform::Button::Yes) | int(UiPlatform::Button::No), UiPlatform::Button::No);
    if (answer != UiPlatform::Button::Yes)
        return;
    const int row = currentSelectionRow();
    if (row == 0)
        return;
    // The header read sets OldTagSize and Id3v2present for this file; the
    // values and lists of the editor stay as they are.
    tag24->FileName = toNative(selectionFullPath(row));
    tag24->ReadTag(toNative(pictureFolder()), true);
    if (tag24->Id3v2present && tag24->OldTagSize() > 0)
        tag24->KillTag();
}

void TForm1::deleteFile() {
    const int row = currentSelectionRow();
    if (!selectionHasSelectedRow() || row == 0) {
        showMessage(QStringLiteral("Error"), QStringLiteral("Please select file from selection list"),
                    UiPlatform::Icon::Warning);
        return;
    }
    const auto answer = showMessage(
        QStringLiteral("Caution"), QStringLiteral("Do you realy want to delete this file from your hard disk?"),
        UiPlatform::Icon::Question, int(UiPlatform::Button::Yes) | int(UiPlatform::Button::No), UiPlatform::Button::No);
    if (answer != UiPlatform::Button::Yes)
        return;
    // Erased for good; a failure leaves through the error box and keeps the row.
    removeFile(toNative(selectionFullPath(row)));
    removeCurrentSelectionRow();
    rereadFileList();
}

// ---- Settings and the end of the run

void TForm1::FormShow() {
    const IniFile ini(toNative(settingsFile()));

    const QPoint stored(ini.readInteger(positionSection, "Left", 73), ini.readInteger(positionSection, "Top", 56));
    QList<QRect> screens;
    for (const QScreen *s : QGuiApplication::screens())
        screens << s->availableGeometry();
    const QSize outer = frameGeometry().size().isValid() ? frameGeometry().size() : size();
    move(placeOnScreens(stored, outer, screens));

    const QString exportDefault = makerealpath(makerealpath(programFolder_) + QStringLiteral("Export Images"));
    const QString imageSaveDir = fromNative(ini.readString(pathSection, "ImageSaveDir", toNative(exportDefault)));
    const QString openPictureDir = fromNative(ini.readString(pathSection, "OpenPictureDir", toNative(homeFolder())));
    const QString openTextDir = fromNative(ini.readString(pathSection, "OpenTextDir", toNative(homeFolder())));
    exportFolder = imageSaveDir;
    if (Form3 != nullptr)
        Form3->setPictureFolder(openPictureDir);
    if (Form2 != nullptr)
        Form2->setImportFolder(openTextDir);

    templateList->clear();
    const int count = ini.readInteger(templateSection, "NumberOfItems", 0);
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        appendTemplate(fromNative(ini.readString(templateSection, n + "Prefix", {})),
                       fromNative(ini.readString(templateSection, n + "FrameName", {})),
                       fromNative(ini.readString(templateSection, n + "Suffix", {})));
    }
    ShowRenamePreview();

    pressButton(ToolButton13);
    pressButton(ToolButton2);
}

void TForm1::FormDestroy() {
    IniFile ini(toNative(settingsFile()));
    try {
        ini.writeInteger(positionSection, "Left", x());
        ini.writeInteger(positionSection, "Top", y());

        if (!lastExportFile.isEmpty())
            ini.writeString(pathSection, "ImageSaveDir", toNative(extractdialogpath(lastExportFile)));
        if (Form3 != nullptr && !Form3->lastOpenedPicture().isEmpty())
            ini.writeString(pathSection, "OpenPictureDir", toNative(extractdialogpath(Form3->lastOpenedPicture())));
        if (Form2 != nullptr && !Form2->lastImportedFile().isEmpty())
            ini.writeString(pathSection, "OpenTextDir", toNative(extractdialogpath(Form2->lastImportedFile())));

        const int rows = templateList->topLevelItemCount();
        ini.writeInteger(templateSection, "NumberOfItems", rows);
        for (int i = 1; i <= rows; ++i) {
            const QTreeWidgetItem *row = templateList->topLevelItem(i - 1);
            const std::string n = std::to_string(i);
            ini.writeString(templateSection, n + "Prefix", toNative(row->text(PrefixColumn)));
            ini.writeString(templateSection, n + "Framename", toNative(row->text(FrameNameColumn)));
            ini.writeString(templateSection, n + "Suffix", toNative(row->text(SuffixColumn)));
        }
    } catch (const InOutError &) {
        throw InOutError("Unable to write to " + ini.path());
    }
    rememberExtractedPictures();
    cleanPictureFolder();
}

void TForm1::rememberExtractedPictures() {
    for (int i = 1; i <= tag24->PictureList.Count; ++i) {
        const QString path = fromNative(tag24->PictureList.PictureFile[i]);
        if (!path.isEmpty() && !extractedPictures_.contains(path))
            extractedPictures_ << path;
    }
}

void TForm1::cleanPictureFolder() {
    const QDir folder(pictureFolder());
    if (!folder.exists())
        return;
    const QString canonicalFolder = QFileInfo(folder.path()).canonicalFilePath();
    const auto inPictureFolder = [&](const QFileInfo &f) {
        return !canonicalFolder.isEmpty() && QFileInfo(f.absolutePath()).canonicalFilePath() == canonicalFolder;
    };
    // Entries that would not go are skipped, so the cleanup always ends.
    QSet<QString> stuck;
    const auto tryRemove = [&](const QFileInfo &f) {
        if (stuck.contains(f.fileName()))
            return false;
        try {
            removeFile(toNative(f.absoluteFilePath()));
            return true;
        } catch (const InOutError &) {
            stuck.insert(f.fileName());
            return false;
        }
    };
    const auto entries = [&] {
        return folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                    QDir::Name);
    };

    static const char *const patterns[] = {"*.jpg", "*.jpeg", "*.bmp", "*.wmf", "*.emf", "*.ico"};
    for (const char *pattern : patterns) {
        const QRegularExpression match(
            QRegularExpression::wildcardToRegularExpression(QString::fromLatin1(pattern)),
            QRegularExpression::CaseInsensitiveOption);
        // Look again after every deletion, until nothing that matches is left.
        for (bool removed = true; removed;) {
            removed = false;
            for (const QFileInfo &f : entries()) {
                if (f.isDir() && !f.isSymLink())
                    continue; // a folder named like a picture stays
                if (match.match(f.fileName()).hasMatch() && tryRemove(f)) {
                    removed = true;
                    break;
                }
            }
        }
    }

    // Pictures of other types that this run's reads extracted (".png",
    // ".gif" and what else a tag names). Only entries of the picture folder
    // itself: a picture the user added from elsewhere is the user's own file.
    for (const QString &path : std::as_const(extractedPictures_)) {
        const QFileInfo f(path);
        if (f.isFile() && !f.isSymLink() && inPictureFolder(f))
            tryRemove(f);
    }
}

} // namespace tagvane
