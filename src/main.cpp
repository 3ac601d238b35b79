// Wires the window layer to the desktop and runs the event loop.

#include "ui/tagprog1.h"
#include "ui/uiplatform.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    // The task bar title; window captions are set by each window.
    QApplication::setApplicationName(QStringLiteral("Tagvane v. 1.2"));

    const std::unique_ptr<tagvane::UiPlatform> platform = tagvane::makeQtPlatform();
    tagvane::TForm1 form1(QCoreApplication::applicationDirPath(), *platform);

    // The entry dialog TForm2 and the picture dialog TForm3 are created here,
    // after the main window and before the event loop, once they exist.

    form1.show();
    return QApplication::exec();
}
