#include "report/printreport.h"

#include "report/languagefont.h"
#include "report/preview.h"
#include "window/form1.h"
#include "window/form2.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QSet>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

struct DrawnText {
    QString text;
    QPointF topLeft;
    int pixelSize;
    bool bold;
};

// A page that keeps what is drawn on it instead of showing it: texts with their top-left
// corners, and how many lines and images, all in page twips.
class RecordingPage : public QPaintDevice {
public:
    RecordingPage()
        : m_engine(*this) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }

    std::vector<DrawnText> texts;
    std::vector<QLineF> lines;
    int images = 0;

    // The text drawn exactly so; fails the test if there is none.
    DrawnText text(const QString& wanted) const {
        for (const DrawnText& t : texts) {
            if (t.text == wanted)
                return t;
        }
        ADD_FAILURE() << "not printed: " << wanted.toStdString();
        return {};
    }
    bool printed(const QString& part) const {
        return std::any_of(texts.begin(), texts.end(),
                           [&](const DrawnText& t) { return t.text.contains(part); });
    }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return 11906;
        case PdmHeight:
            return 16838;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 1440;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 1;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(RecordingPage& page)
            : QPaintEngine(AllFeatures)
            , m_page(page) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        Type type() const override { return User; }
        void updateState(const QPaintEngineState& state) override {
            if (state.state() & DirtyTransform)
                m_transform = state.transform();
        }
        void drawTextItem(const QPointF& baseline, const QTextItem& item) override {
            const QFont font = item.font();
            const QPointF top(baseline.x(), baseline.y() - QFontMetricsF(font).ascent());
            m_page.texts.push_back(
                {item.text(), m_transform.map(top), font.pixelSize(), font.bold()});
        }
        void drawLines(const QLineF* lines, int count) override {
            for (int i = 0; i < count; ++i)
                m_page.lines.push_back(m_transform.map(lines[i]));
        }
        void drawRects(const QRectF* rects, int count) override {
            for (int i = 0; i < count; ++i) {
                const QPolygonF corners = m_transform.map(QPolygonF(rects[i]));
                for (int c = 0; c < 4; ++c)
                    m_page.lines.emplace_back(corners[c], corners[c + 1]);
            }
        }
        void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
            for (int i = 1; i < count; ++i)
                m_page.lines.push_back(m_transform.map(QLineF(points[i - 1], points[i])));
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++m_page.images; }
        void drawImage(const QRectF&, const QImage&, const QRectF&,
                       Qt::ImageConversionFlags) override {
            ++m_page.images;
        }

    private:
        RecordingPage& m_page;
        QTransform m_transform;
    };
    mutable Engine m_engine;
};

constexpr int PointTwips = 20;

class Report : public ::testing::Test {
protected:
    Report() {
        Form1& f = s.form();
        EXPECT_TRUE(s.pick(f.TOOLLIST, u"KRV-220QT2-A"_s));
        TypeAndLeave(f, f.Text5, u"LINE 4 WHEEL NUTS"_s);
        TypeAndLeave(f, f.Text1, u"30"_s);
    }

    // Prints the report as PRINT OUT does, every text measured as 1000 twips wide.
    std::unique_ptr<RecordingPage> print() {
        auto page = std::make_unique<RecordingPage>();
        QPainter painter(page.get());
        ReportContext context = s.program->reportContext(false);
        context.measure = [](const FontSpec&, const QString&) { return 1000.0; };
        ReportSurface surface(painter, 1.0, FontSpec{u"Arial"_s, 10, true, false});
        PrintReport(surface, context);
        return page;
    }

    void tall(const QString& recovery, bool prevailing) {
        Form1& f = s.form();
        f.click(f.Command1(3));
        TypeAndLeave(f, f.Text4(8), u"30"_s);
        TypeAndLeave(f, f.Text4(9), u"20"_s);
        TypeAndLeave(f, f.Text4(10), recovery);
        f.PREVILING.setValue(prevailing);
    }

    test::StartedProgram s{{{u"KRV-220QT2-A"_s, u"29.4"_s, 1600, 48}}};
};

#define EXPECT_AT(drawn, X, Y)                                                                     \
    do {                                                                                           \
        const DrawnText t_ = (drawn);                                                              \
        EXPECT_NEAR(t_.topLeft.x(), (X), 1) << t_.text.toStdString();                              \
        EXPECT_NEAR(t_.topLeft.y(), (Y), 1) << t_.text.toStdString();                              \
    } while (false)

TEST_F(Report, ShortLayoutPrintsRowsPhaseBlockAndTotalAtTheirPlacesAndSizes) {
    const auto page = print();
    const Form1& f = s.form();

    const DrawnText header =
        page->text(u"VELDRUNE VERSION 1.00    DATE 12-06-2026  TIME 14:30:05"_s);
    EXPECT_AT(header, 5000, 500);
    EXPECT_EQ(header.pixelSize, 10 * PointTwips);
    EXPECT_TRUE(header.bold);
    const DrawnText title = page->text(u"FASTENING CYCLE TIME CALCULATION"_s);
    EXPECT_AT(title, 4200, 1250);
    EXPECT_EQ(title.pixelSize, 16 * PointTwips);
    EXPECT_EQ(page->images, 1); // the logo

    // Rows 500 twips apart, in 12 points, not bold.
    const DrawnText description = page->text(u"LINE 4 WHEEL NUTS"_s);
    EXPECT_AT(description, 3000, 2100);
    EXPECT_EQ(description.pixelSize, 12 * PointTwips);
    EXPECT_FALSE(description.bold);
    EXPECT_AT(page->text(u"TOOL TYPE"_s), 1000, 2600);
    EXPECT_AT(page->text(u"KRV-220QT2-A        "_s), 3000, 2600); // as the list holds it
    EXPECT_AT(page->text(u"MAXIMUM SPEED"_s), 1000, 3100);
    EXPECT_AT(page->text(u"1600 RPM"_s), 5000 - 720, 3100); // right-aligned: 0.72 of the width
    const DrawnText newtonMetres = page->text(f.Label4(0).text());
    EXPECT_AT(newtonMetres, 3300, 4100);
    EXPECT_EQ(newtonMetres.pixelSize, 10 * PointTwips);
    EXPECT_AT(page->text(u"BOLT LENGTH"_s), 1000, 4600);
    EXPECT_AT(page->text(u"30.00"_s), 4800, 4600);
    EXPECT_AT(page->text(u"NUMBER OF REVOLUTIONS"_s), 1000, 5100);

    // The phase block at its full height.
    EXPECT_AT(page->text(u"INITIAL TIME"_s), 2000, 6200);
    EXPECT_AT(page->text(u"0.31"_s), 8200 - 720, 6600); // the tightening time
    EXPECT_AT(page->text(u"TORQUE SPEED"_s), 7200, 9500);
    EXPECT_AT(page->text(u"COMMUNICATION TIME"_s), 1000, 11150);

    // The total, in its box: 48 points, centred on 10750.
    const DrawnText label = page->text(u"ESTIMATED TOTAL TIME"_s);
    EXPECT_AT(label, 1000, 13100);
    EXPECT_EQ(label.pixelSize, 28 * PointTwips);
    const DrawnText total = page->text(f.TOTAL.text().trimmed());
    EXPECT_AT(total, 10750 - 500, 12850);
    EXPECT_EQ(total.pixelSize, 48 * PointTwips);
    for (const QLineF& side : {QLineF(8000, 13800, 8000, 12850), QLineF(8000, 12850, 11000, 12850)})
        EXPECT_NE(std::find(page->lines.begin(), page->lines.end(), side), page->lines.end());

    EXPECT_FALSE(page->printed(u"DUTY CYCLE"_s));
    EXPECT_FALSE(page->printed(u"TORQUE RECOVERY"_s));
}

TEST_F(Report, TallLayoutCompressesThePhaseBlockAndAddsTheDutyCycleAndItsChart) {
    const std::size_t shortLines = print()->lines.size();
    tall(u"2.5"_s, true);
    const auto page = print();

    EXPECT_AT(page->text(u"TOOL TYPE"_s), 1000, 2400); // rows 300 twips apart
    EXPECT_AT(page->text(u"NUMBER OF REVOLUTIONS"_s), 1000, 3900);
    EXPECT_AT(page->text(u"INITIAL TIME"_s), 2000, 4836); // 6200 x 0.78
    EXPECT_AT(page->text(u"COMMUNICATION TIME"_s), 1000, 8697);
    EXPECT_AT(page->text(u"ESTIMATED TOTAL TIME"_s), 1000, 13100); // the total stays put

    EXPECT_AT(page->text(u"DUTY CYCLE CALCULATION  4  MINUTES"_s), 1000, 9000);
    EXPECT_AT(
        page->text(u"STATION CYCLE TIME  30.00  FASTENING TORQUE  20.00  WITH PREVILING TORQUE"_s),
        1000, 9250);
    EXPECT_AT(page->text(u"WITH 2.50 SECONDS OF TORQUE RECOVERY."_s), 5500, 9500);
    // The chart: hundreds of segments beyond the frame, sketch and box of the short page->
    EXPECT_GT(page->lines.size(), shortLines + 100);
}

TEST_F(Report, RecoverySentenceOnlyWithARecoveryTime) {
    tall(u"0"_s, false);
    const auto page = print();
    EXPECT_TRUE(page->printed(u"STATION CYCLE TIME  30.00  FASTENING TORQUE  20.00"_s));
    EXPECT_FALSE(page->printed(u"PREVILING"_s));
    EXPECT_FALSE(page->printed(u"TORQUE RECOVERY"_s));
}

TEST_F(Report, ToolLineNamesTheAngleHeadAndItsGearRatio) {
    Form1& f = s.form();
    ASSERT_TRUE(s.pick(f.ANGLE, u"RH3"_s));
    EXPECT_TRUE(print()->printed(u"KRV-220QT2-RH3   Gear Ratio = "_s + f.Label17.text()));

    // No tool name, but a head shown: the line still prints.
    f.TOOLLIST.setListIndex(-1);
    f.ANGLE.setVisible(true);
    EXPECT_TRUE(print()->printed(u"RH3   Gear Ratio = "_s));
}

TEST_F(Report, PreviewPrintsInTheLanguageFaceOrInArialWhereTheSystemLacksIt) {
    const struct {
        QLocale locale;
        const char16_t* face; // nullptr: the Western face found installed
    } rows[] = {{QLocale(QLocale::Japanese, QLocale::Japan), u"ＭＳ Ｐゴシック"},
                {QLocale(QLocale::English, QLocale::UnitedStates), nullptr}};
    for (const auto& row : rows) {
        s.platform.locale = row.locale;
        LanguageFont kept;
        Form2 preview;
        LoadPreview(preview, s.platform, kept);
        QString face = row.face ? QString::fromUtf16(row.face) : kept.LanguageFontName;
        if (!QFontDatabase::families().contains(face))
            face = u"Arial"_s;
        ReportContext context = s.program->reportContext(true);
        QSet<QString> measured;
        context.measure = [&](const FontSpec& font, const QString&) {
            measured.insert(font.face);
            return 1000.0;
        };
        DrawPreview(preview, context);
        EXPECT_EQ(measured, QSet<QString>{face}) << face.toStdString();
    }
}

} // namespace
} // namespace veldrune
