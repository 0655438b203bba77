#pragma once

#include <QString>
#include <QStringList>

namespace kelvane {

// The game's folders below its own, as the game names them; each is found in
// any case (subfolderNamed). Kept here, below every room that looks for them,
// so that the system's game search and the game's layout name them alike.

inline constexpr QLatin1StringView kGameDataFolder("GameData");
inline constexpr QLatin1StringView kSkinsFolder("Skins");
inline constexpr QLatin1StringView kExpansionSharedFolder("ExpansionShared");
inline constexpr QLatin1StringView kSkinsBuyFolder("SkinsBuy");

// GameData/Skins: the game's own folder of loose skins.
inline QStringList gameSkinsPath()
{
    return {kGameDataFolder, kSkinsFolder};
}

// ExpansionShared/SkinsBuy: the expansion packs' folder of loose skins.
inline QStringList gameSkinsBuyPath()
{
    return {kExpansionSharedFolder, kSkinsBuyFolder};
}

} // namespace kelvane
