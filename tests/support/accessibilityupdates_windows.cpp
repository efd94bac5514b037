// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/accessibilityupdates.h"

#include <QAccessible>

#include <vector>
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

namespace {

void (*interceptor)(QAccessibleEvent *) = nullptr;

void intercepted(QAccessibleEvent *event)
{
    if (interceptor)
        interceptor(event);
}

// A DLL's function cannot be replaced by defining it again, as on ELF
// systems: every module calls it through its own import table, where the
// entry is changed instead.
void redirectImports(HMODULE module, ULONG_PTR from, ULONG_PTR to)
{
    auto *base = reinterpret_cast<BYTE *>(module);
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    const auto *headers = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &table =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (table.VirtualAddress == 0)
        return;
    for (auto *library =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + table.VirtualAddress);
         library->Name != 0; ++library) {
        for (auto *entry = reinterpret_cast<IMAGE_THUNK_DATA *>(base + library->FirstThunk);
             entry->u1.Function != 0; ++entry) {
            if (entry->u1.Function != from)
                continue;
            DWORD protection;
            VirtualProtect(&entry->u1.Function, sizeof entry->u1.Function, PAGE_READWRITE,
                           &protection);
            entry->u1.Function = to;
            VirtualProtect(&entry->u1.Function, sizeof entry->u1.Function, protection, &protection);
        }
    }
}

} // namespace

void interceptAccessibilityUpdates(void (*handler)(QAccessibleEvent *))
{
    interceptor = handler;
    static bool redirected = false;
    if (redirected)
        return;
    redirected = true;
    const auto toolkit = reinterpret_cast<ULONG_PTR>(&QAccessible::updateAccessibility);
    const auto ours = reinterpret_cast<ULONG_PTR>(&intercepted);
    std::vector<HMODULE> modules(256);
    DWORD size = 0;
    if (!EnumProcessModules(GetCurrentProcess(), modules.data(),
                            DWORD(modules.size() * sizeof(HMODULE)), &size))
        return;
    modules.resize(qMin<std::size_t>(modules.size(), size / sizeof(HMODULE)));
    for (HMODULE module : modules)
        redirectImports(module, toolkit, ours);
}
