#include "ui/hooks_install.h"

#include "engine/reports/report_output.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/dialogs/ra_dec_wnd.h"
#include "ui/dialogs/star_wnd.h"
#include "ui/location/location_selector.h"
#include "ui/main_window/main_window.h"
#include "ui/window_glue.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

#include <thread>

namespace {

QPointer<QWidget> messageOwner;

bool ShowMessageBox(const std::string &text, const std::string &caption, MessageKind kind)
{
    QWidget *parent = messageOwner ? messageOwner.data() : QApplication::activeWindow();
    const QString body = QString::fromStdString(text);
    const QString title = QString::fromStdString(caption);
    switch (kind) {
    case MessageKind::Information:
        QMessageBox::information(parent, title, body);
        return true;
    case MessageKind::Warning:
        QMessageBox::warning(parent, title, body);
        return true;
    case MessageKind::Error:
        QMessageBox::critical(parent, title, body);
        return true;
    case MessageKind::Confirmation:
        return QMessageBox::question(parent, title, body, QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::Yes;
    }
    return true;
}

// One report line per row in a fixed-pitch font, ReportLinesPerPage rows a
// sheet. Sizes are in points and turned into device pixels from the page's
// own resolution, so every printer gets the same page.
void PrintLines(const std::vector<std::string> &lines, const std::string &title)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(title));
    const int pages = ReportPageCount(lines.size());
    if (pages == 0)
        return;
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setMinMax(1, pages);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int from = 1, to = pages;
    if (printer.printRange() == QPrinter::PageRange) {
        from = printer.fromPage();
        to = printer.toPage();
    }
    const auto chosen = ReportPageLines(lines, from, to);
    if (chosen.empty())
        return;

    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const double dotsPerPoint = printer.resolution() / 72.0;
    const double pageHeight = printer.pageLayout().paintRect(QPageLayout::Point).height();
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // The size that fits a sheet's rows, at most 10 points.
    const double rowPoints = pageHeight / (ReportLinesPerPage + 2);
    font.setPointSizeF(std::min(10.0, rowPoints / 1.25));
    painter.setFont(font);
    const double rowPixels = rowPoints * dotsPerPoint;
    const double ascent = painter.fontMetrics().ascent();
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const int row = static_cast<int>(i % ReportLinesPerPage);
        if (row == 0 && i > 0)
            printer.newPage();
        painter.drawText(QPointF(0, row * rowPixels + ascent), QString::fromStdString(chosen[i]));
    }
    painter.end();
}

} // namespace

MessageOwner::MessageOwner(QWidget *owner) : previous_(messageOwner)
{
    messageOwner = owner;
}

MessageOwner::~MessageOwner()
{
    messageOwner = previous_;
}

void InstallUiHooks(QObject *uiObject)
{
    UiHooks &hooks = Hooks();
    // Messages given on this thread are shown at once, before the caller goes on.
    hooks.uiThread = std::this_thread::get_id();
    hooks.showMessage = ShowMessageBox;
    QPointer<QObject> target(uiObject);
    hooks.runOnUiThread = [target](std::function<void()> fn) {
        if (target)
            QMetaObject::invokeMethod(target.data(), std::move(fn), Qt::QueuedConnection);
    };
    hooks.selectFile = [](int kind) {
        std::string fileName;
        SelectFile(kind, fileName);
        return fileName;
    };
    hooks.printReport = PrintLines;
    hooks.pickSkyPoint = PickSkyPoint;
    hooks.pickStar = PickStar;
    hooks.showLocationSelector = ShowLocationSelector;
    hooks.refreshDisplay = [] {
        if (frMainWnd)
            frMainWnd->RefreshDisplay();
    };
}
