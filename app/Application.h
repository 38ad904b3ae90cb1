#pragma once

// Quillet is a wizard of five windows that share one test and one set of results.
//
//   frm1_Info ──Start──> frm2_Source ──Next──> frm2_SourceInput ─> frm3_InputChecker ─> frm4_Stat
//                             └──────────── data file (*.txt) ──────────────────────────────┘
//
// frm1_Info introduces the program. frm2_Source chooses where the data come from: typed in, or a
// prepared data file. frm2_SourceInput takes the key and every examinee's identifier, optional name
// and answers; frm3_InputChecker lists them into InputData.doc for checking. frm4_Stat loads the
// data file when there is one, lets the teacher tick statistics and analyses, runs the analysis
// (Analyse) and writes Result.doc and opens it (Finish).
//
// The Application owns the shared state: the test data (TestData, filled by the entry page or the
// loader) and the results of the last analysis run (AnalysisResults). Pages read and write them
// through it and never reach into each other's widgets, except for the source choice, which the
// analysis page consults. Each window exists at most once; it is created on first use, hidden when
// the wizard moves on, and unloaded (destroyed, so its next showing starts afresh) where the flow
// says so. Everything the desktop provides goes through Platform, which tests replace by a fake.

#include "analysis/AnalysisResults.h"
#include "model/TestData.h"

#include <QDateTime>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <optional>

class Platform;
class QWidget;
class WizardPage;
class frm1_Info;
class frm2_Source;
class frm2_SourceInput;
class frm3_InputChecker;
class frm4_Stat;

// A folder the program can write into: it exists (or can be made) and a file can be created in it.
bool canWriteInto(const QString& folder);

enum class PageId { Info, Source, SourceInput, InputChecker, Stat };

class Application : public QObject {
    Q_OBJECT
public:
    explicit Application(Platform& platform);
    ~Application() override;

    Platform& platform;
    TestData data;
    AnalysisResults results;

    // Start-up: shows the introduction page.
    void Main();

    // Shows a page, creating it first if it is not loaded. A page whose load step refuses to open
    // is discarded again; then nothing is shown and the result is false.
    bool show(PageId id);
    // Hides a loaded page, keeping its state.
    void hide(PageId id);
    // Discards a page: its next showing creates it afresh.
    void unload(PageId id);
    bool isLoaded(PageId id) const;
    bool isVisible(PageId id) const;
    // The page, created (without being shown) if it is not loaded; null when its load step refused.
    WizardPage* load(PageId id);

    frm2_Source& source();
    frm3_InputChecker& inputChecker();

    // Commands of every page.
    void ConfirmExit();
    void ShowHelp();
    bool isEnding() const { return ending_; }

    // New data arrived (a file loaded, a count entered): the list of usable items, which belongs to the
    // data rather than to one analysis run, is emptied.
    void dataReplaced();
    // The data were just read from a data file. A data file holds no names, so those an import gave
    // are filled in when the file is the one it wrote, unchanged since.
    void fileDataLoaded();
    // An import wrote the data file at `path` for examinees with these names, in the file's order.
    void keepImportedNames(const QString& path, const QStringList& names);
    // Before another data file is read: empties the model if it still holds exactly what the last
    // file gave, so that a large class is never held twice. Data the teacher typed are kept, since
    // the next file may be refused.
    void releaseFileData();

    // Where an output file (Result.doc, InputData.doc) is written: in a Quillet folder among the
    // user's documents for an installed program (one whose data folder exists) or when the program's
    // folder cannot be written, otherwise beside the program. The teacher is told once where the
    // files go when they do not go beside the program.
    QString outputPath(const QString& fileName);
    // Shows a warning with the given prompt and the program's error title.
    void warn(const QString& prompt);
    // Tells the teacher something that is not an error.
    void inform(const QString& prompt);

private:
    QPointer<WizardPage>& slot(PageId id);
    const QPointer<WizardPage>& slot(PageId id) const;
    WizardPage* create(PageId id);

    // Puts a page about to be shown where the page it replaces is or was; the first one is centred.
    void place(WizardPage& page);
    void rememberPlace(const WizardPage& page);

    QPointer<WizardPage> pages_[5];
    // Where the last page left was: the top-left corner inside its frame, as a window not yet shown
    // has no frame to place.
    std::optional<QPoint> place_;
    // The examinees as the last data file gave them: shallow copies, sharing the model's texts.
    QStringList fileIDs_, fileNames_;
    AnswerTexts fileAnswers_;
    // The names of the last import, with the data file it wrote as it was then.
    struct ImportedNames {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        QStringList names;
    };
    std::optional<ImportedNames> importedNames_;
    bool ending_ = false;
    bool toldOutputFolder_ = false;
};
