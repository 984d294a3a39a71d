// The selector's window and its working list.
#include "ui/selector/sat_selector.h"

#include "engine/files/favorite_files.h"
#include "engine/files/names_file.h"
#include "engine/files/settings.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/satellites/main_list_update.h"
#include "engine/satellites/satellite_driver.h"
#include "ui/help/help_viewer.h"
#include "ui/selector/selector_messages.h"
#include "ui/widgets/window_size.h"
#include "ui/window_glue.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

using namespace selector_ui;

namespace {

// A list that asks for the size it was designed at and takes less on a
// small screen.
class SizedList : public QListWidget {
public:
    SizedList(QSize designed, QWidget *parent) : QListWidget(parent), designed_(designed) {}
    QSize sizeHint() const override { return designed_; }

private:
    QSize designed_;
};

QPushButton *PictureButton(QWidget *parent, QStyle::StandardPixmap picture, const QString &hint)
{
    auto *button = new QPushButton(parent);
    button->setIcon(parent->style()->standardIcon(picture));
    button->setToolTip(hint);
    return button;
}

} // namespace

TfrSatSelectorWnd::TfrSatSelectorWnd(QWidget *parent) : QDialog(parent)
{
    BuildControls();
    FormCreate();
}

tlearray TfrSatSelectorWnd::ChooseSatellites(const tlearray &list, QWidget *parent)
{
    TfrSatSelectorWnd selector(parent);
    selector.SelectorList = list;
    selector.FillSelectedList();
    selector.exec();
    return selector.SelectorList;
}

void TfrSatSelectorWnd::BuildControls()
{
    setWindowTitle("Satellite Selector");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint
                   | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *row = new QHBoxLayout(this);

    auto *working = new QVBoxLayout;
    ckboxSelSat = new SizedList(QSize(200, 260), this);
    working->addWidget(ckboxSelSat);
    auto *marks = new QHBoxLayout;
    bn_all = PictureButton(this, QStyle::SP_DialogApplyButton, "Check all");
    bn_none = PictureButton(this, QStyle::SP_DialogCancelButton, "Uncheck all");
    bn_delete = PictureButton(this, QStyle::SP_TrashIcon, "Delete the highlighted satellite");
    bn_deleteall = PictureButton(this, QStyle::SP_DialogDiscardButton, "Delete all satellites");
    for (QPushButton *button : {bn_all, bn_none, bn_delete, bn_deleteall})
        marks->addWidget(button);
    working->addLayout(marks);
    bn_number = new QPushButton("Show Number", this);
    bn_file = new QPushButton("File", this);
    bn_update = new QPushButton("Update", this);
    bn_close = new QPushButton("Close", this);
    for (QPushButton *button : {bn_number, bn_file, bn_update})
        working->addWidget(button);

    auto *favorites = new QGroupBox(this);
    auto *favoriteColumn = new QVBoxLayout(favorites);
    favoriteColumn->addWidget(new QLabel("Favorite List", favorites));
    cb_favorite = new QComboBox(favorites);
    cb_favorite->setMaxVisibleItems(10);
    favoriteColumn->addWidget(cb_favorite);
    auto *favoriteButtons = new QHBoxLayout;
    bn_favnew = new QPushButton("New", favorites);
    bn_favsave = new QPushButton("Save", favorites);
    bn_favload = new QPushButton("Load", favorites);
    bn_favdelete = new QPushButton("Delete", favorites);
    for (QPushButton *button : {bn_favnew, bn_favsave, bn_favload, bn_favdelete})
        favoriteButtons->addWidget(button);
    favoriteColumn->addLayout(favoriteButtons);
    working->addWidget(favorites);
    working->addWidget(bn_close);
    // What the screen cannot hold is taken from the lists: the candidates
    // first, which then scroll through fewer columns.
    row->addLayout(working, 0);

    // The candidate area stays hidden until an element file is chosen.
    auto *candidateArea = new QWidget(this);
    auto *candidates = new QVBoxLayout(candidateArea);
    candidates->setContentsMargins(0, 0, 0, 0);
    ListBoxSatFile = new SizedList(QSize(3 * 170 + 24, 400), candidateArea);
    ListBoxSatFile->setSelectionMode(QAbstractItemView::SingleSelection);
    // Three columns of names, filled top to bottom.
    ListBoxSatFile->setFlow(QListView::TopToBottom);
    ListBoxSatFile->setWrapping(true);
    ListBoxSatFile->setResizeMode(QListView::Adjust);
    ListBoxSatFile->setUniformItemSizes(true);
    ListBoxSatFile->setGridSize(QSize(170, ListBoxSatFile->fontMetrics().height() + 4));
    candidates->addWidget(ListBoxSatFile);
    auto *paging = new QHBoxLayout;
    bn_previous = new QPushButton("<", candidateArea);
    bn_next = new QPushButton(">", candidateArea);
    bn_reset = new QPushButton("Reset", candidateArea);
    txt_search = new QLineEdit(candidateArea);
    bn_search = new QPushButton("Search", candidateArea);
    for (QWidget *control : std::initializer_list<QWidget *>{bn_previous, bn_next, bn_reset, txt_search, bn_search})
        paging->addWidget(control);
    candidates->addLayout(paging);
    candidateArea->setVisible(false);
    row->addWidget(candidateArea, 1);

    connect(bn_file, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_fileClick);
    connect(bn_next, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_nextClick);
    connect(bn_previous, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_previousClick);
    connect(bn_reset, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_resetClick);
    connect(bn_number, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_numberClick);
    connect(bn_search, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_searchClick);
    connect(txt_search, &QLineEdit::returnPressed, this, &TfrSatSelectorWnd::bn_searchClick);
    connect(ListBoxSatFile, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { ListBoxSatFileDblClick(ListBoxSatFile->row(item)); });
    connect(ckboxSelSat, &QListWidget::itemChanged, this, &TfrSatSelectorWnd::ckboxSelSatClickCheck);
    connect(bn_all, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_allClick);
    connect(bn_none, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_noneClick);
    connect(bn_delete, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_deleteClick);
    connect(bn_deleteall, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_deleteallClick);
    connect(bn_update, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_updateClick);
    connect(bn_favnew, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_favnewClick);
    connect(bn_favsave, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_favsaveClick);
    connect(bn_favload, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_favloadClick);
    connect(bn_favdelete, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_favdeleteClick);
    connect(bn_close, &QPushButton::clicked, this, &TfrSatSelectorWnd::bn_closeClick);
    // Enter in the search box searches; it never closes the window.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);
}

void TfrSatSelectorWnd::FormCreate()
{
    setWindowIcon(QApplication::windowIcon());
    SetHelpContext(this, HelpSatelliteSelector);
    busy_ = false;
    // Without the names file every satellite is taken as magnitude 8.0.
    std::string error;
    if (!LoadNamesFile(namesLines_, &error))
        Tell(error + " Satellites are given magnitude 8.0.");
    MakeFavoritesFolder();
    FillFavorites();
    CentreOnScreen();
}

void TfrSatSelectorWnd::CentreOnScreen()
{
    // The window keeps the size it opens at: freed first so that it can grow
    // with the candidate area, then fixed again.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    FitWindowToScreen(this, QSize(), QSize());
    setFixedSize(size());
}

void TfrSatSelectorWnd::bn_closeClick()
{
    close();
}

QString TfrSatSelectorWnd::ShownText(const std::string &name, const std::string &number) const
{
    // A two-line file names none of its sets: they are shown by number.
    return Text(showNumbers_ || name.empty() ? number : name);
}

void TfrSatSelectorWnd::FillSelectedList()
{
    // Always rebuilt, an empty list too: a stale item would address a record
    // that is gone.
    {
        const QSignalBlocker quiet(ckboxSelSat);
        ckboxSelSat->clear();
    }
    for (const TleRecord &record : SelectorList)
        AddCheckItem(record);
}

void TfrSatSelectorWnd::AddCheckItem(const TleRecord &record)
{
    const QSignalBlocker quiet(ckboxSelSat);
    auto *item = new QListWidgetItem(ShownText(record.Name.str(), record.Number.str()), ckboxSelSat);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(record.Selected ? Qt::Checked : Qt::Unchecked);
}

void TfrSatSelectorWnd::ckboxSelSatClickCheck(QListWidgetItem *item)
{
    const int row = ckboxSelSat->row(item);
    if (row >= 0 && static_cast<std::size_t>(row) < SelectorList.size())
        SelectorList[row].Selected = item->checkState() == Qt::Checked ? 1 : 0;
}

void TfrSatSelectorWnd::bn_allClick()
{
    for (TleRecord &record : SelectorList)
        record.Selected = 1;
    FillSelectedList();
}

void TfrSatSelectorWnd::bn_noneClick()
{
    for (TleRecord &record : SelectorList)
        record.Selected = 0;
    FillSelectedList();
}

void TfrSatSelectorWnd::bn_deleteClick()
{
    const int row = ckboxSelSat->currentRow();
    if (row < 0 || !ckboxSelSat->item(row)->isSelected() || static_cast<std::size_t>(row) >= SelectorList.size())
        return;
    SelectorList.erase(SelectorList.begin() + row);
    const QSignalBlocker quiet(ckboxSelSat);
    delete ckboxSelSat->takeItem(row);
}

void TfrSatSelectorWnd::bn_deleteallClick()
{
    if (ckboxSelSat->count() == 0)
        return;
    if (!Ask("Delete All Entries?", "Delete"))
        return;
    SelectorList.clear();
    FillSelectedList();
}

void TfrSatSelectorWnd::bn_updateClick()
{
    int futureSets = 0;
    const bool replaced = UpdateElementsFromTleFiles(SelectorList, Options.UpdateFolder.str(), &futureSets);
    Tell(UpdateResultText(replaced, futureSets, SelectorList, "Update"), "Information");
}
