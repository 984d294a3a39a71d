#include "ui/downloads/info_download_window.h"

#include "engine/downloads/download_settings.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TfrInfoDownloadWnd *frInfoDownloadWnd = nullptr;

TfrInfoDownloadWnd::TfrInfoDownloadWnd()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    // Modal while shown, so that "Stop" answers even over a modal window
    // that started the download.
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(400, 74);
    auto *bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Box | QFrame::Raised);
    bevel->setLineWidth(2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bevel);
    lb_dwninfo = new QLabel("Download in Progress...Please Wait", bevel);
    lb_dwninfo->setStyleSheet("color: #ff0000; font-weight: bold;");
    lb_dwninfo->setAlignment(Qt::AlignCenter);
    lb_dwninfo->setWordWrap(true);
    bn_stop = new QPushButton("Stop", bevel);
    auto *inner = new QHBoxLayout(bevel);
    inner->addWidget(lb_dwninfo, 1);
    inner->addWidget(bn_stop);
    connect(bn_stop, &QPushButton::clicked, this, &TfrInfoDownloadWnd::bn_stopClick);
}

void TfrInfoDownloadWnd::ShowCentred()
{
    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
}

void TfrInfoDownloadWnd::HideAndReset()
{
    hide();
    lb_dwninfo->setText(IdleText);
    bn_stop->setEnabled(true);
}

void TfrInfoDownloadWnd::bn_stopClick()
{
    DownloadStop = true;
    bn_stop->setEnabled(false);
    lb_dwninfo->setText("Stopping...");
}
