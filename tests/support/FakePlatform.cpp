#include "FakePlatform.h"

#include "report/TextFile.h"

#include <QDir>

FakePlatform::FakePlatform()
{
    programFolderPath = folder_.filePath(QStringLiteral("program"));
    dataFolderPath = folder_.filePath(QStringLiteral("share"));
    documentsFolderPath = folder_.filePath(QStringLiteral("documents"));
    QDir().mkpath(programFolderPath);
}

Platform::Answer FakePlatform::message(const QString& prompt, const QString& title, Icon icon,
                                       Buttons buttons)
{
    messages.append({prompt, title, icon, buttons});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
}

QString FakePlatform::chooseFile(const QString& title, const QString& /*pattern*/)
{
    fileDialogTitles.append(title);
    return filesToChoose.isEmpty() ? QString() : filesToChoose.takeFirst();
}

bool FakePlatform::writeTextFile(const QString& path, const QString& text, TextEncoding encoding,
                                 QString& reason)
{
    filesWritten.append(path);
    return saveTextFile(path, text, encoding, &reason);
}

bool FakePlatform::writeFile(const QString& path, const QByteArray& bytes, QString& reason)
{
    filesWritten.append(path);
    return saveBytes(path, bytes, &reason);
}

bool FakePlatform::openDocument(const QString& path)
{
    documentsOpened.append(path);
    return canOpen;
}

bool FakePlatform::openHelpPage(const QString& path)
{
    helpPagesOpened.append(path);
    return canOpen;
}

bool FakePlatform::openWebPage(const QString& path)
{
    webPagesOpened.append(path);
    return canOpen;
}

QStringList FakePlatform::prompts() const
{
    QStringList shown;
    for (const Message& message : messages)
        shown.append(message.prompt);
    return shown;
}

namespace {
class RecordedProgress final : public Progress {
public:
    RecordedProgress(FakePlatform& platform, qsizetype index) : platform_(platform), index_(index) {}
    ~RecordedProgress() override { platform_.progress[index_].open = false; }

    void advance(qint64 done, qint64 total) override
    {
        platform_.progress[index_].advances.append(QStringLiteral("%1/%2").arg(done).arg(total));
        if (platform_.duringProgress)
            platform_.duringProgress();
    }

private:
    FakePlatform& platform_;
    qsizetype index_;
};
} // namespace

std::unique_ptr<Progress> FakePlatform::showProgress(const QString& caption)
{
    progress.append({caption, {}, true});
    return std::make_unique<RecordedProgress>(*this, progress.size() - 1);
}
