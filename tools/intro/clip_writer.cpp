#include "clip_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>

namespace clip {

namespace {

// Everything one writing needs, released in one place.
struct Writer {
  AVFormatContext* format = nullptr;
  AVCodecContext* video = nullptr;
  AVCodecContext* sound = nullptr;
  AVStream* videoStream = nullptr;
  AVStream* soundStream = nullptr;
  SwsContext* converter = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  bool fileOpen = false;

  ~Writer() {
    sws_freeContext(converter);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&video);
    avcodec_free_context(&sound);
    if (format) {
      if (fileOpen) avio_closep(&format->pb);
      avformat_free_context(format);
    }
  }

  // Sends one frame (null: the end) and writes every packet that comes out.
  bool Encode(AVCodecContext* codec, AVStream* stream, AVFrame* input) {
    if (avcodec_send_frame(codec, input) < 0) return false;
    for (;;) {
      const int result = avcodec_receive_packet(codec, packet);
      if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
      if (result < 0) return false;
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      if (av_interleaved_write_frame(format, packet) < 0) return false;
    }
  }
};

bool Fail(std::string* error, const char* what) {
  if (error) *error = what;
  return false;
}

}  // namespace

bool WriteClip(const std::string& path, const ClipSettings& settings, const DrawPicture& draw,
               std::string* error) {
  av_log_set_level(AV_LOG_ERROR);
  if (settings.width <= 0 || settings.height <= 0 || settings.width % 2 || settings.height % 2 || settings.frames <= 0 ||
      settings.framesPerSecond <= 0)
    return Fail(error, "bad clip size");
  Writer w;
  if (avformat_alloc_output_context2(&w.format, nullptr, "avi", path.c_str()) < 0 || !w.format)
    return Fail(error, "no AVI muxer");
  w.format->flags |= AVFMT_FLAG_BITEXACT;  // no encoder names or dates in the file

  const AVCodec* videoCodec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  if (!videoCodec) return Fail(error, "no MPEG-4 encoder");
  w.video = avcodec_alloc_context3(videoCodec);
  w.videoStream = avformat_new_stream(w.format, nullptr);
  if (!w.video || !w.videoStream) return Fail(error, "out of memory");
  w.video->width = settings.width;
  w.video->height = settings.height;
  w.video->time_base = AVRational{1, settings.framesPerSecond};
  w.video->framerate = AVRational{settings.framesPerSecond, 1};
  w.video->pix_fmt = AV_PIX_FMT_YUV420P;
  w.video->gop_size = std::max(1, settings.keyFrameInterval);
  w.video->max_b_frames = 0;
  w.video->thread_count = 1;
  w.video->flags |= AV_CODEC_FLAG_BITEXACT | AV_CODEC_FLAG_QSCALE;
  w.video->global_quality = FF_QP2LAMBDA * std::clamp(settings.quality, 2, 31);
  if (w.format->oformat->flags & AVFMT_GLOBALHEADER) w.video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (avcodec_open2(w.video, videoCodec, nullptr) < 0) return Fail(error, "cannot open the MPEG-4 encoder");
  avcodec_parameters_from_context(w.videoStream->codecpar, w.video);
  w.videoStream->time_base = w.video->time_base;

  const bool withSound = settings.sampleRate > 0;
  if (withSound) {
    const AVCodec* soundCodec = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (!soundCodec) return Fail(error, "no PCM encoder");
    w.sound = avcodec_alloc_context3(soundCodec);
    w.soundStream = avformat_new_stream(w.format, nullptr);
    if (!w.sound || !w.soundStream) return Fail(error, "out of memory");
    w.sound->sample_fmt = AV_SAMPLE_FMT_S16;
    w.sound->sample_rate = settings.sampleRate;
    av_channel_layout_default(&w.sound->ch_layout, 1);
    w.sound->time_base = AVRational{1, settings.sampleRate};
    w.sound->flags |= AV_CODEC_FLAG_BITEXACT;
    if (avcodec_open2(w.sound, soundCodec, nullptr) < 0) return Fail(error, "cannot open the PCM encoder");
    avcodec_parameters_from_context(w.soundStream->codecpar, w.sound);
    w.soundStream->time_base = w.sound->time_base;
  }

  if (avio_open(&w.format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return Fail(error, "cannot create the file");
  w.fileOpen = true;
  if (avformat_write_header(w.format, nullptr) < 0) return Fail(error, "cannot write the header");

  w.frame = av_frame_alloc();
  w.packet = av_packet_alloc();
  if (!w.frame || !w.packet) return Fail(error, "out of memory");
  w.converter = sws_getContext(settings.width, settings.height, AV_PIX_FMT_BGRA, settings.width, settings.height,
                               AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND | SWS_BITEXACT,
                               nullptr, nullptr, nullptr);
  if (!w.converter) return Fail(error, "no colour conversion");

  const int stride = settings.width * 4;
  std::vector<uint8_t> pixels(static_cast<size_t>(stride) * settings.height);
  // The sound goes in pieces of one picture's length, right after its picture.
  const size_t perPicture = withSound ? static_cast<size_t>(settings.sampleRate / settings.framesPerSecond) : 0;
  const size_t soundLength =
      withSound ? std::max(settings.sound.size(), perPicture * static_cast<size_t>(settings.frames)) : 0;
  size_t soundDone = 0;
  for (int i = 0; i < settings.frames; ++i) {
    std::fill(pixels.begin(), pixels.end(), 0);
    draw(i, pixels.data(), stride);
    av_frame_unref(w.frame);
    w.frame->format = AV_PIX_FMT_YUV420P;
    w.frame->width = settings.width;
    w.frame->height = settings.height;
    if (av_frame_get_buffer(w.frame, 0) < 0) return Fail(error, "out of memory");
    const uint8_t* source[4] = {pixels.data(), nullptr, nullptr, nullptr};
    const int sourceStride[4] = {stride, 0, 0, 0};
    sws_scale(w.converter, source, sourceStride, 0, settings.height, w.frame->data, w.frame->linesize);
    w.frame->pts = i;
    w.frame->quality = w.video->global_quality;  // a fixed quantiser is asked for per picture
    if (!w.Encode(w.video, w.videoStream, w.frame)) return Fail(error, "cannot encode a picture");

    // The last picture takes what is left of the sound.
    const size_t count = i + 1 == settings.frames ? soundLength - soundDone : perPicture;
    if (withSound && count > 0) {
      av_frame_unref(w.frame);
      w.frame->format = AV_SAMPLE_FMT_S16;
      w.frame->sample_rate = settings.sampleRate;
      av_channel_layout_default(&w.frame->ch_layout, 1);
      w.frame->nb_samples = static_cast<int>(count);
      if (av_frame_get_buffer(w.frame, 0) < 0) return Fail(error, "out of memory");
      auto* out = reinterpret_cast<int16_t*>(w.frame->data[0]);
      for (size_t k = 0; k < count; ++k) {
        const size_t at = soundDone + k;
        out[k] = at < settings.sound.size() ? settings.sound[at] : 0;
      }
      w.frame->pts = static_cast<int64_t>(soundDone);
      soundDone += count;
      if (!w.Encode(w.sound, w.soundStream, w.frame)) return Fail(error, "cannot encode the sound");
    }
  }
  if (!w.Encode(w.video, w.videoStream, nullptr)) return Fail(error, "cannot finish the pictures");
  if (withSound && !w.Encode(w.sound, w.soundStream, nullptr)) return Fail(error, "cannot finish the sound");
  if (av_write_trailer(w.format) < 0) return Fail(error, "cannot finish the file");
  return true;
}

}  // namespace clip
