#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QPainter;

namespace veldrune {

class WindowModel;

enum class ControlKind {
    Caption,       // a label the user reads; may have a border when it shows a result
    Entry,         // single-line text field
    DropDownList,  // pick-only list
    Frame,         // group box with a caption; holds other controls
    OptionButton,  // radio button
    CheckBox,      //
    PictureButton, // push button that shows an icon and a tooltip, no caption
    Button,        // push button with a caption
    PictureBox,    // drawing area
    Line,          // a straight line drawn on the window
    FileList,      // never shown; lists the files of a folder
    CommonDialog,  // never shown; opens the system's printer dialog
};

enum class Alignment { Left, Right, Centre };

// A colour as the window designer gives it: the platform's default for the control, one of
// the system's colours by number, or a fixed RGB value.
struct Colour {
    enum class Source : std::uint8_t { Default, System, Rgb };
    Source source = Source::Default;
    std::uint32_t value = 0;

    static Colour system(int index) { return {Source::System, std::uint32_t(index)}; }
    static Colour rgb(std::uint32_t rgb) { return {Source::Rgb, rgb}; }
    // The colour itself; invalid for the platform's default.
    QColor toQColor() const;
    friend bool operator==(const Colour&, const Colour&) = default;
};

struct FontSpec {
    QString face;
    double points = 9.0;
    bool bold = false;
    bool italic = false;
    // The font for drawing in twips (20 to a point): a point size would be resolved before a
    // painter's scale and come out far too small.
    QFont inTwips() const;
    // The font on screen: its points at 96 dots per inch, whatever the screen reports.
    QFont onScreen() const;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Position and size in twips, relative to the container's client area.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// End points of a line control, in twips of the window's client area.
struct LineEnds {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
};

enum class Property {
    Text,
    Visible,
    Enabled,
    Entries,
    ListIndex,
    Value,
    Alignment,
    BackColour,
    ForeColour,
    Font,
    Selection,
    Place,
    ToolTip,
    Picture,
    Mark,
};

// The fixed design of a control: what the window designer laid out.
struct ControlDesign {
    QString name;
    int index = -1; // element of a control array, -1 for a single control
    ControlKind kind = ControlKind::Caption;
    QString container; // name of the frame that holds it; empty for the window itself
    Rect place;
    QString text; // caption or text as laid out
    QString toolTip;
    bool visible = true;
    Alignment alignment = Alignment::Left;
    bool border = false;
    bool autoSize = false;
    std::optional<FontSpec> font; // the window's font when not set
    Colour back;
    Colour fore;
    LineEnds line;     // lines only
    int lineWidth = 1; // lines only
    QString pattern;   // file lists only
};

// One control of a headless window: every property the program reads or writes, and the
// reactions the program attaches to its events. Setters notify the window's observer, so a
// real widget can follow; none of them runs a reaction except where a code-made selection
// acts like the user's (list index, option and check box value).
class Control {
public:
    Control(WindowModel& window, int id, ControlDesign design);

    int id() const { return m_id; }
    const ControlDesign& design() const { return m_design; }
    ControlKind kind() const { return m_design.kind; }
    const QString& name() const { return m_design.name; }
    int index() const { return m_design.index; }
    QString displayName() const; // "Text4(9)", "SYSTEM"
    Control* container() const { return m_container; }

    // Text of an entry, caption of anything else; for a list the current entry's text.
    QString text() const;
    void setText(const QString& text);

    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    // Visible and inside containers that are all visible.
    bool shown() const;
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    Alignment alignment() const { return m_alignment; }
    void setAlignment(Alignment alignment);
    Colour backColour() const { return m_back; }
    void setBackColour(Colour colour);
    Colour foreColour() const { return m_fore; }
    void setForeColour(Colour colour);
    const FontSpec& font() const { return m_font; }
    void setFont(const FontSpec& font);
    const Rect& place() const { return m_place; }
    void setWidth(int twips);
    void setSize(int width, int height);
    // The width of the caption in the control's font, in twips: what a label that sizes
    // itself to its caption comes to.
    double captionWidth() const;
    const QString& toolTip() const { return m_toolTip; }
    void setToolTip(const QString& text);

    // Lists.
    const QStringList& entries() const { return m_entries; }
    int listCount() const { return int(m_entries.size()); }
    QString entry(int i) const { return i >= 0 && i < m_entries.size() ? m_entries[i] : QString(); }
    void clear();
    void addItem(const QString& text);
    int listIndex() const { return m_listIndex; }
    // Making an entry current runs the list's click reaction, as a pick by the user does.
    void setListIndex(int index);

    // Option buttons and check boxes. Switching an option on switches its siblings off.
    bool value() const { return m_value; }
    void setValue(bool on);

    // The drawing a picture box keeps, so that it shows again whenever the window is painted:
    // an image of the box's size at 15 twips a pixel, empty until the box is first cleared
    // or drawn into. A window that keeps no pictures (see WindowModel) leaves it empty.
    const QImage& picture() const { return m_picture; }
    // Clears the picture to the box's background colour.
    void clearPicture();
    // A notice shown over a picture box's picture, keeping it (that the picture is out of
    // date, say); empty for none.
    const QString& mark() const { return m_mark; }
    void setMark(const QString& text);

    // Text selection of an entry field.
    int selectionStart() const { return m_selStart; }
    int selectionLength() const { return m_selLength; }
    void select(int start, int length);

    bool hasFocus() const;
    // Moves the focus here; inside a reaction the move happens when the reaction is done.
    void setFocus();

    // Takes every property a program can change from the same control of another window,
    // running no reaction.
    void assignState(const Control& other);

    // Reactions attached by the program. A key reaction returns false to swallow the key.
    std::function<void()> onClick;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;
    std::function<bool(int key)> onKeyPress;

private:
    friend class WindowModel;
    friend class PictureSurface;
    void changed(Property property);

    WindowModel& m_window;
    int m_id;
    ControlDesign m_design;
    Control* m_container = nullptr;
    QString m_text;
    QString m_toolTip;
    bool m_visible;
    bool m_enabled = true;
    Alignment m_alignment;
    Colour m_back;
    Colour m_fore;
    FontSpec m_font;
    Rect m_place;
    QStringList m_entries;
    int m_listIndex = -1;
    bool m_value = false;
    int m_selStart = 0;
    int m_selLength = 0;
    QImage m_picture;
    QString m_mark;
};

// A painter on a picture box's kept picture, in twips, with the box's font; the box shows the
// drawing when the surface is done. While the window keeps no pictures there is no painter.
class PictureSurface {
public:
    explicit PictureSurface(Control& box);
    ~PictureSurface();
    PictureSurface(const PictureSurface&) = delete;
    PictureSurface& operator=(const PictureSurface&) = delete;

    QPainter* painter() { return m_painter.get(); }

private:
    Control& m_box;
    std::unique_ptr<QPainter> m_painter;
};

} // namespace veldrune
