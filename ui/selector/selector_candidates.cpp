// The selector's candidates: loading them on task 20, their pages, the
// search and the taking of a candidate into the working list.
#include "ui/selector/sat_selector.h"

#include "engine/files/data_files.h"
#include "engine/files/names_file.h"
#include "engine/text/text_format.h"
#include "engine/satellites/satellite_driver.h"
#include "ui/selector/selector_messages.h"
#include "ui/window_glue.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <exception>

using namespace selector_ui;

namespace {

constexpr ThreadTag CandidateTaskTag = 20;

void SortCandidates(ElementList &list, bool byNumber)
{
    const auto compare = byNumber ? CompareTleItemsByNumber : CompareTleItemsByName;
    std::stable_sort(list.begin(), list.end(),
                     [compare](const ElementRecord &a, const ElementRecord &b) { return compare(a, b) < 0; });
}

} // namespace

void TfrSatSelectorWnd::bn_fileClick()
{
    if (busy_)
        return;
    std::string path;
    SelectFile(1, path);
    if (path.empty())
        return;
    elementFile_ = path;
    ListBoxSatFile->parentWidget()->setVisible(true);
    pageStart_ = 0;
    bn_previous->setEnabled(false);
    bn_next->setEnabled(false);
    CentreOnScreen();
    StartCandidateTask(path, {});
}

void TfrSatSelectorWnd::StartCandidateTask(std::string path, ElementList list)
{
    busy_ = true;
    const bool byNumber = showNumbers_;
    QPointer<TfrSatSelectorWnd> self(this);
    const WorkerHandle task = StartWorkerThread(
        CandidateTaskTag, [self, path = std::move(path), list = std::move(list), byNumber]() mutable {
            std::string error;
            try {
                if (!path.empty() && !LoadTleTextFile(list, path, &error))
                    list.clear();
                SortCandidates(list, byNumber);
            } catch (const std::exception &failure) {
                list.clear();
                error = failure.what();
            }
            // The window may have been closed meanwhile: the result is then dropped.
            PostToUiThread([self, list = std::move(list), error = std::move(error)]() mutable {
                if (self)
                    self->CandidatesReady(std::move(list), std::move(error));
            });
            EndWorkerThread(CandidateTaskTag);
        });
    if (!task.Started())
        busy_ = false;
}

void TfrSatSelectorWnd::CandidatesReady(ElementList list, std::string error)
{
    candidates_ = std::move(list);
    FillCandidatePage();
    busy_ = false;
    if (!error.empty())
        Tell(error);
}

void TfrSatSelectorWnd::ShowCandidateRows(const std::vector<std::size_t> &rows)
{
    rowCandidates_ = rows;
    QStringList texts;
    texts.reserve(static_cast<int>(rows.size()));
    for (std::size_t index : rows)
        texts.append(ShownText(candidates_[index].Name.str(), candidates_[index].Number.str()));
    ListBoxSatFile->clear();
    ListBoxSatFile->addItems(texts);
}

void TfrSatSelectorWnd::FillCandidatePage()
{
    std::vector<std::size_t> rows;
    for (std::size_t i = pageStart_; i < candidates_.size() && rows.size() < PageSize; ++i)
        rows.push_back(i);
    ShowCandidateRows(rows);
    bn_next->setEnabled(pageStart_ + rows.size() < candidates_.size());
    if (pageStart_ == 0)
        bn_previous->setEnabled(false);
    const FormatArg arguments[] = {FileNamePart(elementFile_), pageStart_ + 1, pageStart_ + rows.size(),
                                   candidates_.size()};
    setWindowTitle(Text(FormatReport("KYT - %0s -  (%1d to %2d) - %3d Satellites", arguments)));
}

void TfrSatSelectorWnd::bn_nextClick()
{
    if (busy_)
        return;
    bn_previous->setEnabled(true);
    pageStart_ += PageSize;
    FillCandidatePage();
}

void TfrSatSelectorWnd::bn_previousClick()
{
    if (busy_)
        return;
    bn_next->setEnabled(true);
    pageStart_ -= std::min(pageStart_, PageSize);
    FillCandidatePage();
}

void TfrSatSelectorWnd::bn_resetClick()
{
    if (busy_)
        return;
    pageStart_ = 0;
    bn_previous->setEnabled(false);
    bn_next->setEnabled(false);
    FillCandidatePage();
}

void TfrSatSelectorWnd::bn_numberClick()
{
    if (busy_)
        return;
    showNumbers_ = !showNumbers_;
    bn_number->setText(showNumbers_ ? "Show Name" : "Show Number");
    FillSelectedList();
    // The candidates are sorted again by what is shown, on the task.
    if (!elementFile_.empty())
        StartCandidateTask({}, std::move(candidates_));
}

void TfrSatSelectorWnd::bn_searchClick()
{
    if (busy_)
        return;
    pageStart_ = 0;
    bn_previous->setEnabled(false);
    bn_next->setEnabled(false);
    ListBoxSatFile->clear();
    rowCandidates_.clear();
    const QString wanted = txt_search->text().toUpper();
    if (wanted.isEmpty())
        return;
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < candidates_.size(); ++i) {
        const ElementRecord &candidate = candidates_[i];
        const QString text = Text(showNumbers_ ? candidate.Number.str() : candidate.Name.str()).toUpper();
        if (text.contains(wanted))
            rows.push_back(i);
    }
    ShowCandidateRows(rows);
    const FormatArg arguments[] = {FileNamePart(elementFile_), rows.size()};
    setWindowTitle(Text(FormatReport("KYT - %0s  - %1d Satellites", arguments)));
}

void TfrSatSelectorWnd::ListBoxSatFileDblClick(int row)
{
    if (busy_ || row < 0 || static_cast<std::size_t>(row) >= rowCandidates_.size())
        return;
    if (SelectorList.size() >= MaxSelected) {
        Tell("Unable to Load Satellite - List is Full");
        return;
    }
    // The row's own candidate, so that each of two sets shown alike is reachable.
    ElementRecord transfer = candidates_[rowCandidates_[row]];
    transfer.StdMagnitude = FindStdMagnitude(namesLines_, transfer.Number.str());
    transfer.Selected = 1;
    // A set without a name keeps its number as name, so the boxes of the
    // calling window show it.
    if (transfer.Name.length == 0)
        transfer.Name.assignCut(transfer.Number.str());
    if (AppendSelectedSatellite(transfer))
        AddCheckItem(SelectorList.back());
}

bool TfrSatSelectorWnd::AppendSelectedSatellite(const ElementRecord &transfer)
{
    // Only a satellite whose elements give an orbit is taken: the caller
    // propagates the list at once.
    TleRecord record{};
    if (!LoadSatFromElementRecord(record, transfer, true, -HUGE_VAL, HUGE_VAL)) {
        Tell("Unable to Load Satellite - its element lines do not give an orbit");
        return false;
    }
    record.Selected = 1;
    SelectorList.push_back(record);
    return true;
}

