#include "cli/floor_choice.h"

#include <algorithm>
#include <optional>
#include <set>

namespace cli {
namespace {

QString floorList(const std::vector<std::string>& floors) {
    QStringList names;
    for (const std::string& f : floors) {
        if (!f.empty()) {
            names.append(QString::fromStdString(f));
        }
    }
    return names.join(u'、');
}

// The place of a floor named as written, spaces around it ignored.
std::optional<std::size_t> indexOf(const QString& name, const std::vector<std::string>& floors) {
    const std::string wanted = name.trimmed().toStdString();
    const auto it = std::ranges::find(floors, wanted);
    if (wanted.empty() || it == floors.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - floors.begin());
}

} // namespace

FloorChoice chooseFloors(const QStringList& asked, const std::vector<std::string>& floors) {
    FloorChoice out;
    const bool named = std::ranges::any_of(floors, [](const std::string& f) { return !f.empty(); });
    if (asked.isEmpty()) {
        out.floors = floors;
        return out;
    }
    if (!named) {
        out.error = QStringLiteral("--floor：清单没有楼层（楼层 列，或明细表的 楼层名称 行）");
        return out;
    }
    std::set<std::size_t> chosen;
    for (const QString& option : asked) {
        const QStringList ends = option.split(QStringLiteral(".."));
        std::vector<std::size_t> at;
        for (const QString& end : ends) {
            const std::optional<std::size_t> i = indexOf(end, floors);
            if (!i) {
                out.error = QStringLiteral("--floor %1：清单里没有楼层“%2”（有：%3）")
                                .arg(option, end.trimmed(), floorList(floors));
                return out;
            }
            at.push_back(*i);
        }
        if (at.size() > 2) {
            out.error = QStringLiteral("--floor %1：一段楼层写成 起..止").arg(option);
            return out;
        }
        for (std::size_t i = std::ranges::min(at); i <= std::ranges::max(at); ++i) {
            chosen.insert(i);
        }
    }
    for (const std::size_t i : chosen) {
        out.floors.push_back(floors[i]);
    }
    return out;
}

} // namespace cli
