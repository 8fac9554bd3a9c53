#include "cli/command.h"

#include "cli/arguments.h"
#include "cli/inputs.h"
#include "cli/outputs.h"
#include "cli/progress_line.h"
#include "plan/optimize.h"

namespace cli {
namespace {

void writeLine(QIODevice& device, const QString& text) {
    device.write(text.toUtf8());
    device.write("\n");
}

// Two outputs to standard output would be read as one mixed stream; a workbook there is no
// use to anyone.
QString standardOutputClash(const Arguments& a) {
    if (a.xlsx && *a.xlsx == u"-") {
        return QStringLiteral("--xlsx 不能写到标准输出，请给出文件名。");
    }
    if (a.json && a.csv && *a.json == u"-" && *a.csv == u"-") {
        return QStringLiteral("--json 和 --csv 不能都写到标准输出。");
    }
    return {};
}

} // namespace

int runCommand(const QStringList& command, QIODevice& out, QIODevice& err, bool progress,
               std::stop_token stop) {
    const Parsed parsed = parseArguments(command);
    switch (parsed.request) {
    case Request::Help:
    case Request::Version:
        out.write(parsed.text.toUtf8());
        return kPlanned;
    case Request::Wrong:
        writeLine(err, QStringLiteral("hengchi-plan: %1").arg(parsed.text));
        writeLine(err, QStringLiteral("用 hengchi-plan --help 查看用法。"));
        return kBadInput;
    case Request::Plan:
        break;
    }

    const Arguments& arguments = parsed.arguments;
    if (const QString clash = standardOutputClash(arguments); !clash.isEmpty()) {
        writeLine(err, QStringLiteral("hengchi-plan: %1").arg(clash));
        return kBadInput;
    }
    const Inputs inputs = readInputs(arguments);
    // Before the errors, if any: a row the design code advises against is worth changing while
    // the list is being put right anyway.
    for (const Complaint& w : inputs.warnings) {
        writeLine(err, complaintText(w));
    }
    if (!inputs.complaints.empty()) {
        for (const Complaint& c : inputs.complaints) {
            writeLine(err, complaintText(c));
        }
        return kBadInput;
    }

    const plan::Plan plan = [&] {
        if (!progress) {
            return plan::optimize(inputs.list, {}, stop);
        }
        ProgressLine line(err, inputs.list.steels().size());
        return plan::optimize(
            inputs.list, [&line](const plan::Progress& p) { line.update(p); }, stop);
    }();
    if (plan.cancelled) {
        writeLine(err, QStringLiteral("hengchi-plan: 已中断，给出的是到此为止最好的方案。"));
    }
    if (const QString failed = writeOutputs(arguments, plan, inputs.project, out);
        !failed.isEmpty()) {
        writeLine(err, QStringLiteral("hengchi-plan: %1").arg(failed));
        return kNotWritten;
    }
    return kPlanned;
}

} // namespace cli
