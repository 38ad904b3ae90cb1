#pragma once

#include "FakePlatform.h"
#include "app/Application.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QTest>

// A fresh application on a fake desktop, for window tests.
struct AppFixture {
    FakePlatform platform;
    Application app{platform};

    // The page if it is loaded, else null; never creates it.
    template <class Page> Page* loaded(PageId id)
    {
        return app.isLoaded(id) ? static_cast<Page*>(app.load(id)) : nullptr;
    }
};

// Lets unloaded pages be destroyed, as the event loop would between two clicks.
inline void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Clicks a button as the user would, then lets the event loop settle.
inline void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
}

// Clicks a check box or an option button where its indicator is, as a user would.
inline void tick(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}
