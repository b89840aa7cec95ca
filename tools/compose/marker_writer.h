// The marker script from the score's timeline.
#pragma once

#include <string>

class cScore;

// One line per marker ("keyword hh:mm:ss,mmm") and per comment ("# text"),
// after a header that says where the file comes from.
std::string write_marker_script(const cScore& score);
