// The satellite selector: builds a working list of at most 15 satellites
// from element text files and favourite lists, for the window that opened it.
#pragma once

#include "engine/files/element_files.h"
#include "engine/runtime/worker_tasks.h"
#include "engine/satellites/satellite_record.h"

#include <QDialog>

#include <cstddef>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class TfrSatSelectorWnd : public QDialog {
    Q_OBJECT
public:
    // The working list holds at most this many satellites.
    static constexpr std::size_t MaxSelected = 15;
    // Candidates are shown this many to a page.
    static constexpr std::size_t PageSize = 1000;

    explicit TfrSatSelectorWnd(QWidget *parent = nullptr);

    // Shows the selector modally on a copy of list and returns its working
    // list as the user left it (empty when the user emptied it).
    static tlearray ChooseSatellites(const tlearray &list, QWidget *parent = nullptr);

    // Rebuilds the check list from SelectorList: each record's name or
    // number, checked as its Selected byte.
    void FillSelectedList();

    void bn_fileClick();
    void bn_nextClick();
    void bn_previousClick();
    void bn_resetClick();
    void bn_numberClick();
    void bn_searchClick();
    void ListBoxSatFileDblClick(int row);
    void ckboxSelSatClickCheck(QListWidgetItem *item);
    void bn_allClick();
    void bn_noneClick();
    void bn_deleteClick();
    void bn_deleteallClick();
    void bn_updateClick();
    void bn_favnewClick();
    void bn_favsaveClick();
    void bn_favloadClick();
    void bn_favdeleteClick();
    void bn_closeClick();

    // Set while task 20 loads or sorts the candidates.
    bool Busy() const { return busy_; }
    std::size_t CandidateCount() const { return candidates_.size(); }

    // The working list; Selected of each record mirrors its check mark.
    tlearray SelectorList;

    QListWidget *ckboxSelSat = nullptr;
    QListWidget *ListBoxSatFile = nullptr;
    QPushButton *bn_previous = nullptr, *bn_next = nullptr, *bn_reset = nullptr;
    QPushButton *bn_number = nullptr, *bn_search = nullptr;
    QLineEdit *txt_search = nullptr;
    QPushButton *bn_all = nullptr, *bn_none = nullptr, *bn_delete = nullptr, *bn_deleteall = nullptr;
    QPushButton *bn_file = nullptr, *bn_update = nullptr, *bn_close = nullptr;
    QComboBox *cb_favorite = nullptr;
    QPushButton *bn_favnew = nullptr, *bn_favsave = nullptr, *bn_favload = nullptr;
    QPushButton *bn_favdelete = nullptr;

private:
    void BuildControls();
    void FormCreate();
    void CentreOnScreen();
    // Task 20: loads path (when not empty) or takes list, sorts it as the
    // candidates are shown and hands it back to the window.
    void StartCandidateTask(std::string path, ElementList list);
    void CandidatesReady(ElementList list, std::string error);
    void FillCandidatePage();
    void ShowCandidateRows(const std::vector<std::size_t> &rows);
    // How a candidate or working-list entry is shown: by number, or by name
    // (by number when it has none).
    QString ShownText(const std::string &name, const std::string &number) const;
    bool AppendSelectedSatellite(const ElementRecord &transfer);
    // Appends the record's item to the check list, checked as it is selected.
    void AddCheckItem(const TleRecord &record);
    void FillFavorites();
    // The chosen favourite's name, empty when none is chosen.
    std::string ChosenFavorite() const;
    void SaveFavorite(const std::string &name, const std::string &done);

    std::string elementFile_;
    ElementList candidates_;
    // The candidate index of each row of the candidate list.
    std::vector<std::size_t> rowCandidates_;
    std::size_t pageStart_ = 0;
    bool showNumbers_ = false;
    std::vector<std::string> namesLines_;
    RunningFlag busy_{false};
};
