#include "GeneratedSound.h"
#include "recognizer/CepstralMean.h"
#include "recognizer/SphinxEngine.h"
#include "recognizer/SphinxModel.h"

#include <QTest>
#include <pocketsphinx.h>
#include <sphinxbase/cmn.h>

using namespace GeneratedSound;

namespace {

constexpr int kFrameSamples = 160;
// A frame's window reaches 2.56 frames on: the last frames of a sound also hear what follows.
constexpr int kWindowOverhang = 3;

// Two sounds at once.
QList<qint16> mix(QList<qint16> a, const QList<qint16> &b)
{
    for (qsizetype i = 0; i < a.size() && i < b.size(); ++i)
        a[i] = qint16(qBound(-32768, a[i] + b[i], 32767));
    return a;
}

// A steady vowel-like sound with three formants.
QList<qint16> voice(int ms)
{
    return mix(mix(tone(ms, 6000, 300), tone(ms, 3000, 1200)), tone(ms, 1500, 2500));
}

QList<qint16> room(const QString &kind, int ms)
{
    if (kind == "hum")
        return mix(tone(ms, 3000, 250), noise(ms, 30, 3));
    return noise(ms, kind == "quiet" ? 30 : kind == "hiss" ? 300 : 3000, 7);
}

// The frames whose whole window lies in the sound from frame first on for count frames. (The
// decoder's front end takes the noise it has heard out of what follows, so a sound's colour
// depends on what came before it: the tests put the speech first.)
QList<bool> framesOf(qsizetype total, int first, int count)
{
    QList<bool> flags(total, false);
    for (int f = first; f <= first + count - kWindowOverhang; ++f)
        flags[f] = true;
    return flags;
}

} // namespace

// The decoder's cepstral mean follows every utterance, and learns the user's colour from speech;
// the level stays the decoder's.
class TestCepstralMean : public QObject
{
    Q_OBJECT

    ps_decoder_s *m_ps = nullptr;
    std::unique_ptr<CepstralMean> m_mean;

    // One utterance, heard and learnt as the engine does; the level the decoder's passes left.
    float hear(const QList<qint16> &samples, const QList<bool> &speechFrames)
    {
        m_mean->startUtterance();
        if (ps_start_utt(m_ps) != 0)
            return -1000;
        ps_process_raw(m_ps, samples.constData(), size_t(samples.size()), FALSE, FALSE);
        m_mean->endPass();
        m_mean->endUtterance(samples, speechFrames.count(true));
        const float level = mean()[0];
        m_mean->learn(samples, speechFrames);
        return level;
    }
    std::vector<float> mean() const
    {
        std::vector<float> vector(size_t(ps_get_feat(m_ps)->cmn_struct->veclen));
        cmn_live_get(ps_get_feat(m_ps)->cmn_struct, vector.data());
        return vector;
    }
    // The mean, then the sums and their count.
    std::vector<float> state() const
    {
        const cmn_t *cmn = ps_get_feat(m_ps)->cmn_struct;
        std::vector<float> all = mean();
        all.insert(all.end(), cmn->sum, cmn->sum + cmn->veclen);
        all.push_back(float(cmn->nframe));
        return all;
    }
    // The mean after a new decoder has heard one utterance.
    std::vector<float> meanAfter(const QList<qint16> &samples, const QList<bool> &speechFrames)
    {
        init();
        const float level = hear(samples, speechFrames);
        std::vector<float> learnt = mean();
        if (learnt[0] != level)
            learnt[0] = -1000; // the level is the decoder's business
        return learnt;
    }

private Q_SLOTS:
    void init()
    {
        cleanup();
        QString error;
        m_ps = SphinxModel::load(SphinxEngine::defaultModelDir(), {}, &error);
        QVERIFY2(m_ps, qPrintable(error));
        QCOMPARE(ps_set_keyphrase(m_ps, "test", "hello"), 0);
        QCOMPARE(ps_set_search(m_ps, "test"), 0);
        m_mean = std::make_unique<CepstralMean>();
        m_mean->open(m_ps, false);
    }
    void cleanup()
    {
        m_mean.reset();
        if (m_ps)
            ps_free(m_ps);
        m_ps = nullptr;
    }

    // What follows the speech (the room, a fan, loud noise) leaves its colour as it is; the
    // level stays as the decoder's passes left it.
    void colourFromSpeechOnly_data()
    {
        QTest::addColumn<QString>("after");
        QTest::newRow("hiss") << "hiss";
        QTest::newRow("fan hum") << "hum";
        QTest::newRow("loud noise") << "loud";
    }
    void colourFromSpeechOnly()
    {
        QFETCH(QString, after);
        const QList<bool> flags = framesOf(160, 0, 60);
        const std::vector<float> quiet = meanAfter(voice(600) + room("quiet", 1000), flags);
        const std::vector<float> other = meanAfter(voice(600) + room(after, 1000), flags);
        QVERIFY(quiet[0] > -1000 && other[0] > -1000);
        for (size_t i = 1; i < quiet.size(); ++i)
            QVERIFY2(qAbs(quiet[i] - other[i]) < 1e-3f, qPrintable(QString::number(i)));
        // Learnt from every frame, the colour would be the room's too.
        const QList<bool> all(flags.size(), true);
        const std::vector<float> quietAll = meanAfter(voice(600) + room("quiet", 1000), all);
        const std::vector<float> otherAll = meanAfter(voice(600) + room(after, 1000), all);
        float apart = 0;
        for (size_t i = 1; i < quietAll.size(); ++i)
            apart = qMax(apart, qAbs(quietAll[i] - otherAll[i]));
        QVERIFY2(apart > 0.5f, qPrintable(QString::number(apart)));
    }

    // However long the silence after the speech and whatever samples are left past the last
    // frame, the mean is its sums' average once the utterance is over, so the next utterance
    // hears the colour of the ones before.
    void meanFollowsEveryUtterance_data()
    {
        QTest::addColumn<int>("silenceMs");
        for (int ms : {300, 700, 900, 1300})
            QTest::addRow("%d ms of silence after the speech", ms) << ms;
    }
    void meanFollowsEveryUtterance()
    {
        QFETCH(int, silenceMs);
        hear(voice(600), framesOf(60, 0, 60)); // the first utterance is heard twice
        // Not through hear(): learn() rewrites the mean and its sums together, which would hide a
        // stale mean; and fed 10 ms at a time, as the engine feeds the decoder.
        for (int leftOver : {0, 1, 80, 159}) {
            QList<qint16> samples = room("quiet", 2000) + voice(500) + room("quiet", silenceMs);
            samples.resize(samples.size() + leftOver);
            m_mean->startUtterance();
            QCOMPARE(ps_start_utt(m_ps), 0);
            for (qsizetype at = 0; at < samples.size(); at += kFrameSamples)
                ps_process_raw(m_ps, samples.constData() + at,
                               size_t(qMin<qsizetype>(kFrameSamples, samples.size() - at)), FALSE,
                               FALSE);
            m_mean->endPass();
            m_mean->endUtterance(samples, 50);
            const cmn_t *cmn = ps_get_feat(m_ps)->cmn_struct;
            for (int i = 0; i < cmn->veclen; ++i) {
                const float average = cmn->sum[i] / float(cmn->nframe);
                QVERIFY2(qAbs(cmn->cmn_mean[i] - average) < 1e-3f * qMax(1.0f, qAbs(average)),
                         qPrintable(QStringLiteral("%1 samples left over, coefficient %2: %3, "
                                                   "not %4")
                                        .arg(leftOver)
                                        .arg(i)
                                        .arg(cmn->cmn_mean[i])
                                        .arg(average)));
            }
        }
    }

    // A click or a cough tells little of the voice: the mean, and the sums the decoder goes on
    // from, stay as they were.
    void tooLittleSpeechTeachesNothing()
    {
        hear(voice(600), framesOf(60, 0, 60));
        const std::vector<float> before = state();
        hear(voice(200) + room("hum", 800), framesOf(100, 0, 20));
        QCOMPARE(state(), before);
        hear(voice(600) + room("hiss", 500), framesOf(110, 0, 60));
        QVERIFY(state() != before);
    }

    // A snapshot takes the mean back to where it was, the sums it goes on from too, and
    // whether speech had been heard by then (the first utterance of speech is heard twice).
    void snapshotTakesTheMeanBack_data()
    {
        QTest::addColumn<bool>("afterSpeech");
        QTest::newRow("before any speech") << false;
        QTest::newRow("after an utterance") << true;
    }
    void snapshotTakesTheMeanBack()
    {
        QFETCH(bool, afterSpeech);
        if (afterSpeech)
            hear(voice(600) + room("hum", 500), framesOf(110, 0, 60));
        const CepstralMean::Snapshot start = m_mean->snapshot();
        const std::vector<float> before = state();
        hear(room("quiet", 300) + voice(700) + room("loud", 500), framesOf(150, 30, 70));
        QVERIFY(state() != before); // else the test could not tell
        m_mean->restore(start);
        QCOMPARE(state(), before);
        const QList<qint16> sound = voice(600) + room("hiss", 500);
        m_mean->startUtterance();
        QCOMPARE(ps_start_utt(m_ps), 0);
        ps_process_raw(m_ps, sound.constData(), size_t(sound.size()), FALSE, FALSE);
        m_mean->endPass();
        QCOMPARE(m_mean->endUtterance(sound, 60), !afterSpeech);
    }
};

QTEST_GUILESS_MAIN(TestCepstralMean)
#include "tst_cepstralmean.moc"
