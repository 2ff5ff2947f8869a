#include "gui/qtwindow.h"

#include "gui/accessiblelist.h"
#include "gui/fieldedit.h"
#include "window/twips.h"
#include "window/useractions.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

namespace veldrune {

namespace {

Qt::Alignment toQt(Alignment alignment) {
    switch (alignment) {
    case Alignment::Right:
        return Qt::AlignRight;
    case Alignment::Centre:
        return Qt::AlignHCenter;
    case Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

// One of the program's own icons, which are PNG files. Read as PNG: a reader left to find the
// format itself first loads every image-format plugin installed (and the libraries behind them)
// to ask whether it knows the file, which took longer than making all the window's buttons.
QIcon pngIcon(const char* path) {
    QImageReader reader(QString::fromLatin1(path), "png");
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

QIcon iconFor(int index) {
    static const char* Icons[] = {":/icons/update.png", ":/icons/print.png", ":/icons/about.png",
                                  ":/icons/load.png"};
    return index >= 0 && index < 4 ? pngIcon(Icons[index]) : QIcon();
}

// A picture box's picture with its mark over it: the picture faded, the mark's text in a box
// in its middle, so that what the picture shows is still there to compare.
QPixmap MarkedPicture(const Control& box) {
    QPixmap pixmap = QPixmap::fromImage(box.picture());
    if (box.mark().isEmpty() || pixmap.isNull())
        return pixmap;
    QPainter painter(&pixmap);
    painter.fillRect(pixmap.rect(), QColor(255, 255, 255, 150));
    QFont font = box.font().onScreen();
    font.setBold(true);
    font.setPixelSize(font.pixelSize() * 3 / 2);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QSize text = metrics.size(0, box.mark());
    QRect frame(QPoint(), text + QSize(2 * metrics.height(), metrics.height()));
    frame.moveCenter(pixmap.rect().center());
    painter.setPen(QPen(QColor(0xB0, 0, 0), 2));
    painter.setBrush(QColor(255, 255, 225));
    painter.drawRect(frame);
    painter.drawText(frame, Qt::AlignCenter, box.mark());
    return pixmap;
}

} // namespace

// Draws the window's line controls beneath every other control.
class LineCanvas : public QWidget {
public:
    LineCanvas(const WindowModel& model, QWidget* parent)
        : QWidget(parent)
        , m_model(model) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (const auto& control : m_model.controls()) {
            if (control->kind() != ControlKind::Line || !control->visible())
                continue;
            const ControlDesign& d = control->design();
            QColor colour = control->foreColour().toQColor();
            if (!colour.isValid())
                colour = Qt::black;
            painter.setPen(QPen(colour, d.lineWidth, Qt::SolidLine, Qt::FlatCap));
            const double s = 1.0 / TwipsPerPixel;
            painter.drawLine(QPointF(d.line.x1 * s, d.line.y1 * s),
                             QPointF(d.line.x2 * s, d.line.y2 * s));
        }
    }

private:
    const WindowModel& m_model;
};

QtWindow::QtWindow(WindowModel& model, bool mainWindow)
    : m_model(model)
    , m_mainWindow(mainWindow) {
    setWindowIcon(pngIcon(":/icons/veldrune.png"));
    // Every control sits at its own place in twips, whatever the language: a right-to-left
    // locale does not mirror the window, its fields or its lists.
    setLayoutDirection(Qt::LeftToRight);
    setAttribute(Qt::WA_DeleteOnClose, false);
    AccessibleList::install();
    build();
    m_model.setObserver(this);
    m_focusConnection = connect(qApp, &QApplication::focusChanged, this,
                                [this](QWidget*, QWidget* now) { onFocusChanged(now); });
}

QtWindow::~QtWindow() {
    // The child widgets lose the focus while the base class destroys them.
    disconnect(m_focusConnection);
    if (m_model.observer() == this)
        m_model.setObserver(nullptr);
}

void QtWindow::build() {
    setFont(m_model.font().onScreen());
    windowChanged(WindowProperty::Caption);
    // The controls sit on a page of the layout's size, in a scroll area that shows all of it
    // whenever the screen has room, and scrolls where it has not.
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    m_page = new QWidget;
    m_scroll->setWidget(m_page);
    m_canvas = new LineCanvas(m_model, m_page);
    m_canvas->lower();
    for (const auto& control : m_model.controls()) {
        QWidget* parent = m_page;
        if (Control* container = control->container())
            parent = widgetFor(*container);
        if (QWidget* widget = create(*control, parent)) {
            m_widgets[control.get()] = widget;
            m_controls[widget] = control.get();
            applyAll(*control);
        }
    }
    applyGeometry();
    // The model may have started before its window was made: the window shows it as it is.
    windowChanged(WindowProperty::Pointer);
    m_modelFocus = m_model.focused();
}

QWidget* QtWindow::create(Control& control, QWidget* parent) {
    switch (control.kind()) {
    case ControlKind::Caption: {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        if (control.design().border) {
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
            label->setLineWidth(1);
        }
        return label;
    }
    case ControlKind::Entry: {
        auto key = [this, &control](int code) {
            bool accepted = true;
            dispatch([&] { accepted = m_model.keyPress(control, code); });
            return accepted;
        };
        auto clicked = [this, &control] {
            if (m_model.focused() == &control)
                controlChanged(control, Property::Selection);
        };
        auto* edit = new FieldEdit(parent, key, clicked);
        connect(edit, &QLineEdit::textEdited, this, [this, &control](const QString& text) {
            dispatch([&] { m_model.typeText(control, text); });
        });
        return edit;
    }
    case ControlKind::DropDownList: {
        auto* list = new QComboBox(parent);
        list->setEditable(false);
        AccessibleList::adopt(*list);
        connect(list, &QComboBox::activated, this,
                [this, &control](int index) { dispatch([&] { m_model.pick(control, index); }); });
        return list;
    }
    case ControlKind::Frame: {
        // The caption sits in the frame's top line, and the controls inside keep their
        // places measured from the frame's outer corner.
        auto* frame = new QGroupBox(parent);
        frame->setStyleSheet(QStringLiteral(
            "QGroupBox { border: 1px solid palette(mid); margin-top: 7px; padding: 0; }"
            "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
            " left: 6px; padding: 0 2px; }"));
        return frame;
    }
    case ControlKind::OptionButton: {
        // Exclusive, as assistive technology tells radio buttons from check boxes by it; the
        // model still decides which option is on (see apply).
        auto* option = new QRadioButton(parent);
        connect(option, &QRadioButton::clicked, this, [this, &control] {
            dispatch([&] { m_model.click(control); });
            // A click on the option that is already on must not switch it off.
            controlChanged(control, Property::Value);
        });
        return option;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(parent);
        connect(box, &QCheckBox::clicked, this,
                [this, &control] { dispatch([&] { m_model.click(control); }); });
        return box;
    }
    case ControlKind::PictureButton:
    case ControlKind::Button: {
        QAbstractButton* button = nullptr;
        if (control.kind() == ControlKind::PictureButton) {
            auto* tool = new QToolButton(parent);
            tool->setIcon(iconFor(control.index()));
            tool->setIconSize(QSize(32, 32));
            button = tool;
        } else {
            button = new QPushButton(parent);
        }
        button->setFocusPolicy(Qt::StrongFocus);
        connect(button, &QAbstractButton::clicked, this,
                [this, &control] { dispatch([&] { m_model.click(control); }); });
        return button;
    }
    case ControlKind::PictureBox: {
        auto* picture = new QLabel(parent);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->setFocusPolicy(Qt::StrongFocus);
        return picture;
    }
    case ControlKind::Line:
    case ControlKind::FileList:
    case ControlKind::CommonDialog:
        break;
    }
    return nullptr;
}

QWidget* QtWindow::widgetFor(const Control& control) const {
    const auto it = m_widgets.find(&control);
    return it == m_widgets.end() ? nullptr : it->second;
}

void QtWindow::applyAll(const Control& control) {
    for (Property p : {Property::Place, Property::Font, Property::Entries, Property::ListIndex,
                       Property::Text, Property::Alignment, Property::BackColour,
                       Property::ForeColour, Property::Value, Property::Enabled, Property::Visible})
        apply(control, p);
    if (!control.picture().isNull())
        apply(control, Property::Picture);
    // Sized and checked for clipping once, by the final place, font and text: measuring a
    // text is the dearest step of making a widget.
    fitText(control);
}

void QtWindow::controlChanged(const Control& control, Property property) {
    if (control.kind() == ControlKind::Line) {
        if (m_canvas)
            m_canvas->update();
        return;
    }
    apply(control, property);
    switch (property) {
    case Property::Text:
    case Property::Font:
    case Property::Place:
    case Property::ToolTip:
        fitText(control);
        break;
    default:
        break;
    }
}

void QtWindow::fitText(const Control& control) {
    if (control.kind() == ControlKind::Caption && control.design().autoSize) {
        if (auto* label = qobject_cast<QLabel*>(widgetFor(control)))
            label->adjustSize();
    }
    updateToolTip(control);
}

void QtWindow::apply(const Control& control, Property property) {
    QWidget* widget = widgetFor(control);
    if (!widget)
        return;
    const QSignalBlocker blocker(widget);
    auto* label = qobject_cast<QLabel*>(widget);
    auto* edit = qobject_cast<QLineEdit*>(widget);
    auto* list = qobject_cast<QComboBox*>(widget);
    auto* button = qobject_cast<QAbstractButton*>(widget);
    switch (property) {
    case Property::Text:
        if (label && control.kind() == ControlKind::Caption) {
            label->setText(control.text());
        } else if (edit) {
            if (edit->text() != control.text())
                edit->setText(control.text());
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            frame->setTitle(control.text());
        } else if (button && control.kind() != ControlKind::PictureButton) {
            button->setText(control.text());
        }
        break;
    case Property::Visible:
        widget->setVisible(control.visible());
        break;
    case Property::Enabled:
        widget->setEnabled(control.enabled());
        break;
    case Property::Entries:
        if (list) {
            list->clear();
            list->addItems(control.entries());
            list->setCurrentIndex(control.listIndex());
        }
        break;
    case Property::ListIndex:
        if (list)
            list->setCurrentIndex(control.listIndex());
        break;
    case Property::Value:
        if (button && button->autoExclusive() && !control.value()) {
            // An exclusive button that is on refuses to be switched off by itself.
            button->setAutoExclusive(false);
            button->setChecked(false);
            button->setAutoExclusive(true);
        } else if (button) {
            button->setChecked(control.value());
        }
        break;
    case Property::Alignment:
        if (label)
            label->setAlignment(toQt(control.alignment()) |
                                (control.design().border ? Qt::AlignVCenter : Qt::AlignTop));
        else if (edit)
            edit->setAlignment(toQt(control.alignment()) | Qt::AlignVCenter);
        break;
    case Property::BackColour:
    case Property::ForeColour: {
        QPalette palette =
            widget->parentWidget() ? widget->parentWidget()->palette() : widget->palette();
        const QColor back = control.backColour().toQColor();
        const QColor fore = control.foreColour().toQColor();
        if (back.isValid()) {
            palette.setColor(QPalette::Base, back);
            palette.setColor(QPalette::Window, back);
            widget->setAutoFillBackground(label != nullptr);
        }
        if (fore.isValid()) {
            palette.setColor(QPalette::Text, fore);
            palette.setColor(QPalette::WindowText, fore);
        }
        widget->setPalette(palette);
        break;
    }
    case Property::Font:
        widget->setFont(control.font().onScreen());
        break;
    case Property::Selection:
        if (edit)
            edit->setSelection(control.selectionStart(), control.selectionLength());
        break;
    case Property::Place: {
        const Rect& r = control.place();
        widget->setGeometry(toPixels(r.left), toPixels(r.top), toPixels(r.width),
                            toPixels(r.height));
        break;
    }
    case Property::ToolTip:
        break; // fitText sets it
    case Property::Picture:
    case Property::Mark:
        // The box shows the picture the model keeps, whatever covers and uncovers it.
        if (label && control.kind() == ControlKind::PictureBox)
            label->setPixmap(MarkedPicture(control));
        break;
    }
}

void QtWindow::windowChanged(WindowProperty property) {
    switch (property) {
    case WindowProperty::Caption:
    case WindowProperty::Modified: {
        // Qt's placeholder, which shows the system's mark for unsaved changes while the
        // window is modified; a "[*]" of the caption's own stays as written.
        QString title = m_model.caption();
        title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
        setWindowTitle(title + QStringLiteral("[*]"));
        setWindowModified(m_model.modified());
        break;
    }
    case WindowProperty::Geometry:
        applyGeometry();
        break;
    case WindowProperty::Pointer:
        if (m_model.pointer() == MousePointer::Busy)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
        break;
    case WindowProperty::Font:
        setFont(m_model.font().onScreen());
        break;
    case WindowProperty::Visible:
        if (m_model.visible() != isVisible())
            setVisible(m_model.visible());
        break;
    }
}

void QtWindow::applyGeometry() {
    const QSize layout(toPixels(m_model.clientWidth()), toPixels(m_model.clientHeight()));
    m_page->setFixedSize(layout);
    m_canvas->setGeometry(m_page->rect());
    // The room the screen has for the client area, the window's frame and the desktop's panels
    // taken off: as the window system reports the frame once it has drawn one, as the layout
    // assumes it before.
    const QSize frame = m_frame.isValid()
                            ? m_frame
                            : QSize(toPixels(m_model.outerWidth()) - layout.width(),
                                    toPixels(m_model.outerHeight()) - layout.height());
    const QRect screen = this->screen()->availableGeometry();
    const QSize room = (screen.size() - frame).expandedTo(QSize(320, 240));
    // A side that does not fit scrolls, and the other side makes room for the scroll bar.
    const int bar = m_scroll->verticalScrollBar()->sizeHint().width();
    QSize client = layout;
    if (layout.height() > room.height())
        client = QSize(layout.width() + bar, room.height());
    if (client.width() > room.width())
        client = QSize(room.width(), std::min(client.height() + bar, room.height()));
    setFixedSize(client);
    m_scroll->setGeometry(rect());
    QPoint at(toPixels(m_model.left()), toPixels(m_model.top()));
    if (client != layout) { // kept on the screen, its top-left corner first
        at.setX(std::max(screen.left(),
                         std::min(at.x(), screen.right() + 1 - client.width() - frame.width())));
        at.setY(std::max(screen.top(),
                         std::min(at.y(), screen.bottom() + 1 - client.height() - frame.height())));
    }
    move(at);
}

void QtWindow::updateToolTip(const Control& control) {
    QWidget* widget = widgetFor(control);
    if (!widget)
        return;
    // A text wider than its control shows whole in a tooltip.
    int room = 0;
    if (auto* label = qobject_cast<QLabel*>(widget); label && !control.design().autoSize)
        room = label->contentsRect().width() - 2 * label->margin();
    else if (qobject_cast<QLineEdit*>(widget))
        room = widget->width() - 8; // the frame and the text margins of an entry field
    const QString text = control.text();
    const bool clipped = room > 0 && !text.trimmed().isEmpty() &&
                         widget->fontMetrics().horizontalAdvance(text) > room;
    QString tip = clipped ? text : control.toolTip();
    if (const auto keys = m_keys.find(&control); keys != m_keys.end())
        tip += QStringLiteral(" (") + keys->second.toString(QKeySequence::NativeText) + u')';
    widget->setToolTip(tip);
    // A picture's tooltip tells in words what it shows.
    if (control.kind() == ControlKind::PictureBox)
        widget->setAccessibleDescription(control.toolTip());
}

void QtWindow::addShortcut(Control& button, const QKeySequence& keys) {
    m_keys[&button] = keys;
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this,
            [this, &button] { dispatch([&] { PressButton(m_model, button); }); });
    updateToolTip(button);
}

void QtWindow::setAccessibleNames(std::function<QString(const Control&)> name,
                                  std::function<const Control*(const Control&)> captionOf) {
    m_name = std::move(name);
    relateCaptions(captionOf);
    // Named once the window is up: nothing reads the names before, and naming every widget
    // would only make the window appear later.
    QTimer::singleShot(0, this, [this] { updateNames(); });
}

void QtWindow::relateCaptions(const std::function<const Control*(const Control&)>& captionOf) {
    // A caption beside its field labels it, the relation by which a screen reader names a
    // field. Every field and list has one: where its caption is not a label of its own beside
    // it (an option button names the field after it, one caption serves a field and the unit
    // list, a list has no caption on screen) a label that is never shown stands in, named as
    // the control is.
    for (const auto& control : m_model.controls()) {
        QWidget* widget = widgetFor(*control);
        const Control* caption = captionOf ? captionOf(*control) : nullptr;
        auto* label = caption ? qobject_cast<QLabel*>(widgetFor(*caption)) : nullptr;
        if (label && caption->kind() == ControlKind::Caption && !label->buddy() &&
            label->parentWidget() == widget->parentWidget()) {
            label->setBuddy(widget);
        } else if (control->kind() == ControlKind::Entry ||
                   control->kind() == ControlKind::DropDownList) {
            auto* standIn = new QLabel(widget->parentWidget());
            standIn->hide();
            standIn->setBuddy(widget);
            m_standIns[control.get()] = standIn;
        }
    }
}

void QtWindow::updateNames() {
    if (!m_name)
        return;
    for (const auto& [control, widget] : m_widgets) {
        const QString name = m_name(*control);
        if (widget->accessibleName() != name)
            widget->setAccessibleName(name);
    }
    for (const auto& [control, standIn] : m_standIns) {
        if (standIn->text() != m_widgets[control]->accessibleName())
            standIn->setText(m_widgets[control]->accessibleName());
    }
}

void QtWindow::measureFrame() {
    if (!isVisible())
        return;
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame == m_frame)
        return;
    m_frame = frame;
    applyGeometry();
    m_model.setFrameExtent(frame.width() * TwipsPerPixel, frame.height() * TwipsPerPixel);
    if (onFrameChanged)
        onFrameChanged();
}

void QtWindow::focusChanged(const Control* control) {
    // A field shows its selection only while it has the focus. The real focus follows once
    // the model's reactions are done (syncFocus); without a window manager Qt may not report
    // that move as a focus change, so the old field is cleared here.
    if (m_modelFocus) {
        if (auto* edit = qobject_cast<QLineEdit*>(widgetFor(*m_modelFocus)))
            edit->deselect();
    }
    m_modelFocus = control;
}

void QtWindow::onFocusChanged(QWidget* now) {
    if (m_syncing || m_model.reacting() || !now)
        return;
    const auto it = m_controls.find(now);
    if (it == m_controls.end())
        return;
    Control& control = *it->second;
    dispatch([&] { m_model.moveFocus(control); });
}

namespace {

// The station file a drag carries: its one local file ending in .json, or nothing.
QString DraggedStation(const QMimeData* data) {
    if (!data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    return path.endsWith(u".json", Qt::CaseInsensitive) ? path : QString();
}

} // namespace

void QtWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (onFileDropped && !DraggedStation(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void QtWindow::dropEvent(QDropEvent* event) {
    const QString path = DraggedStation(event->mimeData());
    if (!onFileDropped || path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The drop's own event loop ends first; then the file opens, message boxes and all.
    QTimer::singleShot(0, this, [this, path] {
        activateWindow();
        dispatch([this, path] { onFileDropped(path); });
    });
}

void QtWindow::dispatch(const std::function<void()>& event) {
    event();
    if (afterDispatch)
        afterDispatch();
    syncFocus();
    updateNames();
}

void QtWindow::showFocus() {
    // Every control shows that it has the focus, not only after the keyboard moved it there:
    // the next arrow key must not change a list unseen. Showing the window clears the flag.
    if (testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    setAttribute(Qt::WA_KeyboardFocusChange);
    if (QWidget* focused = focusWidget())
        focused->update();
}

void QtWindow::syncFocus() {
    showFocus();
    const Control* focused = m_model.focused();
    QWidget* widget = focused ? widgetFor(*focused) : nullptr;
    if (!widget || !isVisible())
        return;
    widget->update();
    m_scroll->ensureWidgetVisible(widget); // the keyboard reaches every control
    if (widget->hasFocus())
        return;
    m_syncing = true;
    widget->setFocus(Qt::OtherFocusReason);
    m_syncing = false;
}

bool QtWindow::focusNextPrevChild(bool next) {
    if (Control* target = m_model.nextInTabOrder(m_model.focused(), !next))
        dispatch([&] { m_model.moveFocus(*target); });
    return true;
}

void QtWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        showFocus();
    if (event->type() == QEvent::WindowStateChange) {
        m_model.setState(isMinimized()   ? WindowState::Minimised
                         : isMaximized() ? WindowState::Maximised
                                         : WindowState::Normal);
    }
}

void QtWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_model.setVisible(true);
    syncFocus();
    measureFrame();
}

void QtWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // A window manager reports its frame once it has put the window into it.
    measureFrame();
}

void QtWindow::closeEvent(QCloseEvent* event) {
    bool close = true;
    if (onCloseRequested)
        dispatch([&] { close = onCloseRequested(); });
    if (!close) {
        event->ignore();
        return;
    }
    event->accept();
    if (!m_mainWindow) {
        m_model.setVisible(false);
        if (onClosed)
            onClosed();
        return;
    }
    // Closing the main window ends the program, taking every other window with it.
    QApplication::quit();
}

} // namespace veldrune
