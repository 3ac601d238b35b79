// Every page and sub-page: no control overlaps another or leaves its page, and
// no caption is cut. With TAGVANE_SCREENSHOT_DIR set, each view is also saved
// as a PNG file there (scripts/screenshots.sh).

#include "mainwindow_fixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionButton>

namespace tagvane::testing {
namespace {

class LayoutTest : public MainWindowTest {
protected:
    // Checks the direct child controls of one container.
    void checkContainer(QWidget *container) {
        const std::string where = container->objectName().toStdString();
        QList<QWidget *> controls;
        for (QObject *o : container->children()) {
            auto *w = qobject_cast<QWidget *>(o);
            if (w == nullptr || w->isWindow() || w->isHidden())
                continue;
            controls << w;
        }
        const QRect inside(QPoint(0, 0), container->size());
        for (QWidget *w : controls) {
            const std::string name = describe(w);
            EXPECT_TRUE(inside.contains(w->geometry())) << name << " leaves " << where;
            checkCaption(w, name);
        }
        for (qsizetype i = 0; i < controls.size(); ++i)
            for (qsizetype j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                    << describe(controls[i]) << " overlaps " << describe(controls[j]) << " on " << where;
    }

    static std::string describe(QWidget *w) {
        QString text;
        if (auto *l = qobject_cast<QLabel *>(w))
            text = l->text();
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            text = b->text();
        return (w->objectName() + QStringLiteral(" '") + text + QLatin1Char('\'')).toStdString();
    }

    static void checkCaption(QWidget *w, const std::string &name) {
        const QFontMetrics m(w->font());
        if (auto *l = qobject_cast<QLabel *>(w)) {
            if (l->text().isEmpty())
                return;
            EXPECT_LE(m.horizontalAdvance(l->text()), l->width()) << name << " is cut";
            EXPECT_LE(m.height(), l->height()) << name << " is cut";
        } else if (auto *b = qobject_cast<QPushButton *>(w)) {
            EXPECT_LE(m.horizontalAdvance(b->text()) + 8, b->width()) << name << " is cut";
            EXPECT_LE(m.height(), b->height()) << name << " is cut";
        } else if (auto *r = qobject_cast<QRadioButton *>(w)) {
            EXPECT_LE(r->sizeHint().width(), r->width()) << name << " is cut";
        }
    }

    void shoot(const QString &name) { saveScreenshot(form.get(), name); }
};

TEST_F(LayoutTest, NoControlOverlapsOrIsCutOnAnyPage) {
    makeFiles({QStringLiteral("Abba - Waterloo.mp3"), QStringLiteral("Beatles - Help.mp3"),
               QStringLiteral("Cream - Crossroads.mp3")});
    form->showFolder(musicDir.path());
    addFiles({0, 2});

    checkContainer(form.get());
    checkContainer(form->leftTabs);
    for (TForm1::LeftTab tab : {TForm1::IdTagTab, TForm1::Mp3FileTab}) {
        form->setLeftTab(tab);
        checkContainer(form->toolbars->currentWidget());
    }

    const std::pair<TForm1::Page, const char *> pages[] = {{TForm1::FileBrowserPage, "page0-file-browser"},
                                                           {TForm1::RenamerPage, "page2-turbo-renamer"},
                                                           {TForm1::AboutPage, "page3-about"}};
    for (const auto &[page, name] : pages) {
        form->showPage(page);
        form->pressButton(page == TForm1::RenamerPage ? form->ToolButton8 : form->ToolButton13);
        checkContainer(form->pageArea->widget(page));
        shoot(QString::fromLatin1(name));
    }

    const char *subNames[8] = {
        "audio-description",      "personal-information", "www-pages", "lyrics-texts-comments", "images",
        "copyright-informations", "miscellaneous",        "id3v1.1"};
    form->setLeftTab(TForm1::IdTagTab);
    form->showPage(TForm1::EditorPage);
    checkContainer(form->editorPage);
    QToolButton *const buttons[8] = {form->ToolButton2, form->ToolButton5, form->ToolButton1, form->ToolButton4,
                                     form->ToolButton3, form->ToolButton6, form->ToolButton7, form->ToolButton12};
    for (int i = 0; i < 8; ++i) {
        form->pressButton(buttons[i]);
        form->showSubPage(static_cast<TForm1::SubPage>(i));
        checkContainer(form->subPage[i]);
        shoot(QStringLiteral("page1-editor-%1-%2").arg(i).arg(QString::fromLatin1(subNames[i])));
    }
}

} // namespace
} // namespace tagvane::testing
