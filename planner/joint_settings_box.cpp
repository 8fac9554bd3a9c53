#include "planner/joint_settings_box.h"

#include "formats/list_file.h"
#include "formats/setting_text.h"
#include "plan/list.h"
#include "planner/joint_settings.h"
#include "planner/list_tables.h"
#include "planner/text_table.h"

#include <array>
#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>

namespace planner {
namespace {

using plan::joints::Seismic;

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// What a screen reader says: the label without its mnemonic, unit and colon.
QString plainLabel(QString label) {
    return label.remove(QRegularExpression(QStringLiteral("\\(&.\\)|："))).simplified();
}

// The classes the concrete table of the trade tables has (C20 … C80).
QComboBox* concreteBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const int grade : formats::concreteClasses()) {
        box->addItem(fromUtf8(formats::concreteText(grade)), grade);
    }
    return box;
}

QComboBox* seismicBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const Seismic grade :
         {Seismic::None, Seismic::One, Seismic::Two, Seismic::Three, Seismic::Four}) {
        box->addItem(fromUtf8(formats::seismicText(grade)), static_cast<int>(grade));
    }
    return box;
}

// The shares the lap table has a factor for, the only ones the rules take (25, 50, 100 %).
QComboBox* shareBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const int percent : formats::allowedShares()) {
        box->addItem(fromUtf8(formats::shareText(percent)), percent);
    }
    return box;
}

QSpinBox* millimetres(std::int64_t most, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(0, static_cast<int>(most));
    // One step per finished entry, not one per digit typed.
    box->setKeyboardTracking(false);
    box->setAlignment(Qt::AlignRight);
    return box;
}

// Money in 元 to the fen, typed or stepped a 元 at a time.
QDoubleSpinBox* yuanBox(QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setDecimals(2);
    box->setRange(0, static_cast<double>(plan::kMaxPriceFen) / 100);
    box->setKeyboardTracking(false);
    box->setAlignment(Qt::AlignRight);
    return box;
}

// The box's value as whole fen: the box holds two decimals, so the rounding is exact.
std::int64_t fenOf(const QDoubleSpinBox* box) {
    return std::llround(box->value() * 100);
}

void showFen(QDoubleSpinBox* box, std::int64_t fen) {
    box->setValue(static_cast<double>(fen) / 100);
}

void choose(QComboBox* box, int value) {
    box->setCurrentIndex(box->findData(value));
}

} // namespace

JointSettingsBox::JointSettingsBox(TextTable& settings, QWidget* parent)
    : QGroupBox(QStringLiteral("接长（超过原材长度的钢筋）"), parent), settings_(settings) {
    setObjectName(QStringLiteral("jointSettings"));
    setToolTip(
        QStringLiteral("比最长原材还长的钢筋分段下料后连接：按这些设置确定接头方式和搭接长度；"
                       "清单的“接头”列可逐行另定"));
    concrete_ = concreteBox(this);
    seismic_ = seismicBox(this);
    lapShare_ = shareBox(this);
    mechanicalShare_ = shareBox(this);
    couplerAbove_ = millimetres(plan::kMaxDiameter / 10, this);
    shortestSegment_ = millimetres(plan::kMaxLength, this);
    buttAllowance_ = millimetres(plan::kMaxAllowance, this);
    extraJoint_ = new QCheckBox(QStringLiteral("允许多一个接头(&M)"), this);
    byCost_ = new QCheckBox(QStringLiteral("按造价接长(&W)"), this);
    steelPrice_ = yuanBox(this);
    couplerPrice_ = yuanBox(this);
    weldPrice_ = yuanBox(this);
    lapPrice_ = yuanBox(this);

    struct Row {
        int column;
        QWidget* editor;
        const char16_t* name;
        const char16_t* label; // empty: the editor names itself
        const char16_t* hint;
    };
    const std::array<Row, 13> rows{{
        {kConcrete, concrete_, u"concrete", u"混凝土(&C)：",
         u"构件的混凝土强度等级，搭接长度按它查表（22G101-1）"},
        {kSeismic, seismic_, u"seismic", u"抗震等级(&Z)：",
         u"构件的抗震等级；一至三级的搭接长度按抗震要求加长"},
        {kLapShare, lapShare_, u"lapShare", u"搭接接头率(&D)：",
         u"同一连接区段内搭接接头的钢筋所占比例；越大，搭接越长（GB 50010 第 8.4.4 条）"},
        {kMechanicalShare, mechanicalShare_, u"mechanicalShare", u"机械接头率(&X)：",
         u"同一连接区段内机械连接和焊接接头的钢筋所占比例（GB 50010 第 8.4.7、8.4.9 条）"},
        {kCouplerAbove, couplerAbove_, u"couplerAbove", u"机械连接直径(&J) (mm)：",
         u"直径大于它的钢筋用机械连接（套筒），其余绑扎搭接"},
        {kShortestSegment, shortestSegment_, u"shortestSegment", u"最短分段(&S) (mm)：",
         u"每段钢筋除去两端搭接后至少这么长"},
        {kButtAllowance, buttAllowance_, u"buttAllowance", u"对焊余量(&H) (mm)：",
         u"每个对焊接头烧掉的长度（闪光和顶锻），按本厂实际填写"},
        {kExtraJoint, extraJoint_, u"extraJoint", u"", u"比最少的接头多用一个，只在能省钢材时才用"},
        {kByCost, byCost_, u"byCost", u"",
         u"钢材和接头合计最省：接头多用几个也行，只要省下的钢材比多出的接头贵"},
        {kSteelPrice, steelPrice_, u"steelPrice", u"钢材单价(&Y) (元/t)：",
         u"新购钢材每吨的价格，按 GB/T 1499 的公称质量计重"},
        {kJointPrices, couplerPrice_, u"couplerPrice", u"机械连接 (元/个)：",
         u"每个机械连接接头（套筒和丝头加工）的价格"},
        {-1, weldPrice_, u"weldPrice", u"焊接 (元/个)：",
         u"每个焊接接头（单面焊、双面焊、对焊、电渣压力焊）的价格"},
        {-1, lapPrice_, u"lapPrice", u"绑扎搭接 (元/个)：",
         u"每个绑扎搭接接头除搭接钢材外的价格（钢材已按钢材单价计入）"},
    }};
    auto* grid = new QGridLayout(this);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const QString hint = QString::fromUtf16(row.hint);
        row.editor->setObjectName(QString::fromUtf16(row.name));
        row.editor->setToolTip(hint);
        row.editor->setAccessibleDescription(hint);
        if (row.column >= 0) {
            editors_[row.column] = row.editor;
        }
        // Two settings a line, so that the box stays low above the tables.
        const int line = static_cast<int>(i / 2);
        const int at = static_cast<int>(i % 2) * 2;
        const QString text = QString::fromUtf16(row.label);
        if (text.isEmpty()) {
            grid->addWidget(row.editor, line, at, 1, 2);
            continue;
        }
        row.editor->setAccessibleName(plainLabel(text));
        // A spin box is typed into through a field of its own, which a screen reader names.
        if (auto* field = row.editor->findChild<QLineEdit*>()) {
            field->setAccessibleName(plainLabel(text));
        }
        auto* label = new QLabel(text, this);
        label->setBuddy(row.editor);
        label->setToolTip(hint);
        grid->addWidget(label, line, at);
        grid->addWidget(row.editor, line, at + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    const auto onChoice = [this](QComboBox* box, int column, auto text) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, box, column, text](int index) {
            if (index >= 0) {
                write(column, text(box->itemData(index).toInt()));
            }
        });
    };
    onChoice(concrete_, kConcrete, [](int c) { return fromUtf8(formats::concreteText(c)); });
    onChoice(seismic_, kSeismic,
             [](int s) { return fromUtf8(formats::seismicText(static_cast<Seismic>(s))); });
    const auto number = [](int value) {
        return QString::number(value);
    };
    onChoice(lapShare_, kLapShare, number);
    onChoice(mechanicalShare_, kMechanicalShare, number);
    connect(couplerAbove_, &QSpinBox::valueChanged, this, [this](int mm) {
        write(kCouplerAbove, fromUtf8(formats::diameterText(std::int64_t{mm} * 10)));
    });
    connect(shortestSegment_, &QSpinBox::valueChanged, this,
            [this](int mm) { write(kShortestSegment, QString::number(mm)); });
    connect(buttAllowance_, &QSpinBox::valueChanged, this,
            [this](int mm) { write(kButtAllowance, QString::number(mm)); });
    connect(extraJoint_, &QCheckBox::toggled, this,
            [this](bool yes) { write(kExtraJoint, fromUtf8(formats::yesNoText(yes))); });
    connect(byCost_, &QCheckBox::toggled, this,
            [this](bool yes) { write(kByCost, fromUtf8(formats::yesNoText(yes))); });
    connect(steelPrice_, &QDoubleSpinBox::valueChanged, this,
            [this] { write(kSteelPrice, fromUtf8(formats::yuanText(fenOf(steelPrice_)))); });
    for (QDoubleSpinBox* box : {couplerPrice_, weldPrice_, lapPrice_}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { writeJointPrices(); });
    }

    const auto refresh = [this] {
        showTexts();
        showProblems();
    };
    connect(&settings_, &QAbstractItemModel::modelReset, this, refresh);
    connect(&settings_, &QAbstractItemModel::dataChanged, this, refresh);
    showTexts();
}

QWidget* JointSettingsBox::editor(int column) const {
    const auto it = editors_.find(column);
    return it == editors_.end() ? nullptr : it->second;
}

void JointSettingsBox::showTexts() {
    // What the optimiser will take: the texts given, the defaults for the rest (and for a text
    // that cannot be read, which is marked).
    const plan::joints::JointSettings shown =
        formats::applied(readJointSettings(settings_).given, plan::Settings{}).joints;
    const std::array<QSignalBlocker, 13> quiet{
        QSignalBlocker(concrete_),      QSignalBlocker(seismic_),
        QSignalBlocker(lapShare_),      QSignalBlocker(mechanicalShare_),
        QSignalBlocker(couplerAbove_),  QSignalBlocker(shortestSegment_),
        QSignalBlocker(buttAllowance_), QSignalBlocker(extraJoint_),
        QSignalBlocker(byCost_),        QSignalBlocker(steelPrice_),
        QSignalBlocker(couplerPrice_),  QSignalBlocker(weldPrice_),
        QSignalBlocker(lapPrice_)};
    choose(concrete_, shown.concrete);
    choose(seismic_, static_cast<int>(shown.seismic));
    choose(lapShare_, shown.lapShare);
    choose(mechanicalShare_, shown.mechanicalShare);
    // A diameter between whole millimetres shows rounded; its text stays as given.
    couplerAbove_->setValue(static_cast<int>((shown.couplerAbove + 5) / 10));
    shortestSegment_->setValue(static_cast<int>(shown.shortestSegment));
    buttAllowance_->setValue(static_cast<int>(shown.buttAllowance));
    extraJoint_->setChecked(shown.extraJoint);
    byCost_->setChecked(shown.byCost);
    showFen(steelPrice_, shown.prices.steelFenPerTonne);
    showFen(couplerPrice_, shown.prices.joint(plan::joints::Method::Coupler));
    // The welds share a field: it shows the single lap weld's price, and a change sets all.
    showFen(weldPrice_, shown.prices.joint(plan::joints::Method::LapWeldSingle));
    showFen(lapPrice_, shown.prices.joint(plan::joints::Method::Lap));
}

void JointSettingsBox::showProblems() {
    for (const auto& [column, editor] : editors_) {
        const QString why = settings_.problem(0, column);
        editor->setToolTip(why.isEmpty() ? editor->accessibleDescription() : why);
        editor->setStyleSheet(
            why.isEmpty() ? QString() : QStringLiteral("background: #ffcdcd; color: #780000;"));
    }
}

void JointSettingsBox::writeJointPrices() {
    using plan::joints::Method;
    std::array<std::int64_t, 5> fen{};
    fen[static_cast<std::size_t>(Method::Lap)] = fenOf(lapPrice_);
    fen[static_cast<std::size_t>(Method::Coupler)] = fenOf(couplerPrice_);
    for (const Method weld : {Method::LapWeldSingle, Method::LapWeldDouble, Method::ButtWeld}) {
        fen[static_cast<std::size_t>(weld)] = fenOf(weldPrice_);
    }
    write(kJointPrices, fromUtf8(formats::jointPricesText(fen)));
}

void JointSettingsBox::write(int column, const QString& text) {
    if (text != settings_.text(0, column)) {
        settings_.setData(settings_.index(0, column), text, Qt::EditRole);
    }
}

} // namespace planner
