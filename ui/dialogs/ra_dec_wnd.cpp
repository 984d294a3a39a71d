#include "ui/dialogs/ra_dec_wnd.h"

#include "engine/astronomy/constants.h"
#include "engine/runtime/ui_hooks.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The two digits at pos as a number, or -1 when either is not a digit.
int TwoDigits(std::string_view text, std::size_t pos)
{
    if (pos + 2 > text.size())
        return -1;
    const char tens = text[pos], units = text[pos + 1];
    if (tens < '0' || tens > '9' || units < '0' || units > '9')
        return -1;
    return (tens - '0') * 10 + (units - '0');
}

// Whole degrees (or hours), minutes and seconds from the six digits at pos;
// false unless each reads and lies below its limit.
bool ReadSexagesimal(std::string_view text, std::size_t pos, int wholeLimit, double &value)
{
    const int whole = TwoDigits(text, pos), minutes = TwoDigits(text, pos + 2),
              seconds = TwoDigits(text, pos + 4);
    if (text.size() != pos + 6 || whole < 0 || whole >= wholeLimit || minutes < 0 || minutes >= 60 ||
        seconds < 0 || seconds >= 60)
        return false;
    value = whole + minutes / 60.0 + seconds / 3600.0;
    return true;
}

// The characters of a masked field that the user fills (digits, sign and
// blanks), without the mask's literals.
std::string FilledPositions(const QLineEdit *edit)
{
    std::string digits;
    for (const QChar c : edit->displayText())
        if (c.isDigit() || c == u'+' || c == u'-' || c == u'_')
            digits += static_cast<char>(c.unicode());
    return digits;
}

void Message(const char *text)
{
    ShowUserMessage(text, "KYT", MessageKind::Information);
}

} // namespace

bool ParseRightAscension(std::string_view digits, double &result)
{
    double hours = 0.0;
    if (!ReadSexagesimal(digits, 0, 24, hours))
        return false;
    result = DegToRad(hours * 15.0);
    return true;
}

bool ParseDeclination(std::string_view digits, double &result)
{
    double degrees = 0.0;
    if (digits.empty() || (digits[0] != '+' && digits[0] != '-') || !ReadSexagesimal(digits, 1, 90, degrees))
        return false;
    result = DegToRad(digits[0] == '-' ? -degrees : degrees);
    return true;
}

TfrRaDecWnd::TfrRaDecWnd(const std::string &raDigits, const std::string &decDigits, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle("RA/DEC");
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *fields = new QFormLayout;
    mstxt_ra = new QLineEdit(this);
    // 'h' is a mask character of its own; the letters are literals here.
    mstxt_ra->setInputMask("00\\h 00\\m 00\\s;_");
    mstxt_ra->setText(QString::fromStdString(raDigits));
    mstxt_dec = new QLineEdit(this);
    mstxt_dec->setInputMask(QString::fromUtf8("#00\u00b0 00' 00\";_"));
    mstxt_dec->setText(QString::fromStdString(decDigits));
    fields->addRow("Right Ascension", mstxt_ra);
    fields->addRow("Declination", mstxt_dec);
    layout->addLayout(fields);
    bn_set = new QPushButton("SET", this);
    bn_set->setDefault(true);
    layout->addWidget(bn_set, 0, Qt::AlignRight);
    connect(bn_set, &QPushButton::clicked, this, &QDialog::accept);
}

std::string TfrRaDecWnd::RightAscensionDigits() const
{
    return FilledPositions(mstxt_ra);
}

std::string TfrRaDecWnd::DeclinationDigits() const
{
    return FilledPositions(mstxt_dec);
}

void TfrRaDecWnd::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TfrRaDecWnd::FormClose()
{
    double ra = 0.0, dec = 0.0;
    if (!ParseRightAscension(RightAscensionDigits(), ra)) {
        Message("Not a valid Right Ascension");
        return;
    }
    if (!ParseDeclination(DeclinationDigits(), dec)) {
        Message("Not a valid Declination");
        return;
    }
    rightAscension_ = ra;
    declination_ = dec;
    chosen_ = true;
}

bool PickSkyPoint(const std::string &raDigits, const std::string &decDigits, double &ra, double &dec)
{
    TfrRaDecWnd dialog(raDigits, decDigits);
    dialog.exec();
    if (!dialog.Chosen())
        return false;
    ra = dialog.RightAscension();
    dec = dialog.Declination();
    return true;
}
