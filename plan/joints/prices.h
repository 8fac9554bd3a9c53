#pragma once

#include "plan/joints/rules.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// What a plan costs in money: the new steel at a price per tonne, weighed by the nominal masses
// of GB/T 1499, and each joint at the price of its method. Money is whole fen (分): the steel of
// one stock bar is rounded to the fen once, and plans are compared by sums of whole fen.
namespace plan::joints {

// Typical figures of 2024–2025: rebar at 4,000 元/t; a joint by a straight-thread coupler 8 元
// with its threading, by a weld 5 元, by a lap nothing but its steel.
inline constexpr std::int64_t kSteelFenPerTonne = 400'000;
// By Method: Lap, Coupler, LapWeldSingle, LapWeldDouble, ButtWeld.
inline constexpr std::array<std::int64_t, 5> kJointFen{0, 800, 500, 500, 500};

struct Prices {
    std::int64_t steelFenPerTonne = kSteelFenPerTonne;
    std::array<std::int64_t, 5> jointFen = kJointFen;

    [[nodiscard]] std::int64_t joint(Method method) const {
        return jointFen[static_cast<std::size_t>(method)];
    }

    friend bool operator==(const Prices&, const Prices&) = default;
};

// Grams per metre of a bar: GB/T 1499's nominal mass, or 0.00617·d² kg/m to the nearest gram
// for a diameter it does not list.
[[nodiscard]] std::int64_t gramsPerMetre(std::string_view grade, std::int64_t diameterTenths);

// The price of `mm` of bar weighing `grams` per metre at `fenPerTonne`, to the nearest fen.
[[nodiscard]] std::int64_t steelFen(std::int64_t mm, std::int64_t grams, std::int64_t fenPerTonne);

struct Money {
    std::int64_t steel = 0;  // fen
    std::int64_t joints = 0; // fen

    [[nodiscard]] std::int64_t total() const { return steel + joints; }

    friend bool operator==(const Money&, const Money&) = default;
};

} // namespace plan::joints
