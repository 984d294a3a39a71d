#include "ui/downloads/download_progress.h"

#include "ui/downloads/info_download_window.h"
#include "ui/main_window/main_window.h"

#include <QLabel>

DownloadTaskLinks ProgressBoxLinks(bool enableMainWindow)
{
    DownloadTaskLinks links;
    links.begin = [] {
        if (frMainWnd)
            frMainWnd->setEnabled(false);
        if (frInfoDownloadWnd)
            frInfoDownloadWnd->ShowCentred();
    };
    links.progress = [](const std::string &text) {
        if (frInfoDownloadWnd)
            frInfoDownloadWnd->lb_dwninfo->setText(QString::fromStdString(text));
    };
    links.end = [enableMainWindow] {
        if (frInfoDownloadWnd)
            frInfoDownloadWnd->HideAndReset();
        if (enableMainWindow && frMainWnd)
            frMainWnd->setEnabled(true);
    };
    return links;
}
