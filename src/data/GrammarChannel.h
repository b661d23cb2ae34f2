#pragma once

#include <QFile>
#include <QString>

// Channel 2: the grammar file, written line by line in Windows-1252 with CR LF endings.
class GrammarChannel
{
public:
    bool isOpen() const { return m_file.isOpen(); }
    // Opens for appending, creating the file when missing.
    bool open(const QString &path, QString *error);
    bool writeLine(const QString &line);
    // False when the data could not be written out completely.
    bool close();

private:
    QFile m_file;
    bool m_failed = false;
};
