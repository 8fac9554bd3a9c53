#include "formats/list_file.h"

#include "formats/block_report.h"
#include "formats/columns.h"
#include "formats/records.h"
#include "formats/setting_text.h"

#include <algorithm>
#include <array>
#include <functional>
#include <span>

#include <QString>
#include <QStringDecoder>
#include <QStringList>

namespace formats {
namespace {

// A bar detail report (block_report.h) has neither 编号 nor 构件名称 among its columns: its marks
// are made of the element blocks' names and the 筋号 column.
constexpr std::array<KnownColumn, 14> kPieceColumns{{
    {Column::Mark, {u"编号", u"mark"}, plan::Field::Mark, {u"构件名称", u"筋号"}},
    {Column::Diameter, {u"直径", u"diameter"}, plan::Field::Diameter},
    {Column::Length, {u"长度", u"length"}, plan::Field::Length},
    {Column::Count, {u"根数", u"单件根数", u"每件根数", u"count"}, plan::Field::Count, {u"总根数"}},
    {Column::Shape, {u"形状", u"shape"}, std::nullopt},
    {Column::Parameters, {u"参数", u"parameters"}, std::nullopt},
    {Column::Grade, {u"级别", u"牌号", u"钢筋级别", u"grade"}, std::nullopt},
    {Column::Elements, {u"构件数", u"构件数量", u"件数", u"elements"}, std::nullopt},
    {Column::Total, {u"总根数", u"total"}, std::nullopt},
    {Column::Joint,
     {u"接头", u"接头方式", u"连接方式", u"接头形式", u"搭接形式", u"连接形式", u"joint"},
     std::nullopt},
    {Column::Share, {u"接头率", u"接头百分率", u"接头面积百分率", u"share"}, std::nullopt},
    {Column::Lap, {u"搭接长度", u"lap"}, std::nullopt},
    {Column::Zones, {u"禁止接头区", u"非连接区", u"非接头区", u"zones"}, std::nullopt},
    {Column::Floor, {u"楼层", u"楼层名称", u"floor"}, std::nullopt},
}};

// The columns after the six that a row fills only when the list is a schedule or has long bars,
// in the order they are written.
constexpr std::size_t kOptionalFrom = 6;

std::span<const KnownColumn> optionalColumns() {
    return std::span(kPieceColumns).subspan(kOptionalFrom);
}

// The row's text a column after the six holds.
std::string plan::PieceRow::*rowField(Column column) {
    const std::optional<plan::Field> field = optionalField(column);
    return field ? plan::rowText(*field) : nullptr;
}

// The columns a mark is made of when a schedule has no 编号: KL1 and 1 make KL1-1, as such
// marks are written on drawings.
constexpr std::u16string_view kElementColumn = u"构件名称";
constexpr std::u16string_view kBarNumberColumn = u"筋号";
constexpr QChar kMarkJoiner = u'-';

constexpr std::u16string_view kSettingsSection = u"#设置";
constexpr std::u16string_view kOffcutsSection = u"#余料";
constexpr std::u16string_view kGradesSection = u"#牌号";

enum class Setting {
    StockLengths,
    Kerf,
    Keep,
    Seconds,
    Project,
    Concrete,
    Seismic,
    CouplerAbove,
    ButtAllowance,
    ShortestSegment,
    ExtraJoint,
    LapShare,
    MechanicalShare,
    ByCost,
    SteelPrice,
    JointPrice,
};

struct SettingName {
    Setting setting;
    std::array<std::u16string_view, 2> names;
};

// The English names are the command's options.
constexpr std::array<SettingName, 16> kSettingNames{{
    {Setting::StockLengths, {u"原材长度", u"stock"}},
    {Setting::Kerf, {u"锯口", u"kerf"}},
    {Setting::Keep, {u"最短余料", u"keep"}},
    {Setting::Seconds, {u"时限", u"seconds"}},
    {Setting::Project, {u"项目", u"project"}},
    {Setting::Concrete, {u"混凝土", u"concrete"}},
    {Setting::Seismic, {u"抗震等级", u"seismic"}},
    {Setting::CouplerAbove, {u"机械连接直径", u"coupler-above"}},
    {Setting::ButtAllowance, {u"对焊余量", u"butt-allowance"}},
    {Setting::ShortestSegment, {u"最短分段", u"shortest-segment"}},
    {Setting::ExtraJoint, {u"允许多一个接头", u"extra-joint"}},
    {Setting::LapShare, {u"搭接接头率", u"lap-share"}},
    {Setting::MechanicalShare, {u"机械接头率", u"mechanical-share"}},
    {Setting::ByCost, {u"按造价接长", u"by-cost"}},
    {Setting::SteelPrice, {u"钢材单价", u"steel-price"}},
    {Setting::JointPrice, {u"接头单价", u"joint-price"}},
}};

QString settingName(Setting setting) {
    for (const SettingName& s : kSettingNames) {
        if (s.setting == setting) {
            return QStringView(s.names[0]).toString();
        }
    }
    return {};
}

std::optional<Setting> settingNamed(const QString& text) {
    const QString name = normalName(text);
    for (const SettingName& s : kSettingNames) {
        if (name == QStringView(s.names[0]) || name == QStringView(s.names[1])) {
            return s.setting;
        }
    }
    return std::nullopt;
}

// The value cells of a settings row without the empty cells a spreadsheet pads rows with.
QStringList valueCells(const Record& row) {
    qsizetype end = row.cells.size();
    while (end > 1 && isBlank(row.cells[end - 1]) && !row.quoted[end - 1]) {
        --end;
    }
    return row.cells.mid(1, end - 1);
}

// A text as it is: QString::fromUtf8 would drop a byte order mark at its start, and a cell may
// start with one.
QString fromUtf8(const std::string& text) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

// Blank in the six columns and in the first `others` of its other cells, those a file has.
bool blankRow(const ListRow& row, std::size_t others) {
    const auto blank = [](const std::string& text) {
        return isBlank(fromUtf8(text));
    };
    const auto written = std::span(row.others).first(std::min(others, row.others.size()));
    const auto blankColumn = [&](const KnownColumn& known) {
        return blank(row.piece.*rowField(known.column));
    };
    return blank(row.piece.mark) && blank(row.piece.diameter) && blank(row.piece.length) &&
           blank(row.piece.count) && blank(row.shape) && blank(row.parameters) &&
           std::ranges::all_of(optionalColumns(), blankColumn) &&
           std::ranges::all_of(written, blank);
}

bool isPieceColumn(const QString& header) {
    const QString name = normalName(header);
    return std::ranges::any_of(kPieceColumns,
                               [&name](const KnownColumn& want) { return want.namedBy(name); });
}

// A column of the pieces table that is none of the six: where it is, and its name.
struct OtherColumn {
    qsizetype at;
    QString name;
};

// The other columns under `header`, as wide as its widest row. Unnamed columns at the end with
// nothing in them are a spreadsheet's padding.
std::vector<OtherColumn> otherColumns(const Record& header, std::span<const Record> rows) {
    qsizetype width = header.cells.size();
    for (const Record& row : rows) {
        width = std::max(width, row.cells.size());
    }
    std::vector<OtherColumn> out;
    for (qsizetype at = 0; at < width; ++at) {
        const QString name = at < header.cells.size() ? header.cells[at].trimmed() : QString();
        if (!isPieceColumn(name)) {
            out.push_back({at, name});
        }
    }
    const auto padding = [rows](const OtherColumn& column) {
        return column.name.isEmpty() && std::ranges::all_of(rows, [&column](const Record& row) {
                   return column.at >= row.cells.size() || isBlank(row.cells[column.at]);
               });
    };
    while (!out.empty() && padding(out.back())) {
        out.pop_back();
    }
    return out;
}

// The header row decides the separator a reader finds, and a quoted cell does not count there:
// so a name holding a semicolon or a tab is quoted.
QString headerRecord(const QStringList& names) {
    QStringList cells;
    for (const QString& name : names) {
        QString cell = joinRecord({name}, u',');
        if (!cell.startsWith(u'"') && (name.contains(u';') || name.contains(u'\t'))) {
            cell = u'"' + cell + u'"'; // it holds no quote, or joinRecord would have quoted it
        }
        cells.append(cell);
    }
    return cells.join(u',');
}

qsizetype columnNamed(const Record& header, std::u16string_view name) {
    for (qsizetype at = 0; at < header.cells.size(); ++at) {
        if (normalName(header.cells[at]) == QStringView(name)) {
            return at;
        }
    }
    return -1;
}

std::string markOf(const Record& row, qsizetype element, qsizetype barNumber) {
    const auto cell = [&row](qsizetype at) {
        return at >= 0 && at < row.cells.size() ? row.cells[at].trimmed() : QString();
    };
    const QString name = cell(element);
    const QString number = cell(barNumber);
    if (name.isEmpty() || number.isEmpty()) {
        return utf8(name + number);
    }
    return utf8(name + kMarkJoiner + number);
}

class ListReader {
public:
    ListReader(const Records& records, ListRead& out) : records_(records.records), out_(out) {}

    void read() {
        if (records_.empty()) {
            out_.errors.push_back(fileError(0, FileProblem::NoHeader));
            return;
        }
        if (sectionName(records_.front())) {
            out_.errors.push_back(fileError(records_.front().line, FileProblem::NoHeader));
        } else {
            readPieces();
        }
        while (next_ < records_.size()) {
            readSection();
        }
    }

private:
    [[nodiscard]] bool inTable() const {
        return next_ < records_.size() && !sectionName(records_[next_]);
    }

    void readPieces() {
        std::size_t end = next_;
        while (end < records_.size() && !sectionName(records_[end])) {
            ++end;
        }
        next_ = headerAt(records_, next_, end, kPieceColumns);
        headerIndex_ = next_;
        const Record& header = records_[next_++];
        const Columns columns(header, kPieceColumns, out_.errors);
        out_.place.header = header.line;
        out_.place.pieces = fieldColumns(header, kPieceColumns);
        const std::span<const Record> rows(records_.data() + next_, end - next_);
        next_ = end;
        if (!columns.complete()) {
            return;
        }
        const std::vector<OtherColumn> others = otherColumns(header, rows);
        for (const OtherColumn& column : others) {
            out_.document.otherColumns.push_back(utf8(column.name));
        }
        const bool marked = std::ranges::any_of(header.cells, [](const QString& cell) {
            return kPieceColumns[0].namedBy(normalName(cell));
        });
        const qsizetype element = marked ? -1 : columnNamed(header, kElementColumn);
        const qsizetype barNumber = marked ? -1 : columnNamed(header, kBarNumberColumn);
        if (!marked && element < 0) {
            readBlocks(rows, columns, others, barNumber);
            return;
        }
        for (const Record& row : rows) {
            ListRow piece = pieceOf(row, columns, others);
            piece.piece.mark = element >= 0 ? markOf(row, element, barNumber)
                                            : utf8(columns.cell(row, Column::Mark));
            if (!blankRow(piece, others.size())) {
                out_.document.rows.push_back(std::move(piece));
            }
        }
    }

    static ListRow pieceOf(const Record& row, const Columns& columns,
                           const std::vector<OtherColumn>& others) {
        ListRow piece;
        for (const KnownColumn& known : optionalColumns()) {
            piece.piece.*rowField(known.column) = utf8(columns.cell(row, known.column));
        }
        piece.piece.diameter = utf8(columns.cell(row, Column::Diameter));
        piece.piece.length = utf8(columns.cell(row, Column::Length));
        piece.piece.count = utf8(columns.cell(row, Column::Count));
        piece.piece.line = row.line;
        piece.shape = utf8(columns.cell(row, Column::Shape));
        piece.parameters = utf8(columns.cell(row, Column::Parameters));
        for (const OtherColumn& column : others) {
            piece.others.push_back(
                utf8(column.at < row.cells.size() ? row.cells[column.at] : QString()));
        }
        return piece;
    }

    // A bar detail report: each bar row is a piece of the element block it is under, its count
    // 根数 per element times the block's 构件数量, on the floor of the last floor row. Position
    // rows are kept on the bars as a 构件位置 column, the element's name as a 构件名称 column, and
    // subtotals and other texts as rows with a 备注 alone.
    void readBlocks(std::span<const Record> rows, const Columns& columns,
                    const std::vector<OtherColumn>& others, qsizetype barNumber) {
        if (!out_.document.settings.project) {
            if (const auto project = reportProject(records_, headerIndex_)) {
                out_.document.settings.project = utf8(*project);
            }
        }
        std::vector<qsizetype> barColumns{barNumber};
        for (const Column c : {Column::Diameter, Column::Length, Column::Count}) {
            barColumns.push_back(columns.at(c));
        }
        BlockReader reader(std::move(barColumns));
        std::vector<ListRow> read;
        std::vector<QString> positions;
        std::vector<QString> notes;
        std::vector<QString> names;
        for (const Record& row : rows) {
            const BlockLine line = reader.read(row);
            switch (line.kind) {
            case BlockLine::Kind::Structure:
            case BlockLine::Kind::Skipped:
                continue;
            case BlockLine::Kind::Error:
                out_.errors.push_back(*line.error);
                continue;
            case BlockLine::Kind::Note: {
                ListRow note;
                note.piece.line = row.line;
                note.others.resize(others.size());
                read.push_back(std::move(note));
                positions.emplace_back();
                names.emplace_back();
                notes.push_back(line.note);
                continue;
            }
            case BlockLine::Kind::Bar:
                break;
            }
            ListRow piece = pieceOf(row, columns, others);
            piece.piece.mark = markOf(row, -1, barNumber);
            piece.piece.mark = utf8(line.element + kMarkJoiner) + piece.piece.mark;
            piece.piece.elements = utf8(line.elements);
            if (isBlank(fromUtf8(piece.piece.floor))) {
                piece.piece.floor = utf8(line.floor);
            }
            read.push_back(std::move(piece));
            positions.push_back(line.position);
            names.push_back(line.element);
            notes.emplace_back();
        }
        if (const std::optional<FileError> last = reader.finished()) {
            out_.errors.push_back(*last);
        }
        // The columns made of the blocks, after the report's own, only when a row fills them.
        const auto add = [&](const char16_t* name, const std::vector<QString>& cells) {
            if (std::ranges::all_of(cells, [](const QString& c) { return c.isEmpty(); })) {
                return;
            }
            out_.document.otherColumns.push_back(utf8(QString::fromUtf16(name)));
            for (std::size_t i = 0; i < read.size(); ++i) {
                read[i].others.push_back(utf8(cells[i]));
            }
        };
        add(u"构件名称", names);
        add(u"构件位置", positions);
        add(u"备注", notes);
        for (ListRow& row : read) {
            out_.document.rows.push_back(std::move(row));
        }
    }

    void readSection() {
        const Record& heading = records_[next_++];
        const QString name = *sectionName(heading);
        const bool settings = name == QStringView(kSettingsSection);
        const bool offcuts = name == QStringView(kOffcutsSection);
        const bool grades = name == QStringView(kGradesSection);
        if (settings && !settingsSeen_) {
            settingsSeen_ = true;
            readSettings();
        } else if (offcuts && !offcutsSeen_) {
            offcutsSeen_ = true;
            readOffcuts();
        } else if (grades && !gradesSeen_) {
            gradesSeen_ = true;
            readGradesSection();
        } else {
            const FileProblem problem = settings || offcuts || grades ? FileProblem::RepeatedSection
                                                                      : FileProblem::UnknownSection;
            out_.errors.push_back(fileError(heading.line, problem, utf8(name)));
            skipTable();
        }
    }

    void skipTable() {
        while (inTable()) {
            ++next_;
        }
    }

    void readSettings() {
        std::vector<Setting> given;
        for (; inTable(); ++next_) {
            const Record& row = records_[next_];
            const std::optional<Setting> setting = settingNamed(row.cells.front());
            FileError error =
                fileError(row.line, FileProblem::UnknownSetting, utf8(row.cells.front().trimmed()));
            if (!setting) {
                out_.errors.push_back(error);
                continue;
            }
            if (std::ranges::find(given, *setting) != given.end()) {
                error.problem = FileProblem::RepeatedSetting;
                out_.errors.push_back(error);
                continue;
            }
            given.push_back(*setting);
            readSetting(*setting, row);
        }
    }

    void readSetting(Setting setting, const Record& row) {
        const QStringList values = valueCells(row);
        ListSettings& settings = out_.document.settings;
        if (setting == Setting::Project) {
            settings.project = utf8(values.join(u','));
            return;
        }
        // Values spread over cells ("原材长度;9000;12000" in a semicolon file) read as one list.
        const std::string text = utf8(values.join(u';'));
        switch (setting) {
        case Setting::StockLengths:
            take(readStockLengths(text), settings.stockLengths, row.line);
            return;
        case Setting::Kerf:
            take(readKerf(text), settings.kerf, row.line);
            return;
        case Setting::Keep:
            take(readKeep(text), settings.keep, row.line);
            return;
        case Setting::Seconds:
            take(readSeconds(text), settings.seconds, row.line);
            return;
        case Setting::Concrete:
            take(readConcrete(text), settings.concrete, row.line);
            return;
        case Setting::Seismic:
            take(readSeismic(text), settings.seismic, row.line);
            return;
        case Setting::CouplerAbove:
            take(readCouplerAbove(text), settings.couplerAbove, row.line);
            return;
        case Setting::ButtAllowance:
            take(readButtAllowance(text), settings.buttAllowance, row.line);
            return;
        case Setting::ShortestSegment:
            take(readShortestSegment(text), settings.shortestSegment, row.line);
            return;
        case Setting::ExtraJoint:
            take(readExtraJoint(text), settings.extraJoint, row.line);
            return;
        case Setting::LapShare:
            take(readShare(plan::Field::LapShare, text), settings.lapShare, row.line);
            return;
        case Setting::MechanicalShare:
            take(readShare(plan::Field::MechanicalShare, text), settings.mechanicalShare, row.line);
            return;
        case Setting::ByCost:
            take(readByCost(text), settings.byCost, row.line);
            return;
        case Setting::SteelPrice:
            take(readSteelPrice(text), settings.steelPrice, row.line);
            return;
        case Setting::JointPrice:
            take(readJointPrices(text, plan::joints::kJointFen), settings.jointPrices, row.line);
            return;
        case Setting::Project:
            return;
        }
    }

    template <typename T>
    void take(const SettingValue<T>& read, std::optional<T>& into, int line) {
        if (read.error) {
            FileError error = fileError(line, FileProblem::BadSetting);
            error.field = read.error->field;
            error.value = read.error->problem;
            error.limit = read.error->limit;
            error.text = read.error->text; // the word a message names, as an unknown joint
            out_.errors.push_back(error);
        } else {
            into = read.value;
        }
    }

    void readOffcuts() {
        if (!inTable()) {
            return; // an empty section: no offcuts
        }
        out_.place.offcuts = fieldColumns(records_[next_], kOffcutColumns);
        const Columns columns(records_[next_++], kOffcutColumns, out_.errors);
        for (; inTable(); ++next_) {
            if (columns.complete()) {
                if (auto offcut = offcutRow(records_[next_], columns)) {
                    out_.document.offcuts.push_back(std::move(*offcut));
                }
            }
        }
    }

    void readGradesSection() {
        const std::size_t begin = next_;
        skipTable();
        GradesRead read = readGradeTable(records_, begin, next_);
        out_.document.grades = std::move(read.table);
        out_.errors.insert(out_.errors.end(), read.errors.begin(), read.errors.end());
    }

    const std::vector<Record>& records_;
    ListRead& out_;
    std::size_t next_ = 0;
    std::size_t headerIndex_ = 0;
    bool settingsSeen_ = false;
    bool offcutsSeen_ = false;
    bool gradesSeen_ = false;
};

} // namespace

plan::Settings applied(const ListSettings& file, plan::Settings base) {
    if (file.stockLengths) {
        base.stockLengths = *file.stockLengths;
    }
    base.kerf = file.kerf.value_or(base.kerf);
    base.keep = file.keep.value_or(base.keep);
    base.seconds = file.seconds.value_or(base.seconds);
    plan::joints::JointSettings& joints = base.joints;
    joints.concrete = file.concrete.value_or(joints.concrete);
    joints.seismic = file.seismic.value_or(joints.seismic);
    joints.couplerAbove = file.couplerAbove.value_or(joints.couplerAbove);
    joints.buttAllowance = file.buttAllowance.value_or(joints.buttAllowance);
    joints.shortestSegment = file.shortestSegment.value_or(joints.shortestSegment);
    joints.extraJoint = file.extraJoint.value_or(joints.extraJoint);
    joints.lapShare = file.lapShare.value_or(joints.lapShare);
    joints.mechanicalShare = file.mechanicalShare.value_or(joints.mechanicalShare);
    joints.byCost = file.byCost.value_or(joints.byCost);
    joints.prices.steelFenPerTonne = file.steelPrice.value_or(joints.prices.steelFenPerTonne);
    joints.prices.jointFen = file.jointPrices.value_or(joints.prices.jointFen);
    return base;
}

ListRead readList(const QByteArray& bytes) {
    ListRead out;
    const Decoded decoded = decode(bytes);
    out.encoding = decoded.encoding;
    if (decoded.badLine > 0) {
        out.errors.push_back(fileError(decoded.badLine, FileProblem::NotText));
        return out;
    }
    out = readList(splitRecords(decoded.text, detectSeparator(decoded.text)));
    out.encoding = decoded.encoding;
    return out;
}

ListRead readList(const Records& records) {
    ListRead out;
    ListReader(records, out).read();
    if (records.unclosedQuote > 0) {
        out.errors.push_back(fileError(records.unclosedQuote, FileProblem::UnclosedQuote));
    }
    std::ranges::stable_sort(out.errors, std::less{}, &FileError::line);
    return out;
}

std::vector<GradeCode> gradesOf(const ListDocument& document) {
    return document.grades.empty() ? defaultGrades() : document.grades;
}

const std::vector<RowColumn>& rowColumns() {
    static const std::vector<RowColumn> columns = [] {
        std::vector<RowColumn> out;
        for (const KnownColumn& known : optionalColumns()) {
            out.push_back({QStringView(known.names[0]).toString(), *optionalField(known.column)});
        }
        return out;
    }();
    return columns;
}

std::optional<plan::Field> countOrGradeColumn(const QString& name) {
    const QString normal = normalName(name);
    for (const KnownColumn& known : optionalColumns()) {
        if (known.namedBy(normal)) {
            return optionalField(known.column);
        }
    }
    return std::nullopt;
}

QByteArray writeList(const ListDocument& document) {
    QString text;
    const auto line = [&text](const QStringList& cells) {
        text.append(joinRecord(cells, u',')).append(u"\r\n");
    };
    QStringList header{QStringLiteral("编号"), QStringLiteral("直径"), QStringLiteral("长度"),
                       QStringLiteral("根数"), QStringLiteral("形状"), QStringLiteral("参数")};
    // A schedule's grade and count columns and a long bar's joint columns, only when some row
    // uses them: a plain list is written as it always was.
    const auto used = [&document](std::string plan::PieceRow::*field) {
        return std::ranges::any_of(document.rows, [field](const ListRow& row) {
            return !isBlank(fromUtf8(row.piece.*field));
        });
    };
    std::vector<std::string plan::PieceRow::*> extra;
    for (const KnownColumn& known : optionalColumns()) {
        const auto field = rowField(known.column);
        if (field && used(field)) {
            header.append(QStringView(known.names[0]).toString());
            extra.push_back(field);
        }
    }
    for (const std::string& name : document.otherColumns) {
        header.append(fromUtf8(name));
    }
    text.append(headerRecord(header)).append(u"\r\n");
    const std::size_t others = document.otherColumns.size();
    for (const ListRow& row : document.rows) {
        if (blankRow(row, others)) {
            continue;
        }
        QStringList cells{fromUtf8(row.piece.mark),   fromUtf8(row.piece.diameter),
                          fromUtf8(row.piece.length), fromUtf8(row.piece.count),
                          fromUtf8(row.shape),        fromUtf8(row.parameters)};
        for (const auto field : extra) {
            cells.append(fromUtf8(row.piece.*field));
        }
        for (std::size_t i = 0; i < others; ++i) {
            cells.append(i < row.others.size() ? fromUtf8(row.others[i]) : QString());
        }
        line(cells);
    }

    const ListSettings& s = document.settings;
    if (s != ListSettings{}) {
        // Written as it is: joinRecord would quote a leading '#' and make the heading data.
        text.append(QStringView(kSettingsSection)).append(u"\r\n");
        if (s.stockLengths) {
            line({QStringLiteral("原材长度"), fromUtf8(stockLengthsText(*s.stockLengths))});
        }
        if (s.kerf) {
            line({QStringLiteral("锯口"), QString::number(*s.kerf)});
        }
        if (s.keep) {
            line({QStringLiteral("最短余料"), QString::number(*s.keep)});
        }
        if (s.seconds) {
            line({QStringLiteral("时限"), fromUtf8(secondsText(*s.seconds))});
        }
        if (s.project) {
            line({QStringLiteral("项目"), fromUtf8(*s.project)});
        }
        const auto setting = [&line](Setting name, const std::string& value) {
            line({settingName(name), fromUtf8(value)});
        };
        if (s.concrete) {
            setting(Setting::Concrete, concreteText(*s.concrete));
        }
        if (s.seismic) {
            setting(Setting::Seismic, seismicText(*s.seismic));
        }
        if (s.couplerAbove) {
            setting(Setting::CouplerAbove, diameterText(*s.couplerAbove));
        }
        if (s.buttAllowance) {
            setting(Setting::ButtAllowance, std::to_string(*s.buttAllowance));
        }
        if (s.shortestSegment) {
            setting(Setting::ShortestSegment, std::to_string(*s.shortestSegment));
        }
        if (s.extraJoint) {
            setting(Setting::ExtraJoint, yesNoText(*s.extraJoint));
        }
        if (s.lapShare) {
            setting(Setting::LapShare, shareText(*s.lapShare));
        }
        if (s.mechanicalShare) {
            setting(Setting::MechanicalShare, shareText(*s.mechanicalShare));
        }
        if (s.byCost) {
            setting(Setting::ByCost, yesNoText(*s.byCost));
        }
        if (s.steelPrice) {
            setting(Setting::SteelPrice, yuanText(*s.steelPrice));
        }
        if (s.jointPrices) {
            setting(Setting::JointPrice, jointPricesText(*s.jointPrices));
        }
    }

    if (!document.offcuts.empty()) {
        text.append(QStringView(kOffcutsSection)).append(u"\r\n");
        const bool graded = std::ranges::any_of(document.offcuts, [](const plan::OffcutRow& row) {
            return !isBlank(fromUtf8(row.grade));
        });
        QStringList heading{QStringLiteral("直径"), QStringLiteral("长度"), QStringLiteral("根数")};
        if (graded) {
            heading.append(QStringLiteral("级别"));
        }
        line(heading);
        for (const plan::OffcutRow& row : document.offcuts) {
            QStringList cells{fromUtf8(row.diameter), fromUtf8(row.length), fromUtf8(row.count)};
            if (graded) {
                cells.append(fromUtf8(row.grade));
            }
            line(cells);
        }
    }

    if (!document.grades.empty()) {
        text.append(QStringView(kGradesSection)).append(u"\r\n");
        line({QStringLiteral("代号"), QStringLiteral("牌号")});
        for (const GradeCode& row : document.grades) {
            line({fromUtf8(row.code), fromUtf8(row.grade)});
        }
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace formats
