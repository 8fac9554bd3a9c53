// hengchi-plan with a yard (--yard FILE): two lists, the second cut from the first one's
// remnants; a commit undone; the yard's options that do not go together; each refusal's exit
// code and the file it names.
#include "cli/command.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString s(const char* text) {
    return QString::fromUtf8(text);
}

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

class YardCommand : public testing::Test {
protected:
    void write(const char* name, const QByteArray& bytes) {
        QFile file(dir_.filePath(s(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The command with "{dir}" in an argument standing for the scratch folder.
    Outcome run(const QStringList& words) {
        QStringList command{s("hengchi-plan")};
        for (QString w : words) {
            command.append(w.replace(s("{dir}"), dir_.path()));
        }
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        Outcome r;
        r.code = cli::runCommand(command, out, err);
        r.out = QString::fromUtf8(out.data());
        r.err = QString::fromUtf8(err.data());
        return r;
    }

    QJsonObject groupOf(const Outcome& r) {
        EXPECT_EQ(r.code, cli::kPlanned) << r.err.toStdString();
        const QJsonArray groups =
            QJsonDocument::fromJson(r.out.toUtf8()).object().value(u"groups").toArray();
        EXPECT_EQ(groups.size(), 1);
        return groups.at(0).toObject();
    }

    QTemporaryDir dir_;
};

// List A leaves a 1000 of each 9 m bar; list B's pieces fit those.
const QByteArray kListA("编号,直径,长度,根数\nKL1,C25,8000,3\n#设置\n原材长度,9000\n项目,一号楼\n");
const QByteArray kListB("编号,直径,长度,根数\nL1,C25,900,3\n#设置\n原材长度,9000\n");

TEST_F(YardCommand, TheSecondListIsCutFromTheFirstListsRemnants) {
    write("a.csv", kListA);
    write("b.csv", kListB);
    // Plain Φ25 in the yard serves no C25 piece, and is no error for a list without it.
    write("plain.csv", QByteArray("直径,长度,根数\n25,1000,5\n"));
    ASSERT_EQ(
        run({s("--yard"), s("{dir}/y.sqlite"), s("--yard-import"), s("{dir}/plain.csv")}).code,
        cli::kPlanned);
    const QJsonObject alone =
        groupOf(run({s("--yard"), s("{dir}/y.sqlite"), s("--json"), s("-"), s("{dir}/b.csv")}));
    EXPECT_EQ(alone.value(u"stock_mm").toInt(), 9000);

    const Outcome a = run({s("--yard"), s("{dir}/y.sqlite"), s("--commit"), s("--floor"), s("二层"),
                           s("{dir}/a.csv")});
    ASSERT_EQ(a.code, cli::kPlanned) << a.err.toStdString();
    EXPECT_TRUE(a.err.contains(s("放回 HRB400 Φ25 1000×3"))) << a.err.toStdString();

    const QJsonObject b =
        groupOf(run({s("--yard"), s("{dir}/y.sqlite"), s("--json"), s("-"), s("{dir}/b.csv")}));
    EXPECT_EQ(b.value(u"stock_mm").toInt(), 0);
    const QJsonArray used = b.value(u"offcuts_used").toArray();
    ASSERT_EQ(used.size(), 1);
    EXPECT_EQ(used.at(0).toObject().value(u"length").toInt(), 1000);
    EXPECT_EQ(used.at(0).toObject().value(u"count").toInt(), 3);

    const Outcome history = run({s("--yard"), s("{dir}/y.sqlite"), s("--yard-history")});
    EXPECT_TRUE(history.out.contains(s("确认下料 · 一号楼 · 二层 · a.csv")))
        << history.out.toStdString();
}

TEST_F(YardCommand, FloorByFloorEachFloorIsCommittedBeforeTheNextIsPlanned) {
    write("b.csv", QByteArray("编号,楼层,直径,长度,根数\nKL1,首层,C25,8000,3\nL1,二层,C25,900,3\n"
                              "#设置\n原材长度,9000\n"));
    const Outcome r = run({s("--yard"), s("{dir}/y.sqlite"), s("--commit"), s("--by-floor"),
                           s("--json"), s("-"), s("{dir}/b.csv")});
    ASSERT_EQ(r.code, cli::kPlanned) << r.err.toStdString();
    const QJsonArray floors =
        QJsonDocument::fromJson(r.out.toUtf8()).object().value(u"floors").toArray();
    ASSERT_EQ(floors.size(), 2) << r.out.toStdString();
    const QJsonObject second = floors.at(1).toObject().value(u"groups").toArray().at(0).toObject();
    EXPECT_EQ(second.value(u"stock_mm").toInt(), 0) << r.out.toStdString();

    // Two commits, one a floor; the second took what the first put in, and left nothing.
    const Outcome history = run({s("--yard"), s("{dir}/y.sqlite"), s("--yard-history")});
    EXPECT_TRUE(history.out.contains(s("· 首层 ·"))) << history.out.toStdString();
    EXPECT_TRUE(history.out.contains(s("· 二层 ·"))) << history.out.toStdString();
    const Outcome yard = run({s("--yard"), s("{dir}/y.sqlite"), s("--yard-csv"), s("-")});
    EXPECT_EQ(yard.out.split(u'\n', Qt::SkipEmptyParts).size(), 1) << yard.out.toStdString();
}

TEST_F(YardCommand, ACommitIsUndoneOnceAndTheYardIsAsBefore) {
    write("a.csv", kListA);
    ASSERT_EQ(run({s("--yard"), s("{dir}/y.sqlite"), s("--commit"), s("{dir}/a.csv")}).code,
              cli::kPlanned);
    const Outcome undone = run({s("--yard"), s("{dir}/y.sqlite"), s("--undo-commit"), s("1")});
    EXPECT_EQ(undone.code, cli::kPlanned) << undone.err.toStdString();
    const Outcome empty = run({s("--yard"), s("{dir}/y.sqlite"), s("--yard-csv"), s("-")});
    EXPECT_EQ(empty.out.split(u'\n', Qt::SkipEmptyParts).size(), 1) << empty.out.toStdString();
    const Outcome again = run({s("--yard"), s("{dir}/y.sqlite"), s("--undo-commit"), s("1")});
    EXPECT_EQ(again.code, cli::kRefused);
    EXPECT_TRUE(again.err.startsWith(dir_.filePath(s("y.sqlite")) + s(": ")))
        << again.err.toStdString();
}

TEST_F(YardCommand, AnImportWithAWrongRowNamesItAndAddsNothing) {
    write("in.csv", QByteArray("直径,长度,根数\n25,3000,2\n25,3000,-1\n"));
    const Outcome r =
        run({s("--yard"), s("{dir}/y.sqlite"), s("--yard-import"), s("{dir}/in.csv")});
    EXPECT_EQ(r.code, cli::kBadInput);
    EXPECT_EQ(r.err.trimmed(), dir_.filePath(s("in.csv")) + s(":3: 根数：必须大于 0"));
    const Outcome empty = run({s("--yard"), s("{dir}/y.sqlite"), s("--yard-csv"), s("-")});
    EXPECT_EQ(empty.out.split(u'\n', Qt::SkipEmptyParts).size(), 1);
}

TEST_F(YardCommand, AYardThatIsNoDatabaseIsAnErrorOfItsOwn) {
    write("a.csv", kListA);
    write("y.sqlite", QByteArray("not a yard"));
    const Outcome r = run({s("--yard"), s("{dir}/y.sqlite"), s("--commit"), s("{dir}/a.csv")});
    EXPECT_EQ(r.code, cli::kYardFailed);
    EXPECT_TRUE(r.err.startsWith(dir_.filePath(s("y.sqlite")) + s(": "))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

struct Clash {
    const char* name;
    QStringList words;
    const char* says;
};

class YardOptions : public YardCommand, public testing::WithParamInterface<Clash> {};

TEST_P(YardOptions, ThatDoNotGoTogetherAreRefusedBeforeAnythingIsTouched) {
    write("a.csv", kListA);
    const Outcome r = run(GetParam().words);
    EXPECT_EQ(r.code, cli::kBadInput);
    EXPECT_TRUE(r.err.contains(s(GetParam().says))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir_.filePath(s("y.sqlite"))));
}

INSTANTIATE_TEST_SUITE_P(
    Cli, YardOptions,
    testing::Values(
        Clash{"CommitWithoutAYard", {s("--commit"), s("{dir}/a.csv")}, "--commit 要与 --yard"},
        Clash{
            "YardAndOffcutsFile",
            {s("--yard"), s("{dir}/y.sqlite"), s("--offcuts"), s("{dir}/a.csv"), s("{dir}/a.csv")},
            "只能用一个"},
        Clash{"CommitWithoutAList",
              {s("--yard"), s("{dir}/y.sqlite"), s("--commit")},
              "没有给出清单文件"},
        Clash{"AChangeOfTheYardWithAList",
              {s("--yard"), s("{dir}/y.sqlite"), s("--scrap-below"), s("500"), s("{dir}/a.csv")},
              "不能与清单文件同用"},
        Clash{"TwoOutputsToStandardOutput",
              {s("--yard"), s("{dir}/y.sqlite"), s("--json"), s("-"), s("--yard-csv"), s("-"),
               s("{dir}/a.csv")},
              "只能有一个写到标准输出"}),
    [](const testing::TestParamInfo<Clash>& info) { return std::string(info.param.name); });

} // namespace
