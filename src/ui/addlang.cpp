#include "ui/addlang.h"

#include "languages/languages.h"
#include "platform/File.h"
#include "platform/codepage.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QTextDocument>

#include <array>

namespace tagvane {

namespace {

using Mode = TForm2::Mode;

// How each mode sets the dialog up. Captions are the program's own, typos included.
struct ModeLayout {
    Mode mode;
    const char *title;
    const char *textLabel;
    const char *confirm;
    bool edit;
    bool description; // the description field is shown
    bool language;    // the language pick list is shown
};

constexpr std::array<ModeLayout, 10> modeTable{{
    {Mode::AddLyric, "Add Lyric", "Lyric:", "Add", false, true, true},
    {Mode::AddComment, "Add Comment", "Commet:", "Add", false, true, true},
    {Mode::AddUserText, "Add User Defined Text", "Text:", "Add", false, true, false},
    {Mode::AddUserUrl, "Add User Defined URL", "URL:", "Add", false, true, false},
    {Mode::AddTerms, "Add Terms Of Use", "Terms Of Use:", "Add", false, false, true},
    {Mode::EditLyric, "Edit Lyric", "Lyric:", "Edit", true, true, true},
    {Mode::EditComment, "Edit Comment", "Comment:", "Edit", true, true, true},
    {Mode::EditUserText, "Edit User Defined Text", "Text:", "Edit", true, true, false},
    {Mode::EditUserUrl, "Edit User Defined URL", "Url:", "Edit", true, true, false},
    {Mode::EditTerms, "Edit Terms Of Use", "Terms OF Use:", "Edit", true, false, true},
}};

const ModeLayout &layoutOf(Mode mode) {
    for (const auto &layout : modeTable)
        if (layout.mode == mode)
            return layout;
    return modeTable[0];
}

QString fromTag(const std::string &bytes) {
    return QString::fromStdU16String(cp1252ToUtf16(bytes));
}
std::string toTag(const QString &text) {
    return utf16ToCp1252(text.toStdU16String());
}

std::string untilNul(const std::string &bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// Line breaks as the text box holds them: one LF each.
QString withLf(const QString &text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

} // namespace

QString tagTextForBox(const std::string &bytes) {
    return withLf(fromTag(untilNul(bytes)));
}

std::string boxTextForTag(const QString &text) {
    // The document separates its lines by paragraph separators (and line
    // separators for soft breaks); neither exists in Windows-1252.
    QString out = text;
    out.replace(QChar(QChar::ParagraphSeparator), QLatin1Char('\n'));
    out.replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
    return toTag(withCrLf(out));
}

QString withCrLf(const QString &text) {
    QString out = withLf(text);
    out.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return out;
}

QString decodeTextFile(const QByteArray &content) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(content);
    if (!utf8.hasError()) {
        if (decoded.startsWith(QChar(0xFEFF)))
            return decoded.mid(1);
        return decoded;
    }
    return fromTag(content.toStdString());
}

void showErrorBox(UiPlatform &platform, const QString &text) {
    UiPlatform::MessageRequest request;
    request.title = applicationTitle();
    request.text = text;
    request.icon = UiPlatform::Icon::Error;
    platform.message(request);
}

TForm2::TForm2(UiPlatform &platform, QWidget *parent) : QDialog(parent), platform_(platform) {
    setObjectName(QStringLiteral("TForm2"));
    setFixedSize(564, 256);
    setModal(true);

    const auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    descriptionLabel_ = new QLabel(QStringLiteral("Description:"), this);
    named(descriptionLabel_, "descriptionLabel")->setGeometry(8, 8, 265, 16);
    descriptionEdit_ = new QLineEdit(this);
    named(descriptionEdit_, "descriptionEdit")->setGeometry(8, 24, 265, 22);
    languageLabel_ = new QLabel(QStringLiteral("Language:"), this);
    named(languageLabel_, "languageLabel")->setGeometry(288, 8, 268, 16);
    languageCombo_ = new QComboBox(this);
    named(languageCombo_, "languageCombo")->setGeometry(288, 24, 268, 22);
    languageCombo_->setEditable(false);
    for (const auto &name : LanguageNames()) {
        languageNames_.push_back(name);
        languageCombo_->addItem(fromTag(name));
    }
    languageCombo_->setCurrentIndex(-1);
    textLabel_ = new QLabel(this);
    named(textLabel_, "textLabel")->setGeometry(8, 54, 548, 16);
    textEdit_ = new QPlainTextEdit(this);
    named(textEdit_, "textEdit")->setGeometry(8, 70, 548, 142);
    confirmButton_ = new QPushButton(QStringLiteral("Add"), this);
    named(confirmButton_, "confirmButton")->setGeometry(8, 222, 75, 25);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    named(cancelButton_, "cancelButton")->setGeometry(90, 222, 75, 25);
    importButton_ = new QPushButton(QStringLiteral("Import"), this);
    named(importButton_, "importButton")->setGeometry(481, 222, 75, 25);

    // Enter in the one-line field must not confirm behind the user's back.
    confirmButton_->setAutoDefault(false);
    cancelButton_->setAutoDefault(false);
    importButton_->setAutoDefault(false);

    connect(confirmButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(importButton_, &QPushButton::clicked, this, &TForm2::importText);
}

void TForm2::setup(Mode mode, const Entry &entry) {
    mode_ = mode;
    const ModeLayout &layout = layoutOf(mode);
    setWindowTitle(QString::fromLatin1(layout.title));
    textLabel_->setText(QString::fromLatin1(layout.textLabel));
    confirmButton_->setText(QString::fromLatin1(layout.confirm));
    descriptionLabel_->setVisible(layout.description);
    descriptionEdit_->setVisible(layout.description);
    languageLabel_->setVisible(layout.language);
    languageCombo_->setVisible(layout.language);

    // A hidden field keeps what it held, except that adding always starts
    // with an empty description.
    if (!layout.edit) {
        descriptionEdit_->clear();
        if (layout.language)
            languageCombo_->setCurrentIndex(-1);
        textEdit_->clear();
        return;
    }
    if (layout.description)
        descriptionEdit_->setText(fromTag(untilNul(entry.description)));
    if (layout.language) {
        const std::string name = LanguageCodeToName(entry.language);
        int index = -1;
        if (!name.empty())
            for (size_t i = 0; i < languageNames_.size() && index < 0; ++i)
                if (languageNames_[i] == name)
                    index = static_cast<int>(i);
        languageCombo_->setCurrentIndex(index);
    }
    textEdit_->setPlainText(tagTextForBox(entry.text));
}

TForm2::Entry TForm2::collect() const {
    const ModeLayout &layout = layoutOf(mode_);
    Entry out;
    if (layout.description)
        out.description = toTag(descriptionEdit_->text()) + '\0';
    if (layout.language) {
        const int index = languageCombo_->currentIndex();
        if (index >= 0 && static_cast<size_t>(index) < languageNames_.size())
            out.language = LanguageNameToCode(languageNames_[static_cast<size_t>(index)]);
    }
    out.text = boxTextForTag(textEdit_->document()->toRawText());
    return out;
}

std::optional<TForm2::Entry> TForm2::execute(Mode mode, const Entry &entry) {
    setup(mode, entry);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return collect();
}

void TForm2::importText() {
    const auto request = UiPlatform::FileRequest::reopening(QStringLiteral("Import"), importFolder_, lastImportedFile_);
    const std::optional<QString> picked = platform_.openFile(request);
    if (!picked)
        return;
    lastImportedFile_ = *picked;
    QByteArray content;
    try {
        File file(picked->toUtf8().toStdString(), File::Mode::Read);
        const uint64_t size = file.size();
        content.resize(static_cast<qsizetype>(size));
        if (size > 0)
            file.readExact(content.data(), static_cast<size_t>(size));
    } catch (const InOutError &e) {
        showErrorBox(platform_, QString::fromLocal8Bit(e.what()));
        return;
    }
    textEdit_->setPlainText(withLf(decodeTextFile(content)));
}

} // namespace tagvane
