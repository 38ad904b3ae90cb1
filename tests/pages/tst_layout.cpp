// Every window shows its Thai texts whole in the size it opens with, in the Thai font the program
// chooses: no caption is squeezed below the width it needs and no wrapped text is cut off at the
// bottom. CTest runs it at 100 % and again with QT_SCALE_FACTOR=2.
#include "AppFixture.h"
#include "TestFiles.h"
#include "app/ThaiFont.h"
#include "pages/ImportDialog.h"
#include "pages/frm2_Source.h"
#include "pages/frm2_SourceInput.h"
#include "pages/frm3_InputChecker.h"
#include "pages/frm4_Stat.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

Q_DECLARE_METATYPE(PageId)

namespace {
// The visible texts of a window that do not fit the room their layout gives them.
QStringList clippedTexts(const QWidget* window)
{
    QStringList clipped;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        const QSize size = widget->size();
        QString text;
        bool fits = true;
        if (auto* label = qobject_cast<const QLabel*>(widget)) {
            text = label->text();
            fits = label->wordWrap() ? size.height() >= label->heightForWidth(size.width())
                                     : size.width() >= label->sizeHint().width() &&
                                           size.height() >= label->sizeHint().height();
        } else if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            text = button->text();
            fits = size.width() >= button->sizeHint().width() && size.height() >= button->sizeHint().height();
        }
        if (!fits)
            clipped.append(QStringLiteral("%1 \"%2\" (%3 x %4)")
                               .arg(widget->objectName(), text.left(40))
                               .arg(size.width())
                               .arg(size.height()));
    }
    return clipped;
}
} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> f;

    // Shows a page with every text it can show: names asked for, the choice count offered.
    QWidget* showFully(PageId id)
    {
        f->app.data.DataFile = examplePath(QStringLiteral("class-4choices.txt"));
        f->app.show(id);
        if (id == PageId::SourceInput)
            f->loaded<frm2_SourceInput>(id)->optName[1]->click();
        if (id == PageId::InputChecker)
            f->app.inputChecker().showSkipHint();
        if (id == PageId::Stat)
            f->loaded<frm4_Stat>(id)->chkAnalyse[AnalyseBox::Distractors]->setChecked(true);
        settle();
        return f->app.load(id);
    }

private slots:
    void initTestCase()
    {
        useThaiFont();
        QVERIFY2(QApplication::font().family() == QLatin1String("Waree"),
                 "the Thai fonts of fonts-thai-tlwg are missing");
    }
    void init() { f = std::make_unique<AppFixture>(); }
    void cleanup()
    {
        f.reset();
        settle();
    }

    void textsFit_data()
    {
        QTest::addColumn<PageId>("page");
        QTest::newRow("nothing on the introduction page is cut off") << PageId::Info;
        QTest::newRow("nothing on the source page is cut off") << PageId::Source;
        QTest::newRow("nothing on the entry page asking for names is cut off") << PageId::SourceInput;
        QTest::newRow("nothing on the checking page is cut off") << PageId::InputChecker;
        QTest::newRow("nothing on the analysis page offering the choice count is cut off") << PageId::Stat;
    }
    void textsFit()
    {
        QFETCH(PageId, page);
        const QStringList clipped = clippedTexts(showFully(page));
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
    }

    // The import dialog showing an error, which takes room from the fields above it.
    void nothingInTheImportDialogShowingAnErrorIsCutOff()
    {
        const QTemporaryDir folder;
        writeBytes(folder.filePath(QStringLiteral("class.csv")), "id,name,q1,q2,q3\r\n01,Anan,1,2,3\r\n");
        f->platform.filesToChoose = {folder.filePath(QStringLiteral("class.csv"))};
        f->app.show(PageId::Source);
        click(f->loaded<frm2_Source>(PageId::Source)->cmdBrowse);
        auto* dialog = f->app.load(PageId::Source)->findChild<ImportDialog*>();
        QVERIFY(dialog && dialog->lblError->isVisible());
        const QStringList clipped = clippedTexts(dialog);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
    }

    // Texts laid out line by line with their own breaks and indents: these lines never wrap.
    void linesStayWhole_data()
    {
        QTest::addColumn<PageId>("page");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("lines"); // the first lines that must stay whole
        QTest::newRow("the introduction keeps every line whole") << PageId::Info << "Label1" << 12;
        QTest::newRow("the source page wraps only the paragraph after the numbered ways")
            << PageId::Source << "Label2" << 3;
    }
    void linesStayWhole()
    {
        QFETCH(PageId, page);
        QFETCH(QString, label);
        QFETCH(int, lines);
        const auto* text = showFully(page)->findChild<QLabel*>(label);
        const QFontMetricsF metrics(text->font());
        for (const QString& line : text->text().split(QStringLiteral("\r\n")).mid(0, lines))
            QVERIFY2(metrics.horizontalAdvance(line) <= text->contentsRect().width(), qPrintable(line));
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
