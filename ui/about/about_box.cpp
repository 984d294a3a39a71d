#include "ui/about/about_box.h"

#include "engine/files/data_files.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/about/version_block.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

TfrAboutBox::TfrAboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle("About KYT");
    auto *image = new QLabel(this);
    image->setObjectName("KYT");
    image->setFixedSize(32, 32);
    image->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    memo_about = new QPlainTextEdit(this);
    memo_about->setReadOnly(true);
    memo_about->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The licence and notices are laid out in 80 columns: shown as written,
    // in a fixed-pitch face and wide enough for them.
    memo_about->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_about->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(memo_about->font());
    const int margins = 2 * (memo_about->frameWidth() + static_cast<int>(memo_about->document()->documentMargin()));
    memo_about->setMinimumSize(metrics.horizontalAdvance(QString(80, QLatin1Char('0'))) + margins +
                                   memo_about->verticalScrollBar()->sizeHint().width(),
                               metrics.lineSpacing() * 24);
    bn_version = new QPushButton("Version", this);
    OKButton = new QPushButton("OK", this);
    OKButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(image);
    buttons->addStretch();
    buttons->addWidget(bn_version);
    buttons->addWidget(OKButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(memo_about);
    layout->addLayout(buttons);

    connect(bn_version, &QPushButton::clicked, this, &TfrAboutBox::bn_versionClick);
    connect(OKButton, &QPushButton::clicked, this, &TfrAboutBox::OKButtonClick);
    FormCreate();
}

void TfrAboutBox::FormCreate()
{
    std::string text;
    const std::string path = ProgramDir + "license.txt";
    if (ReadWholeFile(path, text, nullptr, SmallFileLimit) != ReadStatus::Ok) {
        ShowUserMessage("License.txt file not found", "KYT", MessageKind::Error);
        return;
    }
    memo_about->setPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void TfrAboutBox::bn_versionClick()
{
    ShowVersionInfo();
}

void TfrAboutBox::ShowVersionInfo()
{
    memo_about->clear();
    const std::size_t size = VersionBlockSize();
    if (size == 0)
        return;
    QStringList lines{"FileVersionInfoSize = " + QString::number(size)};
    for (std::string_view key : VersionKeys)
        lines << QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())) + " = "
                     + QString::fromStdString(VersionValue(key));
    memo_about->setPlainText(lines.join('\n'));
}

void TfrAboutBox::OKButtonClick()
{
    accept();
}
