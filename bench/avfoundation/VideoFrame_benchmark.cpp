// A video frame as an image: AVAssetImageGenerator::copyCGImage() of the first frame of a
// one-frame clip at 64 × 48, 640 × 480, 1920 × 1080 and 3840 × 2160 pixels, beside the
// raw FFmpeg work a caller would do for the same frame (open, find the stream, decode,
// convert to 32-bit RGB with libswscale into a padded frame).
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/avfoundation/AVAsset.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/VideoFixtures.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace {

// One clip a size, written once into a temporary folder that goes away at exit.
const std::string& clip(int width, int height) {
  static const kp_test::TemporaryDirectory folder;
  static std::map<std::pair<int, int>, std::string> clips;
  auto& path = clips[{width, height}];
  if (path.empty()) {
    path = folder.path() + "/" + std::to_string(width) + "x" + std::to_string(height) + ".mkv";
    kp_test::writeLargeFrameClip(path, width, height, {40, 120, 200});
  }
  return path;
}

void BM_CopyCGImage(benchmark::State& state) {
  const auto w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const ios::AVAssetImageGenerator generator{ios::AVAsset(ios::URL::fileURLWithPath(clip(w, h)))};
  for (auto _ : state) {
    ios::CGImageRef image = generator.copyCGImage(ios::CMTime{0, 1});
    benchmark::DoNotOptimize(image);
  }
  state.counters["pixels"] = static_cast<double>(w) * h;
}

// The same frame through FFmpeg alone.
void BM_FFmpegDecodeAndConvert(benchmark::State& state) {
  const auto w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const std::string& path = clip(w, h);
  for (auto _ : state) {
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0 ||
        avformat_find_stream_info(format, nullptr) < 0) {
      state.SkipWithError("cannot open the clip");
      return;
    }
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, format->streams[index]->codecpar);
    avcodec_open2(decoder, codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    bool decoded = false;
    while (!decoded && av_read_frame(format, packet) >= 0) {
      if (packet->stream_index == index && avcodec_send_packet(decoder, packet) >= 0) {
        decoded = avcodec_receive_frame(decoder, frame) == 0;
      }
      av_packet_unref(packet);
    }
    if (!decoded) {
      avcodec_send_packet(decoder, nullptr);
      decoded = avcodec_receive_frame(decoder, frame) == 0;
    }
    AVFrame* rgb = av_frame_alloc();
    rgb->format = AV_PIX_FMT_RGB0, rgb->width = frame->width, rgb->height = frame->height;
    av_frame_get_buffer(rgb, 0);
    SwsContext* scaler = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                        frame->width, frame->height, AV_PIX_FMT_RGB0, SWS_BILINEAR, nullptr, nullptr,
                                        nullptr);
    sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, rgb->data, rgb->linesize);
    benchmark::DoNotOptimize(rgb->data[0]);
    sws_freeContext(scaler);
    av_frame_free(&rgb);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
  }
  state.counters["pixels"] = static_cast<double>(w) * h;
}

void frameSizes(benchmark::internal::Benchmark* b) {
  b->Args({64, 48})->Args({640, 480})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_CopyCGImage)->Apply(frameSizes);
BENCHMARK(BM_FFmpegDecodeAndConvert)->Apply(frameSizes);

}  // namespace
