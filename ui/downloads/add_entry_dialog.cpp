#include "ui/downloads/add_entry_dialog.h"

#include "engine/downloads/http_session.h"
#include "engine/files/download_list.h"
#include "engine/text/text_fields.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/help/help_viewer.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The entry types in the order of the list, with the tag each writes.
constexpr const char *TypeTags[] = {"(ST)", "(Tv)", "(Qv)", "(Ot)"};

void Refuse(const std::string &text)
{
    ShowUserMessage(text, "KYT", MessageKind::Information);
}

} // namespace

TfrDwnAddWnd::TfrDwnAddWnd(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle("Add New Download Entry");
    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Link or Space-Track Query"), 0, 0, 1, 2);
    te_link = new QLineEdit;
    te_link->setMinimumWidth(420);
    layout->addWidget(te_link, 1, 0, 1, 2);
    layout->addWidget(new QLabel("Name (Max 16 Chars)"), 2, 0);
    layout->addWidget(new QLabel("Entry Type"), 2, 1);
    te_name = new QLineEdit;
    te_name->setMaxLength(16);
    layout->addWidget(te_name, 3, 0);
    cb_type = new QComboBox;
    cb_type->addItems({"Space-Track", "Tolvane", "Qvarn", "Other"});
    cb_type->setCurrentIndex(-1);
    layout->addWidget(cb_type, 3, 1);
    bn_cancel = new QPushButton("Cancel");
    bn_add = new QPushButton("Add");
    layout->addWidget(bn_cancel, 4, 0, Qt::AlignRight);
    layout->addWidget(bn_add, 4, 1, Qt::AlignLeft);
    bn_add->setDefault(true);
    connect(bn_add, &QPushButton::clicked, this, &TfrDwnAddWnd::bn_addClick);
    connect(bn_cancel, &QPushButton::clicked, this, &TfrDwnAddWnd::bn_cancelClick);
    // The download window's page explains the entry types.
    SetHelpContext(this, HelpDownload);
}

void TfrDwnAddWnd::bn_addClick()
{
    const std::string link = te_link->text().toStdString();
    const std::string name = te_name->text().toStdString();
    const std::size_t linkParts = SplitString(' ', link, true).size();
    const std::size_t nameParts = SplitString(' ', name, true).size();
    if (cb_type->currentIndex() < 0)
        return Refuse("No Type Selected");
    if (linkParts == 0)
        return Refuse("No Link or Space-Track Query Entered");
    if (linkParts > 1)
        return Refuse("No Spaces Allowed in Link or Space-Track Query");
    if (nameParts == 0)
        return Refuse("No Entry Name Entered");
    if (nameParts > 1)
        return Refuse("No Spaces Allowed in Entry Name");
    std::string scheme, host, port;
    if (!SplitWebLink(TrimText(link), scheme, host, port))
        return Refuse("The Link must be a web address that starts with http:// or https://");
    // The name becomes a file name in the update folder.
    if (!IsPlainFileName(TrimText(name)))
        return Refuse("Entry Name may hold only letters, digits, '.', '_' and '-', and may not start with '.'");
    Result = NewDownloadLine(TypeTags[cb_type->currentIndex()], name, link);
    accept();
}

void TfrDwnAddWnd::bn_cancelClick()
{
    Result.clear();
    reject();
}
