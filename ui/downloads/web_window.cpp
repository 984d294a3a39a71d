#include "ui/downloads/web_window.h"

#include "engine/downloads/download_run.h"
#include "engine/downloads/download_settings.h"
#include "engine/files/data_files.h"
#include "engine/files/download_list.h"
#include "engine/files/settings.h"
#include "engine/text/text_format.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/downloads/add_entry_dialog.h"
#include "ui/downloads/download_progress.h"
#include "ui/help/help_viewer.h"
#include "ui/main_window/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>

namespace {

void Tell(const std::string &text)
{
    ShowUserMessage(text, "KYT", MessageKind::Error);
}

QString Text(const std::string &text)
{
    return QString::fromStdString(text);
}

std::string TrimmedText(const QLineEdit *edit)
{
    return std::string(TrimText(edit->text().toStdString()));
}

} // namespace

TfrWebWnd::TfrWebWnd()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle("Space Track Download");
    setWindowModality(Qt::ApplicationModal);
    chooseFolder = [](QWidget *parent, const QString &start) {
        return QFileDialog::getExistingDirectory(parent, "Select Download Folder", start);
    };

    auto *layout = new QGridLayout(this);
    lb_dwn_folder = new QLabel("Satellite Download Folder");
    txt_dwnldfolder = new QLineEdit;
    txt_dwnldfolder->setReadOnly(true);
    bn_setFolder = new QPushButton("...");
    bn_setFolder->setFixedWidth(32);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(txt_dwnldfolder);
    folderRow->addWidget(bn_setFolder);
    layout->addWidget(lb_dwn_folder, 0, 0, 1, 2);
    layout->addLayout(folderRow, 1, 0, 1, 2);

    auto *gb_info = new QGroupBox("Space Track Login");
    auto *login = new QGridLayout(gb_info);
    txt_username = new QLineEdit;
    txt_password = new QLineEdit;
    txt_password->setEchoMode(QLineEdit::Password);
    cb_savelogin = new QCheckBox("Save Login");
    login->addWidget(new QLabel("Username"), 0, 0);
    login->addWidget(txt_username, 0, 1);
    login->addWidget(new QLabel("Password"), 1, 0);
    login->addWidget(txt_password, 1, 1);
    login->addWidget(cb_savelogin, 2, 1);
    layout->addWidget(gb_info, 2, 0, 1, 2);

    txt_lasttime = new QLineEdit;
    txt_lasttime->setReadOnly(true);
    nm_dwperiod = new QSpinBox;
    nm_dwperiod->setRange(24, 96);
    nm_dwperiod->setValue(24);
    // Typing is off: the arrows alone change the period.
    if (auto *edit = nm_dwperiod->findChild<QLineEdit *>())
        edit->setReadOnly(true);
    auto *timeRow = new QHBoxLayout;
    timeRow->addWidget(new QLabel("Last Download Time"));
    timeRow->addWidget(txt_lasttime);
    timeRow->addWidget(new QLabel("Next in"));
    timeRow->addWidget(nm_dwperiod);
    timeRow->addWidget(new QLabel("HOURS"));
    layout->addLayout(timeRow, 3, 0, 1, 2);

    clb_tle = new QListWidget;
    // Two columns of entries, filled top to bottom.
    clb_tle->setFlow(QListView::TopToBottom);
    clb_tle->setWrapping(true);
    clb_tle->setResizeMode(QListView::Adjust);
    clb_tle->setMinimumSize(460, 220);
    layout->addWidget(clb_tle, 4, 0, 1, 2);

    ckb_autodownload = new QCheckBox("Auto-Download");
    ckb_autoupdatemain = new QCheckBox("Auto-Update Main List");
    layout->addWidget(ckb_autodownload, 5, 0);
    layout->addWidget(ckb_autoupdatemain, 5, 1);

    bn_dwn_add = new QPushButton("Add");
    bn_dwn_delete = new QPushButton("Delete");
    bn_download = new QPushButton("Download");
    bn_close = new QPushButton("Close");
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {bn_dwn_add, bn_dwn_delete, bn_download, bn_close}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons, 6, 0, 1, 2);

    connect(bn_setFolder, &QPushButton::clicked, this, &TfrWebWnd::bn_setFolderClick);
    connect(cb_savelogin, &QCheckBox::clicked, this, &TfrWebWnd::cb_saveloginClick);
    connect(ckb_autodownload, &QCheckBox::clicked, this, &TfrWebWnd::ckb_autodownloadClick);
    connect(ckb_autoupdatemain, &QCheckBox::clicked, this, &TfrWebWnd::ckb_autoupdatemainClick);
    connect(nm_dwperiod, &QSpinBox::valueChanged, this, &TfrWebWnd::nm_dwperiodChange);
    connect(bn_dwn_add, &QPushButton::clicked, this, &TfrWebWnd::bn_dwn_addClick);
    connect(bn_dwn_delete, &QPushButton::clicked, this, &TfrWebWnd::bn_dwn_deleteClick);
    connect(bn_download, &QPushButton::clicked, this, &TfrWebWnd::bn_downloadClick);
    connect(bn_close, &QPushButton::clicked, this, &TfrWebWnd::bn_closeClick);
    SetHelpContext(this, HelpDownload);
    FormCreate();
}

void TfrWebWnd::FormCreate()
{
    std::string error;
    if (!LoadInternetInfo(Web, &error))
        Tell(error);
    // Without a list file the window opens with an empty list, written once
    // the user adds to it. A file that exists but cannot be read (or is too
    // large) keeps the window shut, so that nothing is saved over it.
    if (LoadDownloadList(Lines, &error) == ReadStatus::Failed) {
        Tell(error);
        opened_ = false;
        return;
    }
    storedLines_ = Lines;
    FillList();
    txt_username->setText(Text(Web.user));
    txt_password->setText(Text(Web.password));
    ShowLastTime();
    cb_savelogin->setChecked(!Web.user.empty() || !Web.password.empty());
    cb_saveloginClick();
    ckb_autodownload->setChecked(Options.AutoDownload != 0);
    ckb_autoupdatemain->setChecked(Web.updatemain);
    // The spin edit holds the period within 24..96; that value is saved.
    nm_dwperiod->setValue(Web.period);
    Web.period = nm_dwperiod->value();
    storedWeb_ = Web;
    txt_dwnldfolder->setText(Text(Options.UpdateFolder.str()));
}

void TfrWebWnd::ShowLastTime()
{
    // Before the first download the time is only when the file was made.
    txt_lasttime->setText(Web.downloaded ? Text(FormatInstant("yyyy-mm-dd hh:nn:ss", Web.time)) : QString());
}

void TfrWebWnd::FillList(bool allUnchecked)
{
    clb_tle->clear();
    itemLines_.clear();
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        DownloadEntry entry;
        if (!ParseDownloadEntry(Lines[i], entry))
            continue;
        auto *item = new QListWidgetItem(Text(DownloadItemText(entry)), clb_tle);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.Selected && !allUnchecked ? Qt::Checked : Qt::Unchecked);
        itemLines_.push_back(i);
    }
    // Two columns: each as wide as half the list.
    clb_tle->setGridSize(QSize(clb_tle->viewport()->width() / 2 - 2, clb_tle->sizeHintForRow(0) + 2));
}

void TfrWebWnd::StoreCheckStates()
{
    for (int row = 0; row < clb_tle->count(); ++row)
        StoreCheckState(Lines[itemLines_[row]], clb_tle->item(row)->checkState() == Qt::Checked);
}

void TfrWebWnd::SaveList()
{
    if (Lines == storedLines_)
        return;
    std::string error;
    if (SaveDownloadList(Lines, &error))
        storedLines_ = Lines;
    else
        Tell(error);
}

void TfrWebWnd::bn_setFolderClick()
{
    const QString chosen = chooseFolder(this, Text(Options.UpdateFolder.str()));
    if (chosen.isEmpty())
        return; // cancelled: the folder stays
    std::string folder = chosen.toStdString();
    if (!folder.ends_with('/'))
        folder += '/';
    std::string message;
    if (!StoreShortText(Options.UpdateFolder, folder, &message))
        return Tell(message);
    txt_dwnldfolder->setText(Text(folder));
}

void TfrWebWnd::cb_saveloginClick()
{
    const bool editable = !cb_savelogin->isChecked();
    txt_username->setEnabled(editable);
    txt_password->setEnabled(editable);
}

void TfrWebWnd::ckb_autodownloadClick()
{
    Options.AutoDownload = ckb_autodownload->isChecked() ? 1 : 0;
    if (ckb_autodownload->isChecked() && isVisible() && !cb_savelogin->isChecked())
        ShowUserMessage(" Select file(s) with \"(Login)\" must have \"Username and Password\" entered and "
                        "\"Save Login\" selected to auto download.",
                        "KYT", MessageKind::Information);
}

void TfrWebWnd::ckb_autoupdatemainClick()
{
    Web.updatemain = ckb_autoupdatemain->isChecked();
}

void TfrWebWnd::nm_dwperiodChange()
{
    Web.period = nm_dwperiod->value();
}

void TfrWebWnd::bn_dwn_addClick()
{
    TfrDwnAddWnd dialog(this);
    dialog.exec();
    if (!dialog.Result.empty()) {
        StoreCheckStates();
        Lines.push_back(dialog.Result);
    }
    SaveList();
    FillList();
}

void TfrWebWnd::bn_dwn_deleteClick()
{
    const auto &ask = Hooks().showMessage;
    if (!ask || !ask("Delete All Selected Download Entries", "Delete", MessageKind::Confirmation))
        return;
    // Each checked item takes its own line, even when another reads the same.
    for (int row = clb_tle->count() - 1; row >= 0; --row)
        if (clb_tle->item(row)->checkState() == Qt::Checked)
            Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(itemLines_[row]));
    SaveList();
    FillList(true);
}

void TfrWebWnd::SetDownloading(bool running)
{
    downloading_ = running;
    for (QPushButton *button : {bn_download, bn_close, bn_dwn_add, bn_dwn_delete})
        button->setEnabled(!running);
}

void TfrWebWnd::bn_downloadClick()
{
    if (clb_tle->count() == 0 || downloading_)
        return;
    bool anyChecked = false;
    for (int row = 0; row < clb_tle->count(); ++row)
        anyChecked = anyChecked || clb_tle->item(row)->checkState() == Qt::Checked;
    if (!anyChecked) {
        ShowUserMessage("No File Selected - check the entries to download, then press \"Download\".", "Download",
                        MessageKind::Information);
        return;
    }
    StoreCheckStates();
    // The run uses the login as typed now, saved or not.
    web_t web = Web;
    web.user = TrimmedText(txt_username);
    web.password = TrimmedText(txt_password);
    std::vector<std::string> lines = Lines;
    std::string updateFolder = Options.UpdateFolder.str();
    tlearray mainList = MainList;
    QPointer<TfrWebWnd> window(this);
    // Task 90: the main window stays disabled until this window closes.
    const DownloadTaskLinks links = ProgressBoxLinks(this, false);
    SetDownloading(true);
    const WorkerHandle task = StartWorkerThread(
        DownloadWindowTaskTag,
        [window, links, web, lines, updateFolder, mainList] {
            PostToUiThread(links.begin);
            DownloadRun run;
            run.updateFolder = updateFolder;
            run.progress = links.progress;
            run.mainList = mainList;
            const int stored = DownloadEntries(lines, web, run);
            // Stopped, or ended early with a message of its own: no more to tell.
            const bool quiet = run.stopped || run.toldUser || DownloadStop;
            PostToUiThread([window, end = links.end, stored, run, quiet] {
                std::optional<UserMessage> closing;
                if (window)
                    closing = window->DownloadEnded(stored, quiet);
                end(CloseDownloadRun(run, closing));
            });
            EndWorkerThread(DownloadWindowTaskTag, &DownloadRunning);
        },
        &DownloadRunning);
    if (!task.Started()) {
        SetDownloading(false);
        ShowUserMessage("Download in Progress, try later.", "KYT", MessageKind::Information);
    }
}

std::optional<UserMessage> TfrWebWnd::DownloadEnded(int stored, bool quiet)
{
    SetDownloading(false);
    if (stored > 0) {
        Web.time = DownloadConfig().localNow();
        Web.downloaded = true;
        ShowLastTime();
    }
    if (quiet)
        return std::nullopt;
    if (stored < 1)
        return UserMessage{"Selected File(s) Failed to Download", "Download ERROR", MessageKind::Warning};
    return UserMessage{"Downloaded and Processed " + std::to_string(stored) + " File(s)", "Download",
                       MessageKind::Information};
}

void TfrWebWnd::bn_closeClick()
{
    close();
}

void TfrWebWnd::reject()
{
    // Escape closes the window as Close does, and not while its download runs.
    close();
}

void TfrWebWnd::closeEvent(QCloseEvent *event)
{
    if (downloading_) {
        event->ignore();
        return;
    }
    if (!closed_)
        FormClose();
    QDialog::reject();
    event->accept();
}

void TfrWebWnd::FormClose()
{
    closed_ = true;
    if (frMainWnd)
        frMainWnd->setEnabled(true);
    if (!opened_)
        return;
    const bool keep = cb_savelogin->isChecked();
    Web.user = keep ? TrimmedText(txt_username) : " ";
    Web.password = keep ? TrimmedText(txt_password) : " ";
    std::string error;
    if (!SameInternetInfo(Web, storedWeb_) && !SaveInternetInfo(Web, &error))
        Tell(error);
    StoreCheckStates();
    SaveList();
}
