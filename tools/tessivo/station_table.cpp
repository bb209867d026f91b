#include "station_table.h"

#include <algorithm>

#include "lower_case.h"
#include "sim/option_numbers.h"

namespace {

// "Flash_gray.PNG" and "flash" name the same pair of icons.
std::string IconBaseName(const std::string& text, bool dropGrey) {
    std::string name = Lower(text);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) name.resize(name.size() - 4);
    if (dropGrey && name.size() > 5 && name.compare(name.size() - 5, 5, "_gray") == 0) name.resize(name.size() - 5);
    return name;
}

std::optional<int32_t> StationOfSlot(TableView<games::StationRingEntry> ring, int32_t slot) {
    for (const games::StationRingEntry& entry : ring)
        if (entry.colourSlot == slot) return entry.stationId;
    return std::nullopt;
}

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

}  // namespace

std::vector<StationRow> StationRows(const GameChoice& game) {
    std::vector<StationRow> rows;
    for (size_t slot = 0; slot < game.icons.count; slot += 2)
        rows.push_back({game.icons.first[slot], StationOfSlot(game.stations, static_cast<int32_t>(slot)),
                        StationOfSlot(game.stationsWithoutUserTracks, static_cast<int32_t>(slot))});
    std::stable_sort(rows.begin(), rows.end(), [](const StationRow& a, const StationRow& b) {
        return a.station.value_or(INT32_MAX) < b.station.value_or(INT32_MAX);
    });
    return rows;
}

bool IconEverShown(const GameChoice& game, const std::string& icon) {
    const std::string name = IconBaseName(icon, true);
    for (const StationRow& row : StationRows(game))
        if (Lower(row.icon) == name) return row.station.has_value();
    return false;
}

std::optional<int32_t> StationByNumberOrIcon(const GameChoice& game, const std::string& text) {
    uint32_t number = 0;
    if (sim::ParseOptionNumber(text, number)) {
        if (number <= INT32_MAX && HasStation(game, static_cast<int32_t>(number))) return static_cast<int32_t>(number);
        return std::nullopt;
    }
    const std::string name = IconBaseName(text, false);
    for (const StationRow& row : StationRows(game))
        if (Lower(row.icon) == name) return row.station;
    return std::nullopt;
}

std::string StationTableText(const GameChoice& game, const std::string& indent) {
    const std::vector<StationRow> rows = StationRows(game);
    size_t width = 0;
    for (const StationRow& row : rows) width = std::max(width, row.icon.size() + 4);
    std::string text = indent + Padded("station", 9) + Padded("icon", width + 2) + "shown\n";
    for (const StationRow& row : rows) {
        std::string shown;
        if (!row.station)
            shown = "never: the game has no station for it (a missing file does no harm)";
        else if (!row.withoutUserTracks)
            shown = "only when the game has user tracks (your own music)";
        else if (*row.withoutUserTracks != *row.station)
            shown = "yes; it is station " + std::to_string(*row.withoutUserTracks) +
                    " when the game has no user tracks";
        else
            shown = "yes";
        text += indent + Padded(row.station ? std::to_string(*row.station) : "-", 9) +
                Padded(row.icon + ".png", width + 2) + shown + "\n";
    }
    return text;
}
