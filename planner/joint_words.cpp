#include "planner/joint_words.h"

#include "formats/plan_words.h"

#include <array>

#include <QStringList>

namespace planner {

using plan::joints::Method;

QStringList methodNames() {
    QStringList names;
    for (const Method method : {Method::Lap, Method::Coupler, Method::LapWeldSingle,
                                Method::LapWeldDouble, Method::ButtWeld}) {
        names.append(formats::methodName(method));
    }
    return names;
}

QString overlapText(Method method, std::int64_t overlapMm) {
    switch (method) {
    case Method::Lap:
        return QStringLiteral("搭接 %1 mm").arg(overlapMm);
    case Method::LapWeldSingle:
    case Method::LapWeldDouble:
        return QStringLiteral("焊缝 %1 mm").arg(overlapMm);
    case Method::ButtWeld:
        return QStringLiteral("烧损 %1 mm").arg(overlapMm);
    case Method::Coupler:
        break;
    }
    return {};
}

} // namespace planner
