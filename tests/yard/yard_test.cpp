// The yard's file and its changes: the schema made, upgraded and refused; commits taken and
// undone exactly; a stale plan refused with nothing changed; every refusal naming the file.
#include <filesystem>
#include <functional>
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/yard/yard_fixture.h"
#include "yard/messages.h"
#include "yard/schema.h"
#include "yard/stock.h"

namespace {

using namespace yard_test;

std::string path(const QTemporaryDir& dir, const char* name = "yard.sqlite") {
    return dir.filePath(QString::fromUtf8(name)).toStdString();
}

std::unique_ptr<yard::Yard> opened(const std::string& file) {
    yard::Options options;
    options.create = true;
    auto result = yard::Yard::open(file, options);
    EXPECT_FALSE(result.error) << (result.error ? yard::describe(*result.error).toStdString() : "");
    return std::move(result.value);
}

QByteArray bytesOf(const std::string& file) {
    QFile f(QString::fromStdString(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const std::string& file, const QByteArray& bytes) {
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Raw SQL on a file, as another program (or an older version of this one) writes it.
void rawSql(const std::string& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    const int code = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    EXPECT_EQ(code, SQLITE_OK) << (message != nullptr ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
}

yard::Origin origin(const char* list, const char* floor = "") {
    yard::Origin o;
    o.list = list;
    o.floor = floor;
    o.time = 1'765'000'000;
    return o;
}

std::int64_t add(yard::Yard& store, std::vector<yard::NewOffcut> bars) {
    const auto added = store.add(bars, yard::EntryKind::Import, origin("库存.csv"));
    EXPECT_FALSE(added.error);
    return added.value.source.id;
}

TEST(Schema, ANewFileIsMadeAtTheCurrentVersionInWriteAheadMode) {
    const QTemporaryDir dir;
    const std::string file = path(dir);
    ASSERT_TRUE(opened(file));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    const auto pragma = [db](const char* sql) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
        sqlite3_step(s);
        std::string value(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
        return value;
    };
    EXPECT_EQ(pragma("PRAGMA user_version"), std::to_string(yard::schema::kVersion));
    EXPECT_EQ(pragma("PRAGMA application_id"), std::to_string(yard::schema::kApplicationId));
    EXPECT_EQ(pragma("PRAGMA journal_mode"), "wal");
    sqlite3_close(db);
}

// A yard as the first version wrote it: no floors in the record.
constexpr const char* kVersionOne = R"sql(
CREATE TABLE entry(id INTEGER PRIMARY KEY AUTOINCREMENT, kind TEXT NOT NULL, time INTEGER NOT NULL,
    list TEXT NOT NULL DEFAULT '', project TEXT NOT NULL DEFAULT '', undone INTEGER);
CREATE TABLE offcut(id INTEGER PRIMARY KEY AUTOINCREMENT, grade TEXT NOT NULL DEFAULT '',
    diameter INTEGER NOT NULL, length INTEGER NOT NULL, count INTEGER NOT NULL,
    place TEXT NOT NULL DEFAULT '', entry INTEGER NOT NULL REFERENCES entry(id));
CREATE INDEX offcut_by_steel ON offcut(diameter, grade, length);
CREATE TABLE change(entry INTEGER NOT NULL, offcut INTEGER NOT NULL, grade TEXT NOT NULL,
    diameter INTEGER NOT NULL, length INTEGER NOT NULL, place TEXT NOT NULL,
    source INTEGER NOT NULL, delta INTEGER NOT NULL);
CREATE INDEX change_by_entry ON change(entry);
INSERT INTO entry VALUES (1, 'import', 1700000000, '旧库存.csv', '', NULL);
INSERT INTO offcut VALUES (1, 'HRB400', 250, 3000, 4, 'A 区', 1);
INSERT INTO change VALUES (1, 1, 'HRB400', 250, 3000, 'A 区', 1, 4);
PRAGMA application_id = 1212373316;
PRAGMA user_version = 1;
)sql";

TEST(Schema, AnOlderFileIsUpgradedInPlaceWithItsOffcutsKept) {
    const QTemporaryDir dir;
    const std::string file = path(dir);
    rawSql(file, kVersionOne);
    auto store = opened(file);
    ASSERT_TRUE(store);
    const auto rows = store->offcuts();
    ASSERT_EQ(rows.value.size(), 1U);
    EXPECT_EQ(rows.value[0].place, "A 区");
    EXPECT_EQ(rows.value[0].source.list, "旧库存.csv");
    // The upgraded record takes a floor.
    const auto done =
        store->commit(planOf({group(kC25, {{3000, 1}}, {})}), origin("二层.csv", "二层"));
    ASSERT_FALSE(done.error);
    EXPECT_EQ(store->entry(done.value.source.id).value.source.floor, "二层");
}

// Files the yard must refuse without writing a byte, each named in the error.
struct Refused {
    const char* name;
    std::function<void(const std::string&)> make;
    yard::Problem problem;
};

class RefusedFile : public testing::TestWithParam<Refused> {};

TEST_P(RefusedFile, IsAnErrorNamingItAndStaysAsItWas) {
    const QTemporaryDir dir;
    const std::string file = path(dir);
    GetParam().make(file);
    const QByteArray before = bytesOf(file);
    yard::Options options;
    options.create = true;
    const auto result = yard::Yard::open(file, options);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->problem, GetParam().problem);
    EXPECT_EQ(result.error->file, file);
    EXPECT_FALSE(yard::describe(*result.error).isEmpty());
    EXPECT_EQ(bytesOf(file), before);
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
    EXPECT_FALSE(std::filesystem::exists(file + "-wal"));
}

// A real yard with one commit, cut short: its pages past the cut are gone.
void truncatedYard(const std::string& file) {
    {
        auto store = opened(file);
        std::vector<yard::NewOffcut> bars;
        for (int i = 1; i <= 2000; ++i) {
            bars.push_back({kC25, 1000 + i, 1, "一段很长的堆放位置说明，好让文件有很多页"});
        }
        add(*store, bars);
    }
    std::filesystem::resize_file(file, std::filesystem::file_size(file) / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Yard, RefusedFile,
    testing::Values(
        Refused{
            "NotADatabase",
            [](const std::string& f) { writeBytes(f, QByteArray("直径,长度,根数\n25,3000,4\n")); },
            yard::Problem::Damaged},
        Refused{"Truncated", truncatedYard, yard::Problem::Damaged},
        Refused{"AnotherProgramsDatabase",
                [](const std::string& f) { rawSql(f, "CREATE TABLE photo(id INTEGER);"); },
                yard::Problem::NotAYard},
        Refused{"ANewerVersion",
                [](const std::string& f) {
                    { opened(f); }
                    rawSql(f, "PRAGMA user_version = 3;");
                },
                yard::Problem::Newer},
        Refused{"ReadOnly",
                [](const std::string& f) {
                    { opened(f); }
                    std::filesystem::permissions(f, std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::group_read);
                },
                yard::Problem::ReadOnly}),
    [](const testing::TestParamInfo<Refused>& info) { return std::string(info.param.name); });

TEST(Yard, AMissingFileIsMadeOnlyWhenAsked) {
    const QTemporaryDir dir;
    const auto result = yard::Yard::open(path(dir));
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->problem, yard::Problem::Missing);
    EXPECT_FALSE(std::filesystem::exists(path(dir)));
}

TEST(Yard, AFileLockedByAnotherWriterIsAnErrorAndNothingChanges) {
    const QTemporaryDir dir;
    const std::string file = path(dir);
    auto store = opened(file);
    add(*store, {{kC25, 3000, 4}});
    const Counts before = countsOf(*store);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    yard::Options quick;
    quick.waitMs = 50;
    auto second = yard::Yard::open(file, quick);
    ASSERT_FALSE(second.error); // reading goes on beside a writer
    const auto done = second.value->commit(planOf({group(kC25, {{3000, 1}}, {})}), origin("a"));
    ASSERT_TRUE(done.error);
    EXPECT_EQ(done.error->problem, yard::Problem::Locked);
    EXPECT_EQ(done.error->file, file);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(countsOf(*store), before);
}

TEST(Commit, TakesTheOldestRowsFirstAndPutsTheRemnantsIn) {
    const QTemporaryDir dir;
    auto store = opened(path(dir));
    add(*store, {{kC25, 3000, 2, "A 区"}});
    add(*store, {{kC25, 3000, 5, "B 区"}});
    yard::Origin o = origin("二层.csv", "二层");
    o.place = "C 区";
    const auto done = store->commit(planOf({group(kC25, {{3000, 3}}, {{1200, 3}})}), o);
    ASSERT_FALSE(done.error);
    const auto rows = store->offcuts({kC25});
    ASSERT_EQ(rows.value.size(), 2U);
    EXPECT_EQ(rows.value[0].length, 3000);
    EXPECT_EQ(rows.value[0].place, "B 区"); // A 区's two were taken whole
    EXPECT_EQ(rows.value[0].count, 4);
    EXPECT_EQ(rows.value[1].length, 1200);
    EXPECT_EQ(rows.value[1].place, "C 区");
    EXPECT_EQ(rows.value[1].source.floor, "二层");
    EXPECT_EQ(done.value.taken, (std::vector<yard::Moved>{{kC25, 3000, 3}}));
    EXPECT_EQ(done.value.added, (std::vector<yard::Moved>{{kC25, 1200, 3}}));
}

TEST(Commit, IsUndoneExactlyRowsIdsAndPlacesAsTheyWere) {
    const QTemporaryDir dir;
    auto store = opened(path(dir));
    add(*store, {{kC25, 3000, 2, "A 区"}, {kC25, 3000, 5, "B 区"}, {kPlain8, 1800, 10}});
    const auto before = store->offcuts();
    const auto done = store->commit(
        planOf({group(kPlain8, {{1800, 10}}, {{600, 10}}), group(kC25, {{3000, 3}}, {{1200, 3}})}),
        origin("a.csv"));
    ASSERT_FALSE(done.error);
    const auto undone = store->undo(done.value.source.id);
    ASSERT_FALSE(undone.error);
    const auto after = store->offcuts();
    ASSERT_EQ(after.value.size(), before.value.size());
    for (std::size_t i = 0; i < after.value.size(); ++i) {
        EXPECT_EQ(after.value[i].id, before.value[i].id);
        EXPECT_EQ(after.value[i].count, before.value[i].count);
        EXPECT_EQ(after.value[i].place, before.value[i].place);
        EXPECT_EQ(after.value[i].source.id, before.value[i].source.id);
    }
    EXPECT_TRUE(store->entry(done.value.source.id).value.undone.has_value());
}

// What a second undo, or an undo after the remnants moved on, must refuse.
struct UndoCase {
    const char* name;
    std::function<void(yard::Yard&, std::int64_t commit)> between;
    yard::Problem problem;
};

class RefusedUndo : public testing::TestWithParam<UndoCase> {};

TEST_P(RefusedUndo, ChangesNothing) {
    const QTemporaryDir dir;
    auto store = opened(path(dir));
    add(*store, {{kC25, 3000, 4}});
    const auto done = store->commit(planOf({group(kC25, {{3000, 2}}, {{1200, 2}})}), origin("a"));
    ASSERT_FALSE(done.error);
    GetParam().between(*store, done.value.source.id);
    const Counts before = countsOf(*store);
    const auto undone = store->undo(done.value.source.id);
    ASSERT_TRUE(undone.error);
    EXPECT_EQ(undone.error->problem, GetParam().problem);
    EXPECT_EQ(countsOf(*store), before);
}

INSTANTIATE_TEST_SUITE_P(
    Yard, RefusedUndo,
    testing::Values(
        UndoCase{"Twice", [](yard::Yard& y, std::int64_t id) { ASSERT_FALSE(y.undo(id).error); },
                 yard::Problem::AlreadyUndone},
        UndoCase{
            "RemnantsUsedByALaterCommit",
            [](yard::Yard& y, std::int64_t) {
                ASSERT_FALSE(y.commit(planOf({group(kC25, {{1200, 1}}, {})}), origin("b")).error);
            },
            yard::Problem::RemnantsTaken},
        UndoCase{"RemnantsScrapped",
                 [](yard::Yard& y, std::int64_t) { ASSERT_FALSE(y.scrap({}, 1500).error); },
                 yard::Problem::RemnantsTaken}),
    [](const testing::TestParamInfo<UndoCase>& info) { return std::string(info.param.name); });

TEST(Commit, OnlyACommitIsUndone) {
    const QTemporaryDir dir;
    auto store = opened(path(dir));
    const std::int64_t import = add(*store, {{kC25, 3000, 4}});
    EXPECT_EQ(store->undo(import).error->problem, yard::Problem::NotACommit);
    EXPECT_EQ(store->undo(import + 10).error->problem, yard::Problem::NoEntry);
}

TEST(Commit, AStalePlanIsRefusedWholeWithWhatIsMissing) {
    const QTemporaryDir dir;
    const std::string file = path(dir);
    auto store = opened(file);
    add(*store, {{kC25, 3000, 2}, {kC20, 5000, 3}});
    // Planned while the yard held two; another person takes one before it is carried out.
    const plan::Plan planned =
        planOf({group(kC20, {{5000, 3}}, {{900, 3}}), group(kC25, {{3000, 2}}, {{800, 2}})});
    auto other = opened(file);
    ASSERT_FALSE(other->commit(planOf({group(kC25, {{3000, 1}}, {})}), origin("b")).error);
    const Counts before = countsOf(*store);
    const auto entries = store->history().value.size();

    const auto done = store->commit(planned, origin("a"));
    ASSERT_TRUE(done.error);
    EXPECT_EQ(done.error->problem, yard::Problem::Stale);
    EXPECT_EQ(done.error->shortages, (std::vector<yard::Shortage>{{kC25, 3000, 2, 1}}));
    EXPECT_EQ(countsOf(*store), before);
    EXPECT_EQ(store->history().value.size(), entries);
}

TEST(Changes, CountsAreCorrectedScrappedAndNeverNegative) {
    const QTemporaryDir dir;
    auto store = opened(path(dir));
    add(*store, {{kC25, 3000, 4}, {kC25, 400, 6}, {kPlain8, 300, 2}});
    const std::int64_t row = store->offcuts({kC25, 3000, 3000}).value.at(0).id;
    EXPECT_EQ(store->setCount(row, -1).error->problem, yard::Problem::Invalid);
    ASSERT_FALSE(store->setCount(row, 3).error);
    ASSERT_FALSE(store->setCount(row, 0).error);
    EXPECT_TRUE(store->offcuts({kC25, 3000, 3000}).value.empty());
    const auto scrapped = store->scrap({kC25}, 500);
    ASSERT_FALSE(scrapped.error);
    EXPECT_EQ(scrapped.value.taken, (std::vector<yard::Moved>{{kC25, 400, 6}}));
    EXPECT_EQ(countsOf(*store), (Counts{{{80, "", 300}, 2}}));
    // An unknown grade or a bar longer than any stock never gets in.
    EXPECT_TRUE(store->add({{{"HRB4000", 250}, 3000, 1}}, yard::EntryKind::Hand, {}).error);
    EXPECT_TRUE(store->add({{kC25, 2'000'000, 1}}, yard::EntryKind::Hand, {}).error);
}

TEST(Stock, IsTheListsSteelsOnlyOneRowALengthWithinARowsLimit) {
    const std::vector<yard::Moved> stock{
        {kC25, 3000, 1'500'000}, {kC25, 1200, 2}, {kC20, 5000, 1}, {kPlain8, 900, 3}};
    const std::vector<plan::OffcutRow> rows = yard::offcutRows(stock, {kC25, kPlain8});
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].count, std::to_string(plan::kMaxCount));
    EXPECT_EQ(rows[0].grade, "HRB400");
    EXPECT_EQ(rows[0].diameter, "25");
    EXPECT_EQ(rows[2].grade, "");
    EXPECT_EQ(rows[2].length, "900");
}

} // namespace
