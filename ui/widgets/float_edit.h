// A one-line edit for a number with a fixed number of decimals and an
// inclusive range. Each typed key is judged by where it lands, and only a
// well-formed number can be pasted or dropped; leaving the field reformats
// it, and a number that does not read or lies out of range is refused by
// restoring the text the field had when it got the focus. A switch to
// another window is no leaving: the text stays as typed, unjudged. A blank
// field stands for "no value" and stays blank. Numbers are written and read
// with '.' whatever the locale.
#pragma once

#include <QLineEdit>
#include <QString>

class TFloatEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int Digits READ Digits WRITE SetDigits)
    Q_PROPERTY(double Value READ Value WRITE SetValue)
    Q_PROPERTY(double Min READ Min WRITE SetMin)
    Q_PROPERTY(double Max READ Max WRITE SetMax)
    Q_PROPERTY(QString ErrorMessage READ ErrorMessage WRITE SetErrorMessage)

public:
    // With this message a refusal is silent.
    static const QString NoMessage;

    explicit TFloatEdit(QWidget *parent = nullptr);

    // Decimals shown and accepted, 0..18.
    int Digits() const { return digits_; }
    void SetDigits(int digits);

    // The text as a number: empty, "-" and "." read as 0, a text that does
    // not read as Min; held within [Min, Max].
    double Value() const;
    // A value beyond the range is held to it, with ErrorMessage.
    void SetValue(double value);

    double Min() const { return min_; }
    void SetMin(double value);
    double Max() const { return max_; }
    void SetMax(double value);

    QString ErrorMessage() const { return errorMessage_; }
    void SetErrorMessage(const QString &message) { errorMessage_ = message; }

    // Whether the field holds a value it can take, for a form about to use
    // it: false when its text does not read or lies out of range, or when
    // it was left with such a text and the user has not yet been told. Then
    // the user is told (ErrorMessage), a text typed since the focus gain
    // goes back to the value held then, and the focus is put in the field.
    bool JudgeValue();

    // Whether text could stand in the field after a paste or drop: digits,
    // at most one '.' (none with 0 Digits) followed by at most Digits digits,
    // and a leading '-' only when Min is negative.
    bool IsWellFormed(const QString &text) const;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Whether the printable key may go between before and after (the text
    // on either side of the cursor or selection). Only the key is judged:
    // blanks a program put in the field do not hold up typing.
    bool KeyFits(const QString &before, QChar key, const QString &after) const;
    bool IsBlank() const;
    // The text as a number within the range; false when it is neither.
    bool TextInRange(double &number) const;
    // Refuses the text by putting back the restore text; tells the user and
    // keeps the focus only when asked (not while the window closes, when a
    // box or a focus grab would land on a leaving window).
    void RefuseText(bool tellUser);
    // Tells the user of a refusal and puts the focus back in the field.
    void TellRefusal();
    void ShowError(const QString &message) const;
    QString Formatted(double value) const;

    int digits_ = 1;
    double min_ = 0.0;
    double max_ = 99999999.9;
    QString errorMessage_;
    // The text at the focus gain that began the edit, formatted, or empty
    // for a blank field.
    QString restoreText_;
    // From a focus gain until the focus moves to another control of the
    // window or the window hides; a switch to another window does not end it.
    bool focused_ = false;
    // A refusal on leaving the field that the user has not been told of:
    // the click that took the focus may be on a button about to use the
    // field's value.
    bool refusalUntold_ = false;
};
