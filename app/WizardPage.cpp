#include "app/WizardPage.h"

#include "app/Application.h"

#include <QCloseEvent>
#include <QPushButton>

WizardPage::WizardPage(Application& app, const QString& caption, const QString& name) : app(app)
{
    setObjectName(name);
    setWindowTitle(caption);
}

QPushButton* WizardPage::makeButton(const QString& name, const QString& caption, const QString& tooltip)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setToolTip(tooltip);
    // Keyboard-only entry relies on it: Enter moves to a button, Enter presses it.
    button->setAutoDefault(true);
    return button;
}

QPushButton* WizardPage::makeExitButton()
{
    QPushButton* button = makeButton(QStringLiteral("cmdExit"), "&Exit", "ออกจากโปรแกรม");
    connect(button, &QPushButton::clicked, &app, &Application::ConfirmExit);
    return button;
}

QPushButton* WizardPage::makeHelpButton()
{
    QPushButton* button = makeButton(QStringLiteral("cmdHelp"), "&Help !", "เปิด Help File");
    connect(button, &QPushButton::clicked, &app, &Application::ShowHelp);
    return button;
}

void WizardPage::closeEvent(QCloseEvent* event)
{
    // Closing a window asks the same question as Exit; the page stays whatever the answer, because
    // Yes ends the whole program.
    event->ignore();
    app.ConfirmExit();
}
