#include "planner/joint_settings_box.h"

#include "formats/list_file.h"
#include "formats/setting_text.h"
#include "plan/list.h"
#include "planner/joint_settings.h"
#include "planner/list_tables.h"
#include "planner/text_table.h"

#include <array>

#include <QCheckBox>
#include <QComboBox>
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

    struct Row {
        int column;
        QWidget* editor;
        const char16_t* name;
        const char16_t* label; // empty: the editor names itself
        const char16_t* hint;
    };
    const std::array<Row, 8> rows{{
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
    }};
    auto* grid = new QGridLayout(this);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const QString hint = QString::fromUtf16(row.hint);
        row.editor->setObjectName(QString::fromUtf16(row.name));
        row.editor->setToolTip(hint);
        row.editor->setAccessibleDescription(hint);
        editors_[row.column] = row.editor;
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
    const std::array<QSignalBlocker, 8> quiet{
        QSignalBlocker(concrete_),      QSignalBlocker(seismic_),
        QSignalBlocker(lapShare_),      QSignalBlocker(mechanicalShare_),
        QSignalBlocker(couplerAbove_),  QSignalBlocker(shortestSegment_),
        QSignalBlocker(buttAllowance_), QSignalBlocker(extraJoint_)};
    choose(concrete_, shown.concrete);
    choose(seismic_, static_cast<int>(shown.seismic));
    choose(lapShare_, shown.lapShare);
    choose(mechanicalShare_, shown.mechanicalShare);
    // A diameter between whole millimetres shows rounded; its text stays as given.
    couplerAbove_->setValue(static_cast<int>((shown.couplerAbove + 5) / 10));
    shortestSegment_->setValue(static_cast<int>(shown.shortestSegment));
    buttAllowance_->setValue(static_cast<int>(shown.buttAllowance));
    extraJoint_->setChecked(shown.extraJoint);
}

void JointSettingsBox::showProblems() {
    for (const auto& [column, editor] : editors_) {
        const QString why = settings_.problem(0, column);
        editor->setToolTip(why.isEmpty() ? editor->accessibleDescription() : why);
        editor->setStyleSheet(
            why.isEmpty() ? QString() : QStringLiteral("background: #ffcdcd; color: #780000;"));
    }
}

void JointSettingsBox::write(int column, const QString& text) {
    if (text != settings_.text(0, column)) {
        settings_.setData(settings_.index(0, column), text, Qt::EditRole);
    }
}

} // namespace planner
