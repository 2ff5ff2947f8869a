#include "station/output.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

TEST(StationsCsv, CellsASpreadsheetWouldRunAsFormulasShowAsTextAndNumbersStayNumbers) {
    StationReport r;
    r.boltLength = u"@SUM(A1)"_s;
    r.boltPitch = u"\tx"_s;
    r.revolutions = u"=1+1"_s;
    r.totalTime = u"-3.00"_s;
    r.communicationTime = u"+2.5e3"_s;
    r.messages = {u"-x"_s};
    const std::string csv = StationsCsv({u"=c0.json"_s}, {r});
    for (const char* cell :
         {"\n'=c0.json,", ",'@SUM(A1),", ",'\tx,", ",'=1+1,", ",-3.00,", ",+2.5e3,", ",'-x"})
        EXPECT_NE(csv.find(cell), std::string::npos) << cell << " in " << csv;
}

} // namespace
} // namespace veldrune
