#include "cli/progress_line.h"

#include "formats/plan_words.h"

namespace cli {
namespace {

// Rewriting the line more often than this only makes a terminal flicker.
constexpr auto kInterval = std::chrono::milliseconds(200);

// Back to the line's start and clear it (ANSI, which every terminal in use understands).
constexpr const char* kClear = "\r\x1b[K";

} // namespace

ProgressLine::ProgressLine(QIODevice& terminal, std::size_t groups)
    : terminal_(terminal), groups_(groups) {
}

ProgressLine::~ProgressLine() {
    if (written_) {
        terminal_.write(kClear);
    }
}

void ProgressLine::update(const plan::Progress& progress) {
    if (progress.done) {
        ++done_;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - shown_ < kInterval) {
        return;
    }
    shown_ = now;
    const QString line = QStringLiteral("正在优化：已完成 %1/%2 种钢筋；%3 用钢 %4 mm，下界 %5 mm")
                             .arg(done_)
                             .arg(groups_)
                             .arg(formats::steelLabel(progress.steel, progress.code))
                             .arg(progress.bestMm)
                             .arg(progress.boundMm);
    terminal_.write(kClear);
    terminal_.write(line.toUtf8());
    written_ = true;
}

} // namespace cli
