#include "report.h"

#include <algorithm>
#include <array>
#include <random>
#include <string_view>
#include <vector>
#include <xlsxwriter.h>

namespace bench {
namespace {

// Texts joined with append: g++ 12 takes "a" + std::string for an overlapping copy (-Wrestrict).
std::string joined(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (const std::string_view part : parts) {
        out.append(part);
    }
    return out;
}

struct Bar {
    std::string mark;
    std::string grade; // A: HPB300, C: HRB400
    int diameter = 0;
    int length = 0; // mm
    int count = 0;  // per element
    std::string joint;
};

struct Element {
    std::string name;
    int count = 0;
    std::string position;
    std::vector<Bar> bars;
};

std::string floorName(int floor, int floors) {
    if (floor == 0) {
        return "首层";
    }
    if (floor == floors - 1) {
        return "屋面层";
    }
    return joined({"第", std::to_string(floor + 1), "层"});
}

// How long bars of a diameter are joined, as such reports name it.
std::string jointOf(int diameter, bool vertical) {
    if (vertical) {
        return "电渣压力焊";
    }
    return diameter >= 22 ? "直螺纹连接" : "绑扎";
}

class Design {
public:
    explicit Design(std::uint32_t seed) : random_(seed) {
        // The building's elements: the same on every floor, the storey height and a few beams
        // excepted, as in a frame building.
        for (int k = 1; k <= 5; ++k) {
            columns_.push_back(
                {pick({20, 22, 25, 28}), between(8, 16), between(4, 10), between(450, 700)});
        }
        for (int k = 1; k <= 24; ++k) {
            std::vector<int> spans(static_cast<std::size_t>(between(1, 4)));
            for (int& span : spans) {
                span = between(36, 84) * 100;
            }
            beams_.push_back(
                {spans, pick({20, 22, 25}), between(1, 6), between(250, 400), between(500, 800)});
        }
        for (int k = 1; k <= 8; ++k) {
            secondary_.push_back({between(30, 72) * 100, pick({14, 16, 18}), between(2, 8)});
        }
    }

    std::vector<Element> floor(int level, int floors) {
        const int height = level == 0 ? 4500 : level == floors - 1 ? 3300 : 3600;
        std::vector<Element> out;
        for (std::size_t k = 0; k < columns_.size(); ++k) {
            const Column& c = columns_[k];
            const int side = c.side;
            // The bars rise a storey and half the lap's stagger (35d) into the next.
            out.push_back(
                {joined({"KZ", std::to_string(k + 1)}),
                 c.count,
                 "<1,A>",
                 {{"全部纵筋.1", "C", c.diameter, height + 35 * c.diameter / 2, c.bars,
                   jointOf(c.diameter, true)},
                  {"箍筋.1", "A", 10, 4 * side - 8 * 25 + 2 * 119, height / 100 + 8, "绑扎"},
                  {"拉筋.1", "A", 8, side - 50 + 2 * 95, 2 * (height / 100 + 8), "绑扎"}}});
        }
        for (std::size_t k = 0; k < beams_.size(); ++k) {
            Beam b = beams_[k];
            // A few beams are changed on the roof, as plant and parapets ask.
            if (level == floors - 1 && k % 4 == 0) {
                b.spans.front() = std::max(3000, b.spans.front() - 600);
            }
            int total = 0;
            for (const int span : b.spans) {
                total += span;
            }
            const std::string name =
                joined({"KL", std::to_string(k + 1), "(", std::to_string(b.spans.size()), ")"});
            Element e{
                name, b.count, joined({"<A,1><A,", std::to_string(b.spans.size() + 1), ">"}), {}};
            const int anchor = 15 * b.diameter;
            // Two through-bars side by side: laps at 25 % could join neither in one section
            // (GB 50010 8.4.3), so they are joined by couplers, 50 % a section (8.4.8).
            e.bars.push_back(
                {"1跨.上通长筋1", "C", b.diameter, total + 2 * anchor, 2, "直螺纹连接"});
            for (std::size_t s = 0; s < b.spans.size(); ++s) {
                const int span = b.spans[s];
                const std::string at = joined({std::to_string(s + 1), "跨."});
                e.bars.push_back({joined({at, "左支座筋1"}), "C", b.diameter,
                                  span / 3 + 600 + anchor, 2, jointOf(b.diameter, false)});
                e.bars.push_back({joined({at, "右支座筋1"}), "C", b.diameter, span / 3 + 600, 2,
                                  jointOf(b.diameter, false)});
                e.bars.push_back({joined({at, "下部钢筋1"}), "C", b.diameter,
                                  span + 2 * 37 * b.diameter, between(2, 4),
                                  jointOf(b.diameter, false)});
                e.bars.push_back({joined({at, "箍筋1"}), "A", 8,
                                  2 * (b.width + b.depth) - 200 + 238, span / 150 + 2, "绑扎"});
                if (b.depth >= 600) {
                    e.bars.push_back(
                        {joined({at, "腰筋1"}), "C", 12, span + 2 * 15 * 12, 4, "绑扎"});
                }
            }
            out.push_back(std::move(e));
        }
        for (std::size_t k = 0; k < secondary_.size(); ++k) {
            const Secondary& l = secondary_[k];
            out.push_back(
                {joined({"L", std::to_string(k + 1), "(1)"}),
                 l.count,
                 "<B,2><B,3>",
                 {{"1跨.上通长筋1", "C", l.diameter - 2, l.span + 2 * 15 * 14, 2, "绑扎"},
                  {"1跨.下部钢筋1", "C", l.diameter, l.span + 2 * 12 * l.diameter, 3, "绑扎"},
                  {"1跨.箍筋1", "A", 8, 1190, l.span / 200 + 2, "绑扎"},
                  {"1跨.左支座筋1", "C", l.diameter - 2, l.span / 4 + 500, 2, "绑扎"},
                  {"1跨.右支座筋1", "C", l.diameter - 2, l.span / 4 + 500, 2, "绑扎"}}});
        }
        const std::array<std::pair<int, int>, 3> slabs{{{8400, 7200}, {6600, 4200}, {7200, 3600}}};
        for (std::size_t k = 0; k < slabs.size(); ++k) {
            const auto [x, y] = slabs[k];
            out.push_back({joined({"LB", std::to_string(k + 1)}),
                           4 + static_cast<int>(k),
                           "<1,A><3,C>",
                           {{"底筋.X方向", "C", 10, x + 200, y / 150 + 1, "绑扎"},
                            {"底筋.Y方向", "C", 10, y + 200, x / 150 + 1, "绑扎"},
                            {"面筋.X负筋", "C", 12, x / 4 + 400, y / 150 + 1, "绑扎"},
                            {"面筋.Y负筋", "C", 12, y / 4 + 400, x / 150 + 1, "绑扎"},
                            {"分布筋.1", "A", 8, x / 2, 12, "绑扎"},
                            {"马凳筋.1", "C", 12, 800, x / 1000 + y / 1000, "绑扎"}}});
        }
        return out;
    }

private:
    struct Column {
        int diameter, bars, count, side;
    };
    struct Beam {
        std::vector<int> spans;
        int diameter, count, width, depth;
    };
    struct Secondary {
        int span, diameter, count;
    };

    int between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }
    int pick(std::initializer_list<int> values) {
        return *(values.begin() + between(0, static_cast<int>(values.size()) - 1));
    }

    std::mt19937 random_;
    std::vector<Column> columns_;
    std::vector<Beam> beams_;
    std::vector<Secondary> secondary_;
};

// GB/T 1499: nominal mass per metre, kg.
double massPerMetre(int diameter) {
    return 0.00617 * diameter * diameter;
}

} // namespace

ReportSize writeReport(const std::filesystem::path& path, int floors, std::uint32_t seed) {
    Design design(seed);
    lxw_workbook* book = workbook_new(path.string().c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "钢筋明细表");
    const std::array<const char*, 14> header{
        "筋号", "级别", "直径",    "钢筋图形", "计算公式", "公式描述", "长度",
        "根数", "搭接", "损耗(%)", "单重(kg)", "总重(kg)", "钢筋归类", "搭接形式"};
    const auto last = static_cast<lxw_col_t>(header.size() - 1);
    worksheet_merge_range(sheet, 0, 0, 0, last, "钢筋明细表", nullptr);
    worksheet_merge_range(sheet, 1, 0, 1, last, "工程名称：某住宅楼        编制日期：2026-12-01",
                          nullptr);
    for (lxw_col_t c = 0; c <= last; ++c) {
        worksheet_write_string(sheet, 2, c, header[c], nullptr);
    }
    ReportSize size{floors, 0, 0};
    lxw_row_t row = 3;
    int id = 1000;
    for (int level = 0; level < floors; ++level) {
        const std::string floor = joined({"楼层名称：", floorName(level, floors)});
        worksheet_merge_range(sheet, row, 0, row, last, floor.c_str(), nullptr);
        ++row;
        double floorKg = 0;
        for (const Element& e : design.floor(level, floors)) {
            double kg = 0;
            for (const Bar& b : e.bars) {
                kg += massPerMetre(b.diameter) * b.length / 1000 * b.count;
            }
            floorKg += kg * e.count;
            const std::string block =
                joined({"构件名称：", e.name, "[", std::to_string(++id), "]    构件数量：",
                        std::to_string(e.count), "    本构件钢筋重：", std::to_string(kg), "kg"});
            worksheet_merge_range(sheet, row, 0, row, last, block.c_str(), nullptr);
            ++row;
            const std::string position = joined({"构件位置：", e.position});
            worksheet_merge_range(sheet, row, 0, row, last, position.c_str(), nullptr);
            ++row;
            ++size.blocks;
            for (const Bar& b : e.bars) {
                const double single = massPerMetre(b.diameter) * b.length / 1000;
                worksheet_write_string(sheet, row, 0, b.mark.c_str(), nullptr);
                worksheet_write_string(sheet, row, 1, b.grade.c_str(), nullptr);
                worksheet_write_number(sheet, row, 2, b.diameter, nullptr);
                worksheet_write_string(sheet, row, 4, "L+2*la", nullptr);
                worksheet_write_string(sheet, row, 5, "净长+锚固", nullptr);
                worksheet_write_number(sheet, row, 6, b.length, nullptr);
                worksheet_write_number(sheet, row, 7, b.count, nullptr);
                worksheet_write_number(sheet, row, 8, b.length > 12000 ? 1 : 0, nullptr);
                worksheet_write_number(sheet, row, 9, 0, nullptr);
                worksheet_write_number(sheet, row, 10, single, nullptr);
                worksheet_write_number(sheet, row, 11, single * b.count, nullptr);
                worksheet_write_string(sheet, row, 12, "直筋", nullptr);
                worksheet_write_string(sheet, row, 13, b.joint.c_str(), nullptr);
                ++row;
                ++size.bars;
            }
        }
        worksheet_write_string(sheet, row, 0, "本层合计", nullptr);
        worksheet_write_number(sheet, row, 11, floorKg, nullptr);
        ++row;
    }
    workbook_close(book);
    return size;
}

} // namespace bench
