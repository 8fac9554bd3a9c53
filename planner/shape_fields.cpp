#include "planner/shape_fields.h"

#include "calc/calculations.h"
#include "window/appearance.h"
#include "window/control_table.h"

#include <algorithm>

namespace planner {
namespace {

// Answers every read with a number, and remembers which fields were read and written.
class FieldRecorder final : public calc::FieldAccess {
public:
    [[nodiscard]] std::string read(std::string_view field) const override {
        remember(reads_, field);
        return "1";
    }
    void write(std::string_view field, std::string /*text*/) override { remember(writes_, field); }
    void showMessage(std::string_view /*prompt*/) override {}

    [[nodiscard]] const std::vector<std::string>& reads() const { return reads_; }
    [[nodiscard]] const std::vector<std::string>& writes() const { return writes_; }

private:
    static void remember(std::vector<std::string>& names, std::string_view field) {
        if (std::ranges::find(names, field) == names.end()) {
            names.emplace_back(field);
        }
    }
    mutable std::vector<std::string> reads_;
    std::vector<std::string> writes_;
};

QString titleOf(const std::string& field) {
    return QString::fromStdString(window::fieldTitle(field));
}

} // namespace

calc::Outcome calculateShape(formats::Shape shape, calc::FieldAccess& fields) {
    const std::string separator = window::interfaceLocale().decimalPoint().toStdString();
    switch (shape) {
    case formats::Shape::Straight:
        return calc::one(fields, separator);
    case formats::Shape::BentUp:
        return calc::two(fields, separator);
    case formats::Shape::Stirrup:
        return calc::sw(fields, separator);
    case formats::Shape::None:
        break;
    }
    return {};
}

std::vector<ShapeField> shapeFields(formats::Shape shape) {
    if (shape == formats::Shape::None) {
        return {};
    }
    FieldRecorder recorder;
    static_cast<void>(calculateShape(shape, recorder));
    std::vector<ShapeField> fields;
    for (const std::string& name : recorder.reads()) {
        fields.push_back({name, titleOf(name), false});
    }
    for (const std::string& name : recorder.writes()) {
        fields.push_back({name, titleOf(name), true});
    }
    return fields;
}

std::string lengthField(formats::Shape shape) {
    for (const ShapeField& f : shapeFields(shape)) {
        if (f.result) {
            return f.name;
        }
    }
    return {};
}

std::string diameterField(formats::Shape shape) {
    for (const ShapeField& f : shapeFields(shape)) {
        if (!f.result && f.title.startsWith(QStringLiteral("直径"))) {
            return f.name;
        }
    }
    return {};
}

std::string sharesRowWith(formats::Shape shape, const std::string& field) {
    const QString title = titleOf(field);
    for (const ShapeField& f : shapeFields(shape)) {
        if (f.name != field && title.startsWith(f.title + u'（')) {
            return f.name;
        }
    }
    return {};
}

} // namespace planner
