#pragma once

#include "calc/field_access.h"
#include "calc/outcome.h"
#include "formats/shape.h"

#include <string>
#include <vector>

#include <QString>

// A list row's shape is one of the calculator's groups, computed by the calculator's own
// functions. What a group's fields are is not written down here a second time: the fields a
// calculation reads are its inputs, in the order it reads them, and the fields it writes are its
// results; each is named by its label in the calculator's control table.
namespace planner {

struct ShapeField {
    std::string name;    // the calculator's field ("Text3")
    QString title;       // its label without the colon ("弯钩长度")
    bool result = false; // written by the calculation, not read
};

// The group's fields: the inputs in the order the calculation reads them, then its results.
[[nodiscard]] std::vector<ShapeField> shapeFields(formats::Shape shape);

// Runs the shape's calculation (one, two or sw) on `fields`, with the interface locale's
// decimal separator, as the calculator's Calculate button does.
[[nodiscard]] calc::Outcome calculateShape(formats::Shape shape, calc::FieldAccess& fields);

// The result field holding the cutting length: the first the calculation writes.
[[nodiscard]] std::string lengthField(formats::Shape shape);

// The input that is the bar's diameter (labelled 直径), when the group has one.
[[nodiscard]] std::string diameterField(formats::Shape shape);

// A field whose label stands before another field's rather than its own ("斜段长度（第二栏）"):
// the field whose row it shares, or empty.
[[nodiscard]] std::string sharesRowWith(formats::Shape shape, const std::string& field);

} // namespace planner
