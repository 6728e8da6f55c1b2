#include "media/background/movie_decoder.h"
#include "platform/log.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

namespace {
constexpr int kStreamsLooked = 5;
// Packets read per call at most: a damaged file must not hold the worker.
// Enough for a long key-frame interval after a seek.
constexpr int kPacketBudget = 1500;
// swscale scales straight to the frame size while it converts from YUV. Picking
// pixels with 8.8 steps from a full-size conversion costs the same as its point
// sampling (about 0.14 ms for 640 x 480 to 320 x 240, movie_frame_bench); its
// fast bilinear mode costs some 0.05 ms more, a tenth of a whole frame's
// decoding, and does not shimmer on moving lines, so that is what we use.
constexpr int kScaleFlags = SWS_FAST_BILINEAR;

int64_t frameStartMs(const MovieDecoder& d, const AVFrame* f) {
  int64_t pts = f->best_effort_timestamp;
  if (pts == AV_NOPTS_VALUE) pts = f->pts;
  if (pts == AV_NOPTS_VALUE) return d.haveLatest ? d.latestEndMs : 0;  // follows the one before
  return (int64_t)std::llround((double)(pts - d.startTicks) * d.msPerTick);
}

int64_t frameLengthMs(const MovieDecoder& d, const AVFrame* f) {
  int64_t ms = f->pkt_duration > 0 ? (int64_t)std::llround((double)f->pkt_duration * d.msPerTick) : 0;
  return ms > 0 ? ms : d.frameMs;
}
}  // namespace

void MovieDecoder_QuietLibrary() { av_log_set_level(AV_LOG_QUIET); }

bool MovieDecoder_Open(MovieDecoder& d, const char* path, int32_t* width, int32_t* height, int64_t* lengthMs) {
  snprintf(d.name, sizeof d.name, "%s", path ? path : "");
  if (!path || !*path) {
    WriteLog("Movie '': no file named\n");
    return false;
  }
  // Local files only: a script naming a URL must not reach out to the network
  // and stall the loading of the song.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const int opened = avformat_open_input(&d.format, path, nullptr, &options);
  av_dict_free(&options);
  if (opened < 0) {
    d.format = nullptr;  // freed by FFmpeg on failure
    WriteLogf("Movie '%s': cannot open\n", d.name);
    return false;
  }
  if (avformat_find_stream_info(d.format, nullptr) < 0) {
    WriteLogf("Movie '%s': cannot read its streams\n", d.name);
    return false;
  }
  const int looked = std::min((int)d.format->nb_streams, kStreamsLooked);
  for (int i = 0; i < looked && d.stream < 0; i++)
    if (d.format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
        !(d.format->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC))
      d.stream = i;
  if (d.stream < 0) {
    WriteLogf("Movie '%s': no video stream\n", d.name);
    return false;
  }
  // The demuxer skips every other stream's packets.
  for (unsigned i = 0; i < d.format->nb_streams; i++)
    if ((int)i != d.stream) d.format->streams[i]->discard = AVDISCARD_ALL;

  AVStream* st = d.format->streams[d.stream];
  const AVCodec* dec = avcodec_find_decoder(st->codecpar->codec_id);
  if (!dec) {
    WriteLogf("Movie '%s': no decoder for its video (%s)\n", d.name, avcodec_get_name(st->codecpar->codec_id));
    return false;
  }
  d.codec = avcodec_alloc_context3(dec);
  if (!d.codec || avcodec_parameters_to_context(d.codec, st->codecpar) < 0) {
    WriteLogf("Movie '%s': cannot set up its decoder\n", d.name);
    return false;
  }
  // One thread: the media worker is the decoding thread already, and on a small
  // machine more threads only take time from the main thread's drawing; frame
  // threading would also hold frames back, making every seek decode more.
  d.codec->thread_count = 1;
  if (avcodec_open2(d.codec, dec, nullptr) < 0) {
    WriteLogf("Movie '%s': cannot open its decoder (%s)\n", d.name, dec->name);
    return false;
  }
  d.packet = av_packet_alloc();
  d.latest = av_frame_alloc();
  d.scratch = av_frame_alloc();
  if (!d.packet || !d.latest || !d.scratch) {
    WriteLogf("Movie '%s': out of memory\n", d.name);
    return false;
  }

  d.msPerTick = st->time_base.den > 0 && st->time_base.num > 0 ? 1000.0 * av_q2d(st->time_base) : 0;
  d.startTicks = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
  AVRational rate = st->avg_frame_rate.num > 0 && st->avg_frame_rate.den > 0 ? st->avg_frame_rate : st->r_frame_rate;
  if (rate.num > 0 && rate.den > 0) d.frameMs = std::clamp((int64_t)std::llround(1000.0 / av_q2d(rate)), (int64_t)1, (int64_t)1000);
  if (d.msPerTick <= 0) {
    WriteLogf("Movie '%s': no time base\n", d.name);
    return false;
  }

  // The length: the stream's end time, else the container's.
  int64_t len = 0;
  if (st->duration != AV_NOPTS_VALUE && st->duration > 0) len = (int64_t)std::llround((double)st->duration * d.msPerTick);
  else if (d.format->duration != AV_NOPTS_VALUE && d.format->duration > 0) len = d.format->duration / (AV_TIME_BASE / 1000);
  *lengthMs = std::clamp(len, (int64_t)0, (int64_t)INT32_MAX);
  *width = st->codecpar->width;
  *height = st->codecpar->height;
  if (*width <= 0 || *height <= 0) {
    WriteLogf("Movie '%s': no picture size\n", d.name);
    return false;
  }
  return true;
}

bool MovieDecoder_SetOutput(MovieDecoder& d, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return false;
  d.outWidth = width;
  d.outHeight = height;
  d.pixels.assign((size_t)width * height, 0xFF000000u);
  d.converted = false;
  return true;
}

bool MovieDecoder_Seek(MovieDecoder& d, int64_t ms) {
  if (!d.codec) return false;
  if (!d.seekable) return false;
  const int64_t ts = d.startTicks + (int64_t)((double)std::max<int64_t>(ms, 0) / d.msPerTick);
  if (av_seek_frame(d.format, d.stream, ts, AVSEEK_FLAG_BACKWARD) < 0 &&
      av_seek_frame(d.format, d.stream, d.startTicks, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) < 0 &&
      av_seek_frame(d.format, -1, 0, AVSEEK_FLAG_BYTE) < 0) {
    WriteLogf("Movie '%s': cannot seek; it plays on without looping\n", d.name);
    d.seekable = false;
    return false;
  }
  avcodec_flush_buffers(d.codec);
  d.haveLatest = false;
  d.draining = false;
  d.ended = false;
  return true;
}

bool MovieDecoder_Reach(MovieDecoder& d, int64_t ms) {
  if (!d.codec) return false;
  int budget = kPacketBudget;
  while (!(d.haveLatest && d.latestEndMs > ms) && !d.ended) {
    int r = avcodec_receive_frame(d.codec, d.scratch);
    if (r == 0) {
      const int64_t start = frameStartMs(d, d.scratch);
      const int64_t len = frameLengthMs(d, d.scratch);
      av_frame_unref(d.latest);
      av_frame_move_ref(d.latest, d.scratch);
      d.haveLatest = true;
      d.latestStartMs = start;
      d.latestEndMs = start + len;
      d.converted = false;
      continue;
    }
    if (r != AVERROR(EAGAIN) || d.draining) {  // drained, or the decoder gave up
      d.ended = true;
      break;
    }
    if (--budget < 0) break;
    r = av_read_frame(d.format, d.packet);
    if (r < 0) {  // the end of the file (or a read error): take what the decoder still holds
      avcodec_send_packet(d.codec, nullptr);
      d.draining = true;
      continue;
    }
    // A damaged packet is dropped; the decoder picks up at the next good one.
    if (d.packet->stream_index == d.stream) avcodec_send_packet(d.codec, d.packet);
    av_packet_unref(d.packet);
  }
  return d.haveLatest;
}

bool MovieDecoder_Convert(MovieDecoder& d) {
  if (!d.haveLatest || d.pixels.empty()) return false;
  if (d.converted) return true;
  const AVFrame* f = d.latest;
  if (f->width <= 0 || f->height <= 0 || f->format < 0) return false;
  d.sws = sws_getCachedContext(d.sws, f->width, f->height, (AVPixelFormat)f->format, d.outWidth, d.outHeight,
                               AV_PIX_FMT_BGRA, kScaleFlags, nullptr, nullptr, nullptr);
  if (!d.sws) {
    if (!d.loggedConvert)
      WriteLogf("Movie '%s': cannot convert its pictures (%s)\n", d.name,
                av_get_pix_fmt_name((AVPixelFormat)f->format) ? av_get_pix_fmt_name((AVPixelFormat)f->format) : "?");
    d.loggedConvert = true;
    return false;
  }
  uint8_t* dst[4] = {(uint8_t*)d.pixels.data(), nullptr, nullptr, nullptr};
  int dstStride[4] = {d.outWidth * 4, 0, 0, 0};
  if (sws_scale(d.sws, f->data, f->linesize, 0, f->height, dst, dstStride) <= 0) return false;
  d.converted = true;
  return true;
}

void MovieDecoder_Close(MovieDecoder& d) {
  sws_freeContext(d.sws);
  av_frame_free(&d.latest);
  av_frame_free(&d.scratch);
  av_packet_free(&d.packet);
  avcodec_free_context(&d.codec);
  if (d.format) avformat_close_input(&d.format);
  d.sws = nullptr;
  d.stream = -1;
  d.haveLatest = d.converted = d.draining = d.ended = false;
  d.pixels.clear();
  d.pixels.shrink_to_fit();
}
