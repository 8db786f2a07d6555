// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QStringList>

#include "components/orderedlist.h"

namespace {

struct Entry {
    QString text;
};

QStringList texts(const OrderedList<Entry>& list)
{
    QStringList out;
    for (const Entry& e : list)
        out << e.text;
    return out;
}

OrderedList<Entry> abc()
{
    OrderedList<Entry> list;
    list.Add({"a"});
    list.Add({"b"});
    list.Add({"c"});
    return list;
}

TEST(OrderedList, AddPlacesBeforeOrAfterAPosition)
{
    struct Case {
        int position;
        bool before;
        QStringList expected;
    } cases[] = {
        {0, false, {"a", "b", "c", "x"}}, {2, true, {"a", "x", "b", "c"}},  {2, false, {"a", "b", "x", "c"}},
        {1, true, {"x", "a", "b", "c"}},  {3, false, {"a", "b", "c", "x"}}, {9, true, {"a", "b", "c", "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position << " before " << c.before);
        OrderedList<Entry> list = abc();
        Entry* added = list.Add({"x"}, c.position, c.before);
        EXPECT_EQ(texts(list), c.expected);
        EXPECT_EQ(added->text, "x");
    }
}

TEST(OrderedList, PositionsOutsideTheListChangeNothing)
{
    OrderedList<Entry> list = abc();
    EXPECT_FALSE(list.Remove(0));
    EXPECT_FALSE(list.Remove(4));
    EXPECT_EQ(list.Item(0), nullptr);
    EXPECT_EQ(list.Item(4), nullptr);
    EXPECT_EQ(texts(list), QStringList({"a", "b", "c"}));
    EXPECT_TRUE(list.Remove(2));
    EXPECT_EQ(texts(list), QStringList({"a", "c"}));
    EXPECT_EQ(list.Item(2)->text, "c");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(OrderedList, EntriesStayPutWhenOthersAreInserted)
{
    OrderedList<Entry> list = abc();
    Entry* b = list.Item(2);
    list.Add({"x"}, 1, true);
    EXPECT_EQ(list.Item(3), b);
    EXPECT_EQ(b->text, "b");
}

}  // namespace
