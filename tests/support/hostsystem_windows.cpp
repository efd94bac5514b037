// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/hostsystem.h"
#include "support/soundserver.h"

#include <vector>
#include <windows.h>
#include <winternl.h>

namespace {

// The system's handle table as NtQuerySystemInformation gives it
// (SystemExtendedHandleInformation), which MinGW's headers do not describe.
constexpr auto extendedHandleInformation = SYSTEM_INFORMATION_CLASS(64);
constexpr NTSTATUS bufferTooSmall = NTSTATUS(0xC0000004L);

struct HandleEntry
{
    PVOID object;
    ULONG_PTR process;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTrace;
    USHORT objectType;
    ULONG attributes;
    ULONG reserved;
};

struct HandleTable
{
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};

} // namespace

bool fifosInFolders()
{
    return false;
}

bool makeFifo(const QString &)
{
    return false;
}

QStringList openFiles()
{
    std::vector<char> buffer(1 << 20);
    ULONG size = 0;
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(extendedHandleInformation, buffer.data(),
                                              ULONG(buffer.size()), &size)) == bufferTooSmall)
        buffer.resize(buffer.size() * 2);
    QStringList handles;
    if (status != 0)
        return handles;
    const auto *table = reinterpret_cast<const HandleTable *>(buffer.data());
    const ULONG_PTR self = GetCurrentProcessId();
    for (ULONG_PTR i = 0; i < table->count; ++i) {
        if (table->entries[i].process == self)
            handles << QString::number(table->entries[i].handle);
    }
    return handles;
}

bool SoundServer::possible()
{
    return false;
}
