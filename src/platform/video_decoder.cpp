// The video reader on libavformat, libavcodec, libswscale and libswresample.
// The libraries are loaded when the first clip is opened, not when the
// program starts: together they pull in more than a hundred libraries, which
// a run without the intro would load and relocate for nothing. Without them
// no clip opens (the intro is skipped).
// One thread does everything: packets are read from the file as the
// pictures or the sound need them, and the packets of the other stream wait
// in a queue until they are asked for. Damaged input ends the clip early; it
// never stops the caller.
#include "platform/video_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
#include <libavcodec/version.h>
#include <libavformat/version.h>
#include <libavutil/version.h>
#include <libswresample/version.h>
#include <libswscale/version.h>
}
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>

namespace {

#define DENKAR_FFMPEG_FUNCTIONS(X) \
  X(avutil, av_log_set_level) \
  X(avutil, av_dict_set) \
  X(avutil, av_dict_free) \
  X(avutil, av_frame_alloc) \
  X(avutil, av_frame_free) \
  X(avutil, av_frame_unref) \
  X(avutil, av_channel_layout_copy) \
  X(avutil, av_channel_layout_default) \
  X(avutil, av_channel_layout_uninit) \
  X(avcodec, av_packet_alloc) \
  X(avcodec, av_packet_free) \
  X(avcodec, av_packet_unref) \
  X(avcodec, av_packet_move_ref) \
  X(avcodec, avcodec_alloc_context3) \
  X(avcodec, avcodec_free_context) \
  X(avcodec, avcodec_open2) \
  X(avcodec, avcodec_parameters_to_context) \
  X(avcodec, avcodec_receive_frame) \
  X(avcodec, avcodec_send_packet) \
  X(avformat, avformat_open_input) \
  X(avformat, avformat_close_input) \
  X(avformat, avformat_find_stream_info) \
  X(avformat, av_find_best_stream) \
  X(avformat, av_read_frame) \
  X(avformat, av_guess_frame_rate) \
  X(swscale, sws_getCachedContext) \
  X(swscale, sws_scale) \
  X(swscale, sws_freeContext) \
  X(swresample, swr_alloc_set_opts2) \
  X(swresample, swr_init) \
  X(swresample, swr_free) \
  X(swresample, swr_get_out_samples) \
  X(swresample, swr_convert)

// The functions this reader uses, taken from the libraries loaded at run time.
struct FFmpegFunctions {
#define DENKAR_FFMPEG_POINTER(lib, name) decltype(&::name) name = nullptr;
  DENKAR_FFMPEG_FUNCTIONS(DENKAR_FFMPEG_POINTER)
#undef DENKAR_FFMPEG_POINTER
};

const FFmpegFunctions* ff = nullptr;

#define DENKAR_SONAME(lib, major) "lib" #lib ".so." DENKAR_STRINGIFY(major)
#define DENKAR_STRINGIFY(x) DENKAR_STRINGIFY2(x)
#define DENKAR_STRINGIFY2(x) #x

// Loads the libraries of the versions this reader was built against, once;
// false when any of them or any function is missing.
bool LoadFFmpeg() {
  static const FFmpegFunctions* loaded = [] () -> const FFmpegFunctions* {
    struct Library {
      const char* name;
      void* handle;
    };
    Library avutil{DENKAR_SONAME(avutil, LIBAVUTIL_VERSION_MAJOR), nullptr};
    Library swresample{DENKAR_SONAME(swresample, LIBSWRESAMPLE_VERSION_MAJOR), nullptr};
    Library swscale{DENKAR_SONAME(swscale, LIBSWSCALE_VERSION_MAJOR), nullptr};
    Library avcodec{DENKAR_SONAME(avcodec, LIBAVCODEC_VERSION_MAJOR), nullptr};
    Library avformat{DENKAR_SONAME(avformat, LIBAVFORMAT_VERSION_MAJOR), nullptr};
    for (Library* library : {&avutil, &swresample, &swscale, &avcodec, &avformat}) {
      library->handle = dlopen(library->name, RTLD_NOW | RTLD_LOCAL);
      if (!library->handle) return nullptr;  // the libraries stay loaded: dlclose gains nothing
    }
    static FFmpegFunctions functions;
#define DENKAR_FFMPEG_RESOLVE(lib, name) \
  functions.name = reinterpret_cast<decltype(functions.name)>(dlsym(lib.handle, #name)); \
  if (!functions.name) return nullptr;
    DENKAR_FFMPEG_FUNCTIONS(DENKAR_FFMPEG_RESOLVE)
#undef DENKAR_FFMPEG_RESOLVE
    return &functions;
  }();
  ff = loaded;
  return ff != nullptr;
}


constexpr int kMaxSide = 8192;                         // larger pictures are refused
constexpr size_t kMaxQueuedBytes = size_t{64} << 20;   // packets read ahead of their decoder
constexpr int kMaxErrorsInARow = 8;                    // a stream that keeps failing ends
constexpr double kLongestDuration = 24 * 3600.0;       // what a file may claim to last
constexpr double kLongestSilence = 10.0;               // gap in the sound filled with silence

// Packets of one stream waiting for their decoder.
class PacketQueue {
 public:
  ~PacketQueue() { Clear(); }
  bool Empty() const { return packets_.empty(); }
  size_t Bytes() const { return bytes_; }
  void Push(AVPacket* p) {
    bytes_ += static_cast<size_t>(std::max(p->size, 0));
    packets_.push_back(p);
  }
  AVPacket* Pop() {
    AVPacket* p = packets_.front();
    packets_.pop_front();
    bytes_ -= std::min(bytes_, static_cast<size_t>(std::max(p->size, 0)));
    return p;
  }
  void Clear() {
    for (AVPacket* p : packets_) ff->av_packet_free(&p);
    packets_.clear();
    bytes_ = 0;
  }

 private:
  std::deque<AVPacket*> packets_;
  size_t bytes_ = 0;
};

AVCodecContext* OpenDecoder(AVStream* stream, const AVCodec* codec) {
  AVCodecContext* context = ff->avcodec_alloc_context3(codec);
  if (!context) return nullptr;
  context->thread_count = 1;  // the same pictures on every machine, and no threads to start
  if (ff->avcodec_parameters_to_context(context, stream->codecpar) < 0) {
    ff->avcodec_free_context(&context);
    return nullptr;
  }
  context->pkt_timebase = stream->time_base;
  if (ff->avcodec_open2(context, codec, nullptr) < 0) ff->avcodec_free_context(&context);
  return context;
}

double Seconds(int64_t value, AVRational base) { return static_cast<double>(value) * av_q2d(base); }

}  // namespace

struct VideoDecoder::Impl {
  AVFormatContext* format = nullptr;
  AVCodecContext* video = nullptr;
  AVCodecContext* sound = nullptr;
  int videoIndex = -1, soundIndex = -1;
  AVRational videoBase{1, 25}, soundBase{1, 44100};
  SwsContext* scaler = nullptr;
  SwrContext* resampler = nullptr;
  int resamplerFormat = -1, resamplerRate = 0, resamplerChannels = 0;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  PacketQueue videoQueue, soundQueue;

  bool readEnded = false;
  bool videoFlushed = false, videoEnded = false, failed = false;
  bool soundFlushed = false, soundEnded = true;
  int videoErrors = 0, soundErrors = 0;

  double origin = 0;  // the file's start time: every time is taken from it
  double duration = 0;
  double interval = 1.0 / 25;
  double lastPictureTime = -1;

  int rate = 0, channels = 0;
  std::vector<int16_t> pending;  // decoded sound not yet taken
  int64_t soundFrames = 0;       // sample frames on the time line so far

  ~Impl() {
    videoQueue.Clear();
    soundQueue.Clear();
    ff->sws_freeContext(scaler);
    ff->swr_free(&resampler);
    ff->av_frame_free(&frame);
    ff->av_packet_free(&packet);
    ff->avcodec_free_context(&video);
    ff->avcodec_free_context(&sound);
    ff->avformat_close_input(&format);
  }

  // One packet from the file into the queue of its stream; false once the
  // file has nothing more (its end, a read error, or too much read ahead).
  bool ReadPacket() {
    if (readEnded) return false;
    if (videoQueue.Bytes() + soundQueue.Bytes() > kMaxQueuedBytes || ff->av_read_frame(format, packet) < 0) {
      readEnded = true;
      return false;
    }
    PacketQueue* queue = packet->stream_index == videoIndex ? &videoQueue
                         : (sound && packet->stream_index == soundIndex) ? &soundQueue
                                                                         : nullptr;
    if (!queue) {
      ff->av_packet_unref(packet);
      return true;
    }
    AVPacket* kept = ff->av_packet_alloc();
    if (!kept) {
      ff->av_packet_unref(packet);
      readEnded = true;
      return false;
    }
    ff->av_packet_move_ref(kept, packet);
    queue->Push(kept);
    return true;
  }

  // Gives the decoder its next input: a queued packet, a packet read now, or
  // the end-of-stream signal. False when there is nothing left to give.
  bool Feed(AVCodecContext* decoder, PacketQueue& queue, bool& flushed, int& errors) {
    while (queue.Empty() && !readEnded) ReadPacket();
    if (!queue.Empty()) {
      AVPacket* p = queue.Pop();
      const int result = ff->avcodec_send_packet(decoder, p);
      ff->av_packet_free(&p);
      // A damaged packet is dropped; a stream that keeps failing ends.
      if (result < 0) ++errors;
      return errors < kMaxErrorsInARow;
    }
    if (flushed) return false;
    flushed = true;
    ff->avcodec_send_packet(decoder, nullptr);
    return true;
  }

  bool ConvertPicture(int width, int height, VideoPicture* picture) {
    const int w = frame->width, h = frame->height;
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || frame->format < 0) return false;
    scaler = ff->sws_getCachedContext(scaler, w, h, static_cast<AVPixelFormat>(frame->format), width,
                                  height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!scaler) return false;
    picture->width = width;
    picture->height = height;
    picture->texels.assign(static_cast<size_t>(width) * height, 0);
    uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(picture->texels.data()), nullptr, nullptr, nullptr};
    int strides[4] = {width * 4, 0, 0, 0};
    if (ff->sws_scale(scaler, frame->data, frame->linesize, 0, h, planes, strides) <= 0) return false;
    // BGRA bytes are A8R8G8B8 words; the picture is opaque whatever the source says.
    for (uint32_t& texel : picture->texels) texel |= 0xFF000000u;

    double time = lastPictureTime < 0 ? 0.0 : lastPictureTime + interval;
    if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
      time = Seconds(frame->best_effort_timestamp, videoBase) - origin;
    if (!std::isfinite(time)) time = 0;
    // Display order never runs backwards.
    time = std::clamp(time, std::max(lastPictureTime, 0.0), kLongestDuration);
    picture->time = lastPictureTime = time;
    return true;
  }

  void BuildResampler() {
    ff->swr_free(&resampler);
    AVChannelLayout in{};
    if (frame->ch_layout.order != AV_CHANNEL_ORDER_UNSPEC && frame->ch_layout.nb_channels > 0)
      ff->av_channel_layout_copy(&in, &frame->ch_layout);
    else
      ff->av_channel_layout_default(&in, std::max(frame->ch_layout.nb_channels, 1));
    AVChannelLayout out{};
    ff->av_channel_layout_default(&out, channels);
    if (ff->swr_alloc_set_opts2(&resampler, &out, AV_SAMPLE_FMT_S16, rate, &in,
                            static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0,
                            nullptr) < 0 ||
        ff->swr_init(resampler) < 0)
      ff->swr_free(&resampler);
    ff->av_channel_layout_uninit(&in);
    ff->av_channel_layout_uninit(&out);
    resamplerFormat = frame->format;
    resamplerRate = frame->sample_rate;
    resamplerChannels = frame->ch_layout.nb_channels;
  }

  void AppendSamples(const uint8_t** input, int inputCount) {
    const int room = ff->swr_get_out_samples(resampler, inputCount);
    if (room <= 0) return;
    const size_t old = pending.size();
    pending.resize(old + static_cast<size_t>(room) * channels);
    uint8_t* out = reinterpret_cast<uint8_t*>(pending.data() + old);
    const int got = ff->swr_convert(resampler, &out, room, input, inputCount);
    pending.resize(old + static_cast<size_t>(std::max(got, 0)) * channels);
    soundFrames += std::max(got, 0);
  }

  void AppendSound() {
    if (frame->sample_rate < 1000 || frame->sample_rate > 768000 || frame->nb_samples <= 0 ||
        frame->ch_layout.nb_channels > 64)
      return;
    if (!resampler || frame->format != resamplerFormat || frame->sample_rate != resamplerRate ||
        frame->ch_layout.nb_channels != resamplerChannels)
      BuildResampler();
    if (!resampler) return;
    // Sound that starts later than the sound before it ends is preceded by
    // silence, so it stays with its pictures.
    if (frame->best_effort_timestamp != AV_NOPTS_VALUE) {
      const double start = Seconds(frame->best_effort_timestamp, soundBase) - origin;
      const double gap = start - static_cast<double>(soundFrames) / rate;
      if (std::isfinite(gap) && gap > 0.1) {
        const auto silent = static_cast<int64_t>(std::min(gap, kLongestSilence) * rate);
        pending.resize(pending.size() + static_cast<size_t>(silent) * channels, 0);
        soundFrames += silent;
      }
    }
    AppendSamples(const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
  }
};

VideoDecoder::VideoDecoder() : impl_(std::make_unique<Impl>()) {}
VideoDecoder::~VideoDecoder() = default;

std::unique_ptr<VideoDecoder> VideoDecoder::Open(const std::string& path, int soundRate,
                                                 int soundChannels) {
  if (path.empty()) return nullptr;
  // No file, no libraries: a start without the intro clip loads nothing.
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    std::fclose(file);
  } else {
    return nullptr;
  }
  if (!LoadFFmpeg()) return nullptr;
  ff->av_log_set_level(AV_LOG_QUIET);  // a damaged file ends the clip without a word
  std::unique_ptr<VideoDecoder> decoder(new VideoDecoder());
  Impl& d = *decoder->impl_;
  // Only the local file itself: a playlist or reference file named like a
  // clip must not make the reader fetch anything from a network.
  AVDictionary* options = nullptr;
  ff->av_dict_set(&options, "protocol_whitelist", "file", 0);
  const int opened = ff->avformat_open_input(&d.format, path.c_str(), nullptr, &options);
  ff->av_dict_free(&options);
  if (opened < 0) return nullptr;
  if (ff->avformat_find_stream_info(d.format, nullptr) < 0) return nullptr;

  const AVCodec* videoCodec = nullptr;
  d.videoIndex = ff->av_find_best_stream(d.format, AVMEDIA_TYPE_VIDEO, -1, -1, &videoCodec, 0);
  if (d.videoIndex < 0 || !videoCodec) return nullptr;
  AVStream* videoStream = d.format->streams[d.videoIndex];
  if (videoStream->disposition & AV_DISPOSITION_ATTACHED_PIC) return nullptr;  // a cover picture
  const AVCodecParameters* par = videoStream->codecpar;
  if (par->width <= 0 || par->height <= 0 || par->width > kMaxSide || par->height > kMaxSide)
    return nullptr;
  d.video = OpenDecoder(videoStream, videoCodec);
  if (!d.video) return nullptr;
  d.videoBase = videoStream->time_base;

  if (soundRate >= 1000 && soundRate <= 384000 && (soundChannels == 1 || soundChannels == 2)) {
    const AVCodec* soundCodec = nullptr;
    d.soundIndex =
        ff->av_find_best_stream(d.format, AVMEDIA_TYPE_AUDIO, -1, d.videoIndex, &soundCodec, 0);
    if (d.soundIndex >= 0 && soundCodec) {
      d.sound = OpenDecoder(d.format->streams[d.soundIndex], soundCodec);
      d.soundBase = d.format->streams[d.soundIndex]->time_base;
      d.rate = soundRate;
      d.channels = soundChannels;
      d.soundEnded = d.sound == nullptr;
    }
  }
  for (unsigned i = 0; i < d.format->nb_streams; ++i)
    if (static_cast<int>(i) != d.videoIndex && !(d.sound && static_cast<int>(i) == d.soundIndex))
      d.format->streams[i]->discard = AVDISCARD_ALL;

  d.frame = ff->av_frame_alloc();
  d.packet = ff->av_packet_alloc();
  if (!d.frame || !d.packet) return nullptr;

  if (d.format->start_time != AV_NOPTS_VALUE) d.origin = Seconds(d.format->start_time, AV_TIME_BASE_Q);
  if (!std::isfinite(d.origin)) d.origin = 0;
  double duration = 0;
  if (d.format->duration > 0) duration = Seconds(d.format->duration, AV_TIME_BASE_Q);
  else if (videoStream->duration > 0) duration = Seconds(videoStream->duration, d.videoBase);
  if (std::isfinite(duration) && duration > 0 && duration < kLongestDuration) d.duration = duration;
  const AVRational rate = ff->av_guess_frame_rate(d.format, videoStream, nullptr);
  if (rate.num > 0 && rate.den > 0) {
    const double fps = av_q2d(rate);
    if (fps >= 1 && fps <= 240) d.interval = 1.0 / fps;
  }
  return decoder;
}

int VideoDecoder::Width() const { return impl_->video->width; }
int VideoDecoder::Height() const { return impl_->video->height; }
double VideoDecoder::Duration() const { return impl_->duration; }
double VideoDecoder::FrameInterval() const { return impl_->interval; }
bool VideoDecoder::HasSound() const { return impl_->sound != nullptr; }
bool VideoDecoder::Failed() const { return impl_->failed; }
bool VideoDecoder::SoundEnded() const { return impl_->soundEnded; }

double VideoDecoder::SoundDecodedSeconds() const {
  return impl_->rate > 0 ? static_cast<double>(impl_->soundFrames) / impl_->rate : 0.0;
}

bool VideoDecoder::NextPicture(int width, int height, VideoPicture* picture) {
  Impl& d = *impl_;
  if (d.videoEnded || !picture) return false;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
  for (;;) {
    const int result = ff->avcodec_receive_frame(d.video, d.frame);
    if (result == 0) {
      const bool converted = d.ConvertPicture(width, height, picture);
      ff->av_frame_unref(d.frame);
      if (converted) {
        d.videoErrors = 0;
        return true;
      }
      if (++d.videoErrors < kMaxErrorsInARow) continue;
    } else if (result == AVERROR(EAGAIN)) {
      if (d.Feed(d.video, d.videoQueue, d.videoFlushed, d.videoErrors)) continue;
      if (d.videoErrors < kMaxErrorsInARow) {
        d.videoEnded = true;  // every packet was given and every picture taken
        return false;
      }
    } else if (result == AVERROR_EOF) {
      d.videoEnded = true;
      return false;
    } else if (++d.videoErrors < kMaxErrorsInARow) {
      continue;
    }
    d.videoEnded = true;
    d.failed = true;
    return false;
  }
}

void VideoDecoder::DecodeSoundUntil(double seconds) {
  Impl& d = *impl_;
  while (!d.soundEnded && SoundDecodedSeconds() < seconds) {
    const int result = ff->avcodec_receive_frame(d.sound, d.frame);
    if (result == 0) {
      d.AppendSound();
      ff->av_frame_unref(d.frame);
      d.soundErrors = 0;
      continue;
    }
    if (result == AVERROR(EAGAIN) && d.Feed(d.sound, d.soundQueue, d.soundFlushed, d.soundErrors))
      continue;
    if (result != AVERROR(EAGAIN) && result != AVERROR_EOF && ++d.soundErrors < kMaxErrorsInARow)
      continue;
    // The end of the sound: what the resampler still holds comes out too.
    if (d.resampler) d.AppendSamples(nullptr, 0);
    d.soundEnded = true;
  }
}

void VideoDecoder::TakeSound(std::vector<int16_t>* out) {
  if (!out) return;
  out->insert(out->end(), impl_->pending.begin(), impl_->pending.end());
  impl_->pending.clear();
}
