#include "cli/command.h"

#include <map>
#include <set>
#include <stop_token>
#include <string>
#include <vector>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// What a run printed and returned.
struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

// The command run as a function in a scratch folder; "{dir}" in an argument is that folder.
class Command : public testing::Test {
protected:
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(dir_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    [[nodiscard]] QString path(const QString& name) const { return dir_.filePath(name); }

    [[nodiscard]] QString expand(QString text) const {
        return text.replace(QStringLiteral("{dir}"), dir_.path());
    }

    Outcome run(const QStringList& words, std::stop_token stop = {}) {
        QStringList command{QStringLiteral("hengchi-plan")};
        for (const QString& w : words) {
            command.append(expand(w));
        }
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        Outcome r;
        r.code = cli::runCommand(command, out, err, false, std::move(stop));
        r.out = QString::fromUtf8(out.data());
        r.err = QString::fromUtf8(err.data());
        return r;
    }

    // The plan the command printed as JSON.
    QJsonObject planOf(const QStringList& words) {
        const Outcome r =
            run(QStringList(words) << QStringLiteral("--json") << QStringLiteral("-"));
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    }

    QTemporaryDir dir_;
};

QString s(const char* text) {
    return QString::fromUtf8(text);
}

QByteArray b(const char* text) {
    return QByteArray(text);
}

const QByteArray kList = b("编号,直径,长度,根数\nKL1-1,25,6457,4\nKZ2-3,25,3180,6\nG1,8,1560,20\n");

// Every pattern of every group.
std::vector<QJsonObject> patternsOf(const QJsonObject& plan) {
    std::vector<QJsonObject> out;
    for (const QJsonValue& g : plan.value(u"groups").toArray()) {
        for (const QJsonValue& p : g.toObject().value(u"patterns").toArray()) {
            out.push_back(p.toObject());
        }
    }
    return out;
}

TEST_F(Command, PrintsTheReadablePlanWhenNoOutputIsNamed) {
    write(s("list.csv"), kList);
    const Outcome r = run({s("{dir}/list.csv")});
    EXPECT_EQ(r.code, cli::kPlanned);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(s("Φ25"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(s("Φ8")));
    EXPECT_TRUE(r.out.contains(s("合计")));
}

TEST_F(Command, AnInterruptedSearchStillWritesTheBestPlanSoFar) {
    write(s("list.csv"), kList);
    std::stop_source stop;
    stop.request_stop();
    const Outcome r = run({s("{dir}/list.csv"), s("--json"), s("-")}, stop.get_token());
    EXPECT_EQ(r.code, cli::kPlanned);
    EXPECT_TRUE(r.err.contains(s("已中断"))) << r.err.toStdString();
    const QJsonObject plan = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_TRUE(plan.value(u"cancelled").toBool());
    EXPECT_EQ(plan.value(u"groups").toArray().size(), 2);
}

struct Wrong {
    const char* name;
    QByteArray list;
    QStringList words; // the list file is added last
    QStringList complaints;
};

class WrongInput : public Command, public testing::WithParamInterface<Wrong> {};

TEST_P(WrongInput, ComplainsAboutEachAtItsLineAndWritesNothing) {
    write(s("list.csv"), GetParam().list);
    write(s("old.json"), b("old"));
    const Outcome r =
        run(QStringList(GetParam().words) << s("--json") << s("{dir}/old.json") << s("--csv")
                                          << s("{dir}/new.csv") << s("{dir}/list.csv"));
    EXPECT_EQ(r.code, cli::kBadInput);
    EXPECT_TRUE(r.out.isEmpty());
    QStringList expected;
    for (const QString& c : GetParam().complaints) {
        expected.append(expand(c));
    }
    EXPECT_EQ(r.err.split(u'\n', Qt::SkipEmptyParts), expected) << r.err.toStdString();
    QFile old(path(s("old.json")));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), b("old"));
    EXPECT_FALSE(QFile::exists(path(s("new.csv"))));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Inputs, WrongInput, testing::Values(
    // KL3, longer than the stock, is a long bar and no error.
    Wrong{"RowsAtTheirLines",
          b("编号,直径,长度,根数\nKL1,25,6457,4\nKL2,25,abc,2\n\nKL3,25,13000,1\nKL4,25,100,0\nKL5,,100,1\n"),
          {}, {s("{dir}/list.csv:3: 长度：不是数字"),
               s("{dir}/list.csv:6: 根数：必须大于 0"),
               s("{dir}/list.csv:7: 直径：没有填写")}},
    Wrong{"NoSegmentFitsTheStockGiven", kList, {s("--stock"), s("6000"), s("--shortest-segment"), s("6000")},
          {s("{dir}/list.csv:2: 长度：原材放不下最短分段，分不成段")}},
    Wrong{"UnknownJoint", b("编号,直径,长度,根数,接头\nKL1,25,15000,4,焊\n"), {},
          {s("{dir}/list.csv:2: 接头：不认识“焊”，可写绑扎搭接、机械连接、单面焊、双面焊或对焊")}},
    Wrong{"ShareOfARow", b("编号,直径,长度,根数,接头率\nKL1,25,15000,4,30%\n"), {},
          {s("{dir}/list.csv:2: 接头率：只能是 25%、50% 或 100%")}},
    Wrong{"LapWithoutGrade", b("编号,直径,长度,根数,接头\nKL1,20,15000,4,绑扎搭接\n"), {},
          {s("{dir}/list.csv:2: 长度：绑扎搭接需要钢筋牌号（填写级别，或在“搭接长度”列写明搭接长度）")}},
    Wrong{"LapTooLong", b("编号,级别,直径,长度,根数,接头,搭接长度\nKL1,HRB400,20,15000,4,搭接,11800\n"), {},
          {s("{dir}/list.csv:2: 长度：搭接长度 11800 mm 过长，原材放不下一段")}},
    Wrong{"WeakConcrete", b("编号,级别,直径,长度,根数,接头\nKL1,HRB400,20,15000,4,搭接\n"), {s("--concrete"), s("C20")},
          {s("{dir}/list.csv:2: 长度：HRB400 及强度更高的钢筋要求混凝土不低于 C25（GB 50010 第 4.1.2 条），算不出搭接长度")}},
    Wrong{"ShareTooSmall", b("编号,直径,长度,构件数,根数,接头率\nKL1,25,15000,1,3,25\n"), {},
          {s("{dir}/list.csv:2: 接头率太小：并排的 3 根钢筋中一根也不许在同一区段有接头")}},
    Wrong{"BadZone", b("编号,直径,长度,根数,禁止接头区\nKL1,25,15000,4,500-0\n"), {},
          {s("{dir}/list.csv:2: 禁止接头区：应写成 起点-终点（毫米，从钢筋一端量起，在钢筋长度之内），几段用分号分开，如 0-500;14500-15000")}},
    Wrong{"MissingColumn", b("编号,直径,根数\nKL1,25,4\n"), {}, {s("{dir}/list.csv:1: 缺少“长度”列")}},
    Wrong{"FileAndRowProblemsInLineOrder",
          b("编号,直径,长度,根数\nKL1,25,x,4\n#设置\n锯口,2.5\n#余料\n直径,长度,根数\n32,3000,1\n"), {},
          {s("{dir}/list.csv:2: 长度：不是数字"), s("{dir}/list.csv:4: 锯口：必须是整数"),
           s("{dir}/list.csv:7: 直径：清单里没有这种钢筋（级别和直径都相同）")}},
    Wrong{"BadStockInTheFileIsNotMeasuredAgainst",
          b("编号,直径,长度,根数\nKL1,25,15000,4\n#设置\n原材长度,9000;0\n"), {},
          {s("{dir}/list.csv:4: 原材长度：必须大于 0")}},
    Wrong{"KerfWithDecimals", kList, {s("--kerf"), s("2.5")}, {s("hengchi-plan: --kerf 2.5: 锯口：必须是整数")}},
    Wrong{"StockZero", kList, {s("--stock"), s("9000,0")}, {s("hengchi-plan: --stock 9000,0: 原材长度：必须大于 0")}},
    Wrong{"StockTwice", kList, {s("--stock"), s("9000,9000")}, {s("hengchi-plan: --stock 9000,9000: 原材长度：重复")}},
    Wrong{"SecondsZero", kList, {s("--seconds"), s("0")}, {s("hengchi-plan: --seconds 0: 时限：必须大于 0")}},
    Wrong{"KeepNegative", kList, {s("--keep"), s("-1")}, {s("hengchi-plan: --keep -1: 最短余料：不能是负数")}},
    Wrong{"OptionsBeforeFiles", b("编号,直径,长度,根数\nKL1,25,x,4\n"), {s("--kerf"), s("x")},
          {s("hengchi-plan: --kerf x: 锯口：不是数字"), s("{dir}/list.csv:2: 长度：不是数字")}},
    Wrong{"MissingOffcutsFile", kList, {s("--offcuts"), s("{dir}/none.csv")}, {s("{dir}/none.csv: 文件不存在")}},
    Wrong{"NotText", b("编号,直径,长度,根数\nKL1,25,6457,4\n\xFF\xFF\n"), {}, {s("{dir}/list.csv:3: 不是 UTF-8 或 GB18030 编码的文本")}},
    Wrong{"UnknownGradeLetter", b("编号,直径,长度,根数\nKL1,X25,6457,4\n"), {},
          {s("{dir}/list.csv:2: 直径：不认识的级别“X”（在牌号表里添上它的代号，或写牌号，如 HRB400）")}},
    Wrong{"UnknownGradeName", b("编号,级别,直径,长度,根数\nKL1,HRB999,25,6457,4\n"), {},
          {s("{dir}/list.csv:2: 级别：不认识的级别“HRB999”（在牌号表里添上它的代号，或写牌号，如 HRB400）")}},
    Wrong{"GradeColumnAndCellDisagree", b("编号,级别,直径,长度,根数\nKL1,HRB500,C25,6457,4\n"), {},
          {s("{dir}/list.csv:2: 级别：HRB500 与直径里写的 HRB400 不一致")}},
    Wrong{"TotalDisagreesWithElementsTimesBars",
          b("编号,直径,长度,构件数,根数,总根数\nKL1,25,6457,4,6,25\n"), {},
          {s("{dir}/list.csv:2: 总根数：与 构件数 × 根数 = 24 不一致")}},
    Wrong{"LetterNoTableKnows", b("编号,直径,长度,根数\nKL1,F25,6457,4\n"),
          {s("--grade"), s("C=HRB400E")},
          {s("{dir}/list.csv:2: 直径：不认识的级别“F”（在牌号表里添上它的代号，或写牌号，如 HRB400）")}},
    Wrong{"GradeOptionNotAnEntry", kList, {s("--grade"), s("HRB400")},
          {s("hengchi-plan: --grade HRB400: 应写成 代号=牌号，如 C=HRB400E")}},
    Wrong{"GradeOptionNotAGrade", kList, {s("--grade"), s("C=STEEL")},
          {s("hengchi-plan: --grade C=STEEL: 牌号表的牌号“STEEL”：不是钢筋牌号（如 HPB300、HRB400E）")}},
    Wrong{"MissingGradesFile", kList, {s("--grades"), s("{dir}/none.csv")}, {s("{dir}/none.csv: 文件不存在")}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A lap the design code advises against is planned all the same, with a warning at its row.
TEST_F(Command, WarnsOfAThickLapAndStillPlans) {
    write(s("list.csv"), b("编号,级别,直径,长度,根数,接头\nKL1,HRB400,28,15000,4,搭接\n"));
    const Outcome r = run({s("{dir}/list.csv")});
    EXPECT_EQ(r.code, cli::kPlanned) << r.err.toStdString();
    EXPECT_EQ(r.err,
              expand(s("{dir}/list.csv:2: 警告：KL1 HRB400 Φ28 受拉钢筋不宜绑扎搭接（直径大于 "
                       "25 mm，GB 50010 第 8.4.2 条）\n")));
    EXPECT_TRUE(r.out.contains(s("Φ28"))) << r.out.toStdString();
}

TEST_F(Command, WarnsBeforeTheErrorsOfAListNotPlanned) {
    write(s("list.csv"), b("编号,级别,直径,长度,根数,接头\nKL1,HRB400,28,15000,4,搭接\n"
                           "KL2,HRB400,28,abc,2,\n"));
    const Outcome r = run({s("{dir}/list.csv")});
    EXPECT_EQ(r.code, cli::kBadInput);
    EXPECT_TRUE(r.out.isEmpty());
    const QStringList lines = r.err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.err.toStdString();
    // Without a checked list the steel is not known: the mark alone names the bar.
    EXPECT_TRUE(lines[0].startsWith(expand(s("{dir}/list.csv:2: 警告：KL1 受拉钢筋"))))
        << lines[0].toStdString();
    EXPECT_EQ(lines[1], expand(s("{dir}/list.csv:3: 长度：不是数字")));
}

TEST_F(Command, NamesTheOffcutsFileForItsRows) {
    write(s("list.csv"), kList);
    write(s("yard.csv"), b("直径,长度,根数\n25,3200,2\n20,3000,1\n25,,1\n"));
    const Outcome r = run({s("--offcuts"), s("{dir}/yard.csv"), s("{dir}/list.csv")});
    EXPECT_EQ(r.code, cli::kBadInput);
    EXPECT_EQ(
        r.err.split(u'\n', Qt::SkipEmptyParts),
        (QStringList{expand(s("{dir}/yard.csv:3: 直径：清单里没有这种钢筋（级别和直径都相同）")),
                     expand(s("{dir}/yard.csv:4: 长度：没有填写"))}));
}

TEST_F(Command, ComplainsAboutAMissingListFile) {
    const Outcome r = run({s("{dir}/none.csv")});
    EXPECT_EQ(r.code, cli::kBadInput);
    EXPECT_EQ(r.err, expand(s("{dir}/none.csv: 文件不存在\n")));
}

TEST_F(Command, ComplainsAboutTheCommandLine) {
    for (const QStringList& words :
         {QStringList{}, QStringList{s("a.csv"), s("b.csv")}, QStringList{s("--bogus"), s("a.csv")},
          QStringList{s("--xlsx"), s("-"), s("a.csv")},
          QStringList{s("--json"), s("-"), s("--csv"), s("-"), s("a.csv")}}) {
        SCOPED_TRACE(words.join(u' ').toStdString());
        const Outcome r = run(words);
        EXPECT_EQ(r.code, cli::kBadInput);
        EXPECT_TRUE(r.err.startsWith(s("hengchi-plan: "))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST_F(Command, UsesTheFileSettingsUnlessAnOptionOverridesThem) {
    write(s("list.csv"), kList + b("#设置\n原材长度,7000\n"));
    for (const QJsonObject& p : patternsOf(planOf({s("{dir}/list.csv")}))) {
        EXPECT_EQ(p.value(u"stock").toInteger(), 7000);
    }
    for (const QJsonObject& p :
         patternsOf(planOf({s("--stock"), s("9000"), s("{dir}/list.csv")}))) {
        EXPECT_EQ(p.value(u"stock").toInteger(), 9000);
    }
}

// Each bar loses the kerf at every cut but one that ends at the bar's end; a kerf wider than
// what is left after the last piece takes the rest.
void expectKerf(const QJsonObject& plan, std::int64_t kerf) {
    const std::vector<QJsonObject> patterns = patternsOf(plan);
    ASSERT_FALSE(patterns.empty());
    for (const QJsonObject& p : patterns) {
        std::int64_t cut = 0;
        const QJsonArray cuts = p.value(u"cuts").toArray();
        for (const QJsonValue& c : cuts) {
            cut += c.toObject().value(u"length").toInteger();
        }
        const std::int64_t remnant = p.value(u"remnant").toInteger();
        const std::int64_t lost = p.value(u"stock").toInteger() - cut - remnant;
        if (remnant > 0) {
            EXPECT_EQ(lost, kerf * cuts.size());
        } else {
            EXPECT_GE(lost, kerf * (cuts.size() - 1));
            EXPECT_LE(lost, kerf * cuts.size());
        }
    }
}

TEST_F(Command, TakesTheKerfFromTheFileOrTheOption) {
    write(s("list.csv"), kList + b("#设置,,,\n锯口,7,,\n"));
    expectKerf(planOf({s("{dir}/list.csv")}), 7);
    expectKerf(planOf({s("--kerf"), s("0"), s("{dir}/list.csv")}), 0);
}

TEST_F(Command, UsesTheOffcutsOfTheFileUnlessAnOffcutsFileIsGiven) {
    write(s("list.csv"), kList + b("#余料\n直径,长度,根数\n25,6500,2\n"));
    write(s("yard.csv"), b("直径,长度,根数\n8,1600,3\n"));
    const auto offcuts = [](const QJsonObject& plan) {
        std::map<std::int64_t, std::int64_t> used; // stock length → bars
        for (const QJsonObject& p : patternsOf(plan)) {
            if (p.value(u"offcut").toBool()) {
                used[p.value(u"stock").toInteger()] += p.value(u"count").toInteger();
            }
        }
        return used;
    };
    EXPECT_EQ(offcuts(planOf({s("{dir}/list.csv")})),
              (std::map<std::int64_t, std::int64_t>{{6500, 2}}));
    EXPECT_EQ(offcuts(planOf({s("--offcuts"), s("{dir}/yard.csv"), s("{dir}/list.csv")})),
              (std::map<std::int64_t, std::int64_t>{{1600, 3}}));
}

// Two grades of one diameter, by name, by letter and by the grade column.
const QByteArray kGraded = b("构件名称,筋号,级别,直径,长度,构件数,根数,总根数\n"
                             "KL1,1,HRB400,25,6000,2,3,6\n"
                             "KL1,2,HRB500,25,5000,2,2,4\n"
                             "KL2,1,,C25,4000,1,5,\n");

// The groups of a plan by their steel as written, with the marks each cut.
std::map<QString, std::set<QString>> marksBySteel(const QJsonObject& plan) {
    std::map<QString, std::set<QString>> out;
    for (const QJsonValue& g : plan.value(u"groups").toArray()) {
        std::set<QString>& marks = out[g.toObject().value(u"steel").toString()];
        for (const QJsonValue& p : g.toObject().value(u"patterns").toArray()) {
            for (const QJsonValue& c : p.toObject().value(u"cuts").toArray()) {
                marks.insert(c.toObject().value(u"mark").toString());
            }
        }
    }
    return out;
}

TEST_F(Command, NeverCutsTwoGradesFromOneBar) {
    write(s("list.csv"), kGraded);
    const QJsonObject plan = planOf({s("{dir}/list.csv")});
    EXPECT_EQ(marksBySteel(plan),
              (std::map<QString, std::set<QString>>{{s("C25"), {s("KL1-1"), s("KL2-1")}},
                                                    {s("HRB500 Φ25"), {s("KL1-2")}}}));
    const QJsonArray groups = plan.value(u"groups").toArray();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].toObject().value(u"grade").toString(), s("HRB400"));
    EXPECT_EQ(groups[1].toObject().value(u"grade").toString(), s("HRB500"));
    EXPECT_EQ(groups[0].toObject().value(u"mass").toString(), s("nominal"));
}

TEST_F(Command, TheGradeTableComesFromTheFileTheOptionOrEntries) {
    write(s("list.csv"), kGraded + b("#牌号\n代号,牌号\nC,HRB500\n"));
    write(s("grades.csv"), b("代号,牌号\nC,HRB400E\n"));
    const auto steels = [](const QJsonObject& plan) {
        QStringList out;
        for (const QJsonValue& g : plan.value(u"groups").toArray()) {
            out.append(g.toObject().value(u"grade").toString());
        }
        return out;
    };
    // The file says C is HRB500: KL2-1 goes with KL1-2.
    EXPECT_EQ(steels(planOf({s("{dir}/list.csv")})), (QStringList{s("HRB400"), s("HRB500")}));
    EXPECT_EQ(steels(planOf({s("--grades"), s("{dir}/grades.csv"), s("{dir}/list.csv")})),
              (QStringList{s("HRB400"), s("HRB400E"), s("HRB500")}));
    EXPECT_EQ(steels(planOf({s("--grades"), s("{dir}/grades.csv"), s("--grade"), s("C=HRB400"),
                             s("{dir}/list.csv")})),
              (QStringList{s("HRB400"), s("HRB500")}));
}

TEST_F(Command, JsonGradeIsNullWithoutOne) {
    write(s("list.csv"), kList);
    for (const QJsonValue& g : planOf({s("{dir}/list.csv")}).value(u"groups").toArray()) {
        EXPECT_TRUE(g.toObject().value(u"grade").isNull());
        EXPECT_TRUE(g.toObject().contains(u"diameter"));
    }
}

TEST_F(Command, HeadsTheTextWithTheProject) {
    write(s("list.csv"), kList + b("#设置\n项目,某某工程\n"));
    const Outcome r = run({s("{dir}/list.csv")});
    EXPECT_TRUE(r.out.startsWith(s("项目：某某工程\n"))) << r.out.toStdString();
}

TEST_F(Command, WritesEveryOutputAskedForAndPrintsNothing) {
    write(s("list.csv"), kList);
    const Outcome r = run({s("--json"), s("{dir}/plan.json"), s("--csv"), s("{dir}/sheet.csv"),
                           s("--xlsx"), s("{dir}/sheet.xlsx"), s("{dir}/list.csv")});
    EXPECT_EQ(r.code, cli::kPlanned) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.isEmpty());
    for (const char* name : {"plan.json", "sheet.csv", "sheet.xlsx"}) {
        QFile file(path(s(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        EXPECT_GT(file.size(), 100) << name;
    }
    QFile xlsx(path(s("sheet.xlsx")));
    ASSERT_TRUE(xlsx.open(QIODevice::ReadOnly));
    EXPECT_TRUE(xlsx.read(4) == b("PK\x03\x04"));
}

TEST_F(Command, WritesNoOutputWhenOneCannotBeWritten) {
    write(s("list.csv"), kList);
    const Outcome r = run({s("--csv"), s("{dir}/sheet.csv"), s("--json"),
                           s("{dir}/no/such/plan.json"), s("{dir}/list.csv")});
    EXPECT_EQ(r.code, cli::kNotWritten);
    EXPECT_TRUE(r.err.startsWith(s("hengchi-plan: "))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(s("plan.json")));
    EXPECT_FALSE(QFile::exists(path(s("sheet.csv"))));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{s("list.csv")});
}

TEST_F(Command, PrintsHelpAndVersion) {
    const Outcome help = run({s("--help")});
    EXPECT_EQ(help.code, cli::kPlanned);
    for (const char* option :
         {"--stock", "--offcuts", "--kerf", "--keep", "--seconds", "--json", "--csv", "--xlsx"}) {
        EXPECT_TRUE(help.out.contains(s(option))) << option;
    }
    const Outcome version = run({s("--version")});
    EXPECT_EQ(version.code, cli::kPlanned);
    EXPECT_EQ(version.out, s("hengchi-plan " HENGCHI_VERSION "\n"));
}

} // namespace

int main(int argc, char* argv[]) {
    // QCommandLineParser asks the application for its name and version.
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
