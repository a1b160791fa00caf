#pragma once

#include <objbase.h>

// Initialises COM for the creating thread and balances that when destroyed.
// Only a successful initialisation is balanced, and only on its own thread:
// uninitialising another thread's apartment would tear down objects there.
class ComApartment {
public:
    ComApartment() : m_thread(GetCurrentThreadId()), m_initialised(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment()
    {
        if (m_initialised && GetCurrentThreadId() == m_thread)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    DWORD m_thread;
    bool m_initialised;
};
