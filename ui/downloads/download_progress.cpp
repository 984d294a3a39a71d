#include "ui/downloads/download_progress.h"

#include "engine/downloads/download_settings.h"
#include "ui/downloads/info_download_window.h"
#include "ui/hooks_install.h"
#include "ui/main_window/main_window.h"

#include <QLabel>
#include <QPointer>

DownloadTaskLinks ProgressBoxLinks(QWidget *owner, bool enableMainWindow)
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
    links.end = [owner = QPointer<QWidget>(owner), enableMainWindow](const std::vector<UserMessage> &messages) {
        // A "Stop" ends this run only. Once the program closes the box is
        // gone and the flag stays set for good.
        if (frInfoDownloadWnd) {
            frInfoDownloadWnd->HideAndReset();
            DownloadStop = false;
        }
        if (enableMainWindow && frMainWnd)
            frMainWnd->setEnabled(true);
        // The box has gone first, and each message waits for the one before.
        const MessageOwner shownBy(owner);
        for (const UserMessage &message : messages)
            ShowUserMessage(message);
    };
    return links;
}
