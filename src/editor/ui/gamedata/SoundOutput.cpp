#include "editor/ui/gamedata/SoundOutput.h"

#include "graphics/SoundFiles.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include <functional>

namespace tsl {

namespace {

class SystemSoundOutput : public SoundOutput {
public:
    std::optional<Failure> Play(std::span<const std::uint8_t> samples) override
    {
        return Start([&](const QAudioFormat& format) {
            return PlaybackSamples(samples, format.sampleRate(), format.channelCount());
        });
    }

    std::optional<Failure> PlayRendered(std::span<const std::int16_t> samples, int rate) override
    {
        return Start([&](const QAudioFormat& format) {
            return PlaybackSamples16(samples, rate, format.sampleRate(), format.channelCount());
        });
    }

    std::optional<Failure> Start(const std::function<std::vector<std::int16_t>(const QAudioFormat&)>& framesFor)
    {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return Failure{kNoAudioDeviceText, kPlaySoundCaption, MessageIcon::Warning};
        // Signed 16-bit at the device's own rate and channels: what every
        // device takes, where 7042 Hz and 8 bits are seldom offered.
        QAudioFormat format = device.preferredFormat();
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format))
            return Failure{"The audio output \"" + device.description().toStdString() +
                               "\" takes no 16-bit samples, so the sound cannot be played.",
                           kPlaySoundCaption, MessageIcon::Warning};
        const std::vector<std::int16_t> frames = framesFor(format);
        Stop();
        buffer_.setData(QByteArray(reinterpret_cast<const char*>(frames.data()),
                                   static_cast<qsizetype>(frames.size() * sizeof(std::int16_t))));
        buffer_.open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->start(&buffer_);
        if (sink_->error() == QAudio::OpenError || sink_->error() == QAudio::FatalError) {
            Stop();
            return Failure{"The audio output \"" + device.description().toStdString() +
                               "\" could not be opened, so the sound cannot be played.",
                           kPlaySoundCaption, MessageIcon::Warning};
        }
        return std::nullopt;
    }

    void Stop() override
    {
        if (sink_)
            sink_->stop();
        sink_.reset();
        buffer_.close();
    }

    ~SystemSoundOutput() override { Stop(); }

private:
    QBuffer buffer_;
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace

std::unique_ptr<SoundOutput> MakeSystemSoundOutput()
{
    return std::make_unique<SystemSoundOutput>();
}

} // namespace tsl
