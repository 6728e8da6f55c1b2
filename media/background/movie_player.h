#pragma once
// A movie as a play background: FFmpeg reads any container and codec it knows;
// the first video stream (of the first five streams) gives a 32-bit frame for a
// time in milliseconds, copied into the frame picture with 8.8 fixed-point steps.
//
// Threads: Open and Close run on the main thread while the worker is stopped;
// Frame runs on the media worker. The frame picture's pixels change only under
// g_movieLock, which the main thread also holds while it draws the picture.
#include "media/render/image.h"
#include <cstdint>

class MoviePlayer {
 public:
  MoviePlayer() = default;
  ~MoviePlayer();
  MoviePlayer(const MoviePlayer&) = delete;
  MoviePlayer& operator=(const MoviePlayer&) = delete;

  // quality 0..100 (the AVI quality setting x 10); alphaPicture makes the frame
  // picture with alpha (still drawn opaque: alpha 255). False, with a log line,
  // for a file FFmpeg cannot read or one without a video stream.
  bool Open(const char* path, int quality, bool alphaPicture);
  // Decodes the frame shown at `timeMs` of the movie (taken modulo its length, so
  // that a movie loops) into `frame`. `wait`: take g_movieLock however long it
  // takes; otherwise give up after 50 ms and skip the update. True when `frame`
  // shows the frame for that time (newly decoded or already there); false when
  // nothing could be decoded or the lock was missed (the next call copies it).
  // The caller adds startOffsetMs; nextFrameMs is in the caller's time.
  bool Frame(int64_t timeMs, bool wait);
  void Close();

  bool open = false;
  Image frame;                       // what is drawn
  int32_t lengthMs = 0;              // from the stream's end time
  int32_t movieWidth = 0, movieHeight = 0;   // decoded size
  int32_t frameWidth = 0, frameHeight = 0;   // the frame picture's size
  uint32_t stepX = 0, stepY = 0;     // movie size x 256 / frame size
  int64_t startOffsetMs = 0;         // "STARTAT:"
  int64_t nextFrameMs = 0;           // time (as given to Frame) the next frame is due

 private:
  struct Decoder;
  Decoder* decoder_ = nullptr;
};

// The quality rule: the frame size for a movie of w x h at quality q (0..100).
// Up to 1200 pixels the full size; from 76800 up q per cent; in between q rises
// toward 100. Each side at least 8.
void Movie_FrameSize(int32_t w, int32_t h, int quality, int32_t* frameW, int32_t* frameH);

// Whether a file name ends in one of the movie endings the game looks for.
bool Movie_IsMovieFile(const char* name);

// Start-up and shut-down of movie support ("Initialising movie support...").
void Movie_Init();
void Movie_Shutdown();
