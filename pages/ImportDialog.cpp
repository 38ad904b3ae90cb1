#include "pages/ImportDialog.h"

#include "app/Application.h"
#include "app/Artwork.h"
#include "app/EnterAsTab.h"
#include "app/Platform.h"
#include "import/ColumnList.h"
#include "model/Progress.h"
#include "school/PupilList.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {
// A spreadsheet large enough for its import to need a sign of life.
constexpr qint64 LongImport = 4 * 1024 * 1024;
// A preview column is at most this many characters wide: question texts make long headers.
constexpr int PreviewColumnChars = 14;

const QString NotAColumn = QStringLiteral("'%1' ไม่ใช่คอลัมน์ (เขียนแบบ B, E-AR, C,D หรือเลขคอลัมน์นับจาก 1)");

QLineEdit* makeField(const QString& name, const QString& tooltip, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setToolTip(tooltip);
    // Enter moves on to the next field, which takes the change, rather than pressing OK.
    EnterAsTab(field);
    return field;
}

QLabel* fieldLabel(const QString& text, QWidget* field, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    return label;
}

// Whether the file at `path` holds exactly `bytes`.
bool holdsBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.size() == bytes.size() && file.open(QIODevice::ReadOnly) &&
           file.readAll() == bytes;
}
} // namespace

ImportDialog::ImportDialog(Application& app, const QString& sourcePath, QWidget* parent)
    : QDialog(parent), app(app), source_(sourcePath)
{
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(R"qlt( // Quillet \\->  นำเข้าข้อมูลจากตาราง)qlt");

    lblTitle = new QLabel(QStringLiteral("นำเข้าข้อมูลจากแฟ้ม  %1").arg(QFileInfo(sourcePath).fileName()), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setTextFormat(Qt::PlainText);
    QFont bold = lblTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    lblTitle->setFont(bold);

    auto* previewBox = new QGroupBox(QStringLiteral("ข้อมูลแถวแรก ๆ ในแฟ้ม (เลขแถวและชื่อคอลัมน์ตามตาราง)"), this);
    tblPreview = new QTableWidget(previewBox);
    tblPreview->setObjectName(QStringLiteral("tblPreview"));
    tblPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPreview->setTabKeyNavigation(false);
    tblPreview->setWordWrap(false);
    tblPreview->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblPreview->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tblPreview->horizontalHeader()->setMaximumSectionSize(fontMetrics().averageCharWidth() *
                                                          PreviewColumnChars);
    (new QVBoxLayout(previewBox))->addWidget(tblPreview);

    auto* columnsBox = new QGroupBox(QStringLiteral("คอลัมน์และเฉลย"), this);
    lblLayout = new QLabel(columnsBox);
    lblLayout->setObjectName(QStringLiteral("lblLayout"));
    const QString columnsTip = QStringLiteral("พิมพ์ชื่อคอลัมน์ตามตาราง เช่น B, E-AR หรือ C,D แล้วกด Enter");
    txtIdColumn = makeField(QStringLiteral("txtIdColumn"), columnsTip, columnsBox);
    txtNameColumns = makeField(QStringLiteral("txtNameColumns"),
                               QStringLiteral("คอลัมน์ชื่อ หรือคอลัมน์ชื่อกับนามสกุล เช่น C หรือ C,D"), columnsBox);
    txtAnswerColumns = makeField(QStringLiteral("txtAnswerColumns"), columnsTip, columnsBox);
    txtKeyRow = makeField(QStringLiteral("txtKeyRow"),
                          QStringLiteral("เลขแถวของเฉลยในตาราง (แถวหัวตารางคือแถว 1)"), columnsBox);
    txtKey = makeField(QStringLiteral("txtKey"),
                       QStringLiteral("เมื่อตารางไม่มีแถวเฉลย: พิมพ์เฉลยเป็นตัวเลือกติดกันข้อละ 1 ตัว"), columnsBox);
    txtKey->setPlaceholderText(QStringLiteral("เช่น 24311"));
    txtRoomColumn =
        makeField(QStringLiteral("txtRoomColumn"),
                  QStringLiteral("เมื่อตารางมีหลายห้อง: คอลัมน์ห้องของผู้สอบ เพื่อเปรียบเทียบรายห้องในรายงานวิเคราะห์รายข้อ"),
                  columnsBox);
    txtFormColumn = makeField(QStringLiteral("txtFormColumn"),
                              QStringLiteral("เมื่อข้อสอบมีหลายชุด: คอลัมน์รหัสชุดของผู้สอบ (ใช้กับแฟ้มชุดข้อสอบข้างแฟ้มข้อมูล)"),
                              columnsBox);
    for (QLineEdit* field : fields())
        connect(field, &QLineEdit::editingFinished, this, &ImportDialog::fieldsEdited);

    cboSheet = new QComboBox(columnsBox);
    cboSheet->setObjectName(QStringLiteral("cboSheet"));
    cboSheet->setToolTip(QStringLiteral("แผ่นงานในแฟ้มที่จะนำเข้า"));
    connect(cboSheet, &QComboBox::activated, this, &ImportDialog::sheetChosen);
    lblSheet = fieldLabel(QStringLiteral("แผ่นงาน"), cboSheet, columnsBox);

    auto* fields = new QGridLayout(columnsBox);
    fields->addWidget(new QLabel(QStringLiteral("รูปแบบที่พบ"), columnsBox), 0, 0);
    fields->addWidget(lblLayout, 0, 1, 1, 3);
    fields->addWidget(lblSheet, 0, 4);
    fields->addWidget(cboSheet, 0, 5);
    fields->addWidget(fieldLabel(QStringLiteral("คอลัมน์รหัสผู้สอบ"), txtIdColumn, columnsBox), 1, 0);
    fields->addWidget(txtIdColumn, 1, 1);
    fields->addWidget(fieldLabel(QStringLiteral("คอลัมน์ชื่อ"), txtNameColumns, columnsBox), 1, 2);
    fields->addWidget(txtNameColumns, 1, 3);
    fields->addWidget(fieldLabel(QStringLiteral("คอลัมน์คำตอบ"), txtAnswerColumns, columnsBox), 1, 4);
    fields->addWidget(txtAnswerColumns, 1, 5);
    fields->addWidget(fieldLabel(QStringLiteral("แถวเฉลย"), txtKeyRow, columnsBox), 2, 0);
    fields->addWidget(txtKeyRow, 2, 1);
    fields->addWidget(fieldLabel(QStringLiteral("หรือพิมพ์เฉลย"), txtKey, columnsBox), 2, 2);
    fields->addWidget(txtKey, 2, 3, 1, 3);
    fields->addWidget(fieldLabel(QStringLiteral("คอลัมน์ห้อง"), txtRoomColumn, columnsBox), 3, 0);
    fields->addWidget(txtRoomColumn, 3, 1);
    fields->addWidget(fieldLabel(QStringLiteral("คอลัมน์ชุด"), txtFormColumn, columnsBox), 3, 2);
    fields->addWidget(txtFormColumn, 3, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    fields->setColumnStretch(5, 2);

    lblError = new QLabel(this);
    lblError->setObjectName(QStringLiteral("lblError"));
    lblError->setTextFormat(Qt::PlainText);
    lblError->setWordWrap(true);
    QPalette alarm = lblError->palette();
    alarm.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
    lblError->setPalette(alarm);
    lblError->setVisible(false);

    auto* summaryBox = new QGroupBox(QStringLiteral("ผลการนำเข้า"), this);
    txtSummary = new QPlainTextEdit(summaryBox);
    txtSummary->setObjectName(QStringLiteral("txtSummary"));
    txtSummary->setReadOnly(true);
    txtSummary->setTabChangesFocus(true);
    (new QVBoxLayout(summaryBox))->addWidget(txtSummary);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("บันทึกเป็นแฟ้มข้อมูล (*.txt) ข้างแฟ้มนี้ แล้วใช้แฟ้มนั้นวิเคราะห์"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setToolTip(QStringLiteral("ยกเลิกการนำเข้า"));
    // No default button: Enter presses only the button that has the focus, as on the pages.
    for (QPushButton* button : {cmdOK, cmdCancel})
        button->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &ImportDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &ImportDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* dialog = new QVBoxLayout(this);
    dialog->addWidget(lblTitle);
    dialog->addWidget(previewBox, 1);
    dialog->addWidget(columnsBox);
    dialog->addWidget(lblError);
    dialog->addWidget(summaryBox, 1);
    dialog->addWidget(makeDivider(this));
    dialog->addLayout(buttons);

    const QList<QWidget*> order = {txtIdColumn, txtNameColumns, txtAnswerColumns, txtKeyRow,
                                   txtKey,      txtRoomColumn,  txtFormColumn,    cmdOK,
                                   cmdCancel,   tblPreview,     txtSummary};
    for (int index = 1; index < order.size(); ++index)
        setTabOrder(order[index - 1], order[index]);
    resize(800, 680);

    runImport();
}

void ImportDialog::runImport()
{
    {
        std::unique_ptr<Progress> busy;
        if (QFileInfo(source_).size() > LongImport) {
            busy = app.platform.showProgress(
                QStringLiteral("กำลังนำเข้าแฟ้ม %1 ...").arg(QDir::toNativeSeparators(source_)));
            busy->advance(0, 0);
        }
        result_ = importSpreadsheet(source_, overrides_);
    }
    showResult();
}

void ImportDialog::showResult()
{
    // A failed import still shows the sheet as read, so the teacher can see which column to name.
    const QList<QStringList>& rows = result_.preview;
    if (!rows.isEmpty()) {
        qsizetype width = 0;
        for (const QStringList& row : rows)
            width = std::max(width, row.size());
        tblPreview->clear();
        tblPreview->setRowCount(int(rows.size()));
        tblPreview->setColumnCount(int(width));
        QStringList letters;
        for (qsizetype column = 0; column < width; ++column)
            letters.append(columnName(column));
        tblPreview->setHorizontalHeaderLabels(letters);
        for (int row = 0; row < rows.size(); ++row)
            for (int column = 0; column < rows[row].size(); ++column) {
                // A cell's line breaks (a name typed on two lines) would hide under the next row.
                QString text = rows[row][column];
                text.replace(u'\n', u' ');
                auto* item = new QTableWidgetItem(text);
                item->setToolTip(rows[row][column]);
                if (row == 0) { // the header row, which names the columns rather than a student
                    QFont header = item->font();
                    header.setBold(true);
                    item->setFont(header);
                }
                tblPreview->setItem(row, column, item);
            }
        tblPreview->resizeColumnsToContents();
    }

    if (cboSheet->count() == 0)
        cboSheet->addItems(result_.sheets);
    cboSheet->setCurrentIndex(std::max(0, cboSheet->findText(overrides_.sheet)));
    lblSheet->setVisible(result_.sheets.size() > 1);
    cboSheet->setVisible(result_.sheets.size() > 1);

    const ImportColumns& columns = result_.columns;
    lblLayout->setText(layoutName(result_.layout));
    txtIdColumn->setText(columns.id >= 0 ? columnName(columns.id) : QString());
    txtNameColumns->setText(columnListText(columns.names));
    txtAnswerColumns->setText(columnListText(columns.answers));
    const int keyRow =
        result_.ok && result_.keySource == KeySource::KeyRow ? result_.keyRow : overrides_.keyRow;
    txtKeyRow->setText(keyRow > 0 ? QString::number(keyRow) : QString());
    txtKey->setText(overrides_.key);
    txtRoomColumn->setText(columns.room >= 0 ? columnName(columns.room) : QString());
    txtFormColumn->setText(columns.form >= 0 ? columnName(columns.form) : QString());
    txtSummary->setPlainText(result_.ok ? importSummaryText(result_) : QString());
    showError(result_.ok ? QString()
                         : result_.error + QStringLiteral("\nแก้คอลัมน์หรือเฉลยในช่องด้านบน แล้วกด Enter"));
}

void ImportDialog::sheetChosen(int index)
{
    ImportOverrides fresh;
    fresh.sheet = cboSheet->itemText(index);
    overrides_ = fresh;
    for (QLineEdit* field : fields())
        field->setModified(false);
    runImport();
}

ImportDialog::~ImportDialog()
{
    // A field that loses the focus as the dialog's children are destroyed reports its editing as
    // finished; by then this dialog is no longer one to import into.
    for (QLineEdit* field : fields())
        field->disconnect(this);
}

void ImportDialog::showError(const QString& error)
{
    lblError->setText(error);
    lblError->setVisible(!error.isEmpty());
    cmdOK->setEnabled(error.isEmpty() && result_.ok);
}

void ImportDialog::fieldsEdited()
{
    const QList<QLineEdit*> all = fields();
    if (std::none_of(all.cbegin(), all.cend(), [](QLineEdit* field) { return field->isModified(); }))
        return;
    // An emptied field leaves that choice to the import again.
    ImportOverrides wanted = overrides_;
    for (const auto& [field, column, what] :
         {std::tuple{txtIdColumn, &wanted.idColumn, QStringLiteral("รหัสผู้สอบ")},
          std::tuple{txtRoomColumn, &wanted.roomColumn, QStringLiteral("ห้อง")},
          std::tuple{txtFormColumn, &wanted.formColumn, QStringLiteral("ชุด")}}) {
        if (!field->isModified())
            continue;
        const QString text = field->text().trimmed();
        const QList<int> columns = parseColumnList(text);
        if (!text.isEmpty() && columns.size() != 1)
            return showError(QStringLiteral("คอลัมน์%1: ").arg(what) + NotAColumn.arg(text) +
                             QStringLiteral("  %1อยู่ในคอลัมน์เดียว").arg(what));
        *column = text.isEmpty() ? -1 : columns.first();
    }
    if (txtNameColumns->isModified()) {
        const QString text = txtNameColumns->text().trimmed();
        const QList<int> columns = parseColumnList(text);
        if (!text.isEmpty() && (columns.isEmpty() || columns.size() > 2))
            return showError(QStringLiteral("คอลัมน์ชื่อ: ") + NotAColumn.arg(text) +
                             QStringLiteral("  ชื่ออยู่ใน 1 คอลัมน์ หรือ 2 คอลัมน์ (ชื่อ นามสกุล)"));
        wanted.nameColumns = columns;
    }
    if (txtAnswerColumns->isModified()) {
        const QString text = txtAnswerColumns->text().trimmed();
        const QList<int> columns = parseColumnList(text);
        if (!text.isEmpty() && columns.isEmpty())
            return showError(QStringLiteral("คอลัมน์คำตอบ: ") + NotAColumn.arg(text));
        wanted.answerColumns = columns;
    }
    if (txtKeyRow->isModified()) {
        const QString text = txtKeyRow->text().trimmed();
        bool number = false;
        const int row = text.toInt(&number);
        if (!text.isEmpty() && (!number || row < 2))
            return showError(
                QStringLiteral("แถวเฉลยต้องเป็นเลขแถวตั้งแต่ 2 ขึ้นไป (หัวตารางคือแถว 1) ไม่ใช่ '%1'").arg(text));
        wanted.keyRow = text.isEmpty() ? 0 : row;
        wanted.key.clear(); // the key is in that row, not typed
    }
    if (txtKey->isModified()) {
        wanted.key = txtKey->text().trimmed();
        if (!wanted.key.isEmpty())
            wanted.keyRow = 0;
    }
    overrides_ = wanted;
    for (QLineEdit* field : all)
        field->setModified(false); // taken, also should the import's progress take the focus
    runImport();
}

void ImportDialog::accept()
{
    fieldsEdited(); // OK pressed straight from a field takes its change first
    if (!cmdOK->isEnabled())
        return;
    QString path, reason;
    if (!writeDataFile(path, reason)) {
        app.warn(QStringLiteral("บันทึกข้อมูลที่นำเข้าลงแฟ้ม  %1  ไม่ได้  เพราะ%2  "
                                "แก้ไขแล้วกด OK อีกครั้ง หรือกด Cancel")
                     .arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    written_ = QDir::toNativeSeparators(path);
    app.keepImportedNames(path, result_.names);
    QDialog::accept();
}

bool ImportDialog::writeDataFile(QString& path, QString& reason)
{
    const QFileInfo source(source_);
    const QString name = source.completeBaseName();
    // Beside the spreadsheet, where the teacher will look for it; from a folder the program cannot
    // write (a read-only stick, a shared folder) it goes where the reports go.
    const QString folder = canWriteInto(source.absolutePath())
                               ? source.absolutePath()
                               : QFileInfo(app.outputPath(name + QStringLiteral(".txt"))).absolutePath();
    // The pupils' rooms and forms go beside it, where the visual report finds them.
    const bool groups = !result_.rooms.isEmpty() || !result_.forms.isEmpty();
    const QByteArray pupils =
        groups ? pupilListBytes(result_.ids, result_.rooms, result_.forms) : QByteArray();
    // A file of the same name holding other data is the teacher's: it is kept, and the new one
    // numbered. One holding these very bytes is an earlier import of the same sheet, used again.
    const auto free = [](const QString& file, const QByteArray& bytes) {
        const QFileInfo existing(file);
        return (!existing.exists() && !existing.isSymLink()) || holdsBytes(file, bytes);
    };
    for (int number = 1;; ++number) {
        path = QDir(folder).filePath(number == 1 ? name + QStringLiteral(".txt")
                                                 : QStringLiteral("%1-%2.txt").arg(name).arg(number));
        const QString pupilsPath = pupilListPathFor(path);
        if (!free(path, result_.dataFile) || (groups && !free(pupilsPath, pupils)))
            continue;
        // The list first: a data file without its list would be analysed as one room.
        if (groups && !holdsBytes(pupilsPath, pupils) &&
            !app.platform.writeFile(pupilsPath, pupils, reason)) {
            path = pupilsPath;
            return false;
        }
        return holdsBytes(path, result_.dataFile) || app.platform.writeFile(path, result_.dataFile, reason);
    }
}
