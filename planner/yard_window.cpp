#include "planner/yard_window.h"

#include "formats/messages.h"
#include "formats/plan_words.h"
#include "formats/save.h"
#include "formats/sheet_files.h"
#include "planner/dialogs.h"
#include "planner/yard_models.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "yard/files.h"
#include "yard/messages.h"
#include "yard/yard.h"

namespace planner {
namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QTableView* tableView(QAbstractItemModel* model, const char* name, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

// Columns as wide as a sample of their texts (and their header), one column taking what is left:
// cheaper than sizing to contents over a hundred thousand rows, and the same for every yard.
void sizeColumns(QTableView* view, const std::vector<QString>& samples, int stretched) {
    QHeaderView* header = view->horizontalHeader();
    header->setStretchLastSection(false);
    const QFontMetrics metrics = view->fontMetrics();
    const int pad = metrics.averageCharWidth() * 3;
    for (int column = 0; column < static_cast<int>(samples.size()); ++column) {
        if (column == stretched) {
            header->setSectionResizeMode(column, QHeaderView::Stretch);
            continue;
        }
        const QString title = view->model()->headerData(column, Qt::Horizontal).toString();
        view->setColumnWidth(
            column, std::max(metrics.horizontalAdvance(samples[static_cast<std::size_t>(column)]),
                             metrics.horizontalAdvance(title)) +
                        pad);
    }
}

// A bound of the length filter: whole millimetres, or none.
std::int64_t bound(const QLineEdit* edit) {
    bool ok = false;
    const qint64 value = edit->text().trimmed().toLongLong(&ok);
    return ok && value > 0 ? value : 0;
}

} // namespace

YardWindow::YardWindow(Dialogs& dialogs, std::function<std::vector<formats::GradeCode>()> grades,
                       QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), grades_(std::move(grades)) {
    setObjectName(QStringLiteral("yardWindow"));
    setWindowTitle(QStringLiteral("余料库 - ") + kPlannerTitle);

    rows_ = new YardRowsModel(this);
    history_ = new YardHistoryModel(this);
    connect(rows_, &YardRowsModel::edited, this, &YardWindow::rowEdited);

    auto* stock = new QWidget(this);
    steel_ = new QComboBox(stock);
    steel_->setObjectName(QStringLiteral("steelFilter"));
    steel_->setSizeAdjustPolicy(QComboBox::AdjustToContents); // the steels come later
    steel_->setAccessibleName(QStringLiteral("钢筋"));
    shortest_ = new QLineEdit(stock);
    shortest_->setObjectName(QStringLiteral("shortestFilter"));
    shortest_->setAccessibleName(QStringLiteral("最短长度"));
    longest_ = new QLineEdit(stock);
    longest_->setObjectName(QStringLiteral("longestFilter"));
    longest_->setAccessibleName(QStringLiteral("最长长度"));
    for (QLineEdit* edit : {shortest_, longest_}) {
        edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
        connect(edit, &QLineEdit::textChanged, this, &YardWindow::refresh);
    }
    connect(steel_, &QComboBox::currentIndexChanged, this, &YardWindow::refresh);
    auto* filters = new QHBoxLayout;
    auto* steelLabel = new QLabel(QStringLiteral("钢筋(&S)："), stock);
    steelLabel->setBuddy(steel_);
    auto* lengthLabel = new QLabel(QStringLiteral("长度(&L) 从"), stock);
    lengthLabel->setBuddy(shortest_);
    filters->addWidget(steelLabel);
    filters->addWidget(steel_);
    filters->addSpacing(12);
    filters->addWidget(lengthLabel);
    filters->addWidget(shortest_);
    filters->addWidget(new QLabel(QStringLiteral("到"), stock));
    filters->addWidget(longest_);
    filters->addWidget(new QLabel(QStringLiteral("mm"), stock));
    filters->addStretch(1);

    rowsView_ = tableView(rows_, "yardRows", stock);
    rowsView_->setAccessibleName(QStringLiteral("余料"));
    rowsView_->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
    const QString time = QStringLiteral("2026-12-31 23:59");
    sizeColumns(rowsView_,
                {QStringLiteral("HRB400E"),
                 QStringLiteral("6.5"),
                 QStringLiteral("12000"),
                 QStringLiteral("1000"),
                 QStringLiteral("一号堆放点"),
                 {},
                 time},
                kYardSource);
    summary_ = new QLabel(stock);
    summary_->setObjectName(QStringLiteral("yardSummary"));

    auto* add = new QHBoxLayout;
    add->addWidget(new QLabel(QStringLiteral("添加余料："), stock));
    const std::array<std::pair<const char*, QString>, 5> fields{{
        {"newGrade", QStringLiteral("级别，如 C 或 HRB400")},
        {"newDiameter", QStringLiteral("直径")},
        {"newLength", QStringLiteral("长度")},
        {"newCount", QStringLiteral("根数")},
        {"newPlace", QStringLiteral("位置")},
    }};
    for (const auto& [name, hint] : fields) {
        auto* edit = new QLineEdit(stock);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setPlaceholderText(hint);
        edit->setAccessibleName(hint);
        connect(edit, &QLineEdit::returnPressed, this, &YardWindow::addClicked);
        add->addWidget(edit, name == std::string_view("newPlace") ? 2 : 1);
        newBar_.push_back(edit);
    }
    QPushButton* addButton = button(QStringLiteral("添加(&A)"), "addBar", stock);
    connect(addButton, &QPushButton::clicked, this, &YardWindow::addClicked);
    add->addWidget(addButton);

    auto* actions = new QHBoxLayout;
    QPushButton* scrap = button(QStringLiteral("报废短料(&R)…"), "scrapShort", stock);
    scrap->setToolTip(QStringLiteral("把短于给定长度的余料从库中去掉；选了钢筋时只限这种钢筋"));
    QPushButton* import = button(QStringLiteral("导入(&I)…"), "importOffcuts", stock);
    import->setToolTip(
        QStringLiteral("把余料文件（CSV 或 Excel，含 直径、长度、根数 列）的各行加入库中"));
    QPushButton* exportRows = button(QStringLiteral("导出(&E)…"), "exportOffcuts", stock);
    exportRows->setToolTip(QStringLiteral("把表中显示的余料写成 CSV 或 Excel 工作簿"));
    connect(scrap, &QPushButton::clicked, this, &YardWindow::scrapClicked);
    connect(import, &QPushButton::clicked, this, &YardWindow::importClicked);
    connect(exportRows, &QPushButton::clicked, this, &YardWindow::exportClicked);
    actions->addWidget(summary_, 1);
    actions->addWidget(scrap);
    actions->addWidget(import);
    actions->addWidget(exportRows);

    auto* stockLayout = new QVBoxLayout(stock);
    stockLayout->addLayout(filters);
    stockLayout->addWidget(rowsView_, 1);
    stockLayout->addLayout(actions);
    stockLayout->addLayout(add);

    auto* record = new QWidget(this);
    historyView_ = tableView(history_, "yardHistory", record);
    historyView_->setAccessibleName(QStringLiteral("记录"));
    historyView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    historyView_->setSelectionMode(QAbstractItemView::SingleSelection);
    // What an entry took and put in is a steel a line: each row as tall as its lines, whatever
    // the width of its columns.
    historyView_->setWordWrap(false);
    historyView_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    sizeColumns(historyView_,
                {QStringLiteral("9999"),
                 time,
                 QStringLiteral("确认下料 · 3 号楼二层梁柱 · 二层"),
                 {},
                 {},
                 QStringLiteral("已撤销 ") + time},
                -1);
    historyView_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    historyView_->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    QPushButton* undo = button(QStringLiteral("撤销所选确认(&U)…"), "undoChosen", record);
    connect(undo, &QPushButton::clicked, this, &YardWindow::undoClicked);
    auto* recordLayout = new QVBoxLayout(record);
    recordLayout->addWidget(historyView_, 1);
    auto* undoRow = new QHBoxLayout;
    undoRow->addStretch(1);
    undoRow->addWidget(undo);
    recordLayout->addLayout(undoRow);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("yardTabs"));
    tabs_->addTab(stock, QStringLiteral("余料(&1)"));
    tabs_->addTab(record, QStringLiteral("记录(&2)"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    resize(1100, 680);
}

void YardWindow::setYard(yard::Yard* store) {
    yard_ = store;
    setEnabled(store != nullptr);
    setWindowTitle((store ? QStringLiteral("余料库 %1 - ").arg(yardName())
                          : QStringLiteral("余料库（未打开） - ")) +
                   kPlannerTitle);
    refresh();
}

QString YardWindow::yardName() const {
    return yard_ ? QDir::toNativeSeparators(QString::fromStdString(yard_->path())) : QString();
}

template <typename T>
bool YardWindow::accepted(const T& result) {
    if (!result.error) {
        return true;
    }
    dialogs_.inform(
        this, QStringLiteral("余料库“%1”：%2").arg(yardName(), yard::describe(*result.error)));
    refresh();
    return false;
}

void YardWindow::showSteels() {
    const yard::Result<std::vector<plan::Steel>> steels = yard_->steels();
    if (!steels.error && steels.value == steels_) {
        return;
    }
    const QSignalBlocker quiet(steel_);
    const QString chosen = steel_->currentText();
    steels_ = steels.value;
    steel_->clear();
    steel_->addItem(QStringLiteral("全部"));
    for (const plan::Steel& s : steels_) {
        steel_->addItem(formats::steelLabel(s));
    }
    steel_->setCurrentIndex(std::max(0, steel_->findText(chosen)));
}

yard::Filter YardWindow::filter() const {
    yard::Filter f;
    const int chosen = steel_->currentIndex();
    if (chosen > 0 && static_cast<std::size_t>(chosen) <= steels_.size()) {
        f.steel = steels_[static_cast<std::size_t>(chosen - 1)];
    }
    f.shortest = bound(shortest_);
    f.longest = bound(longest_);
    return f;
}

void YardWindow::refresh() {
    if (yard_ == nullptr) {
        rows_->setRows({});
        history_->setEntries({});
        summary_->clear();
        return;
    }
    showSteels();
    yard::Result<std::vector<yard::Offcut>> rows = yard_->offcuts(filter());
    yard::Result<std::vector<yard::Entry>> entries = yard_->history();
    if (rows.error || entries.error) {
        summary_->setText(yard::describe(rows.error ? *rows.error : *entries.error));
    } else {
        std::int64_t bars = 0;
        for (const yard::Offcut& o : rows.value) {
            bars += o.count;
        }
        summary_->setText(QStringLiteral("%1 行，共 %2 根").arg(rows.value.size()).arg(bars));
    }
    rows_->setRows(std::move(rows.value));
    history_->setEntries(std::move(entries.value));
}

void YardWindow::addClicked() {
    if (yard_ == nullptr) {
        return;
    }
    const auto typed = [this](std::size_t i) {
        return newBar_[i]->text().toStdString();
    };
    plan::OffcutRow row{typed(1), typed(2), typed(3), 1, typed(0), {}};
    const plan::CheckedOffcuts checked = formats::checkOffcutRows({row}, grades_());
    if (!checked.errors.empty()) {
        dialogs_.inform(
            this, QStringLiteral("没有添加：%1").arg(formats::describe(checked.errors.front())));
        return;
    }
    if (checked.offcuts.empty()) {
        return; // nothing typed
    }
    const plan::Offcut& bar = checked.offcuts.front();
    const yard::NewOffcut added{bar.steel, bar.length, bar.count,
                                newBar_[4]->text().trimmed().toStdString()};
    if (accepted(yard_->add({added}, yard::EntryKind::Hand, {}))) {
        for (QLineEdit* edit : newBar_) {
            edit->clear();
        }
        newBar_.front()->setFocus(); // ready for the next bar
        refresh();
        emit changed();
    }
}

void YardWindow::rowEdited(const yard::Offcut& row, int column, const QString& text) {
    if (column == kYardPlace) {
        if (accepted(yard_->setPlace(row.id, text.trimmed().toStdString()))) {
            refresh();
        }
        return;
    }
    bool whole = false;
    const qint64 count = text.trimmed().toLongLong(&whole);
    if (!whole || count < 0) {
        dialogs_.inform(this, QStringLiteral("根数：必须是 0 或更大的整数"));
        return;
    }
    if (count == 0 &&
        !dialogs_.confirm(this,
                          QStringLiteral("根数改为 0，这一行（%1 %2 mm）就从余料库去掉。要去掉吗？")
                              .arg(formats::steelLabel(row.steel))
                              .arg(row.length))) {
        return;
    }
    if (accepted(yard_->setCount(row.id, count))) {
        refresh();
        emit changed();
    }
}

void YardWindow::scrapClicked() {
    if (yard_ == nullptr) {
        return;
    }
    const yard::Filter f = filter();
    const QString which = f.steel ? formats::steelLabel(*f.steel) : QStringLiteral("各种钢筋");
    const std::optional<int> below =
        dialogs_.askLength(this, QStringLiteral("报废%1短于多少毫米的余料？").arg(which), 500);
    if (!below) {
        return;
    }
    yard::Filter steel;
    steel.steel = f.steel;
    const yard::Result<yard::Entry> scrapped = yard_->scrap(steel, *below);
    if (!accepted(scrapped)) {
        return;
    }
    refresh();
    if (scrapped.value.source.id != 0) {
        emit changed();
    }
    dialogs_.inform(this,
                    scrapped.value.source.id == 0
                        ? QStringLiteral("没有%1短于 %2 mm 的余料。").arg(which).arg(*below)
                        : QStringLiteral("已报废：%1").arg(yard::movedText(scrapped.value.taken)));
}

void YardWindow::importClicked() {
    if (yard_ == nullptr) {
        return;
    }
    const QString path = dialogs_.chooseFile(
        this, QStringLiteral("导入余料"), QDir::homePath(),
        QStringLiteral("余料文件 (*.csv *.txt *.xlsx *.xls);;所有文件 (*)"), FileUse::Read);
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    const QString name = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        dialogs_.inform(this, QStringLiteral("无法读取“%1”：%2").arg(name, file.errorString()));
        return;
    }
    const yard::ImportRead read = yard::readImport(file.readAll(), path, grades_());
    QStringList problems;
    for (const formats::FileError& e : read.fileErrors) {
        problems.append(e.line > 0
                            ? QStringLiteral("第 %1 行：%2").arg(e.line).arg(formats::describe(e))
                            : formats::describe(e));
    }
    for (const plan::InputError& e : read.errors) {
        problems.append(QStringLiteral("第 %1 行，%2").arg(e.line).arg(formats::describe(e)));
    }
    if (!problems.isEmpty()) {
        dialogs_.inform(this, QStringLiteral("没有导入“%1”，请先改正：\n%2")
                                  .arg(name, problems.mid(0, 10).join(u'\n')));
        return;
    }
    yard::Origin origin;
    origin.list = name.toStdString();
    const yard::Result<yard::Entry> added = yard_->add(read.bars, yard::EntryKind::Import, origin);
    if (accepted(added)) {
        refresh();
        emit changed();
        dialogs_.inform(this,
                        QStringLiteral("已从“%1”导入 %2 行余料。").arg(name).arg(read.bars.size()));
    }
}

void YardWindow::exportClicked() {
    const QString path = dialogs_.chooseFile(
        this, QStringLiteral("导出余料"), QDir::home().filePath(QStringLiteral("余料库.csv")),
        QStringLiteral("CSV 文件 (*.csv);;Excel 工作簿 (*.xlsx)"), FileUse::Write);
    if (path.isEmpty()) {
        return;
    }
    const formats::Table table = yard::offcutsTable(rows_->rows());
    QString failed;
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        const formats::Workbook book = formats::tablesXlsx({table});
        failed = book.error.isEmpty() ? formats::saveFile(path, book.bytes) : book.error;
    } else {
        failed = formats::saveFile(path, formats::tablesCsv({table}));
    }
    if (!failed.isEmpty()) {
        dialogs_.inform(this, failed);
    }
}

void YardWindow::undoClicked() {
    const QModelIndex current = historyView_->currentIndex();
    if (yard_ == nullptr || !current.isValid()) {
        dialogs_.inform(this, QStringLiteral("请先在记录里选中一次确认下料。"));
        return;
    }
    const yard::Entry& entry = history_->entries()[static_cast<std::size_t>(current.row())];
    if (entry.source.kind != yard::EntryKind::Commit || entry.undone) {
        dialogs_.inform(this, entry.undone ? QStringLiteral("这次确认下料已经撤销过了。")
                                           : QStringLiteral("只有确认下料可以撤销。"));
        return;
    }
    const std::int64_t id = entry.source.id;
    if (!dialogs_.confirm(this, QStringLiteral("撤销第 %1 号确认下料？它取出的余料放回库中，"
                                               "它放回的料头从库中去掉。")
                                    .arg(id))) {
        return;
    }
    if (accepted(yard_->undo(id))) {
        refresh();
        emit changed();
    }
}

} // namespace planner
