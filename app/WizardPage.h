#pragma once

#include <QWidget>

#include <initializer_list>

class Application;
class QHBoxLayout;
class QLabel;
class QPushButton;

// What the five windows have in common: a caption, a heading of the program's picture and a bold
// title, Exit and Help buttons that behave the same everywhere, buttons that Enter presses as well
// as Space, and a close control that asks before ending the program.
class WizardPage : public QWidget {
    Q_OBJECT
public:
    WizardPage(Application& app, const QString& caption, const QString& name);

    // The page's load step, run once each time the page is created. A page that cannot open on the
    // current data returns false and is discarded without being shown.
    virtual bool Form_Load() { return true; }

protected:
    // A button carrying its control name as objectName; Enter presses it when it has the focus.
    QPushButton* makeButton(const QString& name, const QString& caption, const QString& tooltip = {});
    // The Exit and Help buttons of every page, already connected to the common commands.
    QPushButton* makeExitButton();
    QPushButton* makeHelpButton();
    // The page's title, Label1: plain text, bold and larger than the rest.
    QLabel* makeTitle(const QString& text, const QString& tooltip);
    // The program's picture beside the title, which takes the rest of the row.
    QHBoxLayout* makeHeading(QLabel* title, const QString& pictureName = {});
    // The bottom row: `left` (Help and Exit), then room, then the page's own buttons.
    static QHBoxLayout* makeButtonRow(std::initializer_list<QPushButton*> left,
                                      std::initializer_list<QPushButton*> right);

    void closeEvent(QCloseEvent* event) override;

    Application& app;
};
