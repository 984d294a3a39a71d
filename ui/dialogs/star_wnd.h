// The star picker: the named stars of "star.dat", sorted by name, with the
// chosen star's position, designation and magnitude.
#pragma once

#include "engine/files/star_list.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

class TfrStarWnd : public QDialog {
    Q_OBJECT
public:
    explicit TfrStarWnd(QWidget *parent = nullptr);

    // Fills the list and shows its first star; false with the reason in
    // error when the star list is missing, unreadable or empty.
    bool FormCreate(std::string &error);
    bool FillStarList(std::string &error);
    // Shows the star of the list's current entry and makes it the result.
    void StarListBoxClick();

    // The star shown last (right ascension and declination in rad, J2000).
    double RightAscension = 0.0;
    double Declination = 0.0;

    QListWidget *StarListBox = nullptr;
    QLabel *stxt_commonname = nullptr, *stxt_name = nullptr, *stxt_ra = nullptr;
    QLabel *stxt_dec = nullptr, *stxt_mag = nullptr;
    QPushButton *bn_set = nullptr;

private:
    // Each list entry keeps the index of its own line here, so a name that
    // is part of another star's name still finds its own star.
    std::vector<StarListEntry> stars_;
};

// The picker as the engine's hook: true with the chosen star; false, after
// the file's message, when there is no star to choose.
bool PickStar(int first, int second, double &ra, double &dec, std::string &name);
