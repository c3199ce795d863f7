// Contact sheets: captured frames tiled at half size into one picture, so
// that several moments of the show can be judged side by side.
#pragma once

#include <cstdint>
#include <vector>

constexpr int sheet_columns = 3;
constexpr int sheet_gap = 4;  // grey pixels between neighbouring cells

struct contact_sheet {
    int frame_width = 0;
    int frame_height = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // rows top first
};

// A grey sheet with a cell for each of frame_count frames of the given
// size: half that size each, sheet_columns to a row (fewer when there are
// fewer frames).
contact_sheet make_contact_sheet(int frame_count, int frame_width, int frame_height);

// Frame `index` (RGB rows, top first), halved by averaging 2x2 pixel blocks,
// into its cell: left to right, then top to bottom.
void put_sheet_cell(contact_sheet& sheet, int index, const std::vector<uint8_t>& frame);
