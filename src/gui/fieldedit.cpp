#include "gui/fieldedit.h"

#include "window/windowmodel.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace veldrune {

int ModelKey(const QKeyEvent& event) {
    struct Command {
        QKeySequence::StandardKey keys;
        int code;
    };
    static const Command Commands[] = {
        {QKeySequence::Paste, Key::Paste},
        {QKeySequence::Cut, Key::Cut},
        {QKeySequence::Copy, Key::Copy},
        {QKeySequence::Undo, Key::Undo},
        {QKeySequence::Redo, Key::Redo},
        {QKeySequence::Delete, Key::Delete},
        {QKeySequence::DeleteEndOfWord, Key::Delete},
        {QKeySequence::DeleteEndOfLine, Key::Delete},
        {QKeySequence::DeleteCompleteLine, Key::Delete},
        {QKeySequence::Backspace, Key::Backspace},
        {QKeySequence::DeleteStartOfWord, Key::Backspace},
    };
    for (const Command& command : Commands) {
        if (event.matches(command.keys))
            return command.code;
    }
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Enter;
    case Qt::Key_Backspace:
        return Key::Backspace;
    case Qt::Key_Delete:
        return Key::Delete;
    case Qt::Key_Escape:
        return Key::Escape;
    default:
        break;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) &&
        event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return event.key() - Qt::Key_A + 1;
    const QString text = event.text();
    return !text.isEmpty() && text[0].isPrint() ? text[0].unicode() : 0;
}

FieldEdit::FieldEdit(QWidget* parent, std::function<bool(int)> key, std::function<void()> clicked)
    : QLineEdit(parent)
    , m_key(std::move(key))
    , m_clicked(std::move(clicked)) {}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    const int code = ModelKey(*event);
    // Enter is the reactions' own: it never reaches the field as an edit.
    if (code != 0 && (!m_key(code) || code == Key::Enter)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FieldEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    m_focusByMouse = event->reason() == Qt::MouseFocusReason;
}

void FieldEdit::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    // The press put the caret where it landed, undoing the selection that gaining the focus
    // made; the field gets it back.
    if (m_focusByMouse) {
        m_focusByMouse = false;
        m_clicked();
    }
}

void FieldEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && !m_key(Key::Paste)) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void FieldEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool editable = !isReadOnly();
    const bool selected = hasSelectedText();
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    struct Item {
        const char* text;
        QKeySequence::StandardKey keys;
        int code; // 0: changes no text, so the key reaction is not asked
        bool enabled;
        std::function<void()> act;
    };
    const Item items[] = {
        {"&Undo", QKeySequence::Undo, Key::Undo, editable && isUndoAvailable(), [this] { undo(); }},
        {"&Redo", QKeySequence::Redo, Key::Redo, editable && isRedoAvailable(), [this] { redo(); }},
        {nullptr, {}, 0, false, {}},
        {"Cu&t", QKeySequence::Cut, Key::Cut, editable && selected, [this] { cut(); }},
        {"&Copy", QKeySequence::Copy, 0, selected, [this] { copy(); }},
        {"&Paste", QKeySequence::Paste, Key::Paste, editable && clipboard && clipboard->hasText(),
         [this] { paste(); }},
        {"Delete", QKeySequence::UnknownKey, Key::Delete, editable && selected, [this] { del(); }},
        {nullptr, {}, 0, false, {}},
        {"Select All", QKeySequence::SelectAll, 0, !text().isEmpty(), [this] { selectAll(); }},
    };
    for (const Item& item : items) {
        if (!item.text) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromLatin1(item.text));
        action->setShortcut(QKeySequence(item.keys));
        action->setEnabled(item.enabled);
        connect(action, &QAction::triggered, this, [this, item] {
            if (item.code == 0 || m_key(item.code))
                item.act();
        });
    }
    menu.exec(event->globalPos());
    // Without a window manager nothing hands the activation back once the menu is gone.
    if (!window()->isActiveWindow())
        window()->activateWindow();
}

void FieldEdit::dragEnterEvent(QDragEnterEvent* event) {
    // Files dropped on a field go to the window, which opens them; text goes into the field.
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QLineEdit::dragEnterEvent(event);
}

void FieldEdit::dropEvent(QDropEvent* event) {
    if (!m_key(Key::Paste)) {
        event->ignore();
        return;
    }
    QLineEdit::dropEvent(event);
}

void FieldEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString committed = event->commitString();
    if (!committed.isEmpty() && !m_key(committed[0].unicode())) {
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

} // namespace veldrune
