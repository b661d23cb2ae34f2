#pragma once

#include "support/FakeDesktop.h"
#include "support/RecordFileBytes.h"

#include <QByteArray>
#include <QList>
#include <QSettings>
#include <QTemporaryDir>

// The speech window tests' world: settings of their own (Qt reads the settings folder once per
// process, so each test sets it explicitly), a Gedit window in front, and its record "editor"
// with vocabulary E holding words.
inline void prepareGeditInFront(const QTemporaryDir &dir, FakeDesktop &desktop,
                                const QList<QByteArray> &words)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
    QSettings().clear();
    desktop.windows.addWindow(7, "Gedit", "notes - gedit");
    desktop.windows.setForeground(7);
    RecordFileBytes::write(dir.filePath("data/VAppCmd.txt"),
                           RecordFileBytes::file({"Gedit \xA6 notes - gedit*editor~E$gedit"}, 270));
    RecordFileBytes::write(dir.filePath("data/vocab/E.txt"), RecordFileBytes::file(words, 128));
}
