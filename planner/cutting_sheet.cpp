#include "planner/cutting_sheet.h"

#include "formats/plan_words.h"
#include "formats/sheet.h"
#include "formats/spliced_words.h"
#include "planner/bar_layout.h"
#include "planner/bar_painter.h"
#include "planner/sheet_columns.h"
#include "planner/summary.h"

#include <algorithm>
#include <functional>
#include <memory>

#include <QApplication>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace planner {
namespace {

// One piece of the sheet that is never split across pages: a title, a heading, a table row, a
// bar. A table's rows carry their header, which is repeated at the top of a page they continue
// on.
struct Block {
    double height = 0;
    std::function<void(QPainter&, double top)> paint;
    std::shared_ptr<Block> header;
    bool keepWithNext = false; // a heading is not left alone at the foot of a page
};

struct Fonts {
    QFont title;
    QFont heading;
    QFont body;
    QFont table;
    QFont tableHeader;
};

// Qt's PDF writer tells readers which character each glyph is by the first code point the font
// maps to it. Noto Sans CJK maps the Kangxi radicals to the ideographs' own glyphs (⽇ for 日),
// and glyphs that OpenType shaping substitutes have no code point at all, so text copied or
// searched in the file would not be what is printed. WenQuanYi Micro Hei has neither trouble;
// with Noto, no shaping at least keeps the digits.
Fonts fontsFor() {
    QFont base = QApplication::font();
    base.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("SimSun")});
    base.setStyleStrategy(QFont::PreferNoShaping);
    const auto sized = [&base](double points, bool bold) {
        QFont f = base;
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    };
    return {sized(16, true), sized(12, true), sized(9.5, false), sized(8.5, false),
            sized(8.5, true)};
}

class SheetBuilder {
public:
    SheetBuilder(QPagedPaintDevice& device, const Fonts& fonts)
        : device_(device), fonts_(fonts), width_(device.width()) {}

    [[nodiscard]] double lineOf(const QFont& font) const {
        return QFontMetricsF(font, &device_).height();
    }

    void text(const QString& words, const QFont& font, bool keepWithNext = false,
              double spaceAbove = 0) {
        const QFontMetricsF metrics(font, &device_);
        const QRectF bounds =
            metrics.boundingRect(QRectF(0, 0, width_, 1e6), Qt::TextWordWrap, words);
        auto block = std::make_shared<Block>();
        block->height = bounds.height() + spaceAbove + metrics.height() * 0.3;
        block->keepWithNext = keepWithNext;
        const double width = width_;
        block->paint = [words, font, width, spaceAbove](QPainter& p, double top) {
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(QRectF(0, top + spaceAbove, width, 1e6), Qt::TextWordWrap | Qt::AlignLeft,
                       words);
        };
        blocks_.push_back(block);
    }

    void table(const formats::Table& table) {
        const QFontMetricsF body(fonts_.table, &device_);
        const QFontMetricsF bold(fonts_.tableHeader, &device_);
        const double pad = body.averageCharWidth() * 0.8;
        const std::vector<double> widths =
            fittedColumns(naturalColumns(table, body, bold, pad),
                          narrowestColumns(table, body, bold, pad), width_);

        std::vector<Cell> header;
        for (const QString& h : table.header) {
            header.push_back({h, false});
        }
        auto headerBlock = rowBlock(header, widths, fonts_.tableHeader, pad, true);
        headerBlock->keepWithNext = !table.rows.empty();
        blocks_.push_back(headerBlock);
        for (const auto& row : table.rows) {
            std::vector<Cell> cells;
            for (const formats::Cell& cell : row) {
                bool figure = false;
                static_cast<void>(cell.text.toDouble(&figure));
                cells.push_back({cell.text, figure || cell.kind != formats::CellKind::Text});
            }
            auto block = rowBlock(cells, widths, fonts_.table, pad, false);
            block->header = headerBlock;
            blocks_.push_back(block);
        }
        space(body.height() * 0.6);
    }

    void bars(const plan::GroupPlan& group, double unitsPerMm, const BarMetrics& metrics) {
        for (std::size_t p = 0; p < group.patterns.size(); ++p) {
            DrawnBar bar = layoutPattern(group.patterns[p], p, 0, 0, unitsPerMm, metrics);
            auto block = std::make_shared<Block>();
            block->height = metrics.rowHeight();
            const QFont font = fonts_.table;
            block->paint = [bar, font](QPainter& painter, double top) {
                painter.save();
                painter.translate(0, top);
                painter.setFont(font);
                paintBar(painter, bar);
                painter.restore();
            };
            blocks_.push_back(block);
        }
    }

    void space(double height) {
        auto block = std::make_shared<Block>();
        block->height = height;
        block->paint = [](QPainter&, double) {
        };
        blocks_.push_back(block);
    }

    [[nodiscard]] double width() const { return width_; }
    [[nodiscard]] const std::vector<std::shared_ptr<Block>>& blocks() const { return blocks_; }

private:
    struct Cell {
        QString text;
        bool figure;
    };

    std::shared_ptr<Block> rowBlock(const std::vector<Cell>& cells,
                                    const std::vector<double>& widths, const QFont& font,
                                    double pad, bool header) {
        const QFontMetricsF metrics(font, &device_);
        double height = metrics.height();
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            const QRectF bounds = metrics.boundingRect(QRectF(0, 0, widths[c] - 2 * pad, 1e6),
                                                       Qt::TextWordWrap, cells[c].text);
            height = std::max(height, bounds.height());
        }
        height += pad;
        auto block = std::make_shared<Block>();
        block->height = height;
        block->paint = [cells, widths, font, pad, header, height](QPainter& p, double top) {
            p.save();
            p.setFont(font);
            QPen grid(QColor(120, 120, 120));
            grid.setWidthF(std::max(pad / 12, 1.0));
            double left = 0;
            for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
                const QRectF cell(left, top, widths[c], height);
                if (header) {
                    p.fillRect(cell, QColor(230, 230, 230));
                }
                p.setPen(grid);
                p.drawRect(cell);
                p.setPen(Qt::black);
                const Qt::Alignment align =
                    Qt::AlignVCenter | (cells[c].figure ? Qt::AlignRight : Qt::AlignLeft);
                p.drawText(cell.adjusted(pad, 0, -pad, 0),
                           static_cast<int>(align) | Qt::TextWordWrap, cells[c].text);
                left += widths[c];
            }
            p.restore();
        };
        return block;
    }

    QPagedPaintDevice& device_;
    const Fonts& fonts_;
    double width_;
    std::vector<std::shared_ptr<Block>> blocks_;
};

// The rows planned; their floors only when some row names one.
formats::Table listTable(const std::vector<QStringList>& list) {
    formats::Table table;
    table.header = {QStringLiteral("序号"),      QStringLiteral("编号"), QStringLiteral("钢筋"),
                    QStringLiteral("长度 (mm)"), QStringLiteral("根数"), QStringLiteral("形状")};
    const bool floors =
        std::ranges::any_of(list, [](const QStringList& row) { return !row.value(5).isEmpty(); });
    if (floors) {
        table.header.append(QStringLiteral("楼层"));
    }
    int number = 0;
    for (const QStringList& row : list) {
        std::vector<formats::Cell> cells{
            {formats::CellKind::Integer, QString::number(++number), static_cast<double>(number)}};
        for (qsizetype c = 0; c < (floors ? 6 : 5); ++c) {
            cells.push_back({formats::CellKind::Text, row.value(c), 0});
        }
        table.rows.push_back(std::move(cells));
    }
    return table;
}

using Placed = std::vector<std::pair<const Block*, double>>;

std::vector<Placed> paginate(const std::vector<std::shared_ptr<Block>>& blocks, double height) {
    std::vector<Placed> pages(1);
    double y = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Block& block = *blocks[i];
        // A heading, the header under it and the first row go onto a page together.
        double need = block.height;
        for (std::size_t next = i; blocks[next]->keepWithNext && next + 1 < blocks.size(); ++next) {
            need += blocks[next + 1]->height;
        }
        if (y > 0 && y + need > height) {
            pages.emplace_back();
            y = 0;
            if (block.header) {
                pages.back().emplace_back(block.header.get(), y);
                y += block.header->height;
            }
        }
        pages.back().emplace_back(&block, y);
        y += block.height;
    }
    return pages;
}

} // namespace

int printSheet(QPagedPaintDevice& device, const SheetContent& content) {
    const Fonts fonts = fontsFor();
    SheetBuilder sheet(device, fonts);

    sheet.text(QStringLiteral("钢筋下料单"), fonts.title);
    QString about = QStringLiteral("日期：%1").arg(content.date.toString(Qt::ISODate));
    if (!content.project.isEmpty()) {
        about = QStringLiteral("项目：%1　　").arg(content.project) + about;
    }
    if (!content.plan.floors.empty()) {
        about += QStringLiteral("　　楼层：%1").arg(formats::floorsText(content.plan.floors));
    }
    sheet.text(about, fonts.body);

    const double line = sheet.lineOf(fonts.body);
    sheet.text(QStringLiteral("一、下料清单"), fonts.heading, true, line * 0.5);
    sheet.table(listTable(content.list));

    sheet.text(QStringLiteral("二、汇总"), fonts.heading, true, line * 0.5);
    sheet.text(toBuy(content.plan) + u'\n' + verdict(content.plan), fonts.body);
    if (!content.plan.groups.empty()) {
        // A4 upright has no room for the joints' two columns beside the other twelve: they
        // have a table of their own below.
        sheet.table(formats::summaryTable(content.plan, formats::SummaryJoints::Apart));
        if (formats::hasSpliced(content.plan)) {
            sheet.table(formats::jointTotalsTable(content.plan));
        }
        if (content.building) {
            // Floor by floor: every floor's rows, each floor cut with what the floors before it
            // left in the yard.
            const formats::Table floors = formats::floorsTable(*content.building);
            sheet.text(floors.note, fonts.body, true, line * 0.3);
            sheet.table(floors);
        }
    }

    sheet.text(QStringLiteral("三、下料方案"), fonts.heading, true, line * 0.5);
    BarMetrics metrics;
    const QFontMetricsF tableFont(fonts.table, &device);
    metrics.line = tableFont.height();
    metrics.margin = 0;
    QFont bold = fonts.table;
    bold.setBold(true);
    metrics.count =
        QFontMetricsF(bold, &device).horizontalAdvance(QStringLiteral("× 9999")) + metrics.line;
    const auto patterns = [&](const plan::Plan& plan) {
        const double unitsPerMm = scaleFor(sheet.width(), longestStock(plan), metrics);
        for (const plan::GroupPlan& group : plan.groups) {
            sheet.text(headingText(group), fonts.body, true, line * 0.3);
            sheet.table(formats::patternTable(group));
            sheet.bars(group, unitsPerMm, metrics);
            if (!group.spliced.empty()) {
                // After the bars that cut the segments: the table says how they are joined.
                const formats::Table spliced = formats::splicedTable(group);
                sheet.text(QStringLiteral("接长：") + spliced.note, fonts.body, true, line * 0.3);
                sheet.table(spliced);
            }
        }
    };
    if (content.building) {
        for (const plan::FloorPlan& floor : content.building->floors) {
            sheet.text(QStringLiteral("楼层：%1").arg(formats::floorName(floor.floor)),
                       fonts.heading, true, line * 0.5);
            patterns(floor.plan);
        }
    } else {
        patterns(content.plan);
    }

    const QFontMetricsF footerFont(fonts.table, &device);
    const double footer = footerFont.height() * 2;
    const std::vector<Placed> pages = paginate(sheet.blocks(), device.height() - footer);

    QPainter painter(&device);
    painter.setRenderHint(QPainter::Antialiasing);
    const int count = static_cast<int>(pages.size());
    for (int n = 0; n < count; ++n) {
        if (n > 0) {
            device.newPage();
        }
        for (const auto& [block, top] : pages[static_cast<std::size_t>(n)]) {
            block->paint(painter, top);
        }
        painter.setFont(fonts.table);
        painter.setPen(Qt::darkGray);
        const QRectF foot(0, device.height() - footerFont.height(), sheet.width(),
                          footerFont.height());
        QString left = QStringLiteral("衡尺下料　") + content.date.toString(Qt::ISODate);
        if (!content.project.isEmpty()) {
            left += QStringLiteral("　") + content.project;
        }
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter, left);
        painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("第 %1 页，共 %2 页").arg(n + 1).arg(count));
    }
    return count;
}

} // namespace planner
