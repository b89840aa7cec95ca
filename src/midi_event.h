// Timeline events that come from the MIDI file: notes and controller changes
// of channel 1, tagged with the track they were read from.
#pragma once

#include "event.h"

// The MIDI part of an event. No virtual operations: receivers reach it through
// a checked down-cast from cEvent to cMETrigger or cMECtrlChange.
class iMidiEvent {
public:
    enum { KIND_NOTE_ON = 1, KIND_NOTE_OFF = 2, KIND_CONTROLLER = 3 };

    iMidiEvent() = default;
    iMidiEvent(int kind, int track, int data1, int data2)
        : m_kind(kind), m_track(track), m_data1(data1), m_data2(data2) {}

    int m_kind = 0;  // KIND_NOTE_ON, KIND_NOTE_OFF or KIND_CONTROLLER
    int m_track = 0; // source track, 0-based in file order
    int m_data1 = 0; // note number or controller number
    int m_data2 = 0; // velocity or controller value
};

// Note on (kind 1) or note off (kind 2). The cEvent part comes first, so a
// cEvent pointer to it is the object's address.
class cMETrigger : public cEvent, public iMidiEvent {
public:
    cMETrigger(int time, int kind, int track, int note, int velocity)
        : cEvent(EV_MIDI, time), iMidiEvent(kind, track, note, velocity) {}
};

// The note-on an event carries; nullptr for any other event.
inline const cMETrigger* as_note_on(const cEvent* event) {
    if (event->m_type != EV_MIDI)
        return nullptr;
    auto* note = dynamic_cast<const cMETrigger*>(event);
    return note && note->m_kind == iMidiEvent::KIND_NOTE_ON ? note : nullptr;
}

// Controller change (kind 3).
class cMECtrlChange : public cEvent, public iMidiEvent {
public:
    cMECtrlChange(int time, int track, int controller, int value)
        : cEvent(EV_MIDI, time), iMidiEvent(KIND_CONTROLLER, track, controller, value) {}
};
