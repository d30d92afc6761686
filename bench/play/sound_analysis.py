# SPDX-License-Identifier: MIT
"""What a user heard and saw in one run of tessaro-play, worked out from the media trace
(commands, replies and the frames handed to the video surface, TESSARO_TRACE=1) and, for a
run on a real sound server, a recording of the server's monitor. Plain Python: no numpy.

All times are milliseconds of the monotonic clock, the clock the trace is stamped with.
"""
import array
import re
import subprocess
from dataclasses import dataclass, field

RATE = 44100
# Louder than this (of 32767) is speech; espeak-ng's pauses are digital silence.
LOUD = 300

LINE = re.compile(r'^\[media ([0-9.]+) ms\] (.*)$')
COMMAND = re.compile(r'^(execute|sendString) "(.*)" -> (\d+) "(.*)"$')
FRAME = re.compile(r'^frame ([0-9.]+) ms shown in window (-?\d+)$')
NARRATION = re.compile(r'\\sound\\mp2\\(.+)\.mp2 alias Sound', re.IGNORECASE)
HANDOVER = re.compile(r'^narration output latency [0-9.]+ ms, stops clips ([0-9.]+) ms ahead$')


def decode_mono(path):
    """The file's sound as 16-bit mono samples at RATE, decoded by ffmpeg."""
    raw = subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-i", str(path), "-ac", "1",
                          "-ar", str(RATE), "-f", "s16le", "-"], capture_output=True, check=True).stdout
    return array.array("h", raw)


def loud_span(samples, first=0, last=None):
    """Indexes of the first and last loud sample in samples[first:last], or None."""
    last = len(samples) if last is None else min(last, len(samples))
    start = next((i for i in range(max(first, 0), last) if abs(samples[i]) > LOUD), None)
    if start is None:
        return None
    end = next(i for i in range(last - 1, start - 1, -1) if abs(samples[i]) > LOUD)
    return start, end


@dataclass
class ClipSound:
    """A narration clip's own length and the silence it holds before and after its speech."""
    length_ms: float
    lead_ms: float
    trail_ms: float

    @classmethod
    def of_file(cls, path):
        samples = decode_mono(path)
        start, end = loud_span(samples)
        return cls(len(samples) * 1000 / RATE, start * 1000 / RATE,
                   (len(samples) - end - 1) * 1000 / RATE)


class Recording:
    """Samples of the monitor with the arrival time of each block read. A null sink
    renders a block when it has played out the one before, so a block's first sample
    reaches the monitor as it is heard and later samples ahead of it: the earliest
    arrival of a block's first sample, less the samples before it, places sample 0 on the
    monotonic clock."""

    def __init__(self):
        self.samples = array.array("h")
        self.arrivals = []  # (monotonic ms, samples received before the block)
        self.odd = b""

    def add(self, data, at_ms):
        self.arrivals.append((at_ms, len(self.samples)))
        data = self.odd + data
        whole = len(data) - len(data) % 2
        self.samples.frombytes(data[:whole])
        self.odd = data[whole:]

    def origin_ms(self):
        return min(at - count * 1000 / RATE for at, count in self.arrivals)

    def loud_between(self, from_ms, to_ms):
        """Monotonic times of the first and last loud sample between two times, or None."""
        origin = self.origin_ms()
        index = lambda ms: int((ms - origin) * RATE / 1000)
        span = loud_span(self.samples, index(from_ms), index(to_ms))
        return None if span is None else tuple(origin + i * 1000 / RATE for i in span)


@dataclass
class Narration:
    name: str
    opened: float
    played: float = None
    stopped: float = None       # first "stopped" answer after the play
    last_playing: float = None  # last "playing" answer before it
    resumed: float = None       # the "play video" that follows the play, video asanas
    first_pause: float = None   # first "pause video" after the previous clip's play
    heard_start: float = None   # the clip's first sample heard (its own silence included)
    heard_end: float = None     # the clip's last sample heard


@dataclass
class Run:
    narrations: list = field(default_factory=list)
    frames: list = field(default_factory=list)  # (monotonic ms, frame number)
    ended: float = None
    file_open: float = None  # the first CurAudioNos: the reply just before the first clip's open
    handover_ms: float = None  # how far ahead of its last sample heard a clip may read stopped


def parse_trace(stderr_text):
    """The first play of a trace; see parse_plays."""
    return parse_plays(stderr_text)[0]


def parse_plays(stderr_text):
    """One Run per play of the asana in the trace (each play starts with "close all"):
    narrations in the order they were opened, and the frames shown, numbered from the
    first frame shown after the video's open; each with the narration output's handover
    (one output serves every play of a host)."""
    runs = [Run()]
    handover = None
    origin = None
    last_pause = None
    previous_at = None
    for line in stderr_text.splitlines():
        stamped = LINE.match(line)
        if not stamped:
            continue
        at, text = float(stamped.group(1)), stamped.group(2)
        if text.lower().startswith('execute "close all"') and runs[-1].narrations:
            runs.append(Run())
            origin, last_pause = None, None
        run = runs[-1]
        run.ended = at
        before, previous_at = previous_at, at
        ahead = HANDOVER.match(text)
        if ahead:
            handover = float(ahead.group(1))
            continue
        frame = FRAME.match(text)
        if frame:
            stream_ms = float(frame.group(1))
            origin = stream_ms if origin is None else origin
            run.frames.append((at, stream_ms - origin))
            continue
        command = COMMAND.match(text)
        if not command:
            continue
        entry, words, reply = command.group(1), command.group(2), command.group(4)
        lowered = words.lower()
        current = run.narrations[-1] if run.narrations else None
        if entry == "execute" and lowered.startswith("open ") and "alias video" in lowered:
            origin = None
        elif entry == "execute" and NARRATION.search(words):
            if not run.narrations:
                run.file_open = before
            run.narrations.append(Narration(NARRATION.search(words).group(1), at,
                                            first_pause=last_pause))
            last_pause = None
        elif current and lowered == "play sound" and current.played is None:
            current.played = at
        elif current and lowered == "play video" and current.played and current.resumed is None:
            current.resumed = at
        elif lowered == "pause video" and last_pause is None and current and current.played:
            last_pause = at
        elif (current and lowered == "status sound mode" and current.played
              and current.stopped is None):
            if reply == "stopped":
                current.stopped = at
            elif reply == "playing":
                current.last_playing = at
    for run in runs:
        run.handover_ms = handover
    return [run for run in runs if run.narrations]


def frame_period(run):
    steps = sorted(b[1] - a[1] for a, b in zip(run.frames, run.frames[1:]) if b[1] > a[1])
    return steps[len(steps) // 2] if steps else 40.0


def place_heard(run, recording, clips):
    """Finds each narration in the recording: its speech lies between its play and the
    next narration's play (a clip told stopped a little before its last sample is heard
    has long finished speaking by then); its own leading and trailing silence extend it."""
    for narration, following in zip(run.narrations, run.narrations[1:] + [None]):
        until = following.played if following else run.ended
        span = recording.loud_between(narration.played, until) if narration.played else None
        if span:
            clip = clips[narration.name]
            narration.heard_start = span[0] - clip.lead_ms
            narration.heard_end = span[1] + clip.trail_ms


def place_by_service(run):
    """Without a recording (fake sinks) the service's own view stands for what was heard:
    a narration sounds from its play to its first "stopped" answer."""
    for narration in run.narrations:
        narration.heard_start, narration.heard_end = narration.played, narration.stopped


@dataclass
class Handover:
    clip: int
    name: str
    kind: str                  # "hold", "advance" or "picture"
    gap_ms: float              # silence between the two clips beyond their own
    held_frame: int = None     # frame on the surface when the clip started
    start_frame: int = None
    video_on_ms: float = None  # the video's clock going on after the wait, less the clip heard
    next_frame_ms: float = None  # first new frame after the wait, less the clip heard
    advance_ms: float = None   # clip heard, less its start frame shown
    handover_ms: float = None  # "play sound" less the previous clip's first "stopped"
    start_ms: float = None     # clip heard, less its "play sound"


def handovers(run, start_frames):
    """One row per narration after the first. start_frames is None for a picture asana."""
    rows = []
    period = frame_period(run)
    number = lambda frame_ms: round(frame_ms / period)
    for index in range(1, len(run.narrations)):
        before, now = run.narrations[index - 1], run.narrations[index]
        gap = (now.heard_start - before.heard_end
               if now.heard_start is not None and before.heard_end is not None else None)
        handover = now.played - before.stopped if now.played and before.stopped else None
        start = now.heard_start - now.played if now.heard_start and now.played else None
        if start_frames is None:
            rows.append(Handover(index + 1, now.name, "picture", gap, handover_ms=handover,
                                 start_ms=start))
            continue
        held = (now.first_pause is not None and before.stopped is not None
                and before.stopped > now.first_pause)
        row = Handover(index + 1, now.name, "hold" if held else "advance", gap,
                       start_frame=start_frames[index], handover_ms=handover, start_ms=start)
        shown = [frame for at, frame in run.frames if at < now.resumed]
        row.held_frame = number(shown[-1]) if shown else None
        after = [at for at, frame in run.frames if at > now.resumed]
        if after and now.heard_start is not None:
            row.next_frame_ms = after[0] - now.heard_start
            # The frame on show when the video stopped had been up for `ran` of its period;
            # the next one came a period after it, less that, from the moment the clock
            # went on again.
            before = [at for at, frame in run.frames if at <= now.first_pause]
            if now.first_pause is not None and before:
                ran = now.first_pause - before[-1]
                row.video_on_ms = after[0] - (period - ran) - now.heard_start
        reached = [at for at, frame in run.frames if number(frame) == row.start_frame]
        if not held and reached and now.heard_start is not None:
            row.advance_ms = now.heard_start - reached[0]
        rows.append(row)
    return rows


def overruns(run, clips):
    """Per narration: "play sound" to its first "stopped", less the clip's own length: how
    much longer than its sound the service took, whatever the sink (no recording needed)."""
    return [(n.name, n.stopped - n.played - clips[n.name].length_ms
             if n.stopped and n.played else None) for n in run.narrations]


def stop_answers(run):
    """Per narration: its first "stopped" answer and its last "playing" answer, each less
    its last sample heard. The first says whether "stopped" came too early, the second
    whether the service said "playing" too long (a host that asks late delays the first
    without the second)."""
    since = lambda at, n: at - n.heard_end if at is not None and n.heard_end is not None else None
    return [(n.name, since(n.stopped, n), since(n.last_playing, n)) for n in run.narrations]


def start_latency(run):
    """The first CurAudioNos to the first narration heard (its own leading silence included)."""
    first = run.narrations[0] if run.narrations else None
    if first is None or first.heard_start is None or run.file_open is None:
        return None
    return first.heard_start - run.file_open


def breaks(run, clips, tolerance_ms=2.0):
    """Narrations heard longer than their own sound, speech first to speech last: the sound
    broke off inside the clip (an underrun), with how long each stretched."""
    found = []
    for n in run.narrations:
        if n.heard_start is None or n.heard_end is None:
            continue
        stretch = (n.heard_end - n.heard_start) - clips[n.name].length_ms
        if stretch > tolerance_ms:
            found.append((n.name, stretch))
    return found


def expected_dry_runs(run, followed_on_ms=2.0):
    """How often the output runs dry in a play without any fault: before its first clip and
    after every clip that the next does not follow on from."""
    rows = zip(run.narrations, run.narrations[1:] + [None])
    ends = sum(1 for n, following in rows if following is None or following.heard_start is None
               or n.heard_end is None or following.heard_start - n.heard_end > followed_on_ms)
    return 1 + ends
