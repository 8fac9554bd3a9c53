#include "formats/shape.h"

#include <array>
#include <utility>

namespace formats {
namespace {

constexpr std::array<std::pair<Shape, std::string_view>, 3> kNames{{
    {Shape::Straight, "直钢筋(弯钩)"},
    {Shape::BentUp, "弯起钢筋"},
    {Shape::Stirrup, "箍筋"},
}};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

std::string_view shapeName(Shape shape) {
    for (const auto& [s, name] : kNames) {
        if (s == shape) {
            return name;
        }
    }
    return {};
}

std::optional<Shape> shapeNamed(std::string_view name) {
    const std::string_view t = trimmed(name);
    if (t.empty()) {
        return Shape::None;
    }
    for (const auto& [s, n] : kNames) {
        if (n == t) {
            return s;
        }
    }
    return std::nullopt;
}

std::vector<Parameter> readParameters(std::string_view text) {
    std::vector<Parameter> out;
    while (!text.empty()) {
        const auto end = text.find(';');
        const std::string_view item = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (trimmed(item).empty()) {
            continue;
        }
        const auto equals = item.find('=');
        if (equals == std::string_view::npos) {
            out.push_back({std::string(trimmed(item)), {}});
        } else {
            out.push_back({std::string(trimmed(item.substr(0, equals))),
                           std::string(trimmed(item.substr(equals + 1)))});
        }
    }
    return out;
}

std::string parametersText(const std::vector<Parameter>& parameters) {
    std::string out;
    for (const Parameter& p : parameters) {
        if (!out.empty()) {
            out += ';';
        }
        out += p.name;
        out += '=';
        out += p.value;
    }
    return out;
}

} // namespace formats
