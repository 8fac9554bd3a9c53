#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// A whole building's bar detail report, written as quantity-takeoff programs export it (floor
// rows, element blocks with the program's ids, position rows, bar rows, a subtotal per floor),
// made from a seeded plan of columns, frame beams, secondary beams and slabs.
namespace bench {

struct ReportSize {
    int floors = 0;
    int blocks = 0;
    int bars = 0; // bar rows
};

ReportSize writeReport(const std::filesystem::path& path, int floors, std::uint32_t seed);

} // namespace bench
