// The file browser with large folders: listing 10,000 MP3 files, adding them
// all to the selection list, and the folder tree opening on a folder of 10,000
// entries (time the window is blocked, and the longest stall while the tree
// reads the folder in the background).

#include "ui/tagprog1.h"
#include "ui/uiplatform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int fileCount = 10000;

struct Fixture {
    QTemporaryDir root;
    QString mp3Folder;   // 10,000 MP3 files and some others
    QString entryFolder; // 10,000 sub-folders, for the tree
    tagvane::ScriptedPlatform platform;
    std::unique_ptr<tagvane::TForm1> form;

    Fixture() {
        QDir dir(root.path());
        dir.mkdir(QStringLiteral("mp3"));
        dir.mkdir(QStringLiteral("entries"));
        dir.mkdir(QStringLiteral("program"));
        mp3Folder = dir.filePath(QStringLiteral("mp3"));
        entryFolder = dir.filePath(QStringLiteral("entries"));
        for (int i = 0; i < fileCount; ++i) {
            QFile f(
                QDir(mp3Folder).filePath(QStringLiteral("Track %1.mp3").arg(fileCount - i, 5, 10, QLatin1Char('0'))));
            f.open(QIODevice::WriteOnly);
        }
        for (int i = 0; i < 500; ++i) {
            QFile f(QDir(mp3Folder).filePath(QStringLiteral("cover %1.jpg").arg(i)));
            f.open(QIODevice::WriteOnly);
        }
        for (int i = 0; i < fileCount; ++i)
            QDir(entryFolder).mkdir(QStringLiteral("folder %1").arg(i));
        form = std::make_unique<tagvane::TForm1>(dir.filePath(QStringLiteral("program")), platform);
        form->show();
        QCoreApplication::processEvents();
    }
};

Fixture &fixture() {
    static Fixture f;
    return f;
}

void BM_ListFolderOf10000Mp3Files(benchmark::State &state) {
    Fixture &f = fixture();
    f.form->showFolder(f.mp3Folder);
    for (auto _ : state) {
        f.form->rereadFileList();
        QCoreApplication::processEvents(); // the list view lays out and paints
    }
    if (f.form->fileModel->rowCount() != fileCount)
        state.SkipWithError("wrong number of files listed");
}
BENCHMARK(BM_ListFolderOf10000Mp3Files)->Unit(benchmark::kMillisecond);

// A re-read after a batch keeps what the user picked in the list.
void BM_RereadFolderWithAll10000FilesPicked(benchmark::State &state) {
    Fixture &f = fixture();
    f.form->showFolder(f.mp3Folder);
    f.form->fileList->selectAll();
    for (auto _ : state) {
        f.form->rereadFileList();
        QCoreApplication::processEvents();
    }
    if (f.form->fileList->selectionModel()->selectedRows().size() != fileCount)
        state.SkipWithError("the picks were not kept");
    f.form->fileList->clearSelection();
}
BENCHMARK(BM_RereadFolderWithAll10000FilesPicked)->Unit(benchmark::kMillisecond);

void BM_Add10000FilesToTheSelectionList(benchmark::State &state) {
    Fixture &f = fixture();
    f.form->showFolder(f.mp3Folder);
    for (auto _ : state) {
        state.PauseTiming();
        f.form->removeAllButton->click();
        f.form->fileList->selectAll();
        state.ResumeTiming();
        f.form->addToListButton->click();
        QCoreApplication::processEvents();
    }
    if (f.form->selectionCount() != fileCount)
        state.SkipWithError("wrong number of rows added");
}
BENCHMARK(BM_Add10000FilesToTheSelectionList)->Unit(benchmark::kMillisecond);

void BM_FolderTreeOpensOnAFolderOf10000Entries(benchmark::State &state) {
    Fixture &f = fixture();
    double longestStall = 0;
    double untilLoaded = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh model each round, so nothing of the folder is cached.
        auto *model = new QFileSystemModel(f.form.get());
        model->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot | QDir::Hidden);
        model->setRootPath(QDir::rootPath());
        QTreeView *tree = f.form->folderTree;
        QAbstractItemModel *old = tree->model();
        tree->setModel(model);
        delete old;
        f.form->folderModel = model;
        bool loaded = false;
        QObject::connect(model, &QFileSystemModel::directoryLoaded, model, [&](const QString &path) {
            if (path == f.entryFolder)
                loaded = true;
        });
        state.ResumeTiming();

        // What blocks the window: finding the folder, expanding and selecting it.
        const QModelIndex index = model->index(f.entryFolder);
        for (QModelIndex p = index; p.isValid(); p = p.parent())
            tree->expand(p);
        tree->setCurrentIndex(index);
        tree->scrollTo(index);
        QCoreApplication::processEvents();

        state.PauseTiming();
        QElapsedTimer total;
        total.start();
        while (!loaded && total.elapsed() < 30000) {
            QElapsedTimer step;
            step.start();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            longestStall = std::max(longestStall, double(step.nsecsElapsed()) / 1e6);
        }
        // Let the tree sort and lay out the rows the loader delivered.
        for (int i = 0; i < 20; ++i) {
            QElapsedTimer step;
            step.start();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            longestStall = std::max(longestStall, double(step.nsecsElapsed()) / 1e6);
        }
        untilLoaded = double(total.elapsed());
        if (model->rowCount(index) != fileCount)
            state.SkipWithError("the tree did not list every folder");
        state.ResumeTiming();
    }
    state.counters["longest_stall_ms"] = longestStall;
    state.counters["background_load_ms"] = untilLoaded;
}
BENCHMARK(BM_FolderTreeOpensOnAFolderOf10000Entries)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "tagvane_bench_ui";
    char *qtArgv[] = {name, nullptr};
    QApplication app(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture().form.reset();
    return 0;
}
