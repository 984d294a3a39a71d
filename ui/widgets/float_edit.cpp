#include "ui/widgets/float_edit.h"

#include "engine/files/data_files.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/widgets/field_leave.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <charconv>
#include <utility>

const QString TFloatEdit::NoMessage = QStringLiteral("[No Text]");

namespace {

constexpr QChar Separator = u'.';
constexpr int MaxDigits = 18;

// Judges every change that does not come from a typed key (paste, drop,
// middle-click insert) by the rules the keys follow.
class WellFormedValidator : public QValidator {
public:
    explicit WellFormedValidator(TFloatEdit *edit) : QValidator(edit), edit_(edit) {}
    State validate(QString &input, int &) const override
    {
        return edit_->IsWellFormed(input) ? Acceptable : Invalid;
    }

private:
    TFloatEdit *edit_;
};

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

void ShowMessage(const QString &message)
{
    ShowUserMessage(message.toStdString(), "KYT", MessageKind::Information);
}

} // namespace

TFloatEdit::TFloatEdit(QWidget *parent) : QLineEdit(parent), errorMessage_(NoMessage)
{
    setValidator(new WellFormedValidator(this));
    SetValue(0.0);
}

void TFloatEdit::SetDigits(int digits)
{
    if (digits == digits_)
        return;
    digits_ = std::clamp(digits, 0, MaxDigits);
    SetValue(Value());
}

double TFloatEdit::Value() const
{
    QString shown = text();
    if (shown.isEmpty() || shown == "-" || shown == QString(Separator))
        shown = "0";
    double number = 0.0;
    if (!ParseDecimal(shown.toStdString(), number))
        number = min_;
    return std::clamp(number, min_, max_);
}

void TFloatEdit::SetValue(double value)
{
    if (value > max_) {
        ShowError(errorMessage_);
        value = max_;
    }
    if (value < min_) {
        ShowError(errorMessage_);
        value = min_;
    }
    setText(Formatted(value));
}

void TFloatEdit::SetMin(double value)
{
    if (value == min_)
        return;
    if (value > max_) {
        ShowMessage("Min-Value has to be less than or equal to Max-Value !");
        value = max_;
    }
    min_ = value;
    SetValue(Value());
}

void TFloatEdit::SetMax(double value)
{
    if (value == max_)
        return;
    if (value < min_) {
        ShowMessage("Max-Value has to be greater than or equal to Min-Value !");
        value = min_;
    }
    max_ = value;
    SetValue(Value());
}

bool TFloatEdit::IsWellFormed(const QString &text) const
{
    bool afterSeparator = false;
    int decimals = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (IsAsciiDigit(c)) {
            decimals += afterSeparator ? 1 : 0;
        } else if (c == Separator) {
            if (digits_ == 0 || afterSeparator)
                return false;
            afterSeparator = true;
        } else if (c == u'-') {
            if (i != 0 || min_ >= 0.0)
                return false;
        } else {
            return false;
        }
    }
    return decimals <= digits_;
}

bool TFloatEdit::KeyFits(const QString &before, QChar key, const QString &after) const
{
    const QString others = before + after;
    if (key == Separator) {
        if (digits_ == 0 || others.contains(Separator))
            return false;
    } else if (key == u'-') {
        if (min_ >= 0.0 || others.contains(u'-') || !before.isEmpty())
            return false;
    } else if (!IsAsciiDigit(key)) {
        return false;
    }
    const QString result = before + key + after;
    const qsizetype separator = result.indexOf(Separator);
    return separator < 0 || result.size() - separator - 1 <= digits_;
}

bool TFloatEdit::IsBlank() const
{
    return text().trimmed().isEmpty();
}

bool TFloatEdit::TextInRange(double &number) const
{
    return ParseDecimal(text().toStdString(), number) && number >= min_ && number <= max_;
}

void TFloatEdit::RefuseText(bool tellUser)
{
    setText(restoreText_);
    selectAll();
    if (!tellUser)
        return;
    refusalUntold_ = true;
    // After the focus change has settled: a box shown from inside it would
    // fight the widget that is taking the focus.
    QTimer::singleShot(0, this, [this] {
        if (std::exchange(refusalUntold_, false) && isVisible())
            TellRefusal();
    });
}

void TFloatEdit::TellRefusal()
{
    ShowError(errorMessage_);
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

bool TFloatEdit::JudgeValue()
{
    double number = 0.0;
    const bool refused = !IsBlank() && !TextInRange(number);
    if (!std::exchange(refusalUntold_, false) && !refused)
        return true;
    // A text put in by the program has no edit to undo: it stays for the
    // user to mend.
    if (refused && focused_)
        setText(restoreText_);
    TellRefusal();
    return false;
}

void TFloatEdit::ShowError(const QString &message) const
{
    if (message != NoMessage)
        ShowMessage(message);
}

QString TFloatEdit::Formatted(double value) const
{
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits_);
    return ec == std::errc() ? QString::fromLatin1(buffer, end - buffer) : QString();
}

void TFloatEdit::focusInEvent(QFocusEvent *event)
{
    // Back from another window the edit goes on: its text is no new value
    // to return to.
    if (!focused_)
        restoreText_ = IsBlank() ? QString() : Formatted(Value());
    focused_ = true;
    QLineEdit::focusInEvent(event);
}

void TFloatEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!LeavesFieldInItsWindow(*event))
        return;
    focused_ = false;
    if (IsBlank()) {
        // No value stays no value: a column the user left empty is not
        // given the range's minimum.
        clear();
        return;
    }
    double number = 0.0;
    if (!TextInRange(number)) {
        RefuseText(window()->isVisible());
        return;
    }
    setText(Formatted(number));
    SetValue(Value());
}

void TFloatEdit::hideEvent(QHideEvent *event)
{
    // A window closing with the field in the middle of an edit: no box and no
    // focus for a window on its way out.
    double number = 0.0;
    if (focused_ && !IsBlank() && !TextInRange(number))
        RefuseText(false);
    focused_ = false;
    QLineEdit::hideEvent(event);
}

void TFloatEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        setText(restoreText_);
        selectAll();
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString key = event->text();
    if (key.isEmpty() || key[0].unicode() < 32 || (event->modifiers() & Qt::ControlModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString shown = text();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
    const QString before = shown.left(start);
    const QString after = shown.mid(start + length);
    event->accept();
    if (key.size() != 1 || !KeyFits(before, key[0], after))
        return;
    const QString candidate = before + key + after;
    if (candidate == "-") {
        // The sign alone is no number: a 0 to type over.
        setText("-0");
        setSelection(1, 1);
        return;
    }
    if (candidate == QString(Separator)) {
        setText(QString("0") + Separator + "0");
        setSelection(2, 1);
        return;
    }
    QLineEdit::keyPressEvent(event);
}
