#include "catalogue/ratings.h"

#include "catalogue/angleheads.h"
#include "catalogue/catalogue.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "window/form1.h"

#include <cmath>

namespace veldrune {

namespace {

// Decimals a torque can be written with. The catalogue allows 4; those are shown with four
// decimals rather than borrowing the text of another unit.
bool formattable(int decimals) {
    return decimals >= 0 && decimals <= 4;
}

} // namespace

void FormatScaled(std::int16_t value, std::int16_t decimals, QString& text) {
    if (value == TorqueTooLarge) {
        text = QStringLiteral("     ");
        return;
    }
    if (decimals == 0) {
        text = FormatFixed(value, 0);
    } else if (formattable(decimals)) {
        const float scaled = static_cast<float>(value / std::pow(10.0, decimals));
        text = FormatFixed(scaled, decimals);
    }
    text = (QStringLiteral("      ") + text).right(6);
}

QString FormatHeadTorque(const QString& text, float ratio, std::int16_t decimals) {
    if (!formattable(decimals))
        return {};
    return FormatFixed(double(ratio) * TextValue(text) * HeadTorqueFactor, decimals);
}

void ShowToolRatings(Form1& form, const ToolTable& tools, ToolSelection& selection) {
    if (selection.SelectedTool == 0)
        return;
    const ToolEntry& tool = tools[selection.SelectedTool];

    const AngleHead* head = nullptr;
    if (form.ANGLE.visible()) {
        head = FindAngleHead(form.ANGLE.text());
        if (head) {
            selection.HeadRatio = DisplayHeadRatio;
            form.Frame4.setVisible(true);
            form.Label17.setText(GeneralText(selection.HeadRatio));
        } else {
            selection.HeadRatio = 1.0f;
            form.Frame4.setVisible(false);
        }
    } else {
        // A system without angle heads shows no gear ratio, not one left from a head picked
        // under another system.
        selection.HeadRatio = 1.0f;
        form.Frame4.setVisible(false);
    }
    const float ratio = selection.HeadRatio;

    form.Label3(0).setText(FormatFixed(float(tool.MaxSpeed) / ratio, 0) + QStringLiteral(" RPM"));
    const float minSpeed = float(tool.MinSpeed) / ratio;
    form.Label3(1).setText(minSpeed >= 1
                               ? QLatin1Char(' ') + GeneralText(minSpeed) + QStringLiteral(" RPM")
                               : QStringLiteral("1 RPM"));

    form.Text4(1).setText(QStringLiteral("100"));
    form.Text4(3).setText(FormatFixed(tool.MaxSpeed * 0.8 / ratio, 0));
    form.Text4(6).setText(QStringLiteral("30"));

    // The text carries over from one unit to the next, as the formatting works in place.
    QString text;
    for (int u = 0; u < UnitCount; ++u) {
        FormatScaled(tool.MaxTorque[u], tool.TorqueDecimals[u], text);
        if (ratio == 1.0f) {
            form.Label4(u).setText(text);
            continue;
        }
        const QString withHead = FormatHeadTorque(text, ratio, tool.TorqueDecimals[u]);
        const QString& rating = head->ratings[u];
        form.Label4(u).setText(TextValue(rating) >= TextValue(withHead) ? withHead : rating);
    }
    // The torque frame keeps its caption, which a caption file may have translated.
}

} // namespace veldrune
