// The options window: colours, night-side shading, ground-track length, units,
// the view font and the world image, edited in the global Options.
#pragma once

#include <QColor>
#include <QDialog>
#include <QLineEdit>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// A read-only edit filled with a colour; a click asks for another.
class ColorSwatch : public QLineEdit {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget *parent = nullptr);
    void SetColor(const QColor &color);
    QColor Color() const { return color_; }
    // The colour as stored in the settings: ARGB, always opaque.
    std::uint32_t Argb() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QColor color_;
};

class TfrOptionWnd : public QDialog {
    Q_OBJECT
public:
    explicit TfrOptionWnd(QWidget *parent = nullptr);

    void FormCreate();
    void GetNewColor(ColorSwatch *swatch);
    void cb_mapChange();
    void bn_fontClick();
    void bn_saveoptionsClick();
    void bn_cancelClick();

    ColorSwatch *c_sat = nullptr, *c_home = nullptr, *c_grids = nullptr, *c_city = nullptr, *c_track = nullptr;
    QSpinBox *nm_shadow = nullptr, *nm_track = nullptr;
    QCheckBox *ckb_metric = nullptr;
    QComboBox *cb_map = nullptr;
    QPushButton *bn_font = nullptr, *bn_saveoptions = nullptr, *bn_cancel = nullptr;
    QLabel *ImagePanel = nullptr;

private:
    void ShowMapPreview(const QString &name);

    // The shading as shown when the window opened: an untouched spin edit
    // keeps the stored value, which the shown scale cannot represent.
    int shownShadow_ = 0;
};
