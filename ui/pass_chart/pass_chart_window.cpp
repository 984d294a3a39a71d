// The pass chart window: its controls, the satellite and pass boxes, the
// rotation, printing and saving.
#include "ui/pass_chart/pass_chart_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QImageWriter>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "engine/files/data_files.h"
#include "engine/files/star_catalog.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/help/help_viewer.h"
#include "ui/widgets/window_size.h"

namespace {

const char *const Caption = "Prediction Chart";
constexpr int RotationStep = 15;
constexpr int LastRotation = 330;
// Room under the chart for the controls.
constexpr int ControlsHeight = 90;

QLabel *Label(const QString &text, QWidget *parent, QRect where)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(where);
    return label;
}

QPushButton *Button(const QString &text, QWidget *parent, QRect where)
{
    auto *button = new QPushButton(text, parent);
    button->setGeometry(where);
    return button;
}

} // namespace

TfrRadarWnd::TfrRadarWnd(const PassList &passList, bool utcMode, bool flares, QWidget *parent)
    : QDialog(parent), source_(passList), flares_(flares), observer_(Observer)
{
    setWindowTitle(Caption);
    ChartTimeOffset = utcMode ? 0.0 : observer_.UtcOffset;
    const QScreen *screen = QApplication::primaryScreen();
    const QRect screenArea = screen ? screen->geometry() : QRect(0, 0, 1280, 1024);
    const QRect available = screen ? screen->availableGeometry() : screenArea;
    const QSize size = WindowSize(screenArea.height(), ScreenRoom(this));
    BuildControls(size);
    // The chart is the prediction window's: its help page describes it.
    SetHelpContext(this, HelpPrediction);

    RadarView.CentreX = RadarView.CentreY = Chart.height() / 2;
    RadarView.Rotation = 0.0;
    RadarView.SignX = RadarView.SignY = 1;
    RadarView.HorizonAltitude = MainView.HorizonAltitude;
    RadarView.ImageWidth = Chart.width();
    RadarView.ImageHeight = Chart.height();
    RadarView.StarToHorizon = 1;

    // Near the top of the screen; the position is that of the frame, which
    // must stay on the screen as a whole.
    const QSize outer = size.grownBy(WindowFrame(this));
    move(screenArea.x() + (screenArea.width() - outer.width()) / 2,
         available.y() + std::clamp(available.height() - outer.height(), 0, 4));
    ChartRotation = 180;
    LoadCatalogue();
    setWindowTitle(QString::fromStdString(observer_.Name.str() + "    " +
                                          FormatAngleDMS(true, 0, observer_.Latitude) + "    " +
                                          FormatAngleDMS(true, 0, observer_.Longitude)));

    ConfirmPrint = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    SelectImageFile = [this] {
        QFileDialog dialog(this, "Save Image", QString::fromStdString(DataDir), "Jpeg (*.jpg)");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("jpg");
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
}

QSize TfrRadarWnd::WindowSize(int screenHeight, QSize room)
{
    const int height = std::min(std::clamp(screenHeight - 100, 600, 800), room.height());
    const int width = std::clamp(static_cast<int>(std::trunc(1.2 * height)), 720, 960);
    return QSize(std::min(width, room.width()), height);
}

void TfrRadarWnd::BuildControls(QSize size)
{
    setFixedSize(size);
    auto *panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(2, 2, size.width() - 4, size.height() - ControlsHeight);
    Chart = QImage(panel->width() - 4, panel->height() - 4, QImage::Format_ARGB32_Premultiplied);
    Chart.fill(Qt::white);
    ImgRadar = new QLabel(panel);
    ImgRadar->setGeometry(2, 2, Chart.width(), Chart.height());
    ImgRadar->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The rotation group sits under the chart's centre. The satellite box
    // narrows to end before it, and the pass times follow it: on a small
    // screen the chart's centre lies further left.
    const int top = panel->geometry().bottom() + 4;
    const int pointerLeft = static_cast<int>(std::lround((panel->height() - 4) / 2.0));
    const int spinLeft = pointerLeft - 10;
    lb_pointer = Label("^", this, QRect(pointerLeft, top - 4, 24, 34));
    QFont pointerFont = lb_pointer->font();
    pointerFont.setPixelSize(32);
    pointerFont.setBold(true);
    lb_pointer->setFont(pointerFont);
    const int row = top + 34;
    bn_up = Button("<", this, QRect(spinLeft - 33, row, 30, 26));
    stxt_spin = Label("180°", this, QRect(spinLeft, row, 34, 26));
    stxt_spin->setAlignment(Qt::AlignCenter);
    bn_dn = Button(">", this, QRect(spinLeft + 34, row, 30, 26));

    constexpr int Gap = 6;
    constexpr int CountWidth = 30;
    Label("Satellite(s)", this, QRect(8, top, 160, 20));
    cb_sat = new QComboBox(this);
    const int satWidth = std::min(200, bn_up->x() - Gap - CountWidth - 4 - 8);
    cb_sat->setGeometry(8, row, satWidth, 26);
    cb_sat->setMaxVisibleItems(10);
    stxt_sat = Label("0", this, QRect(8 + satWidth + 4, row, CountWidth, 26));

    const int timesLeft = bn_dn->geometry().right() + 1 + 2 * Gap;
    Label("AOS", this, QRect(timesLeft, top, 160, 20));
    cb_times = new QComboBox(this);
    cb_times->setGeometry(timesLeft, row, 160, 26);
    cb_times->setMaxVisibleItems(20);
    stxt_aos = Label("0", this, QRect(timesLeft + 164, row, CountWidth, 26));

    // The buttons take the rest of the row, at most 80 pixels each.
    const int buttonsLeft = std::max(stxt_aos->geometry().right() + 1 + Gap, size.width() - 3 * 84 - 4);
    const int buttonWidth = std::min(80, (size.width() - 4 - buttonsLeft) / 3 - 4);
    ck_print_view = new QCheckBox("Print View", this);
    ck_print_view->setGeometry(buttonsLeft, top, 120, 24);
    bn_print = Button("Print", this, QRect(buttonsLeft, row, buttonWidth, 26));
    bn_filesave = Button("Save", this, QRect(buttonsLeft + buttonWidth + 4, row, buttonWidth, 26));
    bn_close = Button("Close", this, QRect(buttonsLeft + 2 * (buttonWidth + 4), row, buttonWidth, 26));

    connect(cb_sat, &QComboBox::activated, this, &TfrRadarWnd::cb_satChange);
    connect(cb_times, &QComboBox::activated, this, &TfrRadarWnd::cb_timesChange);
    connect(ck_print_view, &QCheckBox::clicked, this, &TfrRadarWnd::ck_print_viewClick);
    connect(bn_dn, &QPushButton::clicked, this, &TfrRadarWnd::bn_dnClick);
    connect(bn_up, &QPushButton::clicked, this, &TfrRadarWnd::bn_upClick);
    connect(bn_print, &QPushButton::clicked, this, &TfrRadarWnd::bn_printClick);
    connect(bn_filesave, &QPushButton::clicked, this, &TfrRadarWnd::bn_filesaveClick);
    connect(bn_close, &QPushButton::clicked, this, &TfrRadarWnd::bn_closeClick);
}

void TfrRadarWnd::LoadCatalogue()
{
    // The sky view's catalogue when it is loaded, else the files; a file
    // that cannot be read leaves the chart without its stars or lines.
    std::string error;
    if (!StarStreams.Stars.empty())
        catalogue_.Stars = StarStreams.Stars;
    else if (!LoadStarFile(catalogue_.Stars, &error))
        ShowUserMessage(error, Caption, MessageKind::Error);
    if (!StarStreams.Lines.empty())
        catalogue_.Lines = StarStreams.Lines;
    else if (!LoadConstellationFile(catalogue_.Lines, &error))
        ShowUserMessage(error, Caption, MessageKind::Error);
}

const PassRecord *TfrRadarWnd::SelectedPass() const
{
    const int index = cb_times->currentIndex();
    return index >= 0 && static_cast<std::size_t>(index) < ChartPasses.size() ? &ChartPasses[index] : nullptr;
}

void TfrRadarWnd::cb_satChange()
{
    ChartPasses.clear();
    cb_times->clear();
    const std::string title = cb_sat->currentText().toStdString();
    for (const PassRecord &pass : source_) {
        if (pass.Title.str() != title)
            continue;
        cb_times->addItem(QString::fromStdString(FormatInstant("mm/dd   HH:nn:ss", pass.StartTime + ChartTimeOffset)));
        ChartPasses.push_back(pass);
    }
    cb_times->setCurrentIndex(cb_times->count() > 0 ? 0 : -1);
    stxt_sat->setText(QString::number(cb_sat->count()));
    stxt_aos->setText(QString::number(cb_times->count()));
    cb_timesChange();
}

void TfrRadarWnd::cb_timesChange()
{
    const PassRecord *pass = SelectedPass();
    if (!pass)
        return;
    if (ck_print_view->isChecked())
        DrawRadarPrintView(pass->StartTime, pass->EndTime);
    else
        DrawRadar(pass->StartTime, pass->EndTime);
}

void TfrRadarWnd::ck_print_viewClick()
{
    cb_timesChange();
}

void TfrRadarWnd::Rotate(int degrees)
{
    ChartRotation += degrees;
    if (ChartRotation > LastRotation)
        ChartRotation = 0;
    else if (ChartRotation < 0)
        ChartRotation = LastRotation;
    stxt_spin->setText(QString::number(ChartRotation) + "°");
    cb_timesChange();
}

void TfrRadarWnd::bn_dnClick()
{
    Rotate(RotationStep);
}

void TfrRadarWnd::bn_upClick()
{
    Rotate(-RotationStep);
}

QRect FitPictureToPage(QSize pictureSize, QSize pageSize)
{
    if (pictureSize.isEmpty() || pageSize.isEmpty())
        return {};
    double w = pictureSize.width(), h = pictureSize.height();
    const double q = w / h;
    const double pageWidth = pageSize.width(), pageHeight = pageSize.height();
    if (pageWidth > w && pageHeight > h) {
        if (h <= w) {
            w = pageWidth;
            h = w / q;
        } else {
            h = pageHeight;
            w = h * q;
        }
    }
    if (pageWidth < w) {
        w = pageWidth;
        h = w / q;
    }
    if (pageHeight < h) {
        h = pageHeight;
        w = h * q;
    }
    return QRect(0, 0, static_cast<int>(std::trunc(w)), static_cast<int>(std::trunc(h)));
}

QRect PrintPicture(QPrinter &printer, const QImage &picture)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return {};
    const QRect target = FitPictureToPage(picture.size(), painter.viewport().size());
    painter.drawImage(target, picture);
    painter.end();
    return target;
}

void TfrRadarWnd::bn_printClick()
{
    const bool switched = !ck_print_view->isChecked();
    if (switched) {
        ck_print_view->setChecked(true);
        cb_timesChange();
    }
    const QImage picture = Chart.copy();
    cb_satChange();
    QPrinter printer(QPrinter::HighResolution);
    if (ConfirmPrint && ConfirmPrint(printer) && PrintPicture(printer, picture).isEmpty())
        ShowUserMessage("The chart could not be printed.", Caption, MessageKind::Error);
    if (switched) {
        ck_print_view->setChecked(false);
        cb_timesChange();
    }
}

void TfrRadarWnd::bn_filesaveClick()
{
    const QString path = SelectImageFile ? SelectImageFile() : QString();
    if (!path.isEmpty()) {
        QImageWriter writer(path, "jpeg");
        writer.setQuality(85);
        if (!writer.write(Chart.convertToFormat(QImage::Format_RGB32)))
            ShowUserMessage("The chart could not be saved as \"" + path.toStdString() +
                                "\": " + writer.errorString().toStdString(),
                            Caption, MessageKind::Error);
    }
    QDir::setCurrent(QString::fromStdString(DataDir));
}

void TfrRadarWnd::bn_closeClick()
{
    close();
}

std::unique_ptr<TfrRadarWnd> CreatePassChart(const PassList &passList, bool utcMode, bool flares,
                                             QWidget *parent)
{
    auto chart = std::make_unique<TfrRadarWnd>(passList, utcMode, flares, parent);
    // The searches append the passes of one satellite together, so a title
    // is added once per run.
    QString last;
    for (const PassRecord &pass : passList) {
        const QString title = QString::fromStdString(pass.Title.str());
        if (chart->cb_sat->count() == 0 || title != last)
            chart->cb_sat->addItem(title);
        last = title;
    }
    chart->cb_sat->setCurrentIndex(0);
    chart->cb_satChange();
    return chart;
}

void ShowPassChart(const PassList &passList, bool utcMode, bool flares, QWidget *parent)
{
    CreatePassChart(passList, utcMode, flares, parent)->exec();
}
