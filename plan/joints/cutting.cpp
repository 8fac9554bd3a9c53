#include "plan/joints/cutting.h"

#include "plan/joints/free_layouts.h"
#include "plan/joints/relaxation.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <map>
#include <mutex>
#include <numeric>
#include <set>
#include <thread>

namespace plan::joints {
namespace {

using Clock = std::chrono::steady_clock;

// Shares of a steel's time: the choice of layouts, then the cuttings of the layouts chosen,
// then the bound over every segmentation.
constexpr double kChoosingShare = 0.35;
constexpr double kCuttingShare = 0.35;
// Planned by cost, a bar may take this many joints more than the fewest its staggering needs,
// where they pay for themselves.
constexpr std::int64_t kCostlyJoints = 2;
// Where steel alone counts, what a joint costs the choice of layouts (in mm): nothing a
// millimetre of steel would not outweigh, only enough that of two layouts that buy the same
// the one with fewer joints wins.
constexpr double kJointTieBreak = 1e-3;

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
    SplicedBar stage;                // the stage's own layouts, checked
    std::int64_t mostTotal = -1;     // joints the row may have; −1: any
    std::optional<SplicedBar> usual; // the usual practice, where it keeps to the joints allowed
};

struct Steel {
    std::vector<Bar> bars;
    std::vector<const Piece*> pieces;
};

std::map<Key, Steel> steels(const Problem& problem) {
    std::map<Key, Steel> out;
    for (const LongBar& bar : problem.bars) {
        out[{steelName(bar.grade), bar.diameter}].bars.push_back({&bar, {}, -1, std::nullopt});
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

std::vector<Item> ordinaryItems(const Steel& steel) {
    std::vector<Item> items;
    for (const Piece* piece : steel.pieces) {
        items.push_back({piece->length, piece->count});
    }
    return items;
}

std::vector<Stock> stocksOf(const Problem& problem) {
    std::vector<Stock> stocks;
    for (const std::int64_t length : problem.stocks) {
        stocks.push_back({length, length, -1, false});
    }
    stocks.insert(stocks.end(), problem.offcuts.begin(), problem.offcuts.end());
    return stocks;
}

Instance instanceOf(const Steel& steel, const std::vector<const SplicedBar*>& spliced,
                    const Problem& problem) {
    std::vector<Item> items = ordinaryItems(steel);
    for (const SplicedBar* s : spliced) {
        for (const Layout& layout : s->layouts) {
            for (const Segment& segment : layout.segments) {
                items.push_back({segment.length, layout.bars});
            }
        }
    }
    return makeInstance(std::move(items), stocksOf(problem), problem.kerf, problem.keep);
}

// The ordinary pieces with every yard offcut (makeInstance leaves out the offcuts too short
// for any ordinary piece, which a segment might still fit), each bar at `cost` of its length.
Instance ordinaryInstance(const Steel& steel, const Problem& problem,
                          const std::function<std::int64_t(std::int64_t)>& cost) {
    Instance instance =
        makeInstance(ordinaryItems(steel), stocksOf(problem), problem.kerf, problem.keep);
    std::vector<Stock> stocks;
    for (const Stock& stock : stocksOf(problem)) {
        if (!stock.offcut) {
            stocks.push_back({stock.length, cost(stock.length), -1, false});
        }
    }
    std::ranges::sort(stocks, std::greater<>{}, &Stock::length);
    std::map<std::int64_t, std::int64_t, std::greater<>> offcuts;
    for (const Stock& stock : problem.offcuts) {
        if (stock.available > 0) {
            offcuts[stock.length] += stock.available;
        }
    }
    for (const auto& [length, available] : offcuts) {
        stocks.push_back({length, 0, available, true});
    }
    instance.stocks = std::move(stocks);
    return instance;
}

std::int64_t jointsOf(const std::vector<SplicedBar>& spliced) {
    std::int64_t n = 0;
    for (const SplicedBar& s : spliced) {
        n += s.joints();
    }
    return n;
}

std::int64_t jointsFen(const std::vector<SplicedBar>& spliced, const Prices& prices) {
    std::int64_t fen = 0;
    for (const SplicedBar& s : spliced) {
        fen += s.joints() * prices.joint(s.rule.method);
    }
    return fen;
}

// The segment lengths a set of layouts asks the cutting for.
std::map<std::int64_t, std::int64_t> contentOf(const std::vector<SplicedBar>& spliced) {
    std::map<std::int64_t, std::int64_t> byLength;
    for (const SplicedBar& s : spliced) {
        for (const Layout& layout : s.layouts) {
            for (const Segment& segment : layout.segments) {
                byLength[segment.length] += layout.bars;
            }
        }
    }
    return byLength;
}

// The steel of a plan's new bars at the prices, bar length by bar length.
std::int64_t boughtFen(const Instance& instance, const Solution& solution, std::int64_t grams,
                       std::int64_t fenPerTonne) {
    std::map<std::int64_t, std::int64_t> bars;
    for (const BarPattern& p : solution.patterns) {
        const Stock& stock = instance.stocks[p.stock];
        if (!stock.offcut) {
            bars[stock.length] += p.count;
        }
    }
    std::int64_t fen = 0;
    for (const auto& [length, n] : bars) {
        fen += n * steelFen(length, grams, fenPerTonne);
    }
    return fen;
}

// One way of laying out every long bar of a steel, and its cutting.
struct Candidate {
    std::vector<SplicedBar> spliced;
    Instance instance;
    GroupResult cut;
    std::int64_t bought = 0;
    std::int64_t joints = 0;
    Money money;
};

// Fewest joints first, then steel; by cost, money first, then steel, then joints.
bool better(const Candidate& a, const Candidate& b, bool byCost) {
    if (byCost) {
        return std::tuple{a.money.total(), a.bought, a.joints} <
               std::tuple{b.money.total(), b.bought, b.joints};
    }
    return std::pair{a.bought, a.joints} < std::pair{b.bought, b.joints};
}

// The bars of a steel's plan as the relaxation takes them: each piece of a length some long bar
// has a segment of is that bar's segment, as long as the bar's segments of that length last,
// and the rest ordinary pieces.
std::vector<KnownBar> knownBars(const SteelPlan& plan, const Instance& ordinary) {
    std::map<std::int64_t, std::vector<std::pair<std::uint32_t, std::int64_t>>> segments;
    for (std::uint32_t r = 0; r < plan.spliced.size(); ++r) {
        for (const auto& [length, n] : contentOf({plan.spliced[r]})) {
            segments[length].emplace_back(r, n);
        }
    }
    std::map<std::int64_t, std::uint32_t> items;
    for (std::uint32_t i = 0; i < ordinary.items.size(); ++i) {
        items[ordinary.items[i].length] = i;
    }
    std::vector<KnownBar> out;
    for (const BarPattern& p : plan.cut.solution.patterns) {
        const Stock& stock = plan.instance.stocks[p.stock];
        KnownBar bar{stock.length, stock.offcut, {}, {}};
        for (const auto& [item, n] : p.content) {
            const std::int64_t length = plan.instance.items[item].length;
            std::uint32_t left = n;
            for (auto& [row, wanted] : segments[length]) {
                for (; left > 0 && wanted > 0; --left, wanted -= p.count) {
                    bar.segments.emplace_back(row, length);
                }
            }
            if (left > 0) {
                if (const auto found = items.find(length); found != items.end()) {
                    bar.pieces.emplace_back(found->second, left);
                }
            }
        }
        std::ranges::sort(bar.pieces);
        out.push_back(std::move(bar));
    }
    return out;
}

// The plan's pieces, overlaps and joints, and the material: the finished lengths and the
// fewest overlaps, rounded up to what the stock can sum to.
void measure(SteelPlan& out, const Steel& steel, const Problem& problem) {
    std::int64_t least = 0;
    for (const Piece* piece : steel.pieces) {
        out.piecesMm += piece->length * piece->count;
    }
    least += out.piecesMm;
    for (const SplicedBar& s : out.spliced) {
        out.piecesMm += s.length * s.count;
        out.overlapMm += s.overlapMm();
        out.joints += s.joints();
        least += (s.length + s.rule.joints * s.rule.overlap) * s.count;
    }
    // Yard offcuts may hold some of it for free: the new steel is at least what they cannot.
    std::int64_t yard = 0;
    for (const Stock& offcut : problem.offcuts) {
        yard += offcut.length * std::max<std::int64_t>(offcut.available, 0);
    }
    out.materialMm = leastPurchase(problem.stocks, std::max<std::int64_t>(0, least - yard));
}

struct Deadlines {
    Clock::time_point choose;
    Clock::time_point cut;
    Clock::time_point bound;
};

Budget until(Clock::time_point deadline, const std::stop_token& stop) {
    return Budget(deadline, stop);
}

// The steel's plan: layouts chosen over free joint positions, the stage's own and the usual
// practice's beside them, each cut, the best kept; then its bounds.
SteelPlan planSteel(const Key& key, const Steel& steel, const Problem& problem,
                    const Deadlines& deadlines, const std::stop_token& stop,
                    const Improvement& improved) {
    const JointSettings& settings = problem.settings;
    const bool byCost = settings.byCost;
    const std::int64_t grams = gramsPerMetre(key.grade, key.diameter);
    const auto fenOf = [&](std::int64_t mm) {
        return steelFen(mm, grams, settings.prices.steelFenPerTonne);
    };

    FreeInput input;
    input.pieces = ordinaryItems(steel);
    for (const Stock& stock : ordinaryInstance(steel, problem, [&](std::int64_t mm) {
                                  return byCost ? fenOf(mm) : mm;
                              }).stocks) {
        input.stocks.push_back(stock);
    }
    input.kerf = problem.kerf;
    input.stockLengths = problem.stocks;
    input.settings = settings;
    std::vector<FreeRowInput> rows;
    for (const Bar& bar : steel.bars) {
        FreeRowInput row;
        row.bar = bar.bar;
        row.rule = bar.stage.rule;
        row.mostTotal = bar.mostTotal;
        row.jointCost =
            byCost ? static_cast<double>(settings.prices.joint(row.rule.method)) : kJointTieBreak;
        row.start.push_back(bar.stage);
        if (bar.usual) {
            row.start.push_back(*bar.usual);
        }
        rows.push_back(std::move(row));
    }
    // By cost the dive may settle on more joints than pay for themselves; the choice with one
    // joint more a bar at most, priced the same, is a way beside it, so that a plan is not left
    // with joints that cost more than the steel they save where fewer would do.
    const auto begun = Clock::now();
    const Clock::time_point wide =
        byCost ? begun + std::max(Clock::duration::zero(), deadlines.choose - begun) * 3 / 5
               : deadlines.choose;
    const FreeChoice free = chooseLayouts(input, rows, until(wide, stop));
    std::vector<std::vector<SplicedBar>> ways{free.spliced};
    if (byCost) {
        std::vector<FreeRowInput> narrow = rows;
        for (std::size_t b = 0; b < narrow.size(); ++b) {
            narrow[b].rule.mostJoints -= kCostlyJoints - 1;
            narrow[b].mostTotal = steel.bars[b].stage.joints() + steel.bars[b].bar->count;
            narrow[b].start.resize(1); // the stage's own, with the fewest joints
        }
        ways.push_back(chooseLayouts(input, narrow, until(deadlines.choose, stop)).spliced);
    }
    std::vector<SplicedBar> stage;
    std::vector<SplicedBar> usual;
    for (const Bar& bar : steel.bars) {
        stage.push_back(bar.stage);
        if (bar.usual) {
            usual.push_back(*bar.usual);
        }
    }
    ways.push_back(stage);
    if (usual.size() == steel.bars.size()) {
        ways.push_back(usual);
    }
    std::set<std::map<std::int64_t, std::int64_t>> seen;
    std::optional<Candidate> best;
    for (std::size_t w = 0; w < ways.size(); ++w) {
        if (!seen.insert(contentOf(ways[w])).second) {
            continue;
        }
        Candidate c;
        c.spliced = ways[w];
        std::vector<const SplicedBar*> pointers;
        for (const SplicedBar& s : c.spliced) {
            pointers.push_back(&s);
        }
        c.instance = instanceOf(steel, pointers, problem);
        // Each way a share of what is left: most are proven in a fraction of it.
        const auto now = Clock::now();
        const auto left = std::max(Clock::duration::zero(), deadlines.cut - now);
        const auto share = left / static_cast<int>(ways.size() - w);
        c.cut = solve(c.instance, until(now + share, stop), w == 0 ? improved : Improvement{});
        c.bought = c.cut.solution.cost(c.instance);
        c.joints = jointsOf(c.spliced);
        c.money = {boughtFen(c.instance, c.cut.solution, grams, settings.prices.steelFenPerTonne),
                   jointsFen(c.spliced, settings.prices)};
        if (!best || better(c, *best, byCost)) {
            best = std::move(c);
        }
    }

    SteelPlan out;
    out.grade = key.grade;
    out.diameter = key.diameter;
    out.spliced = best->spliced;
    out.instance = std::move(best->instance);
    out.cut = std::move(best->cut);
    out.boughtMm = best->bought;
    out.money = best->money;
    measure(out, steel, problem);

    // The bound over every segmentation the rules and the settings allow.
    std::vector<FreeRow> relaxed;
    for (std::size_t b = 0; b < steel.bars.size(); ++b) {
        const Bar& bar = steel.bars[b];
        const Rule& rule = rows[b].rule;
        FreeRow row;
        row.bars = bar.bar->count;
        row.length = bar.bar->length;
        row.overlap = rule.overlap;
        row.shortest = settings.shortestSegment;
        row.fewestJoints = rule.joints;
        row.mostJoints = rule.mostJoints;
        row.mostTotal = bar.mostTotal;
        for (const SplicedBar* s : {&bar.stage, static_cast<const SplicedBar*>(&out.spliced[b])}) {
            for (const Layout& layout : s->layouts) {
                std::vector<std::int64_t> shape;
                for (const Segment& segment : layout.segments) {
                    shape.push_back(segment.length);
                }
                row.start.emplace_back(std::move(shape), layout.bars);
            }
        }
        relaxed.push_back(std::move(row));
    }
    const Instance ordinary = ordinaryInstance(steel, problem, [](std::int64_t mm) { return mm; });
    const std::vector<KnownBar> known = knownBars(out, ordinary);
    const Budget bounding = until(deadlines.bound, stop);
    std::int64_t relaxedMm = 0;
    if (byCost) {
        // By cost the plan is bounded in money: the cheapest plan need not buy the least steel,
        // so its steel is bounded by the material alone.
        const Instance priced = ordinaryInstance(steel, problem, fenOf);
        for (std::size_t b = 0; b < relaxed.size(); ++b) {
            relaxed[b].jointCost = settings.prices.joint(rows[b].rule.method);
        }
        out.boundFen = relax(priced, relaxed, known, out.money.total(), bounding).bound;
    } else if (out.boughtMm > out.materialMm) {
        relaxedMm = relax(ordinary, relaxed, known, out.boughtMm, bounding).bound;
    }
    out.boundAllMm = std::max(out.materialMm, relaxedMm);
    out.boundMm = std::max(out.cut.bound, out.boundAllMm);
    out.scope = out.boundAllMm >= out.boundMm ? BoundScope::AllSegmentations
                                              : BoundScope::ChosenSegmentation;
    if (out.boundMm >= out.boughtMm) {
        out.cut.finish = Finish::Proven;
    }
    return out;
}

// The frame both plans share: every bar's layouts by `choose`, nothing planned when any bar
// has an error, then the steels side by side, each by `planOne` within its share of the time.
template <typename Choose, typename PlanOne>
JointsPlan plan(const Problem& problem, Choose choose, PlanOne planOne) {
    const auto start = Clock::now();
    const Clock::time_point deadline = start + std::chrono::duration_cast<Clock::duration>(
                                                   std::chrono::duration<double>(problem.seconds));
    JointsPlan out;
    std::map<Key, Steel> all = steels(problem);
    for (auto& [key, steel] : all) {
        for (Bar& bar : steel.bars) {
            choose(*bar.bar, bar, out);
        }
    }
    if (!out.errors.empty()) {
        out.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        return out;
    }
    std::vector<std::pair<const Key*, const Steel*>> order;
    for (const auto& [key, steel] : all) {
        order.emplace_back(&key, &steel);
    }
    out.steels.resize(order.size());
    unsigned threads =
        problem.threads != 0 ? problem.threads : std::max(1U, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, order.size()));
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t k = next++; k < order.size(); k = next++) {
            // What is left, shared by the steels not yet begun, as many at a time as threads.
            const auto now = Clock::now();
            const auto left = std::max(Clock::duration::zero(), deadline - now);
            const auto waiting = static_cast<double>(order.size() - k);
            const double share = std::min(1.0, static_cast<double>(threads) / waiting);
            const auto mine = std::chrono::duration_cast<Clock::duration>(left * share);
            out.steels[k] = planOne(*order[k].first, *order[k].second, now, now + mine);
        }
    };
    if (threads <= 1) {
        work();
    } else {
        std::vector<std::jthread> pool;
        for (unsigned t = 0; t < threads; ++t) {
            pool.emplace_back(work);
        }
    }
    out.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return out;
}

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
    const JointSettings& settings = problem.settings;
    const auto choose = [&](const LongBar& bar, Bar& into, JointsPlan& out) {
        Segmented s = segment(bar, problem.stocks, settings);
        out.warnings.insert(out.warnings.end(), s.warnings.begin(), s.warnings.end());
        if (s.error) {
            out.errors.push_back(*s.error);
            return;
        }
        into.stage = std::move(*s.spliced);
        Rule& rule = into.stage.rule;
        if (settings.byCost) {
            // Joints are paid for: a bar may take a few more where they save more steel.
            rule.mostJoints += kCostlyJoints - (settings.extraJoint ? 1 : 0);
        } else {
            // The fewest joints the staggering allows, and one more a bar where allowed.
            into.mostTotal = into.stage.joints() + (settings.extraJoint ? bar.count : 0);
        }
        // The usual practice, where it keeps to the joints allowed: then no plan buys more.
        if (std::optional<SplicedBar> usual = practice(bar, rule, problem.stocks, settings);
            usual && !check(*usual, bar, problem.stocks, settings) &&
            (into.mostTotal < 0 || usual->joints() <= into.mostTotal)) {
            into.usual = std::move(usual);
        }
    };
    std::mutex reporting;
    const Improvement report = [&](std::int64_t best, std::int64_t bound) {
        if (improved) {
            const std::lock_guard lock(reporting);
            improved(best, bound);
        }
    };
    const auto planOne = [&](const Key& key, const Steel& steel, Clock::time_point from,
                             Clock::time_point to) {
        const auto at = [&](double share) {
            return from + std::chrono::duration_cast<Clock::duration>((to - from) * share);
        };
        const Deadlines deadlines{at(kChoosingShare), at(kChoosingShare + kCuttingShare), to};
        return planSteel(key, steel, problem, deadlines, stop, report);
    };
    return plan(problem, choose, planOne);
}

JointsPlan planPractice(const Problem& problem, std::stop_token stop) {
    const auto choose = [&](const LongBar& bar, Bar& into, JointsPlan& out) {
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
        into.stage = std::move(*p);
    };
    const auto planOne = [&](const Key& key, const Steel& steel, Clock::time_point,
                             Clock::time_point to) {
        SteelPlan out;
        out.grade = key.grade;
        out.diameter = key.diameter;
        std::vector<const SplicedBar*> pointers;
        for (const Bar& bar : steel.bars) {
            pointers.push_back(&bar.stage);
            out.spliced.push_back(bar.stage);
        }
        out.instance = instanceOf(steel, pointers, problem);
        out.cut = solve(out.instance, until(to, stop));
        out.boughtMm = out.cut.solution.cost(out.instance);
        measure(out, steel, problem);
        const std::int64_t grams = gramsPerMetre(key.grade, key.diameter);
        out.money = {boughtFen(out.instance, out.cut.solution, grams,
                               problem.settings.prices.steelFenPerTonne),
                     jointsFen(out.spliced, problem.settings.prices)};
        out.boundMm = out.cut.bound;
        out.boundAllMm = out.materialMm;
        return out;
    };
    return plan(problem, choose, planOne);
}

} // namespace plan::joints
