#pragma once
// Encodes frames into an AVI file with FFmpeg's own libraries: MPEG-4 part 2
// video (always built into Debian's libavcodec), a fixed quantiser, bit-exact
// flags and one thread, so that the same frames always give the same bytes.
// Used by the content generator for the movie we ship, and by the tests and
// benchmarks for their small movies.
#include <cstdint>
#include <functional>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

// Frame `i` as 32-bit pixels, B G R A bytes in memory (cairo's ARGB32, or
// 0xAARRGGBB words on a little-endian machine); `stride` bytes per row. Null
// stops the movie with a failure.
using MovieFrameSource = std::function<const uint8_t*(int i, int* stride)>;

// `qscale` 1 (best) .. 31; `gop` frames between key frames.
inline bool EncodeMovie(const std::string& path, int width, int height, int fps, int frames, int qscale, int gop,
                        const MovieFrameSource& frame) {
  AVFormatContext* fmt = nullptr;
  if (avformat_alloc_output_context2(&fmt, nullptr, "avi", path.c_str()) < 0 || !fmt) return false;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  AVStream* st = codec ? avformat_new_stream(fmt, nullptr) : nullptr;
  AVCodecContext* enc = st ? avcodec_alloc_context3(codec) : nullptr;
  AVFrame* yuv = av_frame_alloc();
  AVPacket* pkt = av_packet_alloc();
  SwsContext* sws = nullptr;
  bool ok = false;
  auto send = [&](AVFrame* f) {
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
    sws = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, AV_PIX_FMT_YUV420P,
                         SWS_POINT | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
    ok = sws && avcodec_open2(enc, codec, nullptr) >= 0 && avcodec_parameters_from_context(st->codecpar, enc) >= 0 &&
         av_frame_get_buffer(yuv, 0) >= 0 && avio_open(&fmt->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0;
    st->time_base = enc->time_base;
    ok = ok && avformat_write_header(fmt, nullptr) >= 0;
    for (int i = 0; ok && i < frames; i++) {
      int stride = 0;
      const uint8_t* pixels = frame(i, &stride);
      const uint8_t* src[4] = {pixels, nullptr, nullptr, nullptr};
      int srcStride[4] = {stride, 0, 0, 0};
      ok = pixels && av_frame_make_writable(yuv) >= 0 &&
           sws_scale(sws, src, srcStride, 0, height, yuv->data, yuv->linesize) > 0;
      yuv->pts = i;
      yuv->quality = enc->global_quality;
      yuv->pict_type = AV_PICTURE_TYPE_NONE;
      ok = ok && send(yuv);
    }
    ok = ok && send(nullptr) && av_write_trailer(fmt) >= 0;
  }
  if (fmt->pb) avio_closep(&fmt->pb);
  sws_freeContext(sws);
  av_packet_free(&pkt);
  av_frame_free(&yuv);
  avcodec_free_context(&enc);
  avformat_free_context(fmt);
  return ok;
}
