// Wires the window layer to the desktop and runs the event loop.

#include "ui/addeditimage.h"
#include "ui/addlang.h"
#include "ui/tagprog1.h"
#include "ui/uiplatform.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    // The task bar title; window captions are set by each window.
    QApplication::setApplicationName(tagvane::applicationTitle());

    const std::unique_ptr<tagvane::UiPlatform> platform = tagvane::makeQtPlatform();
    const auto places = tagvane::TForm1::findProgramPlaces(QCoreApplication::applicationDirPath());
    tagvane::TForm1 form1(places.programFolder, *platform);
    form1.setSettingsFile(places.settingsFile);

    // Then the entry dialog and the picture dialog, hidden until used; both
    // exist before the window is first shown, which sets their folders. The
    // window owns them, so they outlive its end-of-run work in ~TForm1.
    form1.Form2 = new tagvane::TForm2(*platform, &form1);
    form1.Form3 = new tagvane::TForm3(*platform, &form1);

    form1.show();
    return QApplication::exec();
}
