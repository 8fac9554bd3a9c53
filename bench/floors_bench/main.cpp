// The floor-by-floor benchmark: a bar detail report of a whole building (by default ten floors,
// about 300 element blocks and 4,000 bar rows), written as quantity software exports it, read
// as the command reads it, and planned floor by floor with each floor's remnants kept for the
// floors after it; beside it, each floor planned alone and the whole building at once. Prints
// the figures; never run as a test.
//   floors_bench [--floors N] [--seed S] [--seconds S]
#include "formats/grades.h"
#include "formats/list_input.h"
#include "formats/messages.h"
#include "plan/floors.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include "report.h"

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int floors = 10;
    std::uint32_t seed = 1;
    double seconds = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--floors") == 0) {
            floors = std::stoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--seed") == 0) {
            seed = static_cast<std::uint32_t>(std::stoul(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--seconds") == 0) {
            seconds = std::stod(argv[i + 1]);
        }
    }
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("钢筋明细表.xlsx"));
    const bench::ReportSize size = bench::writeReport(path.toStdString(), floors, seed);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the report\n");
        return 1;
    }
    const QByteArray bytes = file.readAll();
    std::printf("report: %d floors, %d element blocks, %d bar rows, %.2f MB (seed %u)\n",
                size.floors, size.blocks, size.bars, bytes.size() / 1e6, seed);

    // Read as the command reads it: the workbook, then the rows checked into a list.
    std::vector<double> reads;
    std::vector<double> checks;
    plan::CuttingList list;
    for (int run = 0; run < 5; ++run) {
        auto start = Clock::now();
        const formats::ListRead read = formats::readListFile(bytes, path);
        reads.push_back(since(start));
        if (!read.errors.empty()) {
            std::fprintf(stderr, "the report has %zu errors\n", read.errors.size());
            return 1;
        }
        start = Clock::now();
        std::vector<plan::PieceRow> rows;
        for (const formats::ListRow& row : read.document.rows) {
            rows.push_back(row.piece);
        }
        plan::Settings settings;
        settings.seconds = seconds;
        plan::Checked checked =
            formats::checkRows(std::move(rows), {}, settings, formats::defaultGrades());
        checks.push_back(since(start));
        if (!checked.errors.empty()) {
            std::fprintf(stderr, "the list has %zu errors, the first: line %d: %s\n",
                         checked.errors.size(), checked.errors.front().line,
                         formats::describe(checked.errors.front()).toStdString().c_str());
            return 1;
        }
        list = std::move(checked.list);
    }
    std::printf("read:      %.3f s (median of 5), the rows checked into a list %.3f s\n",
                median(reads), median(checks));

    const std::vector<std::string> order = list.floors();
    auto start = Clock::now();
    const plan::BuildingPlan carried = plan::optimizeByFloor(list, order);
    const double byFloor = since(start);
    std::int64_t alone = 0;
    int proven = 0;
    for (const std::string& floor : order) {
        alone += plan::optimize(list.part({floor}, {})).stockMm();
    }
    for (const plan::FloorPlan& f : carried.floors) {
        proven += f.plan.optimal() ? 1 : 0;
        if (std::getenv("FLOORS_BENCH_GROUPS") != nullptr) {
            for (const plan::GroupPlan& g : f.plan.groups) {
                std::printf("  %s %s Φ%lld: %.2f s, %zu long bars\n", f.floor.c_str(),
                            g.steel.grade.c_str(), static_cast<long long>(g.steel.diameter / 10),
                            g.seconds, g.spliced.size());
            }
        }
    }
    const plan::Plan together = plan::optimize(list);
    if (std::getenv("FLOORS_BENCH_GROUPS") != nullptr) {
        for (const plan::GroupPlan& g : together.groups) {
            std::printf("  together %s Φ%lld: %.2f s, %zu long bars, %lld mm, bound %lld mm\n",
                        g.steel.grade.c_str(), static_cast<long long>(g.steel.diameter / 10),
                        g.seconds, g.spliced.size(), static_cast<long long>(g.stockMm),
                        static_cast<long long>(g.boundMm));
        }
    }
    const auto percent = [](std::int64_t a, std::int64_t b) {
        return 100.0 * static_cast<double>(a - b) / static_cast<double>(b);
    };
    std::printf("by floor:  %.2f s for %zu floors, %d of them proven least\n", byFloor,
                carried.floors.size(), proven);
    std::printf("steel bought, floor by floor with the remnants kept:  %lld mm\n",
                static_cast<long long>(carried.stockMm()));
    std::printf("              each floor alone:                    %lld mm (%+.2f %%)\n",
                static_cast<long long>(alone), percent(alone, carried.stockMm()));
    std::printf("              the whole building at once:          %lld mm (%+.2f %%)\n",
                static_cast<long long>(together.stockMm()),
                percent(together.stockMm(), carried.stockMm()));
    return 0;
}
