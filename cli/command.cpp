#include "cli/command.h"

#include "cli/arguments.h"
#include "cli/floor_choice.h"
#include "cli/inputs.h"
#include "cli/outputs.h"
#include "cli/progress_line.h"
#include "cli/yard_steps.h"
#include "formats/plan_words.h"
#include "plan/floors.h"
#include "plan/optimize.h"

#include <algorithm>
#include <memory>

#include "yard/messages.h"
#include "yard/stock.h"

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

int written(const QString& failed, QIODevice& err) {
    if (!failed.isEmpty()) {
        writeLine(err, QStringLiteral("hengchi-plan: %1").arg(failed));
        return kNotWritten;
    }
    return kPlanned;
}

// The floors to plan, and the floor a commit is recorded with when the list names none.
struct Floors {
    std::vector<std::string> chosen; // in the list's order
    QString label;                   // a list without floors: what --floor says it is for
    QString error;
};

Floors floorsOf(const Arguments& arguments, const plan::CuttingList& list) {
    const std::vector<std::string> floors = list.floors();
    const bool named = std::ranges::any_of(floors, [](const std::string& f) { return !f.empty(); });
    // A list without floors carried out in the yard: --floor says which floor it is for.
    if (!named && arguments.commit && arguments.floors.size() == 1 &&
        !arguments.floors.front().contains(QStringLiteral(".."))) {
        return {floors, arguments.floors.front().trimmed(), {}};
    }
    const FloorChoice choice = chooseFloors(arguments.floors, floors);
    return {choice.floors, {}, choice.error};
}

// The yard as the floors of a building draw on it and give back to it: its stock of the list's
// steels before each floor, and each floor's plan committed at once, with the floor's name, so
// that a floor the yard refuses stops the building there.
struct CommittingYard {
    const Arguments& arguments;
    yard::Yard& store;
    const Inputs& inputs;
    QIODevice& err;
    int code = kPlanned;

    plan::FloorYard floorYard() {
        return {[this] {
                    const yard::Result<std::vector<yard::Moved>> stock =
                        store.stock(inputs.list.steels());
                    if (stock.error) {
                        writeLine(err,
                                  QStringLiteral("%1: %2").arg(QString::fromStdString(store.path()),
                                                               yard::describe(*stock.error)));
                        code = kYardFailed;
                        return std::vector<plan::Offcut>();
                    }
                    return yard::offcuts(stock.value);
                },
                [this](const plan::FloorPlan& floor) {
                    if (code == kPlanned) {
                        code = commitPlan(arguments, store, floor.plan, inputs.project,
                                          QString::fromStdString(floor.floor), err);
                    }
                    return code == kPlanned;
                }};
    }
};

// Each floor in turn, with what the floors before it left in the yard: in memory, or in the
// yard's file when the plans are carried out (--commit), floor by floor.
int planByFloor(const Arguments& arguments, const Inputs& inputs,
                const std::vector<std::string>& floors, yard::Yard* store, QIODevice& out,
                QIODevice& err, bool progress, std::stop_token stop) {
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
    std::optional<CommittingYard> committing;
    plan::FloorYard yard;
    if (arguments.commit && store != nullptr) {
        committing.emplace(CommittingYard{arguments, *store, inputs, err});
        yard = committing->floorYard();
    }
    const plan::BuildingPlan building = plan::optimizeByFloor(
        inputs.list, floors, yard, started,
        [&line](const plan::Progress& p) {
            if (line) {
                line->update(p);
            }
        },
        stop);
    line.reset();
    if (committing && committing->code != kPlanned) {
        // The floors before the one refused are carried out in the yard, each in its own
        // commit; the plans are not written, as a refused single plan is not.
        writeLine(err, QStringLiteral("hengchi-plan: 从“%1”起各层没有确认下料，前面各层已确认。")
                           .arg(QString::fromStdString(building.floors.back().floor)));
        return committing->code;
    }
    if (building.cancelled) {
        writeLine(err, QStringLiteral("hengchi-plan: 已中断，给出的是到此为止各层最好的方案。"));
    }
    return written(writeOutputs(arguments, building, inputs.project, out), err);
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
    const Floors floors = floorsOf(arguments, inputs.list);
    if (!floors.error.isEmpty()) {
        writeLine(err, QStringLiteral("hengchi-plan: %1").arg(floors.error));
        return kBadInput;
    }
    if (arguments.byFloor) {
        if (floors.chosen.size() == 1 && floors.chosen.front().empty()) {
            writeLine(err, QStringLiteral("hengchi-plan: --by-floor：清单没有楼层（楼层 列，"
                                          "或明细表的 楼层名称 行）"));
            return kBadInput;
        }
        return planByFloor(arguments, inputs, floors.chosen, store, out, err, progress, stop);
    }

    const plan::CuttingList list = arguments.floors.isEmpty() || !floors.label.isEmpty()
                                       ? inputs.list
                                       : inputs.list.part(floors.chosen, inputs.list.offcuts());
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
    // Carried out before it is written: a plan the yard refuses as stale is made again, not
    // handed out.
    if (arguments.commit) {
        const QString floor =
            floors.label.isEmpty() ? formats::floorsText(plan.floors) : floors.label;
        if (const int code = commitPlan(arguments, *store, plan, inputs.project, floor, err);
            code != kPlanned) {
            return code;
        }
    }
    return written(writeOutputs(arguments, plan, inputs.project, out), err);
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
