#!/usr/bin/env python3
"""Makes the corpus of damaged and unusual media files the converter must survive.

usage: make_corpus.py FOLDER [NAME...]

Writes every file (or only the named ones) into FOLDER and prints one line per
file: its name, a tab, and what it is. Clean sources come from the ffmpeg
program; the damage is made here with fixed seeds, so every run gives the same
bytes. A file that already exists is kept.
"""
import os
import random
import subprocess
import sys

SECONDS = "3"
PICTURE = "testsrc2=size=320x240:rate=25"
TONE = "sine=frequency=440:sample_rate=48000"


def ffmpeg(path, *arguments):
    subprocess.run(["ffmpeg", "-y", "-hide_banner", "-loglevel", "error", *arguments, path], check=True)


def av(path, video, audio, *extra):
    ffmpeg(path, "-f", "lavfi", "-i", PICTURE, "-f", "lavfi", "-i", TONE, "-t", SECONDS, "-ac", "2",
           "-c:v", *video, "-c:a", *audio, *extra)


# Clean sources: name -> (maker, description).
SOURCES = {
    "clean-ps.mpg": (lambda p: av(p, ["mpeg2video", "-g", "12"], ["mp2"], "-f", "vob"), "MPEG-2 program stream"),
    "clean-h264.ts": (lambda p: av(p, ["libx264", "-preset", "ultrafast", "-g", "25"], ["aac"]),
                      "H.264 and AAC in MPEG-TS"),
    "clean-h264.m2ts": (lambda p: av(p, ["libx264", "-preset", "ultrafast", "-g", "25"], ["ac3"],
                                     "-f", "mpegts", "-mpegts_m2ts_mode", "1"), "H.264 and AC-3 in M2TS"),
    # One keyframe only, and pictures reordered: a seek lands behind the keyframe.
    "h264-one-keyframe.ts": (lambda p: av(p, ["libx264", "-preset", "fast"], ["aac"]),
                             "H.264 with B-frames and one keyframe in MPEG-TS"),
    "h264-one-keyframe.m2ts": (lambda p: av(p, ["libx264", "-preset", "fast"], ["ac3"], "-f", "mpegts",
                                            "-mpegts_m2ts_mode", "1"), "the same in M2TS"),
    "clean.mp4": (lambda p: av(p, ["libx264", "-preset", "ultrafast", "-g", "25"], ["aac"],
                               "-movflags", "+faststart"), "H.264 and AAC in MP4, index first"),
    "clean.mkv": (lambda p: av(p, ["libx264", "-preset", "ultrafast", "-g", "25"], ["libvorbis"]),
                  "H.264 and Vorbis in Matroska"),
    "clean.avi": (lambda p: av(p, ["mpeg4", "-g", "25"], ["libmp3lame"]), "MPEG-4 and MP3 in AVI"),
    "video-only.mkv": (lambda p: ffmpeg(p, "-f", "lavfi", "-i", PICTURE, "-t", SECONDS, "-c:v", "libx264",
                                        "-preset", "ultrafast"), "Matroska without audio"),
    "video-only.mp4": (lambda p: ffmpeg(p, "-f", "lavfi", "-i", PICTURE, "-t", SECONDS, "-c:v", "libx264",
                                        "-preset", "ultrafast"), "MP4 without audio"),
    "audio-only.mp3": (lambda p: ffmpeg(p, "-f", "lavfi", "-i", TONE, "-t", SECONDS, "-c:a", "libmp3lame"),
                       "MP3 without video"),
    "audio-only.wav": (lambda p: ffmpeg(p, "-f", "lavfi", "-i", TONE, "-t", SECONDS, "-ac", "6"),
                       "six-channel WAV without video"),
    "wide-16384.mp4": (lambda p: ffmpeg(p, "-f", "lavfi", "-i", "testsrc2=size=16384x16:rate=25", "-t", "2",
                                        "-c:v", "libx264", "-preset", "ultrafast"), "16384 pixels wide"),
    "tall-8x4096.mkv": (lambda p: ffmpeg(p, "-f", "lavfi", "-i", "testsrc2=size=8x4096:rate=5", "-t", "2",
                                         "-c:v", "ffv1"), "8 by 4096 pixels"),
    "tiny-2x2.avi": (lambda p: ffmpeg(p, "-f", "lavfi", "-i", "testsrc2=size=2x2:rate=25", "-t", "2",
                                      "-c:v", "rawvideo", "-pix_fmt", "bgr24"), "2 by 2 pixels"),
    "rate-1fps.mp4": (lambda p: ffmpeg(p, "-f", "lavfi", "-i", "testsrc2=size=320x240:rate=1", "-f", "lavfi",
                                       "-i", TONE, "-t", SECONDS, "-c:v", "libx264", "-preset", "ultrafast",
                                       "-c:a", "aac"), "one picture a second"),
    "rate-240fps.mkv": (lambda p: ffmpeg(p, "-f", "lavfi", "-i", "testsrc2=size=160x120:rate=240", "-t", "2",
                                         "-c:v", "mpeg4"), "240 pictures a second"),
    "audio-8khz-mono.mkv": (lambda p: ffmpeg(p, "-f", "lavfi", "-i", PICTURE, "-f", "lavfi", "-i",
                                             "sine=sample_rate=8000", "-t", SECONDS, "-c:v", "mpeg4",
                                             "-c:a", "pcm_s16le"), "8 kHz mono sound"),
}


def flip_bytes(data, share, seed):
    data = bytearray(data)
    generator = random.Random(seed)
    for _ in range(int(len(data) * share)):
        data[generator.randrange(len(data))] = generator.randrange(256)
    return bytes(data)


def zero_block(data, at, size):
    start = int(len(data) * at)
    return data[:start] + bytes(size) + data[start + size:]


def swap_blocks(data, seed, size=8192):
    generator = random.Random(seed)
    a = generator.randrange(len(data) // 4, len(data) // 2 - size)
    b = generator.randrange(len(data) // 2, len(data) - size)
    return data[:a] + data[b:b + size] + data[a + size:b] + data[a:a + size] + data[b + size:]


def random_head(data, seed, size=64):
    generator = random.Random(seed)
    return bytes(generator.randrange(256) for _ in range(size)) + data[size:]


def random_bytes(size, seed):
    generator = random.Random(seed)
    return bytes(generator.randrange(256) for _ in range(size))


def set_timestamp(data, at, seconds):
    """Writes a 90 kHz timestamp in the five-byte PES form at data[at]."""
    value = int(seconds * 90000) & ((1 << 33) - 1)
    data[at] = (data[at] & 0xF0) | ((value >> 29) & 0x0E) | 1
    data[at + 1] = (value >> 22) & 0xFF
    data[at + 2] = ((value >> 14) & 0xFE) | 1
    data[at + 3] = (value >> 7) & 0xFF
    data[at + 4] = ((value << 1) & 0xFE) | 1


def wild_timestamps(data, seed, share=0.1):
    """Program stream whose packets now and then claim a time hours away."""
    data = bytearray(data)
    generator = random.Random(seed)
    at = data.find(b"\x00\x00\x01", 0)
    while at >= 0 and at + 14 < len(data):
        stream = data[at + 3]
        has_pts = (0xC0 <= stream <= 0xEF or stream == 0xBD) and data[at + 7] & 0x80
        if has_pts and generator.random() < share:
            set_timestamp(data, at + 9, generator.uniform(600, 90000))
            if data[at + 7] & 0x40:  # a decoding timestamp follows
                set_timestamp(data, at + 14, generator.uniform(600, 90000))
        at = data.find(b"\x00\x00\x01", at + 4)
    return bytes(data)


def damaged():
    """name -> (source, damage, description)."""
    files = {}
    for source, short in (("clean-ps.mpg", "ps"), ("clean-h264.ts", "ts"), ("clean.mp4", "mp4"),
                          ("clean.mkv", "mkv"), ("clean.avi", "avi")):
        extension = os.path.splitext(source)[1]
        files[f"{short}-cut-half{extension}"] = (source, lambda d: d[:len(d) // 2], "cut off at half")
        files[f"{short}-flip-1pc{extension}"] = (source, lambda d: flip_bytes(d, 0.01, 11), "1 % of bytes changed")
        files[f"{short}-zero-block{extension}"] = (source, lambda d: zero_block(d, 0.3, 16384), "16 KB zeroed")
        files[f"{short}-swap-blocks{extension}"] = (source, lambda d: swap_blocks(d, 13), "two blocks swapped")
        files[f"{short}-bad-head{extension}"] = (source, lambda d: random_head(d, 17), "header overwritten")
    files["ps-flip-5pc.mpg"] = ("clean-ps.mpg", lambda d: flip_bytes(d, 0.05, 4), "5 % of bytes changed")
    files["ps-wild-timestamps.mpg"] = ("clean-ps.mpg", lambda d: wild_timestamps(d, 19),
                                       "timestamps jumping by hours")
    files["mp4-named.avi"] = ("clean.mp4", lambda d: d, "MP4 with an AVI name")
    files["ts-named.mp3"] = ("clean-h264.ts", lambda d: d, "MPEG-TS with an MP3 name")
    files["random.mp4"] = (None, lambda d: random_bytes(100000, 23), "random bytes")
    files["empty.avi"] = (None, lambda d: b"", "empty file")
    return files


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    wanted = set(sys.argv[2:])
    os.makedirs(folder, exist_ok=True)
    made = damaged()

    def path_of(name):
        return os.path.join(folder, name)

    def make_source(name):
        if not os.path.exists(path_of(name)):
            # A private name: tests running at once may make the same file.
            part = f"{path_of(name)}.part{os.getpid()}{os.path.splitext(name)[1]}"
            SOURCES[name][0](part)
            os.replace(part, path_of(name))

    for name, (maker, description) in SOURCES.items():
        if wanted and name not in wanted and not any(made[w][0] == name for w in wanted if w in made):
            continue
        make_source(name)
        if not wanted or name in wanted:
            print(f"{name}\t{description}")
    for name, (source, damage, description) in made.items():
        if wanted and name not in wanted:
            continue
        if not os.path.exists(path_of(name)):
            original = b""
            if source:
                with open(path_of(source), "rb") as clean:
                    original = clean.read()
            part = f"{path_of(name)}.part{os.getpid()}"
            with open(part, "wb") as out:
                out.write(damage(original))
            os.replace(part, path_of(name))
        print(f"{name}\t{description}")


if __name__ == "__main__":
    main()
