// The sky-point picker: a right ascension and a declination typed into
// masked fields, read when the dialog closes.
#pragma once

#include <QDialog>

#include <string>
#include <string_view>

class QLineEdit;
class QPushButton;

// "hhmmss" (six digits; a blank position is any other character) as a right
// ascension in radians; false, result untouched, unless every position is a
// digit and hours < 24, minutes and seconds < 60.
bool ParseRightAscension(std::string_view digits, double &result);
// "+ddmmss" or "-ddmmss" as a declination in radians, the sign applying to
// the whole value; false, result untouched, unless the sign is there, every
// other position is a digit and degrees < 90, minutes and seconds < 60.
bool ParseDeclination(std::string_view digits, double &result);

class TfrRaDecWnd : public QDialog {
    Q_OBJECT
public:
    // Pre-filled with the mask digits "hhmmss" and "+ddmmss".
    TfrRaDecWnd(const std::string &raDigits, const std::string &decDigits, QWidget *parent = nullptr);

    // The fields' texts without the mask's literals, blanks as '_'.
    std::string RightAscensionDigits() const;
    std::string DeclinationDigits() const;

    // Set when both fields read at the close; the results are then valid.
    bool Chosen() const { return chosen_; }
    double RightAscension() const { return rightAscension_; }
    double Declination() const { return declination_; }

    QLineEdit *mstxt_ra = nullptr;
    QLineEdit *mstxt_dec = nullptr;
    QPushButton *bn_set = nullptr;

    void done(int result) override;

private:
    void FormClose();

    bool chosen_ = false;
    double rightAscension_ = 0.0;
    double declination_ = 0.0;
};

// The picker as the engine's hook: shows the dialog modally; true with both
// angles when they read, false (after the dialog's message) otherwise.
bool PickSkyPoint(const std::string &raDigits, const std::string &decDigits, double &ra, double &dec);
