#include "FileRewrite.h"

#include "AppError.h"
#include "FileChannels.h"
#include "StagedFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Makes the staged file's content durable before it replaces the original.
bool syncFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return ::fsync(file.handle()) == 0;
}

} // namespace

FileRewrite::FileRewrite(const QString &path) : m_path(path)
{
    const QFileInfo info(path);
    // Copies that interrupted rewrites of this file left behind go before a new one is made, so
    // interruptions never add up.
    StagedFile::removeLeftovers(path);
    m_staged = std::make_unique<StagedFile>(path);
    if (!m_staged->isOpen()) {
        m_errorNumber = QFileInfo(info.absolutePath()).isDir() ? AppErrorNumber::PermissionDenied
                                                               : AppErrorNumber::FileNotFound;
        m_error = info.absolutePath() + QStringLiteral(": a new ") + info.fileName() +
                  QStringLiteral(" cannot be written there (") + m_staged->errorString() +
                  QLatin1Char(')');
        return;
    }
    m_stagedPath = m_staged->fileName();
    // The new file keeps the old one's permissions.
    if (info.exists())
        QFile::setPermissions(m_stagedPath, QFile::permissions(path));
    FileChannels::instance().redirect(m_path, m_stagedPath);
    m_ready = true;
}

FileRewrite::~FileRewrite()
{
    if (m_ready && !m_done)
        abandon();
}

void FileRewrite::raiseUnlessReady() const
{
    if (!m_ready)
        RaiseAppError(m_errorNumber, m_error);
}

void FileRewrite::commit()
{
    raiseUnlessReady();
    FileChannels &channels = FileChannels::instance();
    // The staged file must not be held open on channel 1 while it is renamed.
    if (channels.data().isOpen() && channels.data().path() == m_stagedPath)
        channels.data().close();
    if (channels.injectFault("commit") || !syncFile(m_stagedPath)) {
        const QString reason = m_path + QStringLiteral(": the new content could not be saved");
        abandon();
        RaiseAppError(AppErrorNumber::StoreRefused, reason);
    }
    if (std::rename(QFile::encodeName(m_stagedPath).constData(),
                    QFile::encodeName(m_path).constData()) != 0) {
        const QString reason = m_path + QStringLiteral(": the new content could not replace it (") +
                               QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char(')');
        abandon();
        RaiseAppError(AppErrorNumber::PermissionDenied, reason);
    }
    channels.endRedirect(m_path);
    m_staged->release();
    m_done = true;
}

void FileRewrite::abandon()
{
    FileChannels &channels = FileChannels::instance();
    if (channels.data().isOpen() && channels.data().path() == m_stagedPath)
        channels.data().close();
    channels.endRedirect(m_path);
    // Removed while still locked, so that no cleaner of another instance races for it.
    QFile::remove(m_stagedPath);
    m_staged->release();
    m_done = true;
}
