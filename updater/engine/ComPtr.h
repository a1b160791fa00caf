#pragma once

#include <objbase.h>

#include <utility>

// Owns one reference to a COM interface and releases it once.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr& other) : m_pointer(other.m_pointer)
    {
        if (m_pointer != nullptr)
            m_pointer->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }

    T* Get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // Releases what is held and hands out the slot for a function that
    // returns a new reference through an out parameter.
    T** Put()
    {
        Reset();
        return &m_pointer;
    }
    void Reset()
    {
        if (m_pointer != nullptr)
            std::exchange(m_pointer, nullptr)->Release();
    }

    // Asks the object for another interface; empty when it has none.
    template <typename U> HRESULT As(REFIID iid, ComPtr<U>& other) const
    {
        if (m_pointer == nullptr)
            return E_POINTER;
        return m_pointer->QueryInterface(iid, reinterpret_cast<void**>(other.Put()));
    }

private:
    T* m_pointer = nullptr;
};
