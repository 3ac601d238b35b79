#pragma once

// The main window.
//
// How the window is put together, for whoever adds to it:
//   tagprog1.cpp          frame, toolbars, page switching, the command guard, batch mode
//   tagprog1_pages.cpp    builds the editor's sub-pages, the renamer and About pages (widgets only)
//   tagprog1_browser.*    file browser page: folder tree, file list, selection list, current item
//   tagprog1_edit.cpp     editing flow, date fields, the five entry lists   -> setupEditing()
//   tagprog1_pictures.cpp the images page and the picture list              -> setupPictures()
//   tagprog1_files.cpp    file commands, About buttons, renamer, settings   -> setupFileCommands()
// The three setup functions run at the end of the constructor; connect your
// buttons there with command(), which runs the handler inside the error guard.
// Declare your own members and routines in your section at the end of the class
// only, so that parallel work never touches the same lines. Every control is built
// here, has a member pointer below and an objectName equal to it, and its
// position is fixed. Row lists that share the current item call current.track().

#include "ui/tagprog1_browser.h"
#include "ui/uiplatform.h"

#include <QLabel>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;
class QTreeView;
class QTreeWidget;

namespace tagvane {

class ID3v24;
class TForm2;
class TForm3;
class ImageView;
class PictureCanvas;
class Id3v1;

// A picture that acts like a button: the About picture of the left column.
class ClickablePicture : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // programFolder holds "tagvane.ini", "Temp" and "Export Images"; native path.
    TForm1(const QString &programFolder, UiPlatform &platform, QWidget *parent = nullptr);
    ~TForm1() override;

    enum Page { FileBrowserPage = 0, EditorPage = 1, RenamerPage = 2, AboutPage = 3 };
    enum SubPage {
        AudioDescription = 0,
        PersonalInformation = 1,
        WwwPages = 2,
        LyricsTextsComments = 3,
        Images = 4,
        CopyrightInformations = 5,
        Miscellaneous = 6,
        Id3v11 = 7,
    };
    enum LeftTab { Mp3FileTab = 0, IdTagTab = 1 };

    // How a field's text travels between the control and its property.
    enum class Conversion { None, Date, Language, Key, V1Genre };
    enum class FieldKind { Text, Date, EditableCombo, PickCombo };

    // The field table: every single-value field of the editor, in page order.
    // Building the pages walks it; showing and collecting values walk it too.
    struct Field {
        SubPage page;
        int column; // 0 left, 1 right
        const char *caption;
        const char *name; // objectName, equal to the member
        FieldKind kind;
        int typedLimit; // characters the user may type; 0 for no limit
        bool narrow;
        QLineEdit *TForm1::*edit;
        QComboBox *TForm1::*combo;
        std::string ID3v24::*v2; // nullptr for the ID3v1.1 fields
        std::string Id3v1::*v1;  // nullptr for the ID3v2.4 fields
        Conversion conversion;
    };
    static std::span<const Field> fieldTable();

    // ---- Shared mechanisms

    // Runs a command: catches InOutError and any other exception and shows its
    // message in the program's error box, so nothing leaves through the event
    // loop. While a batch runs, further commands are refused.
    void runCommand(const std::function<void()> &handler);
    // Runs handler inside runCommand whenever the button is clicked by the user.
    void command(QAbstractButton *button, std::function<void()> handler);
    // True while a batch command lets events through between its files.
    bool batchRunning() const { return batchDepth_ > 0; }
    // Keeps every other command of the window from running while it lives.
    class BatchScope {
    public:
        explicit BatchScope(TForm1 &form);
        ~BatchScope();
        BatchScope(const BatchScope &) = delete;
        BatchScope &operator=(const BatchScope &) = delete;

    private:
        TForm1 &form_;
    };

    UiPlatform &platform() { return platform_; }
    const QString &programFolder() const { return programFolder_; }
    // The program folder with the picture folder "Temp" appended, ending in the separator.
    QString pictureFolder() const;
    UiPlatform::Button showMessage(const QString &title, const QString &text, UiPlatform::Icon icon,
                                   int buttons = int(UiPlatform::Button::Ok),
                                   UiPlatform::Button defaultButton = UiPlatform::Button::Ok);

    // ---- Navigation (program code: shows state, runs no handler)

    void showPage(Page page);
    void showSubPage(SubPage page);
    // Switches the left tab without running the tab-change event.
    void setLeftTab(LeftTab tab);
    LeftTab leftTab() const;
    // Shows a toolbar button pressed without running its action.
    void pressButton(QToolButton *button);
    // The tab-change event, as a click on the tab runs it.
    void leftTabChanged(LeftTab tab);
    // The "Mp3 File" side: browser page, "File Browser" pressed, file list re-read,
    // current item the first selection-list row.
    void showBrowsingSide();
    // Lets the window process pending events; batches call it between files.
    void refreshform();

    // ---- Selection list, for every part (positions are 1-based)

    int selectionCount() const;
    QString selectionFile(int n) const;
    QString selectionPath(int n) const;
    QString selectionFullPath(int n) const; // Path followed by File
    void setSelectionFile(int n, const QString &file);
    bool selectionHasSelectedRow() const;
    // Position of the current item when it is a selection-list row, else 0.
    int currentSelectionRow() const;
    void removeCurrentSelectionRow();
    void rereadFileList();
    // Selects the folder in the tree, which makes the file list show it.
    void showFolder(const QString &folder);
    QString fileListFolder() const;

    // The current item of all row lists.
    CurrentItem current;

    // The two tag components, owned for the whole run; every part of the window
    // reads and writes through these.
    std::unique_ptr<ID3v24> tag24;
    std::unique_ptr<Id3v1> tag1;

    // The entry dialog and the picture dialog; main creates them after the
    // window, tests create their own. nullptr until set.
    TForm2 *Form2 = nullptr;
    TForm3 *Form3 = nullptr;

    // ---- Controls of the frame
    QWidget *leftTabs;
    QPushButton *tabMp3File;
    QPushButton *tabIdTag;
    QStackedWidget *toolbars;
    QToolButton *ToolButton13; // File Browser
    QToolButton *ToolButton8;  // Turbo Renamer
    QToolButton *ToolButton9;  // Play File
    QToolButton *ToolButton10; // Kill Tag
    QToolButton *ToolButton11; // Delete File
    QToolButton *ToolButton2;  // Audio Description
    QToolButton *ToolButton5;  // Personal Information
    QToolButton *ToolButton4;  // Lyrics/Texts/Comments
    QToolButton *ToolButton1;  // WWW Pages
    QToolButton *ToolButton3;  // Images
    QToolButton *ToolButton6;  // Copyright Informations
    QToolButton *ToolButton7;  // Miscellaneous
    QToolButton *ToolButton12; // ID3v1.1
    QLabel *aboutLabel;
    ClickablePicture *aboutPicture;
    QStackedWidget *pageArea;
    QWidget *fileBrowserPage;
    QWidget *editorPage;
    QWidget *renamerPage;
    QWidget *aboutPage;

    // ---- File browser page
    QTreeView *folderTree;
    QFileSystemModel *folderModel;
    QListView *fileList;
    FileListModel *fileModel;
    QPushButton *addToListButton;
    QPushButton *removeFromListButton;
    QPushButton *removeAllButton;
    QLabel *selectionLabel;
    QTreeView *selectionList;
    SelectionListModel *selection;

    // ---- Editor page
    QStackedWidget *editorPages;
    QWidget *subPage[8];
    QPushButton *writeTagButton;
    QPushButton *writeForAllButton;
    QPushButton *copyToV1Button;
    QPushButton *copyFromV1Button;
    QPushButton *cancelEditingButton;
    QProgressBar *editorProgress;
    QLabel *editorDoneLabel;
    QLabel *editorCounter;

    // Fields (see fieldTable)
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10, *Edit11, *Edit12;
    QLineEdit *Edit13, *Edit17, *Edit18, *Edit19, *Edit20, *Edit21, *Edit22, *Edit23, *Edit24, *Edit25;
    QLineEdit *Edit26, *Edit27, *Edit28, *Edit29, *Edit30, *Edit31, *Edit32, *Edit33;
    QLineEdit *Edit34, *Edit35, *Edit36, *Edit37, *Edit40, *Edit41;
    QLineEdit *Edit42, *Edit43, *Edit44, *Edit45, *Edit46, *Edit47;
    QLineEdit *MaskEdit1, *MaskEdit2, *MaskEdit3, *MaskEdit4, *MaskEdit5;
    QComboBox *ComboBox1, *ComboBox2, *ComboBox3, *ComboBox4;

    // Entry lists with their buttons
    QTreeWidget *ListView2; // user URLs
    QPushButton *userUrlAddButton, *userUrlEditButton, *userUrlRemoveButton;
    QTreeWidget *ListView3; // lyrics
    QPushButton *lyricsAddButton, *lyricsEditButton, *lyricsRemoveButton;
    QTreeWidget *ListView4; // comments
    QPushButton *commentsAddButton, *commentsEditButton, *commentsRemoveButton;
    QTreeWidget *ListView7; // user texts
    QPushButton *userTextAddButton, *userTextEditButton, *userTextRemoveButton;
    QTreeWidget *ListView6; // terms of use
    QPushButton *termsAddButton, *termsEditButton, *termsRemoveButton;

    // Images page
    QTreeWidget *ListView5; // pictures
    QPushButton *pictureAddButton, *pictureEditButton, *pictureDeleteButton;
    QPushButton *exportButton, *clipboardButton, *zoomInButton, *zoomOutButton;
    QRadioButton *originalSizeRadio, *fitToWindowRadio;
    ImageView *imageBox;      // the scrollable box with its view
    PictureCanvas *imageView; // the view itself, 257 x 193 at start, hidden

    // ---- Turbo Renamer page
    QLineEdit *prefixEdit;
    QComboBox *frameNameCombo;
    QLineEdit *suffixEdit;
    QPushButton *templateAddButton;
    QPushButton *templateDeleteButton;
    QTreeWidget *templateList;
    QLabel *renamePreview;
    QPushButton *renameButton;
    QProgressBar *renamerProgress;
    QLabel *renamerCounter;

    // ---- About page
    QPushButton *registerButton;
    QPushButton *reportBugButton;
    QPushButton *checkVersionButton;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFrame();
    void buildFileBrowserPage();
    void buildEditorPage();
    // tagprog1_pages.cpp
    void buildSubPages();
    void buildRenamerPage();
    void buildAboutPage();
    void fillPickLists();
    void connectNavigation();
    void connectFileBrowser();
    void addSelectedFiles();
    void removeFromList();
    void removeAllFromList();
    void removeSelectionRow(int row);

    QString programFolder_;
    UiPlatform &platform_;
    QButtonGroup *leftTabGroup_ = nullptr;
    LeftTab tab_ = Mp3FileTab;
    int batchDepth_ = 0;
    bool shown_ = false;

    // ==== Editing flow, date fields, entry lists (tagprog1_edit.cpp) ====
public:
    void Readtags();
    void cleaneditboxes();
    void writeframetoedit();
    void writetag1edit();
    void WriteTimeToEdit();
    // Splits a time stamp by position into TimeYear, TimeMonth and TimeDay.
    void DecodeTimeStamp(const std::string &stamp);
    void readuserurl();
    void readcomments();
    void readUSLT();
    void readUSER();
    void readuserText();

    // The editor's foot commands, as their buttons run them.
    void writeTag();
    void writeForAll();
    void copyToV1();
    void copyFromV1();
    void cancelEditing();

    // The file open in the editor (Path followed by File), native.
    const QString &currentFile() const { return currentFile_; }
    // The split parts of the last decoding, shared by all date fields.
    std::string TimeYear, TimeMonth, TimeDay;
    // Says how many frames of the open file the editor cannot show but keeps.
    QLabel *keptFramesLabel = nullptr;

private:
    void setupEditing();
    void writeCurrentFile();
    // Copies the fields into tag24 / tag1.
    void collectV2Fields();
    void collectV1Fields();
    // Shows a property's bytes in its control and keeps them, so an unchanged
    // text goes back byte for byte.
    void showField(const Field &f, const std::string &bytes);
    std::string collectField(const Field &f) const;
    QString controlText(const Field &f) const;
    void addEntry(int which);
    void editEntry(int which);
    void removeEntry(int which);
    void refillEntries(int which);

    QString currentFile_;
    struct ShownValue {
        QString text;
        std::string bytes;
    };
    // Per field table index: what the last read put into the control.
    std::vector<std::optional<ShownValue>> shownValues_;

    // ==== Pictures (tagprog1_pictures.cpp) ====
public:
    // Adds a row to ListView5 for each picture of tag24; the caller empties it first.
    void readpicture();
    // Hides the images page's view; the editing flow calls it before every read.
    void hidePicturePreview();
    // Initial folder of the export dialog (the settings set it at start) and the
    // last file exported to (the settings keep its folder at the end).
    QString exportFolder;
    QString lastExportFile;

private:
    void setupPictures();
    // Shows entry `position` of the picture list in the view, sized by the radios.
    void showPictureAt(int position);
    void applyPictureSizeRule();
    void refillPictureList();
    void addPicture();
    void editPicture();
    void deletePicture();
    void exportPicture();
    void pictureToClipboard();

    // ==== File commands, About buttons, renamer, settings (tagprog1_files.cpp) ====
public:
    void FormShow();
    void FormDestroy();

    // Where the program keeps its files: the executable's folder when it may
    // write there (a build or a portable copy), else the user's XDG folders
    // ("tagvane/tagvane.ini" under the config home, "tagvane/Temp" and
    // "tagvane/Export Images" under the data home). Missing folders are made.
    struct ProgramPlaces {
        QString programFolder; // holds "Temp" and "Export Images"
        QString settingsFile;  // full name of "tagvane.ini"
    };
    static ProgramPlaces findProgramPlaces(const QString &executableFolder);
    // The settings file; "tagvane.ini" in the program folder unless set.
    QString settingsFile() const;
    void setSettingsFile(const QString &path) { settingsFile_ = path; }
    // The folder part of a file name, up to and including its last separator;
    // empty for a bare name.
    static QString extractdialogpath(const QString &fileName);
    // A stored window position moved onto the nearest screen when the window's
    // title strip would lie off every screen (a screen unplugged since).
    static QPoint placeOnScreens(QPoint position, QSize size, const QList<QRect> &screens);

    void ShowRenamePreview();
    void RenameSelection();
    void appendTemplate(const QString &prefix, const QString &frameName, const QString &suffix);
    // Notes the picture files the last full read of tag24 extracted, so the
    // cleanup at the end removes them whatever their type.
    void rememberExtractedPictures();

    // Placeholders for the author's addresses.
    static constexpr const char *authorMail = "tagvane@example.org";
    static constexpr const char *authorWebPage = "www.example.org/tagvane";

private:
    void setupFileCommands();
    void addTemplate();
    void deleteTemplate();
    void playFile();
    void killTag();
    void deleteFile();
    void cleanPictureFolder();

    QString settingsFile_;
    QStringList extractedPictures_;
};

} // namespace tagvane
