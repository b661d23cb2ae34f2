#include "StagedFile.h"

#include "DataLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kPrefix = QStringLiteral(".");
const QString kSuffix = QStringLiteral(".new");
constexpr int kUniqueLength = 6; // the XXXXXX of the name
constexpr int kAttempts = 5;

// Whether the descriptor and the name still denote one file: a copy removed or replaced between
// its opening and its locking is not the one that was locked.
bool sameFile(int fd, const QByteArray &path)
{
    struct stat byDescriptor, byName;
    return ::fstat(fd, &byDescriptor) == 0 && ::lstat(path.constData(), &byName) == 0 &&
           byDescriptor.st_dev == byName.st_dev && byDescriptor.st_ino == byName.st_ino;
}

bool lockedByUs(int fd, const QByteArray &path)
{
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFile(fd, path);
}

// Removes the copy at path unless a running rewrite holds its lock.
bool removeIfAbandoned(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false; // gone already, or not ours to open: left for its owner
    const bool abandoned = lockedByUs(fd, name);
    const bool removed = abandoned && ::unlink(name.constData()) == 0;
    ::close(fd);
    if (removed)
        qCDebug(lcData) << "removed" << path << "left by an interrupted rewrite";
    return removed;
}

} // namespace

StagedFile::StagedFile(const QString &path)
{
    const QFileInfo info(path);
    const QString pattern = info.absolutePath() + QLatin1Char('/') + kPrefix + info.fileName() +
                            QLatin1Char('.') + QString(kUniqueLength, QLatin1Char('X')) + kSuffix;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        auto file = std::make_unique<QTemporaryFile>(pattern);
        file->setAutoRemove(false);
        if (!file->open()) {
            m_error = file->errorString();
            return;
        }
        const int fd = file->handle();
        const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (!locked && errno != EWOULDBLOCK) {
            // A file system without locks: the copy is used unlocked, and a copy left by an
            // interrupted rewrite is then never taken for abandoned either.
            qCDebug(lcData) << "no lock on" << file->fileName() << ::strerror(errno);
            m_file = std::move(file);
            return;
        }
        if (locked && sameFile(fd, QFile::encodeName(file->fileName()))) {
            m_file = std::move(file);
            return;
        }
        // Another instance cleaning up took it for a leftover in the moment before the lock; it
        // removes the copy, and this rewrite makes another.
        m_error = QStringLiteral("the new copy was taken away");
    }
}

StagedFile::~StagedFile() = default;

bool StagedFile::isOpen() const
{
    return m_file && m_file->isOpen();
}

QString StagedFile::fileName() const
{
    return m_file ? m_file->fileName() : QString();
}

void StagedFile::release()
{
    if (m_file)
        m_file->close();
}

int StagedFile::removeLeftovers(const QString &path)
{
    const QFileInfo info(path);
    const QString fileName = info.fileName();
    return removeLeftoversIn(info.absolutePath(),
                             [&fileName](const QString &name) { return name == fileName; });
}

int StagedFile::removeLeftoversIn(const QString &folder,
                                  const std::function<bool(const QString &)> &isDataFile)
{
    const QDir dir(folder);
    int removed = 0;
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString copied = copiedFileName(name);
        if (!copied.isEmpty() && isDataFile(copied) && removeIfAbandoned(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

QString StagedFile::copiedFileName(const QString &fileName)
{
    const qsizetype copiedLength =
        fileName.size() - kPrefix.size() - 1 - kUniqueLength - kSuffix.size();
    if (copiedLength < 1 || !fileName.startsWith(kPrefix) || !fileName.endsWith(kSuffix) ||
        fileName.at(kPrefix.size() + copiedLength) != QLatin1Char('.'))
        return {};
    return fileName.mid(kPrefix.size(), copiedLength);
}
