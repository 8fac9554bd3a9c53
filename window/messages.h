#pragma once

#include "calc/outcome.h"

#include <QString>

namespace window {

// The title of every message of the calculators and of the Calculate command.
inline const QString kCalculatorTitle = QStringLiteral("澄川工作室");
inline const QString kNoMethodMessage = QStringLiteral("没有选择计算方式。");

// What the user reads when a calculation meets a fault: the cause, and the field by its label.
QString faultMessage(const calc::Fault& fault);

// The About box: its title (the credit line) and its five lines, joined by CR LF.
QString aboutTitle();
QString aboutPrompt();

} // namespace window
