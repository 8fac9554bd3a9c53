#include "formats/setting_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <set>

#include <QRegularExpression>
#include <QString>

namespace formats {
namespace {

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
