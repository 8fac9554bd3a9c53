#include "cli/command.h"

#include "cli/arguments.h"
#include "cli/floor_choice.h"
#include "cli/inputs.h"
#include "cli/outputs.h"
#include "cli/progress_line.h"
#include "formats/plan_words.h"
#include "plan/floors.h"
#include "plan/optimize.h"

#include <memory>

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

int written(const QString& failed, QIODevice& err) {
    if (!failed.isEmpty()) {
        writeLine(err, QStringLiteral("hengchi-plan: %1").arg(failed));
        return kNotWritten;
    }
    return kPlanned;
}

// Each floor in turn, with what the floors before it left in the yard.
int planByFloor(const Arguments& arguments, const Inputs& inputs,
                const std::vector<std::string>& floors, QIODevice& out, QIODevice& err,
                bool progress, std::stop_token stop) {
    std::unique_ptr<ProgressLine> line;
    const plan::FloorStarted started = [&](std::size_t index, const std::string& floor) {
        if (progress) {
            line.reset(); // the last floor's line is cleared before the next is begun
            writeLine(err, QStringLiteral("楼层 %1/%2：%3")
                               .arg(index + 1)
                               .arg(floors.size())
                               .arg(formats::floorName(floor)));
            line = std::make_unique<ProgressLine>(
                err, inputs.list.part({floor}, inputs.list.offcuts()).steels().size());
        }
    };
    const plan::BuildingPlan building = plan::optimizeByFloor(
        inputs.list, floors, {}, started,
        [&line](const plan::Progress& p) {
            if (line) {
                line->update(p);
            }
        },
        stop);
    line.reset();
    if (building.cancelled) {
        writeLine(err, QStringLiteral("hengchi-plan: 已中断，给出的是到此为止各层最好的方案。"));
    }
    return written(writeOutputs(arguments, building, inputs.project, out), err);
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

    const FloorChoice floors = chooseFloors(arguments.floors, inputs.list.floors());
    if (!floors.error.isEmpty()) {
        writeLine(err, QStringLiteral("hengchi-plan: %1").arg(floors.error));
        return kBadInput;
    }
    if (arguments.byFloor) {
        if (floors.floors.size() == 1 && floors.floors.front().empty()) {
            writeLine(err, QStringLiteral("hengchi-plan: --by-floor：清单没有楼层（楼层 列，"
                                          "或明细表的 楼层名称 行）"));
            return kBadInput;
        }
        return planByFloor(arguments, inputs, floors.floors, out, err, progress, stop);
    }

    const plan::CuttingList list = arguments.floors.isEmpty()
                                       ? inputs.list
                                       : inputs.list.part(floors.floors, inputs.list.offcuts());
    const plan::Plan plan = [&] {
        if (!progress) {
            return plan::optimize(list, {}, stop);
        }
        ProgressLine line(err, list.steels().size());
        return plan::optimize(
            list, [&line](const plan::Progress& p) { line.update(p); }, stop);
    }();
    if (plan.cancelled) {
        writeLine(err, QStringLiteral("hengchi-plan: 已中断，给出的是到此为止最好的方案。"));
    }
    return written(writeOutputs(arguments, plan, inputs.project, out), err);
}

} // namespace cli
