#include "plan/cut_pricing.h"

#include <algorithm>
#include <functional>

namespace plan {
namespace {

constexpr double kImproving = 1e-9;
// Cells of the bounding table (4 bytes each) at most: it is filled again at every pricing, and
// without a look at the clock.
constexpr double kTableCells = 4e6;
// Nodes between looks at the clock and the caller's stop request.
constexpr std::int64_t kCheckEvery = 4096;

class CutKnapsack {
public:
    CutKnapsack(const Instance& instance, std::span<const double> profit,
                std::span<const SubsetRow> cuts, std::span<const double> cutDual,
                std::span<const std::int64_t> demand, const Budget& budget)
        : cutDual_(cutDual), budget_(budget) {
        std::vector<std::vector<std::uint32_t>> cutsOf(profit.size());
        for (std::uint32_t c = 0; c < cuts.size(); ++c) {
            if (cutDual[c] < 0) {
                for (const std::uint32_t i : cuts[c].items) {
                    cutsOf[i].push_back(c);
                }
            }
        }
        // A piece worth nothing adds nothing but what its cuts take away.
        for (std::uint32_t i = 0; i < profit.size(); ++i) {
            if (profit[i] > 0 && demand[i] > 0) {
                pieces_.push_back(
                    {i, instance.weight(i), profit[i], demand[i], std::move(cutsOf[i])});
            }
        }
        std::ranges::sort(pieces_, [](const Piece& a, const Piece& b) {
            return a.profit * static_cast<double>(b.weight) >
                   b.profit * static_cast<double>(a.weight);
        });
        weightFrom_.assign(pieces_.size() + 1, 0.0);
        worthFrom_.assign(pieces_.size() + 1, 0.0);
        for (std::size_t k = pieces_.size(); k-- > 0;) {
            const auto copies = static_cast<double>(pieces_[k].demand);
            weightFrom_[k] = weightFrom_[k + 1] + copies * static_cast<double>(pieces_[k].weight);
            worthFrom_[k] = worthFrom_[k + 1] + copies * pieces_[k].profit;
        }
        cutSum_.assign(cuts.size(), 0);
    }

    // The exact knapsack over pieces k… for every room up to `capacity`: a far tighter bound
    // than the linear one where bars are filled exactly, as every content is worth about as
    // much as its length when the duals are those of a perfect packing. Left out when the
    // table would be too large.
    void prepare(std::int64_t capacity) {
        const double cells =
            static_cast<double>(pieces_.size() + 1) * static_cast<double>(capacity + 1);
        width_ = 0;
        table_.clear();
        if (cells > kTableCells) {
            return;
        }
        width_ = static_cast<std::size_t>(capacity) + 1;
        table_.assign((pieces_.size() + 1) * width_, 0.0F);
        std::vector<double> next(width_, 0.0);
        std::vector<double> row(width_, 0.0);
        for (std::size_t k = pieces_.size(); k-- > 0;) {
            const Piece& piece = pieces_[k];
            const auto w = static_cast<std::size_t>(piece.weight);
            for (std::size_t c = 0; c < width_; ++c) {
                double v = next[c];
                std::size_t room = c;
                for (std::int64_t m = 1; m <= piece.demand && room >= w; ++m) {
                    room -= w;
                    v = std::max(v, next[room] + static_cast<double>(m) * piece.profit);
                }
                row[c] = v;
            }
            float* out = &table_[k * width_];
            for (std::size_t c = 0; c < width_; ++c) {
                // Rounded up, so that it stays a bound in single precision.
                out[c] = static_cast<float>(row[c] * (1 + 1e-6) + 1e-9);
            }
            std::swap(next, row);
        }
    }

    // No content of pieces k… is worth more within `room`.
    [[nodiscard]] double bound(std::size_t k, std::int64_t room) const {
        if (width_ > 0 && static_cast<std::size_t>(room) < width_) {
            return static_cast<double>(table_[k * width_ + static_cast<std::size_t>(room)]);
        }
        return relaxed(k, room);
    }

    // Searches a bar of `capacity`: the best `keep` contents worth more than `threshold` go to
    // `found`; returns a worth no content exceeds when the search ran to its end.
    std::pair<double, bool> search(std::int64_t capacity, double threshold, std::size_t keep,
                                   std::int64_t nodeLimit,
                                   std::vector<std::pair<double, Content>>& found) {
        threshold_ = threshold;
        keep_ = keep;
        found_ = &found;
        best_ = threshold;
        nodes_ = 0;
        nodeLimit_ = nodeLimit;
        chosen_.assign(pieces_.size(), 0);
        const bool complete = dive(0, capacity, 0.0);
        return {best_, complete};
    }

private:
    struct Piece {
        std::uint32_t item;
        std::int64_t weight;
        double profit;
        std::int64_t demand;
        std::vector<std::uint32_t> cuts;
    };

    // The linear bound on what pieces k… add within `room`: whole pieces in order while they
    // fit, then a fraction of the next.
    [[nodiscard]] double relaxed(std::size_t k, std::int64_t room) const {
        const auto space = static_cast<double>(room);
        std::size_t lo = k;
        std::size_t hi = pieces_.size();
        while (lo < hi) {
            const std::size_t mid = (lo + hi + 1) / 2;
            if (weightFrom_[k] - weightFrom_[mid] <= space) {
                lo = mid;
            } else {
                hi = mid - 1;
            }
        }
        double value = worthFrom_[k] - worthFrom_[lo];
        const double left = space - (weightFrom_[k] - weightFrom_[lo]);
        if (lo < pieces_.size() && left > 0) {
            value += left / static_cast<double>(pieces_[lo].weight) * pieces_[lo].profit;
        }
        return value;
    }

    // What a branch must beat to be searched: the threshold, or once `keep` contents are
    // found, the least of them. No margin: a branch cut off is worth at most this, which is at
    // most the best worth met, so that the best worth bounds every content exactly.
    [[nodiscard]] double level() const {
        const double least = found_->size() >= keep_ ? found_->back().first : threshold_;
        return std::max(least, threshold_);
    }

    // `worth`: of the pieces chosen so far, cuts included.
    bool dive(std::size_t k, std::int64_t room, double worth) {
        if (++nodes_ > nodeLimit_ || (nodes_ % kCheckEvery == 0 && budget_.expired())) {
            return false;
        }
        if (k == pieces_.size() || worth + bound(k, room) <= level()) {
            return true;
        }
        const Piece& piece = pieces_[k];
        const auto most = std::min(piece.demand, room / piece.weight);
        bool complete = true;
        for (std::int64_t m = most; m >= 0 && complete; --m) {
            double now = worth;
            if (m > 0) {
                now += static_cast<double>(m) * piece.profit;
                for (const std::uint32_t c : piece.cuts) {
                    const std::int64_t before = cutSum_[c];
                    cutSum_[c] += m;
                    now += cutDual_[c] * static_cast<double>((before + m) / 2 - before / 2);
                }
                chosen_[k] = m;
                best_ = std::max(best_, now);
                if (now > level() + kImproving * std::max(1.0, level())) {
                    record(now);
                }
            }
            complete = dive(k + 1, room - m * piece.weight, now);
            if (m > 0) {
                for (const std::uint32_t c : piece.cuts) {
                    cutSum_[c] -= m;
                }
                chosen_[k] = 0;
            }
        }
        return complete;
    }

    void record(double worth) {
        auto& found = *found_;
        Content content;
        for (std::size_t t = 0; t < pieces_.size(); ++t) {
            if (chosen_[t] > 0) {
                content.emplace_back(pieces_[t].item, static_cast<std::uint32_t>(chosen_[t]));
            }
        }
        std::ranges::sort(content);
        const auto at = std::ranges::upper_bound(found, worth, std::greater<>{},
                                                 &std::pair<double, Content>::first);
        found.insert(at, {worth, std::move(content)});
        if (found.size() > keep_) {
            found.pop_back();
        }
    }

    std::span<const double> cutDual_;
    const Budget& budget_;
    std::vector<Piece> pieces_;
    std::vector<double> weightFrom_;
    std::vector<double> worthFrom_;
    std::vector<std::int64_t> cutSum_;
    std::vector<std::int64_t> chosen_;
    std::size_t width_ = 0;
    std::vector<float> table_; // table_[k * width_ + c], see prepare()
    double threshold_ = 0;
    std::size_t keep_ = 0;
    std::vector<std::pair<double, Content>>* found_ = nullptr;
    double best_ = 0;
    std::int64_t nodes_ = 0;
    std::int64_t nodeLimit_ = 0;
};

} // namespace

double worthWithCuts(const Content& content, std::span<const double> profit,
                     std::span<const SubsetRow> cuts, std::span<const double> cutDual) {
    double worth = 0;
    for (const auto& [item, n] : content) {
        worth += std::max(profit[item], 0.0) * static_cast<double>(n);
    }
    for (std::size_t c = 0; c < cuts.size(); ++c) {
        worth += std::min(cutDual[c], 0.0) * static_cast<double>(cuts[c].coefficient(content));
    }
    return worth;
}

CutPricingResult priceWithCuts(const Instance& instance, std::span<const double> profit,
                               std::span<const SubsetRow> cuts, std::span<const double> cutDual,
                               std::span<const std::int64_t> demand,
                               std::span<const std::int64_t> available,
                               std::span<const double> stockCost, std::span<const double> stockDual,
                               std::int64_t nodeLimit, std::size_t perStock, const Budget& budget) {
    CutPricingResult result;
    result.upperValue.assign(instance.stocks.size(), 0.0);
    CutKnapsack knapsack(instance, profit, cuts, cutDual, demand, budget);
    std::int64_t capacity = 0;
    for (std::uint32_t s = 0; s < instance.stocks.size(); ++s) {
        if (!instance.stocks[s].limited() || available[s] > 0) {
            capacity = std::max(capacity, instance.capacity(s));
        }
    }
    knapsack.prepare(capacity);
    for (std::uint32_t s = 0; s < instance.stocks.size(); ++s) {
        if (instance.stocks[s].limited() && available[s] <= 0) {
            continue;
        }
        const double threshold = stockCost[s] - std::min(stockDual[s], 0.0);
        std::vector<std::pair<double, Content>> found;
        const auto [best, complete] =
            knapsack.search(instance.capacity(s), threshold, perStock, nodeLimit, found);
        // Cuts only take worth away: the pieces' own knapsack bounds every content.
        result.upperValue[s] =
            complete ? best : std::max(best, knapsack.bound(0, instance.capacity(s)));
        result.complete = result.complete && complete;
        for (auto& [worth, content] : found) {
            result.columns.push_back({s, std::move(content)});
        }
    }
    return result;
}

} // namespace plan
