// String lists: editing, sorted lists and duplicates, name=value entries, comma and delimited text,
// files, change events and the streamed block of strings.
#include "platform/rtl/StringList.h"

#include "platform/rtl/Streams.h"
#include "platform/rtl/TextFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

using Items = std::vector<std::string>;

void Fill(TStringList& l, const Items& items)
{
    l.Clear();
    for (const auto& s : items) l.Add(s);
}

} // namespace

TEST(StringList, EditingAnUnsortedList)
{
    TStringList l;
    Fill(l, {"b", "a"});
    l.Insert(0, "c");
    l.Insert(3, "B");
    EXPECT_EQ(l.Items(), (Items{"c", "b", "a", "B"}));
    EXPECT_EQ(l.IndexOf("B"), 1) << "letter case is ignored by default";
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf("B"), 3);
    EXPECT_EQ(l.IndexOf("x"), -1);
    l.Exchange(0, 3);
    l.Delete(1);
    l.Put(0, "z");
    EXPECT_EQ(l.Items(), (Items{"z", "a", "c"}));
    for (int bad : {-1, 3}) {
        EXPECT_THROW(l.Strings(bad), EStringListError);
        EXPECT_THROW(l.Delete(bad), EStringListError);
    }
    EXPECT_THROW(l.Insert(4, "x"), EStringListError);
    try {
        l.Strings(7);
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (7)");
    }
    l.AddStrings(l);
    EXPECT_EQ(l.Count(), 6) << "adding a list to itself doubles it once";
}

TEST(StringList, SortedListsAndDuplicates)
{
    struct Case {
        TDuplicates dup;
        Items after;
        bool raises;
    };
    const Case cases[] = {
        {dupIgnore, {"apple", "Pear", "plum"}, false},
        {dupAccept, {"apple", "PEAR", "Pear", "plum"}, false},
        {dupError, {"apple", "Pear", "plum"}, true},
    };
    for (const Case& c : cases) {
        TStringList l;
        l.Duplicates = c.dup;
        Fill(l, {"plum", "Pear", "apple"});
        l.SetSorted(true);
        if (c.raises) {
            EXPECT_THROW(l.Add("PEAR"), EStringListError);
        } else {
            l.Add("PEAR");
        }
        EXPECT_EQ(l.Items(), c.after) << c.dup;
        int index = -1;
        EXPECT_TRUE(l.Find("pear", index));
        EXPECT_EQ(index, 1) << "the first equal entry";
        EXPECT_FALSE(l.Find("peach", index));
        EXPECT_EQ(index, 1) << "where it would go";
        EXPECT_THROW(l.Insert(0, "a"), EStringListError);
        EXPECT_THROW(l.Put(0, "a"), EStringListError);
    }
    TStringList l;
    Fill(l, {"b", "B", "a", "A"});
    l.SetCaseSensitive(true);
    l.SetSorted(true);
    EXPECT_EQ(l.Items(), (Items{"A", "B", "a", "b"}));
    EXPECT_EQ(l.Add("AB"), 1);
}

TEST(StringList, NamesAndValues)
{
    TStringList l;
    Fill(l, {"Color=255", "Width=2=3", "novalue", "=empty name", "Style="});
    EXPECT_EQ(l.Names(1), "Width");
    EXPECT_EQ(l.ValueFromIndex(1), "2=3");
    EXPECT_EQ(l.Names(2), "");
    EXPECT_EQ(l.ValueFromIndex(2), "") << "an entry without a separator has no value";
    EXPECT_EQ(l.Values("color"), "255");
    EXPECT_EQ(l.Values("Style"), "");
    EXPECT_EQ(l.IndexOfName("Style"), 4);
    EXPECT_EQ(l.IndexOfName("novalue"), -1);
    l.SetValues("COLOR", "0");
    l.SetValues("Mode", "4");
    l.SetValues("Width", "");
    EXPECT_EQ(l.Items(), (Items{"COLOR=0", "novalue", "=empty name", "Style=", "Mode=4"}));

    TStringList sorted;
    Fill(sorted, {"b=1", "c=2"});
    sorted.SetSorted(true);
    sorted.SetValues("b", "9");
    sorted.SetValues("a", "0");
    EXPECT_EQ(sorted.Items(), (Items{"a=0", "b=9", "c=2"})) << "values on a sorted list keep it sorted";
}

TEST(StringList, CommaTextWritesAndReads)
{
    struct Case {
        Items items;
        std::string text;
    };
    const Case written[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"", ""}, ","},
        {{"a", "", "b"}, "a,,b"},
        {{"two words", "x"}, "\"two words\",x"},
        {{"say \"hi\"", "a,b"}, "\"say \"\"hi\"\"\",\"a,b\""},
        {{"tab\there"}, "\"tab\there\""},
        {{"\xe9t\xe9"}, "\xe9t\xe9"},
    };
    TStringList l;
    for (const Case& c : written) {
        Fill(l, c.items);
        EXPECT_EQ(l.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(back.Items(), c.items) << c.text;
    }
    const Case read[] = {
        {{"a", "b", "c"}, "a b,c"},
        {{"a", "b"}, "  a ,  b  "},
        {{"a", ""}, "a,"},
        {{"a"}, "a, "},
        {{"ab", "cd", "e"}, "\"ab\"cd,e"},
        {{"open ended"}, "\"open ended"},
        {{"x", "y"}, std::string("x\0y", 3)},
    };
    for (const Case& c : read) {
        l.SetCommaText(c.text);
        EXPECT_EQ(l.Items(), c.items) << c.text;
    }
}

TEST(StringList, StrictDelimitedText)
{
    TStringList l;
    l.StrictDelimiter = true;
    l.Delimiter = ';';
    l.QuoteChar = '\'';
    l.SetDelimitedText(" a b ;'c;d';");
    EXPECT_EQ(l.Items(), (Items{" a b ", "c;d", ""}));
    EXPECT_EQ(l.DelimitedText(), " a b ;'c;d';");
    EXPECT_EQ(l.CommaText(), " a b ,c;d,") << "comma text uses its own delimiter and quote";
}

TEST(StringList, TextAndFiles)
{
    TTempFolder tmp;
    const std::string path = tmp.File("list.txt");
    ASSERT_TRUE(SaveFileSafely(path, "one\r\ntwo\n\nthree"));
    TStringList l;
    EXPECT_TRUE(l.LoadFromFile(path));
    EXPECT_EQ(l.Items(), (Items{"one", "two", "", "three"}));
    EXPECT_EQ(l.Text(), "one\ntwo\n\nthree\n");
    ASSERT_TRUE(l.SaveToFile(path));
    std::string bytes;
    LoadFileBytes(path, bytes);
    EXPECT_EQ(bytes, "one\ntwo\n\nthree\n");
    EXPECT_FALSE(l.LoadFromFile(tmp.File("missing.txt")));
    EXPECT_EQ(l.Count(), 0);
    EXPECT_FALSE(l.SaveToFile(tmp.File("no/dir/list.txt")));

    TMemoryStream s;
    s.WriteBytes("skip");
    s.WriteBytes("a\r\nb");
    s.SetPosition(4);
    l.LoadFromStream(s);
    EXPECT_EQ(l.Items(), (Items{"a", "b"}));
}

TEST(StringList, ChangeEventsAndUpdates)
{
    TStringList l;
    std::string log;
    l.OnChanging = [&](TPersistent* sender) { log += sender == &l ? "<" : "?"; };
    l.OnChange = [&](TPersistent*) { log += ">"; };
    l.Add("a");
    l.Clear();
    l.Clear(); // nothing to clear, nothing to tell
    EXPECT_EQ(log, "<><>");
    log.clear();
    l.BeginUpdate();
    l.Add("x");
    l.BeginUpdate();
    l.Delete(0);
    l.EndUpdate();
    EXPECT_EQ(log, "<");
    l.EndUpdate();
    EXPECT_EQ(log, "<>");
    l.EndUpdate(); // unmatched: ignored
    EXPECT_EQ(log, "<>");
    log.clear();
    l.SetCommaText("a,b,c");
    EXPECT_EQ(log, "<>") << "a whole new text is one change";
}

TEST(StringList, AssignAndStreamedStrings)
{
    TStringList a;
    a.NameValueSeparator = ':';
    Fill(a, {"x:1", "", "line\nbreak"});
    TStringList b;
    b.Assign(a);
    EXPECT_EQ(b.Items(), a.Items());
    EXPECT_EQ(b.Values("x"), "1");

    const TDefinedProperty* strings = a.ClassInfo().FindDefinedProperty("Strings");
    ASSERT_NE(strings, nullptr);
    ASSERT_TRUE(strings->Binary);
    EXPECT_TRUE(strings->IsWritten(a));
    EXPECT_FALSE(strings->IsWritten(TStringList()));
    TMemoryStream s;
    strings->WriteData(a, s);
    s.SetPosition(0);
    TStringList c;
    strings->ReadData(c, s);
    EXPECT_EQ(c.Items(), a.Items()) << "the block keeps strings with line breaks whole";

    // A damaged block raises instead of reading past its end or allocating wildly.
    for (std::int32_t length : {-1, 1 << 30}) {
        TMemoryStream bad;
        bad.WriteInt32(1);
        bad.WriteInt32(length);
        bad.SetPosition(0);
        EXPECT_THROW(strings->ReadData(c, bad), EReadError);
    }
    TMemoryStream negative;
    negative.WriteInt32(-5);
    negative.SetPosition(0);
    EXPECT_THROW(strings->ReadData(c, negative), EReadError);
}
