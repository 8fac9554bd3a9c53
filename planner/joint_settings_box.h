#pragma once

#include <map>

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

namespace planner {

class TextTable;

// The settings of long bars' joints, 接长: the concrete and seismic grade the laps are worked
// out for, the diameter above which bars are joined by couplers, the shares of joints in one
// section, the shortest segment, the butt weld's allowance, whether one joint more may save
// steel, and whether the long bars are planned by cost, with the prices of steel and of a
// joint by coupler, by weld and by lap. Each is chosen from what the rules allow rather than
// typed, and each change is a step on the undo stack like a typed setting. A setting the
// document leaves out shows its default and stays out of the file until it is changed.
class JointSettingsBox final : public QGroupBox {
    Q_OBJECT

public:
    explicit JointSettingsBox(TextTable& settings, QWidget* parent = nullptr);

    // The widget of a setting's column, kConcrete … kJointPrices (the coupler's price for
    // kJointPrices); nothing for another column.
    [[nodiscard]] QWidget* editor(int column) const;

private:
    void showTexts();
    void showProblems();
    void write(int column, const QString& text);
    void writeJointPrices();

    TextTable& settings_;
    QComboBox* concrete_ = nullptr;
    QComboBox* seismic_ = nullptr;
    QComboBox* lapShare_ = nullptr;
    QComboBox* mechanicalShare_ = nullptr;
    QSpinBox* couplerAbove_ = nullptr;
    QSpinBox* shortestSegment_ = nullptr;
    QSpinBox* buttAllowance_ = nullptr;
    QCheckBox* extraJoint_ = nullptr;
    QCheckBox* byCost_ = nullptr;
    QDoubleSpinBox* steelPrice_ = nullptr;
    QDoubleSpinBox* couplerPrice_ = nullptr;
    QDoubleSpinBox* weldPrice_ = nullptr;
    QDoubleSpinBox* lapPrice_ = nullptr;
    std::map<int, QWidget*> editors_; // by SettingColumn
};

} // namespace planner
