#include "notebook/Notebook.h"
#include "platform/StringMap.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace nelo;

namespace {

struct MemoRow {
    const char* line;
    const char* answer;
};

TEST(RegisterMemo, Answers) {
    const MemoRow rows[] = {
        {"田中、電話"_sj, "メモの項目が足りません。"_sj}, {"、電話、03"_sj, "メモの項目が足りません。"_sj},
        {"田中、、03"_sj, "メモの項目が足りません。"_sj}, {"田中"_sj, "メモの項目が足りません。"_sj},
        {"田中、電話、"_sj, "メモに登録しました。"_sj},   {"田中、住所、東京都、港区"_sj, "メモに登録しました。"_sj},
    };
    Notebook notebook;
    for (const MemoRow& r : rows) {
        std::string answer;
        notebook.RegisterMemo(answer, r.line);
        EXPECT_EQ(answer, r.answer) << testing::PrintToString(std::string(r.line));
    }
    const Memo* memo = notebook.GetMemos().Lookup("田中"_sj);
    ASSERT_NE(memo, nullptr);
    ASSERT_EQ(memo->GetPairCount(), 2u);
    EXPECT_EQ(memo->GetValue(0), "");
    EXPECT_EQ(memo->GetValue(1), "東京都、港区"_sj);
}

TEST(QueryMemo, ListsPairsInOrderAndKeepsDuplicates) {
    Notebook notebook;
    std::string answer;
    notebook.RegisterMemo(answer, "田中、電話、03-1234"_sj);
    notebook.RegisterMemo(answer, "田中、趣味、釣り"_sj);
    notebook.RegisterMemo(answer, "田中、電話、090"_sj);
    notebook.QueryMemo(answer, "田中"_sj);
    EXPECT_EQ(answer, "次のようなメモがあります。\r\n電話：03-1234\r\n趣味：釣り\r\n電話：090"_sj);
    notebook.QueryMemo(answer, "山田"_sj);
    EXPECT_EQ(answer, "メモに登録されていません。"_sj);
}

TEST(QueryMemo, FullWidthQueryFindsHalfWidthName) {
    Notebook notebook;
    std::string answer;
    notebook.RegisterMemo(answer, "abc、tel、1"_sj);  // stored as typed
    notebook.RegisterMemo(answer, "ABC、tel、2"_sj);
    notebook.QueryMemo(answer, "ａｂｃ"_sj);
    EXPECT_EQ(answer, "次のようなメモがあります。\r\ntel：1"_sj);
    // An exact key always wins over a width match.
    notebook.RegisterMemo(answer, "ａｂｃ、tel、3"_sj);
    notebook.QueryMemo(answer, "ａｂｃ"_sj);
    EXPECT_EQ(answer, "次のようなメモがあります。\r\ntel：3"_sj);
    // Letter case still matters.
    notebook.QueryMemo(answer, "Ａｂｃ"_sj);
    EXPECT_EQ(answer, "メモに登録されていません。"_sj);
}

TEST(QueryMemo, WidthMatchTakesFirstKeyInMapOrder) {
    MemoMap map;
    // Three keys with the same full-width form; the winner is the first in map order.
    const char* const keys[] = {"ab"_sj, "ａb"_sj, "aｂ"_sj};
    for (const auto& k : keys) map.SetAt(k, std::make_unique<Memo>(k));
    std::string first;
    map.ForEach([&](const std::string& key, const Memo&) {
        if (first.empty()) first = key;
    });
    ASSERT_NE(map.FindForQuery("ａｂ"_sj), nullptr);
    EXPECT_EQ(map.FindForQuery("ａｂ"_sj)->GetObjectName(), first);
    map.RemoveKey(first);
    ASSERT_NE(map.FindForQuery("ａｂ"_sj), nullptr);
    EXPECT_NE(map.FindForQuery("ａｂ"_sj)->GetObjectName(), first);
}

TEST(MemoMap, RecordsEnteredFromAFileAnswerLikeTypedOnes) {
    // As a file lists them: each bucket newest first, a repeated key, a null record.
    MemoMap typed;
    const char* keys[] = {"abc", "ａb"_sj, "山田"_sj, "x1", "abc", "Ｘ１"_sj, "ab"};
    for (const char* k : keys) typed.SetAt(k, std::make_unique<Memo>(k));
    MemoMap::Entries entries;
    typed.ForEach([&](const std::string& key, const Memo&) { entries.emplace_back(key, std::make_unique<Memo>(key)); });
    entries.emplace(entries.begin(), "abc", std::make_unique<Memo>("older abc"));  // the later one wins
    entries.emplace_back("none", nullptr);

    MemoMap loaded;
    loaded.AddFromLast(entries);
    std::vector<std::string> typedOrder, loadedOrder;
    typed.ForEach([&](const std::string& k, const Memo&) { typedOrder.push_back(k); });
    loaded.ForEach([&](const std::string& k, const Memo&) { loadedOrder.push_back(k); });
    EXPECT_EQ(loadedOrder, typedOrder);
    EXPECT_EQ(loaded.Lookup("abc")->GetObjectName(), "abc");
    EXPECT_EQ(loaded.Lookup("none"), nullptr);

    // Width matches find the first key in the map's order, before and after removals.
    for (const char* query : {"ａｂｃ"_sj, "ａｂ"_sj, "Ｘ１"_sj, "山田"_sj}) {
        const Memo* a = typed.FindForQuery(query);
        const Memo* b = loaded.FindForQuery(query);
        ASSERT_TRUE(a && b) << query;
        EXPECT_EQ(b->GetObjectName(), a->GetObjectName()) << query;
    }
    for (MemoMap* map : {&typed, &loaded}) {
        EXPECT_TRUE(map->RemoveKey("ab"));
        EXPECT_TRUE(map->RemoveKey("x1"));
        EXPECT_FALSE(map->RemoveKey("x1"));
    }
    ASSERT_NE(typed.FindForQuery("ａｂ"_sj), nullptr);
    ASSERT_NE(loaded.FindForQuery("ａｂ"_sj), nullptr);
    EXPECT_EQ(loaded.FindForQuery("ａｂ"_sj)->GetObjectName(), typed.FindForQuery("ａｂ"_sj)->GetObjectName());
    ASSERT_NE(loaded.FindForQuery("Ｘ１"_sj), nullptr);
    EXPECT_EQ(loaded.FindForQuery("Ｘ１"_sj)->GetObjectName(), "Ｘ１"_sj);
    EXPECT_EQ(loaded.FindForQuery("ｘ１"_sj), nullptr);
}

// The reference order of the framework's map: a chained table of 17 buckets, new
// keys pushed at the front of their chain, buckets walked upwards.
std::vector<std::string> ReferenceOrder(const std::vector<std::string>& inserted) {
    std::vector<std::vector<std::string>> buckets(17);
    for (const auto& key : inserted) {
        unsigned h = 0;
        for (char c : key) h = (h << 5) + h + static_cast<unsigned>(static_cast<int>(static_cast<signed char>(c)));
        auto& chain = buckets[h % 17];
        if (std::find(chain.begin(), chain.end(), key) == chain.end()) chain.insert(chain.begin(), key);
    }
    std::vector<std::string> order;
    for (auto& chain : buckets) order.insert(order.end(), chain.begin(), chain.end());
    return order;
}

TEST(StringMap, IteratesInSeventeenBucketOrder) {
    std::vector<std::string> keys;
    for (int i = 0; i < 200; ++i) keys.push_back("key" + std::to_string(i * 7919 % 1000));
    keys.push_back("田中"_sj);
    keys.push_back("\xFF\x80");  // bytes above 0x7F hash as negative values
    keys.push_back("key5");      // a repeated key keeps its place
    StringMap<int> map;
    for (const auto& k : keys) map.SetAt(k, std::make_unique<int>(1));
    std::vector<std::string> order;
    map.ForEach([&](const std::string& k, int) { order.push_back(k); });
    EXPECT_EQ(order, ReferenceOrder(keys));

    // Removal keeps the order of the rest; the position walk survives removing what it returned.
    map.RemoveKey("key5");
    auto pos = map.GetStartPosition();
    std::vector<std::string> walked;
    while (pos) {
        std::string k;
        int* v;
        map.GetNextAssoc(pos, k, v);
        walked.push_back(k);
        map.RemoveKey(k);
    }
    order.erase(std::find(order.begin(), order.end(), "key5"));
    EXPECT_EQ(walked, order);
    EXPECT_TRUE(map.IsEmpty());
}

TEST(StringMap, ByteExampleBucket) {
    // 田中 is the memo key of the 49-byte file example: any bucket works, but it must be stable.
    EXPECT_EQ(StringMapBucket("田中"_sj), StringMapBucket(std::string("\x93\x63\x92\x86")));
}

}  // namespace
