#pragma once

#include "formats/list_file.h"
#include "planner/list_tables.h"
#include "planner/text_table.h"

#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

// How long bars are joined, as the settings table holds it: one text per setting, in the words
// formats/setting_text.h reads and writes, and empty where the document leaves the setting to
// its default. So a list without long bars is saved as it always was, with no joint settings,
// and a setting the file gave is written back as it was given.
namespace planner {

// The texts of the joint settings a document gives, for the columns kConcrete … kJointPrices.
[[nodiscard]] QStringList jointSettingTexts(const formats::ListSettings& settings);

struct JointSettingsRead {
    formats::ListSettings given; // only the joint settings, and only those with a text
    std::vector<std::pair<SettingColumn, plan::InputError>> errors;
};

// The settings table's joint texts read; a wrong one is left out of `given` and named.
[[nodiscard]] JointSettingsRead readJointSettings(const TextTable& settings);

} // namespace planner
