"""The music module over the real winmm port under Wine, on a machine with no CD drive and no
sound device: every failure comes back as a code and a text, and nothing crashes or hangs."""

import sys
import time

from harness import check, run_probe, scratch_dir, windows_path, wine_session

EMPTY_TEXT = "コマンド文字列が指定されていません"
NO_TEXT = "Error (文字列が取れません)"
MISSING_MP3 = r"C:\no such folder\曲 missing.mp3"
OPEN_MISSING_MP3 = f'open "{MISSING_MP3}" type MPEGVideo Alias MP3Play'
STEP_LIMIT_MS = 20000


def parse_steps(output):
    """{step: [fields of each line]} in the order the probe printed them."""
    steps, current = {}, None
    for line in output.split("\n"):
        if not line:
            continue
        fields = line.split("\t")
        if fields[0] == "step":
            current = steps.setdefault(fields[1], [])
        else:
            check(current is not None, f"output before the first step: {line}")
            current.append(fields)
    return steps


def port_calls(lines, name):
    return [fields[2:] for fields in lines if fields[:2] == ["port", name]]


def result(lines, name):
    found = [fields[2:] for fields in lines if fields[:2] == ["result", name]]
    check(len(found) >= 1, f"no {name} result")
    return found


def platform_text(lines, code):
    """What the layer must make of a failed code: the platform's text, or its own fallback."""
    texts = [fields for fields in port_calls(lines, "mciGetErrorStringA") if fields[0] == str(code)]
    check(len(texts) == 1, f"error text of {code} asked {len(texts)} times")
    return texts[0][2] if texts[0][1] == "1" else NO_TEXT


def check_done_in_time(lines, step):
    done = [fields for fields in lines if fields[0] == "done"]
    check(len(done) == 1, f"{step}: did not finish")
    check(int(done[0][1]) < STEP_LIMIT_MS, f"{step}: took {done[0][1]} ms")


def main():
    with scratch_dir() as scratch:
        wav = scratch / "loop tone.wav"
        wav.write_bytes(b"RIFF$\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00@\x1f\x00\x00"
                        b"\x80>\x00\x00\x02\x00\x10\x00data\x00\x00\x00\x00")
        wav_path = windows_path(wav)
        steps = ["empty", "send:open cdaudio", "query:status cdaudio current track",
                 f"send:{OPEN_MISSING_MP3}", "query:status MP3Play mode", "send:close MP3Play",
                 "cd:3", f"mp3:{MISSING_MP3}", f"wav:{wav_path}"]
        started_at = time.monotonic()
        with wine_session(with_display=False) as env:
            code, output = run_probe(env, "mci", *steps, timeout=180)
            check(code == 0, f"probe exit code {code}")
        elapsed = time.monotonic() - started_at
    print(output)
    report = parse_steps(output)
    check(list(report) == steps, f"steps run: {list(report)}")
    for step, lines in report.items():
        check_done_in_time(lines, step)

    # The empty command never reaches the platform.
    lines = report["empty"]
    check(port_calls(lines, "mciSendStringA") == [], "the empty command was sent")
    check(result(lines, "SendMci") == [["", "-1", EMPTY_TEXT]], f"empty command: {lines}")

    # No drive: the open fails with the platform's code and text.
    lines = report["send:open cdaudio"]
    [[command, size, code, _]] = port_calls(lines, "mciSendStringA")
    check(command == "open cdaudio" and size == "512" and code != "0", f"open cdaudio: {lines}")
    check(result(lines, "SendMci") == [["open cdaudio", code, platform_text(lines, code)]],
          f"open cdaudio result: {lines}")

    # A query on a device that is not open answers "Error:" and the code.
    for step in ["query:status cdaudio current track", "query:status MP3Play mode"]:
        lines = report[step]
        [[command, size, code, _]] = port_calls(lines, "mciSendStringA")
        check(size == "512" and code != "0", f"{step}: {lines}")
        check(result(lines, "MciQuery") == [[command, f"Error:{code}"]], f"{step}: {lines}")
        platform_text(lines, code)

    # The open of a missing MP3: a failure code; the Japanese path reached MCI intact.
    lines = report[f"send:{OPEN_MISSING_MP3}"]
    [[command, size, code, _]] = port_calls(lines, "mciSendStringA")
    check(command == OPEN_MISSING_MP3 and code != "0", f"MP3 open: {lines}")
    check(result(lines, "SendMci") == [[OPEN_MISSING_MP3, code, platform_text(lines, code)]],
          f"MP3 open result: {lines}")

    # A command to a device that is not open fails with the platform's code and text.
    lines = report["send:close MP3Play"]
    [[command, size, code, _]] = port_calls(lines, "mciSendStringA")
    check(code != "0", f"close of an alias that is not open: {lines}")
    check(result(lines, "SendMci") == [[command, code, platform_text(lines, code)]],
          f"close result: {lines}")

    # The CD watch: open and time format sent direct, the first look fails, the watch is off
    # and sends nothing more; the device is not stopped or closed.
    lines = report["cd:3"]
    sent = [(command, size) for command, size, _, _ in port_calls(lines, "mciSendStringA")]
    check(sent == [("open cdaudio", "0"), ("set cdaudio time format tmsf", "0"),
                   ("status cdaudio current track", "512")], f"CD watch sent {sent}")
    check(result(lines, "CdWatchOk") == [["0"]] * 3, f"CD watch: {lines}")

    # The MP3 whose open failed: no play after the open; the restarts fail quietly.
    lines = report[f"mp3:{MISSING_MP3}"]
    calls = port_calls(lines, "mciSendStringA")
    sent = [(command, size) for command, size, _, _ in calls]
    restart = [("status MP3Play mode", "30"), ("stop MP3Play", "0"), ("play MP3Play from 0", "0")]
    check(sent == [(OPEN_MISSING_MP3, "0"), *restart, *restart, ("stop MP3Play", "0"),
                   ("close MP3Play", "0")], f"MP3 sent {sent}")
    check(all(code != "0" for _, _, code, _ in calls), f"an MP3 command succeeded: {calls}")

    # The WAV: looped only when there is a wave output device; always silenced at the end.
    lines = report[f"wav:{wav_path}"]
    [[devices]] = port_calls(lines, "waveOutGetNumDevs")
    sounds = port_calls(lines, "PlaySoundA")
    expected = ([] if devices == "0" else [[wav_path, "9"]]) + [["(null)", "0"]]
    check(sounds == expected, f"{devices} wave devices, sounds {sounds}")
    print(f"probe ran {len(steps)} steps in {elapsed:.1f} s; wave output devices: {devices}")


if __name__ == "__main__":
    sys.exit(main())
