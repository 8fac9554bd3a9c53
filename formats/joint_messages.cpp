#include "formats/messages.h"
#include "formats/setting_text.h"
#include "plan/number.h"

#include <QStringList>

namespace formats {
namespace {

QString concreteLabel(int concrete) {
    return QString::fromStdString(formats::concreteText(concrete));
}

// Why the lap length of the tables could not be worked out.
QString ruleText(const std::optional<plan::joints::RuleProblem>& rule) {
    if (!rule) {
        return QStringLiteral("算不出搭接长度");
    }
    switch (*rule) {
    case plan::joints::RuleProblem::UnknownGrade:
        return QStringLiteral("搭接长度表里没有这个牌号，请在“搭接长度”列写明搭接长度，"
                              "或改用机械连接");
    case plan::joints::RuleProblem::NoGrade:
        return QStringLiteral("绑扎搭接需要钢筋牌号（填写级别，或在“搭接长度”列写明搭接长度）");
    case plan::joints::RuleProblem::UnknownConcrete: {
        const std::vector<int> classes = concreteClasses();
        return QStringLiteral("混凝土强度等级不在搭接长度表里（%1 到 %2），算不出搭接长度")
            .arg(concreteLabel(classes.front()), concreteLabel(classes.back()));
    }
    case plan::joints::RuleProblem::WeakConcrete:
        return QStringLiteral("HRB400 及强度更高的钢筋要求混凝土不低于 %1（GB 50010 第 4.1.2 "
                              "条），算不出搭接长度")
            .arg(concreteLabel(plan::joints::kLeastConcreteForHighStrength));
    case plan::joints::RuleProblem::UnknownShare:
        return QStringLiteral("搭接接头率只能是 %1").arg(sharesAllowedText());
    }
    return {};
}

QString diameterMm(std::int64_t tenths) {
    return QString::fromStdString(plan::diameterText(tenths)) + QStringLiteral(" mm");
}

} // namespace

QString describe(const plan::joints::JointError& error) {
    using plan::joints::JointProblem;
    switch (error.problem) {
    case JointProblem::Rule:
        return ruleText(error.rule);
    case JointProblem::NoLength:
        return QStringLiteral("长度、根数和直径都大于 0 才能分段接长");
    case JointProblem::NotLong:
        return QStringLiteral("不超过最长的原材（%1 mm），用不着接头").arg(error.value);
    case JointProblem::LapTooLong:
        // A coupler adds nothing: then only the shortest segment leaves no room.
        return error.value > 0
                   ? QStringLiteral("搭接长度 %1 mm 过长，原材放不下一段").arg(error.value)
                   : QStringLiteral("原材放不下最短分段，分不成段");
    case JointProblem::ZonesBlock:
        return QStringLiteral("不许设接头的部位挡住了接头所有可放的位置");
    case JointProblem::ShareTooSmall:
        return QStringLiteral("接头率太小：并排的 %1 根钢筋中一根也不许在同一区段有接头")
            .arg(error.value);
    case JointProblem::ShareUnmet:
        return QStringLiteral("按接头率错开接头（连接区段 %1 mm）时原材不够长").arg(error.value);
    case JointProblem::ShareNotAllowed:
        return QStringLiteral("接头率 %1% 不行，只能是 %2")
            .arg(error.value)
            .arg(sharesAllowedText());
    }
    return {};
}

QString describe(const plan::joints::Warning& warning, const QString& steel) {
    QStringList bar;
    if (!warning.mark.empty()) {
        bar.append(QString::fromStdString(warning.mark));
    }
    if (!steel.isEmpty()) {
        bar.append(steel);
    }
    const QString subject = bar.isEmpty() ? QString() : bar.join(u' ') + u' ';
    switch (warning.warning) {
    case plan::joints::JointWarning::ThickTensionLap:
        return QStringLiteral("警告：%1受拉钢筋不宜绑扎搭接（直径大于 %2，GB 50010 第 8.4.2 条）")
            .arg(subject, diameterMm(plan::joints::kLapTensionMostTenths));
    case plan::joints::JointWarning::ThickCompressionLap:
        return QStringLiteral("警告：%1受压钢筋不宜绑扎搭接（直径大于 %2，GB 50010 第 8.4.2 条）")
            .arg(subject, diameterMm(plan::joints::kLapCompressionMostTenths));
    }
    return {};
}

} // namespace formats
