#pragma once

#include "Soak.h"

#include <QList>
#include <QString>

class CApp;

// Says the soak's words in turn to the application in front, through the engine's dispatch, and
// checks afterwards that every key reached the target. Keeps counts only, so that what it keeps
// does not grow with the phrases.
class SoakDispatcher
{
public:
    SoakDispatcher(CApp &app, const QString &targetLog);

    // count more phrases; every 100 it waits (up to 5 s) until the target logged their keys.
    // False, with the reason, when the engine sends nothing for a phrase.
    bool dispatch(int count, QString *error);
    // The keys sent against the keys the target logged.
    Soak::Tally tally() const;

private:
    bool waitForKeys() const;

    CApp &m_app;
    QString m_log;
    QList<qsizetype> m_said; // per word
    qint64 m_phrases = 0;
    qint64 m_keysSent = 0;
};
