#include "formats/setting_text.h"

#include "formats/joint_text.h"
#include "plan/number.h"
#include "plan/trade_tables.h"

#include <array>
#include <charconv>
#include <cmath>
#include <set>

#include <QRegularExpression>
#include <QString>

namespace formats {
namespace {

using plan::joints::Seismic;

plan::Problem problemOf(plan::NumberError error) {
    switch (error) {
    case plan::NumberError::Empty:
        return plan::Problem::Empty;
    case plan::NumberError::NotANumber:
        return plan::Problem::NotANumber;
    case plan::NumberError::NotWhole:
        return plan::Problem::NotWhole;
    case plan::NumberError::NotPositive:
        return plan::Problem::NotPositive;
    case plan::NumberError::Negative:
        return plan::Problem::Negative;
    case plan::NumberError::TooLarge:
        return plan::Problem::TooLarge;
    }
    return plan::Problem::NotANumber;
}

plan::InputError settingError(plan::Field field, plan::Problem problem, std::int64_t limit = 0,
                              int position = 0) {
    return {plan::Source::Settings, position, field, problem, limit, {}};
}

SettingValue<std::int64_t> allowance(std::string_view text, plan::Field field, std::int64_t limit) {
    const plan::Number n = plan::readAllowance(text, limit);
    if (n.error) {
        const plan::Problem problem = problemOf(*n.error);
        return {0, settingError(field, problem, problem == plan::Problem::TooLarge ? limit : 0)};
    }
    return {n.value, std::nullopt};
}

// Full-width letters, digits and signs and the ideographic space become ASCII under NFKC, as
// the list's numbers read them; blanks around and inside a word do not count.
QString plainText(std::string_view text) {
    QString normal = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                         .normalized(QString::NormalizationForm_KC);
    normal.remove(QRegularExpression(QStringLiteral("\\s+")));
    return normal.toLower();
}

template <typename T>
SettingValue<T> failed(plan::Field field, plan::Problem problem, std::int64_t limit = 0) {
    return {T{}, settingError(field, problem, limit)};
}

// A word of `words`, `plain` as plainText gives it; or Empty / NotANumber.
template <typename T, std::size_t N>
SettingValue<T> oneOf(const QString& plain, plan::Field field,
                      const std::array<std::pair<std::u16string_view, T>, N>& words) {
    if (plain.isEmpty()) {
        return failed<T>(field, plan::Problem::Empty);
    }
    for (const auto& [word, value] : words) {
        if (plain == QStringView(word)) {
            return {value, std::nullopt};
        }
    }
    return failed<T>(field, plan::Problem::NotANumber);
}

constexpr std::array<std::pair<std::u16string_view, Seismic>, 21> kSeismicWords{{
    {u"一级", Seismic::One},  {u"一", Seismic::One},      {u"1", Seismic::One},
    {u"1级", Seismic::One},   {u"二级", Seismic::Two},    {u"二", Seismic::Two},
    {u"2", Seismic::Two},     {u"2级", Seismic::Two},     {u"三级", Seismic::Three},
    {u"三", Seismic::Three},  {u"3", Seismic::Three},     {u"3级", Seismic::Three},
    {u"四级", Seismic::Four}, {u"四", Seismic::Four},     {u"4", Seismic::Four},
    {u"4级", Seismic::Four},  {u"非抗震", Seismic::None}, {u"不抗震", Seismic::None},
    {u"无", Seismic::None},   {u"0", Seismic::None},      {u"none", Seismic::None},
}};

constexpr std::array<std::pair<std::u16string_view, bool>, 12> kYesNoWords{{
    {u"是", true},
    {u"否", false},
    {u"yes", true},
    {u"no", false},
    {u"true", true},
    {u"false", false},
    {u"1", true},
    {u"0", false},
    {u"允许", true},
    {u"不允许", false},
    {u"y", true},
    {u"n", false},
}};

// Money in 元, exactly, as whole fen: digits, at most two decimals, then perhaps a unit.
SettingValue<std::int64_t> yuan(QString plain, plan::Field field) {
    for (const auto unit : {u"元/吨", u"元/t", u"元/个", u"元"}) {
        if (plain.endsWith(QStringView(unit))) {
            plain.chop(static_cast<qsizetype>(std::u16string_view(unit).size()));
            break;
        }
    }
    if (plain.isEmpty()) {
        return failed<std::int64_t>(field, plan::Problem::Empty);
    }
    if (plain.startsWith(u'-')) {
        return failed<std::int64_t>(field, plan::Problem::Negative);
    }
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^\\+?([0-9]+)(?:\\.([0-9]*))?$")).match(plain);
    if (!match.hasMatch()) {
        return failed<std::int64_t>(field, plan::Problem::NotANumber);
    }
    QString cents = match.captured(2);
    while (cents.size() > 2 && cents.endsWith(u'0')) {
        cents.chop(1);
    }
    if (cents.size() > 2) {
        return failed<std::int64_t>(field, plan::Problem::NotWhole);
    }
    const QString whole = match.captured(1);
    const std::int64_t limit = plan::kMaxPriceFen / 100;
    bool ok = false;
    const qlonglong units = whole.size() > 12 ? limit + 1 : whole.toLongLong(&ok);
    if (units > limit) {
        return failed<std::int64_t>(field, plan::Problem::TooLarge, limit);
    }
    const std::int64_t fen = units * 100 + cents.leftJustified(2, u'0').toLongLong();
    if (fen > plan::kMaxPriceFen) {
        return failed<std::int64_t>(field, plan::Problem::TooLarge, limit);
    }
    return {fen, std::nullopt};
}

} // namespace

SettingValue<std::vector<std::int64_t>> readStockLengths(std::string_view text) {
    const QRegularExpression separators(QStringLiteral("[;,；，、\\s　]+"));
    const QStringList items = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                                  .split(separators, Qt::SkipEmptyParts);
    SettingValue<std::vector<std::int64_t>> out;
    if (items.isEmpty()) {
        out.error = settingError(plan::Field::StockLength, plan::Problem::NoStock);
        return out;
    }
    std::set<std::int64_t> seen;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const int position = static_cast<int>(i + 1);
        const plan::Number n = plan::readCount(items[i].toStdString(), plan::kMaxLength);
        if (n.error) {
            const plan::Problem problem = problemOf(*n.error);
            out.error =
                settingError(plan::Field::StockLength, problem,
                             problem == plan::Problem::TooLarge ? plan::kMaxLength : 0, position);
            return out;
        }
        if (!seen.insert(n.value).second) {
            out.error =
                settingError(plan::Field::StockLength, plan::Problem::Duplicate, 0, position);
            return out;
        }
        out.value.push_back(n.value);
    }
    return out;
}

SettingValue<std::int64_t> readKerf(std::string_view text) {
    return allowance(text, plan::Field::Kerf, plan::kMaxAllowance);
}

SettingValue<std::int64_t> readKeep(std::string_view text) {
    return allowance(text, plan::Field::Keep, plan::kMaxLength);
}

SettingValue<double> readSeconds(std::string_view text) {
    // Full-width digits and the ideographic space become ASCII under NFKC, as the list's
    // numbers read them.
    const QString normal = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                               .normalized(QString::NormalizationForm_KC)
                               .trimmed();
    const auto fail = [](plan::Problem problem, std::int64_t limit = 0) {
        return SettingValue<double>{0, settingError(plan::Field::Seconds, problem, limit)};
    };
    if (normal.isEmpty()) {
        return fail(plan::Problem::Empty);
    }
    const QRegularExpression number(
        QStringLiteral("^([+-]?)([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    const QRegularExpressionMatch match = number.match(normal);
    if (!match.hasMatch()) {
        return fail(plan::Problem::NotANumber);
    }
    const QByteArray ascii = normal.toLatin1();
    double value = 0;
    const char* first = ascii.constData() + (ascii.startsWith('+') ? 1 : 0);
    const auto [end, ec] = std::from_chars(first, ascii.constData() + ascii.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Beyond a double either way: a tiny exponent is as good as zero.
        if (match.captured(3).contains(u'-')) {
            return fail(plan::Problem::NotPositive);
        }
        return match.captured(1) == u"-"
                   ? fail(plan::Problem::Negative)
                   : fail(plan::Problem::TooLarge, static_cast<std::int64_t>(plan::kMaxSeconds));
    }
    if (ec != std::errc() || end != ascii.constData() + ascii.size()) {
        return fail(plan::Problem::NotANumber);
    }
    if (value < 0) {
        return fail(plan::Problem::Negative);
    }
    if (value == 0) {
        return fail(plan::Problem::NotPositive);
    }
    if (value > plan::kMaxSeconds) {
        return fail(plan::Problem::TooLarge, static_cast<std::int64_t>(plan::kMaxSeconds));
    }
    return {value, std::nullopt};
}

SettingValue<int> readConcrete(std::string_view text) {
    QString plain = plainText(text);
    if (plain.isEmpty()) {
        return failed<int>(plan::Field::Concrete, plan::Problem::Empty);
    }
    if (plain.startsWith(u'c')) {
        plain.remove(0, 1);
    }
    bool number = false;
    const int grade = plain.toInt(&number);
    // Only the classes of the design code's table: the lap lengths are worked out from it.
    if (!number || !plan::joints::tensileStrength(grade)) {
        return failed<int>(plan::Field::Concrete, plan::Problem::NotANumber);
    }
    return {grade, std::nullopt};
}

SettingValue<Seismic> readSeismic(std::string_view text) {
    // "二级抗震", "抗震二级" and "抗震等级二级" say the same as "二级".
    const QString plain = plainText(text);
    QString grade = plain;
    for (const auto word : {u"抗震等级", u"抗震"}) {
        const QString w = QString::fromUtf16(word);
        if (grade.startsWith(w) && grade.size() > w.size()) {
            grade.remove(0, w.size());
        } else if (grade.endsWith(w) && grade.size() > w.size() && !grade.startsWith(u'非') &&
                   !grade.startsWith(u'不')) {
            grade.chop(w.size());
        }
    }
    return oneOf(grade, plan::Field::Seismic, kSeismicWords);
}

SettingValue<std::int64_t> readCouplerAbove(std::string_view text) {
    const plan::Number n = plan::readDiameter(text, plan::kMaxDiameter);
    if (n.error) {
        const plan::Problem problem = problemOf(*n.error);
        return failed<std::int64_t>(plan::Field::CouplerAbove, problem,
                                    problem == plan::Problem::TooLarge ? plan::kMaxDiameter : 0);
    }
    return {n.value, std::nullopt};
}

SettingValue<std::int64_t> readButtAllowance(std::string_view text) {
    return allowance(text, plan::Field::ButtAllowance, plan::kMaxAllowance);
}

SettingValue<std::int64_t> readShortestSegment(std::string_view text) {
    const plan::Number n = plan::readCount(text, plan::kMaxLength);
    if (n.error) {
        const plan::Problem problem = problemOf(*n.error);
        return failed<std::int64_t>(plan::Field::ShortestSegment, problem,
                                    problem == plan::Problem::TooLarge ? plan::kMaxLength : 0);
    }
    return {n.value, std::nullopt};
}

SettingValue<bool> readExtraJoint(std::string_view text) {
    return oneOf(plainText(text), plan::Field::ExtraJoint, kYesNoWords);
}

SettingValue<bool> readByCost(std::string_view text) {
    return oneOf(plainText(text), plan::Field::ByCost, kYesNoWords);
}

SettingValue<std::int64_t> readSteelPrice(std::string_view text) {
    return yuan(plainText(text), plan::Field::SteelPrice);
}

SettingValue<std::array<std::int64_t, 5>> readJointPrices(std::string_view text,
                                                          const std::array<std::int64_t, 5>& base) {
    using plan::joints::Method;
    const QRegularExpression separators(QStringLiteral("[;,；，、\\s　]+"));
    const QStringList items = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                                  .normalized(QString::NormalizationForm_KC)
                                  .split(separators, Qt::SkipEmptyParts);
    SettingValue<std::array<std::int64_t, 5>> out{base, std::nullopt};
    if (items.isEmpty()) {
        out.error = settingError(plan::Field::JointPrice, plan::Problem::Empty);
        return out;
    }
    for (const QString& item : items) {
        const qsizetype at = item.indexOf(QRegularExpression(QStringLiteral("[=:]")));
        if (at <= 0) {
            out.error = settingError(plan::Field::JointPrice, plan::Problem::NotANumber);
            return out;
        }
        const QString name = item.left(at);
        std::vector<Method> methods;
        if (name == u"焊接" || name == u"焊") {
            methods = {Method::LapWeldSingle, Method::LapWeldDouble, Method::ButtWeld};
        } else if (const auto method = plan::joints::methodOfKey(jointKey(name.toStdString()))) {
            methods = {*method};
        } else {
            out.error = settingError(plan::Field::JointPrice, plan::Problem::UnknownJoint);
            out.error->text = name.toStdString();
            return out;
        }
        const SettingValue<std::int64_t> price =
            yuan(plainText(item.mid(at + 1).toStdString()), plan::Field::JointPrice);
        if (price.error) {
            out.error = price.error;
            return out;
        }
        for (const Method m : methods) {
            out.value[static_cast<std::size_t>(m)] = price.value;
        }
    }
    return out;
}

std::string yuanText(std::int64_t fen) {
    std::string text = std::to_string(fen / 100);
    if (const std::int64_t cents = fen % 100; cents != 0) {
        // Appended digit by digit: g++ 12 takes "." + a string for an overlapping copy.
        text += '.';
        text += static_cast<char>('0' + cents / 10);
        if (cents % 10 != 0) {
            text += static_cast<char>('0' + cents % 10);
        }
    }
    return text;
}

std::string jointPricesText(const std::array<std::int64_t, 5>& fen) {
    using plan::joints::Method;
    // The words the joint column's reader takes back, one for each method.
    static constexpr std::array<std::pair<Method, std::string_view>, 5> kNames{{
        {Method::Lap, "绑扎搭接"},
        {Method::Coupler, "机械连接"},
        {Method::LapWeldSingle, "单面焊"},
        {Method::LapWeldDouble, "双面焊"},
        {Method::ButtWeld, "对焊"},
    }};
    std::string out;
    for (const auto& [method, name] : kNames) {
        if (!out.empty()) {
            out += ';';
        }
        out += name;
        out += '=';
        out += yuanText(fen[static_cast<std::size_t>(method)]);
    }
    return out;
}

SettingValue<int> readShare(plan::Field field, std::string_view text) {
    QString plain = plainText(text);
    if (plain.endsWith(u'%')) {
        plain.chop(1);
    }
    if (plain.isEmpty()) {
        return failed<int>(field, plan::Problem::Empty);
    }
    const plan::Number n = plan::readCount(plain.toStdString(), plan::kMaxCount);
    if (n.error &&
        (*n.error == plan::NumberError::Empty || *n.error == plan::NumberError::NotANumber)) {
        return failed<int>(field, plan::Problem::NotANumber);
    }
    // The lap table (8.4.4) has only these shares, and staggering is worked out from them.
    if (n.error || !plan::joints::lapFactor(static_cast<int>(n.value))) {
        return failed<int>(field, plan::Problem::ShareNotAllowed);
    }
    return {static_cast<int>(n.value), std::nullopt};
}

std::vector<int> concreteClasses() {
    // Every class the table could hold, rather than a copy of its rows here.
    constexpr int kAbove = 200;
    std::vector<int> out;
    for (int c = 1; c < kAbove; ++c) {
        if (plan::joints::tensileStrength(c)) {
            out.push_back(c);
        }
    }
    return out;
}

std::vector<int> allowedShares() {
    std::vector<int> out;
    for (int share = 1; share <= 100; ++share) {
        if (plan::joints::lapFactor(share)) {
            out.push_back(share);
        }
    }
    return out;
}

std::string concreteText(int concrete) {
    // Appended, not "C" + …: g++ 12 takes the insertion at the front for an overlapping copy.
    std::string text = "C";
    text += std::to_string(concrete);
    return text;
}

std::string seismicText(Seismic seismic) {
    switch (seismic) {
    case Seismic::One:
        return "一级";
    case Seismic::Two:
        return "二级";
    case Seismic::Three:
        return "三级";
    case Seismic::Four:
        return "四级";
    case Seismic::None:
        break;
    }
    return "非抗震";
}

std::string diameterText(std::int64_t tenths) {
    return plan::diameterText(tenths);
}

std::string yesNoText(bool yes) {
    return yes ? "是" : "否";
}

std::string shareText(int percent) {
    return std::to_string(percent) + "%";
}

std::string stockLengthsText(const std::vector<std::int64_t>& lengths) {
    std::string out;
    for (const std::int64_t length : lengths) {
        if (!out.empty()) {
            out += ';';
        }
        out += std::to_string(length);
    }
    return out;
}

std::string secondsText(double seconds) {
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), seconds);
    return ec == std::errc() ? std::string(buffer.data(), end) : std::string("0");
}

} // namespace formats
