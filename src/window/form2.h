#pragma once

#include "window/windowmodel.h"

namespace veldrune {

// The preview window: a canvas on which PRINT TEST draws the report at half size, and a
// label never shown that measures texts for the report's centring and right alignment.
class Form2 : public WindowModel {
public:
    Form2();

    Control& Picture1;
    Control& FONTDUMMY;

    // Loaded on first use, and again after the user closed it.
    bool loaded() const { return m_loaded; }
    void setLoaded(bool loaded) { m_loaded = loaded; }

    // The width in twips of a text in a font, as FONTDUMMY sizes itself to its caption.
    double measure(const FontSpec& font, const QString& text);

private:
    bool m_loaded = false;
};

} // namespace veldrune
