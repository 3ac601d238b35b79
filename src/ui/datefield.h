#pragma once

// The date fields of the editor: ten characters "dd.mm.yyyy" with blanks as
// spaces, typed through an input mask, checked when the user leaves them.

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QLineEdit;

namespace tagvane {

// The blank field: two spaces, a dot, two spaces, a dot, four spaces.
inline const QString blankDate = QStringLiteral("  .  .    ");

// The field's text, always ten characters, blanks read as spaces.
QString dateFieldText(const QLineEdit *edit);
// Puts a ten-character text into the field. Text the mask cannot hold (a
// malformed stored value) is shown as it stands, without the mask.
void setDateFieldText(QLineEdit *edit, const QString &text);
// Day, month and year placed right-aligned into their slots, blanks in front.
QString dateFromParts(const QString &day, const QString &month, const QString &year);
// The time stamp a field text stands for: year "-" month "-" day, ten characters.
QString timeStampFromDate(const QString &text);
// True when the field holds something but not all four year digits.
bool yearIncomplete(const QString &text);

// Watches one date field: remembers its text when it receives the focus,
// restores it on Escape, and when the user leaves a field they changed with
// an incomplete year, calls `complain` and takes the focus back.
class DateFieldGuard : public QObject {
    Q_OBJECT
public:
    DateFieldGuard(QLineEdit *edit, std::function<void()> complain);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *edit_;
    std::function<void()> complain_;
    QString entered_;
    bool edited_ = false;
    bool returning_ = false;
};

} // namespace tagvane
