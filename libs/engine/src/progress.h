// What X_Get_Info reports about the running conversion. Written by the
// pipeline's threads, read from any thread.
#pragma once

namespace tz::progress {

// A new conversion of segmentSeconds (0 = length unknown): nothing done yet.
void start(double segmentSeconds);
void setEncoding(bool encoding);
// A stage has handed the encoder the picture or sound at `seconds` of the
// segment; the figures never go back.
void reached(double seconds);
void countVideoFrame();
// The conversion ran to its end: 100 percent.
void complete();
int secondsDone();
void read(int info[4]);

} // namespace tz::progress
