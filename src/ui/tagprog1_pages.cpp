// The widgets of the editor's sub-pages, the Turbo Renamer page and the About
// page. Only construction lives here; behaviour is wired by the parts named in
// tagprog1.h.

#include "ui/tagprog1.h"

#include "id3v1/Id3.h"
#include "id3v2/Idtag24.h"
#include "languages/languages.h"
#include "platform/codepage.h"
#include "renamer/renamer.h"
#include "ui/pictureview.h"

#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QValidator>

#include <array>

namespace tagvane {

namespace {

using F = TForm1;
using K = TForm1::FieldKind;
using C = TForm1::Conversion;

// clang-format off
constexpr TForm1::Field fields[] = {
    // page                    col caption                          name         kind                limit narrow edit         combo           v2 property                     v1 property       conversion
    {F::AudioDescription,      0, "Track Num.:",                    "Edit4",     K::Text,            0, true,  &F::Edit4,     nullptr,        &ID3v24::TrackNum,              nullptr,          C::None},
    {F::AudioDescription,      0, "Short Descript.:",               "Edit8",     K::Text,            0, false, &F::Edit8,     nullptr,        &ID3v24::ContentGroup,          nullptr,          C::None},
    {F::AudioDescription,      0, "Title:",                         "Edit1",     K::Text,            0, false, &F::Edit1,     nullptr,        &ID3v24::Title,                 nullptr,          C::None},
    {F::AudioDescription,      0, "Subtitle:",                      "Edit2",     K::Text,            0, false, &F::Edit2,     nullptr,        &ID3v24::SubTitle,              nullptr,          C::None},
    {F::AudioDescription,      0, "Album:",                         "Edit3",     K::Text,            0, false, &F::Edit3,     nullptr,        &ID3v24::Album,                 nullptr,          C::None},
    {F::AudioDescription,      0, "Part of a Set:",                 "Edit6",     K::Text,            0, false, &F::Edit6,     nullptr,        &ID3v24::PartOfSet,             nullptr,          C::None},
    {F::AudioDescription,      0, "Subtitle of Set:",               "Edit7",     K::Text,            0, false, &F::Edit7,     nullptr,        &ID3v24::SubTitleOfSet,         nullptr,          C::None},
    {F::AudioDescription,      0, "Original Album:",                "Edit5",     K::Text,            0, false, &F::Edit5,     nullptr,        &ID3v24::OrigAlbum,             nullptr,          C::None},
    {F::AudioDescription,      1, "Mood:",                          "Edit9",     K::Text,            0, false, &F::Edit9,     nullptr,        &ID3v24::Mood,                  nullptr,          C::None},
    {F::AudioDescription,      1, "Genre:",                         "ComboBox1", K::EditableCombo,   0, false, nullptr,       &F::ComboBox1,  &ID3v24::ContentType,           nullptr,          C::None},
    {F::AudioDescription,      1, "Recording Time:",                "MaskEdit1", K::Date,            0, false, &F::MaskEdit1, nullptr,        &ID3v24::RecordTime,            nullptr,          C::Date},
    {F::AudioDescription,      1, "Relase Time:",                   "MaskEdit2", K::Date,            0, false, &F::MaskEdit2, nullptr,        &ID3v24::RelaseTime,            nullptr,          C::Date},
    {F::AudioDescription,      1, "Orig. Relase Time:",             "MaskEdit3", K::Date,            0, false, &F::MaskEdit3, nullptr,        &ID3v24::OrigTime,              nullptr,          C::Date},
    {F::AudioDescription,      1, "Title Sort Order:",              "Edit10",    K::Text,            0, false, &F::Edit10,    nullptr,        &ID3v24::TitleSort,             nullptr,          C::None},
    {F::AudioDescription,      1, "Album Sort Order:",              "Edit11",    K::Text,            0, false, &F::Edit11,    nullptr,        &ID3v24::AlbumSort,             nullptr,          C::None},
    {F::AudioDescription,      1, "Internet Station Radio Name:",   "Edit12",    K::Text,            0, false, &F::Edit12,    nullptr,        &ID3v24::InternetRadioName,     nullptr,          C::None},
    {F::PersonalInformation,   0, "Artist:",                        "Edit17",    K::Text,            0, false, &F::Edit17,    nullptr,        &ID3v24::LeadPerformer,         nullptr,          C::None},
    {F::PersonalInformation,   0, "Band/Orchestra:",                "Edit18",    K::Text,            0, false, &F::Edit18,    nullptr,        &ID3v24::Band,                  nullptr,          C::None},
    {F::PersonalInformation,   0, "Composer:",                      "Edit19",    K::Text,            0, false, &F::Edit19,    nullptr,        &ID3v24::Composer,              nullptr,          C::None},
    {F::PersonalInformation,   0, "Conductor:",                     "Edit20",    K::Text,            0, false, &F::Edit20,    nullptr,        &ID3v24::Conductor,             nullptr,          C::None},
    {F::PersonalInformation,   0, "Lyricist:",                      "Edit21",    K::Text,            0, false, &F::Edit21,    nullptr,        &ID3v24::TextWriter,            nullptr,          C::None},
    {F::PersonalInformation,   1, "Original Artist:",               "Edit22",    K::Text,            0, false, &F::Edit22,    nullptr,        &ID3v24::OrigArtist,            nullptr,          C::None},
    {F::PersonalInformation,   1, "Original Lyricist:",             "Edit23",    K::Text,            0, false, &F::Edit23,    nullptr,        &ID3v24::OrigTextWriter,        nullptr,          C::None},
    {F::PersonalInformation,   1, "Remixed by:",                    "Edit24",    K::Text,            0, false, &F::Edit24,    nullptr,        &ID3v24::Remixer,               nullptr,          C::None},
    {F::PersonalInformation,   1, "Artist sort order:",             "Edit25",    K::Text,            0, false, &F::Edit25,    nullptr,        &ID3v24::PerformerSort,         nullptr,          C::None},
    {F::PersonalInformation,   1, "Internet Radio Owner:",          "Edit13",    K::Text,            0, false, &F::Edit13,    nullptr,        &ID3v24::InternetRadioOwner,    nullptr,          C::None},
    {F::WwwPages,              0, "Official Artist URL:",           "Edit26",    K::Text,            0, false, &F::Edit26,    nullptr,        &ID3v24::ArtistUrl,             nullptr,          C::None},
    {F::WwwPages,              0, "Official Publisher URL:",        "Edit27",    K::Text,            0, false, &F::Edit27,    nullptr,        &ID3v24::PublisherUrl,          nullptr,          C::None},
    {F::WwwPages,              0, "Official Internet Radio URL:",   "Edit28",    K::Text,            0, false, &F::Edit28,    nullptr,        &ID3v24::RadioUrl,              nullptr,          C::None},
    {F::WwwPages,              0, "Official Audio File URL:",       "Edit29",    K::Text,            0, false, &F::Edit29,    nullptr,        &ID3v24::AudioUrl,              nullptr,          C::None},
    {F::WwwPages,              1, "Official Audio Source URL:",     "Edit30",    K::Text,            0, false, &F::Edit30,    nullptr,        &ID3v24::AudioSourceUrl,        nullptr,          C::None},
    {F::WwwPages,              1, "Payment URL:",                   "Edit31",    K::Text,            0, false, &F::Edit31,    nullptr,        &ID3v24::PaymentUrl,            nullptr,          C::None},
    {F::WwwPages,              1, "Commercial Information URL:",    "Edit32",    K::Text,            0, false, &F::Edit32,    nullptr,        &ID3v24::CommercialUrl,         nullptr,          C::None},
    {F::WwwPages,              1, "Copyright information URL:",     "Edit33",    K::Text,            0, false, &F::Edit33,    nullptr,        &ID3v24::CopyRightUrl,          nullptr,          C::None},
    {F::CopyrightInformations, 0, "File Owner/Licensee :",          "Edit34",    K::Text,            0, false, &F::Edit34,    nullptr,        &ID3v24::FileOwner,             nullptr,          C::None},
    {F::CopyrightInformations, 0, "Produced Notice:",               "Edit35",    K::Text,            0, false, &F::Edit35,    nullptr,        &ID3v24::Produced,              nullptr,          C::None},
    {F::CopyrightInformations, 1, "Publisher:",                     "Edit37",    K::Text,            0, false, &F::Edit37,    nullptr,        &ID3v24::Publisher,             nullptr,          C::None},
    {F::CopyrightInformations, 1, "Copyright:",                     "Edit36",    K::Text,            0, false, &F::Edit36,    nullptr,        &ID3v24::Copyright,             nullptr,          C::None},
    {F::Miscellaneous,         0, "Encoding Time:",                 "MaskEdit4", K::Date,            0, false, &F::MaskEdit4, nullptr,        &ID3v24::EncodingTime,          nullptr,          C::Date},
    {F::Miscellaneous,         0, "Encoded by:",                    "Edit40",    K::Text,            0, false, &F::Edit40,    nullptr,        &ID3v24::EncodedBy,             nullptr,          C::None},
    {F::Miscellaneous,         0, "Tagging Time:",                  "MaskEdit5", K::Date,            0, false, &F::MaskEdit5, nullptr,        &ID3v24::TagTime,               nullptr,          C::Date},
    {F::Miscellaneous,         1, "Language:",                      "ComboBox2", K::EditableCombo,   0, false, nullptr,       &F::ComboBox2,  &ID3v24::Language,              nullptr,          C::Language},
    {F::Miscellaneous,         1, "Initial Key:",                   "ComboBox3", K::EditableCombo,   0, false, nullptr,       &F::ComboBox3,  &ID3v24::InitialKey,            nullptr,          C::Key},
    {F::Miscellaneous,         1, "Beats Per Minute (BMP):",        "Edit41",    K::Text,            0, false, &F::Edit41,    nullptr,        &ID3v24::BeatsPerMinute,        nullptr,          C::None},
    {F::Id3v11,                0, "Track no.:",                     "Edit42",    K::Text,            3, true,  &F::Edit42,    nullptr,        nullptr,                        &Id3v1::TrackNum, C::None},
    {F::Id3v11,                0, "Title:",                         "Edit43",    K::Text,           30, false, &F::Edit43,    nullptr,        nullptr,                        &Id3v1::Title,    C::None},
    {F::Id3v11,                0, "Artist:",                        "Edit44",    K::Text,           30, false, &F::Edit44,    nullptr,        nullptr,                        &Id3v1::Artist,   C::None},
    {F::Id3v11,                0, "Album:",                         "Edit46",    K::Text,           30, false, &F::Edit46,    nullptr,        nullptr,                        &Id3v1::Album,    C::None},
    {F::Id3v11,                1, "Year:",                          "Edit45",    K::Text,            4, true,  &F::Edit45,    nullptr,        nullptr,                        &Id3v1::Year,     C::None},
    {F::Id3v11,                1, "Comment:",                       "Edit47",    K::Text,           30, false, &F::Edit47,    nullptr,        nullptr,                        &Id3v1::Comment,  C::None},
    {F::Id3v11,                1, "Genre:",                         "ComboBox4", K::PickCombo,       0, false, nullptr,       &F::ComboBox4,  nullptr,                        &Id3v1::Genre,    C::V1Genre},
};
// clang-format on
static_assert(std::size(fields) == 51, "44 ID3v2.4 fields and 7 ID3v1.1 fields");

const char *const headings[8] = {
    "Audio Description",       "Personal Information", "WWW Pages", "Lyrics / Texts / Comments", "Images",
    "Copyright Informations:", "Miscellaneous",        "ID3v1.1"};

// The "Initial Key:" items, H standing for the note B.
const char *const keyNames[] = {"C",   "C#",  "Cb", "Cm",  "C#m", "Cbm", "D",   "D#",  "Db", "D#m", "Dbm",
                                "E",   "Eb",  "Em", "Ebm", "F",   "F#",  "Fm",  "F#m", "G",  "G#",  "Gb",
                                "G#m", "Gbm", "A",  "A#",  "Ab",  "A#m", "Abm", "H",   "Hb", "Hbm"};
static_assert(std::size(keyNames) == 32);

// Limits what the user types without cutting what the program puts in: input
// that would make the text longer than the limit and longer than it was is refused.
class TypedLengthValidator : public QValidator {
public:
    TypedLengthValidator(int limit, QLineEdit *edit) : QValidator(edit), edit_(edit), limit_(limit) {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { length_ = text.size(); });
    }
    State validate(QString &input, int &) const override {
        // Text put in by setText() leaves the field unmodified.
        if (!edit_->isModified())
            return Acceptable;
        return input.size() <= limit_ || input.size() <= length_ ? Acceptable : Invalid;
    }

private:
    QLineEdit *edit_;
    int limit_;
    qsizetype length_ = 0;
};

// Fixed places of the sub-pages' fields.
constexpr int headingTop = 6;
constexpr int firstRowTop = 40;
constexpr int rowStep = 30;
constexpr int pageLeft = 8;
constexpr int pageInnerWidth = 557;
constexpr int columnGap = 16;
constexpr int fieldHeight = 21;
constexpr int narrowWidth = 50;

QTreeWidget *makeEntryList(QWidget *page, const char *name, QRect place, const QStringList &columns,
                           const std::vector<int> &widths) {
    auto *list = new QTreeWidget(page);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(place);
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAllColumnsShowFocus(true);
    list->header()->setSectionsClickable(false);
    list->header()->setSectionsMovable(false);
    list->header()->setStretchLastSection(false);
    for (size_t i = 0; i < widths.size(); ++i)
        list->setColumnWidth(static_cast<int>(i), widths[i]);
    return list;
}

QPushButton *makeButton(QWidget *page, const char *name, const QString &caption, QRect place) {
    auto *b = new QPushButton(caption, page);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(place);
    return b;
}

QLabel *makeLabel(QWidget *page, const QString &caption, int left, int top, int width = 200) {
    auto *l = new QLabel(caption, page);
    l->setGeometry(left, top, width, 16);
    return l;
}

// A labelled list with its "Add", "Edit" and "Remove" buttons to its right.
struct EntryBlock {
    const char *label;
    const char *list;
    QStringList columns;
    std::vector<int> widths;
    QTreeWidget *TForm1::*member;
    std::array<const char *, 3> buttonNames;
    std::array<QPushButton * TForm1::*, 3> buttons;
};

void buildEntryBlock(TForm1 &form, QWidget *page, const EntryBlock &block, int top, int height,
                     const QString &removeCaption = QStringLiteral("Remove")) {
    makeLabel(page, QString::fromLatin1(block.label), 8, top);
    form.*block.member = makeEntryList(page, block.list, {8, top + 17, 470, height}, block.columns, block.widths);
    const QString captions[3] = {QStringLiteral("Add"), QStringLiteral("Edit"), removeCaption};
    for (int i = 0; i < 3; ++i)
        form.*block.buttons[i] = makeButton(page, block.buttonNames[i], captions[i], {486, top + 17 + i * 29, 75, 25});
}

} // namespace

std::span<const TForm1::Field> TForm1::fieldTable() {
    return fields;
}

void TForm1::buildSubPages() {
    QFont headingFont = font();
    headingFont.setBold(true);
    headingFont.setPixelSize(16);
    for (int i = 0; i < 8; ++i) {
        auto *heading = new QLabel(QString::fromLatin1(headings[i]), subPage[i]);
        heading->setObjectName(QStringLiteral("heading%1").arg(i));
        heading->setFont(headingFont);
        heading->setGeometry(8, headingTop, 560, 24);
    }

    // Label widths per sub-page column, from the longest caption in it.
    const QFontMetrics metrics(font());
    int labelWidth[8][2] = {};
    for (const Field &f : fields) {
        int &w = labelWidth[f.page][f.column];
        w = std::max(w, metrics.horizontalAdvance(QString::fromLatin1(f.caption)) + 8);
    }

    int row[8][2] = {};
    for (const Field &f : fields) {
        QWidget *page = subPage[f.page];
        const int top = firstRowTop + row[f.page][f.column]++ * rowStep;
        // Both columns get fields of one width; the labels take what their captions need.
        const int *lws = labelWidth[f.page];
        const int fieldWidth = (pageInnerWidth - columnGap - lws[0] - lws[1]) / 2;
        const int left = f.column == 0 ? pageLeft : pageLeft + lws[0] + fieldWidth + columnGap;
        const int lw = lws[f.column];
        auto *label = new QLabel(QString::fromLatin1(f.caption), page);
        label->setObjectName(QStringLiteral("label") + QString::fromLatin1(f.name));
        label->setGeometry(left, top, lw, fieldHeight);
        const int width = f.narrow ? narrowWidth : fieldWidth;
        const QRect place(left + lw, top, width, fieldHeight + (f.combo != nullptr ? 1 : 0));
        QWidget *control = nullptr;
        if (f.edit != nullptr) {
            auto *edit = new QLineEdit(page);
            if (f.kind == FieldKind::Date)
                edit->setInputMask(QStringLiteral("00.00.0000;_"));
            if (f.typedLimit > 0)
                edit->setValidator(new TypedLengthValidator(f.typedLimit, edit));
            this->*f.edit = edit;
            control = edit;
        } else {
            auto *combo = new QComboBox(page);
            combo->setEditable(f.kind == FieldKind::EditableCombo);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setMaxVisibleItems(16);
            this->*f.combo = combo;
            control = combo;
        }
        control->setObjectName(QString::fromLatin1(f.name));
        control->setGeometry(place);
        label->setBuddy(control);
    }
    fillPickLists();

    // Entry lists: user URLs, the three text lists, terms of use.
    buildEntryBlock(*this, subPage[WwwPages],
                    {"User Defined URLs:",
                     "ListView2",
                     {QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Url")},
                     {30, 250, 250},
                     &TForm1::ListView2,
                     {"userUrlAddButton", "userUrlEditButton", "userUrlRemoveButton"},
                     {&TForm1::userUrlAddButton, &TForm1::userUrlEditButton, &TForm1::userUrlRemoveButton}},
                    firstRowTop + 4 * rowStep + 6, 180);
    buildEntryBlock(
        *this, subPage[LyricsTextsComments],
        {"Texts/Lyrics:",
         "ListView3",
         {QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Language"), QStringLiteral("Lyric")},
         {30, 200, 100, 200},
         &TForm1::ListView3,
         {"lyricsAddButton", "lyricsEditButton", "lyricsRemoveButton"},
         {&TForm1::lyricsAddButton, &TForm1::lyricsEditButton, &TForm1::lyricsRemoveButton}},
        34, 92);
    buildEntryBlock(
        *this, subPage[LyricsTextsComments],
        {"Comments:",
         "ListView4",
         {QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Language"), QStringLiteral("Comment")},
         {30, 200, 100, 200},
         &TForm1::ListView4,
         {"commentsAddButton", "commentsEditButton", "commentsRemoveButton"},
         {&TForm1::commentsAddButton, &TForm1::commentsEditButton, &TForm1::commentsRemoveButton}},
        144, 92);
    buildEntryBlock(*this, subPage[LyricsTextsComments],
                    {"User Defined Text:",
                     "ListView7",
                     {QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Text")},
                     {30, 200, 300},
                     &TForm1::ListView7,
                     {"userTextAddButton", "userTextEditButton", "userTextRemoveButton"},
                     {&TForm1::userTextAddButton, &TForm1::userTextEditButton, &TForm1::userTextRemoveButton}},
                    254, 92);
    buildEntryBlock(*this, subPage[CopyrightInformations],
                    {"Terms of Use:",
                     "ListView6",
                     {QStringLiteral("No."), QStringLiteral("Language"), QStringLiteral("Terms of Use")},
                     {30, 100, 400},
                     &TForm1::ListView6,
                     {"termsAddButton", "termsEditButton", "termsRemoveButton"},
                     {&TForm1::termsAddButton, &TForm1::termsEditButton, &TForm1::termsRemoveButton}},
                    firstRowTop + 2 * rowStep + 6, 220);

    for (QTreeWidget *list : {ListView2, ListView3, ListView4, ListView7, ListView6})
        current.track(list);

    // Images: the picture list with its buttons, the view's controls, the view.
    QWidget *images = subPage[Images];
    buildEntryBlock(
        *this, images,
        {"Pictures:",
         "ListView5",
         {QStringLiteral("No."), QStringLiteral("Description"), QStringLiteral("Format"), QStringLiteral("Type")},
         {30, 200, 80, 150},
         &TForm1::ListView5,
         {"pictureAddButton", "pictureEditButton", "pictureDeleteButton"},
         {&TForm1::pictureAddButton, &TForm1::pictureEditButton, &TForm1::pictureDeleteButton}},
        34, 96, QStringLiteral("Delete"));
    exportButton = makeButton(images, "exportButton", QStringLiteral("Export to file"), {8, 166, 130, 25});
    clipboardButton = makeButton(images, "clipboardButton", QStringLiteral("Send to clipboard"), {8, 196, 130, 25});
    zoomInButton = makeButton(images, "zoomInButton", QStringLiteral("Zoom in"), {8, 232, 63, 25});
    zoomOutButton = makeButton(images, "zoomOutButton", QStringLiteral("Zoom out"), {75, 232, 63, 25});
    originalSizeRadio = new QRadioButton(QStringLiteral("Original Size"), images);
    originalSizeRadio->setObjectName(QStringLiteral("originalSizeRadio"));
    originalSizeRadio->setGeometry(8, 268, 130, 20);
    fitToWindowRadio = new QRadioButton(QStringLiteral("Fit to Window"), images);
    fitToWindowRadio->setObjectName(QStringLiteral("fitToWindowRadio"));
    fitToWindowRadio->setGeometry(8, 292, 130, 20);
    fitToWindowRadio->setChecked(true);
    imageBox = new ImageView(imagesPageView, images);
    imageBox->setObjectName(QStringLiteral("imageBox"));
    imageBox->move(288, 154);
    imageView = imageBox->canvas();
    imageView->setObjectName(QStringLiteral("imageView"));
    current.track(ListView5);
}

void TForm1::fillPickLists() {
    QStringList genres;
    for (std::string_view g : Id3v1::GenreNames())
        genres << QString::fromStdString(cp1252ToUtf8(g));
    ComboBox1->addItems(genres);
    ComboBox4->addItems(genres);
    QStringList keys;
    for (const char *k : keyNames)
        keys << QString::fromLatin1(k);
    ComboBox3->addItems(keys);
    QStringList languages;
    for (const std::string &name : LanguageNames())
        languages << QString::fromStdString(cp1252ToUtf8(name));
    ComboBox2->addItems(languages);
    ComboBox1->setCurrentIndex(-1);
    ComboBox2->setCurrentIndex(-1);
    ComboBox3->setCurrentIndex(-1);
    ComboBox4->setCurrentIndex(-1);
}

void TForm1::buildRenamerPage() {
    QWidget *page = renamerPage;
    QFont headingFont = font();
    headingFont.setBold(true);
    headingFont.setPixelSize(16);
    auto *heading = new QLabel(QStringLiteral("Turbo Renamer"), page);
    heading->setObjectName(QStringLiteral("renamerHeading"));
    heading->setFont(headingFont);
    heading->setGeometry(8, 14, 560, 24);

    makeLabel(page, QStringLiteral("Prefix"), 8, 50, 150);
    prefixEdit = new QLineEdit(page);
    prefixEdit->setObjectName(QStringLiteral("prefixEdit"));
    prefixEdit->setGeometry(8, 67, 150, 21);
    makeLabel(page, QStringLiteral("Frame name:"), 170, 50, 200);
    frameNameCombo = new QComboBox(page);
    frameNameCombo->setObjectName(QStringLiteral("frameNameCombo"));
    frameNameCombo->setGeometry(170, 66, 200, 22);
    frameNameCombo->setEditable(false);
    frameNameCombo->setMaxVisibleItems(20);
    for (const std::string &name : RenameFrameNames())
        frameNameCombo->addItem(QString::fromStdString(cp1252ToUtf8(name)));
    frameNameCombo->setCurrentIndex(-1);
    makeLabel(page, QStringLiteral("Suffix:"), 382, 50, 150);
    suffixEdit = new QLineEdit(page);
    suffixEdit->setObjectName(QStringLiteral("suffixEdit"));
    suffixEdit->setGeometry(382, 67, 150, 21);

    templateAddButton = makeButton(page, "templateAddButton", QStringLiteral("Add to list"), {8, 100, 110, 25});
    templateDeleteButton =
        makeButton(page, "templateDeleteButton", QStringLiteral("Delete from list"), {126, 100, 110, 25});

    makeLabel(page, QStringLiteral("Rename Template List:"), 8, 138);
    templateList = makeEntryList(page, "templateList", {8, 155, 424, 190},
                                 {QStringLiteral("Prefix"), QStringLiteral("Frame Name"), QStringLiteral("Sufix")},
                                 {100, 200, 100});

    makeLabel(page, QStringLiteral("Renamed File Name:"), 8, 356, 120);
    renamePreview = new QLabel(QStringLiteral("Unknown"), page);
    renamePreview->setObjectName(QStringLiteral("renamePreview"));
    renamePreview->setGeometry(130, 356, 447, 16);
    renameButton =
        makeButton(page, "renameButton", QStringLiteral("Rename files in selection list"), {8, 384, 200, 25});

    renamerProgress = new QProgressBar(page);
    renamerProgress->setObjectName(QStringLiteral("renamerProgress"));
    renamerProgress->setGeometry(0, 432, 489, 16);
    renamerProgress->setRange(0, 100);
    renamerProgress->setValue(0);
    renamerProgress->setTextVisible(false);
    const int doneWidth = fontMetrics().horizontalAdvance(QStringLiteral("Done:")) + 2;
    makeLabel(page, QStringLiteral("Done:"), 494, 432, doneWidth);
    renamerCounter = new QLabel(QStringLiteral("0 of 0"), page);
    renamerCounter->setObjectName(QStringLiteral("renamerCounter"));
    renamerCounter->setGeometry(494 + doneWidth, 432, 585 - 494 - doneWidth, 16);
}

void TForm1::buildAboutPage() {
    QWidget *page = aboutPage;
    auto *picture = new QLabel(page);
    picture->setObjectName(QStringLiteral("aboutPagePicture"));
    picture->setGeometry(24, 40, 146, 146);
    picture->setPixmap(QIcon(QStringLiteral(":/tagvane/icons/about.svg")).pixmap(146, 146));

    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPixelSize(22);
    auto *title = new QLabel(applicationTitle(), page);
    title->setObjectName(QStringLiteral("aboutTitle"));
    title->setFont(titleFont);
    title->setGeometry(196, 48, 380, 30);
    auto *line = new QLabel(QStringLiteral("Edits the ID3v2 and ID3v1.1 tags of MP3 files."), page);
    line->setObjectName(QStringLiteral("aboutText"));
    line->setGeometry(196, 88, 380, 18);
    auto *credit = new QLabel(QStringLiteral("by the Tagvane team"), page);
    credit->setObjectName(QStringLiteral("aboutCredit"));
    credit->setGeometry(196, 110, 380, 18);

    registerButton = makeButton(page, "registerButton", QStringLiteral("Register"), {196, 150, 130, 25});
    reportBugButton = makeButton(page, "reportBugButton", QStringLiteral("Report bug"), {196, 182, 130, 25});
    checkVersionButton =
        makeButton(page, "checkVersionButton", QStringLiteral("Check new version"), {196, 214, 130, 25});
}

} // namespace tagvane
