#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A list row may say which of the calculator's shapes its length comes from, with that shape's
// inputs, so that the planner can compute the length again. The file keeps both as text.
namespace formats {

enum class Shape {
    None,     // a length typed in
    Straight, // 直钢筋(弯钩)
    BentUp,   // 弯起钢筋
    Stirrup,  // 箍筋
};

// The name in the 形状 column ("" for None).
[[nodiscard]] std::string_view shapeName(Shape shape);
// The shape a 形状 cell names, blanks around it ignored; nothing for an unknown name.
[[nodiscard]] std::optional<Shape> shapeNamed(std::string_view name);

struct Parameter {
    std::string name;  // a field's label, as the calculator shows it
    std::string value; // the field's text

    friend bool operator==(const Parameter&, const Parameter&) = default;
};

// The 参数 column: 名称=值;名称=值. Empty items are skipped; an item without '=' is a name with
// an empty value. Names and values cannot hold ';'; a name cannot hold '='.
[[nodiscard]] std::vector<Parameter> readParameters(std::string_view text);
[[nodiscard]] std::string parametersText(const std::vector<Parameter>& parameters);

} // namespace formats
