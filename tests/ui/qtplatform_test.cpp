// The Qt implementation of the platform layer, answered by a timer that acts
// on the modal dialog it opens.

#include "ui/uiplatform.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace tagvane {
namespace {

// Runs `act` on the modal window as soon as it is up.
void whenModal(std::function<void(QWidget *)> act) {
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

TEST(QtPlatformTest, MessageBoxHasTheAskedTitleIconButtonsAndDefault) {
    using B = UiPlatform::Button;
    struct Case {
        UiPlatform::Icon icon;
        QMessageBox::Icon qtIcon;
        int buttons;
        B defaultButton;
        QMessageBox::StandardButton press; // NoButton: Esc
        B answer;
    };
    const Case cases[] = {
        {UiPlatform::Icon::Question, QMessageBox::Question, int(B::Yes) | int(B::No), B::No, QMessageBox::Yes, B::Yes},
        {UiPlatform::Icon::Question, QMessageBox::Question, int(B::Yes) | int(B::No), B::No, QMessageBox::NoButton,
         B::No},
        {UiPlatform::Icon::Warning, QMessageBox::Warning, int(B::Ok), B::Ok, QMessageBox::Ok, B::Ok},
        {UiPlatform::Icon::Error, QMessageBox::Critical, int(B::Ok), B::Ok, QMessageBox::NoButton, B::Ok},
    };
    auto platform = makeQtPlatform();
    for (const Case &c : cases) {
        bool checked = false;
        whenModal([&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Caution"));
            EXPECT_EQ(box->text(), QStringLiteral("Sure?"));
            EXPECT_EQ(box->icon(), c.qtIcon);
            EXPECT_EQ(box->buttons().size(), c.buttons == int(B::Ok) ? 1 : 2);
            EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton == B::No ? QMessageBox::No : QMessageBox::Ok));
            checked = true;
            if (c.press == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(c.press)->click();
        });
        UiPlatform::MessageRequest r;
        r.title = QStringLiteral("Caution");
        r.text = QStringLiteral("Sure?");
        r.icon = c.icon;
        r.buttons = c.buttons;
        r.defaultButton = c.defaultButton;
        EXPECT_EQ(platform->message(r), c.answer);
        EXPECT_TRUE(checked);
    }
}

TEST(QtPlatformTest, SaveDialogStartsInTheFolderWithTheProposedNameAndAddsTheExtension) {
    QTemporaryDir dir;
    auto platform = makeQtPlatform();
    whenModal([&](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("Image file (*.jpeg)")});
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), QStringLiteral("Front cover"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    UiPlatform::FileRequest r;
    r.initialFolder = dir.path();
    r.filter = QStringLiteral("Image file (*.jpeg)");
    r.defaultExtension = QStringLiteral("jpeg");
    r.fileName = QStringLiteral("Front cover");
    const auto picked = platform->saveFile(r);
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(QFileInfo(*picked).fileName(), QStringLiteral("Front cover.jpeg"));
    EXPECT_EQ(QFileInfo(*picked).dir().canonicalPath(), QDir(dir.path()).canonicalPath());

    // Cancelled: nothing.
    whenModal([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
    EXPECT_FALSE(platform->saveFile(r).has_value());
}

TEST(QtPlatformTest, PictureDialogReturnsThePickedFile) {
    QTemporaryDir dir;
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString file = QDir(dir.path()).filePath(QStringLiteral("a.bmp"));
    ASSERT_TRUE(image.save(file));
    auto platform = makeQtPlatform();
    whenModal([&](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->selectedFiles().value(0), QFileInfo(file).absoluteFilePath());
        QMetaObject::invokeMethod(dialog, "accept");
    });
    UiPlatform::FileRequest r;
    r.initialFolder = dir.path();
    r.filter = QStringLiteral("Pictures (*.bmp *.jpg)");
    r.fileName = QStringLiteral("a.bmp");
    const auto picked = platform->openPicture(r);
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(QFileInfo(*picked).canonicalFilePath(), QFileInfo(file).canonicalFilePath());
}

TEST(QtPlatformTest, BusyCursorAndClipboard) {
    auto platform = makeQtPlatform();
    {
        BusyCursor busy(*platform);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    platform->setClipboardImage(image);
    const QImage back = QGuiApplication::clipboard()->image();
    EXPECT_EQ(back.size(), image.size());
    EXPECT_EQ(back.pixelColor(1, 1), QColor(Qt::blue));
}

} // namespace
} // namespace tagvane
