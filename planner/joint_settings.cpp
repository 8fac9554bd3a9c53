#include "planner/joint_settings.h"

#include "formats/setting_text.h"

namespace planner {
namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The text of a setting the document gives, or empty.
template <typename T, typename Text>
QString textOf(const std::optional<T>& value, Text text) {
    return value ? text(*value) : QString();
}

// Reads one text into `into` when there is one; a wrong text is named with its column.
template <typename Read, typename T>
void readInto(const TextTable& settings, SettingColumn column, Read read, std::optional<T>& into,
              JointSettingsRead& out) {
    const QString text = settings.text(0, column).trimmed();
    if (text.isEmpty()) {
        return;
    }
    const auto value = read(text.toStdString());
    if (value.error) {
        out.errors.emplace_back(column, *value.error);
    } else {
        into = value.value;
    }
}

} // namespace

QStringList jointSettingTexts(const formats::ListSettings& settings) {
    const auto number = [](std::int64_t value) {
        return QString::number(value);
    };
    return {
        textOf(settings.concrete, [](int c) { return fromUtf8(formats::concreteText(c)); }),
        textOf(settings.seismic,
               [](plan::joints::Seismic s) { return fromUtf8(formats::seismicText(s)); }),
        textOf(settings.couplerAbove,
               [](std::int64_t d) { return fromUtf8(formats::diameterText(d)); }),
        textOf(settings.lapShare, number),
        textOf(settings.mechanicalShare, number),
        textOf(settings.shortestSegment, number),
        textOf(settings.buttAllowance, number),
        textOf(settings.extraJoint, [](bool yes) { return fromUtf8(formats::yesNoText(yes)); }),
        textOf(settings.byCost, [](bool yes) { return fromUtf8(formats::yesNoText(yes)); }),
        textOf(settings.steelPrice,
               [](std::int64_t fen) { return fromUtf8(formats::yuanText(fen)); }),
        textOf(settings.jointPrices,
               [](const std::array<std::int64_t, 5>& fen) {
                   return fromUtf8(formats::jointPricesText(fen));
               }),
    };
}

JointSettingsRead readJointSettings(const TextTable& settings) {
    JointSettingsRead out;
    formats::ListSettings& given = out.given;
    readInto(settings, kConcrete, formats::readConcrete, given.concrete, out);
    readInto(settings, kSeismic, formats::readSeismic, given.seismic, out);
    readInto(settings, kCouplerAbove, formats::readCouplerAbove, given.couplerAbove, out);
    const auto share = [](plan::Field field) {
        return [field](std::string_view text) {
            return formats::readShare(field, text);
        };
    };
    readInto(settings, kLapShare, share(plan::Field::LapShare), given.lapShare, out);
    readInto(settings, kMechanicalShare, share(plan::Field::MechanicalShare), given.mechanicalShare,
             out);
    readInto(settings, kShortestSegment, formats::readShortestSegment, given.shortestSegment, out);
    readInto(settings, kButtAllowance, formats::readButtAllowance, given.buttAllowance, out);
    readInto(settings, kExtraJoint, formats::readExtraJoint, given.extraJoint, out);
    readInto(settings, kByCost, formats::readByCost, given.byCost, out);
    readInto(settings, kSteelPrice, formats::readSteelPrice, given.steelPrice, out);
    readInto(
        settings, kJointPrices,
        [](std::string_view text) {
            return formats::readJointPrices(text, plan::joints::kJointFen);
        },
        given.jointPrices, out);
    return out;
}

} // namespace planner
