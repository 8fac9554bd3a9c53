// The yard's benchmark runner (bench/yard): a yard of many offcut rows made with a fixed seed,
// then the times a user waits for: opening it (with its check for damage), reading every row,
// filtering by steel and length, planning a list with its offcuts, and carrying a plan out
// (commit) and back (undo). Prints figures; asserts nothing.
//   yard_bench --rows N --list LIST.csv [--seed S] [--commits N] [--keep FILE]
#include "formats/grades.h"
#include "formats/list_input.h"
#include "plan/optimize.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include "yard/messages.h"
#include "yard/stock.h"
#include "yard/yard.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::ranges::sort(values);
    return values.empty() ? 0 : values[values.size() / 2];
}

[[noreturn]] void fail(const yard::Error& error) {
    std::fprintf(stderr, "%s: %s\n", error.file.c_str(),
                 yard::describe(error).toUtf8().constData());
    std::exit(1);
}

template <typename T>
T must(yard::Result<T> result) {
    if (result.error) {
        fail(*result.error);
    }
    return std::move(result.value);
}

// Rows as a yard collects them over a few jobs: every common diameter in the grades sites keep
// apart (and none), lengths from the shortest kept to 3 m (what is left of a 9 or 12 m bar after
// its pieces), a few bars each, in a few stacks. The example list's long bars still need new
// steel, its short ones do not.
std::vector<yard::NewOffcut> yardRows(int rows, unsigned seed) {
    const std::vector<std::string> grades{"", "HPB300", "HRB400", "HRB400E", "HRB500"};
    const std::vector<std::int64_t> diameters{80, 100, 120, 140, 160, 180, 200, 220, 250, 280, 320};
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> grade(0, grades.size() - 1);
    std::uniform_int_distribution<std::size_t> diameter(0, diameters.size() - 1);
    std::uniform_int_distribution<std::int64_t> length(500, 3000);
    std::uniform_int_distribution<std::int64_t> count(1, 5);
    std::uniform_int_distribution<int> stack(1, 12);
    std::vector<yard::NewOffcut> out;
    out.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        out.push_back({{grades[grade(random)], diameters[diameter(random)]},
                       length(random),
                       count(random),
                       "堆放点 " + std::to_string(stack(random))});
    }
    return out;
}

plan::CuttingList listOf(const QString& path, const yard::Yard& store, double& stockMs) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", path.toUtf8().constData());
        std::exit(1);
    }
    const formats::ListRead read = formats::readListFile(file.readAll(), path);
    std::vector<plan::PieceRow> rows;
    for (const formats::ListRow& row : read.document.rows) {
        rows.push_back(row.piece);
    }
    const std::vector<formats::GradeCode> grades = formats::gradesOf(read.document);
    plan::Settings settings = formats::applied(read.document.settings, plan::Settings{});
    settings.seconds = 10;
    const plan::Checked first = formats::checkRows(rows, {}, settings, grades);
    const std::vector<plan::Steel> steels = first.list.steels();
    const auto start = Clock::now();
    const std::vector<yard::Moved> stock = must(store.stock(steels));
    stockMs = msSince(start);
    plan::Checked checked =
        formats::checkRows(rows, yard::offcutRows(stock, steels), settings, grades);
    if (!checked.errors.empty()) {
        std::fprintf(stderr, "the list has errors\n");
        std::exit(1);
    }
    return std::move(checked.list);
}

} // namespace

int main(int argc, char* argv[]) {
    int rows = 100'000;
    unsigned seed = 1;
    int commits = 21;
    QString list;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--rows") {
            rows = std::stoi(argv[i + 1]);
        } else if (option == "--seed") {
            seed = static_cast<unsigned>(std::stoul(argv[i + 1]));
        } else if (option == "--commits") {
            commits = std::stoi(argv[i + 1]);
        } else if (option == "--list") {
            list = QString::fromLocal8Bit(argv[i + 1]);
        }
    }
    const QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("yard.sqlite")).toStdString();

    auto start = Clock::now();
    {
        yard::Options options;
        options.create = true;
        auto made = must(yard::Yard::open(file, options));
        must(made->add(yardRows(rows, seed), yard::EntryKind::Import, {}));
    }
    std::printf("yard of %d offcut rows (seed %u), %.1f MB\n", rows, seed,
                static_cast<double>(QFile(QString::fromStdString(file)).size()) / 1e6);
    std::printf("  made in one import          %8.1f ms\n", msSince(start));

    start = Clock::now();
    auto store = must(yard::Yard::open(file));
    const double openMs = msSince(start);
    start = Clock::now();
    const std::size_t all = must(store->offcuts()).size();
    const double readMs = msSince(start);
    start = Clock::now();
    const std::size_t some = must(store->offcuts({plan::Steel{"HRB400", 250}, 2000, 4000})).size();
    const double filterMs = msSince(start);
    std::printf("  open (with quick_check)     %8.1f ms\n", openMs);
    std::printf("  read every row (%zu)     %8.1f ms\n", all, readMs);
    std::printf("  filter HRB400 Φ25 2000–4000 %8.1f ms (%zu rows)\n", filterMs, some);

    if (list.isEmpty()) {
        return 0;
    }
    double stockMs = 0;
    start = Clock::now();
    const plan::CuttingList cutting = listOf(list, *store, stockMs);
    const double readListMs = msSince(start);
    start = Clock::now();
    const plan::Plan plan = plan::optimize(cutting);
    const double planMs = msSince(start);
    std::int64_t used = 0;
    for (const plan::GroupPlan& g : plan.groups) {
        for (const plan::StockUse& u : g.offcutsUsed) {
            used += u.count;
        }
    }
    std::printf("  the list's stock from it    %8.1f ms (%zu offcut lengths offered)\n", stockMs,
                cutting.offcuts().size());
    std::printf("  list read and checked       %8.1f ms (the stock included)\n", readListMs);
    std::printf("  plan                        %8.1f ms (%lld offcuts used, %lld mm bought, %s)\n",
                planMs, static_cast<long long>(used), static_cast<long long>(plan.stockMm()),
                plan.optimal() ? "all proven" : "not all proven");
    std::printf("  open + filter + plan        %8.1f ms\n",
                openMs + filterMs + readListMs + planMs);

    std::vector<double> commitMs;
    std::vector<double> undoMs;
    for (int i = 0; i < commits; ++i) {
        start = Clock::now();
        const yard::Entry entry = must(store->commit(plan, {}));
        commitMs.push_back(msSince(start));
        start = Clock::now();
        must(store->undo(entry.source.id));
        undoMs.push_back(msSince(start));
    }
    std::printf("  commit (median of %d)       %8.1f ms\n", commits, median(commitMs));
    std::printf("  undo (median of %d)         %8.1f ms\n", commits, median(undoMs));
    return 0;
}
