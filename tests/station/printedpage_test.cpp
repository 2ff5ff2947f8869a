// The report's page as PRINT OUT prints it and as `--report` writes it.

#include "station/apply.h"
#include "station/runner.h"

#include "support/qtprinters.h"
#include "support/recordingpage.h"
#include "support/station.h"

#include <QPdfWriter>
#include <QPrinter>

#include <gtest/gtest.h>

#include <set>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// The window's printer prints at 1200 dots per inch, the PDF file is written at 600: the same
// page all the same, texts, lines (the chart's curves through the same points) and their widths.
TEST(PrintedPage, PrintOutAndTheReportFileDrawTheSame) {
    test::StartedProgram s; // on the catalogue shipped with the program
    const auto station = ReadStation(test::TestData(u"stations/duty-cycle.json"_s));
    ASSERT_FALSE(ApplyStation(*s.program, std::get<Station>(station)));
    test::PageRecorder printed, written;
    s.platform.printer = [&] {
        auto printer =
            std::make_unique<test::Recorded<QPrinter>>(printed, QPrinter::HighResolution);
        printer->setFullPage(true);
        return printer;
    };
    s.form().click(s.form().Command1(1));
    test::Recorded<QPdfWriter> pdf(written, u"unwritten.pdf"_s);
    EXPECT_EQ(WriteReport(*s.program, pdf), QString());

    EXPECT_GT(printed.lines.size(), 100u);
    EXPECT_TRUE(printed.texts == written.texts);
    EXPECT_TRUE(printed.lines == written.lines && printed.images == written.images);
    EXPECT_EQ(std::set(printed.widths.begin(), printed.widths.end()),
              std::set(written.widths.begin(), written.widths.end()));
    EXPECT_TRUE(printed.widths == written.widths);
}

} // namespace
} // namespace veldrune
