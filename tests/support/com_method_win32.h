// com_method_win32.h -- makes one method of a live COM object answer as a test says: Wine's objects
// fail none of the calls the tests need refused. A method is named by its interface's member, as
// in Method(&IDirectDrawSurface7::GetDC).
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <vector>

// A method's entry in its interface's table, and the table's length where ReplaceMethod copies it.
struct ComMethod {
    int slot;
    int tableSize;
};

// g++ follows the Itanium ABI: a pointer to a virtual member holds 1 + the byte offset of its entry.
template <typename Interface, typename Signature>
int MethodSlot(Signature Interface::*member)
{
    std::uintptr_t entry = 0;
    std::memcpy(&entry, &member, sizeof entry);
    return static_cast<int>((entry - 1) / sizeof(void*));
}

// The last method of each interface whose table ReplaceMethod copies: the copy ends there.
template <typename Interface>
constexpr auto LastMethod = nullptr;
template <>
constexpr auto LastMethod<IDirectDraw7> = &IDirectDraw7::EvaluateMode;
template <>
constexpr auto LastMethod<IDirectDrawSurface7> = &IDirectDrawSurface7::GetLOD;
template <>
constexpr auto LastMethod<IDirectDrawClipper> = &IDirectDrawClipper::SetHWnd;

template <typename Interface, typename Signature>
ComMethod Method(Signature Interface::*member)
{
    if constexpr (LastMethod<Interface> != nullptr) {
        return {MethodSlot(member), MethodSlot(LastMethod<Interface>) + 1};
    }
    return {MethodSlot(member), 0};
}

// Every object of the class of `object`, those made later inside the code under test too, calls
// `replacement` for `method` while this lives. The class's table is patched in place, so the
// platform's own checks of a table's address still hold.
class PatchedMethod {
public:
    template <typename Function>
    PatchedMethod(void* object, ComMethod method, Function* replacement)
        : entry(*static_cast<void***>(object) + method.slot), original(*entry)
    {
        Write(reinterpret_cast<void*>(replacement));
    }
    ~PatchedMethod() { Write(original); }

private:
    void Write(void* value)
    {
        DWORD old = 0;
        VirtualProtect(entry, sizeof value, PAGE_EXECUTE_READWRITE, &old);
        *entry = value;
        VirtualProtect(entry, sizeof value, old, &old);
    }

    void** entry;
    void* original;
};

// `object` alone calls `replacement` for `method` from now on: it gets a copy of its table, kept
// for the process (the object may outlive the test). Returns the method replaced.
inline void* ReplaceMethod(void* object, ComMethod method, void* replacement)
{
    static std::deque<std::vector<void*>> tables;
    void**& table = *static_cast<void***>(object);
    void* const replaced = table[method.slot];
    tables.emplace_back(table, table + method.tableSize);
    tables.back().at(method.slot) = replacement;
    table = tables.back().data();
    return replaced;
}

// A method that only answers `Code`; on x64 one function serves methods of any parameters.
template <HRESULT Code>
HRESULT STDMETHODCALLTYPE Answer()
{
    return Code;
}
