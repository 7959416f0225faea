// Integer lists of the grid.
#include "grid/ExtObj.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

#include <charconv>

namespace {
constexpr std::uint32_t Descending = 0x80000000u;
}

int TIntList::ValueAt(int index) const
{
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<std::size_t>(index)];
}

void TIntList::Changed()
{
    if (OnValuesChange) OnValuesChange(this, OwnerCol, OwnerRow);
}

void TIntList::PutValue(int index, int value)
{
    (void)ValueAt(index);
    FItems[static_cast<std::size_t>(index)] = value;
    Changed();
}

void TIntList::AddValue(int value)
{
    FItems.push_back(value);
    Changed();
}

void TIntList::DeleteValue(int index)
{
    (void)ValueAt(index);
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TIntList::InsertValue(int index, int value)
{
    if (index < 0 || index > Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    FItems.insert(FItems.begin() + index, value);
}

std::string TIntList::ValuesText() const
{
    std::string s;
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        if (i) s += ',';
        s += std::to_string(FItems[i]);
    }
    return s;
}

void TIntList::SetValuesText(const std::string& text)
{
    FItems.clear();
    std::size_t start = 0;
    if (Trim(text).empty()) return;
    for (;;) {
        const auto comma = text.find(',', start);
        const std::string item = Trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        int v = 0;
        auto [p, ec] = std::from_chars(item.data(), item.data() + item.size(), v);
        if (item.empty() || ec != std::errc() || p != item.data() + item.size())
            throw EConvertError("'" + item + "' is not a valid integer value");
        AddValue(v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

void TSortIndexList::AddSortColumn(int col, bool ascending)
{
    AddValue(ascending ? col : static_cast<int>(static_cast<std::uint32_t>(col) | Descending));
}

int TSortIndexList::FindSortColumn(int col) const
{
    for (int i = 0; i < Count(); ++i)
        if ((static_cast<std::uint32_t>(ValueAt(i)) & ~Descending) == static_cast<std::uint32_t>(col)) return i;
    return -1;
}

void TSortIndexList::ToggleSortDirection(int col)
{
    const int i = FindSortColumn(col);
    if (i >= 0) PutValue(i, static_cast<int>(static_cast<std::uint32_t>(ValueAt(i)) ^ Descending));
}
