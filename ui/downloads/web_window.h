// The download manager: the Space-Track login, the download folder, the
// automatic download settings and the download list, and a download of the
// checked entries on a task of its own.
#pragma once

#include "engine/files/internet_info.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/runtime/worker_tasks.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

constexpr ThreadTag DownloadWindowTaskTag = 90;

class TfrWebWnd : public QDialog {
    Q_OBJECT
public:
    TfrWebWnd();

    // False when the list file exists but could not be read: the window is
    // then not to be shown (the user was told), so closing never saves over it.
    bool Opened() const { return opened_; }
    // Whether the window's download task runs.
    bool Downloading() const { return downloading_; }

    void FormCreate();
    void bn_setFolderClick();
    void cb_saveloginClick();
    void ckb_autodownloadClick();
    void ckb_autoupdatemainClick();
    void nm_dwperiodChange();
    void bn_dwn_addClick();
    void bn_dwn_deleteClick();
    void bn_downloadClick();
    void bn_closeClick();

    // The folder dialog; an empty result means cancelled. Tests replace it.
    std::function<QString(QWidget *parent, const QString &start)> chooseFolder;

    QLabel *lb_dwn_folder = nullptr;
    QLineEdit *txt_dwnldfolder = nullptr;
    QPushButton *bn_setFolder = nullptr;
    QLineEdit *txt_username = nullptr, *txt_password = nullptr, *txt_lasttime = nullptr;
    QCheckBox *cb_savelogin = nullptr;
    QSpinBox *nm_dwperiod = nullptr;
    QListWidget *clb_tle = nullptr;
    QCheckBox *ckb_autodownload = nullptr, *ckb_autoupdatemain = nullptr;
    QPushButton *bn_dwn_add = nullptr, *bn_dwn_delete = nullptr;
    QPushButton *bn_download = nullptr, *bn_close = nullptr;

    // The list's lines and the internet settings, as loaded and edited.
    std::vector<std::string> Lines;
    web_t Web;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void FormClose();
    // Rebuilds the check list from Lines; items are checked from their lines
    // unless allUnchecked.
    void FillList(bool allUnchecked = false);
    // Writes each item's check state into its line.
    void StoreCheckStates();
    void SaveList();
    void ShowLastTime();
    void SetDownloading(bool running);
    // The end of the window's download, on the user-interface thread: the
    // closing message, none when quiet (the user needs none about it).
    std::optional<UserMessage> DownloadEnded(int stored, bool quiet);

    // The line of each check-list item.
    std::vector<std::size_t> itemLines_;
    // The list's lines and the internet settings as the files hold them: a
    // window that only opened and closed writes neither file.
    std::vector<std::string> storedLines_;
    web_t storedWeb_;
    bool opened_ = true;
    bool closed_ = false;
    bool downloading_ = false;
};
