#include "ui/help/help_viewer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include "engine/files/data_files.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/widgets/window_size.h"

namespace {

constexpr int KnownContexts[] = {100, 300, 310, 320, 400, 410, 420, 430, 500, 501, 502};

QString HelpFolder()
{
    return QString::fromStdString(ProgramDir) + "help/";
}

QString PagePath(int context)
{
    for (int known : KnownContexts) {
        if (known == context)
            return HelpFolder() + QString::number(context) + ".html";
    }
    return HelpFolder() + "index.html";
}

class HelpViewer : public QWidget {
public:
    explicit HelpViewer(QWidget *parent) : QWidget(parent, Qt::Window)
    {
        setWindowTitle("KYT Help");
        browser_ = new QTextBrowser(this);
        // Pages link to each other; links leaving the help folder go to the
        // desktop's browser.
        browser_->setOpenLinks(false);
        connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
            if (url.isLocalFile() || url.isRelative())
                browser_->setSource(browser_->source().resolved(url));
            else
                QDesktopServices::openUrl(url);
        });
        auto *back = new QPushButton("Back", this);
        auto *forward = new QPushButton("Forward", this);
        auto *contents = new QPushButton("Contents", this);
        connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
        connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
        connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
        connect(contents, &QPushButton::clicked, this, [this] { Open(HelpFolder() + "index.html"); });
        connect(browser_, &QTextBrowser::sourceChanged, this,
                [this] { setWindowTitle("KYT Help - " + browser_->documentTitle()); });
        back->setEnabled(false);
        forward->setEnabled(false);
        auto *buttons = new QHBoxLayout;
        buttons->addWidget(back);
        buttons->addWidget(forward);
        buttons->addWidget(contents);
        buttons->addStretch();
        auto *layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(browser_);
        FitWindowToScreen(this, QSize(760, 620), QSize());
    }

    bool Open(const QString &path)
    {
        if (!QFileInfo::exists(path)) {
            ShowUserMessage("Help file not found: " + path.toStdString(), "Help", MessageKind::Error);
            return false;
        }
        browser_->setSource(QUrl::fromLocalFile(path));
        return true;
    }

private:
    QTextBrowser *browser_;
};

QPointer<HelpViewer> Viewer;

} // namespace

void ShowHelp(int context, QWidget *from)
{
    QWidget *modal = QApplication::activeModalWidget();
    QWidget *owner = nullptr;
    if (modal && from && (from == modal || modal->isAncestorOf(from)))
        owner = modal;
    else if (modal && !from)
        owner = modal;
    if (Viewer && Viewer->parentWidget() != owner) {
        Viewer->deleteLater();
        Viewer = nullptr;
    }
    if (!Viewer) {
        Viewer = new HelpViewer(owner);
        Viewer->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (!Viewer->Open(PagePath(context))) {
        Viewer->close();
        return;
    }
    // Help for a window that stays on top (or a dialog of one) would open
    // behind it otherwise.
    bool onTop = false;
    for (QWidget *asking = from ? from : owner; asking && !onTop; asking = asking->parentWidget())
        onTop = asking->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    Viewer->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    Viewer->showNormal();
    Viewer->raise();
    Viewer->activateWindow();
}

void SetHelpContext(QWidget *window, int context)
{
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window, [window, context] { ShowHelp(context, window); });
}

QWidget *HelpViewerWindow()
{
    return Viewer.data();
}
