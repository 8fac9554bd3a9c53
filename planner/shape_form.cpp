#include "planner/shape_form.h"

#include "planner/shape_fields.h"
#include "window/messages.h"
#include "window/messenger.h"
#include "window/pickers.h"
#include "window/utf8.h"

#include <map>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace planner {
namespace {

// A coefficient field: the field is the line edit of a combo box holding the calculator's list,
// so Alt+↓ and F4 open the list and a pick copies the item's text, "0.50" as it stands.
QLineEdit* listField(const window::Picker& picker, QWidget* parent, QWidget*& shown) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string_view item : picker.items) {
        combo->addItem(window::fromUtf8(item));
    }
    combo->setCurrentIndex(-1);
    combo->setEditText({});
    combo->setObjectName(window::fromUtf8(picker.combo));
    combo->setAccessibleDescription(window::fromUtf8(window::kListHint));
    shown = combo;
    return combo->lineEdit();
}

} // namespace

ShapeForm::ShapeForm(formats::Shape shape, window::Messenger& messenger, QWidget* parent)
    : QWidget(parent), shape_(shape), messenger_(messenger), fields_(*this, messenger) {
    auto* grid = new QGridLayout(this);
    std::map<std::string, int> rowOf;
    int rows = 0;
    for (const ShapeField& f : shapeFields(shape)) {
        QWidget* shown = nullptr;
        QLineEdit* edit = nullptr;
        if (const window::Picker* picker = window::pickerForField(f.name)) {
            edit = listField(*picker, this, shown);
        } else {
            edit = new QLineEdit(this);
            shown = edit;
        }
        edit->setObjectName(QString::fromStdString(f.name));
        shown->setAccessibleName(f.title);
        edit->setAccessibleName(f.title);
        if (f.result) {
            edit->setReadOnly(true);
        }
        fields_.add(edit);

        const std::string partner = sharesRowWith(shape, f.name);
        if (!partner.empty() && rowOf.contains(partner)) {
            grid->addWidget(shown, rowOf.at(partner), 2);
            continue;
        }
        auto* label = new QLabel(f.title + u'：', this);
        label->setBuddy(shown);
        grid->addWidget(label, rows, 0);
        grid->addWidget(shown, rows, 1);
        rowOf.emplace(f.name, rows);
        ++rows;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(rows, 1);
}

calc::Outcome ShapeForm::calculate() {
    const calc::Outcome outcome = calculateShape(shape_, fields_);
    if (outcome.status == calc::Status::Failed) {
        messenger_.show(this, window::kCalculatorTitle, window::faultMessage(outcome.fault));
        if (QLineEdit* const field = fields_.field(outcome.fault.field)) {
            field->setFocus(Qt::OtherFocusReason);
            field->selectAll();
        }
    }
    return outcome;
}

QString ShapeForm::length() const {
    return QString::fromStdString(fields_.read(lengthField(shape_)));
}

std::vector<formats::Parameter> ShapeForm::parameters() const {
    std::vector<formats::Parameter> out;
    for (const ShapeField& f : shapeFields(shape_)) {
        if (!f.result) {
            out.push_back({f.title.toStdString(), fields_.read(f.name)});
        }
    }
    return out;
}

void ShapeForm::setParameters(const std::vector<formats::Parameter>& parameters) {
    for (const ShapeField& f : shapeFields(shape_)) {
        for (const formats::Parameter& p : parameters) {
            if (!f.result && p.name == f.title.toStdString()) {
                fields_.write(f.name, p.value);
            }
        }
    }
}

QString ShapeForm::diameter() const {
    const std::string field = diameterField(shape_);
    return field.empty() ? QString() : QString::fromStdString(fields_.read(field)).trimmed();
}

void ShapeForm::offerDiameter(const QString& diameter) {
    const std::string field = diameterField(shape_);
    if (!field.empty() && fields_.read(field).empty()) {
        fields_.write(field, diameter.trimmed().toStdString());
    }
}

} // namespace planner
