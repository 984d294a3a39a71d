#include "ui/downloads/info_download_window.h"

#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TfrInfoDownloadWnd *frInfoDownloadWnd = nullptr;

TfrInfoDownloadWnd::TfrInfoDownloadWnd()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
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
    auto *inner = new QVBoxLayout(bevel);
    inner->addWidget(lb_dwninfo);
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
}
