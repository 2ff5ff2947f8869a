#pragma once

#include "window/windowmodel.h"

#include <QKeySequence>
#include <QLabel>
#include <QScrollArea>
#include <QWidget>

#include <functional>
#include <unordered_map>

namespace veldrune {

class LineCanvas;

// The real main window: one Qt widget per control of the window model, kept in step with it.
// User events go into the model (picks, clicks, keys, focus moves, typed text); the model's
// changes come back through the observer. Tab follows the model's focus order. Nothing here
// decides anything about the program.
class QtWindow : public QWidget, private WindowObserver {
public:
    // A main window ends the program when it is closed; another one is only hidden.
    explicit QtWindow(WindowModel& model, bool mainWindow = true);
    ~QtWindow() override;

    QWidget* widgetFor(const Control& control) const;

    // Runs whenever the window system reports a frame around the window other than the one
    // the model knew, so that the program can centre the window by its real outer size.
    std::function<void()> onFrameChanged;
    // Runs when the user closes a window that is not the main one.
    std::function<void()> onClosed;
    // Asked when the user closes the window: whether it may close.
    std::function<bool()> onCloseRequested;
    // Runs after every event the window has run into its model, before the focus follows.
    std::function<void()> afterDispatch;
    // Runs when the user drops a station file (*.json) on the window; without it the window
    // takes no drops.
    std::function<void(const QString& path)> onFileDropped;

    // Runs an action of the program on the window's model, as an event of the window does,
    // and brings the real focus where the model then has it.
    void perform(const std::function<void()>& action) { dispatch(action); }

    // The keys press the button as a click on it would, while it is shown and switched on;
    // its tooltip names them.
    void addShortcut(Control& button, const QKeySequence& keys);

    // What assistive technology calls each control (screen readers read it out); asked once
    // the event loop runs, then again whenever the window has handled an event, so that names
    // follow what the controls show. Without it a control has Qt's own name: its text.
    // `captionOf` gives the control whose caption labels a field, a list or a picture.
    void setAccessibleNames(std::function<QString(const Control&)> name,
                            std::function<const Control*(const Control&)> captionOf);

protected:
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void build();
    QWidget* create(Control& control, QWidget* parent);
    // Gives the control's widget every property the model holds.
    void applyAll(const Control& control);
    // Gives the widget one property, without sizing it to its text (fitText).
    void apply(const Control& control, Property property);
    // Sizes a caption that fits its text to it, and shows a text its control clips in a
    // tooltip.
    void fitText(const Control& control);
    void applyGeometry();
    void updateToolTip(const Control& control);
    void relateCaptions(const std::function<const Control*(const Control&)>& captionOf);
    void updateNames();
    void measureFrame();
    void onFocusChanged(QWidget* now);
    // Runs an event into the model, then brings the real focus where the model has it.
    void dispatch(const std::function<void()>& event);
    void syncFocus();
    void showFocus();

    void controlChanged(const Control& control, Property property) override;
    void windowChanged(WindowProperty property) override;
    void focusChanged(const Control* control) override;

    WindowModel& m_model;
    bool m_mainWindow;
    std::unordered_map<const Control*, QWidget*> m_widgets;
    std::unordered_map<const QObject*, Control*> m_controls;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_page = nullptr; // the layout's client area, which the scroll area shows
    LineCanvas* m_canvas = nullptr;
    const Control* m_modelFocus = nullptr;
    bool m_syncing = false;
    QSize m_frame{-1, -1};
    QMetaObject::Connection m_focusConnection;
    std::unordered_map<const Control*, QKeySequence> m_keys;
    std::function<QString(const Control&)> m_name;
    std::unordered_map<const Control*, QLabel*>
        m_standIns; // labels never shown, see relateCaptions
};

} // namespace veldrune
