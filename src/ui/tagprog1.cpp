#include "ui/tagprog1.h"

#include "id3v1/Id3.h"
#include "id3v2/Idtag24.h"
#include "platform/InOutError.h"
#include "ui/pictureview.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QListView>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeView>
#include <QWidget>

#include <exception>

// Resources of a static library must be registered by hand, from the global namespace.
static void registerTagvaneResources() {
    Q_INIT_RESOURCE(tagprog1);
}

namespace tagvane {

namespace {

// The toolbars, top to bottom; each entry names the member, its hint and icon.
struct ToolbarButton {
    QToolButton *TForm1::*button;
    const char *name;
    const char *hint;
    const char *icon;
    bool toggle;
};

constexpr ToolbarButton mp3FileToolbar[] = {
    {&TForm1::ToolButton13, "ToolButton13", "File Browser", "filebrowser", true},
    {&TForm1::ToolButton8, "ToolButton8", "Turbo Renamer", "renamer", true},
    {&TForm1::ToolButton9, "ToolButton9", "Play File", "play", false},
    {&TForm1::ToolButton10, "ToolButton10", "Kill Tag", "killtag", false},
    {&TForm1::ToolButton11, "ToolButton11", "Delete File", "deletefile", false},
};

// Buttons are bound to their sub-page here, by name; the third and fourth
// buttons show the fourth and third sub-pages.
struct SubPageButton {
    ToolbarButton button;
    TForm1::SubPage page;
};

constexpr SubPageButton idTagToolbar[] = {
    {{&TForm1::ToolButton2, "ToolButton2", "Audio Description", "audio", true}, TForm1::AudioDescription},
    {{&TForm1::ToolButton5, "ToolButton5", "Personal Information", "personal", true}, TForm1::PersonalInformation},
    {{&TForm1::ToolButton4, "ToolButton4", "Lyrics/Texts/Comments", "texts", true}, TForm1::LyricsTextsComments},
    {{&TForm1::ToolButton1, "ToolButton1", "WWW Pages", "www", true}, TForm1::WwwPages},
    {{&TForm1::ToolButton3, "ToolButton3", "Images", "images", true}, TForm1::Images},
    {{&TForm1::ToolButton6, "ToolButton6", "Copyright Informations", "copyright", true}, TForm1::CopyrightInformations},
    {{&TForm1::ToolButton7, "ToolButton7", "Miscellaneous", "misc", true}, TForm1::Miscellaneous},
    {{&TForm1::ToolButton12, "ToolButton12", "ID3v1.1", "id3v1", true}, TForm1::Id3v11},
};

QWidget *makePage(QStackedWidget *area, const char *name) {
    auto *page = new QWidget(area);
    page->setObjectName(QString::fromLatin1(name));
    area->addWidget(page);
    return page;
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

void ClickablePicture::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

TForm1::TForm1(const QString &programFolder, UiPlatform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      current(this), tag24(std::make_unique<ID3v24>()), tag1(std::make_unique<Id3v1>()),
      programFolder_(programFolder), platform_(platform) {
    registerTagvaneResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tagvane v1.2 - by the Tagvane team"));
    // Every control keeps its place; the frame adds its border and title bar
    // around this client area to give the window its outer size.
    setFixedSize(670, 472);
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    buildFrame();
    buildFileBrowserPage();
    buildEditorPage();
    buildSubPages();
    buildRenamerPage();
    buildAboutPage();
    connectNavigation();
    connectFileBrowser();

    // At start: "Mp3 File", the file browser page, the first sub-page.
    setLeftTab(Mp3FileTab);
    showPage(FileBrowserPage);
    showSubPage(AudioDescription);
    pressButton(ToolButton13);
    pressButton(ToolButton2);

    setupEditing();
    setupPictures();
    setupFileCommands();
}

TForm1::~TForm1() {
    runCommand([this] { FormDestroy(); });
}

void TForm1::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        runCommand([this] { FormShow(); });
    }
}

// ---- The frame: left tabs with their toolbars, the About picture, the page area

void TForm1::buildFrame() {
    leftTabs = new QWidget(this);
    leftTabs->setObjectName(QStringLiteral("leftTabs"));
    leftTabs->setGeometry(0, 0, 73, 361);

    // Tabs drawn as buttons, one above the other.
    leftTabGroup_ = new QButtonGroup(this);
    leftTabGroup_->setExclusive(true);
    const auto makeTab = [this](const char *name, const QString &caption, int top, int id) {
        auto *b = new QPushButton(caption, leftTabs);
        b->setObjectName(QString::fromLatin1(name));
        b->setCheckable(true);
        b->setGeometry(0, top, 73, 22);
        leftTabGroup_->addButton(b, id);
        return b;
    };
    tabMp3File = makeTab("tabMp3File", QStringLiteral("Mp3 File"), 0, Mp3FileTab);
    tabIdTag = makeTab("tabIdTag", QStringLiteral("IdTag v. 2.4"), 23, IdTagTab);

    toolbars = new QStackedWidget(leftTabs);
    toolbars->setObjectName(QStringLiteral("toolbars"));
    toolbars->setGeometry(0, 48, 73, 313);
    toolbars->setFrameShape(QFrame::StyledPanel);

    const auto makeToolbar = [this](const char *name) {
        auto *bar = new QWidget(toolbars);
        bar->setObjectName(QString::fromLatin1(name));
        toolbars->addWidget(bar);
        auto *group = new QButtonGroup(bar);
        group->setExclusive(true);
        return std::make_pair(bar, group);
    };
    const auto makeButton = [this](QWidget *bar, QButtonGroup *group, const ToolbarButton &box, int index) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(box.name));
        b->setToolTip(QString::fromLatin1(box.hint));
        b->setIcon(QIcon(QStringLiteral(":/tagvane/icons/%1.svg").arg(QString::fromLatin1(box.icon))));
        b->setIconSize(QSize(32, 32));
        b->setAutoRaise(true);
        b->setGeometry(16, 2 + index * 38, 39, 38);
        b->setCheckable(box.toggle);
        if (box.toggle)
            group->addButton(b);
        this->*box.button = b;
    };

    auto [mp3Bar, mp3Group] = makeToolbar("mp3FileToolbar");
    int i = 0;
    for (const auto &box : mp3FileToolbar)
        makeButton(mp3Bar, mp3Group, box, i++);
    auto [idTagBar, idTagGroup] = makeToolbar("idTagToolbar");
    i = 0;
    for (const auto &box : idTagToolbar)
        makeButton(idTagBar, idTagGroup, box.button, i++);

    aboutLabel = new QLabel(QStringLiteral("About"), this);
    aboutLabel->setObjectName(QStringLiteral("aboutLabel"));
    aboutLabel->setGeometry(0, 382, 73, 16);
    aboutLabel->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);

    aboutPicture = new ClickablePicture(this);
    aboutPicture->setObjectName(QStringLiteral("aboutPicture"));
    aboutPicture->setGeometry(0, 398, 73, 73);
    aboutPicture->setToolTip(QStringLiteral("About"));
    aboutPicture->setScaledContents(true);
    aboutPicture->setPixmap(QIcon(QStringLiteral(":/tagvane/icons/about.svg")).pixmap(73, 73));
    aboutPicture->setCursor(Qt::PointingHandCursor);

    pageArea = new QStackedWidget(this);
    pageArea->setObjectName(QStringLiteral("pageArea"));
    pageArea->setGeometry(80, 0, 585, 465);
    fileBrowserPage = makePage(pageArea, "fileBrowserPage");
    editorPage = makePage(pageArea, "editorPage");
    renamerPage = makePage(pageArea, "renamerPage");
    aboutPage = makePage(pageArea, "aboutPage");
}

void TForm1::connectNavigation() {
    connect(leftTabGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        const auto tab = static_cast<LeftTab>(id);
        if (tab == tab_)
            return; // clicking the shown tab changes nothing
        if (batchRunning()) {
            setLeftTab(tab_);
            return;
        }
        setLeftTab(tab);
        runCommand([this, tab] { leftTabChanged(tab); });
    });

    command(ToolButton13, [this] { showPage(FileBrowserPage); });
    command(ToolButton8, [this] {
        renamerProgress->setValue(0);
        renamerCounter->setText(QStringLiteral("0 of 0"));
        showPage(RenamerPage);
    });
    for (const auto &box : idTagToolbar) {
        const SubPage page = box.page;
        command(this->*box.button.button, [this, page] { showSubPage(page); });
    }
    connect(aboutPicture, &ClickablePicture::clicked, this, [this] { runCommand([this] { showPage(AboutPage); }); });
}

void TForm1::leftTabChanged(LeftTab tab) {
    if (tab == Mp3FileTab) {
        showBrowsingSide();
        return;
    }
    if (!selectionHasSelectedRow() || currentSelectionRow() == 0) {
        showMessage(QStringLiteral("Error"), QStringLiteral("Please select file from selection list"),
                    UiPlatform::Icon::Warning);
        setLeftTab(Mp3FileTab);
        showBrowsingSide();
        return;
    }
    try {
        Readtags();
    } catch (...) {
        // The opening ends before the editor page is shown: stay browsing.
        setLeftTab(Mp3FileTab);
        throw;
    }
    showPage(EditorPage);
    imageBox->setViewVisible(false);
    editorProgress->setValue(0);
    editorCounter->setText(QStringLiteral("0 of 0"));
}

void TForm1::showBrowsingSide() {
    showPage(FileBrowserPage);
    pressButton(ToolButton13);
    rereadFileList();
    current.set(selectionList, 0);
}

void TForm1::showPage(Page page) {
    pageArea->setCurrentIndex(page);
}

void TForm1::showSubPage(SubPage page) {
    editorPages->setCurrentIndex(page);
}

void TForm1::setLeftTab(LeftTab tab) {
    tab_ = tab;
    leftTabGroup_->button(tab)->setChecked(true);
    toolbars->setCurrentIndex(tab);
}

TForm1::LeftTab TForm1::leftTab() const {
    return tab_;
}

void TForm1::pressButton(QToolButton *button) {
    button->setChecked(true);
}

void TForm1::refreshform() {
    platform_.processEvents();
}

// ---- Commands

UiPlatform::Button TForm1::showMessage(const QString &title, const QString &text, UiPlatform::Icon icon, int buttons,
                                       UiPlatform::Button defaultButton) {
    UiPlatform::MessageRequest r;
    r.title = title;
    r.text = text;
    r.icon = icon;
    r.buttons = buttons;
    r.defaultButton = defaultButton;
    return platform_.message(r);
}

void TForm1::runCommand(const std::function<void()> &handler) {
    if (batchRunning()) {
        // A batch lets events through between its files; nothing else may run meanwhile.
        platform_.beep();
        return;
    }
    QString error;
    try {
        handler();
        return;
    } catch (const InOutError &e) {
        error = QString::fromLocal8Bit(e.what());
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
    } catch (...) {
        error = QStringLiteral("An unexpected error ended the command.");
    }
    // Shown outside the handlers, so a failing message box cannot throw into Qt.
    try {
        showMessage(applicationTitle(), error, UiPlatform::Icon::Error);
    } catch (...) {
    }
}

void TForm1::command(QAbstractButton *button, std::function<void()> handler) {
    connect(button, &QAbstractButton::clicked, this, [this, handler = std::move(handler)] { runCommand(handler); });
}

TForm1::BatchScope::BatchScope(TForm1 &form) : form_(form) {
    if (form_.batchDepth_++ == 0)
        qApp->installEventFilter(&form_);
}

TForm1::BatchScope::~BatchScope() {
    if (--form_.batchDepth_ == 0)
        qApp->removeEventFilter(&form_);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    // While a batch runs, input to this window is swallowed; painting goes on.
    if (batchRunning() && isUserInput(event->type())) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w != nullptr && (w == this || isAncestorOf(w)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

QString TForm1::pictureFolder() const {
    return makerealpath(makerealpath(programFolder_) + QStringLiteral("Temp"));
}

// ---- The file browser page

void TForm1::buildFileBrowserPage() {
    QWidget *page = fileBrowserPage;

    folderModel = new QFileSystemModel(this);
    folderModel->setObjectName(QStringLiteral("folderModel"));
    folderModel->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot | QDir::Hidden);
    folderModel->setReadOnly(true);
    folderModel->setRootPath(QDir::rootPath());

    folderTree = new QTreeView(page);
    folderTree->setObjectName(QStringLiteral("folderTree"));
    folderTree->setGeometry(0, 0, 281, 228);
    folderTree->setModel(folderModel);
    for (int c = 1; c < folderModel->columnCount(); ++c)
        folderTree->hideColumn(c);
    folderTree->setHeaderHidden(true);
    folderTree->setSelectionMode(QAbstractItemView::SingleSelection);
    folderTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    folderTree->setUniformRowHeights(true);
    // The chosen folder stays highlighted when the tree loses the focus.
    QPalette pal = folderTree->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    folderTree->setPalette(pal);

    fileModel = new FileListModel(this);
    fileModel->setObjectName(QStringLiteral("fileModel"));
    fileList = new QListView(page);
    fileList->setObjectName(QStringLiteral("fileList"));
    fileList->setGeometry(288, 0, 289, 228);
    fileList->setModel(fileModel);
    fileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fileList->setUniformItemSizes(true);

    const auto makeButton = [page](const char *name, const QString &caption, int left, int width) {
        auto *b = new QPushButton(caption, page);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(left, 236, width, 25);
        return b;
    };
    addToListButton = makeButton("addToListButton", QStringLiteral("Add to list"), 0, 100);
    removeFromListButton = makeButton("removeFromListButton", QStringLiteral("Remove form list"), 108, 120);
    removeAllButton = makeButton("removeAllButton", QStringLiteral("Remove all from list"), 236, 140);

    selectionLabel = new QLabel(QStringLiteral("Selection List:"), page);
    selectionLabel->setObjectName(QStringLiteral("selectionLabel"));
    selectionLabel->setGeometry(0, 268, 200, 16);

    selection = new SelectionListModel(this);
    selection->setObjectName(QStringLiteral("selection"));
    selectionList = new QTreeView(page);
    selectionList->setObjectName(QStringLiteral("selectionList"));
    selectionList->setGeometry(0, 286, 577, 176);
    selectionList->setModel(selection);
    selectionList->setRootIsDecorated(false);
    selectionList->setItemsExpandable(false);
    selectionList->setUniformRowHeights(true);
    selectionList->setSelectionBehavior(QAbstractItemView::SelectRows);
    selectionList->setSelectionMode(QAbstractItemView::SingleSelection);
    selectionList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    selectionList->setAllColumnsShowFocus(true);
    selectionList->header()->setSectionsClickable(false);
    selectionList->header()->setSectionsMovable(false);
    selectionList->header()->setStretchLastSection(false);
    selectionList->setColumnWidth(0, 30);
    selectionList->setColumnWidth(1, 320);
    selectionList->setColumnWidth(2, 200);
    current.track(selectionList);
}

void TForm1::connectFileBrowser() {
    connect(folderTree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &now) {
        runCommand([this, now] { fileModel->setFolder(now.isValid() ? folderModel->filePath(now) : QString()); });
    });
    command(addToListButton, [this] { addSelectedFiles(); });
    command(removeFromListButton, [this] { removeFromList(); });
    command(removeAllButton, [this] { removeAllFromList(); });

    // The tree reads folders in the background; once the chosen folder's
    // parent is read, its row has its final place and is brought into view.
    connect(folderModel, &QFileSystemModel::directoryLoaded, this, [this](const QString &path) {
        const QModelIndex now = folderTree->currentIndex();
        if (now.isValid() && folderModel->filePath(now.parent()) == path)
            folderTree->scrollTo(now, QAbstractItemView::PositionAtCenter);
    });

    // Start in the user's home folder.
    showFolder(QDir::homePath());
}

void TForm1::showFolder(const QString &folder) {
    const QModelIndex index = folderModel->index(folder);
    if (!index.isValid())
        return;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        folderTree->expand(p);
    folderTree->setCurrentIndex(index);
    folderTree->scrollTo(index, QAbstractItemView::PositionAtCenter);
    // The tree reports a change only for a different index; show the folder in any case.
    if (fileModel->folder() != folderModel->filePath(index))
        fileModel->setFolder(folderModel->filePath(index));
}

QString TForm1::fileListFolder() const {
    return fileModel->folder();
}

void TForm1::rereadFileList() {
    // Re-reading replaces the items; the user's picks in the list are kept by name.
    QSet<QString> picked;
    for (const QModelIndex &i : fileList->selectionModel()->selectedRows())
        picked.insert(fileModel->names().at(i.row()));
    fileModel->reread();
    if (picked.isEmpty())
        return;
    QItemSelection keep;
    const QStringList &names = fileModel->names();
    // One range per run of picked rows: a selection of thousands of single rows is slow.
    for (int r = 0; r < names.size(); ++r) {
        if (!picked.contains(names.at(r)))
            continue;
        const int first = r;
        while (r + 1 < names.size() && picked.contains(names.at(r + 1)))
            ++r;
        keep.select(fileModel->index(first), fileModel->index(r));
    }
    fileList->selectionModel()->select(keep, QItemSelectionModel::Select);
}

void TForm1::addSelectedFiles() {
    QModelIndexList picked = fileList->selectionModel()->selectedRows();
    if (picked.isEmpty())
        return;
    // Rows are added in the order the files stand in the list, not the order they were picked.
    std::sort(picked.begin(), picked.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList files;
    files.reserve(picked.size());
    for (const QModelIndex &i : picked)
        files << fileModel->names().at(i.row());
    selection->append(files, makerealpath(fileModel->folder()));
}

void TForm1::removeFromList() {
    if (!selectionHasSelectedRow())
        return;
    const int n = currentSelectionRow();
    if (n == 0)
        return;
    removeSelectionRow(n - 1);
}

void TForm1::removeSelectionRow(int row) {
    // The view would move its highlight to the next row and so select it; a removed
    // row leaves no selection and no current item behind.
    QItemSelectionModel *sel = selectionList->selectionModel();
    if (sel->isRowSelected(row, QModelIndex()))
        sel->clear();
    else if (sel->currentIndex().row() == row)
        sel->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    selection->removeRowAt(row);
}

void TForm1::removeAllFromList() {
    selection->clear();
    current.clear();
}

int TForm1::selectionCount() const {
    return selection->count();
}

QString TForm1::selectionFile(int n) const {
    return selection->row(n - 1).file;
}

QString TForm1::selectionPath(int n) const {
    return selection->row(n - 1).path;
}

QString TForm1::selectionFullPath(int n) const {
    const auto &r = selection->row(n - 1);
    return r.path + r.file;
}

void TForm1::setSelectionFile(int n, const QString &file) {
    selection->setFile(n - 1, file);
}

bool TForm1::selectionHasSelectedRow() const {
    return selectionList->selectionModel()->hasSelection();
}

int TForm1::currentSelectionRow() const {
    return current.positionIn(selectionList);
}

void TForm1::removeCurrentSelectionRow() {
    const int n = currentSelectionRow();
    if (n > 0)
        removeSelectionRow(n - 1);
}

// ---- The editor page: sub-page area and foot

void TForm1::buildEditorPage() {
    QWidget *page = editorPage;
    editorPages = new QStackedWidget(page);
    editorPages->setObjectName(QStringLiteral("editorPages"));
    editorPages->setGeometry(0, 8, 577, 369);
    editorPages->setFrameShape(QFrame::StyledPanel);
    const char *names[8] = {
        "audioDescriptionPage", "personalInformationPage",   "wwwPagesPage",      "lyricsTextsCommentsPage",
        "imagesPage",           "copyrightInformationsPage", "miscellaneousPage", "id3v11Page"};
    for (int i = 0; i < 8; ++i)
        subPage[i] = makePage(editorPages, names[i]);

    const auto makeButton = [page](const char *name, const QString &caption, const QString &hint, QRect place) {
        auto *b = new QPushButton(caption, page);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setGeometry(place);
        return b;
    };
    writeTagButton = makeButton("writeTagButton", QStringLiteral("Write Tag"),
                                QStringLiteral("Write Tag For Selected File"), {16, 392, 75, 25});
    writeForAllButton = makeButton("writeForAllButton", QStringLiteral("Write for all"),
                                   QStringLiteral("Write Tag For All Files In selection List"), {128, 392, 75, 25});
    copyToV1Button =
        makeButton("copyToV1Button", QStringLiteral("Copy to ID3v1.1"),
                   QStringLiteral("Copy compatible informations from ID3v2.4 to ID3v1.1"), {248, 384, 121, 17});
    copyFromV1Button =
        makeButton("copyFromV1Button", QStringLiteral("Copy from ID3v1.1"),
                   QStringLiteral("Copy compatible informations from ID3v1.1 to ID3v2.4"), {248, 408, 121, 17});
    cancelEditingButton =
        makeButton("cancelEditingButton", QStringLiteral("Cancel editing"), QString(), {456, 392, 89, 25});

    editorProgress = new QProgressBar(page);
    editorProgress->setObjectName(QStringLiteral("editorProgress"));
    editorProgress->setGeometry(0, 432, 489, 16);
    editorProgress->setRange(0, 100);
    editorProgress->setValue(0);
    editorProgress->setTextVisible(false);
    editorDoneLabel = new QLabel(QStringLiteral("Done:"), page);
    editorDoneLabel->setObjectName(QStringLiteral("editorDoneLabel"));
    // The counter follows "Done:" closely, as wide as the font needs.
    const int doneWidth = fontMetrics().horizontalAdvance(editorDoneLabel->text()) + 2;
    editorDoneLabel->setGeometry(494, 432, doneWidth, 16);
    editorCounter = new QLabel(QStringLiteral("0 of 0"), page);
    editorCounter->setObjectName(QStringLiteral("editorCounter"));
    editorCounter->setGeometry(494 + doneWidth, 432, 585 - 494 - doneWidth, 16);
}

} // namespace tagvane
