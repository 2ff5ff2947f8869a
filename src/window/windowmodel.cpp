#include "window/windowmodel.h"

#include "window/twips.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <iterator>

namespace veldrune {

QColor Colour::toQColor() const {
    // The classic system colours by number, as the window was designed against them.
    static const QRgb SystemColours[] = {
        0xC8C8C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
        0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8, 0x808080, 0x808080,
        0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000, 0xFFFFE1};
    switch (source) {
    case Source::System:
        return value < std::size(SystemColours) ? QColor(SystemColours[value]) : QColor();
    case Source::Rgb:
        return QColor(QRgb(value));
    case Source::Default:
        break;
    }
    return {};
}

QFont FontSpec::onScreen() const {
    QFont font(face);
    font.setPixelSize(std::max(1, int(std::lround(points * TwipsPerPoint / TwipsPerPixel))));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont FontSpec::inTwips() const {
    QFont font(face);
    font.setPixelSize(std::max(1, int(std::lround(points * TwipsPerPoint))));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

Control::Control(WindowModel& window, int id, ControlDesign design)
    : m_window(window)
    , m_id(id)
    , m_design(std::move(design))
    , m_text(m_design.text)
    , m_toolTip(m_design.toolTip)
    , m_visible(m_design.visible)
    , m_alignment(m_design.alignment)
    , m_back(m_design.back)
    , m_fore(m_design.fore)
    , m_font(m_design.font.value_or(window.font()))
    , m_place(m_design.place) {}

QString Control::displayName() const {
    return m_design.index < 0 ? m_design.name
                              : QStringLiteral("%1(%2)").arg(m_design.name).arg(m_design.index);
}

void Control::changed(Property property) {
    m_window.controlChanged(*this, property);
}

void Control::assignState(const Control& other) {
    m_text = other.m_text;
    m_toolTip = other.m_toolTip;
    m_visible = other.m_visible;
    m_enabled = other.m_enabled;
    m_alignment = other.m_alignment;
    m_back = other.m_back;
    m_fore = other.m_fore;
    m_font = other.m_font;
    m_place = other.m_place;
    m_entries = other.m_entries;
    m_listIndex = other.m_listIndex;
    m_value = other.m_value;
    m_selStart = other.m_selStart;
    m_selLength = other.m_selLength;
    m_picture = other.m_picture;
    m_mark = other.m_mark;
    for (const Property property :
         {Property::Entries, Property::ListIndex, Property::Text, Property::Visible,
          Property::Enabled, Property::Value, Property::Alignment, Property::BackColour,
          Property::ForeColour, Property::Font, Property::Selection, Property::Place,
          Property::ToolTip, Property::Picture, Property::Mark})
        changed(property);
}

QString Control::text() const {
    if (m_design.kind == ControlKind::DropDownList)
        return entry(m_listIndex);
    return m_text;
}

void Control::setText(const QString& text) {
    if (m_text == text)
        return;
    m_text = text;
    m_selStart = 0;
    m_selLength = 0;
    changed(Property::Text);
}

void Control::setVisible(bool visible) {
    if (m_visible == visible)
        return;
    m_visible = visible;
    changed(Property::Visible);
}

bool Control::shown() const {
    for (const Control* c = this; c; c = c->m_container) {
        if (!c->m_visible)
            return false;
    }
    return true;
}

void Control::setEnabled(bool enabled) {
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    changed(Property::Enabled);
}

void Control::setToolTip(const QString& text) {
    if (m_toolTip == text)
        return;
    m_toolTip = text;
    changed(Property::ToolTip);
}

void Control::setAlignment(Alignment alignment) {
    if (m_alignment == alignment)
        return;
    m_alignment = alignment;
    changed(Property::Alignment);
}

void Control::setBackColour(Colour colour) {
    if (m_back == colour)
        return;
    m_back = colour;
    changed(Property::BackColour);
}

void Control::setForeColour(Colour colour) {
    if (m_fore == colour)
        return;
    m_fore = colour;
    changed(Property::ForeColour);
}

void Control::setFont(const FontSpec& font) {
    if (m_font == font)
        return;
    m_font = font;
    changed(Property::Font);
}

void Control::setWidth(int twips) {
    if (m_place.width == twips)
        return;
    m_place.width = twips;
    changed(Property::Place);
}

void Control::setSize(int width, int height) {
    if (m_place.width == width && m_place.height == height)
        return;
    m_place.width = width;
    m_place.height = height;
    changed(Property::Place);
}

double Control::captionWidth() const {
    return QFontMetricsF(m_font.onScreen()).horizontalAdvance(text()) * TwipsPerPixel;
}

void Control::clear() {
    m_entries.clear();
    m_listIndex = -1;
    changed(Property::Entries);
}

void Control::addItem(const QString& text) {
    m_entries.append(text);
    changed(Property::Entries);
}

void Control::setListIndex(int index) {
    if (index < -1 || index >= listCount())
        index = -1;
    m_listIndex = index;
    changed(Property::ListIndex);
    if (index >= 0 && onClick)
        m_window.react(onClick);
}

void Control::setValue(bool on) {
    if (on && m_design.kind == ControlKind::OptionButton) {
        for (const auto& other : m_window.controls()) {
            if (other.get() != this && other->kind() == ControlKind::OptionButton &&
                other->m_container == m_container && other->m_value) {
                other->m_value = false;
                other->changed(Property::Value);
            }
        }
    }
    const bool wasOn = m_value;
    m_value = on;
    if (wasOn != on)
        changed(Property::Value);
    // Switching an option on, or ticking or clearing a box, is a click.
    if ((on || m_design.kind == ControlKind::CheckBox) && onClick)
        m_window.react(onClick);
}

void Control::clearPicture() {
    if (!m_window.keepsPictures())
        return;
    const QSize size(toPixels(m_place.width), toPixels(m_place.height));
    if (m_picture.size() != size)
        m_picture = QImage(size, QImage::Format_RGB32);
    const QColor back = m_back.toQColor();
    m_picture.fill(back.isValid() ? back : QColor(Qt::white));
    changed(Property::Picture);
}

void Control::setMark(const QString& text) {
    if (m_mark == text)
        return;
    m_mark = text;
    changed(Property::Mark);
}

PictureSurface::PictureSurface(Control& box)
    : m_box(box) {
    if (!box.m_window.keepsPictures())
        return;
    if (box.m_picture.isNull())
        box.clearPicture();
    m_painter = std::make_unique<QPainter>(&box.m_picture);
    m_painter->scale(1.0 / TwipsPerPixel, 1.0 / TwipsPerPixel);
    m_painter->setFont(box.font().inTwips());
}

PictureSurface::~PictureSurface() {
    if (!m_painter)
        return;
    m_painter->end();
    m_box.changed(Property::Picture);
}

void Control::select(int start, int length) {
    m_selStart = start;
    m_selLength = length;
    changed(Property::Selection);
}

bool Control::hasFocus() const {
    return m_window.focused() == this;
}

void Control::setFocus() {
    m_window.requestFocus(*this);
}

WindowModel::WindowModel() = default;
WindowModel::~WindowModel() = default;

Control& WindowModel::add(ControlDesign design) {
    const int id = int(m_controls.size());
    Control* container = design.container.isEmpty() ? nullptr : find(design.container);
    m_controls.push_back(std::make_unique<Control>(*this, id, std::move(design)));
    m_controls.back()->m_container = container;
    return *m_controls.back();
}

Control* WindowModel::find(const QString& name, int index) const {
    for (const auto& c : m_controls) {
        if (c->name() == name && c->index() == index)
            return c.get();
    }
    return nullptr;
}

bool WindowModel::canTakeFocus(const Control& control) const {
    if (!control.shown() || !control.enabled())
        return false;
    const Control* outermost = &control;
    for (const Control* c = control.container(); c; c = c->container()) {
        if (!c->enabled())
            return false;
        outermost = c;
    }
    // A control below the client area's lower edge is out of sight: a value typed into it
    // blind would change results with nothing on screen to show why.
    if (outermost->place().top >= clientHeight())
        return false;
    return std::find(m_tabOrder.begin(), m_tabOrder.end(), &control) != m_tabOrder.end();
}

Control* WindowModel::nextInTabOrder(const Control* from, bool backwards) const {
    const auto n = m_tabOrder.size();
    if (n == 0)
        return nullptr;
    auto it = std::find(m_tabOrder.begin(), m_tabOrder.end(), from);
    std::size_t start =
        it == m_tabOrder.end() ? (backwards ? 0 : n - 1) : std::size_t(it - m_tabOrder.begin());
    for (std::size_t step = 1; step <= n; ++step) {
        const std::size_t i = backwards ? (start + n - step) % n : (start + step) % n;
        if (canTakeFocus(*m_tabOrder[i]))
            return m_tabOrder[i];
    }
    return nullptr;
}

void WindowModel::setCaption(const QString& caption) {
    if (m_caption == caption)
        return;
    m_caption = caption;
    windowChanged(WindowProperty::Caption);
}

void WindowModel::setModified(bool modified) {
    if (m_modified == modified)
        return;
    m_modified = modified;
    windowChanged(WindowProperty::Modified);
}

void WindowModel::setPosition(double left, double top) {
    m_left = left;
    m_top = top;
    windowChanged(WindowProperty::Geometry);
}

void WindowModel::assignState(const WindowModel& other) {
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        m_controls[i]->assignState(*other.m_controls[i]);
    setSize(m_width, other.m_height);
    m_inputs = other.m_inputs;
    m_inputCount = other.m_inputCount;
    Control* focused =
        other.m_focused ? m_controls[std::size_t(other.m_focused->id())].get() : nullptr;
    if (focused != m_focused) {
        m_focused = focused;
        if (m_observer)
            m_observer->focusChanged(focused);
    }
}

void WindowModel::setSize(double width, double height) {
    m_width = width;
    m_height = height;
    windowChanged(WindowProperty::Geometry);
}

void WindowModel::setLaidOutFrame(double width, double height) {
    m_laidOutFrameWidth = m_frameWidth = width;
    m_laidOutFrameHeight = m_frameHeight = height;
}

void WindowModel::setVisible(bool visible) {
    if (m_visible == visible)
        return;
    m_visible = visible;
    windowChanged(WindowProperty::Visible);
}

void WindowModel::setPointer(MousePointer pointer) {
    if (m_pointer == pointer)
        return;
    m_pointer = pointer;
    windowChanged(WindowProperty::Pointer);
}

void WindowModel::setFont(const FontSpec& font) {
    m_font = font;
    windowChanged(WindowProperty::Font);
}

void WindowModel::react(const std::function<void()>& reaction) {
    ++m_depth;
    reaction();
    --m_depth;
    // Focus moves asked for during the reaction run now, each one as a reaction of its own,
    // which may ask for further moves.
    while (m_depth == 0 && m_pendingFocus) {
        Control* target = m_pendingFocus;
        m_pendingFocus = nullptr;
        applyFocus(*target);
    }
}

void WindowModel::settled() {
    if (afterEvent && !m_settling && m_depth == 0) {
        m_settling = true;
        afterEvent();
        m_settling = false;
    }
}

void WindowModel::requestFocus(Control& target) {
    if (m_depth > 0) {
        m_pendingFocus = &target;
        return;
    }
    react([&] { applyFocus(target); });
}

void WindowModel::applyFocus(Control& target) {
    if (m_focused != &target)
        handOver(m_focused, target);
}

void WindowModel::handOver(Control* previous, Control& target) {
    Control* next = &target;
    m_focused = next;
    ++m_depth;
    if (previous && previous->onLostFocus) {
        previous->onLostFocus();
        // The control being left sent the focus elsewhere itself: it goes there instead, and
        // the control that was about to receive it never had it.
        if (m_pendingFocus) {
            next = m_pendingFocus;
            m_pendingFocus = nullptr;
            m_focused = next;
        }
    }
    if (m_observer)
        m_observer->focusChanged(next);
    if (next->onGotFocus)
        next->onGotFocus();
    --m_depth;
}

void WindowModel::noteInput(const Control& control, const QString& text) {
    if (m_depth > 0)
        return;
    m_inputs.resize(m_controls.size());
    m_inputs[std::size_t(control.id())] = Input{text, ++m_inputCount};
}

std::optional<WindowModel::Input> WindowModel::lastInput(const Control& control) const {
    const auto id = std::size_t(control.id());
    return id < m_inputs.size() ? m_inputs[id] : std::nullopt;
}

void WindowModel::moveFocus(Control& target) {
    requestFocus(target);
    settled();
}

void WindowModel::click(Control& control) {
    if (!control.enabled())
        return;
    switch (control.kind()) {
    case ControlKind::OptionButton:
        control.setValue(true);
        break;
    case ControlKind::CheckBox:
        control.setValue(!control.value());
        break;
    default:
        if (control.onClick)
            react(control.onClick);
        break;
    }
    settled();
}

void WindowModel::pick(Control& list, int index) {
    noteInput(list, list.entry(index));
    list.setListIndex(index);
    settled();
}

bool WindowModel::keyPress(Control& control, int key) {
    if (!control.onKeyPress)
        return true;
    bool accepted = true;
    react([&] { accepted = control.onKeyPress(key); });
    settled();
    return accepted;
}

void WindowModel::typeText(Control& control, const QString& text) {
    noteInput(control, text);
    control.setText(text);
    settled();
}

void WindowModel::finishEdit() {
    // As a reaction, so that a focus move the control gaining the focus asks for follows.
    if (m_focused && m_focused->onLostFocus && m_depth == 0)
        react([this] { handOver(m_focused, *m_focused); });
    settled();
}

void WindowModel::replay(const UserEvent& event) {
    Control& control = *m_controls.at(std::size_t(event.control));
    switch (event.kind) {
    case UserEvent::Kind::Focus:
        moveFocus(control);
        break;
    case UserEvent::Kind::Type:
        typeText(control, event.text);
        break;
    case UserEvent::Kind::Key:
        keyPress(control, event.value);
        break;
    case UserEvent::Kind::Click:
        click(control);
        break;
    case UserEvent::Kind::Pick:
        pick(control, event.value);
        break;
    }
}

void WindowModel::controlChanged(const Control& control, Property property) {
    if (m_observer)
        m_observer->controlChanged(control, property);
}

void WindowModel::windowChanged(WindowProperty property) {
    if (m_observer)
        m_observer->windowChanged(property);
}

} // namespace veldrune
