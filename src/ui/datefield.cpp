#include "ui/datefield.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace tagvane {

namespace {

const QString dateMask = QStringLiteral("00.00.0000;_");
constexpr QChar maskBlank = u'_';

bool fitsMask(const QString &text) {
    if (text.size() != 10 || text[2] != u'.' || text[5] != u'.')
        return false;
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (text[i] != u' ' && !(text[i] >= u'0' && text[i] <= u'9'))
            return false;
    return true;
}

// Right-aligned in a slot of `width`; a longer part keeps its last characters.
QString slot(const QString &part, int width) {
    if (part.size() >= width)
        return part.right(width);
    return QString(width - part.size(), u' ') + part;
}

} // namespace

QString dateFieldText(const QLineEdit *edit) {
    QString text = edit->text();
    if (!edit->inputMask().isEmpty()) {
        // text() drops the blanks; the displayed text keeps every position.
        text = edit->displayText();
        text.replace(maskBlank, u' ');
    }
    if (text.size() < 10)
        text += QString(10 - text.size(), u' ');
    return text.left(10);
}

void setDateFieldText(QLineEdit *edit, const QString &text) {
    if (fitsMask(text)) {
        if (edit->inputMask().isEmpty())
            edit->setInputMask(dateMask);
        QString masked = text;
        masked.replace(u' ', maskBlank);
        edit->setText(masked);
    } else {
        edit->setInputMask(QString());
        edit->setText(text);
    }
    edit->setModified(false);
}

QString dateFromParts(const QString &day, const QString &month, const QString &year) {
    // Joined and cut again at the first two dots, so a part holding a dot
    // moves the rest along as it would in the joined text.
    const QString joined = day + u'.' + month + u'.' + year;
    const int d1 = joined.indexOf(u'.');
    const int d2 = joined.indexOf(u'.', d1 + 1);
    return slot(joined.left(d1), 2) + u'.' + slot(joined.mid(d1 + 1, d2 - d1 - 1), 2) + u'.' +
           slot(joined.mid(d2 + 1), 4);
}

QString timeStampFromDate(const QString &text) {
    const QString t = text.size() < 10 ? text + QString(10 - text.size(), u' ') : text;
    return t.mid(6, 4) + u'-' + t.mid(3, 2) + u'-' + t.mid(0, 2);
}

bool yearIncomplete(const QString &text) {
    if (text == blankDate)
        return false;
    const QString year = text.mid(6, 4);
    return year.size() < 4 || year.contains(u' ');
}

DateFieldGuard::DateFieldGuard(QLineEdit *edit, std::function<void()> complain)
    : QObject(edit), edit_(edit), complain_(std::move(complain)) {
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textEdited, this, [this] { edited_ = true; });
}

bool DateFieldGuard::eventFilter(QObject *watched, QEvent *event) {
    if (watched != edit_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        // Coming back after a complaint keeps the text of the first entry.
        if (!returning_) {
            entered_ = dateFieldText(edit_);
            edited_ = false;
        }
        returning_ = false;
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            setDateFieldText(edit_, entered_);
            edited_ = false;
            return true;
        }
        break;
    case QEvent::FocusOut: {
        // A message box or menu taking the focus is not the user leaving.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            break;
        if (edited_ && yearIncomplete(dateFieldText(edit_))) {
            // Complain once the focus change is over, then take the focus back.
            QTimer::singleShot(0, edit_, [this] {
                complain_();
                returning_ = true;
                edit_->setFocus(Qt::OtherFocusReason);
                if (edit_->hasFocus())
                    returning_ = false;
            });
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tagvane
