#include "plan/subset_row.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace plan {
namespace {

// A cut violated by less than this is not worth a row: the bound would hardly move.
constexpr double kViolation = 1e-3;
constexpr double kTiny = 1e-9;

std::uint32_t countOf(const Content& content, std::uint32_t item) {
    const auto it = std::ranges::lower_bound(content, item, {},
                                             &std::pair<std::uint32_t, std::uint32_t>::first);
    return it != content.end() && it->first == item ? it->second : 0;
}

} // namespace

std::int64_t SubsetRow::coefficient(const Content& content) const {
    std::int64_t sum = 0;
    for (const std::uint32_t i : items) {
        sum += countOf(content, i);
    }
    return sum / 2;
}

std::int64_t SubsetRow::rhs(std::span<const std::int64_t> demand) const {
    std::int64_t sum = 0;
    for (const std::uint32_t i : items) {
        sum += demand[i];
    }
    return sum / 2;
}

std::vector<SubsetRow> separate(std::size_t items, std::span<const SupportColumn> support,
                                std::span<const std::int64_t> demand,
                                std::span<const SubsetRow> known, std::size_t limit) {
    // Per item, the columns that cut it and how often: a triple's left side only needs the
    // columns of its three items, merged.
    struct Entry {
        std::uint32_t column;
        std::uint32_t count;
    };
    std::vector<std::vector<Entry>> uses(items);
    for (std::uint32_t p = 0; p < support.size(); ++p) {
        if (support[p].value <= kTiny) {
            continue;
        }
        for (const auto& [item, n] : *support[p].content) {
            uses[item].push_back({p, n});
        }
    }
    // Only pieces cut in some fractional column can take part in a violated cut.
    std::vector<std::uint32_t> candidates;
    for (std::uint32_t i = 0; i < items; ++i) {
        const bool fractional = std::ranges::any_of(uses[i], [&](const Entry& e) {
            const double x = support[e.column].value;
            return x - std::floor(x + kTiny) > kTiny;
        });
        if (fractional && demand[i] > 0) {
            candidates.push_back(i);
        }
    }
    const std::set<SubsetRow> seen(known.begin(), known.end());
    std::vector<std::pair<double, SubsetRow>> found;
    std::vector<std::uint32_t> touched;
    std::vector<std::uint32_t> sums(support.size(), 0);
    for (std::size_t a = 0; a < candidates.size(); ++a) {
        for (std::size_t b = a + 1; b < candidates.size(); ++b) {
            const std::uint32_t i = candidates[a];
            const std::uint32_t j = candidates[b];
            // The pair's share of the left side first, then each third piece's.
            touched.clear();
            for (const std::uint32_t item : {i, j}) {
                for (const Entry& e : uses[item]) {
                    if (sums[e.column] == 0) {
                        touched.push_back(e.column);
                    }
                    sums[e.column] += e.count;
                }
            }
            double pair = 0;
            for (const std::uint32_t p : touched) {
                pair += static_cast<double>(sums[p] / 2) * support[p].value;
            }
            for (std::size_t c = b + 1; c < candidates.size(); ++c) {
                const std::uint32_t k = candidates[c];
                const SubsetRow cut{{i, j, k}};
                const double right = static_cast<double>(cut.rhs(demand));
                double left = pair;
                for (const Entry& e : uses[k]) {
                    const std::uint32_t before = sums[e.column];
                    left += static_cast<double>((before + e.count) / 2 - before / 2) *
                            support[e.column].value;
                }
                if (left > right + kViolation && !seen.contains(cut)) {
                    found.emplace_back(left - right, cut);
                }
            }
            for (const std::uint32_t p : touched) {
                sums[p] = 0;
            }
        }
    }
    std::ranges::sort(found, [](const auto& x, const auto& y) {
        return x.first > y.first || (x.first == y.first && x.second < y.second);
    });
    std::vector<SubsetRow> cuts;
    // No piece in more than a few of the cuts of one round: many cuts through one piece raise
    // the bound little more than one does and make the pricing slower.
    std::vector<int> through(items, 0);
    constexpr int kPerItem = 3;
    for (const auto& [violation, cut] : found) {
        if (cuts.size() >= limit) {
            break;
        }
        if (std::ranges::any_of(cut.items,
                                [&](std::uint32_t i) { return through[i] >= kPerItem; })) {
            continue;
        }
        for (const std::uint32_t i : cut.items) {
            ++through[i];
        }
        cuts.push_back(cut);
    }
    return cuts;
}

} // namespace plan
