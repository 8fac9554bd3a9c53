#include "plan/assemble.h"

#include <algorithm>
#include <deque>
#include <map>

namespace plan {
namespace {

struct MarkRun {
    std::string mark;
    std::int64_t left = 0;
};

// The remnant of one bar: what is left past the last piece, less the kerf of the last cut; a
// kerf wider than what is left eats it all.
std::int64_t remnantOf(const Instance& instance, std::int64_t stockLength, const Content& content) {
    std::int64_t cut = 0;
    std::int64_t pieces = 0;
    for (const auto& [item, n] : content) {
        cut += static_cast<std::int64_t>(n) * instance.items[item].length;
        pieces += n;
    }
    return std::max<std::int64_t>(0, stockLength - cut - pieces * instance.kerf);
}

void addUse(std::vector<StockUse>& uses, std::int64_t length, std::int64_t count) {
    for (StockUse& use : uses) {
        if (use.length == length) {
            use.count += count;
            return;
        }
    }
    uses.push_back({length, count});
}

} // namespace

GroupPlan assemble(const CuttingList& list, const Steel& steel, const Instance& instance,
                   const Solution& solution) {
    return assemble(list.pieces(), steel, list.codeOf(steel), instance, solution);
}

GroupPlan assemble(std::span<const Piece> pieces, const Steel& steel, const std::string& code,
                   const Instance& instance, const Solution& solution) {
    std::map<std::int64_t, std::size_t> itemOf;
    for (std::size_t i = 0; i < instance.items.size(); ++i) {
        itemOf[instance.items[i].length] = i;
    }
    std::vector<std::deque<MarkRun>> marks(instance.items.size());
    for (const Piece& piece : pieces) {
        if (piece.steel == steel) {
            marks[itemOf.at(piece.length)].push_back({piece.mark, piece.count});
        }
    }

    GroupPlan group;
    group.steel = steel;
    group.code = code;
    for (const BarPattern& bar : solution.patterns) {
        const Stock& stock = instance.stocks[bar.stock];
        // The bars of this pattern, each with its cuts in order; marks go position by position.
        std::vector<std::int64_t> lengths;
        std::vector<std::uint32_t> items;
        for (const auto& [item, n] : bar.content) {
            for (std::uint32_t k = 0; k < n; ++k) {
                lengths.push_back(instance.items[item].length);
                items.push_back(item);
            }
        }
        // Each position is a sequence of (mark, bars) runs over the pattern's bars; the bars
        // split wherever any position changes mark.
        std::vector<std::vector<std::pair<std::string, std::int64_t>>> positions(items.size());
        std::vector<std::int64_t> breaks{0, bar.count};
        for (std::size_t pos = 0; pos < items.size(); ++pos) {
            std::int64_t need = bar.count;
            std::int64_t at = 0;
            auto& queue = marks[items[pos]];
            while (need > 0) {
                MarkRun& run = queue.front();
                const std::int64_t take = std::min(need, run.left);
                positions[pos].emplace_back(run.mark, take);
                need -= take;
                at += take;
                run.left -= take;
                if (run.left == 0) {
                    queue.pop_front();
                }
                breaks.push_back(at);
            }
        }
        std::ranges::sort(breaks);
        breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());

        const std::int64_t remnant = remnantOf(instance, stock.length, bar.content);
        for (std::size_t b = 0; b + 1 < breaks.size(); ++b) {
            Pattern pattern;
            pattern.stock = stock.length;
            pattern.offcut = stock.offcut;
            pattern.count = breaks[b + 1] - breaks[b];
            pattern.remnant = remnant;
            pattern.reusable = remnant > 0 && remnant >= instance.keep;
            for (std::size_t pos = 0; pos < items.size(); ++pos) {
                std::int64_t at = 0;
                for (const auto& [mark, bars] : positions[pos]) {
                    if (breaks[b] < at + bars) {
                        pattern.cuts.push_back({mark, lengths[pos]});
                        break;
                    }
                    at += bars;
                }
            }
            group.patterns.push_back(std::move(pattern));
        }

        const std::int64_t steel = stock.length * bar.count;
        if (stock.offcut) {
            addUse(group.offcutsUsed, stock.length, bar.count);
            group.offcutMm += steel;
        } else {
            addUse(group.bought, stock.length, bar.count);
            group.stockMm += steel;
        }
        for (std::size_t pos = 0; pos < items.size(); ++pos) {
            group.piecesMm += lengths[pos] * bar.count;
        }
        group.pieces += static_cast<std::int64_t>(items.size()) * bar.count;
        if (remnant > 0 && remnant >= instance.keep) {
            addUse(group.remnants, remnant, bar.count);
            group.remnantMm += remnant * bar.count;
        }
    }

    // New bars first, the longest stock first and the most used pattern first; then offcuts.
    std::ranges::stable_sort(group.patterns, [](const Pattern& a, const Pattern& b) {
        if (a.offcut != b.offcut) {
            return !a.offcut;
        }
        if (a.stock != b.stock) {
            return a.stock > b.stock;
        }
        return a.count > b.count;
    });
    const auto longestFirst = [](const StockUse& a, const StockUse& b) {
        return a.length > b.length;
    };
    std::ranges::sort(group.bought, longestFirst);
    std::ranges::sort(group.offcutsUsed, longestFirst);
    std::ranges::sort(group.remnants, longestFirst);

    group.wasteMm = group.stockMm + group.offcutMm - group.piecesMm - group.remnantMm;
    const std::int64_t used = group.stockMm + group.offcutMm;
    group.utilisation =
        used > 0 ? static_cast<double>(group.piecesMm) / static_cast<double>(used) : 0.0;
    group.piecesKg = weightKg(steel, group.piecesMm);
    group.stockKg = weightKg(steel, group.stockMm);
    return group;
}

} // namespace plan
