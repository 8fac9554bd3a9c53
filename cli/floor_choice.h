#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

// Which floors (楼层) of a list the command plans: --floor 首层, given more than once, or a range
// --floor 首层..第3层 of the floors in the order the list first names them.
namespace cli {

struct FloorChoice {
    std::vector<std::string> floors; // in the list's order, each once
    QString error;                   // when not empty, why nothing is chosen
};

// `asked` as the options give it; `floors` the list's, in its order (plan::CuttingList::floors).
// Nothing asked chooses every floor.
[[nodiscard]] FloorChoice chooseFloors(const QStringList& asked,
                                       const std::vector<std::string>& floors);

} // namespace cli
