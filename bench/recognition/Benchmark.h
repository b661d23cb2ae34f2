#pragma once

#include "BackgroundTalk.h"
#include "Condition.h"
#include "Corpus.h"
#include "PeerDecoder.h"
#include "Report.h"

#include "recognizer/SphinxEngine.h"

#include <QTextStream>
#include <memory>
#include <optional>

// Runs the set's speech through the engine (and the peer decoder) under each condition.
class Benchmark
{
public:
    // voiceLevels: the engine is told each voice's level, as the user sets the level meter's
    // full scale to their voice.
    Benchmark(const Corpus::Set &set, SphinxEngine &engine, const PeerDecoder *peer,
              bool voiceLevels, const QString &workDir, QTextStream &out);

    // False with error when the speech cannot be made or the peer fails.
    bool run(const QList<Condition> &conditions, int voiceCount, double talkMinutes,
             QString *error);
    // groups > 1: as a user with that many applications, only the application names and one
    // group of the other commands can act, that of the application in front. filter: the whole
    // set stays the grammar and only what can act counts, as in the program; else the grammar
    // is narrowed to it.
    void setFrontGroups(int groups, bool filter)
    {
        m_frontGroups = groups;
        m_frontFilter = filter;
    }
    // Lists the misses of every condition, not only those of clean speech.
    void listEveryMiss() { m_everyMiss = true; }
    // sweep: the tables of thresholds, the gate's among results of at least minCoverage, the
    // confidence's among those that also pass marginDb.
    void print(bool sweep, double minCoverage, double marginDb) const;
    // A stretch of the background talk, once run() has prepared it: continuous speech, on which
    // the decoder never rests.
    QList<qint16> talkStretch(double seconds) const { return m_talk.stretch(seconds, 1000); }

private:
    bool runText(const Corpus::Voice &voice, const QString &text, bool isCommand, QString *error);
    // The room's file of a text: its seed, and the cepstral mean before and after it.
    struct RoomFiles
    {
        std::optional<quint32> seed;
        CepstralMean::Snapshot before;
        CepstralMean::Snapshot left;
    };
    // The text's speech in the condition: the file (samples, the speech's start) and what the
    // engine heard in it.
    QList<SphinxEngine::Detection> hearInCondition(const Condition &condition,
                                                   const QList<qint16> &speech, RoomFiles *room,
                                                   QList<qint16> *samples, qsizetype *start);
    // From where the last stream left the engine, or from carried.
    QList<SphinxEngine::Detection> decode(const QList<qint16> &samples,
                                          const CepstralMean::Snapshot *carried = nullptr);
    // Counts what was heard of a text in a condition; speechEnd: where its speech ended.
    void record(qsizetype condition, const Corpus::Voice &voice, const QString &text,
                bool isCommand, qint64 speechEnd, const QList<SphinxEngine::Detection> &detections);
    bool runTalkAlone(double minutes, double belowDb, QString *error);
    bool hearTalk(QList<qint16> samples, double gain, TalkTally *tally,
                  QList<SphinxEngine::Detection> *detections, QString *error);
    bool runTalkGoingOn(const Condition &condition, Tally *tally, const Corpus::Voice &voice,
                        QString *error);
    double averageCommandRms() const { return m_commandRmsSum / qMax(1, m_commandCount); }
    void listenForGroup(int group);
    void keepActive(QList<SphinxEngine::Detection> *detections) const;
    void hearInFrontOfOthers(const Corpus::Voice &voice);

    Corpus::Set m_set;
    SphinxEngine &m_engine;
    const PeerDecoder *m_peer;
    bool m_voiceLevels;
    QString m_workDir;
    QTextStream &m_out;
    QList<Condition> m_conditions;
    QList<Tally> m_ours;
    QList<Tally> m_peers;
    QList<TalkTally> m_talks;
    QStringList m_misses;
    bool m_everyMiss = false;
    BackgroundTalk m_talk;
    QList<qint16> m_talkUnderCommands;
    QList<std::pair<Corpus::Voice, int>> m_voicesHeard; // with the level they were heard at
    quint32 m_seed = 0;
    double m_commandRmsSum = 0;
    int m_commandCount = 0;
    double m_decodeSeconds = 0;
    double m_audioSeconds = 0;
    double m_streamDecodeSeconds = 0;
    double m_streamAudioSeconds = 0;
    int m_frontGroups = 1;
    int m_sentencesHeard = 0;
    bool m_frontFilter = false;
    QStringList m_active;
    QList<std::pair<QList<qint16>, int>> m_saidElsewhere; // a command's speech, its group
    int m_otherSaid = 0;
    QStringList m_otherTaken;
};
