#include "planner/planner_window.h"

#include "formats/plan_words.h"
#include "formats/records.h"
#include "formats/shape.h"
#include "planner/floor_chooser.h"
#include "planner/joint_columns.h"
#include "planner/joint_words.h"
#include "planner/list_sort.h"
#include "planner/progress_panel.h"
#include "planner/results_panel.h"
#include "planner/settings_panel.h"
#include "planner/table_clipboard.h"
#include "planner/table_edits.h"
#include "planner/table_view.h"
#include "planner/yard_window.h"
#include "window/utf8.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QLineEdit>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "yard/files.h"
#include "yard/yard.h"

namespace planner {
namespace {

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/planner/hengchi-planner-%1.png").arg(size),
                     QSize(size, size));
    }
    return icon;
}

QString menuTitle(Menu menu) {
    switch (menu) {
    case Menu::File:
        return QStringLiteral("文件(&F)");
    case Menu::Edit:
        return QStringLiteral("编辑(&E)");
    case Menu::Plan:
        return QStringLiteral("下料(&P)");
    case Menu::Yard:
        return QStringLiteral("余料库(&Y)");
    }
    return {};
}

} // namespace

PlannerWindow::PlannerWindow(std::unique_ptr<Dialogs> dialogs, std::unique_ptr<QSettings> store,
                             QWidget* parent)
    : QMainWindow(parent), dialogs_(std::move(dialogs)), store_(std::move(store)),
      recent_(*store_) {
    setObjectName(QStringLiteral("plannerWindow"));
    setWindowIcon(programIcon());
    setAcceptDrops(true);
    for (TextTable* table :
         {&tables_.pieces, &tables_.offcuts, &tables_.stock, &tables_.settings, &tables_.grades}) {
        table->setUndoStack(&stack_);
        connect(table, &TextTable::textsChanged, this, &PlannerWindow::textsChanged);
    }
    createParts();
    createActions();
    connect(&stack_, &QUndoStack::cleanChanged, this, &PlannerWindow::updateTitle);
    connect(&stack_, &QUndoStack::canUndoChanged, this, &PlannerWindow::updateActions);
    connect(&stack_, &QUndoStack::canRedoChanged, this, &PlannerWindow::updateActions);
    connect(&optimisation_, &Optimisation::progressed, progress_, &ProgressPanel::report);
    connect(&optimisation_, &Optimisation::finished, this, &PlannerWindow::planFinished);
    connect(&optimisation_, &Optimisation::floorStarted, this, &PlannerWindow::floorStarted);
    connect(&optimisation_, &Optimisation::buildingFinished, this,
            &PlannerWindow::buildingFinished);
    connect(progress_, &ProgressPanel::cancelRequested, this, &PlannerWindow::cancelClicked);
    textsChanged();
    updateTitle();
    updateActions();
    // The yard used last, opened again; one that cannot be is only mentioned, not in the way.
    if (const QString last = store_->value(QStringLiteral("yard/path")).toString();
        !last.isEmpty()) {
        openYard(last, true);
    }
    resize(1280, 800);
    list_->setFocus();
    statusBar()->showMessage(QStringLiteral(
        "从 Excel 或 WPS 复制清单（编号、直径、长度、根数），点一下表格，按 Ctrl+V 粘贴。"));
}

PlannerWindow::~PlannerWindow() {
    // Members go before the widgets Qt deletes with the window: the undo stack, clearing itself,
    // must not report to a window half taken apart, and the views go before the tables they show.
    disconnect(&stack_, nullptr, this, nullptr);
    delete yardWindow_; // before the yard it shows
    delete centralWidget();
}

void PlannerWindow::createParts() {
    list_ = new TableView(tables_.pieces, stack_, this);
    list_->setObjectName(QStringLiteral("pieces"));
    list_->setAccessibleName(QStringLiteral("下料清单"));
    list_->setAccessibleDescription(
        QStringLiteral("每行一种钢筋：编号、直径、长度（毫米）、根数和可选的形状。"));
    list_->setColumnHidden(kParameters, true);
    list_->setHeaderReader(
        [this](const QString& text) { return piecesWithHeader(text, tables_.otherColumns()); });
    list_->setDialogColumn(kShape);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Room for a typical entry of each column; the last shown, 形状 or a column of the file's
    // own, takes the rest.
    const QFontMetrics metrics = list_->fontMetrics();
    const int pad = metrics.averageCharWidth() * 3;
    for (const auto& [column, sample] : {std::pair{kMark, QStringLiteral("KL10-12a")},
                                         {kDiameter, QStringLiteral("直径")},
                                         {kLength, QStringLiteral("长度 (mm)")},
                                         {kCount, QStringLiteral("根数 ")},
                                         {kShape, QStringLiteral("直钢筋(弯钩)")}}) {
        list_->setColumnWidth(column, metrics.horizontalAdvance(sample) + pad);
    }
    connect(list_, &TableView::dialogRequested, this, &PlannerWindow::shapeRequested);
    // The joint columns come and go with a document or an undo: their cells' choices with them.
    connect(&tables_.pieces, &QAbstractItemModel::modelReset, this,
            [this] { list_->setChoices(jointChoices(tables_)); });

    settings_ = new SettingsPanel(tables_, stack_, this);

    inputs_ = new QTabWidget(this);
    inputs_->setObjectName(QStringLiteral("inputs"));
    inputs_->addTab(list_, QStringLiteral("下料清单(&1)"));
    inputs_->addTab(settings_, QStringLiteral("原材与设置(&2)"));

    progress_ = new ProgressPanel(this);
    progress_->hide();
    results_ = new ResultsPanel(this);
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(progress_);
    rightLayout->addWidget(results_, 1);

    split_ = new QSplitter(Qt::Horizontal, this);
    split_->addWidget(inputs_);
    split_->addWidget(right);
    split_->setStretchFactor(0, 2);
    split_->setStretchFactor(1, 3);
    split_->setChildrenCollapsible(false);
    split_->setSizes({420, 860});
    setCentralWidget(split_);
}

void PlannerWindow::showOtherColumns() {
    if (tables_.otherColumns().isEmpty()) {
        return;
    }
    // A list with columns of its own shows them as what will be saved: each as wide as its texts
    // (within reason), and the list's side of the window widened for them, up to half of it.
    const int widest = list_->fontMetrics().averageCharWidth() * 30;
    const int frame = inputs_->sizeHint().width() - list_->sizeHint().width();
    const int wanted = list_->fitColumns(kPieceColumns, widest) + std::max(frame, 0);
    const QList<int> sizes = split_->sizes();
    if (sizes.size() != 2) {
        return;
    }
    const int total = sizes[0] + sizes[1];
    const int left = std::min(wanted, total / 2);
    if (left > sizes[0]) {
        split_->setSizes({left, total - left});
    }
}

void PlannerWindow::createActions() {
    std::map<Menu, QMenu*> menus;
    QToolBar* tools = addToolBar(QStringLiteral("常用"));
    tools->setObjectName(QStringLiteral("toolBar"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const ActionRow& entry : actionTable()) {
        auto* act = new QAction(window::fromUtf8(entry.text), this);
        act->setObjectName(window::fromUtf8(entry.name));
        if (entry.standardKey != QKeySequence::UnknownKey) {
            act->setShortcuts(entry.standardKey);
        } else if (!entry.keys.empty()) {
            act->setShortcut(QKeySequence(window::fromUtf8(entry.keys)));
        }
        const Command command = entry.command;
        connect(act, &QAction::triggered, this, [this, command] { run(command); });
        if (!menus.contains(entry.menu)) {
            menus[entry.menu] = menuBar()->addMenu(menuTitle(entry.menu));
        }
        QMenu* menu = menus.at(entry.menu);
        if (entry.separatorBefore) {
            menu->addSeparator();
        }
        menu->addAction(act);
        if (entry.command == Command::Open) {
            recentMenu_ = menu->addMenu(QStringLiteral("最近打开(&R)"));
            recentMenu_->setObjectName(QStringLiteral("recentMenu"));
        }
        if (entry.toolBar) {
            if (entry.separatorBefore || entry.command == Command::Optimise) {
                tools->addSeparator();
            }
            tools->addAction(act);
            if (entry.command == Command::OptimiseByFloor) {
                // The floors to plan, beside the two commands that plan them.
                floors_ = new FloorChooser(tools);
                floorsAction_ = tools->addWidget(floors_);
                floorsAction_->setVisible(false);
            }
        }
        actions_.emplace(command, act);
    }
    // F5 is what the window is for: say so where the button is.
    action(Command::Optimise)->setToolTip(QStringLiteral("优化下料方案 (F5)"));
    updateRecentMenu();
}

void PlannerWindow::run(Command command) {
    switch (command) {
    case Command::New:
        newClicked();
        break;
    case Command::Open:
        openClicked();
        break;
    case Command::Save:
        static_cast<void>(saveClicked());
        break;
    case Command::SaveAs:
        static_cast<void>(saveAsClicked());
        break;
    case Command::ExportPdf:
    case Command::ExportXlsx:
    case Command::ExportCsv:
        exportClicked(command);
        break;
    case Command::Print:
        printClicked(false);
        break;
    case Command::PrintPreview:
        printClicked(true);
        break;
    case Command::Quit:
        close();
        break;
    case Command::Undo:
        commitEdits();
        stack_.undo();
        break;
    case Command::Redo:
        commitEdits();
        stack_.redo();
        break;
    case Command::Copy:
        copyClicked();
        break;
    case Command::Paste:
        pasteClicked();
        break;
    case Command::InsertRow:
        if (TableView* view = activeTable()) {
            view->insertRow();
        }
        break;
    case Command::DuplicateRows:
        if (TableView* view = activeTable()) {
            view->duplicateRows();
        }
        break;
    case Command::DeleteRows:
        if (TableView* view = activeTable()) {
            view->deleteRows();
        }
        break;
    case Command::MoveUp:
    case Command::MoveDown:
        if (TableView* view = activeTable()) {
            view->moveRows(command == Command::MoveUp ? -1 : 1);
        }
        break;
    case Command::SortByDiameter:
    case Command::SortByLength:
        sortClicked(command);
        break;
    case Command::Shape:
        inputs_->setCurrentWidget(list_);
        shapeRequested(list_->currentIndex().isValid() ? list_->currentIndex().row() : 0);
        break;
    case Command::JointColumns:
        jointColumnsClicked();
        break;
    case Command::Optimise:
        optimiseClicked();
        break;
    case Command::OptimiseByFloor:
        optimiseByFloorClicked();
        break;
    case Command::Cancel:
        cancelClicked();
        break;
    case Command::CommitPlan:
        commitClicked();
        break;
    case Command::UndoCommit:
        undoCommitClicked();
        break;
    case Command::OpenYard:
        openYardClicked();
        break;
    case Command::DefaultYard:
        openYard(yard::defaultPath());
        break;
    case Command::CloseYard:
        closeYardClicked();
        break;
    case Command::ManageYard:
        manageYardClicked();
        break;
    }
}

void PlannerWindow::updateActions() {
    const bool running = optimisation_.running();
    action(Command::Undo)->setEnabled(stack_.canUndo());
    action(Command::Redo)->setEnabled(stack_.canRedo());
    action(Command::Optimise)->setEnabled(!running);
    action(Command::OptimiseByFloor)->setEnabled(!running && !floors_->floors().isEmpty());
    floors_->setEnabled(!running);
    action(Command::Cancel)->setEnabled(running);
    action(Command::JointColumns)->setEnabled(!hasJointColumns(tables_));
    // A plan is carried out once, in the yard it was made with, while it is the list's.
    const bool current =
        sheet_.has_value() && planRevision_ == revision_ && !sheet_->plan.cancelled;
    action(Command::CommitPlan)
        ->setEnabled(!running && yard_ && current && planCommit_ == 0 && planYard_ == yardName());
    action(Command::UndoCommit)->setEnabled(!running && yard_ != nullptr);
    action(Command::CloseYard)->setEnabled(yard_ != nullptr);
}

void PlannerWindow::updateTitle() {
    setWindowModified(!stack_.isClean());
    setWindowTitle(documentName() + QStringLiteral("[*] - ") + kPlannerTitle);
}

QString PlannerWindow::documentName() const {
    return path_.isEmpty() ? QStringLiteral("未命名清单") : QFileInfo(path_).fileName();
}

TableView* PlannerWindow::activeTable() const {
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* view = qobject_cast<TableView*>(w)) {
            return view;
        }
    }
    // The menus take no focus from the tables; with the focus elsewhere, the list is meant.
    return inputs_->currentWidget() == list_ ? list_ : nullptr;
}

void PlannerWindow::commitEdits() {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) {
        return;
    }
    for (QWidget* w = focus->parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* view = qobject_cast<TableView*>(w)) {
            // The cell's editor hands its text to the table as it loses the focus.
            view->setFocus();
            return;
        }
    }
    if (qobject_cast<QLineEdit*>(focus) != nullptr) {
        focus->clearFocus();
        focus->setFocus();
    }
}

void PlannerWindow::copyClicked() {
    if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        edit->copy();
        return;
    }
    if (TableView* view = activeTable()) {
        const QString text = view->copiedText();
        if (!text.isEmpty()) {
            QApplication::clipboard()->setText(text);
        }
    }
}

void PlannerWindow::pasteClicked() {
    if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        edit->paste();
        return;
    }
    if (TableView* view = activeTable()) {
        if (!view->paste(QApplication::clipboard()->text())) {
            statusBar()->showMessage(QStringLiteral("剪贴板里没有可以粘贴的表格。"), 5000);
        }
    }
}

void PlannerWindow::sortClicked(Command command) {
    commitEdits();
    const bool byDiameter = command == Command::SortByDiameter;
    std::vector<TextTable::Row> rows = byDiameter ? sortedByDiameter(tables_.pieces.rows())
                                                  : sortedByLength(tables_.pieces.rows());
    if (rows == tables_.pieces.rows()) {
        return;
    }
    stack_.push(
        new ReplaceRows(tables_.pieces, std::move(rows),
                        byDiameter ? QStringLiteral("按直径排序") : QStringLiteral("按长度排序")));
}

void PlannerWindow::shapeRequested(int row) {
    commitEdits();
    ShapeRow current;
    const auto shape = formats::shapeNamed(tables_.pieces.text(row, kShape).toStdString());
    current.shape = shape.value_or(formats::Shape::None);
    current.parameters = tables_.pieces.text(row, kParameters);
    current.length = tables_.pieces.text(row, kLength);
    current.diameter = tables_.pieces.text(row, kDiameter);
    const std::optional<ShapeRow> answer = dialogs_->editShape(this, current);
    if (!answer) {
        return;
    }
    const std::string_view name = formats::shapeName(answer->shape);
    const TextTable::Row cells{answer->diameter, answer->length, tables_.pieces.text(row, kCount),
                               window::fromUtf8(name), answer->parameters};
    TextTable::Row before;
    for (int c = kDiameter; c < kPieceColumns; ++c) {
        before.append(tables_.pieces.text(row, c));
    }
    if (cells != before) {
        stack_.push(new SetBlock(tables_.pieces, row, kDiameter, {cells},
                                 QStringLiteral("按形状计算长度")));
    }
}

void PlannerWindow::textsChanged() {
    ++revision_;
    const ListCheck check = this->check();
    showCheck(check);
    if (sheet_.has_value()) {
        results_->setStale(planRevision_ != revision_);
    }
    if (!actions_.empty()) {
        showFloors();
        updateActions();
    }
    // A long bar follows the joint settings; the columns to say otherwise for one row are a
    // menu away, and a bar bender meeting the first long row should learn where.
    const bool longBars = check.list && !check.list->longBars().empty();
    if (longBars && !hadLongBars_ && !hasJointColumns(tables_)) {
        statusBar()->showMessage(QStringLiteral(
            "清单里有超过原材长度的钢筋，将分段下料并按“原材与设置”里的接长设置连接；"
            "要逐行指定接头方式，用 编辑 > 添加接头列。"));
    }
    hadLongBars_ = longBars;
}

void PlannerWindow::jointColumnsClicked() {
    commitEdits();
    if (hasJointColumns(tables_)) {
        return;
    }
    const int row = list_->currentIndex().isValid() ? list_->currentIndex().row() : 0;
    stack_.push(new AddJointColumns(tables_));
    showOtherColumns();
    // Room for the longest method the 接头 cells offer, which the empty column has not.
    const int joint = tables_.columnOf(plan::Field::Joint);
    int widest = 0;
    for (const QString& name : methodNames()) {
        widest = std::max(widest, list_->fontMetrics().horizontalAdvance(name));
    }
    list_->setColumnWidth(joint, std::max(list_->columnWidth(joint),
                                          widest + list_->fontMetrics().averageCharWidth() * 3));
    inputs_->setCurrentWidget(list_);
    list_->goTo(row, joint);
    list_->setFocus();
}

void PlannerWindow::showCheck(const ListCheck& check) {
    tables_.pieces.setProblems(check.pieces);
    tables_.pieces.setWarnings(check.pieceWarnings);
    tables_.offcuts.setProblems(check.offcuts);
    tables_.stock.setProblems(check.stock);
    tables_.settings.setProblems(check.settings);
    tables_.grades.setProblems(check.grades);
}

void PlannerWindow::goTo(const Spot& spot) {
    switch (spot.part) {
    case Part::Pieces:
        inputs_->setCurrentWidget(list_);
        list_->goTo(spot.row, spot.column);
        list_->setFocus();
        break;
    case Part::Offcuts:
        inputs_->setCurrentWidget(settings_);
        settings_->offcutsView()->goTo(spot.row, spot.column);
        settings_->offcutsView()->setFocus();
        break;
    case Part::Stock:
        inputs_->setCurrentWidget(settings_);
        settings_->stockView()->goTo(spot.row, spot.column);
        settings_->stockView()->setFocus();
        break;
    case Part::Settings:
        inputs_->setCurrentWidget(settings_);
        if (QWidget* editor = settings_->editor(spot.column)) {
            editor->setFocus();
        }
        if (QLineEdit* field = settings_->field(spot.column)) {
            field->selectAll();
        }
        break;
    case Part::Grades:
        inputs_->setCurrentWidget(settings_);
        settings_->gradesView()->goTo(spot.row, spot.column);
        settings_->gradesView()->setFocus();
        break;
    }
}

std::optional<plan::CuttingList> PlannerWindow::listToPlan() {
    commitEdits();
    if (optimisation_.running()) {
        return std::nullopt;
    }
    const ListCheck check = this->check();
    showCheck(check);
    if (!check.list) {
        goTo(check.firstAt);
        dialogs_->inform(this, check.first + QStringLiteral("\n\n请先改正标红的内容，再优化。"));
        return std::nullopt;
    }
    if (check.list->pieces().empty() && check.list->longBars().empty()) {
        dialogs_->inform(
            this, QStringLiteral("清单里还没有钢筋。请先填写，或从 Excel 复制后粘贴（Ctrl+V）。"));
        return std::nullopt;
    }
    if (floors_->floors().isEmpty()) {
        return *check.list;
    }
    const QStringList chosen = floors_->chosen();
    if (chosen.isEmpty()) {
        dialogs_->inform(this, QStringLiteral("没有勾选楼层。请在工具栏的“楼层”里至少勾选一层。"));
        return std::nullopt;
    }
    // The rows that name no floor go with every choice of floors: they are no floor's alone.
    std::vector<std::string> floors{std::string()};
    for (const QString& floor : chosen) {
        floors.push_back(floor.toStdString());
    }
    return check.list->part(floors, check.list->offcuts());
}

void PlannerWindow::startRun(const plan::CuttingList& list) {
    running_ = {};
    // The sheet lists the rows as planned, long bars among them in the list's order: the steel
    // as the list wrote it, the count by elements where the list gave them.
    std::vector<plan::Piece> rows = list.pieces();
    rows.insert(rows.end(), list.longBars().begin(), list.longBars().end());
    std::ranges::stable_sort(rows, {}, &plan::Piece::line);
    for (const plan::Piece& piece : rows) {
        const QString length = piece.asked.empty() ? QString::number(piece.length)
                                                   : QString::fromStdString(piece.asked);
        running_.list.push_back(
            {QString::fromStdString(piece.mark), formats::steelLabel(piece.steel, piece.code),
             length, formats::countText(piece), tables_.pieces.text(piece.line - 1, kShape)});
        if (!piece.floor.empty()) {
            running_.list.back().append(QString::fromStdString(piece.floor));
        }
    }
    running_.project = tables_.project();
    runRevision_ = revision_;
    runWanted_ = true;
    runYard_ = yardName();
    updateActions();
    statusBar()->showMessage(QStringLiteral("正在优化……"));
}

void PlannerWindow::optimiseClicked() {
    const std::optional<plan::CuttingList> list = listToPlan();
    if (!list) {
        return;
    }
    startRun(*list);
    progress_->start(*list, list->settings().seconds);
    optimisation_.start(*list);
    updateActions();
}

void PlannerWindow::optimiseByFloorClicked() {
    const std::optional<plan::CuttingList> list = listToPlan();
    if (!list) {
        return;
    }
    startRun(*list);
    std::vector<std::string> floors;
    for (const std::string& floor : list->floors()) {
        floors.push_back(floor);
    }
    optimisation_.startByFloor(*list, std::move(floors));
    updateActions();
}

void PlannerWindow::floorStarted(int index, const QString& floor, const plan::CuttingList& part) {
    progress_->start(part, part.settings().seconds);
    statusBar()->showMessage(QStringLiteral("正在按楼层优化：%1（第 %2 层）……")
                                 .arg(floor.isEmpty() ? QStringLiteral("未注明楼层") : floor)
                                 .arg(index + 1));
}

void PlannerWindow::buildingFinished(const plan::BuildingPlan& building) {
    progress_->stop();
    updateActions();
    if (!runWanted_) {
        return;
    }
    running_.plan = plan::buildingTotals(building);
    running_.building = building;
    running_.date = QDate::currentDate();
    sheet_ = running_;
    planRevision_ = runRevision_;
    planYard_ = runYard_;
    planCommit_ = 0;
    results_->showBuilding(building);
    results_->setStale(planRevision_ != revision_);
    updateActions();
    const QString done = building.cancelled ? QStringLiteral("已取消，显示已下料各层的方案")
                                            : QStringLiteral("按楼层优化完成");
    statusBar()->showMessage(QStringLiteral("%1：%2 层，用时 %3 秒。")
                                 .arg(done)
                                 .arg(building.floors.size())
                                 .arg(building.seconds, 0, 'f', 2));
}

// The floors the list's 楼层 column names, in the order it first names them.
void PlannerWindow::showFloors() {
    QStringList floors;
    if (const int column = tables_.columnOf(plan::Field::Floor); column >= 0) {
        for (int row = 0; row < tables_.pieces.dataRows(); ++row) {
            const QString floor = tables_.pieces.text(row, column).trimmed();
            if (!floor.isEmpty() && !floors.contains(floor)) {
                floors.append(floor);
            }
        }
    }
    floors_->setFloors(floors);
    // A widget on a tool bar is shown and hidden through its action.
    floorsAction_->setVisible(!floors.isEmpty());
}

void PlannerWindow::cancelClicked() {
    if (optimisation_.running()) {
        optimisation_.cancel();
        statusBar()->showMessage(QStringLiteral("正在取消，保留目前最好的方案……"));
    }
}

void PlannerWindow::planFinished(const plan::Plan& plan) {
    progress_->stop();
    updateActions();
    if (!runWanted_) {
        return; // a plan for a list that is no longer open
    }
    running_.plan = plan;
    running_.date = QDate::currentDate();
    sheet_ = running_;
    planRevision_ = runRevision_;
    planYard_ = runYard_;
    planCommit_ = 0;
    results_->showPlan(plan);
    results_->setStale(planRevision_ != revision_);
    updateActions();
    QString done =
        plan.cancelled ? QStringLiteral("已取消，显示目前最好的方案") : QStringLiteral("优化完成");
    statusBar()->showMessage(
        QStringLiteral("%1，用时 %2 秒。").arg(done).arg(plan.seconds, 0, 'f', 2));
}

} // namespace planner
