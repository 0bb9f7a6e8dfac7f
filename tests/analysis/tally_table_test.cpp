#include "analysis/tally_table.h"
#include "support/tally_rows.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace statvane {
namespace {

using test::Rows;
using test::rowsOf;

std::string upper(std::string text) {
    for (char& c : text)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return text;
}

// Keys of several lengths, so that they cross the hash's eight-byte words and
// the arena's chunks; key i is counted i % 5 + 1 times.
TallyTable countedKeys(std::size_t keys) {
    TallyTable table;
    for (std::size_t i = 0; i < keys; ++i)
        table.tally("/page" + std::to_string(i) + std::string(i % 23, 'x'),
                    static_cast<std::int32_t>(i % 5 + 1));
    return table;
}

// Every row is found under its key in capitals, at its own row number.
void expectEveryRowFound(const TallyTable& table) {
    for (std::size_t i = 0; i < table.size(); ++i)
        ASSERT_EQ(table.find(upper(std::string(table.rows()[i].key()))), i)
            << table.rows()[i].key();
}

TEST(TallyTableKeys, CopyKeepsItsOwnKeys) {
    TallyTable copy;
    {
        TallyTable original = countedKeys(3000);
        copy = original;
        const TallyTable constructed(original);
        // Overwrites the original's key memory with other text of the same lengths.
        original.clear();
        for (std::size_t i = 0; i < 3000; ++i)
            original.tally("/PAGE" + std::to_string(i) + std::string(i % 23, 'Y'));
        EXPECT_EQ(rowsOf(constructed), rowsOf(countedKeys(3000)));
    }
    EXPECT_EQ(rowsOf(copy), rowsOf(countedKeys(3000)));
    expectEveryRowFound(copy);
    copy.tally("/page2xx", 10);
    EXPECT_EQ(copy.rows()[2].count, 13);
}

TEST(TallyTableKeys, MoveKeepsTheKeysWhereTheyAre) {
    TallyTable table = countedKeys(100);
    const char* firstKey = table.rows()[0].key().data();
    TallyTable moved(std::move(table));
    EXPECT_EQ(moved.rows()[0].key().data(), firstKey);
    TallyTable assigned;
    assigned.tally("replaced");
    assigned = std::move(moved);
    EXPECT_EQ(assigned.rows()[0].key().data(), firstKey);
    EXPECT_EQ(rowsOf(assigned), rowsOf(countedKeys(100)));
    expectEveryRowFound(assigned);
    // A moved-from table starts again empty.
    moved.tally("again");
    EXPECT_EQ(rowsOf(moved), (Rows{{"again", 1}}));
}

TEST(TallyTableKeys, LookupsFollowTheRowsWhenTheyAreReordered) {
    const auto byCount = [](const TallyRow& a, const TallyRow& b) { return a.count > b.count; };
    const auto byKeyDescending = [](const TallyRow& a, const TallyRow& b) {
        return a.key() > b.key();
    };
    const auto evenCounts = [](const TallyRow& row) { return row.count % 2 == 0; };
    const std::vector<std::function<void(TallyTable&)>> reorders = {
        [&](TallyTable& t) { t.stableSort(byCount); },
        [&](TallyTable& t) { t.stableSort(byKeyDescending); },
        [&](TallyTable& t) { t.removeIf(evenCounts); },
        [&](TallyTable& t) {
            t.removeIf(evenCounts);
            t.stableSort(byKeyDescending);
        },
        [](TallyTable& t) { t.removeIf([](const TallyRow&) { return true; }); },
    };
    for (std::size_t i = 0; i < reorders.size(); ++i) {
        SCOPED_TRACE(i);
        TallyTable table = countedKeys(2000);
        reorders[i](table);
        expectEveryRowFound(table);
        // Counting goes on into the right rows, or into new ones for removed keys.
        const auto countOf = [&table](std::string_view key) {
            const auto row = table.find(key);
            return row ? table.rows()[*row].count : 0;
        };
        const std::int32_t page0 = countOf("/PAGE0"), page1 = countOf("/Page1");
        table.tally("/page0", 5);
        table.tally("/page1");
        EXPECT_EQ(countOf("/page0"), page0 + 5);
        EXPECT_EQ(countOf("/page1"), page1 + 1);
        expectEveryRowFound(table);
    }
}

TEST(TallyTableKeys, ClearedTableIsReusedFromNothing) {
    TallyTable table = countedKeys(2000);
    table.computePercentages();
    table.clear();
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(table.find("/page7xxxxxxx"), std::nullopt);
    table.tally("/page7xxxxxxx");
    table.tally("new");
    table.tally("/PAGE7XXXXXXX");
    EXPECT_EQ(rowsOf(table), (Rows{{"/page7xxxxxxx", 2}, {"new", 1}}));
    EXPECT_EQ(table.percent(0), "");
    table.computePercentages();
    EXPECT_EQ(table.percent(1), "33.3333333333333");
}

TEST(TallyTableKeys, PercentStaysWithItsRow) {
    TallyTable table = countedKeys(50);
    EXPECT_EQ(table.percent(0), "");
    table.computePercentages();
    std::map<std::string, std::string> before;
    for (std::size_t i = 0; i < table.size(); ++i)
        before[std::string(table.rows()[i].key())] = table.percent(i);
    table.stableSort([](const TallyRow& a, const TallyRow& b) { return a.count > b.count; });
    table.removeIf([](const TallyRow& row) { return row.count == 3; });
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(table.percent(i), before[std::string(table.rows()[i].key())]);
    EXPECT_EQ(before["/page0"], "0.666666666666667"); // 1 of 150
}

TEST(TallyTableKeys, KeysLongerThanAChunk) {
    const std::vector<std::string> keys = {"short",
                                           std::string(70 * 1024, 'a'),
                                           "after",
                                           std::string(5 * 1024 * 1024, 'b'),
                                           std::string(16 * 1024 - 8, 'c'),
                                           std::string(16 * 1024 - 7, 'd'),
                                           "last"};
    TallyTable table;
    for (const auto& key : keys)
        table.tally(key);
    for (const auto& key : keys)
        table.tally(upper(key));
    Rows expected;
    for (const auto& key : keys)
        expected.emplace_back(key, 2);
    EXPECT_EQ(rowsOf(table), expected);
    EXPECT_EQ(rowsOf(TallyTable(table)), expected);
}

TEST(TallyTableKeys, HashedCallsAgreeWithPlainOnes) {
    EXPECT_EQ(TallyTable::hashOf("Index.HTML?Q=1&z"), TallyTable::hashOf("index.html?q=1&Z"));
    EXPECT_NE(TallyTable::hashOf("a"), TallyTable::hashOf(std::string_view("a\0", 2)));
    const TallyTable source = countedKeys(500);
    TallyTable plain, hashed;
    for (const auto& table : {&plain, &hashed}) {
        table->tally("/Page3xxx");
        table->append("first", 4);
    }
    for (std::size_t i = 0; i < source.size(); ++i) {
        const TallyRow& row = source.rows()[i];
        ASSERT_EQ(source.hashAt(i), TallyTable::hashOf(upper(std::string(row.key()))));
        ASSERT_EQ(source.find(row.key(), source.hashAt(i)), i);
        plain.tally(row.key(), row.count);
        hashed.tally(row.key(), source.hashAt(i), row.count);
    }
    EXPECT_EQ(rowsOf(hashed), rowsOf(plain));
    EXPECT_EQ(hashed.rows()[0], (TallyRow{"/Page3xxx", 5}));
    EXPECT_EQ(hashed.find("absent", TallyTable::hashOf("absent")), std::nullopt);
}

} // namespace
} // namespace statvane
