// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef HOSTSYSTEM_H
#define HOSTSYSTEM_H

#include <QStringList>

// What the tests do differently on POSIX systems and on Windows. The build
// takes one of hostsystem_posix.cpp and hostsystem_windows.cpp.

// Whether a folder can hold a FIFO, which anyone may put in the place of a
// data file. Windows keeps its pipes apart from the folders, so there the
// case does not arise.
bool fifosInFolders();

// Puts a FIFO at path; false when it cannot.
bool makeFifo(const QString &path);

// What the process holds open (descriptors, handles), one entry each as
// the system numbers them, for a test to compare before and after.
QStringList openFiles();

#endif
