#pragma once

#include "plan/instance.h"
#include "plan/list.h"

#include <cstdint>
#include <string>
#include <vector>

// Seeded instance families of one-dimensional cutting stock and bin packing, generated here in
// the manner of the classic benchmark sets (no data is downloaded).
namespace bench {

struct Case {
    std::string family;
    std::string name;
    plan::Instance instance;
    std::int64_t optimum = 0; // the least cost, where known by construction; 0 where not
};

// The families the benchmark knows, in the order it prints them.
std::vector<std::string> familyNames();

// A whole building's cutting list: `rows` rows over twelve diameters, `pieces` pieces in all,
// as the rows of a spreadsheet.
std::vector<plan::PieceRow> building(std::uint64_t seed, int rows, std::int64_t pieces);

// `count` instances of a family (0: the family's default count), from `seed`.
std::vector<Case> generate(const std::string& family, std::uint64_t seed, int count);

} // namespace bench
