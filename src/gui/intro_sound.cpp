#include "intro_sound.h"

#include <QFile>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QUrl>
#include <QtEndian>
#include <array>
#include <cstring>
#include <cmath>
#include <numbers>

namespace tarn {

namespace {

constexpr int kSampleRate = 22050;
constexpr int kNoteMs = 180;
constexpr double kAmplitude = 9000.0;
constexpr int kWaveHeaderBytes = 44;

struct Clip {
    const char* name;
    std::array<int, 8> notes;  // semitones above A3; -1 rests
    double brightness;         // share of the octave overtone
};

// TARN's own little tunes: arpeggios over one chord each.
constexpr std::array<Clip, kIntroClipCount> kClips = {{
    {"Velgrim - Forge Rising", {0, 4, 7, 12, 7, 4, 0, -1}, 0.30},
    {"Velgrim - Strogg Lullaby", {12, 7, 3, 0, 3, 7, 12, -1}, 0.10},
    {"Tarn Quartet - Skin Deep", {0, 3, 7, 10, 12, 10, 7, 3}, 0.20},
    {"Tarn Quartet - Mapping Verts", {5, 9, 12, 17, 12, 9, 5, -1}, 0.25},
    {"Palette Knife - Colormap", {2, 5, 9, 14, 9, 5, 2, -1}, 0.40},
    {"Palette Knife - Phong Shade", {0, 7, 12, 16, 19, 16, 12, 7}, 0.15},
    {"Base Folder - baseq2", {-1, 0, 0, 7, 7, 9, 9, 7}, 0.35},
    {"Base Folder - Frame 198", {12, 11, 9, 7, 5, 4, 2, 0}, 0.20},
}};

void putLe32(QByteArray& out, int offset, quint32 v) { qToLittleEndian(v, out.data() + offset); }
void putLe16(QByteArray& out, int offset, quint16 v) { qToLittleEndian(v, out.data() + offset); }

}  // namespace

IntroSound::IntroSound(QObject* parent) : QObject(parent) {}

IntroSound::~IntroSound() { stop(); }

QString IntroSound::clipName(int clip) {
    return QString::fromUtf8(kClips[static_cast<std::size_t>(clip % kIntroClipCount)].name);
}

QByteArray IntroSound::clipWave(int clip) {
    const Clip& c = kClips[static_cast<std::size_t>(clip % kIntroClipCount)];
    const int noteSamples = kSampleRate * kNoteMs / 1000;
    const int samples = noteSamples * static_cast<int>(c.notes.size());
    QByteArray wave(kWaveHeaderBytes + samples * 2, '\0');
    std::memcpy(wave.data(), "RIFF", 4);
    putLe32(wave, 4, static_cast<quint32>(wave.size() - 8));
    std::memcpy(wave.data() + 8, "WAVEfmt ", 8);
    putLe32(wave, 16, 16);
    putLe16(wave, 20, 1);  // PCM
    putLe16(wave, 22, 1);  // mono
    putLe32(wave, 24, kSampleRate);
    putLe32(wave, 28, kSampleRate * 2);
    putLe16(wave, 32, 2);
    putLe16(wave, 34, 16);
    std::memcpy(wave.data() + 36, "data", 4);
    putLe32(wave, 40, static_cast<quint32>(samples * 2));

    for (int n = 0; n < static_cast<int>(c.notes.size()); ++n) {
        const int note = c.notes[static_cast<std::size_t>(n)];
        const double freq = 220.0 * std::pow(2.0, note / 12.0);
        for (int i = 0; i < noteSamples; ++i) {
            double t = static_cast<double>(i) / kSampleRate;
            // A quick attack and an exponential fade keep the notes apart.
            double envelope = std::min(1.0, i / 200.0) * std::exp(-6.0 * i / noteSamples);
            double tone = std::sin(2 * std::numbers::pi * freq * t) +
                          c.brightness * std::sin(4 * std::numbers::pi * freq * t);
            double value = note < 0 ? 0.0 : kAmplitude * envelope * tone;
            putLe16(wave, kWaveHeaderBytes + (n * noteSamples + i) * 2,
                    static_cast<quint16>(static_cast<qint16>(value)));
        }
    }
    return wave;
}

void IntroSound::playClip(int clip) {
    if (!clips_) clips_ = std::make_unique<QTemporaryDir>();
    QString path = clips_->filePath(QStringLiteral("clip%1.wav").arg(clip));
    if (!QFile::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(clipWave(clip)) < 0) return;
    }
    play(path);
}

bool IntroSound::playFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    play(path);
    return true;
}

void IntroSound::play(const QString& path) {
    stop();
    source_ = path;
    if (!effect_) effect_ = new QSoundEffect(this);
    effect_->setSource(QUrl::fromLocalFile(path));
    effect_->setLoopCount(QSoundEffect::Infinite);
    effect_->play();
}

void IntroSound::stop() {
    if (effect_) effect_->stop();
    source_.clear();
}

bool IntroSound::playing() const { return !source_.isEmpty(); }

}  // namespace tarn
