#include "planner/sheet_columns.h"

#include <algorithm>

#include <QRegularExpression>

namespace planner {
namespace {

// Each cell's text and the header's, measured by `measure`; the widest of a column plus the
// padding on both sides, never less than `least`.
template <typename Measure>
std::vector<double> widest(const formats::Table& table, const QFontMetricsF& body,
                           const QFontMetricsF& bold, double pad, double least, Measure measure) {
    std::vector<double> widths(static_cast<std::size_t>(table.header.size()), least);
    for (std::size_t c = 0; c < widths.size(); ++c) {
        widths[c] =
            std::max(widths[c], measure(bold, table.header[static_cast<qsizetype>(c)]) + 2 * pad);
        for (const auto& row : table.rows) {
            if (c < row.size()) {
                widths[c] = std::max(widths[c], measure(body, row[c].text) + 2 * pad);
            }
        }
    }
    return widths;
}

} // namespace

std::vector<double> narrowestColumns(const formats::Table& table, const QFontMetricsF& body,
                                     const QFontMetricsF& bold, double pad) {
    // Han characters and full-width forms, up to four together; or a run of anything else
    // that is not a blank.
    static const QRegularExpression pieces(
        QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]{1,4}|[^\\s\\x{3000}-\\x{9fff}\\x{"
                       "ff00}-\\x{ffef}]+"));
    return widest(table, body, bold, pad, 0, [](const QFontMetricsF& metrics, const QString& text) {
        double widest = 0;
        for (auto it = pieces.globalMatch(text); it.hasNext();) {
            widest = std::max(widest, metrics.horizontalAdvance(it.next().captured()));
        }
        return widest;
    });
}

std::vector<double> naturalColumns(const formats::Table& table, const QFontMetricsF& body,
                                   const QFontMetricsF& bold, double pad) {
    return widest(table, body, bold, pad, pad * 4,
                  [](const QFontMetricsF& metrics, const QString& text) {
                      return metrics.horizontalAdvance(text);
                  });
}

std::vector<double> fittedColumns(const std::vector<double>& natural,
                                  const std::vector<double>& narrow, double width) {
    double wanted = 0;
    double least = 0;
    for (std::size_t c = 0; c < natural.size(); ++c) {
        wanted += natural[c];
        least += narrow[c];
    }
    std::vector<double> widths(natural.size());
    for (std::size_t c = 0; c < natural.size(); ++c) {
        if (wanted <= width) {
            widths[c] = natural[c] * width / wanted;
        } else if (least < width) {
            widths[c] = narrow[c] + (natural[c] - narrow[c]) * (width - least) / (wanted - least);
        } else {
            widths[c] = narrow[c] * width / least; // squeezed past words: they are cut, not lost
        }
    }
    return widths;
}

} // namespace planner
