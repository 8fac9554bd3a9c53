#pragma once

#include "calc/calculations.h"
#include "calc/field_store.h"

#include <functional>

// The worked examples of the three calculators, and what the tests vary them with.
namespace examples {

using Texts = calc::FieldStore::Texts;
using Calculation = std::function<calc::Outcome(calc::FieldAccess&)>;

inline const Calculation kOne = [](calc::FieldAccess& f) {
    return calc::one(f);
};
inline const Calculation kTwo = [](calc::FieldAccess& f) {
    return calc::two(f);
};
inline const Calculation kSw = [](calc::FieldAccess& f) {
    return calc::sw(f);
};

// 945
inline const Texts kStraightBar{
    {"Text1", "900"}, {"Text2", "25"}, {"Text3", "6.25"}, {"Text4", "10"}, {"Text5", "1.5"}};
// 657
inline const Texts kBentUpBar{{"Text7", "200"},  {"Text8", "50"},   {"Text9", "1.41"},
                              {"Text10", "25"},  {"Text16", "100"}, {"Text11", "6.25"},
                              {"Text12", "1.5"}, {"Text13", "0.5"}, {"Text14", "10"}};
// 917 and 7
inline const Texts kStirrup{{"Text17", "250"},  {"Text18", "150"}, {"Text19", "75"},
                            {"Text20", "1.25"}, {"Text21", "900"}, {"Text22", "150"}};

inline Texts with(Texts texts, const Texts& changes) {
    for (const auto& [field, text] : changes) {
        texts.insert_or_assign(field, text);
    }
    return texts;
}

} // namespace examples
