#include "ui/uiplatform.h"

namespace tagvane {

std::vector<ScriptedPlatform::Call> ScriptedPlatform::callsOf(const QString& kind) const {
    std::vector<Call> out;
    for (const auto& c : calls)
        if (c.kind == kind)
            out.push_back(c);
    return out;
}

const ScriptedPlatform::Call* ScriptedPlatform::lastMessage() const {
    for (auto it = calls.rbegin(); it != calls.rend(); ++it)
        if (it->kind == QStringLiteral("message"))
            return &*it;
    return nullptr;
}

UiPlatform::Button ScriptedPlatform::message(const MessageRequest& request) {
    Call c;
    c.kind = QStringLiteral("message");
    c.message = request;
    calls.push_back(c);
    if (messageAnswers.empty())
        return request.defaultButton;
    Button b = messageAnswers.front();
    messageAnswers.pop_front();
    return b;
}

std::optional<QString> ScriptedPlatform::fileDialog(const QString& kind, const FileRequest& request) {
    Call c;
    c.kind = kind;
    c.file = request;
    calls.push_back(c);
    if (fileAnswers.empty())
        return std::nullopt;
    const bool chosen = fileAnswers.front().has_value();
    const QString path = chosen ? *fileAnswers.front() : QString();
    fileAnswers.pop_front();
    if (!chosen)
        return std::nullopt;
    return path;
}

std::optional<QString> ScriptedPlatform::openFile(const FileRequest& request) {
    return fileDialog(QStringLiteral("openFile"), request);
}
std::optional<QString> ScriptedPlatform::saveFile(const FileRequest& request) {
    return fileDialog(QStringLiteral("saveFile"), request);
}
std::optional<QString> ScriptedPlatform::openPicture(const FileRequest& request) {
    return fileDialog(QStringLiteral("openPicture"), request);
}

bool ScriptedPlatform::shellOpen(const QString& target, const QString& workingFolder) {
    Call c;
    c.kind = QStringLiteral("shellOpen");
    c.target = target;
    c.workingFolder = workingFolder;
    calls.push_back(c);
    return shellResult;
}

void ScriptedPlatform::setClipboardImage(const QImage& image) {
    Call c;
    c.kind = QStringLiteral("clipboard");
    calls.push_back(c);
    clipboard = image;
    clipboardSet = true;
}

void ScriptedPlatform::setBusy(bool busy) {
    Call c;
    c.kind = QStringLiteral("busy");
    c.busy = busy;
    calls.push_back(c);
    busyDepth += busy ? 1 : -1;
}

void ScriptedPlatform::processEvents() {
    Call c;
    c.kind = QStringLiteral("events");
    calls.push_back(c);
    if (onProcessEvents)
        onProcessEvents();
}

void ScriptedPlatform::beep() {
    Call c;
    c.kind = QStringLiteral("beep");
    calls.push_back(c);
}

} // namespace tagvane
