#include "report/preview.h"

#include "platform/platform.h"
#include "report/languagefont.h"
#include "report/printreport.h"
#include "window/form2.h"

#include <QPainter>

namespace veldrune {

void LoadPreview(Form2& form2, Platform& platform, LanguageFont& languageFont) {
    const QSizeF page = platform.printerPageSize();
    form2.Picture1.setSize(int(page.width()), int(page.height()));
    // The window follows its canvas: half its size, in each direction.
    form2.setSize(page.width() / 2, page.height() / 2);
    FontSpec font = form2.Picture1.font();
    font.points = PrinterFontSize;
    form2.Picture1.setFont(font);
    ApplyLanguageFont(form2, languageFont, platform.userLocale());
    // A language face the font system lacks prints in Arial (or its stand-in, Liberation
    // Sans), whose widths the report's fixed positions were laid out for; the script's own
    // glyphs still come from whatever face has them.
    font = form2.Picture1.font();
    if (QString face = font.face; !FontExists(face)) {
        font.face = QStringLiteral("Arial");
        form2.Picture1.setFont(font);
    }
    form2.setLoaded(true);
}

void DrawPreview(Form2& form2, const ReportContext& context) {
    form2.Picture1.clearPicture();
    PictureSurface canvas(form2.Picture1);
    if (!canvas.painter())
        return;
    // The canvas counts twice its size: page twips come out at half size.
    canvas.painter()->scale(0.5, 0.5);
    // The report prints and measures in the canvas's font, the language font.
    ReportSurface surface(*canvas.painter(), 0.5, form2.Picture1.font(),
                          ReportSurface::Medium::Screen);
    PrintReport(surface, context);
}

} // namespace veldrune
