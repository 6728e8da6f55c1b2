#pragma once
// Writes small movies for the movie tests and benchmarks with FFmpeg's own
// libraries: MPEG-4 part 2 video in an AVI file, every frame drawn by the
// caller as 32-bit words 0x00RRGGBB, row after row.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

using MovieFill = std::function<void(int frame, uint32_t* pixels, int width, int height)>;

// `qscale` 1 (best) .. 31; `gop` frames between key frames.
inline bool WriteTestMovie(const std::string& path, int width, int height, int fps, int frames,
                           const MovieFill& fill, int qscale = 2, int gop = 12) {
  AVFormatContext* fmt = nullptr;
  if (avformat_alloc_output_context2(&fmt, nullptr, "avi", path.c_str()) < 0 || !fmt) return false;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  AVStream* st = codec ? avformat_new_stream(fmt, nullptr) : nullptr;
  AVCodecContext* enc = st ? avcodec_alloc_context3(codec) : nullptr;
  AVFrame* yuv = av_frame_alloc();
  AVPacket* pkt = av_packet_alloc();
  SwsContext* sws = nullptr;
  bool ok = false;
  std::vector<uint32_t> rgb((size_t)width * height);
  auto drain = [&](AVFrame* f) {
    if (avcodec_send_frame(enc, f) < 0) return false;
    while (avcodec_receive_packet(enc, pkt) == 0) {
      av_packet_rescale_ts(pkt, enc->time_base, st->time_base);
      pkt->stream_index = st->index;
      if (av_interleaved_write_frame(fmt, pkt) < 0) return false;
    }
    return true;
  };
  if (enc && yuv && pkt) {
    enc->width = width;
    enc->height = height;
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    enc->time_base = AVRational{1, fps};
    enc->framerate = AVRational{fps, 1};
    enc->gop_size = gop;
    enc->max_b_frames = 0;
    enc->thread_count = 1;
    enc->flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_BITEXACT;
    enc->global_quality = FF_QP2LAMBDA * qscale;
    if (fmt->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    fmt->flags |= AVFMT_FLAG_BITEXACT;
    yuv->format = AV_PIX_FMT_YUV420P;
    yuv->width = width;
    yuv->height = height;
    sws = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, AV_PIX_FMT_YUV420P, SWS_POINT, nullptr,
                         nullptr, nullptr);
    ok = sws && avcodec_open2(enc, codec, nullptr) >= 0 && avcodec_parameters_from_context(st->codecpar, enc) >= 0 &&
         av_frame_get_buffer(yuv, 0) >= 0 && avio_open(&fmt->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0;
    st->time_base = enc->time_base;
    ok = ok && avformat_write_header(fmt, nullptr) >= 0;
    for (int i = 0; ok && i < frames; i++) {
      for (auto& p : rgb) p = 0;
      fill(i, rgb.data(), width, height);
      for (auto& p : rgb) p |= 0xFF000000u;
      ok = av_frame_make_writable(yuv) >= 0;
      const uint8_t* src[4] = {(const uint8_t*)rgb.data(), nullptr, nullptr, nullptr};
      int srcStride[4] = {width * 4, 0, 0, 0};
      ok = ok && sws_scale(sws, src, srcStride, 0, height, yuv->data, yuv->linesize) > 0;
      yuv->pts = i;
      yuv->quality = enc->global_quality;
      yuv->pict_type = AV_PICTURE_TYPE_NONE;
      ok = ok && drain(yuv);
    }
    ok = ok && drain(nullptr) && av_write_trailer(fmt) >= 0;
  }
  if (fmt && fmt->pb) avio_closep(&fmt->pb);
  sws_freeContext(sws);
  av_packet_free(&pkt);
  av_frame_free(&yuv);
  avcodec_free_context(&enc);
  avformat_free_context(fmt);
  return ok;
}

// A movie of solid colours, one per second (`colours` in order).
inline bool WriteColourMovie(const std::string& path, int width, int height, int fps,
                             const std::vector<uint32_t>& colours) {
  return WriteTestMovie(path, width, height, fps, fps * (int)colours.size(),
                        [&](int frame, uint32_t* px, int w, int h) {
                          uint32_t c = colours[(size_t)(frame / fps)];
                          for (int i = 0; i < w * h; i++) px[i] = c;
                        });
}
