// The error texts of the music module. Failures of the audio back end are
// reported with the texts of the sound library the show was first made
// with, so its messages read the same on every back end.
#pragma once

// Codes of the failures this back end reports.
enum eFmodError {
    FMOD_ERR_NONE = 0,
    FMOD_ERR_INIT = 3, // no audio output could be opened
    FMOD_ERR_FILE_NOTFOUND = 9,
    FMOD_ERR_FILE_FORMAT = 10, // not decodable
};

// The fixed English text of an error code; "Unknown error" for codes
// outside the table.
const char* FMOD_ErrorString(int code);
