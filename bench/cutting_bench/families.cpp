#include "families.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <random>
#include <set>
#include <stdexcept>

namespace bench {
namespace {

using plan::Instance;
using plan::Item;
using plan::Stock;
using Random = std::mt19937_64;

std::int64_t uniform(Random& random, std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random);
}

// g++ 12 warns falsely (-Wrestrict) on chains of string additions; a formatted name avoids them.
template <typename... Args>
std::string label(const char* format, Args... args) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

Instance binPacking(std::int64_t capacity, const std::vector<std::int64_t>& sizes) {
    std::vector<Item> items;
    for (const std::int64_t size : sizes) {
        items.push_back({size, 1});
    }
    return plan::makeInstance(std::move(items), {{capacity, capacity, -1, false}});
}

// Falkenauer's uniform class: capacity 150, sizes 20…100.
std::vector<Case> uniformItems(Random& random, int count) {
    std::vector<Case> cases;
    for (const int n : {120, 250, 500, 1000}) {
        for (int k = 0; k < count; ++k) {
            std::vector<std::int64_t> sizes;
            for (int i = 0; i < n; ++i) {
                sizes.push_back(uniform(random, 20, 100));
            }
            cases.push_back({"uniform", label("u%d_%d", n, k), binPacking(150, sizes)});
        }
    }
    return cases;
}

// Falkenauer's triplets: every bin of the optimum holds three items that fill it exactly.
std::vector<Case> triplets(Random& random, int count) {
    std::vector<Case> cases;
    for (const int bins : {20, 40, 83, 167}) {
        for (int k = 0; k < count; ++k) {
            std::vector<std::int64_t> sizes;
            for (int b = 0; b < bins; ++b) {
                const std::int64_t first = uniform(random, 380, 490);
                const std::int64_t second =
                    uniform(random, std::max<std::int64_t>(250, 500 - first), 750 - first);
                sizes.insert(sizes.end(), {first, second, 1000 - first - second});
            }
            std::ranges::shuffle(sizes, random);
            cases.push_back({"triplets", label("t%d_%d", 3 * bins, k), binPacking(1000, sizes)});
        }
    }
    return cases;
}

// Scholl-like: small capacities with sizes of 10–50 % of the bin; capacity 1000 with sizes
// around a ninth to a third of it; and capacity 100,000 with sizes of 20–35 %.
std::vector<Case> scholl(Random& random, int count) {
    std::vector<Case> cases;
    for (const std::int64_t capacity : {100, 120, 150}) {
        for (const int n : {50, 100, 200, 500}) {
            for (int k = 0; k < count; ++k) {
                std::vector<std::int64_t> sizes;
                for (int i = 0; i < n; ++i) {
                    sizes.push_back(uniform(random, capacity / 10, capacity / 2));
                }
                cases.push_back({"scholl",
                                 label("s1_c%lld_n%d_%d", static_cast<long long>(capacity), n, k),
                                 binPacking(capacity, sizes)});
            }
        }
    }
    for (const int per : {3, 5, 7, 9}) {
        for (const int n : {50, 100, 200, 500}) {
            for (int k = 0; k < count; ++k) {
                const std::int64_t mean = 1000 / per;
                std::vector<std::int64_t> sizes;
                for (int i = 0; i < n; ++i) {
                    sizes.push_back(uniform(random, mean * 8 / 10, mean * 12 / 10));
                }
                cases.push_back(
                    {"scholl", label("s2_w%d_n%d_%d", per, n, k), binPacking(1000, sizes)});
            }
        }
    }
    for (int k = 0; k < 2 * count; ++k) {
        std::vector<std::int64_t> sizes;
        for (int i = 0; i < 200; ++i) {
            sizes.push_back(uniform(random, 20'000, 35'000));
        }
        cases.push_back({"scholl", label("s3_%d", k), binPacking(100'000, sizes)});
    }
    return cases;
}

// In the manner of Wäscher and Gau's hard instances: capacity 10,000, 57–239 items of many
// different sizes, most of them wanted once or twice.
std::vector<Case> waescher(Random& random, int count) {
    std::vector<Case> cases;
    for (int k = 0; k < count; ++k) {
        const auto n = static_cast<int>(uniform(random, 57, 239));
        std::vector<Item> items;
        int made = 0;
        while (made < n) {
            // Two to six pieces a bar, every bar a different mix: first-fit rarely closes such
            // bars, and the linear programme has many patterns of nearly the same worth.
            const std::int64_t size = uniform(random, 1500, 5000);
            const std::int64_t demand =
                std::min<std::int64_t>(n - made, uniform(random, 0, 4) == 0 ? 2 : 1);
            items.push_back({size, demand});
            made += static_cast<int>(demand);
        }
        cases.push_back({"waescher", label("w%d", k),
                         plan::makeInstance(std::move(items), {{10'000, 10'000, -1, false}})});
    }
    return cases;
}

// A bar bender's lists: 9 m and 12 m stock; many short pieces (stirrups, ties), some middle,
// few near the stock length; counts spread from 1 to 500; some with yard offcuts or a kerf.
std::vector<Case> rebar(Random& random, int count) {
    std::vector<Case> cases;
    for (int k = 0; k < count; ++k) {
        const auto types = static_cast<int>(uniform(random, 5, 300));
        std::vector<Item> items;
        for (int t = 0; t < types; ++t) {
            const std::int64_t band = uniform(random, 1, 10);
            const std::int64_t length = band <= 6   ? uniform(random, 300, 3000)
                                        : band <= 9 ? uniform(random, 3000, 9000)
                                                    : uniform(random, 9000, 11'900);
            const double logCount =
                std::uniform_real_distribution<double>(0, std::log(500.5))(random);
            items.push_back({length, std::max<std::int64_t>(1, std::llround(std::exp(logCount)))});
        }
        std::vector<Stock> stocks{{9000, 9000, -1, false}, {12'000, 12'000, -1, false}};
        const int variant = k % 4; // plain, offcuts, kerf, both
        if (variant == 1 || variant == 3) {
            const auto lengths = uniform(random, 1, 20);
            for (int o = 0; o < lengths; ++o) {
                stocks.push_back({uniform(random, 1000, 8000), 0, uniform(random, 1, 10), true});
            }
        }
        const std::int64_t kerf = variant >= 2 ? 3 : 0;
        static constexpr const char* kVariants[] = {"plain", "offcuts", "kerf", "offcuts+kerf"};
        cases.push_back({"rebar", label("r%d_%d_%s", k, types, kVariants[variant]),
                         plan::makeInstance(std::move(items), std::move(stocks), kerf, 500)});
    }
    return cases;
}

// A perfect packing in the manner of Delorme, Iori and Martello's "augmented IRUP" class: bars
// of `capacity` each split exactly into three pieces of a quarter to a half of it (the last bar
// into two when `n` is not a multiple of three), nearly all sizes different, so that the
// optimum is the number of bars by construction and the linear bound meets it, yet first-fit
// and the rounding of the linear programme rarely find it.
std::vector<std::int64_t> perfectPacking(Random& random, int n, std::int64_t capacity) {
    std::vector<std::int64_t> sizes;
    std::set<std::int64_t> used;
    const std::int64_t quarter = capacity / 4 + 1;
    const std::int64_t half = (capacity - 1) / 2;
    while (static_cast<int>(sizes.size()) + 3 <= n) {
        const std::int64_t first = uniform(random, quarter, half);
        const std::int64_t low = std::max(quarter, capacity - half - first);
        const std::int64_t high = std::min(half, capacity - quarter - first);
        if (low > high) {
            continue;
        }
        const std::int64_t second = uniform(random, low, high);
        const std::int64_t third = capacity - first - second;
        if (used.contains(first) || used.contains(second) || used.contains(third) ||
            first == second || second == third || first == third) {
            continue;
        }
        used.insert({first, second, third});
        sizes.insert(sizes.end(), {first, second, third});
    }
    while (static_cast<int>(sizes.size()) < n) {
        const std::int64_t first = uniform(random, quarter, half);
        if (!used.contains(first) && !used.contains(capacity - first)) {
            used.insert({first, capacity - first});
            sizes.insert(sizes.end(), {first, capacity - first});
        }
    }
    return sizes;
}

// The bars of the literature's classes for their sizes: 201 or 202 pieces on 2,500, 402 or 403
// on 10,000. Every piece is then one of about 625 (or 2,500) lengths, and each lies in some 27
// triples that fill a bar, so that a list has many perfect packings; the linear programme has
// even more fractional ones, among which its dives keep ending a bar short.
std::int64_t literatureCapacity(int n) {
    return n <= 202 ? 2'500 : 10'000;
}

// Bars about ten times as long for their pieces: each piece lies in some 4 (200 pieces) or 7
// (400 pieces) full triples, and the packing the pieces were made from is nearly always the
// only one. Finding it is an exact cover of the pieces by about 1,000 triples with a single
// solution, far harder than the literature's classes.
std::int64_t longCapacity(int n) {
    return n <= 201 ? 20'000 : 40'000;
}

// Perfect packings of `n` pieces on bars of `capacityOf(n)`, for each n of `sizes`.
template <typename CapacityOf>
std::vector<Case> augmentedIrup(Random& random, int count, const char* family,
                                std::initializer_list<int> sizes, CapacityOf capacityOf) {
    std::vector<Case> cases;
    for (const int n : sizes) {
        for (int k = 0; k < count; ++k) {
            const std::int64_t capacity = capacityOf(n);
            std::vector<std::int64_t> sizesOf = perfectPacking(random, n, capacity);
            std::ranges::shuffle(sizesOf, random);
            cases.push_back({family, label("%s%d_%d", family, n, k), binPacking(capacity, sizesOf),
                             (n + 2) / 3 * capacity});
        }
    }
    return cases;
}

// The long perfect packings with one piece of one bar a millimetre longer and one piece of
// another bar a millimetre shorter. The total is still a whole number of bars, so the linear
// bound is that number or close above it, but the packing the pieces were made from no longer
// fits: whether another perfect packing exists is not known by construction, so the benchmark
// reports only how far above its bound each plan ends.
std::vector<Case> perturbed(Random& random, int count) {
    std::vector<Case> cases;
    for (const int n : {200, 400}) {
        for (int k = 0; k < count; ++k) {
            const std::int64_t capacity = longCapacity(n);
            std::vector<std::int64_t> sizes = perfectPacking(random, n, capacity);
            // Pieces 0…2 are one bar and 3…5 the next; the longest of the first grows, the
            // shortest of the second shrinks, so that each stays within a quarter and a half.
            const auto longest = std::max_element(sizes.begin(), sizes.begin() + 3);
            const auto shortest = std::min_element(sizes.begin() + 3, sizes.begin() + 6);
            *longest += 1;
            *shortest -= 1;
            std::ranges::shuffle(sizes, random);
            cases.push_back(
                {"perturbed", label("perturbed%d_%d", n, k), binPacking(capacity, sizes), 0});
        }
    }
    return cases;
}

// Non-IRUP by construction, as the "augmented non-IRUP" class is built: a small instance whose
// optimum is a bar above its linear bound, hidden among the pieces of a perfect packing. The
// small one is the Petersen graph's: a piece for each of its 15 edges, uv as long as w_u + w_v,
// so that each perfect matching (five edges meeting every vertex once) fills a bar exactly, and
// nothing else of the edges alone does (checked below). Six perfect matchings cover every edge
// twice: half a bar of each gives the linear bound of 3 bars. Three full bars would be three
// disjoint perfect matchings, a colouring of the edges in three colours, which the Petersen
// graph does not have: it takes 4.
//
// The lengths are chosen so that no full bar mixes the two kinds: packing pieces are 4 and
// edges 1 modulo 7, the bar 5. j packing pieces (between a quarter and a half of the bar) and
// s edges (between an eighth and a quarter) fill a bar only if 4j + s ≡ 5 (mod 7); of those
// pairs only (3, 0) and (0, 5) are neither too short nor too long. A plan at the bound has every
// bar full, so it would have to cut the edges three perfect matchings to the bar: the optimum is
// the packing's bars and four more, a bar above the bound.
//
// The 15 edges and 186 or 387 packing pieces make the literature's 201 and 402. The packing's
// lengths t, before they become 7t + 4, are a perfect packing on a bar of (capacityOf(n) − 12)
// / 7: on the literature's bar for "ani" (17,512 and 70,012 mm in all), on 2,855 and 5,712 for
// "petersen" (19,997 and 39,996 mm), where the 387 pieces make denser triples.
template <typename CapacityOf>
std::vector<Case> petersenNonIrup(Random& random, int count, const char* family, const char* prefix,
                                  CapacityOf capacityOf) {
    std::vector<std::pair<int, int>> edges;
    for (int i = 0; i < 5; ++i) {
        edges.emplace_back(i, (i + 1) % 5);         // the outer cycle
        edges.emplace_back(i, i + 5);               // the spokes
        edges.emplace_back(i + 5, (i + 2) % 5 + 5); // the inner pentagram
    }
    constexpr std::int64_t kModulus = 7;
    std::vector<Case> cases;
    for (const int n : {201, 402}) {
        // Bar 7c + 12 (5 mod 7): three packing pieces 7t + 4 whose t sum to c fill it.
        const std::int64_t reduced = (capacityOf(n) - 12) / kModulus;
        const std::int64_t capacity = kModulus * reduced + 12;
        for (int k = 0; k < count; ++k) {
            std::vector<std::int64_t> sizes;
            for (const std::int64_t t : perfectPacking(random, n - 15, reduced)) {
                sizes.push_back(kModulus * t + 4);
            }
            // Vertex weights 4 mod 7 (edges 1 mod 7) summing to the bar, each between 0.08 and
            // 0.12 of it, so that every edge lies between an eighth and a quarter.
            std::vector<std::int64_t> weight(10);
            for (bool found = false; !found;) {
                const std::int64_t low = (capacity * 8 / 100 - 4) / kModulus + 1;
                const std::int64_t high = (capacity * 12 / 100 - 4) / kModulus;
                std::int64_t rest = (capacity - 40) / kModulus;
                for (int v = 0; v < 9; ++v) {
                    const std::int64_t r = uniform(random, low, high);
                    weight[static_cast<std::size_t>(v)] = kModulus * r + 4;
                    rest -= r;
                }
                weight[9] = kModulus * rest + 4;
                found = rest >= low && rest <= high;
                // Five edges fill the bar only if they are a perfect matching.
                for (int mask = 0; found && mask < (1 << 15); ++mask) {
                    if (std::popcount(static_cast<unsigned>(mask)) != 5) {
                        continue;
                    }
                    std::int64_t sum = 0;
                    std::array<int, 10> degree{};
                    for (std::size_t e = 0; e < edges.size(); ++e) {
                        if ((mask >> e) & 1) {
                            const auto [u, v] = edges[e];
                            sum += weight[static_cast<std::size_t>(u)] +
                                   weight[static_cast<std::size_t>(v)];
                            ++degree[static_cast<std::size_t>(u)];
                            ++degree[static_cast<std::size_t>(v)];
                        }
                    }
                    found = sum != capacity ||
                            std::ranges::all_of(degree, [](int d) { return d == 1; });
                }
            }
            for (const auto& [u, v] : edges) {
                sizes.push_back(weight[static_cast<std::size_t>(u)] +
                                weight[static_cast<std::size_t>(v)]);
            }
            std::ranges::shuffle(sizes, random);
            cases.push_back({family, label("%s%d_%d", prefix, n, k), binPacking(capacity, sizes),
                             ((n - 15) / 3 + 4) * capacity});
        }
    }
    return cases;
}
} // namespace

std::vector<plan::PieceRow> building(std::uint64_t seed, int rows, std::int64_t pieces) {
    Random random(seed);
    // Stirrups and ties in the small diameters, main bars in the large ones.
    struct Kind {
        const char* diameter;
        std::int64_t shortest;
        std::int64_t longest;
    };
    static constexpr Kind kKinds[] = {
        {"6", 600, 2400},    {"8", 800, 3200},    {"10", 900, 4500},   {"12", 1200, 9000},
        {"14", 1500, 11900}, {"16", 1800, 11900}, {"18", 2000, 11900}, {"20", 2000, 11900},
        {"22", 2500, 11900}, {"25", 2500, 11900}, {"28", 3000, 11900}, {"32", 3000, 11900},
    };
    static constexpr const char* kMembers[] = {"KL", "KZ", "LL", "B", "JC", "QL", "GZ", "WKL"};
    std::vector<std::int64_t> counts(static_cast<std::size_t>(rows), 1);
    for (std::int64_t left = pieces - rows; left > 0; --left) {
        counts[static_cast<std::size_t>(uniform(random, 0, rows - 1))] += 1;
    }
    std::vector<plan::PieceRow> list;
    for (int r = 0; r < rows; ++r) {
        const Kind& kind = kKinds[uniform(random, 0, 11)];
        // Lengths as the calculator gives them: mostly whole, some with a decimal part.
        std::int64_t length = uniform(random, kind.shortest, kind.longest);
        std::string text = std::to_string(length);
        if (uniform(random, 0, 5) == 0) {
            text.append(label(".%d", static_cast<int>(uniform(random, 1, 99))));
        }
        list.push_back({label("%s%d-%d", kMembers[uniform(random, 0, 7)],
                              static_cast<int>(uniform(random, 1, 30)), r % 9 + 1),
                        kind.diameter, text, std::to_string(counts[static_cast<std::size_t>(r)]),
                        r + 2});
    }
    return list;
}

std::vector<std::string> familyNames() {
    return {"uniform", "triplets", "scholl",  "waescher", "rebar",
            "ai",      "ani",      "ai-long", "petersen", "perturbed"};
}

std::vector<Case> generate(const std::string& family, std::uint64_t seed, int count) {
    // The long packings and their twins were first called ai, petersen and ani: they still draw
    // from those names' streams, so that a seed makes the same lists as before.
    const std::map<std::string, std::string> formerly{{"ai-long", "ai"}, {"perturbed", "ani"}};
    const auto renamed = formerly.find(family);
    const std::string stream =
        renamed != formerly.end()
            ? renamed->second
            : family + (family == "ai" || family == "ani" ? "-literature" : "");
    Random random(seed ^ std::hash<std::string>{}(stream));
    const auto literature = [](int n) {
        return literatureCapacity(n);
    };
    const auto longer = [](int n) {
        return longCapacity(n);
    };
    // The packing's lengths are seven times those of a packing on the literature's bar, plus 4.
    const auto sevenfold = [](int n) {
        return 7 * literatureCapacity(n) + 12;
    };
    if (family == "uniform") {
        return uniformItems(random, count > 0 ? count : 20);
    }
    if (family == "triplets") {
        return triplets(random, count > 0 ? count : 20);
    }
    if (family == "scholl") {
        return scholl(random, count > 0 ? count : 3);
    }
    if (family == "waescher") {
        return waescher(random, count > 0 ? count : 17);
    }
    if (family == "rebar") {
        return rebar(random, count > 0 ? count : 200);
    }
    if (family == "ai") {
        return augmentedIrup(random, count > 0 ? count : 10, "ai", {201, 402}, literature);
    }
    if (family == "ani") {
        return petersenNonIrup(random, count > 0 ? count : 10, "ani", "ani", sevenfold);
    }
    if (family == "ai-long") {
        return augmentedIrup(random, count > 0 ? count : 10, "ai-long", {200, 400}, longer);
    }
    if (family == "petersen") {
        return petersenNonIrup(random, count > 0 ? count : 10, "petersen", "pn", longer);
    }
    if (family == "perturbed") {
        return perturbed(random, count > 0 ? count : 10);
    }
    throw std::invalid_argument("unknown family: " + family);
}

} // namespace bench
