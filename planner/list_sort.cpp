#include "planner/list_sort.h"

#include "formats/grades.h"
#include "formats/records.h"
#include "plan/number.h"
#include "planner/list_tables.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace planner {
namespace {

bool blank(const TextTable::Row& row) {
    return std::ranges::all_of(row, [](const QString& t) { return formats::isBlank(t); });
}

// Rows with a key first by key, then rows without one, then blank rows; stable throughout.
std::vector<TextTable::Row>
sortedBy(const std::vector<TextTable::Row>& rows,
         const std::function<std::optional<double>(const TextTable::Row&)>& key) {
    struct Keyed {
        int rank; // 0: has a key, 1: none, 2: blank
        double key;
        const TextTable::Row* row;
    };
    std::vector<Keyed> keyed;
    for (const TextTable::Row& row : rows) {
        const std::optional<double> k = blank(row) ? std::nullopt : key(row);
        keyed.push_back({blank(row) ? 2 : (k ? 0 : 1), k.value_or(0), &row});
    }
    std::ranges::stable_sort(keyed, [](const Keyed& a, const Keyed& b) {
        return a.rank != b.rank ? a.rank < b.rank : a.key < b.key;
    });
    std::vector<TextTable::Row> out;
    for (const Keyed& k : keyed) {
        out.push_back(*k.row);
    }
    return out;
}

} // namespace

std::vector<TextTable::Row> sortedByDiameter(const std::vector<TextTable::Row>& rows) {
    return sortedBy(rows, [](const TextTable::Row& row) -> std::optional<double> {
        // A grade before the diameter ("C25") is passed over: rows sort by the diameter alone,
        // and the grade table cannot change where a row goes.
        const std::string diameter =
            formats::readSteelText(row.value(kDiameter).toStdString(), formats::defaultGrades())
                .diameter;
        const plan::Number n = plan::readDiameter(diameter, plan::kMaxDiameter);
        return n.error ? std::nullopt : std::optional<double>(static_cast<double>(n.value));
    });
}

std::vector<TextTable::Row> sortedByLength(const std::vector<TextTable::Row>& rows) {
    return sortedBy(rows, [](const TextTable::Row& row) -> std::optional<double> {
        const QString text = row.value(kLength).trimmed();
        const plan::Number n = plan::readLength(text.toStdString(), plan::kMaxLength);
        if (n.error) {
            return std::nullopt;
        }
        // Finer than the whole millimetre it is cut at, so that 6456.34 sorts before 6457.
        bool plain = false;
        const double written = text.toDouble(&plain);
        return plain ? written : static_cast<double>(n.value);
    });
}

} // namespace planner
