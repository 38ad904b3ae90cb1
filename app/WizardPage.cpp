#include "app/WizardPage.h"

#include "app/Application.h"
#include "app/Artwork.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
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

QLabel* WizardPage::makeTitle(const QString& text, const QString& tooltip)
{
    auto* title = new QLabel(text, this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setTextFormat(Qt::PlainText);
    title->setToolTip(tooltip);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    title->setFont(font);
    return title;
}

QHBoxLayout* WizardPage::makeHeading(QLabel* title, const QString& pictureName)
{
    auto* picture = new QLabel(this);
    picture->setObjectName(pictureName);
    picture->setPixmap(answerSheetPicture(64));
    auto* heading = new QHBoxLayout;
    heading->addWidget(picture);
    heading->addWidget(title, 1);
    return heading;
}

QHBoxLayout* WizardPage::makeButtonRow(std::initializer_list<QPushButton*> left,
                                       std::initializer_list<QPushButton*> right)
{
    auto* row = new QHBoxLayout;
    for (QPushButton* button : left)
        row->addWidget(button);
    row->addStretch(1);
    for (QPushButton* button : right)
        row->addWidget(button);
    return row;
}

void WizardPage::closeEvent(QCloseEvent* event)
{
    // Closing a window asks the same question as Exit; the page stays whatever the answer, because
    // Yes ends the whole program.
    event->ignore();
    app.ConfirmExit();
}
