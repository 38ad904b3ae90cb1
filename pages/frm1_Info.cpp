#include "pages/frm1_Info.h"

#include "app/Application.h"
#include "app/Artwork.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString CRLF = QStringLiteral("\r\n");
}

QString frm1_Info::introduction()
{
    return CRLF + "       Quillet (QLT)   เป็นโปรแกรมทางการศึกษาที่ช่วยใน" + CRLF +
           "  การวิเคราะห์ข้อสอบแบบปรนัย 4-5 ตัวเลือก       นอกจากนี้ยังสามารถหาค่าสถิติ" + CRLF +
           "  พื้นฐานของคะแนนจากการสอบ เช่น  พิสัย, มัชฌิมเลขคณิต, มัธยฐาน, ฐานนิยม" + CRLF +
           "  และส่วนเบี่ยงเบนมาตรฐาน  เป็นต้น" + CRLF + "        คุณสามารถอ่านคู่มือการใช้ได้จาก Help! " + CRLF +
           "        หากมีข้อสงสัย รวมถึงคำแนะนำติชมประการใด  e-mail มาได้บอกกันได้ครับ  ผมจะได้นำไปพัฒนาในรุ่นต่อๆ ไป   ขอขอบคุณเอาไว้ล่วงหน้าครับ" +
           CRLF + CRLF + CRLF + CRLF +
           QStringLiteral("        ขอขอบคุณคณะครูผู้ร่วมทดลองใช้โปรแกรม ที่ช่วยให้คำแนะนำอันมีค่าตลอดการพัฒนา") + CRLF +
           QStringLiteral("        ขอขอบคุณฝ่ายวัดผลและประเมินผลของโรงเรียน ที่ช่วยตรวจทานสูตรการคำนวณทุกสูตร");
}

frm1_Info::frm1_Info(Application& app)
    : WizardPage(app, R"qlt( // Quillet \\->  โปรแกรมวิเคราะห์ข้อสอบแบบง่าย ๆ)qlt", QStringLiteral("frm1_Info"))
{
    auto* heading = new QLabel("Information", this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.6);
    heading->setFont(headingFont);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The introduction is laid out line by line with its own breaks and indents; wrapping would split
    // its longest line mid-phrase, so the window is as wide as that line instead.
    Label1->setWordWrap(false);

    auto* notice = new QLabel(QStringLiteral("โปรแกรมนี้แจกจ่ายให้ใช้ได้โดยไม่มีค่าใช้จ่ายเพื่องานด้านการศึกษา"), this);
    auto* credit = new QLabel(QStringLiteral("พัฒนาโดย คณะผู้พัฒนาโปรแกรม Quillet"), this);
    credit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* picture = new QLabel(this);
    picture->setPixmap(answerSheetPicture(96));
    picture->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* smallPicture = new QLabel(this);
    smallPicture->setPixmap(answerSheetPicture(32));

    cmdstart = makeButton(QStringLiteral("cmdstart"), "&Start", "เริ่มทำงาน");
    cmdNext = makeButton(QStringLiteral("cmdNext"), "&Next");
    cmdFinish = makeButton(QStringLiteral("cmdFinish"), "&Finish");
    cmdNext->setEnabled(false);
    cmdFinish->setEnabled(false);
    cmdExit = makeExitButton();
    cmdHelp = makeHelpButton();
    connect(cmdstart, &QPushButton::clicked, this, &frm1_Info::cmdstart_Click);

    auto* frame = new QGridLayout;
    frame->addWidget(picture, 0, 0, 3, 1);
    frame->addWidget(heading, 0, 1);
    frame->addWidget(makeDivider(this), 1, 1);
    frame->addWidget(Label1, 2, 1);
    frame->setColumnStretch(1, 1);
    frame->setRowStretch(2, 1);

    auto* footer = new QHBoxLayout;
    footer->addWidget(smallPicture);
    footer->addWidget(notice, 1);
    footer->addWidget(credit);

    auto* page = new QVBoxLayout(this);
    page->addLayout(frame, 1);
    page->addWidget(makeDivider(this));
    page->addLayout(footer);
    page->addLayout(makeButtonRow({cmdHelp, cmdExit}, {cmdstart, cmdNext, cmdFinish}));
    setTabOrder(cmdstart, cmdNext);
    resize(760, 520);
}

bool frm1_Info::Form_Load()
{
    Label1->setText(introduction());
    cmdstart->setFocus();
    return true;
}

void frm1_Info::cmdstart_Click()
{
    app.show(PageId::Source);
    app.unload(PageId::Info);
}
