// The show's scenes and where their assets are found: one list, used by the
// engine and by the tests that check the shipped content.
#pragma once

class cSceneManager;

// The start-up search directories, in order.
void push_show_searchpaths();
// Creates the seven scenes in scene-number order and adds them to the manager.
void add_show_scenes(cSceneManager* manager);
// Puts back what the scenes share across the process (first-call times,
// counters, the glow settings) as a fresh process has it.
void reset_show_scene_state();
