#include "layuplib/CVekList.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "layuplib/CTemplateArray.h"
#include "layuplib/CTemplateList.h"
#include "layuplib/CVekListItem.h"
#include "layuplib/CVekSortedArray.h"
#include "layuplib/CVekSortedList.h"
#include "layuplib/CVekSortedNumberList.h"
#include "layuplib/CVekTemplateArray.h"
#include "layuplib/CVekTemplateList.h"
#include "layuplib/VekTList.h"

namespace {

// A list item / array element that counts its destructions.
struct Counted : CVekListItem {
    explicit Counted(int v, int* deaths = nullptr, const char* n = "")
        : value(v), dead(deaths), name(n) {}
    ~Counted() override {
        if (dead) ++*dead;
    }
    const char* GetSortName() const { return name.c_str(); }
    int value;
    int* dead;
    std::string name;
};

// The values of a value list; the values of a pointer array's elements.
template <class List>
std::vector<int> Contents(const List& list) {
    std::vector<int> out;
    for (int i = 0; i < list.GetSize(); ++i) out.push_back(list[i]);
    return out;
}
template <class Array>
std::vector<int> Elements(const Array& array) {
    std::vector<int> out;
    for (int i = 0; i < array.GetSize(); ++i) out.push_back(array.GetAt(i)->value);
    return out;
}

std::vector<int> Values(const CVekList<Counted>& list) {
    std::vector<int> out;
    for (Counted* p = list.First(); p; p = list.Next(p)) out.push_back(p->value);
    return out;
}

// Exposes the capacity, which callers observe only through reallocation.
template <class List>
struct Probe : List {
    using List::List;
    int Capacity() const { return this->m_capacity; }
};

}  // namespace

TEST(CVekList, InsertAndNavigate) {
    CVekList<Counted> list;
    Counted a(1), b(2), c(3), d(0), e(5), stranger(9);
    list.Insert(&stranger, &b);  // an empty list takes the item whatever `before` is
    list.InsertLast(&c);
    list.InsertFirst(&a);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(std::vector<Counted*>({list.NextLoop(&c), list.PrevLoop(&a), list.PrevLoop(nullptr),
                                     list.GetIndex(2), list.GetIndex(3)}),
              std::vector<Counted*>({&a, &c, &c, &c, nullptr}));

    // Before the first makes a new first; before a stranger changes nothing.
    list.Insert(&a, &d);
    list.Insert(&stranger, &e);
    list.Insert(&c, &e);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 5, 3}));
    while (list.DeleteFirst()) {
    }
}

TEST(CVekList, DeleteUnlinksEraseAllDeletes) {
    int deaths = 0;
    CVekList<Counted> list;
    Counted a(1, &deaths), b(2, &deaths), c(3, &deaths), stranger(9, &deaths);
    for (Counted* p : {&a, &b, &c}) list.InsertLast(p);
    EXPECT_EQ(list.Delete(&b), &c);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 3}));
    EXPECT_EQ(list.Delete(&stranger), nullptr);
    EXPECT_EQ(list.Delete(&c), nullptr);
    EXPECT_EQ(list.DeleteFirst(), &a);
    EXPECT_EQ(deaths, 0);

    for (int i = 0; i < 4; ++i) list.InsertLast(new Counted(i, &deaths));
    list.eraseAllObjects();
    EXPECT_EQ(deaths, 4);
}

template <class List>
class ValueListTest : public ::testing::Test {};
using ValueLists = ::testing::Types<CVekTemplateList<int>, CTemplateList<int>>;
TYPED_TEST_SUITE(ValueListTest, ValueLists);

TYPED_TEST(ValueListTest, AddPositionsGrowthSwap) {
    Probe<TypeParam> list(10);
    EXPECT_EQ(list.Add(7, -1), 0);
    EXPECT_EQ(list.Add(5, 0), 1);
    // A position past the end stretches the list; the gap reads 0.
    EXPECT_EQ(list.Add(9, 4), 4);
    EXPECT_EQ(Contents(list), (std::vector<int>{5, 7, 0, 0, 9}));
    const int values[] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(list.AddList(values, 5), 10);
    EXPECT_EQ(list.AddList(nullptr, 3), 10);
    EXPECT_EQ(list.Capacity(), 10);
    EXPECT_EQ(list.Add(100, -1), 10);
    EXPECT_EQ(list.Capacity(), 20);
    // Size(n) at or above the capacity makes it n + grow step.
    EXPECT_EQ(list.Size(20), 0);
    EXPECT_EQ(list.Capacity(), 30);
    EXPECT_EQ(list.Size(3), 0);
    EXPECT_EQ(list.Size(-1), 1);
    EXPECT_EQ(list.Size(INT_MAX), 1);
    EXPECT_EQ(list.Swap(-1, 0), 2);
    EXPECT_EQ(list.Swap(3, 0), -1);
    EXPECT_EQ(Contents(list), (std::vector<int>{0, 7, 5}));
}

TEST(ValueListFailures, LeaveTheListAlone) {
    CVekTemplateList<int> vek(10), vekStuck(0);
    EXPECT_EQ(vek.Add(2, -2), 1);
    EXPECT_EQ(vekStuck.Add(1, -1), 1);
    EXPECT_EQ(vek.GetSize() + vekStuck.GetSize(), 0);

    Probe<CTemplateList<int>> list(10);
    CTemplateList<int> stuck(0);
    EXPECT_EQ(list.Add(1, -5), -1);
    EXPECT_EQ(stuck.Add(1, -1), -2);
    list.Add(2, -1);
    list.RemoveAll();
    EXPECT_EQ(list.Capacity(), 0);
    EXPECT_EQ(list.Add(3, -1), 0);
    EXPECT_EQ(Contents(list), std::vector<int>{3});
}

TEST(CVekSortedNumberList, SortRemoveDuplicatesSearch) {
    CVekSortedList<int> plain;
    CVekSortedNumberList<int> list;
    for (int v : {3, 1, 3, 2}) {
        plain.Add(v, -1);
        list.Add(v, -1);
    }
    for (CVekSortedList<int>* base : {&plain, static_cast<CVekSortedList<int>*>(&list)})
        base->Sort();
    EXPECT_EQ(Contents(plain), (std::vector<int>{3, 1, 3, 2}));
    EXPECT_EQ(plain.FindBSearch(3), -1);
    EXPECT_EQ(list.RemoveDuplicates(), 0);
    EXPECT_EQ(Contents(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(std::vector<int>({list.FindBSearch(3), list.FindBSearch(4), list.PLBSearch(2),
                                list.PLBSearch(0), list.PLBSearch(4)}),
              std::vector<int>({2, -1, 1, -1, -4}));
    EXPECT_EQ(CVekSortedNumberList<int>().PLBSearch(5), -1);
}

template <class Array>
class PointerArrayTest : public ::testing::Test {};
using PointerArrays = ::testing::Types<CVekTemplateArray<Counted>, CTemplateArray<Counted>>;
TYPED_TEST_SUITE(PointerArrayTest, PointerArrays);

TYPED_TEST(PointerArrayTest, InsertAccessDelete) {
    int deaths = 0;
    Probe<TypeParam> array(2);
    EXPECT_EQ(array[-1], nullptr);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(array.Add(new Counted(i, &deaths)), i);
    EXPECT_EQ(array.Capacity(), 4);
    EXPECT_EQ(array.InsertBefore(1, new Counted(10, &deaths)), 1);
    EXPECT_EQ(array.InsertBefore(7, new Counted(11, &deaths)), 4);
    EXPECT_EQ(Elements(array), (std::vector<int>{0, 10, 1, 2, 11}));
    EXPECT_EQ(array[-1]->value, 11);
    EXPECT_EQ(array[5], array[-2]);
    EXPECT_EQ(array[5], nullptr);

    array.SetAt(0, new Counted(20, &deaths));
    array.SetAt(0, array.GetAt(0));
    EXPECT_EQ(deaths, 1);
    array.Delete(1);
    array.Delete(4);
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(Elements(array), (std::vector<int>{20, 1, 2, 11}));

    // Growing fills with null; cutting hands the cut elements to the caller.
    EXPECT_EQ(array.SetSize(6), 0);
    EXPECT_EQ(array.Capacity(), 8);
    Counted* last = array.GetAt(3);
    EXPECT_EQ(array.SetSize(3), 0);
    EXPECT_EQ(array.SetSize(-1), -1);
    delete last;
    EXPECT_EQ(deaths, 3);
    array.DeleteAll();
    EXPECT_EQ(deaths, 6);
}

TYPED_TEST(PointerArrayTest, OwningDeletesNonOwningNever) {
    int deaths = 0;
    Counted a(1, &deaths), b(2, &deaths);
    {
        TypeParam owning(10), borrowed(10, 0);
        for (int v : {1, 2}) owning.Add(new Counted(v, &deaths));
        borrowed.Add(&a);
        borrowed.Add(&b);
        borrowed.Delete(0);
        borrowed.SetAt(0, &a);
        borrowed.DeleteAll();
        borrowed.Add(&b);
    }
    EXPECT_EQ(deaths, 2);
}

TEST(CVekSortedArray, KeepsNameOrder) {
    CVekSortedArray<Counted> array(2);
    const char* names[] = {"m", "b", "z", "b", "a", "\xE0", "ba", ""};
    for (int i = 0; i < 8; ++i) array.InsertUsingCompare(new Counted(i, nullptr, names[i]));
    EXPECT_EQ(array.InsertUsingCompare(nullptr), -1);
    // Unsigned bytes: 0xE0 sorts after 'z'; an equal name goes before its equals.
    EXPECT_EQ(Elements(array), (std::vector<int>{7, 4, 3, 1, 6, 0, 2, 5}));

    Counted key(0, nullptr, "m"), missing(0, nullptr, "c");
    EXPECT_EQ(array.BinarySearchForIndex(&key), 5);
    EXPECT_EQ(array.BinarySearchForIndex(&missing), -5);
    EXPECT_EQ(array.FindBSearch(&key)->value, 0);
    EXPECT_EQ(array.FindBSearch(&missing), array.FindBSearch(nullptr));
}

TEST(VekTList, Sizes) {
    VekTList<double> list(3);
    list.SetAt(1, 2.5);
    EXPECT_EQ(list.SetSize(2), 0);
    // Growing again keeps the values and zeroes the new elements.
    EXPECT_EQ(list.SetSize(5), 0);
    EXPECT_EQ(list.GetData()[1], 2.5);
    EXPECT_EQ(list.GetAt(4), 0.0);
    EXPECT_EQ(list.SetSize(-1), 1);
    EXPECT_EQ(VekTList<int>(-4).GetSize(), 0);
}
