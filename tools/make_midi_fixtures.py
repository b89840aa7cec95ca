#!/usr/bin/python3
"""Writes the MIDI test fixtures with mido, an implementation independent of
the demo's own decoder, so that the tests check the decoder against files it
did not write itself.

    tools/make_midi_fixtures.py [OUTPUT_DIR]    (default: tests/data)

Needs python3-mido. The fixtures are committed, so the tests do not.
"""
import os
import sys

import mido


def format1(path):
    # 480 ticks per quarter note, 600 000 us per quarter note: 1.25 ms a tick,
    # a quarter note lasts 600 ms.
    mid = mido.MidiFile(type=1, ticks_per_beat=480)

    tempo = mido.MidiTrack()
    tempo.append(mido.MetaMessage('track_name', name='tempo', time=0))
    tempo.append(mido.MetaMessage('set_tempo', tempo=600000, time=0))
    tempo.append(mido.MetaMessage('time_signature', numerator=3, denominator=4,
                                  clocks_per_click=24, notated_32nd_notes_per_beat=8,
                                  time=0))
    tempo.append(mido.MetaMessage('end_of_track', time=0))
    mid.tracks.append(tempo)

    # Times are deltas in ticks. Channel 0 here is MIDI channel 1.
    lead = mido.MidiTrack()
    lead.append(mido.MetaMessage('track_name', name='lead', time=0))
    lead.append(mido.Message('note_on', channel=0, note=60, velocity=100, time=0))
    lead.append(mido.Message('note_on', channel=0, note=64, velocity=90, time=240))
    lead.append(mido.Message('note_off', channel=0, note=60, velocity=0, time=240))
    lead.append(mido.Message('note_on', channel=0, note=64, velocity=0, time=480))
    lead.append(mido.Message('control_change', channel=0, control=7, value=99, time=96))
    lead.append(mido.Message('note_on', channel=1, note=50, velocity=80, time=4))
    lead.append(mido.MetaMessage('end_of_track', time=100))
    mid.tracks.append(lead)

    drums = mido.MidiTrack()
    drums.append(mido.MetaMessage('track_name', name='drums', time=0))
    drums.append(mido.Message('note_on', channel=0, note=36, velocity=127, time=960))
    drums.append(mido.Message('note_off', channel=0, note=36, velocity=64, time=1))
    drums.append(mido.Message('note_on', channel=0, note=38, velocity=110, time=1439))
    drums.append(mido.Message('note_off', channel=0, note=38, velocity=0, time=480))
    drums.append(mido.MetaMessage('end_of_track', time=0))
    mid.tracks.append(drums)

    mid.save(path)


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'data')
    os.makedirs(out_dir, exist_ok=True)
    format1(os.path.join(out_dir, 'mido_format1.mid'))


if __name__ == '__main__':
    main()
