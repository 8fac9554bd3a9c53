#include "formats/joint_text.h"

#include "plan/joints/rules.h"

#include <array>
#include <utility>

#include <QRegularExpression>
#include <QString>

namespace formats {
namespace {

using plan::joints::Method;

// What schedules and drawings write in a joint column. 机械连接 covers every sleeve (GB 50010
// 8.4.7): threaded, rolled or pressed; the welds are JGJ 18's.
constexpr std::array<std::pair<std::u16string_view, Method>, 27> kMethodWords{{
    {u"绑扎搭接", Method::Lap},
    {u"搭接", Method::Lap},
    {u"绑扎", Method::Lap},
    {u"绑扎连接", Method::Lap},
    {u"机械连接", Method::Coupler},
    {u"机械", Method::Coupler},
    {u"机械接头", Method::Coupler},
    {u"直螺纹", Method::Coupler},
    {u"直螺纹连接", Method::Coupler},
    {u"直螺纹套筒", Method::Coupler},
    {u"滚压直螺纹", Method::Coupler},
    {u"锥螺纹", Method::Coupler},
    {u"套筒", Method::Coupler},
    {u"套筒连接", Method::Coupler},
    {u"套筒挤压", Method::Coupler},
    {u"单面焊", Method::LapWeldSingle},
    {u"单面搭接焊", Method::LapWeldSingle},
    {u"单面焊接", Method::LapWeldSingle},
    {u"双面焊", Method::LapWeldDouble},
    {u"双面搭接焊", Method::LapWeldDouble},
    {u"双面焊接", Method::LapWeldDouble},
    {u"对焊", Method::ButtWeld},
    {u"闪光对焊", Method::ButtWeld},
    {u"电渣压力焊", Method::ButtWeld},
    {u"气压焊", Method::ButtWeld},
    {u"对接焊", Method::ButtWeld},
    {u"压力焊", Method::ButtWeld},
}};

} // namespace

std::string jointKey(std::string_view text) {
    // Full-width letters become ASCII under NFKC, and the ideographic space a blank.
    QString plain = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                        .normalized(QString::NormalizationForm_KC);
    plain.remove(QRegularExpression(QStringLiteral("\\s+")));
    if (plain.isEmpty()) {
        return {};
    }
    for (const auto& [word, method] : kMethodWords) {
        if (plain == QStringView(word)) {
            return std::string(plan::joints::methodKey(method));
        }
    }
    const std::string key = plain.toLower().toStdString();
    if (plan::joints::methodOfKey(key)) {
        return key;
    }
    return std::string(text);
}

void resolveJoints(std::vector<plan::PieceRow>& rows) {
    for (plan::PieceRow& row : rows) {
        row.joint = jointKey(row.joint);
    }
}

} // namespace formats
