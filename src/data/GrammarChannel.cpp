#include "GrammarChannel.h"

#include "Cp1252Codec.h"

bool GrammarChannel::open(const QString &path, QString *error)
{
    if (m_file.isOpen())
        return false;
    m_file.setFileName(path);
    m_failed = false;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = path + QStringLiteral(": ") + m_file.errorString();
        return false;
    }
    return true;
}

bool GrammarChannel::writeLine(const QString &line)
{
    if (!m_file.isOpen())
        return false;
    const QByteArray bytes = Cp1252Codec::encode(line) + "\r\n";
    const bool ok = m_file.write(bytes) == bytes.size();
    m_failed = m_failed || !ok;
    return ok;
}

bool GrammarChannel::close()
{
    if (!m_file.isOpen())
        return false;
    const bool ok = m_file.flush() && !m_failed;
    m_file.close();
    return ok;
}
