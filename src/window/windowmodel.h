#pragma once

#include "window/control.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace veldrune {

enum class WindowState { Normal, Minimised, Maximised };
enum class MousePointer { Normal, Busy };
enum class WindowProperty { Caption, Geometry, Pointer, Font, Visible, Modified };

// Keys as the key reactions see them: the character a key types. Editing commands that type
// no character come as their ASCII control codes (Ctrl+C as 3, Backspace as 8), so that a
// reaction that swallows every key swallows them too.
namespace Key {
inline constexpr int Copy = 3; // Ctrl+C
inline constexpr int Backspace = 8;
inline constexpr int Enter = 13;
inline constexpr int Paste = 22; // Ctrl+V, Shift+Insert, the context menu, a drop
inline constexpr int Cut = 24;   // Ctrl+X, Shift+Delete
inline constexpr int Redo = 25;  // Ctrl+Y
inline constexpr int Undo = 26;  // Ctrl+Z
inline constexpr int Escape = 27;
inline constexpr int Delete = 127;
} // namespace Key

// One event a user makes at the window: enough to make it again on a window started the same
// way, as the sessions of older station files do.
struct UserEvent {
    enum class Kind { Focus, Type, Key, Click, Pick };
    Kind kind;
    int control;   // the control's id, its place among the window's controls
    int value = 0; // the key pressed, or the entry picked
    QString text;  // the text typed, or the entry's text as it was when picked
    friend bool operator==(const UserEvent&, const UserEvent&) = default;
};

// Told of every change, so that a real window can follow the model.
class WindowObserver {
public:
    virtual ~WindowObserver() = default;
    virtual void controlChanged(const Control& control, Property property) = 0;
    virtual void windowChanged(WindowProperty property) = 0;
    virtual void focusChanged(const Control* control) = 0;
};

// A headless window: its controls, its own properties in twips, the focus, and the order in
// which reactions run. Events enter through click(), pick(), keyPress() and moveFocus(), from
// the real window, from tests and from the batch calculator alike.
//
// Focus moves asked for inside a reaction wait until the reaction is done, then run as the
// user's would: the control that had the focus runs its focus-lost reaction, the new one its
// focus-gained reaction.
class WindowModel {
public:
    WindowModel();
    virtual ~WindowModel();
    WindowModel(const WindowModel&) = delete;
    WindowModel& operator=(const WindowModel&) = delete;

    Control& add(ControlDesign design);
    const std::vector<std::unique_ptr<Control>>& controls() const { return m_controls; }
    Control* find(const QString& name, int index = -1) const;

    // The focus order: the one rule by which Tab and Shift+Tab move the focus.
    void setTabOrder(std::vector<Control*> order) { m_tabOrder = std::move(order); }
    const std::vector<Control*>& tabOrder() const { return m_tabOrder; }
    Control* nextInTabOrder(const Control* from, bool backwards = false) const;
    // Whether Tab stops at the control: it is in the focus order, shown, enabled, and not cut
    // off below the visible part of the window.
    bool canTakeFocus(const Control& control) const;

    // Window properties, in twips. Width and height are the outer size the program sets, the
    // frame counted as the layout assumes it, so the client area shows the same part of the
    // layout whatever frame the window system draws.
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    // Whether the window shows other than the file it holds; the title marks it.
    bool modified() const { return m_modified; }
    void setModified(bool modified);
    double left() const { return m_left; }
    double top() const { return m_top; }
    double width() const { return m_width; }
    double height() const { return m_height; }
    void setPosition(double left, double top);
    void setSize(double width, double height);
    void setHeight(double height) { setSize(m_width, height); }
    // The frame (title bar and borders) the layout assumes around its client area.
    void setLaidOutFrame(double width, double height);
    double clientWidth() const { return m_width - m_laidOutFrameWidth; }
    double clientHeight() const { return m_height - m_laidOutFrameHeight; }
    // The frame the window system really draws, once it has told; the laid-out one before.
    void setFrameExtent(double width, double height) {
        m_frameWidth = width, m_frameHeight = height;
    }
    // The outer size on screen, as centring needs it.
    double outerWidth() const { return clientWidth() + m_frameWidth; }
    double outerHeight() const { return clientHeight() + m_frameHeight; }
    // Minimised or maximised by the user; the program itself only ever sets the height.
    WindowState state() const { return m_state; }
    void setState(WindowState state) { m_state = state; }
    MousePointer pointer() const { return m_pointer; }
    void setPointer(MousePointer pointer);
    const FontSpec& font() const { return m_font; }
    void setFont(const FontSpec& font);
    // Whether the window is on screen. The main window is from start-up on; others are
    // shown and hidden by the program, or closed by the user.
    bool visible() const { return m_visible; }
    void setVisible(bool visible);

    Control* focused() const { return m_focused; }

    // Takes the state of another window of the same design: every control's properties, the
    // height, the control with the focus and the user's last inputs. No reaction runs, as nothing
    // was done to this window; the window stays where it is.
    void assignState(const WindowModel& other);

    // Events as the user makes them.
    void moveFocus(Control& target);
    void click(Control& control);
    void pick(Control& list, int index);
    // Returns whether the key reaches the field.
    bool keyPress(Control& control, int key);
    // Text typed or pasted into a field: it changes the text and runs no reaction.
    void typeText(Control& control, const QString& text);
    // Makes a kept event again, as the user made it.
    void replay(const UserEvent& event);
    // Finishes the edit in progress as a button press does: the control with the focus runs
    // its focus-lost reaction. The focus then comes back to it, unless that reaction sent it
    // elsewhere, and the control that ends up with it runs its focus-gained reaction.
    void finishEdit();

    // The last text typed into a control, or the last entry picked in a list, by a user's
    // event (not by a reaction), with the order in which those inputs came; nothing before the
    // first.
    struct Input {
        QString text;
        std::uint64_t order = 0;
    };
    std::optional<Input> lastInput(const Control& control) const;

    // Whether picture boxes keep what is drawn into them. A window on screen does; the batch
    // calculator needs no pictures unless it writes one out.
    void setKeepsPictures(bool keep) { m_keepsPictures = keep; }
    bool keepsPictures() const { return m_keepsPictures; }

    void setObserver(WindowObserver* observer) { m_observer = observer; }
    WindowObserver* observer() const { return m_observer; }

    // Runs a reaction; focus moves it asks for follow when the outermost one is done.
    void react(const std::function<void()>& reaction);

    // Runs once the window has settled after each of the user's events above (made outside a
    // reaction): its reactions and the focus moves they asked for are done. What the program
    // derives from the whole window (that a chart no longer matches its inputs) follows here.
    std::function<void()> afterEvent;
    bool reacting() const { return m_depth > 0; }

private:
    friend class Control;
    void requestFocus(Control& target);
    void applyFocus(Control& target);
    // The focus leaves `previous`, whose focus-lost reaction runs, for `target`, or for where
    // that reaction sends it; then that control's focus-gained reaction runs.
    void handOver(Control* previous, Control& target);
    void controlChanged(const Control& control, Property property);
    void windowChanged(WindowProperty property);
    void noteInput(const Control& control, const QString& text);
    void settled();

    std::vector<std::unique_ptr<Control>> m_controls;
    std::vector<Control*> m_tabOrder;
    QString m_caption;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
    double m_laidOutFrameWidth = 0;
    double m_laidOutFrameHeight = 0;
    double m_frameWidth = 0;
    double m_frameHeight = 0;
    WindowState m_state = WindowState::Normal;
    MousePointer m_pointer = MousePointer::Normal;
    FontSpec m_font;
    Control* m_focused = nullptr;
    Control* m_pendingFocus = nullptr;
    int m_depth = 0;
    bool m_settling = false;
    bool m_keepsPictures = true;
    bool m_visible = false;
    bool m_modified = false;
    WindowObserver* m_observer = nullptr;
    std::vector<std::optional<Input>> m_inputs; // by control id
    std::uint64_t m_inputCount = 0;
};

} // namespace veldrune
