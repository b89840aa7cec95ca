// Timeline events: one marker line, MIDI note or beat tick at a time in ms.
#pragma once

// Event types. Scene switches are their scene number (0 to 12).
enum demo_event {
    EV_NONE = -1,
    EV_SCENE_FIRST = 0,
    EV_SCENE_LAST = 12,
    EV_S100 = 13,
    EV_DIGIT = 15, // a keyword starting with a digit; never queued
    EV_BEAT = 16,
    EV_SNARE = 17,
    EV_RUMBLE = 18,
    EV_FADEIN = 19,
    EV_BWAB1 = 20,
    EV_BWAB2 = 21,
    EV_TECHNOFX = 22,
    EV_TECHNOFX2 = 23,
    EV_MELODY = 24,
    EV_LEAD = 25,
    EV_HIHATC = 26,
    EV_HIHATO = 27,
    EV_SINUS_IN = 28,
    EV_MIDI = 30,      // note on, note off, controller change (cMETrigger, cMECtrlChange)
    EV_MIDI_BEAT = 31, // one per quarter note of the MIDI file
    EV_QUIT = 32,
};

class cEvent {
public:
    cEvent() = default;
    cEvent(int type, int time) : m_type(type), m_time(time) {}
    virtual ~cEvent() = default;

    cEvent(const cEvent&) = default;
    cEvent& operator=(const cEvent&) = default;

    int m_type = EV_NONE;
    int m_time = -1; // ms on the timeline
};
