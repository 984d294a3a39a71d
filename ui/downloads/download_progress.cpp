#include "ui/downloads/download_progress.h"

#include "engine/downloads/download_settings.h"
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
        // A "Stop" ends this run only. Once the program closes the box is
        // gone and the flag stays set for good.
        if (frInfoDownloadWnd) {
            frInfoDownloadWnd->HideAndReset();
            DownloadStop = false;
        }
        if (enableMainWindow && frMainWnd)
            frMainWnd->setEnabled(true);
    };
    return links;
}
