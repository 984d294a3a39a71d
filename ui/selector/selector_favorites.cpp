// The selector's favourite lists: working lists saved under a name and
// loaded again.
#include "ui/selector/sat_selector.h"

#include "engine/files/favorite_files.h"
#include "engine/files/data_files.h"
#include "engine/files/element_files.h"
#include "ui/selector/selector_messages.h"

#include <QComboBox>
#include <QInputDialog>

#include <string>

using namespace selector_ui;

namespace {

const std::string FavoritesCaption = "Favorites";

std::string Quoted(const std::string &name) { return "\"" + name + "\""; }

} // namespace

void TfrSatSelectorWnd::FillFavorites()
{
    cb_favorite->clear();
    for (const std::string &name : ListFavoriteNames())
        cb_favorite->addItem(Text(name));
    cb_favorite->setCurrentIndex(-1);
}

std::string TfrSatSelectorWnd::ChosenFavorite() const
{
    return cb_favorite->currentIndex() < 0 ? std::string() : cb_favorite->currentText().toStdString();
}

void TfrSatSelectorWnd::SaveFavorite(const std::string &name, const std::string &done)
{
    std::string error;
    if (SaveSatFile(SelectorList, FavoriteFilePath(name), &error))
        Tell("Favorite " + Quoted(name) + " " + done, FavoritesCaption);
    else
        Tell(error, FavoritesCaption);
}

void TfrSatSelectorWnd::bn_favnewClick()
{
    if (SelectorList.empty())
        return;
    QString answer = "None";
    for (;;) {
        bool accepted = false;
        answer = QInputDialog::getText(this, Text(FavoritesCaption), "Enter Favorite Name", QLineEdit::Normal,
                                       answer, &accepted);
        // A cancelled box ends the command.
        if (!accepted || answer.isEmpty())
            break;
        const std::string name = answer.toStdString();
        if (answer.trimmed().isEmpty())
            continue;
        if (!IsFavoriteName(name)) {
            Tell("A Favorite name must be a plain file name: no '/', '\\' or control characters, no leading '.', "
                 "at most " + std::to_string(MaxFavoriteNameLength) + " characters. Try Again",
                 "SAVE");
            continue;
        }
        if (cb_favorite->findText(answer, Qt::MatchFixedString) >= 0) {
            Tell("Name Already Exist, Try Again", "SAVE");
            answer = "None";
            continue;
        }
        SaveFavorite(name, "Created");
        break;
    }
    FillFavorites();
}

void TfrSatSelectorWnd::bn_favsaveClick()
{
    const std::string name = ChosenFavorite();
    if (!name.empty() && !SelectorList.empty())
        SaveFavorite(name, "Saved");
    cb_favorite->setCurrentIndex(-1);
}

void TfrSatSelectorWnd::bn_favloadClick()
{
    const std::string name = ChosenFavorite();
    cb_favorite->setCurrentIndex(-1);
    if (name.empty())
        return;
    tlearray favorite;
    std::string error;
    if (!LoadSatFile(favorite, FavoriteFilePath(name), &error) && !error.empty()) {
        Tell(error, FavoritesCaption);
        return;
    }
    if (favorite.size() > MaxSelected) {
        favorite.resize(MaxSelected);
        Tell("Favorite " + Quoted(name) + " holds more than " + std::to_string(MaxSelected)
                 + " satellites; the first " + std::to_string(MaxSelected) + " were loaded.",
             FavoritesCaption);
    }
    SelectorList = std::move(favorite);
    FillSelectedList();
}

void TfrSatSelectorWnd::bn_favdeleteClick()
{
    const int chosen = cb_favorite->currentIndex();
    const std::string name = ChosenFavorite();
    const std::string shown(TrimText(name));
    cb_favorite->setCurrentIndex(-1);
    if (name.empty() || !Ask("Delete Favorite " + Quoted(shown), "Delete"))
        return;
    std::string error;
    if (!DeleteDataFile(FavoriteFilePath(name), &error)) {
        Tell(error, FavoritesCaption);
        return;
    }
    cb_favorite->removeItem(chosen);
    Tell("Favorite " + Quoted(shown) + " Deleted", FavoritesCaption);
}
