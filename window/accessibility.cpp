#include "window/accessibility.h"

#include "window/controls.h"
#include "window/fleet_window.h"
#include "window/main_window.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace window {

namespace {

class ComboBoxDescription : public QAccessibleWidget {
public:
    explicit ComboBoxDescription(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::ComboBox)
    {
    }

    // The drop-down list with the entries, then the field the user types into.
    int childCount() const override
    {
        return combo()->lineEdit() ? 2 : 1;
    }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0) {
            auto *box = qobject_cast<ComboBox *>(widget());
            return QAccessible::queryAccessibleInterface(box ? box->namedView() : combo()->view());
        }
        if (index == 1 && combo()->lineEdit())
            return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        if (child->object() == combo()->view())
            return 0;
        if (combo()->lineEdit() && child->object() == combo()->lineEdit())
            return 1;
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        QAccessibleInterface *field = child(1);
        return field && field->rect().contains(x, y) ? field : nullptr;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name) {
            const QString caption = widget()->accessibleName();
            return caption.isEmpty() ? combo()->currentText() : caption;
        }
        if (kind == QAccessible::Value)
            return combo()->currentText();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override
    {
        return {showMenuAction(), pressAction()};
    }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }
    QStringList keyBindingsForAction(const QString &) const override
    {
        return {};
    }

private:
    QComboBox *combo() const
    {
        return static_cast<QComboBox *>(widget());
    }
};

class LinkDescription : public QAccessibleWidget {
public:
    explicit LinkDescription(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return link()->text(); // the address it opens
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            link()->activate();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    LinkLabel *link() const
    {
        return static_cast<LinkLabel *>(widget());
    }
};

QAccessibleInterface *describe(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String(ComboBox::staticMetaObject.className()))
        return new ComboBoxDescription(widget);
    if (className == QLatin1String(LinkLabel::staticMetaObject.className()))
        return new LinkDescription(widget);
    if (className == QLatin1String(MainWindow::staticMetaObject.className())
        || className == QLatin1String(FleetWindow::staticMetaObject.className()))
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(describe);
}

} // namespace window
