// The date fields' check on leaving, and the entry lists' buttons.

#include "edit_fixture.h"

#include <QPlainTextEdit>

using namespace std::string_literals;

namespace tagvane::testing {
namespace {

TEST_F(EditTest, DateFieldWithOnlyADayComplainsAndEscapeRestores) {
    writeMp3("a.mp3", [](ID3v24 &t) { t.RecordTime = "2003"; });
    openEditor({0});
    // Program-set text is not checked: passing through the field says nothing.
    form->MaskEdit1->setFocus();
    form->Edit1->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(platform.callsOf(QStringLiteral("message")).empty());

    form->MaskEdit2->setFocus();
    QTest::keyClick(form->MaskEdit2, Qt::Key_Home);
    QTest::keyClick(form->MaskEdit2, Qt::Key_1);
    QTest::keyClick(form->MaskEdit2, Qt::Key_7);
    form->Edit1->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    const auto *m = platform.lastMessage();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->message.text, QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
    EXPECT_EQ(platform.callsOf(QStringLiteral("beep")).size(), 1u);
    EXPECT_TRUE(form->MaskEdit2->hasFocus());
    QTest::keyClick(form->MaskEdit2, Qt::Key_Escape);
    EXPECT_EQ(form->MaskEdit2->displayText(), QStringLiteral("__.__.____"));
}

TEST_F(EditTest, EntriesAddEditRemoveAndTheLimit) {
    const QString path = writeMp3("a.mp3", [](ID3v24 &t) {
        for (int i = 1; i <= 100; ++i)
            t.SetUserText("d" + std::to_string(i) + "\0"s, "v", i);
    });
    openEditor({0});
    ASSERT_EQ(form->ListView7->topLevelItemCount(), 100);
    QTest::mouseClick(form->userTextAddButton, Qt::LeftButton);
    const auto *w = platform.lastMessage();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->message.title, QStringLiteral("Warning!"));
    EXPECT_EQ(form->tag24->UserTextList.Count, 100);

    // Edit with nothing chosen warns.
    QTest::mouseClick(form->commentsEditButton, Qt::LeftButton);
    EXPECT_EQ(platform.lastMessage()->message.text, QStringLiteral("You have not chosen any comment to edit!"));

    for (const char *text : {"one", "two"}) {
        whenShown(*dialog, [&] {
            dialog->descriptionEdit()->setText(QString::fromLatin1(text));
            dialog->textEdit()->setPlainText(QStringLiteral("a\nb"));
            QTest::mouseClick(dialog->confirmButton(), Qt::LeftButton);
        });
        QTest::mouseClick(form->commentsAddButton, Qt::LeftButton);
    }
    ASSERT_EQ(form->tag24->CommentList.Count, 2);
    EXPECT_EQ(form->tag24->CommentList.Description[2], "two\0"s);
    EXPECT_EQ(form->tag24->CommentList.Text[2], "a\r\nb");

    clickRow(form->ListView4, 1);
    whenShown(*dialog, [&] {
        EXPECT_EQ(dialog->descriptionEdit()->text(), QStringLiteral("two"));
        dialog->textEdit()->setPlainText(QStringLiteral("changed"));
        QTest::mouseClick(dialog->confirmButton(), Qt::LeftButton);
    });
    QTest::mouseClick(form->commentsEditButton, Qt::LeftButton);
    EXPECT_EQ(form->tag24->CommentList.Text[2], "changed");

    clickRow(form->ListView4, 0);
    QTest::mouseClick(form->commentsRemoveButton, Qt::LeftButton);
    ASSERT_EQ(form->tag24->CommentList.Count, 1);
    ASSERT_EQ(form->ListView4->topLevelItemCount(), 1);
    EXPECT_EQ(form->ListView4->topLevelItem(0)->text(0), QStringLiteral("1"));
    EXPECT_EQ(form->ListView4->topLevelItem(0)->text(1), QStringLiteral("two"));
    // Nothing chosen after the refill: remove does nothing.
    QTest::mouseClick(form->commentsRemoveButton, Qt::LeftButton);
    EXPECT_EQ(form->tag24->CommentList.Count, 1);
}

} // namespace
} // namespace tagvane::testing
