#include "model/SystemErrorText.h"

#include <cerrno>
#include <cstdlib>

QString systemErrorText(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        return QStringLiteral("ไม่มีสิทธิ์เข้าถึงแฟ้มหรือโฟลเดอร์นี้");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("พื้นที่บนดิสก์เต็ม");
    case EFBIG:
        return QStringLiteral("แฟ้มใหญ่เกินกว่าที่ระบบยอมให้เขียน");
    case EROFS:
        return QStringLiteral("ดิสก์หรือโฟลเดอร์นี้อ่านได้อย่างเดียว เขียนไม่ได้");
    case EISDIR:
        return QStringLiteral("ชื่อนี้เป็นโฟลเดอร์ ไม่ใช่แฟ้ม");
    case ENOENT:
        return QStringLiteral("ไม่พบแฟ้มหรือโฟลเดอร์นี้");
    case ENOTDIR:
        return QStringLiteral("ส่วนหนึ่งของที่อยู่แฟ้มไม่ใช่โฟลเดอร์");
    case ENAMETOOLONG:
        return QStringLiteral("ชื่อแฟ้มยาวเกินไป");
    case ELOOP:
        return QStringLiteral("ลิงก์ของแฟ้มนี้วนซ้ำ หรือชี้ไปยังที่ที่ไม่ปลอดภัย");
    case EIO:
        return QStringLiteral("อ่านหรือเขียนอุปกรณ์เก็บข้อมูลไม่ได้ (ดิสก์อาจเสียหรือถูกถอดออก)");
    case ENXIO:
        return QStringLiteral("ไม่มีโปรแกรมใดรอรับข้อมูลทางช่องทางนี้");
    case EINVAL:
        return QStringLiteral("ชื่อแฟ้มมีอักขระที่ระบบหรือดิสก์นี้ไม่ยอมรับ");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("เปิดแฟ้มพร้อมกันมากเกินไป");
    case ENOMEM:
        return QStringLiteral("หน่วยความจำไม่พอ");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("แฟ้มนี้ถูกโปรแกรมอื่นใช้อยู่");
    case EPIPE:
        return QStringLiteral("โปรแกรมที่รับข้อมูลปิดไปแล้ว");
    default:
        // A number below zero is a Windows error code that no error number stands for.
        return QStringLiteral("ระบบปฏิเสธการอ่านหรือเขียนแฟ้ม (รหัสข้อผิดพลาด %1)").arg(std::abs(errorNumber));
    }
}

QString notRegularFileText()
{
    return QStringLiteral("ชื่อนี้ไม่ใช่แฟ้มธรรมดา แต่เป็นอุปกรณ์ ท่อส่งข้อมูล หรือซ็อกเก็ต");
}
