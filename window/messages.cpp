#include "window/messages.h"

#include "window/about_config.h"
#include "window/control_table.h"

namespace window {

QString faultMessage(const calc::Fault& fault) {
    const QString field = QString::fromStdString(fieldTitle(fault.field));
    const bool named = !field.isEmpty();
    switch (fault.cause) {
    case calc::Cause::NotANumber:
        return QStringLiteral("“%1”中的内容不是有效的数字。").arg(field);
    case calc::Cause::TooLarge:
        return QStringLiteral("“%1”中的数值太大，超出了单精度数的范围。").arg(field);
    case calc::Cause::Overflow:
        return named ? QStringLiteral("“%1”中的数值太大，计算结果溢出。").arg(field)
                     : QStringLiteral("计算结果太大，超出了单精度数的范围（溢出）。");
    case calc::Cause::DivisionByZero:
        return QStringLiteral("“%1”为 0，除数不能为零。").arg(field);
    case calc::Cause::InvalidOperation:
        return named ? QStringLiteral("“%1”引起无效运算（0 除以 0），结果不是一个数。").arg(field)
                     : QStringLiteral("无效运算，结果不是一个数。");
    }
    return {};
}

QString aboutTitle() {
    return QStringLiteral("澄川工作室 --- 衡尺开发组");
}

QString aboutPrompt() {
    return QStringLiteral("------------- 澄川工作室 -------------\r\n"
                          "\r\n"
                          "  网址：") +
           QStringLiteral(HENGCHI_SITE) + QStringLiteral("\r\n\r\n   QQ：") +
           QStringLiteral(HENGCHI_QQ);
}

} // namespace window
