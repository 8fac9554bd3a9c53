#include "plan/enumeration.h"

#include <algorithm>

namespace plan {
namespace {

// Above this many cells of the completion table (4 bytes each, 80 MB at most) listing is not
// tried. Filling it stops between rows when the budget runs out.
constexpr double kMaxCells = 2e7;
constexpr double kDualTolerance = 1e-6;

// A listing's leaf: the pieces chosen, as a pattern of `stock`, unless none is. False once
// there are more than `limit` patterns or the budget has run out: the listing then stops.
bool emit(std::span<const std::uint32_t> chosen, std::uint32_t stock, std::vector<Column>& out,
          std::size_t limit, const Budget& budget) {
    Content content;
    for (std::uint32_t i = 0; i < chosen.size(); ++i) {
        if (chosen[i] > 0) {
            content.emplace_back(i, chosen[i]);
        }
    }
    if (!content.empty()) {
        out.push_back({stock, std::move(content)});
    }
    return out.size() <= limit && !(out.size() % 1024 == 0 && budget.expired());
}

class Lister {
public:
    Lister(const Instance& instance, std::span<const double> profit, std::size_t limit,
           const Budget& budget)
        : instance_(instance), profit_(profit), limit_(limit), budget_(budget) {}

    // Fills best_[k][c]: the most items k… can be worth in capacity c; false if the budget ran
    // out first.
    bool prepare(std::int64_t capacity) {
        n_ = instance_.items.size();
        width_ = static_cast<std::size_t>(capacity) + 1;
        // Worked out in double precision and kept in single, rounded up so that it never
        // prunes a content worth listing; the last row is exactly zero, so that no content worth
        // less than the threshold is listed either.
        best_.assign((n_ + 1) * width_, 0.0F);
        std::vector<double> next(width_, 0.0);
        std::vector<double> row(width_, 0.0);
        for (std::size_t k = n_; k-- > 0;) {
            if (budget_.expired()) {
                return false;
            }
            const auto w = static_cast<std::size_t>(instance_.weight(k));
            const std::int64_t bound = instance_.items[k].demand;
            for (std::size_t c = 0; c < width_; ++c) {
                double v = next[c];
                if (profit_[k] > 0) {
                    std::size_t room = c;
                    for (std::int64_t m = 1; m <= bound && room >= w; ++m) {
                        room -= w;
                        v = std::max(v, next[room] + static_cast<double>(m) * profit_[k]);
                    }
                }
                row[c] = v;
            }
            float* out = &best_[k * width_];
            for (std::size_t c = 0; c < width_; ++c) {
                out[c] = static_cast<float>(row[c] * (1 + 1e-6) + 1e-9);
            }
            std::swap(next, row);
        }
        return true;
    }

    // Lists the contents of a bar of `capacity` worth at least `threshold`; false if too many.
    bool list(std::uint32_t stock, std::int64_t capacity, double threshold,
              std::vector<Column>& out) {
        stock_ = stock;
        threshold_ = threshold;
        out_ = &out;
        chosen_.assign(n_, 0);
        return dive(0, static_cast<std::size_t>(capacity), 0.0);
    }

private:
    bool dive(std::size_t k, std::size_t room, double value) {
        if (value + static_cast<double>(best_[k * width_ + room]) < threshold_) {
            return true;
        }
        if (k == n_) {
            return emit(chosen_, stock_, *out_, limit_, budget_);
        }
        const auto w = static_cast<std::size_t>(instance_.weight(k));
        const auto most = static_cast<std::uint32_t>(
            std::min<std::int64_t>(instance_.items[k].demand, static_cast<std::int64_t>(room / w)));
        for (std::uint32_t m = most + 1; m-- > 0;) {
            chosen_[k] = m;
            if (!dive(k + 1, room - m * w, value + m * profit_[k])) {
                return false;
            }
        }
        chosen_[k] = 0;
        return true;
    }

    const Instance& instance_;
    std::span<const double> profit_;
    std::size_t limit_;
    const Budget& budget_;
    std::size_t n_ = 0;
    std::size_t width_ = 0;
    std::vector<float> best_;
    std::vector<std::uint32_t> chosen_;
    std::uint32_t stock_ = 0;
    double threshold_ = 0;
    std::vector<Column>* out_ = nullptr;
};

// Above this many bits the table of the lengths the pieces can make is not built (32 MB).
constexpr double kMaxBits = 2.56e8;

// Which lengths the pieces k… can make together, for every k: reach[k] has bit f set when some
// choice of them (each at most as often as wanted) takes exactly f mm. A pattern is then listed
// by choosing, piece after piece, how many of it to cut, and never following a choice after
// which no completion reaches the length wanted: every path ends in a pattern.
class FillingLister {
public:
    FillingLister(const Instance& instance, std::size_t limit, const Budget& budget)
        : instance_(instance), limit_(limit), budget_(budget) {}

    bool prepare(std::int64_t capacity) {
        n_ = instance_.items.size();
        capacity_ = capacity;
        words_ = static_cast<std::size_t>(capacity / 64 + 1);
        reach_.assign((n_ + 1) * words_, 0);
        reach_[n_ * words_] = 1;
        for (std::size_t k = n_; k-- > 0;) {
            if (budget_.expired()) {
                return false;
            }
            const std::uint64_t* next = &reach_[(k + 1) * words_];
            std::uint64_t* row = &reach_[k * words_];
            std::copy(next, next + words_, row);
            // Up to `most` more pieces of this length, as bundles of 1, 2, 4, … pieces: every
            // count up to `most` is a sum of some of them, and no more.
            const std::int64_t w = instance_.weight(k);
            std::int64_t most = std::min(instance_.items[k].demand, capacity / w);
            for (std::int64_t bundle = 1; most > 0; bundle *= 2) {
                const std::int64_t take = std::min(bundle, most);
                orShifted(row, row, static_cast<std::size_t>(take * w));
                most -= take;
            }
            // Nothing past the capacity: the last word's bits beyond it stay clear.
            row[words_ - 1] &= lastWordMask();
        }
        return true;
    }

    bool list(std::uint32_t stock, std::int64_t capacity, std::int64_t least,
              std::vector<Column>& out) {
        stock_ = stock;
        least_ = least;
        out_ = &out;
        chosen_.assign(n_, 0);
        return least > capacity || dive(0, capacity, 0);
    }

private:
    [[nodiscard]] std::uint64_t lastWordMask() const {
        const auto bits = static_cast<unsigned>(capacity_ % 64 + 1);
        return bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
    }

    // row |= next << shift (in bits), within the row's words. `next` may be `row` itself: the
    // words are worked from the top down, each read before it is written.
    void orShifted(std::uint64_t* row, const std::uint64_t* next, std::size_t shift) const {
        const std::size_t whole = shift / 64;
        const unsigned part = shift % 64;
        for (std::size_t i = words_; i-- > whole;) {
            std::uint64_t v = next[i - whole] << part;
            if (part != 0 && i > whole) {
                v |= next[i - whole - 1] >> (64 - part);
            }
            row[i] |= v;
        }
    }

    // Whether pieces k… can make some length from `low` to `high` mm.
    [[nodiscard]] bool reaches(std::size_t k, std::int64_t low, std::int64_t high) const {
        low = std::max<std::int64_t>(low, 0);
        if (low > high) {
            return false;
        }
        const std::uint64_t* row = &reach_[k * words_];
        const auto first = static_cast<std::size_t>(low / 64);
        const auto last = static_cast<std::size_t>(high / 64);
        for (std::size_t i = first; i <= last; ++i) {
            std::uint64_t v = row[i];
            if (i == first) {
                v &= ~std::uint64_t{0} << (low % 64);
            }
            if (i == last && high % 64 != 63) {
                v &= (std::uint64_t{1} << (high % 64 + 1)) - 1;
            }
            if (v != 0) {
                return true;
            }
        }
        return false;
    }

    bool dive(std::size_t k, std::int64_t room, std::int64_t used) {
        if (!reaches(k, least_ - used, room)) {
            return true;
        }
        if (k == n_) {
            return emit(chosen_, stock_, *out_, limit_, budget_);
        }
        const std::int64_t w = instance_.weight(k);
        const auto most = static_cast<std::uint32_t>(std::min(instance_.items[k].demand, room / w));
        for (std::uint32_t m = most + 1; m-- > 0;) {
            chosen_[k] = m;
            if (!dive(k + 1, room - m * w, used + m * w)) {
                return false;
            }
        }
        chosen_[k] = 0;
        return true;
    }

    const Instance& instance_;
    std::size_t limit_;
    const Budget& budget_;
    std::size_t n_ = 0;
    std::int64_t capacity_ = 0;
    std::size_t words_ = 0;
    std::vector<std::uint64_t> reach_;
    std::vector<std::uint32_t> chosen_;
    std::uint32_t stock_ = 0;
    std::int64_t least_ = 0;
    std::vector<Column>* out_ = nullptr;
};

} // namespace

std::optional<std::vector<Column>> enumerateFilling(const Instance& instance,
                                                    std::span<const std::int64_t> least,
                                                    std::size_t limit, const Budget& budget) {
    std::int64_t capacity = 0;
    for (std::size_t s = 0; s < instance.stocks.size(); ++s) {
        if (least[s] <= instance.capacity(s)) {
            capacity = std::max(capacity, instance.capacity(s));
        }
    }
    std::vector<Column> columns;
    if (capacity == 0) {
        return columns;
    }
    const double bits = static_cast<double>(instance.items.size() + 1) *
                        static_cast<double>(capacity / 64 + 1) * 64;
    if (bits > kMaxBits) {
        return std::nullopt;
    }
    FillingLister lister(instance, limit, budget);
    if (!lister.prepare(capacity)) {
        return std::nullopt;
    }
    for (std::uint32_t s = 0; s < instance.stocks.size(); ++s) {
        if (instance.stocks[s].limited() && instance.stocks[s].available <= 0) {
            continue;
        }
        if (!lister.list(s, instance.capacity(s), least[s], columns)) {
            return std::nullopt;
        }
    }
    return columns;
}

std::optional<std::vector<Column>> enumerateColumns(const Instance& instance,
                                                    std::span<const double> itemDuals,
                                                    std::span<const double> stockDuals,
                                                    std::span<const double> stockCost, double slack,
                                                    std::size_t limit, const Budget& budget) {
    std::int64_t capacity = 0;
    for (std::size_t s = 0; s < instance.stocks.size(); ++s) {
        capacity = std::max(capacity, instance.capacity(s));
    }
    const double cells =
        static_cast<double>(instance.items.size() + 1) * static_cast<double>(capacity + 1);
    if (cells > kMaxCells) {
        return std::nullopt;
    }
    std::vector<double> profit(itemDuals.begin(), itemDuals.end());
    for (double& p : profit) {
        p = std::max(p, 0.0);
    }
    Lister lister(instance, profit, limit, budget);
    if (!lister.prepare(capacity)) {
        return std::nullopt;
    }
    std::vector<Column> columns;
    for (std::uint32_t s = 0; s < instance.stocks.size(); ++s) {
        if (instance.stocks[s].limited() && instance.stocks[s].available <= 0) {
            continue;
        }
        // A pattern's reduced cost is cost − μ − worth: at most `slack` when its worth is at
        // least cost − μ − slack. Clp's duals are exact to its tolerances only (1e-7), so
        // patterns of reduced cost zero can come out a little above it: a margin wider than
        // that keeps them, and listing a few patterns more never makes the proof wrong.
        const double threshold = stockCost[s] - std::min(stockDuals[s], 0.0) - slack -
                                 kDualTolerance * std::max(1.0, stockCost[s]);
        if (!lister.list(s, instance.capacity(s), threshold, columns)) {
            return std::nullopt;
        }
    }
    return columns;
}

} // namespace plan
