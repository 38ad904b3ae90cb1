#include "pages/frm2_SourceInput.h"

#include "app/Application.h"
#include "app/Artwork.h"
#include "app/EnterAsTab.h"
#include "app/Platform.h"
#include "pages/frm3_InputChecker.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {
const QString CheckAgainTitle = R"qlt(// ผิดพลาด \\)qlt";

// Rows of the examinee block; the answer row moves up into the name row's place without names.
enum ExamineeRow { IdRow, NameRow, AnswerRow };

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // runs of blanks in the texts are kept
    return label;
}

QLineEdit* makeBox(const QString& name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

QHBoxLayout* indented(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(32, 0, 0, 0);
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    row->addStretch(1);
    return row;
}
} // namespace

frm2_SourceInput::frm2_SourceInput(Application& app)
    : WizardPage(app, R"qlt( // Quillet \\->  ป้อนข้อมูล)qlt", QStringLiteral("frm2_SourceInput"))
{
    Label1 = makeTitle("ป้อนข้อมูลนำเข้าผ่าน QLT", "ระบุวิธีการนำเข้าข้อมูลที่จะวิเคราะห์");

    Label2 = makeLabel(QStringLiteral("Label2"), "2.1   คุณต้องการระบุชื่อผู้ที่ตอบแบบสอบหรือไม่ ?", this);
    optName[0] = new QRadioButton("ไม่ระบุชื่อผู้ตอบ (ขอแนะนำ เพราะจะรวดเร็วกว่า)", this);
    optName[1] = new QRadioButton("ระบุชื่อผู้ตอบ", this);
    for (int index = 0; index < 2; ++index) {
        optName[index]->setObjectName(QStringLiteral("optName%1").arg(index));
        connect(optName[index], &QRadioButton::clicked, this, [this, index] { optName_Click(index); });
    }

    Label3 = makeLabel(QStringLiteral("Label3"),
                       "2.2   กรอกเฉลยโดยไม่ต้องเว้นวรรค เช่น 24311234512345 แล้ว กดปุ่ม Save", this);
    txtAllKeys = makeBox(QStringLiteral("txtAllKeys"), this);
    txtAllKeys->setMinimumWidth(360);
    cmdSaveAllK = makeButton(QStringLiteral("cmdSaveAllK"), "&Save");
    connect(cmdSaveAllK, &QPushButton::clicked, this, &frm2_SourceInput::cmdSaveAllK_Click);

    Label6 = makeLabel(QStringLiteral("Label6"), "2.3   จำนวนผู้ที่ตอบแบบสอบมีกี่คน ?", this);
    txtStudents = makeBox(QStringLiteral("txtStudents"), this);
    txtStudents->setMaximumWidth(80);
    txtStudents->installEventFilter(this);
    Label7 = makeLabel(QStringLiteral("Label7"), "คน", this);

    Label4 = makeLabel(QStringLiteral("Label4"),
                       "2.4   กรอกข้อมูลให้ครบ (คำตอบกรอกคล้ายเฉลย) แล้ว Save Ans เพื่อกรอกคนถัดไป", this);
    lblID = makeLabel(QStringLiteral("lblID"), "เลขที่", this);
    txtID = makeBox(QStringLiteral("txtID"), this);
    lblName = makeLabel(QStringLiteral("lblName"), "ชื่อ - สกุล", this);
    txtName = makeBox(QStringLiteral("txtName"), this);
    lblAns = makeLabel(QStringLiteral("lblAns"), "คำตอบ", this);
    txtAns = makeBox(QStringLiteral("txtAns"), this);
    cmdSaveStud = makeButton(QStringLiteral("cmdSaveStud"), "&Save Ans");
    connect(cmdSaveStud, &QPushButton::clicked, this, &frm2_SourceInput::cmdSaveStud_Click);
    lblNum_Stud = makeLabel(QStringLiteral("lblNum_Stud"), QString(), this);

    // A box reached by Enter gets its text selected, as with Tab, so the name typed for the next
    // examinee replaces the previous one that the name box keeps.
    for (QLineEdit* box : {txtAllKeys, txtID, txtName, txtAns})
        EnterAsTab(box);

    cmdNext = makeButton(QStringLiteral("cmdNext"), "&Next", "ไปยังขั้นต่อไป");
    cmdNext->setEnabled(false);
    cmdExit = makeExitButton();
    cmdHelp = makeHelpButton();
    cmdstart = makeButton(QStringLiteral("cmdstart"), "&Back", "เริ่มต้นใหม่อีกครั้ง โดยข้อมูลเก่าจะถูกลบทิ้ง");
    cmdFinish = makeButton(QStringLiteral("cmdFinish"), "&Finish");
    cmdFinish->setEnabled(false);
    connect(cmdNext, &QPushButton::clicked, this, &frm2_SourceInput::cmdNext_Click);
    connect(cmdstart, &QPushButton::clicked, this, &frm2_SourceInput::cmdstart_Click);

    examineeRows_ = new QGridLayout;
    examineeRows_->setContentsMargins(32, 0, 0, 0);
    examineeRows_->addWidget(lblID, IdRow, 0);
    examineeRows_->addWidget(txtID, IdRow, 1);
    examineeRows_->addWidget(lblName, NameRow, 0);
    examineeRows_->addWidget(txtName, NameRow, 1);
    examineeRows_->addWidget(lblAns, AnswerRow, 0);
    examineeRows_->addWidget(txtAns, AnswerRow, 1);
    examineeRows_->addWidget(cmdSaveStud, IdRow, 2);
    examineeRows_->addWidget(lblNum_Stud, NameRow, 2);
    examineeRows_->setColumnMinimumWidth(1, 360);
    examineeRows_->setColumnStretch(3, 1);

    auto* page = new QVBoxLayout(this);
    page->addLayout(makeHeading(Label1));
    page->addWidget(makeDivider(this));
    page->addWidget(Label2);
    auto* options = new QVBoxLayout;
    options->setContentsMargins(32, 0, 0, 0);
    options->addWidget(optName[0]);
    options->addWidget(optName[1]);
    page->addLayout(options);
    page->addWidget(Label3);
    page->addLayout(indented({txtAllKeys, cmdSaveAllK}));
    page->addWidget(Label6);
    page->addLayout(indented({txtStudents, Label7}));
    page->addWidget(Label4);
    page->addLayout(examineeRows_);
    page->addStretch(1);
    page->addWidget(makeDivider(this));
    page->addLayout(makeButtonRow({cmdHelp, cmdExit}, {cmdstart, cmdNext, cmdFinish}));

    const QList<QWidget*> order = {optName[0], optName[1], txtAllKeys, cmdSaveAllK, txtStudents,
                                   txtID,      txtName,    txtAns,     cmdSaveStud, cmdNext,
                                   cmdExit,    cmdHelp,    cmdstart,   cmdFinish};
    for (int index = 1; index < order.size(); ++index)
        setTabOrder(order[index - 1], order[index]);
    resize(760, 600);
}

bool frm2_SourceInput::Form_Load()
{
    app.data.CurStud = 1;
    return true;
}

bool frm2_SourceInput::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtStudents && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            txtStudents_Enter();
            return true;
        }
    }
    return WizardPage::eventFilter(watched, event);
}

void frm2_SourceInput::optName_Click(int index)
{
    const bool names = index == 1;
    app.data.NameGiven = names ? 1 : 0;
    lblName->setVisible(names);
    txtName->setVisible(names);
    const int answerRow = names ? AnswerRow : NameRow;
    for (QWidget* widget : {static_cast<QWidget*>(lblAns), static_cast<QWidget*>(txtAns)}) {
        examineeRows_->removeWidget(widget);
        examineeRows_->addWidget(widget, answerRow, widget == lblAns ? 0 : 1);
    }
}

void frm2_SourceInput::cmdSaveAllK_Click()
{
    TestData& data = app.data;
    const QString key = txtAllKeys->text();
    QString refusal;
    if (key.isEmpty())
        refusal = "ยังไม่ได้กรอก 'เฉลย' ของแบบสอบนี้เลยครับ ";
    else if (key.size() > MaxCount)
        refusal = QStringLiteral("เฉลยยาวเกินไป  ข้อสอบมีได้ไม่เกิน %1 ข้อครับ ").arg(MaxCount);
    else if (saved() > 0 && key.size() != data.NumItems)
        // The saved answers were checked against the key's length; another length would not fit them.
        refusal = QStringLiteral("บันทึกคำตอบไว้แล้ว %1 คน  เฉลยใหม่ต้องมี %2 ข้อเท่าเดิมครับ ")
                      .arg(saved())
                      .arg(data.NumItems);
    if (!refusal.isEmpty()) {
        app.warn(refusal);
        txtAllKeys->setFocus();
        return;
    }

    const QString prompt = "ข้อสอบมี  " + QString::number(key.size()) + " ข้อ ใช่หรือไม่ ?";
    if (app.platform.message(prompt, " ยืนยันข้อมูล", Platform::Icon::Question, Platform::Buttons::YesNo) !=
        Platform::Answer::Yes) {
        txtAllKeys->setFocus(); // No keeps the earlier key
        return;
    }
    data.setKey(key);
    // Nobody is saved when the length changes here, so the matrix can follow the key empty.
    if (data.AnsMatrix.exists() && data.AnsMatrix.items() != data.NumItems)
        data.AnsMatrix.create(data.NumStud, data.NumItems);
    app.dataReplaced();
    txtStudents->setFocus();
}

void frm2_SourceInput::txtStudents_Enter()
{
    const int count = readCount();
    if (count < 0) {
        txtStudents->setFocus();
        return;
    }
    resizeExaminees(count);
    app.data.NumStud = count;
    countEntered_ = true;
    app.dataReplaced();
    showCompletion();
    if (!complete())
        focusNextChild();
}

int frm2_SourceInput::readCount()
{
    const QString text = txtStudents->text().trimmed();
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    bool fits = false;
    const int count = text.toInt(&fits);
    QString refusal;
    if (text.isEmpty())
        refusal = "ต้องกรอกจำนวนผู้ที่สอบด้วยครับ ! ";
    else if (!wholeNumber.match(text).hasMatch())
        refusal = QStringLiteral("จำนวนผู้ที่ตอบแบบสอบต้องเป็นตัวเลขจำนวนเต็มเท่านั้นครับ ! ");
    else if (fits && count == 0)
        refusal = "จำนวนผู้ที่ตอบแบบสอบเป็น 0 แล้วจะวิเคราะห์อะไรล่ะครับ ! ";
    else if (text.startsWith(QLatin1Char('-')))
        refusal = QStringLiteral("จำนวนผู้ที่ตอบแบบสอบติดลบไม่ได้ครับ ! ");
    else if (!fits || count > MaxCount)
        refusal = QStringLiteral("จำนวนผู้ที่ตอบแบบสอบต้องไม่เกิน %1 คนครับ ! ").arg(MaxCount);
    else if (count < saved())
        refusal = QStringLiteral("บันทึกข้อมูลไว้แล้ว %1 คน  จำนวนผู้ที่ตอบแบบสอบจึงน้อยกว่านี้ไม่ได้ครับ ! ").arg(saved());
    if (refusal.isEmpty())
        return count;
    app.warn(refusal);
    return -1;
}

void frm2_SourceInput::resizeExaminees(int count)
{
    TestData& data = app.data;
    const int kept = saved();
    const auto keepSaved = [count, kept]<typename Text>(const QList<Text>& old) {
        QList<Text> array = makeTextArray<Text>(count);
        for (int i = 1; i <= kept; ++i)
            array[i] = old.value(i);
        return array;
    };
    data.StudID = keepSaved(data.StudID);
    data.StudName = keepSaved(data.StudName);
    data.StudAns = keepSaved(data.StudAns);
    data.AnsMatrix.create(count, data.NumItems);
    for (int i = 1; i <= kept; ++i)
        data.AnsMatrix.setRow(i, data.StudAns[i]);
}

void frm2_SourceInput::cmdSaveStud_Click()
{
    enterExaminee();
    showCompletion();
}

void frm2_SourceInput::enterExaminee()
{
    TestData& data = app.data;
    // Before a count is entered here, CurStud and NumStud may still describe an earlier data set.
    if (!countEntered_ || data.CurStud > data.NumStud) {
        app.platform.message("จำนวนข้อมูลที่ป้อน  'มากกว่า'  จำนวนนักเรียนที่กรอกไว้  ตรวจสอบอีกครั้ง!", CheckAgainTitle,
                             Platform::Icon::Warning, Platform::Buttons::Ok);
        return;
    }
    if (!optName[0]->isChecked() && !optName[1]->isChecked()) {
        app.warn(QStringLiteral("กรุณาตอบข้อ 2.1 ก่อนครับ  ว่าต้องการระบุชื่อผู้ที่ตอบแบบสอบหรือไม่ "));
        optName[0]->setFocus();
        return;
    }
    const bool names = data.NameGiven == 1;
    if (txtID->text().isEmpty() || txtAns->text().isEmpty() || (names && txtName->text().isEmpty())) {
        app.warn("ยังกรอกข้อมูลไม่ครบครับ  ");
        return;
    }
    if (app.platform.message("ข้อมูลที่กรอก ถูกต้องแล้วใช่หรือไม่ ?", " ยืนยันการป้อนคำตอบ", Platform::Icon::Question,
                             Platform::Buttons::YesNo) != Platform::Answer::Yes) {
        ClearEntry();
        return;
    }
    data.StudID[data.CurStud] = txtID->text();
    data.StudAns[data.CurStud] = txtAns->text();
    if (names)
        data.StudName[data.CurStud] = txtName->text();
    showProgress(data.CurStud + 1);
    AnsToMatrix();
    ClearEntry();
}

void frm2_SourceInput::AnsToMatrix()
{
    TestData& data = app.data;
    const AnswerText& answers = data.StudAns[data.CurStud];
    if (answers.size() != data.NumItems) {
        AnswerMismatch();
        return;
    }
    data.AnsMatrix.setRow(data.CurStud, answers);
    ++data.CurStud;
}

void frm2_SourceInput::ClearEntry()
{
    txtID->clear();
    txtAns->clear();
    txtID->setFocus();
}

void frm2_SourceInput::AnswerMismatch()
{
    app.platform.message("คำตอบ ไม่เท่ากับ คำถาม  ตรวจสอบอีกครั้ง!", CheckAgainTitle, Platform::Icon::Warning,
                         Platform::Buttons::Ok);
    showProgress(app.data.CurStud);
    txtAns->setFocus();
}

void frm2_SourceInput::showProgress(int examinee)
{
    lblNum_Stud->setText("ป้อนข้อมูลของคนที่  " + QString::number(examinee));
}

bool frm2_SourceInput::complete() const
{
    return countEntered_ && app.data.CurStud == app.data.NumStud + 1;
}

void frm2_SourceInput::showCompletion()
{
    const bool done = complete();
    lblNum_Stud->setVisible(!done);
    cmdSaveStud->setEnabled(!done);
    cmdNext->setEnabled(done);
    if (done)
        cmdNext->setFocus();
}

int frm2_SourceInput::saved() const
{
    return app.data.CurStud - 1;
}

void frm2_SourceInput::cmdNext_Click()
{
    app.show(PageId::InputChecker);
    app.inputChecker().showSkipHint();
    app.hide(PageId::SourceInput);
}

void frm2_SourceInput::cmdstart_Click()
{
    app.show(PageId::Source);
    app.unload(PageId::SourceInput);
}
