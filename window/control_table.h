#pragma once

#include <span>
#include <string>
#include <string_view>

namespace window {

enum class Kind { GroupBox, CheckBox, Label, TextBox, ComboBox, CommandButton, PictureBox };

// One control of the window. Positions and sizes are in twips (15 to a pixel at 96 dpi),
// relative to the group box that holds it, or to the window's client area for "Form1".
struct Control {
    std::string_view name; // also the widget's objectName
    Kind kind;
    std::string_view container;
    std::string_view caption; // the initial text of a combo box's edit field; empty for a text box
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
    std::string_view buddy = {}; // the field a label names
};

inline constexpr int kTwipsPerPixel = 15;
inline constexpr std::string_view kWindowName = "Form1";
inline constexpr std::string_view kWindowCaption = "衡尺   (mm)";
inline constexpr int kClientWidth = 6900;
inline constexpr int kClientHeight = 6015;

// Every control of the window, the one source of its layout. Within one container the rows run
// from the bottom of the stacking order to the top, so creating them in this order stacks them
// as they must lie: labels under everything, each text box over the combo box behind it, and
// the group boxes under the controls of the window that stand on them.
std::span<const Control> controlTable();

// The row of the named control; nullptr for a name not in the table.
const Control* findControl(std::string_view name);

// The label that names a field, as the user reads it, without its colon ("构建长度"). A field
// with no label of its own, standing directly right of a labelled one, is that label's second
// field ("斜段长度（第二栏）").
std::string fieldTitle(std::string_view field);

} // namespace window
