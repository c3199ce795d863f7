// Tiling frames into a contact sheet.
#include "contact_sheet.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr uint8_t gap_grey = 64;

}  // namespace

contact_sheet make_contact_sheet(int frame_count, int frame_width, int frame_height) {
    contact_sheet sheet;
    sheet.frame_width = frame_width;
    sheet.frame_height = frame_height;
    const int columns = std::min(frame_count, sheet_columns);
    const int rows = (frame_count + sheet_columns - 1) / sheet_columns;
    sheet.width = std::max(0, columns * (frame_width / 2 + sheet_gap) - sheet_gap);
    sheet.height = std::max(0, rows * (frame_height / 2 + sheet_gap) - sheet_gap);
    sheet.rgb.assign(static_cast<size_t>(sheet.width) * sheet.height * 3, gap_grey);
    return sheet;
}

void put_sheet_cell(contact_sheet& sheet, int index, const std::vector<uint8_t>& frame) {
    const int cell_width = sheet.frame_width / 2, cell_height = sheet.frame_height / 2;
    const int left = (index % sheet_columns) * (cell_width + sheet_gap);
    const int top = (index / sheet_columns) * (cell_height + sheet_gap);
    const auto source = [&](int x, int y, int channel) {
        return frame[(static_cast<size_t>(y) * sheet.frame_width + x) * 3 + channel];
    };
    for (int y = 0; y < cell_height; ++y) {
        for (int x = 0; x < cell_width; ++x) {
            uint8_t* out = &sheet.rgb[(static_cast<size_t>(top + y) * sheet.width + left + x) * 3];
            for (int channel = 0; channel < 3; ++channel) {
                const int sum = source(2 * x, 2 * y, channel) + source(2 * x + 1, 2 * y, channel) +
                                source(2 * x, 2 * y + 1, channel) + source(2 * x + 1, 2 * y + 1, channel);
                out[channel] = static_cast<uint8_t>((sum + 2) / 4);
            }
        }
    }
}
