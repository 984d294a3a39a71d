// The main window's download commands: the download window and the
// automatic download at start-up.
#include "ui/main_window/main_window.h"

#include "engine/downloads/auto_download.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/downloads/download_progress.h"
#include "ui/downloads/web_window.h"

void TfrMainWnd::menu_webupdateClick()
{
    if (DownloadRunning) {
        ShowUserMessage("Download in Progress, try later.", "KYT", MessageKind::Information);
        return;
    }
    TfrWebWnd window;
    if (window.Opened())
        window.exec();
}

void TfrMainWnd::StartAutoDownload()
{
    AutoDownloadInputs inputs;
    inputs.updateFolder = Options.UpdateFolder.str();
    inputs.mainList = MainList;
    inputs.links = ProgressBoxLinks(this, true);
    StartTask(
        AutoDownloadTaskTag, [inputs = std::move(inputs)] { AutoDownloadThreadProc(inputs); }, &DownloadRunning);
}
