#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace veldrune::test {

struct DrawnText {
    QString text;
    QPointF topLeft;
    int pixelSize;
    bool bold;
    QRectF box; // from the ascent to the descent, as far as it is not clipped
    friend bool operator==(const DrawnText&, const DrawnText&) = default;
};

// A paint engine that keeps what is drawn with it instead of showing it, all in twips of the
// page whatever the device's resolution: the texts, the lines (a rectangle as its four sides, a
// polyline as its segments) with their pens' widths and the clip each was drawn under, and the
// images' rectangles.
class PageRecorder : public QPaintEngine {
public:
    PageRecorder()
        : QPaintEngine(AllFeatures) {}

    std::vector<DrawnText> texts;
    std::vector<QLineF> lines;
    std::vector<double> widths; // a line's pen as drawn, to a thousandth of a twip
    std::vector<QRectF> clips;  // a line's clip, as the rectangle around it; null for none
    std::vector<QRectF> images;

    // An A4 page less the quarter inch around it that printers commonly leave blank.
    static inline const QRectF PrintableA4 =
        QRectF(0, 0, 11906, 16838).adjusted(360, 360, -360, -360);

    // A text that runs into the next one on its line (one sharing half its height), or an
    // empty text.
    QString crowded() const {
        for (const DrawnText& a : texts) {
            for (const DrawnText& b : texts) {
                const double shared =
                    std::min(a.box.bottom(), b.box.bottom()) - std::max(a.box.top(), b.box.top());
                if (shared > std::min(a.box.height(), b.box.height()) / 2 &&
                    a.box.left() < b.box.left() && a.box.right() > b.box.left() + 1)
                    return QStringLiteral("\"%1\" runs into \"%2\"")
                        .arg(a.text.left(80), b.text.left(80));
            }
        }
        return {};
    }
    // What of the drawing reaches outside the area, or an empty text.
    QString outside(const QRectF& area) const {
        for (const DrawnText& t : texts) {
            if (!t.box.isEmpty() && !area.contains(t.box))
                return QStringLiteral("the text \"%1\"").arg(t.text.left(80));
        }
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const double half = widths[i] / 2;
            QRectF box = QRectF(lines[i].p1(), lines[i].p2()).normalized();
            box.adjust(-half, -half, half, half);
            if (!clips[i].isNull())
                box = box.intersected(clips[i]);
            if (!box.isEmpty() && !area.contains(box))
                return QStringLiteral("a line");
        }
        const bool images = std::all_of(this->images.begin(), this->images.end(),
                                        [&](const QRectF& image) { return area.contains(image); });
        return images ? QString() : QStringLiteral("an image");
    }

    bool begin(QPaintDevice* device) override {
        m_toTwips =
            QTransform::fromScale(1440.0 / device->logicalDpiX(), 1440.0 / device->logicalDpiY());
        m_transform = m_toTwips;
        m_clip = QRectF();
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyTransform)
            m_transform = state.transform() * m_toTwips;
        if (state.state() & DirtyPen)
            m_pen = state.pen();
        if (state.state() & (DirtyClipPath | DirtyClipEnabled)) // a clip of fractional twips
            m_clip = state.isClipEnabled() && state.clipOperation() != Qt::NoClip
                         ? m_transform.map(state.clipPath()).boundingRect()
                         : QRectF();
    }
    void drawTextItem(const QPointF& baseline, const QTextItem& item) override {
        const QPointF top(baseline.x(), baseline.y() - item.ascent());
        QRectF box =
            m_transform.mapRect(QRectF(top, QSizeF(item.width(), item.ascent() + item.descent())));
        if (!m_clip.isNull())
            box = box.intersected(m_clip);
        texts.push_back(
            {item.text(), m_transform.map(top), item.font().pixelSize(), item.font().bold(), box});
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
    void drawPixmap(const QRectF& rect, const QPixmap&, const QRectF&) override {
        images.push_back(m_transform.mapRect(rect));
    }

private:
    void add(const QLineF& line) {
        lines.push_back(m_transform.map(line));
        // A cosmetic pen (one of no width too) is as wide as the device's pixels, whatever the
        // painter's scale.
        const double width = m_pen.isCosmetic()
                                 ? std::max(m_pen.widthF(), 1.0) * m_toTwips.m11()
                                 : m_pen.widthF() * std::sqrt(std::abs(m_transform.determinant()));
        widths.push_back(std::round(width * 1000) / 1000);
        clips.push_back(m_clip);
    }

    QTransform m_toTwips;
    QTransform m_transform;
    QPen m_pen;
    QRectF m_clip;
};

// A device that records what is drawn on it with the recorder, its resolution and its page
// those of the device it is: a printer, a PDF writer.
template <class Device> class Recorded : public Device {
public:
    template <class... Arguments>
    explicit Recorded(PageRecorder& recorder, Arguments&&... arguments)
        : Device(std::forward<Arguments>(arguments)...)
        , m_recorder(recorder) {}
    QPaintEngine* paintEngine() const override { return &m_recorder; }

private:
    PageRecorder& m_recorder;
};

// An A4 page of 1440 dots per inch that keeps what is drawn on it instead of showing it.
class RecordingPage : public QPaintDevice, public PageRecorder {
public:
    // The text drawn exactly so, or none.
    const DrawnText* text(const QString& wanted) const {
        const auto it = std::find_if(texts.begin(), texts.end(),
                                     [&](const DrawnText& t) { return t.text == wanted; });
        return it == texts.end() ? nullptr : &*it;
    }
    bool printed(const QString& part) const {
        return std::any_of(texts.begin(), texts.end(),
                           [&](const DrawnText& t) { return t.text.contains(part); });
    }
    QPaintEngine* paintEngine() const override { return const_cast<RecordingPage*>(this); }

protected:
    int metric(PaintDeviceMetric metric) const override {
        if (metric == PdmWidth || metric == PdmHeight)
            return metric == PdmWidth ? 11906 : 16838;
        if (metric >= PdmDpiX && metric <= PdmPhysicalDpiY)
            return 1440;
        return metric == PdmDevicePixelRatioScaled ? int(devicePixelRatioFScale()) : 1;
    }
};

} // namespace veldrune::test
