#include "app/QtPlatform.h"

#include "report/TextFile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QWindow>

#include <algorithm>

namespace {
// A message box is as wide as its prompt, and a short Thai prompt leaves the window manager too
// little room for the title, which it then cuts. Room for the title in a bold font, the window's icon
// and its title-bar buttons keeps it whole.
void keepTitleWhole(QMessageBox& box)
{
    QFont font = box.font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int titleBar = metrics.horizontalAdvance(box.windowTitle()) + 4 * metrics.height() + 96;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleBar, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}
} // namespace

Platform::Answer QtPlatform::message(const QString& prompt, const QString& title, Icon icon, Buttons buttons)
{
    // The box belongs to the window the teacher is working in, which gets the keyboard back afterwards
    // even where no window manager hands it back.
    QWidget* window = QApplication::activeWindow();
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::Question, title, prompt,
                    QMessageBox::NoButton, window);
    box.setTextFormat(Qt::PlainText);
    keepTitleWhole(box);
    QPushButton* yes = nullptr;
    if (buttons == Buttons::Ok) {
        box.setDefaultButton(box.addButton(QMessageBox::Ok));
    } else {
        yes = box.addButton(QMessageBox::Yes);
        box.addButton(QMessageBox::No);
        box.setDefaultButton(yes); // the desktop theme would otherwise pick its own default
    }
    box.exec();
    if (window)
        window->activateWindow();
    if (!yes)
        return Answer::Ok;
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

QString QtPlatform::chooseFile(const QString& title, const QString& pattern)
{
    // Shown on the page as the system writes paths (C:\Users\...), not as Qt keeps them.
    return QDir::toNativeSeparators(
        QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(), pattern));
}

QString QtPlatform::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QString QtPlatform::documentsFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

bool QtPlatform::writeTextFile(const QString& path, const QString& text, TextEncoding encoding,
                               QString& reason)
{
    return saveTextFile(path, text, encoding, &reason);
}

bool QtPlatform::writeFile(const QString& path, const QByteArray& bytes, QString& reason)
{
    return saveBytes(path, bytes, &reason);
}

bool QtPlatform::openHelpPage(const QString& path)
{
    return openWebPage(path);
}

bool QtPlatform::openWebPage(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); // the desktop's browser for .html
}

void QtPlatform::endProgram()
{
    QCoreApplication::exit(0);
}

bool QtPlatform::openFolder(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

namespace {

// A window-modal progress dialog without a Cancel button: the work it shows cannot stop half-way.
class ProgressDialog final : public Progress {
public:
    explicit ProgressDialog(const QString& caption)
        : dialog_(caption, QString(), 0, Steps, QApplication::activeWindow())
    {
        dialog_.setWindowTitle(QStringLiteral("โปรดรอสักครู่"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setCancelButton(nullptr);
        dialog_.setMinimumDuration(500);
        dialog_.setAutoReset(false);
        dialog_.setAutoClose(false);
    }

    void advance(qint64 done, qint64 total) override
    {
        if (total <= 0) { // no measure: a busy bar, shown and painted at once
            dialog_.setRange(0, 0);
            dialog_.show();
            // The window system maps a new window a moment later; until then a paint shows nothing.
            QElapsedTimer waited;
            waited.start();
            while (!dialog_.windowHandle()->isExposed() && waited.elapsed() < 250)
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
            dialog_.repaint();
            return;
        }
        // Once shown, each new value lets the window repaint; the dialog shows itself when the
        // work so far promises to take longer than its minimum duration.
        const int step = int(std::clamp<qint64>(done * Steps / total, 0, Steps));
        if (step != dialog_.value())
            dialog_.setValue(step);
    }

private:
    static constexpr int Steps = 100;
    QProgressDialog dialog_;
};

} // namespace

std::unique_ptr<Progress> QtPlatform::showProgress(const QString& caption)
{
    return std::make_unique<ProgressDialog>(caption);
}
