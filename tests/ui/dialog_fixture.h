#pragma once

// Helpers for tests that drive a modal dialog as the user would.

#include <QDialog>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace tagvane::testing {

// Acts inside the dialog once its modal loop runs; a dialog the actions leave
// open is a failure and gets closed so the test goes on.
inline void whenShown(QDialog &dialog, std::function<void()> actions) {
    QTimer::singleShot(0, &dialog, [&dialog, actions = std::move(actions)] {
        actions();
        if (dialog.isVisible()) {
            ADD_FAILURE() << "the dialog was left open";
            dialog.reject();
        }
    });
}

// Types like a keyboard; QTest's own typing takes ASCII only.
inline void typeText(QWidget *widget, const QString &text) {
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace tagvane::testing
