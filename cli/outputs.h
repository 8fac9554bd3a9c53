#pragma once

#include "cli/arguments.h"
#include "plan/floors.h"
#include "plan/plan.h"

#include <QIODevice>
#include <QString>

// What hengchi-plan writes once it has a plan: the readable text when no output is named,
// otherwise each output asked for. Every output is made in memory before any file is touched,
// and files are replaced whole, so a failure leaves no partial file behind.
namespace cli {

// Returns an empty string, or why an output could not be written.
[[nodiscard]] QString writeOutputs(const Arguments& arguments, const plan::Plan& plan,
                                   const QString& project, QIODevice& out);
// The same for a building planned floor by floor.
[[nodiscard]] QString writeOutputs(const Arguments& arguments, const plan::BuildingPlan& building,
                                   const QString& project, QIODevice& out);

} // namespace cli
