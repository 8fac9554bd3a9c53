#include "formats/joint_text.h"
#include "formats/plan_words.h"
#include "plan/joints/rules.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "qt_print.h"

namespace {

using plan::joints::Method;

struct Spelling {
    const char* name;
    std::string text;
    std::string key;
};

class JointKey : public testing::TestWithParam<Spelling> {};

TEST_P(JointKey, ReadsWhatListsWrite) {
    const std::string key = formats::jointKey(GetParam().text);
    EXPECT_EQ(key, GetParam().key);
    // Whatever it reads as, the planning library takes it for that method.
    if (!GetParam().key.empty() && GetParam().key != GetParam().text) {
        EXPECT_TRUE(plan::joints::methodOfKey(key)) << key;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, JointKey, testing::Values(
    Spelling{"TiedLap", "绑扎搭接", "lap"},
    Spelling{"Lap", "搭接", "lap"},
    Spelling{"Tied", "绑扎", "lap"},
    Spelling{"Mechanical", "机械连接", "coupler"},
    Spelling{"MechanicalShort", "机械", "coupler"},
    Spelling{"StraightThread", "直螺纹", "coupler"},
    Spelling{"StraightThreadJoint", "直螺纹连接", "coupler"},
    Spelling{"RolledThread", "滚压直螺纹", "coupler"},
    Spelling{"TaperThread", "锥螺纹", "coupler"},
    Spelling{"Sleeve", "套筒", "coupler"},
    Spelling{"SleeveJoint", "套筒连接", "coupler"},
    Spelling{"SingleWeld", "单面焊", "lap-weld-single"},
    Spelling{"SingleLapWeld", "单面搭接焊", "lap-weld-single"},
    Spelling{"DoubleWeld", "双面焊", "lap-weld-double"},
    Spelling{"DoubleLapWeld", "双面搭接焊", "lap-weld-double"},
    Spelling{"Butt", "对焊", "butt-weld"},
    Spelling{"FlashButt", "闪光对焊", "butt-weld"},
    Spelling{"Electroslag", "电渣压力焊", "butt-weld"},
    Spelling{"GasPressure", "气压焊", "butt-weld"},
    Spelling{"KeyLap", "lap", "lap"},
    Spelling{"KeyCoupler", "coupler", "coupler"},
    Spelling{"KeySingle", "lap-weld-single", "lap-weld-single"},
    Spelling{"KeyDouble", "lap-weld-double", "lap-weld-double"},
    Spelling{"KeyButt", "butt-weld", "butt-weld"},
    Spelling{"KeyUpperCase", "Coupler", "coupler"},
    Spelling{"KeyFullWidth", "ｌａｐ", "lap"},
    Spelling{"Trimmed", "  机械连接 ", "coupler"},
    Spelling{"FullWidthSpaces", "　直螺纹　", "coupler"},
    Spelling{"SpaceInside", "绑扎　搭接", "lap"},
    Spelling{"Empty", "", ""},
    Spelling{"OnlyBlanks", " 　 ", ""},
    Spelling{"UnknownWordKept", "焊接", "焊接"},
    Spelling{"UnknownKeptAsWritten", " 铆接 ", " 铆接 "},
    Spelling{"AlmostAKey", "laps", "laps"}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(JointKey, EveryMethodsKeyAndChineseNameReadBackAsIt) {
    for (const Method method : {Method::Lap, Method::Coupler, Method::LapWeldSingle,
                                Method::LapWeldDouble, Method::ButtWeld}) {
        const std::string key(plan::joints::methodKey(method));
        SCOPED_TRACE(key);
        EXPECT_EQ(formats::jointKey(key), key);
        // What the outputs name a method, a list may write back.
        EXPECT_EQ(formats::jointKey(formats::methodName(method).toStdString()), key);
    }
}

TEST(MethodName, NamesEachMethodApart) {
    const std::vector<Method> methods{Method::Lap, Method::Coupler, Method::LapWeldSingle,
                                      Method::LapWeldDouble, Method::ButtWeld};
    const QStringList want{QStringLiteral("绑扎搭接"), QStringLiteral("机械连接"),
                           QStringLiteral("单面搭接焊"), QStringLiteral("双面搭接焊"),
                           QStringLiteral("对焊")};
    QStringList got;
    for (const Method method : methods) {
        got.append(formats::methodName(method));
    }
    EXPECT_EQ(got, want);
}

TEST(ResolveJoints, TurnsEveryRowsMethodIntoItsKey) {
    std::vector<plan::PieceRow> rows{
        {"KL1-1", "25", "15000", "4", 2},
        {"KL1-2", "25", "15000", "4", 3},
        {"KL1-3", "25", "15000", "4", 4},
    };
    rows[0].joint = "直螺纹";
    rows[1].joint = "";
    rows[2].joint = "焊";
    formats::resolveJoints(rows);
    EXPECT_EQ(rows[0].joint, "coupler");
    EXPECT_EQ(rows[1].joint, "");
    EXPECT_EQ(rows[2].joint, "焊");
}

} // namespace
