#pragma once

#include "calc/outcome.h"
#include "formats/shape.h"
#include "window/window_fields.h"

#include <string>
#include <vector>

#include <QWidget>

namespace window {
class Messenger;
}

namespace planner {

// One of the calculator's groups as a form: its fields under their labels, the coefficient
// fields with the calculator's lists of standard values, and its result fields. The calculator's
// own function computes it, reading and writing these fields by their names, and its messages
// go through the messenger with the calculator's title and words.
class ShapeForm final : public QWidget {
    Q_OBJECT

public:
    ShapeForm(formats::Shape shape, window::Messenger& messenger, QWidget* parent = nullptr);

    [[nodiscard]] formats::Shape shape() const { return shape_; }
    // Runs the calculation; a fault is reported and its field selected, as in the calculator.
    calc::Outcome calculate();
    // The cutting length the last calculation wrote.
    [[nodiscard]] QString length() const;

    // The inputs by their labels, as a list row keeps them.
    [[nodiscard]] std::vector<formats::Parameter> parameters() const;
    void setParameters(const std::vector<formats::Parameter>& parameters);
    // The diameter typed for the calculation; empty for a group without one (a stirrup).
    [[nodiscard]] QString diameter() const;
    // Puts the row's diameter into the diameter field when that is still empty.
    void offerDiameter(const QString& diameter);

private:
    formats::Shape shape_;
    window::Messenger& messenger_;
    window::WindowFields fields_;
};

} // namespace planner
