#pragma once

#include <span>
#include <string_view>

#include <QKeySequence>

// Everything the user can do from the menus, the tool bar and the keyboard, in one table: the
// window makes its actions from it, so a command's name, words and keys are written once.
namespace planner {

enum class Command {
    New,
    Open,
    Save,
    SaveAs,
    ExportPdf,
    ExportXlsx,
    ExportCsv,
    Print,
    PrintPreview,
    Quit,
    Undo,
    Redo,
    Copy,
    Paste,
    InsertRow,
    DuplicateRows,
    DeleteRows,
    MoveUp,
    MoveDown,
    SortByDiameter,
    SortByLength,
    Shape,
    JointColumns,
    Optimise,
    OptimiseByFloor,
    Cancel,
    CommitPlan,
    UndoCommit,
    OpenYard,
    DefaultYard,
    CloseYard,
    ManageYard,
};

enum class Menu { File, Edit, Plan, Yard };

struct ActionRow {
    Command command;
    std::string_view name; // the action's objectName
    std::string_view text; // with its mnemonic
    QKeySequence::StandardKey standardKey = QKeySequence::UnknownKey;
    std::string_view keys = {}; // when there is no standard key for it
    Menu menu = Menu::File;
    bool toolBar = false;
    bool separatorBefore = false;
};

[[nodiscard]] std::span<const ActionRow> actionTable();

} // namespace planner
