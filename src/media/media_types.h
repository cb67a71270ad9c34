// What media analysis learns about a file: its container, first video stream
// and every audio stream.
#pragma once

#include <string>
#include <vector>

namespace quilo {

struct TMediaStream {
    int Id = 0;
    int Duration = 0; // milliseconds
    std::string DurationText;
    std::string CodecText;
};

struct TVideoStream : TMediaStream {
    std::string AspectText; // "16:9", "1.333" ...
    int Width = 0;
    int Height = 0;
    float FrameRate = 0;
};

struct TAudioStream : TMediaStream {
    std::string Language; // may be empty
    int SamplingRate = 0; // Hz
    int BitRate = 0;      // bit/s
    int Channels = 0;
};

// Kept in ascending order of Id.
using TAudioList = std::vector<TAudioStream>;

struct TMediaInfo {
    TAudioList Audio;
    TVideoStream Video;
    std::string FormatName;
};

// Inserts before the first stream whose Id is greater than or equal to the new
// one, so the list stays ascending and a later stream goes in front of an
// earlier one with the same Id.
void InsertAudioStream(TAudioList& list, TAudioStream stream);

} // namespace quilo
