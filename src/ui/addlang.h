#pragma once

#include "ui/uiplatform.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tagvane {

// The entry dialog: adds or edits one comment, lyric, user text, user URL or
// terms-of-use entry. It is made once and set up anew for every showing.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    enum class Mode {
        AddLyric,
        AddComment,
        AddUserText,
        AddUserUrl,
        AddTerms,
        EditLyric,
        EditComment,
        EditUserText,
        EditUserUrl,
        EditTerms,
    };

    // One entry as the tag model holds it, Windows-1252 bytes. `text` is the
    // lyric, comment or terms text, the user text's Value or the user URL's Url.
    // From execute, `description` ends in one NUL and `language` is a code
    // (empty when none was picked); a field the mode does not use is empty.
    struct Entry {
        std::string description;
        std::string language;
        std::string text;
    };

    explicit TForm2(UiPlatform &platform, QWidget *parent = nullptr);

    // Sets the dialog up for the mode (edit modes from `entry`), shows it
    // modally and returns what the confirm button stores, or nothing when the
    // dialog was cancelled or closed.
    std::optional<Entry> execute(Mode mode, const Entry &entry = {});

    // The pieces of execute, for callers that show the dialog themselves.
    void setup(Mode mode, const Entry &entry = {});
    Entry collect() const;
    Mode mode() const { return mode_; }

    // The folder the import file dialog starts in (the OpenTextDir setting),
    // and the text file last imported (its folder is saved at exit); native paths.
    void setImportFolder(const QString &folder) { importFolder_ = folder; }
    const QString &lastImportedFile() const { return lastImportedFile_; }

    // "Import": picks a text file and puts its content into the text box.
    void importText();

    QLineEdit *descriptionEdit() const { return descriptionEdit_; }
    QComboBox *languageCombo() const { return languageCombo_; }
    QPlainTextEdit *textEdit() const { return textEdit_; }
    QPushButton *confirmButton() const { return confirmButton_; }
    QPushButton *cancelButton() const { return cancelButton_; }
    QPushButton *importButton() const { return importButton_; }

private:
    UiPlatform &platform_;
    Mode mode_ = Mode::AddLyric;
    QString importFolder_;
    QString lastImportedFile_;
    // The language names as bytes, in pick-list order.
    std::vector<std::string> languageNames_;

    QLabel *descriptionLabel_;
    QLineEdit *descriptionEdit_;
    QLabel *languageLabel_;
    QComboBox *languageCombo_;
    QLabel *textLabel_;
    QPlainTextEdit *textEdit_;
    QPushButton *confirmButton_;
    QPushButton *cancelButton_;
    QPushButton *importButton_;
};

// Text-box helpers shared by the dialogs: tag bytes up to their first NUL as
// shown text, and the box's lines joined by CR LF with none after the last.
QString tagTextForBox(const std::string &bytes);
std::string boxTextForTag(const QString &text);
// Every line break (CR, LF or CR LF) as CR LF.
QString withCrLf(const QString &text);
// A text file's content: UTF-8 when it is valid UTF-8 (a leading byte order
// mark dropped), Windows-1252 otherwise.
QString decodeTextFile(const QByteArray &content);
// The application's error box ("Tagvane v. 1.2", error icon, OK), for the
// errors a dialog catches itself because they must not leave its event loop.
void showErrorBox(UiPlatform &platform, const QString &text);

} // namespace tagvane
