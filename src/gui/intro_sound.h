#pragma once
// The intro's looping sound: one of TARN's eight clips, synthesised here, or
// a wave file of the user's. Without an audio device it stays silent.
#include <QObject>
#include <QString>
#include <memory>

class QSoundEffect;
class QTemporaryDir;

namespace tarn {

inline constexpr int kIntroClipCount = 8;

class IntroSound : public QObject {
public:
    explicit IntroSound(QObject* parent = nullptr);
    ~IntroSound() override;

    // Plays clip 0..7 asynchronously and looping.
    void playClip(int clip);
    // Plays a wave file looping; false when it cannot be read.
    bool playFile(const QString& path);
    void stop();
    bool playing() const;
    // The source last played (for tests): the clip's file or the user's file.
    QString source() const { return source_; }

    // The names of the eight clips, as the Preferences list shows them.
    static QString clipName(int clip);
    // The 16-bit mono wave data of clip `clip`, header included.
    static QByteArray clipWave(int clip);

private:
    void play(const QString& path);
    std::unique_ptr<QTemporaryDir> clips_;
    QSoundEffect* effect_ = nullptr;
    QString source_;
};

}  // namespace tarn
