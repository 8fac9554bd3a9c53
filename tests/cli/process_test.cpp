// hengchi-plan as a user runs it: the built program in its own process, its exit code and what
// it prints on each stream.
#include <string>
#include <vector>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Finished {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Finished runProgram(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(HENGCHI_PLAN), arguments);
    EXPECT_TRUE(process.waitForFinished(60'000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QString example(const char* name) {
    return QStringLiteral(HENGCHI_EXAMPLES "/%1").arg(QString::fromUtf8(name));
}

TEST(Program, PlansTheExampleList) {
    const Finished f =
        runProgram({QStringLiteral("--seconds"), QStringLiteral("5"), QStringLiteral("--offcuts"),
                    example("offcuts.csv"), example("cutting-list.csv")});
    EXPECT_EQ(f.code, 0) << f.err.toStdString();
    EXPECT_TRUE(f.err.isEmpty());
    const QString text = QString::fromUtf8(f.out);
    EXPECT_TRUE(text.contains(QStringLiteral("合计"))) << f.out.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("库存余料")));
}

TEST(Program, PrintsJsonWithTheStableKeysOnStandardOutput) {
    const Finished f =
        runProgram({QStringLiteral("--json"), QStringLiteral("-"), QStringLiteral("--seconds"),
                    QStringLiteral("5"), example("cutting-list.csv")});
    ASSERT_EQ(f.code, 0) << f.err.toStdString();
    QJsonParseError error{};
    const QJsonObject plan = QJsonDocument::fromJson(f.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << f.out.toStdString();
    EXPECT_TRUE(plan.value(u"seconds").isDouble());
    const QJsonArray groups = plan.value(u"groups").toArray();
    ASSERT_FALSE(groups.isEmpty());
    for (const QJsonValue& g : groups) {
        const QJsonObject group = g.toObject();
        for (const char* key :
             {"diameter", "patterns", "stock_mm", "bound_mm", "optimal", "weight_kg"}) {
            EXPECT_TRUE(group.contains(QString::fromUtf8(key))) << key;
        }
        EXPECT_LE(group.value(u"bound_mm").toInteger(), group.value(u"stock_mm").toInteger());
        for (const QJsonValue& p : group.value(u"patterns").toArray()) {
            const QJsonObject pattern = p.toObject();
            for (const char* key : {"stock", "count", "cuts", "remnant", "offcut"}) {
                EXPECT_TRUE(pattern.contains(QString::fromUtf8(key))) << key;
            }
            for (const QJsonValue& c : pattern.value(u"cuts").toArray()) {
                EXPECT_TRUE(c.toObject().contains(u"mark"));
                EXPECT_TRUE(c.toObject().contains(u"length"));
            }
        }
    }
}

// The example schedule writes grades as names and as letters, with HRB400 and HRB500 of 25 mm
// and a seismic HRB400E beside HRB400 of 22 mm: each steel is a group of its own, and each
// group cuts only the marks of its steel.
TEST(Program, PlansTheExampleScheduleWorkbookSteelBySteel) {
    const Finished f =
        runProgram({QStringLiteral("--json"), QStringLiteral("-"), QStringLiteral("--seconds"),
                    QStringLiteral("5"), example("钢筋翻样单.xlsx")});
    ASSERT_EQ(f.code, 0) << f.err.toStdString();
    const QJsonArray groups = QJsonDocument::fromJson(f.out).object().value(u"groups").toArray();
    struct Steel {
        int diameter;
        const char16_t* grade;
        std::vector<const char16_t*> marks;
    };
    const std::vector<Steel> expected{
        {8, u"HPB300", {u"KL1-4", u"KL2-3"}},
        {10, u"HRB400", {u"KZ1-3", u"LB1-3"}},
        {12, u"HRB400", {u"LB1-1", u"LB1-2", u"LB2-1"}},
        {20, u"HRB400", {u"KL1-3"}},
        {22, u"HRB400", {u"KL1-2"}},
        {22, u"HRB400E", {u"KZ1-2", u"KZ2-1"}},
        {25, u"HRB400", {u"KL1-1", u"KL2-1", u"KL3-1", u"KL3-2"}},
        {25, u"HRB500", {u"KL2-2", u"KZ1-1"}},
    };
    ASSERT_EQ(groups.size(), static_cast<qsizetype>(expected.size())) << f.out.toStdString();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QJsonObject group = groups[static_cast<qsizetype>(i)].toObject();
        SCOPED_TRACE(group.value(u"steel").toString().toStdString());
        EXPECT_EQ(group.value(u"diameter").toInt(), expected[i].diameter);
        EXPECT_EQ(group.value(u"grade").toString(), QString::fromUtf16(expected[i].grade));
        QStringList marks;
        for (const QJsonValue& p : group.value(u"patterns").toArray()) {
            for (const QJsonValue& c : p.toObject().value(u"cuts").toArray()) {
                // A long bar's segments ("KL3-1/2") are cut with its steel: its row counts.
                marks.append(c.toObject().value(u"mark").toString().section(u'/', 0, 0));
            }
        }
        marks.removeDuplicates();
        marks.sort();
        QStringList want;
        for (const char16_t* mark : expected[i].marks) {
            want.append(QString::fromUtf16(mark));
        }
        EXPECT_EQ(marks, want);
    }
}

TEST(Program, ReadsAListSavedByExcelOnChineseWindows) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("清单.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QStringEncoder gbk("GB18030");
    file.write(gbk.encode(QStringLiteral("编号,直径,长度,根数\r\n梁KL1,Φ25,６４５７,4\r\n")));
    file.close();
    const Finished f = runProgram({path});
    EXPECT_EQ(f.code, 0) << f.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(f.out).contains(QStringLiteral("梁KL1 6457")))
        << f.out.toStdString();
}

TEST(Program, NamesEveryBadLineOnStandardErrorAndWritesNothing) {
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("list.csv"));
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("编号,直径,长度,根数\nKL1,25,6457,4\nKL2,25,六千,2\nKL3,25,6457,1.5\n");
    file.close();
    const QString json = dir.filePath(QStringLiteral("plan.json"));
    const Finished f = runProgram({QStringLiteral("--json"), json, list});
    EXPECT_EQ(f.code, 2);
    EXPECT_TRUE(f.out.isEmpty());
    EXPECT_FALSE(QFile::exists(json));
    const QStringList lines = QString::fromUtf8(f.err).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << f.err.toStdString();
    const QRegularExpression located(
        QStringLiteral("^%1:(\\d+): (长度|根数)：").arg(QRegularExpression::escape(list)));
    EXPECT_EQ(located.match(lines[0]).captured(1), QStringLiteral("3")) << lines[0].toStdString();
    EXPECT_EQ(located.match(lines[1]).captured(1), QStringLiteral("4")) << lines[1].toStdString();
}

TEST(Program, RefusesABadOption) {
    const Finished f =
        runProgram({QStringLiteral("--kerf"), QStringLiteral("2.5"), example("cutting-list.csv")});
    EXPECT_EQ(f.code, 2);
    EXPECT_TRUE(f.out.isEmpty());
    EXPECT_TRUE(
        QString::fromUtf8(f.err).startsWith(QStringLiteral("hengchi-plan: --kerf 2.5: 锯口：")));
}

TEST(Program, SaysItsVersionAndHelpInChinese) {
    const Finished version = runProgram({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QByteArray("hengchi-plan " HENGCHI_VERSION "\n"));
    const Finished help = runProgram({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    // Qt's own words come from its Chinese translation when it is installed.
    EXPECT_TRUE(QString::fromUtf8(help.out).contains(QStringLiteral("用法")))
        << help.out.toStdString();
}

} // namespace

namespace {

// The example detail report planned floor by floor: each floor in the report's order, the
// building's steel the sum of the floors', and what the yard holds at the end.
TEST(Program, PlansTheExampleReportFloorByFloor) {
    const Finished f = runProgram({QStringLiteral("--by-floor"), QStringLiteral("--json"),
                                   QStringLiteral("-"), example("钢筋明细表.xlsx")});
    ASSERT_EQ(f.code, 0) << f.err.toStdString();
    const QJsonObject building = QJsonDocument::fromJson(f.out).object();
    const QJsonArray floors = building.value(u"floors").toArray();
    QStringList names;
    qint64 steel = 0;
    for (const QJsonValue& floor : floors) {
        names.append(floor.toObject().value(u"floor").toString());
        steel += floor.toObject().value(u"stock_mm").toInteger();
        EXPECT_FALSE(floor.toObject().value(u"groups").toArray().isEmpty());
    }
    EXPECT_EQ(names, QStringList({QStringLiteral("首层"), QStringLiteral("第2层"),
                                  QStringLiteral("第3层"), QStringLiteral("屋面层")}));
    EXPECT_EQ(building.value(u"stock_mm").toInteger(), steel);
    EXPECT_TRUE(building.value(u"yard").isArray());

    const Finished one = runProgram(
        {QStringLiteral("--floor"), QStringLiteral("第3层"), example("钢筋明细表.xlsx")});
    ASSERT_EQ(one.code, 0) << one.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(one.out).contains(QStringLiteral("楼层：第3层")));
}

} // namespace
