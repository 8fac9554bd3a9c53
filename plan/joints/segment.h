#pragma once

#include "plan/joints/long_bar.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The segmentation stage: a long bar's rules, the ways one bar of it can be cut into segments
// (its shapes), a staggered choice of shapes for the bars side by side, and the check every
// result passes before anyone sees it. The cutting problem only ever sees the segments as
// ordinary pieces.
namespace plan::joints {

struct Resolved {
    std::optional<Rule> rule;
    std::optional<JointError> error;
    std::vector<Warning> warnings;
};

// The method, overlap, section, share and fewest joints of `bar` with stock bars of `stocks`
// (mm, any order) under `settings`.
[[nodiscard]] Resolved resolve(const LongBar& bar, std::span<const std::int64_t> stocks,
                               const JointSettings& settings);

// One bar's segment lengths from its start.
using Shape = std::vector<std::int64_t>;

// Joint centres of a shape, mm from the bar's start: each overlap's middle, rounded down.
[[nodiscard]] std::vector<std::int64_t> centres(const Shape& shape, std::int64_t overlap);
// Whether every joint of `a` is at least `section` from every joint of `b` (centres, mm): the
// bars side by side are staggered when their joints are.
[[nodiscard]] bool spaced(const std::vector<std::int64_t>& a, const std::vector<std::int64_t>& b,
                          std::int64_t section);

// Whether `shape` is one bar of `bar` under `rule`: it covers the length with its overlaps,
// every segment fits a stock bar and is no shorter than the least segment with the overlaps at
// its ends, no joint touches a zone, and its own joints are a section apart when the bar has
// neighbours to stagger with.
[[nodiscard]] bool admissible(const Shape& shape, const LongBar& bar, const Rule& rule,
                              std::span<const std::int64_t> stocks, const JointSettings& settings);

// Admissible shapes with `joints` joints, most promising first: as many segments as possible
// whole stock bars, the rest as few and as close to a stock length as the rules allow; then
// shapes shifted by whole sections, so that the bars side by side can be staggered; then, for
// bars with zones, shapes whose joints are pushed clear of them.
[[nodiscard]] std::vector<Shape> shapes(const LongBar& bar, const Rule& rule, std::int64_t joints,
                                        std::span<const std::int64_t> stocks,
                                        const JointSettings& settings);

// Admissible shapes with `joints` joints of which one segment is `filler` (the length a gap
// the other pieces leave in a stock bar asks for), the others whole stock bars but one, in
// every order.
[[nodiscard]] std::vector<Shape> fillerShapes(const LongBar& bar, const Rule& rule,
                                              std::int64_t joints, std::int64_t filler,
                                              std::span<const std::int64_t> stocks,
                                              const JointSettings& settings);

// `rule.classes` shapes from `candidates` whose joints are pairwise at least a section apart,
// with the fewest joints together; among those, the earliest candidates. Nothing when the
// search finds none within its limit.
[[nodiscard]] std::optional<std::vector<Shape>> stagger(const Rule& rule,
                                                        std::span<const Shape> candidates);

// The bars of `bar` by layout: class j (of rule.classes) takes every classes-th bar of an
// element, starting at j, and the shape shapes[j].
[[nodiscard]] SplicedBar splice(const LongBar& bar, const Rule& rule,
                                const std::vector<Shape>& perClass);

// Why `spliced` breaks a rule for `bar` (coverage, stock, least segment, zones, sections, bar
// counts, number of joints); nothing when it is sound.
[[nodiscard]] std::optional<std::string> check(const SplicedBar& spliced, const LongBar& bar,
                                               std::span<const std::int64_t> stocks,
                                               const JointSettings& settings);

struct Segmented {
    std::optional<SplicedBar> spliced;
    std::optional<JointError> error;
    std::vector<Warning> warnings;
};

// The most joints more than a bar needs on its own that staggering may take: when the joints
// of the bars side by side find no room a section apart (a short way past a stock length,
// many bars with a small share), some bars take one or two joints more.
inline constexpr std::int64_t kMostStaggerJoints = 2;

// Admissible shapes with `fewest` to `most` joints, fewer joints first, each count's shapes
// in the order of shapes().
[[nodiscard]] std::vector<Shape> shapesUpTo(const LongBar& bar, const Rule& rule,
                                            std::int64_t fewest, std::int64_t most,
                                            std::span<const std::int64_t> stocks,
                                            const JointSettings& settings);

// The stage for one long bar: its rules, then the most promising staggered layouts with the
// fewest joints that allow staggering (rule.mostJoints records them, and one more when the
// settings allow it). An error names the row and the reason; a result has passed check().
[[nodiscard]] Segmented segment(const LongBar& bar, std::span<const std::int64_t> stocks,
                                const JointSettings& settings);

// The usual practice, for comparison: whole bars of the longest stock plus a remainder, every
// second bar (every classes-th, when more are side by side) starting with a part of a bar so
// that the joints are staggered. Nothing when that breaks a rule (a zone, say).
[[nodiscard]] std::optional<SplicedBar> practice(const LongBar& bar, const Rule& rule,
                                                 std::span<const std::int64_t> stocks,
                                                 const JointSettings& settings);

} // namespace plan::joints
