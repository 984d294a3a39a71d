// The main window's tool and help commands (element file conversion, the
// Iridium and sky sets, home reset, help) and its layout after a resize.
#include "ui/main_window/main_window.h"

#include "engine/files/data_files.h"
#include "engine/files/element_files.h"
#include "engine/files/settings.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/satellites/catalogue_conversion.h"
#include "ui/help/help_viewer.h"
#include "ui/window_glue.h"
#include "views/view_setup.h"
#include "views/view_state.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace {

constexpr ThreadTag ConversionTaskTag = 25;
// Set while a conversion runs: a second one could read the file the first
// is about to delete.
RunningFlag ConversionRunning{false};

void ConvertTwoLineFileThread(const std::string &path)
{
    if (ConvertTleTo3Line(path))
        ShowUserMessage("File Converted From 2 Lines to 3 Lines - Common Names Added", "Conversion",
                        MessageKind::Information);
    else
        ShowUserMessage("File FAILED to Convert", "Conversion", MessageKind::Error);
    EndWorkerThread(ConversionTaskTag, &ConversionRunning);
}

// Asks for an element file and stores it in a settings field, a file of the
// program folder relative to it where its full path does not fit. False,
// with the field unchanged, when the user cancels or the path does not fit.
template <std::size_t N>
bool ChooseSourceFile(ShortString<N> &field)
{
    std::string path;
    SelectFile(1, path);
    if (path.empty())
        return false;
    std::string message;
    if (!StoreChosenPath(field, path, &message)) {
        ShowUserMessage(message, "KYT", MessageKind::Error);
        return false;
    }
    return true;
}

// Routes the view image's mouse events and size changes to the window.
class ImageEvents : public QObject {
public:
    explicit ImageEvents(TfrMainWnd *window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint at = mouse->position().toPoint();
            const bool shift = mouse->modifiers() & Qt::ShiftModifier;
            if (event->type() == QEvent::MouseButtonPress)
                window_->MainImageMouseDown(mouse->button(), shift, at.x(), at.y());
            else if (event->type() == QEvent::MouseButtonRelease)
                window_->MainImageMouseUp(mouse->button(), shift, at.x(), at.y());
            else
                window_->MainImageMouseMove(at.x(), at.y());
            return true;
        }
        case QEvent::Resize:
            // The image follows every change of the window's size.
            window_->FormResize();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TfrMainWnd *window_;
};

} // namespace

void TfrMainWnd::ConnectCommands()
{
    connect(menu_conversion, &QAction::triggered, this, &TfrMainWnd::menu_conversionClick);
    connect(menu_selectiridiumfile, &QAction::triggered, this, &TfrMainWnd::menu_selectiridiumfileClick);
    connect(menu_selectskyfile, &QAction::triggered, this, &TfrMainWnd::menu_selectskyfileClick);
    connect(menu_reset, &QAction::triggered, this, &TfrMainWnd::menu_resetClick);
    connect(menu_contents, &QAction::triggered, this, &TfrMainWnd::menu_contentsClick);
    ConnectDialogCommands();
    MainImage->installEventFilter(new ImageEvents(this));
    SetHelpContext(this, HelpMainWindow);
}

void TfrMainWnd::menu_conversionClick()
{
    if (ConversionRunning)
        return;
    SelectFile(1, ConvertFileName);
    if (ConvertFileName.empty())
        return;
    // The task converts its own copy of the path.
    StartTask(ConversionTaskTag, [path = ConvertFileName] { ConvertTwoLineFileThread(path); },
              &ConversionRunning);
}

void TfrMainWnd::menu_selectiridiumfileClick()
{
    if (!ChooseSourceFile(Options.IridiumFile))
        return;
    if (BuildIridiumFile()) {
        menu_selectiridiumfile->setText(QString::fromStdString(IridiumFileMenuCaption()));
        return;
    }
    menu_selectiridiumfile->setText("Iridium File = ");
    DeleteDataFile(DataDir + "IridSat.bin");
}

void TfrMainWnd::menu_selectskyfileClick()
{
    // No tick draws the sky set while it is being replaced.
    const bool redraw = RedrawEnabled.exchange(false);
    if (!ChooseSourceFile(Options.SkySatFile)) {
        RedrawEnabled = redraw;
        return;
    }
    std::string error;
    if (BuildSkyFile(&error)) {
        menu_selectskyfile->setText(QString::fromStdString(SkyFileMenuCaption()));
    } else {
        if (!error.empty())
            ShowUserMessage(error, "KYT", MessageKind::Error);
        menu_selectskyfile->setText("Satellite File = ");
        DeleteDataFile(DataDir + "SkySat.bin");
        ReplaceSkyList({});
        menu_showskysat->setChecked(false);
    }
    RefreshDisplay();
}

void TfrMainWnd::menu_resetClick()
{
    std::string error;
    if (!LoadObserver(&error))
        ShowUserMessage(error, "KYT", MessageKind::Error);
    MainView.GlobeCentre = ObserverPlace();
    ObserverChanged();
}

void TfrMainWnd::menu_contentsClick()
{
    ShowHelp(HelpMainWindow, this);
}

void TfrMainWnd::FormResize()
{
    // The status bar's value panels share its width by their layout.
    if (!Ready)
        return;
    SizeBackground(MainImage->width(), MainImage->height());
    // The zoom the user chose is kept: it lives in the settings, which
    // ApplyViewOptions reads.
    const std::string sizeText = ApplyViewOptions();
    if (Options.ViewMode == ViewModeSky)
        txt_info1->setText(QString::fromStdString(sizeText));
    // While a view is being prepared its task draws it.
    if (!ViewBusy)
        RefreshDisplay();
}
