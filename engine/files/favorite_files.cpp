#include "engine/files/favorite_files.h"

#include "engine/files/data_files.h"
#include "engine/files/string_lists.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr std::string_view FavoriteExtension = ".bin";

} // namespace

std::string FavoritesFolder()
{
    return ResolvePath(ProgramDir + "satfavorites") + '/';
}

bool MakeFavoritesFolder()
{
    std::error_code error;
    const std::string folder = FavoritesFolder();
    return std::filesystem::create_directories(folder, error) || FolderExists(folder);
}

std::vector<std::string> ListFavoriteNames()
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entry(FavoritesFolder(), error), end;
    for (; !error && entry != end; entry.increment(error)) {
        std::error_code typeError;
        const std::string file = entry->path().filename().string();
        const std::size_t stem = file.size() - std::min(file.size(), FavoriteExtension.size());
        if (stem > 0 && entry->is_regular_file(typeError)
            && SameTextIgnoreCase(std::string_view(file).substr(stem), FavoriteExtension))
            names.push_back(file.substr(0, stem));
    }
    std::sort(names.begin(), names.end(),
              [](const std::string &a, const std::string &b) { return CompareTextIgnoreCase(a, b) < 0; });
    return names;
}

bool IsFavoriteName(std::string_view name)
{
    if (name.empty() || name.size() > MaxFavoriteNameLength || name.front() == '.')
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || code < 0x20 || code == 0x7f;
    });
}

std::string FavoriteFilePath(const std::string &name)
{
    return ResolvePath(FavoritesFolder() + name + std::string(FavoriteExtension));
}
