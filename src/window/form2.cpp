#include "window/form2.h"

namespace veldrune {

namespace {

const FontSpec Arial9{QStringLiteral("Arial"), 9.0, false, false};

ControlDesign picture() {
    ControlDesign d;
    d.kind = ControlKind::PictureBox;
    d.name = QStringLiteral("Picture1");
    d.place = {0, 0, 7155, 6675};
    d.font = Arial9;
    d.back = Colour::system(5);
    return d;
}

ControlDesign fontDummy() {
    ControlDesign d;
    d.kind = ControlKind::Caption;
    d.name = QStringLiteral("FONTDUMMY");
    d.text = QStringLiteral("Label1");
    d.visible = false;
    d.autoSize = true;
    d.font = Arial9;
    return d;
}

} // namespace

Form2::Form2()
    : Picture1(add(picture()))
    , FONTDUMMY(add(fontDummy())) {
    setCaption(QStringLiteral("Form2"));
    setLaidOutFrame(120, 405);
    setSize(7215 + 120, 6735 + 405);
}

double Form2::measure(const FontSpec& font, const QString& text) {
    FONTDUMMY.setFont(font);
    FONTDUMMY.setText(text);
    return FONTDUMMY.captionWidth();
}

} // namespace veldrune
