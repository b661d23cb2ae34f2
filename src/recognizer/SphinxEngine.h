#pragma once

#include "BestPath.h"
#include "CepstralMean.h"
#include "LoudPart.h"
#include "NoiseFloor.h"
#include "NoiseSuppressor.h"
#include "PhraseAcceptance.h"
#include "PhraseSearch.h"
#include "RoomSuppressor.h"
#include "SpeechDetector.h"
#include "SpeechGrammar.h"
#include "SpeechStretch.h"
#include "UtteranceFrames.h"
#include "VoiceBounds.h"
#include "VoiceGate.h"

#include <QList>
#include <QString>
#include <optional>
#include <vector>

struct ps_decoder_s;

struct SpeechEngineOptions
{
    // Holds the acoustic model en-us/ and the dictionary cmudict-en-us.dict; empty for
    // SphinxEngine::defaultModelDir().
    QString modelDir;
    // 0 refuses the most, 100 accepts the most.
    int sensitivity = 50;
    int shortTailMs = 200;
    int longTailMs = 700;
    // The silence that ends a complete phrase early in a long stretch of speech (see
    // longSpeechGarbagePhoneLog10), where talk that goes on after a short pause makes the phrase
    // part of it. Measured at 350, 500 and 700 ms (development set): false commands in talk
    // alone 0.5 -> 0.2 a minute; commands not said in a stretch do not wait.
    int stretchTailMs = 500;
    // The same silence ends a phrase said shortly after talk (see quietAfterTalkMs): a
    // television's pause between two sentences is longer than a stretch's gap but often shorter
    // than that silence. Development set: false commands in talk alone 0.3 -> 0.1 a minute, no
    // command lost. Off only to measure what it does.
    bool tailAfterTalk = true;
    // Speech goes on where an utterance is cut off at its longest (8 s); the utterance that
    // starts inside it is talk, for a command is said after a pause, and takes no command. Both
    // sets: one false command fewer in ten minutes of talk alone at the commands' level, no
    // command lost. Off only to measure what it does.
    bool refuseAfterCut = true;
    // Results whose words take up a smaller share of the speech are refused; unset: from the
    // sensitivity.
    std::optional<double> minCoverage;
    // Speech outside a phrase that stays as far below the phrase's loudest frame as speech
    // beside it must (the aside margin) is not held against its coverage: quieter talk the
    // search put into silence rather than into the phone loop counts as it would beside the
    // phrase. Development set: commands over talk 10 dB below them 48.9 -> 52.2%, three more
    // wrong ones there; quiet rooms unchanged. On: all speech counts, as before.
    bool coverQuietSpeech = false;
    // A phrase whose slowest word takes more frames of speech per phone is refused (see
    // UtteranceFrames::slowestSpeechPace); unset: what the sensitivity sets; 0: no limit.
    // Counted over all of a word's frames, the silence a command's last word takes in made it
    // look slow; counted over its speech, no command of the development set is slower than 16,
    // while a phrase found in talk can be far slower (the one false command in ten minutes of
    // talk alone at the commands' level, "delete line" drawn over 2.4 s, is refused).
    std::optional<double> maxFramesPerPhone;
    // A phrase whose quietest word stays more than this below its loudest (dB) is refused: the
    // user says all of a command, and a word found in quieter talk is the talk's. Unset: what
    // the sensitivity sets.
    std::optional<double> wordMarginDb;
    // The level the user speaks at, on the level meter's scale (its full scale); 0: unknown.
    // Speech much quieter than that is not the user's: see VoiceGate.
    int voiceLevel = 0;
    // How far below it an utterance's loudest moment may stay; unset: from the sensitivity.
    std::optional<double> voiceMarginDb;
    // Steady noise is taken out before the sound is heard, as hard as the room needs; see
    // RoomSuppressor.
    bool suppressNoise = true;
    // WebRTC's setting in a noisy room. Measured on bench/recognition's development set against
    // high: 4 points more commands in clean speech and 1 more in pink noise 15 dB, 3 fewer in
    // pink noise 5 dB and 2 fewer over talk 10 dB; very high loses clean speech.
    NoiseSuppressor::Level suppressionLevel = NoiseSuppressor::Level::Moderate;
    // And in a quiet one. Low everywhere gains 2 points on clean speech over moderate, but in
    // pink noise 5 dB 40% of the sentences are taken for commands; no suppression in a quiet
    // room loses 16 points over talk 10 dB.
    NoiseSuppressor::Level quietRoomSuppressionLevel = NoiseSuppressor::Level::Low;
    // A room whose background is louder than this is noisy (SpeechDetector::levelDb of the sound
    // as the microphone delivers it; 45: RMS 178, -45 dBFS); 0: every room is.
    double noisyRoomDb = 45;
    // Digital silence is no sound: see SpeechDetector. Off only to measure what it does.
    bool handleDigitalSilence = true;
    // A quiet noise floor is added under the sound; off only to measure what it does.
    bool addNoiseFloor = true;
    // Every utterance starts from the model's cepstral mean instead of the one the last
    // utterances left; on only to measure what it does.
    bool resetCepstralMean = false;
    // The mean's colour is learnt from the frames of speech alone (CepstralMean::learn). Off:
    // measured, it kept more commands under talk but fewer in clean speech and steady noise,
    // and let more talk through (see the README).
    bool learnColourFromSpeech = false;
    // Phrases are looked for inside other speech; off only to measure what it does.
    bool findInsideSpeech = true;
    // A phrase found inside other speech counts when that speech stays this many dB below the
    // phrase's loudest moment (a television under the user's voice); speech as loud as the
    // phrase is the user's own sentence around a command's words. Unset: from the sensitivity.
    std::optional<double> asideMarginDb;
    // The price of each phone on the garbage path, as a power of ten.
    double garbagePhoneLog10 = PhraseSearch::GarbagePhoneLog10;
    // The price of the phone loop in long stretches of speech (utterances less than longTailMs
    // apart are one stretch), where talk is likelier than a command; unset: garbagePhoneLog10.
    // An utterance that goes on from the last one is decoded with it; one that stretches
    // longer than longSpeechMs, taken for a command, is heard again with it and counts only if
    // it is a command then too.
    std::optional<double> longSpeechGarbagePhoneLog10 = PhraseSearch::LongSpeechGarbagePhoneLog10;
    int longSpeechMs = 1500;
    // The price of the phone loop for speech said on its own where no talk (a stretch longer
    // than longSpeechMs) was heard for quietAfterTalkMs: there a command is likelier than
    // anywhere, and a television's pauses do not make a quiet room; unset: garbagePhoneLog10.
    std::optional<double> quietGarbagePhoneLog10 = PhraseSearch::QuietGarbagePhoneLog10;
    int quietAfterTalkMs = 10000;
    // A command said over quieter talk is decoded again on its own: the utterance's loud part,
    // when the speech beside it stays loudPartApartDb below it (see LoudPart; 0: off). It counts
    // when it is the phrase that the whole utterance held, and decides the utterance. Over
    // continuing talk, the utterance ends loudPartEndMs after the loud part (0: only at a pause
    // in the talk). Off: at 8 dB, on the evaluation set it found 1.8 points more commands over
    // talk 10 dB and decided them 0.4 s sooner, but lost 1.1 points of clean speech (a command's
    // own softer syllables taken for the talk beside its loud part) and took the real-time
    // factor from 0.046 to 0.051.
    double loudPartApartDb = 0;
    int loudPartEndMs = 500;
    // Once the user's voice level is known, speech that has not come near it (within the voice
    // margin) does not start an utterance: it could not pass the voice gate anyway. The
    // utterance starts at the first moment that does, with up to startWhenLoudMs of the speech
    // before it (0: speech starts an utterance wherever it starts), and it ends once speech
    // that stays below the margin has gone on for quietSpeechEndMs (0: only at a pause). So a
    // command said into quieter talk that goes on is heard from its own start to its own end,
    // not from the talk's. Development set: commands over talk 10 dB below them 52.2 -> 65.2%,
    // decided after 0.4 s instead of 1.8 s; over talk that goes on 17.9 -> 52.7% (but 26 wrong
    // commands instead of 9), in 1.6 s instead of 6.5 s; pink noise 5 dB 3 commands fewer.
    int startWhenLoudMs = 600;
    int quietSpeechEndMs = 700;
    // Further decoder arguments ("-beam", "1e-60"), only to measure what they do.
    QStringList decoderArguments;
};

// PocketSphinx decoding of a 16 kHz mono stream against a grammar of phrases. Not thread-safe:
// one thread feeds it at a time. The recognizer, the command line and the benchmark all decode
// through this class.
//
// Utterances begin where the speech detector hears speech. Speech that is not a command is
// refused twice: by a garbage path of phones beside the phrases (a result through it is no
// command), and by coverage: a phrase whose words take up too small a share of the speech (a few
// words found in a sentence, the rest left to silence) is no command either; the sensitivity sets
// that share. The garbage path is dearer for speech said on its own than in long stretches of
// speech, where talk is likelier than a command.
// The end of an utterance is chosen with the grammar in mind: after a short silence when what
// was heard so far is a whole phrase that no longer phrase continues, after a longer one
// otherwise, so that a pause inside "page down" does not cut it.
class SphinxEngine
{
public:
    static constexpr int SampleRate = 16000;

    using Options = SpeechEngineOptions;

    struct Detection
    {
        QString phrase;
        // Stream positions, in samples from the start of the stream.
        qint64 eventSample = 0;
        qint64 lastVoicedSample = 0;
        // Wall time of the final search.
        double searchMs = 0;
        // The share of the speech that the phrase's words take up.
        double coverage = 0;
        // How far the utterance's loudest moment lay below the user's voice level, in dB.
        double belowVoiceDb = 0;
        // Frames of speech per phone of the phrase's slowest word: see
        // UtteranceFrames::slowestSpeechPace.
        double pace = 0;
        // Whether other speech was found beside the phrase, and how much quieter it was in dB.
        bool aside = false;
        double asideDb = 0;
    };

    // $JEV_SPEECH_MODEL when set, else the model of Debian's pocketsphinx-en-us.
    static QString defaultModelDir();

    explicit SphinxEngine(const Options &options = Options());
    ~SphinxEngine();
    SphinxEngine(const SphinxEngine &) = delete;
    SphinxEngine &operator=(const SphinxEngine &) = delete;

    // Loads the model; false with a message the caller can show.
    bool open(QString *error);
    bool isOpen() const { return m_ps != nullptr; }
    // Replaces the grammar; an utterance in progress is dropped. Opens the engine when needed.
    bool setGrammar(const SpeechGrammar &grammar, QString *error);
    bool hasGrammar() const { return !m_grammar.isEmpty(); }

    // Decodes more of the stream; phrases recognized on the way are appended to detections.
    void process(const qint16 *samples, qsizetype count, QList<Detection> *detections);
    // The stream ends: an utterance in progress is decided now.
    void finish(QList<Detection> *detections);
    // Drops an utterance in progress and starts a new stream at sample 0.
    void restart();
    // The cepstral mean a stream leaves for the next, and a restart from such a mean, so that
    // two sounds can be heard from the same one. (The decoder's noise removal goes on from
    // the last sound it heard all the same: the library gives no way to keep it.)
    CepstralMean::Snapshot carried() const { return m_cepstralMean.snapshot(); }
    void restart(const CepstralMean::Snapshot &carried)
    {
        restart();
        m_cepstralMean.restore(carried);
    }
    qint64 position() const { return m_position; }
    // See Options::voiceLevel.
    void setVoiceLevel(int level);

    // The grammar's words and their pronunciations as lines of a PocketSphinx dictionary
    // ("live(2) L IH V"), for another decoder that should hear the same words.
    QStringList pronunciationLines() const;

private:
    void processFrame(const qint16 *input, QList<Detection> *detections);
    // Before an utterance: keeps the last moments for its start.
    void awaitUtterance(const qint16 *frame, bool speech);
    // Keeps the last samples of the moments before an utterance, and their frames.
    void keepPreroll(qsizetype samples);
    void startUtterance();
    void continueUtterance(const qint16 *frame, bool speech, QList<Detection> *detections);
    // Whether the silence after the speech ends the phrase, with the grammar in mind.
    bool phraseIsOver();
    void endUtterance(QList<Detection> *detections,
                      SpeechStretch::Ending ending = SpeechStretch::Ending::Over);
    // The phrase of the utterance after hearing it again where that is needed: phrase is the
    // first hearing's (empty: refused), heard what it heard.
    QString reconsidered(const QString &phrase, Detection *detection, QString *heard);
    // Decodes the utterance again with the long speech's search; the phrase it holds if it was
    // said to the program, else empty; firstPhrase when there is no such search. heard: what
    // that search heard.
    QString acceptedOnSecondHearing(const QString &firstPhrase, Detection *detection,
                                    QString *heard);
    // Decodes the utterance's loud part on its own; the phrase it holds if it was said to the
    // program, else empty.
    QString acceptedInLoudPart(const LoudPart::Range &part, Detection *detection, QString *heard);
    // Decodes the utterance's frames in range again with a search; false when the decoder has no
    // such search. heard: what it heard.
    bool hearAgain(PhraseSearch::Speech speech, const LoudPart::Range &range, QString *heard);
    // The phrase the path holds if it was said to the program, else empty; fills in the
    // detection's measures. frames: those the path was decoded from.
    QString acceptedPhrase(const BestPath &path, const UtteranceFrames &frames,
                           Detection *detection) const;
    bool lastWordStartsInSpeech(const QList<BestPath::Word> &words) const;
    // The stretch of speech the utterance belongs to has lasted longer than talk's mark.
    bool stretchIsLong() const { return m_stretch.isTalkAt(m_lastVoiced); }
    // Places the utterance starting at start among the stretches of speech and chooses its
    // search from where it falls.
    PhraseSearch::Speech speechAt(qint64 start);

    Options m_options;
    PhraseAcceptance m_acceptance;
    ps_decoder_s *m_ps = nullptr;
    SpeechGrammar m_grammar;
    int m_searchNumber = 0;
    PhraseSearch::Later m_laterSearches;
    bool m_utteranceStarted = false;
    bool m_checkedPartial = false;
    QList<qint16> m_pending;
    QList<qint16> m_preroll;
    // The utterance as the decoder heard it, to hear it again.
    QList<qint16> m_utterance;
    UtteranceFrames m_frames;
    LoudPart m_loudPart;
    double m_frameLevelDb = 0;
    SpeechDetector m_detector;
    RoomSuppressor m_suppressor;
    VoiceGate m_gate;
    VoiceBounds m_bounds;
    qint16 m_cleanFrame[SampleRate / 100] = {};
    CepstralMean m_cepstralMean;
    NoiseFloor m_noiseFloor;
    qint64 m_position = 0;
    qint64 m_lastVoiced = 0;
    qint64 m_speechStart = 0;
    qint64 m_utteranceStart = 0;
    // A pause as long as the one that ends any phrase separates stretches of speech.
    SpeechStretch m_stretch;
    // Whether the utterance is decoded with the long speech's search from its start.
    bool m_heardAsLong = false;
    // Whether talk was heard shortly before the utterance: see Options::quietAfterTalkMs.
    bool m_afterTalk = false;
};
