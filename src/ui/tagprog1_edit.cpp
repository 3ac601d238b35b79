// The editing flow: opening a file in the editor, showing and collecting the
// fields through the field table, writing one file or the whole selection
// list, the copy buttons, the date fields and the five entry lists.

#include "ui/tagprog1.h"

#include "id3v1/Id3.h"
#include "id3v2/Idtag24.h"
#include "languages/languages.h"
#include "platform/codepage.h"
#include "ui/addlang.h"
#include "ui/datefield.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include <cmath>
#include <string_view>

namespace tagvane {

namespace {

QString fromTag(std::string_view bytes) {
    return QString::fromStdString(cp1252ToUtf8(bytes));
}

std::string toTag(const QString &text) {
    return utf8ToCp1252(text.toStdString());
}

std::string toNativePath(const QString &path) {
    return path.toStdString();
}

// A description as shown: the text before its terminating zero byte.
QString beforeNul(const std::string &bytes) {
    return fromTag(std::string_view(bytes).substr(0, std::string_view(bytes).find('\0')));
}

QString languageName(const std::string &code) {
    return fromTag(LanguageCodeToName(code));
}

// Positions from..from+count-1 (0-based) of s; fewer or none past its end.
std::string part(const std::string &s, size_t from, size_t count) {
    return from < s.size() ? s.substr(from, count) : std::string();
}

// The first item equal to text, letters compared without regard to case; -1 when none.
int findItem(const QComboBox *combo, const QString &text, Qt::CaseSensitivity cs) {
    if (text.isEmpty())
        return -1;
    for (int i = 0; i < combo->count(); ++i)
        if (QString::compare(combo->itemText(i), text, cs) == 0)
            return i;
    return -1;
}

void selectOrEmpty(QComboBox *combo, int index) {
    combo->setCurrentIndex(index);
    if (index < 0 && combo->isEditable())
        combo->setEditText(QString());
}

enum EntryListKind { Lyrics, Comments, UserTexts, UserUrls, Terms };

struct EntryListBinding {
    QTreeWidget *TForm1::*list;
    QPushButton *TForm1::*add;
    QPushButton *TForm1::*edit;
    QPushButton *TForm1::*remove;
    TForm2::Mode addMode;
    TForm2::Mode editMode;
    const char *nothingChosen;
    const char *entries; // plural name for the capacity warning
};

constexpr EntryListBinding entryLists[] = {
    {&TForm1::ListView3, &TForm1::lyricsAddButton, &TForm1::lyricsEditButton, &TForm1::lyricsRemoveButton,
     TForm2::Mode::AddLyric, TForm2::Mode::EditLyric, "You have not chosen any lyric to edit!", "lyrics"},
    {&TForm1::ListView4, &TForm1::commentsAddButton, &TForm1::commentsEditButton, &TForm1::commentsRemoveButton,
     TForm2::Mode::AddComment, TForm2::Mode::EditComment, "You have not chosen any comment to edit!", "comments"},
    {&TForm1::ListView7, &TForm1::userTextAddButton, &TForm1::userTextEditButton, &TForm1::userTextRemoveButton,
     TForm2::Mode::AddUserText, TForm2::Mode::EditUserText, "You have not chosen any text to edit!",
     "user defined texts"},
    {&TForm1::ListView2, &TForm1::userUrlAddButton, &TForm1::userUrlEditButton, &TForm1::userUrlRemoveButton,
     TForm2::Mode::AddUserUrl, TForm2::Mode::EditUserUrl, "You have not chosen any URL to edit!",
     "user defined URLs"},
    {&TForm1::ListView6, &TForm1::termsAddButton, &TForm1::termsEditButton, &TForm1::termsRemoveButton,
     TForm2::Mode::AddTerms, TForm2::Mode::EditTerms, "You have not chosen any term to edit!", "terms of use"},
};

} // namespace

void TForm1::setupEditing() {
    shownValues_.assign(fieldTable().size(), std::nullopt);

    // Below the progress bar, so that it never covers a button of the foot.
    keptFramesLabel = new QLabel(editorPage);
    keptFramesLabel->setObjectName(QStringLiteral("keptFramesLabel"));
    keptFramesLabel->setGeometry(0, 450, 489, 14);
    keptFramesLabel->hide();

    command(writeTagButton, [this] { writeTag(); });
    command(writeForAllButton, [this] { writeForAll(); });
    command(copyToV1Button, [this] { copyToV1(); });
    command(copyFromV1Button, [this] { copyFromV1(); });
    command(cancelEditingButton, [this] { cancelEditing(); });

    for (int k = 0; k < int(std::size(entryLists)); ++k) {
        const EntryListBinding &s = entryLists[k];
        command(this->*s.add, [this, k] { addEntry(k); });
        command(this->*s.edit, [this, k] { editEntry(k); });
        command(this->*s.remove, [this, k] { removeEntry(k); });
    }

    for (QLineEdit *date : {MaskEdit1, MaskEdit2, MaskEdit3, MaskEdit4, MaskEdit5}) {
        setDateFieldText(date, blankDate);
        new DateFieldGuard(date, [this] {
            platform().beep();
            showErrorBox(platform(), QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
        });
    }
}

// ---- Showing and collecting through the field table

QString TForm1::controlText(const Field &f) const {
    if (f.conversion == Conversion::Date)
        return dateFieldText(this->*f.edit);
    if (f.edit != nullptr)
        return (this->*f.edit)->text();
    QComboBox *combo = this->*f.combo;
    if (f.conversion == Conversion::V1Genre)
        return combo->currentIndex() < 0 ? QString() : combo->itemText(combo->currentIndex());
    return combo->currentText();
}

void TForm1::showField(const Field &f, const std::string &bytes) {
    const size_t index = size_t(&f - fieldTable().data());
    switch (f.conversion) {
    case Conversion::None:
        if (f.edit != nullptr)
            (this->*f.edit)->setText(fromTag(bytes));
        else {
            (this->*f.combo)->setCurrentIndex(-1);
            (this->*f.combo)->setEditText(fromTag(bytes));
        }
        break;
    case Conversion::Language:
        selectOrEmpty(this->*f.combo, findItem(this->*f.combo, languageName(bytes), Qt::CaseInsensitive));
        break;
    case Conversion::Key:
        selectOrEmpty(this->*f.combo, findItem(this->*f.combo, fromTag(bytes), Qt::CaseInsensitive));
        break;
    case Conversion::V1Genre:
        selectOrEmpty(this->*f.combo, findItem(this->*f.combo, fromTag(bytes), Qt::CaseSensitive));
        break;
    case Conversion::Date:
        break; // WriteTimeToEdit shows the dates
    }
    // Only texts shown as they stand can go back byte for byte.
    if (f.conversion == Conversion::None)
        shownValues_[index] = ShownValue{controlText(f), bytes};
    else
        shownValues_[index].reset();
}

std::string TForm1::collectField(const Field &f) const {
    const QString text = controlText(f);
    switch (f.conversion) {
    case Conversion::Date:
        return toTag(timeStampFromDate(text));
    case Conversion::Language:
        return LanguageNameToCode(toTag(text));
    case Conversion::None: {
        // A text left alone keeps bytes the field cannot show, zero bytes included.
        const auto &kept = shownValues_[size_t(&f - fieldTable().data())];
        if (kept && kept->text == text)
            return kept->bytes;
        return toTag(text);
    }
    case Conversion::Key:
    case Conversion::V1Genre:
        return toTag(text);
    }
    return toTag(text);
}

void TForm1::collectV2Fields() {
    for (const Field &f : fieldTable())
        if (f.v2 != nullptr)
            (*tag24).*f.v2 = collectField(f);
}

void TForm1::collectV1Fields() {
    for (const Field &f : fieldTable())
        if (f.v1 != nullptr)
            (*tag1).*f.v1 = collectField(f);
}

// ---- Opening a file

void TForm1::Readtags() {
    hidePicturePreview();
    const int row = currentSelectionRow();
    if (row == 0)
        return;
    currentFile_ = selectionFullPath(row);
    tag24->FileName = toNativePath(currentFile_);
    tag24->ReadTag(toNativePath(pictureFolder()), false);
    rememberExtractedPictures();
    for (QTreeWidget *list : {ListView2, ListView3, ListView4, ListView5, ListView6, ListView7})
        list->clear();
    cleaneditboxes();
    if (tag24->Id3v2present)
        writeframetoedit();
    const int kept = tag24->KeptFrameCount();
    keptFramesLabel->setText(kept == 1 ? QStringLiteral("1 more frame kept as it is")
                                       : QStringLiteral("%1 more frames kept as they are").arg(kept));
    keptFramesLabel->setVisible(kept > 0);
    tag1->FileName = toNativePath(currentFile_);
    tag1->ReadTag();
    writetag1edit();
}

void TForm1::cleaneditboxes() {
    for (const Field &f : fieldTable()) {
        if (f.v2 == nullptr)
            continue;
        if (f.conversion == Conversion::Date)
            setDateFieldText(this->*f.edit, blankDate);
        else if (f.edit != nullptr)
            (this->*f.edit)->setText(QString());
        else
            selectOrEmpty(this->*f.combo, -1);
        shownValues_[size_t(&f - fieldTable().data())].reset();
    }
}

void TForm1::writeframetoedit() {
    for (const Field &f : fieldTable())
        if (f.v2 != nullptr && f.conversion != Conversion::Date)
            showField(f, (*tag24).*f.v2);
    readuserurl();
    readcomments();
    readUSLT();
    readpicture();
    readUSER();
    readuserText();
    WriteTimeToEdit();
}

void TForm1::writetag1edit() {
    for (const Field &f : fieldTable())
        if (f.v1 != nullptr)
            showField(f, (*tag1).*f.v1);
}

void TForm1::DecodeTimeStamp(const std::string &stamp) {
    const size_t length = stamp.size();
    TimeMonth.clear();
    TimeDay.clear();
    if (length <= 4) {
        TimeYear = stamp;
        return;
    }
    TimeYear = part(stamp, 0, 4);
    TimeMonth = part(stamp, 5, 2);
    if (length >= 8)
        TimeDay = part(stamp, 8, 2);
}

void TForm1::WriteTimeToEdit() {
    for (const Field &f : fieldTable()) {
        if (f.conversion != Conversion::Date)
            continue;
        DecodeTimeStamp((*tag24).*f.v2);
        setDateFieldText(this->*f.edit, dateFromParts(fromTag(TimeDay), fromTag(TimeMonth), fromTag(TimeYear)));
    }
}

// ---- The editor's foot

// Both tags into the current file, ID3v2.4 first; a failed ID3v1 write leaves the new ID3v2.4 tag.
void TForm1::writeCurrentFile() {
    BusyCursor busy(platform());
    collectV2Fields();
    tag24->FileName = toNativePath(currentFile_);
    tag24->WriteTag();
    collectV1Fields();
    tag1->FileName = toNativePath(currentFile_);
    tag1->WriteTag();
}

void TForm1::writeTag() {
    BusyCursor busy(platform());
    writeCurrentFile();
    setLeftTab(Mp3FileTab);
    showBrowsingSide();
}

void TForm1::writeForAll() {
    if (showMessage(QStringLiteral("Caution"),
                    QStringLiteral("Do you realy want to tag all files in the selection list?"),
                    UiPlatform::Icon::Question, int(UiPlatform::Button::Yes) | int(UiPlatform::Button::No),
                    UiPlatform::Button::No) != UiPlatform::Button::Yes)
        return;
    writeCurrentFile();
    // Every file receives the same tag; frames kept from the open file stay out.
    tag24->ClearKeptFrames();
    {
        // Events run between the files; no other command may start meanwhile.
        BatchScope batch(*this);
        BusyCursor busy(platform());
        const int n = selectionCount();
        const float step = 100.0f / static_cast<float>(n);
        const QString total = QString::number(n);
        const std::string pictures = toNativePath(pictureFolder());
        for (int a = 1; a <= n; ++a) {
            const std::string path = toNativePath(selectionFullPath(a));
            tag24->FileName = path;
            tag24->ReadTag(pictures, true);
            tag1->FileName = path;
            tag24->WriteTag();
            tag1->WriteTag();
            // nearbyint rounds halves to even under the default rounding mode.
            const float done = static_cast<float>(a) * step;
            editorProgress->setValue(static_cast<int>(std::nearbyint(done)));
            editorCounter->setText(QString::number(a) + QStringLiteral(" of ") + total);
            refreshform();
        }
    }
    rereadFileList();
    setLeftTab(Mp3FileTab);
    showPage(FileBrowserPage);
    pressButton(ToolButton13);
}

void TForm1::copyToV1() {
    Edit42->setText(Edit4->text());
    Edit43->setText(Edit1->text());
    Edit44->setText(Edit17->text());
    Edit45->setText(dateFieldText(MaskEdit2).mid(6, 4));
    Edit46->setText(Edit3->text());
    ComboBox4->setCurrentIndex(findItem(ComboBox4, ComboBox1->currentText(), Qt::CaseInsensitive));
}

void TForm1::copyFromV1() {
    Edit4->setText(Edit42->text());
    Edit1->setText(Edit43->text());
    Edit17->setText(Edit44->text());
    Edit3->setText(Edit46->text());
    QString date = QStringLiteral("01.01.") + Edit45->text();
    if (date.size() < 10)
        date += QString(10 - date.size(), u' ');
    setDateFieldText(MaskEdit2, date.left(10));
    const QString genre = ComboBox4->currentIndex() < 0 ? QString() : ComboBox4->currentText();
    selectOrEmpty(ComboBox1, findItem(ComboBox1, genre, Qt::CaseSensitive));
}

void TForm1::cancelEditing() {
    setLeftTab(Mp3FileTab);
    showBrowsingSide();
}

// ---- Entry lists

namespace {

QTreeWidgetItem *addRow(QTreeWidget *list, int n, const QStringList &cells) {
    auto *row = new QTreeWidgetItem(list);
    row->setText(0, QString::number(n));
    for (int c = 0; c < cells.size(); ++c)
        row->setText(c + 1, cells[c]);
    return row;
}

} // namespace

void TForm1::readuserurl() {
    const UserUrlEntries &l = tag24->UserUrlList;
    for (int n = 1; n <= l.Count; ++n)
        addRow(ListView2, n, {beforeNul(l.Description[n]), fromTag(l.Url[n])});
}

void TForm1::readcomments() {
    const CommentEntries &l = tag24->CommentList;
    for (int n = 1; n <= l.Count; ++n)
        addRow(ListView4, n, {beforeNul(l.Description[n]), languageName(l.Language[n]), fromTag(l.Text[n])});
}

void TForm1::readUSLT() {
    const LyricsEntries &l = tag24->LyricsList;
    for (int n = 1; n <= l.Count; ++n)
        addRow(ListView3, n, {beforeNul(l.Description[n]), languageName(l.Language[n]), fromTag(l.Text[n])});
}

void TForm1::readUSER() {
    const TermsEntries &l = tag24->TermsList;
    for (int n = 1; n <= l.Count; ++n)
        addRow(ListView6, n, {languageName(l.Language[n]), fromTag(l.Text[n])});
}

void TForm1::readuserText() {
    const UserTextEntries &l = tag24->UserTextList;
    for (int n = 1; n <= l.Count; ++n)
        addRow(ListView7, n, {beforeNul(l.Description[n]), fromTag(l.Value[n])});
}

void TForm1::refillEntries(int which) {
    (this->*entryLists[which].list)->clear();
    switch (which) {
    case Lyrics: readUSLT(); break;
    case Comments: readcomments(); break;
    case UserTexts: readuserText(); break;
    case UserUrls: readuserurl(); break;
    case Terms: readUSER(); break;
    }
}

namespace {

int entryCount(const ID3v24 &t, int which) {
    switch (which) {
    case Lyrics: return t.LyricsList.Count;
    case Comments: return t.CommentList.Count;
    case UserTexts: return t.UserTextList.Count;
    case UserUrls: return t.UserUrlList.Count;
    case Terms: return t.TermsList.Count;
    }
    return 0;
}

TForm2::Entry entryAt(const ID3v24 &t, int which, int p) {
    switch (which) {
    case Lyrics: return {t.LyricsList.Description[p], t.LyricsList.Language[p], t.LyricsList.Text[p]};
    case Comments: return {t.CommentList.Description[p], t.CommentList.Language[p], t.CommentList.Text[p]};
    case UserTexts: return {t.UserTextList.Description[p], {}, t.UserTextList.Value[p]};
    case UserUrls: return {t.UserUrlList.Description[p], {}, t.UserUrlList.Url[p]};
    case Terms: return {{}, t.TermsList.Language[p], t.TermsList.Text[p]};
    }
    return {};
}

void storeEntry(ID3v24 &t, int which, const TForm2::Entry &e, int p) {
    switch (which) {
    case Lyrics: t.SetLyric(e.description, e.language, e.text, p); break;
    case Comments: t.SetComment(e.description, e.language, e.text, p); break;
    case UserTexts: t.SetUserText(e.description, e.text, p); break;
    case UserUrls: t.SetUserUrl(e.description, e.text, p); break;
    case Terms: t.SetTerms(e.language, e.text, p); break;
    }
}

void deleteEntry(ID3v24 &t, int which, int p) {
    switch (which) {
    case Lyrics: t.DeleteLyric(p); break;
    case Comments: t.DeleteComment(p); break;
    case UserTexts: t.DeleteUserText(p); break;
    case UserUrls: t.DeleteUserUrl(p); break;
    case Terms: t.DeleteTerms(p); break;
    }
}

} // namespace

void TForm1::addEntry(int which) {
    const EntryListBinding &s = entryLists[which];
    if (entryCount(*tag24, which) >= stringarray::Capacity) {
        // The model has room for 100; a 101st would be lost or overwrite another.
        showMessage(QStringLiteral("Warning!"),
                    QStringLiteral("A tag holds at most %1 %2.").arg(stringarray::Capacity).arg(QLatin1String(s.entries)),
                    UiPlatform::Icon::Warning);
        return;
    }
    if (Form2 == nullptr)
        return;
    const std::optional<TForm2::Entry> e = Form2->execute(s.addMode);
    if (!e)
        return;
    storeEntry(*tag24, which, *e, entryCount(*tag24, which) + 1);
    refillEntries(which);
}

void TForm1::editEntry(int which) {
    const EntryListBinding &s = entryLists[which];
    QTreeWidget *list = this->*s.list;
    int p = current.positionIn(list);
    if (p == 0) {
        showMessage(QStringLiteral("Warning!"), QString::fromLatin1(s.nothingChosen), UiPlatform::Icon::Warning);
        return;
    }
    if (Form2 == nullptr || p > entryCount(*tag24, which))
        return;
    const std::optional<TForm2::Entry> e = Form2->execute(s.editMode, entryAt(*tag24, which, p));
    if (!e)
        return;
    p = current.positionIn(list);
    if (p == 0 || p > entryCount(*tag24, which))
        return;
    storeEntry(*tag24, which, *e, p);
    refillEntries(which);
}

void TForm1::removeEntry(int which) {
    QTreeWidget *list = this->*entryLists[which].list;
    if (list->selectedItems().isEmpty())
        return;
    const int p = current.positionIn(list);
    if (p == 0 || p > entryCount(*tag24, which))
        return;
    deleteEntry(*tag24, which, p);
    refillEntries(which);
}

} // namespace tagvane
