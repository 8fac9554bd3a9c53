#include "plan/joints/segment.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <set>

namespace plan::joints {
namespace {

std::int64_t longest(std::span<const std::int64_t> stocks) {
    return stocks.empty() ? 0 : *std::ranges::max_element(stocks);
}

// The least length of segment k of n: the shortest segment and the overlap at each end that
// has a joint.
std::int64_t leastSegment(std::size_t k, std::size_t n, std::int64_t overlap,
                          const JointSettings& settings) {
    return settings.shortestSegment + (k > 0 ? overlap : 0) + (k + 1 < n ? overlap : 0);
}

// Where each joint's overlap begins: the start of the segment after it.
std::vector<std::int64_t> overlapStarts(const Shape& shape, std::int64_t overlap) {
    std::vector<std::int64_t> starts;
    std::int64_t start = 0;
    for (std::size_t k = 0; k + 1 < shape.size(); ++k) {
        start += shape[k] - overlap;
        starts.push_back(start);
    }
    return starts;
}

bool touches(std::int64_t lo, std::int64_t overlap, const Zone& zone) {
    // A coupler is a point: on a zone's edge it is outside it. An overlap is a stretch: it
    // may end where the zone begins.
    if (overlap == 0) {
        return lo > zone.from && lo < zone.to;
    }
    return lo + overlap > zone.from && lo < zone.to;
}

// The waste of a shape's segments if each were cut alone from the shortest stock bar that
// holds it: how far the shape is from whole stock bars.
std::int64_t aloneWaste(const Shape& shape, std::span<const std::int64_t> stocks) {
    std::int64_t waste = 0;
    for (const std::int64_t s : shape) {
        std::int64_t best = -1;
        for (const std::int64_t stock : stocks) {
            if (stock >= s && (best < 0 || stock < best)) {
                best = stock;
            }
        }
        waste += best < 0 ? s : best - s;
    }
    return waste;
}

// Every distinct order of `body` with the flexible segment `flex` at each place.
void addOrders(std::vector<std::int64_t> body, std::int64_t flex, std::vector<Shape>& out) {
    std::ranges::sort(body);
    do {
        for (std::size_t p = 0; p <= body.size(); ++p) {
            Shape shape = body;
            shape.insert(shape.begin() + static_cast<std::ptrdiff_t>(p), flex);
            out.push_back(std::move(shape));
        }
    } while (std::ranges::next_permutation(body).found);
}

// Every multiset of `size` stock lengths.
void multisets(std::span<const std::int64_t> stocks, std::size_t size, std::size_t from,
               std::vector<std::int64_t>& current, std::vector<std::vector<std::int64_t>>& out) {
    if (current.size() == size) {
        out.push_back(current);
        return;
    }
    for (std::size_t i = from; i < stocks.size(); ++i) {
        current.push_back(stocks[i]);
        multisets(stocks, size, i, current, out);
        current.pop_back();
    }
}

// Segments from the start: the first at most `first`, the others at most the longest stock,
// each joint moved back until it is clear of every zone. Nothing when a segment would become
// too short or the bar would need other than `joints` joints.
std::optional<Shape> greedy(const LongBar& bar, const Rule& rule, std::int64_t joints,
                            std::int64_t first, std::int64_t most, const std::vector<Zone>& zones,
                            const JointSettings& settings) {
    const std::size_t n = static_cast<std::size_t>(joints) + 1;
    Shape shape;
    std::int64_t start = 0;
    for (std::size_t k = 0; k + 1 < n; ++k) {
        std::int64_t s = std::min(k == 0 ? first : most, bar.length - start);
        bool moved = true;
        while (moved) {
            moved = false;
            for (const Zone& zone : zones) {
                if (touches(start + s - rule.overlap, rule.overlap, zone)) {
                    // The overlap (or the coupler) ends where the zone begins.
                    s = zone.from - start;
                    moved = true;
                }
            }
            if (s < leastSegment(k, n, rule.overlap, settings)) {
                return std::nullopt;
            }
        }
        shape.push_back(s);
        start += s - rule.overlap;
    }
    const std::int64_t last = bar.length - start;
    if (last > most || last < leastSegment(n - 1, n, rule.overlap, settings)) {
        return std::nullopt;
    }
    shape.push_back(last);
    return shape;
}

std::vector<Zone> mirrored(const std::vector<Zone>& zones, std::int64_t length) {
    std::vector<Zone> out;
    for (const Zone& z : zones) {
        out.push_back({length - z.to, length - z.from});
    }
    return out;
}

// What check() and practice() share: every rule but the number of joints, which the practice
// does not keep to.
std::optional<std::string> checkLayouts(const SplicedBar& spliced, const LongBar& bar,
                                        std::span<const std::int64_t> stocks,
                                        const JointSettings& settings, std::int64_t fewest,
                                        std::int64_t most) {
    const Rule& rule = spliced.rule;
    std::int64_t bars = 0;
    std::int64_t perElement = 0;
    for (const Layout& layout : spliced.layouts) {
        bars += layout.bars;
        perElement += layout.perElement;
        if (layout.bars <= 0 || layout.perElement <= 0) {
            return "a layout without bars";
        }
        if (rule.sideBySide > 1 && layout.perElement > rule.perSection) {
            return "more bars joined alike than one section allows";
        }
        const auto joints = static_cast<std::int64_t>(layout.segments.size()) - 1;
        if (joints < fewest || joints > most) {
            return "a layout with " + std::to_string(joints) + " joints";
        }
        Shape shape;
        for (const Segment& s : layout.segments) {
            shape.push_back(s.length);
        }
        if (!admissible(shape, bar, rule, stocks, settings)) {
            return "a layout that does not cover the bar within the rules";
        }
        if (centres(shape, rule.overlap) != layout.joints) {
            return "joint centres that do not match the segments";
        }
    }
    if (bars != bar.count) {
        return "layouts for " + std::to_string(bars) + " bars of " + std::to_string(bar.count);
    }
    if (perElement != rule.sideBySide) {
        return "layouts for " + std::to_string(perElement) + " bars side by side";
    }
    if (rule.sideBySide > 1) {
        // Every section that begins at a joint holds at most perSection joints of the bars side
        // by side; a section that begins elsewhere holds no more than one that begins at its
        // first joint.
        std::vector<std::pair<std::int64_t, std::int64_t>> weighted;
        for (const Layout& layout : spliced.layouts) {
            for (const std::int64_t x : layout.joints) {
                weighted.emplace_back(x, layout.perElement);
            }
        }
        for (const auto& [x, w] : weighted) {
            std::int64_t in = 0;
            for (const auto& [y, v] : weighted) {
                if (y >= x && y - x < rule.section) {
                    in += v;
                }
            }
            if (in > rule.perSection) {
                return "joints of " + std::to_string(in) + " bars in the section at " +
                       std::to_string(x) + " mm";
            }
        }
    }
    return std::nullopt;
}

} // namespace

bool spaced(const std::vector<std::int64_t>& a, const std::vector<std::int64_t>& b,
            std::int64_t section) {
    for (const std::int64_t x : a) {
        for (const std::int64_t y : b) {
            if (x - y < section && y - x < section) {
                return false;
            }
        }
    }
    return true;
}

std::int64_t SplicedBar::joints() const {
    std::int64_t n = 0;
    for (const Layout& layout : layouts) {
        n += layout.bars * static_cast<std::int64_t>(layout.joints.size());
    }
    return n;
}

std::int64_t SplicedBar::overlapMm() const {
    return joints() * rule.overlap;
}

Resolved resolve(const LongBar& bar, std::span<const std::int64_t> stocks,
                 const JointSettings& settings) {
    Resolved out;
    const auto fail = [&](JointProblem problem, std::int64_t value = 0,
                          std::optional<RuleProblem> rule = std::nullopt) {
        out.error = JointError{bar.line, bar.mark, problem, rule, value};
        return out;
    };
    if (bar.length <= 0 || bar.count <= 0 || bar.diameter <= 0) {
        return fail(JointProblem::NoLength);
    }
    const std::int64_t most = longest(stocks);
    if (bar.length <= most) {
        return fail(JointProblem::NotLong, most);
    }
    Rule rule;
    rule.method =
        bar.method.value_or(bar.diameter > settings.couplerAbove ? Method::Coupler : Method::Lap);
    rule.share = bar.share > 0                ? bar.share
                 : rule.method == Method::Lap ? settings.lapShare
                                              : settings.mechanicalShare;
    if (!lapFactor(rule.share)) {
        return fail(JointProblem::ShareNotAllowed, rule.share);
    }
    const std::optional<GradeRow> grade = gradeNamed(bar.grade);
    std::int64_t lapMm = bar.lapLength;
    if (rule.method == Method::Lap) {
        if (lapMm <= 0) {
            const Anchorage a = anchorage({bar.grade, bar.diameter, settings.concrete,
                                           settings.seismic, rule.share, bar.anchorFactor});
            if (a.problem) {
                return fail(JointProblem::Rule, 0, a.problem);
            }
            lapMm = a.lapMm;
            rule.lapD = a.d;
        }
        if (bar.tension && bar.diameter > kLapTensionMostTenths) {
            out.warnings.push_back({bar.line, bar.mark, JointWarning::ThickTensionLap});
        }
        if (!bar.tension && bar.diameter > kLapCompressionMostTenths) {
            out.warnings.push_back({bar.line, bar.mark, JointWarning::ThickCompressionLap});
        }
    }
    const JointCost cost = jointCost(rule.method, grade ? &*grade : nullptr, bar.diameter, lapMm,
                                     settings.buttAllowance);
    rule.overlap = cost.overlap;
    rule.section = cost.section;

    rule.sideBySide = std::min(bar.sideBySide > 0 ? bar.sideBySide : bar.count, bar.count);
    if (rule.sideBySide > 1) {
        rule.perSection = rule.share * rule.sideBySide / 100;
        if (rule.perSection == 0) {
            return fail(JointProblem::ShareTooSmall, rule.sideBySide);
        }
        rule.classes = (rule.sideBySide + rule.perSection - 1) / rule.perSection;
    }

    // Each joint lets the bar go on by a stock bar less the overlap.
    const std::int64_t gain = most - rule.overlap;
    if (gain <= 0 || most < settings.shortestSegment + rule.overlap) {
        return fail(JointProblem::LapTooLong, rule.overlap);
    }
    rule.joints = (bar.length - most + gain - 1) / gain;
    if (rule.joints >= 2 && most < settings.shortestSegment + 2 * rule.overlap) {
        return fail(JointProblem::LapTooLong, rule.overlap);
    }
    out.rule = rule;
    return out;
}

std::vector<std::int64_t> centres(const Shape& shape, std::int64_t overlap) {
    std::vector<std::int64_t> out = overlapStarts(shape, overlap);
    for (std::int64_t& x : out) {
        x += overlap / 2;
    }
    return out;
}

bool admissible(const Shape& shape, const LongBar& bar, const Rule& rule,
                std::span<const std::int64_t> stocks, const JointSettings& settings) {
    if (shape.empty()) {
        return false;
    }
    const std::int64_t most = longest(stocks);
    const std::int64_t joints = static_cast<std::int64_t>(shape.size()) - 1;
    if (std::accumulate(shape.begin(), shape.end(), std::int64_t{0}) !=
        bar.length + joints * rule.overlap) {
        return false;
    }
    for (std::size_t k = 0; k < shape.size(); ++k) {
        if (shape[k] > most || shape[k] < leastSegment(k, shape.size(), rule.overlap, settings)) {
            return false;
        }
    }
    const std::vector<std::int64_t> starts = overlapStarts(shape, rule.overlap);
    for (const std::int64_t lo : starts) {
        for (const Zone& zone : bar.zones) {
            if (touches(lo, rule.overlap, zone)) {
                return false;
            }
        }
    }
    if (rule.sideBySide > 1) {
        for (std::size_t k = 1; k < starts.size(); ++k) {
            if (starts[k] - starts[k - 1] < rule.section) {
                return false;
            }
        }
    }
    return true;
}

std::vector<Shape> shapes(const LongBar& bar, const Rule& rule, std::int64_t joints,
                          std::span<const std::int64_t> stocks, const JointSettings& settings) {
    const std::int64_t most = longest(stocks);
    const std::int64_t total = bar.length + joints * rule.overlap;
    std::vector<std::int64_t> lengths(stocks.begin(), stocks.end());
    std::ranges::sort(lengths, std::greater<>{});
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());

    std::vector<Shape> made;
    // Whole stock bars and one flexible segment, in every order.
    std::vector<std::vector<std::int64_t>> bodies;
    std::vector<std::int64_t> current;
    multisets(lengths, static_cast<std::size_t>(joints), 0, current, bodies);
    for (const std::vector<std::int64_t>& body : bodies) {
        const std::int64_t flex =
            total - std::accumulate(body.begin(), body.end(), std::int64_t{0});
        if (flex > 0 && flex <= most) {
            addOrders(body, flex, made);
        }
    }
    // Shifted by whole sections from the longest stock, from either end.
    const std::int64_t step = std::max<std::int64_t>(rule.section, 1);
    constexpr int kShifts = 48;
    for (const std::int64_t body : lengths) {
        for (int t = 1; t <= kShifts; ++t) {
            const std::int64_t first = body - t * step;
            const std::int64_t rest = total - first - (joints - 1) * body;
            if (first <= 0) {
                break;
            }
            if (rest <= 0 || rest > most) {
                continue;
            }
            Shape shape{first};
            for (std::int64_t k = 1; k < joints; ++k) {
                shape.push_back(body);
            }
            shape.push_back(rest);
            made.push_back(shape);
            std::ranges::reverse(shape);
            made.push_back(shape);
        }
    }
    // Joints pushed clear of the zones, from either end, shifted by whole sections.
    if (!bar.zones.empty()) {
        const std::vector<Zone> back = mirrored(bar.zones, bar.length);
        for (int t = 0; t <= kShifts; ++t) {
            const std::int64_t first = most - t * step;
            if (first <= 0) {
                break;
            }
            if (std::optional<Shape> s =
                    greedy(bar, rule, joints, first, most, bar.zones, settings)) {
                made.push_back(*s);
            }
            if (std::optional<Shape> s = greedy(bar, rule, joints, first, most, back, settings)) {
                std::ranges::reverse(*s);
                made.push_back(*s);
            }
        }
    }

    std::vector<Shape> out;
    std::set<Shape> seen;
    for (Shape& shape : made) {
        if (seen.insert(shape).second && admissible(shape, bar, rule, stocks, settings)) {
            out.push_back(std::move(shape));
        }
    }
    std::ranges::stable_sort(out, std::less<>{},
                             [&](const Shape& s) { return aloneWaste(s, stocks); });
    return out;
}

std::vector<Shape> fillerShapes(const LongBar& bar, const Rule& rule, std::int64_t joints,
                                std::int64_t filler, std::span<const std::int64_t> stocks,
                                const JointSettings& settings) {
    if (joints < 1) {
        return {};
    }
    const std::int64_t most = longest(stocks);
    const std::int64_t total = bar.length + joints * rule.overlap;
    std::vector<std::int64_t> lengths(stocks.begin(), stocks.end());
    std::ranges::sort(lengths, std::greater<>{});
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
    std::vector<std::vector<std::int64_t>> bodies;
    std::vector<std::int64_t> current;
    multisets(lengths, static_cast<std::size_t>(joints - 1), 0, current, bodies);
    std::vector<Shape> made;
    for (std::vector<std::int64_t>& body : bodies) {
        const std::int64_t flex =
            total - filler - std::accumulate(body.begin(), body.end(), std::int64_t{0});
        if (flex > 0 && flex <= most) {
            body.push_back(filler);
            addOrders(body, flex, made);
        }
    }
    std::vector<Shape> out;
    std::set<Shape> seen;
    for (Shape& shape : made) {
        if (seen.insert(shape).second && admissible(shape, bar, rule, stocks, settings)) {
            out.push_back(std::move(shape));
        }
    }
    return out;
}

std::optional<std::vector<Shape>> stagger(const Rule& rule, std::span<const Shape> candidates) {
    if (candidates.empty()) {
        return std::nullopt;
    }
    const auto classes = static_cast<std::size_t>(rule.classes);
    std::vector<std::vector<std::int64_t>> joints;
    std::size_t fewest = candidates.front().size();
    for (const Shape& s : candidates) {
        joints.push_back(centres(s, rule.overlap));
        fewest = std::min(fewest, joints.back().size());
    }
    std::vector<std::size_t> chosen;
    std::vector<std::size_t> best;
    std::size_t bestJoints = 0;
    std::int64_t nodes = 0;
    constexpr std::int64_t kNodes = 200'000;
    // Depth first over index-increasing choices: the classes are alike, so one order of a set
    // is enough, and the earliest (most promising) candidates come first. A set is kept only
    // when it has fewer joints than the one before it.
    const auto search = [&](auto&& self, std::size_t from, std::size_t sum) -> void {
        if (chosen.size() == classes) {
            if (best.empty() || sum < bestJoints) {
                best = chosen;
                bestJoints = sum;
            }
            return;
        }
        const std::size_t still = classes - chosen.size() - 1;
        for (std::size_t i = from; i < candidates.size() && nodes < kNodes; ++i) {
            if (!best.empty() && (bestJoints == classes * fewest ||
                                  sum + joints[i].size() + still * fewest >= bestJoints)) {
                continue;
            }
            ++nodes;
            bool fits = true;
            for (const std::size_t c : chosen) {
                if (!spaced(joints[c], joints[i], rule.section)) {
                    fits = false;
                    break;
                }
            }
            if (!fits) {
                continue;
            }
            chosen.push_back(i);
            self(self, i + 1, sum + joints[i].size());
            chosen.pop_back();
        }
    };
    search(search, 0, 0);
    if (best.empty()) {
        return std::nullopt;
    }
    std::vector<Shape> out;
    for (const std::size_t c : best) {
        out.push_back(candidates[c]);
    }
    return out;
}

SplicedBar splice(const LongBar& bar, const Rule& rule, const std::vector<Shape>& perClass) {
    SplicedBar out;
    out.mark = bar.mark;
    out.diameter = bar.diameter;
    out.grade = bar.grade;
    out.length = bar.length;
    out.count = bar.count;
    out.rule = rule;
    out.zones = bar.zones;
    out.line = bar.line;
    const std::int64_t m = rule.sideBySide;
    const std::int64_t g = static_cast<std::int64_t>(perClass.size());
    const std::int64_t whole = bar.count / m;
    const std::int64_t rest = bar.count % m;
    int number = 0;
    for (std::int64_t j = 0; j < g; ++j) {
        Layout layout;
        for (std::int64_t i = j; i < m; i += g) {
            layout.perElement += 1;
            layout.bars += whole + (i < rest ? 1 : 0);
        }
        const Shape& shape = perClass[static_cast<std::size_t>(j)];
        for (const std::int64_t s : shape) {
            // Numbered on through the layouts, so that every segment length has a mark of its
            // own on the cutting sheet.
            layout.segments.push_back({bar.mark + "/" + std::to_string(++number), s});
        }
        layout.joints = centres(shape, rule.overlap);
        if (layout.bars > 0) {
            out.layouts.push_back(std::move(layout));
        }
    }
    return out;
}

std::optional<std::string> check(const SplicedBar& spliced, const LongBar& bar,
                                 std::span<const std::int64_t> stocks,
                                 const JointSettings& settings) {
    const Rule& rule = spliced.rule;
    return checkLayouts(spliced, bar, stocks, settings, rule.joints, rule.mostJoints);
}

std::vector<Shape> shapesUpTo(const LongBar& bar, const Rule& rule, std::int64_t fewest,
                              std::int64_t most, std::span<const std::int64_t> stocks,
                              const JointSettings& settings) {
    std::vector<Shape> out;
    for (std::int64_t joints = fewest; joints <= most; ++joints) {
        std::vector<Shape> more = shapes(bar, rule, joints, stocks, settings);
        out.insert(out.end(), std::make_move_iterator(more.begin()),
                   std::make_move_iterator(more.end()));
    }
    return out;
}

Segmented segment(const LongBar& bar, std::span<const std::int64_t> stocks,
                  const JointSettings& settings) {
    Segmented out;
    Resolved resolved = resolve(bar, stocks, settings);
    out.warnings = std::move(resolved.warnings);
    if (resolved.error) {
        out.error = resolved.error;
        return out;
    }
    Rule rule = *resolved.rule;
    bool anyShape = false;
    for (std::int64_t most = rule.joints; most <= rule.joints + kMostStaggerJoints; ++most) {
        const std::vector<Shape> candidates =
            shapesUpTo(bar, rule, rule.joints, most, stocks, settings);
        anyShape = anyShape || !candidates.empty();
        if (const std::optional<std::vector<Shape>> chosen = stagger(rule, candidates)) {
            rule.mostJoints = most + (settings.extraJoint ? 1 : 0);
            out.spliced = splice(bar, rule, *chosen);
            break;
        }
        // Joints beyond the fewest only ever serve the staggering of bars side by side.
        if (rule.sideBySide <= 1) {
            break;
        }
    }
    if (!out.spliced) {
        if (!anyShape) {
            out.error =
                JointError{bar.line, bar.mark,
                           bar.zones.empty() ? JointProblem::LapTooLong : JointProblem::ZonesBlock,
                           std::nullopt, bar.zones.empty() ? rule.overlap : 0};
        } else {
            out.error = JointError{bar.line, bar.mark, JointProblem::ShareUnmet, std::nullopt,
                                   rule.section};
        }
        return out;
    }
    if (check(*out.spliced, bar, stocks, settings)) {
        // The shapes are admissible one by one and staggered pairwise, so this is a fault of
        // the stage itself; the row is refused rather than planned against the rules.
        out.spliced.reset();
        out.error =
            JointError{bar.line, bar.mark, JointProblem::ShareUnmet, std::nullopt, rule.section};
    }
    return out;
}

std::optional<SplicedBar> practice(const LongBar& bar, const Rule& rule,
                                   std::span<const std::int64_t> stocks,
                                   const JointSettings& settings) {
    const std::int64_t most = longest(stocks);
    const std::int64_t step = (most - rule.overlap) / rule.classes;
    std::vector<Shape> perClass;
    for (std::int64_t j = 0; j < rule.classes; ++j) {
        Shape shape;
        std::int64_t start = 0;
        std::int64_t cap = most - j * step;
        while (bar.length - start > cap) {
            shape.push_back(cap);
            start += cap - rule.overlap;
            cap = most;
        }
        shape.push_back(bar.length - start);
        // A remainder too short to lap takes what it needs from the whole bar before it.
        const std::size_t n = shape.size();
        const std::int64_t need = leastSegment(n - 1, n, rule.overlap, settings) - shape.back();
        if (need > 0 && n >= 2) {
            shape[n - 2] -= need;
            shape.back() += need;
        }
        perClass.push_back(std::move(shape));
    }
    SplicedBar out = splice(bar, rule, perClass);
    if (checkLayouts(out, bar, stocks, settings, 0, bar.length)) {
        return std::nullopt;
    }
    return out;
}

} // namespace plan::joints
