#include "planner/actions.h"

#include <array>

namespace planner {
namespace {

using enum Command;
using Key = QKeySequence::StandardKey;

// clang-format off
constexpr std::array kActions = std::to_array<ActionRow>({
    // command        name              text                      standard key        keys          menu        tool   separator
    {New,            "newList",        "新建(&N)",               Key::New,           {},           Menu::File, true,  false},
    {Open,           "openList",       "打开(&O)…",              Key::Open,          {},           Menu::File, true,  false},
    {Save,           "saveList",       "保存(&S)",               Key::Save,          {},           Menu::File, true,  false},
    {SaveAs,         "saveListAs",     "另存为(&A)…",            Key::UnknownKey,    "Ctrl+Shift+S", Menu::File, false, false},
    {ExportPdf,      "exportPdf",      "导出 PDF(&D)…",          Key::UnknownKey,    "Ctrl+Shift+E", Menu::File, true,  true},
    {ExportXlsx,     "exportXlsx",     "导出 Excel 工作簿(&X)…", Key::UnknownKey,    {},           Menu::File, false, false},
    {ExportCsv,      "exportCsv",      "导出 CSV(&C)…",          Key::UnknownKey,    {},           Menu::File, false, false},
    {Print,          "print",          "打印(&P)…",              Key::Print,         {},           Menu::File, true,  true},
    {PrintPreview,   "printPreview",   "打印预览(&V)…",          Key::UnknownKey,    {},           Menu::File, false, false},
    {Quit,           "quit",           "退出(&Q)",               Key::UnknownKey,    "Ctrl+Q",     Menu::File, false, true},

    {Undo,           "undo",           "撤销(&U)",               Key::Undo,          {},           Menu::Edit, false, false},
    {Redo,           "redo",           "重做(&R)",               Key::UnknownKey,    "Ctrl+Y",     Menu::Edit, false, false},
    {Copy,           "copy",           "复制(&C)",               Key::Copy,          {},           Menu::Edit, false, true},
    {Paste,          "paste",          "粘贴(&P)",               Key::Paste,         {},           Menu::Edit, false, false},
    {InsertRow,      "insertRow",      "插入行(&I)",             Key::UnknownKey,    "Ctrl+I",     Menu::Edit, false, true},
    {DuplicateRows,  "duplicateRows",  "复制行(&D)",             Key::UnknownKey,    "Ctrl+D",     Menu::Edit, false, false},
    {DeleteRows,     "deleteRows",     "删除行(&L)",             Key::UnknownKey,    "Del",        Menu::Edit, false, false},
    {MoveUp,         "moveUp",         "上移(&K)",               Key::UnknownKey,    "Alt+Up",     Menu::Edit, false, false},
    {MoveDown,       "moveDown",       "下移(&J)",               Key::UnknownKey,    "Alt+Down",   Menu::Edit, false, false},
    {SortByDiameter, "sortByDiameter", "按直径排序(&M)",         Key::UnknownKey,    {},           Menu::Edit, false, true},
    {SortByLength,   "sortByLength",   "按长度排序(&G)",         Key::UnknownKey,    {},           Menu::Edit, false, false},
    {Shape,          "shape",          "按形状计算长度(&H)…",    Key::UnknownKey,    "Ctrl+L",     Menu::Edit, false, true},
    {JointColumns,   "jointColumns",   "添加接头列(&T)",         Key::UnknownKey,    {},           Menu::Edit, false, false},

    {Optimise,       "optimise",       "优化(&O)",               Key::UnknownKey,    "F5",         Menu::Plan, true,  false},
    {OptimiseByFloor, "optimiseByFloor", "按楼层优化(&L)",       Key::UnknownKey,    "Shift+F5",   Menu::Plan, true,  false},
    {Cancel,         "cancel",         "取消优化(&C)",           Key::UnknownKey,    {},           Menu::Plan, true,  false},
    {CommitPlan,     "commitPlan",     "确认下料(&K)…",          Key::UnknownKey,    "Ctrl+K",     Menu::Plan, true,  true},
    {UndoCommit,     "undoCommit",     "撤销确认(&Z)…",          Key::UnknownKey,    {},           Menu::Plan, false, false},

    {OpenYard,       "openYard",       "打开余料库(&O)…",        Key::UnknownKey,    {},           Menu::Yard, false, false},
    {DefaultYard,    "defaultYard",    "打开默认余料库(&D)",     Key::UnknownKey,    {},           Menu::Yard, false, false},
    {CloseYard,      "closeYard",      "关闭余料库(&C)",         Key::UnknownKey,    {},           Menu::Yard, false, false},
    {ManageYard,     "manageYard",     "余料库管理(&M)…",        Key::UnknownKey,    "Ctrl+Shift+Y", Menu::Yard, true,  true},
});
// clang-format on

} // namespace

std::span<const ActionRow> actionTable() {
    return kActions;
}

} // namespace planner
