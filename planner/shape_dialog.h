#pragma once

#include "formats/shape.h"

#include <array>

#include <QDialog>
#include <QString>

class QComboBox;
class QStackedWidget;

namespace window {
class Messenger;
}

namespace planner {

class ShapeForm;

// What a list row holds of its shape.
struct ShapeRow {
    formats::Shape shape = formats::Shape::None;
    QString parameters; // the 参数 text: 名称=值;名称=值
    QString length;     // 长度
    QString diameter;   // 直径
};

// Computes a row's length from one of the calculator's shapes. It opens on the row's shape with
// the parameters the row keeps (a row with none opens on the straight bar), so the length can be
// computed again; 确定 computes once more and is refused while the calculation reports a fault or
// a missing field.
class ShapeDialog final : public QDialog {
    Q_OBJECT

public:
    ShapeDialog(const ShapeRow& row, window::Messenger& messenger, QWidget* parent = nullptr);

    // The row as it is to be: shape, parameters and the computed length; a row without a
    // diameter takes the one typed for the calculation.
    [[nodiscard]] ShapeRow row() const;

    [[nodiscard]] ShapeForm* form(formats::Shape shape) const;
    [[nodiscard]] formats::Shape shape() const;
    void setShape(formats::Shape shape);
    // The 计算 button: the calculation runs and shows its result.
    void calculate();

    void accept() override;

private:
    ShapeRow row_;
    QComboBox* shapes_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::array<ShapeForm*, 4> forms_{}; // by Shape; none for Shape::None
};

} // namespace planner
