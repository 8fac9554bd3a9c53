#pragma once

#include "planner/actions.h"
#include "planner/cutting_sheet.h"
#include "planner/dialogs.h"
#include "planner/list_check.h"
#include "planner/list_tables.h"
#include "planner/optimisation.h"
#include "planner/recent_files.h"

#include <map>
#include <memory>
#include <optional>

#include <QMainWindow>
#include <QUndoStack>

#include "yard/values.h"

class QSettings;
class QSplitter;
class QTabWidget;
class QMenu;

namespace yard {
class Yard;
}

// The cutting-plan window. The classes of planner/ and how data flows between them:
//
//   ListTables    the document: the pieces, offcuts, stock lengths and settings as typed texts
//   TableView     a spreadsheet-like view on one of them; every edit a command (table_edits.h)
//                 on the window's QUndoStack
//   checkTables   the texts through the optimiser's own checks; problems come back as red cells
//   Optimisation  plan::optimize on a thread of its own; ProgressPanel shows its reports
//   ResultsPanel  the plan: what to buy, summary, BarDrawing (bar_layout + bar_painter), patterns
//   cutting_sheet the same plan on paper, for PDF and printing; formats/ writes CSV and .xlsx
//   Dialogs       every modal dialog, behind a seam that tests answer
//   yard::Yard    the yard (余料库) while one is open: its stock is the offcuts checkTables and
//                 the run use; 确认下料 carries the plan out in it; YardWindow manages it
//
// The window owns all of them. Its handlers are named for what the user did.
namespace planner {

class FloorChooser;
class ProgressPanel;
class ResultsPanel;
class SettingsPanel;
class TableView;
class YardWindow;

class PlannerWindow final : public QMainWindow {
    Q_OBJECT

public:
    // `store` keeps the recent files.
    PlannerWindow(std::unique_ptr<Dialogs> dialogs, std::unique_ptr<QSettings> store,
                  QWidget* parent = nullptr);
    ~PlannerWindow() override;

    // Opens a list file, asking first about unsaved changes; false when it was not opened.
    bool openFile(const QString& path);
    void run(Command command);

    [[nodiscard]] QAction* action(Command command) const { return actions_.at(command); }
    [[nodiscard]] ListTables& tables() { return tables_; }
    [[nodiscard]] QUndoStack& undoStack() { return stack_; }
    [[nodiscard]] TableView* listView() const { return list_; }
    [[nodiscard]] SettingsPanel* settingsPanel() const { return settings_; }
    [[nodiscard]] ResultsPanel* results() const { return results_; }
    [[nodiscard]] ProgressPanel* progress() const { return progress_; }
    [[nodiscard]] bool optimising() const { return optimisation_.running(); }
    [[nodiscard]] const std::optional<SheetContent>& sheet() const { return sheet_; }
    [[nodiscard]] FloorChooser* floorChooser() const { return floors_; }
    [[nodiscard]] QString filePath() const { return path_; }
    [[nodiscard]] QStringList recentFiles() const { return recent_.paths(); }
    // Opens a yard file (made when it is missing) in place of the one open; false, after saying
    // why, when it cannot be opened.
    bool openYard(const QString& path, bool quiet = false);
    [[nodiscard]] yard::Yard* yard() const { return yard_.get(); }
    [[nodiscard]] YardWindow* yardWindow() const { return yardWindow_; }
    // The commit that carried the shown plan out, or 0.
    [[nodiscard]] std::int64_t planCommit() const { return planCommit_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void createParts();
    void updateTitle();
    void updateRecentMenu();
    void updateActions();

    void newClicked();
    void openClicked();
    bool load(const QString& path);
    bool saveClicked();
    bool saveAsClicked();
    bool saveTo(const QString& path);
    bool askToKeepChanges();
    void exportClicked(Command command);
    void printClicked(bool preview);
    [[nodiscard]] bool planIsCurrent();
    void copyClicked();
    void pasteClicked();
    void sortClicked(Command command);
    void shapeRequested(int row);
    void jointColumnsClicked();
    void optimiseClicked();
    void optimiseByFloorClicked();
    // The list checked and its floors chosen, ready to plan; nothing when it cannot be (the
    // user has been told why).
    [[nodiscard]] std::optional<plan::CuttingList> listToPlan();
    void startRun(const plan::CuttingList& list);
    void cancelClicked();
    void planFinished(const plan::Plan& plan);
    void floorStarted(int index, const QString& floor, const plan::CuttingList& part);
    // A building's floors carried out in the yard one after another, each its own commit.
    void commitFloors(yard::Origin origin);
    void buildingFinished(const plan::BuildingPlan& building);
    void showFloors();
    void textsChanged();

    void openYardClicked();
    void closeYardClicked();
    void manageYardClicked();
    void commitClicked();
    void undoCommitClicked();
    // The yard's stock read again after it changed (or another was opened): the checks and
    // 库存余料 follow, and the plan shown is out of date unless it is the one just carried out.
    void yardChanged(bool planStillCurrent = false);
    // The 余料库 window, when there is one, shows the yard open now, read again.
    void showYardWindow();
    [[nodiscard]] QString yardName() const;
    [[nodiscard]] ListCheck check() const;

    void commitEdits();
    [[nodiscard]] TableView* activeTable() const;
    void showCheck(const ListCheck& check);
    void showOtherColumns();
    void goTo(const Spot& spot);
    [[nodiscard]] QString documentName() const;
    [[nodiscard]] QString suggestedPath(const QString& suffix) const;

    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<QSettings> store_;
    RecentFiles recent_;
    ListTables tables_;
    QUndoStack stack_;
    Optimisation optimisation_;

    std::map<Command, QAction*> actions_;
    QMenu* recentMenu_ = nullptr;
    QSplitter* split_ = nullptr;
    QTabWidget* inputs_ = nullptr;
    TableView* list_ = nullptr;
    FloorChooser* floors_ = nullptr;
    QAction* floorsAction_ = nullptr; // the chooser's place on the tool bar
    SettingsPanel* settings_ = nullptr;
    ProgressPanel* progress_ = nullptr;
    ResultsPanel* results_ = nullptr;

    QString path_;
    bool fromWorkbook_ = false;         // path_ is a workbook: 保存 asks where to save the list
    std::optional<SheetContent> sheet_; // the last plan, with the list it was made from
    SheetContent running_;              // the list of the run under way
    int revision_ = 0;                  // counts every change of the document's texts
    int runRevision_ = 0;               // the revision the run under way was started on
    bool runWanted_ = false;            // false once its list was closed: its plan is dropped
    int planRevision_ = -1;             // the revision the shown plan was made from
    bool hadLongBars_ = false;          // the list had a long bar when last checked

    std::unique_ptr<yard::Yard> yard_;
    std::vector<yard::Moved> yardStock_; // every steel's, as the checks take it
    YardWindow* yardWindow_ = nullptr;   // made when first asked for
    QString runYard_;                    // the yard the run under way was started with
    QString planYard_;                   // the yard the shown plan was made with, or empty
    std::int64_t planCommit_ = 0;        // the commit that carried the shown plan out, or 0
};

} // namespace planner
