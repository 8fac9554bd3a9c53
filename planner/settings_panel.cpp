#include "planner/settings_panel.h"

#include "planner/joint_settings_box.h"
#include "planner/list_tables.h"
#include "planner/table_clipboard.h"
#include "planner/table_view.h"
#include "planner/yard_models.h"

#include <QDataWidgetMapper>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace planner {
namespace {

struct FieldRow {
    SettingColumn column;
    const char16_t* name;
    const char16_t* label;
    const char16_t* hint;
};

constexpr std::array<FieldRow, 4> kFields{{
    {kKerf, u"kerf", u"锯口(&K) (mm)：", u"每切一刀损耗的长度；钢筋剪切为 0"},
    {kKeep, u"keep", u"最短余料(&R) (mm)：", u"剩下不短于它的料头回库再用，短的算废料"},
    {kSeconds, u"seconds", u"时限(&T) (秒)：", u"最多搜索这么久，到时给出目前最好的方案"},
    {kProject, u"project", u"项目名称(&N)：", u"印在下料单上，可以不填"},
}};

QString text(const char16_t* s) {
    return QString::fromUtf16(s);
}

// What a screen reader says: the label without its mnemonic and colon.
QString plainLabel(QString label) {
    return label.remove(QRegularExpression(QStringLiteral("\\(&.\\)|："))).simplified();
}

} // namespace

SettingsPanel::SettingsPanel(ListTables& tables, QUndoStack& stack, QWidget* parent)
    : QWidget(parent), tables_(tables) {
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    mapper_ = new QDataWidgetMapper(this);
    mapper_->setModel(&tables.settings);
    mapper_->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
    for (const FieldRow& setting : kFields) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(text(setting.name));
        edit->setPlaceholderText(text(setting.hint));
        edit->setAccessibleName(plainLabel(text(setting.label)));
        edit->setAccessibleDescription(text(setting.hint));
        fields_[setting.column] = edit;
        mapper_->addMapping(edit, setting.column);
        auto* label = new QLabel(text(setting.label), this);
        label->setBuddy(edit);
        form->addRow(label, edit);
    }
    mapper_->toFirst();
    connect(&tables.settings, &QAbstractItemModel::modelReset, mapper_,
            &QDataWidgetMapper::toFirst);

    stock_ = new TableView(tables.stock, stack, this);
    stock_->setObjectName(QStringLiteral("stockLengths"));
    stock_->setAccessibleName(QStringLiteral("原材长度"));
    auto* stockBox = new QGroupBox(QStringLiteral("原材长度"), this);
    stockBox->setToolTip(QStringLiteral("每行一种长度，可以无限购买"));
    stock_->setAccessibleDescription(stockBox->toolTip());
    auto* stockLayout = new QVBoxLayout(stockBox);
    stockLayout->addWidget(stock_);

    offcuts_ = new TableView(tables.offcuts, stack, this);
    offcuts_->setObjectName(QStringLiteral("offcuts"));
    offcuts_->setAccessibleName(QStringLiteral("库存余料"));
    offcuts_->setHeaderReader(offcutsWithHeader);
    offcutsBox_ = new QGroupBox(QStringLiteral("库存余料"), this);
    auto* offcutsBox = offcutsBox_;
    offcutsBox->setToolTip(QStringLiteral("先用库存余料：已经付过钱，但数量有限"));
    offcuts_->setAccessibleDescription(offcutsBox->toolTip());
    yardStock_ = new YardStockModel(this);
    yardView_ = new QTableView(this);
    yardView_->setObjectName(QStringLiteral("yardStock"));
    yardView_->setAccessibleName(QStringLiteral("余料库的库存"));
    yardView_->setAccessibleDescription(
        QStringLiteral("打开余料库时按库里的余料下料；在“余料库管理”里修改"));
    yardView_->setModel(yardStock_);
    yardView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows as tall as the list's own offcuts would be in the same place.
    yardView_->verticalHeader()->setDefaultSectionSize(
        offcuts_->verticalHeader()->defaultSectionSize());
    offcutsPages_ = new QStackedWidget(this);
    offcutsPages_->addWidget(offcuts_);
    offcutsPages_->addWidget(yardView_);
    auto* offcutsLayout = new QVBoxLayout(offcutsBox);
    offcutsLayout->addWidget(offcutsPages_);

    grades_ = new TableView(tables.grades, stack, this);
    grades_->setObjectName(QStringLiteral("grades"));
    grades_->setAccessibleName(QStringLiteral("牌号表"));
    auto* gradesBox = new QGroupBox(QStringLiteral("牌号表"), this);
    gradesBox->setToolTip(
        QStringLiteral("清单里直径前的字母或级别代表哪种钢筋，如 C25 是 HRB400 Φ25；"
                       "抗震钢筋的代号加 E，如 CE = HRB400E"));
    grades_->setAccessibleDescription(gradesBox->toolTip());
    auto* gradesLayout = new QVBoxLayout(gradesBox);
    gradesLayout->addWidget(grades_);

    auto* settingsBox = new QGroupBox(QStringLiteral("下料设置"), this);
    settingsBox->setLayout(form);

    // Narrow tables of a few columns: the columns share the width, so none hides behind a
    // scroll bar.
    for (QTableView* view :
         std::initializer_list<QTableView*>{stock_, offcuts_, grades_, yardView_}) {
        view->horizontalHeader()->setStretchLastSection(false);
        view->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        view->horizontalHeader()->setMinimumSectionSize(view->fontMetrics().averageCharWidth() * 4);
    }
    // Room for the longest grade names (HRBF400E) beside their codes, not cut short.
    grades_->setMinimumWidth(
        grades_->fontMetrics().horizontalAdvance(QStringLiteral("三级HRBF400E")) +
        grades_->fontMetrics().averageCharWidth() * 12);
    // Three tables side by side leave each too narrow for its headers: the stock lengths and
    // the yard's offcuts share a row, the grade table has the next to itself.
    auto* lists = new QGridLayout;
    lists->addWidget(stockBox, 0, 0);
    lists->addWidget(offcutsBox, 0, 1);
    lists->addWidget(gradesBox, 1, 0, 1, 2);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(1, 2);
    lists->setRowStretch(0, 1);
    lists->setRowStretch(1, 1);
    joints_ = new JointSettingsBox(tables.settings, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(settingsBox);
    layout->addWidget(joints_);
    layout->addLayout(lists, 1);

    connect(&tables.settings, &QAbstractItemModel::dataChanged, this, &SettingsPanel::showProblems);
    connect(&tables.settings, &QAbstractItemModel::modelReset, this, &SettingsPanel::showProblems);
}

void SettingsPanel::showYard(const QString& name, std::vector<yard::Moved> stock) {
    yardStock_->setStock(std::move(stock));
    const bool yard = !name.isEmpty();
    offcutsPages_->setCurrentWidget(yard ? static_cast<QWidget*>(yardView_) : offcuts_);
    offcutsBox_->setTitle(yard ? QStringLiteral("库存余料：余料库 %1").arg(name)
                               : QStringLiteral("库存余料"));
    offcutsBox_->setToolTip(yard ? yardView_->accessibleDescription()
                                 : QStringLiteral("先用库存余料：已经付过钱，但数量有限"));
}

QLineEdit* SettingsPanel::field(int column) const {
    return column >= 0 && static_cast<std::size_t>(column) < fields_.size()
               ? fields_[static_cast<std::size_t>(column)]
               : nullptr;
}

QWidget* SettingsPanel::editor(int column) const {
    if (QLineEdit* edit = field(column)) {
        return edit;
    }
    return joints_->editor(column);
}

void SettingsPanel::showProblems() {
    for (std::size_t column = 0; column < fields_.size(); ++column) {
        QLineEdit* edit = fields_[column];
        const QString why = tables_.settings.problem(0, static_cast<int>(column));
        edit->setToolTip(why);
        edit->setStyleSheet(
            why.isEmpty() ? QString()
                          : QStringLiteral("QLineEdit { background: #ffcdcd; color: #780000; }"));
    }
}

} // namespace planner
