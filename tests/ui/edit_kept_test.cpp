// Frames the editor cannot show: counted at the editor's foot, kept by
// "Write Tag", left out by "Write for all".

#include "edit_fixture.h"

#include <QLabel>

namespace tagvane::testing {
namespace {

QByteArray frame(const char *id, const QByteArray &content) {
    QByteArray f(id, 4);
    const int n = int(content.size());
    f.append(char((n >> 21) & 0x7f)).append(char((n >> 14) & 0x7f)).append(char((n >> 7) & 0x7f)).append(char(n & 0x7f));
    f.append(2, '\0'); // flags
    return f + content;
}

// A v2.4 tag with a Latin-1 title, a private frame and a UTF-16 artist, then audio.
QByteArray taggedFile() {
    QByteArray frames = frame("TIT2", QByteArray("\0Song", 5)) +
                        frame("PRIV", QByteArray("owner\0\x01\x02", 8)) +
                        frame("TPE1", QByteArray("\x01\xff\xfe" "A\0B\0", 7));
    const int size = int(frames.size()) + 20; // with padding
    QByteArray tag("ID3\x04\x00\x00", 6);
    tag.append(char((size >> 21) & 0x7f)).append(char((size >> 14) & 0x7f)).append(char((size >> 7) & 0x7f)).append(char(size & 0x7f));
    return tag + frames + QByteArray(20, '\0') + QByteArray(3000, '\x55');
}

class KeptFramesTest : public EditTest {};

TEST_F(KeptFramesTest, FootCountsThemAndWriteTagKeepsThem) {
    const QString path = mp3Path("a.mp3");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(taggedFile());
    }
    openEditor({0});
    auto *label = form->findChild<QLabel *>(QStringLiteral("keptFramesLabel"));
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(label->text(), QStringLiteral("2 more frames kept as they are"));
    EXPECT_EQ(form->Edit1->text(), q(std::string("Song", 4)));

    form->Edit3->setText(QStringLiteral("New album"));
    QTest::mouseClick(form->writeTagButton, Qt::LeftButton);

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.contains(QByteArray("PRIV\0\0\0\x08\0\0owner\0\x01\x02", 18)));
    EXPECT_TRUE(bytes.contains(QByteArray("TPE1\0\0\0\x07\0\0\x01\xff\xfe" "A\0B\0", 17)));
    EXPECT_EQ(read24(path)->Album, "New album");
}

TEST_F(KeptFramesTest, FileWithoutSuchFramesShowsNoCount) {
    writeMp3("a.mp3", [](ID3v24 &t) { t.Title = "Plain"; });
    openEditor({0});
    EXPECT_TRUE(form->findChild<QLabel *>(QStringLiteral("keptFramesLabel"))->isHidden());
}

TEST_F(KeptFramesTest, WriteForAllCarriesNoKeptFrameIntoAnyFile) {
    {
        QFile f(mp3Path("a.mp3"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(taggedFile());
    }
    writeMp3("b.mp3", {});
    openEditor({0, 1});
    platform.messageAnswers.push_back(UiPlatform::Button::Yes);
    QTest::mouseClick(form->writeForAllButton, Qt::LeftButton);
    for (const char *name : {"a.mp3", "b.mp3"}) {
        QFile f(mp3Path(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_FALSE(bytes.contains("PRIV")) << name;
        EXPECT_FALSE(bytes.contains("TPE1")) << name;
        EXPECT_EQ(read24(mp3Path(name))->Title, std::string("Song", 4)) << name;
    }
}

} // namespace
} // namespace tagvane::testing
