#include "desktop/BarToggle.h"

#include <QAction>
#include <QEvent>
#include <QWidget>

namespace {

class BarWatcher : public QObject {
public:
    BarWatcher(QAction* action, QWidget* bar) : QObject(action), m_action(action) { bar->installEventFilter(this); }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        // ShowToParent and HideToParent come with every setVisible, also while the
        // window itself is not shown yet.
        const QEvent::Type type = event->type();
        if (type == QEvent::ShowToParent || type == QEvent::HideToParent)
            m_action->setChecked(!static_cast<QWidget*>(object)->isHidden());
        return false;
    }

private:
    QAction* m_action;
};

}  // namespace

void BindBarToggle(QAction* action, QWidget* bar) {
    action->setCheckable(true);
    action->setChecked(!bar->isHidden());
    QObject::connect(action, &QAction::triggered, bar, &QWidget::setVisible);
    new BarWatcher(action, bar);
}
