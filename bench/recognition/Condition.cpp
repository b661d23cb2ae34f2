#include "Condition.h"

#include "Corpus.h"
#include "Noise.h"

#include "recognizer/SphinxEngine.h"

namespace {

constexpr int kLeadMs = 600;
constexpr int kRoomLeadMs = 1100;
constexpr int kZerosMs = 500;
constexpr int kTrailMs = 1500;
// From the end of the first saying to the start of the second: a quick repeat.
constexpr int kRepeatGapMs = 400;
constexpr qsizetype kSamplesPerMs = SphinxEngine::SampleRate / 1000;

} // namespace

QList<Condition> Condition::all()
{
    return {{"clean", Clean, 0},
            {"room 35 dB", Room, RoomSnrDb},
            {"after zeros", AfterZeros, RoomSnrDb},
            {"said twice", Twice, RoomSnrDb},
            {"pink 15 dB", Pink, 15},
            {"pink 5 dB", Pink, 5},
            {"brown 10 dB", Brown, 10},
            {"talk 20 dB", Talk, 20},
            {"talk 10 dB", Talk, 10},
            {"talk on 10 dB", TalkGoingOn, 10}};
}

QList<qint16> Condition::clip(const QList<qint16> &speech, quint32 seed, const QList<qint16> &talk,
                              qsizetype *speechStart) const
{
    const bool room = kind == Room || kind == AfterZeros || kind == Twice;
    const qsizetype lead = (room ? kRoomLeadMs : kLeadMs) * kSamplesPerMs;
    const qsizetype zeros = kind == AfterZeros ? kZerosMs * kSamplesPerMs : 0;
    *speechStart = zeros + lead;
    QList<qint16> samples(lead, 0);
    if (kind == Twice) {
        samples += speech.first(Corpus::endOfSpeech(speech));
        samples += QList<qint16>(kRepeatGapMs * kSamplesPerMs, 0);
        const qsizetype start = Corpus::startOfSpeech(speech);
        *speechStart = samples.size() - start;
        samples += speech.sliced(start);
    } else {
        samples += speech;
    }
    samples += QList<qint16>(kTrailMs * kSamplesPerMs, 0);
    const qsizetype n = samples.size();
    switch (kind) {
    case Clean:
        return samples;
    case Room:
    case Twice:
        return Noise::mix(samples, Noise::pink(n, seed), snrDb);
    case AfterZeros:
        return QList<qint16>(zeros, 0) + Noise::mix(samples, Noise::pink(n, seed), snrDb);
    case Pink:
        return Noise::mix(samples, Noise::pink(n, seed), snrDb);
    case Brown:
        return Noise::mix(samples, Noise::brown(n, seed), snrDb);
    case TalkGoingOn: // made by TalkStream
    case Talk: {
        // Each file hears another stretch of the talk, in a room.
        const QList<qint16> inRoom = Noise::mix(samples, Noise::pink(n, seed), RoomSnrDb);
        return Noise::mix(inRoom, Noise::fromSamples(talk, qsizetype(seed) * 7919 * 16, n), snrDb);
    }
    }
    return samples;
}
