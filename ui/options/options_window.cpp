#include "ui/options/options_window.h"

#include "engine/files/data_files.h"
#include "engine/files/settings.h"
#include "engine/files/string_lists.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/help/help_viewer.h"
#include "ui/prediction/prediction_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The shading is stored as an alpha of 0..254 and shown as 0..100. Rounded
// both ways, a shown value comes back as it was saved.
constexpr double ShadowScale = 2.54;

QString MapFolder()
{
    return QString::fromStdString(ProgramDir) + "map/";
}

// Every ".jpg" of the map folder, whatever the case of its name, in
// case-insensitive order.
QStringList MapFileNames()
{
    QStringList names;
    const QDir folder(MapFolder());
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name.endsWith(".jpg", Qt::CaseInsensitive))
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return CompareTextIgnoreCase(a.toStdString(), b.toStdString()) < 0;
    });
    return names;
}

} // namespace

ColorSwatch::ColorSwatch(QWidget *parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setCursor(Qt::PointingHandCursor);
    setFixedWidth(60);
}

void ColorSwatch::SetColor(const QColor &color)
{
    color_ = color;
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    setPalette(colours);
}

std::uint32_t ColorSwatch::Argb() const
{
    return color_.rgb() | 0xFF000000u;
}

void ColorSwatch::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

TfrOptionWnd::TfrOptionWnd(QWidget *parent) : QDialog(parent)
{
    setWindowTitle("Options");
    auto *colours = new QGroupBox("Program Colors", this);
    auto *colourGrid = new QGridLayout(colours);
    const struct { ColorSwatch *&swatch; const char *caption; } swatches[] = {
        {c_sat, "Satellite"}, {c_home, "Home"}, {c_grids, "Grids"}, {c_city, "City"}, {c_track, "Tracks"},
    };
    int row = 0;
    for (const auto &entry : swatches) {
        entry.swatch = new ColorSwatch(colours);
        colourGrid->addWidget(new QLabel(entry.caption, colours), row, 0);
        colourGrid->addWidget(entry.swatch, row++, 1);
        ColorSwatch *swatch = entry.swatch;
        connect(swatch, &ColorSwatch::clicked, this, [this, swatch] { GetNewColor(swatch); });
    }

    nm_shadow = new QSpinBox(this);
    nm_shadow->setRange(5, 100);
    nm_track = new QSpinBox(this);
    nm_track->setRange(1, 9);
    for (QSpinBox *spin : {nm_shadow, nm_track}) {
        // Arrows only: no typing.
        spin->setKeyboardTracking(false);
        spin->findChild<QLineEdit *>()->setReadOnly(true);
    }
    auto *start = new QGroupBox("Start Options", this);
    ckb_metric = new QCheckBox("Metric System", start);
    (new QVBoxLayout(start))->addWidget(ckb_metric);

    cb_map = new QComboBox(this);
    ImagePanel = new QLabel(this);
    ImagePanel->setFixedSize(200, 100);
    ImagePanel->setAlignment(Qt::AlignCenter);
    bn_font = new QPushButton("Select Font", this);
    bn_saveoptions = new QPushButton("Save", this);
    bn_cancel = new QPushButton("Cancel", this);

    auto *settings = new QGridLayout;
    settings->addWidget(new QLabel("Shadow (100=Dark)", this), 0, 0);
    settings->addWidget(nm_shadow, 0, 1);
    settings->addWidget(new QLabel("Track Time (Hours)", this), 1, 0);
    settings->addWidget(nm_track, 1, 1);
    settings->addWidget(start, 2, 0, 1, 2);
    settings->addWidget(bn_font, 3, 0, 1, 2);
    auto *top = new QHBoxLayout;
    top->addWidget(colours);
    top->addLayout(settings);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bn_saveoptions);
    buttons->addWidget(bn_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel("Ground Map Images", this));
    layout->addWidget(cb_map);
    layout->addWidget(ImagePanel, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cb_map, &QComboBox::currentIndexChanged, this, &TfrOptionWnd::cb_mapChange);
    connect(bn_font, &QPushButton::clicked, this, &TfrOptionWnd::bn_fontClick);
    connect(bn_saveoptions, &QPushButton::clicked, this, &TfrOptionWnd::bn_saveoptionsClick);
    connect(bn_cancel, &QPushButton::clicked, this, &TfrOptionWnd::bn_cancelClick);
    SetHelpContext(this, HelpOptions);
    FormCreate();
}

void TfrOptionWnd::FormCreate()
{
    setWindowIcon(QApplication::windowIcon());
    ckb_metric->setChecked(Options.Metric != 0);
    c_sat->SetColor(QColor::fromRgba(Options.SatColor));
    c_home->SetColor(QColor::fromRgba(Options.HomeColor));
    c_grids->SetColor(QColor::fromRgba(Options.GridsColor));
    c_city->SetColor(QColor::fromRgba(Options.CityColor));
    c_track->SetColor(QColor::fromRgba(Options.TrackColor));
    shownShadow_ = static_cast<int>(std::lround(Options.ShadowAlpha / ShadowScale));
    nm_shadow->setValue(shownShadow_);
    nm_track->setValue(Options.TrackHours);

    const QSignalBlocker quiet(cb_map);
    cb_map->addItems(MapFileNames());
    const QString mapFile = QString::fromStdString(Options.MapFile.str());
    cb_map->setCurrentIndex(cb_map->findText(mapFile, Qt::MatchFixedString));
    // A chosen image missing from the folder is in no item: the box still
    // names it, so an empty box does not pass for no choice.
    if (cb_map->currentIndex() < 0 && !mapFile.isEmpty())
        cb_map->setPlaceholderText(mapFile + " (missing)");
    ShowMapPreview(mapFile);
}

void TfrOptionWnd::ShowMapPreview(const QString &name)
{
    const QString path = QString::fromStdString(ResolvePath((MapFolder() + name.trimmed()).toStdString()));
    if (name.trimmed().isEmpty() || !QFileInfo(path).isFile())
        return;
    const QPixmap image(path);
    ImagePanel->setPixmap(image.scaled(ImagePanel->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void TfrOptionWnd::GetNewColor(ColorSwatch *swatch)
{
    QColorDialog dialog(swatch->Color(), this);
    if (dialog.exec() == QDialog::Accepted)
        swatch->SetColor(dialog.selectedColor());
    bn_saveoptions->setFocus();
}

void TfrOptionWnd::cb_mapChange()
{
    ShowMapPreview(cb_map->currentText());
}

void TfrOptionWnd::bn_fontClick()
{
    QFontDialog dialog(QFont(QString::fromStdString(Options.FontName.str()), Options.FontSize), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QFont font = dialog.selectedFont();
    std::string message;
    if (!StoreShortText(Options.FontName, font.family().toStdString(), &message)) {
        ShowUserMessage(message, "Options", MessageKind::Error);
        return;
    }
    Options.FontSize = font.pointSize();
}

void TfrOptionWnd::bn_saveoptionsClick()
{
    // The one field that can refuse goes first, so a refusal stores nothing.
    std::string message;
    ShortString<64> mapFile;
    if (!StoreShortText(mapFile, cb_map->currentText().toStdString(), &message)) {
        ShowUserMessage(message, "Options", MessageKind::Error);
        return;
    }
    DistanceFactor = ckb_metric->isChecked() ? 1.0 : 0.621371;
    Options.SatColor = c_sat->Argb();
    Options.GridsColor = c_grids->Argb();
    Options.HomeColor = c_home->Argb();
    Options.TrackColor = c_track->Argb();
    Options.CityColor = c_city->Argb();
    if (nm_shadow->value() != shownShadow_)
        Options.ShadowAlpha = static_cast<std::int32_t>(std::lround(nm_shadow->value() * ShadowScale));
    Options.TrackHours = nm_track->value();
    Options.Metric = ckb_metric->isChecked() ? 1 : 0;
    // A chosen image missing from the folder is in no item: the choice stays
    // until the user picks another.
    if (cb_map->currentIndex() >= 0)
        Options.MapFile = mapFile;
    if (frPredictionWnd)
        frPredictionWnd->ShowTrackUnit();
    accept();
}

void TfrOptionWnd::bn_cancelClick()
{
    reject();
}
