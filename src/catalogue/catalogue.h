// The fixed set of file names the program works on.
//
// 23 catalogue rows pair a stock music track with the backup name the enable
// operation parks it under; 7 replacement pairs pair a track shipped by the
// music modification with the stock name it takes over. All paths are
// relative to the game's main folder and use a backslash between folder and
// file name. The tables are never changed and never sorted: the order here is
// the order every walk takes.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace orvando {

inline constexpr std::int16_t kCatalogueRows = 23;

inline constexpr std::array<std::string_view, kCatalogueRows> kStockNames{
    "streammusic\\mus_area_ahto.wav",     "streammusic\\mus_area_cant1.wav",
    "streammusic\\mus_area_desert.wav",   "streammusic\\mus_area_out.wav",
    "streammusic\\mus_area_sewers.wav",   "streammusic\\mus_area_sforge.wav",
    "streammusic\\mus_area_townint.wav",  "streammusic\\mus_area_valsith.wav",
    "streammusic\\mus_bat_acad.wav",      "streammusic\\mus_bat_desert.wav",
    "streammusic\\mus_bat_malak.wav",     "streammusic\\mus_bat_sithbs.wav",
    "streammusic\\mus_bat_slehey.wav",    "streammusic\\mus_bat_valsith.wav",
    "streammusic\\mus_theme_cult.wav",    "streamsounds\\mus_sbat_acad.wav",
    "streamsounds\\mus_sbat_desert.wav",  "streamsounds\\mus_sbat_sforge.wav",
    "streamsounds\\mus_sbat_sithbs.wav",  "streamsounds\\mus_sbat_slehey.wav",
    "streamsounds\\mus_sbat_valsith.wav", "streammusic\\mus_area_acad.wav",
    "streammusic\\mus_theme_malak.wav",
};

// Stored in full, like the stock names: nothing derives one from the other.
inline constexpr std::array<std::string_view, kCatalogueRows> kBackupNames{
    "streammusic\\mus_area_ahto.original.wav",     "streammusic\\mus_area_cant1.original.wav",
    "streammusic\\mus_area_desert.original.wav",   "streammusic\\mus_area_out.original.wav",
    "streammusic\\mus_area_sewers.original.wav",   "streammusic\\mus_area_sforge.original.wav",
    "streammusic\\mus_area_townint.original.wav",  "streammusic\\mus_area_valsith.original.wav",
    "streammusic\\mus_bat_acad.original.wav",      "streammusic\\mus_bat_desert.original.wav",
    "streammusic\\mus_bat_malak.original.wav",     "streammusic\\mus_bat_sithbs.original.wav",
    "streammusic\\mus_bat_slehey.original.wav",    "streammusic\\mus_bat_valsith.original.wav",
    "streammusic\\mus_theme_cult.original.wav",    "streamsounds\\mus_sbat_acad.original.wav",
    "streamsounds\\mus_sbat_desert.original.wav",  "streamsounds\\mus_sbat_sforge.original.wav",
    "streamsounds\\mus_sbat_sithbs.original.wav",  "streamsounds\\mus_sbat_slehey.original.wav",
    "streamsounds\\mus_sbat_valsith.original.wav", "streammusic\\mus_area_acad.original.wav",
    "streammusic\\mus_theme_malak.original.wav",
};

struct ReplacementPair {
    std::string_view replacement;  // as the modification ships it
    std::string_view stock;        // the stock name it takes over while enabled
};

// Both operations use these in this order.
inline constexpr std::array<ReplacementPair, 7> kReplacementPairs{{
    {"streammusic\\mus_area_ahto.mod.wav", "streammusic\\mus_area_ahto.wav"},
    {"streamsounds\\mus_sbat_acad.mod.wav", "streamsounds\\mus_sbat_acad.wav"},
    {"streamsounds\\mus_sbat_desert.mod.wav", "streamsounds\\mus_sbat_desert.wav"},
    {"streamsounds\\mus_sbat_sforge.mod.wav", "streamsounds\\mus_sbat_sforge.wav"},
    {"streamsounds\\mus_sbat_sithbs.mod.wav", "streamsounds\\mus_sbat_sithbs.wav"},
    {"streamsounds\\mus_sbat_slehey.mod.wav", "streamsounds\\mus_sbat_slehey.wav"},
    {"streamsounds\\mus_sbat_valsith.mod.wav", "streamsounds\\mus_sbat_valsith.wav"},
}};

// The row whose stock name is absent exactly while the modification is
// enabled: no replacement pair touches it.
inline constexpr std::int16_t kProbeRow = 2;

// The window's two hidden lists hold the catalogue rows: `originalname` the
// stock names, `modname` the backup names, paired by index alone.
enum class ListName { originalname, modname };

inline constexpr const std::array<std::string_view, kCatalogueRows>& catalogueColumn(
    ListName list) {
    return list == ListName::originalname ? kStockNames : kBackupNames;
}

}  // namespace orvando
