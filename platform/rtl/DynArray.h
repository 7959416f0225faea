// Checked dynamic arrays: value types (assignment copies) whose indexing raises ERangeError, and whose
// growth zero-fills new elements. The program-wide array types are instances of DynArray.
// Where two places must see one array (the solver writing results the views read), code holds a
// reference or pointer to the one owning object instead of sharing by assignment.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>

template <class T>
class DynArray {
public:
    using value_type = T;
    using iterator = T*;
    using const_iterator = const T*;

    DynArray() = default;
    explicit DynArray(std::size_t n) { SetLength(n); }
    DynArray(std::initializer_list<T> init)
    {
        Reserve(init.size());
        for (const T& v : init) FData[FCount++] = v;
    }
    DynArray(const DynArray& other) { CopyFrom(other); }
    DynArray(DynArray&& other) noexcept { Swap(other); }
    DynArray& operator=(const DynArray& other)
    {
        if (this != &other) {
            DynArray tmp(other);
            Swap(tmp);
        }
        return *this;
    }
    DynArray& operator=(DynArray&& other) noexcept
    {
        if (this != &other) {
            DynArray tmp(std::move(other));
            Swap(tmp);
        }
        return *this;
    }

    // Number of elements (Length in the program's texts).
    int Length() const noexcept { return static_cast<int>(FCount); }
    std::size_t size() const noexcept { return FCount; }
    bool empty() const noexcept { return FCount == 0; }
    int High() const noexcept { return static_cast<int>(FCount) - 1; }

    // New length; new elements are value-initialised (zero), surplus ones dropped.
    void SetLength(std::size_t n)
    {
        if (n > FCapacity) Reserve(std::max(n, FCapacity + FCapacity / 2));
        for (std::size_t i = FCount; i < n; ++i) FData[i] = T{};
        for (std::size_t i = n; i < FCount; ++i) FData[i] = T{};
        FCount = n;
    }
    void SetLength(int n)
    {
        if (n < 0) throw ERangeError();
        SetLength(static_cast<std::size_t>(n));
    }
    void resize(std::size_t n) { SetLength(n); }
    void clear() noexcept
    {
        for (std::size_t i = 0; i < FCount; ++i) FData[i] = T{};
        FCount = 0;
    }
    void Reserve(std::size_t n)
    {
        if (n <= FCapacity) return;
        std::unique_ptr<T[]> data(new T[n]());
        for (std::size_t i = 0; i < FCount; ++i) data[i] = std::move(FData[i]);
        FData = std::move(data);
        FCapacity = n;
    }
    void reserve(std::size_t n) { Reserve(n); }

    // Appends one element (the program's "length + 1" growth).
    void push_back(const T& v)
    {
        if (FCount == FCapacity) {
            T copy(v); // v may be an element of this array, which the growth frees
            Reserve(std::max<std::size_t>(4, FCapacity * 2));
            FData[FCount++] = std::move(copy);
            return;
        }
        FData[FCount++] = v;
    }
    void push_back(T&& v)
    {
        if (FCount == FCapacity) Reserve(std::max<std::size_t>(4, FCapacity * 2));
        FData[FCount++] = std::move(v);
    }
    void Append(const T& v) { push_back(v); }

    // Inserts before index 0..Length, removes index 0..Length-1.
    void Insert(int index, const T& v)
    {
        if (index < 0 || static_cast<std::size_t>(index) > FCount) throw ERangeError();
        push_back(v);
        std::rotate(FData.get() + index, FData.get() + FCount - 1, FData.get() + FCount);
    }
    void Delete(int index)
    {
        CheckIndex(index);
        std::move(FData.get() + index + 1, FData.get() + FCount, FData.get() + index);
        FData[--FCount] = T{};
    }

    template <std::integral I>
    T& operator[](I i) { CheckIndex(i); return FData[static_cast<std::size_t>(i)]; }
    template <std::integral I>
    const T& operator[](I i) const { CheckIndex(i); return FData[static_cast<std::size_t>(i)]; }
    T& at(int i) { return (*this)[i]; }
    const T& at(int i) const { return (*this)[i]; }

    T& front() { return (*this)[0]; }
    const T& front() const { return (*this)[0]; }
    T& back() { return (*this)[High()]; }
    const T& back() const { return (*this)[High()]; }

    // Unchecked access for inner loops that have checked their bounds.
    T* data() noexcept { return FData.get(); }
    const T* data() const noexcept { return FData.get(); }
    iterator begin() noexcept { return FData.get(); }
    iterator end() noexcept { return FData.get() + FCount; }
    const_iterator begin() const noexcept { return FData.get(); }
    const_iterator end() const noexcept { return FData.get() + FCount; }

    bool operator==(const DynArray& o) const
    {
        return FCount == o.FCount && std::equal(begin(), end(), o.begin());
    }
    bool operator!=(const DynArray& o) const { return !(*this == o); }

    void Swap(DynArray& o) noexcept
    {
        std::swap(FData, o.FData);
        std::swap(FCount, o.FCount);
        std::swap(FCapacity, o.FCapacity);
    }

private:
    template <class I>
    void CheckIndex(I i) const
    {
        if constexpr (std::is_signed_v<I>) {
            if (i < 0) throw ERangeError();
        }
        if (static_cast<std::size_t>(i) >= FCount) throw ERangeError();
    }
    void CopyFrom(const DynArray& o)
    {
        if (o.FCount == 0) return;
        Reserve(o.FCount);
        std::copy(o.begin(), o.end(), FData.get());
        FCount = o.FCount;
    }

    std::unique_ptr<T[]> FData;
    std::size_t FCount = 0;
    std::size_t FCapacity = 0;
};

// A point of a profile or ring: x and z (depth or elevation, as the user of the array says).
struct complexM {
    double x = 0.0;
    double z = 0.0;
    bool operator==(const complexM&) const = default;
};

using arofdoubleM = DynArray<double>;
using ararofdoubleM = DynArray<arofdoubleM>;
using arararofdoubleM = DynArray<ararofdoubleM>;
using arofintM = DynArray<std::int32_t>;
using ararofintM = DynArray<arofintM>;
using arofboolM = DynArray<bool>;
using ararofboolM = DynArray<arofboolM>;
using arofstrM = DynArray<std::string>;
using arofcomplexM = DynArray<complexM>;
using ararofcomplexM = DynArray<arofcomplexM>;
