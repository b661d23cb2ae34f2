#include "FileChannels.h"

FileChannels &FileChannels::instance()
{
    static FileChannels channels;
    return channels;
}

void FileChannels::redirect(const QString &path, const QString &stagedPath)
{
    m_redirects.insert(path, stagedPath);
}

void FileChannels::endRedirect(const QString &path)
{
    m_redirects.remove(path);
}
