#pragma once

#include "window/control.h"

#include <QImage>
#include <QPen>
#include <QString>

#include <functional>

class QPainter;
class QPagedPaintDevice;

namespace veldrune {

struct Catalogue;
class Form1;
class Form2;
class Platform;
struct ProgramFlags;

// A surface the report draws on, as the report sees it: a painter working in twips of the
// page, the current position, and the current font, whose size is in points. The same
// numbers give a full page on paper and a half-size one on the preview canvas.
class ReportSurface {
public:
    // Paper: a printer's page or a PDF file's, whatever its resolution. Screen: the preview.
    enum class Medium { Paper, Screen };

    // `twipsPerUnit`: how many real twips one unit of the painter stands for; 1 on paper,
    // 0.5 on the preview. Fonts keep their point size whatever the scale.
    ReportSurface(QPainter& painter, double twipsPerUnit, const FontSpec& font, Medium medium);

    QPainter& painter() { return m_painter; }
    double CurrentX = 0;
    double CurrentY = 0;
    const FontSpec& font() const { return m_font; }
    void setFontSize(double points);
    void setFontBold(bool bold);
    // Line width in pixels: on paper those of a 600 dots-per-inch page, on a screen its own.
    void setDrawWidth(int pixels) { m_drawWidth = pixels; }
    // What a pixel of line width measures in the painter's units; 0 where it is the device's
    // own pixel, which is then the width of a cosmetic pen.
    double lineTwips() const;

    // Prints with the text's top-left corner at the current position, then moves to the
    // start of the next line.
    void print(const QString& text);
    void printAt(double x, double y, const QString& text);
    // As print, and on paper the text keeps between `left` and `right` of its line (see
    // fitted), moved in between them where it would start outside. The next line is where it
    // would be for the text in its own size.
    void printWithin(const QString& text, double left, double right);
    void printAt(double x, double y, const QString& text, double right);
    // The text's width in the current font, in the painter's units.
    double width(const QString& text) const;
    // Sets the font smaller, down to MinPoints, where the text is wider than `room`, and returns
    // the text as it then fits, cut with an ellipsis where it still does not.
    QString fitted(const QString& text, double room);
    static constexpr double MinPoints = 6;

    void line(double x1, double y1, double x2, double y2);
    void box(double x1, double y1, double x2, double y2);
    void paintPicture(const QImage& picture, double x, double y, double width, double height);
    // Gives the painter the surface's font, as drawing done by others on it uses it.
    void applyFont();

private:
    QPen pen(Qt::PenCapStyle cap, Qt::PenJoinStyle join) const;

    QPainter& m_painter;
    double m_twipsPerUnit;
    FontSpec m_font;
    Medium m_medium;
    int m_drawWidth = 1;
};

// What the report needs beyond the main window: the tables for the chart, the system for
// the date and the chart's clock, the preview window to measure texts with, and the logo.
struct ReportContext {
    Form1& form;
    const ProgramFlags& flags;
    bool PrintTest; // drawing into the preview
    const Catalogue& catalogue;
    Platform& platform;
    // Measures a text in a font, in twips, as FONTDUMMY of the preview window does.
    std::function<double(const FontSpec&, const QString&)> measure;
    QImage logo;
};

// Prints the text, trimmed, centred on (xLeft + xRight) / 2 at the surface's current y, within
// `left` to `right` as printWithin keeps it.
void PrintCentered(ReportSurface& surface, const ReportContext& context, const QString& text,
                   std::int16_t xLeft, std::int16_t xRight, double left, double right);
// Prints the text, trimmed, ending near xRight: it starts 0.72 of its width before it; within
// `left` to `right` as printWithin keeps it.
void PrintRightAligned(ReportSurface& surface, const ReportContext& context, const QString& text,
                       std::int16_t xRight, double left, double right);

// Draws the one-page report of the window's current texts onto the surface.
void PrintReport(ReportSurface& surface, const ReportContext& context);

// The report on a page of a printer or a PDF file: the painter set up in twips of the page,
// the font Arial, bold, 10 points. Returns why the page could not be printed, or nothing.
QString PrintPage(QPagedPaintDevice& device, const ReportContext& context);

// Draws the report on the page a painter of a printer or a PDF file is at, as PrintPage prints
// it: the painter set up in twips of the page, the font Arial, bold, 10 points. The drawing in
// twips is the same at any resolution of the device, the widths of its lines too.
void DrawPage(QPainter& painter, const ReportContext& context);

// The logo the report prints, 271 x 100 pixels.
QImage ReportLogo();

} // namespace veldrune
