#include "window/control_table.h"

#include <algorithm>
#include <array>

namespace window {
namespace {

using enum Kind;

// clang-format off
constexpr std::array kControls = std::to_array<Control>({
    // name       kind           container  caption          left  top   width height tab buddy
    {"Frame1",   GroupBox,      "Form1",   "直钢筋(弯钩)",   120,  120,  6615, 1575, 0},
    {"Frame2",   GroupBox,      "Form1",   "弯起钢筋",       120,  1710, 6615, 1725, 1},
    {"Frame3",   GroupBox,      "Form1",   "箍筋",           120,  3480, 6615, 1815, 2},

    {"Label1",   Label,         "Frame1",  "构建长度：",     120,  360,  975,  255,  10, "Text1"},
    {"Label2",   Label,         "Frame1",  "保护层：",       2310, 360,  735,  285,  12, "Text2"},
    {"Label5",   Label,         "Frame1",  "伸长值：",       4200, 360,  735,  315,  19, "Text5"},
    {"Label3",   Label,         "Frame1",  "弯钩长度：",     120,  750,  1035, 225,  14, "Text3"},
    {"Label4",   Label,         "Frame1",  "直径(D)：",      2220, 780,  825,  225,  17, "Text4"},
    {"Label6",   Label,         "Frame1",  "结果：",         4380, 810,  555,  225,  22, "Text6"},
    {"Check1",   CheckBox,      "Frame1",  "选择",           1320, 0,    735,  255,  4},
    {"Text1",    TextBox,       "Frame1",  "",               1050, 330,  945,  270,  11},
    {"Text2",    TextBox,       "Frame1",  "",               3090, 330,  945,  270,  13},
    {"Combo1",   ComboBox,      "Frame1",  "Combo1",         1050, 720,  945,  300,  15},
    {"Text3",    TextBox,       "Frame1",  "",               1050, 720,  945,  315,  16},
    {"Text4",    TextBox,       "Frame1",  "",               3090, 750,  975,  285,  18},
    {"Text6",    TextBox,       "Frame1",  "",               5010, 720,  1095, 315,  23},

    {"Label7",   Label,         "Frame2",  "直段长：",       540,  420,  735,  225,  24, "Text7"},
    {"Label8",   Label,         "Frame2",  "弯起直段长：",   2340, 390,  1095, 255,  26, "Text8"},
    {"Label11",  Label,         "Frame2",  "弯钩长度：",     4530, 390,  915,  225,  31, "Text11"},
    {"Label9",   Label,         "Frame2",  "斜段长度：",     360,  870,  915,  285,  28, "Text9"},
    {"Label10",  Label,         "Frame2",  "保护层：",       2700, 840,  735,  225,  29, "Text10"},
    {"Label12",  Label,         "Frame2",  "伸长值：",       4710, 840,  735,  195,  34, "Text12"},
    {"Label13",  Label,         "Frame2",  "减断长度：",     330,  1260, 945,  345,  37, "Text13"},
    {"Label14",  Label,         "Frame2",  "直径(D)：",      2610, 1200, 825,  255,  40, "Text14"},
    {"Label15",  Label,         "Frame2",  "结果：",         4890, 1230, 555,  195,  42, "Text15"},
    {"Text7",    TextBox,       "Frame2",  "",               1290, 360,  975,  315,  25},
    {"Text8",    TextBox,       "Frame2",  "",               3420, 330,  1035, 315,  27},
    {"Combo3",   ComboBox,      "Frame2",  "Combo3",         5460, 330,  1125, 300,  32},
    {"Text11",   TextBox,       "Frame2",  "",               5460, 330,  1095, 315,  33},
    {"Combo6",   ComboBox,      "Frame2",  "Combo6",         1320, 780,  975,  300,  44},
    {"Text9",    TextBox,       "Frame2",  "",               1290, 780,  1005, 315,  45},
    {"Text16",   TextBox,       "Frame2",  "",               2310, 780,  405,  345,  46},
    {"Text10",   TextBox,       "Frame2",  "",               3420, 750,  1065, 315,  30},
    {"Combo4",   ComboBox,      "Frame2",  "Combo4",         5460, 780,  1155, 300,  35},
    {"Text12",   TextBox,       "Frame2",  "",               5460, 780,  1125, 315,  36},
    {"Combo5",   ComboBox,      "Frame2",  "Combo5",         1290, 1200, 1005, 300,  38},
    {"Text13",   TextBox,       "Frame2",  "",               1290, 1200, 1005, 300,  39},
    {"Text14",   TextBox,       "Frame2",  "",               3420, 1170, 1095, 315,  41},
    {"Text15",   TextBox,       "Frame2",  "",               5490, 1170, 1065, 315,  43},

    {"Label16",  Label,         "Frame3",  "长：",           240,  420,  465,  225,  47, "Text17"},
    {"Label18",  Label,         "Frame3",  "弯钩增长度：",   1740, 450,  1125, 285,  51, "Text19"},
    {"Label22",  Label,         "Frame3",  "结果：",         3930, 300,  645,  195,  58, "Text23"},
    {"Label23",  Label,         "Frame3",  "个数：",         5490, 240,  585,  255,  63, "Text24"},
    {"Label17",  Label,         "Frame3",  "宽：",           210,  930,  375,  195,  49, "Text18"},
    {"Label19",  Label,         "Frame3",  "弯曲伸长值：",   1740, 900,  1095, 345,  53, "Text20"},
    {"Label20",  Label,         "Frame3",  "主筋长度：",     180,  1410, 975,  285,  54, "Text21"},
    {"Label21",  Label,         "Frame3",  "箍筋间距：",     2070, 1380, 975,  315,  56, "Text22"},
    {"Check3",   CheckBox,      "Frame3",  "选择",           1320, 0,    735,  255,  6},
    {"Text17",   TextBox,       "Frame3",  "",               660,  390,  945,  315,  48},
    {"Text19",   TextBox,       "Frame3",  "",               2820, 390,  1005, 345,  52},
    {"Text23",   TextBox,       "Frame3",  "",               4500, 240,  915,  285,  59},
    {"Text24",   TextBox,       "Frame3",  "",               6000, 180,  555,  315,  64},
    {"Text18",   TextBox,       "Frame3",  "",               660,  870,  945,  315,  50},
    {"Combo7",   ComboBox,      "Frame3",  "Combo7",         2820, 840,  1095, 300,  61},
    {"Text20",   TextBox,       "Frame3",  "",               2820, 840,  1095, 315,  62},
    {"Text21",   TextBox,       "Frame3",  "",               1080, 1350, 825,  315,  55},
    {"Text22",   TextBox,       "Frame3",  "",               3000, 1350, 975,  315,  57},
    {"Picture1", PictureBox,    "Frame3",  "",               4020, 630,  2505, 1095, 60},

    // The window's own controls, over the group boxes.
    {"Command1", CommandButton, "Form1",   "计算",           120,  5400, 1095, 495,  3},
    {"Check2",   CheckBox,      "Form1",   "选择",           1440, 1800, 855,  255,  5},
    {"Command2", CommandButton, "Form1",   "初始化",         1920, 5400, 1095, 495,  7},
    {"Command3", CommandButton, "Form1",   "退出",           3720, 5400, 1215, 495,  8},
    {"Command4", CommandButton, "Form1",   "关于",           5640, 5400, 1095, 495,  9},
    {"Combo2",   ComboBox,      "Form1",   "Combo2",         5130, 420,  1065, 300,  20},
    {"Text5",    TextBox,       "Form1",   "",               5130, 420,  1065, 285,  21},
});
// clang-format on

constexpr std::string_view kColon = "：";

} // namespace

std::span<const Control> controlTable() {
    return kControls;
}

const Control* findControl(std::string_view name) {
    const auto it = std::ranges::find(kControls, name, &Control::name);
    return it == kControls.end() ? nullptr : &*it;
}

std::string fieldTitle(std::string_view field) {
    if (field.empty()) {
        return {};
    }
    const auto label = std::ranges::find(kControls, field, &Control::buddy);
    if (label != kControls.end()) {
        std::string_view caption = label->caption;
        if (caption.ends_with(kColon)) {
            caption.remove_suffix(kColon.size());
        }
        return std::string{caption};
    }
    const Control* const self = findControl(field);
    if (self == nullptr) {
        return {};
    }
    // Fields of one row share their top edge; "directly right" allows the one-pixel gap.
    const auto leftNeighbour = std::ranges::find_if(kControls, [self](const Control& c) {
        const int gap = self->left - (c.left + c.width);
        return c.kind == Kind::TextBox && c.container == self->container && c.top == self->top &&
               gap >= 0 && gap <= kTwipsPerPixel;
    });
    if (leftNeighbour == kControls.end()) {
        return {};
    }
    return fieldTitle(leftNeighbour->name) + "（第二栏）";
}

} // namespace window
