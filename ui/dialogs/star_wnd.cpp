#include "ui/dialogs/star_wnd.h"

#include "engine/files/data_files.h"
#include "engine/files/string_lists.h"
#include "engine/text/text_fields.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/help/help_viewer.h"

#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

TfrStarWnd::TfrStarWnd(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle("Transit Object - Star");
    SetHelpContext(this, HelpStarPicker);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    StarListBox = new QListWidget(this);
    StarListBox->setFixedSize(220, 260);
    layout->addWidget(StarListBox);
    auto *fields = new QFormLayout;
    const auto addField = [&](const char *caption) {
        auto *label = new QLabel(this);
        label->setMinimumWidth(140);
        fields->addRow(caption, label);
        return label;
    };
    stxt_commonname = addField("Common Name");
    stxt_name = addField("Name");
    stxt_ra = addField("R.A. (J2000)");
    stxt_dec = addField("DEC (J2000)");
    stxt_mag = addField("Magnitude");
    layout->addLayout(fields);
    bn_set = new QPushButton("SET", this);
    bn_set->setDefault(true);
    layout->addWidget(bn_set, 0, Qt::AlignRight);
    connect(bn_set, &QPushButton::clicked, this, &QDialog::accept);
    connect(StarListBox, &QListWidget::currentRowChanged, this, [this] { StarListBoxClick(); });
}

bool TfrStarWnd::FormCreate(std::string &error)
{
    if (!FillStarList(error))
        return false;
    StarListBox->setCurrentRow(0);
    StarListBoxClick();
    return true;
}

bool TfrStarWnd::FillStarList(std::string &error)
{
    StarListBox->clear();
    if (!ReadStarList(DataDir + StarListFileName, stars_, &error))
        return false;
    std::vector<int> order(stars_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return CompareTextIgnoreCase(stars_[a].commonName, stars_[b].commonName) < 0;
    });
    for (const int index : order) {
        auto *item = new QListWidgetItem(QString::fromStdString(stars_[index].commonName));
        item->setData(Qt::UserRole, index);
        StarListBox->addItem(item);
    }
    return true;
}

void TfrStarWnd::StarListBoxClick()
{
    const QListWidgetItem *item = StarListBox->currentItem();
    if (!item)
        return;
    const StarListEntry &star = stars_[item->data(Qt::UserRole).toInt()];
    RightAscension = star.rightAscension;
    Declination = star.declination;
    stxt_ra->setText(QString::fromStdString(FormatAngleHMS(true, 0, star.rightAscension)));
    stxt_dec->setText(QString::fromStdString(FormatAngleDMS(true, 0, star.declination)));
    stxt_mag->setText(QString::fromStdString(star.magnitude));
    stxt_name->setText(QString::fromStdString(star.designation));
    stxt_commonname->setText(QString::fromStdString(star.commonName));
}

bool PickStar(int, int, double &ra, double &dec, std::string &name)
{
    TfrStarWnd dialog;
    std::string error;
    if (!dialog.FormCreate(error)) {
        ShowUserMessage(error, "KYT", MessageKind::Error);
        return false;
    }
    dialog.exec();
    ra = dialog.RightAscension;
    dec = dialog.Declination;
    name = dialog.stxt_commonname->text().toStdString();
    return true;
}
