#pragma once

#include "app/windowmodel.h"

#include <QWidget>

#include <unordered_map>

namespace veldrune {

class LineCanvas;

// The real main window: one Qt widget per control of the window model, kept in step with it.
// User events go into the model (picks, clicks, keys, focus moves, typed text); the model's
// changes come back through the observer. Nothing here decides anything about the program.
class QtWindow : public QWidget, private WindowObserver {
public:
    explicit QtWindow(WindowModel& model);
    ~QtWindow() override;

    QWidget* widgetFor(const Control& control) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void build();
    QWidget* create(Control& control, QWidget* parent);
    void applyAll(const Control& control);
    void applyGeometry();
    void onFocusChanged(QWidget* now);
    // Runs an event into the model, then brings the real focus where the model has it.
    void dispatch(const std::function<void()>& event);
    void syncFocus();

    void controlChanged(const Control& control, Property property) override;
    void windowChanged(WindowProperty property) override;
    void focusChanged(const Control* control) override;

    WindowModel& m_model;
    std::unordered_map<const Control*, QWidget*> m_widgets;
    std::unordered_map<const QObject*, Control*> m_controls;
    LineCanvas* m_canvas = nullptr;
    const Control* m_modelFocus = nullptr;
    bool m_syncing = false;
    QMetaObject::Connection m_focusConnection;
};

} // namespace veldrune
