#pragma once

#include "plan/joints/prices.h"
#include "plan/joints/rules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A bar longer than the stock, as a row of the list gives it, and what the joints stage makes
// of it. Lengths are whole mm, diameters tenths of a mm, as everywhere in plan/.
namespace plan::joints {

// A stretch of the bar, in mm from its start, that no joint may touch: a joint's whole length
// (a lap's overlap, a weld's) must lie outside it.
struct Zone {
    std::int64_t from = 0;
    std::int64_t to = 0;

    friend bool operator==(const Zone&, const Zone&) = default;
};

struct LongBar {
    std::string mark;
    std::string grade;         // "HRB400E", …; may be empty when no lap is needed
    std::int64_t diameter = 0; // tenths of a mm
    std::int64_t length = 0;   // finished length, mm
    std::int64_t count = 0;    // bars of this row
    // Bars that lie side by side in one element and so share connection sections; 0: count.
    std::int64_t sideBySide = 0;
    std::optional<Method> method; // nothing: by the diameter (JointSettings::couplerAbove)
    int share = 0;                // percent allowed in one section; 0: the method's default
    std::int64_t lapLength = 0;   // mm given by the row instead of the tables; 0: the tables
    int anchorFactor = 0;         // hundredths: ζ_a given by the row; 0: by 8.3.2
    bool tension = true;          // a tension bar (the lap limits of 8.4.2 differ)
    std::vector<Zone> zones;
    int line = 0; // where the row came from, for messages
};

struct JointSettings {
    int concrete = 30; // C30
    Seismic seismic = Seismic::None;
    // Bars thicker than this (tenths of a mm) are joined by couplers, the others lapped.
    std::int64_t couplerAbove = 220;
    // mm each butt-welded joint burns off (flash and upset); a shop's figure, not a code's.
    std::int64_t buttAllowance = 30;
    // Least length of a segment, mm, besides the overlaps at its ends.
    std::int64_t shortestSegment = 500;
    // One joint more than the fewest, where it saves steel.
    bool extraJoint = false;
    // Shares when the row gives none (25 % laps; 50 % couplers and welds).
    int lapShare = kLapShareDefault;
    int mechanicalShare = kMechanicalShareDefault;
    // Long bars planned for the least money, the steel bought and the joints at `prices`,
    // rather than for the fewest joints and then the least steel.
    bool byCost = false;
    Prices prices;

    friend bool operator==(const JointSettings&, const JointSettings&) = default;
};

// What the lower bound of a steel's plan covers.
enum class BoundScope {
    // No plan of any allowed segmentation buys less: the plan is optimal outright when it
    // reaches it.
    AllSegmentations,
    // No cutting of the segments chosen buys less; another segmentation might.
    ChosenSegmentation,
};

enum class JointProblem {
    Rule,            // the lap could not be worked out (see rule)
    NoLength,        // length or count not positive
    NotLong,         // the bar fits a stock bar: no joint is needed
    LapTooLong,      // the overlap leaves a stock bar no room for a segment
    ZonesBlock,      // the zones leave no place for the joints the bar needs
    ShareTooSmall,   // the share allows no joint at all among the bars side by side
    ShareUnmet,      // the joints cannot be staggered with the stock at hand
    ShareNotAllowed, // a share other than 25, 50 or 100 %
};

struct JointError {
    int line = 0;
    std::string mark;
    JointProblem problem = JointProblem::Rule;
    std::optional<RuleProblem> rule;
    std::int64_t value = 0; // the overlap for LapTooLong, the section length for ShareUnmet

    friend bool operator==(const JointError&, const JointError&) = default;
};

enum class JointWarning {
    ThickTensionLap,     // 8.4.2: tension bars over 25 mm are not to be lapped
    ThickCompressionLap, // 8.4.2: compression bars over 28 mm are not to be lapped
};

struct Warning {
    int line = 0;
    std::string mark;
    JointWarning warning = JointWarning::ThickTensionLap;
};

// A long bar's rules, worked out once.
struct Rule {
    Method method = Method::Lap;
    std::int64_t overlap = 0;    // mm each joint adds to the segments
    std::int64_t section = 0;    // mm: joint centres closer than this share a section
    int share = 0;               // percent
    std::int64_t sideBySide = 1; // bars that share sections
    std::int64_t perSection = 1; // joints allowed in one section among them
    std::int64_t classes = 1;    // layouts needed to stagger them
    std::int64_t joints = 0;     // the fewest joints one bar needs on its own
    // The most joints a bar of the row may have: the fewest with which the bars side by side
    // could be staggered, and one more when the settings allow it.
    std::int64_t mostJoints = 0;
    AnchorageD lapD; // the tables' entries, for a lap

    friend bool operator==(const Rule&, const Rule&) = default;
};

struct Segment {
    std::string mark; // KL1-1/1, KL1-1/2, …
    std::int64_t length = 0;

    friend bool operator==(const Segment&, const Segment&) = default;
};

// Bars joined the same way.
struct Layout {
    std::int64_t bars = 0;            // bars of the row made this way
    std::int64_t perElement = 0;      // of the bars side by side, how many are made this way
    std::vector<Segment> segments;    // from the bar's start
    std::vector<std::int64_t> joints; // joint centres, mm from the start

    friend bool operator==(const Layout&, const Layout&) = default;
};

struct SplicedBar {
    std::string mark;
    std::int64_t diameter = 0;
    std::string grade;
    std::int64_t length = 0;
    std::int64_t count = 0;
    Rule rule;
    std::vector<Layout> layouts;
    std::vector<Zone> zones; // the row's stretches no joint may touch, for the drawing
    int line = 0;

    [[nodiscard]] std::int64_t joints() const;    // all bars together
    [[nodiscard]] std::int64_t overlapMm() const; // all bars together

    friend bool operator==(const SplicedBar&, const SplicedBar&) = default;
};

} // namespace plan::joints
