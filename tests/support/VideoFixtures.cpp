#include "tests/support/VideoFixtures.h"

#include <memory>
#include <stdexcept>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace kp_test {
namespace {

void check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("video fixture: ") + what);
}

// Sends `frame` (null: flush) and writes every packet the encoder gives back.
void encode(AVCodecContext* encoder, AVFrame* frame, AVFormatContext* output, AVStream* stream) {
  check(avcodec_send_frame(encoder, frame) >= 0, "send frame");
  std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(av_packet_alloc(), [](AVPacket* p) { av_packet_free(&p); });
  while (avcodec_receive_packet(encoder, packet.get()) == 0) {
    av_packet_rescale_ts(packet.get(), encoder->time_base, stream->time_base);
    packet->stream_index = stream->index;
    check(av_interleaved_write_frame(output, packet.get()) >= 0, "write packet");
  }
}

// Writes `kFps` frames a second of each colour, `kWidth` × `kHeight` pixels, in Matroska.
void writeClip(const std::string& path, AVCodecID codecId, int kWidth, int kHeight, int kFps,
               const std::vector<Rgb>& secondsOfColour) {
  AVFormatContext* rawOutput = nullptr;
  check(avformat_alloc_output_context2(&rawOutput, nullptr, "matroska", path.c_str()) >= 0, "output");
  std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> output(rawOutput, [](AVFormatContext* c) {
    if (c->pb) avio_closep(&c->pb);
    avformat_free_context(c);
  });
  const AVCodec* codec = avcodec_find_encoder(codecId);
  check(codec != nullptr, "encoder");
  AVStream* stream = avformat_new_stream(output.get(), nullptr);
  check(stream != nullptr, "stream");
  std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> encoder(
      avcodec_alloc_context3(codec), [](AVCodecContext* c) { avcodec_free_context(&c); });
  encoder->width = kWidth;
  encoder->height = kHeight;
  encoder->pix_fmt = AV_PIX_FMT_YUV420P;
  encoder->time_base = AVRational{1, kFps};
  encoder->framerate = AVRational{kFps, 1};
  encoder->gop_size = kFps;
  encoder->max_b_frames = 0;
  encoder->bit_rate = 400000;
  if (output->oformat->flags & AVFMT_GLOBALHEADER) encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  check(avcodec_open2(encoder.get(), codec, nullptr) >= 0, "open encoder");
  check(avcodec_parameters_from_context(stream->codecpar, encoder.get()) >= 0, "parameters");
  stream->time_base = encoder->time_base;
  check(avio_open(&output->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0, "open file");
  check(avformat_write_header(output.get(), nullptr) >= 0, "header");

  std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  frame->format = AV_PIX_FMT_YUV420P;
  frame->width = kWidth;
  frame->height = kHeight;
  check(av_frame_get_buffer(frame.get(), 0) >= 0, "frame buffer");
  std::int64_t pts = 0;
  for (const Rgb& c : secondsOfColour) {
    // BT.601 limited range, as the decoder's converter reads it back.
    const double y = 16 + (65.481 * c.r + 128.553 * c.g + 24.966 * c.b) / 255;
    const double u = 128 + (-37.797 * c.r - 74.203 * c.g + 112.0 * c.b) / 255;
    const double v = 128 + (112.0 * c.r - 93.786 * c.g - 18.214 * c.b) / 255;
    for (int i = 0; i < kFps; ++i) {
      check(av_frame_make_writable(frame.get()) >= 0, "writable frame");
      for (int row = 0; row < kHeight; ++row) {
        for (int col = 0; col < kWidth; ++col) frame->data[0][row * frame->linesize[0] + col] = static_cast<std::uint8_t>(y + 0.5);
      }
      for (int row = 0; row < kHeight / 2; ++row) {
        for (int col = 0; col < kWidth / 2; ++col) {
          frame->data[1][row * frame->linesize[1] + col] = static_cast<std::uint8_t>(u + 0.5);
          frame->data[2][row * frame->linesize[2] + col] = static_cast<std::uint8_t>(v + 0.5);
        }
      }
      frame->pts = pts++;
      encode(encoder.get(), frame.get(), output.get(), stream);
    }
  }
  encode(encoder.get(), nullptr, output.get(), stream);
  check(av_write_trailer(output.get()) >= 0, "trailer");
}

}  // namespace

void writeColourClip(const std::string& path, const std::vector<Rgb>& secondsOfColour) {
  writeClip(path, AV_CODEC_ID_MPEG4, 64, 48, 5, secondsOfColour);
}

void writeLargeFrameClip(const std::string& path, int width, int height, Rgb colour) {
  writeClip(path, AV_CODEC_ID_FFV1, width, height, 1, {colour});
}

}  // namespace kp_test
