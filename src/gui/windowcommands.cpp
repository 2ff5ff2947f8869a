#include "gui/windowcommands.h"

#include "app/accessiblenames.h"
#include "app/veldrune.h"
#include "gui/comparetools.h"
#include "gui/qtwindow.h"
#include "platform/platform.h"
#include "window/useractions.h"

#include <QLabel>
#include <QMenu>
#include <QShortcut>

namespace veldrune {

WindowCommands::WindowCommands(QtWindow& window, Veldrune& program)
    : m_window(window)
    , m_program(program)
    , m_files(program) {
    Form1& f = program.form();
    const std::pair<int, QKeySequence> buttons[] = {{0, QKeySequence(Qt::Key_F5)},
                                                    {1, QKeySequence(Qt::CTRL | Qt::Key_P)},
                                                    {2, QKeySequence(Qt::Key_F1)},
                                                    {3, QKeySequence(Qt::CTRL | Qt::Key_L)}};
    for (const auto& [index, keys] : buttons)
        window.addShortcut(f.Command1(index), keys);

    const auto onKeys = [&](const QKeySequence& keys, void (StationFiles::*action)()) {
        auto* shortcut = new QShortcut(keys, &window);
        QObject::connect(shortcut, &QShortcut::activated, &window,
                         [this, action] { m_window.perform([&] { (m_files.*action)(); }); });
    };
    onKeys(QKeySequence::Open, &StationFiles::open);
    onKeys(QKeySequence::Save, &StationFiles::save);
    onKeys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &StationFiles::saveAs);
    window.onFileDropped = [this](const QString& path) { m_files.open(path); };
    window.afterDispatch = [this] { m_files.follow(); };
    // Ctrl+Q closes the window as its close button does, asking about unsaved changes.
    auto* quit = new QShortcut(QKeySequence::Quit, &window);
    QObject::connect(quit, &QShortcut::activated, &window, [this] { m_window.close(); });
    window.onCloseRequested = [this] { return m_files.mayLoseChanges(); };
    window.setAcceptDrops(true);

    auto* compare = new QShortcut(QKeySequence(Qt::Key_F3), &window);
    QObject::connect(compare, &QShortcut::activated, &window, [this] { compareTools(); });
    QWidget* tools = window.widgetFor(f.TOOLLIST);
    tools->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(tools, &QWidget::customContextMenuRequested, tools, [this, tools](QPoint at) {
        QMenu menu(tools);
        menu.addAction(QStringLiteral("Compare tools...\tF3"), [this] { compareTools(); });
        menu.exec(tools->mapToGlobal(at));
    });

    window.setAccessibleNames([&f](const Control& control) { return AccessibleName(f, control); },
                              [&f](const Control& control) { return CaptionOf(f, control); });
}

CompareDialog* WindowCommands::compareTools() {
    auto* dialog = new CompareDialog(m_program, &m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->onPick = [this](const Station& run) {
        m_window.perform([&] { m_files.show(run, QStringLiteral("Compare tools")); });
    };
    dialog->show();
    return dialog;
}

} // namespace veldrune
