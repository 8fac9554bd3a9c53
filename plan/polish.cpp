#include "plan/polish.h"

#include <algorithm>

namespace plan {
namespace {

// Enough for any plan people read; a bound, so that polishing never takes long.
constexpr int kMaxMoves = 20'000;

void addPiece(Content& content, std::uint32_t item, int change) {
    auto it = std::ranges::lower_bound(content, item, {},
                                       &std::pair<std::uint32_t, std::uint32_t>::first);
    if (it != content.end() && it->first == item) {
        it->second = static_cast<std::uint32_t>(static_cast<int>(it->second) + change);
        if (it->second == 0) {
            content.erase(it);
        }
    } else {
        content.insert(it, {item, 1U});
    }
}

} // namespace

void gatherRemnants(const Instance& instance, Solution& solution) {
    auto& patterns = solution.patterns;
    const auto room = [&instance](const BarPattern& p) {
        return instance.capacity(p.stock) - used(instance, p.content);
    };
    int moves = 0;
    bool moved = true;
    while (moved && moves < kMaxMoves) {
        moved = false;
        for (std::size_t a = 0; a < patterns.size() && moves < kMaxMoves; ++a) {
            for (std::size_t b = 0; b < patterns.size() && moves < kMaxMoves; ++b) {
                BarPattern& from = patterns[a];
                BarPattern& to = patterns[b];
                if (a == b || from.count != to.count) {
                    continue;
                }
                const std::int64_t fromRoom = room(from);
                const std::int64_t toRoom = room(to);
                // The longest piece that still fits the other bar and leaves the remnants
                // further apart than they were.
                for (const auto& piece : from.content) {
                    // A copy: taking the piece out may erase the element it comes from.
                    const std::uint32_t item = piece.first;
                    const std::int64_t w = instance.weight(item);
                    if (w <= toRoom && fromRoom + w > toRoom) {
                        addPiece(from.content, item, -1);
                        addPiece(to.content, item, +1);
                        ++moves;
                        moved = true;
                        break;
                    }
                }
            }
        }
    }
    normalise(instance, solution);
}

} // namespace plan
