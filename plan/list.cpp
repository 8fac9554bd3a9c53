#include "plan/list.h"

#include "plan/joints/segment.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <set>

namespace plan {
namespace {

bool blank(std::string_view text) {
    // Blanks, and the ideographic space an input method types.
    std::string_view t = text;
    while (!t.empty()) {
        if (t.front() == ' ' || t.front() == '\t' || t.front() == '\r' || t.front() == '\n') {
            t.remove_prefix(1);
        } else if (t.starts_with("\xE3\x80\x80")) {
            t.remove_prefix(3);
        } else {
            return false;
        }
    }
    return true;
}

Problem problemOf(NumberError e) {
    switch (e) {
    case NumberError::Empty:
        return Problem::Empty;
    case NumberError::NotANumber:
        return Problem::NotANumber;
    case NumberError::NotWhole:
        return Problem::NotWhole;
    case NumberError::NotPositive:
        return Problem::NotPositive;
    case NumberError::Negative:
        return Problem::Negative;
    case NumberError::TooLarge:
        return Problem::TooLarge;
    }
    return Problem::NotANumber;
}

std::string trimmedMark(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

// Reads one field of a row, recording what is wrong with it.
class RowReader {
public:
    RowReader(Source source, int line, std::vector<InputError>& errors)
        : source_(source), line_(line), errors_(errors) {}

    std::int64_t take(Field field, const Number& n, std::int64_t limit) {
        if (n.error) {
            report(field, problemOf(*n.error), *n.error == NumberError::TooLarge ? limit : 0);
            return 0;
        }
        return n.value;
    }

    void report(Field field, Problem problem, std::int64_t limit = 0, std::string text = {}) {
        errors_.push_back({source_, line_, field, problem, limit, std::move(text)});
        ok_ = false;
    }

    [[nodiscard]] bool ok() const { return ok_; }

private:
    Source source_;
    int line_;
    std::vector<InputError>& errors_;
    bool ok_ = true;
};

// The row's count: 构件数 × 根数 when the elements are given, else 根数, else 总根数 alone; a
// 总根数 beside them must agree. Old lists have only 根数, which stays the count.
void readCounts(const PieceRow& row, Piece& piece, RowReader& reader) {
    const bool byElement = !blank(row.elements);
    const bool totalGiven = !blank(row.total);
    if (!byElement && totalGiven && blank(row.count)) {
        piece.count = reader.take(Field::Total, readCount(row.total, kMaxCount), kMaxCount);
        return;
    }
    const std::int64_t each = reader.take(Field::Count, readCount(row.count, kMaxCount), kMaxCount);
    std::int64_t product = each;
    if (byElement) {
        const std::int64_t elements =
            reader.take(Field::Elements, readCount(row.elements, kMaxCount), kMaxCount);
        product = elements * each; // both at most kMaxCount: no overflow
        if (elements > 0 && each > 0 && product > kMaxCount) {
            reader.report(Field::Elements, Problem::TooLarge, kMaxCount);
        }
        piece.elements = elements;
        piece.perElement = each;
    }
    if (totalGiven) {
        const std::int64_t total =
            reader.take(Field::Total, readCount(row.total, kMaxCount), kMaxCount);
        if (total > 0 && product > 0 && total != product) {
            reader.report(Field::Total,
                          byElement ? Problem::CountsDisagree : Problem::TotalDisagrees, product);
        }
    }
    piece.count = product;
}

// A share as written: "50", "50%", "50 %" or with a full-width sign; only the three the design
// code's tables have (25, 50, 100 %).
void readShare(const std::string& text, Piece& piece, RowReader& reader) {
    std::string digits = trimmedMark(text);
    for (const std::string_view sign : {"%", "\xEF\xBC\x85"}) {
        if (digits.ends_with(sign)) {
            digits = trimmedMark(digits.substr(0, digits.size() - sign.size()));
        }
    }
    const Number n = readCount(digits, kMaxCount);
    if (n.error) {
        reader.report(Field::Share, problemOf(*n.error));
    } else if (n.value != 25 && n.value != 50 && n.value != 100) {
        reader.report(Field::Share, Problem::ShareNotAllowed);
    } else {
        piece.share = static_cast<int>(n.value);
    }
}

// The zones as written: ranges "from-to" of whole mm (or with '~', '～', '－'), separated by
// ';', ',', '、' or blanks, in any width; each within the bar and not empty.
void readZones(const std::string& text, Piece& piece, RowReader& reader) {
    std::string plain;
    // Full-width separators and dashes to their ASCII forms; the numbers' own full-width digits
    // are the number reader's.
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [wide, narrow] :
             {std::pair<std::string_view, char>{"\xEF\xBC\x9B", ';'}, // ；
              {"\xEF\xBC\x8C", ';'},                                  // ，
              {"\xE3\x80\x81", ';'},                                  // 、
              {"\xEF\xBD\x9E", '-'},                                  // ～
              {"\xEF\xBC\x8D", '-'},                                  // －
              {"\xE2\x80\x94", '-'},                                  // —
              {"\xE3\x80\x80", ';'}}) {                               // ideographic space
            if (std::string_view(text).substr(i).starts_with(wide)) {
                plain.push_back(narrow);
                i += wide.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            const char c = text[i++];
            plain.push_back(c == '~' ? '-' : c == ',' || c == ' ' || c == '\t' ? ';' : c);
        }
    }
    std::size_t at = 0;
    while (at <= plain.size()) {
        const std::size_t end = std::min(plain.find(';', at), plain.size());
        const std::string range = trimmedMark(std::string_view(plain).substr(at, end - at));
        at = end + 1;
        if (range.empty()) {
            continue;
        }
        const std::size_t dash = range.find('-', 1);
        if (dash == std::string::npos) {
            reader.report(Field::Zones, Problem::BadZone);
            return;
        }
        const Number from = readAllowance(range.substr(0, dash), kMaxLength);
        const Number to = readAllowance(range.substr(dash + 1), kMaxLength);
        if (from.error || to.error || from.value >= to.value || to.value > piece.length) {
            reader.report(Field::Zones, Problem::BadZone);
            return;
        }
        piece.zones.push_back({from.value, to.value});
    }
}

// The joint fields of a row; read for every row, though only a long bar uses them, so that a
// mistyped method is found before the row grows long.
void readJoint(const PieceRow& row, Piece& piece, RowReader& reader) {
    if (const std::string method = trimmedMark(row.joint); !method.empty()) {
        piece.method = joints::methodOfKey(method);
        if (!piece.method) {
            reader.report(Field::Joint, Problem::UnknownJoint, 0, method);
        }
    }
    if (!blank(row.share)) {
        readShare(row.share, piece, reader);
    }
    if (!blank(row.lap)) {
        piece.lap = reader.take(Field::Lap, readLength(row.lap, kMaxLength), kMaxLength);
    }
    if (!blank(row.zones)) {
        readZones(row.zones, piece, reader);
    }
}

void checkJointSettings(const joints::JointSettings& s, std::vector<InputError>& errors) {
    const auto setting = [&errors](Field field, Problem problem, std::int64_t limit = 0) {
        errors.push_back({Source::Settings, 0, field, problem, limit, {}});
    };
    if (s.couplerAbove < 0) {
        setting(Field::CouplerAbove, Problem::Negative);
    } else if (s.couplerAbove > kMaxDiameter) {
        setting(Field::CouplerAbove, Problem::TooLarge, kMaxDiameter);
    }
    if (s.buttAllowance < 0) {
        setting(Field::ButtAllowance, Problem::Negative);
    } else if (s.buttAllowance > kMaxAllowance) {
        setting(Field::ButtAllowance, Problem::TooLarge, kMaxAllowance);
    }
    if (s.shortestSegment <= 0) {
        setting(Field::ShortestSegment, Problem::NotPositive);
    } else if (s.shortestSegment > kMaxLength) {
        setting(Field::ShortestSegment, Problem::TooLarge, kMaxLength);
    }
    const auto share = [&](Field field, int percent) {
        if (percent != 25 && percent != 50 && percent != 100) {
            setting(field, Problem::ShareNotAllowed);
        }
    };
    share(Field::LapShare, s.lapShare);
    share(Field::MechanicalShare, s.mechanicalShare);
}

void checkSettings(const Settings& s, std::vector<InputError>& errors) {
    if (s.stockLengths.empty()) {
        errors.push_back({Source::Settings, 0, Field::StockLength, Problem::NoStock, 0, {}});
    }
    std::set<std::int64_t> seen;
    for (std::size_t i = 0; i < s.stockLengths.size(); ++i) {
        const std::int64_t length = s.stockLengths[i];
        const int position = static_cast<int>(i + 1);
        if (length <= 0) {
            errors.push_back(
                {Source::Settings, position, Field::StockLength, Problem::NotPositive, 0, {}});
        } else if (length > kMaxLength) {
            errors.push_back({Source::Settings,
                              position,
                              Field::StockLength,
                              Problem::TooLarge,
                              kMaxLength,
                              {}});
        } else if (!seen.insert(length).second) {
            errors.push_back(
                {Source::Settings, position, Field::StockLength, Problem::Duplicate, 0, {}});
        }
    }
    if (s.kerf < 0) {
        errors.push_back({Source::Settings, 0, Field::Kerf, Problem::Negative, 0, {}});
    } else if (s.kerf > kMaxAllowance) {
        errors.push_back({Source::Settings, 0, Field::Kerf, Problem::TooLarge, kMaxAllowance, {}});
    }
    if (s.keep < 0) {
        errors.push_back({Source::Settings, 0, Field::Keep, Problem::Negative, 0, {}});
    } else if (s.keep > kMaxLength) {
        errors.push_back({Source::Settings, 0, Field::Keep, Problem::TooLarge, kMaxLength, {}});
    }
    if (std::isnan(s.seconds)) {
        errors.push_back({Source::Settings, 0, Field::Seconds, Problem::NotANumber, 0, {}});
    } else if (s.seconds <= 0) {
        errors.push_back({Source::Settings, 0, Field::Seconds, Problem::NotPositive, 0, {}});
    } else if (s.seconds > kMaxSeconds) {
        errors.push_back({Source::Settings,
                          0,
                          Field::Seconds,
                          Problem::TooLarge,
                          static_cast<std::int64_t>(kMaxSeconds),
                          {}});
    }
    checkJointSettings(s.joints, errors);
}

// One offcut row, or nothing when it is blank or wrong (its errors go to `errors`). With
// `steels`, an offcut of a steel none of them is, is wrong: it could never be used.
std::optional<Offcut> readOffcut(const OffcutRow& row, const std::set<Steel>* steels,
                                 std::vector<InputError>& errors) {
    if (blank(row.diameter) && blank(row.length) && blank(row.count)) {
        return std::nullopt;
    }
    RowReader reader(Source::Offcuts, row.line, errors);
    Offcut offcut;
    offcut.line = row.line;
    offcut.steel.grade = row.grade;
    const Number diameter = readDiameter(row.diameter, kMaxDiameter);
    offcut.steel.diameter = reader.take(Field::Diameter, diameter, kMaxDiameter);
    if (steels != nullptr && !diameter.error && !steels->contains(offcut.steel)) {
        reader.report(Field::Diameter, Problem::NoPieces);
    }
    offcut.length =
        reader.take(Field::Length, readLength(row.length, kMaxLength, Rounding::Down), kMaxLength);
    offcut.count = reader.take(Field::Count, readCount(row.count, kMaxCount), kMaxCount);
    if (!reader.ok()) {
        return std::nullopt;
    }
    return offcut;
}

} // namespace

std::string PieceRow::*rowText(Field field) {
    switch (field) {
    case Field::Grade:
        return &PieceRow::grade;
    case Field::Elements:
        return &PieceRow::elements;
    case Field::Total:
        return &PieceRow::total;
    case Field::Joint:
        return &PieceRow::joint;
    case Field::Share:
        return &PieceRow::share;
    case Field::Lap:
        return &PieceRow::lap;
    case Field::Zones:
        return &PieceRow::zones;
    case Field::Floor:
        return &PieceRow::floor;
    case Field::Mark:
    case Field::Diameter:
    case Field::Length:
    case Field::Count:
    case Field::StockLength:
    case Field::Kerf:
    case Field::Keep:
    case Field::Seconds:
    case Field::GradeCode:
    case Field::Concrete:
    case Field::Seismic:
    case Field::CouplerAbove:
    case Field::ButtAllowance:
    case Field::ShortestSegment:
    case Field::LapShare:
    case Field::MechanicalShare:
    case Field::ExtraJoint:
    case Field::ByCost:
    case Field::SteelPrice:
    case Field::JointPrice:
        break;
    }
    return nullptr;
}

joints::LongBar longBarOf(const Piece& piece) {
    joints::LongBar bar;
    bar.mark = piece.mark;
    bar.grade = piece.steel.grade;
    bar.diameter = piece.steel.diameter;
    bar.length = piece.length;
    bar.count = piece.count;
    // The bars side by side are those of one element; a list without elements gives no way to
    // tell, so all its bars are taken as lying together, which staggers the most.
    bar.sideBySide = piece.perElement;
    bar.method = piece.method;
    bar.share = piece.share;
    bar.lapLength = piece.lap;
    bar.zones = piece.zones;
    bar.line = piece.line;
    return bar;
}

std::vector<Steel> CuttingList::steels() const {
    std::set<Steel> found;
    for (const std::vector<Piece>* rows : {&pieces_, &longBars_}) {
        for (const Piece& p : *rows) {
            found.insert(p.steel);
        }
    }
    return {found.begin(), found.end()};
}

std::string CuttingList::codeOf(const Steel& steel) const {
    for (const std::vector<Piece>* rows : {&pieces_, &longBars_}) {
        for (const Piece& p : *rows) {
            if (p.steel == steel && !p.code.empty()) {
                return p.code;
            }
        }
    }
    return {};
}

std::vector<std::string> CuttingList::floors() const {
    // By line, long bars among the pieces, as the rows stood in the list.
    std::vector<const Piece*> rows;
    for (const std::vector<Piece>* part : {&pieces_, &longBars_}) {
        for (const Piece& p : *part) {
            rows.push_back(&p);
        }
    }
    std::ranges::stable_sort(rows, std::less{}, &Piece::line);
    std::vector<std::string> out;
    for (const Piece* p : rows) {
        if (std::ranges::find(out, p->floor) == out.end()) {
            out.push_back(p->floor);
        }
    }
    return out;
}

CuttingList CuttingList::part(const std::vector<std::string>& floors,
                              const std::vector<Offcut>& offcuts) const {
    CuttingList out;
    out.settings_ = settings_;
    const auto on = [&floors](const Piece& p) {
        return std::ranges::find(floors, p.floor) != floors.end();
    };
    std::ranges::copy_if(pieces_, std::back_inserter(out.pieces_), on);
    std::ranges::copy_if(longBars_, std::back_inserter(out.longBars_), on);
    const std::vector<Steel> cut = out.steels();
    std::ranges::copy_if(offcuts, std::back_inserter(out.offcuts_), [&cut](const Offcut& o) {
        return o.count > 0 && std::binary_search(cut.begin(), cut.end(), o.steel);
    });
    return out;
}

Checked checkList(const std::vector<PieceRow>& pieces, const std::vector<OffcutRow>& offcuts,
                  const Settings& settings) {
    Checked result;
    std::vector<InputError>& errors = result.errors;
    checkSettings(settings, errors);
    const bool stockKnown = errors.empty();
    std::int64_t longest = 0;
    for (const std::int64_t length : settings.stockLengths) {
        longest = std::max(longest, length);
    }

    std::set<Steel> steels;
    for (const PieceRow& row : pieces) {
        if (blank(row.mark) && blank(row.diameter) && blank(row.length) && blank(row.count) &&
            blank(row.elements) && blank(row.total) && blank(row.joint) && blank(row.share) &&
            blank(row.lap) && blank(row.zones)) {
            continue;
        }
        RowReader reader(Source::Pieces, row.line, errors);
        Piece piece;
        piece.line = row.line;
        piece.mark = trimmedMark(row.mark);
        piece.floor = trimmedMark(row.floor);
        piece.steel.grade = row.grade;
        piece.code = row.code;
        piece.steel.diameter =
            reader.take(Field::Diameter, readDiameter(row.diameter, kMaxDiameter), kMaxDiameter);
        const Number length = readLength(row.length, kMaxLength);
        piece.length = reader.take(Field::Length, length, kMaxLength);
        readCounts(row, piece, reader);
        readJoint(row, piece, reader);
        if (!reader.ok()) {
            continue;
        }
        const bool isLong = stockKnown && piece.length > longest;
        // The length as written is kept only where it differs from the length cut.
        const Number exact = readCount(row.length, kMaxLength);
        if (exact.error) {
            piece.asked = trimmedMark(row.length);
        }
        steels.insert(piece.steel);
        if (isLong) {
            result.list.longBars_.push_back(std::move(piece));
        } else {
            result.list.pieces_.push_back(std::move(piece));
        }
    }

    // Each long bar through the joints stage once, so that a bar the rules cannot make is an
    // error of its row before anything is planned. The layouts are made again when planning,
    // with the cutting.
    for (const Piece& piece : result.list.longBars_) {
        const joints::Segmented s =
            joints::segment(longBarOf(piece), settings.stockLengths, settings.joints);
        if (s.error) {
            const Field field = s.error->problem == joints::JointProblem::ShareTooSmall ||
                                        s.error->problem == joints::JointProblem::ShareNotAllowed
                                    ? Field::Share
                                    : Field::Length;
            errors.push_back({Source::Pieces, piece.line, field, Problem::Joint, 0, {}, *s.error});
        }
        result.warnings.insert(result.warnings.end(), s.warnings.begin(), s.warnings.end());
    }

    for (const OffcutRow& row : offcuts) {
        if (std::optional<Offcut> offcut = readOffcut(row, &steels, errors)) {
            result.list.offcuts_.push_back(*offcut);
        }
    }

    // Errors in the order a person reads the inputs: settings, pieces by line, then offcuts.
    std::stable_sort(errors.begin(), errors.end(), [](const InputError& a, const InputError& b) {
        if (a.source != b.source) {
            return a.source == Source::Settings ||
                   (a.source == Source::Pieces && b.source == Source::Offcuts);
        }
        return a.source != Source::Settings && a.line < b.line;
    });
    if (errors.empty()) {
        result.list.settings_ = settings;
    } else {
        result.list = CuttingList{};
    }
    return result;
}

CheckedOffcuts checkOffcuts(const std::vector<OffcutRow>& rows) {
    CheckedOffcuts out;
    for (const OffcutRow& row : rows) {
        if (std::optional<Offcut> offcut = readOffcut(row, nullptr, out.errors)) {
            out.offcuts.push_back(*offcut);
        }
    }
    if (!out.errors.empty()) {
        out.offcuts.clear();
    }
    return out;
}

} // namespace plan
