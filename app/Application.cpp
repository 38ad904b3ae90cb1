#include "app/Application.h"

#include "app/WizardPage.h"
#include "pages/frm1_Info.h"
#include "pages/frm2_Source.h"
#include "pages/frm2_SourceInput.h"
#include "pages/frm3_InputChecker.h"
#include "pages/frm4_Stat.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include <memory>

Application::Application(Platform& platform) : platform(platform) {}

Application::~Application()
{
    for (auto& page : pages_)
        delete page.data();
}

void Application::Main()
{
    // Pages are unloaded before the next one shows: the program ends only through Exit's question.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    show(PageId::Info);
}

QPointer<WizardPage>& Application::slot(PageId id)
{
    return pages_[int(id)];
}

const QPointer<WizardPage>& Application::slot(PageId id) const
{
    return pages_[int(id)];
}

WizardPage* Application::create(PageId id)
{
    switch (id) {
    case PageId::Info:
        return new frm1_Info(*this);
    case PageId::Source:
        return new frm2_Source(*this);
    case PageId::SourceInput:
        return new frm2_SourceInput(*this);
    case PageId::InputChecker:
        return new frm3_InputChecker(*this);
    case PageId::Stat:
        return new frm4_Stat(*this);
    }
    return nullptr;
}

WizardPage* Application::load(PageId id)
{
    QPointer<WizardPage>& page = slot(id);
    if (!page) {
        std::unique_ptr<WizardPage> created(create(id));
        if (!created->Form_Load())
            return nullptr;
        page = created.release();
    }
    return page;
}

bool Application::show(PageId id)
{
    WizardPage* page = load(id);
    if (!page)
        return false;
    if (!page->isVisible())
        place(*page);
    page->show();
    page->raise();
    page->activateWindow();
    return true;
}

void Application::hide(PageId id)
{
    if (WizardPage* page = slot(id)) {
        rememberPlace(*page);
        page->hide();
    }
}

void Application::unload(PageId id)
{
    QPointer<WizardPage>& page = slot(id);
    if (!page)
        return;
    // The page may be unloading itself from one of its own handlers: let that handler return first.
    rememberPlace(*page);
    page->hide();
    page->deleteLater();
    page = nullptr;
}

bool Application::isLoaded(PageId id) const
{
    return !slot(id).isNull();
}

bool Application::isVisible(PageId id) const
{
    return isLoaded(id) && slot(id)->isVisible();
}

// The window manager would put each new window somewhere of its own while the previous one is still
// on the screen, so the wizard would jump about; a position set before showing is kept.
void Application::place(WizardPage& page)
{
    for (const auto& other : pages_)
        if (other && other != &page && other->isVisible())
            rememberPlace(*other);
    if (place_) {
        page.setGeometry(QRect(*place_, page.size()));
        return;
    }
    // Showing grows a page to what its layout needs, so it is centred at that size.
    if (const QScreen* screen = page.screen())
        page.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter,
                                             page.size().expandedTo(page.minimumSizeHint()),
                                             screen->availableGeometry()));
}

void Application::rememberPlace(const WizardPage& page)
{
    if (page.isVisible())
        place_ = page.geometry().topLeft();
}

frm2_Source& Application::source()
{
    return static_cast<frm2_Source&>(*load(PageId::Source));
}

frm3_InputChecker& Application::inputChecker()
{
    return static_cast<frm3_InputChecker&>(*load(PageId::InputChecker));
}

void Application::dataReplaced()
{
    results.UsableItems.clear();
    fileIDs_ = fileNames_ = QStringList();
    fileAnswers_ = AnswerTexts();
}

void Application::fileDataLoaded()
{
    dataReplaced();
    if (importedNames_) {
        const QFileInfo file(data.DataFile);
        const ImportedNames& kept = *importedNames_;
        if (file.absoluteFilePath() == kept.path && file.size() == kept.size &&
            file.lastModified() == kept.modified)
            data.setNames(kept.names);
    }
    fileIDs_ = data.StudID;
    fileNames_ = data.StudName;
    fileAnswers_ = data.StudAns;
}

void Application::keepImportedNames(const QString& path, const QStringList& names)
{
    const QFileInfo file(path);
    importedNames_ = ImportedNames{file.absoluteFilePath(), file.size(), file.lastModified(), names};
}

void Application::releaseFileData()
{
    // The lists compare by their shared storage first, so this costs nothing for a large class.
    const TestData& held = data;
    const bool fromFile = !fileAnswers_.isEmpty() && held.StudID == fileIDs_ && held.StudName == fileNames_ &&
                          held.StudAns == fileAnswers_;
    if (!fromFile)
        return;
    dataReplaced();
    data.NumStud = 0;
    data.StudID = data.StudName = makeTextArray(0);
    data.StudAns = makeTextArray<AnswerText>(0);
    data.AnsMatrix.create(0, data.NumItems);
}
