// Record of the accessor tables: where one host routine, object or variable lies in a game.
#pragma once

#include <cstdint>

namespace games {

// A cell is reached one of two ways:
//   fixed      `address` as it stands (no image-base correction), plus `offset`
//   versioned  the pointer in resolved-address slot `slot`, plus `offset`
// A cell whose address is 0 and whose slot is kFixedCell is not used by that game.
struct HostCell {
    uint32_t address;  // fixed game address; 0 for a versioned cell
    int32_t slot;      // index of the game's VersionedSlot, or kFixedCell
    uint32_t offset;   // byte offset of a field inside the object at the address or slot
};

inline constexpr int32_t kFixedCell = -1;

constexpr HostCell Fixed(uint32_t address, uint32_t offset = 0) {
    return HostCell{address, kFixedCell, offset};
}

template <class Slot>
constexpr HostCell Versioned(Slot slot, uint32_t offset = 0) {
    return HostCell{0, static_cast<int32_t>(slot), offset};
}

inline constexpr HostCell kNotInThisGame = {0, kFixedCell, 0};

constexpr bool IsUsed(const HostCell& cell) { return cell.address != 0 || cell.slot != kFixedCell; }

}  // namespace games
