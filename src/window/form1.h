#pragma once

#include "window/windowmodel.h"

#include <array>

namespace veldrune {

// Heights of the main window's two layouts, outer frame, in twips.
inline constexpr double CompactHeight = 6500;
inline constexpr double TallHeight = 10755;
// The client area as laid out, and what the frame adds around it.
inline constexpr int ClientWidth = 11880;
inline constexpr int ClientHeight = 10245;
inline constexpr int FrameWidthExtra = 120;
inline constexpr int FrameHeightExtra = TallHeight - ClientHeight;

// The colour of an entry field that takes input, and of a bolt field that is switched off.
inline const Colour FieldColour = Colour::system(14);
inline const Colour GreyColour = Colour::rgb(0xE0E0E0);

// The main window's controls as laid out; built before Form1 binds its names to them.
class Form1Layout : public WindowModel {
protected:
    Form1Layout();
    Control& named(QStringView name, int index = -1) const;
    template <std::size_t N> std::array<Control*, N> array(QStringView name) const {
        std::array<Control*, N> controls{};
        for (std::size_t i = 0; i < N; ++i)
            controls[i] = &named(name, int(i));
        return controls;
    }
};

// The main window: every control as laid out, reachable by name and index. Its controls are
// the program's working storage; the subsystems read and write them through these accessors.
class Form1 : public Form1Layout {
public:
    Form1();

    Control& Label13{named(u"Label13")};
    Control& Text5{named(u"Text5")};
    Control& SYSTEM{named(u"SYSTEM")};
    Control& Label1{named(u"Label1")};
    Control& TOOLLIST{named(u"TOOLLIST")};
    Control& ANGLE{named(u"ANGLE")};
    Control& Frame1{named(u"Frame1")};
    Control& Frame2{named(u"Frame2")};
    Control& Text1{named(u"Text1")};
    Control& Label7{named(u"Label7")};
    Control& Label8{named(u"Label8")};
    Control& Text2{named(u"Text2")};
    Control& Label9{named(u"Label9")};
    Control& Text3{named(u"Text3")};
    Control& Label6{named(u"Label6")};
    Control& Frame3{named(u"Frame3")};
    Control& Label16{named(u"Label16")};
    Control& Text6{named(u"Text6")};
    Control& Label18{named(u"Label18")};
    Control& Label20{named(u"Label20")};
    Control& Text8{named(u"Text8")};
    Control& Label21{named(u"Label21")};
    Control& Frame4{named(u"Frame4")};
    Control& Label17{named(u"Label17")};
    Control& TOTAL{named(u"TOTAL")};
    Control& PRNTEST{named(u"PRNTEST")};
    Control& Label22{named(u"Label22")};
    Control& File1{named(u"File1")};
    Control& Line1{named(u"Line1")};
    Control& Line2{named(u"Line2")};
    Control& Line3{named(u"Line3")};
    Control& Line4{named(u"Line4")};
    Control& Line5{named(u"Line5")};
    Control& DURR{named(u"DURR")};
    Control& Label14{named(u"Label14")};
    Control& TQUNIT{named(u"TQUNIT")};
    Control& PREVILING{named(u"PREVILING")};
    Control& Label15{named(u"Label15")};
    Control& Picture2{named(u"Picture2")};
    Control& Picture1{named(u"Picture1")};
    Control& Dialog{named(u"Dialog")};

    Control& Label2(int i) const { return *m_label2.at(i); }
    Control& Label3(int i) const { return *m_label3.at(i); }
    Control& Label4(int u) const { return *m_label4.at(u); }
    Control& Label5(int u) const { return *m_label5.at(u); }
    Control& Option1(int i) const { return *m_option1.at(i); }
    Control& Label10(int i) const { return *m_label10.at(i); }
    Control& Label11(int i) const { return *m_label11.at(i); }
    Control& Label12(int i) const { return *m_label12.at(i); }
    Control& Text4(int i) const { return *m_text4.at(i); }
    Control& Command1(int i) const { return *m_command1.at(i); }
    Control& Line(int i) const { return *m_line.at(i); }

    // The Text4 index of a control, or -1 when it is not one of them.
    int text4Index(const Control& control) const;

private:
    std::array<Control*, 2> m_label2 = array<2>(u"Label2");
    std::array<Control*, 2> m_label3 = array<2>(u"Label3");
    std::array<Control*, 5> m_label4 = array<5>(u"Label4");
    std::array<Control*, 5> m_label5 = array<5>(u"Label5");
    std::array<Control*, 2> m_option1 = array<2>(u"Option1");
    std::array<Control*, 13> m_label10 = array<13>(u"Label10");
    std::array<Control*, 4> m_label11 = array<4>(u"Label11");
    std::array<Control*, 2> m_label12 = array<2>(u"Label12");
    std::array<Control*, 12> m_text4 = array<12>(u"Text4");
    std::array<Control*, 4> m_command1 = array<4>(u"Command1");
    std::array<Control*, 9> m_line = array<9>(u"Line");
};

} // namespace veldrune
