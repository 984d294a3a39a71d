// Favourite satellite lists: satellite set files named by the user in the
// program's "satfavorites/" folder, one "<name>.bin" per list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The longest favourite name.
constexpr std::size_t MaxFavoriteNameLength = 64;

// ProgramDir + "satfavorites/", as it exists in any case of its letters.
std::string FavoritesFolder();

// Creates the favourites folder when it is missing. False when it cannot.
bool MakeFavoritesFolder();

// The names of the favourite files (".bin" in any case, without it), sorted
// without regard to case.
std::vector<std::string> ListFavoriteNames();

// Whether name can be a favourite's file name: not empty, at most
// MaxFavoriteNameLength characters, no '/', '\' or control character and no
// leading '.', so that it never reaches outside the favourites folder.
bool IsFavoriteName(std::string_view name);

// The file of the favourite name (an existing one matched without regard to
// case).
std::string FavoriteFilePath(const std::string &name);
