#include "station/reopen.h"

#include "app/accessiblenames.h"
#include "app/veldrune.h"
#include "platform/recordingplatform.h"
#include "station/apply.h"

namespace veldrune {

namespace {

// A control by the caption that names it, as a screen reader names it, without the value a
// result shows.
QString nameOf(const Form1& f, const Control& c) {
    QString name = AccessibleName(f, c);
    const QString value = c.text().trimmed();
    if (!CaptionOf(f, c) && !value.isEmpty() && name != value && name.endsWith(value))
        name.chop(value.size());
    name = name.trimmed();
    return name.isEmpty() ? c.displayName() : name;
}

// How the reopened control differs from the shown one, or nothing. What is shown or hidden
// with the layout is not told again.
QString difference(const Control& shown, const Control& reopened, bool sameLayout) {
    const auto either = [](bool on, const char* yes, const char* no) {
        return QString::fromLatin1(on ? yes : no);
    };
    if (shown.text() != reopened.text() || shown.listIndex() != reopened.listIndex()) {
        const QString text = reopened.text().trimmed();
        return text.isEmpty() ? QStringLiteral("WILL BE EMPTY")
                              : QStringLiteral("WILL SHOW ") + text;
    }
    if (shown.visible() != reopened.visible() && sameLayout)
        return either(reopened.visible(), "WILL BE SHOWN", "WILL BE HIDDEN");
    if (shown.enabled() != reopened.enabled())
        return either(reopened.enabled(), "WILL BE SWITCHED ON", "WILL BE SWITCHED OFF");
    if (shown.value() != reopened.value())
        return either(reopened.value(), "WILL BE CHOSEN", "WILL NOT BE CHOSEN");
    return {};
}

} // namespace

QStringList ReopenDifferences(Veldrune& program, const Station& station) {
    RecordingPlatform quiet(program.platform());
    Veldrune reopened(quiet);
    reopened.form().setKeepsPictures(false);
    reopened.startLike(program);
    if (const auto refusal = ApplyStation(reopened, station, quiet.messages()))
        return {QStringLiteral("THE FILE WOULD BE REFUSED AT %1: %2")
                    .arg(refusal->key.isEmpty() ? QStringLiteral("ITS START") : refusal->key,
                         refusal->message)};

    const Form1& a = program.form();
    const Form1& b = reopened.form();
    QStringList differences;
    if (a.height() != b.height())
        differences.append(b.height() > a.height()
                               ? QStringLiteral("THE WINDOW WILL OPEN IN THE TALL LAYOUT")
                               : QStringLiteral("THE WINDOW WILL OPEN IN THE SHORT LAYOUT"));
    for (std::size_t i = 0; i < a.controls().size(); ++i) {
        // A field's text counts while the field is hidden, as the other layout shows it again;
        // what another control held before it was hidden, it is given again before it shows.
        const Control& shown = *a.controls()[i];
        const Control& other = *b.controls()[i];
        if (shown.kind() != ControlKind::Entry && !shown.shown() && !other.shown())
            continue;
        if (const QString how = difference(shown, other, a.height() == b.height()); !how.isEmpty())
            differences.append(nameOf(a, shown) + u' ' + how);
    }
    // The chart is drawn from the fields and the tool chosen.
    if (differences.isEmpty() &&
        (program.selection().SelectedTool != reopened.selection().SelectedTool ||
         program.selection().HeadRatio != reopened.selection().HeadRatio))
        differences.append(QStringLiteral("THE CHART WILL BE DRAWN FOR ANOTHER TOOL"));
    return differences;
}

} // namespace veldrune
