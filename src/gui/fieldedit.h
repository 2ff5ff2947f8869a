#pragma once

#include <QLineEdit>

#include <functional>

class QKeyEvent;

namespace veldrune {

// The key code a key press gives the window model: its character, or the control code of an
// editing command (paste, cut, undo, delete); 0 for keys that type and edit nothing (arrows,
// Home, function keys).
int ModelKey(const QKeyEvent& event);

// An entry field whose every edit passes the model's key reaction first: typed keys, editing
// keys, the context menu, middle-click paste, drops and input-method text. An edit the
// reaction swallows does not happen.
class FieldEdit : public QLineEdit {
public:
    // `key` runs the model's key reaction and says whether the key reaches the field;
    // `clicked` runs once a mouse press that gave the field the focus has been handled.
    FieldEdit(QWidget* parent, std::function<bool(int key)> key, std::function<void()> clicked);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    std::function<bool(int)> m_key;
    std::function<void()> m_clicked;
    bool m_focusByMouse = false;
};

} // namespace veldrune
