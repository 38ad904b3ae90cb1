#include "app/EnterAsTab.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {
class EnterAsTabFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        // A Tab press, delivered before we return, moves the focus just as the user's Tab would.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(watched, &tab);
        return true;
    }
};
} // namespace

void EnterAsTab(QWidget* box)
{
    box->installEventFilter(new EnterAsTabFilter(box));
}
