// Subcommands of vantrel-tool. Each takes the arguments after its name and
// returns the process exit code.
#pragma once

int tool_markers(int argc, char** argv);
int tool_midi(int argc, char** argv);
int tool_obj2bzobj(int argc, char** argv);
int tool_bzobj(int argc, char** argv);
int tool_pth(int argc, char** argv);
int tool_timecode(int argc, char** argv);
