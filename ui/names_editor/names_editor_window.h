// The names and magnitudes editor: browses and edits qvnames.dat, turns an
// observed magnitude into a standard one, merges a downloaded edition of the
// file, and at closing writes the file and gives the main list's satellites
// their standard magnitudes.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TFloatEdit;

class TfrSatDataWnd : public QDialog {
    Q_OBJECT
public:
    explicit TfrSatDataWnd(QWidget *parent = nullptr);

    void FormCreate();
    void FillMagnitudeList();
    // False, the fields as they were, when line index is no entry.
    bool ShowMagnitudeEntry(int index);
    void MagListBoxClick();
    void bn_searchClick();
    void bn_newClick();
    void bn_editClick();
    void bn_saveClick();
    void bn_cancelClick();
    void bn_deleteClick();
    void bn_updateClick();
    void bn_closeClick();

    // From "Update" until its result is in the list.
    bool Updating() const { return updating_; }
    // The lines being edited (every line of the file but the link).
    const std::vector<std::string> &NamesLines() const { return lines_; }

    QListWidget *MagListBox = nullptr;
    QLineEdit *txt_search = nullptr, *txt_name = nullptr;
    TFloatEdit *txt_number = nullptr, *txt_mag = nullptr, *txt_range = nullptr;
    TFloatEdit *txt_width = nullptr, *txt_length = nullptr, *txt_depth = nullptr, *txt_rcs = nullptr;
    QLabel *lb_range = nullptr;
    QPushButton *bn_search = nullptr, *bn_new = nullptr, *bn_edit = nullptr, *bn_save = nullptr;
    QPushButton *bn_cancel = nullptr, *bn_delete = nullptr, *bn_update = nullptr, *bn_close = nullptr;

protected:
    // Every way of closing comes here: the close box, "Close" and Escape.
    void reject() override;

private:
    void BeginMagnitudeEdit(bool newEntry);
    void EndMagnitudeEdit();
    // Before another entry fills the fields, a pending edit is kept (saved)
    // or dropped, as the user answers. False when the save refused, so the
    // edit goes on.
    bool EndEditForOtherEntry();
    // One list item a line.
    void FillListBox();
    // Highlights and shows the entry of the main window's selected satellite.
    void ShowSelectedSatelliteEntry();
    QString DefaultRange() const;
    void SetUpdateState(bool running);
    enum class UpdateResult { DownloadFailed, UnpackFailed, ReadFailed, Downloaded };
    // reason: why the download failed.
    void FinishUpdate(UpdateResult result, std::vector<std::string> downloaded, const std::string &reason);
    bool FormClose();

    std::string namesFile_;
    std::string updateLink_;
    std::vector<std::string> lines_;
    // The lines as the file holds them: the close writes the file only when
    // the user changed them.
    std::vector<std::string> storedLines_;
    // The file exists but could not be read: the window changes nothing.
    bool unreadable_ = false;
    bool editing_ = false;
    bool newEntry_ = false;
    // The line an "Edit" began on and whose values the fields hold: "Save"
    // replaces it whatever is highlighted by then.
    int editLine_ = -1;
    bool updating_ = false;
};
