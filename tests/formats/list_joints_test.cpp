#include "formats/list_file.h"
#include "formats/places.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "qt_print.h"

// A list's long bars: the joint columns of its rows and the joint settings of its #设置.
namespace {

using formats::FileProblem;
using formats::ListDocument;
using formats::ListRead;
using formats::ListRow;
using formats::readList;
using formats::writeList;
using plan::Field;
using plan::joints::Seismic;

struct Header {
    const char* name;
    const char* header; // the four joint columns' names, after 编号,直径,长度,根数
};

class ReadJointColumns : public testing::TestWithParam<Header> {};

TEST_P(ReadJointColumns, FindsThemByAnyOfTheirNames) {
    const ListRead read = readList(QByteArray("编号,直径,长度,根数,") + GetParam().header +
                                   "\nKL1,28,15000,4,直螺纹,50%,1400,0-500;14500-15000\n");
    ASSERT_TRUE(read.errors.empty());
    ASSERT_EQ(read.document.rows.size(), 1U);
    const plan::PieceRow& row = read.document.rows[0].piece;
    // As written: the method becomes a key only when the rows are checked.
    EXPECT_EQ(row.joint, "直螺纹");
    EXPECT_EQ(row.share, "50%");
    EXPECT_EQ(row.lap, "1400");
    EXPECT_EQ(row.zones, "0-500;14500-15000");
    EXPECT_TRUE(read.document.otherColumns.empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, ReadJointColumns, testing::Values(
    Header{"Chinese", "接头,接头率,搭接长度,禁止接头区"},
    Header{"English", "joint,share,lap,zones"},
    Header{"Method", "接头方式,接头百分率,搭接长度(mm),非连接区"},
    Header{"Connection", "连接方式,接头面积百分率,Lap,非接头区"},
    Header{"Form", "接头形式,Share,搭接长度（mm）,禁止接头区(mm)"}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct Named {
    const char* name;
    QString column;
    std::optional<Field> field;
};

class CountOrGradeColumn : public testing::TestWithParam<Named> {};

TEST_P(CountOrGradeColumn, NamesTheFieldAPlannerColumnShows) {
    EXPECT_EQ(formats::countOrGradeColumn(GetParam().column), GetParam().field);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, CountOrGradeColumn, testing::Values(
    Named{"Grade", QStringLiteral("级别"), Field::Grade},
    Named{"Elements", QStringLiteral("构件数"), Field::Elements},
    Named{"Total", QStringLiteral("总根数"), Field::Total},
    Named{"Joint", QStringLiteral("接头"), Field::Joint},
    Named{"JointMethod", QStringLiteral(" 连接方式 "), Field::Joint},
    Named{"Share", QStringLiteral("接头率"), Field::Share},
    Named{"ShareByArea", QStringLiteral("接头面积百分率"), Field::Share},
    Named{"Lap", QStringLiteral("搭接长度(mm)"), Field::Lap},
    Named{"LapEnglish", QStringLiteral("LAP"), Field::Lap},
    Named{"Zones", QStringLiteral("禁止接头区"), Field::Zones},
    Named{"NoConnectionZone", QStringLiteral("非连接区"), Field::Zones},
    Named{"OneOfTheSix", QStringLiteral("长度"), std::nullopt},
    Named{"Note", QStringLiteral("备注"), std::nullopt}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Long bars with every joint column, and every joint setting.
ListDocument longBars() {
    ListDocument d;
    const auto row = [&](std::string mark, std::string length, std::string joint, std::string share,
                         std::string lap) {
        ListRow r;
        r.piece = {std::move(mark), "28", std::move(length), "4", 0};
        r.piece.joint = std::move(joint);
        r.piece.share = std::move(share);
        r.piece.lap = std::move(lap);
        d.rows.push_back(std::move(r));
    };
    row("KL1-1", "15000", "机械连接", "50%", "");
    row("KL1-2", "20000", "绑扎搭接", "25", "1400");
    d.rows.back().piece.zones = "0-500;19500-20000";
    row("KL1-3", "6000", "", "", "");
    row("KL1-4", "16000", "lap-weld-double", "", "");
    d.settings.kerf = 0;
    d.settings.concrete = 35;
    d.settings.seismic = Seismic::Two;
    d.settings.couplerAbove = 250;
    d.settings.buttAllowance = 25;
    d.settings.shortestSegment = 1000;
    d.settings.extraJoint = true;
    d.settings.lapShare = 50;
    d.settings.mechanicalShare = 100;
    return d;
}

ListDocument oneSetting(void (*put)(formats::ListSettings&)) {
    ListDocument d;
    d.rows.push_back({{"KL1", "25", "6457", "4", 0}, "", "", {}});
    put(d.settings);
    return d;
}

struct Document {
    const char* name;
    ListDocument document;
};

class JointRoundTrip : public testing::TestWithParam<Document> {};

TEST_P(JointRoundTrip, ReadsBackTheSameRowsAndSettings) {
    const ListDocument& want = GetParam().document;
    const QByteArray bytes = writeList(want);
    const ListRead back = readList(bytes);
    ASSERT_TRUE(back.errors.empty());
    EXPECT_EQ(back.document.settings, want.settings);
    ASSERT_EQ(back.document.rows.size(), want.rows.size());
    for (std::size_t i = 0; i < want.rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back.document.rows[i].piece.joint, want.rows[i].piece.joint);
        EXPECT_EQ(back.document.rows[i].piece.share, want.rows[i].piece.share);
        EXPECT_EQ(back.document.rows[i].piece.lap, want.rows[i].piece.lap);
        EXPECT_EQ(back.document.rows[i].piece.zones, want.rows[i].piece.zones);
        EXPECT_EQ(back.document.rows[i].piece.length, want.rows[i].piece.length);
    }
    EXPECT_TRUE(back.document.otherColumns.empty());
    EXPECT_EQ(writeList(back.document), bytes);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Documents, JointRoundTrip, testing::Values(
    Document{"LongBars", longBars()},
    Document{"Concrete", oneSetting([](formats::ListSettings& s) { s.concrete = 80; })},
    Document{"NotSeismic", oneSetting([](formats::ListSettings& s) { s.seismic = Seismic::None; })},
    Document{"SeismicOne", oneSetting([](formats::ListSettings& s) { s.seismic = Seismic::One; })},
    Document{"CouplerAboveATenth", oneSetting([](formats::ListSettings& s) { s.couplerAbove = 65; })},
    Document{"NoButtAllowance", oneSetting([](formats::ListSettings& s) { s.buttAllowance = 0; })},
    Document{"NoExtraJoint", oneSetting([](formats::ListSettings& s) { s.extraJoint = false; })},
    Document{"LapShareOnly", oneSetting([](formats::ListSettings& s) { s.lapShare = 100; })},
    Document{"MechanicalShareOnly", oneSetting([](formats::ListSettings& s) { s.mechanicalShare = 25; })},
    Document{"ByCost", oneSetting([](formats::ListSettings& s) { s.byCost = true; })},
    Document{"SteelPriceWithFen", oneSetting([](formats::ListSettings& s) { s.steelPrice = 395'005; })},
    Document{"JointPrices", oneSetting([](formats::ListSettings& s) { s.jointPrices = {{0, 1250, 500, 650, 5}}; })}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(WriteList, WritesTheJointColumnsOnlyWhenUsedAfterTheScheduleOnes) {
    ListDocument d;
    d.rows.push_back({{"KL1", "25", "6457", "4", 0}, "", "", {}});
    EXPECT_TRUE(writeList(d).contains("编号,直径,长度,根数,形状,参数\r\n"));
    d.rows[0].piece.lap = "1400";
    EXPECT_TRUE(writeList(d).contains("编号,直径,长度,根数,形状,参数,搭接长度\r\n"));
    d.rows[0].piece.joint = "搭接";
    d.rows[0].piece.grade = "HRB400";
    EXPECT_TRUE(writeList(d).contains("编号,直径,长度,根数,形状,参数,级别,接头,搭接长度\r\n"));
}

TEST(WriteList, WritesTheJointSettingsByTheirNames) {
    const QByteArray bytes = writeList(longBars());
    for (const char* line :
         {"\r\n混凝土,C35\r\n", "\r\n抗震等级,二级\r\n", "\r\n机械连接直径,25\r\n",
          "\r\n对焊余量,25\r\n", "\r\n最短分段,1000\r\n", "\r\n允许多一个接头,是\r\n",
          "\r\n搭接接头率,50%\r\n", "\r\n机械接头率,100%\r\n"}) {
        EXPECT_TRUE(bytes.contains(line)) << line;
    }
}

formats::FileError badSetting(int line, Field field, plan::Problem value, std::int64_t limit = 0) {
    formats::FileError e;
    e.line = line;
    e.problem = FileProblem::BadSetting;
    e.field = field;
    e.value = value;
    e.limit = limit;
    return e;
}

formats::FileError repeated(int line, const char* name) {
    formats::FileError e;
    e.line = line;
    e.problem = FileProblem::RepeatedSetting;
    e.text = name;
    return e;
}

struct Wrong {
    const char* name;
    const char* settings; // the rows under #设置
    std::vector<formats::FileError> errors;
};

class ReadWrongJointSetting : public testing::TestWithParam<Wrong> {};

TEST_P(ReadWrongJointSetting, NamesTheSettingAtItsLine) {
    const ListRead read =
        readList(QByteArray("编号,直径,长度,根数\nKL1,25,6457,4\n#设置\n") + GetParam().settings);
    EXPECT_EQ(read.errors, GetParam().errors);
    EXPECT_EQ(read.document.settings, formats::ListSettings{});
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, ReadWrongJointSetting, testing::Values(
    Wrong{"Concrete", "混凝土,C33\n", {badSetting(4, Field::Concrete, plan::Problem::NotANumber)}},
    Wrong{"Seismic", "抗震等级,五级\n", {badSetting(4, Field::Seismic, plan::Problem::NotANumber)}},
    Wrong{"CouplerAbove", "机械连接直径,0\n", {badSetting(4, Field::CouplerAbove, plan::Problem::NotPositive)}},
    Wrong{"ButtAllowance", "对焊余量,-1\n", {badSetting(4, Field::ButtAllowance, plan::Problem::Negative)}},
    Wrong{"ShortestSegment", "最短分段,2000000\n", {badSetting(4, Field::ShortestSegment, plan::Problem::TooLarge, plan::kMaxLength)}},
    Wrong{"ExtraJoint", "允许多一个接头,也许\n", {badSetting(4, Field::ExtraJoint, plan::Problem::NotANumber)}},
    Wrong{"LapShare", "搭接接头率,33%\n", {badSetting(4, Field::LapShare, plan::Problem::ShareNotAllowed)}},
    Wrong{"MechanicalShare", "mechanical-share,\n", {badSetting(4, Field::MechanicalShare, plan::Problem::Empty)}},
    Wrong{"WrongThenRepeated", "搭接接头率,10\nlap-share,50\n",
          {badSetting(4, Field::LapShare, plan::Problem::ShareNotAllowed), repeated(5, "lap-share")}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ReadList, ReadsTheJointSettingsByTheirEnglishNames) {
    const ListRead read = readList(QByteArray(
        "编号,直径,长度,根数\nKL1,25,6457,4\n#设置\nconcrete,c40\nseismic,3\ncoupler-above,25\n"
        "butt-allowance,20\nshortest-segment,800\nextra-joint,yes\nlap-share,100\n"
        "mechanical-share,25\n"));
    ASSERT_TRUE(read.errors.empty());
    const formats::ListSettings& s = read.document.settings;
    EXPECT_EQ(s.concrete, 40);
    EXPECT_EQ(s.seismic, Seismic::Three);
    EXPECT_EQ(s.couplerAbove, 250);
    EXPECT_EQ(s.buttAllowance, 20);
    EXPECT_EQ(s.shortestSegment, 800);
    EXPECT_EQ(s.extraJoint, true);
    EXPECT_EQ(s.lapShare, 100);
    EXPECT_EQ(s.mechanicalShare, 25);
}

TEST(Applied, PutsTheFilesJointSettingsOverTheBase) {
    plan::Settings base;
    base.joints.concrete = 40;
    base.joints.shortestSegment = 700;
    base.joints.extraJoint = true;
    formats::ListSettings file;
    file.seismic = Seismic::One;
    file.lapShare = 50;
    file.extraJoint = false;
    const plan::Settings got = formats::applied(file, base);
    plan::joints::JointSettings want = base.joints;
    want.seismic = Seismic::One;
    want.lapShare = 50;
    want.extraJoint = false;
    EXPECT_EQ(got.joints, want);
    // Every setting the file gives reaches the planning library's settings.
    const plan::Settings all = formats::applied(longBars().settings, plan::Settings{});
    EXPECT_EQ(all.joints.concrete, 35);
    EXPECT_EQ(all.joints.seismic, Seismic::Two);
    EXPECT_EQ(all.joints.couplerAbove, 250);
    EXPECT_EQ(all.joints.buttAllowance, 25);
    EXPECT_EQ(all.joints.shortestSegment, 1000);
    EXPECT_TRUE(all.joints.extraJoint);
    EXPECT_EQ(all.joints.lapShare, 50);
    EXPECT_EQ(all.joints.mechanicalShare, 100);
}

struct Place {
    const char* name;
    Field field;
    const char* cell;
};

class JointCellPlace : public testing::TestWithParam<Place> {};

// A workbook's error in a joint column is at its own cell, as in the other columns.
TEST_P(JointCellPlace, NamesTheCellOfTheField) {
    ListRead read =
        readList(QByteArray("钢筋表\n编号,直径,长度,根数,备注,搭接长度,接头率,接头,禁止接头区\n"
                            "KL1,28,15000,4,,1400,30,焊,0-\n"));
    ASSERT_TRUE(read.errors.empty());
    read.place.sheet = "钢筋表";
    plan::InputError error;
    error.source = plan::Source::Pieces;
    error.line = 3;
    error.field = GetParam().field;
    EXPECT_EQ(formats::placeText(read.place, error), QString::fromUtf8(GetParam().cell));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Fields, JointCellPlace, testing::Values(
    Place{"Lap", Field::Lap, "钢筋表!F3"},
    Place{"Share", Field::Share, "钢筋表!G3"},
    Place{"Joint", Field::Joint, "钢筋表!H3"},
    Place{"Zones", Field::Zones, "钢筋表!I3"},
    Place{"Length", Field::Length, "钢筋表!C3"}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
