#include "cli/inputs.h"

#include "formats/list_file.h"
#include "formats/list_input.h"
#include "formats/messages.h"
#include "formats/offcuts_file.h"
#include "formats/plan_words.h"
#include "formats/setting_text.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

#include <QFile>

#include "yard/messages.h"
#include "yard/stock.h"
#include "yard/yard.h"

namespace cli {
namespace {

constexpr QLatin1String kProgram("hengchi-plan");

std::optional<QByteArray> readBytes(const QString& path, std::vector<Complaint>& complaints) {
    QFile file(path);
    if (!file.exists()) {
        complaints.push_back({path, 0, QStringLiteral("文件不存在")});
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        complaints.push_back({path, 0, QStringLiteral("无法读取（%1）").arg(file.errorString())});
        return std::nullopt;
    }
    return file.readAll();
}

void complainAbout(const QString& path, const std::vector<formats::FileError>& errors,
                   std::vector<Complaint>& complaints, const formats::TablePlace& place = {}) {
    for (const formats::FileError& e : errors) {
        complaints.push_back({path, e.line, formats::describe(e),
                              place.sheet.empty() ? QString() : placeText(place, e)});
    }
}

// An option's value read as the same setting in a file would be; `into` keeps its value when
// the option is absent or wrong.
template <typename T, typename Reader>
void override(const std::optional<QString>& option, const char* name, Reader read, T& into,
              std::vector<Complaint>& complaints, bool& wrong) {
    if (!option) {
        return;
    }
    const formats::SettingValue<T> value = read(option->toStdString());
    if (value.error) {
        complaints.push_back(
            {kProgram, 0,
             QStringLiteral("--%1 %2: %3")
                 .arg(QLatin1String(name), *option, formats::describe(*value.error))});
        wrong = true;
    } else {
        into = value.value;
    }
}

// The long bar a warning is about, by its line: its steel as the list wrote it. A list with
// errors is not kept, and then the warning names the bar by its mark alone.
QString steelOf(const plan::CuttingList& list, int line) {
    for (const plan::Piece& bar : list.longBars()) {
        if (bar.line == line) {
            return formats::steelLabel(bar.steel, bar.code);
        }
    }
    return {};
}

// A warning about a row is at its 接头 cell when the sheet has that column, else at its 直径.
QString warningCell(const formats::TablePlace& place, int line) {
    if (place.sheet.empty()) {
        return {};
    }
    const bool jointColumn = std::ranges::any_of(
        place.pieces, [](const formats::FieldColumn& c) { return c.field == plan::Field::Joint; });
    plan::InputError at;
    at.source = plan::Source::Pieces;
    at.line = line;
    at.field = jointColumn ? plan::Field::Joint : plan::Field::Diameter;
    return placeText(place, at);
}

} // namespace

QString complaintText(const Complaint& c) {
    if (!c.cell.isEmpty()) {
        return QStringLiteral("%1:%2: %3").arg(c.where, c.cell, c.message);
    }
    return c.line > 0 ? QStringLiteral("%1:%2: %3").arg(c.where).arg(c.line).arg(c.message)
                      : QStringLiteral("%1: %2").arg(c.where, c.message);
}

std::vector<formats::GradeCode> gradeTable(const Arguments& arguments,
                                           const formats::ListDocument& document,
                                           std::vector<Complaint>& complaints) {
    std::vector<formats::GradeCode> table = formats::gradesOf(document);
    if (arguments.grades) {
        if (const auto bytes = readBytes(*arguments.grades, complaints)) {
            formats::GradesRead read = formats::readGrades(*bytes);
            complainAbout(*arguments.grades, read.errors, complaints);
            table = read.table.empty() && read.errors.empty() ? formats::defaultGrades()
                                                              : std::move(read.table);
        }
    }
    for (const QString& entry : arguments.grade) {
        const std::optional<formats::GradeCode> row = formats::gradeEntry(entry.toStdString());
        const std::optional<formats::FileProblem> problem =
            row ? formats::gradeRowProblem(*row) : std::nullopt;
        if (!row) {
            complaints.push_back(
                {kProgram, 0,
                 QStringLiteral("--grade %1: 应写成 代号=牌号，如 C=HRB400E").arg(entry)});
        } else if (problem) {
            formats::FileError error;
            error.problem = *problem;
            error.text = *problem == formats::FileProblem::BadGradeCode ? row->code : row->grade;
            complaints.push_back(
                {kProgram, 0,
                 QStringLiteral("--grade %1: %2").arg(entry, formats::describe(error))});
        } else {
            formats::putGrade(table, *row);
        }
    }
    return table;
}

Inputs readInputs(const Arguments& arguments, const yard::Yard* yard) {
    Inputs out;
    std::vector<Complaint>& complaints = out.complaints;

    formats::ListRead list;
    if (const auto bytes = readBytes(arguments.pieces, complaints)) {
        list = formats::readListFile(*bytes, arguments.pieces, arguments.sheet.value_or(QString()));
        complainAbout(arguments.pieces, list.errors, complaints, list.place);
        if (arguments.sheet && !formats::isWorkbookFile(*bytes, arguments.pieces)) {
            complaints.push_back({kProgram, 0, QStringLiteral("--sheet 只用于 Excel 工作簿")});
        }
    }
    out.project = QString::fromStdString(list.document.settings.project.value_or(""));

    std::vector<plan::OffcutRow> offcuts = list.document.offcuts;
    QString offcutsFile = arguments.pieces;
    if (yard != nullptr) {
        offcutsFile = QString::fromStdString(yard->path());
        offcuts.clear();
    } else if (arguments.offcuts) {
        offcutsFile = *arguments.offcuts;
        offcuts.clear();
        if (const auto bytes = readBytes(offcutsFile, complaints)) {
            formats::OffcutsRead read = formats::readOffcuts(*bytes);
            complainAbout(offcutsFile, read.errors, complaints);
            offcuts = std::move(read.offcuts);
        }
    }

    plan::Settings settings = formats::applied(list.document.settings, plan::Settings{});
    bool stockWrong = std::ranges::any_of(list.errors, [](const formats::FileError& e) {
        return e.problem == formats::FileProblem::BadSetting && e.field == plan::Field::StockLength;
    });
    bool otherWrong = false;
    if (arguments.stock) {
        stockWrong = false;
        override(arguments.stock, "stock", formats::readStockLengths, settings.stockLengths,
                 complaints, stockWrong);
    }
    override(arguments.kerf, "kerf", formats::readKerf, settings.kerf, complaints, otherWrong);
    override(arguments.keep, "keep", formats::readKeep, settings.keep, complaints, otherWrong);
    override(arguments.seconds, "seconds", formats::readSeconds, settings.seconds, complaints,
             otherWrong);
    plan::joints::JointSettings& joints = settings.joints;
    override(arguments.concrete, "concrete", formats::readConcrete, joints.concrete, complaints,
             otherWrong);
    override(arguments.seismic, "seismic", formats::readSeismic, joints.seismic, complaints,
             otherWrong);
    override(arguments.couplerAbove, "coupler-above", formats::readCouplerAbove,
             joints.couplerAbove, complaints, otherWrong);
    override(
        arguments.lapShare, "lap-share",
        [](std::string_view text) { return formats::readShare(plan::Field::LapShare, text); },
        joints.lapShare, complaints, otherWrong);
    override(
        arguments.mechanicalShare, "mechanical-share",
        [](std::string_view text) {
            return formats::readShare(plan::Field::MechanicalShare, text);
        },
        joints.mechanicalShare, complaints, otherWrong);
    override(arguments.shortestSegment, "shortest-segment", formats::readShortestSegment,
             joints.shortestSegment, complaints, otherWrong);
    override(arguments.buttAllowance, "butt-allowance", formats::readButtAllowance,
             joints.buttAllowance, complaints, otherWrong);
    if (arguments.extraJoint) {
        joints.extraJoint = true;
    }
    if (arguments.byCost) {
        joints.byCost = true;
    }
    override(arguments.steelPrice, "steel-price", formats::readSteelPrice,
             joints.prices.steelFenPerTonne, complaints, otherWrong);
    override(
        arguments.jointPrice, "joint-price",
        [&joints](std::string_view text) {
            return formats::readJointPrices(text, joints.prices.jointFen);
        },
        joints.prices.jointFen, complaints, otherWrong);
    if (stockWrong) {
        // With no stock lengths to trust, no piece is reported as longer than all of them.
        settings.stockLengths = {plan::kMaxLength};
    }

    const std::vector<formats::GradeCode> grades = gradeTable(arguments, list.document, complaints);

    std::vector<plan::PieceRow> rows;
    rows.reserve(list.document.rows.size());
    for (const formats::ListRow& row : list.document.rows) {
        rows.push_back(row.piece);
    }
    plan::Checked checked = formats::checkRows(rows, offcuts, settings, grades);
    if (yard != nullptr && checked.errors.empty()) {
        // The list's steels decide which of the yard's offcuts it may use.
        const std::vector<plan::Steel> steels = checked.list.steels();
        const yard::Result<std::vector<yard::Moved>> stock = yard->stock(steels);
        if (stock.error) {
            complaints.push_back({offcutsFile, 0, yard::describe(*stock.error)});
            out.yardFailed = true;
        } else {
            checked = formats::checkRows(std::move(rows), yard::offcutRows(stock.value, steels),
                                         settings, grades);
        }
    }
    for (const plan::InputError& e : checked.errors) {
        const QString where = e.source == plan::Source::Pieces    ? arguments.pieces
                              : e.source == plan::Source::Offcuts ? offcutsFile
                                                                  : kProgram;
        const bool inList =
            e.source == plan::Source::Pieces ||
            (e.source == plan::Source::Offcuts && !arguments.offcuts && yard == nullptr);
        complaints.push_back(
            {where, e.source == plan::Source::Settings ? 0 : e.line, formats::describe(e),
             inList && !list.place.sheet.empty() ? placeText(list.place, e) : QString()});
    }
    for (const plan::joints::Warning& w : checked.warnings) {
        out.warnings.push_back({arguments.pieces, w.line,
                                formats::describe(w, steelOf(checked.list, w.line)),
                                warningCell(list.place, w.line)});
    }
    out.list = std::move(checked.list);

    // The command line first, then each file from its top, as a compiler reports.
    const auto rank = [&](const Complaint& c) {
        return std::pair(c.where == kProgram ? 0 : c.where == arguments.pieces ? 1 : 2, c.line);
    };
    std::ranges::stable_sort(complaints, std::less{}, rank);
    return out;
}

} // namespace cli
