#include "SoakDispatcher.h"

#include "engine/CApp.h"
#include "support/XvfbSession.h"

#include <QDeadlineTimer>
#include <QThread>

SoakDispatcher::SoakDispatcher(CApp &app, const QString &targetLog)
    : m_app(app), m_log(targetLog), m_said(Soak::words().size(), 0)
{}

bool SoakDispatcher::dispatch(int count, QString *error)
{
    const QList<Soak::Word> &words = Soak::words();
    for (int i = 0; i < count; ++i) {
        const qsizetype index = m_phrases % words.size();
        const Soak::Word &word = words.at(index);
        // 2: the phrase was found and its keys sent.
        if (m_app.VocabCheck(word.phrase) != 2) {
            *error = QStringLiteral("the phrase \"%1\" sent no keys").arg(word.phrase);
            return false;
        }
        ++m_said[index];
        ++m_phrases;
        m_keysSent += word.arrivals.size();
        if ((i + 1) % 100 == 0 || i + 1 == count)
            waitForKeys();
    }
    return true;
}

bool SoakDispatcher::waitForKeys() const
{
    QDeadlineTimer deadline(5000);
    while (Soak::lineCount(m_log) < m_keysSent) {
        if (deadline.hasExpired())
            return false;
        QThread::usleep(500);
    }
    return true;
}

Soak::Tally SoakDispatcher::tally() const
{
    QStringList expected;
    for (qsizetype w = 0; w < m_said.size(); ++w) {
        for (qsizetype n = 0; n < m_said.at(w); ++n)
            expected += Soak::words().at(w).arrivals;
    }
    return Soak::compare(expected, XvfbSession::keysLogged(m_log));
}
