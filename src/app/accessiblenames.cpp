#include "app/accessiblenames.h"

#include "window/form1.h"

namespace veldrune {

namespace {

// A caption's text; the built-in wording where a caption file left it empty, so that a
// control is never without a name.
QString captionText(const Control& caption) {
    const QString text = caption.text().trimmed();
    return text.isEmpty() ? caption.design().text : text;
}

QString joined(const Control& caption, const Control& value) {
    return (captionText(caption) + u' ' + value.text().trimmed()).trimmed();
}

// The caption that names a field of the phase diagram or the duty-cycle section, by the
// field's index.
const Control& phaseCaption(const Form1& f, int index) {
    switch (index) {
    case 6:
        return f.Label10(7); // TORQUE SPEED
    case 7:
        return f.Label10(8); // COMMUNICATION TIME
    case 8:
        return f.Label10(9); // STATION CYCLE TIME
    case 9:
        return f.Label10(10); // FASTENING TORQUE
    case 10:
        return f.Label10(12); // TORQUE RECOVERY TIME
    case 11:
        return f.Label22; // RETURN SPEED
    default:
        return f.Label10(index); // INITIAL TIME to TIGHTENING ANGLE
    }
}

} // namespace

const Control* CaptionOf(const Form1& f, const Control& c) {
    if (const int field = f.text4Index(c); field >= 0)
        return &phaseCaption(f, field);
    const std::pair<const Control*, const Control*> captions[] = {
        {&f.Text5, &f.Label13},       {&f.TOOLLIST, &f.Label1},  {&f.Text1, &f.Option1(0)},
        {&f.Text2, &f.Label8},        {&f.Text3, &f.Option1(1)}, {&f.Text6, &f.Label16},
        {&f.Text8, &f.Label20},       {&f.DURR, &f.Label10(11)}, {&f.TQUNIT, &f.Label10(10)},
        {&f.Picture2, &f.Label10(11)}};
    for (const auto& [field, caption] : captions) {
        if (&c == field)
            return caption;
    }
    return nullptr;
}

QString AccessibleName(const Form1& f, const Control& c) {
    if (const Control* caption = CaptionOf(f, c))
        return captionText(*caption);
    if (&c == &f.SYSTEM)
        return QStringLiteral("SYSTEM");
    if (&c == &f.ANGLE)
        return QStringLiteral("ANGLE HEAD");
    const std::pair<const Control*, const Control*> results[] = {{&f.TOTAL, &f.Label10(6)},
                                                                 {&f.Label3(0), &f.Label2(0)},
                                                                 {&f.Label3(1), &f.Label2(1)},
                                                                 {&f.Label17, &f.Frame4}};
    for (const auto& [result, caption] : results) {
        if (&c == result)
            return joined(*caption, c);
    }
    for (int i = 0; i < 2; ++i) { // INITIAL SPEED REVOLUTIONS, FREERUN SPEED REVOLUTIONS
        if (&c == &f.Label12(i))
            return captionText(f.Label11(i)) + u' ' + joined(f.Label11(i + 2), c);
    }
    for (int u = 0; u < 5; ++u) {
        if (&c == &f.Label4(u))
            return joined(f.Frame1, c) + u' ' + captionText(f.Label5(u));
    }
    if (c.kind() == ControlKind::PictureButton)
        return c.toolTip();
    // A caption a caption file left blank still names what it labels.
    for (const auto& other : f.controls()) {
        if (CaptionOf(f, *other) == &c)
            return captionText(c);
    }
    return c.text().trimmed();
}

} // namespace veldrune
