#include "ui/window_glue.h"

#include "engine/runtime/program_state.h"
#include "engine/files/settings.h"
#include "ui/main_window/main_window.h"
#include "views/view_setup.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>

std::array<int, MaxDisplayedSatellites> ComboToMain{};

namespace {

template <std::size_t N>
void ClampLength(ShortString<N> &text)
{
    if (!text.lengthValid())
        text.length = static_cast<std::uint8_t>(N);
}

} // namespace

std::size_t ClampMainSet(tlearray &list)
{
    std::size_t selected = 0, cleared = 0;
    for (TleRecord &record : list) {
        ClampLength(record.Name);
        ClampLength(record.Number);
        if (!record.Selected)
            continue;
        if (selected < MaxDisplayedSatellites) {
            ++selected;
        } else {
            record.Selected = 0;
            ++cleared;
        }
    }
    return cleared;
}

void FillMainSatelliteCombos()
{
    TfrMainWnd *window = frMainWnd;
    window->cb_sat1->clear();
    window->cb_sat2->clear();
    SatelliteLabels.clear();
    if (MainList.empty()) {
        SatStates.clear();
        return;
    }
    const bool numbers = window->menu_displaynumber->isChecked();
    std::size_t shown = 0;
    for (std::size_t i = 0; i < MainList.size() && shown < MaxDisplayedSatellites; ++i) {
        const TleRecord &record = MainList[i];
        if (!record.Selected)
            continue;
        ComboToMain[shown++] = static_cast<int>(i);
        SatelliteLabels.push_back(numbers ? record.Number.str() : record.Name.str());
        const QString text = QString::fromStdString(SatelliteLabels.back());
        window->cb_sat1->addItem(text);
        window->cb_sat2->addItem(text);
    }
    SatStates.assign(shown, TargetState{});
    window->cb_sat1->setCurrentIndex(shown > 0 ? 0 : -1);
    window->cb_sat2->setCurrentIndex(shown > 0 ? 0 : -1);
    SelectedMain = ComboToMain[0];
    SelectedPos = shown > 0 ? 0 : -1;
    SetDisplayListStyles();
}

void SetDisplayListStyles()
{
    if (SatStates.empty())
        return;
    const std::int32_t mode = Options.ViewMode == ViewModeSky ? ModeRaDec : ModeSubPoint;
    for (TargetState &state : SatStates)
        state.Mode = mode;
    if (SelectedPos >= 0 && static_cast<std::size_t>(SelectedPos) < SatStates.size())
        SatStates[SelectedPos].Mode = ModeAll;
}

void SelectFile(int kind, std::string &fileName)
{
    QWidget *parent = QApplication::activeWindow();
    if (kind == 1) {
        // Element files come as "*.TLE" or "*.Txt" too. The desktop's own
        // dialogs (GTK, the portal) match patterns case-sensitively, so each
        // letter lists both cases; the shown filter keeps only its name.
        fileName = QFileDialog::getOpenFileName(parent, "Select a File",
                                                QString::fromStdString(Options.UpdateFolder.str()),
                                                "SAT Files (*.[tT][lL][eE] *.[tT][xX][tT])", nullptr,
                                                QFileDialog::HideNameFilterDetails)
                       .toStdString();
    } else if (kind == 2) {
        QFileDialog dialog(parent, "Save To File");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter("Text files (*.txt)");
        dialog.setDefaultSuffix("txt");
        dialog.selectFile("KYT");
        fileName = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
            ? dialog.selectedFiles().first().toStdString()
            : std::string();
    }
}
