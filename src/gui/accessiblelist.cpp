#include "gui/accessiblelist.h"

#include <QComboBox>

namespace veldrune {

namespace {

const char* const Adopted = "veldruneAccessibleList";

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    auto* list = qobject_cast<QComboBox*>(object);
    if (className == u"QComboBox" && list && list->property(Adopted).toBool())
        return new AccessibleList(list);
    return nullptr;
}

} // namespace

AccessibleList::AccessibleList(QComboBox* list)
    : QAccessibleWidget(list, QAccessible::ComboBox) {}

QComboBox* AccessibleList::list() const {
    return static_cast<QComboBox*>(widget());
}

QString AccessibleList::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return list()->accessibleName();
    case QAccessible::Value:
        return list()->currentText();
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList AccessibleList::actionNames() const {
    return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
}

void AccessibleList::doAction(const QString& actionName) {
    if (actionName == showMenuAction())
        list()->showPopup();
    else
        QAccessibleWidget::doAction(actionName);
}

void AccessibleList::adopt(QComboBox& list) {
    list.setProperty(Adopted, true);
}

void AccessibleList::install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

} // namespace veldrune
