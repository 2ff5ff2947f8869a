#pragma once

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainterPath>

#include <algorithm>
#include <vector>

namespace veldrune::test {

struct DrawnText {
    QString text;
    QPointF topLeft;
    int pixelSize;
    bool bold;
};

// An A4 page of 1440 dots per inch that keeps what is drawn on it instead of showing it: the
// texts with their top-left corners, the lines (a rectangle as its four sides, a polyline as
// its segments) with the clip each was drawn under, and how many images, all in page twips.
class RecordingPage : public QPaintDevice, public QPaintEngine {
public:
    RecordingPage()
        : QPaintEngine(AllFeatures) {}

    std::vector<DrawnText> texts;
    std::vector<QLineF> lines;
    std::vector<QRectF> clips; // a line's clip, as the rectangle around it; null for none
    int images = 0;

    // The text drawn exactly so; fails the test if there is none.
    DrawnText text(const QString& wanted) const {
        const auto it = std::find_if(texts.begin(), texts.end(),
                                     [&](const DrawnText& t) { return t.text == wanted; });
        if (it != texts.end())
            return *it;
        ADD_FAILURE() << "not printed: " << wanted.toStdString();
        return {};
    }
    bool printed(const QString& part) const {
        return std::any_of(texts.begin(), texts.end(),
                           [&](const DrawnText& t) { return t.text.contains(part); });
    }

    QPaintEngine* paintEngine() const override { return const_cast<RecordingPage*>(this); }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyTransform)
            m_transform = state.transform();
        if (state.state() & (DirtyClipPath | DirtyClipEnabled)) // a clip of fractional twips
            m_clip = state.isClipEnabled() && state.clipOperation() != Qt::NoClip
                         ? m_transform.map(state.clipPath()).boundingRect()
                         : QRectF();
    }
    void drawTextItem(const QPointF& baseline, const QTextItem& item) override {
        const QFont font = item.font();
        const QPointF top(baseline.x(), baseline.y() - QFontMetricsF(font).ascent());
        texts.push_back({item.text(), m_transform.map(top), font.pixelSize(), font.bold()});
    }
    void drawLines(const QLineF* drawn, int count) override {
        for (int i = 0; i < count; ++i)
            add(drawn[i]);
    }
    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i)
            drawPolygon(QPolygonF(rects[i]).constData(), 5, PolylineMode);
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
        for (int i = 1; i < count; ++i)
            add(QLineF(points[i - 1], points[i]));
    }
    // Images reach the engine as pixmaps.
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++images; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        if (metric == PdmWidth || metric == PdmHeight)
            return metric == PdmWidth ? 11906 : 16838;
        if (metric >= PdmDpiX && metric <= PdmPhysicalDpiY)
            return 1440;
        return metric == PdmDevicePixelRatioScaled ? int(devicePixelRatioFScale()) : 1;
    }

private:
    void add(const QLineF& line) {
        lines.push_back(m_transform.map(line));
        clips.push_back(m_clip);
    }

    QTransform m_transform;
    QRectF m_clip;
};

} // namespace veldrune::test
