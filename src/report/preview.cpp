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
    form2.setLoaded(true);
}

void DrawPreview(Form2& form2, const ReportContext& context) {
    form2.Picture1.clearPicture();
    PictureSurface canvas(form2.Picture1);
    if (!canvas.painter())
        return;
    // The canvas counts twice its size: page twips come out at half size.
    canvas.painter()->scale(0.5, 0.5);
    // The report prints in Arial, whatever face the canvas has.
    FontSpec font = form2.Picture1.font();
    font.face = QStringLiteral("Arial");
    ReportSurface surface(*canvas.painter(), 0.5, font);
    PrintReport(surface, context);
}

} // namespace veldrune
