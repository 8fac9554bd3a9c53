#include "planner/shape_dialog.h"

#include "planner/shape_form.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace planner {
namespace {

constexpr std::array kShapes{formats::Shape::None, formats::Shape::Straight, formats::Shape::BentUp,
                             formats::Shape::Stirrup};

QString nameOf(formats::Shape shape) {
    if (shape == formats::Shape::None) {
        return QStringLiteral("无（直接填写长度）");
    }
    const std::string_view name = formats::shapeName(shape);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

ShapeDialog::ShapeDialog(const ShapeRow& row, window::Messenger& messenger, QWidget* parent)
    : QDialog(parent), row_(row) {
    setWindowTitle(QStringLiteral("按形状计算长度"));
    setObjectName(QStringLiteral("shapeDialog"));

    shapes_ = new QComboBox(this);
    shapes_->setObjectName(QStringLiteral("shape"));
    shapes_->setAccessibleName(QStringLiteral("形状"));
    pages_ = new QStackedWidget(this);
    auto* none = new QLabel(QStringLiteral("这一行的长度直接在清单里填写，不按形状计算。"), this);
    none->setWordWrap(true);
    for (const formats::Shape shape : kShapes) {
        shapes_->addItem(nameOf(shape));
        if (shape == formats::Shape::None) {
            pages_->addWidget(none);
            continue;
        }
        auto* form = new ShapeForm(shape, messenger, pages_);
        form->setParameters(formats::readParameters(row.parameters.toStdString()));
        form->offerDiameter(row.diameter);
        forms_[static_cast<std::size_t>(shape)] = form;
        pages_->addWidget(form);
    }
    connect(shapes_, &QComboBox::currentIndexChanged, pages_, &QStackedWidget::setCurrentIndex);

    auto* choose = new QFormLayout;
    auto* label = new QLabel(QStringLiteral("形状(&S)："), this);
    label->setBuddy(shapes_);
    choose->addRow(label, shapes_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* compute =
        buttons->addButton(QStringLiteral("计算(&C)"), QDialogButtonBox::ActionRole);
    compute->setObjectName(QStringLiteral("calculate"));
    compute->setAutoDefault(false);
    connect(compute, &QPushButton::clicked, this, &ShapeDialog::calculate);
    connect(buttons, &QDialogButtonBox::accepted, this, &ShapeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ShapeDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choose);
    layout->addWidget(pages_);
    layout->addWidget(buttons);

    setShape(row.shape == formats::Shape::None ? formats::Shape::Straight : row.shape);
}

ShapeForm* ShapeDialog::form(formats::Shape shape) const {
    return forms_[static_cast<std::size_t>(shape)];
}

formats::Shape ShapeDialog::shape() const {
    return kShapes[static_cast<std::size_t>(std::max(shapes_->currentIndex(), 0))];
}

void ShapeDialog::setShape(formats::Shape shape) {
    shapes_->setCurrentIndex(static_cast<int>(std::ranges::find(kShapes, shape) - kShapes.begin()));
}

void ShapeDialog::calculate() {
    if (ShapeForm* f = form(shape())) {
        static_cast<void>(f->calculate());
    }
}

void ShapeDialog::accept() {
    ShapeRow answer = row_;
    answer.shape = shape();
    if (ShapeForm* f = form(answer.shape)) {
        if (f->calculate().status != calc::Status::Written) {
            return;
        }
        answer.length = f->length();
        const std::vector<formats::Parameter> parameters = f->parameters();
        answer.parameters = QString::fromStdString(formats::parametersText(parameters));
        if (row_.diameter.trimmed().isEmpty()) {
            answer.diameter = f->diameter();
        }
    } else {
        answer.parameters.clear();
    }
    row_ = answer;
    QDialog::accept();
}

ShapeRow ShapeDialog::row() const {
    return row_;
}

} // namespace planner
