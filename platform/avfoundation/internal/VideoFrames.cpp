#include "platform/avfoundation/internal/VideoFrames.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/avfoundation/AVAsset.h"
#include "platform/imageio/ImageIO.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

namespace ios::av_internal {
namespace {

struct FormatCloser {
  void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecFreer {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFreer {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScalerFreer {
  void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct DictionaryFreer {
  void operator()(AVDictionary* d) const { av_dict_free(&d); }
};

// The demuxers of the audiovisual containers that AVAsset.h lists; a demuxer is
// accepted when one of its names is here.
constexpr const char* kContainerDemuxers = "mov,mp4,matroska,webm,avi,mpegts,mpeg,flv,asf,ogg,mxf,yuv4mpegpipe";

[[noreturn]] void fail(std::int64_t code, const std::string& reason) { throw AVFoundationError(code, reason); }

double toSeconds(std::int64_t ts, AVRational base) { return static_cast<double>(ts) * av_q2d(base); }

bool fitsInTicks(double ticks) { return ticks >= -9223372036854775808.0 && ticks < 9223372036854775808.0; }

// Whether `width` × `height` (either 0 when unknown) stays within the image pixel limit.
bool withinPixelLimit(int width, int height) {
  return width >= 0 && height >= 0 &&
         static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <= kMaximumImagePixelCount;
}

// Opens `path` with the container demuxers only and the file protocol only, so that
// neither a still picture nor a playlist or script naming other files or URLs is read.
std::unique_ptr<AVFormatContext, FormatCloser> openContainer(const std::string& path) {
  AVDictionary* rawOptions = nullptr;
  av_dict_set(&rawOptions, "format_whitelist", kContainerDemuxers, 0);
  av_dict_set(&rawOptions, "protocol_whitelist", "file", 0);
  AVFormatContext* raw = nullptr;
  const int opened = avformat_open_input(&raw, path.c_str(), nullptr, &rawOptions);
  std::unique_ptr<AVDictionary, DictionaryFreer> options(rawOptions);
  if (opened < 0) fail(AVErrorFileFormatNotRecognized, "not an audiovisual media file: " + path);
  return std::unique_ptr<AVFormatContext, FormatCloser>(raw);
}

// The first stream that holds moving pictures (a cover picture is no video) and has a
// decoder, or -1.
int videoStream(const AVFormatContext& format, const AVCodec*& codec) {
  for (unsigned i = 0; i < format.nb_streams; ++i) {
    const AVStream& stream = *format.streams[i];
    if (stream.codecpar->codec_type != AVMEDIA_TYPE_VIDEO || (stream.disposition & AV_DISPOSITION_ATTACHED_PIC)) {
      continue;
    }
    codec = avcodec_find_decoder(stream.codecpar->codec_id);
    if (codec) return static_cast<int>(i);
  }
  return -1;
}

Frame convert(const AVFrame& decoded, double seconds) {
  if (decoded.width <= 0 || decoded.height <= 0 || !withinPixelLimit(decoded.width, decoded.height)) {
    fail(AVErrorDecodeFailed, "frame size out of range");
  }
  std::unique_ptr<SwsContext, ScalerFreer> scaler(
      sws_getContext(decoded.width, decoded.height, static_cast<AVPixelFormat>(decoded.format), decoded.width,
                     decoded.height, AV_PIX_FMT_RGB0, SWS_BILINEAR, nullptr, nullptr, nullptr));
  if (!scaler) fail(AVErrorDecodeFailed, "unsupported pixel format");
  Frame frame;
  frame.width = static_cast<std::size_t>(decoded.width);
  frame.height = static_cast<std::size_t>(decoded.height);
  frame.seconds = seconds;
  // The converter writes whole blocks of pixels, past the end of narrow rows: it gets
  // rows padded to 64 bytes and a spare row, as in FFmpeg's own frames, and the rows are
  // then moved together in place.
  const std::size_t row = frame.width * 4, stride = (row + 63) / 64 * 64;
  frame.rgbx.resize(stride * (frame.height + 1));
  std::uint8_t* planes[4] = {frame.rgbx.data(), nullptr, nullptr, nullptr};
  const int strides[4] = {static_cast<int>(stride), 0, 0, 0};
  if (sws_scale(scaler.get(), decoded.data, decoded.linesize, 0, decoded.height, planes, strides) != decoded.height) {
    fail(AVErrorDecodeFailed, "the frame cannot be converted");
  }
  for (std::size_t y = 1; y < frame.height; ++y) {
    std::memmove(frame.rgbx.data() + y * row, frame.rgbx.data() + y * stride, row);
  }
  frame.rgbx.resize(row * frame.height);
  return frame;
}

}  // namespace

Frame frameAt(const std::string& path, double seconds) {
  // Failures reach the caller as AVFoundationError; FFmpeg's own messages would only
  // repeat them on standard error.
  // (Some decoders print above their stated level, so nothing is printed at all.)
  static std::once_flag quiet;
  std::call_once(quiet, [] { av_log_set_callback([](void*, int, const char*, va_list) {}); });
  const auto format = openContainer(path);
  if (avformat_find_stream_info(format.get(), nullptr) < 0) fail(AVErrorFileFormatNotRecognized, "not media");
  const AVCodec* codec = nullptr;
  const int index = videoStream(*format, codec);
  if (index < 0) fail(AVErrorNoVideo, "no video stream");
  AVStream* stream = format->streams[index];
  const AVRational base = stream->time_base;
  if (base.num <= 0 || base.den <= 0) fail(AVErrorDecodeFailed, "the video has no time base");

  double duration = -1;
  if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
    duration = toSeconds(stream->duration, base);
  } else if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
    duration = static_cast<double>(format->duration) / AV_TIME_BASE;
  }
  if (!(seconds >= 0) || (duration >= 0 && seconds >= duration)) fail(AVErrorTimeOutOfRange, "time outside the video");

  const double start = stream->start_time != AV_NOPTS_VALUE ? toSeconds(stream->start_time, base) : 0;
  // A time that the stream's clock cannot count to lies past any frame it can hold.
  const double targetTicks = (seconds + start) / av_q2d(base);
  if (!fitsInTicks(targetTicks)) fail(AVErrorTimeOutOfRange, "time outside the video");
  const auto target = static_cast<std::int64_t>(targetTicks);

  if (!withinPixelLimit(stream->codecpar->width, stream->codecpar->height)) {
    fail(AVErrorDecodeFailed, "frame size out of range");
  }
  std::unique_ptr<AVCodecContext, CodecFreer> decoder(avcodec_alloc_context3(codec));
  if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0) {
    fail(AVErrorDecodeFailed, "cannot open the decoder");
  }
  // The decoder refuses larger frames itself, before allocating them.
  decoder->max_pixels = static_cast<std::int64_t>(kMaximumImagePixelCount);
  if (avcodec_open2(decoder.get(), codec, nullptr) < 0) fail(AVErrorDecodeFailed, "cannot open the decoder");

  av_seek_frame(format.get(), index, target, AVSEEK_FLAG_BACKWARD);  // failing leaves the start
  avcodec_flush_buffers(decoder.get());

  std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
  std::unique_ptr<AVFrame, FrameFreer> current(av_frame_alloc());
  std::unique_ptr<AVFrame, FrameFreer> last(av_frame_alloc());
  if (!packet || !current || !last) fail(AVErrorDecodeFailed, "out of memory");
  bool haveLast = false;
  double lastSeconds = 0;

  // Decodes until a frame at or after the target shows; keeps the latest frame before it.
  // A frame stamped before the stream's start (a damaged file) shows from the start.
  const auto drain = [&]() -> bool {
    while (avcodec_receive_frame(decoder.get(), current.get()) == 0) {
      const std::int64_t pts = current->best_effort_timestamp;
      const double at = pts == AV_NOPTS_VALUE ? lastSeconds : std::max(0.0, toSeconds(pts, base) - start);
      if (pts != AV_NOPTS_VALUE && pts >= target) {
        if (!haveLast || pts == target) {
          av_frame_unref(last.get());
          av_frame_move_ref(last.get(), current.get());
          lastSeconds = at;
          haveLast = true;
        }
        return true;
      }
      av_frame_unref(last.get());
      av_frame_move_ref(last.get(), current.get());
      lastSeconds = at;
      haveLast = true;
    }
    return false;
  };

  bool done = false;
  while (!done && av_read_frame(format.get(), packet.get()) >= 0) {
    if (packet->stream_index == index && avcodec_send_packet(decoder.get(), packet.get()) >= 0) done = drain();
    av_packet_unref(packet.get());
  }
  if (!done) {
    avcodec_send_packet(decoder.get(), nullptr);
    drain();
  }
  if (!haveLast) fail(AVErrorDecodeFailed, "no frame decoded");
  return convert(*last, lastSeconds);
}

}  // namespace ios::av_internal
