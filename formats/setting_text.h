#pragma once

#include "plan/list.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The settings written as text — a list file's #设置 rows, the command's options, the planner's
// fields — read by one set of rules, so that a value accepted in one place is accepted in all.
// Numbers read as in the list (full-width digits too); a setting is never silently rounded.
namespace formats {

template <typename T>
struct SettingValue {
    T value{};
    // Source::Settings and the setting's field; for a stock length, `line` is its position in
    // the list (from 1).
    std::optional<plan::InputError> error;
};

// "9000;12000" or "9000,12000": whole millimetres, separated by ';' or ',' (full-width too),
// '、' or blanks; each above 0 and at most plan::kMaxLength, none twice, at least one.
[[nodiscard]] SettingValue<std::vector<std::int64_t>> readStockLengths(std::string_view text);
// Whole millimetres, 0 or more: at most plan::kMaxAllowance (kerf), plan::kMaxLength (keep).
[[nodiscard]] SettingValue<std::int64_t> readKerf(std::string_view text);
[[nodiscard]] SettingValue<std::int64_t> readKeep(std::string_view text);
// Seconds, with decimals: above 0 and at most plan::kMaxSeconds.
[[nodiscard]] SettingValue<double> readSeconds(std::string_view text);

// The joint settings. "C30", "c30", "30" → 30 (a class of the concrete table, C20…C80;
// another is NotANumber);
// "一级"/"1"/"一", "二级", "三级", "四级", "非抗震"/"无"/"0" → plan::joints::Seismic; diameters as
// the list reads them (tenths of a mm); the butt weld's allowance whole mm from 0 up to
// plan::kMaxAllowance, as checkList bounds it, the shortest segment above 0 up to
// plan::kMaxLength; shares "25", "50%", "100 %" (only 25, 50, 100,
// else ShareNotAllowed); yes/no as "是"/"否", "yes"/"no", "true"/"false", "1"/"0". Words that are
// not the setting's are NotANumber, as elsewhere; the yes/no setting's errors name
// plan::Field::ExtraJoint.
[[nodiscard]] SettingValue<int> readConcrete(std::string_view text);
[[nodiscard]] SettingValue<plan::joints::Seismic> readSeismic(std::string_view text);
[[nodiscard]] SettingValue<std::int64_t> readCouplerAbove(std::string_view text);
[[nodiscard]] SettingValue<std::int64_t> readButtAllowance(std::string_view text);
[[nodiscard]] SettingValue<std::int64_t> readShortestSegment(std::string_view text);
[[nodiscard]] SettingValue<bool> readExtraJoint(std::string_view text);
[[nodiscard]] SettingValue<int> readShare(plan::Field field, std::string_view text);
// Planning long bars by cost. Yes/no as above (errors name plan::Field::ByCost). Money in 元
// with at most two decimals, read exactly as whole fen, 0 or more and at most plan::kMaxPriceFen,
// a unit after it allowed ("4000", "3950.5", "4000元/t"; a third decimal is NotWhole): the
// price of steel a tonne. The prices of joints by method, "机械连接=8;焊接=5;绑扎搭接=0": the
// method as the joint column names it (直螺纹, 电渣压力焊…) or 焊接 for every weld, '=' or ':'
// before the price, entries separated as stock lengths are; a method not given keeps its
// price in `base`. A word that names no method is UnknownJoint with the word as `text`.
[[nodiscard]] SettingValue<bool> readByCost(std::string_view text);
[[nodiscard]] SettingValue<std::int64_t> readSteelPrice(std::string_view text);
[[nodiscard]] SettingValue<std::array<std::int64_t, 5>>
readJointPrices(std::string_view text, const std::array<std::int64_t, 5>& base);
// "4000", "8.5", "0.05": whole fen as 元 with no more decimals than it needs.
[[nodiscard]] std::string yuanText(std::int64_t fen);
// "绑扎搭接=0;机械连接=8;单面焊=5;双面焊=5;对焊=5", which readJointPrices reads back.
[[nodiscard]] std::string jointPricesText(const std::array<std::int64_t, 5>& fen);
// "C30", "二级" / "非抗震", "22" (a diameter in tenths as the list writes it), "是"/"否".
[[nodiscard]] std::string concreteText(int concrete);
[[nodiscard]] std::string seismicText(plan::joints::Seismic seismic);
[[nodiscard]] std::string diameterText(std::int64_t tenths);
[[nodiscard]] std::string yesNoText(bool yes);
// "50%".
[[nodiscard]] std::string shareText(int percent);
// What readConcrete and readShare accept, ascending: the classes of the design code's concrete
// table, the shares of its lap table.
[[nodiscard]] std::vector<int> concreteClasses();
[[nodiscard]] std::vector<int> allowedShares();

// The texts the readers above read back to the same values: "9000;12000", "10", "2.5".
[[nodiscard]] std::string stockLengthsText(const std::vector<std::int64_t>& lengths);
[[nodiscard]] std::string secondsText(double seconds);

} // namespace formats
