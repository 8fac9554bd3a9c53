// The pricing problem and the master against brute force on small random cases: a wrong
// pricing answer makes a wrong bound, which would call a plan optimal that is not.
#include "plan/knapsack.h"
#include "plan/knapsack_search.h"
#include "plan/master.h"

#include <functional>
#include <random>

#include <gtest/gtest.h>

namespace {

using Random = std::mt19937_64;

struct Case {
    std::vector<plan::PricingItem> items;
    std::int64_t capacity;
};

Case randomCase(std::uint64_t seed) {
    Random random(seed);
    const auto pick = [&random](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(random);
    };
    Case c;
    c.capacity = pick(5, 60);
    for (int i = 0; i < pick(1, 7); ++i) {
        // Profits on a coarse grid, so that ties between contents are common.
        c.items.push_back({pick(1, 25), static_cast<double>(pick(0, 8)) / 4.0, pick(0, 5)});
    }
    return c;
}

// Every content, by enumeration: the best worth and how many contents reach it.
double bruteBest(const Case& c, std::int64_t capacity, const std::set<plan::Content>& excluded) {
    double best = 0;
    plan::Content content;
    std::function<void(std::size_t, std::int64_t, double)> walk = [&](std::size_t k,
                                                                      std::int64_t room,
                                                                      double value) {
        if (k == c.items.size()) {
            if (!excluded.contains(content)) {
                best = std::max(best, value);
            }
            return;
        }
        const plan::PricingItem& item = c.items[k];
        for (std::int64_t n = 0; n <= item.bound && n * item.weight <= room; ++n) {
            if (n > 0) {
                content.emplace_back(static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(n));
            }
            walk(k + 1, room - n * item.weight, value + static_cast<double>(n) * item.profit);
            if (n > 0) {
                content.pop_back();
            }
        }
    };
    walk(0, capacity, 0.0);
    return best;
}

double worth(const Case& c, const plan::Content& content, std::int64_t& weight) {
    double value = 0;
    weight = 0;
    for (const auto& [item, n] : content) {
        value += c.items[item].profit * n;
        weight += c.items[item].weight * n;
        EXPECT_LE(static_cast<std::int64_t>(n), c.items[item].bound);
    }
    return value;
}

class Pricing : public testing::TestWithParam<std::uint64_t> {};

TEST_P(Pricing, TableIsExactForEveryCapacity) {
    const Case c = randomCase(GetParam());
    plan::KnapsackTable table;
    table.solve(c.items, c.capacity);
    for (std::int64_t capacity = 0; capacity <= c.capacity; ++capacity) {
        SCOPED_TRACE(testing::Message() << "capacity " << capacity);
        const double best = bruteBest(c, capacity, {});
        EXPECT_DOUBLE_EQ(table.best(capacity), best);
        std::int64_t weight = 0;
        EXPECT_DOUBLE_EQ(worth(c, table.pattern(capacity), weight), best);
        EXPECT_LE(weight, capacity);
    }
}

TEST_P(Pricing, SearchFindsTheBestContentNotExcluded) {
    const Case c = randomCase(GetParam());
    plan::KnapsackTable table;
    table.solve(c.items, c.capacity);
    // Exclude the table's answer and, every other seed, the search's next answer as well.
    std::set<plan::Content> excluded{table.pattern(c.capacity)};
    for (int round = 0; round < 2; ++round) {
        const plan::SearchResult found =
            plan::bestContent(c.items, c.capacity, excluded, 1'000'000);
        ASSERT_TRUE(found.complete);
        EXPECT_DOUBLE_EQ(found.value, bruteBest(c, c.capacity, excluded));
        EXPECT_TRUE(found.content.empty() || !excluded.contains(found.content));
        excluded.insert(found.content);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Pricing, testing::Range<std::uint64_t>(1, 301));

TEST(Master, DualsPriceEveryColumnAfterColumnsAreAdded) {
    // Columns arrive in rounds, as column generation adds them; after each solve no column
    // that could still enter may price out negative, or the duals are those of an old basis.
    Random random(7);
    std::vector<plan::Item> items;
    for (int i = 0; i < 12; ++i) {
        items.push_back({std::uniform_int_distribution<std::int64_t>(200, 5000)(random),
                         std::uniform_int_distribution<std::int64_t>(1, 30)(random)});
    }
    const plan::Instance instance =
        plan::makeInstance(items, {{9000, 9000, -1, false}, {12000, 12000, -1, false}});
    plan::Master master(instance);
    std::vector<plan::Column> singles;
    for (std::uint32_t i = 0; i < instance.items.size(); ++i) {
        singles.push_back({0, {{i, 1}}});
    }
    master.add(singles);
    plan::KnapsackTable table;
    for (int round = 0; round < 40; ++round) {
        ASSERT_TRUE(master.solve());
        for (std::size_t j = 0; j < master.size(); ++j) {
            if (master.values()[j] < master.upper(j)) {
                EXPECT_GE(master.reducedCost(j), -1e-7) << "round " << round << " column " << j;
            }
        }
        std::vector<plan::PricingItem> pricing;
        for (std::size_t i = 0; i < instance.items.size(); ++i) {
            pricing.push_back(
                {instance.weight(i), std::max(master.itemDual(i), 0.0), instance.items[i].demand});
        }
        table.solve(pricing, instance.capacity(1));
        std::vector<plan::Column> fresh;
        for (std::uint32_t s = 0; s < 2; ++s) {
            fresh.push_back({s, table.pattern(instance.capacity(s))});
        }
        if (master.add(fresh) == 0) {
            break;
        }
    }
    EXPECT_EQ(master.repairs(), 0);
}

} // namespace
