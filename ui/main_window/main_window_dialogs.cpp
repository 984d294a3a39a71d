// The main window's commands that open a modal window for one use: the names
// and magnitudes editor, the satellite information, the options and the
// about box.
#include "ui/main_window/main_window.h"

#include "engine/runtime/program_state.h"
#include "engine/files/settings.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/about/about_box.h"
#include "ui/names_editor/names_editor_window.h"
#include "ui/options/options_window.h"
#include "ui/satellite_info/satellite_info_window.h"
#include "views/view_setup.h"

#include <QAction>
#include <QLineEdit>

void TfrMainWnd::ConnectDialogCommands()
{
    connect(menu_satdata, &QAction::triggered, this, &TfrMainWnd::menu_satdataClick);
    connect(menu_info, &QAction::triggered, this, &TfrMainWnd::menu_infoClick);
    connect(menu_options, &QAction::triggered, this, &TfrMainWnd::menu_optionsClick);
    connect(menu_about, &QAction::triggered, this, &TfrMainWnd::menu_aboutClick);
}

void TfrMainWnd::menu_satdataClick()
{
    TfrSatDataWnd window(this);
    window.exec();
}

void TfrMainWnd::menu_infoClick()
{
    TfrInfoWnd window(this);
    window.exec();
}

void TfrMainWnd::menu_optionsClick()
{
    {
        TfrOptionWnd window(this);
        window.exec();
    }
    // Before the start-up has drawn its first view it applies the settings
    // itself.
    if (!Ready)
        return;
    // Saved or cancelled: a font chosen in the window has already changed.
    if (const std::string problem = LoadMapImage(); !problem.empty())
        ShowUserMessage(problem, "KYT", MessageKind::Error);
    const std::string sizeText = ApplyViewOptions();
    if (Options.ViewMode == ViewModeSky)
        txt_info1->setText(QString::fromStdString(sizeText));
    RefreshDisplay();
}

void TfrMainWnd::menu_aboutClick()
{
    TfrAboutBox box(this);
    box.exec();
}
