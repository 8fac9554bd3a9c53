#pragma once

#include "cli/arguments.h"
#include "plan/plan.h"

#include <memory>

#include <QIODevice>
#include <QString>

#include "yard/yard.h"

// What hengchi-plan does with the yard (--yard FILE), each step a function returning the exit
// code (command.h): kPlanned when it went well. Complaints and what was changed go to `err`, so
// that standard output holds only what was asked for.
namespace cli {

// Why the yard's options do not go together, or empty.
[[nodiscard]] QString yardOptionsWrong(const Arguments& arguments);

// Opens --yard's file, made when the command is to change it (--commit, --yard-import).
[[nodiscard]] int openYard(const Arguments& arguments, QIODevice& err,
                           std::unique_ptr<yard::Yard>& into);

// --undo-commit, --yard-import and --scrap-below, in that order, before any plan.
[[nodiscard]] int changeYard(const Arguments& arguments, yard::Yard& store, QIODevice& err);

// --commit: the plan carried out, recorded with the list's name, the project and the floor it
// is for (楼层: the floors it covers, or what --floor says of a list without floors).
[[nodiscard]] int commitPlan(const Arguments& arguments, yard::Yard& store, const plan::Plan& plan,
                             const QString& project, const QString& floor, QIODevice& err);

// --yard-csv, --yard-xlsx and --yard-history, after everything else.
[[nodiscard]] int showYard(const Arguments& arguments, const yard::Yard& store, QIODevice& out,
                           QIODevice& err);

} // namespace cli
