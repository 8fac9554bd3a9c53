#include "plan/joints/free_pricing.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <vector>

namespace plan::joints {

void FreePricing::solve(std::span<const PricingItem> pieces, std::span<const FreeKind> kinds,
                        std::int64_t kerf, std::int64_t capacity) {
    kerf_ = kerf;
    weights_.clear();
    for (const PricingItem& piece : pieces) {
        weights_.push_back(piece.weight);
    }
    pieces_.solve(pieces, capacity);
    const auto size = static_cast<std::size_t>(std::max<std::int64_t>(capacity, 0) + 1);
    free_.assign(size, 0.0);
    last_.assign(size, -1);
    length_.assign(size, 0);
    // The last free piece of kind t in a content of c is any length l within the kind's range;
    // the rest is the best within y = c − l − kerf. Its worth, G(y) − perMm·y + perMm·(c −
    // kerf) + each, is the best of G(y) − perMm·y over a window of y that moves up one with c:
    // a ring per kind holds the window's candidates, best first. The rest of a content of c is
    // at least one piece shorter, so a block of capacities as long as the shortest piece reads
    // only capacities below it: each kind runs through a whole block before the next.
    struct Window {
        std::vector<std::int64_t> y;
        std::vector<double> h;
        std::size_t mask = 0;
        std::size_t head = 0;
        std::size_t size = 0;
    };
    std::vector<Window> windows(kinds.size());
    std::int64_t block = std::numeric_limits<std::int64_t>::max();
    for (std::size_t t = 0; t < kinds.size(); ++t) {
        const FreeKind& k = kinds[t];
        if (k.shortest <= 0 || k.longest < k.shortest) {
            continue;
        }
        block = std::min(block, k.shortest + kerf);
        const auto width = std::bit_ceil(static_cast<std::size_t>(k.longest - k.shortest + 2));
        windows[t].y.resize(width);
        windows[t].h.resize(width);
        windows[t].mask = width - 1;
    }
    const auto end = static_cast<std::int64_t>(size);
    std::vector<double> candidate;
    std::vector<std::int32_t> candidateKind;
    std::vector<std::int64_t> candidateLength;
    for (std::int64_t from = 1; from < end; from += block) {
        const std::int64_t to = std::min(end, from + block);
        const auto n = static_cast<std::size_t>(to - from);
        candidate.assign(n, -std::numeric_limits<double>::infinity());
        candidateKind.assign(n, -1);
        candidateLength.assign(n, 0);
        for (std::size_t t = 0; t < kinds.size(); ++t) {
            const FreeKind& k = kinds[t];
            if (k.shortest <= 0 || k.longest < k.shortest) {
                continue;
            }
            Window& w = windows[t];
            for (std::int64_t c = from; c < to; ++c) {
                if (const std::int64_t y = c - k.shortest - kerf; y >= 0) {
                    const double h =
                        free_[static_cast<std::size_t>(y)] - k.perMm * static_cast<double>(y);
                    while (w.size > 0 && w.h[(w.head + w.size - 1) & w.mask] <= h) {
                        --w.size;
                    }
                    const std::size_t back = (w.head + w.size) & w.mask;
                    w.y[back] = y;
                    w.h[back] = h;
                    ++w.size;
                }
                while (w.size > 0 && w.y[w.head] < c - k.longest - kerf) {
                    w.head = (w.head + 1) & w.mask;
                    --w.size;
                }
                if (w.size == 0) {
                    continue;
                }
                const auto i = static_cast<std::size_t>(c - from);
                const double worth = w.h[w.head] + k.perMm * static_cast<double>(c - kerf) + k.each;
                if (worth > candidate[i]) {
                    candidate[i] = worth;
                    candidateKind[i] = static_cast<std::int32_t>(t);
                    candidateLength[i] = c - kerf - w.y[w.head];
                }
            }
        }
        for (std::int64_t c = from; c < to; ++c) {
            const auto at = static_cast<std::size_t>(c);
            const auto i = static_cast<std::size_t>(c - from);
            if (candidate[i] > free_[at - 1]) {
                free_[at] = candidate[i];
                last_[at] = candidateKind[i];
                length_[at] = candidateLength[i];
            } else {
                free_[at] = free_[at - 1];
            }
        }
    }
}

std::int64_t FreePricing::top(std::int64_t capacity) const {
    return std::min<std::int64_t>(capacity, static_cast<std::int64_t>(free_.size()) - 1);
}

std::int64_t FreePricing::split(std::int64_t capacity) const {
    const std::int64_t c = top(capacity);
    std::int64_t bestU = 0;
    double best = -1;
    for (std::int64_t u = 0; u <= c; ++u) {
        const double worth = pieces_.best(u) + free_[static_cast<std::size_t>(c - u)];
        if (worth > best) {
            best = worth;
            bestU = u;
        }
    }
    return bestU;
}

double FreePricing::best(std::int64_t capacity) const {
    if (free_.empty() || capacity < 0) {
        return 0;
    }
    const std::int64_t u = split(capacity);
    return pieces_.best(u) + free_[static_cast<std::size_t>(top(capacity) - u)];
}

FreeContent FreePricing::content(std::int64_t capacity) const {
    FreeContent out;
    if (free_.empty() || capacity < 0) {
        return out;
    }
    out.pieces = pieces_.pattern(split(capacity));
    // The pieces may take less than their share: the free pieces get the rest.
    std::int64_t c = top(capacity);
    for (const auto& [item, n] : out.pieces) {
        c -= weights_[item] * static_cast<std::int64_t>(n);
    }
    while (c > 0) {
        const auto at = static_cast<std::size_t>(c);
        if (last_[at] < 0) {
            --c;
            continue;
        }
        out.free.push_back({static_cast<std::uint32_t>(last_[at]), length_[at]});
        c -= length_[at] + kerf_;
    }
    return out;
}

} // namespace plan::joints
