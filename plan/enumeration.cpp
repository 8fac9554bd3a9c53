#include "plan/enumeration.h"

#include <algorithm>

namespace plan {
namespace {

// Above this many cells of the completion table (4 bytes each, 80 MB at most) listing is not
// tried. Filling it stops between rows when the budget runs out.
constexpr double kMaxCells = 2e7;
constexpr double kDualTolerance = 1e-6;

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
            Content content;
            for (std::uint32_t i = 0; i < n_; ++i) {
                if (chosen_[i] > 0) {
                    content.emplace_back(i, chosen_[i]);
                }
            }
            if (!content.empty()) {
                out_->push_back({stock_, std::move(content)});
            }
            return out_->size() <= limit_ && !(out_->size() % 1024 == 0 && budget_.expired());
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

} // namespace

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
