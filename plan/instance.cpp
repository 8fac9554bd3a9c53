#include "plan/instance.h"

#include <algorithm>
#include <map>

namespace plan {

std::int64_t Instance::pieces() const {
    std::int64_t n = 0;
    for (const Item& item : items) {
        n += item.demand;
    }
    return n;
}

Instance makeInstance(std::vector<Item> items, std::vector<Stock> stocks, std::int64_t kerf,
                      std::int64_t keep) {
    std::map<std::int64_t, std::int64_t, std::greater<>> byLength;
    for (const Item& item : items) {
        if (item.demand > 0) {
            byLength[item.length] += item.demand;
        }
    }
    Instance instance;
    instance.kerf = kerf;
    instance.keep = keep;
    for (const auto& [length, demand] : byLength) {
        instance.items.push_back({length, demand});
    }
    const std::int64_t shortest = byLength.empty() ? 0 : byLength.rbegin()->first;

    // Offcuts of one length are merged; new lengths come first, each group longest first.
    std::map<std::int64_t, std::int64_t, std::greater<>> offcuts;
    std::vector<Stock> bought;
    for (const Stock& stock : stocks) {
        if (stock.offcut) {
            if (stock.length >= shortest && stock.available > 0) {
                offcuts[stock.length] += stock.available;
            }
        } else {
            bought.push_back(stock);
        }
    }
    std::ranges::sort(bought, std::greater<>{}, &Stock::length);
    instance.stocks = std::move(bought);
    for (const auto& [length, available] : offcuts) {
        instance.stocks.push_back({length, 0, available, true});
    }
    return instance;
}

Instance makeInstance(const CuttingList& list, const Steel& steel) {
    std::vector<Item> items;
    for (const Piece& piece : list.pieces()) {
        if (piece.steel == steel) {
            items.push_back({piece.length, piece.count});
        }
    }
    std::vector<Stock> stocks;
    for (const std::int64_t length : list.settings().stockLengths) {
        stocks.push_back({length, length, -1, false});
    }
    for (const Offcut& offcut : list.offcuts()) {
        if (offcut.steel == steel) {
            stocks.push_back({offcut.length, 0, offcut.count, true});
        }
    }
    return makeInstance(std::move(items), std::move(stocks), list.settings().kerf,
                        list.settings().keep);
}

} // namespace plan
