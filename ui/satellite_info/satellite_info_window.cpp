#include "ui/satellite_info/satellite_info_window.h"

#include "engine/files/settings.h"
#include "engine/runtime/program_state.h"
#include "ui/help/help_viewer.h"
#include "ui/satellite_info/satellite_info_lines.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

TfrInfoWnd::TfrInfoWnd(QWidget *parent) : QDialog(parent)
{
    setWindowTitle("Satellite Information");
    InfoMemo = new QPlainTextEdit(this);
    InfoMemo->setReadOnly(true);
    InfoMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    InfoMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    InfoMemo->setMinimumSize(420, 320);
    bn_close = new QPushButton("Close", this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bn_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(InfoMemo);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(bn_close, &QPushButton::clicked, this, &TfrInfoWnd::bn_closeClick);
    SetHelpContext(this, HelpSatelliteInfo);
    FormCreate();
}

void TfrInfoWnd::FormCreate()
{
    setWindowIcon(QApplication::windowIcon());
    ShowSatelliteInfo();
}

void TfrInfoWnd::ShowSatelliteInfo()
{
    InfoMemo->clear();
    // A copy taken now: the list may change while the window is open, and an
    // emptied list leaves SelectedMain pointing past its end.
    std::optional<TleRecord> record;
    if (SelectedMain >= 0 && static_cast<std::size_t>(SelectedMain) < MainList.size())
        record = MainList[SelectedMain];
    for (const std::string &line :
         SatelliteInfoLines(record ? &*record : nullptr, Observer.UtcOffset, Options.Metric != 0, DistanceFactor))
        InfoMemo->appendPlainText(QString::fromStdString(line));
}

void TfrInfoWnd::bn_closeClick()
{
    close();
}
