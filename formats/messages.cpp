#include "formats/messages.h"

#include "formats/setting_text.h"
#include "plan/number.h"

#include <QStringList>

namespace formats {
namespace {

// The unit a field's limit is written with.
QString limitText(plan::Field field, std::int64_t limit) {
    switch (field) {
    case plan::Field::Diameter:
        return QStringLiteral("%1 mm").arg(QString::fromStdString(plan::diameterText(limit)));
    case plan::Field::Count:
    case plan::Field::Elements:
    case plan::Field::Total:
        return QStringLiteral("%1 根").arg(limit);
    case plan::Field::Seconds:
        return QStringLiteral("%1 秒").arg(limit);
    case plan::Field::CouplerAbove:
        return QStringLiteral("%1 mm").arg(QString::fromStdString(plan::diameterText(limit)));
    case plan::Field::Mark:
    case plan::Field::Length:
    case plan::Field::StockLength:
    case plan::Field::Kerf:
    case plan::Field::Keep:
    case plan::Field::Lap:
    case plan::Field::ButtAllowance:
    case plan::Field::ShortestSegment:
        return QStringLiteral("%1 mm").arg(limit);
    case plan::Field::Share:
    case plan::Field::LapShare:
    case plan::Field::MechanicalShare:
        return QStringLiteral("%1%").arg(limit);
    case plan::Field::SteelPrice:
        return QStringLiteral("%1 元/t").arg(limit);
    case plan::Field::JointPrice:
        return QStringLiteral("%1 元").arg(limit);
    case plan::Field::Grade:
    case plan::Field::GradeCode:
    case plan::Field::Joint:
    case plan::Field::Zones:
    case plan::Field::Floor:
    case plan::Field::Concrete:
    case plan::Field::Seismic:
    case plan::Field::ExtraJoint:
    case plan::Field::ByCost:
        break;
    }
    return QString::number(limit);
}

// The bar rows of a block that cannot be read: none is planned, and the message says so.
QString barsNotRead(std::int64_t rows) {
    return rows > 0 ? QStringLiteral("，其下 %1 行钢筋因此未读").arg(rows) : QString();
}

QString quotedText(const std::string& text) {
    return QStringLiteral("“%1”").arg(QString::fromStdString(text));
}

// "C20、C25…C80": the classes as the table has them, short when they run in equal steps.
QString concreteClassesText() {
    const std::vector<int> classes = concreteClasses();
    if (classes.size() < 3) {
        QStringList names;
        for (const int c : classes) {
            names.append(QString::fromStdString(concreteText(c)));
        }
        return names.join(u'、');
    }
    return QStringLiteral("%1、%2…%3，如 C30")
        .arg(QString::fromStdString(concreteText(classes[0])),
             QString::fromStdString(concreteText(classes[1])),
             QString::fromStdString(concreteText(classes.back())));
}

// The settings that are words, not numbers: what may be written instead of a wrong one.
QString wordsAllowed(plan::Field field) {
    switch (field) {
    case plan::Field::Concrete:
        return QStringLiteral("只能是 %1").arg(concreteClassesText());
    case plan::Field::Seismic:
        return QStringLiteral("只能是 一级、二级、三级、四级 或 非抗震");
    case plan::Field::ExtraJoint:
    case plan::Field::ByCost:
        return QStringLiteral("只能是 是 或 否");
    case plan::Field::JointPrice:
        return QStringLiteral("应写成 接头方式=单价，如 机械连接=8;焊接=5;绑扎搭接=0");
    case plan::Field::Mark:
    case plan::Field::Diameter:
    case plan::Field::Length:
    case plan::Field::Count:
    case plan::Field::StockLength:
    case plan::Field::Kerf:
    case plan::Field::Keep:
    case plan::Field::Seconds:
    case plan::Field::Grade:
    case plan::Field::GradeCode:
    case plan::Field::Elements:
    case plan::Field::Total:
    case plan::Field::Joint:
    case plan::Field::Share:
    case plan::Field::Lap:
    case plan::Field::Zones:
    case plan::Field::Floor:
    case plan::Field::CouplerAbove:
    case plan::Field::ButtAllowance:
    case plan::Field::ShortestSegment:
    case plan::Field::LapShare:
    case plan::Field::MechanicalShare:
    case plan::Field::SteelPrice:
        break;
    }
    return QStringLiteral("不是数字");
}

QString problemText(const plan::InputError& error) {
    const plan::Field field = error.field;
    const std::int64_t limit = error.limit;
    const std::string& text = error.text;
    switch (error.problem) {
    case plan::Problem::Empty:
        return QStringLiteral("没有填写");
    case plan::Problem::NotANumber:
        return wordsAllowed(field);
    case plan::Problem::NotWhole:
        // A diameter is read to a tenth of a millimetre (6.5), money to the fen; only finer
        // than that is wrong.
        if (field == plan::Field::SteelPrice || field == plan::Field::JointPrice) {
            return QStringLiteral("最多两位小数");
        }
        return field == plan::Field::Diameter ? QStringLiteral("最多一位小数")
                                              : QStringLiteral("必须是整数");
    case plan::Problem::NotPositive:
        return QStringLiteral("必须大于 0");
    case plan::Problem::Negative:
        return QStringLiteral("不能是负数");
    case plan::Problem::TooLarge:
        return QStringLiteral("超过上限（%1）").arg(limitText(field, limit));
    case plan::Problem::NoPieces:
        return QStringLiteral("清单里没有这种钢筋（级别和直径都相同）");
    case plan::Problem::UnknownGrade:
        return QStringLiteral("不认识的级别%1（在牌号表里添上它的代号，或写牌号，如 HRB400）")
            .arg(quotedText(text));
    case plan::Problem::GradesDisagree: {
        const QString both = QString::fromStdString(text);
        return QStringLiteral("%1 与直径里写的 %2 不一致")
            .arg(both.section(u'/', 0, 0), both.section(u'/', 1));
    }
    case plan::Problem::CountsDisagree:
        return QStringLiteral("与 构件数 × 根数 = %1 不一致").arg(limit);
    case plan::Problem::TotalDisagrees:
        return QStringLiteral("与 根数 %1 不一致").arg(limit);
    case plan::Problem::NoStock:
        return QStringLiteral("至少要有一种");
    case plan::Problem::Duplicate:
        return QStringLiteral("重复");
    case plan::Problem::UnknownJoint:
        return QStringLiteral("不认识%1，可写绑扎搭接、机械连接、单面焊、双面焊或对焊%2")
            .arg(quotedText(text), field == plan::Field::JointPrice
                                       ? QStringLiteral("（焊接：各种焊接）")
                                       : QString());
    case plan::Problem::ShareNotAllowed:
        return QStringLiteral("只能是 %1").arg(sharesAllowedText());
    case plan::Problem::BadZone:
        return QStringLiteral("应写成 起点-终点（毫米，从钢筋一端量起，在钢筋长度之内），"
                              "几段用分号分开，如 0-500;14500-15000");
    case plan::Problem::Joint:
        return error.joint ? describe(*error.joint) : QStringLiteral("按接头的规定接不成这根钢筋");
    }
    return {};
}

} // namespace

QString sharesAllowedText() {
    const std::vector<int> shares = allowedShares();
    QString out;
    for (std::size_t i = 0; i < shares.size(); ++i) {
        if (i > 0) {
            out += i + 1 == shares.size() ? QStringLiteral(" 或 ") : QStringLiteral("、");
        }
        out += QString::fromStdString(shareText(shares[i]));
    }
    return out;
}

QString fieldName(plan::Field field) {
    switch (field) {
    case plan::Field::Mark:
        return QStringLiteral("编号");
    case plan::Field::Diameter:
        return QStringLiteral("直径");
    case plan::Field::Length:
        return QStringLiteral("长度");
    case plan::Field::Count:
        return QStringLiteral("根数");
    case plan::Field::StockLength:
        return QStringLiteral("原材长度");
    case plan::Field::Kerf:
        return QStringLiteral("锯口");
    case plan::Field::Keep:
        return QStringLiteral("最短余料");
    case plan::Field::Seconds:
        return QStringLiteral("时限");
    case plan::Field::Grade:
        return QStringLiteral("级别");
    case plan::Field::GradeCode:
        return QStringLiteral("代号");
    case plan::Field::Elements:
        return QStringLiteral("构件数");
    case plan::Field::Total:
        return QStringLiteral("总根数");
    case plan::Field::Joint:
        return QStringLiteral("接头");
    case plan::Field::Share:
        return QStringLiteral("接头率");
    case plan::Field::Lap:
        return QStringLiteral("搭接长度");
    case plan::Field::Zones:
        return QStringLiteral("禁止接头区");
    case plan::Field::Floor:
        return QStringLiteral("楼层");
    case plan::Field::Concrete:
        return QStringLiteral("混凝土");
    case plan::Field::Seismic:
        return QStringLiteral("抗震等级");
    case plan::Field::CouplerAbove:
        return QStringLiteral("机械连接直径");
    case plan::Field::ButtAllowance:
        return QStringLiteral("对焊余量");
    case plan::Field::ShortestSegment:
        return QStringLiteral("最短分段");
    case plan::Field::LapShare:
        return QStringLiteral("搭接接头率");
    case plan::Field::MechanicalShare:
        return QStringLiteral("机械接头率");
    case plan::Field::ExtraJoint:
        return QStringLiteral("允许多一个接头");
    case plan::Field::ByCost:
        return QStringLiteral("按造价接长");
    case plan::Field::SteelPrice:
        return QStringLiteral("钢材单价");
    case plan::Field::JointPrice:
        return QStringLiteral("接头单价");
    }
    return {};
}

QString describe(const plan::InputError& error) {
    const QString field = fieldName(error.field);
    const QString text = problemText(error);
    // "接头率太小：…" names its field already; "接头率：接头率太小：…" would say it twice.
    if (error.problem == plan::Problem::Joint && text.startsWith(field)) {
        return text;
    }
    return field + u'：' + text;
}

QString describe(const FileError& error) {
    switch (error.problem) {
    case FileProblem::NotText:
        return QStringLiteral("不是 UTF-8 或 GB18030 编码的文本");
    case FileProblem::NoHeader:
        return QStringLiteral("没有表头行（第一行应写明各列的名称，如 编号,直径,长度,根数）");
    case FileProblem::UnclosedQuote:
        return QStringLiteral("引号没有闭合");
    case FileProblem::MissingColumn:
        return QStringLiteral("缺少“%1”列").arg(fieldName(error.field));
    case FileProblem::RepeatedColumn:
        return QStringLiteral("%1列重复").arg(quotedText(error.text));
    case FileProblem::UnknownSection:
        return QStringLiteral("不认识的段落%1（只能是 #设置、#余料 或 #牌号）")
            .arg(quotedText(error.text));
    case FileProblem::RepeatedSection:
        return QStringLiteral("段落%1重复").arg(quotedText(error.text));
    case FileProblem::UnknownSetting:
        return QStringLiteral("不认识的设置%1（只能是 原材长度、锯口、最短余料、时限、项目、"
                              "混凝土、抗震等级、机械连接直径、对焊余量、最短分段、"
                              "允许多一个接头、搭接接头率、机械接头率、按造价接长、钢材单价、"
                              "接头单价）")
            .arg(quotedText(error.text));
    case FileProblem::RepeatedSetting:
        return QStringLiteral("设置%1重复").arg(quotedText(error.text));
    case FileProblem::BadSetting:
        return describe(plan::InputError{plan::Source::Settings, 0, error.field, error.value,
                                         error.limit, error.text});
    case FileProblem::BadGradeCode:
        return QStringLiteral("牌号表的代号%1：只能是一到三个字母，或 一级 到 五级")
            .arg(quotedText(error.text));
    case FileProblem::UnknownGradeName:
        return QStringLiteral("牌号表的牌号%1：不是钢筋牌号（如 HPB300、HRB400E）")
            .arg(quotedText(error.text));
    case FileProblem::RepeatedGradeCode:
        return QStringLiteral("牌号表的代号%1重复").arg(quotedText(error.text));
    case FileProblem::Workbook:
        return describeWorkbook(error);
    case FileProblem::ElementWithoutCount:
        return QStringLiteral("构件%1没有可读的构件数量（应写成 构件数量：3）%2")
            .arg(quotedText(error.text), barsNotRead(error.limit));
    case FileProblem::NoElements:
        return QStringLiteral("构件%1的构件数量为 0%2")
            .arg(quotedText(error.text), barsNotRead(error.limit));
    case FileProblem::BarBeforeElement:
        return QStringLiteral(
            "这一行钢筋不在任何构件之下（本楼层的钢筋行前应有 构件名称：…  构件数量：… 行）");
    }
    return {};
}

} // namespace formats
