#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace veldrune {

// What assistive technology reads of a pick-only list of the window: the list's own name (its
// caption) as the name, the current entry as the value. Qt's own interface for a list names it
// by its current entry on Linux, so that a screen reader announced the system list as "MVC4800"
// and the period list as "4".
class AccessibleList : public QAccessibleWidget {
public:
    explicit AccessibleList(QComboBox* list);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Marks a list to be read this way; the window's lists are.
    static void adopt(QComboBox& list);
    // Makes Qt ask for this interface for every adopted list; once per program.
    static void install();

private:
    QComboBox* list() const;
};

} // namespace veldrune
