#include "ui/names_editor/names_editor_window.h"

#include "engine/downloads/download_run.h"
#include "engine/downloads/unpack.h"
#include "engine/files/data_files.h"
#include "engine/files/names_edit.h"
#include "engine/files/names_file.h"
#include "engine/files/settings.h"
#include "engine/files/string_lists.h"
#include "engine/text/text_format.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/runtime/worker_tasks.h"
#include "ui/help/help_viewer.h"
#include "ui/widgets/float_edit.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char *Caption = "Satellite Magnitude";
constexpr const char *UpdateCaption = "Satellite data File Update";
constexpr const char *ArchiveName = "qvnamesupdate.zip";
constexpr const char *UpdateFailed = "Failed to update magnitude file data";
constexpr ThreadTag NamesUpdateTaskTag = 43;
constexpr int ZipKind = 2;
constexpr int MaxNameLength = 15;
// The list shows number and name: the first 22 characters of a line.
constexpr int ListItemLength = 22;

bool Ask(const std::string &text, const std::string &caption)
{
    const auto &ask = Hooks().showMessage;
    return ask && ask(text, caption, MessageKind::Confirmation);
}

void Tell(const std::string &text, const std::string &caption = "KYT",
          MessageKind kind = MessageKind::Information)
{
    ShowUserMessage(text, caption, kind);
}

// The file holds one byte a character.
QString LineText(std::string_view line)
{
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

std::string FieldText(const QLineEdit *field)
{
    return field->text().toLatin1().toStdString();
}

double FieldNumber(const QLineEdit *field, double fallback)
{
    double value = fallback;
    return ParseDecimal(FieldText(field), value) ? value : fallback;
}

// A size or cross-section as its column takes it; a field left blank (as
// the shipped file has them) stays blank.
std::string SizeText(const QLineEdit *field)
{
    double value = 0.0;
    return ParseDecimal(FieldText(field), value) ? SizeColumnText(value) : std::string(TrimText(FieldText(field)));
}

// Printable ASCII, 1 to 15 characters: the file has one byte a character.
bool ValidName(const QString &name)
{
    if (name.isEmpty() || name.size() > MaxNameLength)
        return false;
    return std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7E; });
}

// A field that names its range when it refuses a number: a value dropped
// without a word would be saved as the one it replaced.
TFloatEdit *NumberField(QWidget *parent, const QString &what, int digits, double min, double max,
                        int maxLength = 0)
{
    auto *field = new TFloatEdit(parent);
    field->SetMax(max);
    field->SetMin(min);
    field->SetDigits(digits);
    field->SetErrorMessage("Not a valid " + what + ", value must be between " + QString::number(min) + " and " +
                           QString::number(max));
    if (maxLength > 0)
        field->setMaxLength(maxLength);
    field->setFixedWidth(64);
    return field;
}

} // namespace

TfrSatDataWnd::TfrSatDataWnd(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(Caption);
    MagListBox = new QListWidget(this);
    MagListBox->setMinimumSize(220, 320);
    txt_search = new QLineEdit(this);
    bn_search = new QPushButton("Search", this);
    txt_name = new QLineEdit(this);
    txt_number = NumberField(this, "Number", 0, 0, 99999);
    txt_mag = NumberField(this, "Magnitude", 1, -19.9, 19.9);
    txt_range = NumberField(this, "Range", 1, 50, 90000);
    lb_range = new QLabel(this);
    txt_width = NumberField(this, "Width", 1, 1, 1000, 5);
    txt_length = NumberField(this, "Length", 1, 1, 1000, 5);
    txt_depth = NumberField(this, "Depth", 1, 1, 1000, 5);
    txt_rcs = NumberField(this, "RCS", 1, 1, 1000, 5);
    bn_new = new QPushButton("New", this);
    bn_edit = new QPushButton("Edit", this);
    bn_save = new QPushButton("Save", this);
    bn_cancel = new QPushButton("Cancel", this);
    bn_delete = new QPushButton("Delete", this);
    bn_update = new QPushButton("Update", this);
    bn_close = new QPushButton("Close", this);

    auto *fields = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const char *caption, QWidget *field, QWidget *after = nullptr) {
        fields->addWidget(new QLabel(caption, this), row, 0);
        fields->addWidget(field, row, 1);
        if (after)
            fields->addWidget(after, row, 2);
        ++row;
    };
    addRow("Number", txt_number);
    addRow("Name", txt_name);
    addRow("Mag.", txt_mag);
    addRow("@", txt_range, lb_range);
    addRow("Width", txt_width);
    addRow("Length", txt_length);
    addRow("Depth", txt_depth);
    addRow("RCS", txt_rcs);
    auto *search = new QHBoxLayout;
    search->addWidget(txt_search);
    search->addWidget(bn_search);
    auto *editing = new QGridLayout;
    editing->addWidget(bn_new, 0, 0);
    editing->addWidget(bn_edit, 0, 1);
    editing->addWidget(bn_save, 1, 0);
    editing->addWidget(bn_cancel, 1, 1);
    editing->addWidget(bn_delete, 2, 0);
    editing->addWidget(bn_update, 2, 1);
    auto *right = new QVBoxLayout;
    right->addLayout(search);
    right->addLayout(fields);
    right->addLayout(editing);
    right->addStretch();
    right->addWidget(bn_close);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(MagListBox);
    layout->addLayout(right);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(MagListBox, &QListWidget::itemClicked, this, &TfrSatDataWnd::MagListBoxClick);
    connect(bn_search, &QPushButton::clicked, this, &TfrSatDataWnd::bn_searchClick);
    connect(bn_new, &QPushButton::clicked, this, &TfrSatDataWnd::bn_newClick);
    connect(bn_edit, &QPushButton::clicked, this, &TfrSatDataWnd::bn_editClick);
    connect(bn_save, &QPushButton::clicked, this, &TfrSatDataWnd::bn_saveClick);
    connect(bn_cancel, &QPushButton::clicked, this, &TfrSatDataWnd::bn_cancelClick);
    connect(bn_delete, &QPushButton::clicked, this, &TfrSatDataWnd::bn_deleteClick);
    connect(bn_update, &QPushButton::clicked, this, &TfrSatDataWnd::bn_updateClick);
    connect(bn_close, &QPushButton::clicked, this, &TfrSatDataWnd::bn_closeClick);
    SetHelpContext(this, HelpNamesEditor);
    EndMagnitudeEdit();
    FormCreate();
}

QString TfrSatDataWnd::DefaultRange() const
{
    return Options.Metric ? "1000" : "622";
}

void TfrSatDataWnd::FormCreate()
{
    setWindowIcon(QApplication::windowIcon());
    namesFile_ = DataDir + "qvnames.dat";
    lb_range->setText(Options.Metric ? "Km" : "Mi");
    txt_range->setText(DefaultRange());
    std::string text;
    std::string error;
    const ReadStatus status = ReadWholeFile(namesFile_, text, &error, NamesFileLimit);
    if (status == ReadStatus::Missing)
        return;
    if (status == ReadStatus::Failed) {
        Tell(error, Caption, MessageKind::Error);
        // Nothing was read, so nothing may be written over the file or
        // handed to the main list: no edit could be kept.
        unreadable_ = true;
        for (QPushButton *button : {bn_update, bn_new, bn_edit, bn_delete})
            button->setEnabled(false);
        return;
    }
    lines_ = SplitTextLines(text);
    const auto link = std::find_if(lines_.rbegin(), lines_.rend(), [](const std::string &line) {
        return IsNamesLinkLine(line);
    });
    if (link != lines_.rend()) {
        updateLink_ = TrimText(*link);
        lines_.erase(std::next(link).base());
        SortNamesLines(lines_);
    } else {
        updateLink_ = DefaultNamesUpdateLink;
    }
    storedLines_ = lines_;
    FillMagnitudeList();
}

void TfrSatDataWnd::FillListBox()
{
    MagListBox->clear();
    for (const std::string &line : lines_)
        MagListBox->addItem(LineText(std::string_view(line).substr(0, ListItemLength)));
}

void TfrSatDataWnd::FillMagnitudeList()
{
    FillListBox();
    ShowSelectedSatelliteEntry();
}

void TfrSatDataWnd::ShowSelectedSatelliteEntry()
{
    int index = -1;
    if (SelectedMain >= 0 && static_cast<std::size_t>(SelectedMain) < MainList.size())
        FindNamesEntry(lines_, MainList[SelectedMain].Number.str(), index);
    MagListBox->setCurrentRow(index);
    ShowMagnitudeEntry(index >= 0 ? index : 0);
}

bool TfrSatDataWnd::ShowMagnitudeEntry(int index)
{
    std::vector<std::string> pieces;
    if (index < 0 || static_cast<std::size_t>(index) >= lines_.size() || !SplitMagnitudeLine(lines_[index], pieces))
        return false;
    // Trimmed: the columns' padding is no part of the value, and a blank
    // column shows as an empty field ("no value").
    QLineEdit *const targets[] = {txt_number, txt_name, txt_width, txt_length, txt_depth, txt_mag, nullptr, txt_rcs};
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (targets[i])
            targets[i]->setText(LineText(TrimText(pieces[i])));
    }
    txt_range->setText(DefaultRange());
    return true;
}

void TfrSatDataWnd::MagListBoxClick()
{
    int row = MagListBox->currentRow();
    if (editing_) {
        if (!newEntry_ && row == editLine_)
            return;
        // A save sorts the lines again: the clicked line is looked up afterwards.
        const std::string clicked =
            row >= 0 && static_cast<std::size_t>(row) < lines_.size() ? lines_[row] : std::string();
        if (!EndEditForOtherEntry())
            return;
        const auto found = std::find(lines_.begin(), lines_.end(), clicked);
        row = found == lines_.end() ? MagListBox->currentRow() : static_cast<int>(found - lines_.begin());
        MagListBox->setCurrentRow(row);
    }
    ShowMagnitudeEntry(row);
}

bool TfrSatDataWnd::EndEditForOtherEntry()
{
    if (!editing_)
        return true;
    if (Ask("Save the entry being edited?", Caption))
        bn_saveClick();
    else
        EndMagnitudeEdit();
    if (editing_ && !newEntry_)
        MagListBox->setCurrentRow(editLine_);
    return !editing_;
}

void TfrSatDataWnd::bn_searchClick()
{
    if (!EndEditForOtherEntry())
        return;
    int index = -1;
    if (!FindInStringList(txt_search->text().toLatin1().toStdString(), lines_, index)) {
        Tell("Satellite NOT found.");
        return;
    }
    MagListBox->setCurrentRow(index);
    ShowMagnitudeEntry(index);
}

void TfrSatDataWnd::BeginMagnitudeEdit(bool newEntry)
{
    editing_ = true;
    newEntry_ = newEntry;
    QLineEdit *const editable[] = {txt_name, txt_mag, txt_range, txt_width, txt_length, txt_depth, txt_rcs};
    for (QLineEdit *field : editable)
        field->setReadOnly(false);
    txt_number->setReadOnly(!newEntry);
    QPalette red = txt_name->palette();
    red.setColor(QPalette::Text, Qt::red);
    for (QLineEdit *field : editable)
        field->setPalette(red);
    if (newEntry)
        txt_number->setPalette(red);
    for (QPushButton *button : {bn_update, bn_new, bn_edit, bn_delete})
        button->setEnabled(false);
    bn_save->setEnabled(true);
    bn_cancel->setEnabled(true);
}

void TfrSatDataWnd::EndMagnitudeEdit()
{
    for (QLineEdit *field : {static_cast<QLineEdit *>(txt_number), txt_name, static_cast<QLineEdit *>(txt_mag),
                             static_cast<QLineEdit *>(txt_range), static_cast<QLineEdit *>(txt_width),
                             static_cast<QLineEdit *>(txt_length), static_cast<QLineEdit *>(txt_depth),
                             static_cast<QLineEdit *>(txt_rcs)}) {
        field->setReadOnly(true);
        field->setPalette(QPalette());
    }
    for (QPushButton *button : {bn_update, bn_new, bn_edit, bn_delete})
        button->setEnabled(true);
    bn_save->setEnabled(false);
    bn_cancel->setEnabled(false);
    editing_ = false;
    editLine_ = -1;
}

void TfrSatDataWnd::bn_newClick()
{
    BeginMagnitudeEdit(true);
    txt_name->clear();
    txt_number->setText("99999");
    txt_mag->setText("10.0");
    for (QLineEdit *size : {txt_width, txt_length, txt_depth})
        size->setText("5.0");
    txt_rcs->setText("10");
    txt_range->setText(DefaultRange());
}

void TfrSatDataWnd::bn_editClick()
{
    const int row = MagListBox->currentRow();
    // The fields are filled from the highlighted line itself: the edit is of
    // the values shown, whatever the fields held before.
    if (!ShowMagnitudeEntry(row))
        return;
    BeginMagnitudeEdit(false);
    editLine_ = row;
}

void TfrSatDataWnd::bn_saveClick()
{
    for (TFloatEdit *field : {txt_number, txt_mag, txt_range, txt_width, txt_length, txt_depth, txt_rcs}) {
        if (!field->isReadOnly() && !field->JudgeValue())
            return;
    }
    // An entry keeps its number column as the file has it.
    const std::string number =
        newEntry_ ? std::string(TrimText(FieldText(txt_number))) : NamesEntryNumber(lines_[editLine_]);
    if (number.empty()) {
        Tell("A Satellite Number is required.");
        return;
    }
    if (newEntry_) {
        const long wanted = NamesLineNumber(number);
        for (const std::string &line : lines_) {
            if (IsNamesEntry(line) && NamesLineNumber(line) == wanted) {
                Tell("Satellite Number already exists, Cancel or Enter new number.");
                return;
            }
        }
    }
    const QString name = txt_name->text().trimmed();
    if (!ValidName(name)) {
        Tell("Enter the Satellite Name, max 15 characters");
        return;
    }
    // A blank range is the standard 1000 km, in either unit: a magnitude is
    // converted only from a range the user gave.
    const double range = FieldNumber(txt_range, 1000.0 * DistanceFactor) / DistanceFactor;
    // Only a magnitude the user gave is converted and stored; a blank field
    // leaves the column blank.
    double magnitude = 0.0;
    if (ParseDecimal(FieldText(txt_mag), magnitude))
        txt_mag->setText(QString::fromStdString(FormatReport("%0:4.1f", {StandardMagnitude(magnitude, range)})));
    const std::string line = FormatNamesEntry(number, name.toStdString(), SizeText(txt_width), SizeText(txt_length),
                                              SizeText(txt_depth), FieldText(txt_mag), SizeText(txt_rcs));
    txt_range->setText(DefaultRange());
    if (newEntry_)
        lines_.push_back(line);
    else
        lines_[editLine_] = line;
    SortNamesLines(lines_);
    const auto saved = std::find(lines_.begin(), lines_.end(), line);
    const int index = saved == lines_.end() ? 0 : static_cast<int>(saved - lines_.begin());
    FillListBox();
    MagListBox->setCurrentRow(index);
    ShowMagnitudeEntry(index);
    Tell("Satellite entry saved.");
    EndMagnitudeEdit();
}

void TfrSatDataWnd::bn_cancelClick()
{
    ShowMagnitudeEntry(MagListBox->currentRow());
    EndMagnitudeEdit();
}

void TfrSatDataWnd::bn_deleteClick()
{
    const int row = MagListBox->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= lines_.size())
        return;
    if (!Ask("Do you wish to delete  \"" + MagListBox->item(row)->text().toStdString() + "\"", Caption))
        return;
    lines_.erase(lines_.begin() + row);
    delete MagListBox->takeItem(row);
    // The highlight moved to a neighbour; the fields follow it.
    ShowMagnitudeEntry(MagListBox->currentRow());
}

void TfrSatDataWnd::SetUpdateState(bool running)
{
    updating_ = running;
    setWindowTitle(running ? "Satellite Data - Processing..." : Caption);
    for (QWidget *control : std::initializer_list<QWidget *>{bn_update, bn_new, bn_edit, bn_save, bn_delete,
                                                             bn_cancel, MagListBox, bn_close})
        control->setEnabled(!running);
    if (!running)
        EndMagnitudeEdit();
}

void TfrSatDataWnd::bn_updateClick()
{
    if (!Ask("Download Required - Qvarn Name.zip File, Do You Wish to Continue?", UpdateCaption))
        return;
    SetUpdateState(true);
    // The task works on copies; the file being edited is never its target,
    // so a failure or a crash leaves it as it was.
    const std::string link = updateLink_;
    const std::string folder = DataDir;
    QPointer<TfrSatDataWnd> window(this);
    StartWorkerThread(NamesUpdateTaskTag, [window, link, folder] {
        std::string reason;
        const auto finish = [window, &reason](UpdateResult result, std::vector<std::string> lines = {}) {
            QMetaObject::invokeMethod(
                qApp,
                [window, result, lines = std::move(lines), reason]() mutable {
                    if (window)
                        window->FinishUpdate(result, std::move(lines), reason);
                },
                Qt::QueuedConnection);
            EndWorkerThread(NamesUpdateTaskTag);
        };
        if (!DownloadSingleFile(link, folder, ArchiveName, reason))
            return finish(UpdateResult::DownloadFailed);
        const std::string unpackedFile = folder + "qvnamesupdate.txt";
        if (!UnpackDownload(folder + ArchiveName, unpackedFile, ZipKind))
            return finish(UpdateResult::UnpackFailed);
        std::string text;
        const bool read = ReadWholeFile(unpackedFile, text, nullptr, NamesFileLimit) == ReadStatus::Ok;
        DeleteDataFile(unpackedFile);
        if (!read)
            return finish(UpdateResult::ReadFailed);
        finish(UpdateResult::Downloaded, SplitTextLines(text));
    });
}

void TfrSatDataWnd::FinishUpdate(UpdateResult result, std::vector<std::string> downloaded,
                                 const std::string &reason)
{
    SetUpdateState(false);
    std::vector<std::string> merged;
    switch (result) {
    case UpdateResult::DownloadFailed:
        Tell("Failed to download file - " + updateLink_ + "\n" + reason + "\n\n" + UpdateFailed
                 + ": nothing was changed. Check the internet connection, and that the first line of "
                   "qvnames.dat holds the link to the names archive; then try again.",
             UpdateCaption, MessageKind::Error);
        return;
    case UpdateResult::UnpackFailed:
        // The edits of this window stay: nothing is merged.
        Tell(std::string("File Downloaded Successfully But Failed to Unzip: ") + ArchiveName, "Unzip",
             MessageKind::Error);
        return;
    case UpdateResult::ReadFailed:
        Tell(UpdateFailed, UpdateCaption);
        return;
    case UpdateResult::Downloaded:
        break;
    }
    if (!MergeNamesUpdate(lines_, downloaded, merged)) {
        Tell(UpdateFailed, UpdateCaption);
        return;
    }
    Tell("Update to Satellite data file data completed successfully.", UpdateCaption);
    lines_ = std::move(merged);
    RemoveDuplicateNumbers(lines_);
    FillMagnitudeList();
}

void TfrSatDataWnd::bn_closeClick()
{
    close();
}

void TfrSatDataWnd::reject()
{
    if (FormClose())
        QDialog::reject();
}

bool TfrSatDataWnd::FormClose()
{
    if (updating_)
        return false;
    if (editing_) {
        Tell("You must \"Save or Cancel\" prior to Close");
        return false;
    }
    if (unreadable_)
        return true;
    if (lines_ != storedLines_) {
        std::string text = updateLink_ + "\r\n";
        for (const std::string &line : lines_)
            text += line + "\r\n";
        std::string error;
        if (!SaveFileAtomically(namesFile_, text, &error))
            Tell(error, Caption, MessageKind::Error);
    }
    for (TleRecord &record : MainList)
        record.StdMagnitude = FindStdMagnitude(lines_, record.Number.str());
    return true;
}
