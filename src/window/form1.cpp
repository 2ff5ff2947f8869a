#include "window/form1.h"

#include <stdexcept>

namespace veldrune {

namespace {

const FontSpec WindowFont{QStringLiteral("Arial"), 9.0, true, false};
const FontSpec ButtonFont{QStringLiteral("Tahoma"), 9.0, true, false};
const FontSpec TotalFont{QStringLiteral("Arial"), 21.75, true, false};
const FontSpec HeadingFont{QStringLiteral("Arial"), 12.0, true, false};

using K = ControlKind;
using A = Alignment;

// A control's design, written the way the designer reads it.
struct Design {
    ControlDesign d;

    Design(K kind, const char* name, int index, Rect place, const char* text = "") {
        d.kind = kind;
        d.name = QString::fromLatin1(name);
        d.index = index;
        d.place = place;
        d.text = QString::fromLatin1(text);
        if (kind == K::Entry)
            d.back = FieldColour;
    }
    Design& in(const char* frame) { return d.container = QString::fromLatin1(frame), *this; }
    Design& align(A alignment) { return d.alignment = alignment, *this; }
    Design& hidden() { return d.visible = false, *this; }
    Design& autoSized() { return d.autoSize = true, *this; }
    Design& font(const FontSpec& font) { return d.font = font, *this; }
    Design& fore(Colour colour) { return d.fore = colour, *this; }
    Design& back(Colour colour) { return d.back = colour, *this; }
    Design& tip(const char* text) { return d.toolTip = QString::fromLatin1(text), *this; }
    Design& bordered() { return d.border = true, *this; }
};

Design label(const char* name, int index, Rect place, const char* text) {
    return Design(K::Caption, name, index, place, text);
}
// A label that shows a result: single border, field colour.
Design output(const char* name, int index, Rect place, A alignment) {
    return Design(K::Caption, name, index, place).align(alignment).bordered().back(FieldColour);
}
// A numeric entry field, right-aligned while it does not have the focus.
Design number(const char* name, int index, Rect place) {
    return Design(K::Entry, name, index, place).align(A::Right);
}
Design line(const char* name, int index, LineEnds ends, int width) {
    Design design(K::Line, name, index, {});
    design.d.line = ends;
    design.d.lineWidth = width;
    return design;
}

} // namespace

Form1Layout::Form1Layout() {
    setCaption(QStringLiteral("QEL VELDRUNE"));
    setFont(WindowFont);
    setLaidOutFrame(FrameWidthExtra, FrameHeightExtra);
    setSize(ClientWidth + FrameWidthExtra, ClientHeight + FrameHeightExtra);
    auto put = [this](const Design& design) { add(design.d); };

    // Heading row.
    put(label("Label13", -1, {120, 120, 1875, 255}, "DESCRIPTION"));
    put(Design(K::Entry, "Text5", -1, {2040, 60, 5775, 315}));
    put(Design(K::DropDownList, "SYSTEM", -1, {8100, 60, 2715, 345}));
    put(label("Label1", -1, {120, 540, 960, 225}, "TOOL TYPE").autoSized());
    put(Design(K::DropDownList, "TOOLLIST", -1, {1320, 480, 2115, 345}).back(FieldColour));
    put(Design(K::DropDownList, "ANGLE", -1, {3540, 480, 1095, 345}));
    put(label("Label2", 0, {4680, 540, 1470, 225}, "MAXIMUM SPEED").autoSized());
    put(output("Label3", 0, {6360, 480, 1095, 255}, A::Centre));
    put(label("Label2", 1, {7620, 540, 1395, 225}, "MINIMUM SPEED").autoSized());
    put(output("Label3", 1, {9300, 480, 1095, 255}, A::Centre));

    // Maximum torque in the five units.
    put(Design(K::Frame, "Frame1", -1, {120, 840, 10455, 735}, "MAXIMUM TORQUE"));
    const char* units[] = {"NM", "KGM", "KGCM", "FTLBS", "INLBS"};
    const int valueLefts[] = {240, 2240, 4260, 6240,
                              8240}; // the middle one as the designer left it
    for (int u = 0; u < 5; ++u) {
        put(output("Label4", u, {valueLefts[u], 300, 915, 255}, A::Right).in("Frame1"));
        put(label("Label5", u, {1200 + 2000 * u, 360, 675, 195}, units[u]).in("Frame1"));
    }

    // Fastening frame, and its twin for presses in the same place.
    put(Design(K::Frame, "Frame2", -1, {120, 1620, 6375, 915}, "FASTENING"));
    put(Design(K::OptionButton, "Option1", 0, {240, 240, 1755, 255}, "BOLT LENGTH").in("Frame2"));
    put(number("Text1", -1, {2040, 240, 795, 270}).in("Frame2"));
    put(label("Label7", -1, {2940, 300, 495, 255}, "MM").in("Frame2"));
    put(label("Label8", -1, {3660, 300, 1335, 195}, "BOLT PITCH").in("Frame2"));
    put(number("Text2", -1, {4920, 240, 855, 270}).in("Frame2"));
    put(label("Label9", -1, {5820, 300, 435, 255}, "MM").in("Frame2"));
    put(Design(K::OptionButton, "Option1", 1, {240, 540, 2955, 255}, "NUMBER OF REVOLUTIONS")
            .in("Frame2"));
    put(number("Text3", -1, {3240, 540, 855, 270}).in("Frame2"));
    put(label("Label6", -1, {4320, 600, 1755, 195}, "REVOLUTIONS").in("Frame2"));
    put(Design(K::Frame, "Frame3", -1, {120, 1620, 6375, 915}, "PRESS").hidden());
    put(label("Label16", -1, {180, 300, 2235, 255}, "TOTAL PRESS LENGTH").in("Frame3"));
    put(Design(K::Entry, "Text6", -1, {2520, 240, 855, 285}).in("Frame3").back({}));
    put(label("Label18", -1, {3420, 300, 435, 255}, "MM").in("Frame3"));
    put(label("Label20", -1, {180, 600, 1455, 255}, "RECOVERY TIME").in("Frame3"));
    put(Design(K::Entry, "Text8", -1, {2520, 540, 855, 285}).in("Frame3").back({}));
    put(label("Label21", -1, {3420, 600, 915, 255}, "SECONDS").in("Frame3"));

    // Right of the fastening frame.
    put(Design(K::Frame, "Frame4", -1, {6540, 1620, 1275, 915}, "GEAR RATIO").hidden());
    put(output("Label17", -1, {120, 360, 975, 375}, A::Centre).in("Frame4"));
    put(label("Label10", 6, {7920, 1680, 2895, 255}, "ESTIMATED TOTAL TIME")
            .font(HeadingFont)
            .align(A::Centre));
    Design total = output("TOTAL", -1, {7920, 1980, 2835, 495}, A::Centre).font(TotalFont);
    total.d.text = QStringLiteral("1.00");
    put(total);
    put(Design(K::Button, "PRNTEST", -1, {7920, 2520, 2895, 285}, "PRINT TEST").hidden());
    const char* tips[] = {"UPDATE CALCULATION", "PRINT OUT", "ABOUT VELDRUNE", "LOAD CALCULATION"};
    for (int i = 0; i < 4; ++i) {
        put(Design(K::PictureButton, "Command1", i, {10920, 120 + 780 * i, 795, 675})
                .tip(tips[i])
                .font(ButtonFont));
    }

    // Phase zone: a column per phase, each field under its caption.
    put(label("Label10", 0, {600, 2880, 1335, 195}, "INITIAL TIME").align(A::Centre));
    put(number("Text4", 0, {720, 3180, 1095, 255}));
    put(label("Label11", 0, {600, 3840, 1515, 195}, "INITIAL SPEED").align(A::Centre));
    put(label("Label11", 2, {600, 4140, 1515, 255}, "REVOLUTIONS").align(A::Centre));
    put(output("Label12", 0, {720, 4380, 1095, 255}, A::Centre));
    put(label("Label10", 1, {660, 4980, 1395, 195}, "INITIAL SPEED").align(A::Centre));
    put(number("Text4", 1, {720, 5280, 1095, 255}));
    put(label("Label10", 2, {3300, 2880, 1515, 195}, "FREERUN TIME").align(A::Centre));
    put(number("Text4", 2, {3480, 3180, 1095, 255}));
    put(label("Label11", 1, {3120, 3840, 1815, 255}, "FREERUN SPEED").align(A::Centre));
    put(label("Label11", 3, {3240, 4140, 1575, 255}, "REVOLUTIONS").align(A::Centre));
    put(output("Label12", 1, {3480, 4380, 1095, 255}, A::Centre));
    put(label("Label10", 3, {3240, 4980, 1695, 195}, "FREERUN SPEED").align(A::Centre));
    put(number("Text4", 3, {3480, 5280, 1095, 255}));
    put(label("Label10", 4, {6180, 2880, 1815, 195}, "TIGHTENING TIME").align(A::Centre));
    put(number("Text4", 4, {6540, 3180, 1095, 255}));
    put(label("Label10", 5, {6120, 4080, 2175, 195}, "TIGHTENING ANGLE").align(A::Centre));
    put(number("Text4", 5, {6540, 4380, 1095, 255}));
    put(label("Label10", 7, {6180, 5040, 1935, 195}, "TORQUE SPEED").align(A::Centre));
    put(number("Text4", 6, {6540, 5280, 1095, 255}).fore(Colour::system(18)));
    put(label("Label10", 8, {8520, 2880, 2115, 195}, "COMMUNICATION TIME").align(A::Centre));
    put(number("Text4", 7, {9000, 3180, 1095, 255}));
    put(label("Label22", -1, {9180, 4980, 1395, 195}, "RETURN SPEED").align(A::Centre));
    put(number("Text4", 11, {9300, 5340, 1095, 255}).fore(Colour::system(18)));
    Design files(K::FileList, "File1", -1, {6420, 3540, 1455, 225});
    files.d.pattern = QStringLiteral("*.txt");
    put(files.hidden());

    // Speed-profile schematic behind the phase zone: speed upwards over time to the right.
    put(line("Line", 0, {300, 2700, 300, 5940}, 3));
    put(line("Line", 1, {120, 5820, 11700, 5820}, 3));
    put(line("Line", 2, {300, 5820, 660, 4860}, 2));
    put(line("Line", 3, {660, 4860, 2040, 4860}, 3));
    put(line("Line", 4, {2040, 4860, 2520, 3780}, 2));
    put(line("Line", 5, {5460, 3780, 2520, 3780}, 3));
    put(line("Line", 6, {5460, 3780, 6120, 4860}, 2));
    put(line("Line", 7, {6120, 4860, 7860, 4860}, 3));
    put(line("Line", 8, {7860, 5820, 7860, 4860}, 3));
    put(line("Line3", -1, {8100, 5820, 8880, 4080}, 3));
    put(line("Line4", -1, {8880, 4080, 10860, 4080}, 3));
    put(line("Line5", -1, {10860, 4080, 11460, 5820}, 3));

    // Duty-cycle section, below the visible area in the short layout.
    put(line("Line1", -1, {0, 6000, 10860, 6000}, 1).fore(Colour::system(12)).hidden());
    put(line("Line2", -1, {0, 6015, 10860, 6015}, 1).fore(Colour::system(9)).hidden());
    put(label("Label10", 11, {60, 6120, 2355, 195}, "DUTY CYCLE CALCULATION"));
    put(Design(K::DropDownList, "DURR", -1, {2460, 6060, 675, 345}));
    put(label("Label14", -1, {3180, 6120, 795, 255}, "MINUTES"));
    put(label("Label10", 9, {5100, 6120, 1875, 195}, "STATION CYCLE TIME"));
    put(number("Text4", 8, {7020, 6075, 855, 330}).hidden());
    put(label("Label10", 10, {7980, 6120, 1815, 195}, "FASTENING TORQUE"));
    put(number("Text4", 9, {9840, 6060, 855, 300}).hidden());
    put(Design(K::DropDownList, "TQUNIT", -1, {10740, 6060, 1035, 345}));
    put(Design(K::CheckBox, "PREVILING", -1, {120, 6420, 3495, 255}, "WITH PREVILING TORQUE"));
    put(label("Label10", 12, {7560, 6420, 2235, 195}, "TORQUE RECOVERY TIME"));
    put(number("Text4", 10, {9840, 6420, 855, 300}));
    put(label("Label15", -1, {10800, 6420, 975, 255}, "SECONDS"));
    put(Design(K::PictureBox, "Picture2", -1, {60, 6720, 11715, 3375}).back(Colour::system(5)));

    // Never shown: the report logo and the printer dialog.
    put(Design(K::PictureBox, "Picture1", -1, {7440, 7920, 4125, 1560})
            .hidden()
            .font(ButtonFont)
            .back(FieldColour));
    put(Design(K::CommonDialog, "Dialog", -1, {}).hidden());

    // The focus order, hidden and disabled controls being skipped when it is followed.
    const std::pair<const char*, int> order[] = {
        {"TOOLLIST", -1}, {"Text1", -1},     {"Text2", -1},   {"Text3", -1},    {"Option1", 0},
        {"Option1", 1},   {"Text4", 0},      {"Text4", 1},    {"Text4", 2},     {"Text4", 3},
        {"Text4", 4},     {"Text4", 5},      {"Text4", 6},    {"Text4", 7},     {"Text5", -1},
        {"Command1", 0},  {"Command1", 1},   {"Command1", 2}, {"Picture1", -1}, {"Picture2", -1},
        {"Command1", 3},  {"Text4", 8},      {"Text4", 9},    {"TQUNIT", -1},   {"DURR", -1},
        {"PRNTEST", -1},  {"PREVILING", -1}, {"File1", -1},   {"Text4", 10},    {"SYSTEM", -1},
        {"Text6", -1},    {"Text8", -1},     {"Text4", 11},   {"ANGLE", -1}};
    std::vector<Control*> tabOrder;
    for (const auto& [name, index] : order)
        tabOrder.push_back(&named(QString::fromLatin1(name), index));
    setTabOrder(std::move(tabOrder));
}

Control& Form1Layout::named(QStringView name, int index) const {
    Control* c = find(name.toString(), index);
    if (!c)
        throw std::logic_error("main window has no control " + name.toString().toStdString());
    return *c;
}

Form1::Form1() = default;

int Form1::text4Index(const Control& control) const {
    for (int i = 0; i < int(m_text4.size()); ++i) {
        if (m_text4[i] == &control)
            return i;
    }
    return -1;
}

} // namespace veldrune
