#include "window/form1.h"

#include "calc/calculations.h"
#include "window/appearance.h"
#include "window/control_table.h"
#include "window/messages.h"
#include "window/pickers.h"
#include "window/reference_table.h"
#include "window/utf8.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QIcon>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace window {
namespace {

QRect pixels(const Control& c) {
    return {c.left / kTwipsPerPixel, c.top / kTwipsPerPixel, c.width / kTwipsPerPixel,
            c.height / kTwipsPerPixel};
}

// A label keeps its place and width, but is never shorter than one line of its font. The heights
// of the table suit a font that leaves almost no room above and below its characters; the CJK
// fonts need a few pixels more than the shortest labels have, or the lowest strokes are cut off
// ("宽" loses its feet). Labels lie under every other control, so the taller ones hide nothing.
QRect geometryOf(const Control& c, const QWidget& widget) {
    QRect geometry = pixels(c);
    if (c.kind == Kind::Label) {
        const auto line = static_cast<int>(std::ceil(QFontMetricsF(widget.font()).height()));
        geometry.setHeight(std::max(geometry.height(), line));
    }
    return geometry;
}

// Text16 reaches one pixel over the left edge of Label10, enough to hide the first column of
// "保". A label whose left edge lies under another control starts its caption beside it.
void startClearOfOverlap(QLabel& label) {
    const QRect own = label.geometry();
    int covered = 0;
    for (const QObject* child : label.parentWidget()->children()) {
        const auto* const other = qobject_cast<const QWidget*>(child);
        if (other == nullptr || qobject_cast<const QLabel*>(other) != nullptr) {
            continue;
        }
        const QRect theirs = other->geometry();
        if (theirs.intersects(own) && theirs.left() <= own.left()) {
            covered = std::max(covered, theirs.right() + 1 - own.left());
        }
    }
    if (covered > 0) {
        label.setIndent(covered);
    }
}

// The keys that open a combo box's list: Alt+Down, and F4 on its own.
bool opensList(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Down && key.modifiers().testFlag(Qt::AltModifier)) ||
           (key.key() == Qt::Key_F4 && key.modifiers() == Qt::NoModifier);
}

QWidget* makeControl(const Control& c, QWidget* parent) {
    switch (c.kind) {
    case Kind::GroupBox:
        return new QGroupBox(fromUtf8(c.caption), parent);
    case Kind::CheckBox: {
        auto* box = new QCheckBox(fromUtf8(c.caption), parent);
        // It stands on its group box's top edge and must hide the frame line under it.
        box->setAutoFillBackground(true);
        return box;
    }
    case Kind::Label: {
        auto* label = new QLabel(fromUtf8(c.caption), parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Kind::TextBox:
        return new QLineEdit(parent);
    case Kind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        // Its list holds the standard values only: text typed into it is never added.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setEditText(fromUtf8(c.caption));
        return combo;
    }
    case Kind::CommandButton: {
        auto* button = new QPushButton(fromUtf8(c.caption), parent);
        button->setAutoDefault(false); // Enter starts no command
        return button;
    }
    case Kind::PictureBox:
        return new ReferenceTable(parent);
    }
    return nullptr;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/hengchi/hengchi-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

void centre(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
}

} // namespace

Form1::Form1(std::unique_ptr<Messenger> messenger, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      messenger_(std::move(messenger)), fields_(*this, *messenger_),
      decimalSeparator_(interfaceLocale().decimalPoint().toStdString()) {
    setObjectName(fromUtf8(kWindowName));
    setWindowTitle(fromUtf8(kWindowCaption));
    setFixedSize(kClientWidth / kTwipsPerPixel, kClientHeight / kTwipsPerPixel);
    setWindowIcon(programIcon());
    createControls();
    fillPickers();
    centre(*this);
}

Form1::~Form1() = default;

void Form1::createControls() {
    static constexpr std::array<std::string_view, 3> checkNames{"Check1", "Check2", "Check3"};
    std::map<std::string_view, QWidget*> created{{kWindowName, this}};
    std::map<int, QWidget*> tabOrder;
    for (const Control& c : controlTable()) {
        QWidget* const widget = makeControl(c, created.at(c.container));
        widget->setObjectName(fromUtf8(c.name));
        widget->setGeometry(geometryOf(c, *widget));
        created.emplace(c.name, widget);
        if (c.kind != Kind::Label && c.kind != Kind::GroupBox) {
            tabOrder.emplace(c.tabIndex, widget);
        }
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            fields_.add(edit);
        }
    }

    for (const Control& c : controlTable()) {
        if (c.kind == Kind::Label) {
            auto* const label = static_cast<QLabel*>(created.at(c.name));
            if (!c.buddy.empty()) {
                label->setBuddy(created.at(c.buddy));
            }
            startClearOfOverlap(*label);
        }
        if (c.kind == Kind::TextBox) {
            created.at(c.name)->setAccessibleName(fromUtf8(fieldTitle(c.name)));
        }
    }

    QWidget* previous = nullptr;
    for (const auto& [index, widget] : tabOrder) {
        if (previous != nullptr) {
            setTabOrder(previous, widget);
        }
        previous = widget;
    }
    // The window opens with the focus where the tab order starts.
    tabOrder.begin()->second->setFocus();

    for (int n = 0; n < 3; ++n) {
        auto* const box = static_cast<QCheckBox*>(created.at(checkNames[n]));
        checks_[n] = box;
        connect(box, &QCheckBox::toggled, this, [this, box](bool on) { checkToggled(box, on); });
    }
    checks_[0]->setChecked(true);

    const auto button = [&created](std::string_view name) {
        return static_cast<QPushButton*>(created.at(name));
    };
    connect(button("Command1"), &QPushButton::clicked, this, &Form1::calculateClicked);
    connect(button("Command2"), &QPushButton::clicked, this, &Form1::clearClicked);
    connect(button("Command3"), &QPushButton::clicked, this, &Form1::exitClicked);
    connect(button("Command4"), &QPushButton::clicked, this, &Form1::aboutClicked);
}

// What the window does as it loads: the pickers get their lists, and nothing else is set.
void Form1::fillPickers() {
    for (const Picker& picker : pickerTable()) {
        auto* const combo = findChild<QComboBox*>(fromUtf8(picker.combo));
        for (const std::string_view item : picker.items) {
            combo->addItem(fromUtf8(item));
        }
        // addItem makes the first item current in an editable combo box: no item is chosen
        // until the user picks one, and the covered edit field keeps the combo box's name.
        combo->setCurrentIndex(-1);
        combo->setEditText(fromUtf8(picker.combo));
        // activated, unlike currentIndexChanged, also comes for the item already chosen, so
        // picking 6.25 again restores it over a hand-typed 3.5.
        QLineEdit* const field = fields_.field(picker.field);
        connect(combo, &QComboBox::activated, field,
                [combo, field](int index) { field->setText(combo->itemText(index)); });
        field->setAccessibleDescription(fromUtf8(kListHint));
        field->installEventFilter(this);
        lists_.emplace(field, combo);
    }
}

// Only the fields with a list are watched. The list opens on the release that ends a
// double-click, not on the double-click itself: a list opened earlier would take that release as
// a click outside it and close again. From the keyboard it opens as a combo box's list does; the
// list then takes the keys itself, Enter picking and Esc closing it, and gives the focus back to
// the field when it closes.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        doubleClicked_ = watched;
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && watched == doubleClicked_) {
        doubleClicked_ = nullptr;
        openList(watched);
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        doubleClicked_ = nullptr;
    }
    if (event->type() == QEvent::KeyPress && opensList(*static_cast<QKeyEvent*>(event))) {
        openList(watched);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::openList(const QObject* field) {
    const auto list = lists_.find(field);
    if (list == lists_.end()) {
        return;
    }
    QComboBox* const combo = list->second;
    combo->showPopup();
    // Taking the focus, the list makes its first item current without showing it, and Down
    // would then skip that item. While no item is chosen none is current: the first Down goes to
    // the first item, and Enter picks only an item the user can see.
    if (combo->currentIndex() < 0) {
        combo->view()->selectionModel()->clearCurrentIndex();
    }
}

void Form1::checkToggled(QCheckBox* box, bool ticked) {
    if (!ticked) {
        return; // the user has just unticked it: no calculator is chosen now
    }
    // The others are cleared from the highest number down; each one cleared runs this handler
    // in turn, which finds it unticked and stops there.
    for (auto other = checks_.rbegin(); other != checks_.rend(); ++other) {
        if (*other != box) {
            (*other)->setChecked(false);
        }
    }
}

void Form1::calculateClicked() {
    if (checks_[0]->isChecked()) {
        report(calc::one(fields_, decimalSeparator_));
    } else if (checks_[1]->isChecked()) {
        report(calc::two(fields_, decimalSeparator_));
    } else if (checks_[2]->isChecked()) {
        report(calc::sw(fields_, decimalSeparator_));
    } else {
        messenger_->show(this, kCalculatorTitle, kNoMethodMessage);
    }
}

// A fault ends the calculation, not the program: the user reads why, and finds the field that
// caused it focused with its text selected, ready to be typed over.
void Form1::report(const calc::Outcome& outcome) {
    if (outcome.status != calc::Status::Failed) {
        return;
    }
    messenger_->show(this, kCalculatorTitle, faultMessage(outcome.fault));
    if (QLineEdit* const field = fields_.field(outcome.fault.field)) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
}

void Form1::clearClicked() {
    for (int n = 1; n <= 24; ++n) {
        fields_.write("Text" + std::to_string(n), {});
    }
}

void Form1::exitClicked() {
    close();
    QCoreApplication::exit(0);
}

void Form1::aboutClicked() {
    messenger_->show(this, aboutTitle(), aboutPrompt());
}

} // namespace window
