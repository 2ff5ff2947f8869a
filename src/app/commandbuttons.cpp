#include "app/commandbuttons.h"

#include "app/startup.h"
#include "app/veldrune.h"
#include "calc/loadchart.h"
#include "platform/platform.h"
#include "report/printreport.h"
#include "window/form1.h"

#include <QPagedPaintDevice>

namespace veldrune {

namespace {

// Switches between the short and the tall layout, deciding by the height alone. The tall one
// never opens on a chart drawn for other inputs: one out of date is drawn again.
void LoadCalculation(Veldrune& program) {
    Form1& form = program.form();
    const bool tall = form.height() == CompactHeight;
    for (Control* c : {&form.Text4(8), &form.Text4(9), &form.Line1, &form.Line2})
        c->setVisible(tall);
    form.setHeight(tall ? TallHeight : CompactHeight);
    program.flags().LoadSectionShown = tall;
    CentreForm(form, program.platform().screenSize());
    if (tall && ChartOutOfDate(form, program.chart()))
        RedrawLoadChart(form, program.catalogue(), program.platform(), program.chart());
}

// The printer dialog, then the report as one page, as a job named after the program and the
// station's description. A cancelled dialog prints nothing. What the print system tells of
// trouble is told: before the page, and the page is not printed; after it, as a warning that
// it may not come out. A page the printer, the print system or the file refuses is told, with
// the cause.
void PrintOut(Veldrune& program) {
    Platform& platform = program.platform();
    const QString description = program.form().Text5.text().trimmed();
    const auto printer =
        platform.choosePrinter(description.isEmpty() ? QStringLiteral("VELDRUNE")
                                                     : QStringLiteral("VELDRUNE - ") + description);
    if (!printer)
        return;
    const auto tell = [&](const QString& text) {
        platform.showMessage(text, MessageIcon::Critical, ProgramTitle);
    };
    if (const QString trouble = platform.printerTrouble(*printer); !trouble.isEmpty())
        return tell(QStringLiteral("THE REPORT WAS NOT PRINTED: ") + trouble.toUpper());
    if (const QString failure = PrintPage(*printer, program.reportContext(false));
        !failure.isEmpty())
        return tell(QStringLiteral("THE REPORT WAS NOT PRINTED: ") + failure.toUpper());
    if (const QString refusal = platform.printRefusal(*printer); !refusal.isEmpty())
        return tell(QStringLiteral("THE REPORT WAS NOT PRINTED: ") + refusal.toUpper());
    if (const QString trouble = platform.printerTrouble(*printer); !trouble.isEmpty())
        tell(QStringLiteral("THE REPORT MAY NOT HAVE BEEN PRINTED: ") + trouble.toUpper());
}

} // namespace

QString AboutText() {
    return QStringLiteral("Version") + QLatin1Char(' ') + QString::number(VersionMajor) +
           QLatin1Char('.') + QString::number(VersionMinor) + QString::number(VersionRevision) +
           QLatin1Char('\r') + QStringLiteral("QEL Fastening Planning Tools");
}

void Command1Click(int Index, Veldrune& program) {
    Form1& form = program.form();
    try {
        switch (Index) {
        case 0:
            if (program.flags().LoadSectionShown)
                RedrawLoadChart(form, program.catalogue(), program.platform(), program.chart());
            break;
        case 1:
            PrintOut(program);
            break;
        case 2:
            program.platform().showMessage(AboutText(), MessageIcon::Information, ProgramTitle);
            break;
        case 3:
            LoadCalculation(program);
            break;
        default:
            break;
        }
    } catch (...) {
        // A failing action ends quietly; the epilogue still runs.
    }
    ButtonEpilogue(form);
}

void ButtonEpilogue(Form1& form) {
    for (int i = 0; i < 3; ++i)
        form.Command1(i).setVisible(true);
    form.setPointer(MousePointer::Normal);
}

} // namespace veldrune
