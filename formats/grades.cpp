#include "formats/grades.h"

#include "calc/full_width.h"
#include "formats/columns.h"
#include "formats/decode.h"
#include "formats/joint_text.h"
#include "formats/records.h"
#include "plan/trade_tables.h"

#include <algorithm>
#include <array>

#include <QRegularExpression>
#include <QString>

namespace formats {
namespace {

constexpr std::array<KnownColumn, 2> kGradeColumns{{
    {Column::Code, {u"代号", u"code"}, plan::Field::GradeCode},
    {Column::Grade, {u"牌号", u"grade", u"级别", u"钢筋级别"}, plan::Field::Grade},
}};

// The levels as the CAD steel fonts number their symbols: %%130 is 一级 … %%133 is 四级.
constexpr std::array<std::u16string_view, 5> kLevels{u"一级", u"二级", u"三级", u"四级", u"五级"};

// Full-width letters and the percent sign as their ASCII twins, then the digits, point and
// spaces by the table every number of this program is read through.
QString narrowedText(const std::string& cell) {
    QString text = QString::fromStdString(calc::narrowed(cell));
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0xFF21 && u <= 0xFF3A) || (u >= 0xFF41 && u <= 0xFF5A) || u == 0xFF05) {
            c = QChar(static_cast<char16_t>(u - 0xFF01 + 0x21));
        }
    }
    return text.trimmed();
}

bool knownName(const QString& name, const std::vector<GradeCode>& table) {
    const std::string upper = name.toUpper().toStdString();
    return std::ranges::find(plan::trade::kGradeNames, upper) != plan::trade::kGradeNames.end() ||
           std::ranges::any_of(table,
                               [&upper](const GradeCode& row) { return row.grade == upper; });
}

// A grade at the start of `text`: its name, code or level, and where the rest starts.
struct Leading {
    SteelText steel;
    qsizetype length = 0; // 0: no grade at the start
};

Leading leadingGrade(const QString& text, const std::vector<GradeCode>& table) {
    static const QRegularExpression cad(QStringLiteral("^%%13([0-3])"));
    static const QRegularExpression name(QStringLiteral("^[A-Za-z]+[0-9]{3}(?![0-9])[A-Za-z]?"));
    static const QRegularExpression letters(QStringLiteral("^[A-Za-z]+"));
    static const QRegularExpression level(QStringLiteral("^[一二三四五]级"));
    Leading out;
    const auto byCode = [&](const QString& code, qsizetype length) {
        out.length = length;
        if (const auto row = gradeFor(table, code.toStdString())) {
            out.steel.grade = row->grade;
            if (!row->code.empty() && static_cast<unsigned char>(row->code.front()) < 0x80) {
                out.steel.code = row->code;
            }
        } else {
            out.steel.unknown = text.left(length).toStdString();
        }
    };
    if (const auto m = cad.match(text); m.hasMatch()) {
        byCode(QStringView(kLevels[static_cast<std::size_t>(m.captured(1).toInt())]).toString(),
               m.capturedLength());
        return out;
    }
    if (const auto m = name.match(text); m.hasMatch() && knownName(m.captured(), table)) {
        out.steel.grade = m.captured().toUpper().toStdString();
        out.length = m.capturedLength();
        return out;
    }
    if (const auto m = letters.match(text); m.hasMatch()) {
        // A known name was taken above; here only a code of the table, else an unknown grade
        // written as a name ("HRB999") or as letters ("X").
        if (gradeFor(table, m.captured().toStdString())) {
            byCode(m.captured(), m.capturedLength());
        } else {
            const auto n = name.match(text);
            out.length = n.hasMatch() ? n.capturedLength() : m.capturedLength();
            out.steel.unknown = text.left(out.length).toStdString();
        }
        return out;
    }
    if (const auto m = level.match(text); m.hasMatch()) {
        byCode(m.captured(), m.capturedLength());
    }
    return out;
}

void readGradeRow(const Record& record, const Columns& columns, std::vector<GradeCode>& table,
                  std::vector<FileError>& errors) {
    const QString code = columns.cell(record, Column::Code);
    const QString grade = columns.cell(record, Column::Grade);
    if (isBlank(code) && isBlank(grade)) {
        return;
    }
    GradeCode row{narrowedText(utf8(code)).toUpper().toStdString(),
                  narrowedText(utf8(grade)).toUpper().toStdString()};
    if (const auto problem = gradeRowProblem(row)) {
        errors.push_back(fileError(record.line, *problem,
                                   *problem == FileProblem::BadGradeCode ? utf8(code.trimmed())
                                                                         : utf8(grade.trimmed())));
        return;
    }
    if (gradeFor(table, row.code)) {
        errors.push_back(fileError(record.line, FileProblem::RepeatedGradeCode, row.code));
        return;
    }
    table.push_back(std::move(row));
}

plan::InputError gradeError(plan::Source source, int line, plan::Field field, plan::Problem problem,
                            std::string text) {
    return {source, line, field, problem, 0, std::move(text)};
}

// One row's grade from its grade column and its diameter cell; problems go to `errors`.
template <typename Row>
void resolve(Row& row, plan::Source source, const std::vector<GradeCode>& table,
             std::vector<plan::InputError>& errors) {
    const SteelText cell = readSteelText(row.diameter, table);
    row.diameter = cell.diameter;
    if (!cell.unknown.empty()) {
        errors.push_back(gradeError(source, row.line, plan::Field::Diameter,
                                    plan::Problem::UnknownGrade, cell.unknown));
    }
    SteelText column;
    if (!isBlank(QString::fromStdString(row.grade))) {
        column = readGradeText(row.grade, table);
        if (!column.unknown.empty()) {
            errors.push_back(gradeError(source, row.line, plan::Field::Grade,
                                        plan::Problem::UnknownGrade, column.unknown));
        }
    }
    if (!cell.grade.empty() && !column.grade.empty() && cell.grade != column.grade) {
        errors.push_back(gradeError(source, row.line, plan::Field::Grade,
                                    plan::Problem::GradesDisagree,
                                    column.grade + '/' + cell.grade));
    }
    row.grade = cell.grade.empty() ? column.grade : cell.grade;
    row.code = cell.code.empty() ? column.code : cell.code;
}

} // namespace

std::vector<GradeCode> defaultGrades() {
    return {
        {"A", "HPB300"},    {"B", "HRB335"},    {"C", "HRB400"},    {"D", "HRB500"},
        {"CE", "HRB400E"},  {"DE", "HRB500E"},  {"一级", "HPB300"}, {"二级", "HRB335"},
        {"三级", "HRB400"}, {"四级", "RRB400"},
    };
}

std::optional<GradeCode> gradeFor(const std::vector<GradeCode>& table, const std::string& code) {
    const QString wanted = narrowedText(code).toUpper();
    for (const GradeCode& row : table) {
        if (QString::fromStdString(row.code).toUpper() == wanted) {
            return row;
        }
    }
    return std::nullopt;
}

std::optional<FileProblem> gradeRowProblem(const GradeCode& row) {
    static const QRegularExpression code(QStringLiteral("^([A-Za-z]{1,3}|[一二三四五]级)$"));
    static const QRegularExpression name(QStringLiteral("^[A-Z]+[0-9]{3}[A-Z]?$"));
    if (!code.match(narrowedText(row.code)).hasMatch()) {
        return FileProblem::BadGradeCode;
    }
    // A name the standards do not list may still be a steel a yard stocks (CRB550): any name
    // of letters, a strength and an optional letter is taken.
    if (!name.match(narrowedText(row.grade).toUpper()).hasMatch()) {
        return FileProblem::UnknownGradeName;
    }
    return std::nullopt;
}

std::optional<GradeCode> gradeEntry(const std::string& text) {
    const QString entry = QString::fromStdString(text);
    const qsizetype at = entry.indexOf(u'=');
    if (at <= 0) {
        return std::nullopt;
    }
    return GradeCode{narrowedText(entry.left(at).toStdString()).toUpper().toStdString(),
                     narrowedText(entry.mid(at + 1).toStdString()).toUpper().toStdString()};
}

void putGrade(std::vector<GradeCode>& table, const GradeCode& row) {
    const QString code = QString::fromStdString(row.code).toUpper();
    for (GradeCode& old : table) {
        if (QString::fromStdString(old.code).toUpper() == code) {
            old = row;
            return;
        }
    }
    table.push_back(row);
}

GradesRead readGrades(const QByteArray& bytes) {
    GradesRead out;
    const Decoded decoded = decode(bytes);
    if (decoded.badLine > 0) {
        out.errors.push_back(fileError(decoded.badLine, FileProblem::NotText));
        return out;
    }
    const Records records = splitRecords(decoded.text, detectSeparator(decoded.text));
    if (records.records.empty()) {
        out.errors.push_back(fileError(0, FileProblem::NoHeader));
        return out;
    }
    out = readGradeTable(records.records, 0, records.records.size());
    if (records.unclosedQuote > 0) {
        out.errors.push_back(fileError(records.unclosedQuote, FileProblem::UnclosedQuote));
    }
    return out;
}

GradesRead readGradeTable(const std::vector<Record>& records, std::size_t begin, std::size_t end) {
    GradesRead out;
    if (begin == end) {
        return out;
    }
    const std::size_t header = headerAt(records, begin, end, kGradeColumns);
    const Columns columns(records[header], kGradeColumns, out.errors);
    if (!columns.complete()) {
        return out;
    }
    for (std::size_t i = header + 1; i < end; ++i) {
        readGradeRow(records[i], columns, out.table, out.errors);
    }
    return out;
}

SteelText readSteelText(const std::string& cell, const std::vector<GradeCode>& table) {
    const QString text = narrowedText(cell);
    const Leading leading = leadingGrade(text, table);
    SteelText out = leading.steel;
    // Not narrowed: plan::readDiameter reads the full-width digits itself, and keeps the cell
    // as written for its messages.
    out.diameter = leading.length == 0 ? cell : text.mid(leading.length).trimmed().toStdString();
    return out;
}

SteelText readGradeText(const std::string& cell, const std::vector<GradeCode>& table) {
    const QString text = narrowedText(cell);
    const Leading leading = leadingGrade(text, table);
    SteelText out = leading.steel;
    if (leading.length == 0 || leading.length < text.size()) {
        // Anything after the grade, or no grade at all: the whole cell is not known.
        out = SteelText{};
        out.unknown = text.toStdString();
    }
    return out;
}

std::vector<plan::InputError> resolveSteels(std::vector<plan::PieceRow>& pieces,
                                            std::vector<plan::OffcutRow>& offcuts,
                                            const std::vector<GradeCode>& table) {
    std::vector<plan::InputError> errors;
    for (plan::PieceRow& row : pieces) {
        resolve(row, plan::Source::Pieces, table, errors);
    }
    for (plan::OffcutRow& row : offcuts) {
        resolve(row, plan::Source::Offcuts, table, errors);
    }
    return errors;
}

plan::Checked checkRows(std::vector<plan::PieceRow> pieces, std::vector<plan::OffcutRow> offcuts,
                        const plan::Settings& settings, const std::vector<GradeCode>& table) {
    std::vector<plan::InputError> grades = resolveSteels(pieces, offcuts, table);
    resolveJoints(pieces);
    plan::Checked checked = plan::checkList(pieces, offcuts, settings);
    if (grades.empty()) {
        return checked;
    }
    checked.list = plan::CuttingList{};
    // In checkList's order: settings, then pieces by line, then offcuts by line; a row's grade
    // problem before its other ones.
    grades.insert(grades.end(), checked.errors.begin(), checked.errors.end());
    const auto rank = [](plan::Source s) {
        return s == plan::Source::Settings ? 0 : s == plan::Source::Pieces ? 1 : 2;
    };
    std::ranges::stable_sort(grades, [&rank](const plan::InputError& a, const plan::InputError& b) {
        if (rank(a.source) != rank(b.source)) {
            return rank(a.source) < rank(b.source);
        }
        return a.source != plan::Source::Settings && a.line < b.line;
    });
    checked.errors = std::move(grades);
    return checked;
}

plan::CheckedOffcuts checkOffcutRows(std::vector<plan::OffcutRow> offcuts,
                                     const std::vector<GradeCode>& table) {
    std::vector<plan::PieceRow> none;
    std::vector<plan::InputError> grades = resolveSteels(none, offcuts, table);
    plan::CheckedOffcuts checked = plan::checkOffcuts(offcuts);
    if (grades.empty()) {
        return checked;
    }
    checked.offcuts.clear();
    // A row's grade problem before its other ones, as checkRows orders them.
    grades.insert(grades.end(), checked.errors.begin(), checked.errors.end());
    std::ranges::stable_sort(grades, std::less{}, &plan::InputError::line);
    checked.errors = std::move(grades);
    return checked;
}

} // namespace formats
