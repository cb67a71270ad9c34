// A small definition file for conversion tests.
#pragma once

namespace quilo::test {

// A small definition file: each list's values are its texts unless named.
inline const char* const Definitions = R"([Tamber-AVI]
OutputFormatCount=1
OutputFormatText0=avi
VideoCodecCount=2
VideoCodecText0=Xvid
VideoCodecValue0=xvid
VideoCodecText1=MPEG-4
VideoCodecValue1=mpeg4
VideoFrameRateCount=2
VideoFrameRateText0=Auto
VideoFrameRateText1=25
VideoFrameRateValue1=25/1
AudioCodecCount=1
AudioCodecText0=mp3
AudioBitrateCount=1
AudioBitrateText0=128
AudioSampleRateCount=1
AudioSampleRateText0=44100
AudioChannelCount=2
AudioChannelText0=1 Channel Mono
AudioChannelValue0=1
AudioChannelText1=2 Channels Stereo
AudioChannelValue1=2
VideoAspectCount=3
VideoAspectText0=Full
VideoAspectValue0=0
VideoAspectText1=Original
VideoAspectValue1=1
VideoAspectText2=Keep aspect
VideoAspectValue2=2
VideoResolutionCount=2
VideoResolutionText0=640 x 480
VideoResolutionValue0=640:480
VideoResolutionText1=Height 480
VideoResolutionValue1=auto:480
[Tamber-MPEG]
OutputFormatCount=1
OutputFormatText0=mpeg2
VideoAspectCount=2
VideoAspectText0=Full
VideoAspectValue0=0
VideoAspectText1=DVD NTSC 16:9
VideoAspectValue1=11
VideoCodecCount=1
VideoCodecText0=mpeg2
[Tamber-MPEG-11]
VideoCodecCount=1
VideoCodecText0=dvd
VideoFrameRateCount=1
VideoFrameRateText0=29.97
VideoFrameRateValue0=30000/1001
AudioCodecCount=1
AudioCodecText0=ac3
AudioBitrateCount=1
AudioBitrateText0=192
AudioSampleRateCount=1
AudioSampleRateText0=48000
)";

} // namespace quilo::test
