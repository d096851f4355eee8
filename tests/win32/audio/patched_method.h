// patched_method.h -- makes one method of a platform class answer as a test says, for Wine's
// objects that never fail by themselves.
#pragma once

#include <windows.h>

// Every object of the class of `object`, those made later inside the code under test too, calls
// `replacement` in method `slot` while this lives. The class's table is patched in place, so the
// platform's own checks of a table's address still hold.
class PatchedMethod {
public:
    template <typename Function>
    PatchedMethod(void* object, int slot, Function* replacement)
        : entry(*static_cast<void***>(object) + slot), original(*entry)
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

// A method that only answers `Code`; on x64 one function serves methods of any parameters.
template <HRESULT Code>
HRESULT STDMETHODCALLTYPE Answer()
{
    return Code;
}
