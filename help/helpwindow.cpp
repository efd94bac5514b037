// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpwindow.h"

#include "common/safefile.h"
#include "common/workingdir.h"

#include <QKeyEvent>
#include <QLocale>

HelpWindow::HelpWindow() : QTextBrowser(nullptr)
{
    setReadOnly(true);
    setWindowTitle(tr("How to use"));
    resize(750, 400);
    const QString file = workingDirectoryFile(QStringLiteral("html/index.html"));
    if (!file.isEmpty())
        page = QUrl::fromLocalFile(file);
    // The page holds both languages; a Japanese reader starts at the second half.
    if (QLocale().language() == QLocale::Japanese)
        page.setFragment(QStringLiteral("ja"));
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::showEvent(QShowEvent *event)
{
    QTextBrowser::showEvent(event);
    if (!page.isEmpty()) {
        setSource(page);
        page.clear();
    }
}

// Escape puts the help away, as it does a dialog.
void HelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QTextBrowser::keyPressEvent(event);
}

QVariant HelpWindow::loadResource(int type, const QUrl &name)
{
    const QUrl url = source().resolved(name);
    if (!url.isLocalFile())
        return QTextBrowser::loadResource(type, name);
    // The page and its pictures are a few hundred kilobytes.
    constexpr qint64 maxResourceSize = 16 * 1024 * 1024;
    const std::optional<QByteArray> data = readPlausibleFile(url.toLocalFile(), maxResourceSize);
    // An empty answer, not an invalid one: the document would otherwise try
    // the file itself.
    return QVariant(data.value_or(QByteArray()));
}
