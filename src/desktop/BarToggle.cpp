#include "desktop/BarToggle.h"

#include <QAction>
#include <QEvent>
#include <QWidget>

namespace {

class BarWatcher : public QObject {
public:
    BarWatcher(QAction* pAction, QWidget* pBar) : QObject(pAction), m_action(pAction) {
        pBar->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override {
        // ShowToParent and HideToParent come with every setVisible, also while the
        // window itself is not shown yet.
        const QEvent::Type type = pEvent->type();
        if (type == QEvent::ShowToParent || type == QEvent::HideToParent)
            m_action->setChecked(!static_cast<QWidget*>(pObject)->isHidden());
        return false;
    }

private:
    QAction* m_action;
};

}  // namespace

void BindBarToggle(QAction* pAction, QWidget* pBar) {
    pAction->setCheckable(true);
    pAction->setChecked(!pBar->isHidden());
    QObject::connect(pAction, &QAction::triggered, pBar, &QWidget::setVisible);
    new BarWatcher(pAction, pBar);
}
