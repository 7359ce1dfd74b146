#pragma once
// Dialog templates as data: what each window holds, where, and under which identifier. The
// window system builds the real widgets from these; sizes and places are in dialog units.

#include <cstdint>
#include <span>
#include <string_view>

namespace resources {

enum class ControlKind {
    Static,         // a line or block of text
    PushButton,
    DefaultButton,  // the push button that Enter reaches
    RadioButton,    // automatic radio button; see kGroupStart
    GroupBox,
    Edit,
    ComboBox,       // editable drop-down list: a selected position and a shown text of its own
    ListBox,
    ReportList,     // list view in report view
    IpAddress,
    ProgressBar,
};

// Style bits a control may carry beyond its kind.
enum ControlStyle : std::uint32_t {
    kNoStyle = 0,
    kGroupStart = 0x0001,      // starts a group of radio buttons (and a tab group)
    kBorder = 0x0002,
    kPassword = 0x0004,        // characters hidden
    kAutoHScroll = 0x0008,
    kSorted = 0x0010,          // list and combo box keep their entries sorted
    kVScroll = 0x0020,
    kSingleSelection = 0x0040,
    kShowSelectionAlways = 0x0080,
    kSmooth = 0x0100,          // progress bar without segments
    kNoIntegralHeight = 0x0200,
    kCancelButton = 0x0400,    // the push button that stands for Escape (id 2)
    kHidden = 0x0800,          // created, but not shown with the window
};

struct ControlTemplate {
    int id;  // -1: not addressable
    ControlKind kind;
    std::string_view text;
    int x, y, width, height;
    std::uint32_t style = kNoStyle;
};

enum DialogStyle : std::uint32_t {
    kPopup = 0x0001,
    kCaption = 0x0002,
    kSystemMenu = 0x0004,
    kModalFrame = 0x0008,
    kMinimizeBox = 0x0010,
    kMaximizeBox = 0x0020,
    kChild = 0x0040,     // drawn inside its parent, without caption or border
    kCentred = 0x0080,
    kSystemModal = 0x0100,
    kSetForeground = 0x0200,
};

struct DialogTemplate {
    int id;
    std::string_view caption;
    int width, height;
    std::string_view fontName;
    int fontPoints;
    std::uint32_t style;
    std::span<const ControlTemplate> controls;
};

// Nullptr when there is no template with that identifier.
const DialogTemplate* FindDialogTemplate(int id);

}  // namespace resources
