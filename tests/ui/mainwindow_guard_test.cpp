// The command guard: errors end a command in the error box, never in Qt's event loop.

#include "mainwindow_fixture.h"

#include "platform/File.h"

#include <QPushButton>

#include <stdexcept>

namespace tagvane::testing {
namespace {

using GuardTest = MainWindowTest;

TEST_F(GuardTest, ErrorsOfACommandShowInTheProgramsErrorBox) {
    const QString missing = QDir(musicDir.path()).filePath(QStringLiteral("gone/a.mp3"));
    struct Case {
        const char *what;
        std::function<void()> command;
        QString text; // empty: whatever the error says, not empty
    };
    const Case cases[] = {
        {"file error", [&] { File f(missing.toStdString(), File::Mode::Read); }, QString()},
        {"input/output error", [] { throw InOutError("Cannot open file \"x\": No such file"); },
         QStringLiteral("Cannot open file \"x\": No such file")},
        {"other standard exception", [] { throw std::out_of_range("position 101"); }, QStringLiteral("position 101")},
        {"anything else", [] { throw 42; }, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        platform.calls.clear();
        bool after = false;
        form->runCommand([&] {
            c.command();
            after = true;
        });
        EXPECT_FALSE(after);
        const auto messages = platform.callsOf(QStringLiteral("message"));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].message.title, QStringLiteral("Tagvane v. 1.2"));
        EXPECT_EQ(messages[0].message.icon, UiPlatform::Icon::Error);
        EXPECT_EQ(messages[0].message.buttons, int(UiPlatform::Button::Ok));
        if (c.text.isEmpty())
            EXPECT_FALSE(messages[0].message.text.isEmpty());
        else
            EXPECT_EQ(messages[0].message.text, c.text);
    }
    // The file error names the file.
    platform.calls.clear();
    form->runCommand([&] { File f(missing.toStdString(), File::Mode::Read); });
    EXPECT_TRUE(platform.lastMessage()->message.text.contains(missing));
}

TEST_F(GuardTest, AFailingButtonLeavesTheWindowUsable) {
    auto *button = new QPushButton(QStringLiteral("Fail"), form->aboutPage);
    button->setGeometry(0, 0, 60, 25);
    button->show();
    int runs = 0;
    form->command(button, [&] {
        ++runs;
        BusyCursor busy(form->platform());
        throw InOutError("Unable to write to x");
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(platform.callsOf(QStringLiteral("message")).size(), 2u);
    EXPECT_EQ(platform.busyDepth, 0); // the busy cursor went with the error
    // Other commands still work.
    QTest::mouseClick(form->ToolButton8, Qt::LeftButton);
    EXPECT_EQ(form->pageArea->currentWidget(), form->renamerPage);
}

TEST_F(GuardTest, WhileABatchRunsOtherCommandsAreRefused) {
    makeFiles({QStringLiteral("a.mp3")});
    form->showFolder(musicDir.path());
    addFiles({0});
    int inner = 0;
    int steps = 0;
    platform.onProcessEvents = [&] {
        // What the user might do between two files of the batch.
        QTest::mouseClick(form->removeAllButton, Qt::LeftButton);
        form->removeAllButton->click();
        form->runCommand([&] { ++inner; });
        clickTab(form->tabIdTag);
    };
    form->runCommand([&] {
        TForm1::BatchScope batch(*form);
        EXPECT_TRUE(form->batchRunning());
        for (int i = 0; i < 3; ++i) {
            ++steps;
            form->refreshform();
        }
    });
    platform.onProcessEvents = nullptr;
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(form->selectionCount(), 1);
    EXPECT_EQ(form->leftTab(), TForm1::Mp3FileTab);
    EXPECT_TRUE(platform.callsOf(QStringLiteral("message")).empty());
    EXPECT_FALSE(form->batchRunning());
    // Afterwards commands run again.
    form->runCommand([&] { ++inner; });
    EXPECT_EQ(inner, 1);
    QTest::mouseClick(form->removeAllButton, Qt::LeftButton);
    EXPECT_EQ(form->selectionCount(), 0);
}

} // namespace
} // namespace tagvane::testing
