#pragma once

#include <QList>
#include <QString>

// A condition of the benchmark: what a file's speech is heard with.
struct Condition
{
    enum Kind
    {
        Clean,
        Room,
        AfterZeros,
        // The room's very file, the speech said twice with a short pause between, as a user
        // repeats "page down": both times count.
        Twice,
        Pink,
        Brown,
        Talk,
        // Talk that goes on under one text after another: see TalkStream.
        TalkGoingOn
    };
    // The noise of a quiet room, below the commands' speech.
    static constexpr double RoomSnrDb = 35;

    QString name;
    Kind kind;
    double snrDb;

    static QList<Condition> all();
    // How many times the file says its text.
    int sayings() const { return kind == Twice ? 2 : 1; }

    // A file of the condition: speech with the silence around it and what it is heard with,
    // seed choosing the noise and the stretch of talk (talk: the talk under commands).
    // speechStart: where the speech (said twice: its second saying) starts in it.
    QList<qint16> clip(const QList<qint16> &speech, quint32 seed, const QList<qint16> &talk,
                       qsizetype *speechStart) const;
};
