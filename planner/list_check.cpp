#include "planner/list_check.h"

#include "formats/grades.h"
#include "formats/messages.h"
#include "formats/setting_text.h"
#include "formats/shape.h"
#include "planner/joint_settings.h"
#include "planner/list_tables.h"

#include <tuple>

#include "yard/stock.h"

namespace planner {
namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

int pieceColumn(const ListTables& tables, plan::Field field) {
    switch (field) {
    case plan::Field::Mark:
        return kMark;
    case plan::Field::Diameter:
        return kDiameter;
    case plan::Field::Count:
        return kCount;
    case plan::Field::Grade:
    case plan::Field::Elements:
    case plan::Field::Total: {
        const int column = tables.columnOf(field);
        return column >= 0 ? column : field == plan::Field::Grade ? kDiameter : kCount;
    }
    case plan::Field::Joint:
    case plan::Field::Share:
    case plan::Field::Lap:
    case plan::Field::Zones: {
        // Without the row's own column, the joints are the settings': the bar's length is what
        // needs them.
        const int column = tables.columnOf(field);
        return column >= 0 ? column : kLength;
    }
    case plan::Field::Floor: {
        const int column = tables.columnOf(field);
        return column >= 0 ? column : kMark;
    }
    case plan::Field::GradeCode:
    case plan::Field::Length:
    case plan::Field::StockLength:
    case plan::Field::Kerf:
    case plan::Field::Keep:
    case plan::Field::Seconds:
    case plan::Field::Concrete:
    case plan::Field::Seismic:
    case plan::Field::CouplerAbove:
    case plan::Field::ButtAllowance:
    case plan::Field::ShortestSegment:
    case plan::Field::LapShare:
    case plan::Field::MechanicalShare:
    case plan::Field::ExtraJoint:
    case plan::Field::ByCost:
    case plan::Field::SteelPrice:
    case plan::Field::JointPrice:
        break;
    }
    return kLength;
}

int offcutColumn(plan::Field field) {
    switch (field) {
    case plan::Field::Diameter:
        return kOffcutDiameter;
    case plan::Field::Count:
        return kOffcutCount;
    case plan::Field::Grade:
        return kOffcutGrade;
    case plan::Field::GradeCode:
    case plan::Field::Elements:
    case plan::Field::Total:
    case plan::Field::Mark:
    case plan::Field::Length:
    case plan::Field::StockLength:
    case plan::Field::Kerf:
    case plan::Field::Keep:
    case plan::Field::Seconds:
    case plan::Field::Joint:
    case plan::Field::Share:
    case plan::Field::Lap:
    case plan::Field::Zones:
    case plan::Field::Floor:
    case plan::Field::Concrete:
    case plan::Field::Seismic:
    case plan::Field::CouplerAbove:
    case plan::Field::ButtAllowance:
    case plan::Field::ShortestSegment:
    case plan::Field::LapShare:
    case plan::Field::MechanicalShare:
    case plan::Field::ExtraJoint:
    case plan::Field::ByCost:
    case plan::Field::SteelPrice:
    case plan::Field::JointPrice:
        break;
    }
    return kOffcutLength;
}

int settingColumn(plan::Field field) {
    switch (field) {
    case plan::Field::Keep:
        return kKeep;
    case plan::Field::Seconds:
        return kSeconds;
    case plan::Field::Concrete:
        return kConcrete;
    case plan::Field::Seismic:
        return kSeismic;
    case plan::Field::CouplerAbove:
        return kCouplerAbove;
    case plan::Field::ButtAllowance:
        return kButtAllowance;
    case plan::Field::ShortestSegment:
        return kShortestSegment;
    case plan::Field::LapShare:
        return kLapShare;
    case plan::Field::MechanicalShare:
        return kMechanicalShare;
    case plan::Field::ExtraJoint:
        return kExtraJoint;
    case plan::Field::ByCost:
        return kByCost;
    case plan::Field::SteelPrice:
        return kSteelPrice;
    case plan::Field::JointPrice:
        return kJointPrices;
    case plan::Field::Kerf:
    case plan::Field::Mark:
    case plan::Field::Diameter:
    case plan::Field::Length:
    case plan::Field::Count:
    case plan::Field::StockLength:
    case plan::Field::Grade:
    case plan::Field::GradeCode:
    case plan::Field::Elements:
    case plan::Field::Total:
    case plan::Field::Joint:
    case plan::Field::Share:
    case plan::Field::Lap:
    case plan::Field::Zones:
    case plan::Field::Floor:
        break;
    }
    return kKerf;
}

QString shapeProblem(const QString& text) {
    return QStringLiteral("形状：不认识“%1”（可选 直钢筋(弯钩)、弯起钢筋、箍筋，或留空）")
        .arg(text.trimmed());
}

QString where(const Spot& spot) {
    switch (spot.part) {
    case Part::Pieces:
        return QStringLiteral("清单第 %1 行，").arg(spot.row + 1);
    case Part::Offcuts:
        return QStringLiteral("余料第 %1 行，").arg(spot.row + 1);
    case Part::Stock:
        return QStringLiteral("原材长度第 %1 项，").arg(spot.row + 1);
    case Part::Settings:
        return QStringLiteral("设置，");
    case Part::Grades:
        return QStringLiteral("牌号表第 %1 行，").arg(spot.row + 1);
    }
    return {};
}

// Problems found by part, in the order they are reported.
class Findings {
public:
    void add(Part part, int row, int column, const QString& why) {
        TextTable::Problems& cells = of(part);
        cells.try_emplace({row, column}, why);
        const std::tuple key{static_cast<int>(part), row, column};
        if (!found_ || key < firstKey_) {
            found_ = true;
            firstKey_ = key;
            check_.firstAt = {part, row, column};
            check_.first = where(check_.firstAt) + why;
        }
    }
    [[nodiscard]] bool any() const { return found_; }
    [[nodiscard]] bool any(Part part) { return !of(part).empty(); }
    ListCheck& check() { return check_; }

private:
    TextTable::Problems& of(Part part) {
        switch (part) {
        case Part::Pieces:
            return check_.pieces;
        case Part::Offcuts:
            return check_.offcuts;
        case Part::Stock:
            return check_.stock;
        case Part::Grades:
            return check_.grades;
        case Part::Settings:
            break;
        }
        return check_.settings;
    }
    ListCheck check_;
    bool found_ = false;
    std::tuple<int, int, int> firstKey_{};
};

// The stock lengths, one per row; where each accepted length came from.
std::vector<std::int64_t> readStock(const TextTable& stock, std::vector<int>& rowOf,
                                    Findings& findings) {
    std::vector<std::int64_t> lengths;
    for (int row = 0; row < stock.dataRows(); ++row) {
        if (stock.blankRow(row)) {
            continue;
        }
        const auto read = formats::readStockLengths(utf8(stock.text(row, 0)));
        if (read.error) {
            findings.add(Part::Stock, row, 0, formats::describe(*read.error));
        } else if (read.value.size() != 1) {
            findings.add(Part::Stock, row, 0, QStringLiteral("原材长度：每行只填一个长度"));
        } else {
            lengths.push_back(read.value.front());
            rowOf.push_back(row);
        }
    }
    return lengths;
}

// The grade table's rows, each checked as the list file's #牌号 rows are.
std::vector<formats::GradeCode> readGrades(const TextTable& grades, Findings& findings) {
    std::vector<formats::GradeCode> table;
    for (int row = 0; row < grades.dataRows(); ++row) {
        if (grades.blankRow(row)) {
            continue;
        }
        const formats::GradeCode code{utf8(grades.text(row, kGradeCode).trimmed()),
                                      utf8(grades.text(row, kGradeName).trimmed().toUpper())};
        formats::FileError error;
        if (const auto problem = formats::gradeRowProblem(code)) {
            error.problem = *problem;
            error.text = *problem == formats::FileProblem::BadGradeCode ? code.code : code.grade;
        } else if (formats::gradeFor(table, code.code)) {
            error.problem = formats::FileProblem::RepeatedGradeCode;
            error.text = code.code;
        } else {
            table.push_back(code);
            continue;
        }
        findings.add(Part::Grades, row,
                     error.problem == formats::FileProblem::UnknownGradeName ? kGradeName
                                                                             : kGradeCode,
                     formats::describe(error));
    }
    return table;
}

} // namespace

ListCheck checkTables(const ListTables& tables, const std::vector<yard::Moved>* yard) {
    Findings findings;

    plan::Settings settings;
    std::vector<int> stockRow;
    settings.stockLengths = readStock(tables.stock, stockRow, findings);
    const auto setting = [&](auto read, int column, auto& into) {
        const auto value = read(utf8(tables.settings.text(0, column)));
        if (value.error) {
            findings.add(Part::Settings, 0, column, formats::describe(*value.error));
        } else {
            into = value.value;
        }
    };
    setting(formats::readKerf, kKerf, settings.kerf);
    setting(formats::readKeep, kKeep, settings.keep);
    setting(formats::readSeconds, kSeconds, settings.seconds);
    const JointSettingsRead joints = readJointSettings(tables.settings);
    for (const auto& [column, error] : joints.errors) {
        findings.add(Part::Settings, 0, column, formats::describe(error));
    }
    settings = formats::applied(joints.given, settings);

    std::vector<plan::PieceRow> pieces;
    for (int row = 0; row < tables.pieces.dataRows(); ++row) {
        const auto cell = [&](int column) {
            return utf8(tables.pieces.text(row, column));
        };
        const auto schedule = [&](plan::Field field) {
            const int column = tables.columnOf(field);
            return column >= 0 ? cell(column) : std::string();
        };
        plan::PieceRow piece{cell(kMark), cell(kDiameter), cell(kLength), cell(kCount), row + 1};
        for (const formats::RowColumn& column : formats::rowColumns()) {
            piece.*plan::rowText(column.field) = schedule(column.field);
        }
        pieces.push_back(std::move(piece));
        const QString shape = tables.pieces.text(row, kShape);
        if (!formats::shapeNamed(utf8(shape))) {
            findings.add(Part::Pieces, row, kShape, shapeProblem(shape));
        }
    }
    std::vector<plan::OffcutRow> offcuts;
    for (int row = 0; yard == nullptr && row < tables.offcuts.dataRows(); ++row) {
        const auto cell = [&](int column) {
            return utf8(tables.offcuts.text(row, column));
        };
        offcuts.push_back({cell(kOffcutDiameter),
                           cell(kOffcutLength),
                           cell(kOffcutCount),
                           row + 1,
                           cell(kOffcutGrade),
                           {}});
    }
    const std::vector<formats::GradeCode> grades = readGrades(tables.grades, findings);

    plan::Checked checked = formats::checkRows(pieces, std::move(offcuts), settings, grades);
    if (yard != nullptr && checked.errors.empty()) {
        // The yard keeps every steel; the list's decide which of its offcuts a plan may use.
        const std::vector<plan::Steel> steels = checked.list.steels();
        checked = formats::checkRows(std::move(pieces), yard::offcutRows(*yard, steels), settings,
                                     grades);
    }
    for (const plan::InputError& error : checked.errors) {
        const QString why = formats::describe(error);
        switch (error.source) {
        case plan::Source::Pieces:
            findings.add(Part::Pieces, error.line - 1, pieceColumn(tables, error.field), why);
            break;
        case plan::Source::Offcuts:
            findings.add(Part::Offcuts, error.line - 1, offcutColumn(error.field), why);
            break;
        case plan::Source::Settings:
            if (error.problem == plan::Problem::NoStock && findings.any(Part::Stock)) {
                break; // the rows that could not be read are marked already
            }
            if (error.field == plan::Field::StockLength) {
                // A position in the list of lengths read, or 0 when there is none at all: then
                // the row ready for a first one.
                const auto at = static_cast<std::size_t>(error.line);
                const int row =
                    at >= 1 && at <= stockRow.size() ? stockRow[at - 1] : tables.stock.dataRows();
                findings.add(Part::Stock, row, 0, why);
            } else {
                findings.add(Part::Settings, 0, settingColumn(error.field), why);
            }
            break;
        }
    }

    const bool wrong = findings.any();
    ListCheck out = std::move(findings.check());
    // On the row's 接头 cell when it has one, else on its diameter: the bar too thick to lap.
    const int joint = tables.columnOf(plan::Field::Joint);
    for (const plan::joints::Warning& warning : checked.warnings) {
        out.pieceWarnings.try_emplace({warning.line - 1, joint >= 0 ? joint : kDiameter},
                                      formats::describe(warning));
    }
    if (!wrong) {
        out.list = std::move(checked.list);
    }
    return out;
}

} // namespace planner
