#include "cli/command.h"

#include "cli/arguments.h"
#include "cli/inputs.h"
#include "cli/outputs.h"
#include "cli/progress_line.h"
#include "cli/yard_steps.h"
#include "plan/optimize.h"

namespace cli {
namespace {

void writeLine(QIODevice& device, const QString& text) {
    device.write(text.toUtf8());
    device.write("\n");
}

// Options that do not go together: two outputs to standard output would be read as one mixed
// stream, a workbook there is no use to anyone; the yard's options as yardOptionsWrong says.
QString optionsClash(const Arguments& a) {
    if (a.xlsx && *a.xlsx == u"-") {
        return QStringLiteral("--xlsx 不能写到标准输出，请给出文件名。");
    }
    if (a.json && a.csv && *a.json == u"-" && *a.csv == u"-") {
        return QStringLiteral("--json 和 --csv 不能都写到标准输出。");
    }
    // With no output named, the plan's text goes to standard output.
    const bool planText = !a.pieces.isEmpty() && !a.json && !a.csv && !a.xlsx;
    if (planText && a.yardCsv && *a.yardCsv == u"-") {
        return QStringLiteral("方案的文字已写到标准输出，--yard-csv 请给出文件名。");
    }
    return yardOptionsWrong(a);
}

// The list planned (with the yard's offcuts when there is one), carried out in the yard with
// --commit, and written.
int planList(const Arguments& arguments, yard::Yard* store, QIODevice& out, QIODevice& err,
             bool progress, std::stop_token stop) {
    const Inputs inputs = readInputs(arguments, store);
    // Before the errors, if any: a row the design code advises against is worth changing while
    // the list is being put right anyway.
    for (const Complaint& w : inputs.warnings) {
        writeLine(err, complaintText(w));
    }
    if (!inputs.complaints.empty()) {
        for (const Complaint& c : inputs.complaints) {
            writeLine(err, complaintText(c));
        }
        return inputs.yardFailed ? kYardFailed : kBadInput;
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
    // Carried out before it is written: a plan the yard refuses as stale is made again, not
    // handed out.
    if (arguments.commit) {
        if (const int code = commitPlan(arguments, *store, plan, inputs.project, err);
            code != kPlanned) {
            return code;
        }
    }
    if (const QString failed = writeOutputs(arguments, plan, inputs.project, out);
        !failed.isEmpty()) {
        writeLine(err, QStringLiteral("hengchi-plan: %1").arg(failed));
        return kNotWritten;
    }
    return kPlanned;
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
    if (const QString clash = optionsClash(arguments); !clash.isEmpty()) {
        writeLine(err, QStringLiteral("hengchi-plan: %1").arg(clash));
        return kBadInput;
    }
    std::unique_ptr<yard::Yard> store;
    if (arguments.yard) {
        if (const int code = openYard(arguments, err, store); code != kPlanned) {
            return code;
        }
        if (const int code = changeYard(arguments, *store, err); code != kPlanned) {
            return code;
        }
    }
    if (!arguments.pieces.isEmpty()) {
        if (const int code = planList(arguments, store.get(), out, err, progress, stop);
            code != kPlanned) {
            return code;
        }
    }
    return store ? showYard(arguments, *store, out, err) : kPlanned;
}

} // namespace cli
