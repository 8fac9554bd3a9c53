#include "plan/joints/cutting.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <map>
#include <numeric>
#include <set>

namespace plan::joints {
namespace {

using Clock = std::chrono::steady_clock;

// Segmentations the optimiser may try for each long bar, besides the stage's choice.
constexpr std::size_t kAlternatives = 8;
// The least time for the cutting of one trial of layouts: enough for the solver's root and a
// dive on a building's steel, so that trials are compared by good plans, not first fits.
constexpr double kTrialSeconds = 0.05;
// Rounds of trying every bar's alternatives against the cutting.
constexpr int kRounds = 2;
// Gaps of the other pieces' cutting that segments are made to fill, and the time to find them.
constexpr std::size_t kGaps = 6;
constexpr double kGapSeconds = 0.02;
// Share of a steel's time the choice of layouts may take; the rest is the final cutting's.
constexpr double kChoosingShare = 0.5;

std::string steelName(std::string_view grade) {
    std::string out;
    for (const char c : grade) {
        if (c != ' ') {
            out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        }
    }
    return out;
}

struct Key {
    std::string grade;
    std::int64_t diameter = 0;

    friend auto operator<=>(const Key&, const Key&) = default;
};

struct Bar {
    const LongBar* bar = nullptr;
    std::vector<SplicedBar> options; // each checked; the first the stage's own choice
    std::size_t chosen = 0;
    std::optional<std::size_t> usual; // the option that is the usual practice
    std::vector<std::int64_t> fills;  // per option, the gap its segments fill; 0: none
};

struct Gap {
    std::int64_t length = 0;
    std::int64_t bars = 0; // stock bars of the other pieces' cutting that leave it
};

struct Steel {
    std::vector<Bar> bars;
    std::vector<const Piece*> pieces;
    std::optional<std::vector<Gap>> gaps; // found once, when the first bar's options are made
};

std::map<Key, Steel> steels(const Problem& problem) {
    std::map<Key, Steel> out;
    for (const LongBar& bar : problem.bars) {
        out[{steelName(bar.grade), bar.diameter}].bars.push_back({&bar, {}, 0, std::nullopt, {}});
    }
    for (const Piece& piece : problem.pieces) {
        const Key key{steelName(piece.grade), piece.diameter};
        // Pieces of a steel with no long bar are the cutting list's alone.
        if (const auto found = out.find(key); found != out.end()) {
            found->second.pieces.push_back(&piece);
        }
    }
    return out;
}

Instance instanceOf(const Steel& steel, const std::vector<const SplicedBar*>& spliced,
                    const Problem& problem) {
    std::vector<Item> items;
    for (const Piece* piece : steel.pieces) {
        items.push_back({piece->length, piece->count});
    }
    for (const SplicedBar* s : spliced) {
        for (const Layout& layout : s->layouts) {
            for (const Segment& segment : layout.segments) {
                items.push_back({segment.length, layout.bars});
            }
        }
    }
    std::vector<Stock> stocks;
    for (const std::int64_t length : problem.stocks) {
        stocks.push_back({length, length, -1, false});
    }
    stocks.insert(stocks.end(), problem.offcuts.begin(), problem.offcuts.end());
    return makeInstance(std::move(items), std::move(stocks), problem.kerf, problem.keep);
}

std::vector<const SplicedBar*> chosen(const Steel& steel) {
    std::vector<const SplicedBar*> out;
    for (const Bar& bar : steel.bars) {
        out.push_back(&bar.options[bar.chosen]);
    }
    return out;
}

std::int64_t jointsOf(const std::vector<const SplicedBar*>& spliced) {
    std::int64_t n = 0;
    for (const SplicedBar* s : spliced) {
        n += s->joints();
    }
    return n;
}

// `known`, when given, is a cutting of the same layouts found before: kept when proven, and
// when the final search ends with no better plan.
SteelPlan finish(const Key& key, const Steel& steel, const Problem& problem,
                 const std::vector<const SplicedBar*>& spliced, Clock::time_point deadline,
                 const std::stop_token& stop, std::optional<GroupResult> known,
                 const Improvement& improved) {
    SteelPlan out;
    out.grade = key.grade;
    out.diameter = key.diameter;
    out.instance = instanceOf(steel, spliced, problem);
    if (known && known->finish == Finish::Proven) {
        out.cut = std::move(*known);
    } else {
        const double seconds =
            std::max(0.0, std::chrono::duration<double>(deadline - Clock::now()).count());
        out.cut = solve(out.instance, Budget::seconds(seconds, stop), improved);
        if (known) {
            const std::int64_t bound = std::max(out.cut.bound, known->bound);
            if (known->solution.cost(out.instance) < out.cut.solution.cost(out.instance)) {
                out.cut = std::move(*known);
            }
            out.cut.bound = bound;
            if (out.cut.solution.cost(out.instance) == bound) {
                out.cut.finish = Finish::Proven;
            }
        }
    }
    out.boughtMm = out.cut.solution.cost(out.instance);
    std::int64_t least = 0; // the finished lengths and the fewest overlaps
    for (const Piece* piece : steel.pieces) {
        out.piecesMm += piece->length * piece->count;
    }
    least += out.piecesMm;
    for (const SplicedBar* s : spliced) {
        out.spliced.push_back(*s);
        out.piecesMm += s->length * s->count;
        out.overlapMm += s->overlapMm();
        out.joints += s->joints();
        least += (s->length + s->rule.joints * s->rule.overlap) * s->count;
    }
    // Yard offcuts may hold some of it for free: the new steel is at least what they cannot.
    std::int64_t yard = 0;
    for (const Stock& offcut : problem.offcuts) {
        yard += offcut.length * std::max<std::int64_t>(offcut.available, 0);
    }
    out.boundAllMm = leastPurchase(problem.stocks, std::max<std::int64_t>(0, least - yard));
    out.boundMm = std::max(out.cut.bound, out.boundAllMm);
    out.scope = out.boundAllMm >= out.boundMm ? BoundScope::AllSegmentations
                                              : BoundScope::ChosenSegmentation;
    return out;
}

// What a layout choice means for the cutting: its segment lengths and how many of each.
std::vector<std::pair<std::int64_t, std::int64_t>> content(const SplicedBar& s) {
    std::map<std::int64_t, std::int64_t> byLength;
    for (const Layout& layout : s.layouts) {
        for (const Segment& segment : layout.segments) {
            byLength[segment.length] += layout.bars;
        }
    }
    return {byLength.begin(), byLength.end()};
}

// The options of one bar: the stage's choice, and staggered sets whose segments differ, the
// bars side by side taking each of the most promising segmentations first in turn; with one
// joint more when the settings allow it. Where the joints lie does not matter to the cutting,
// only the lengths, so options with the same lengths are one.
std::vector<SplicedBar> options(const LongBar& bar, const SplicedBar& first, const Problem& problem,
                                std::span<const Gap> gaps, std::vector<std::int64_t>& fills) {
    std::vector<SplicedBar> out{first};
    fills.assign(1, 0);
    std::set<std::vector<std::pair<std::int64_t, std::int64_t>>> seen{content(first)};
    const Rule& rule = first.rule;
    // The stage's choice has the fewest joints the staggering allows; no other takes more,
    // unless the settings allow a joint more a bar.
    const std::int64_t most = first.joints() + (problem.settings.extraJoint ? bar.count : 0);
    const auto allowed = [&](const SplicedBar& s) {
        return s.joints() <= most;
    };
    const std::vector<Shape> candidates =
        shapesUpTo(bar, rule, rule.joints, rule.mostJoints, problem.stocks, problem.settings);
    std::vector<Shape> segmentations;
    for (const Shape& shape : candidates) {
        Shape sorted = shape;
        std::ranges::sort(sorted);
        if (std::ranges::find(segmentations, sorted) == segmentations.end()) {
            segmentations.push_back(std::move(sorted));
        }
        if (segmentations.size() == kAlternatives) {
            break;
        }
    }
    // The usual practice's layouts too, where they keep to the rules here (the practice
    // takes joints more freely): then the choice can only improve on it.
    if (std::optional<SplicedBar> usual = practice(bar, rule, problem.stocks, problem.settings);
        usual && allowed(*usual) && !check(*usual, bar, problem.stocks, problem.settings) &&
        seen.insert(content(*usual)).second) {
        out.push_back(std::move(*usual));
        fills.push_back(0);
    }
    // Segments that fill the gaps the other pieces leave: each such set puts the shapes with
    // that filler first, so that the staggered classes all take it where they can.
    for (const Gap& gap : gaps) {
        std::vector<Shape> ordered =
            fillerShapes(bar, rule, rule.joints, gap.length, problem.stocks, problem.settings);
        if (ordered.empty()) {
            continue;
        }
        ordered.insert(ordered.end(), candidates.begin(), candidates.end());
        if (const std::optional<std::vector<Shape>> set = stagger(rule, ordered)) {
            SplicedBar s = splice(bar, rule, *set);
            if (allowed(s) && seen.insert(content(s)).second &&
                !check(s, bar, problem.stocks, problem.settings)) {
                out.push_back(std::move(s));
                fills.push_back(gap.length);
            }
        }
    }
    for (const Shape& lengths : segmentations) {
        std::vector<Shape> ordered = candidates;
        std::stable_partition(ordered.begin(), ordered.end(), [&](const Shape& s) {
            Shape sorted = s;
            std::ranges::sort(sorted);
            return sorted == lengths;
        });
        const std::optional<std::vector<Shape>> set = stagger(rule, ordered);
        if (!set) {
            continue;
        }
        SplicedBar s = splice(bar, rule, *set);
        if (allowed(s) && seen.insert(content(s)).second &&
            !check(s, bar, problem.stocks, problem.settings)) {
            out.push_back(std::move(s));
            fills.push_back(0);
        }
    }
    return out;
}

// The gaps the steel's other pieces leave when cut alone, most common first: lengths a
// segment could fill exactly. A short search: its plan is a guide, not a result.
std::vector<Gap> gaps(const Steel& steel, const Problem& problem, const std::stop_token& stop) {
    if (steel.pieces.empty()) {
        return {};
    }
    const Instance instance = instanceOf(steel, {}, problem);
    const GroupResult cut = solve(instance, Budget::seconds(kGapSeconds, stop));
    std::map<std::int64_t, std::int64_t> bars; // gap → bars that leave it
    for (const BarPattern& pattern : cut.solution.patterns) {
        const Stock& stock = instance.stocks[pattern.stock];
        if (stock.offcut) {
            continue;
        }
        std::int64_t left = stock.length;
        for (const auto& [item, n] : pattern.content) {
            left -= static_cast<std::int64_t>(n) * (instance.items[item].length + instance.kerf);
        }
        if (left >= problem.settings.shortestSegment) {
            bars[left] += pattern.count;
        }
    }
    std::vector<Gap> out;
    for (const auto& [gap, n] : bars) {
        out.push_back({gap, n});
    }
    std::ranges::stable_sort(out, std::greater<>{}, &Gap::bars);
    if (out.size() > kGaps) {
        out.resize(kGaps);
    }
    return out;
}

double secondsLeft(Clock::time_point deadline) {
    return std::chrono::duration<double>(deadline - Clock::now()).count();
}

// Each bar in turn tries its other layouts against the cutting of all the rest; a layout
// stays when the steel bought falls, or stays equal with fewer joints. Returns the cutting of
// the layouts kept.
std::optional<GroupResult> improve(Steel& steel, const Problem& problem, Clock::time_point until,
                                   const std::stop_token& stop) {
    struct Trial {
        std::int64_t cost = 0;
        std::int64_t joints = 0;
        GroupResult cut;

        [[nodiscard]] bool better(const Trial& other) const {
            return std::pair{cost, joints} < std::pair{other.cost, other.joints};
        }
    };
    const auto trial = [&] {
        const std::vector<const SplicedBar*> now = chosen(steel);
        const Instance instance = instanceOf(steel, now, problem);
        // A quarter of what is left, so that a slow machine compares layouts by the same
        // proven plans as a fast one; never less than kTrialSeconds while there is that much.
        const double left = std::max(0.0, secondsLeft(until));
        const double seconds = std::min(left, std::max(kTrialSeconds, left / 4));
        Trial t;
        t.cut = solve(instance, Budget::seconds(seconds, stop));
        t.cost = t.cut.solution.cost(instance);
        t.joints = jointsOf(now);
        return t;
    };
    Trial best = trial();
    // Start from the practice's layouts where a bar has them, when that is better.
    std::vector<std::size_t> first;
    for (Bar& bar : steel.bars) {
        first.push_back(bar.chosen);
        bar.chosen = bar.usual.value_or(bar.chosen);
    }
    if (Trial usual = trial(); usual.better(best)) {
        best = std::move(usual);
    } else {
        for (std::size_t b = 0; b < steel.bars.size(); ++b) {
            steel.bars[b].chosen = first[b];
        }
    }
    // Every bar at once takes the option that fills the gaps still open, the bars with the
    // most segments first: one trial judges the lot, where bar by bar each fill alone moves
    // the waste elsewhere.
    if (steel.gaps && !steel.gaps->empty()) {
        std::vector<std::size_t> was;
        std::map<std::int64_t, std::int64_t> open;
        for (const Gap& gap : *steel.gaps) {
            open[gap.length] = gap.bars;
        }
        std::vector<Bar*> order;
        for (Bar& bar : steel.bars) {
            was.push_back(bar.chosen);
            order.push_back(&bar);
        }
        std::ranges::stable_sort(order, std::greater<>{},
                                 [](const Bar* b) { return b->bar->count; });
        for (Bar* bar : order) {
            std::optional<std::size_t> pick;
            std::int64_t pickLeft = 0;
            for (std::size_t o = 0; o < bar->options.size(); ++o) {
                const std::int64_t gap = bar->fills[o];
                if (gap == 0) {
                    continue;
                }
                std::int64_t uses = 0;
                for (const Layout& layout : bar->options[o].layouts) {
                    for (const Segment& segment : layout.segments) {
                        uses += segment.length == gap ? layout.bars : 0;
                    }
                }
                if (const std::int64_t left = open[gap] - uses;
                    left >= 0 && (!pick || left > pickLeft)) {
                    pick = o;
                    pickLeft = left;
                }
            }
            if (pick) {
                bar->chosen = *pick;
                open[bar->fills[*pick]] = pickLeft;
            }
        }
        if (Trial filled = trial(); filled.better(best)) {
            best = std::move(filled);
        } else {
            for (std::size_t b = 0; b < steel.bars.size(); ++b) {
                steel.bars[b].chosen = was[b];
            }
        }
    }
    for (int round = 0; round < kRounds; ++round) {
        bool improved = false;
        for (Bar& bar : steel.bars) {
            const std::size_t was = bar.chosen;
            for (std::size_t o = 0;
                 o < bar.options.size() && Clock::now() < until && !stop.stop_requested(); ++o) {
                if (o == was) {
                    continue;
                }
                bar.chosen = o;
                if (Trial tried = trial(); tried.better(best)) {
                    best = std::move(tried);
                    improved = true;
                    break;
                }
                bar.chosen = was;
            }
        }
        if (!improved || Clock::now() >= until || stop.stop_requested()) {
            break;
        }
    }
    return std::move(best.cut);
}

// The frame both plans share: every bar's options by `choose`, nothing planned when any bar
// has an error, then each steel in turn within its share of the time, its layouts chosen by
// `improve` within `choosingShare` of that share and cut in the rest.
template <typename Choose, typename Improve>
JointsPlan plan(const Problem& problem, const std::stop_token& stop, Choose choose,
                Improve improveSteel, double choosingShare, const Improvement& improved) {
    const auto start = Clock::now();
    const Clock::time_point deadline = start + std::chrono::duration_cast<Clock::duration>(
                                                   std::chrono::duration<double>(problem.seconds));
    const auto after = [](double seconds) {
        return Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                  std::chrono::duration<double>(std::max(0.0, seconds)));
    };
    JointsPlan out;
    std::map<Key, Steel> all = steels(problem);
    for (auto& [key, steel] : all) {
        for (Bar& bar : steel.bars) {
            choose(steel, *bar.bar, bar, out);
        }
    }
    if (!out.errors.empty()) {
        out.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        return out;
    }
    std::size_t left = all.size();
    for (auto& [key, steel] : all) {
        const double share = secondsLeft(deadline) / static_cast<double>(left--);
        const Clock::time_point steelDeadline = after(share);
        std::optional<GroupResult> known = improveSteel(steel, after(share * choosingShare));
        out.steels.push_back(finish(key, steel, problem, chosen(steel), steelDeadline, stop,
                                    std::move(known), improved));
    }
    out.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return out;
}

} // namespace

namespace {

std::int64_t total(const std::vector<SteelPlan>& steels, std::int64_t SteelPlan::*field) {
    std::int64_t n = 0;
    for (const SteelPlan& s : steels) {
        n += s.*field;
    }
    return n;
}

} // namespace

std::int64_t JointsPlan::boughtMm() const {
    return total(steels, &SteelPlan::boughtMm);
}
std::int64_t JointsPlan::piecesMm() const {
    return total(steels, &SteelPlan::piecesMm);
}
std::int64_t JointsPlan::overlapMm() const {
    return total(steels, &SteelPlan::overlapMm);
}
std::int64_t JointsPlan::joints() const {
    return total(steels, &SteelPlan::joints);
}

std::int64_t leastPurchase(std::span<const std::int64_t> stocks, std::int64_t mm) {
    if (mm <= 0 || stocks.empty()) {
        return 0;
    }
    std::vector<std::int64_t> lengths(stocks.begin(), stocks.end());
    std::ranges::sort(lengths, std::greater<>{});
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
    const std::int64_t longestStock = lengths.front();
    // In a least purchase no shorter length is bought longest/gcd times or more: as many of
    // the longest would sum to the same. So only counts below that are tried for each.
    std::vector<std::int64_t> bound;
    std::int64_t combinations = 1;
    constexpr std::int64_t kMostCombinations = 1'000'000;
    for (std::size_t i = 1; i < lengths.size(); ++i) {
        bound.push_back(longestStock / std::gcd(longestStock, lengths[i]));
        combinations *= bound.back();
        if (combinations > kMostCombinations) {
            return mm; // still a bound, only not rounded up
        }
    }
    std::int64_t best = -1;
    std::vector<std::int64_t> counts(bound.size(), 0);
    while (true) {
        std::int64_t sum = 0;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            sum += counts[i] * lengths[i + 1];
        }
        const std::int64_t rest = std::max<std::int64_t>(0, mm - sum);
        const std::int64_t total = sum + (rest + longestStock - 1) / longestStock * longestStock;
        if (best < 0 || total < best) {
            best = total;
        }
        std::size_t i = 0;
        while (i < counts.size() && ++counts[i] == bound[i]) {
            counts[i++] = 0;
        }
        if (i == counts.size()) {
            break;
        }
    }
    return best;
}

JointsPlan planJoints(const Problem& problem, std::stop_token stop, const Improvement& improved) {
    const auto choose = [&](Steel& steel, const LongBar& bar, Bar& into, JointsPlan& out) {
        Segmented s = segment(bar, problem.stocks, problem.settings);
        out.warnings.insert(out.warnings.end(), s.warnings.begin(), s.warnings.end());
        if (s.error) {
            out.errors.push_back(*s.error);
            return;
        }
        if (!steel.gaps) {
            steel.gaps = gaps(steel, problem, stop);
        }
        into.options = options(bar, *s.spliced, problem, *steel.gaps, into.fills);
        if (const std::optional<SplicedBar> usual =
                practice(bar, s.spliced->rule, problem.stocks, problem.settings)) {
            const auto found = std::ranges::find_if(
                into.options, [&](const SplicedBar& o) { return content(o) == content(*usual); });
            if (found != into.options.end()) {
                into.usual = static_cast<std::size_t>(found - into.options.begin());
            }
        }
    };
    const auto improveSteel = [&](Steel& steel, Clock::time_point until) {
        return improve(steel, problem, until, stop);
    };
    return plan(problem, stop, choose, improveSteel, kChoosingShare, improved);
}

JointsPlan planPractice(const Problem& problem, std::stop_token stop) {
    const auto choose = [&](Steel&, const LongBar& bar, Bar& into, JointsPlan& out) {
        Resolved r = resolve(bar, problem.stocks, problem.settings);
        out.warnings.insert(out.warnings.end(), r.warnings.begin(), r.warnings.end());
        if (r.error) {
            out.errors.push_back(*r.error);
            return;
        }
        std::optional<SplicedBar> p = practice(bar, *r.rule, problem.stocks, problem.settings);
        if (!p) {
            out.errors.push_back(
                {bar.line, bar.mark,
                 bar.zones.empty() ? JointProblem::ShareUnmet : JointProblem::ZonesBlock,
                 std::nullopt, r.rule->section});
            return;
        }
        into.options.push_back(std::move(*p));
    };
    const auto asItIs = [](Steel&, Clock::time_point) {
        return std::optional<GroupResult>{};
    };
    return plan(problem, stop, choose, asItIs, 0.0, {});
}

} // namespace plan::joints
