#pragma once

#include <QFileInfo>
#include <QImage>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tagvane {

// The application's title: the task bar's name and every error box's caption.
inline QString applicationTitle() { return QStringLiteral("Tagvane v. 1.2"); }

// What the windows ask of the desktop: message boxes, file dialogs, the shell,
// the clipboard, the busy cursor and the event loop. The program uses the Qt
// implementation; tests use ScriptedPlatform, which records every call and
// answers from a script.
class UiPlatform {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Button { Ok = 1, Yes = 2, No = 4, Cancel = 8 };

    struct MessageRequest {
        QString title;
        QString text;
        Icon icon = Icon::None;
        int buttons = int(Button::Ok); // a combination of Button values
        Button defaultButton = Button::Ok;
    };

    struct FileRequest {
        QString title;
        QString initialFolder; // native path
        QString filter;        // Qt filter text, e.g. "Text file (*.txt)"
        QString defaultExtension; // without the dot; added when the picked name has none
        QString fileName;      // proposed or last picked name

        // An open dialog that comes back to the file last picked in it, or
        // starts in `folder` while none has been picked.
        static FileRequest reopening(const QString& title, const QString& folder, const QString& lastPicked) {
            FileRequest request;
            request.title = title;
            if (lastPicked.isEmpty()) {
                request.initialFolder = folder;
            } else {
                const QFileInfo last(lastPicked);
                request.initialFolder = last.path();
                request.fileName = last.fileName();
            }
            return request;
        }
    };

    virtual ~UiPlatform() = default;

    virtual Button message(const MessageRequest& request) = 0;
    // Each returns the chosen native path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> openFile(const FileRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileRequest& request) = 0;
    virtual std::optional<QString> openPicture(const FileRequest& request) = 0;
    // Opens a document or address with the desktop's associated program.
    virtual bool shellOpen(const QString& target, const QString& workingFolder) = 0;
    virtual void setClipboardImage(const QImage& image) = 0;
    virtual void setBusy(bool busy) = 0;
    virtual void processEvents() = 0;
    virtual void beep() = 0;
};

// Shows the busy cursor for the lifetime of the object, also when an exception leaves.
class BusyCursor {
public:
    explicit BusyCursor(UiPlatform& platform) : platform_(platform) { platform_.setBusy(true); }
    ~BusyCursor() { platform_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    UiPlatform& platform_;
};

// The desktop's own dialogs and services.
std::unique_ptr<UiPlatform> makeQtPlatform();

// Test stand-in: answers from queues filled by the test, records every call.
class ScriptedPlatform : public UiPlatform {
public:
    struct Call {
        QString kind; // "message", "openFile", "saveFile", "openPicture", "shellOpen", "clipboard", "busy", "events", "beep"
        MessageRequest message;
        FileRequest file;
        QString target, workingFolder;
        bool busy = false;
    };

    // Answers, used in order; an empty queue answers a message with its default
    // button and a file dialog with "cancelled".
    std::deque<Button> messageAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    bool shellResult = true;

    std::vector<Call> calls;
    QImage clipboard;
    bool clipboardSet = false;
    int busyDepth = 0;
    // Run on every processEvents call, so a test can act while a batch runs.
    std::function<void()> onProcessEvents;

    std::vector<Call> callsOf(const QString& kind) const;
    const Call* lastMessage() const;

    Button message(const MessageRequest& request) override;
    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QString> saveFile(const FileRequest& request) override;
    std::optional<QString> openPicture(const FileRequest& request) override;
    bool shellOpen(const QString& target, const QString& workingFolder) override;
    void setClipboardImage(const QImage& image) override;
    void setBusy(bool busy) override;
    void processEvents() override;
    void beep() override;

private:
    std::optional<QString> fileDialog(const QString& kind, const FileRequest& request);
};

} // namespace tagvane
